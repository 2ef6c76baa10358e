"""The real zarwatch.exe over damaged state: every keep-alive setting damaged
in six ways (and the configurator's keep-alive dialog opened on them),
"EnableAutodial" of the wrong shape or missing, odd command lines and a
missing install folder. In every case the agent keeps running
with its window (or says why it ends), and nothing stored is replaced by
anything but what the programs specify."""
import unittest

import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator, control
from zve2e import IDCANCEL, WM_COMMAND, Agent, driver, ids, scramble

SECTION = zve2e.PRODUCT_KEY + "\\" + scramble("UndoRegular")
INSTALL = zve2e.PRODUCT_KEY + "\\Install"
AUTOSTART = '"%s" /auto' % zve2e.AGENT
SETTINGS_CHANGED = 1112
WM_TIMER = 0x0113
KEEPALIVE = "Evertie"

# What the configurator would have stored.
GOOD = {"PingMode": "Manual", "PingHost": "www.example.org", "PingInterval": "9", "PingSound": "1",
        "TaskBarAni": "0"}


def damaged(kind, text):
    """The REGEDIT4 data of text's stored form, damaged in one way."""
    bare = scramble(text)
    if kind == "a lone letter at the end":
        return '"%s"' % bare[:-1]
    if kind == "letters outside the alphabet":
        return '"%s"' % (bare[0] + bare[1:].lower())
    if kind == "999 characters":
        return '"%s"' % ("P" * 999)
    if kind == "empty":
        return '""'
    if kind == "REG_DWORD":
        return "dword:00000009"
    return "hex:de,ad,be,ef"


# "PingMode" damaged these ways reads as the empty text, which the agent
# takes for a first run: it stores "Automatic". Cut short, "Manual" still
# reads "Manua"; 999 letters "P" read as fifteen bytes 0xFF.
PING_MODE_READS_EMPTY = {"letters outside the alphabet", "empty", "REG_DWORD", "REG_BINARY"}
KINDS = ["a lone letter at the end", "letters outside the alphabet", "999 characters", "empty", "REG_DWORD",
         "REG_BINARY"]


def exercise(agent):
    """What reads the settings: the settings-changed message, both timers, a ping."""
    for message, wparam, lparam in ((SETTINGS_CHANGED, 123, 123), (WM_TIMER, 1, 0), (WM_TIMER, 2, 0),
                                    (WM_COMMAND, ids.ID_TRAY_SIMULATE, 0)):
        assert driver("send", zve2e.AGENT_TITLE, message, wparam, lparam)[0] == 0, message


