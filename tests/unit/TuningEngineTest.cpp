#include "tests/support/FakeDesktop.h"
#include "tuning/TuningEngine.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace {

constexpr RegRoot kMachine = RegRoot::LocalMachine;
const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kCache = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
const std::string kTcpip = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kInternet = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
// One adapter of each layout, so a test can see which walk ran.
const std::string kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
const std::string kInterface = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{A1}";

struct OsVersion {
    const char* name;
    DWORD platformId, major, minor;
    bool nt;
};

const OsVersion kVersions[] = {
    {"Win32s", 0, 3, 1, false},      {"Windows 95", 1, 4, 0, false}, {"Windows 98", 1, 4, 10, false},
    {"Windows Me", 1, 4, 90, false}, {"Windows NT", 2, 4, 0, true},  {"Windows 2000", 2, 5, 0, true},
    {"Windows XP", 2, 5, 1, true},   {"Unknown", 2, 6, 0, false},
};

const OsVersion& Version(const std::string& name) {
    return *std::find_if(std::begin(kVersions), std::end(kVersions),
                         [&](const OsVersion& v) { return name == v.name; });
}

// Every parameter different, so a swapped field shows.
TuningConfig DistinctConfig() {
    return {kModeManual, "LAN", "1400", "1360", 1400, 64240, 64, 7200000, 0, 1, 10, 6, "32",
            "64240", "0", "1", "7200000", "64"};
}

std::string Sz(const std::string& path, const std::string& name, const std::string& text) {
    return path + "\\[" + name + "] REG_SZ \"" + text + "\\0\"";
}

std::string Dw(const std::string& path, const std::string& name, DWORD number) {
    return path + "\\[" + name + "] REG_DWORD " + std::to_string(number);
}

std::string Lines(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return text;
}

std::vector<std::string> NineXValues(bool windows98, const TuningConfig& c) {
    auto value = [&](const char* name, const std::string& text, DWORD number) {
        return windows98 ? Sz(kMstcp, name, text) : Dw(kMstcp, name, number);
    };
    return {value("DefaultRcvWindow", c.rwinText, c.rwin),
            value("PMTUDiscovery", c.pmtuText, c.pmtuDiscovery),
            value("PMTUBlackHoleDetect", c.blackHoleText, c.blackHoleDetect),
            value("SessionKeepAlive", c.keepAliveText, c.keepAliveMs),
            Sz(kMstcp, "DefaultTTL", c.ttlText),
            Sz(kCache, "", c.ndiCacheText)};
}

std::vector<std::string> NtValues(const TuningConfig& c) {
    return {Dw(kTcpip, "GlobalMaxTcpWindoSize", c.rwin), Dw(kTcpip, "GlobalMaxTcpWindowSize", c.rwin),
            Dw(kTcpip, "TcpWindowSize", c.rwin),         Dw(kTcpip, "DefaultTTL", c.ttl),
            Dw(kTcpip, "EnablePMTUDiscovery", c.pmtuDiscovery),
            Dw(kTcpip, "EnablePMTUBHDetect", c.blackHoleDetect),
            Dw(kTcpip, "KeepAliveTime", c.keepAliveMs)};
}

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A machine with the tuned keys present and empty, unless told which.
struct Rig {
    explicit Rig(const std::string& osName,
                 const std::vector<std::string>& keys = {kMstcp, kCache, kTcpip, kInternet}) {
        const OsVersion& v = Version(osName);
        desktop.SetVersion(v.platformId, v.major, v.minor);
        for (const std::string& path : keys) registry.AddKey(kMachine, path);
    }
    std::string Dump() const { return registry.Dump(kMachine); }
    void WriteTcpParameters(const char* action) {
        TuningPlan plan;
        engine.WriteTcpParameters(action, plan);
        ExecutePlan(registry, plan);
    }

    MemoryRegistry registry;
    FakeDesktop desktop;
    TuningConfig config = DistinctConfig();
    TuningEngine engine{registry, desktop, config};
};

}  // namespace

