"""The real zarwatch.exe's tray menu commands, sent as the menu sends them,
and its settings-changed message."""
import os
import tempfile
import unittest

import zve2e
from zve2e import WM_COMMAND, Agent, driver, ids

SETTINGS_CHANGED = 1112
DISABLED_TEXT = ("You have only disabled the Evertie utility...\r\n\r\n"
                 "Zarvo 2003 will continue boosting your Internet connection.\r\n"
                 "In order to disable the connection acceleration you will have to run the uninstall program.\r\n")


class TrayCommands(unittest.TestCase):
    def test_disable_tells_the_user_and_a_second_choice_enables_again_silently(self):
        with Agent() as agent:
            self.assertTrue(agent.wait_window())
            # Posted: the handler waits in its message box until the box is answered.
            self.assertEqual(driver("post", zve2e.AGENT_TITLE, WM_COMMAND, ids.ID_TRAY_DISABLE, 0)[0], 0)
            self.assertEqual(driver("answer", "Zarvo 2003", "OK"), (0, DISABLED_TEXT))
            # Sent: it returns only when the handler is done, and a box would block it.
            self.assertEqual(driver("send", zve2e.AGENT_TITLE, WM_COMMAND, ids.ID_TRAY_DISABLE, 0)[0], 0)
            self.assertEqual(driver("no-window", "Zarvo 2003")[0], 0)

    def test_evertie_configuration_without_the_configurator_reports_code_00103(self):
        configurator = zve2e.unix_path(zve2e.INSTALL_FOLDER + r"\zartune.exe")
        aside = configurator + ".aside"
        if os.path.exists(configurator):
            os.rename(configurator, aside)
        try:
            with Agent() as agent:
                self.assertTrue(agent.wait_window())
                driver("post", zve2e.AGENT_TITLE, WM_COMMAND, ids.ID_TRAY_EVERTIE, 0)
                code, text = driver("answer", "Zarvo 2003 - Missing files", "OK")
                self.assertEqual(code, 0)
                self.assertTrue(text.startswith("You are using a CORRUPTED copy of Zarvo 2003."), text)
                self.assertIn("your error code is 00103.", text)
        finally:
            if os.path.exists(aside):
                os.rename(aside, configurator)

    def test_simulate_activity_requests_the_built_in_address_with_autodial_off_meanwhile(self):
        zve2e.reg_add(zve2e.INTERNET_SETTINGS, "EnableAutodial", "REG_DWORD", 1)
        autodial = lambda: zve2e.reg_query(zve2e.INTERNET_SETTINGS, "EnableAutodial")
        with zve2e.LoopbackServer(during=autodial) as server:
            zve2e.use_proxy(server.port)
            try:
                with Agent() as agent:
                    self.assertTrue(agent.wait_window())
                    self.assertEqual(driver("send", zve2e.AGENT_TITLE, WM_COMMAND, ids.ID_TRAY_SIMULATE, 0)[0], 0)
            finally:
                zve2e.no_proxy()
        self.assertEqual(len(server.requests), 1)
        line, headers = server.requests[0]
        self.assertRegex(line, r"^GET http://www\.example\.com(:80)?/ HTTP/1\.1$")
        self.assertEqual(headers.get("User-Agent"), "Mozilla/4.0+(compatible;+MSIE+6.0;+Windows+NT+5.0)")
        self.assertEqual(server.seen_during, [("REG_DWORD", "0x0")])
        self.assertEqual(autodial(), ("REG_DWORD", "0x1"))

    def test_a_start_puts_back_autodial_that_an_agent_killed_mid_request_left_off(self):
        zve2e.reg_add(zve2e.INTERNET_SETTINGS, "EnableAutodial", "REG_DWORD", 0)
        marker_key = r"HKCU\SOFTWARE\Orvenda Ltd\Zarvo"
        zve2e.reg_add(marker_key, "SavedEnableAutodial", "REG_DWORD", 1)
        with Agent() as agent:
            self.assertTrue(agent.wait_window())
            self.assertEqual(zve2e.reg_query(zve2e.INTERNET_SETTINGS, "EnableAutodial"), ("REG_DWORD", "0x1"))
            self.assertIsNone(zve2e.reg_query(marker_key, "SavedEnableAutodial"))

    def test_settings_changed_message_rereads_the_settings_only_for_123_123(self):
        # Wine's registry trace shows every value the agent reads.
        interval = zve2e.scramble("PingInterval")
        with tempfile.TemporaryDirectory() as folder:
            log = os.path.join(folder, "agent.log")
            with Agent(debug="+reg", log=log) as agent:
                self.assertTrue(agent.wait_window())
                # The window is found while it is still being created and reading its settings;
                # a sent message comes back only once that is over.
                self.assertEqual(driver("send", zve2e.AGENT_TITLE, 0, 0, 0)[0], 0)

                def reads_after(wparam, lparam):
                    before = os.path.getsize(log)
                    self.assertEqual(driver("send", zve2e.AGENT_TITLE, SETTINGS_CHANGED, wparam, lparam)[0], 0)
                    with open(log, "rb") as trace:
                        trace.seek(before)
                        return trace.read().decode("latin-1").count(interval)

                self.assertEqual(reads_after(123, 0), 0)
                self.assertEqual(reads_after(0, 123), 0)
                self.assertGreater(reads_after(123, 123), 0)


if __name__ == "__main__":
    unittest.main()