class DamagedAgentState(unittest.TestCase):
    def setUp(self):
        zve2e.reg_delete(SECTION)

    def tearDown(self):
        zve2e.reg_delete(SECTION)
        zve2e.reg_add(INSTALL, "Folder", "REG_SZ", zve2e.INSTALL_FOLDER)

    def assert_running(self, agent):
        self.assertIsNone(agent.process.poll(), "the agent ended")
        self.assertNotEqual(driver("no-window", zve2e.AGENT_TITLE)[0], 0, "the agent's window is gone")

    def open_and_cancel_keepalive(self, manual):
        configurator = Configurator("/ping")
        try:
            self.assertTrue(configurator.wait_window(KEEPALIVE))
            self.assertEqual(control("checked", KEEPALIVE, ids.IDC_PING_MANUAL), "1" if manual else "0")
            self.assertEqual(control("checked", KEEPALIVE, ids.IDC_PING_AUTOMATIC), "0" if manual else "1")
            self.assertTrue(-1 <= int(control("selection", KEEPALIVE, ids.IDC_PING_INTERVAL).split()[0]) < 60)
            self.assertEqual(driver("click", KEEPALIVE, IDCANCEL)[0], 0)
            self.assertIsNotNone(configurator.exit_code(20), "Cancel did not end the configurator")
        finally:
            if configurator.process.poll() is None:
                configurator.process.kill()
                configurator.process.wait()

    def test_every_setting_damaged_every_way_is_read_or_left_as_it_is(self):
        with zve2e.LoopbackServer() as server:
            zve2e.use_proxy(server.port)
            try:
                for kind in KINDS:
                    with self.subTest(kind):
                        zve2e.reg_delete(SECTION)
                        zve2e.reg_import(SECTION, {scramble(name): damaged(kind, text) for name, text in GOOD.items()})
                        before = zve2e.reg_tree(SECTION)
                        self.assertEqual(len(before), 5)
                        with Agent() as agent:
                            self.assertTrue(agent.wait_window())
                            exercise(agent)
                            self.assert_running(agent)
                            # The configurator's keep-alive dialog opens on them too; Cancel changes nothing.
                            settled = zve2e.reg_tree(SECTION)
                            self.open_and_cancel_keepalive(manual=kind not in PING_MODE_READS_EMPTY)
                            self.assertEqual(zve2e.reg_tree(SECTION), settled)
                            self.assert_running(agent)
                        after = zve2e.reg_tree(SECTION)
                        ping_mode = (SECTION.replace("HKLM", "HKEY_LOCAL_MACHINE"), scramble("PingMode"))
                        if kind in PING_MODE_READS_EMPTY:
                            self.assertEqual(zve2e.setting("UndoRegular", "PingMode"), "Automatic")
                            del before[ping_mode], after[ping_mode]
                        self.assertEqual(after, before)
            finally:
                zve2e.no_proxy()

    def test_enable_autodial_of_another_shape_or_missing_is_left_alone(self):
        autodial = lambda: zve2e.reg_query(zve2e.INTERNET_SETTINGS, "EnableAutodial")
        shapes = [("REG_SZ", "1"), ("REG_SZ", "1" * 600), None]
        with zve2e.LoopbackServer(during=autodial) as server:
            zve2e.use_proxy(server.port)
            try:
                with Agent() as agent:
                    self.assertTrue(agent.wait_window())
                    for shape in shapes:
                        with self.subTest(shape and (shape[0], len(shape[1]))):
                            zve2e.reg_delete(zve2e.INTERNET_SETTINGS, "EnableAutodial")
                            if shape:
                                zve2e.reg_add(zve2e.INTERNET_SETTINGS, "EnableAutodial", *shape)
                            requests = len(server.requests)
                            self.assertEqual(
                                driver("send", zve2e.AGENT_TITLE, WM_COMMAND, ids.ID_TRAY_SIMULATE, 0)[0], 0)
                            self.assertEqual(len(server.requests), requests + 1)
                            self.assertEqual(server.seen_during[-1], shape)
                            self.assertEqual(autodial(), shape)
                    self.assert_running(agent)
            finally:
                zve2e.no_proxy()
                zve2e.reg_delete(zve2e.INTERNET_SETTINGS, "EnableAutodial")

    def test_odd_command_lines_start_the_agent_or_say_it_runs_already(self):
        for key in zve2e.RUN_KEYS:
            zve2e.reg_add(key)
        lines = [["/"], [""], ["/" + "x" * 4000], ["/auto", "/ping"]]
        for args in lines:
            with self.subTest(args[0][:8]):
                for key in zve2e.RUN_KEYS:
                    zve2e.reg_delete(key, "Detect")
                with Agent(*args) as agent:
                    self.assertTrue(agent.wait_window())
                    # The entry names the program, whatever followed it.
                    for key in zve2e.RUN_KEYS:
                        self.assertEqual(zve2e.reg_query(key, "Detect"), ("REG_SZ", AUTOSTART), key)
                    # A second copy with the same line ends, and says so: its word is not "auto".
                    second = Agent(*args, second_copy=True)
                    try:
                        self.assertEqual(driver("answer", "Zarvo 2003 - Kavrel", "OK"),
                                         (0, "Kavrel is already running.\r\n"))
                        self.assertTrue(second.exited())
                    finally:
                        second.stop()
                    self.assert_running(agent)

    def test_missing_install_folder_is_said_when_a_file_of_ours_is_needed(self):
        zve2e.reg_delete(INSTALL, "Folder")
        before = zve2e.reg_tree(zve2e.PRODUCT_KEY)
        with zve2e.LoopbackServer() as server:
            zve2e.use_proxy(server.port)
            try:
                with Agent() as agent:
                    self.assertTrue(agent.wait_window())
                    # The sound of a ping, and the configurator: both live in the install folder.
                    for command in (ids.ID_TRAY_SIMULATE, ids.ID_TRAY_OPEN):
                        self.assertEqual(driver("post", zve2e.AGENT_TITLE, WM_COMMAND, command, 0)[0], 0)
                        code, text = driver("answer", "Zarvo 2003 - Severe Error", "OK")
                        self.assertEqual(code, 0, command)
                        self.assertTrue(
                            text.startswith("Missing registry information, please re-install Zarvo 2003."), text)
                        self.assertTrue(zve2e.wait_until(
                            lambda: driver("no-window", "Zarvo 2003 - Severe Error")[0] == 0))
                    self.assert_running(agent)
            finally:
                zve2e.no_proxy()
        after = zve2e.reg_tree(zve2e.PRODUCT_KEY)
        for key, value in before.items():
            self.assertEqual(after.get(key), value, key)
        # Only the first-run settings are new.
        self.assertTrue(all(key[0].endswith(scramble("UndoRegular")) for key in set(after) - set(before)))

if __name__ == "__main__":
    unittest.main()
