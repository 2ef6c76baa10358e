"""Test Line Speed in the real zartune.exe on XP, on netbed's line of 4000 kbit/s and 100 ms: limited by a window of
32120 bytes, which the server keeps in flight as that receiver would; an Apply that waits for a restart; after a
(simulated) restart the line's own rate beside the one before; a 404."""
import re
import sys
import time
import unittest

import netbed
import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator, control
from zve2e import driver, ids

DIALOG = "Test Line Speed"
KBITS, ROUND_TRIP_MS, WINDOW = 4000, 100, 32120
TCPIP = r"HKLM\System\CurrentControlSet\Services\Tcpip\Parameters"
RECEIVED = r"Received \d+ bytes in [\d.]+ s: (\d+) kbit/s, round trip (\d+) ms\.\n"
VERDICT = r"The receive window (limits|does not limit) this line: (\d+) bytes (?:carry at most|allow up to) (\d+) kbit/s"


class TestLineSpeed(unittest.TestCase):
    def speed(self, address):
        """The result label of one test, as rate, round trip, verdict, window, ceiling and the lines after them."""
        self.assertEqual(driver("set-text", DIALOG, ids.IDC_SPEED_ADDRESS, address)[0], 0)
        started = time.monotonic()
        self.assertEqual(driver("click", DIALOG, ids.IDC_SPEED_START)[0], 0)
        self.assertEqual(driver("send", DIALOG, 0, 0, 0)[0], 0)  # the click is handled
        self.assertTrue(zve2e.wait_until(lambda: control("enabled", DIALOG, ids.IDC_SPEED_START) == "1", 40))
        text = control("control-text", DIALOG, ids.IDC_SPEED_RESULT)
        print("%s in %.1f s:\n%s" % (address, time.monotonic() - started, text), file=sys.stderr)
        found = re.match(RECEIVED + VERDICT + r" at \2 ms\.(?: A larger window \(Tools, Tune Receive Window\) "
                                              r"would make it faster\.)?(.*)", text, re.DOTALL)
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
                self.assertGreater(applied, 65535)
                waiting, verdict, window, after = self.speed(files + "1000000")
                self.assertEqual((verdict, window), ("limits", WINDOW))
                self.assertRegex(after, r"^\nThe window applied at [\d-]+ [\d:]+ takes effect when Windows restarts\.$")

            zve2e.reg_add(zve2e.PRODUCT_KEY + r"\Line Speed", "Applied", "REG_SZ", "0")  # before Windows started
            with netbed.files() as files:
                line, verdict, window, after = self.speed(files + "1000000")
            self.assertEqual((verdict, window), ("does not limit", applied))
            self.assertIn(line, range(KBITS * 9 // 10, KBITS * 11 // 10))
            compared = re.fullmatch(r"\nBefore the Apply of 2000-01-01 00:00: %d kbit/s with a window of %d bytes\. Now: "
                                    r"%d kbit/s \(\+(\d+) %%\)\." % (waiting, WINDOW, line), after)
            self.assertTrue(compared, after)
            self.assertLessEqual(abs(int(compared.group(1)) - (line - waiting) * 100 / waiting), 1)


if __name__ == "__main__":
    netbed.main(__file__)
