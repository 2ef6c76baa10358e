"""Yes at Apply's restart question, on Windows XP, in a prefix of its own:
Wine simulates the restart by ending every program of the prefix and
starting its Run entries again, so the configurator is gone afterwards and
the agent runs as a new process, started by its autostart entry."""
import os
import subprocess
import sys
import unittest

# A prefix of its own, since the restart ends everything that runs in it.
SHARED_PREFIX = os.environ["ZV_E2E_PREFIX"]
PREFIX = os.path.join(os.path.dirname(SHARED_PREFIX), "wineprefix-restart")
os.environ["ZV_E2E_PREFIX"] = PREFIX
WINE_PREFIX_SCRIPT = os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "wine-prefix")

import zartune_e2e as zt  # noqa: E402 (the prefix must be chosen first)
import zve2e  # noqa: E402
from zartune_e2e import Configurator  # noqa: E402
from zve2e import driver  # noqa: E402


def agent_pids():
    code, out = driver("pids", "zarwatch.exe")
    assert code == 0
    return set(zt.lines(out).split())


def setUpModule():
    subprocess.run([WINE_PREFIX_SCRIPT, "boot", PREFIX, "--x11"], check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    code, _ = zve2e.run([*zve2e.WINE, os.environ["ZV_E2E_SETUP"], "/S"], timeout=120)
    if code != 0:
        sys.exit("setup.exe /S ended with %d" % code)


def tearDownModule():
    subprocess.run([WINE_PREFIX_SCRIPT, "stop", PREFIX], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


class ConfiguratorRestart(unittest.TestCase):
    def test_yes_restarts_windows(self):
        zt.set_windows_version("winxp")
        configurator = Configurator()
        try:
            self.assertTrue(configurator.wait_window())
            self.assertTrue(zve2e.wait_until(lambda: len(agent_pids()) == 1), "the agent was not started")
            before = agent_pids()
            self.assertEqual(driver("click", zt.MAIN_TITLE, 1014)[0], 0)
            explanation = "Dial-Up Networking (Modem)"
            self.assertEqual(driver("wait-window", explanation, 30)[0], 0)
            self.assertEqual(driver("click", explanation, 1)[0], 0)
            code, question = driver("answer", "Zarvo 2003", "Yes", 60)
            self.assertEqual(code, 0)
            self.assertTrue(zt.lines(question).startswith("System changes were successful done."))

            self.assertIsNotNone(configurator.exit_code(60), "the configurator still runs")
            self.assertTrue(zve2e.wait_until(lambda: zt.processes("zartune.exe") == 0))
            self.assertTrue(zve2e.wait_until(lambda: len(agent_pids()) == 1, 60), "the agent did not come back")
            self.assertTrue(agent_pids().isdisjoint(before), "the agent is the old process")
            self.assertEqual(driver("wait-window", zve2e.AGENT_TITLE, 30)[0], 0)
        finally:
            configurator.stop()


if __name__ == "__main__":
    unittest.main()
