"""Apply with the real zartune.exe on Windows 98 and Windows XP: the
explanation, the progress bar, the restart question, and the registry
compared value by value and type by type against what was there before;
the manual mode with custom values; a missing custom value stopping Apply
before anything is written. Screenshots land in the build folder."""
import os
import time
import unittest

import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator, control, number_value, text_value
from zve2e import IDOK, driver, ids

# Windows 98: the MSTCP values, the NDI cache size and one adapter, found
# through Enum\Root\Net -> its MSTCP binding -> the driver's class key.
MSTCP = r"System\CurrentControlSet\Services\VxD\MSTCP"
NDI_CACHE = r"System\CurrentControlSet\Services\VxD\NWLink\Ndi\params\cachesize"
ADAPTER_9X = r"Enum\Root\Net\0090"
BINDING_9X = r"Enum\Network\MSTCP\0090"
CLASS_9X = r"System\CurrentControlSet\Services\Class\NetTrans\0090"
# Windows XP: the Tcpip parameters, one network card and one interface.
TCPIP = r"System\CurrentControlSet\Services\Tcpip\Parameters"
NETWORK_CARDS = r"SOFTWARE\Microsoft\Windows NT\CurrentVersion\NetworkCards"
INTERFACE_NT = TCPIP + r"\Interfaces\{ZV-E2E-APPLY}"
INTERNET = r"SOFTWARE\Microsoft\Windows\CurrentVersion\Internet Settings"
TCPIP_VALUES = ("GlobalMaxTcpWindoSize", "GlobalMaxTcpWindowSize", "TcpWindowSize", "Tcp1323Opts",
                "DefaultTTL", "EnablePMTUDiscovery", "EnablePMTUBHDetect", "KeepAliveTime")



def first_card_service():
    """Wine lists the machine's own network cards, in a key that takes no keys of ours; the
    first card's service gets the Tcpip key the card walk looks for."""
    code, out = zve2e.run([*zve2e.WINE, "reg", "query", "HKLM\\" + NETWORK_CARDS])
    for line in out.splitlines() if code == 0 else []:
        card = (zt.values(line.strip().split("\\", 1)[1]) or {}) if "\\" in line else {}
        if card.get("ServiceName", (0, ""))[0] == 1:
            return "System\\CurrentControlSet\\Services\\" + bytes.fromhex(card["ServiceName"][1]).rstrip(b"\0").decode()
    return None


CARD_SERVICE_NT = first_card_service()
CARD_TCPIP_NT = CARD_SERVICE_NT + r"\Parameters\Tcpip" if CARD_SERVICE_NT else None
CREATED_KEYS = [ADAPTER_9X, BINDING_9X, CLASS_9X, MSTCP, NDI_CACHE, INTERFACE_NT] + (
    [CARD_SERVICE_NT] if CARD_SERVICE_NT else [])
DUMPED_KEYS = [key for key in (CLASS_9X, MSTCP, NDI_CACHE, TCPIP, CARD_TCPIP_NT, INTERFACE_NT, INTERNET) if key]

PPPOE = "Cable/xDSL running PPPoE/PPTP"
DIAL_UP = "Dial-Up Networking (Modem)"
QUESTION = ("System changes were successful done.\n\nIn order to enjoy all the benefits of Zarvo 2003\n"
            "it's highly recommended to restart your computer.\n\nWould you like to restart your computer now?")
REMINDER = "Keep in mind that you must restart your\ncomputer before the new settings become effective. "
AUTOMATIC_TEXT = ("You chose to use the \"Automatic #1 Optimization Mode\".\n\n"
                  "After a lot of research, Zarvo offers three\n"
                  "different Automatic Optimization Modes which will\n"
                  "improve your connection speed. You should try all three\n"
                  "of them to find out which one suits your hardware\n"
                  "configuration best.\n\n\n"
                  "This process may take up to one minute.\n\n")


def key_line(key):
    return "[HKEY_LOCAL_MACHINE\\%s]" % key


