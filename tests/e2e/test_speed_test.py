"""Test Line Speed in the real zartune.exe on XP, on netbed's line of 4000 kbit/s and 100 ms: a 404; limited by a
window of 32120 bytes, which the server keeps in flight as that receiver would; an Apply waiting for a restart; after a
(simulated) restart, the line's own rate beside the one before."""
import re
import sys
import unittest

import netbed
import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator, control
from zve2e import driver, ids

DIALOG = "Test Line Speed"
KBITS, ROUND_TRIP_MS, WINDOW = 4000, 100, 32120
TCPIP = r"HKLM\System\CurrentControlSet\Services\Tcpip\Parameters"
RESULT = re.compile(r"Received \d+ bytes in [\d.]+ s: (\d+) kbit/s, round trip (\d+) ms\.\nThe receive window "
                    r"(limits|does not limit) this line: (\d+) bytes (?:carry at most|allow up to) (\d+) kbit/s at "
                    r"\2 ms\.(?: A larger window \(Tools, Tune Receive Window\) would make it faster\.)?(.*)",
                    re.DOTALL)


class TestLineSpeed(unittest.TestCase):
    def speed(self, address):
        """The result label of one test, or its rate, verdict, window and the lines after them."""
        seconds = zt.measure(DIALOG, {ids.IDC_SPEED_ADDRESS: address}, ids.IDC_SPEED_START, 40)
        self.assertIsNotNone(seconds)
        text = control("control-text", DIALOG, ids.IDC_SPEED_RESULT)
        print("%s in %.1f s:\n%s" % (address, seconds, text), file=sys.stderr)
        found = RESULT.fullmatch(text)
        if found is None:
            return text
        rate, round_trip, verdict, window, ceiling, after = found.groups()
        self.assertIn(int(round_trip), range(ROUND_TRIP_MS, ROUND_TRIP_MS + 30))
        self.assertEqual(int(ceiling), int(window) * 8 // int(round_trip))
        return int(rate), verdict, int(window), after

    def test_the_line_its_window_and_an_apply(self):
        zt.set_windows_version("winxp")
        zve2e.reg_add(r"HKCU\Software\Wine\X11 Driver", "Managed", "REG_SZ", "N")
        zve2e.reg_add(TCPIP, "TcpWindowSize", "REG_DWORD", WINDOW)
        with netbed.line(KBITS, ROUND_TRIP_MS), Configurator() as c:
            self.assertTrue(c.wait_window())
            driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, ids.ID_TOOLS_SPEED_TEST, 0)
            self.assertTrue(c.wait_window(DIALOG))
            self.assertEqual(control("control-text", DIALOG, ids.IDC_SPEED_ADDRESS), "")
            with netbed.files(WINDOW) as files:
                self.assertEqual(self.speed(files + "missing"), "The server answered HTTP 404 Not Found.")
                limited, verdict, window, after = self.speed(files + "1000000")
                self.assertEqual((verdict, window, after), ("limits", WINDOW, ""))
                self.assertIn(limited, range(WINDOW * 8 * 8 // 10 // ROUND_TRIP_MS, KBITS))

                with open(zve2e.unix_path(zt.CONFIG_FILE), "w", newline="\r\n") as cfg:
                    cfg.write("[Configuration]\nAdapter=2\nMode=0\n")  # PPPoE, Automatic #1
                driver("exit-code", '"%s" /apply' % zt.CONFIGURATOR, 60)
                applied = int(zve2e.reg_query(TCPIP, "TcpWindowSize")[1], 0)
                before, verdict, window, after = self.speed(files + "1000000")
                self.assertEqual((verdict, window), ("limits", WINDOW))
                self.assertRegex(after, r"^\nThe window applied at [\d-]+ [\d:]+ takes effect when Windows restarts\.$")

            zve2e.reg_add(zve2e.PRODUCT_KEY + r"\Line Speed", "Applied", "REG_SZ", "0")  # before Windows started
            with netbed.files() as files:
                now, verdict, window, after = self.speed(files + "1000000")
            self.assertEqual((verdict, window), ("does not limit", applied))
            self.assertIn(now, range(KBITS * 9 // 10, KBITS * 11 // 10))
            compared = re.fullmatch(r"\nBefore the Apply of 2000-01-01 00:00: %d kbit/s with a window of %d bytes\. "
                                    r"Now: %d kbit/s \(\+(\d+) %%\)\." % (before, WINDOW, now), after)
            self.assertLessEqual(abs(int(compared.group(1)) - (now - before) * 100 / before), 1, after)

            driver("post", DIALOG, zve2e.WM_CLOSE, 0, 0)
            self.assertTrue(zve2e.wait_until(lambda: driver("no-window", DIALOG)[0] == 0))
            driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, ids.ID_TOOLS_SPEED_TEST, 0)
            self.assertTrue(c.wait_window(DIALOG))  # on the address last tested
            self.assertEqual(control("control-text", DIALOG, ids.IDC_SPEED_ADDRESS), files + "1000000")


if __name__ == "__main__":
    netbed.main(__file__)
