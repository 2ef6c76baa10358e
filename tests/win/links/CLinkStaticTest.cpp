// The hyperlink control on real Wine windows: subclassing, fitting, colours,
// capture, cursor and the click actions (through a recording desktop, so
// nothing is opened for real).
#include "common/ProductInfo.h"
#include "configurator/CLinkStatic.h"
#include "tests/support/FakeDesktop.h"
#include "win32/Win32Registry.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace zartune;

namespace {

const char* kProduct = "SOFTWARE\\Orvenda Ltd\\Zarvo";

std::string TextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

RECT RectInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

struct TooltipSearch {
    HWND control;
    std::vector<std::string> texts;
};

BOOL CALLBACK CollectTooltip(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TooltipSearch*>(data);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, TOOLTIPS_CLASSA) != 0) return TRUE;
    char text[128] = {};
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = search->control;
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageA(window, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    if (text[0] != '\0') search->texts.push_back(text);
    return TRUE;
}

// The texts that tooltip windows hold for the control, one per window.
std::vector<std::string> TooltipTexts(HWND control) {
    TooltipSearch search{control, {}};
    EnumWindows(&CollectTooltip, reinterpret_cast<LPARAM>(&search));
    return search.texts;
}

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, kProduct);
        parent = CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(nullptr, parent);
    }
    void TearDown() override {
        DestroyWindow(parent);
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, kProduct);
    }

    HWND AddStatic(const char* text, DWORD style = SS_LEFT, int left = 100, int width = 150) {
        return CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | style, left, 40, width, 30, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(1090)), nullptr, nullptr);
    }

    // The colour the link would draw in, asked as the parent would ask.
    COLORREF Colour(HWND control) {
        HDC dc = GetDC(control);
        EXPECT_TRUE(Reflect(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), control));
        const COLORREF colour = GetTextColor(dc);
        EXPECT_EQ(GetStockObject(NULL_BRUSH), reinterpret_cast<HGDIOBJ>(answer));
        EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
        ReleaseDC(control, dc);
        return colour;
    }

    bool Reflect(UINT message, WPARAM wParam, HWND control) {
        return SubclassedWindow::Reflect(message, wParam, reinterpret_cast<LPARAM>(control), answer);
    }

    LRESULT answer = 0;
    Win32Registry registry;
    FakeDesktop desktop;
    ProductInfo product{registry, desktop};
    HWND parent = nullptr;
};

}  // namespace

TEST_F(LinkTest, AttachingMakesTheStaticTextALink) {
    HWND control = AddStatic("support@zarvo.example");
    CLinkStatic link(product, desktop, registry);
    const HFONT original = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    ASSERT_TRUE(link.Attach(control));
    EXPECT_FALSE(link.Attach(control));
    EXPECT_EQ(&link, SubclassedWindow::FromHandle(control));
    EXPECT_NE(0, GetWindowLongA(control, GWL_STYLE) & SS_NOTIFY);
    EXPECT_EQ("support@zarvo.example", link.LinkKey());
    EXPECT_NE(original, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));

    // Fitted to its text, left edge kept.
    HDC dc = GetDC(control);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE extent;
    GetTextExtentPoint32A(dc, "support@zarvo.example", 21, &extent);
    ReleaseDC(control, dc);
    const RECT rect = RectInParent(control);
    EXPECT_EQ(100, rect.left);
    EXPECT_EQ(40, rect.top);
    EXPECT_EQ(extent.cx, rect.right - rect.left);
    EXPECT_EQ(extent.cy, rect.bottom - rect.top);

    // The link lets go when its control is destroyed.
    DestroyWindow(control);
    EXPECT_EQ(nullptr, link.Handle());
    EXPECT_EQ(nullptr, SubclassedWindow::FromHandle(control));
}

TEST_F(LinkTest, EmptyTextTakesTheKey) {
    HWND control = AddStatic("");
    CLinkStatic link(product, desktop, registry);
    link.SetLinkKey("Click in order to send us an Email");
    ASSERT_TRUE(link.Attach(control));
    EXPECT_EQ("Click in order to send us an Email", TextOf(control));
}

TEST_F(LinkTest, RightAlignedLinkKeepsItsRightEdgeWhenItsTextChanges) {
    HWND control = AddStatic("???", SS_RIGHT);
    CLinkStatic link(product, desktop, registry);
    ASSERT_TRUE(link.Attach(control));
    EXPECT_EQ(250, RectInParent(control).right);
    const LONG narrow = RectInParent(control).left;
    SetWindowTextA(control, "a much longer text than before");
    link.SetLinkKey("Click for help on MTU settings...");
    EXPECT_EQ(250, RectInParent(control).right);
    EXPECT_LT(RectInParent(control).left, narrow);
}

TEST_F(LinkTest, CentredLinkShrinksEvenlyOnBothSides) {
    HWND control = AddStatic("???", SS_CENTER | SS_CENTERIMAGE);
    CLinkStatic link(product, desktop, registry);
    ASSERT_TRUE(link.Attach(control));
    const RECT rect = RectInParent(control);
    EXPECT_LE(std::abs((rect.left - 100) - (250 - rect.right)), 1);
    EXPECT_LE(std::abs((rect.top - 40) - (70 - rect.bottom)), 1);
}

