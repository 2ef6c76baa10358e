// The keep-alive dialog from zartune.exe's own dialog 155, run modally on
// real controls and the real Wine registry; a timer callback inside its
// message loop acts as the user. Message boxes go to the fake desktop, while
// the notice to the agent goes to real windows.
#include "common/AgentNotice.h"
#include "common/SettingsStore.h"
#include "configurator/CKeepAliveDlg.h"
#include "configurator/CZartuneApp.h"
#include "resources/zartune_ids.h"
#include "tests/support/FakeDesktop.h"
#include "tests/win/form/TempInstallFolder.h"
#include "tests/win/form/DialogCloser.h"
#include "win32/Win32Desktop.h"
#include "win32/Win32Registry.h"

#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace zartune;

namespace {

const std::string kAutomaticText = std::string(17, ' ') + "Automatic";

// Message boxes are recorded; finding and telling the agent is real.
class AgentReachingDesktop : public FakeDesktop {
public:
    WindowRef FindWindowTitled(const std::string& title) override { return real_.FindWindowTitled(title); }
    std::intptr_t SendWindowMessage(WindowRef window, UINT message, std::uintptr_t wParam,
                                    std::intptr_t lParam) override {
        return real_.SendWindowMessage(window, message, wParam, lParam);
    }

private:
    Win32Desktop real_;
};

// A stand-in for the agent's hidden window: what it was sent, and what the
// store held at that moment.
struct Notice {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string storedHost;
};
std::vector<Notice>* notices = nullptr;

LRESULT CALLBACK AgentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSettingsChangedMessage && notices != nullptr) {
        Win32Registry registry;
        SettingsStore store(registry);
        notices->push_back({message, wParam, lParam, store.ReadString(kKeepAliveSection, "PingHost", "", true)});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string TextOfWindow(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::function<void(HWND)>* act = nullptr;

// Acts once the dialog shows, which it does when its queue first runs empty.
void CALLBACK ActOnDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA(nullptr, "Evertie");
    if (dialog == nullptr || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, timer);
    if (act != nullptr) (*act)(dialog);
}

class KeepAliveDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        notices = &notices_;
    }

    void TearDown() override {
        notices = nullptr;
        if (agent_ != nullptr) DestroyWindow(agent_);
        ClearSettings();
    }

    void ClearSettings() {
        const std::string section =
            std::string(SettingsStore::kProductKey) + "\\" + SettingsStore::ScrambleText(kKeepAliveSection, false);
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, section.c_str());
    }
    void Store(const KeepAliveSettings& settings) { ASSERT_TRUE(settings.Save(store_)); }
    std::string Stored(const char* name) { return store_.ReadString(kKeepAliveSection, name, "<none>", true); }

    void StartAgentWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = &AgentProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZvTestAgent";
        RegisterClassA(&windowClass);
        agent_ = CreateWindowExA(0, "ZvTestAgent", kAgentWindowTitle, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, agent_);
    }

    // Runs the dialog; look runs once it is up, as the user, and must close it.
    INT_PTR Run(std::function<void(HWND)> look) {
        bool looked = false;
        std::function<void(HWND)> wrapped = [&](HWND dialog) {
            looked = true;
            dialog_ = dialog;
            look(dialog);
        };
        act = &wrapped;
        SetTimer(nullptr, 0, 1, &ActOnDialog);
        CKeepAliveDlg keepAlive(product_, desktop_);
        const INT_PTR result = keepAlive.DoModal(nullptr);
        act = nullptr;
        EXPECT_TRUE(looked);
        return result;
    }

    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    bool Checked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    int Selection() const { return static_cast<int>(SendMessageA(Item(IDC_PING_INTERVAL), CB_GETCURSEL, 0, 0)); }
    std::string Text(int id) const { return TextOfWindow(Item(id)); }
    void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    void Press(int id) {
        SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    }
    void Focus(int id) { SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE); }
    void Type(const std::string& host) { SetWindowTextA(Item(IDC_PING_HOST), host.c_str()); }

    void ExpectAutomatic() {
        EXPECT_TRUE(Checked(IDC_PING_AUTOMATIC));
        EXPECT_FALSE(Checked(IDC_PING_MANUAL));
        EXPECT_FALSE(Enabled(IDC_PING_HOST));
        EXPECT_EQ(kAutomaticText, Text(IDC_PING_HOST));
        EXPECT_FALSE(Enabled(IDC_PING_INTERVAL));
        EXPECT_EQ(4, Selection());
        EXPECT_EQ(" 5 minutes.", Text(IDC_PING_INTERVAL));
    }

    Win32Registry registry_;
    SettingsStore store_{registry_};
    TempInstallFolder installFolder_{store_};
    AgentReachingDesktop desktop_;
    ProductInfo product_{registry_, desktop_};
    HWND dialog_ = nullptr;
    HWND agent_ = nullptr;
    std::vector<Notice> notices_;
};

