"""The keep-alive dialog of the real zartune.exe, opened from the agent's
tray menu and by the "/ping" switch, and the running agent taking its
settings over; Registry Backup on Windows 98 and on Windows XP."""
import os
import shutil
import time
import unittest

import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator, control
from zve2e import IDOK, WM_COMMAND, Agent, driver, ids, setting

SECTION = "UndoRegular"
DIALOG = "Evertie"
NAMES = ("PingMode", "PingHost", "PingInterval", "PingSound", "TaskBarAni")
AUTOMATIC_TEXT = " " * 17 + "Automatic"
WINDOWS = zve2e.unix_path(r"C:\windows")
REGBAK = zve2e.unix_path(zve2e.INSTALL_FOLDER + r"\RegBak")
XP_TEXT = ("In order to backup your registry file we recommend\nto use Windows XP build in backup program.\n\n"
           "1. Click Start, point to Programs, point to Accessories,\n"
           "    point to System Tools, and then click Backup.\n"
           "2. On the Tools menu, click Create ASR Wizard.\n"
           "3. Follow the instructions that appear on your screen.")


def stored():
    return {name: setting(SECTION, name) for name in NAMES}


def close_dialog():
    if driver("no-window", DIALOG)[0] != 0:
        driver("post", DIALOG, zve2e.WM_CLOSE, 0, 0)
        zve2e.wait_until(lambda: driver("no-window", DIALOG)[0] == 0)


class KeepAliveDialog(unittest.TestCase):
    def setUp(self):
        zt.stop_agents()
        zt.set_windows_version(None)
        zve2e.reg_delete(zve2e.PRODUCT_KEY + "\\" + zve2e.scramble(SECTION))
        zve2e.reg_add(r"HKCU\Software\Wine\X11 Driver", "Decorated", "REG_SZ", "N")

    def tearDown(self):
        close_dialog()
        zt.stop_agents()
        zt.set_windows_version(None)

    def wait_control(self, command, control_id, value):
        self.assertTrue(zve2e.wait_until(lambda: zt.lines(driver(command, DIALOG, control_id)[1]) == value),
                        "%s of %d is not %r" % (command, control_id, value))

    def test_tray_item_opens_the_dialog_and_the_agent_takes_a_new_interval_at_once(self):
        with zve2e.LoopbackServer() as server:
            zve2e.use_proxy(server.port)
            try:
                with Agent() as agent:
                    self.assertTrue(agent.wait_window())
                    # The tray's "&Evertie Configuration" starts zartune.exe /ping.
                    self.assertEqual(driver("post", zve2e.AGENT_TITLE, WM_COMMAND, ids.ID_TRAY_EVERTIE, 0)[0], 0)
                    self.assertTrue(zve2e.wait_until(lambda: driver("no-window", DIALOG)[0] != 0, 30))
                    # On the agent's first-run settings.
                    self.wait_control("checked", ids.IDC_PING_AUTOMATIC, "1")
                    self.assertEqual(control("checked", DIALOG, ids.IDC_PING_MANUAL), "0")
                    self.assertEqual(control("control-text", DIALOG, ids.IDC_PING_HOST), AUTOMATIC_TEXT)
                    self.assertEqual(control("enabled", DIALOG, ids.IDC_PING_HOST), "0")
                    self.assertEqual(control("selection", DIALOG, ids.IDC_PING_INTERVAL), "4  5 minutes.")
                    self.assertEqual(control("enabled", DIALOG, ids.IDC_PING_INTERVAL), "0")
                    self.assertEqual(control("checked", DIALOG, ids.IDC_PING_ANIMATION), "1")
                    zt.screenshot(DIALOG, "keepalive-automatic")

                    self.assertEqual(driver("click", DIALOG, ids.IDC_PING_MANUAL)[0], 0)
                    self.wait_control("enabled", ids.IDC_PING_HOST, "1")
                    self.assertEqual(driver("set-text", DIALOG, ids.IDC_PING_HOST, "http://www.zarvo.example/up")[0], 0)
                    self.assertEqual(driver("select", DIALOG, ids.IDC_PING_INTERVAL, " 1 minute.")[0], 0)
                    # Without the animation the 40-second line check stays quiet:
                    # every request the server sees is a keep-alive ping.
                    self.assertEqual(driver("click", DIALOG, ids.IDC_PING_ANIMATION)[0], 0)
                    self.wait_control("checked", ids.IDC_PING_ANIMATION, "0")
                    zt.screenshot(DIALOG, "keepalive-manual")

                    before = len(server.requests)
                    self.assertEqual(driver("click", DIALOG, IDOK)[0], 0)
                    self.assertTrue(zve2e.wait_until(lambda: driver("no-window", DIALOG)[0] == 0))
                    closed = time.monotonic()
                    self.assertEqual(stored(), {"PingMode": "Manual", "PingHost": "http://www.zarvo.example/up",
                                                "PingInterval": "0", "PingSound": "0", "TaskBarAni": "0"})
                    # One minute and three seconds, not the five minutes and
                    # three seconds of the first-run interval.
                    self.assertTrue(zve2e.wait_until(lambda: len(server.requests) > before, 100),
                                    "no keep-alive request")
                    waited = time.monotonic() - closed
                    self.assertGreater(waited, 55)
                    self.assertLess(waited, 75)
            finally:
                zve2e.no_proxy()

    def test_ping_switch_without_the_agent_writes_the_values_and_sends_nothing(self):
        # In the agent's place, a program that ends at once and opens no window.
        agent = zve2e.unix_path(zve2e.AGENT)
        aside = agent + ".aside"
        os.rename(agent, aside)
        try:
            shutil.copy(zve2e.DRIVER, agent)
            with Configurator("/ping") as configurator:
                self.assertTrue(configurator.wait_window(DIALOG))
                self.assertEqual(driver("no-window", zve2e.AGENT_TITLE)[0], 0)
                self.wait_control("checked", ids.IDC_PING_ANIMATION, "1")  # nothing saved yet
                self.assertEqual(driver("click", DIALOG, IDOK)[0], 0)
                self.assertIsNotNone(configurator.exit_code(30), "closing the dialog did not end the program")
                self.assertEqual(driver("no-window", zt.MAIN_TITLE)[0], 0)
        finally:
            os.replace(aside, agent)
        self.assertEqual(stored(), {"PingMode": "Automatic", "PingHost": "Automatic", "PingInterval": "9",
                                    "PingSound": "0", "TaskBarAni": "1"})


