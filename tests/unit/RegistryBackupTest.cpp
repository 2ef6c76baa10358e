#include "tuning/RegistryBackup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kInstall[] = "C:\\Program Files\\Zarvo\\";

TEST(RegistryBackup, TheNtFamilyIsToldHowToUseItsOwnTool) {
    const struct {
        const char* osName;
        const char* text;
    } cases[] = {
        {"Windows NT",
         "In order to backup your registry file we recommend\nto use Windows NT build in backup program (RDISK).\n\n"
         "1. Insert a floppy disk into drive A: \n2. Go to 'Start'  -> 'Run'\n"
         "3. Write  rdisk.exe /s  and press Enter key.\n"
         "4. Answer 'Yes' to the 'Make An Emergency Repair Disk' question.  "},
        {"Windows 2000",
         "In order to backup your registry file we recommend\nto use Windows 2000 build in backup program.\n\n"
         "1. Click Start, point to Programs, point to Accessories,\n"
         "    point to System Tools, and then click Backup.\n"
         "2. On the Tools menu, click Create an Emergency Repair Disk.\n"
         "3. Insert a blank, formatted disk in drive A, and then click OK."},
        {"Windows XP",
         "In order to backup your registry file we recommend\nto use Windows XP build in backup program.\n\n"
         "1. Click Start, point to Programs, point to Accessories,\n"
         "    point to System Tools, and then click Backup.\n"
         "2. On the Tools menu, click Create ASR Wizard.\n"
         "3. Follow the instructions that appear on your screen."},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, RegistryBackupInstructions(c.osName)) << c.osName;
    // Every other name takes the copies.
    for (const char* osName : {"Windows 95", "Windows 98", "Windows Me", "Unknown", "Win32s", "", "windows xp"}) {
        EXPECT_EQ("", RegistryBackupInstructions(osName)) << osName;
    }
}

TEST(RegistryBackup, BothFilesAreCopiedIntoRegBakThroughNamesOfTheirOwn) {
    const RegistryBackupPlan plan = PlanRegistryBackup("C:\\WINDOWS", kInstall);
    EXPECT_EQ("C:\\Program Files\\Zarvo\\RegBak", plan.folder);
    ASSERT_EQ(2u, plan.files.size());
    EXPECT_EQ("C:\\WINDOWS\\system.dat", plan.files[0].source);
    EXPECT_EQ("C:\\Program Files\\Zarvo\\RegBak\\system.dat", plan.files[0].destination);
    EXPECT_EQ("C:\\WINDOWS\\user.dat", plan.files[1].source);
    EXPECT_EQ("C:\\Program Files\\Zarvo\\RegBak\\user.dat", plan.files[1].destination);
    for (const BackupFile& file : plan.files) {
        // The copy is made beside the backup, under a name of its own.
        EXPECT_EQ(0u, file.temporary.find(plan.folder + "\\")) << file.temporary;
        EXPECT_NE(file.destination, file.temporary);
    }
    EXPECT_NE(plan.files[0].temporary, plan.files[1].temporary);
}

TEST(RegistryBackup, TheWindowsDirectoryGetsOneBackslash) {
    for (const char* directory : {"C:\\WINDOWS", "C:\\WINDOWS\\"}) {
        EXPECT_EQ("C:\\WINDOWS\\system.dat", PlanRegistryBackup(directory, kInstall).files[0].source) << directory;
    }
    EXPECT_EQ("C:\\user.dat", PlanRegistryBackup("C:\\", kInstall).files[1].source);
}

TEST(RegistryBackup, SuccessOnlyWhenBothFilesWereCopied) {
    const RegistryBackupPlan plan = PlanRegistryBackup("C:\\WINDOWS", kInstall);
    const RegistryBackupMessage success = RegistryBackupResult(plan, std::vector<BackupFailure>());
    EXPECT_EQ("Registry backup was successfully created. ", success.text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), success.icon);

    const RegistryBackupMessage partial = RegistryBackupResult(plan, std::vector<BackupFailure>{{"C:\\WINDOWS\\user.dat"}});
    EXPECT_EQ("Registry backup could not copy into C:\\Program Files\\Zarvo\\RegBak:\n\nC:\\WINDOWS\\user.dat",
              partial.text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), partial.icon);

    const RegistryBackupMessage none = RegistryBackupResult(
        plan, std::vector<BackupFailure>{{"C:\\WINDOWS\\system.dat", false}, {"C:\\WINDOWS\\user.dat", true}});
    EXPECT_EQ("Registry backup could not copy into C:\\Program Files\\Zarvo\\RegBak:\n\n"
              "C:\\WINDOWS\\system.dat\nC:\\WINDOWS\\user.dat (RegBak still holds its older copy)",
              none.text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), none.icon);
}

}  // namespace
