"""The real zartune.exe, installed by setup.exe: its main window on a fresh
install, the switch to the manual mode, the About box, the status bar's
operating-system pane. Screenshots land in the build folder."""
import unittest

import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator, control
from zve2e import IDOK, driver, ids

MANUAL_TEXT = ("You chose to use the \"Manual Optimization Mode\".\n\n"
               "Try various settings combinations and watch your\n"
               "Internet performance to find out which configuration\n"
               "suits you best.\n\n"
               "In order that your settings will take effect you\n"
               "will have to press the 'Apply' button which is located\n"
               "in the bottom of the screen.")


class ConfiguratorWindow(unittest.TestCase):
    def setUp(self):
        zt.stop_agents()
        zt.remove_config_file()
        zt.set_windows_version(None)
        # Xvfb has no window manager: Wine draws the captions the screenshots show.
        zve2e.reg_add(r"HKCU\Software\Wine\X11 Driver", "Decorated", "REG_SZ", "N")

    def tearDown(self):
        zt.set_windows_version(None)

    def assert_automatic_form(self):
        self.assertEqual(control("selection", zt.MAIN_TITLE, ids.IDC_CONNECTION_TYPE), "0 Dial-Up Networking (Modem)")
        self.assertEqual(control("selection", zt.MAIN_TITLE, ids.IDC_MODE), "0 Automatic #1")
        for control_id in zt.MANUAL_SET + zt.VALUE_CONTROLS:
            self.assertEqual(control("enabled", zt.MAIN_TITLE, control_id), "0", control_id)
        for pair in zt.RADIO_PAIRS:
            for control_id in pair:
                self.assertEqual(control("checked", zt.MAIN_TITLE, control_id), "0", control_id)

    def test_fresh_install_opens_the_main_window_in_the_first_automatic_mode(self):
        with Configurator() as configurator:
            self.assertTrue(configurator.wait_window())
            self.assertEqual(zt.lines(driver("window-text", zt.MAIN_TITLE)[1]), " Zarvo 2003 v5.4")
            self.assert_automatic_form()
            self.assertEqual(control("items", zt.MAIN_TITLE, ids.IDC_MODE).split("\n"),
                             ["Automatic #1", "Automatic #2", "Automatic #3", "Manual"])
            self.assertTrue(zve2e.wait_until(lambda: driver("no-window", zve2e.AGENT_TITLE)[0] != 0),
                            "the agent was not started")
            zt.screenshot(zt.MAIN_TITLE, "main-automatic")

    def test_manual_mode_explains_itself_then_shows_the_starting_values(self):
        with Configurator() as configurator:
            self.assertTrue(configurator.wait_window())
            self.assertEqual(driver("select", zt.MAIN_TITLE, ids.IDC_MODE, "Manual")[0], 0)
            # The explanation is captioned with the connection type.
            explanation = "Dial-Up Networking (Modem)"
            self.assertTrue(configurator.wait_window(explanation))
            self.assertEqual(control("control-text", explanation, ids.IDC_EXPLAIN_TEXT), MANUAL_TEXT)
            zt.screenshot(explanation, "explanation-manual")
            self.assertEqual(driver("click", explanation, IDOK)[0], 0)
            self.assertTrue(zve2e.wait_until(lambda: driver("no-window", explanation)[0] == 0))

            for default, custom in zt.RADIO_PAIRS:
                self.assertEqual(control("checked", zt.MAIN_TITLE, default), "1", default)
                self.assertEqual(control("checked", zt.MAIN_TITLE, custom), "0", custom)
            self.assertEqual(control("checked", zt.MAIN_TITLE, ids.IDC_PMTU), "1")
            self.assertEqual(control("checked", zt.MAIN_TITLE, ids.IDC_BLACKHOLE), "0")
            self.assertEqual(control("selection", zt.MAIN_TITLE, ids.IDC_HTTP10_LIST), "0 2")
            self.assertEqual(control("selection", zt.MAIN_TITLE, ids.IDC_HTTP11_LIST), "2 4")
            for control_id in (ids.IDC_RWIN_LIST, ids.IDC_KEEPALIVE_LIST, ids.IDC_NDI_LIST):
                self.assertEqual(control("selection", zt.MAIN_TITLE, control_id), "-1", control_id)
            for control_id in (ids.IDC_MTU_EDIT, ids.IDC_TTL_EDIT):
                self.assertEqual(control("control-text", zt.MAIN_TITLE, control_id), "", control_id)
            for control_id in zt.MANUAL_SET:
                self.assertEqual(control("enabled", zt.MAIN_TITLE, control_id), "1", control_id)
            for control_id in zt.VALUE_CONTROLS:
                self.assertEqual(control("enabled", zt.MAIN_TITLE, control_id), "0", control_id)
            self.assertTrue(zve2e.wait_until(
                lambda: driver("status-text", zt.MAIN_TITLE, zt.PANE_MODE)[1].startswith("Mode: Manual")))
            zt.screenshot(zt.MAIN_TITLE, "main-manual")

    def test_about_switch_shows_only_the_about_box(self):
        with Configurator("/about") as configurator:
            self.assertTrue(configurator.wait_window(zt.ABOUT_TITLE))
            self.assertEqual(control("control-text", zt.ABOUT_TITLE, ids.IDC_ABOUT_WEB_LINK),
                             "http://www.zarvo.example/")
            self.assertEqual(control("control-text", zt.ABOUT_TITLE, ids.IDC_ABOUT_MAIL_LINK), "support@zarvo.example")
            self.assertEqual(driver("no-window", zt.MAIN_TITLE)[0], 0)
            self.assertTrue(zve2e.wait_until(lambda: driver("no-window", zve2e.AGENT_TITLE)[0] != 0),
                            "the agent was not started")
            zt.screenshot(zt.ABOUT_TITLE, "about")
            self.assertEqual(driver("click", zt.ABOUT_TITLE, ids.IDC_ABOUT_CLOSE)[0], 0)
            self.assertIsNotNone(configurator.exit_code(), "closing the About box did not end the program")
            self.assertEqual(driver("no-window", zt.MAIN_TITLE)[0], 0)

    def test_about_with_a_further_word_starts_normally(self):
        with Configurator("/ABOUT", "extra") as configurator:
            self.assertTrue(configurator.wait_window())
            self.assertEqual(driver("no-window", zt.ABOUT_TITLE)[0], 0)
            self.assert_automatic_form()

    def test_status_bar_names_the_operating_system(self):
        for version, pane in (("win2k", " OS: Windows 2000"), ("winxp", "   OS: Windows XP")):
            zt.set_windows_version(version)
            with Configurator() as configurator:
                self.assertTrue(configurator.wait_window(), version)
                self.assertTrue(zve2e.wait_until(
                    lambda: zt.lines(driver("status-text", zt.MAIN_TITLE, zt.PANE_OS)[1]) == pane),
                    "%s: %r" % (version, driver("status-text", zt.MAIN_TITLE, zt.PANE_OS)[1]))


if __name__ == "__main__":
    unittest.main()
