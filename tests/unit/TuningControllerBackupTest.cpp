// The frame's Registry Backup and keep-alive commands, as the controller
// carries them out.
#include "configurator/TuningController.h"
#include "resources/zartune_ids.h"
#include "tests/support/FakeConfiguratorFiles.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeTuningView.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct BackupRig {
    BackupRig(DWORD platform, DWORD major, DWORD minor) {
        desktop.SetVersion(platform, major, minor);
        desktop.windowsDirectory = "C:\\WINDOWS";
        registry.PutString(RegRoot::LocalMachine, "SOFTWARE\\Orvenda Ltd\\Zarvo\\Install", "Folder",
                           "C:\\Program Files\\Zarvo");
    }

    MemoryRegistry registry;
    FakeDesktop desktop;
    ProductInfo product{registry, desktop};
    FakeTuningView view;
    FakeConfiguratorFiles files;
    TuningController controller{product, registry, desktop, files, view};
};

TEST(TuningControllerBackup, TheNtFamilyIsToldHowAndNothingIsCopied) {
    const struct {
        DWORD major, minor;
        const char* firstLine;
    } systems[] = {{4, 0, "Windows NT"}, {5, 0, "Windows 2000"}, {5, 1, "Windows XP"}};
    for (const auto& system : systems) {
        BackupRig rig(VER_PLATFORM_WIN32_NT, system.major, system.minor);
        EXPECT_TRUE(rig.controller.RunCommand(ID_FILE_BACKUP));
        EXPECT_EQ((std::vector<std::string>{"wait", "end wait"}), rig.view.events) << system.firstLine;
        ASSERT_EQ(1u, rig.desktop.messageBoxes.size());
        const auto& box = rig.desktop.messageBoxes[0];
        EXPECT_EQ(RegistryBackupInstructions(system.firstLine), box.text);
        EXPECT_NE(std::string::npos, box.text.find(std::string("to use ") + system.firstLine + " build in"));
        EXPECT_EQ("Zarvo 2003", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), box.type);
        EXPECT_EQ(rig.view.owner, box.owner);
    }
}

TEST(TuningControllerBackup, EveryOtherSystemCopiesIntoTheInstallFolderUnderTheWaitCursor) {
    const struct {
        DWORD platform, major, minor;
    } systems[] = {{VER_PLATFORM_WIN32_WINDOWS, 4, 10},  // Windows 98
                   {VER_PLATFORM_WIN32_WINDOWS, 4, 90},  // Windows Me
                   {VER_PLATFORM_WIN32s, 3, 1},
                   {VER_PLATFORM_WIN32_NT, 6, 0}};       // "Unknown"
    for (const auto& system : systems) {
        BackupRig rig(system.platform, system.major, system.minor);
        rig.controller.BackupRegistry();
        EXPECT_EQ((std::vector<std::string>{"wait", "end wait"}), rig.view.events) << system.minor;
        ASSERT_EQ(1u, rig.files.copiedPlans.size());
        const RegistryBackupPlan& plan = rig.files.copiedPlans[0];
        EXPECT_EQ("C:\\Program Files\\Zarvo\\RegBak", plan.folder);
        ASSERT_EQ(2u, plan.files.size());
        EXPECT_EQ("C:\\WINDOWS\\system.dat", plan.files[0].source);
        EXPECT_EQ("C:\\WINDOWS\\user.dat", plan.files[1].source);
        ASSERT_EQ(1u, rig.desktop.messageBoxes.size());
        EXPECT_EQ("Registry backup was successfully created. ", rig.desktop.messageBoxes[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), rig.desktop.messageBoxes[0].type);
        EXPECT_EQ(rig.view.owner, rig.desktop.messageBoxes[0].owner);
    }
}

TEST(TuningControllerBackup, FilesNotCopiedAreNamedInAnExclamation) {
    BackupRig rig(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    rig.desktop.windowsDirectory = "C:\\WINDOWS\\";
    rig.files.failedCopies = {{"C:\\WINDOWS\\system.dat", false}, {"C:\\WINDOWS\\user.dat", true}};
    rig.controller.BackupRegistry();
    ASSERT_EQ(1u, rig.desktop.messageBoxes.size());
    const auto& box = rig.desktop.messageBoxes[0];
    EXPECT_EQ("Registry backup could not copy into C:\\Program Files\\Zarvo\\RegBak:\n\n"
              "C:\\WINDOWS\\system.dat\nC:\\WINDOWS\\user.dat (RegBak still holds its older copy)",
              box.text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), box.type);
    EXPECT_EQ("Zarvo 2003", box.caption);
}

TEST(TuningControllerBackup, WithoutAnInstallFolderNothingIsCopied) {
    BackupRig rig(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    rig.registry.PutString(RegRoot::LocalMachine, "SOFTWARE\\Orvenda Ltd\\Zarvo\\Install", "Folder", "");
    rig.controller.BackupRegistry();
    EXPECT_EQ((std::vector<std::string>{"wait", "end wait"}), rig.view.events);
    ASSERT_EQ(1u, rig.desktop.messageBoxes.size());
    EXPECT_EQ("Zarvo 2003 - Severe Error", rig.desktop.messageBoxes[0].caption);
}

TEST(TuningControllerBackup, BackupAndKeepAliveAreCommandsOfTheFrame) {
    BackupRig rig(VER_PLATFORM_WIN32_NT, 5, 1);
    for (unsigned id : {ID_FILE_BACKUP, ID_FILE_EVERTIE}) {
        EXPECT_TRUE(rig.controller.OwnsCommand(id)) << id;
        EXPECT_TRUE(rig.controller.CommandEnabled(id)) << id;
    }
    EXPECT_TRUE(rig.controller.RunCommand(ID_FILE_EVERTIE));
    EXPECT_EQ(std::vector<std::string>{"keep-alive"}, rig.view.events);
    // No guard: the main window had one before it opened.
    EXPECT_TRUE(rig.desktop.messageBoxes.empty());
}

}  // namespace
