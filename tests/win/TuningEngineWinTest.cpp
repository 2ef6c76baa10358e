// The tuning engine on the real Wine registry, under every Windows version
// Wine reports: the catalogue of the running family, value by value and type
// by type, after Apply and after Remove. Wine grants every access when it
// reports a 9x version, as 9x did; on its default version the 9x walk runs
// under the NT access rule.
#include "configurator/CurrentSettings.h"
#include "tests/win/TunedKeys.h"
#include "tests/win/WriteProtectedKey.h"
#include "tuning/OsName.h"
#include "tuning/TuningEngine.h"
#include "tuning/TuningPreset.h"
#include "win32/RegKey.h"
#include "win32/Win32Desktop.h"
#include "win32/Win32Registry.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace {

using namespace tunedkeys;

// TCP/IP bindings of the 9x adapters, each with its driver class key of the
// same number; 0001 belongs to a removed card.
const char* const kBindings[] = {"0000", "0001", "0003", "0004"};
const char* const kBoundDrivers[] = {"NetTrans\\0000", "NetTrans\\0003", "NetTrans\\0004"};
// Keys that receive "MTU" on the NT family, and one that must not.
const char* const kNtMtuKeys[] = {"ZvEl90x1\\Parameters\\Tcpip", "ZvNdisWan\\Parameters\\Tcpip",
                                  "{ZV-A1}\\Parameters\\Tcpip", "Tcpip\\Parameters\\Interfaces\\{ZV-A1}",
                                  "Tcpip\\Parameters\\Interfaces\\{ZV-B2}"};

std::string Sz(const std::string& path, const std::string& name, const std::string& text) {
    return path + "\\[" + name + "] REG_SZ \"" + text + "\\0\"";
}

std::string Dw(const std::string& path, const std::string& name, DWORD number) {
    return path + "\\[" + name + "] REG_DWORD " + std::to_string(number);
}

std::string Describe(const std::string& path, const std::string& name, const RegValue& value) {
    if (const auto number = DwordOf(value)) return Dw(path, name, *number);
    if (value.type == REG_SZ && !value.data.empty() && value.data.back() == 0) {
        return Sz(path, name, std::string(value.data.begin(), value.data.end() - 1));
    }
    return path + "\\[" + name + "] type " + std::to_string(value.type) + ", " + std::to_string(value.data.size()) +
           " bytes";
}

