// The store and the guards on the real Wine registry.
#include "common/ProductInfo.h"
#include "tests/win/WriteProtectedKey.h"
#include "win32/Win32Desktop.h"
#include "win32/Win32Registry.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

namespace {

const char* kProduct = "SOFTWARE\\Orvenda Ltd\\Zarvo";
const char* kRun = "SOFTWARE\\MICROSOFT\\WINDOWS\\CurrentVersion\\Run";
const char* kRunServices = "SOFTWARE\\MICROSOFT\\WINDOWS\\CurrentVersion\\RunServices";

class ProductServicesWin : public ::testing::Test {
protected:
    void SetUp() override { SHDeleteKeyA(HKEY_LOCAL_MACHINE, kProduct); }
    void TearDown() override { SHDeleteKeyA(HKEY_LOCAL_MACHINE, kProduct); }

    Win32Registry registry;
    Win32Desktop desktop;
    SettingsStore store{registry};
};

TEST_F(ProductServicesWin, StoreRoundTripsBothForms) {
    EXPECT_TRUE(store.WriteString("Install", "Folder", "C:\\Program Files\\Zarvo", false));
    EXPECT_TRUE(store.WriteString("UndoRegular", "PingHost", "http://host.example/\xAE", true));
    EXPECT_TRUE(store.WriteInt("UndoRegular", "PingInterval", -1, true));
    EXPECT_EQ("C:\\Program Files\\Zarvo", store.ReadString("Install", "Folder", "", false));
    EXPECT_EQ("http://host.example/\xAE", store.ReadString("UndoRegular", "PingHost", "", true));
    EXPECT_EQ(-1, store.ReadInt("UndoRegular", "PingInterval", 5, true));

    // What the other program sees is what the registry holds: a REG_SZ named in plain text.
    char data[64] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    ASSERT_EQ(ERROR_SUCCESS, SHGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvenda Ltd\\Zarvo\\Install", "Folder",
                                         &type, data, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_STREQ("C:\\Program Files\\Zarvo", data);

    // The scrambled section is named by its encoding.
    const std::string section = std::string(kProduct) + "\\" + SettingsStore::ScrambleText("UndoRegular", false);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, section.c_str(), 0, KEY_READ, &key));
    RegCloseKey(key);
}

TEST_F(ProductServicesWin, TextWithoutTerminatorIsCutAtTheDataEnd) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvenda Ltd\\Zarvo\\S", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const std::string full(1000, 'x');
    RegSetValueExA(key, "Full", 0, REG_SZ, reinterpret_cast<const BYTE*>(full.data()), 1000);
    RegSetValueExA(key, "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("17"), 2);
    const std::string tooLong(1500, 'y');
    RegSetValueExA(key, "Long", 0, REG_SZ, reinterpret_cast<const BYTE*>(tooLong.c_str()), 1501);
    // Windows hands back the 1000 bytes as they are; Wine asks for room for a
    // terminator. Either way the store returns no more than the data.
    char buffer[1000];
    DWORD size = sizeof buffer;
    const LONG query = RegQueryValueExA(key, "Full", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    EXPECT_EQ(query == ERROR_SUCCESS ? full : "absent", store.ReadString("S", "Full", "absent", false));
    EXPECT_EQ(17, store.ReadInt("S", "Bare", 0, false));
    EXPECT_EQ("absent", store.ReadString("S", "Long", "absent", false));
}

TEST_F(ProductServicesWin, MissingRunKeyCountsAsPermission) {
    ProductInfo product(registry, desktop);
    ASSERT_TRUE(product.CanWriteMachineSettings());
    // The prefix is throwaway: take the key away, ask again, put it back.
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRun, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, SHDeleteKeyA(HKEY_LOCAL_MACHINE, kRun));
    EXPECT_TRUE(product.CanWriteMachineSettings());
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRun, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegCloseKey(key);
}

TEST_F(ProductServicesWin, AutostartWritesOnlyExistingKeys) {
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kRunServices);
    ProductInfo product(registry, desktop);
    product.RegisterAutostart(" /auto");
    char data[MAX_PATH + 16] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    ASSERT_EQ(ERROR_SUCCESS, SHGetValueA(HKEY_LOCAL_MACHINE, kRun, "Detect", &type, data, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_STREQ(("\"" + std::string(module) + "\" /auto").c_str(), data);
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunServices, 0, KEY_READ, &key));
    SHDeleteValueA(HKEY_LOCAL_MACHINE, kRun, "Detect");
}

// Every version: NT refuses to open the section for writing, 9x opens it and
// refuses the value. Either way the write says so.
class StoreVersioned : public ProductServicesWin {};

TEST_F(StoreVersioned, AWriteTheRegistryRefusesIsFalseAndLeavesNothing) {
    ASSERT_TRUE(store.WriteString("Install", "Other", "kept", false));
    WriteProtectedKey protectedSection(std::string(kProduct) + "\\Install");
    ASSERT_TRUE(protectedSection.ok());
    EXPECT_FALSE(store.WriteString("Install", "Folder", "C:\\Zarvo", false));
    EXPECT_FALSE(store.WriteInt("Install", "Count", 3, false));
    EXPECT_EQ("<none>", store.ReadString("Install", "Folder", "<none>", false));
    EXPECT_EQ("kept", store.ReadString("Install", "Other", "<none>", false));
}

}  // namespace
