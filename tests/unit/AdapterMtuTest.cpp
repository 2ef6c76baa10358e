#include "tuning/AdapterMtu.h"
#include "win32/MemoryRegistry.h"
#include "win32/RegKey.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr RegRoot kMachine = RegRoot::LocalMachine;
const std::string kClass = "System\\CurrentControlSet\\Services\\Class\\";
const std::string kServices = "SYSTEM\\CurrentControlSet\\Services\\";
const std::string kCards = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\";
const std::string kInterfaces = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";

TuningConfig MtuConfig(const std::string& mtuText, DWORD mtu, const std::string& mssText) {
    TuningConfig config;
    config.mtuText = mtuText;
    config.mtu = mtu;
    config.mssText = mssText;
    return config;
}

void PutRawText(MemoryRegistry& registry, const std::string& path, const std::string& name, const std::string& text) {
    registry.Put(kMachine, path, name, REG_SZ, std::vector<BYTE>(text.begin(), text.end()));
}

// A Windows 98 machine: a dial-up adapter, a network card whose TCP/IP
// binding is the fourth one, a removed card (no description) that still has
// its bindings, cards the walk cannot follow, and cards numbered past 9.
void AddNineXAdapters(MemoryRegistry& registry) {
    auto adapter = [&](const std::string& number, const char* description,
                       std::initializer_list<const char*> bindings) {
        const std::string key = "Enum\\Root\\Net\\" + number;
        registry.PutString(kMachine, key, "Class", "Net");
        if (description != nullptr) registry.PutString(kMachine, key, "DeviceDesc", description);
        for (const char* binding : bindings) registry.PutString(kMachine, key + "\\Bindings", binding, "");
    };
    adapter("0000", "Dial-Up Adapter", {"MSTCP\\0000"});
    adapter("0001", "NE2000 Compatible", {"NETBEUI\\0000", "NWLINK\\0001", "MSTCP\\0003"});
    adapter("0002", nullptr, {"MSTCP\\0001"});
    adapter("0003", "PCI Ethernet", {});
    adapter("0010", "Cable Modem", {"MSTCP\\0004"});
    adapter("0099", "Last Card", {"MSTCP\\0002"});
    for (const char* binding : {"0000", "0001", "0002", "0003", "0004"}) {
        const std::string key = "Enum\\Network\\MSTCP\\" + std::string(binding);
        registry.PutString(kMachine, key, "DeviceDesc", "TCP/IP");
        registry.PutString(kMachine, key, "Driver", "NetTrans\\" + std::string(binding));
        registry.PutString(kMachine, kClass + "NetTrans\\" + binding, "DriverDesc", "TCP/IP");
    }
    // Stored without its terminating NUL, which the driver text must survive.
    PutRawText(registry, "Enum\\Network\\MSTCP\\0004", "Driver", "NetTrans\\0004");
    // A binding whose network entry has no driver, and one whose class key is gone.
    adapter("0004", "No Driver", {"MSTCP\\0005"});
    registry.AddKey(kMachine, "Enum\\Network\\MSTCP\\0005");
    adapter("0005", "No Class", {"MSTCP\\0006"});
    registry.PutString(kMachine, "Enum\\Network\\MSTCP\\0006", "Driver", "NetTrans\\0006");
    // Numbered like a card past 9 with three leading zeros: never probed.
    registry.PutString(kMachine, "Enum\\Root\\Net\\00010", "DeviceDesc", "Misnumbered");
    registry.PutString(kMachine, "Enum\\Root\\Net\\00010\\Bindings", "MSTCP\\0001", "");
}

std::optional<std::string> Text(const MemoryRegistry& registry, const std::string& path, const std::string& name) {
    auto value = registry.Value(kMachine, path, name);
    if (!value) return std::nullopt;
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value->type) << path << " " << name;
    EXPECT_FALSE(value->data.empty());
    if (value->data.empty() || value->data.back() != 0) return "(no NUL)";
    return std::string(value->data.begin(), value->data.end() - 1);
}

std::optional<DWORD> Number(const MemoryRegistry& registry, const std::string& path) {
    auto value = registry.Value(kMachine, path, "MTU");
    if (!value) return std::nullopt;
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), value->type) << path;
    EXPECT_EQ(4u, value->data.size()) << path;
    return DwordOf(*value);
}