class Machine {
public:
    void Create(const std::string& path) {
        RegKey key(registry_);
        ASSERT_EQ(ERROR_SUCCESS, key.Create(RegRoot::LocalMachine, path, KEY_ALL_ACCESS)) << path;
    }
    void PutText(const std::string& path, const std::string& name, const std::string& text) {
        RegKey key(registry_);
        ASSERT_EQ(ERROR_SUCCESS, key.Create(RegRoot::LocalMachine, path, KEY_ALL_ACCESS)) << path;
        ASSERT_EQ(ERROR_SUCCESS, key.SetString(name, text));
    }
    void DeleteValues(const std::string& path, const Names& names) {
        RegKey key(registry_);
        if (key.Open(RegRoot::LocalMachine, path, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
        for (const std::string& name : names) key.Delete(name);
    }
    // Lines "path\[name] TYPE data", sorted, for the values that exist.
    void Collect(const std::string& path, const Names& names, std::vector<std::string>* lines) {
        RegKey key(registry_);
        if (key.Open(RegRoot::LocalMachine, path, KEY_READ) != ERROR_SUCCESS) return;
        for (const std::string& name : names) {
            RegValue value;
            if (key.Query(name, 1000, &value) == ERROR_SUCCESS) lines->push_back(Describe(path, name, value));
        }
    }

private:
    Win32Registry registry_;
};

class TuningEngineVersioned : public ::testing::Test {
protected:
    void SetUp() override {
        const char* expected = std::getenv("ZV_EXPECT_OS");
        ASSERT_NE(nullptr, expected) << "ZV_EXPECT_OS is not set";
        osName_ = expected;
        ASSERT_EQ(osName_, GetOsName(desktop_));
        nt_ = IsNtFamily(desktop_);
        CleanUp();
        PrepareMachine();
    }
    void TearDown() override { CleanUp(); }

    // Both layouts, whatever the running family, so that a test can also see
    // that the other family's keys are left alone.
    void PrepareMachine() {
        // Windows 9x: adapters, their bindings and the TCP/IP class keys.
        auto adapter = [&](const std::string& number, const char* description, const char* binding) {
            const std::string key = "Enum\\Root\\Net\\" + number;
            machine_.PutText(key, "Class", "Net");
            if (description != nullptr) machine_.PutText(key, "DeviceDesc", description);
            machine_.PutText(key + "\\Bindings", "NETBEUI\\0000", "");
            machine_.PutText(key + "\\Bindings", binding, "");
        };
        adapter("0000", "Dial-Up Adapter", "MSTCP\\0000");
        adapter("0001", "NE2000 Compatible", "MSTCP\\0003");
        adapter("0002", nullptr, "MSTCP\\0001");
        adapter("0010", "Cable Modem", "MSTCP\\0004");
        for (const char* number : kBindings) {
            const std::string binding = std::string("Enum\\Network\\MSTCP\\") + number;
            machine_.PutText(binding, "DeviceDesc", "TCP/IP");
            machine_.PutText(binding, "Driver", std::string("NetTrans\\") + number);
            machine_.PutText(kClass + "\\NetTrans\\" + number, "DriverDesc", "TCP/IP");
        }
        machine_.Create(kMstcp);
        machine_.Create(kCache);
        // Windows NT: network cards (one without a service name) and interfaces.
        machine_.PutText(kCards + "ZvCard1", "ServiceName", "ZvEl90x1");
        machine_.PutText(kCards + "ZvCard2", "Description", "Card without service");
        machine_.PutText(kCards + "ZvCard3", "ServiceName", "ZvNdisWan");
        for (const char* key : kNtMtuKeys) machine_.PutText(kServices + key, "IPAddress", "0.0.0.0");
        machine_.Create(kTcpip);
        machine_.Create(kInternet);
    }

    void CleanUp() {
        for (const char* card : {"ZvCard1", "ZvCard2", "ZvCard3"}) {
            SHDeleteKeyA(HKEY_LOCAL_MACHINE, (kCards + card).c_str());
        }
        for (const char* service : {"ZvEl90x1", "ZvNdisWan", "{ZV-A1}", "{ZV-B2}"}) {
            SHDeleteKeyA(HKEY_LOCAL_MACHINE, (kServices + service).c_str());
        }
        for (const char* face : {"{ZV-A1}", "{ZV-B2}"}) {
            SHDeleteKeyA(HKEY_LOCAL_MACHINE, (kInterfaces + "\\" + face).c_str());
        }
        RemoveNineXKeys();
        machine_.DeleteValues(kMstcp, kMstcpNames);
        machine_.DeleteValues(kTcpip, kTcpipNames);
        machine_.DeleteValues(kInternet, kLimitNames);
    }

    std::string Dump() {
        std::vector<std::string> lines;
        for (const char* number : kBindings) {
            machine_.Collect(kClass + "\\NetTrans\\" + number, {"MaxMTU", "MaxMSS"}, &lines);
        }
        for (const char* key : kNtMtuKeys) machine_.Collect(kServices + key, {"MTU"}, &lines);
        machine_.Collect(kMstcp, kMstcpNames, &lines);
        machine_.Collect(kCache, {""}, &lines);
        machine_.Collect(kTcpip, kTcpipNames, &lines);
        machine_.Collect(kInternet, kLimitNames, &lines);
        return Lines(lines);
    }

    static std::string Lines(std::vector<std::string> lines) {
        std::sort(lines.begin(), lines.end());
        std::string text;
        for (const auto& line : lines) text += line + "\n";
        return text;
    }

    // What Apply of the "AUTO1" preset with "LAN-PPPoE" leaves on this family:
    // its window of 255552 scaled where Windows can, else 45 segments of 1452.
    std::vector<std::string> ExpectedAfterApply() const {
        std::vector<std::string> lines = {Dw(kInternet, "MaxConnectionsPer1_0Server", 16),
                                          Dw(kInternet, "MaxConnectionsPerServer", 8)};
        const bool scales = ScalesWindows(osName_);
        const DWORD window = scales ? 255552 : 65340;
        if (nt_) {
            for (const char* key : kNtMtuKeys) lines.push_back(Dw(kServices + key, "MTU", 1492));
            for (const char* name : {"GlobalMaxTcpWindoSize", "GlobalMaxTcpWindowSize", "TcpWindowSize"}) {
                lines.push_back(Dw(kTcpip, name, window));
            }
            if (scales) lines.push_back(Dw(kTcpip, "Tcp1323Opts", 1));
            lines.push_back(Dw(kTcpip, "DefaultTTL", 128));
            lines.push_back(Dw(kTcpip, "EnablePMTUDiscovery", 1));
            lines.push_back(Dw(kTcpip, "EnablePMTUBHDetect", 0));
            lines.push_back(Dw(kTcpip, "KeepAliveTime", 600000));
            return lines;
        }
        for (const char* driver : kBoundDrivers) {
            lines.push_back(Sz(kClass + "\\" + driver, "MaxMTU", "1492"));
            lines.push_back(Sz(kClass + "\\" + driver, "MaxMSS", "1452"));
        }
        // Windows 98 alone keeps texts; DefaultTTL is a text everywhere.
        const bool texts = osName_ == "Windows 98";
        auto value = [&](const char* name, const char* text, DWORD number) {
            return texts ? Sz(kMstcp, name, text) : Dw(kMstcp, name, number);
        };
        lines.push_back(value("DefaultRcvWindow", std::to_string(window).c_str(), window));
        if (scales) lines.push_back(value("Tcp1323Opts", "1", 1));
        lines.push_back(value("PMTUDiscovery", "1", 1));
        lines.push_back(value("PMTUBlackHoleDetect", "0", 0));
        lines.push_back(value("SessionKeepAlive", "600000", 600000));
        lines.push_back(Sz(kMstcp, "DefaultTTL", "128"));
        lines.push_back(Sz(kCache, "", "16"));
        return lines;
    }

    // The number of values the registry refused.
    int ApplyPresetFor(const char* mode, const char* connectionType) {
        config_.mode = mode;
        config_.connectionType = connectionType;
        ApplyPreset(config_);
        return engine_.ApplyTuning().refused;
    }

    std::string osName_;
    bool nt_ = false;
    Machine machine_;
    Win32Registry registry_;
    Win32Desktop desktop_;
    TuningConfig config_;
    TuningEngine engine_{registry_, desktop_, config_};
};

}  // namespace

TEST_F(TuningEngineVersioned, ApplyWritesTheCatalogueOfTheRunningFamilyAndRemoveTakesItBack) {
    ASSERT_EQ("", Dump());

    ApplyPresetFor("AUTO1", "LAN-PPPoE");
    EXPECT_EQ(Lines(ExpectedAfterApply()), Dump());

    engine_.RemoveTuning();
    // The 9x cache value stays behind, empty.
    EXPECT_EQ(nt_ ? "" : Lines({Sz(kCache, "", "")}), Dump());
}

TEST_F(TuningEngineVersioned, ZeroPresetRemovesTheMtuAndWindowValues) {
    ApplyPresetFor("AUTO1", "LAN-PPPoE");
    ApplyPresetFor("AUTO3", "DIAL-UP");

    std::vector<std::string> expected = ExpectedAfterApply();
    // "Windo" also catches the misspelt "GlobalMaxTcpWindoSize"; scaling goes with the window.
    const auto mtuOrWindow = [](const std::string& line) {
        const std::string name = line.substr(line.find("\\["));
        return name.find("MTU]") != std::string::npos || name.find("MSS]") != std::string::npos ||
               name.find("Windo") != std::string::npos || name.find("Tcp1323Opts") != std::string::npos;
    };
    expected.erase(std::remove_if(expected.begin(), expected.end(), mtuOrWindow), expected.end());
    EXPECT_EQ(Lines(expected), Dump());
}

// Wine enforces a key's access list on every version it reports: on the NT
// family the key does not open for writing, on 9x it opens and the write is
// refused. Either way the values are counted, and the rest is written.
TEST_F(TuningEngineVersioned, ValuesOfAKeyThatRefusesWritesAreCounted) {
    const std::string locked = nt_ ? kServices + kNtMtuKeys[2] : kClass + "\\" + kBoundDrivers[1];
    WriteProtectedKey protectedKey(locked);
    ASSERT_TRUE(protectedKey.ok());

    EXPECT_EQ(nt_ ? 1 : 2, ApplyPresetFor("AUTO1", "LAN-PPPoE"));
    std::vector<std::string> expected = ExpectedAfterApply();
    expected.erase(std::remove_if(expected.begin(), expected.end(),
                                  [&](const std::string& line) { return line.rfind(locked + "\\[", 0) == 0; }),
                   expected.end());
    EXPECT_EQ(Lines(expected), Dump());
}

namespace {

// What Current Settings shows: before an Apply, its "After Apply" is what the
// Apply leaves; after it, every row is unmarked and "Now" is that value.
TEST_F(TuningEngineVersioned, CurrentSettingsForeseesTheApplyAndThenShowsIt) {
    config_.mode = "AUTO1";
    config_.connectionType = "LAN-PPPoE";
    ApplyPreset(config_);
    const CurrentSettings before = CurrentSettings::Read(registry_, desktop_, config_, "");
    ASSERT_EQ(0, engine_.ApplyTuning().refused);
    const CurrentSettings after = CurrentSettings::Read(registry_, desktop_, config_, "");
    std::cout << after.Rows().size() << " rows on " << GetOsName(desktop_) << "\n";
    ASSERT_EQ(before.Rows().size(), after.Rows().size());
    for (std::size_t i = 0; i < after.Rows().size(); ++i) {
        EXPECT_EQ(before.Rows()[i].afterApply, after.Rows()[i].now) << after.Rows()[i].where;
        EXPECT_FALSE(after.Rows()[i].differs) << after.Rows()[i].where;
    }
    engine_.RemoveTuning();
}

}  // namespace
