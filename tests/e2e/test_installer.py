"""setup.exe and the uninstaller it writes, run silently: what the install
leaves behind, and that uninstalling restores the Windows defaults through
zartune.exe /uninstall and removes the autostart entries, the files, the
folder and the entries. The product is installed again at the end."""
import os
import shutil
import unittest

import zartune_e2e as zt
import zve2e
from zve2e import reg_add, reg_query

SETUP = os.environ["ZV_E2E_SETUP"]
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zarvo"
START_MENU = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Zarvo"
# On the prefix's own version the configurator takes the 9x paths.
MSTCP = r"HKLM\System\CurrentControlSet\Services\VxD\MSTCP"


def install():
    code, _ = zve2e.run([*zve2e.WINE, SETUP, "/S"], timeout=120)
    return code


class Installer(unittest.TestCase):
    def setUp(self):
        zt.stop_agents()
        zt.set_windows_version(None)
        # What other tests' runs may have left of the user's own files.
        zt.remove_previous_settings()
        shutil.rmtree(zve2e.unix_path(zve2e.INSTALL_FOLDER + r"\RegBak"), ignore_errors=True)

    def test_install_leaves_the_files_the_folder_value_a_menu_and_an_uninstall_entry(self):
        self.assertEqual(install(), 0)
        folder = zve2e.unix_path(zve2e.INSTALL_FOLDER)
        for name in ("zartune.exe", "zarwatch.exe", "zartune.hlp", "ping.wav", "uninstall.exe"):
            self.assertTrue(os.path.isfile(os.path.join(folder, name)), name)
        self.assertEqual(reg_query(zve2e.PRODUCT_KEY + r"\Install", "Folder"), ("REG_SZ", zve2e.INSTALL_FOLDER))
        self.assertEqual(reg_query(UNINSTALL_KEY, "DisplayName"), ("REG_SZ", "Zarvo 2003 v5.4"))
        self.assertEqual(reg_query(UNINSTALL_KEY, "UninstallString"),
                         ("REG_SZ", '"%s\\uninstall.exe"' % zve2e.INSTALL_FOLDER))
        menu = zve2e.unix_path(START_MENU)
        self.assertEqual(sorted(os.listdir(menu)), ["Uninstall Zarvo.lnk", "Zarvo Help.lnk", "Zarvo.lnk"])

    def test_uninstall_restores_defaults_and_removes_everything_it_placed(self):
        self.assertEqual(install(), 0)
        folder = zve2e.unix_path(zve2e.INSTALL_FOLDER)
        try:
            for key in zve2e.RUN_KEYS:
                reg_add(key, "Detect", "REG_SZ", '"%s" /auto' % zve2e.AGENT)
            reg_add(zve2e.RUN_KEYS[0], "ZvOther", "REG_SZ", "kept")
            reg_add(MSTCP, "DefaultTTL", "REG_SZ", "128")
            # The configurator's file, read-only and hidden as it keeps it.
            config = os.path.join(folder, "Zartune2.cfg")
            with open(config, "w") as stream:
                stream.write("[Settings]\n")
            zve2e.run([*zve2e.WINE, "attrib", "+r", "+h", zt.CONFIG_FILE])

            # The uninstaller runs from a copy of itself and returns at once.
            zve2e.run([*zve2e.WINE, zve2e.INSTALL_FOLDER + r"\uninstall.exe", "/S"])
            if not zve2e.wait_until(lambda: not os.path.exists(folder), 60):
                self.fail("left in the folder: %s" % os.listdir(folder))

            for key in zve2e.RUN_KEYS:
                self.assertIsNone(reg_query(key, "Detect"), key)
            self.assertEqual(reg_query(zve2e.RUN_KEYS[0], "ZvOther"), ("REG_SZ", "kept"))
            self.assertIsNone(reg_query(MSTCP, "DefaultTTL"), "zartune.exe /uninstall did not run")
            self.assertIsNone(reg_query(zve2e.PRODUCT_KEY + r"\Install", "Folder"))
            self.assertIsNone(reg_query(UNINSTALL_KEY, "DisplayName"))
            self.assertFalse(os.path.exists(zve2e.unix_path(START_MENU)))
        finally:
            zve2e.reg_delete(zve2e.RUN_KEYS[0], "ZvOther")
            self.assertEqual(install(), 0)

    def test_uninstall_keeps_the_users_backups_and_previous_settings(self):
        self.assertEqual(install(), 0)
        folder = zve2e.unix_path(zve2e.INSTALL_FOLDER)
        try:
            os.makedirs(os.path.join(folder, "RegBak"))
            for name in (os.path.join("RegBak", "system.dat"), "Zartune-previous.reg"):
                with open(os.path.join(folder, name), "w") as stream:
                    stream.write("the user's\n")
            zve2e.run([*zve2e.WINE, zve2e.INSTALL_FOLDER + r"\uninstall.exe", "/S"])
            if not zve2e.wait_until(lambda: sorted(os.listdir(folder)) == ["RegBak", "Zartune-previous.reg"], 60):
                self.fail("left in the folder: %s" % os.listdir(folder))
            self.assertEqual(os.listdir(os.path.join(folder, "RegBak")), ["system.dat"])
        finally:
            zt.remove_previous_settings()
            shutil.rmtree(os.path.join(folder, "RegBak"), ignore_errors=True)
            self.assertEqual(install(), 0)


if __name__ == "__main__":
    unittest.main()
