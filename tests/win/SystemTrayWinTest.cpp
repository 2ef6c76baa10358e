// CSystemTray on real Wine windows, timers and messages. The null graphics
// driver has no notification area, so a stand-in for Shell_NotifyIconA
// records what the shell would be told.
#include "agent/CSystemTray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using zarwatch::CSystemTray;

namespace {

struct NotifyCall {
    DWORD action;
    DWORD size;
    HWND owner;
    UINT id, flags, callback;
    HICON icon;
    std::string tip;
};

std::vector<NotifyCall> g_calls;
BOOL g_shellAnswer = TRUE;

BOOL WINAPI RecordNotify(DWORD action, PNOTIFYICONDATAA data) {
    g_calls.push_back({action, data->cbSize, data->hWnd, data->uID, data->uFlags, data->uCallbackMessage,
                       data->hIcon, data->szTip});
    return g_shellAnswer;
}

// The owner of the icon, as the agent's main window is: it records the commands it gets.
class Owner : public Window {
public:
    Owner() {
        RegisterWindowClass("ZvTrayTestOwner");
        Create("ZvTrayTestOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 0, 10, 10, nullptr, nullptr);
    }
    std::vector<WORD> commands;

protected:
    bool OnCommand(WORD id, WORD, HWND) noexcept override {
        commands.push_back(id);
        return true;
    }
};

constexpr UINT kCallback = WM_USER + 10;
constexpr UINT kIconId = 137;

class SystemTray : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        g_shellAnswer = TRUE;
    }
    bool Add(const char* tip = "Zarvo 2003") {
        return tray.CreateTrayIcon(owner.Handle(), kCallback, tip, first, kIconId);
    }

    HICON first = LoadIconA(nullptr, IDI_APPLICATION);
    HICON second = LoadIconA(nullptr, IDI_HAND);
    Owner owner;
    CSystemTray tray{&RecordNotify};
};

TEST_F(SystemTray, AddsTheIconWithTheFirstRecordFormAndCutsTheTooltipAt63) {
    ASSERT_TRUE(Add(std::string(100, 't').c_str()));
    ASSERT_EQ(g_calls.size(), 1u);
    const NotifyCall& add = g_calls[0];
    EXPECT_EQ(add.action, static_cast<DWORD>(NIM_ADD));
    // The first form: its fields up to a 64-byte tip, laid out for the build.
    EXPECT_EQ(add.size, sizeof(void*) == 4 ? 88u : 104u);
    EXPECT_EQ(add.owner, owner.Handle());
    EXPECT_EQ(add.id, kIconId);
    EXPECT_EQ(add.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(add.callback, kCallback);
    EXPECT_EQ(add.icon, first);
    EXPECT_EQ(add.tip, std::string(63, 't'));
    EXPECT_TRUE(tray.SetTrayTip(std::string(70, 'u').c_str()));
    EXPECT_EQ(g_calls.back().flags, static_cast<UINT>(NIF_TIP));
    EXPECT_EQ(g_calls.back().tip, std::string(63, 'u'));
}

TEST_F(SystemTray, WhileAbsentEveryOperationFailsAndTellsTheShellNothing) {
    g_shellAnswer = FALSE;
    EXPECT_FALSE(Add());
    g_calls.clear();
    EXPECT_FALSE(tray.SetTrayIcon(second));
    EXPECT_FALSE(tray.SetTrayTip("x"));
    EXPECT_EQ(tray.CurrentTrayIcon(), nullptr);
    EXPECT_FALSE(tray.RemoveTrayIcon());
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(SystemTray, RemovingDeletesTheIconOnce) {
    ASSERT_TRUE(Add());
    EXPECT_TRUE(tray.RemoveTrayIcon());
    EXPECT_EQ(g_calls.back().action, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(g_calls.back().flags, 0u);
    EXPECT_FALSE(tray.RemoveTrayIcon());
    EXPECT_EQ(g_calls.size(), 2u);
}

TEST_F(SystemTray, ARestartedTaskbarGetsTheIconBackAsItIsNow) {
    ASSERT_TRUE(Add());
    tray.SetTrayIcon(second);
    tray.SetTrayTip("Zarvo 2003 - Working");
    g_calls.clear();
    // Explorer broadcasts this to every top-level window when it starts.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                        &result);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].action, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(g_calls[0].flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(g_calls[0].icon, second);
    EXPECT_EQ(g_calls[0].tip, "Zarvo 2003 - Working");
}

TEST_F(SystemTray, EndingTheAnimationPutsBackTheIconShownAtItsStart) {
    ASSERT_TRUE(Add());
    EXPECT_TRUE(tray.StartAnimation(250, 300));
    tray.SetTrayIcon(second);
    g_calls.clear();
    EXPECT_TRUE(tray.EndAnimation());
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].icon, first);
    // Nothing runs any more: no icon changes, and the result says so.
    EXPECT_FALSE(tray.EndAnimation());
    EXPECT_EQ(g_calls.size(), 1u);
}

TEST_F(SystemTray, ATickWithoutFramesShowsNothing) {
    ASSERT_TRUE(Add());
    EXPECT_FALSE(tray.LoadAnimationFrames(132, 129));
    EXPECT_TRUE(tray.StartAnimation(250, 0));
    g_calls.clear();
    SendMessageA(tray.Handle(), WM_TIMER, CSystemTray::kAnimationTimer, 0);
    EXPECT_TRUE(g_calls.empty());
    tray.EndAnimation();
}

TEST_F(SystemTray, DoubleClickRunsTheDefaultCommandAndOtherIconsAreNotHandled) {
    ASSERT_TRUE(Add());
    tray.SetDefaultMenuItem(32784, false);
    EXPECT_EQ(tray.HandleTrayNotification(kIconId + 1, WM_LBUTTONDBLCLK), 0);
    EXPECT_TRUE(owner.commands.empty());
    EXPECT_EQ(tray.HandleTrayNotification(kIconId, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(owner.commands, std::vector<WORD>{32784});
    EXPECT_EQ(tray.HandleTrayNotification(kIconId, WM_MOUSEMOVE), 1);
    EXPECT_EQ(owner.commands.size(), 1u);
}

TEST_F(SystemTray, DoubleClickByPositionWithoutItsMenuDoesNothing) {
    ASSERT_TRUE(Add());
    // The default is the first item by position, and this test program has no menu resource 137.
    EXPECT_EQ(tray.HandleTrayNotification(kIconId, WM_LBUTTONDBLCLK), 0);
    EXPECT_TRUE(owner.commands.empty());
}

}  // namespace
