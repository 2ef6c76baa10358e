"""Find Largest MTU in the real zartune.exe, in namespaces of its own (root, iproute2): client (9000 link), router,
server (the link under test); a prefix whose wineserver, which places Wine's echoes, runs in the client's."""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator, control
from zve2e import IDCANCEL, IDOK, driver, ids

TAG = os.environ.get("ZV_MTU_BED", "zvmtu%d" % os.getpid())
CLIENT, ROUTER, SERVER = TAG + "c", TAG + "r", TAG + "s"
BED = """netns add {c}|netns add {r}|netns add {s}|-n {c} link set lo up|-n {r} link set lo up|-n {s} link set lo up
-n {c} link add c0 mtu 9000 type veth peer name r0 netns {r}|-n {r} link set r0 mtu 9000
-n {r} link add r1 type veth peer name s0 netns {s}
-n {c} addr add 198.18.0.1/24 dev c0|-n {r} addr add 198.18.0.2/24 dev r0
-n {r} addr add 198.18.1.1/24 dev r1|-n {s} addr add 198.18.1.2/24 dev s0
-n {c} link set c0 up|-n {r} link set r0 up|-n {r} link set r1 up|-n {s} link set s0 up
-n {c} route add 198.18.0.0/15 via 198.18.0.2|-n {s} route add 198.18.0.0/15 via 198.18.1.1
netns exec {r} sysctl -qw net.ipv4.ip_forward=1|netns exec {r} sysctl -qw net.ipv4.icmp_ratelimit=0
netns exec {c} sysctl -qw net.ipv4.route.mtu_expires=0|-n {r} route add blackhole 198.18.2.53""".format(c=CLIENT, r=ROUTER, s=SERVER)
DIALOG = "Find Largest MTU"
RESOLVER = "nameserver 198.18.2.53\noptions timeout:6 attempts:1\n"  # the router drops its queries: lookups hang
TUNED_KEYS = [r"HKLM\System\CurrentControlSet\Services\Tcpip", r"HKLM\System\CurrentControlSet\Services\Class"]


def ip(line, check=True):
    subprocess.run(["ip", *line.split()], check=check, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)


def outside():
    if os.geteuid() != 0 or shutil.which("ip") is None:
        sys.exit("test_find_mtu: needs root and iproute2's ip to build its network namespaces")
    here = os.path.dirname(os.path.abspath(__file__))
    wine_prefix = os.path.join(here, "../../scripts/wine-prefix")
    prefix = tempfile.mkdtemp(prefix="mtu-prefix-", dir=os.path.dirname(zve2e.PREFIX))
    env = dict(os.environ, ZV_E2E_PREFIX=prefix, ZV_MTU_BED=TAG)
    inside = ["ip", "netns", "exec", CLIENT]
    etc = "/etc/netns/" + CLIENT  # ip netns exec puts its files in place of /etc's
    try:
        os.makedirs(etc)
        with open(etc + "/resolv.conf", "w") as resolver:
            resolver.write(RESOLVER)
        for line in BED.replace("\n", "|").split("|"):
            ip(line)
        subprocess.run(inside + [wine_prefix, "clone", prefix, os.environ["ZV_E2E_TEMPLATE"]], check=True, timeout=120)
        return subprocess.run(inside + [sys.executable, __file__], env=env).returncode
    finally:
        subprocess.run(inside + [wine_prefix, "stop", prefix], timeout=60)
        for name in (CLIENT, ROUTER, SERVER):
            ip("netns del " + name, check=False)
        shutil.rmtree(etc, ignore_errors=True)
        subprocess.run(["rmdir", "--ignore-fail-on-non-empty", "/etc/netns"])


