"""Find Largest MTU in the real zartune.exe, in netbed's namespaces: the router's link to the server under test."""
import os
import sys
import time
import unittest

import netbed
import zartune_e2e as zt
import zve2e
from netbed import ROUTER, SERVER, ip
from zartune_e2e import Configurator, control
from zve2e import IDCANCEL, IDOK, driver, ids

DIALOG = "Find Largest MTU"
TUNED_KEYS = [r"HKLM\System\CurrentControlSet\Services\Tcpip", r"HKLM\System\CurrentControlSet\Services\Class"]


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
            with netbed.late_echoes({"198.18.1.2": 1.5}):
                driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, ids.ID_TOOLS_FIND_MTU, 0)
                self.assertTrue(configurator.wait_window(DIALOG))
                probes = self.find("198.18.1.2", "The largest MTU to 198.18.1.2 is 1492.")
            self.assertGreaterEqual(int(probes[0].split()[-2]), 1500)  # 40 bytes: passed, round trip 1512 ms
        self.assertEqual([zve2e.reg_tree(key) for key in TUNED_KEYS], before)
        self.assertFalse(os.path.exists(zve2e.unix_path(zt.CONFIG_FILE)))


if __name__ == "__main__":
    netbed.main(__file__)
