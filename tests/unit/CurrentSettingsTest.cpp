#include "configurator/CurrentSettings.h"
#include "tests/support/FakeDesktop.h"
#include "tuning/TuningPreset.h"
#include "win32/MemoryRegistry.h"
#include "win32/RegKey.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr RegRoot kMachine = RegRoot::LocalMachine;
const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kCard = "SYSTEM\\CurrentControlSet\\Services\\{C1}\\Parameters\\Tcpip";
const std::string kClass = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0001";
const std::string kTcp1323 = kTcpip + "\\Tcp1323Opts";

CurrentSettings Read(MemoryRegistry& registry, bool nt, const std::string& problem = "") {
    FakeDesktop desktop;
    desktop.SetVersion(nt ? 2 : 1, nt ? 5 : 4, nt ? 1 : 10);
    TuningConfig config;
    config.mode = "AUTO1";
    config.connectionType = "LAN-PPPoE";
    ApplyPreset(config);
    return CurrentSettings::Read(registry, desktop, config, problem);
}

// Setting, now, after and the mark of the row at where; "none" when there is no row.
std::string Row(const CurrentSettings& table, const std::string& where) {
    for (const CurrentSettingsRow& row : table.Rows()) {
        if (SameRegistryName(row.where, "HKLM\\" + where)) {
            return row.setting + "|" + row.now + "|" + row.afterApply + (row.differs ? "|*" : "");
        }
    }
    return "none";
}

TEST(CurrentSettings, NtRowsNameTheAdaptersMarkChangesAndStayEmptyWhenInvalid) {
    MemoryRegistry registry;
    const std::string cards = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\1";
    registry.PutString(kMachine, cards, "ServiceName", "{C1}");
    registry.PutString(kMachine, cards, "Description", "Fast Ethernet");
    registry.AddKey(kMachine, kCard);
    registry.PutDword(kMachine, kTcpip + "\\Interfaces\\{D2}", "MTU", 1492);
    registry.AddKey(kMachine, kTcpip + "\\Interfaces\\{C1}");
    registry.PutString(kMachine, kTcpip, "KeepAliveTime", "600000");
    const int writes = registry.WriteCount();

    const CurrentSettings table = Read(registry, true);
    // Card, two interfaces, their service keys (one the card's), eight TCP/IP values; no Internet Settings key.
    EXPECT_EQ(11u, table.Rows().size());
    std::set<std::string> names;
    for (const CurrentSettingsRow& row : table.Rows()) names.insert(row.setting);
    EXPECT_EQ(table.Rows().size(), names.size()) << "a user cannot tell two rows apart";
    EXPECT_EQ("Window scaling|not set|1|*", Row(table, kTcp1323));
    EXPECT_EQ("MTU of Fast Ethernet|not set|1492|*", Row(table, kCard + "\\MTU"));
    EXPECT_EQ("MTU of {D2} (interface)|1492|1492", Row(table, kTcpip + "\\Interfaces\\{D2}\\MTU"));
    EXPECT_EQ("Keep-alive time|600000|600000|*", Row(table, kTcpip + "\\KeepAliveTime"));  // a text, not a number
    EXPECT_EQ("Receive window (GlobalMaxTcpWindoSize)|not set|255552|*", Row(table, kTcpip + "\\GlobalMaxTcpWindoSize"));

    const CurrentSettings invalid = Read(registry, true, "Invalid MTU value.\nYou chose");
    EXPECT_EQ("MTU of {D2} (interface)|1492|", Row(invalid, kTcpip + "\\Interfaces\\{D2}\\MTU"));
    EXPECT_EQ("Invalid MTU value. You chose", invalid.Problem());
    EXPECT_EQ(writes, registry.WriteCount());
}

TEST(CurrentSettings, NineXRowsFollowTheBindingToTheDriverKey) {
    MemoryRegistry registry;
    registry.PutString(kMachine, "Enum\\Root\\Net\\0001", "DeviceDesc", "NE2000 Compatible");
    registry.PutString(kMachine, "Enum\\Root\\Net\\0001\\Bindings", "MSTCP\\0001", "");
    registry.PutString(kMachine, "Enum\\Network\\MSTCP\\0001", "Driver", "NetTrans\\0001");
    registry.PutString(kMachine, kClass, "MaxMTU", "1500");
    registry.PutDword(kMachine, "System\\CurrentControlSet\\Services\\VxD\\MSTCP", "PMTUDiscovery", 1);

    const CurrentSettings table = Read(registry, false);
    EXPECT_EQ(8u, table.Rows().size());  // two adapter values, six MSTCP values
    EXPECT_EQ("MTU of NE2000 Compatible|1500|1492|*", Row(table, kClass + "\\MaxMTU"));
    EXPECT_EQ("MSS of NE2000 Compatible|not set|1452|*", Row(table, kClass + "\\MaxMSS"));
    // Windows 98 keeps it as a text.
    EXPECT_EQ("Path MTU discovery|1|1|*", Row(table, "System\\CurrentControlSet\\Services\\VxD\\MSTCP\\PMTUDiscovery"));
}

TEST(CurrentSettings, ValueTextsAndClipboardText) {
    const std::pair<RegValue, const char*> cases[] = {
        {{REG_DWORD, {0x40, 0x42, 0x0F, 0x00}}, "1000000"}, {{REG_DWORD, {0x01, 0x02}}, "hex(4):01,02"},
        {{REG_SZ, {'1', '5', 0, 'x'}}, "15"},               {{REG_SZ, {'a', '\t', 'b', '\r'}}, "a b "},
        {{REG_BINARY, {0xDE, 0xAD}}, "hex:de,ad"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.second, CurrentSettings::ValueText(true, c.first));
    EXPECT_EQ("not set", CurrentSettings::ValueText(false, {}));

    MemoryRegistry registry;
    const std::string internet = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    registry.PutDword(kMachine, internet, "MaxConnectionsPerServer", 8);
    registry.PutString(kMachine, internet, "MaxConnectionsPer1_0Server", "4\t4");
    EXPECT_EQ("Setting\tWhere\tNow\tAfter Apply\r\n"
              "* Connections per HTTP 1.0 server\tHKLM\\" + internet + "\\MaxConnectionsPer1_0Server\t4 4\t16\r\n"
              "Connections per HTTP 1.1 server\tHKLM\\" + internet + "\\MaxConnectionsPerServer\t8\t8\r\n",
              Read(registry, true).ClipboardText());
    const std::vector<std::string> cells = {"* MTU of Fast  Ethernet", "HKLM\\{D 2}\\MTU", "not set", "1492"};
    EXPECT_EQ(cells, CurrentSettings::Cells({"MTU of Fast\r\nEthernet", "HKLM\\{D\t2}\\MTU", "not set", "1492", true}));
}

}  // namespace