class FindLargestMtu(unittest.TestCase):
    def find(self, host, ends_with):
        self.assertEqual(driver("set-text", DIALOG, ids.IDC_FINDMTU_HOST, host)[0], 0)
        started = time.monotonic()
        self.assertEqual(driver("click", DIALOG, ids.IDC_FINDMTU_FIND)[0], 0)
        self.assertTrue(zve2e.wait_until(
            lambda: control("control-text", DIALOG, ids.IDC_FINDMTU_RESULT).endswith(ends_with), 60))
        probes = control("items", DIALOG, ids.IDC_FINDMTU_PROBES).split("\n")
        print("%s in %.1f s: %s" % (ends_with, time.monotonic() - started, ", ".join(probes)), file=sys.stderr)
        self.assertEqual((control("enabled", DIALOG, ids.IDC_FINDMTU_FIND),
                          control("enabled", DIALOG, ids.IDC_FINDMTU_STOP)), ("1", "0"))
        return probes

    def test_the_search_in_the_bed(self):
        before = [zve2e.reg_tree(key) for key in TUNED_KEYS]
        # With no window manager, Wine waits two seconds for one whenever a window it leaves to one hides.
        zve2e.reg_add(r"HKCU\Software\Wine\X11 Driver", "Managed", "REG_SZ", "N")
        with Configurator() as configurator:
            self.assertTrue(configurator.wait_window())
            driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, ids.ID_TOOLS_FIND_MTU, 0)
            self.assertTrue(configurator.wait_window(DIALOG))
            for mtu in (1400, 1492):
                ip("-n %s link set r1 mtu %d" % (ROUTER, mtu))
                ip("-n %s link set s0 mtu %d" % (SERVER, mtu))
                probes = self.find("198.18.1.2", "The largest MTU to 198.18.1.2 is %d." % mtu)
                for line in ("1472 bytes: too big", "%d bytes: passed" % (mtu - 28), "%d bytes: too big" % (mtu - 27)):
                    self.assertIn(line, probes)
            driver("post", DIALOG, zve2e.WM_COMMAND, IDOK, 0)  # Enter: only "Use This MTU" ends the dialog
            self.assertEqual(driver("send", DIALOG, 0, 0, 0)[0], 0)
            self.assertNotEqual(driver("no-window", DIALOG)[0], 0)
            self.assertEqual(driver("click", DIALOG, ids.IDC_FINDMTU_USE)[0], 0)
            explanation = "Dial-Up Networking (Modem)"  # picking Manual explains it, as the mode list does
            self.assertTrue(configurator.wait_window(explanation))
            self.assertEqual(driver("click", explanation, IDOK)[0], 0)
            self.assertTrue(zve2e.wait_until(lambda: driver("no-window", explanation)[0] == 0))
            self.assertEqual(control("selection", zt.MAIN_TITLE, ids.IDC_MODE), "3 Manual")
            self.assertEqual(control("checked", zt.MAIN_TITLE, ids.IDC_MTU_CUSTOM), "1")
            self.assertEqual(control("control-text", zt.MAIN_TITLE, ids.IDC_MTU_EDIT), "1492")

            driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, ids.ID_TOOLS_FIND_MTU, 0)
            self.assertTrue(configurator.wait_window(DIALOG))
            self.find("198.18.1.99", "198.18.1.99 cannot be reached: destination host unreachable.")
            # Each during a name lookup that hangs; the worker of the first one still looks up during the second.
            self.assertEqual(driver("set-text", DIALOG, ids.IDC_FINDMTU_HOST, "zv.bed.example")[0], 0)
            stopped = lambda: control("control-text", DIALOG, ids.IDC_FINDMTU_RESULT) == "The search was stopped."
            for button, ended in ((ids.IDC_FINDMTU_STOP, stopped),
                                  (IDCANCEL, lambda: driver("no-window", DIALOG)[0] == 0)):
                self.assertEqual(driver("click", DIALOG, ids.IDC_FINDMTU_FIND)[0], 0)  # handled before the next click
                started = time.monotonic()
                self.assertEqual(driver("click", DIALOG, button)[0], 0)
                self.assertTrue(zve2e.wait_until(ended, 3))
                print("button %d ended the search in %.2f s" % (button, time.monotonic() - started), file=sys.stderr)
            # A server whose echoes come back after 1.5 s, found while those lookups end.
            ip("netns exec %s sysctl -qw net.ipv4.icmp_echo_ignore_all=1" % SERVER)
            late = os.path.join(os.path.dirname(os.path.abspath(__file__)), "mtu_bed_server.py")
            with subprocess.Popen(["ip", "netns", "exec", SERVER, sys.executable, late, "1.5"]) as server:
                driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, ids.ID_TOOLS_FIND_MTU, 0)
                self.assertTrue(configurator.wait_window(DIALOG))
                probes = self.find("198.18.1.2", "The largest MTU to 198.18.1.2 is 1492.")
                server.kill()
            self.assertGreaterEqual(int(probes[0].split()[-2]), 1500)  # 40 bytes: passed, round trip 1512 ms
        self.assertEqual([zve2e.reg_tree(key) for key in TUNED_KEYS], before)
        self.assertFalse(os.path.exists(zve2e.unix_path(zt.CONFIG_FILE)))


if __name__ == "__main__":
    if "ZV_MTU_BED" not in os.environ:
        sys.exit(outside())
    unittest.main()
