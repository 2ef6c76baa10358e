#include "common/SettingsStore.h"
#include "configurator/CZartuneApp.h"
#include "resources/zartune_ids.h"
#include "tests/support/FakeDesktop.h"
#include "tests/win/form/TempInstallFolder.h"
#include "win32/Win32Registry.h"

#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zartune;

namespace {

const char kIdlePrompt[] = "Choose your wanted settings and press ''Apply''";
const char kToolbarKey[] = "SOFTWARE\\Orvenda Ltd\\Zarvo\\Toolbar";

RECT WindowRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

int Width(const RECT& rect) { return rect.right - rect.left; }

// The configurator's own frame, with its resources, form and status bar, on
// screen so that its rectangles are real screen coordinates. Drags go
// through the real drag loop: the mouse messages are posted first, then the
// press starts the loop, which takes them from the queue.
class ToolbarDockingTest : public ::testing::Test {
protected:
    void SetUp() override {
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, kToolbarKey);
        desktop_.SetVersion(VER_PLATFORM_WIN32_NT, 5, 1);
        desktop_.commandLine = "zartune.exe /detect";
        Open(app_);
    }

    // Starts the configurator (hidden, as for "detect"), then shows its frame.
    void Open(CZartuneApp& app) {
        ASSERT_TRUE(app.InitInstance());
        frame_ = app.MainFrame()->Handle();
        bar_ = app.MainFrame()->Toolbar();
        status_ = app.MainFrame()->StatusBar();
        view_ = app.MainFrame()->Form().Handle();
        SetWindowPos(frame_, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ShowWindow(frame_, SW_SHOW);
        if (topFrame_.right == 0) topFrame_ = WindowRect(frame_);
    }

    void TearDown() override {
        DestroyWindow(frame_);
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, kToolbarKey);
    }

