"""Tools > Current Settings in the real zartune.exe on Windows 98 and XP,
read through Copy: "After Apply" before a real Apply is "Now" after it,
every "Now" is what the registry holds, and Copy and Refresh write nothing."""
import unittest

import test_configurator_apply as applying
import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator
from zve2e import IDCANCEL, driver, ids

TITLE = "Current Settings"


def registry_text(where):
    path, name = where[len("HKLM\\"):].rsplit("\\", 1)
    kind, data = (zt.values(path) or {}).get("" if name == "(Default)" else name, (None, None))
    if kind == 4:
        return str(int.from_bytes(bytes.fromhex(data), "little"))
    return "not set" if kind is None else bytes.fromhex(data).split(b"\0")[0].decode("latin-1")


class CurrentSettings(unittest.TestCase):
    def setUp(self):
        zt.remove_config_file()
        zt.remove_previous_settings()
        applying.prepare_registry()

    def tearDown(self):
        zt.set_windows_version(None)
        applying.clean_registry()
        zt.remove_previous_settings()

    def rows(self):
        """Opens the view, refreshes, copies and closes it: the table's rows, checked against its header."""
        driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, ids.ID_TOOLS_CURRENT_SETTINGS, 0)
        self.assertEqual(driver("wait-window", TITLE, 30)[0], 0)
        zt.screenshot(TITLE, "current-settings")
        dump = zt.dump(applying.DUMPED_KEYS)
        for button in (ids.IDC_CURRENT_REFRESH, ids.IDC_CURRENT_COPY, IDCANCEL):  # IDCANCEL: Close
            self.assertEqual(driver("click", TITLE, button)[0], 0)
        self.assertTrue(zve2e.wait_until(lambda: driver("no-window", TITLE)[0] == 0))
        self.assertEqual(zt.dump(applying.DUMPED_KEYS), dump)
        code, text = driver("clipboard")
        lines = text.split("\r\n")
        self.assertEqual((code, lines[0], lines[-1]), (0, "Setting\tWhere\tNow\tAfter Apply", ""))
        return [line.split("\t") for line in lines[1:-1]]

    def check(self, version):
        zt.set_windows_version(version)
        with Configurator() as configurator:
            self.assertTrue(configurator.wait_window())
            before = self.rows()
            self.assertTrue(any(row[0].startswith("* MTU of ") for row in before), before)
            self.assertTrue(zt.apply_declining_restart(applying.DIAL_UP))
            after = self.rows()
            print("%s: %d rows" % (version, len(after)))
            # Where, Now and After Apply: both what After Apply said before, and nothing marked.
            self.assertEqual([row[1:] for row in after], [[row[1], row[3], row[3]] for row in before])
            for setting, where, now, _ in after:
                self.assertEqual((setting.startswith("* "), now), (False, registry_text(where)), where)

    def test_windows_98(self):
        self.check("win98")

    def test_windows_xp(self):
        self.check("winxp")


if __name__ == "__main__":
    unittest.main()