TEST(TuningEngine, ZeroWindowLeavesNoWindowValueBehind) {
    for (const char* os : {"Windows 95", "Windows 98", "Windows XP"}) {
        SCOPED_TRACE(os);
        Rig rig(os);
        rig.WriteTcpParameters(kWriteAction);
        rig.config.rwin = 0;
        rig.config.rwinText = "0";
        rig.WriteTcpParameters(kWriteAction);
        std::vector<std::string> expected =
            Version(os).nt ? NtValues(rig.config) : NineXValues(std::string(os) == "Windows 98", rig.config);
        // "Windo" also catches the misspelt "GlobalMaxTcpWindoSize".
        const auto window = [](const std::string& line) { return line.find("Windo") != std::string::npos; };
        expected.erase(std::remove_if(expected.begin(), expected.end(), window), expected.end());
        EXPECT_EQ(Version(os).nt ? 4u : 5u, expected.size());
        EXPECT_EQ(Lines(expected), rig.Dump());
    }
}

TEST(TuningEngine, NineXKeysAreWrittenIndependently) {
    Rig noMstcp("Windows 98", {kCache});
    noMstcp.WriteTcpParameters(kWriteAction);
    EXPECT_EQ(Lines({Sz(kCache, "", "32")}), noMstcp.Dump());
    EXPECT_FALSE(noMstcp.registry.HasKey(kMachine, kMstcp));

    Rig noCache("Windows Me", {kMstcp});
    noCache.WriteTcpParameters(kWriteAction);
    std::vector<std::string> expected = NineXValues(false, noCache.config);
    expected.pop_back();
    EXPECT_EQ(Lines(expected), noCache.Dump());
    EXPECT_FALSE(noCache.registry.HasKey(kMachine, kCache));
}

TEST(TuningEngine, MissingKeysAreNeitherCreatedNorReported) {
    for (const char* os : {"Windows 95", "Windows XP"}) {
        SCOPED_TRACE(os);
        Rig rig(os, {});
        rig.engine.ApplyTuning();
        rig.engine.RemoveTuning();
        EXPECT_EQ("", rig.Dump());
        EXPECT_FALSE(rig.registry.HasKey(kMachine, "System"));
        EXPECT_FALSE(rig.registry.HasKey(kMachine, "SOFTWARE"));
        EXPECT_TRUE(rig.desktop.messageBoxes.empty());
    }
}

// The whole catalogue, for every name: values, types, the family's adapter
// walk, connection limits under the machine key, and Remove taking back
// exactly what was written (the 9x cache value stays, empty).
TEST(TuningEngine, ApplyAndRemoveWriteTheCatalogueOfTheRunningFamily) {
    for (const OsVersion& v : kVersions) {
        SCOPED_TRACE(v.name);
        Rig rig(v.name);
        std::vector<std::string> others;  // values the engine must leave alone
        auto put = [&](const std::string& path, const std::string& name, const std::string& text) {
            rig.registry.PutString(kMachine, path, name, text);
            others.push_back(Sz(path, name, text));
        };
        put("Enum\\Root\\Net\\0000", "DeviceDesc", "NE2000 Compatible");
        put("Enum\\Root\\Net\\0000\\Bindings", "MSTCP\\0000", "");
        put("Enum\\Network\\MSTCP\\0000", "Driver", "NetTrans\\0000");
        put(kMstcp, "MaxConnections", "8");
        put(kTcpip, "Hostname", "vm");
        rig.registry.AddKey(kMachine, kNetTrans);
        rig.registry.AddKey(kMachine, kInterface);
        rig.registry.AddKey(RegRoot::CurrentUser, kInternet);

        rig.engine.ApplyTuning();
        EXPECT_EQ(0, rig.registry.OpenKeyCount());
        const std::vector<std::string> limits = {Dw(kInternet, "MaxConnectionsPer1_0Server", 10),
                                                 Dw(kInternet, "MaxConnectionsPerServer", 6)};
        if (v.nt) {
            EXPECT_EQ(Lines(Joined({NtValues(rig.config), limits, others, {Dw(kInterface, "MTU", 1400)}})),
                      rig.Dump());
        } else {
            EXPECT_EQ(Lines(Joined({NineXValues(std::string(v.name) == "Windows 98", rig.config), limits, others,
                                    {Sz(kNetTrans, "MaxMTU", "1400"), Sz(kNetTrans, "MaxMSS", "1360")}})),
                      rig.Dump());
        }
        EXPECT_EQ("", rig.registry.Dump(RegRoot::CurrentUser));

        rig.engine.RemoveTuning();
        EXPECT_EQ(0, rig.registry.OpenKeyCount());
        EXPECT_EQ(Lines(v.nt ? others : Joined({others, {Sz(kCache, "", "")}})), rig.Dump());
    }
}

