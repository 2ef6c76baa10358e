#include "common/SettingsStore.h"
#include "configurator/CZartuneApp.h"
#include "resources/zartune_ids.h"
#include "tests/support/FakeDesktop.h"
#include "tests/win/form/TempInstallFolder.h"
#include "tests/win/form/DialogCloser.h"
#include "win32/RegKey.h"
#include "win32/StatusBarProgress.h"
#include "win32/Win32Registry.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

using namespace zartune;

namespace {

// The whole start-up of a main window, in this process: the agent launch and
// every message go to the fake desktop, windows and registry are real.
class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop_.SetVersion(VER_PLATFORM_WIN32_NT, 5, 0);
        desktop_.commandLine = "zartune.exe /detect";
        ASSERT_TRUE(app_.InitInstance()) << (desktop_.messageBoxes.empty() ? "" : desktop_.messageBoxes[0].text);
        frame_ = app_.MainFrame()->Handle();
    }

    void TearDown() override {
        DestroyWindow(frame_);
        DeleteFileA(RecordPath().c_str());
    }

    // Where an Apply in the temporary install folder records the settings before it.
    std::string RecordPath() const { return installFolder_.Path() + "Zartune-previous.reg"; }

    std::string Pane(int pane) {
        char text[256] = {};
        SendMessageA(app_.MainFrame()->StatusBar(), SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // The menu item's state as the frame sets it when its menu opens.
    UINT MenuState(int menuIndex, UINT command) {
        HMENU popup = GetSubMenu(GetMenu(frame_), menuIndex);
        SendMessageA(frame_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(menuIndex, FALSE));
        return GetMenuState(popup, command, MF_BYCOMMAND);
    }
    bool ButtonEnabled(UINT command) {
        return SendMessageA(app_.MainFrame()->Toolbar(), TB_ISBUTTONENABLED, command, 0) != 0;
    }
    void Command(UINT command) { SendMessageA(frame_, WM_COMMAND, MAKEWPARAM(command, 0), 0); }

    Win32Registry registry_;
    SettingsStore store_{registry_};
    TempInstallFolder installFolder_{store_};
    FakeDesktop desktop_;
    CZartuneApp app_{registry_, desktop_};
    HWND frame_ = nullptr;
};

TEST_F(MainFrameTest, DetectStartsTheAgentAndKeepsTheTitledFixedFrameHidden) {
    ASSERT_EQ(1u, desktop_.shellCalls.size());
    EXPECT_EQ("/auto", desktop_.shellCalls[0].parameters);

    char title[64] = {};
    GetWindowTextA(frame_, title, sizeof title);
    EXPECT_STREQ(" Zarvo 2003 v5.4", title);
    EXPECT_FALSE(IsWindowVisible(frame_));

    const LONG style = GetWindowLongA(frame_, GWL_STYLE);
    EXPECT_EQ(0, style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_HSCROLL | WS_VSCROLL));
    EXPECT_NE(0, style & WS_MINIMIZEBOX);
    // 604 x 450, grown only where the font is wider than Windows' (as Wine's
    // is), so that the right-most and the lowest controls are not cut off.
    RECT rect;
    GetWindowRect(frame_, &rect);
    EXPECT_GE(rect.right - rect.left, 604);
    EXPECT_GE(rect.bottom - rect.top, 450);
    HWND form = FindWindowExA(frame_, nullptr, "#32770", nullptr);
    ASSERT_NE(nullptr, form);
    RECT client;
    GetClientRect(form, &client);
    for (int id : {IDC_GROUP_NDI, IDC_HELP_BUTTON}) {
        RECT control;
        GetWindowRect(GetDlgItem(form, id), &control);
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&control), 2);
        EXPECT_LE(control.right, client.right) << id;
        EXPECT_LE(control.bottom, client.bottom) << id;
    }
}

