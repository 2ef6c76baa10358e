#include "configurator/ConfiguratorStartup.h"
#include "tests/support/FakeDesktop.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace {

const char kRunKey[] = "SOFTWARE\\MICROSOFT\\WINDOWS\\CurrentVersion\\Run";
const char kTcpip[] = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";

class ConfiguratorStartupTest : public ::testing::Test {
protected:
    ConfiguratorStartupTest() {
        registry.PutString(RegRoot::LocalMachine, "SOFTWARE\\Orvenda Ltd\\Zarvo\\Install", "Folder",
                           "C:\\Program Files\\Zarvo");
        registry.AddKey(RegRoot::LocalMachine, kRunKey);
        desktop.SetVersion(VER_PLATFORM_WIN32_NT, 5, 0);
    }

    StartupOutcome Start(const std::string& commandLine) {
        desktop.commandLine = commandLine;
        return startup.Run();
    }
    void DenyMachineSettings() { registry.DenyAccess(RegRoot::LocalMachine, kRunKey, KEY_WRITE); }

    MemoryRegistry registry;
    FakeDesktop desktop;
    ProductInfo product{registry, desktop};
    ConfiguratorStartup startup{registry, desktop, product};
};

TEST_F(ConfiguratorStartupTest, SwitchesAfterApplyKeepTheLogFilesCaseAndBlanksAndAnyOtherStopsEverything) {
    const struct { const char* commandLine; StartupOutcome outcome; const char* logPath; } cases[] = {
        {"zartune.exe /apply", StartupOutcome::ApplyUnattended, ""},
        {"\"C:\\Zarvo\\zartune.exe\" /APPLY /LOG:\\\\Server\\Logs\\Apply.txt", StartupOutcome::ApplyUnattended, "\\\\Server\\Logs\\Apply.txt"},
        {"zartune.exe \"/apply\"\t\"/Log:C:\\Logon Logs\\a.txt\" ", StartupOutcome::ApplyUnattended, "C:\\Logon Logs\\a.txt"},
        {"zartune.exe /apply /log:", StartupOutcome::UnknownApplySwitch, ""},
        {"zartune.exe /apply /log:a.txt /log:b.txt", StartupOutcome::UnknownApplySwitch, "a.txt"},
        {"zartune.exe /applynow /log:a.txt", StartupOutcome::OpenMainWindow, ""},
    };
    for (const auto& c : cases) {
        desktop.shellCalls.clear();
        EXPECT_EQ(c.outcome, Start(c.commandLine)) << c.commandLine;
        EXPECT_EQ(c.logPath, startup.Switches().logPath) << c.commandLine;
        EXPECT_EQ(c.outcome == StartupOutcome::UnknownApplySwitch ? 0u : 1u, desktop.shellCalls.size()) << c.commandLine;
    }
}

TEST_F(ConfiguratorStartupTest, OutcomeOfEachSwitchWord) {
    const struct {
        const char* commandLine;
        StartupOutcome outcome;
    } cases[] = {
        {"zartune.exe", StartupOutcome::OpenMainWindow},
        {"zartune.exe /detect", StartupOutcome::OpenMainWindowHidden},
        {"zartune.exe /about", StartupOutcome::ShowAbout},
        {"zartune.exe /ABOUT", StartupOutcome::ShowAbout},
        {"zartune.exe /about extra", StartupOutcome::OpenMainWindow},
        {"zartune.exe /ping", StartupOutcome::ShowKeepAlive},
        {"\"C:\\Program Files\\Zarvo\\zartune.exe\" /PING", StartupOutcome::ShowKeepAlive},
        {"zartune.exe /ping now", StartupOutcome::OpenMainWindow},
        {"zartune.exe /whatever", StartupOutcome::OpenMainWindow},
        {"zartune.exe /APPLY", StartupOutcome::ApplyUnattended},
    };
    for (const auto& c : cases) {
        desktop.shellCalls.clear();
        EXPECT_EQ(c.outcome, Start(c.commandLine)) << c.commandLine;
        // Every start but the uninstaller's launches the agent, first.
        ASSERT_EQ(1u, desktop.shellCalls.size()) << c.commandLine;
        const auto& launch = desktop.shellCalls[0];
        EXPECT_EQ("open", launch.verb);
        EXPECT_EQ("C:\\Program Files\\Zarvo\\zarwatch.exe", launch.file);
        EXPECT_EQ("/auto", launch.parameters);
        EXPECT_EQ("", launch.directory);
        EXPECT_EQ(SW_SHOWNORMAL, launch.show);
    }
    EXPECT_TRUE(desktop.messageBoxes.empty());
}

TEST_F(ConfiguratorStartupTest, UninstallRestoresSilentlyAndStartsNoAgent) {
    registry.PutDword(RegRoot::LocalMachine, kTcpip, "DefaultTTL", 64);
    registry.PutDword(RegRoot::LocalMachine, kTcpip, "KeepAliveTime", 600000);

    EXPECT_EQ(StartupOutcome::End, Start("\"C:\\Program Files\\Zarvo\\zartune.exe\" /UNINSTALL"));

    EXPECT_FALSE(registry.Value(RegRoot::LocalMachine, kTcpip, "DefaultTTL"));
    EXPECT_FALSE(registry.Value(RegRoot::LocalMachine, kTcpip, "KeepAliveTime"));
    EXPECT_TRUE(desktop.shellCalls.empty());
    EXPECT_TRUE(desktop.messageBoxes.empty());
}

TEST_F(ConfiguratorStartupTest, AgentThatCannotStartEndsEveryPathWithTheMissingFilesBox) {
    desktop.shellResult = 2;
    for (const char* line : {"zartune.exe", "zartune.exe /about", "zartune.exe /ping", "zartune.exe /detect"}) {
        desktop.messageBoxes.clear();
        EXPECT_EQ(StartupOutcome::End, Start(line)) << line;
        ASSERT_EQ(1u, desktop.messageBoxes.size()) << line;
        const auto& box = desktop.messageBoxes[0];
        EXPECT_EQ(0u, box.owner);
        EXPECT_EQ("Zarvo 2003 - Missing files", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_SYSTEMMODAL | MB_ICONERROR), box.type);
        EXPECT_NE(std::string::npos, box.text.find("specify that your error code is 00102."));
        EXPECT_EQ(0u, box.text.find("You are using a CORRUPTED copy of Zarvo 2003.\n\n"));
    }
}

TEST_F(ConfiguratorStartupTest, PermissionGuardRefusesTheMainWindowAndThePingPathButNotAbout) {
    DenyMachineSettings();
    EXPECT_EQ(StartupOutcome::End, Start("zartune.exe"));
    ASSERT_EQ(1u, desktop.messageBoxes.size());
    EXPECT_EQ("Zarvo 2003 Permissions Error", desktop.messageBoxes[0].caption);

    desktop.messageBoxes.clear();
    EXPECT_EQ(StartupOutcome::End, Start("zartune.exe /ping"));
    ASSERT_EQ(1u, desktop.messageBoxes.size());
    EXPECT_EQ("Zarvo 2003 Permissions Error", desktop.messageBoxes[0].caption);

    desktop.messageBoxes.clear();
    EXPECT_EQ(StartupOutcome::ShowAbout, Start("zartune.exe /about"));
    // Unattended, the guard's verdict is an exit code, never a box.
    EXPECT_EQ(StartupOutcome::ApplyUnattended, Start("zartune.exe /apply"));
    EXPECT_TRUE(desktop.messageBoxes.empty());
}

}  // namespace
