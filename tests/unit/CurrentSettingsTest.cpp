#include "configurator/CurrentSettings.h"
#include "tests/support/FakeDesktop.h"
#include "tuning/TuningPreset.h"
#include "win32/RegKey.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace {

constexpr RegRoot kMachine = RegRoot::LocalMachine;
const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kInternet = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kClass = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0001";

TuningConfig Preset(const char* mode, const char* connectionType) {
    TuningConfig config;
    config.mode = mode;
    config.connectionType = connectionType;
    ApplyPreset(config);
    return config;
}

const CurrentSettingsRow* Row(const CurrentSettings& table, const std::string& where) {
    for (const CurrentSettingsRow& row : table.Rows()) {
        if (SameRegistryName(row.where, "HKLM\\" + where)) return &row;
    }
    return nullptr;
}

void ExpectRow(const CurrentSettings& table, const std::string& where, const std::string& setting,
               const std::string& now, const std::string& after, bool differs) {
    const CurrentSettingsRow* row = Row(table, where);
    ASSERT_NE(nullptr, row) << where;
    EXPECT_EQ(setting, row->setting) << where;
    EXPECT_EQ(now, row->now) << where;
    EXPECT_EQ(after, row->afterApply) << where;
    EXPECT_EQ(differs, row->differs) << where;
}

// Windows XP: a named card whose TCP/IP key has no MTU, its interface with one,
// a keep-alive stored as text, and the rest absent.
struct NtRig {
    NtRig() {
        desktop.SetVersion(2, 5, 1);
        registry.PutString(kMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\1",
                           "ServiceName", "{C1}");
        registry.PutString(kMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\1",
                           "Description", "Fast Ethernet");
        registry.AddKey(kMachine, "SYSTEM\\CurrentControlSet\\Services\\{C1}\\Parameters\\Tcpip");
        registry.PutDword(kMachine, kTcpip + "\\Interfaces\\{C1}", "MTU", 1500);
        registry.PutDword(kMachine, kTcpip + "\\Interfaces\\{D2}", "MTU", 1492);
        registry.PutString(kMachine, kTcpip, "KeepAliveTime", "600000");
        registry.PutDword(kMachine, kTcpip, "DefaultTTL", 128);
        registry.AddKey(kMachine, kInternet);
    }
    MemoryRegistry registry;
    FakeDesktop desktop;
};

TEST(CurrentSettings, NtRowsNameTheAdaptersAndMarkWhatApplyChanges) {
    NtRig rig;
    const int writesBefore = rig.registry.WriteCount();
    const CurrentSettings table =
        CurrentSettings::Read(rig.registry, rig.desktop, Preset("AUTO1", "LAN-PPPoE"), "");
    EXPECT_EQ(writesBefore, rig.registry.WriteCount());
    // Three adapter keys, seven TCP/IP values, two connection limits; the
    // interface's own service key is not there.
    EXPECT_EQ(12u, table.Rows().size());
    ExpectRow(table, "SYSTEM\\CurrentControlSet\\Services\\{C1}\\Parameters\\Tcpip\\MTU", "MTU of Fast Ethernet",
              "not set", "1492", true);
    ExpectRow(table, kTcpip + "\\Interfaces\\{C1}\\MTU", "MTU of Fast Ethernet", "1500", "1492", true);
    ExpectRow(table, kTcpip + "\\Interfaces\\{D2}\\MTU", "MTU of {D2}", "1492", "1492", false);
    // The same digits, but a text where Apply writes a number.
    ExpectRow(table, kTcpip + "\\KeepAliveTime", "Keep-alive time", "600000", "600000", true);
    ExpectRow(table, kTcpip + "\\DefaultTTL", "TTL", "128", "128", false);
    ExpectRow(table, kTcpip + "\\GlobalMaxTcpWindoSize", "Receive window", "not set", "255552", true);
    ExpectRow(table, kInternet + "\\MaxConnectionsPerServer", "Connections per HTTP 1.1 server", "not set", "8",
              true);
    EXPECT_EQ(nullptr, Row(table, kMstcp + "\\DefaultTTL"));
    EXPECT_EQ("", table.Problem());

    // Automatic #3 on dial-up removes the MTU and the window.
    const CurrentSettings removing =
        CurrentSettings::Read(rig.registry, rig.desktop, Preset("AUTO3", "DIAL-UP"), "");
    ExpectRow(removing, kTcpip + "\\Interfaces\\{D2}\\MTU", "MTU of {D2}", "1492", "not set", true);
    ExpectRow(removing, kTcpip + "\\TcpWindowSize", "Receive window", "not set", "not set", false);
}