TEST_F(LinkTest, ColoursFollowTheMouse) {
    HWND control = AddStatic("???");
    HWND other = AddStatic("plain");
    CLinkStatic link(product, desktop, registry);
    ASSERT_TRUE(link.Attach(control));
    EXPECT_EQ(RGB(0, 0, 238), Colour(control));
    EXPECT_FALSE(Reflect(WM_CTLCOLORSTATIC, 0, other));

    SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(RGB(255, 92, 0), Colour(control));
    EXPECT_EQ(control, GetCapture());

    SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(control, GetCapture());

    SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(-5, 1));
    EXPECT_EQ(RGB(0, 0, 238), Colour(control));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(LinkTest, CursorIsAlwaysTheLinksOwnCopy) {
    HWND control = AddStatic("???");
    CLinkStatic link(product, desktop, registry);
    ASSERT_TRUE(link.Attach(control));
    // Without a cursor resource of the program's own, the default hand.
    link.SetLinkCursor(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(32513)));
    ASSERT_NE(nullptr, link.LinkCursor());
    HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    link.SetLinkCursor(arrow);
    EXPECT_NE(nullptr, link.LinkCursor());
    EXPECT_NE(arrow, link.LinkCursor());
    EXPECT_EQ(TRUE, SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
}

TEST_F(LinkTest, TooltipComesWithTheFirstMouseMessageAndShowsTheKey) {
    HWND control = AddStatic("???");
    CLinkStatic link(product, desktop, registry);
    ASSERT_TRUE(link.Attach(control));
    link.SetLinkKey("Click for help on MTU settings...");
    EXPECT_TRUE(TooltipTexts(control).empty());

    SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(2, 1));
    EXPECT_EQ(std::vector<std::string>{"Click for help on MTU settings..."}, TooltipTexts(control));

    link.SetLinkKey("Click in order to send us an Email");
    EXPECT_EQ(std::vector<std::string>{"Click in order to send us an Email"}, TooltipTexts(control));
}

TEST_F(LinkTest, DefaultCursorIsLoadedOnceWhenFirstNeeded) {
    HWND control = AddStatic("???");
    CLinkStatic link(product, desktop, registry);
    ASSERT_TRUE(link.Attach(control));
    EXPECT_EQ(TRUE, SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    HCURSOR cursor = link.LinkCursor();
    ASSERT_NE(nullptr, cursor);
    EXPECT_EQ(cursor, link.LinkCursor());
    // A cursor of the caller's replaces it; a null one brings the default back.
    link.SetLinkCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    EXPECT_NE(cursor, link.LinkCursor());
    link.SetLinkCursor(nullptr);
    EXPECT_NE(nullptr, link.LinkCursor());
}

// HKEY_CLASSES_ROOT\.htm pointing at a browser of the test's own, and the
// previous registration put back afterwards.
class HtmRegistration {
public:
    explicit HtmRegistration(const char* command) {
        char old[260] = {};
        LONG size = sizeof old;
        hadOld_ = RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", old, &size) == ERROR_SUCCESS;
        old_ = old;
        RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, "ZvTestPage", 10);
        RegSetValueA(HKEY_CLASSES_ROOT, "ZvTestPage\\shell\\open\\command", REG_SZ, command,
                     static_cast<DWORD>(std::strlen(command)));
    }
    ~HtmRegistration() {
        SHDeleteKeyA(HKEY_CLASSES_ROOT, "ZvTestPage");
        if (hadOld_) {
            RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, old_.c_str(), static_cast<DWORD>(old_.size()));
        } else {
            SHDeleteKeyA(HKEY_CLASSES_ROOT, ".htm");
        }
    }

private:
    bool hadOld_;
    std::string old_;
};

TEST_F(LinkTest, FailedOpeningReportsTheCodeAndRestoresTheKey) {
    // The shell fails; the browser registered for .htm fails too.
    HtmRegistration browser("\"C:\\Browser\\browse.exe\" -new \"%1\"");
    desktop.shellResult = 31;
    desktop.winExecResult = 2;
    HWND control = AddStatic("http://www.zarvo.example/");
    CLinkStatic link(product, desktop, registry);
    ASSERT_TRUE(link.Attach(control));
    link.SetLinkKey("Click in order to visit our Home Page");
    for (int click = 1; click <= 2; ++click) {
        EXPECT_TRUE(Reflect(WM_COMMAND, MAKEWPARAM(1090, STN_CLICKED), control));
        ASSERT_EQ(static_cast<std::size_t>(click), desktop.messageBoxes.size());
        EXPECT_EQ("Unable to open hyperlink:\n\nThe specified file was not found.", desktop.messageBoxes.back().text);
        EXPECT_EQ("ZARVO", desktop.messageBoxes.back().caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), desktop.messageBoxes.back().type);
        EXPECT_EQ("http://www.zarvo.example/?ref=Zarvo_2003_v5.4_about", desktop.shellCalls.back().file);
        EXPECT_EQ("open", desktop.shellCalls.back().verb);
        EXPECT_EQ("\"C:\\Browser\\browse.exe\" -new  http://www.zarvo.example/?ref=Zarvo_2003_v5.4_about",
                  desktop.commandLines.back());
        EXPECT_FALSE(link.Visited());
        EXPECT_EQ("Click in order to visit our Home Page", link.LinkKey());
    }
    EXPECT_EQ(RGB(0, 0, 238), Colour(control));
}

