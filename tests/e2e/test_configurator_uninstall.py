"""zartune.exe /uninstall, as the uninstaller runs it: no window, no agent,
and the tuning values gone from a prepared registry, on a 9x and an NT
version of Windows."""
import unittest

import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator
from zve2e import reg_add, reg_query

MACHINE = "HKLM\\"
INTERNET = MACHINE + r"SOFTWARE\Microsoft\Windows\CurrentVersion\Internet Settings"
CONNECTION_LIMITS = [(INTERNET, "MaxConnectionsPerServer"), (INTERNET, "MaxConnectionsPer1_0Server")]

# Windows 98: MSTCP values, the NDI cache size and one adapter's MTU, found
# through Enum\Root\Net -> its MSTCP binding -> the driver's class key.
MSTCP = MACHINE + r"System\CurrentControlSet\Services\VxD\MSTCP"
NDI_CACHE = MACHINE + r"System\CurrentControlSet\Services\VxD\NWLink\Ndi\params\cachesize"
ADAPTER_9X = MACHINE + r"Enum\Root\Net\0000"
BINDING_9X = MACHINE + r"Enum\Network\MSTCP\0000"
CLASS_9X = MACHINE + r"System\CurrentControlSet\Services\Class\NetTrans\0000"

# Windows 2000: Tcpip parameters and one interface's MTU.
TCPIP = MACHINE + r"SYSTEM\CurrentControlSet\Services\Tcpip\Parameters"
INTERFACE_NT = TCPIP + r"\Interfaces\{5A1E0C4B-0000-4E2B-9C11-ZVE2ETEST}"


def prepare_9x():
    for name, data in (("DefaultRcvWindow", "255552"), ("Tcp1323Opts", "1"), ("DefaultTTL", "128"),
                       ("PMTUDiscovery", "1"), ("PMTUBlackHoleDetect", "0"), ("SessionKeepAlive", "600000")):
        reg_add(MSTCP, name, "REG_SZ", data)
    reg_add(MSTCP, "Unrelated", "REG_SZ", "kept")
    zve2e.run([*zve2e.WINE, "reg", "add", NDI_CACHE, "/ve", "/d", "16", "/f"])
    reg_add(ADAPTER_9X, "DeviceDesc", "REG_SZ", "Dial-Up Adapter")
    reg_add(ADAPTER_9X + r"\Bindings", r"MSTCP\0000", "REG_SZ", "")
    reg_add(BINDING_9X, "Driver", "REG_SZ", r"NetTrans\0000")
    reg_add(CLASS_9X, "MaxMTU", "REG_SZ", "1492")
    reg_add(CLASS_9X, "MaxMSS", "REG_SZ", "1452")
    return [(MSTCP, n) for n in ("DefaultRcvWindow", "Tcp1323Opts", "DefaultTTL", "PMTUDiscovery",
                                 "PMTUBlackHoleDetect",
                                 "SessionKeepAlive")] + [(CLASS_9X, "MaxMTU"), (CLASS_9X, "MaxMSS")]


def prepare_nt():
    for name, data in (("GlobalMaxTcpWindoSize", 255552), ("GlobalMaxTcpWindowSize", 255552),
                       ("TcpWindowSize", 255552), ("Tcp1323Opts", 1), ("DefaultTTL", 128), ("EnablePMTUDiscovery", 1),
                       ("EnablePMTUBHDetect", 0), ("KeepAliveTime", 600000)):
        reg_add(TCPIP, name, "REG_DWORD", data)
    reg_add(TCPIP, "ZvUnrelated", "REG_SZ", "kept")
    reg_add(INTERFACE_NT, "MTU", "REG_DWORD", 1492)
    return [(TCPIP, n) for n in ("GlobalMaxTcpWindoSize", "GlobalMaxTcpWindowSize", "TcpWindowSize", "Tcp1323Opts",
                                 "DefaultTTL", "EnablePMTUDiscovery", "EnablePMTUBHDetect", "KeepAliveTime")] + [
        (INTERFACE_NT, "MTU")]


class ConfiguratorUninstall(unittest.TestCase):
    def setUp(self):
        zt.stop_agents()
        self.assertTrue(zve2e.wait_until(lambda: zt.processes("zarwatch.exe") == 0))

    def tearDown(self):
        zt.set_windows_version(None)
        for key in (MSTCP, NDI_CACHE, ADAPTER_9X, BINDING_9X, CLASS_9X, INTERFACE_NT):
            zve2e.reg_delete(key)
        zve2e.reg_delete(TCPIP, "ZvUnrelated")

    def run_uninstall(self, version, prepare):
        zt.set_windows_version(version)
        tuned = prepare() + CONNECTION_LIMITS
        for key, name in CONNECTION_LIMITS:
            reg_add(key, name, "REG_DWORD", 16)
        for key, name in tuned:
            self.assertIsNotNone(reg_query(key, name), (key, name))

        configurator = Configurator("/uninstall")
        try:
            # A window of any kind would wait for an answer; the run ends by itself.
            self.assertEqual(configurator.exit_code(), 0, version)
        finally:
            configurator.stop()
        self.assertEqual(zt.processes("zarwatch.exe"), 0, "the agent was started")
        self.assertEqual(zve2e.driver("no-window", zt.MAIN_TITLE)[0], 0)
        for key, name in tuned:
            self.assertIsNone(reg_query(key, name), (version, key, name))

    def test_windows_98(self):
        self.run_uninstall("win98", prepare_9x)
        self.assertEqual(reg_query(MSTCP, "Unrelated"), ("REG_SZ", "kept"))
        # The cache size's unnamed value is emptied, not deleted.
        code, out = zve2e.run([*zve2e.WINE, "reg", "query", NDI_CACHE, "/ve"])
        self.assertEqual(code, 0)
        self.assertEqual([line.split() for line in out.splitlines() if "REG_SZ" in line], [["(Default)", "REG_SZ"]])

    def test_windows_2000(self):
        self.run_uninstall("win2k", prepare_nt)
        self.assertEqual(reg_query(TCPIP, "ZvUnrelated"), ("REG_SZ", "kept"))


if __name__ == "__main__":
    unittest.main()
