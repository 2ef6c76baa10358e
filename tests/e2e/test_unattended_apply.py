"""zartune.exe /apply on Windows 98 and XP: a preset file gives exit 0, no
window (a box would have kept it waiting) and the registry the form's Apply
leaves with that file; invalid manual values give 1001 and no write; twenty with
/log:FILE at once, twenty whole lines; a log that cannot be written, 1005."""
import os
import time
import unittest
from concurrent.futures import ThreadPoolExecutor

import test_configurator_apply as applying
import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator
from zve2e import driver


def apply_unattended(config, *switches):
    zt.remove_config_file()
    with open(zve2e.unix_path(zt.CONFIG_FILE), "w", newline="\r\n") as file:
        file.write("[Configuration]\n" + "".join("%s=%s\n" % item for item in config.items()))
    start = time.monotonic()
    code, out = driver("exit-code", " ".join(['"%s" /apply' % zt.CONFIGURATOR, *switches]), 60)
    print("/apply: exit %s after %.2f s, the driver's start included" % (out.strip(), time.monotonic() - start))
    return int(out) if code == 0 else None


class UnattendedApply(unittest.TestCase):
    def setUp(self):
        zt.remove_previous_settings()
        applying.prepare_registry()

    def tearDown(self):
        zt.set_windows_version(None)
        applying.clean_registry()
        zt.remove_config_file()
        zt.remove_previous_settings()
        zt.stop_agents()

    def check(self, version):
        zt.set_windows_version(version)
        before = zt.dump(applying.DUMPED_KEYS)
        self.assertEqual(apply_unattended({"Adapter": "2", "Mode": "0"}), 0)
        unattended = zt.dump(applying.DUMPED_KEYS)
        self.assertNotEqual(unattended, before)
        self.assertTrue(os.path.exists(zve2e.unix_path(zt.PREVIOUS_SETTINGS)))

        applying.prepare_registry()
        with Configurator() as configurator:  # the same file, through the form
            self.assertTrue(configurator.wait_window())
            self.assertTrue(zt.apply_declining_restart(applying.PPPOE))
            self.assertEqual(zt.dump(applying.DUMPED_KEYS), unattended)

        applying.prepare_registry()
        zt.remove_previous_settings()
        # "Manual" with no connections-per-HTTP-1.0-server entry, an empty section, a damaged one.
        for config in ({"Adapter": "1", "Mode": "3", "HTTP10": "-1"}, {}, {"Adapter": "two", "Mode": "0"}):
            self.assertEqual(apply_unattended(config), 1001, config)
            self.assertEqual(zt.dump(applying.DUMPED_KEYS), before)
        self.assertFalse(os.path.exists(zve2e.unix_path(zt.PREVIOUS_SETTINGS)))

    def test_a_log_for_many_computers_at_once_and_logs_that_cannot_be_written(self):
        zt.set_windows_version("winxp")
        preset = {"Adapter": "2", "Mode": "0"}
        self.assertEqual(apply_unattended(preset), 0)  # the settings before, on record once
        log = r"C:\Logon Logs\apply.txt"
        os.makedirs(os.path.dirname(zve2e.unix_path(log)))
        with ThreadPoolExecutor(20) as pool:
            runs = pool.map(lambda _: driver("exit-code", '"%s" /apply /log:"%s"' % (zt.CONFIGURATOR, log), 120), range(20))
        self.assertEqual([out.strip() for _, out in runs], ["0"] * 20)
        with open(zve2e.unix_path(log), newline="") as file:
            whole = r"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d  [^ ]+  Windows XP  0 applied  [1-9]\d* written, 0 refused\r\n){20}"
            self.assertRegex(file.read(), r"\A%s\Z" % whole)
        applying.prepare_registry()
        before = zt.dump(applying.DUMPED_KEYS)
        self.assertEqual(apply_unattended(preset, '/log:"C:\\Logon Logs"'), 1005)  # a folder, not a file
        self.assertNotEqual(zt.dump(applying.DUMPED_KEYS), before)

    def test_windows_98(self):
        self.check("win98")

    def test_windows_xp(self):
        self.check("winxp")


if __name__ == "__main__":
    unittest.main()
