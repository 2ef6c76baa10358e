#include "common/SettingsStore.h"
#include "configurator/CMainFormView.h"
#include "configurator/ConfigurationFile.h"
#include "configurator/Win32ConfiguratorFiles.h"
#include "configurator/TuningController.h"
#include "configurator/ExplanationText.h"
#include "configurator/PrivateProfileFile.h"
#include "resources/zartune_ids.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeTuningView.h"
#include "win32/Win32Registry.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace zartune;

namespace {

const int kRadioButtons[] = {IDC_MTU_DEFAULT,       IDC_MTU_CUSTOM,       IDC_RWIN_DEFAULT, IDC_RWIN_CUSTOM,
                             IDC_TTL_DEFAULT,       IDC_TTL_CUSTOM,       IDC_KEEPALIVE_DEFAULT,
                             IDC_KEEPALIVE_CUSTOM,  IDC_NDI_DEFAULT,      IDC_NDI_CUSTOM};
const int kValueControls[] = {IDC_MTU_EDIT, IDC_RWIN_LIST, IDC_TTL_EDIT, IDC_KEEPALIVE_LIST, IDC_NDI_LIST};
const int kLinks[] = {IDC_LINK_MTU, IDC_LINK_RWIN, IDC_LINK_TTL, IDC_LINK_KEEPALIVE, IDC_LINK_GENERAL, IDC_LINK_NDI};

std::string TextOf(HWND window) {
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The controller's view, with the form's state on the real controls.
class FormBoundView : public FakeTuningView {
public:
    FormState ReadForm() const override { return form_->ReadState(); }
    void WriteForm(const FormState& state) override {
        form_->WriteState(state);
        Record("write form");
    }
    CMainFormView* form_ = nullptr;
};

class FormViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();  // the form holds a progress bar
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "ZvFormTest\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        RemoveFile();
        previousFolder_ = store_.ReadString("Install", "Folder", "", false);
        store_.WriteString("Install", "Folder", folder_, false);
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    }

    void TearDown() override {
        form_.reset();
        DestroyWindow(parent_);
        RemoveFile();
        RemoveDirectoryA(folder_.c_str());
        store_.WriteString("Install", "Folder", previousFolder_, false);
    }

    std::string Path() const { return folder_ + "Zartune2.cfg"; }
    void RemoveFile() {
        SetFileAttributesA(Path().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(Path().c_str());
    }
    void WriteKey(const char* key, const char* value) {
        WritePrivateProfileStringA("Configuration", key, value, Path().c_str());
    }
    std::string FileValue(const char* key) {
        char value[256] = {};
        GetPrivateProfileStringA("Configuration", key, "<missing>", value, sizeof value, Path().c_str());
        return value;
    }

    // Creates the form from dialog 101, runs its initial update and lets the controller load the file.
    CMainFormView& OpenForm() {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, Path().c_str());
        form_ = std::make_unique<CMainFormView>(controller_, product_, registry_, desktop_);
        view_.form_ = form_.get();
        EXPECT_TRUE(form_->CreateChild(parent_));
        form_->OnInitialUpdate();
        controller_.LoadFormSettings();
        return *form_;
    }
    // What Apply does with the file, through the real files.
    void Save() {
        files_.Unprotect(Path());
        ConfigurationFile::Save(form_->ReadState(), *files_.OpenProfile(Path(), ConfigurationFile::kSection));
        files_.Protect(Path());
    }

