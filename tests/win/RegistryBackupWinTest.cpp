// The registry backup's copies on the real file system: a folder standing in
// for the Windows directory, another for the install folder.
#include "configurator/RegistryBackupFiles.h"
#include "tuning/OsName.h"
#include "tuning/RegistryBackup.h"
#include "win32/Win32Desktop.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

using namespace zartune;

namespace {

constexpr DWORD kProtection = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

class RegistryBackupFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        windows_ = std::string(temp) + "ZvBackupWindows";
        install_ = std::string(temp) + "ZvBackupInstall\\";
        TearDown();
        CreateDirectoryA(windows_.c_str(), nullptr);
        CreateDirectoryA(install_.c_str(), nullptr);
        plan_ = PlanRegistryBackup(windows_, install_);
    }

    void TearDown() override {
        for (const char* name : {"system.dat", "user.dat"}) {
            for (const std::string& path : {windows_ + "\\" + name, Backup(name), Backup(name) + ".new",
                                             Backup(name) + ".old"}) {
                Remove(path);
            }
        }
        RemoveDirectoryA((install_ + "RegBak").c_str());
        RemoveDirectoryA(install_.c_str());
        RemoveDirectoryA(windows_.c_str());
    }

    static void Remove(const std::string& path) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
    static void Write(const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::string Read(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        if (!file) return "<missing>";
        std::ostringstream content;
        content << file.rdbuf();
        return content.str();
    }
    std::string Backup(const char* name) const { return install_ + "RegBak\\" + name; }
    std::string Source(const char* name) const { return windows_ + "\\" + name; }
    void PlantSources() {
        Write(Source("system.dat"), "system registry, today");
        Write(Source("user.dat"), "user registry, today");
        // As Windows keeps them.
        SetFileAttributesA(Source("system.dat").c_str(), kProtection);
        SetFileAttributesA(Source("user.dat").c_str(), kProtection);
    }
    void PlantEarlierBackup() {
        CreateDirectoryA((install_ + "RegBak").c_str(), nullptr);
        for (const char* name : {"system.dat", "user.dat"}) {
            Write(Backup(name), std::string("earlier ") + name);
            SetFileAttributesA(Backup(name).c_str(), kProtection);
        }
    }

    std::string windows_;
    std::string install_;
    RegistryBackupPlan plan_;
};

TEST_F(RegistryBackupFilesTest, CopiesBothFilesIntoANewRegBakFolder) {
    PlantSources();
    EXPECT_TRUE(RegistryBackupFiles::BackUp(plan_).empty());
    EXPECT_EQ("system registry, today", Read(Backup("system.dat")));
    EXPECT_EQ("user registry, today", Read(Backup("user.dat")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((Backup("system.dat") + ".new").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((Backup("user.dat") + ".new").c_str()));
}

TEST_F(RegistryBackupFilesTest, AReadOnlyHiddenEarlierBackupIsReplaced) {
    PlantSources();
    PlantEarlierBackup();
    EXPECT_TRUE(RegistryBackupFiles::BackUp(plan_).empty());
    EXPECT_EQ("system registry, today", Read(Backup("system.dat")));
    EXPECT_EQ("user registry, today", Read(Backup("user.dat")));
    // And so is the one after it, which carries the attributes the copy took over.
    Write(Source("user.dat"), "user registry, tomorrow");
    EXPECT_TRUE(RegistryBackupFiles::BackUp(plan_).empty());
    EXPECT_EQ("user registry, tomorrow", Read(Backup("user.dat")));
    // The earlier copy stepped aside while the new one took its place, and is gone.
    for (const char* name : {"system.dat", "user.dat"}) {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((Backup(name) + ".old").c_str())) << name;
    }
}

TEST_F(RegistryBackupFilesTest, AMissingSourceIsNamedAndItsEarlierBackupStays) {
    PlantSources();
    PlantEarlierBackup();
    Remove(Source("user.dat"));
    const std::vector<BackupFailure> failed = RegistryBackupFiles::BackUp(plan_);
    ASSERT_EQ(1u, failed.size());
    EXPECT_EQ(Source("user.dat"), failed[0].source);
    EXPECT_TRUE(failed[0].olderKept);
    EXPECT_EQ("system registry, today", Read(Backup("system.dat")));
    EXPECT_EQ("earlier user.dat", Read(Backup("user.dat")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((Backup("user.dat") + ".new").c_str()));

    const RegistryBackupMessage message = RegistryBackupResult(plan_, failed);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), message.icon);
    EXPECT_NE(std::string::npos, message.text.find(Source("user.dat")));
    EXPECT_EQ(std::string::npos, message.text.find(Source("system.dat")));
}

