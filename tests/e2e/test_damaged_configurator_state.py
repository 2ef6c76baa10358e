"""The real zartune.exe over damaged state: configuration files with huge
and negative numbers, binary bytes, no section and a 1 MB line; odd command
lines; a missing install folder. In every case the main window opens on a
form it can show (or a clear message says why not), and neither the file nor
the product's key is changed by opening it."""
import os
import unittest

import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator, control
from zve2e import driver, ids

INSTALL = zve2e.PRODUCT_KEY + "\\Install"
TCPIP = r"HKLM\System\CurrentControlSet\Services\Tcpip\Parameters"
MSTCP = r"HKLM\System\CurrentControlSet\Services\VxD\MSTCP"
# Each list of the form and how many entries it has.
LISTS = {ids.IDC_CONNECTION_TYPE: 4, ids.IDC_MODE: 4, ids.IDC_RWIN_LIST: 7, ids.IDC_KEEPALIVE_LIST: 60,
         ids.IDC_HTTP10_LIST: 59, ids.IDC_HTTP11_LIST: 59, ids.IDC_NDI_LIST: 7}


def section(*lines):
    return ("[Configuration]\r\n" + "".join(line + "\r\n" for line in lines)).encode("latin-1")


FILES = {
    "huge numbers": section("Adapter=99999999999999999999", "Mode=3", "MTU=99999999999999999999",
                            "RWIN=2147483648", "TTL=4294967296", "SKA=4294967295", "PMTU=99999999999",
                            "BlackHole=2147483647", "HTTP10=65536", "HTTP11=99999", "NDI=2147483647"),
    "negative numbers": section("Adapter=-1", "Mode=3", "MTU=-1500", "RWIN=-2", "TTL=-64", "SKA=-2147483648",
                                "PMTU=-1", "BlackHole=-1", "HTTP10=-5", "HTTP11=-2", "NDI=-7"),
    "binary bytes": section("Adapter=\x01\x02", "Mode=3\xff\xfe", "MTU=\x80\x81\x9f") + bytes(range(256)) +
                    b"\r\nTTL=\x00\xe9\r\n\x1a",
    "no section": b"Adapter=2\r\nMode=3\r\nMTU=1400\r\nTTL=64\r\n",
    "a 1 MB line": section("Adapter=1", "Mode=3", "MTU=" + "1" * (1 << 20), "TTL=64") +
                   b"x" * (1 << 20) + b"\r\n",
}


SEVERE_ERROR = "Zarvo 2003 - Severe Error"