class RegistryBackup(unittest.TestCase):
    def setUp(self):
        zt.stop_agents()
        shutil.rmtree(REGBAK, ignore_errors=True)

    def tearDown(self):
        zt.set_windows_version(None)
        shutil.rmtree(REGBAK, ignore_errors=True)
        for name in ("system.dat", "user.dat"):
            path = os.path.join(WINDOWS, name)
            if os.path.exists(path):
                os.remove(path)

    def backup(self):
        """Runs Registry Backup in the main window; the text of its message box."""
        with Configurator() as configurator:
            self.assertTrue(configurator.wait_window())
            self.assertEqual(driver("post", zt.MAIN_TITLE, WM_COMMAND, ids.ID_FILE_BACKUP, 0)[0], 0)
            code, text = driver("answer", "Zarvo 2003", "OK")
            self.assertEqual(code, 0)
            return zt.lines(text)

    def test_windows_98_copies_both_registry_files_over_the_earlier_backup(self):
        zt.set_windows_version("win98")
        for name in ("system.dat", "user.dat"):
            with open(os.path.join(WINDOWS, name), "w") as planted:
                planted.write("today's " + name)
        os.makedirs(REGBAK)
        with open(os.path.join(REGBAK, "user.dat"), "w") as earlier:
            earlier.write("last week's user.dat")
        self.assertEqual(self.backup(), "Registry backup was successfully created. ")
        for name in ("system.dat", "user.dat"):
            with open(os.path.join(REGBAK, name)) as copy:
                self.assertEqual(copy.read(), "today's " + name)
        self.assertEqual(sorted(os.listdir(REGBAK)), ["system.dat", "user.dat"])

    def test_windows_xp_is_told_how_to_use_its_own_backup_tool(self):
        zt.set_windows_version("winxp")
        self.assertEqual(self.backup(), XP_TEXT)
        self.assertFalse(os.path.exists(REGBAK))


if __name__ == "__main__":
    unittest.main()
