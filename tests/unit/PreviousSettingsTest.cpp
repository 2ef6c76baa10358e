#include "tests/support/FakeDesktop.h"
#include "tests/support/PreviousValuePrinter.h"
#include "tuning/PreviousSettings.h"
#include "tuning/TuningEngine.h"
#include "tuning/TuningPreset.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace {

constexpr RegRoot kMachine = RegRoot::LocalMachine;
const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kCache = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kInternet = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
const std::string kServices = "SYSTEM\\CurrentControlSet\\Services\\";
const std::string kInterfaces = kTcpip + "\\Interfaces\\";

std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }
std::vector<BYTE> Sz(const std::string& text) { return Bytes(text + '\0'); }
std::vector<BYTE> Dword(DWORD n) {
    return {static_cast<BYTE>(n), static_cast<BYTE>(n >> 8), static_cast<BYTE>(n >> 16), static_cast<BYTE>(n >> 24)};
}

PreviousValue Present(const std::string& path, const std::string& name, DWORD type, std::vector<BYTE> data) {
    return {path, name, true, {type, std::move(data)}};
}
PreviousValue Absent(const std::string& path, const std::string& name) { return {path, name, false, {}}; }

std::vector<RegLocation> Locations(const std::string& path, std::initializer_list<const char*> names) {
    std::vector<RegLocation> locations;
    for (const char* name : names) locations.push_back({path, name});
    return locations;
}

std::vector<RegLocation> Joined(std::initializer_list<std::vector<RegLocation>> parts) {
    std::vector<RegLocation> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// What the Remove sequence of each family touches on the machines below.
std::vector<RegLocation> NineXLocations() {
    return Joined({Locations(kNetTrans, {"MaxMTU", "MaxMSS"}),
                   Locations(kMstcp, {"DefaultRcvWindow", "DefaultTTL", "PMTUDiscovery", "PMTUBlackHoleDetect",
                                      "SessionKeepAlive"}),
                   Locations(kCache, {""}),
                   Locations(kInternet, {"MaxConnectionsPer1_0Server", "MaxConnectionsPerServer"})});
}

std::vector<RegLocation> NtLocations(std::initializer_list<const char*> interfaces) {
    std::vector<RegLocation> locations;
    for (const char* face : interfaces) {
        locations.push_back({kInterfaces + face, "MTU"});
        locations.push_back({kServices + face + "\\Parameters\\Tcpip", "MTU"});
    }
    return Joined({locations,
                   Locations(kTcpip, {"GlobalMaxTcpWindoSize", "GlobalMaxTcpWindowSize", "TcpWindowSize",
                                      "DefaultTTL", "EnablePMTUDiscovery", "EnablePMTUBHDetect", "KeepAliveTime"}),
                   Locations(kInternet, {"MaxConnectionsPer1_0Server", "MaxConnectionsPerServer"})});
}

// A Windows 98 machine whose provider set some values as texts, with one
// dial-up adapter bound to TCP/IP.
void PrepareNineX(MemoryRegistry& registry) {
    registry.PutString(kMachine, "Enum\\Root\\Net\\0000", "DeviceDesc", "Dial-Up Adapter");
    registry.PutString(kMachine, "Enum\\Root\\Net\\0000\\Bindings", "MSTCP\\0000", "");
    registry.PutString(kMachine, "Enum\\Network\\MSTCP\\0000", "Driver", "NetTrans\\0000");
    registry.PutString(kMachine, kNetTrans, "MaxMTU", "1492");
    registry.PutString(kMachine, kMstcp, "DefaultTTL", "64");
    registry.PutString(kMachine, kMstcp, "PMTUDiscovery", "1");
    registry.Put(kMachine, kMstcp, "SessionKeepAlive", REG_BINARY, {1, 2, 3});
    registry.PutString(kMachine, kCache, "", "32");
    registry.PutDword(kMachine, kInternet, "MaxConnectionsPerServer", 4);
}

void PrepareNt(MemoryRegistry& registry) {
    registry.PutString(kMachine, kServices + "{A1}\\Parameters\\Tcpip", "IPAddress", "0.0.0.0");
    registry.PutDword(kMachine, kInterfaces + "{A1}", "MTU", 1492);
    registry.PutDword(kMachine, kTcpip, "DefaultTTL", 64);
    registry.PutDword(kMachine, kTcpip, "TcpWindowSize", 65535);
    // Text where the catalogue has a number: its type must come back too.
    registry.PutString(kMachine, kTcpip, "KeepAliveTime", "7200000");
    registry.AddKey(kMachine, kInternet);
}

struct Machine {
    explicit Machine(bool nt) {
        if (nt) {
            desktop.SetVersion(VER_PLATFORM_WIN32_NT, 5, 1);
            PrepareNt(registry);
        } else {
            desktop.SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
            PrepareNineX(registry);
        }
    }
    void Apply(const char* mode, const char* connectionType) {
        config.mode = mode;
        config.connectionType = connectionType;
        ApplyPreset(config);
        engine.ApplyTuning();
    }

    MemoryRegistry registry;
    FakeDesktop desktop;
    TuningConfig config;
    TuningEngine engine{registry, desktop, config};
};

}  // namespace