class DamagedConfiguratorState(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # One agent for every start: the configurator's own launch of it then ends at once.
        zt.stop_agents()
        cls.agent = zve2e.Agent()
        assert cls.agent.wait_window()

    @classmethod
    def tearDownClass(cls):
        cls.agent.stop()

    def setUp(self):
        zt.remove_config_file()
        zt.set_windows_version(None)

    def tearDown(self):
        zt.remove_config_file()
        zve2e.reg_add(INSTALL, "Folder", "REG_SZ", zve2e.INSTALL_FOLDER)

    def close(self, configurator):
        driver("post", zt.MAIN_TITLE, zve2e.WM_CLOSE, 0, 0)
        if configurator.exit_code(20) is None:
            configurator.process.kill()
            configurator.process.wait()
            self.fail("the configurator did not end when its window closed")
        self.assertIsNone(self.agent.process.poll(), "the agent ended")

    def assert_showable_form(self):
        for control_id, entries in LISTS.items():
            index = int(control("selection", zt.MAIN_TITLE, control_id).split()[0])
            self.assertTrue(-1 <= index < entries, (control_id, index))
        manual = control("selection", zt.MAIN_TITLE, ids.IDC_MODE).startswith("3 ")
        # Manual: exactly one button of each pair; automatic: none, and every manual control off.
        for pair in zt.RADIO_PAIRS:
            checked = [control("checked", zt.MAIN_TITLE, button) for button in pair]
            self.assertEqual(sorted(checked), ["0", "1"] if manual else ["0", "0"], pair)
        for control_id in zt.MANUAL_SET:
            self.assertEqual(control("enabled", zt.MAIN_TITLE, control_id), "1" if manual else "0", control_id)
        return manual

    def open_damaged(self, name):
        path = zve2e.unix_path(zt.CONFIG_FILE)
        with open(path, "wb") as cfg:
            cfg.write(FILES[name])
        os.chmod(path, 0o444)
        configurator = Configurator()
        self.assertTrue(configurator.wait_window(), name)
        return configurator, path

    def test_damaged_files_open_on_a_form_that_can_be_shown_and_stay_as_they_are(self):
        for name in FILES:
            with self.subTest(name):
                before = zve2e.reg_tree(zve2e.PRODUCT_KEY)
                configurator, path = self.open_damaged(name)
                try:
                    manual = self.assert_showable_form()
                    if name == "no section":
                        # Nothing is read: the defaults.
                        self.assertEqual(control("selection", zt.MAIN_TITLE, ids.IDC_MODE), "0 Automatic #1")
                    if name == "a 1 MB line":
                        self.assertTrue(manual)
                        self.assertEqual(control("checked", zt.MAIN_TITLE, ids.IDC_MTU_CUSTOM), "1")
                        self.assertEqual(control("control-text", zt.MAIN_TITLE, ids.IDC_TTL_EDIT), "64")
                finally:
                    self.close(configurator)
                with open(path, "rb") as cfg:
                    self.assertEqual(cfg.read(), FILES[name])
                self.assertEqual(zve2e.reg_tree(zve2e.PRODUCT_KEY), before)

    def test_apply_with_damaged_manual_values_says_which_and_writes_nothing(self):
        before = {key: zve2e.reg_tree(key) for key in (TCPIP, MSTCP, zve2e.PRODUCT_KEY)}
        configurator, path = self.open_damaged("huge numbers")
        try:
            self.assertEqual(driver("click", zt.MAIN_TITLE, ids.IDC_APPLY)[0], 0)
            code, text = driver("answer", "Zarvo 2003", "OK")
            self.assertEqual(code, 0)
            self.assertTrue(text.startswith("Invalid "), text)
        finally:
            self.close(configurator)
        with open(path, "rb") as cfg:
            self.assertEqual(cfg.read(), FILES["huge numbers"])
        self.assertEqual({key: zve2e.reg_tree(key) for key in before}, before)

    def test_odd_command_lines_open_the_main_window(self):
        for args in (["/"], [""], ["/" + "x" * 4000], ["/about", "/ping"]):
            with self.subTest(args[0][:8]):
                before = zve2e.reg_tree(zve2e.PRODUCT_KEY)
                configurator = Configurator(*args)
                try:
                    self.assertTrue(configurator.wait_window())
                    self.assertEqual(driver("no-window", zt.ABOUT_TITLE)[0], 0)
                    self.assert_showable_form()
                finally:
                    self.close(configurator)
                self.assertEqual(zve2e.reg_tree(zve2e.PRODUCT_KEY), before)

    def test_missing_install_folder_is_said_and_nothing_is_written(self):
        zve2e.reg_delete(INSTALL, "Folder")
        before = zve2e.reg_tree(zve2e.PRODUCT_KEY)
        configurator = Configurator()
        try:
            # Asked for by the agent's start, then by the form for its file: said each time.
            said = 0
            for _ in range(4):
                if driver("no-window", zt.MAIN_TITLE)[0] != 0:
                    break
                if driver("wait-window", SEVERE_ERROR, 15)[0] != 0:
                    continue
                box = driver("window-handle", SEVERE_ERROR)[1]
                code, text = driver("answer", SEVERE_ERROR, "OK", 15)
                self.assertEqual(code, 0)
                said += 1
                self.assertTrue(text.startswith("Missing registry information, please re-install Zarvo 2003."),
                                text)
                # The next box may follow at once, with the same caption: it is another window.
                self.assertTrue(zve2e.wait_until(lambda: driver("window-handle", SEVERE_ERROR)[1] != box))
            self.assertEqual(said, 2)
            self.assertTrue(configurator.wait_window())
            self.assert_showable_form()
        finally:
            self.close(configurator)
        self.assertEqual(zve2e.reg_tree(zve2e.PRODUCT_KEY), before)

if __name__ == "__main__":
    unittest.main()