TEST(TuningEngine, RunsCountWhatTheyWroteAndNeverShowAMessage) {
    Rig rig("Windows 98");
    const TuningCounts applied = rig.engine.ApplyTuning();
    EXPECT_GT(applied.written, 0);
    EXPECT_EQ(0, applied.refused);
    const TuningCounts removed = rig.engine.RemoveTuning();
    EXPECT_EQ(applied.written, removed.written);
    EXPECT_EQ(0, removed.refused);
    EXPECT_EQ(Lines({Sz(kCache, "", "")}), rig.Dump());
    EXPECT_TRUE(rig.desktop.messageBoxes.empty());
    EXPECT_EQ(0, rig.registry.OpenKeyCount());
}

TEST(TuningEngine, TuningValuesAreTheOnesARunOfEitherFamilyTouches) {
    Rig rig("Windows XP");
    const struct {
        std::string path, name;
        bool tuning;
    } cases[] = {
        {kMstcp, "DefaultTTL", true},
        {"SYSTEM\\CURRENTCONTROLSET\\SERVICES\\VXD\\MSTCP", "sessionkeepalive", true},
        {kCache, "", true},
        {kTcpip, "GlobalMaxTcpWindoSize", true},
        {kTcpip, "KeepAliveTime", true},
        {kTcpip, "Tcp1323Opts", true},
        {kMstcp, "Tcp1323Opts", true},
        {kInternet, "MaxConnectionsPerServer", true},
        {kNetTrans, "MaxMTU", true},
        {kNetTrans, "MaxMSS", true},
        {kInterface, "MTU", true},
        {"SYSTEM\\CurrentControlSet\\Services\\El90x1\\Parameters\\Tcpip", "MTU", true},
        // Values the writers never touch, and keys no walk leads to.
        {kMstcp, "Unrelated", false},
        {kTcpip, "MTU", false},
        {kInternet, "ProxyServer", false},
        {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Detect", false},
        {"System\\CurrentControlSet\\Services\\Class\\", "MaxMTU", false},
        {"SYSTEM\\CurrentControlSet\\Services\\A\\B\\Parameters\\Tcpip", "MTU", false},
        {kInterface + "\\Deeper", "MTU", false},
        {kNetTrans, "MTU", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.tuning, rig.engine.IsTuningValue(c.path, c.name)) << c.path << " [" << c.name << "]";
    }
}

// A window above 65535 needs RFC 1323 scaling: switched on where Windows has
// it, else the window is cut to whole segments. Any other window removes it.
TEST(TuningEngine, WindowsAbove65535AreScaledWhereWindowsCanAndCutWhereItCannot) {
    const struct {
        const char* os;
        DWORD rwin;
        const char* mss;
        DWORD written;
        bool scaling;
    } cases[] = {
        {"Windows 95", 256960, "1460", 64240, false}, {"Windows NT", 255552, "1452", 65340, false},
        {"Unknown", 65536, "1460", 64240, false},     {"Windows 95", 70000, "0", 65535, false},
        {"Windows NT", 70000, "70000", 65535, false}, {"Windows 98", 256960, "1460", 256960, true},
        {"Windows Me", 256960, "1460", 256960, true}, {"Windows 2000", 65536, "1460", 65536, true},
        {"Windows XP", 65535, "1460", 65535, false},  {"Windows XP", 0, "1460", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.os) + " " + std::to_string(c.rwin));
        Rig rig(c.os);
        const bool nt = Version(c.os).nt;
        const std::string& key = nt ? kTcpip : kMstcp;
        rig.registry.PutDword(kMachine, key, "Tcp1323Opts", 3);  // left by someone else
        rig.config.rwin = c.rwin;
        rig.config.rwinText = std::to_string(c.rwin);
        rig.config.mssText = c.mss;
        rig.WriteTcpParameters(kWriteAction);
        const bool texts = std::string(c.os) == "Windows 98";
        const std::string dump = rig.Dump();
        const std::string window = nt ? Dw(kTcpip, "TcpWindowSize", c.written)
                                      : texts ? Sz(kMstcp, "DefaultRcvWindow", std::to_string(c.written))
                                              : Dw(kMstcp, "DefaultRcvWindow", c.written);
        EXPECT_EQ(c.written != 0, dump.find(window + "\n") != std::string::npos) << dump;
        const std::string scaling = texts ? Sz(key, "Tcp1323Opts", "1") : Dw(key, "Tcp1323Opts", 1);
        EXPECT_EQ(c.scaling, dump.find(scaling + "\n") != std::string::npos) << dump;
        EXPECT_EQ(c.scaling, dump.find("[Tcp1323Opts]") != std::string::npos) << dump;
    }
}