    HWND Item(int id) const { return GetDlgItem(form_->Handle(), id); }
    bool Checked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    int Selection(int id) const { return static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0)); }
    int Count(int id) const { return static_cast<int>(SendMessageA(Item(id), CB_GETCOUNT, 0, 0)); }
    std::string Text(int id) const { return TextOf(Item(id)); }
    void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    void Pick(int list, int position) {
        SendMessageA(Item(list), CB_SETCURSEL, position, 0);
        SendMessageA(form_->Handle(), WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(list)));
    }

    void ExpectAutomaticForm() {
        for (int id : kRadioButtons) {
            EXPECT_FALSE(Checked(id)) << id;
            EXPECT_FALSE(Enabled(id)) << id;
        }
        for (int id : kValueControls) EXPECT_FALSE(Enabled(id)) << id;
        EXPECT_EQ("", Text(IDC_MTU_EDIT));
        EXPECT_EQ("", Text(IDC_TTL_EDIT));
        for (int id : {IDC_RWIN_LIST, IDC_KEEPALIVE_LIST, IDC_NDI_LIST, IDC_HTTP10_LIST, IDC_HTTP11_LIST}) {
            EXPECT_EQ(-1, Selection(id)) << id;
        }
        for (int id : {IDC_PMTU, IDC_BLACKHOLE}) {
            EXPECT_FALSE(Checked(id)) << id;
            EXPECT_FALSE(Enabled(id)) << id;
        }
        for (int id : {IDC_HTTP10_LIST, IDC_HTTP11_LIST, IDC_LABEL_HTTP10, IDC_LABEL_HTTP11}) {
            EXPECT_FALSE(Enabled(id)) << id;
        }
        for (int id : kLinks) EXPECT_FALSE(Enabled(id)) << id;
    }

    Win32Registry registry_;
    SettingsStore store_{registry_};
    FakeDesktop desktop_;
    ProductInfo product_{registry_, desktop_};
    FormBoundView view_;
    Win32ConfiguratorFiles files_;
    TuningController controller_{product_, registry_, desktop_, files_, view_};
    std::unique_ptr<CMainFormView> form_;
    HWND parent_ = nullptr;
    std::string folder_;
    std::string previousFolder_;
};

TEST_F(FormViewTest, WithoutAFileTheFormOpensOnDialUpAndAutomatic1) {
    OpenForm();
    EXPECT_EQ(0, Selection(IDC_CONNECTION_TYPE));
    EXPECT_EQ("Dial-Up Networking (Modem)", Text(IDC_CONNECTION_TYPE));
    EXPECT_EQ("Automatic #1", Text(IDC_MODE));
    ExpectAutomaticForm();

    const struct {
        int id, count;
    } lists[] = {{IDC_CONNECTION_TYPE, 4}, {IDC_MODE, 4},         {IDC_RWIN_LIST, 7}, {IDC_KEEPALIVE_LIST, 60},
                 {IDC_HTTP10_LIST, 59},    {IDC_HTTP11_LIST, 59}, {IDC_NDI_LIST, 7}};
    for (const auto& list : lists) EXPECT_EQ(list.count, Count(list.id)) << list.id;
    for (int id : {IDC_BLANK_MTU, IDC_BLANK_RWIN, IDC_BLANK_TTL, IDC_BLANK_KEEPALIVE, IDC_BLANK_GENERAL,
                   IDC_BLANK_NDI}) {
        EXPECT_EQ(" ", Text(id)) << id;
    }
    EXPECT_FALSE(IsWindowVisible(Item(IDC_PROGRESS)));
    EXPECT_TRUE(view_.explanations.empty());
}

TEST_F(FormViewTest, AManualFileSetsEveryControl) {
    // The file written after applying "Manual" on a LAN with MTU 1500, TTL 64,
    // 5 minutes keep-alive, 4 and 8 connections, the rest on their defaults.
    const char* lines[][2] = {{"Adapter", "1"}, {"Mode", "3"}, {"MTU", "1500"}, {"RWIN", "-1"},
                              {"TTL", "64"}, {"SKA", "4"}, {"PMTU", "1"}, {"BlackHole", "0"},
                              {"HTTP10", "2"}, {"HTTP11", "6"}, {"NDI", "-1"}};
    for (const auto& line : lines) WriteKey(line[0], line[1]);
    OpenForm();

    EXPECT_EQ("LAN, Cable Modem, xDSL, ISDN, T1, T3", Text(IDC_CONNECTION_TYPE));
    EXPECT_EQ("Manual", Text(IDC_MODE));
    for (int id : kRadioButtons) EXPECT_TRUE(Enabled(id)) << id;

    EXPECT_TRUE(Checked(IDC_MTU_CUSTOM));
    EXPECT_FALSE(Checked(IDC_MTU_DEFAULT));
    EXPECT_EQ("1500", Text(IDC_MTU_EDIT));
    EXPECT_TRUE(Enabled(IDC_MTU_EDIT));

    EXPECT_TRUE(Checked(IDC_RWIN_DEFAULT));
    EXPECT_FALSE(Checked(IDC_RWIN_CUSTOM));
    EXPECT_EQ(-1, Selection(IDC_RWIN_LIST));
    EXPECT_FALSE(Enabled(IDC_RWIN_LIST));

    EXPECT_TRUE(Checked(IDC_TTL_CUSTOM));
    EXPECT_EQ("64", Text(IDC_TTL_EDIT));
    EXPECT_TRUE(Enabled(IDC_TTL_EDIT));

    EXPECT_TRUE(Checked(IDC_KEEPALIVE_CUSTOM));
    EXPECT_EQ("5 min.", Text(IDC_KEEPALIVE_LIST));
    EXPECT_TRUE(Enabled(IDC_KEEPALIVE_LIST));

    EXPECT_TRUE(Checked(IDC_PMTU));
    EXPECT_FALSE(Checked(IDC_BLACKHOLE));
    EXPECT_TRUE(Enabled(IDC_PMTU));
    EXPECT_EQ("4", Text(IDC_HTTP10_LIST));
    EXPECT_EQ("8", Text(IDC_HTTP11_LIST));
    EXPECT_TRUE(Enabled(IDC_HTTP11_LIST));

    EXPECT_TRUE(Checked(IDC_NDI_DEFAULT));
    EXPECT_FALSE(Enabled(IDC_NDI_LIST));
    for (int id : kLinks) EXPECT_TRUE(Enabled(id)) << id;
    // Loading is not the user picking "Manual": no explanation.
    EXPECT_TRUE(view_.explanations.empty());
}

