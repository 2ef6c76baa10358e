"""Tools > Current Settings in the real zartune.exe on Windows 98 and XP:
the "After Apply" column read before a real Apply is what "Now" shows after
it, every "Now" is what the registry holds, and Copy gives the table as
text while neither Copy nor Refresh writes anything."""
import unittest

import test_configurator_apply as applying
import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator, control
from zve2e import driver

ID_TOOLS_CURRENT_SETTINGS = 32798
TITLE = "Current Settings"
LIST, REFRESH, COPY, CLOSE = 1300, 1303, 1304, 2


def registry_text(where):
    """A row's "Where" read as the view must show it."""
    path, name = where[len("HKLM\\"):].rsplit("\\", 1)
    value = (zt.values(path) or {}).get("" if name == "(Default)" else name)
    if value is None:
        return "not set"
    kind, data = value
    if kind == 4:
        return str(int.from_bytes(bytes.fromhex(data), "little"))
    return bytes.fromhex(data).split(b"\0")[0].decode("latin-1")


class CurrentSettings(unittest.TestCase):
    def setUp(self):
        zt.stop_agents()
        zt.remove_config_file()
        zt.remove_previous_settings()
        applying.prepare_registry()

    def tearDown(self):
        zt.set_windows_version(None)
        applying.clean_registry()
        zt.remove_config_file()
        zt.remove_previous_settings()

    def open_view(self):
        self.assertEqual(driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, ID_TOOLS_CURRENT_SETTINGS, 0)[0], 0)
        self.assertEqual(driver("wait-window", TITLE, 30)[0], 0)
        return [line.split("\t") for line in control("list-rows", TITLE, LIST).split("\n") if line]

    def close_view(self):
        self.assertEqual(driver("click", TITLE, CLOSE)[0], 0)
        self.assertTrue(zve2e.wait_until(lambda: driver("no-window", TITLE)[0] == 0))

    def apply(self):
        self.assertEqual(driver("click", zt.MAIN_TITLE, 1014)[0], 0)
        self.assertEqual(driver("wait-window", applying.DIAL_UP, 30)[0], 0)
        self.assertEqual(driver("click", applying.DIAL_UP, 1)[0], 0)
        self.assertEqual(driver("answer", "Zarvo 2003", "No", 60)[0], 0)
        self.assertEqual(driver("answer", "Zarvo 2003", "OK")[0], 0)

    def check(self, version):
        zt.set_windows_version(version)
        with Configurator() as configurator:
            self.assertTrue(configurator.wait_window())
            before = self.open_view()
            self.assertTrue(any(row[0].startswith("* MTU of ") for row in before), before)
            self.close_view()
            self.apply()

            rows = self.open_view()
            print("%s: %d rows" % (version, len(rows)))
            self.assertEqual([row[3] for row in rows], [row[3] for row in before])
            for setting, where, now, after in rows:
                self.assertEqual((setting[:2] == "* ", now), (False, after), where)
                self.assertEqual(now, registry_text(where), where)

            dump = zt.dump(applying.DUMPED_KEYS)
            self.assertEqual(driver("click", TITLE, REFRESH)[0], 0)
            self.assertEqual(driver("click", TITLE, COPY)[0], 0)
            driver("send", TITLE, 0, 0, 0)
            code, text = driver("clipboard")
            self.assertEqual(code, 0)
            self.assertEqual(text, "".join("\t".join(row) + "\r\n"
                                           for row in [["Setting", "Where", "Now", "After Apply"]] + rows))
            self.assertEqual(zt.dump(applying.DUMPED_KEYS), dump)
            self.close_view()

    def test_windows_98(self):
        self.check("win98")

    def test_windows_xp(self):
        self.check("winxp")


if __name__ == "__main__":
    unittest.main()