def prepare_registry():
    """Both layouts' keys, with none of the tuned values in them."""
    zve2e.regedit(
        ["[-HKEY_LOCAL_MACHINE\\%s]" % key for key in CREATED_KEYS] + [
            key_line(ADAPTER_9X), '"DeviceDesc"="ZV e2e adapter"',
            key_line(ADAPTER_9X + r"\Bindings"), r'"MSTCP\\0090"=""',
            key_line(BINDING_9X), r'"Driver"="NetTrans\\0090"',
            key_line(CLASS_9X), '"DriverDesc"="TCP/IP"',
            key_line(MSTCP), key_line(NDI_CACHE),
            key_line(INTERFACE_NT)] + ([key_line(CARD_TCPIP_NT)] if CARD_TCPIP_NT else []) + [
            key_line(TCPIP)] + ['"%s"=-' % name for name in TCPIP_VALUES] + [
            key_line(INTERNET), '"MaxConnectionsPer1_0Server"=-', '"MaxConnectionsPerServer"=-'])


def clean_registry():
    zve2e.regedit(["[-HKEY_LOCAL_MACHINE\\%s]" % key for key in CREATED_KEYS] + [key_line(TCPIP)] +
                  ['"%s"=-' % name for name in TCPIP_VALUES])


def windows_98_values(mtu, mss, window, ttl, pmtu, black_hole, keep_alive, cache, http10, http11):
    """Windows 98 keeps the TCP/IP values as texts; a window above 65535 switches on window scaling."""
    scaling = {(MSTCP, "Tcp1323Opts"): text_value("1")} if window > 65535 else {}
    return {**scaling,
        (CLASS_9X, "MaxMTU"): text_value(str(mtu)), (CLASS_9X, "MaxMSS"): text_value(str(mss)),
        (MSTCP, "DefaultRcvWindow"): text_value(str(window)),
        (MSTCP, "PMTUDiscovery"): text_value(str(pmtu)),
        (MSTCP, "PMTUBlackHoleDetect"): text_value(str(black_hole)),
        (MSTCP, "SessionKeepAlive"): text_value(str(keep_alive)),
        (MSTCP, "DefaultTTL"): text_value(str(ttl)),
        (NDI_CACHE, ""): text_value(cache),
        (INTERNET, "MaxConnectionsPer1_0Server"): number_value(http10),
        (INTERNET, "MaxConnectionsPerServer"): number_value(http11),
    }


def nt_values(mtu, window, ttl, pmtu, black_hole, keep_alive, http10, http11):
    values = {(CARD_TCPIP_NT, "MTU"): number_value(mtu)} if CARD_TCPIP_NT else {}
    if window > 65535:
        values[(TCPIP, "Tcp1323Opts")] = number_value(1)
    values.update({
        (INTERFACE_NT, "MTU"): number_value(mtu),
        (TCPIP, "GlobalMaxTcpWindoSize"): number_value(window),
        (TCPIP, "GlobalMaxTcpWindowSize"): number_value(window),
        (TCPIP, "TcpWindowSize"): number_value(window),
        (TCPIP, "DefaultTTL"): number_value(ttl),
        (TCPIP, "EnablePMTUDiscovery"): number_value(pmtu),
        (TCPIP, "EnablePMTUBHDetect"): number_value(black_hole),
        (TCPIP, "KeepAliveTime"): number_value(keep_alive),
        (INTERNET, "MaxConnectionsPer1_0Server"): number_value(http10),
        (INTERNET, "MaxConnectionsPerServer"): number_value(http11),
    })
    return values


def changes(before, after):
    """What Apply changed: new or different values, and the names it removed (as None)."""
    changed = {place: value for place, value in after.items() if before.get(place) != value}
    changed.update({place: None for place in before if place not in after})
    return changed


def read_config_file():
    path = zve2e.unix_path(zt.CONFIG_FILE)
    if not os.path.exists(path):
        return None
    with open(path, encoding="latin-1") as config:
        text = config.read()
    return dict(line.strip().split("=", 1) for line in text.splitlines() if "=" in line)


def bar_fill(image):
    """The share of the bar's columns that show the fill colour (a blue far from the grey face)."""
    width, height, pixels = image
    row = height // 2
    filled = 0
    for x in range(width):
        r, g, b = pixels[3 * (row * width + x):3 * (row * width + x) + 3]
        filled += b > r + 60
    return filled / width


