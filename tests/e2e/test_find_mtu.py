"""Find Largest MTU in the real zartune.exe, over a real network path: three
network namespaces of this test's own (a client on a 9000 link, a router,
a server behind a link of the MTU under test), 198.18.0.0/15 addresses only.
Wine runs wholly in the client namespace, its wineserver too, since Wine's
echoes leave from its device process; Xvfb stays outside and is reached
through its socket file. Needs root and iproute2; fails plainly without.

Run by ctest, this script builds the bed, moves the prefix's wineserver into
the client namespace, runs itself there with --in-bed, and at the end, also
on failure, tears the bed down and starts the wineserver outside again."""
import os
import shutil
import subprocess
import sys
import time
import unittest

import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator, control
from zve2e import driver

TAG = "zvmtu%d" % os.getpid()
CLIENT, ROUTER, SERVER = TAG + "c", TAG + "r", TAG + "s"
SERVER_ADDRESS = "198.18.1.2"
NOBODY_ADDRESS = "198.18.1.99"  # on the server's link, with no host behind it

DIALOG = "Find Largest MTU"
ID_TOOLS_FIND_MTU = 32797
HOST, PROBES, RESULT, FIND, STOP, USE, CLOSE = 1200, 1202, 1203, 1204, 1205, 1206, 2
MTU_CUSTOM, MTU_EDIT = 1081, 1010
# Where Apply would write (the agent the configurator starts writes settings of its own).
WRITTEN_KEYS = [r"HKLM\System\CurrentControlSet\Services\Tcpip", r"HKLM\System\CurrentControlSet\Services\Class"]


def ip(*args):
    subprocess.run(["ip", *args], check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)


def set_line(mtu):
    """The MTU of the router's link to the server, both ends."""
    ip("-n", ROUTER, "link", "set", "r1", "mtu", str(mtu))
    ip("-n", SERVER, "link", "set", "s0", "mtu", str(mtu))


def build_bed():
    for name in (CLIENT, ROUTER, SERVER):
        ip("netns", "add", name)
        ip("-n", name, "link", "set", "lo", "up")
    ip("-n", CLIENT, "link", "add", "c0", "mtu", "9000", "type", "veth", "peer", "name", "r0", "netns", ROUTER)
    ip("-n", ROUTER, "link", "set", "r0", "mtu", "9000")
    ip("-n", ROUTER, "link", "add", "r1", "type", "veth", "peer", "name", "s0", "netns", SERVER)
    for name, link, address in ((CLIENT, "c0", "198.18.0.1/24"), (ROUTER, "r0", "198.18.0.2/24"),
                                (ROUTER, "r1", "198.18.1.1/24"), (SERVER, "s0", SERVER_ADDRESS + "/24")):
        ip("-n", name, "addr", "add", address, "dev", link)
        ip("-n", name, "link", "set", link, "up")
    ip("-n", CLIENT, "route", "add", "198.18.0.0/15", "via", "198.18.0.2")
    ip("-n", SERVER, "route", "add", "198.18.0.0/15", "via", "198.18.1.1")
    for name, setting in ((ROUTER, "net.ipv4.ip_forward=1"), (ROUTER, "net.ipv4.icmp_ratelimit=0"),
                          (CLIENT, "net.ipv4.route.mtu_expires=0")):
        ip("netns", "exec", name, "sysctl", "-q", "-w", setting)


def tear_down_bed():
    for name in (CLIENT, ROUTER, SERVER):
        subprocess.run(["ip", "netns", "del", name], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)


def wineserver(*args, namespace=None):
    command = (["ip", "netns", "exec", namespace] if namespace else []) + ["wineserver", *args]
    subprocess.run(command, env=zve2e.wine_env(), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=60)


def outside():
    """The bed around a run of this script inside it; its exit status."""
    if os.geteuid() != 0 or shutil.which("ip") is None:
        print("test_find_mtu: needs root and iproute2's ip to build its network namespaces", file=sys.stderr)
        return 1
    try:
        build_bed()
        wineserver("-k")
        wineserver("-w")
        env = dict(os.environ, ZV_MTU_BED=TAG)
        return subprocess.run(["ip", "netns", "exec", CLIENT, sys.executable, os.path.abspath(__file__)],
                              env=env, stdin=subprocess.DEVNULL, timeout=240).returncode
    finally:
        wineserver("-k", namespace=CLIENT)
        wineserver("-w", namespace=CLIENT)
        tear_down_bed()
        # As e2e.boot left it: a persistent server, outside any namespace.
        wineserver("-p")