TEST(PreviousSettings, RecordsPresentValuesWithTheirBytesAndAbsentOnesAsAbsent) {
    struct Case {
        const char* layout;
        bool nt;
        std::vector<RegLocation> locations;
        std::vector<PreviousValue> expected;
    };
    const Case cases[] = {
        {"Windows 98", false, NineXLocations(),
         {Present(kNetTrans, "MaxMTU", REG_SZ, Sz("1492")), Absent(kNetTrans, "MaxMSS"),
          Absent(kMstcp, "DefaultRcvWindow"), Present(kMstcp, "DefaultTTL", REG_SZ, Sz("64")),
          Present(kMstcp, "PMTUDiscovery", REG_SZ, Sz("1")), Absent(kMstcp, "PMTUBlackHoleDetect"),
          Present(kMstcp, "SessionKeepAlive", REG_BINARY, {1, 2, 3}), Present(kCache, "", REG_SZ, Sz("32")),
          Absent(kInternet, "MaxConnectionsPer1_0Server"),
          Present(kInternet, "MaxConnectionsPerServer", REG_DWORD, Dword(4))}},
        {"Windows XP", true, NtLocations({"{A1}"}),
         {Present(kInterfaces + "{A1}", "MTU", REG_DWORD, Dword(1492)),
          Absent(kServices + "{A1}\\Parameters\\Tcpip", "MTU"), Absent(kTcpip, "GlobalMaxTcpWindoSize"),
          Absent(kTcpip, "GlobalMaxTcpWindowSize"), Present(kTcpip, "TcpWindowSize", REG_DWORD, Dword(65535)),
          Present(kTcpip, "DefaultTTL", REG_DWORD, Dword(64)), Absent(kTcpip, "EnablePMTUDiscovery"),
          Absent(kTcpip, "EnablePMTUBHDetect"), Present(kTcpip, "KeepAliveTime", REG_SZ, Sz("7200000")),
          Absent(kInternet, "MaxConnectionsPer1_0Server"), Absent(kInternet, "MaxConnectionsPerServer")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        Machine machine(c.nt);
        const std::string before = machine.registry.Dump(kMachine);
        const PreviousSettings record = PreviousSettings::Capture(machine.registry, c.locations);
        EXPECT_EQ(c.expected, record.Values());
        EXPECT_EQ(before, machine.registry.Dump(kMachine));
        EXPECT_EQ(0, machine.registry.WriteCount());
        EXPECT_EQ(0, machine.registry.OpenKeyCount());
    }
}

TEST(PreviousSettings, LeavesOutWhatItCannotKnow) {
    MemoryRegistry registry;
    registry.PutDword(kMachine, kTcpip, "DefaultTTL", 64);
    registry.PutDword(kMachine, kInterfaces + "{Denied}", "MTU", 1400);
    registry.DenyAccess(kMachine, kInterfaces + "{Denied}", KEY_QUERY_VALUE);
    std::vector<BYTE> large(5000, 0x5a);
    registry.Put(kMachine, kInterfaces + "{Large}", "MTU", REG_BINARY, large);

    const PreviousSettings record = PreviousSettings::Capture(
        registry, {{kInterfaces + "{Gone}", "MTU"}, {kInterfaces + "{Denied}", "MTU"}, {kTcpip, "DefaultTTL"},
                   {kTcpip, "defaultttl"}, {kInterfaces + "{Large}", "MTU"}, {kTcpip, "DefaultTTL"}});

    // A missing key and a refused one are not guessed; a location named twice
    // is read once, whatever its case; a large value comes whole.
    EXPECT_EQ((std::vector<PreviousValue>{Present(kTcpip, "DefaultTTL", REG_DWORD, Dword(64)),
                                          Present(kInterfaces + "{Large}", "MTU", REG_BINARY, large)}),
              record.Values());
}

TEST(PreviousSettings, KeepsTheFirstStateOverLaterAppliesAndGivesItBack) {
    for (bool nt : {false, true}) {
        SCOPED_TRACE(nt ? "NT" : "9x");
        Machine machine(nt);
        const std::string before = machine.registry.Dump(kMachine);
        const std::vector<RegLocation> locations = nt ? NtLocations({"{A1}"}) : NineXLocations();

        PreviousSettings record = PreviousSettings::Capture(machine.registry, locations);
        const std::vector<PreviousValue> first = record.Values();
        machine.Apply("AUTO1", "LAN-PPPoE");
        EXPECT_EQ(0, record.AddNew(PreviousSettings::Capture(machine.registry, locations)));
        machine.Apply("AUTO3", "DIAL-UP");
        EXPECT_EQ(first, record.Values());
        ASSERT_NE(before, machine.registry.Dump(kMachine));

        EXPECT_EQ(0, record.Restore(machine.registry).refused);
        EXPECT_EQ(before, machine.registry.Dump(kMachine));
        EXPECT_EQ(0, machine.registry.OpenKeyCount());
    }
}

TEST(PreviousSettings, AddsAnAdapterSeenForTheFirstTime) {
    Machine machine(true);
    PreviousSettings record = PreviousSettings::Capture(machine.registry, NtLocations({"{A1}"}));
    machine.Apply("AUTO1", "LAN");
    const std::vector<PreviousValue> first = record.Values();

    // A new card arrives with its own MTU, after the first Apply.
    machine.registry.PutDword(kMachine, kInterfaces + "{B2}", "MTU", 1400);
    EXPECT_EQ(1, record.AddNew(PreviousSettings::Capture(machine.registry, NtLocations({"{A1}", "{B2}"}))));

    std::vector<PreviousValue> expected = first;
    expected.push_back(Present(kInterfaces + "{B2}", "MTU", REG_DWORD, Dword(1400)));
    // Its service key does not exist, so that location is left out; the first
    // adapter keeps what it had before the first Apply, not 1500.
    EXPECT_EQ(expected, record.Values());
    EXPECT_EQ(1, record.AddNew(PreviousSettings({Absent(kServices + "{B2}\\Parameters\\Tcpip", "MTU")})));
    EXPECT_EQ(0, record.AddNew(PreviousSettings({Absent(kInterfaces + "{b2}", "mtu")})));
}

TEST(PreviousSettings, WritesBackExactBytesAndCountsWhatItCannot) {
    MemoryRegistry registry;
    const std::string kDenied = kInterfaces + "{Denied}";
    const std::string kGone = kInterfaces + "{Gone}";
    registry.PutDword(kMachine, kTcpip, "DefaultTTL", 128);
    registry.PutDword(kMachine, kTcpip, "KeepAliveTime", 600000);
    registry.PutDword(kMachine, kDenied, "MTU", 1500);
    registry.DenyAccess(kMachine, kDenied, KEY_SET_VALUE);
    const PreviousSettings record({
        Present(kTcpip, "DefaultTTL", REG_SZ, Bytes("64")),       // no NUL: stored with one
        Present(kTcpip, "TcpWindowSize", REG_DWORD, {1, 2, 3}),  // short
        Present(kTcpip, "Odd", 0x12345678, {}),
        Absent(kTcpip, "KeepAliveTime"),
        Absent(kTcpip, "EnablePMTUDiscovery"),
        Present(kDenied, "MTU", REG_DWORD, Dword(1492)),
        Absent(kDenied, "Other"),
        Present(kGone, "MTU", REG_DWORD, Dword(1492)),  // not created again
        Absent(kGone, "MaxMSS"),                        // gone with its key
    });

    const PreviousSettings::RestoreResult restored = record.Restore(registry);
    EXPECT_EQ((std::pair{2, 1}), std::pair(restored.refused, restored.gone));  // denied two; the gone one apart

    EXPECT_EQ((std::vector<BYTE>{'6', '4', 0}), registry.Value(kMachine, kTcpip, "DefaultTTL")->data);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), registry.Value(kMachine, kTcpip, "DefaultTTL")->type);
    EXPECT_EQ((std::vector<BYTE>{1, 2, 3}), registry.Value(kMachine, kTcpip, "TcpWindowSize")->data);
    EXPECT_EQ(0x12345678u, registry.Value(kMachine, kTcpip, "Odd")->type);
    EXPECT_TRUE(registry.Value(kMachine, kTcpip, "Odd")->data.empty());
    EXPECT_FALSE(registry.Value(kMachine, kTcpip, "KeepAliveTime"));
    EXPECT_EQ(Dword(1500), registry.Value(kMachine, kDenied, "MTU")->data);
    EXPECT_FALSE(registry.HasKey(kMachine, kGone));
    EXPECT_EQ(0, registry.OpenKeyCount());
}