// Class keys of live adapters with a TCP/IP binding (0000, 0001, 0010, 0099).
const char* const kBoundDrivers[] = {"NetTrans\\0000", "NetTrans\\0003", "NetTrans\\0004", "NetTrans\\0002"};

void ExpectNineXMtu(const MemoryRegistry& registry, const std::optional<std::string>& mtu,
                    const std::optional<std::string>& mss) {
    for (const char* driver : kBoundDrivers) {
        EXPECT_EQ(mtu, Text(registry, kClass + driver, "MaxMTU")) << driver;
        EXPECT_EQ(mss, Text(registry, kClass + driver, "MaxMSS")) << driver;
        EXPECT_EQ("TCP/IP", Text(registry, kClass + driver, "DriverDesc"));
    }
    // The removed card's binding; the misnumbered entry points there too.
    EXPECT_EQ(std::nullopt, Text(registry, kClass + "NetTrans\\0001", "MaxMTU"));
    EXPECT_EQ(std::nullopt, Text(registry, kClass + "NetTrans\\0001", "MaxMSS"));
}

void Run9x(MemoryRegistry& registry, const AdapterMtu& adapters, const char* action) {
    TuningPlan plan;
    adapters.SetAdapterMtu9x(action, plan);
    ExecutePlan(registry, plan);
}

void RunNt(MemoryRegistry& registry, const AdapterMtu& adapters, const char* action) {
    TuningPlan plan;
    adapters.SetAdapterMtuNt(action, plan);
    ExecutePlan(registry, plan);
}

}  // namespace

// Under the NT rule too: the walk queries through the keys it opens.
TEST(AdapterMtu, NineXWalkWritesEveryBoundAdapterUnderEitherAccessRule) {
    for (bool nineXAccess : {false, true}) {
        SCOPED_TRACE(nineXAccess ? "9x access rule" : "NT access rule");
        MemoryRegistry registry;
        registry.IgnoreAccessMasks(nineXAccess);
        AddNineXAdapters(registry);
        TuningConfig config = MtuConfig("1492", 1492, "1452");
        AdapterMtu adapters(registry, config);

        Run9x(registry, adapters, kWriteAction);
        ExpectNineXMtu(registry, "1492", "1452");
        EXPECT_FALSE(registry.HasKey(kMachine, kClass + "NetTrans\\0006"));
        EXPECT_EQ(8, registry.WriteCount());
        EXPECT_EQ(0, registry.OpenKeyCount());

        Run9x(registry, adapters, kRemoveAction);
        ExpectNineXMtu(registry, std::nullopt, std::nullopt);
        EXPECT_EQ(0, registry.OpenKeyCount());

        // The text decides on this family, not the number; no text at all (a
        // record without a connection type) is no MTU either.
        for (const char* text : {"0", ""}) {
            config = MtuConfig("1492", 1492, "1452");
            Run9x(registry, adapters, kWriteAction);
            config = MtuConfig(text, 1492, "1452");
            Run9x(registry, adapters, kWriteAction);
            ExpectNineXMtu(registry, std::nullopt, std::nullopt);
        }
        EXPECT_EQ(0, registry.OpenKeyCount());
    }
}

namespace {

// A Windows 2000 machine: three network cards (the second without a service
// name), two TCP/IP interfaces, of which only the first is also a service
// with its own Tcpip parameters.
void AddNtAdapters(MemoryRegistry& registry) {
    registry.PutString(kMachine, kCards + "1", "ServiceName", "El90x1");
    registry.PutString(kMachine, kCards + "1", "Description", "3Com EtherLink");
    registry.PutString(kMachine, kCards + "2", "Description", "Card without service");
    registry.PutString(kMachine, kCards + "3", "ServiceName", "NdisWan4");
    registry.PutString(kMachine, kCards + "3", "Description", "WAN Miniport");
    for (const char* service : {"El90x1", "NdisWan4", "{A1}"}) {
        registry.PutString(kMachine, kServices + service + "\\Parameters\\Tcpip", "IPAddress", "0.0.0.0");
    }
    registry.PutString(kMachine, kInterfaces + "{A1}", "DhcpIPAddress", "10.0.0.5");
    registry.PutString(kMachine, kInterfaces + "{B2}", "DhcpIPAddress", "10.0.0.6");
    registry.AddKey(kMachine, kServices + "{B2}");
}

const char* const kNtMtuKeys[] = {"El90x1\\Parameters\\Tcpip", "NdisWan4\\Parameters\\Tcpip",
                                  "{A1}\\Parameters\\Tcpip", "Tcpip\\Parameters\\Interfaces\\{A1}",
                                  "Tcpip\\Parameters\\Interfaces\\{B2}"};

void ExpectNtMtu(const MemoryRegistry& registry, std::optional<DWORD> mtu) {
    for (const char* key : kNtMtuKeys) EXPECT_EQ(mtu, Number(registry, kServices + key)) << key;
    EXPECT_FALSE(registry.HasKey(kMachine, kServices + "{B2}\\Parameters\\Tcpip"));
    EXPECT_EQ("0.0.0.0", Text(registry, kServices + "El90x1\\Parameters\\Tcpip", "IPAddress"));
}

}  // namespace