    // A rectangle in the frame's client coordinates.
    RECT InFrame(HWND window) {
        RECT rect = WindowRect(window);
        MapWindowPoints(nullptr, frame_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    RECT Client() {
        RECT client;
        GetClientRect(frame_, &client);
        return client;
    }
    POINT FrameClientPoint(int x, int y) {
        POINT point = {x, y};
        ClientToScreen(frame_, &point);
        return point;
    }
    POINT Gripper() {
        const RECT bar = WindowRect(bar_);
        return {bar.left + 4, bar.top + 4};
    }
    POINT Caption(HWND floating) {
        const RECT window = WindowRect(floating);
        return {window.left + 20, window.top + GetSystemMetrics(SM_CYSMCAPTION) / 2 + 1};
    }
    HWND Floating() { return FindWindowA("ZvFloatingToolbar", nullptr); }

    void Post(HWND target, UINT message, POINT screen) {
        ScreenToClient(target, &screen);
        PostMessageA(target, message, MK_LBUTTON, MAKELPARAM(screen.x, screen.y));
    }
    // Presses where the window's own hit test says, moves halfway, then to
    // the end, and ends with releasing there or with finish (Esc, right button).
    void Drag(HWND target, POINT from, POINT to, UINT finish = WM_LBUTTONUP) {
        const POINT halfway = {(from.x + to.x) / 2, (from.y + to.y) / 2};
        Post(target, WM_MOUSEMOVE, halfway);
        Post(target, WM_MOUSEMOVE, to);
        if (finish == WM_KEYDOWN) {
            PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0);
        } else {
            Post(target, finish, to);
        }
        const LRESULT hit = SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(from.x, from.y));
        ASSERT_EQ(HTCAPTION, hit);
        SendMessageA(target, WM_NCLBUTTONDOWN, hit, MAKELPARAM(from.x, from.y));
    }
    void Command(UINT command) { SendMessageA(frame_, WM_COMMAND, MAKEWPARAM(command, 0), 0); }
    bool ToolbarChecked() {
        HMENU view = GetSubMenu(GetMenu(frame_), 1);
        SendMessageA(frame_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), MAKELPARAM(1, FALSE));
        return (GetMenuState(view, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    std::string Pane(int pane) {
        char text[256] = {};
        SendMessageA(status_, SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(text));
        return text;
    }
    std::vector<RECT> Buttons() {
        std::vector<RECT> rects(static_cast<std::size_t>(SendMessageA(bar_, TB_BUTTONCOUNT, 0, 0)));
        for (std::size_t i = 0; i < rects.size(); ++i) {
            SendMessageA(bar_, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rects[i]));
        }
        return rects;
    }
    // The frame as it must be with the bar docked on a side: the status bar
    // along the bottom, the bar against its side of the rest, the view beside it.
    void ExpectDocked(const char* side) {
        SCOPED_TRACE(side);
        const std::string name = side;
        const RECT client = Client();
        const RECT status = InFrame(status_);
        const RECT bar = InFrame(bar_);
        const RECT view = InFrame(view_);
        EXPECT_EQ(frame_, GetParent(bar_));
        EXPECT_EQ(client.bottom, status.bottom);
        EXPECT_EQ(Width(client), Width(status));
        const RECT area = {client.left, client.top, client.right, status.top};
        if (name == "top" || name == "bottom") {
            EXPECT_EQ(area.left, bar.left);
            EXPECT_EQ(area.right, bar.right);
            EXPECT_EQ(name == "top" ? area.top : area.bottom, name == "top" ? bar.top : bar.bottom);
            EXPECT_EQ(area.left, view.left);
            EXPECT_EQ(area.right, view.right);
            EXPECT_EQ(name == "top" ? bar.bottom : area.top, view.top);
            EXPECT_EQ(name == "top" ? area.bottom : bar.top, view.bottom);
            EXPECT_EQ(Width(topFrame_), Width(WindowRect(frame_)));
        } else {
            EXPECT_EQ(area.top, bar.top);
            EXPECT_EQ(area.bottom, bar.bottom);
            EXPECT_EQ(name == "left" ? area.left : area.right, name == "left" ? bar.left : bar.right);
            EXPECT_EQ(area.top, view.top);
            EXPECT_EQ(area.bottom, view.bottom);
            EXPECT_EQ(name == "left" ? bar.right : area.left, view.left);
            EXPECT_EQ(name == "left" ? area.right : bar.left, view.right);
            // The frame widens by the bar, so the form keeps its width.
            EXPECT_EQ(Width(topFrame_) + Width(bar), Width(WindowRect(frame_)));
            EXPECT_EQ(Width(topView_), Width(view));
        }
        ExpectButtonsIn(name == "left" || name == "right");
    }
    // A row: every button on one line, left to right. A column: one button a line.
    void ExpectButtonsIn(bool column) {
        const std::vector<RECT> buttons = Buttons();
        ASSERT_FALSE(buttons.empty());
        for (std::size_t i = 1; i < buttons.size(); ++i) {
            if (column) {
                EXPECT_EQ(buttons[0].left, buttons[i].left) << i;
                EXPECT_EQ(buttons[i - 1].bottom, buttons[i].top) << i;
            } else {
                EXPECT_EQ(buttons[0].top, buttons[i].top) << i;
                EXPECT_EQ(buttons[i - 1].right, buttons[i].left) << i;
            }
        }
        // Every button inside the bar's client area.
        RECT client;
        GetClientRect(bar_, &client);
        EXPECT_LE(buttons.back().right, client.right);
        EXPECT_LE(buttons.back().bottom, client.bottom);
    }
    void ExpectFloating() {
        HWND floating = Floating();
        ASSERT_NE(nullptr, floating);
        EXPECT_EQ(floating, GetParent(bar_));
        EXPECT_TRUE(IsWindowVisible(floating));
        // The view has the whole area above the status bar.
        EXPECT_EQ(0, InFrame(view_).top);
        EXPECT_EQ(InFrame(status_).top, InFrame(view_).bottom);
        EXPECT_EQ(Width(topFrame_), Width(WindowRect(frame_)));
        ExpectButtonsIn(false);
    }

    Win32Registry registry_;
    SettingsStore store_{registry_};
    TempInstallFolder installFolder_{store_};
    FakeDesktop desktop_;
    CZartuneApp app_{registry_, desktop_};
    HWND frame_ = nullptr;
    HWND bar_ = nullptr;
    HWND status_ = nullptr;
    HWND view_ = nullptr;
    RECT topFrame_ = {};
    RECT topView_ = {};
};

TEST_F(ToolbarDockingTest, StartsAtTheTopWithItsGripperAndKeepsItsId) {
    topView_ = InFrame(view_);
    ExpectDocked("top");
    EXPECT_EQ(ID_VIEW_TOOLBAR, GetDlgCtrlID(bar_));
    // The gripper is the strip before the buttons; the buttons are not it.
    RECT client;
    GetClientRect(bar_, &client);
    POINT origin = {0, 0};
    ClientToScreen(bar_, &origin);
    EXPECT_EQ(WindowRect(bar_).left + 8, origin.x);
    const RECT first = Buttons()[0];
    EXPECT_NE(HTCAPTION, SendMessageA(bar_, WM_NCHITTEST, 0, MAKELPARAM(origin.x + first.left + 4, origin.y + 4)));
}

TEST_F(ToolbarDockingTest, DocksOnEverySideItIsDraggedTo) {
    topView_ = InFrame(view_);
    const RECT client = Client();
    const int middleX = client.right / 2;
    const int middleY = client.bottom / 2;
    struct Case {
        const char* side;
        POINT to;  // in the frame's client area
    };
    // Left first: the gripper sits in the top-left corner, and must leave the
    // top's reach before the left side takes the bar.
    const Case cases[] = {
        {"left", {2, middleY}},
        {"bottom", {middleX, InFrame(status_).top - 5}},
        {"right", {client.right - 3, middleY}},
        {"top", {middleX, -10}},  // over the menu bar, just outside the area
        {"right", {client.right + 10, middleY + 40}},
        {"left", {-6, middleY}},
    };
    for (const Case& c : cases) {
        const RECT before = WindowRect(frame_);
        Drag(bar_, Gripper(), FrameClientPoint(c.to.x, c.to.y));
        ExpectDocked(c.side);
        // The frame only ever widens to the right.
        EXPECT_EQ(before.left, WindowRect(frame_).left) << c.side;
    }
}

TEST_F(ToolbarDockingTest, FloatsInAToolWindowOwnedByTheFrameAndDocksBack) {
    topView_ = InFrame(view_);
    const RECT client = Client();
    const POINT middle = FrameClientPoint(client.right / 2, client.bottom / 2);
    const POINT grip = Gripper();
    const RECT bar = WindowRect(bar_);
    Drag(bar_, grip, middle);
    ExpectFloating();
    HWND floating = Floating();
    EXPECT_EQ(frame_, GetWindow(floating, GW_OWNER));
    EXPECT_NE(0, GetWindowLongA(floating, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(WS_CAPTION, GetWindowLongA(floating, GWL_STYLE) & WS_CAPTION);
    char title[64] = {};
    GetWindowTextA(floating, title, sizeof title);
    EXPECT_STREQ("Toolbar", title);
    // Held where it was grabbed; no gripper, the caption drags it.
    const RECT window = WindowRect(floating);
    EXPECT_EQ(middle.x - (grip.x - bar.left), window.left);
    EXPECT_EQ(middle.y - (grip.y - bar.top), window.top);
    RECT inside;
    GetClientRect(bar_, &inside);
    EXPECT_EQ(Width(WindowRect(bar_)), Width(inside));

    // Moved by its caption, still floating, then docked by it on the left.
    const POINT elsewhere = {middle.x + 30, middle.y + 20};
    const POINT caption = Caption(floating);
    Drag(floating, caption, elsewhere);
    ExpectFloating();
    EXPECT_EQ(elsewhere.x - (caption.x - window.left), WindowRect(floating).left);
    EXPECT_EQ(elsewhere.y - (caption.y - window.top), WindowRect(floating).top);
    Drag(floating, Caption(floating), FrameClientPoint(3, client.bottom / 2));
    ExpectDocked("left");
    EXPECT_FALSE(IsWindowVisible(floating));
    // And floated again from the left.
    Drag(bar_, Gripper(), middle);
    ExpectFloating();
}

TEST_F(ToolbarDockingTest, ToggleAndCloseBoxHideTheFloatingBarWithTheCheckMark) {
    const RECT client = Client();
    Drag(bar_, Gripper(), FrameClientPoint(client.right / 2, client.bottom / 2));
    HWND floating = Floating();
    ASSERT_NE(nullptr, floating);
    const RECT placed = WindowRect(floating);
    EXPECT_TRUE(ToolbarChecked());

    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(IsWindowVisible(floating));
    EXPECT_FALSE(ToolbarChecked());
    EXPECT_EQ(0, InFrame(view_).top);
    Command(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(IsWindowVisible(floating));
    EXPECT_TRUE(ToolbarChecked());
    const RECT shownAgain = WindowRect(floating);
    EXPECT_TRUE(EqualRect(&placed, &shownAgain));

    // The close box hides it as the command does, and keeps the window.
    SendMessageA(floating, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(floating));
    EXPECT_FALSE(IsWindowVisible(floating));
    EXPECT_FALSE(ToolbarChecked());
    Command(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(IsWindowVisible(floating));
    EXPECT_EQ(floating, GetParent(bar_));
}

TEST_F(ToolbarDockingTest, ToggleHidesTheBarOnASideAndGivesTheViewItsRoom) {
    const RECT client = Client();
    Drag(bar_, Gripper(), FrameClientPoint(client.right - 2, client.bottom / 2));
    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(ToolbarChecked());
    EXPECT_EQ(Client().right, InFrame(view_).right);
    EXPECT_EQ(Width(topFrame_), Width(WindowRect(frame_)));
    Command(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(ToolbarChecked());
    topView_ = InFrame(view_);  // the width the form kept
    ExpectDocked("right");
}

TEST_F(ToolbarDockingTest, AClickEscapeOrTheRightButtonLeaveTheBarWhereItIs) {
    const RECT bar = WindowRect(bar_);
    const RECT client = Client();
    const POINT middle = FrameClientPoint(client.right / 2, client.bottom / 2);
    // A press and release that moves less than the drag distance is a click.
    Drag(bar_, Gripper(), {Gripper().x + 1, Gripper().y + 1});
    Drag(bar_, Gripper(), middle, WM_KEYDOWN);
    Drag(bar_, Gripper(), middle, WM_RBUTTONDOWN);
    EXPECT_EQ(frame_, GetParent(bar_));
    EXPECT_EQ(nullptr, Floating());
    const RECT after = WindowRect(bar_);
    EXPECT_TRUE(EqualRect(&bar, &after));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(ToolbarDockingTest, PromptsTooltipsAndCommandsReachTheFrameInEveryPosition) {
    const RECT client = Client();
    const POINT places[] = {FrameClientPoint(client.right / 2, -8), FrameClientPoint(2, client.bottom / 2),
                            FrameClientPoint(client.right / 2, client.bottom / 2)};
    const int restore = static_cast<int>(SendMessageA(bar_, TB_COMMANDTOINDEX, ID_FILE_RESTORE, 0));
    for (const POINT& place : places) {
        HWND held = GetParent(bar_) == frame_ ? bar_ : Floating();
        Drag(held, held == bar_ ? Gripper() : Caption(held), place);
        SCOPED_TRACE(GetParent(bar_) == frame_ ? "docked" : "floating");

        SendMessageA(bar_, TB_SETHOTITEM, restore, 0);
        EXPECT_EQ("Restore Windows original settings", Pane(0));
        SendMessageA(bar_, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
        EXPECT_EQ(kIdlePrompt, Pane(0));

        // The tooltip asks the bar, which asks the frame.
        NMTTDISPINFOW info = {};
        info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageA(bar_, TB_GETTOOLTIPS, 0, 0));
        info.hdr.idFrom = ID_FILE_RESTORE;
        info.hdr.code = TTN_NEEDTEXTW;
        info.lpszText = info.szText;
        SendMessageA(bar_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        ASSERT_NE(nullptr, info.lpszText);
        EXPECT_STREQ(L"Restore original settings", info.lpszText);

        // A click on the button runs the frame's command (Restore asks first).
        RECT button;
        SendMessageA(bar_, TB_GETITEMRECT, restore, reinterpret_cast<LPARAM>(&button));
        const LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
        desktop_.messageBoxAnswers = {IDNO};
        const std::size_t asked = desktop_.messageBoxes.size();
        SendMessageA(bar_, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(bar_, WM_LBUTTONUP, 0, at);
        EXPECT_EQ(asked + 1, desktop_.messageBoxes.size());
    }
}

TEST_F(ToolbarDockingTest, ANewFrameTakesTheBarWhereTheUserLeftIt) {
    topView_ = InFrame(view_);
    const RECT client = Client();
    Drag(bar_, Gripper(), FrameClientPoint(2, client.bottom / 2));
    DestroyWindow(frame_);
    CZartuneApp next{registry_, desktop_};
    Open(next);
    ExpectDocked("left");
    Drag(bar_, Gripper(), FrameClientPoint(client.right / 2, client.bottom / 2));
    const RECT floated = WindowRect(Floating());
    DestroyWindow(frame_);
    CZartuneApp last{registry_, desktop_};
    Open(last);
    ExpectFloating();
    const RECT again = WindowRect(Floating());
    EXPECT_TRUE(EqualRect(&floated, &again));
}

}  // namespace
