// The previous-settings record on the real Wine registry, under every Windows
// version Wine reports: values of our own in every tuned location, two
// different presets applied one after the other by the configurator's
// controller, then Restore Previous Settings; every location must then hold
// exactly what it held, type and bytes. On the NT family the record's file is
// also imported with regedit.
#include "common/SettingsStore.h"
#include "configurator/ConfigurationFile.h"
#include "configurator/PreviousSettingsFile.h"
#include "configurator/TuningController.h"
#include "configurator/Win32ConfiguratorFiles.h"
#include "resources/zartune_ids.h"
#include "tests/support/FakeTuningView.h"
#include "tests/win/TunedKeys.h"
#include "tuning/OsName.h"
#include "win32/Win32Desktop.h"
#include "win32/Win32Registry.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

using namespace tunedkeys;

const char* const kServiceNames[] = {"ZvPrevCard", "{ZV-P1}", "{ZV-P2}"};
const char* const kInterfaceNames[] = {"{ZV-P1}", "{ZV-P2}"};

std::vector<BYTE> Text(const std::string& text) {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    return data;
}
std::vector<BYTE> Number(DWORD n) {
    return {static_cast<BYTE>(n), static_cast<BYTE>(n >> 8), static_cast<BYTE>(n >> 16), static_cast<BYTE>(n >> 24)};
}

void Put(const std::string& path, const std::string& name, DWORD type, const std::vector<BYTE>& data) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr))
        << path;
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())));
    RegCloseKey(key);
}

void DeleteValues(const std::string& path, const Names& names) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    for (const std::string& name : names) RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}

// One line per location, straight from the registry: "absent", or the type
// and every byte.
std::string DumpLine(const RegLocation& location) {
    std::string line = location.path + "\\[" + location.name + "] ";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, location.path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return line + "no key";
    }
    BYTE data[4096];
    DWORD size = sizeof data;
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, location.name.c_str(), nullptr, &type, data, &size);
    RegCloseKey(key);
    if (result == ERROR_FILE_NOT_FOUND) return line + "absent";
    if (result != ERROR_SUCCESS) return line + "error " + std::to_string(result);
    line += "type " + std::to_string(type) + ":";
    for (DWORD i = 0; i < size; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02x", data[i]);
        line += hex;
    }
    return line;
}