TEST_F(LinkTest, FailureMessageIsOwnedByTheTopLevelWindowNotItsOwner) {
    // A frame owned by another window, a child form inside it, the link in the form.
    HtmRegistration browser("\"C:\\Browser\\browse.exe\" \"%1\"");
    desktop.shellResult = 31;
    desktop.winExecResult = 2;
    HWND frame = CreateWindowExA(0, "STATIC", "frame", WS_POPUP, 0, 0, 400, 200, parent, nullptr, nullptr, nullptr);
    HWND form = CreateWindowExA(0, "STATIC", "form", WS_CHILD | WS_VISIBLE, 0, 0, 300, 100, frame, nullptr, nullptr,
                                nullptr);
    HWND control = CreateWindowExA(0, "STATIC", "http://www.zarvo.example/", WS_CHILD | WS_VISIBLE, 10, 10, 150, 30,
                                   form, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, control);
    ASSERT_EQ(parent, GetParent(frame));  // GetParent would go on to the owner
    CLinkStatic link(product, desktop, registry);
    ASSERT_TRUE(link.Attach(control));
    link.SetLinkKey("Click in order to visit our Home Page");
    link.Click();
    ASSERT_EQ(1u, desktop.messageBoxes.size());
    EXPECT_EQ(reinterpret_cast<Desktop::WindowRef>(frame), desktop.messageBoxes[0].owner);
    DestroyWindow(frame);
}

TEST_F(LinkTest, FallbackBrowserOpensTheAddress) {
    HtmRegistration browser("C:\\BROWSE.EXE");
    desktop.shellResult = 2;
    HWND control = AddStatic("http://www.zarvo.example/");
    CLinkStatic link(product, desktop, registry);
    ASSERT_TRUE(link.Attach(control));
    link.SetLinkKey("Click in order to visit our Home Page");
    link.Click();
    ASSERT_EQ(1u, desktop.commandLines.size());
    EXPECT_EQ("C:\\BROWSE.EXE http://www.zarvo.example/?ref=Zarvo_2003_v5.4_about", desktop.commandLines[0]);
    EXPECT_TRUE(desktop.messageBoxes.empty());
    EXPECT_TRUE(link.Visited());
}

TEST_F(LinkTest, SuccessfulMailOpeningMarksTheLinkVisited) {
    HWND control = AddStatic("support@zarvo.example");
    CLinkStatic link(product, desktop, registry);
    ASSERT_TRUE(link.Attach(control));
    link.SetLinkKey("Click in order to send us an Email");
    EXPECT_FALSE(Reflect(WM_COMMAND, MAKEWPARAM(1090, STN_DBLCLK), control));
    EXPECT_TRUE(desktop.shellCalls.empty());
    EXPECT_TRUE(Reflect(WM_COMMAND, MAKEWPARAM(1090, STN_CLICKED), control));
    ASSERT_EQ(1u, desktop.shellCalls.size());
    EXPECT_EQ("mailto:support@zarvo.example?subject=Zarvo 2003 v5.4", desktop.shellCalls[0].file);
    EXPECT_TRUE(desktop.messageBoxes.empty());
    EXPECT_TRUE(link.Visited());
    EXPECT_EQ("Click in order to send us an Email", link.LinkKey());
}

TEST_F(LinkTest, HelpKeyOpensItsKeywordInTheInstalledHelpFile) {
    SettingsStore(registry).WriteString("Install", "Folder", "C:\\Program Files\\Zarvo", false);
    HWND control = AddStatic("???");
    CLinkStatic link(product, desktop, registry);
    ASSERT_TRUE(link.Attach(control));
    link.SetLinkKey("Click for help on NDI Cache settings...");
    link.Click();
    ASSERT_EQ(1u, desktop.helpCalls.size());
    EXPECT_EQ("C:\\Program Files\\Zarvo\\zartune.hlp", desktop.helpCalls[0].file);
    EXPECT_EQ(static_cast<UINT>(HELP_KEY), desktop.helpCalls[0].command);
    EXPECT_EQ("NDI Cache", desktop.helpCalls[0].keyword);
    EXPECT_TRUE(link.Visited());
    EXPECT_TRUE(desktop.shellCalls.empty());
}

TEST_F(LinkTest, UnknownKeyDoesNothing) {
    HWND control = AddStatic("???");
    CLinkStatic link(product, desktop, registry);
    ASSERT_TRUE(link.Attach(control));
    link.Click();
    EXPECT_TRUE(desktop.shellCalls.empty());
    EXPECT_TRUE(desktop.helpCalls.empty());
    EXPECT_FALSE(link.Visited());
}