TEST_F(FormViewTest, TheFormHandsItsLinksTheirColours) {
    OpenForm();
    HDC dc = GetDC(Item(IDC_LINK_TTL));
    const LRESULT brush = SendMessageA(form_->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(Item(IDC_LINK_TTL)));
    EXPECT_EQ(GetStockObject(NULL_BRUSH), reinterpret_cast<HGDIOBJ>(brush));
    EXPECT_EQ(RGB(0, 0, 238), GetTextColor(dc));
    ReleaseDC(Item(IDC_LINK_TTL), dc);
}

// Found by the damaged-state tests: a 1 MB "MTU" kept the form from opening
// for many minutes, and a text of 32,767 characters or more crashes Wine's
// WritePrivateProfileStringA when Apply saves it.
TEST_F(FormViewTest, AnOverlongTypedValueIsCutToWhatTheFileCanKeep) {
    // Written as a person or a damaged disk would: the profile functions can't.
    const std::string file = "[Configuration]\r\nMode=3\r\nMTU=" + std::string(1 << 20, '7') + "\r\nTTL=64\r\n";
    HANDLE handle = CreateFileA(Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    DWORD written = 0;
    WriteFile(handle, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    CloseHandle(handle);

    OpenForm();
    EXPECT_TRUE(Checked(IDC_MTU_CUSTOM));
    EXPECT_EQ(32766, GetWindowTextLengthA(Item(IDC_MTU_EDIT)));
    EXPECT_EQ("64", Text(IDC_TTL_EDIT));
    // Nor can the user type more than that.
    for (int id : {IDC_MTU_EDIT, IDC_TTL_EDIT}) EXPECT_EQ(32766, SendMessageA(Item(id), EM_GETLIMITTEXT, 0, 0)) << id;

    Save();
    std::vector<char> saved(40000);
    EXPECT_EQ(32766u, GetPrivateProfileStringA("Configuration", "MTU", "", saved.data(), 40000, Path().c_str()));
}

TEST_F(FormViewTest, SavedFileIsReadOnlyAndHiddenYetRewrittenByTheNextSave) {
    WriteKey("Mode", "3");
    WriteKey("MTU", "abc");
    WriteKey("HTTP10", "-1");
    SetFileAttributesA(Path().c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    OpenForm();
    EXPECT_EQ("abc", Text(IDC_MTU_EDIT));

    Save();
    const DWORD kProtected = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    EXPECT_EQ(kProtected, GetFileAttributesA(Path().c_str()) & (kProtected | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ("0", FileValue("Adapter"));
    EXPECT_EQ("3", FileValue("Mode"));
    EXPECT_EQ("abc", FileValue("MTU"));
    EXPECT_EQ("-1", FileValue("RWIN"));
    EXPECT_EQ("-1", FileValue("HTTP10"));
    EXPECT_EQ("2", FileValue("HTTP11"));
    EXPECT_EQ("1", FileValue("PMTU"));

    // Read back through the real API, "-1" is -1, not 0 or 4294967295.
    PrivateProfileFile file(Path(), "Configuration");
    EXPECT_EQ(-1, file.ReadInt("HTTP10", 7));
    EXPECT_EQ(-1, file.ReadInt("NDI", 7));
    EXPECT_EQ(7, file.ReadInt("Missing", 7));

    SetWindowTextA(Item(IDC_MTU_EDIT), "1400");
    Click(IDC_BLACKHOLE);
    Save();
    EXPECT_EQ("1400", FileValue("MTU"));
    EXPECT_EQ("1", FileValue("BlackHole"));
    EXPECT_EQ(kProtected, GetFileAttributesA(Path().c_str()) & kProtected);
}

TEST_F(FormViewTest, PickingManualExplainsThenGivesTheStartingValues) {
    OpenForm();
    Pick(IDC_MODE, 3);

    ASSERT_EQ(1u, view_.explanations.size());
    EXPECT_EQ("Dial-Up Networking (Modem)", view_.explanations[0].caption);
    EXPECT_EQ(ExplanationText(kModeManual, "Manual"), view_.explanations[0].text);

    for (int id : {IDC_MTU_DEFAULT, IDC_RWIN_DEFAULT, IDC_TTL_DEFAULT, IDC_KEEPALIVE_DEFAULT, IDC_NDI_DEFAULT}) {
        EXPECT_TRUE(Checked(id)) << id;
    }
    for (int id : kValueControls) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Checked(IDC_PMTU));
    EXPECT_FALSE(Checked(IDC_BLACKHOLE));
    EXPECT_EQ("2", Text(IDC_HTTP10_LIST));
    EXPECT_EQ("4", Text(IDC_HTTP11_LIST));
    for (int id : kLinks) EXPECT_TRUE(Enabled(id)) << id;

    // The pairs work on the real buttons; Windows Default clears what was typed.
    Click(IDC_MTU_CUSTOM);
    EXPECT_TRUE(Enabled(IDC_MTU_EDIT));
    EXPECT_TRUE(Checked(IDC_MTU_CUSTOM));
    EXPECT_FALSE(Checked(IDC_MTU_DEFAULT));
    SetWindowTextA(Item(IDC_MTU_EDIT), "1400");
    Click(IDC_MTU_DEFAULT);
    EXPECT_EQ("", Text(IDC_MTU_EDIT));
    EXPECT_FALSE(Enabled(IDC_MTU_EDIT));

    // An automatic mode throws it all away, without a dialog.
    Click(IDC_KEEPALIVE_CUSTOM);
    Pick(IDC_KEEPALIVE_LIST, 9);
    Pick(IDC_MODE, 1);
    EXPECT_EQ(1u, view_.explanations.size());
    ExpectAutomaticForm();
}

TEST_F(FormViewTest, ApplyOnlyRaisesTheRequestWhichTheControllerCarriesOutOnce) {
    OpenForm();
    Pick(IDC_MODE, 3);
    Click(IDC_MTU_CUSTOM);  // and typed nothing: Apply stops at its first check, writing nothing
    Click(IDC_APPLY);
    Click(IDC_APPLY);
    EXPECT_TRUE(desktop_.messageBoxes.empty());
    controller_.ApplyIfRequested();
    controller_.ApplyIfRequested();
    ASSERT_EQ(1u, desktop_.messageBoxes.size());
    EXPECT_EQ(0u, desktop_.messageBoxes[0].text.find("Invalid MTU value."));
}

TEST_F(FormViewTest, LargeFontsEnlargeTheSelectionFields) {
    const int lists[] = {IDC_RWIN_LIST, IDC_NDI_LIST, IDC_KEEPALIVE_LIST, IDC_HTTP10_LIST, IDC_HTTP11_LIST};
    // Wine reports a selection field's height with its 2-pixel padding, Windows
    // without; the 3 pixels between 13 and 16 are the same on both.
    const auto fieldHeights = [&] {
        std::vector<LRESULT> heights;
        for (int id : lists) heights.push_back(SendMessageA(Item(id), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
        return heights;
    };
    OpenForm();
    const std::vector<LRESULT> normal = fieldHeights();

    desktop_.logPixelsX = 120;
    OpenForm();
    const std::vector<LRESULT> large = fieldHeights();
    for (std::size_t i = 0; i < large.size(); ++i) {
        EXPECT_EQ(normal[0], normal[i]) << lists[i];
        EXPECT_EQ(normal[i] + 3, large[i]) << lists[i];
    }
}

}  // namespace
