"""Tune Receive Window in the real zartune.exe, in netbed's namespaces, with the server's echoes late by set delays:
the measured window into the form and written on XP, the same choice clamped by /apply on NT 4; a host that never
answers."""
import re
import sys
import time
import unittest

import netbed
import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator, control, number_value
from zve2e import IDOK, driver, ids

DIALOG = "Tune Receive Window"
DELAYS_MS = {"198.18.1.2": 80, "198.18.1.3": 200}
SILENT = "198.18.1.4"  # on the server, with no responder behind it
SPEED = 10000  # kbit/s: over 200 ms, a product of 250000 bytes, well above 65535
MSS = 1460
TCPIP = r"System\CurrentControlSet\Services\Tcpip\Parameters"
WINDOW_NAMES = ("GlobalMaxTcpWindoSize", "GlobalMaxTcpWindowSize", "TcpWindowSize")


def scaled_multiplier(latency):
    """k for a product above 65535 on XP: the largest unscaled multiple of the MSS, doubled at least once and
    until it holds the product."""
    k = 65535 // MSS * 2
    while k * MSS < SPEED * latency / 8:
        k *= 2
    return k


def written():
    """The window values Apply writes under the Tcpip parameters, then Tcp1323Opts; None where absent."""
    values = zt.values(TCPIP) or {}
    return [values.get(name) for name in (*WINDOW_NAMES, "Tcp1323Opts")]


class TuneReceiveWindow(unittest.TestCase):
    def measure(self, hosts, seconds):
        self.assertEqual(driver("set-text", DIALOG, ids.IDC_TUNEWIN_HOSTS, hosts)[0], 0)
        self.assertEqual(driver("set-text", DIALOG, ids.IDC_TUNEWIN_SPEED, str(SPEED))[0], 0)
        started = time.monotonic()
        self.assertEqual(driver("click", DIALOG, ids.IDC_TUNEWIN_MEASURE)[0], 0)
        self.assertEqual(driver("send", DIALOG, 0, 0, 0)[0], 0)  # the click is handled
        self.assertTrue(zve2e.wait_until(lambda: control("enabled", DIALOG, ids.IDC_TUNEWIN_MEASURE) == "1", seconds))
        self.assertEqual(control("enabled", DIALOG, ids.IDC_TUNEWIN_STOP), "0")
        seconds = time.monotonic() - started
        listed = control("items", DIALOG, ids.IDC_TUNEWIN_LIST).split("\n")
        result = control("control-text", DIALOG, ids.IDC_TUNEWIN_RESULT)
        print("%s in %.1f s:\n%s\n%s" % (hosts, seconds, "\n".join(listed), result), file=sys.stderr)
        return listed, result, seconds

    def test_the_window_from_the_bed(self):
        self.assertEqual(written(), [None] * 4)
        zt.set_windows_version("winxp")
        # With no window manager, Wine waits two seconds for one whenever a window it leaves to one hides.
        zve2e.reg_add(r"HKCU\Software\Wine\X11 Driver", "Managed", "REG_SZ", "N")
        for address in ("198.18.1.3", SILENT):  # the bed's server has 198.18.1.2
            netbed.ip("-n %s addr add %s/24 dev s0" % (netbed.SERVER, address))
        with netbed.late_echoes({address: delay / 1000 for address, delay in DELAYS_MS.items()}), Configurator() as c:
            self.assertTrue(c.wait_window())
            driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, ids.ID_TOOLS_TUNE_WINDOW, 0)
            self.assertTrue(c.wait_window(DIALOG))

            self.assertEqual(self.measure(SILENT, 90)[:2], (["%s: no answer" % SILENT], "No host answered."))
            self.assertEqual(control("enabled", DIALOG, ids.IDC_TUNEWIN_USE), "0")

            # All at once: the silent host's two unanswered echoes are the longest wait.
            listed, result, seconds = self.measure(" ".join(DELAYS_MS) + " " + SILENT, 60)
            self.assertLess(seconds, 10)
            self.assertEqual(listed.pop(), "%s: no answer" % SILENT)
            medians = []
            for line, (address, delay) in zip(listed, DELAYS_MS.items()):
                answered = re.fullmatch(re.escape(address) + r": (\d+) ms \(10 of 10 answered\)", line)
                self.assertTrue(answered, line)
                medians.append(int(answered.group(1)))
                self.assertIn(medians[-1], range(delay - 1, delay + 10), line)
            self.assertEqual(len(listed), len(DELAYS_MS))
            latency = max(medians)
            k = scaled_multiplier(latency)
            self.assertIn("Latency %d ms, speed %d kbit/s" % (latency, SPEED), result)
            self.assertIn("Receive window: %d bytes (%d x MSS %d)" % (k * MSS, k, MSS), result)
            self.assertEqual(control("enabled", DIALOG, ids.IDC_TUNEWIN_USE), "1")

            self.assertEqual(driver("click", DIALOG, ids.IDC_TUNEWIN_USE)[0], 0)
            explanation = "Dial-Up Networking (Modem)"  # picking Manual explains it, as the mode list does
            self.assertTrue(c.wait_window(explanation))
            self.assertEqual(driver("click", explanation, IDOK)[0], 0)
            self.assertTrue(zve2e.wait_until(lambda: driver("no-window", explanation)[0] == 0))
            self.assertEqual(driver("no-window", DIALOG)[0], 0)
            self.assertEqual(control("selection", zt.MAIN_TITLE, ids.IDC_MODE), "3 Manual")
            self.assertEqual(control("checked", zt.MAIN_TITLE, ids.IDC_RWIN_CUSTOM), "1")
            self.assertEqual(control("selection", zt.MAIN_TITLE, ids.IDC_RWIN_LIST).split()[1], "x%d" % k)
            self.assertEqual(control("control-text", zt.MAIN_TITLE, ids.IDC_RWIN_LIST), "x%d" % k)
            self.assertEqual(driver("click", zt.MAIN_TITLE, ids.IDC_APPLY)[0], 0)
            self.assertEqual(driver("answer", "Zarvo 2003", "No", 60)[0], 0)  # no restart
            self.assertEqual(driver("answer", "Zarvo 2003", "OK")[0], 0)
            self.assertEqual(written(), [number_value(k * MSS)] * 3 + [number_value(1)])

        zt.set_windows_version("nt40")
        code, out = driver("exit-code", '"%s" /apply' % zt.CONFIGURATOR, 60)
        self.assertEqual((code, out.strip()), (0, "0"))
        self.assertEqual(written(), [number_value(64240)] * 3 + [None])  # 44 x 1460, unscaled


if __name__ == "__main__":
    netbed.main(__file__)