class ConfiguratorApply(unittest.TestCase):
    maxDiff = None
    def setUp(self):
        zt.stop_agents()
        zt.remove_config_file()
        zt.remove_previous_settings()
        zve2e.reg_add(r"HKCU\Software\Wine\X11 Driver", "Decorated", "REG_SZ", "N")
        prepare_registry()

    def tearDown(self):
        zt.set_windows_version(None)
        clean_registry()
        zt.remove_config_file()
        zt.remove_previous_settings()

    def apply_and_decline_the_restart(self, explanation=None, screenshots=False):
        """Presses Apply; answers the explanation, when one comes, and No at the question.
        Returns the question's text."""
        self.assertEqual(driver("click", zt.MAIN_TITLE, ids.IDC_APPLY)[0], 0)
        if explanation:
            self.assertTrue(driver("wait-window", explanation, 30)[0] == 0, "no explanation")
            self.assertEqual(control("control-text", explanation, ids.IDC_EXPLAIN_TEXT), AUTOMATIC_TEXT)
            if screenshots:
                zt.screenshot(explanation, "apply-explanation")
            frame = zt.window_rect(zt.MAIN_TITLE)
            self.assertEqual(driver("click", explanation, IDOK)[0], 0)
            if screenshots:
                self.capture_bar_mid_run(frame)
        self.assertEqual(driver("wait-window", "Zarvo 2003", 60)[0], 0, "no restart question")
        if screenshots:
            zt.screenshot("Zarvo 2003", "apply-restart-question")
        code, question = driver("answer", "Zarvo 2003", "No")
        self.assertEqual(code, 0)
        code, reminder = driver("answer", "Zarvo 2003", "OK")
        self.assertEqual((code, zt.lines(reminder)), (0, REMINDER))
        self.assertTrue(zve2e.wait_until(lambda: driver("no-window", "Zarvo 2003")[0] == 0))
        return zt.lines(question)

    def capture_bar_mid_run(self, frame):
        """The busy program paints its bar itself: pictures taken while it runs show it partly filled."""
        code, out = driver("wait-child", zt.MAIN_TITLE, "msctls_progress32", 30)
        self.assertEqual(code, 0, "no progress bar")
        bar = tuple(int(n) for n in out.split())
        fills = []
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            fill = bar_fill(zt.capture(bar))
            fills.append(fill)
            if 0.05 < fill < 0.9:
                zt.save_capture(zt.capture(frame), "apply-progress")
                return
            if fill >= 0.9:
                break
        self.fail("the bar was never seen partly filled: %s" % fills)

    def automatic_preset(self, version, expected, screenshots=False):
        zt.set_windows_version(version)
        before = zt.dump(DUMPED_KEYS)
        with Configurator() as configurator:
            self.assertTrue(configurator.wait_window())
            self.assertEqual(driver("select", zt.MAIN_TITLE, ids.IDC_CONNECTION_TYPE, PPPOE)[0], 0)
            self.assertTrue(zve2e.wait_until(
                lambda: control("selection", zt.MAIN_TITLE, ids.IDC_CONNECTION_TYPE) == "2 " + PPPOE))
            self.assertEqual(self.apply_and_decline_the_restart(PPPOE, screenshots), QUESTION)
            self.assertEqual(changes(before, zt.dump(DUMPED_KEYS)), expected)
            self.assertEqual(read_config_file(), {
                "Adapter": "2", "Mode": "0", "MTU": "", "RWIN": "-1", "TTL": "", "SKA": "-1", "PMTU": "0",
                "BlackHole": "0", "HTTP10": "-1", "HTTP11": "-1", "NDI": "-1"})

    def test_automatic_preset_on_windows_98(self):
        self.automatic_preset("win98", windows_98_values(1492, 1452, 255552, 128, 1, 0, 600000, "16", 16, 8),
                              screenshots=True)

    def test_automatic_preset_on_windows_xp(self):
        self.automatic_preset("winxp", nt_values(1492, 255552, 128, 1, 0, 600000, 16, 8))

    def enter_manual_mode(self):
        self.assertEqual(driver("select", zt.MAIN_TITLE, ids.IDC_MODE, "Manual")[0], 0)
        self.assertEqual(driver("wait-window", DIAL_UP, 30)[0], 0)
        self.assertEqual(driver("click", DIAL_UP, IDOK)[0], 0)
        self.assertTrue(zve2e.wait_until(lambda: control("enabled", zt.MAIN_TITLE, ids.IDC_MTU_CUSTOM) == "1"))

    def custom(self, button, value_control, text=None, item=None):
        self.assertEqual(driver("click", zt.MAIN_TITLE, button)[0], 0)
        self.assertTrue(zve2e.wait_until(lambda: control("enabled", zt.MAIN_TITLE, value_control) == "1"))
        if text is not None:
            self.assertEqual(driver("set-text", zt.MAIN_TITLE, value_control, text)[0], 0)
        if item is not None:
            self.assertEqual(driver("select", zt.MAIN_TITLE, value_control, item)[0], 0)

    def manual_values(self, version, expected):
        zt.set_windows_version(version)
        before = zt.dump(DUMPED_KEYS)
        with Configurator() as configurator:
            self.assertTrue(configurator.wait_window())
            self.enter_manual_mode()
            self.custom(ids.IDC_MTU_CUSTOM, ids.IDC_MTU_EDIT, text="1400")
            self.custom(ids.IDC_RWIN_CUSTOM, ids.IDC_RWIN_LIST, item="x6")
            self.custom(ids.IDC_TTL_CUSTOM, ids.IDC_TTL_EDIT, text="64")
            self.custom(ids.IDC_KEEPALIVE_CUSTOM, ids.IDC_KEEPALIVE_LIST, item="15 min.")
            self.custom(ids.IDC_NDI_CUSTOM, ids.IDC_NDI_LIST, item="32")
            self.assertEqual(driver("click", zt.MAIN_TITLE, ids.IDC_BLACKHOLE)[0], 0)
            self.assertEqual(driver("select", zt.MAIN_TITLE, ids.IDC_HTTP10_LIST, "10")[0], 0)
            self.assertEqual(driver("select", zt.MAIN_TITLE, ids.IDC_HTTP11_LIST, "20")[0], 0)
            self.assertTrue(zve2e.wait_until(lambda: control("checked", zt.MAIN_TITLE, ids.IDC_BLACKHOLE) == "1"))
            self.assertEqual(self.apply_and_decline_the_restart(), QUESTION)
            self.assertEqual(changes(before, zt.dump(DUMPED_KEYS)), expected)
            self.assertEqual(read_config_file(), {
                "Adapter": "0", "Mode": "3", "MTU": "1400", "RWIN": "1", "TTL": "64", "SKA": "14", "PMTU": "1",
                "BlackHole": "1", "HTTP10": "8", "HTTP11": "18", "NDI": "5"})

    def test_manual_custom_values_on_windows_98(self):
        self.manual_values("win98", windows_98_values(1400, 1360, 8160, 64, 1, 1, 900000, "32", 10, 20))

    def test_manual_custom_values_on_windows_xp(self):
        self.manual_values("winxp", nt_values(1400, 8160, 64, 1, 1, 900000, 10, 20))

    def test_empty_custom_mtu_stops_apply_before_anything_is_written(self):
        for version in ("win98", "winxp"):
            zt.set_windows_version(version)
            before = zt.dump(DUMPED_KEYS)
            with Configurator() as configurator:
                self.assertTrue(configurator.wait_window(), version)
                self.enter_manual_mode()
                self.custom(ids.IDC_MTU_CUSTOM, ids.IDC_MTU_EDIT)
                self.assertEqual(driver("click", zt.MAIN_TITLE, ids.IDC_APPLY)[0], 0)
                code, text = driver("answer", "Zarvo 2003", "OK", 30)
                self.assertEqual((code, zt.lines(text)), (
                    0, "Invalid MTU value.\nYou chose the 'Custom' option without providing any value."), version)
                self.assertTrue(zve2e.wait_until(lambda: driver("no-window", "Zarvo 2003")[0] == 0))
                # Still the main window's idle loop, with no bar and nothing written.
                self.assertEqual(driver("send", zt.MAIN_TITLE, 0, 0, 0)[0], 0)
                self.assertEqual(driver("wait-child", zt.MAIN_TITLE, "msctls_progress32", 1)[0], 1)
                self.assertEqual(zt.dump(DUMPED_KEYS), before, version)
                self.assertIsNone(read_config_file(), version)


if __name__ == "__main__":
    unittest.main()
