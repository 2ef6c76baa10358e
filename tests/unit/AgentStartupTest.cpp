#include "agent/AgentStartup.h"
#include "common/CActivityPinger.h"
#include "tests/support/FakeDesktop.h"
#include "win32/MemoryRegistry.h"
#include "win32/RegKey.h"

#include <gtest/gtest.h>

namespace {

const char* kRun = "SOFTWARE\\MICROSOFT\\WINDOWS\\CurrentVersion\\Run";

TEST(AgentStartup, OneCopyPerDesktopAndOnlyAutoEndsSilently) {
    const struct {
        bool running;
        const char* commandLine;
        bool starts;
        bool tells;
    } cases[] = {
        {false, "\"C:\\Zarvo\\zarwatch.exe\"", true, false},
        {false, "\"C:\\Zarvo\\zarwatch.exe\" /auto", true, false},
        {true, "\"C:\\Zarvo\\zarwatch.exe\" /auto", false, false},
        {true, "\"C:\\Zarvo\\zarwatch.exe\" /AUTO", false, false},
        {true, "\"C:\\Zarvo\\zarwatch.exe\"", false, true},
        {true, "\"C:\\Zarvo\\zarwatch.exe\" /ping", false, true},
        {true, "\"C:\\Zarvo\\zarwatch.exe\" /auto now", false, true},
    };
    for (const auto& c : cases) {
        MemoryRegistry registry;
        registry.AddKey(RegRoot::LocalMachine, kRun);
        FakeDesktop desktop;
        desktop.commandLine = c.commandLine;
        if (c.running) desktop.windowTitles.insert("ZV - Kavrel");
        ProductInfo product(registry, desktop);
        EXPECT_EQ(PrepareAgentStart(product, registry, desktop), c.starts) << c.commandLine;
        ASSERT_EQ(desktop.messageBoxes.size(), c.tells ? 1u : 0u) << c.commandLine;
        if (c.tells) {
            EXPECT_EQ(desktop.messageBoxes[0].text, "Kavrel is already running.");
            EXPECT_EQ(desktop.messageBoxes[0].caption, "Zarvo 2003 - Kavrel");
            EXPECT_EQ(desktop.messageBoxes[0].type, static_cast<UINT>(MB_ICONEXCLAMATION));
            EXPECT_EQ(desktop.messageBoxes[0].owner, 0u);
        }
        // Only a first copy registers itself.
        EXPECT_EQ(registry.Value(RegRoot::LocalMachine, kRun, "Detect").has_value(), c.starts) << c.commandLine;
    }
}

TEST(AgentStartup, FirstCopyRegistersWithAutoAndPutsBackAutodial) {
    MemoryRegistry registry;
    registry.AddKey(RegRoot::LocalMachine, kRun);
    registry.PutDword(RegRoot::CurrentUser, CActivityPinger::kInternetSettingsKey, "EnableAutodial", 0);
    registry.PutDword(RegRoot::CurrentUser, CActivityPinger::kMarkerKey, CActivityPinger::kMarkerName, 1);
    FakeDesktop desktop;
    desktop.commandLine = "\"C:\\Program Files\\Zarvo\\zarwatch.exe\"";
    ProductInfo product(registry, desktop);
    ASSERT_TRUE(PrepareAgentStart(product, registry, desktop));
    const auto detect = registry.Value(RegRoot::LocalMachine, kRun, "Detect");
    ASSERT_TRUE(detect);
    const std::string text(detect->data.begin(), detect->data.end());
    EXPECT_EQ(text, std::string("\"C:\\Program Files\\Zarvo\\zarwatch.exe\" /auto") + '\0');
    const auto autodial =
        registry.Value(RegRoot::CurrentUser, CActivityPinger::kInternetSettingsKey, "EnableAutodial");
    EXPECT_EQ(autodial->data, DwordBytes(1));
    EXPECT_FALSE(registry.Value(RegRoot::CurrentUser, CActivityPinger::kMarkerKey, CActivityPinger::kMarkerName));
}

}  // namespace