TEST_F(RegistryBackupFilesTest, ACopyThatFailsKeepsTheEarlierBackup) {
    PlantSources();
    PlantEarlierBackup();
    // Held open with no sharing, the source cannot be read.
    HANDLE held = CreateFileA(Source("system.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    const std::vector<BackupFailure> failed = RegistryBackupFiles::BackUp(plan_);
    CloseHandle(held);
    ASSERT_EQ(1u, failed.size());
    EXPECT_EQ(Source("system.dat"), failed[0].source);
    EXPECT_EQ("earlier system.dat", Read(Backup("system.dat")));
    EXPECT_EQ("user registry, today", Read(Backup("user.dat")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((Backup("system.dat") + ".new").c_str()));
}

TEST_F(RegistryBackupFilesTest, ACopyThatCannotTakeItsPlaceLeavesTheEarlierOneProtected) {
    PlantSources();
    PlantEarlierBackup();
    const DWORD earlier = GetFileAttributesA(Backup("user.dat").c_str());
    // A folder stands where the earlier copy would step aside.
    ASSERT_TRUE(CreateDirectoryA((Backup("user.dat") + ".old").c_str(), nullptr));
    const std::vector<BackupFailure> failed = RegistryBackupFiles::BackUp(plan_);
    RemoveDirectoryA((Backup("user.dat") + ".old").c_str());
    ASSERT_EQ(1u, failed.size());
    EXPECT_TRUE(failed[0].olderKept);
    EXPECT_EQ(earlier, GetFileAttributesA(Backup("user.dat").c_str()));
}

TEST_F(RegistryBackupFilesTest, CopiesAStoppedRunLeftAsideAreNeitherLostNorInTheWay) {
    PlantSources();
    PlantEarlierBackup();
    // user.dat's earlier copy only aside, and nothing to copy; a protected stale copy beside system.dat.
    Remove(Source("user.dat"));
    MoveFileA(Backup("user.dat").c_str(), (Backup("user.dat") + ".old").c_str());
    CopyFileA(Backup("system.dat").c_str(), (Backup("system.dat") + ".old").c_str(), FALSE);
    const std::vector<BackupFailure> failed = RegistryBackupFiles::BackUp(plan_);
    ASSERT_EQ(1u, failed.size());
    EXPECT_TRUE(failed[0].olderKept);
    EXPECT_EQ("earlier user.dat", Read(Backup("user.dat")));
    EXPECT_EQ("system registry, today", Read(Backup("system.dat")));
}

// On each Windows version: the real name chooses the path.
TEST(RegistryBackupVersioned, TheRunningSystemChoosesCopiesOrInstructions) {
    const char* expected = std::getenv("ZV_EXPECT_OS");
    ASSERT_NE(nullptr, expected) << "ZV_EXPECT_OS is not set";
    Win32Desktop desktop;
    const std::string osName = GetOsName(desktop);
    ASSERT_EQ(expected, osName);
    const std::string instructions = RegistryBackupInstructions(osName);
    EXPECT_EQ(IsNtFamily(osName), instructions.find("build in backup program") != std::string::npos) << osName;
    EXPECT_EQ(!IsNtFamily(osName), instructions.empty()) << osName;
    // Where the 9x family keeps its registry files; the prefix's, on every version.
    EXPECT_EQ(0, lstrcmpiA("C:\\windows", desktop.WindowsDirectory().c_str())) << desktop.WindowsDirectory();
}

}  // namespace