TEST_F(KeepAliveDlgTest, TemplateHoldsEveryControlWhereItBelongs) {
    Run([&](HWND dialog) {
        char caption[32] = {};
        GetWindowTextA(dialog, caption, sizeof caption);
        EXPECT_STREQ("Evertie", caption);
        const LONG style = GetWindowLongA(dialog, GWL_STYLE);
        const LONG frame = WS_CAPTION | WS_SYSMENU | WS_POPUP;
        EXPECT_EQ(frame, style & frame);
        EXPECT_EQ(0, style & (WS_THICKFRAME | WS_MAXIMIZEBOX));

        const struct {
            int id;
            RECT units;  // left, top, width, height in dialog units
            const char* className;
            const char* text;
            DWORD style;  // the bits that must be set
            bool tabStop;
        } controls[] = {
            {IDOK, {178, 45, 50, 14}, "Button", "OK", BS_DEFPUSHBUTTON, true},
            {IDCANCEL, {178, 74, 50, 14}, "Button", "&Cancel", BS_PUSHBUTTON, true},
            {IDC_PING_INTRO, {44, 8, 189, 28}, "Static",
             "Internet Service Providers (ISPs) disconnect users after a\nfixed time of modem inactivity. Setup the "
             "Evertie\nsettings and you will not be disconnected...",
             SS_LEFT, false},
            {IDC_PING_HELP, {178, 103, 50, 14}, "Button", "&Help", BS_PUSHBUTTON, true},
            {IDC_PING_DEFAULTS, {178, 133, 50, 14}, "Button", "&Default", BS_PUSHBUTTON, true},
            {IDC_PING_ANIMATION, {41, 158, 160, 10}, "Button", "Activate Task Bar animation while connecting",
             BS_AUTOCHECKBOX, true},
            {IDC_PING_SOUND, {31, 131, 120, 10}, "Button", "Play &sound while simulate activity", BS_AUTOCHECKBOX,
             true},
            {IDC_PING_INTERVAL, {102, 113, 56, 67}, "ComboBox", nullptr, CBS_DROPDOWN, true},
            // A radio button is a tab stop while it is checked: the group's
            // checked button is where the Tab key lands.
            {IDC_PING_AUTOMATIC, {21, 54, 67, 10}, "Button", "&Automatic Mode", BS_AUTORADIOBUTTON, true},
            {IDC_PING_MANUAL, {99, 54, 59, 10}, "Button", "&Manual Mode", BS_AUTORADIOBUTTON, false},
            {IDC_PING_HOST, {54, 75, 104, 12}, "Edit", nullptr, ES_AUTOHSCROLL, false},
        };
        for (const auto& c : controls) {
            HWND control = Item(c.id);
            ASSERT_NE(nullptr, control) << c.id;
            // Position and size are each converted from dialog units, as the dialog manager does.
            RECT expected = c.units;
            MapDialogRect(dialog, &expected);
            RECT actual;
            GetWindowRect(control, &actual);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
            EXPECT_EQ(expected.left, actual.left) << c.id;
            EXPECT_EQ(expected.top, actual.top) << c.id;
            EXPECT_EQ(expected.right, actual.right - actual.left) << c.id;
            if (c.id != IDC_PING_INTERVAL) {  // a combo box is as high as its closed field
                EXPECT_EQ(expected.bottom, actual.bottom - actual.top) << c.id;
            }
            char className[32] = {};
            GetClassNameA(control, className, sizeof className);
            EXPECT_STREQ(c.className, className) << c.id;
            if (c.text != nullptr) {
                EXPECT_EQ(c.text, Text(c.id)) << c.id;
            }
            const DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
            const DWORD typeMask = std::string(c.className) == "Button" ? BS_TYPEMASK : c.style;
            EXPECT_EQ(c.style, style & typeMask) << c.id;
            EXPECT_EQ(c.tabStop, (style & WS_TABSTOP) != 0) << c.id;
        }

        EXPECT_NE(0, GetWindowLongA(Item(IDC_PING_HOST), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);  // its border

        // The icon at its real size, not stretched to the 20 x 20 units.
        HICON icon = reinterpret_cast<HICON>(SendMessageA(Item(IDC_PING_ICON), STM_GETICON, 0, 0));
        EXPECT_NE(nullptr, icon);
        RECT iconRect;
        GetClientRect(Item(IDC_PING_ICON), &iconRect);
        EXPECT_EQ(GetSystemMetrics(SM_CXICON), iconRect.right);

        const std::vector<std::string> intervals = KeepAliveState::IntervalTexts();
        ASSERT_EQ(60, SendMessageA(Item(IDC_PING_INTERVAL), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < 60; ++i) {
            char item[32] = {};
            SendMessageA(Item(IDC_PING_INTERVAL), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            EXPECT_EQ(intervals[i], item) << i;
        }
        // The example fits its line, in Wine's font too, which is wider than Windows' own.
        HWND example = nullptr;
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            char text[64] = {};
            GetWindowTextA(child, text, sizeof text);
            if (std::string(text).rfind("Example: ", 0) == 0) example = child;
        }
        ASSERT_NE(nullptr, example);
        EXPECT_EQ("Example: www.zarvo.example", TextOfWindow(example));
        RECT line;
        GetClientRect(example, &line);
        RECT needed = {0, 0, 0, 0};
        HDC dc = GetDC(example);
        HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
        const std::string text = TextOfWindow(example);
        DrawTextA(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, font);
        ReleaseDC(example, dc);
        EXPECT_LE(needed.right, line.right);

        // The list has a field of its own to type in.
        EXPECT_NE(nullptr, FindWindowExA(Item(IDC_PING_INTERVAL), nullptr, "Edit", nullptr));
        Press(IDCANCEL);
    });
}

TEST_F(KeepAliveDlgTest, FirstOpeningIsAutomaticWithAnimationAndOkHasTheFocus) {
    const INT_PTR result = Run([&](HWND dialog) {
        ExpectAutomatic();
        EXPECT_FALSE(Checked(IDC_PING_SOUND));
        EXPECT_TRUE(Checked(IDC_PING_ANIMATION));
        EXPECT_EQ(Item(IDOK), GetFocus());
        // Not started with "ping": no window icon of its own.
        EXPECT_EQ(0, SendMessageA(dialog, WM_GETICON, ICON_BIG, 0));
        Press(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ("<none>", Stored("PingMode"));  // Cancel writes nothing
}

TEST_F(KeepAliveDlgTest, SavedManualModeShowsItsSiteAndInterval) {
    Store({"Manual", "http://my.example/", 59, 1, 0});
    Run([&](HWND) {
        EXPECT_TRUE(Checked(IDC_PING_MANUAL));
        EXPECT_FALSE(Checked(IDC_PING_AUTOMATIC));
        EXPECT_TRUE(Enabled(IDC_PING_HOST));
        EXPECT_EQ("http://my.example/", Text(IDC_PING_HOST));
        EXPECT_TRUE(Enabled(IDC_PING_INTERVAL));
        EXPECT_EQ(59, Selection());
        EXPECT_EQ(" 60 minutes.", Text(IDC_PING_INTERVAL));
        EXPECT_TRUE(Checked(IDC_PING_SOUND));
        EXPECT_FALSE(Checked(IDC_PING_ANIMATION));
        Press(IDCANCEL);
    });
}

TEST_F(KeepAliveDlgTest, AModeNeitherAutomaticNorManualOpensManual) {
    Store({"Sometimes", "http://my.example/", 2, 0, 1});
    Run([&](HWND) {
        EXPECT_TRUE(Checked(IDC_PING_MANUAL));
        EXPECT_EQ(" 3 minutes.", Text(IDC_PING_INTERVAL));
        EXPECT_TRUE(Checked(IDC_PING_ANIMATION));
        Press(IDCANCEL);
    });
}

TEST_F(KeepAliveDlgTest, AnIntervalOutsideTheListSelectsNothingAndOkStoresTenMinutes) {
    Store({"Manual", "http://my.example/", 75, 0, 0});
    Run([&](HWND) {
        EXPECT_EQ(-1, Selection());
        EXPECT_EQ("", Text(IDC_PING_INTERVAL));
        Press(IDOK);  // Enter, with the focus still where it was
    });
    EXPECT_EQ("9", Stored("PingInterval"));
}

TEST_F(KeepAliveDlgTest, TheListRepairsItsSelectionWhenItLosesTheFocus) {
    Store({"Manual", "http://my.example/", 75, 0, 0});
    Run([&](HWND) {
        Focus(IDC_PING_INTERVAL);
        Focus(IDC_PING_HOST);
        EXPECT_EQ(9, Selection());
        EXPECT_EQ(" 10 minutes.", Text(IDC_PING_INTERVAL));

        // Typed over, the field gets its item's text back.
        SendMessageA(Item(IDC_PING_INTERVAL), CB_SETCURSEL, 20, 0);
        Focus(IDC_PING_INTERVAL);
        SetWindowTextA(FindWindowExA(Item(IDC_PING_INTERVAL), nullptr, "Edit", nullptr), "whenever");
        Focus(IDC_PING_HOST);
        EXPECT_EQ(" 21 minutes.", Text(IDC_PING_INTERVAL));
        Press(IDCANCEL);
    });
}

TEST_F(KeepAliveDlgTest, ManualModeEmptiesTheSiteOnEveryClickAndAutomaticPutsItBack) {
    Run([&](HWND) {
        Click(IDC_PING_MANUAL);
        EXPECT_TRUE(Checked(IDC_PING_MANUAL));
        EXPECT_FALSE(Checked(IDC_PING_AUTOMATIC));
        EXPECT_TRUE(Enabled(IDC_PING_HOST));
        EXPECT_TRUE(Enabled(IDC_PING_INTERVAL));
        EXPECT_EQ("", Text(IDC_PING_HOST));
        Type("http://my.example/");
        Click(IDC_PING_MANUAL);
        EXPECT_EQ("", Text(IDC_PING_HOST));
        Click(IDC_PING_AUTOMATIC);
        ExpectAutomatic();
        Press(IDCANCEL);
    });
}

TEST_F(KeepAliveDlgTest, ASiteOfSpacesOnlyIsRefusedAndTheDialogStaysOpen) {
    StartAgentWindow();
    Run([&](HWND dialog) {
        Click(IDC_PING_MANUAL);
        Type("    ");
        Press(IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        ASSERT_EQ(1u, desktop_.messageBoxes.size());
        EXPECT_EQ("Please choose a valid Ping Host.\nExample:  www.zarvo.example ",
                  desktop_.messageBoxes[0].text);
        EXPECT_EQ(reinterpret_cast<Desktop::WindowRef>(dialog), desktop_.messageBoxes[0].owner);
        Press(IDCANCEL);
    });
    EXPECT_EQ("<none>", Stored("PingMode"));
    EXPECT_TRUE(notices_.empty());
}

TEST_F(KeepAliveDlgTest, OkStoresTheSiteAsTypedAndTellsTheAgentAfterwards) {
    StartAgentWindow();
    const INT_PTR result = Run([&](HWND) {
        Click(IDC_PING_MANUAL);
        Type("  http://my.example/  ");
        SendMessageA(Item(IDC_PING_INTERVAL), CB_SETCURSEL, 0, 0);
        Click(IDC_PING_SOUND);
        Click(IDC_PING_ANIMATION);
        Press(IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ("Manual", Stored("PingMode"));
    EXPECT_EQ("  http://my.example/  ", Stored("PingHost"));
    EXPECT_EQ("0", Stored("PingInterval"));
    EXPECT_EQ("1", Stored("PingSound"));
    EXPECT_EQ("0", Stored("TaskBarAni"));
    ASSERT_EQ(1u, notices_.size());
    EXPECT_EQ(1112u, notices_[0].message);
    EXPECT_EQ(123u, notices_[0].wParam);
    EXPECT_EQ(123, notices_[0].lParam);
    EXPECT_EQ("  http://my.example/  ", notices_[0].storedHost);  // written before the notice
}

TEST_F(KeepAliveDlgTest, WithoutTheAgentOkWritesAndSendsNothing) {
    ASSERT_EQ(nullptr, FindWindowA(nullptr, kAgentWindowTitle));
    EXPECT_EQ(IDOK, Run([&](HWND) { Press(IDOK); }));
    EXPECT_EQ("Automatic", Stored("PingMode"));
    EXPECT_EQ("9", Stored("PingInterval"));
    EXPECT_EQ("1", Stored("TaskBarAni"));
}

TEST_F(KeepAliveDlgTest, DefaultThenOkWritesTheAutomaticSet) {
    Store({"Manual", "http://my.example/", 20, 1, 0});
    StartAgentWindow();
    Run([&](HWND) {
        Press(IDC_PING_DEFAULTS);
        ExpectAutomatic();
        EXPECT_FALSE(Checked(IDC_PING_SOUND));
        EXPECT_TRUE(Checked(IDC_PING_ANIMATION));
        EXPECT_EQ(Item(IDC_PING_AUTOMATIC), GetFocus());
        EXPECT_EQ("http://my.example/", Stored("PingHost"));  // nothing written before OK
        Press(IDOK);
    });
    EXPECT_EQ("Automatic", Stored("PingMode"));
    EXPECT_EQ("Automatic", Stored("PingHost"));
    EXPECT_EQ("9", Stored("PingInterval"));
    EXPECT_EQ("0", Stored("PingSound"));
    EXPECT_EQ("1", Stored("TaskBarAni"));
    EXPECT_EQ(1u, notices_.size());
}

TEST_F(KeepAliveDlgTest, OkWhileTheAutomaticButtonHasTheFocusSavesAutomatic) {
    Store({"Manual", "http://my.example/", 20, 0, 1});
    Run([&](HWND) {
        // Alt+A, as the dialog manager takes a mnemonic: the button gets the focus and a click.
        MSG mnemonic = {Item(IDOK), WM_SYSCHAR, 'a', 0x20000000, 0, {0, 0}};
        EXPECT_TRUE(IsDialogMessageA(dialog_, &mnemonic));
        EXPECT_EQ(Item(IDC_PING_AUTOMATIC), GetFocus());
        ExpectAutomatic();
        Press(IDOK);
    });
    EXPECT_EQ("Automatic", Stored("PingMode"));
    EXPECT_EQ("9", Stored("PingInterval"));
}

TEST_F(KeepAliveDlgTest, AFailedWriteIsToldKeepsTheDialogOpenAndSendsNothing) {
    StartAgentWindow();
    Run([&](HWND dialog) {
        Click(IDC_PING_MANUAL);
        Type("http://" + std::string(500, 'a') + ".example/");  // more than the store holds
        Press(IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        ASSERT_EQ(1u, desktop_.messageBoxes.size());
        EXPECT_EQ(0u, desktop_.messageBoxes[0].text.find("Your Evertie settings could not be saved."));
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), desktop_.messageBoxes[0].type);
        Press(IDCANCEL);
    });
    EXPECT_TRUE(notices_.empty());
    EXPECT_EQ("<none>", Stored("PingHost"));
}

TEST_F(KeepAliveDlgTest, CancelWritesNothingAndTellsNoOne) {
    Store({"Manual", "http://my.example/", 20, 0, 1});
    StartAgentWindow();
    Run([&](HWND) {
        Press(IDC_PING_DEFAULTS);
        PostMessageA(dialog_, WM_CLOSE, 0, 0);  // the close box, as Escape
    });
    EXPECT_EQ("Manual", Stored("PingMode"));
    EXPECT_EQ("20", Stored("PingInterval"));
    EXPECT_TRUE(notices_.empty());
}

TEST_F(KeepAliveDlgTest, HelpOpensTheEvertieTopic) {
    Run([&](HWND) {
        Press(IDC_PING_HELP);
        Press(IDCANCEL);
    });
    ASSERT_EQ(1u, desktop_.helpCalls.size());
    EXPECT_EQ(product_.InstallFolder() + "zartune.hlp", desktop_.helpCalls[0].file);
    EXPECT_EQ("Evertie", desktop_.helpCalls[0].keyword);
    EXPECT_EQ(static_cast<UINT>(HELP_KEY), desktop_.helpCalls[0].command);
}

TEST_F(KeepAliveDlgTest, ThePingSwitchGivesTheDialogItsWindowIcon) {
    desktop_.commandLine = "\"C:\\Program Files\\Zarvo\\zartune.exe\" /PING";
    Run([&](HWND dialog) {
        EXPECT_NE(0, SendMessageA(dialog, WM_GETICON, ICON_BIG, 0));
        EXPECT_NE(0, SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));
        Press(IDCANCEL);
    });
}

TEST_F(KeepAliveDlgTest, LargeFontsMoveFourControlsAndWidenThePadding) {
    const auto place = [&](int id) {
        RECT rect;
        GetWindowRect(Item(id), &rect);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    const int moved[] = {IDC_PING_ICON, IDC_PING_INTRO, IDC_PING_MANUAL, IDC_PING_ANIMATION};
    std::vector<RECT> normal;
    LRESULT normalHeight = 0;
    Run([&](HWND) {
        for (int id : moved) normal.push_back(place(id));
        normalHeight = SendMessageA(Item(IDC_PING_INTERVAL), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
        Press(IDCANCEL);
    });

    desktop_.logPixelsX = 120;
    Run([&](HWND) {
        const POINT targets[] = {{28, 17}, {98, 16}, {208, 108}, {100, 316}};
        for (int i = 0; i < 4; ++i) {
            const RECT rect = place(moved[i]);
            EXPECT_EQ(targets[i].x, rect.left) << moved[i];
            EXPECT_EQ(targets[i].y, rect.top) << moved[i];
            EXPECT_EQ(normal[i].right - normal[i].left, rect.right - rect.left) << moved[i];
            EXPECT_EQ(normal[i].bottom - normal[i].top, rect.bottom - rect.top) << moved[i];
        }
        // Wine counts the field's padding in, Windows doesn't; the 3 pixels are the same.
        EXPECT_EQ(normalHeight + 3,
                  SendMessageA(Item(IDC_PING_INTERVAL), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
        EXPECT_EQ(std::string(22, ' ') + "Automatic", Text(IDC_PING_HOST));
        Press(IDCANCEL);
    });
}

// "/ping": the agent is started, the guard passes, the dialog is the whole
// run, with no owner, and the program ends when it closes.
TEST_F(KeepAliveDlgTest, ThePingSwitchOpensOnlyTheDialog) {
    desktop_.commandLine = "zartune.exe /ping";
    DialogCloser dialogs;
    dialogs.answer = IDCANCEL;
    CZartuneApp app(registry_, desktop_);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(nullptr, app.MainFrame());
    ASSERT_EQ(1u, desktop_.shellCalls.size());
    EXPECT_EQ("/auto", desktop_.shellCalls[0].parameters);
    ASSERT_EQ(1u, dialogs.shown.size());
    EXPECT_EQ("Evertie", dialogs.shown[0].caption);
    EXPECT_EQ(nullptr, dialogs.shown[0].owner);
    EXPECT_TRUE(desktop_.messageBoxes.empty());
}

}  // namespace
