"""Yes at Apply's restart question, on Windows XP: Wine simulates the
restart by ending every program of the prefix and starting its Run entries
again, so the configurator is gone afterwards and the agent runs as a new
process, started by its autostart entry."""
import unittest

import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator
from zve2e import IDOK, driver, ids


def agent_pids():
    code, out = driver("pids", "zarwatch.exe")
    assert code == 0
    return set(zt.lines(out).split())


class ConfiguratorRestart(unittest.TestCase):
    def test_yes_restarts_windows(self):
        zt.set_windows_version("winxp")
        configurator = Configurator()
        try:
            self.assertTrue(configurator.wait_window())
            self.assertTrue(zve2e.wait_until(lambda: len(agent_pids()) == 1), "the agent was not started")
            before = agent_pids()
            self.assertEqual(driver("click", zt.MAIN_TITLE, ids.IDC_APPLY)[0], 0)
            explanation = "Dial-Up Networking (Modem)"
            self.assertEqual(driver("wait-window", explanation, 30)[0], 0)
            self.assertEqual(driver("click", explanation, IDOK)[0], 0)
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