TEST_F(MainFrameTest, StatusPanesShowThePromptTheModeAndTheSystem) {
    EXPECT_EQ("Choose your wanted settings and press ''Apply''", Pane(0));
    app_.MainFrame()->UpdateCommandUi();
    EXPECT_EQ("Mode: Automatic #1", Pane(1));
    EXPECT_EQ(" OS: Windows 2000", Pane(2));

    desktop_.SetVersion(VER_PLATFORM_WIN32_NT, 5, 1);
    app_.MainFrame()->UpdateCommandUi();
    EXPECT_EQ("   OS: Windows XP", Pane(2));

    // Fly-by prompts while the menu is open; the idle text once it closes.
    SendMessageA(frame_, WM_MENUSELECT, MAKEWPARAM(ID_CPL_NETWORK, MF_STRING), 1);
    EXPECT_EQ("Launch Windows Control Panel - Network", Pane(0));
    SendMessageA(frame_, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ("Choose your wanted settings and press ''Apply''", Pane(0));
}

TEST_F(MainFrameTest, OnlyTheSpacersAreGreyed) {
    for (UINT command : {ID_FILE_APPLY, ID_FILE_BACKUP, ID_FILE_EVERTIE, ID_FILE_RESTORE, ID_APP_EXIT}) {
        EXPECT_EQ(0u, MenuState(0, command) & MF_GRAYED) << command;
    }
    EXPECT_FALSE(ButtonEnabled(ID_TOOLBAR_SPACER));
    for (UINT command : {ID_FILE_APPLY, ID_FILE_EVERTIE, ID_FILE_BACKUP, ID_FILE_RESTORE, ID_CPL_INTERNET,
                         ID_CPL_SYSTEM, ID_CPL_MODEMS,
                         ID_CPL_NETWORK, ID_HELP_TOPICS, ID_APP_ABOUT, ID_HELP_WEBSITE}) {
        EXPECT_TRUE(ButtonEnabled(command)) << command;
    }
    EXPECT_EQ(0u, MenuState(2, ID_TOOLS_CURRENT_SETTINGS) & MF_GRAYED);
    for (UINT command : {ID_HELP_TOPICS, ID_HELP_FAQ, ID_HELP_WEBSITE, ID_HELP_SUPPORT, ID_HELP_FEEDBACK,
                         ID_HELP_RECOMMEND, ID_APP_ABOUT}) {
        EXPECT_EQ(0u, MenuState(3, command) & MF_GRAYED) << command;
    }
    for (UINT command : {ID_TOOLS_FIND_MTU, ID_TOOLS_TUNE_WINDOW, ID_TOOLS_SPEED_TEST}) {
        EXPECT_EQ(0u, MenuState(2, command) & MF_GRAYED);
    }
}

TEST_F(MainFrameTest, BarTogglesHideShowAndCheck) {
    EXPECT_NE(0u, MenuState(1, ID_VIEW_TOOLBAR) & MF_CHECKED);
    RECT view;
    GetWindowRect(app_.MainFrame()->Form().Handle(), &view);
    Command(ID_VIEW_TOOLBAR);
    EXPECT_EQ(0, GetWindowLongA(app_.MainFrame()->Toolbar(), GWL_STYLE) & WS_VISIBLE);
    // The form moves up into the toolbar's place.
    RECT moved;
    GetWindowRect(app_.MainFrame()->Form().Handle(), &moved);
    EXPECT_LT(moved.top, view.top);
    EXPECT_EQ(0u, MenuState(1, ID_VIEW_TOOLBAR) & MF_CHECKED);
    Command(ID_VIEW_TOOLBAR);
    EXPECT_NE(0u, MenuState(1, ID_VIEW_TOOLBAR) & MF_CHECKED);

    Command(ID_VIEW_STATUS_BAR);
    EXPECT_EQ(0u, MenuState(1, ID_VIEW_STATUS_BAR) & MF_CHECKED);
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_NE(0u, MenuState(1, ID_VIEW_STATUS_BAR) & MF_CHECKED);
}

TEST_F(MainFrameTest, TooltipIsTheTextAfterTheNewline) {
    NMTTDISPINFOA info = {};
    info.hdr.hwndFrom = app_.MainFrame()->Toolbar();
    info.hdr.idFrom = ID_FILE_RESTORE;
    info.hdr.code = TTN_NEEDTEXTA;
    SendMessageA(frame_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(nullptr, info.lpszText);
    EXPECT_STREQ("Restore original settings", info.lpszText);
}

TEST_F(MainFrameTest, LaunchersAndVendorLinks) {
    Command(ID_CPL_NETWORK);
    ASSERT_EQ(2u, desktop_.commandLines.size());
    EXPECT_EQ("rundll32.exe shell32.dll,Control_RunDLL Ncpa.cpl", desktop_.commandLines[0]);
    EXPECT_EQ("rundll32.exe shell32.dll,Control_RunDLL Netcpl.cpl", desktop_.commandLines[1]);

    Command(ID_HELP_SUPPORT);
    ASSERT_EQ(2u, desktop_.shellCalls.size());
    EXPECT_EQ("open", desktop_.shellCalls[1].verb);
    EXPECT_EQ("mailto:support@zarvo.example?subject=Question regarding Zarvo 2003 v5.4", desktop_.shellCalls[1].file);
    EXPECT_EQ(SW_SHOWNORMAL, desktop_.shellCalls[1].show);

    Command(ID_HELP_TOPICS);
    ASSERT_EQ(1u, desktop_.helpCalls.size());
    EXPECT_EQ("Welcome to Zarvo\xAE 2002", desktop_.helpCalls[0].keyword);
    EXPECT_EQ(static_cast<UINT>(HELP_KEY), desktop_.helpCalls[0].command);
}

TEST_F(MainFrameTest, RestoreAsksFirstAndNoLeavesEverythingAlone) {
    desktop_.messageBoxAnswers = {IDNO};
    Command(ID_FILE_RESTORE);
    ASSERT_EQ(1u, desktop_.messageBoxes.size());
    EXPECT_EQ("The program will restore all Windows default settings.\nWould you like to continue?",
              desktop_.messageBoxes[0].text);
}

TEST_F(MainFrameTest, RestorePreviousFollowsRestoreWindowsAndIsGreyedWithoutARecord) {
    HMENU file = GetSubMenu(GetMenu(frame_), 0);
    int restore = -1;
    for (int i = 0; i < GetMenuItemCount(file); ++i) {
        if (GetMenuItemID(file, i) == ID_FILE_RESTORE) restore = i;
    }
    ASSERT_NE(-1, restore);
    EXPECT_EQ(static_cast<UINT>(ID_FILE_RESTORE_PREVIOUS), GetMenuItemID(file, restore + 1));
    char text[64] = {};
    GetMenuStringA(file, ID_FILE_RESTORE_PREVIOUS, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ("Restore &Previous Settings", text);
    SendMessageA(frame_, WM_MENUSELECT, MAKEWPARAM(ID_FILE_RESTORE_PREVIOUS, MF_STRING), 1);
    EXPECT_EQ("Give back the settings you had before the first Apply", Pane(0));

    const std::string record = RecordPath();
    DeleteFileA(record.c_str());
    EXPECT_NE(0u, MenuState(0, ID_FILE_RESTORE_PREVIOUS) & MF_GRAYED);
    Command(ID_FILE_RESTORE_PREVIOUS);
    EXPECT_TRUE(desktop_.messageBoxes.empty());

    HANDLE made = CreateFileA(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, made);
    CloseHandle(made);
    EXPECT_EQ(0u, MenuState(0, ID_FILE_RESTORE_PREVIOUS) & MF_GRAYED);
    desktop_.messageBoxAnswers = {IDNO};
    Command(ID_FILE_RESTORE_PREVIOUS);
    ASSERT_EQ(1u, desktop_.messageBoxes.size());
    EXPECT_EQ(0u, desktop_.messageBoxes[0].text.find("The program will give back the settings you had"));
}

TEST_F(MainFrameTest, ProgressBarCoversTheFirstPaneOfTheStatusBar) {
    zartune::CMainFrame& frame = *app_.MainFrame();
    frame.SetPaneText(0, "some prompt");
    RECT pane = {};
    SendMessageA(frame.StatusBar(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&pane));
    ASSERT_FALSE(IsRectEmpty(&pane));

    StatusBarProgress progress;
    progress.Begin(frame.StatusBar());
    HWND bar = progress.Handle();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(frame.StatusBar(), GetParent(bar));
    EXPECT_EQ(0, GetDlgCtrlID(bar));
    EXPECT_NE(0, GetWindowLongA(bar, GWL_STYLE) & WS_VISIBLE);
    char className[64] = {};
    GetClassNameA(bar, className, sizeof className);
    EXPECT_STREQ(PROGRESS_CLASSA, className);
    RECT rect;
    GetWindowRect(bar, &rect);
    MapWindowPoints(nullptr, frame.StatusBar(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_TRUE(EqualRect(&pane, &rect));
    PBRANGE range = {};
    SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(0, range.iLow);
    EXPECT_EQ(100, range.iHigh);
    EXPECT_EQ(0, SendMessageA(bar, PBM_GETPOS, 0, 0));

    for (int step = 0; step < 3; ++step) progress.Step();
    EXPECT_EQ(3, SendMessageA(bar, PBM_GETPOS, 0, 0));
    progress.End();
    EXPECT_EQ(nullptr, progress.Handle());
    EXPECT_FALSE(IsWindow(bar));
}

TEST_F(MainFrameTest, ProgressBarOfAnEmptyPaneIsOnePixelRightOfTheStatusBar) {
    zartune::CMainFrame& frame = *app_.MainFrame();
    // The first pane ends where it starts.
    int edges[] = {0, 100, -1};
    SendMessageA(frame.StatusBar(), SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    RECT pane = {};
    SendMessageA(frame.StatusBar(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&pane));
    ASSERT_TRUE(IsRectEmpty(&pane));

    StatusBarProgress progress;
    progress.Begin(frame.StatusBar());
    RECT status;
    GetWindowRect(frame.StatusBar(), &status);
    RECT bar;
    GetWindowRect(progress.Handle(), &bar);
    EXPECT_EQ(status.right, bar.left);
    EXPECT_EQ(status.right + 1, bar.right);
    EXPECT_EQ(status.top, bar.top);
    EXPECT_EQ(status.bottom, bar.bottom);
}

// The real frame, the real Wine registry: the button's request becomes one
// Apply at the next idle update. The prefix reports no NT family here, so
// the values land in the 9x layout where its keys exist.
TEST_F(MainFrameTest, TheFormsApplyButtonRunsApplyOnceAtTheNextIdleUpdate) {
    const char internet[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    desktop_.SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    desktop_.messageBoxAnswers = {IDNO};
    DialogCloser dialogs;
    SendMessageA(app_.MainFrame()->Form().Handle(), WM_COMMAND, MAKEWPARAM(IDC_APPLY, BN_CLICKED), 0);
    EXPECT_TRUE(desktop_.messageBoxes.empty());
    app_.MainFrame()->UpdateCommandUi();
    app_.MainFrame()->UpdateCommandUi();

    ASSERT_EQ(1u, dialogs.shown.size());
    EXPECT_EQ("Dial-Up Networking (Modem)", dialogs.shown[0].caption);
    ASSERT_EQ(2u, desktop_.messageBoxes.size());
    EXPECT_EQ(0u, desktop_.messageBoxes[0].text.find("System changes were successful done."));
    EXPECT_EQ(reinterpret_cast<Desktop::WindowRef>(frame_), desktop_.messageBoxes[0].owner);
    EXPECT_EQ(nullptr, app_.MainFrame()->ProgressBar());
    EXPECT_EQ("", Pane(0));  // the bar took the prompt's place

    RegKey key(registry_);
    ASSERT_EQ(ERROR_SUCCESS, key.Open(RegRoot::LocalMachine, internet, KEY_ALL_ACCESS));
    RegValue value;
    ASSERT_EQ(ERROR_SUCCESS, key.Query("MaxConnectionsPerServer", 4, &value));
    EXPECT_EQ(REG_DWORD, value.type);
    EXPECT_EQ(8, value.data[0]);
    key.Delete("MaxConnectionsPerServer");
    key.Delete("MaxConnectionsPer1_0Server");
    const std::string file = installFolder_.Path() + "Zartune2.cfg";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str()));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(file.c_str());
}

TEST_F(MainFrameTest, TheMenuAndTheFormsButtonOpenTheKeepAliveDialogOverTheFrame) {
    DialogCloser dialogs;
    dialogs.answer = IDCANCEL;
    Command(ID_FILE_EVERTIE);
    SendMessageA(app_.MainFrame()->Form().Handle(), WM_COMMAND, MAKEWPARAM(IDC_EVERTIE, BN_CLICKED), 0);
    ASSERT_EQ(2u, dialogs.shown.size());
    for (const DialogCloser::Shown& shown : dialogs.shown) {
        EXPECT_EQ("Evertie", shown.caption);
        EXPECT_EQ(frame_, shown.owner);
    }
    EXPECT_TRUE(desktop_.messageBoxes.empty());  // no permission guard this way
}

// On Windows 98 the frame copies the registry files into RegBak in the
// install folder; a folder of the test's stands in for the Windows directory.
TEST_F(MainFrameTest, RegistryBackupCopiesBothFilesAndSaysSo) {
    const std::string windows = installFolder_.Path() + "ZvFrameWindows";
    const std::string backup = installFolder_.Path() + "RegBak";
    CreateDirectoryA(windows.c_str(), nullptr);
    for (const char* name : {"\\system.dat", "\\user.dat"}) {
        HANDLE file = CreateFileA((windows + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
    }
    desktop_.SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    desktop_.windowsDirectory = windows;
    Command(ID_FILE_BACKUP);

    ASSERT_EQ(1u, desktop_.messageBoxes.size());
    EXPECT_EQ("Registry backup was successfully created. ", desktop_.messageBoxes[0].text);
    EXPECT_EQ(reinterpret_cast<Desktop::WindowRef>(frame_), desktop_.messageBoxes[0].owner);
    for (const char* name : {"\\system.dat", "\\user.dat"}) {
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((backup + name).c_str())) << name;
        DeleteFileA((backup + name).c_str());
        DeleteFileA((windows + name).c_str());
    }
    RemoveDirectoryA(backup.c_str());
    RemoveDirectoryA(windows.c_str());
}

TEST_F(MainFrameTest, ExitEndsTheFrameAndTheMessageLoop) {
    Command(ID_APP_EXIT);
    EXPECT_FALSE(IsWindow(frame_));
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace

namespace {

TEST(MainFrameLargeFonts, TheFrameTakesTheLargeFontSize) {
    Win32Registry registry;
    SettingsStore store{registry};
    TempInstallFolder installFolder{store};
    FakeDesktop desktop;
    desktop.commandLine = "zartune.exe /detect";
    desktop.logPixelsX = 120;
    CZartuneApp app{registry, desktop};
    ASSERT_TRUE(app.InitInstance());
    RECT rect;
    GetWindowRect(app.MainFrame()->Handle(), &rect);
    EXPECT_GE(rect.right - rect.left, 800);
    EXPECT_GE(rect.bottom - rect.top, 546);
    DestroyWindow(app.MainFrame()->Handle());
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // for the dialogs of the tests after it
}

}  // namespace