TEST(CurrentSettings, NineXRowsFollowTheBindingToTheDriverKey) {
    MemoryRegistry registry;
    FakeDesktop desktop;
    desktop.SetVersion(1, 4, 10);
    registry.PutString(kMachine, "Enum\\Root\\Net\\0001", "DeviceDesc", "NE2000 Compatible");
    registry.PutString(kMachine, "Enum\\Root\\Net\\0001\\Bindings", "MSTCP\\0001", "");
    registry.PutString(kMachine, "Enum\\Network\\MSTCP\\0001", "Driver", "NetTrans\\0001");
    registry.PutString(kMachine, kClass, "MaxMTU", "1500");
    registry.PutString(kMachine, kMstcp, "DefaultTTL", "128");
    registry.PutDword(kMachine, kMstcp, "PMTUDiscovery", 1);
    registry.PutString(kMachine, "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize", "", "");

    const CurrentSettings table = CurrentSettings::Read(registry, desktop, Preset("AUTO1", "LAN-PPPoE"), "");
    // Two adapter values, five MSTCP values, the NDI cache; no Internet Settings key.
    EXPECT_EQ(8u, table.Rows().size());
    ExpectRow(table, kClass + "\\MaxMTU", "MTU of NE2000 Compatible", "1500", "1492", true);
    ExpectRow(table, kClass + "\\MaxMSS", "MSS of NE2000 Compatible", "not set", "1452", true);
    ExpectRow(table, kMstcp + "\\DefaultTTL", "TTL", "128", "128", false);
    // Windows 98 keeps these as texts.
    ExpectRow(table, kMstcp + "\\PMTUDiscovery", "Path MTU discovery", "1", "1", true);
    ExpectRow(table, "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize\\(Default)",
              "NDI cache size", "", "16", true);
}

TEST(CurrentSettings, InvalidManualValuesLeaveAfterApplyEmptyAndNameTheProblem) {
    NtRig rig;
    const CurrentSettings table = CurrentSettings::Read(
        rig.registry, rig.desktop, TuningConfig(),
        "Invalid MTU value.\nYou chose the 'Custom' option without providing any value.");
    EXPECT_EQ(12u, table.Rows().size());
    for (const CurrentSettingsRow& row : table.Rows()) {
        EXPECT_EQ("", row.afterApply) << row.where;
        EXPECT_FALSE(row.differs) << row.where;
    }
    ExpectRow(table, kTcpip + "\\Interfaces\\{C1}\\MTU", "MTU of Fast Ethernet", "1500", "", false);
    EXPECT_EQ("Invalid MTU value. You chose the 'Custom' option without providing any value.", table.Problem());
}

TEST(CurrentSettings, ValueTexts) {
    const struct {
        bool present;
        RegValue value;
        const char* text;
    } cases[] = {
        {false, {}, "not set"},
        {true, {REG_DWORD, {0x40, 0x42, 0x0F, 0x00}}, "1000000"},
        {true, {REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}}, "4294967295"},
        {true, {REG_DWORD, {0x01, 0x02}}, "hex(4):01,02"},
        {true, {REG_SZ, {'1', '5', '0', '0', 0, 'x'}}, "1500"},
        {true, {REG_SZ, {'1', '5'}}, "15"},
        {true, {REG_SZ, {'a', '\t', 'b', '\r', '\n'}}, "a b  "},
        {true, {REG_BINARY, {0xDE, 0xAD}}, "hex:de,ad"},
        {true, {2, {0x25, 0}}, "hex(2):25,00"},  // REG_EXPAND_SZ
        {true, {REG_BINARY, std::vector<BYTE>(33, 0xAB)},
         "hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,..."},
    };
    for (const auto& each : cases) EXPECT_EQ(each.text, CurrentSettings::ValueText(each.present, each.value));
}

TEST(CurrentSettings, ClipboardTextIsAHeaderAndOneTabbedCrlfLinePerRow) {
    MemoryRegistry registry;
    FakeDesktop desktop;
    desktop.SetVersion(2, 5, 1);
    registry.PutDword(kMachine, kInternet, "MaxConnectionsPerServer", 8);
    registry.PutString(kMachine, kInternet, "MaxConnectionsPer1_0Server", "4\t4");
    const CurrentSettings table = CurrentSettings::Read(registry, desktop, Preset("AUTO2", "LAN"), "");
    EXPECT_EQ("Setting\tWhere\tNow\tAfter Apply\r\n"
              "* Connections per HTTP 1.0 server\tHKLM\\" + kInternet + "\\MaxConnectionsPer1_0Server\t4 4\t16\r\n"
              "Connections per HTTP 1.1 server\tHKLM\\" + kInternet + "\\MaxConnectionsPerServer\t8\t8\r\n",
              table.ClipboardText());
}

}  // namespace
