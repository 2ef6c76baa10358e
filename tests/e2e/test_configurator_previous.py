"""Restore Previous Settings in the real zartune.exe on Windows XP: refused
while there is no record, the record made by the first Apply and kept by
the second, and Yes giving back what the registry held before, after which
the record is gone.

Menus cannot be read from another process under Wine, so the command's
state is seen through its effect: a command the frame holds disabled is
not carried out, so a sent WM_COMMAND returns at once and shows nothing,
while an enabled one asks its question."""
import os
import time
import unittest

import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator
from zve2e import IDOK, driver, ids, reg_add, reg_query

CAPTION = "Zarvo 2003"
RECORD = zve2e.INSTALL_FOLDER + r"\Zartune-previous.reg"

MACHINE = "HKLM\\"
TCPIP = MACHINE + r"SYSTEM\CurrentControlSet\Services\Tcpip\Parameters"
INTERFACE = TCPIP + r"\Interfaces\{ZV-E2E-PREVIOUS}"
INTERNET = MACHINE + r"SOFTWARE\Microsoft\Windows\CurrentVersion\Internet Settings"
TUNED = [(TCPIP, name) for name in ("GlobalMaxTcpWindoSize", "GlobalMaxTcpWindowSize", "TcpWindowSize", "Tcp1323Opts",
                                    "DefaultTTL", "EnablePMTUDiscovery", "EnablePMTUBHDetect", "KeepAliveTime")] + [
    (INTERFACE, "MTU"), (INTERNET, "MaxConnectionsPer1_0Server"), (INTERNET, "MaxConnectionsPerServer")]


def record_exists():
    return os.path.exists(zve2e.unix_path(RECORD))


def dump():
    return [(key, name, reg_query(key, name)) for key, name in TUNED]


def answer(button, starts_with):
    """Answers the box that says starts_with; a box still closing from the
    answer before is waited out."""
    deadline = time.monotonic() + 120
    while time.monotonic() < deadline:
        code, text = driver("answer", CAPTION, button, 120)
        if code == 0 and text.startswith(starts_with):
            return text
        time.sleep(0.2)
    raise AssertionError("no box saying %r" % starts_with)


class RestorePreviousSettings(unittest.TestCase):
    def setUp(self):
        zt.stop_agents()
        zt.remove_config_file()
        self.clean_up()
        zt.set_windows_version("winxp")
        # What a provider and an administrator left: the rest is absent.
        reg_add(INTERFACE, "MTU", "REG_DWORD", 1492)
        reg_add(TCPIP, "DefaultTTL", "REG_DWORD", 64)
        reg_add(TCPIP, "KeepAliveTime", "REG_SZ", "7200000")
        reg_add(INTERNET, "MaxConnectionsPerServer", "REG_DWORD", 4)

    def tearDown(self):
        zt.set_windows_version(None)
        self.clean_up()

    @staticmethod
    def clean_up():
        zve2e.reg_delete(INTERFACE)
        for key, name in TUNED:
            if key != INTERFACE:
                zve2e.reg_delete(key, name)
        if record_exists():
            os.remove(zve2e.unix_path(RECORD))

    def assert_refused(self):
        self.assertFalse(record_exists())
        self.assertEqual(driver("send", zt.MAIN_TITLE, zve2e.WM_COMMAND, ids.ID_FILE_RESTORE_PREVIOUS, 0)[0], 0)
        self.assertEqual(driver("no-window", CAPTION)[0], 0)

    def apply(self, mode):
        self.assertEqual(driver("select", zt.MAIN_TITLE, ids.IDC_MODE, mode)[0], 0)
        self.assertTrue(zve2e.wait_until(
            lambda: driver("status-text", zt.MAIN_TITLE, zt.PANE_MODE)[1].startswith("Mode: " + mode)))
        self.assertEqual(driver("click", zt.MAIN_TITLE, ids.IDC_APPLY)[0], 0)
        explanation = "Dial-Up Networking (Modem)"
        self.assertEqual(driver("wait-window", explanation, 30)[0], 0)
        self.assertEqual(driver("click", explanation, IDOK)[0], 0)
        answer("No", "System changes were successful done.")
        answer("OK", "Keep in mind that you must restart")

    def test_yes_gives_back_what_the_first_apply_changed_and_the_record_goes(self):
        before = dump()
        with Configurator() as configurator:
            self.assertTrue(configurator.wait_window())
            self.assert_refused()

            self.apply("Automatic #1")
            self.assertTrue(record_exists())
            with open(zve2e.unix_path(RECORD), "rb") as record:
                first = record.read()
            self.assertTrue(first.startswith(b"REGEDIT4\r\n; Zarvo 2003 settings before the first Apply: 11 values, "),
                            first[:120])
            self.assertNotEqual(dump(), before)
            self.apply("Automatic #3")
            with open(zve2e.unix_path(RECORD), "rb") as record:
                self.assertEqual(record.read(), first)

            self.assertEqual(driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, ids.ID_FILE_RESTORE_PREVIOUS, 0)[0], 0)
            answer("Yes", "The program will give back the settings you had before it first applied new ones.")
            answer("No", "Your previous settings were successfully restored.")
            answer("OK", "Keep in mind that you must restart")
            self.assertEqual(dump(), before)
            self.assert_refused()


if __name__ == "__main__":
    unittest.main()