// The real desktop, but the message boxes are answered from a script and no
// restart is ever requested.
class AnsweringDesktop : public Win32Desktop {
public:
    int ShowMessageBox(WindowRef, const std::string& text, const std::string&, UINT) override {
        texts.push_back(text);
        if (answers.empty()) return IDOK;
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    void RequestExit(UINT) override { ADD_FAILURE() << "restart requested"; }

    std::vector<int> answers;
    std::vector<std::string> texts;
};

class PreviousSettingsVersioned : public ::testing::Test {
protected:
    void SetUp() override {
        const char* expected = std::getenv("ZV_EXPECT_OS");
        ASSERT_NE(nullptr, expected) << "ZV_EXPECT_OS is not set";
        ASSERT_EQ(expected, GetOsName(desktop_));
        nt_ = IsNtFamily(desktop_);
        char temp[MAX_PATH];
        ASSERT_NE(0u, GetTempPathA(sizeof temp, temp));
        folder_ = std::string(temp) + "zv-previous-test";
        CreateDirectoryA(folder_.c_str(), nullptr);
        filePath_ = folder_ + "\\" + PreviousSettingsFile::kFileName;
        copyPath_ = folder_ + "\\copy.reg";
        previousFolder_ = store_.ReadString("Install", "Folder", "", false);
        store_.WriteString("Install", "Folder", folder_, false);
        CleanUp();
        Prepare();
    }
    void TearDown() override {
        CleanUp();
        store_.WriteString("Install", "Folder", previousFolder_, false);
        DeleteFileA(filePath_.c_str());
        DeleteFileA(copyPath_.c_str());
        // Apply saved the form there too, protected.
        const std::string configuration = folder_ + "\\" + ConfigurationFile::kFileName;
        SetFileAttributesA(configuration.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(configuration.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    // Values as a provider, a driver or an administrator may have left them:
    // texts (some with bytes of the ANSI code page's upper half), numbers,
    // binaries and an expandable text, and gaps, on both layouts.
    void Prepare() {
        // Windows 9x: two adapters bound to TCP/IP, each with its class key.
        for (const char* number : {"0000", "0001"}) {
            const std::string adapter = std::string("Enum\\Root\\Net\\") + number;
            Put(adapter, "DeviceDesc", REG_SZ, Text("Adapter"));
            Put(adapter + "\\Bindings", std::string("MSTCP\\") + number, REG_SZ, Text(""));
            Put(std::string("Enum\\Network\\MSTCP\\") + number, "Driver", REG_SZ,
                Text(std::string("NetTrans\\") + number));
        }
        Put(kClass + "\\NetTrans\\0000", "MaxMTU", REG_SZ, Text("1492"));
        Put(kClass + "\\NetTrans\\0000", "MaxMSS", REG_BINARY, {0xac, 0x05});
        Put(kClass + "\\NetTrans\\0001", "DriverDesc", REG_SZ, Text("TCP/IP"));
        Put(kMstcp, "DefaultTTL", REG_SZ, Text("64"));
        Put(kMstcp, "PMTUDiscovery", REG_DWORD, Number(1));
        Put(kMstcp, "SessionKeepAlive", REG_SZ, Text("Fr\xe9quence \"r\xe9seau\" \\ 7200000"));
        Put(kCache, "", REG_SZ, Text("32"));
        // Windows NT: a network card and two interfaces, one also a service.
        Put(kCards + "ZvPrevCard", "ServiceName", REG_SZ, Text("ZvPrevCard"));
        Put(kServices + "ZvPrevCard\\Parameters\\Tcpip", "MTU", REG_DWORD, Number(1492));
        Put(kServices + "{ZV-P1}\\Parameters\\Tcpip", "IPAddress", REG_SZ, Text("0.0.0.0"));
        Put(kInterfaces + "\\{ZV-P1}", "MTU", REG_SZ, Text("1400 \xab\xe9\xff\" \\"));
        Put(kInterfaces + "\\{ZV-P2}", "IPAddress", REG_SZ, Text("0.0.0.0"));
        Put(kTcpip, "TcpWindowSize", REG_BINARY, {0xff, 0xff, 0, 0, 0x01});
        Put(kTcpip, "DefaultTTL", REG_DWORD, Number(64));
        Put(kTcpip, "KeepAliveTime", 2 /* REG_EXPAND_SZ */, Text("%ZV_KEEPALIVE%"));
        Put(kInternet, "MaxConnectionsPerServer", REG_DWORD, Number(4));
    }

    void CleanUp() {
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, (kCards + "ZvPrevCard").c_str());
        for (const char* service : kServiceNames) SHDeleteKeyA(HKEY_LOCAL_MACHINE, (kServices + service).c_str());
        for (const char* face : kInterfaceNames) {
            SHDeleteKeyA(HKEY_LOCAL_MACHINE, (kInterfaces + "\\" + face).c_str());
        }
        RemoveNineXKeys();
        DeleteValues(kMstcp, kMstcpNames);
        DeleteValues(kTcpip, kTcpipNames);
        DeleteValues(kInternet, kLimitNames);
    }

    // Every location the Remove sequence of the running family touches here.
    std::vector<RegLocation> Locations() const {
        std::vector<RegLocation> locations;
        auto add = [&](const std::string& path, const std::string& name) { locations.push_back({path, name}); };
        if (nt_) {
            add(kServices + "ZvPrevCard\\Parameters\\Tcpip", "MTU");
            // {ZV-P2} has no service key, so the walk finds it once.
            add(kInterfaces + "\\{ZV-P1}", "MTU");
            add(kServices + "{ZV-P1}\\Parameters\\Tcpip", "MTU");
            add(kInterfaces + "\\{ZV-P2}", "MTU");
            for (const std::string& name : kTcpipNames) add(kTcpip, name);
        } else {
            for (const char* number : {"0000", "0001"}) {
                add(kClass + "\\NetTrans\\" + number, "MaxMTU");
                add(kClass + "\\NetTrans\\" + number, "MaxMSS");
            }
            for (const std::string& name : kMstcpNames) add(kMstcp, name);
            add(kCache, "");
        }
        for (const std::string& name : kLimitNames) add(kInternet, name);
        return locations;
    }

    std::string Dump() const {
        std::string text;
        for (const RegLocation& location : Locations()) text += DumpLine(location) + "\n";
        return text;
    }

    // Apply as the user runs it (list positions), answering No to the restart.
    void Apply(int mode, int connectionType) {
        view_.form.connectionType = connectionType;
        controller_.OnConnectionTypeChosen(connectionType);
        view_.form.mode = mode;
        controller_.OnModeChosen(mode);
        desktop_.answers = {IDNO};
        const std::size_t shown = desktop_.texts.size();
        controller_.ApplySettings();
        for (std::size_t i = shown; i < desktop_.texts.size(); ++i) {
            EXPECT_EQ(std::string::npos, desktop_.texts[i].find("could not")) << desktop_.texts[i];
        }
    }

    bool nt_ = false;
    std::string folder_;
    std::string filePath_;
    std::string copyPath_;
    std::string previousFolder_;
    Win32Registry registry_;
    SettingsStore store_{registry_};
    AnsweringDesktop desktop_;
    ProductInfo product_{registry_, desktop_};
    FakeTuningView view_;
    zartune::Win32ConfiguratorFiles files_;
    TuningController controller_{product_, registry_, desktop_, files_, view_};
};

bool ImportWithRegedit(const std::string& file) {
    std::string command = "regedit.exe /s \"" + file + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0;
}

}  // namespace

TEST_F(PreviousSettingsVersioned, RestoreGivesBackEveryValueAsItWasBeforeTheFirstApply) {
    const std::string before = Dump();
    const std::size_t compared = Locations().size();
    ASSERT_EQ(std::string::npos, before.find("no key")) << before;
    std::cout << "comparing " << compared << " values on " << GetOsName(desktop_) << "\n";
    EXPECT_FALSE(controller_.CommandEnabled(ID_FILE_RESTORE_PREVIOUS));

    Apply(0, 2);  // Automatic #1, PPPoE
    const std::string afterFirst = Dump();
    Apply(2, 0);  // Automatic #3, dial-up
    ASSERT_NE(before, afterFirst);
    ASSERT_NE(afterFirst, Dump());
    ASSERT_TRUE(controller_.CommandEnabled(ID_FILE_RESTORE_PREVIOUS));
    // The record holds every location, once.
    PreviousSettings record;
    ASSERT_EQ(PreviousSettingsFile::LoadResult::Loaded, PreviousSettingsFile(files_, filePath_).Load(&record));
    EXPECT_EQ(compared, record.Values().size());
    ASSERT_TRUE(CopyFileA(filePath_.c_str(), copyPath_.c_str(), FALSE));

    desktop_.answers = {IDYES, IDNO};
    ASSERT_TRUE(controller_.RunCommand(ID_FILE_RESTORE_PREVIOUS));
    ASSERT_EQ(3u + 2u + 2u, desktop_.texts.size());
    EXPECT_EQ(0u, desktop_.texts[5].find("Your previous settings were successfully restored.")) << desktop_.texts[5];
    EXPECT_EQ(before, Dump());
    EXPECT_FALSE(PreviousSettingsFile(files_, filePath_).Exists());
    EXPECT_FALSE(controller_.CommandEnabled(ID_FILE_RESTORE_PREVIOUS));

    if (nt_) {
        Apply(1, 1);
        ASSERT_NE(before, Dump());
        ASSERT_TRUE(ImportWithRegedit(copyPath_));
        EXPECT_EQ(before, Dump());
    }
}

// Renamed but never deleted, a read-only record would leave a stale copy aside.
TEST(PreviousSettingsFileWin, AReadOnlyRecordIsKeptWithNothingBesideIt) {
    zartune::Win32ConfiguratorFiles files;
    const std::string path = "zv-read-only.reg";
    const PreviousValue ttl{kTcpip, "DefaultTTL", false, {}};
    EXPECT_TRUE(PreviousSettingsFile(files, path).Save(PreviousSettings({ttl}), "first"));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(PreviousSettingsFile(files, path).Save(PreviousSettings({ttl, {kTcpip, "MTU", false, {}}}), "second"));
    PreviousSettings record;
    EXPECT_EQ(PreviousSettingsFile::LoadResult::Loaded, PreviousSettingsFile(files, path).Load(&record));
    EXPECT_EQ(1u, record.Values().size());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path + ".old").c_str()));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}
