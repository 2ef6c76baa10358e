"""The real zarwatch.exe starting: first-run settings, autostart entries and
the one-copy rule."""
import unittest

import zve2e
from zve2e import Agent, driver, setting

SECTION = "UndoRegular"
AUTOSTART = '"%s" /auto' % zve2e.AGENT


class AgentStart(unittest.TestCase):
    def setUp(self):
        zve2e.reg_delete(zve2e.PRODUCT_KEY + "\\" + zve2e.scramble(SECTION))
        for key in zve2e.RUN_KEYS:
            zve2e.reg_add(key)
            zve2e.reg_delete(key, "Detect")

    def test_first_start_writes_the_first_run_settings_and_both_autostart_entries(self):
        with Agent() as agent:
            self.assertTrue(agent.wait_window())
            self.assertEqual(driver("window-text", zve2e.AGENT_TITLE), (0, zve2e.AGENT_TITLE + "\r\n"))
            self.assertEqual(
                {name: setting(SECTION, name) for name in
                 ("PingMode", "PingHost", "PingInterval", "PingSound", "TaskBarAni")},
                {"PingMode": "Automatic", "PingHost": "Automatic", "PingInterval": "4", "PingSound": "0",
                 "TaskBarAni": "1"})
            for key in zve2e.RUN_KEYS:
                self.assertEqual(zve2e.reg_query(key, "Detect"), ("REG_SZ", AUTOSTART), key)

    def test_settings_already_there_are_left_alone(self):
        zve2e.reg_add(zve2e.PRODUCT_KEY)
        with Agent() as agent:
            self.assertTrue(agent.wait_window())
        # The configurator's choice, written while no agent runs, survives the next start.
        section = zve2e.PRODUCT_KEY + "\\" + zve2e.scramble(SECTION)
        zve2e.reg_add(section, zve2e.scramble("PingInterval"), "REG_SZ", zve2e.scramble("9"))
        with Agent() as agent:
            self.assertTrue(agent.wait_window())
            self.assertEqual(setting(SECTION, "PingInterval"), "9")
            self.assertEqual(setting(SECTION, "PingMode"), "Automatic")

    def test_second_copy_with_auto_ends_silently_and_leaves_the_autostart_entries(self):
        with Agent() as agent:
            self.assertTrue(agent.wait_window())
            zve2e.reg_add(zve2e.RUN_KEYS[0], "Detect", "REG_SZ", "left alone")
            for switch in ("/auto", "/AUTO"):
                second = Agent(switch, second_copy=True)
                self.assertTrue(second.exited(), switch)
                self.assertEqual(driver("no-window", "Zarvo 2003 - Kavrel")[0], 0)
            self.assertEqual(zve2e.reg_query(zve2e.RUN_KEYS[0], "Detect"), ("REG_SZ", "left alone"))
            self.assertEqual(agent.process.poll(), None)

    def test_second_copy_with_another_switch_says_the_agent_is_already_running(self):
        with Agent() as agent:
            self.assertTrue(agent.wait_window())
            second = Agent("/ping", second_copy=True)
            try:
                self.assertEqual(driver("answer", "Zarvo 2003 - Kavrel", "OK"),
                                 (0, "Kavrel is already running.\r\n"))
                self.assertTrue(second.exited())
            finally:
                second.stop()


if __name__ == "__main__":
    unittest.main()