class FindLargestMtu(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        wineserver("-p")
        zt.stop_agents()
        zt.remove_config_file()
        zve2e.reg_add(r"HKCU\Software\Wine\X11 Driver", "Decorated", "REG_SZ", "N")

    def open_dialog(self):
        driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, ID_TOOLS_FIND_MTU, 0)
        self.assertEqual(driver("wait-window", DIALOG, 20)[0], 0, "no dialog")

    def result(self):
        return control("control-text", DIALOG, RESULT)

    def find(self, host, ends_with, seconds=60):
        """Finds the MTU to host; the probe lines and the time until the result line ends so."""
        self.assertEqual(driver("set-text", DIALOG, HOST, host)[0], 0)
        started = time.monotonic()
        self.assertEqual(driver("click", DIALOG, FIND)[0], 0)
        self.assertTrue(zve2e.wait_until(lambda: self.result().endswith(ends_with), seconds), self.result())
        took = time.monotonic() - started
        self.assertEqual(control("enabled", DIALOG, FIND), "1")
        self.assertEqual(control("enabled", DIALOG, STOP), "0")
        probes = control("list-items", DIALOG, PROBES).split("\n")
        print("\n%s: %s in %.1f s:\n  %s" % (host, ends_with, took, "\n  ".join(probes)), file=sys.stderr)
        return probes

    def test_finds_the_narrow_link_and_puts_it_into_the_form(self):
        before = {key: zve2e.reg_tree(key) for key in WRITTEN_KEYS}
        with Configurator() as configurator:
            self.assertTrue(configurator.wait_window())
            self.open_dialog()
            self.assertEqual(control("enabled", DIALOG, USE), "0")

            set_line(1400)
            probes = self.find(SERVER_ADDRESS, "The largest MTU to 198.18.1.2 is 1400.")
            self.assertEqual(probes[0], "1472 bytes: too big")
            self.assertEqual(probes[-1], "1372 bytes: passed")
            self.assertLessEqual(len(probes), 13)
            self.assertEqual(control("enabled", DIALOG, USE), "1")
            zt.screenshot(DIALOG, "find-mtu-1400")

            set_line(1492)
            self.find(SERVER_ADDRESS, "The largest MTU to 198.18.1.2 is 1492.")
            self.assertEqual(driver("click", DIALOG, USE)[0], 0)
            # Picking Manual shows its explanation, as from the mode list.
            explanation = "Dial-Up Networking (Modem)"
            self.assertTrue(configurator.wait_window(explanation))
            self.assertEqual(driver("no-window", DIALOG)[0], 0)
            self.assertEqual(driver("click", explanation, 1)[0], 0)
            self.assertTrue(zve2e.wait_until(lambda: driver("no-window", explanation)[0] == 0))
            self.assertEqual(control("selection", zt.MAIN_TITLE, zt.MODE), "3 Manual")
            self.assertEqual(control("checked", zt.MAIN_TITLE, MTU_CUSTOM), "1")
            self.assertEqual(control("enabled", zt.MAIN_TITLE, MTU_EDIT), "1")
            self.assertEqual(control("control-text", zt.MAIN_TITLE, MTU_EDIT), "1492")
        self.assertEqual({key: zve2e.reg_tree(key) for key in WRITTEN_KEYS}, before)
        self.assertFalse(os.path.exists(zve2e.unix_path(zt.CONFIG_FILE)))

    def test_no_answer_stop_and_closing_while_probing(self):
        with Configurator() as configurator:
            self.assertTrue(configurator.wait_window())
            self.open_dialog()
            self.find(NOBODY_ADDRESS, "198.18.1.99 does not answer pings, so its MTU cannot be found.")
            self.assertEqual(control("enabled", DIALOG, USE), "0")

            self.assertEqual(driver("click", DIALOG, FIND)[0], 0)
            self.assertTrue(zve2e.wait_until(lambda: control("enabled", DIALOG, STOP) == "1", 5))
            started = time.monotonic()
            self.assertEqual(driver("click", DIALOG, STOP)[0], 0)
            self.assertTrue(zve2e.wait_until(lambda: self.result() == "The search was stopped.", 5))
            print("\nstopped after %.2f s" % (time.monotonic() - started), file=sys.stderr)
            self.assertEqual(control("enabled", DIALOG, FIND), "1")

            self.assertEqual(driver("click", DIALOG, FIND)[0], 0)
            self.assertTrue(zve2e.wait_until(lambda: control("enabled", DIALOG, STOP) == "1", 5))
            self.assertEqual(driver("click", DIALOG, CLOSE)[0], 0)
            self.assertTrue(zve2e.wait_until(lambda: driver("no-window", DIALOG)[0] == 0, 5))
            self.assertEqual(driver("send", zt.MAIN_TITLE, 0, 0, 0)[0], 0)


if __name__ == "__main__":
    if "ZV_MTU_BED" not in os.environ:
        sys.exit(outside())
    TAG = os.environ["ZV_MTU_BED"]
    CLIENT, ROUTER, SERVER = TAG + "c", TAG + "r", TAG + "s"
    try:
        unittest.main()
    finally:
        wineserver("-k")