TEST(AdapterMtu, NtWalkWritesCardsAndInterfaces) {
    MemoryRegistry registry;
    AddNtAdapters(registry);
    TuningConfig config = MtuConfig("1400", 1400, "1360");
    AdapterMtu adapters(registry, config);

    RunNt(registry, adapters, kWriteAction);
    ExpectNtMtu(registry, 1400u);
    // One write per key: the card without a service name wrote nothing.
    EXPECT_EQ(5, registry.WriteCount());
    EXPECT_EQ(0, registry.OpenKeyCount());

    RunNt(registry, adapters, kRemoveAction);
    ExpectNtMtu(registry, std::nullopt);
    EXPECT_EQ(0, registry.OpenKeyCount());

    RunNt(registry, adapters, kWriteAction);
    // The text alone does not decide on this family.
    config = MtuConfig("1400", 0, "1360");
    RunNt(registry, adapters, kWriteAction);
    ExpectNtMtu(registry, std::nullopt);
    EXPECT_EQ(0, registry.OpenKeyCount());
}

TEST(AdapterMtu, NtWalkWithoutNetworkCardsStillWalksTheInterfaces) {
    MemoryRegistry registry;
    registry.PutString(kMachine, kInterfaces + "{A1}", "DhcpIPAddress", "10.0.0.5");
    registry.AddKey(kMachine, kServices + "{A1}\\Parameters\\Tcpip");
    const TuningConfig config = MtuConfig("1500", 1500, "1460");

    RunNt(registry, AdapterMtu(registry, config), kWriteAction);

    EXPECT_EQ(1500u, Number(registry, kInterfaces + "{A1}"));
    EXPECT_EQ(1500u, Number(registry, kServices + "{A1}\\Parameters\\Tcpip"));
    EXPECT_EQ(0, registry.OpenKeyCount());
}

// Found by fuzzing: a driver text of separators alone named the class key
// itself, and a service name holding one led to some other key below Services.
TEST(AdapterMtu, DamagedDriverAndServiceNamesLeadNowhere) {
    for (const char* damaged : {"\\", "\\\\\\"}) {
        SCOPED_TRACE(damaged);
        MemoryRegistry registry;
        registry.PutString(kMachine, "Enum\\Root\\Net\\0000", "DeviceDesc", "Dial-Up Adapter");
        registry.PutString(kMachine, "Enum\\Root\\Net\\0000\\Bindings", "MSTCP\\0000", "");
        registry.PutString(kMachine, "Enum\\Network\\MSTCP\\0000", "Driver", damaged);
        registry.PutString(kMachine, kClass, "Sentinel", "class key");
        registry.PutString(kMachine, kCards + "1", "ServiceName", damaged);
        registry.PutString(kMachine, kCards + "2", "ServiceName", "Tcpip\\Parameters\\Interfaces\\{A1}");
        registry.AddKey(kMachine, kServices + "Parameters\\Tcpip");
        registry.AddKey(kMachine, kInterfaces + "{A1}\\Parameters\\Tcpip");
        const TuningConfig config = MtuConfig("1500", 1500, "1460");
        const AdapterMtu adapters(registry, config);

        TuningPlan plan;
        adapters.SetAdapterMtu9x(kWriteAction, plan);
        EXPECT_TRUE(plan.empty());
        adapters.SetAdapterMtuNt(kWriteAction, plan);
        // Only the interface itself, as its own key.
        ASSERT_EQ(1u, plan.size());
        EXPECT_EQ(kInterfaces + "{A1}", plan[0].path);
    }
}
