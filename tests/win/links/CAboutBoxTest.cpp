// The About box from zartune.exe's own resources, run modally; a timer
// callback inside its message loop looks at it and closes it.
#include "common/ProductInfo.h"
#include "configurator/CAboutBox.h"
#include "configurator/CLinkStatic.h"
#include "resources/zartune_ids.h"
#include "tests/support/FakeDesktop.h"
#include "win32/DibPalette.h"
#include "win32/Win32Registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

using namespace zartune;

namespace {

std::function<void(HWND)>* inspect = nullptr;

void CALLBACK InspectAboutBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND box = FindWindowA(nullptr, "About Zarvo");
    if (box != nullptr && inspect != nullptr) (*inspect)(box);
}

std::string ItemText(HWND box, int id) {
    char text[256] = {};
    GetDlgItemTextA(box, id, text, sizeof text);
    return text;
}

class AboutBoxTest : public ::testing::Test {
protected:
    // Shows the box; look runs once it is up and must close it.
    INT_PTR Show(std::function<void(HWND)> look) {
        inspect = &look;
        SetTimer(nullptr, 0, 1, &InspectAboutBox);
        CAboutBox box(product, desktop, registry);
        const INT_PTR result = box.DoModal(nullptr);
        inspect = nullptr;
        return result;
    }

    static void Press(HWND box, int id) {
        SendMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    }

    Win32Registry registry;
    FakeDesktop desktop;
    ProductInfo product{registry, desktop};
};

}  // namespace

TEST_F(AboutBoxTest, ShowsTheVendorLinksAndClosesWithOne) {
    desktop.commandLine = "\"C:\\Program Files\\Zarvo\\zartune.exe\"";
    bool looked = false;
    const INT_PTR result = Show([&](HWND box) {
        looked = true;
        EXPECT_EQ("Web Site:", ItemText(box, IDC_ABOUT_WEB_LABEL));
        EXPECT_EQ("Support team:", ItemText(box, IDC_ABOUT_SUPPORT_LABEL));
        EXPECT_EQ("http://www.zarvo.example/", ItemText(box, IDC_ABOUT_WEB_LINK));
        EXPECT_EQ("support@zarvo.example", ItemText(box, IDC_ABOUT_MAIL_LINK));
        EXPECT_FALSE(ItemText(box, IDC_ABOUT_LEGAL_1).empty());
        EXPECT_FALSE(ItemText(box, IDC_ABOUT_LEGAL_2).empty());
        auto* web = static_cast<CLinkStatic*>(SubclassedWindow::FromHandle(GetDlgItem(box, IDC_ABOUT_WEB_LINK)));
        auto* mail = static_cast<CLinkStatic*>(SubclassedWindow::FromHandle(GetDlgItem(box, IDC_ABOUT_MAIL_LINK)));
        ASSERT_NE(nullptr, web);
        ASSERT_NE(nullptr, mail);
        EXPECT_EQ("Click in order to visit our Home Page", web->LinkKey());
        EXPECT_EQ("Click in order to send us an Email", mail->LinkKey());
        EXPECT_NE(nullptr, web->LinkCursor());
        // Not run for "about": the box carries no icon of its own.
        EXPECT_EQ(0, SendMessageA(box, WM_GETICON, ICON_BIG, 0));

        // The box hands the links their clicks.
        Press(box, IDC_ABOUT_WEB_LINK);
        Press(box, IDC_ABOUT_MAIL_LINK);
        ASSERT_EQ(2u, desktop.shellCalls.size());
        EXPECT_EQ("http://www.zarvo.example/?ref=Zarvo_2003_v5.4_about", desktop.shellCalls[0].file);
        EXPECT_EQ("mailto:support@zarvo.example?subject=Zarvo 2003 v5.4", desktop.shellCalls[1].file);
        EXPECT_TRUE(web->Visited());

        Press(box, IDC_ABOUT_CLOSE);
    });
    EXPECT_TRUE(looked);
    EXPECT_EQ(1, result);
}

TEST_F(AboutBoxTest, AboutSwitchGivesTheBoxTheAboutIcon) {
    desktop.commandLine = "\"C:\\Program Files\\Zarvo\\zartune.exe\" /ABOUT";
    bool looked = false;
    const INT_PTR result = Show([&](HWND box) {
        looked = true;
        EXPECT_NE(0, SendMessageA(box, WM_GETICON, ICON_BIG, 0));
        EXPECT_NE(0, SendMessageA(box, WM_GETICON, ICON_SMALL, 0));
        PostMessageA(box, WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(looked);
    EXPECT_EQ(IDCANCEL, result);
}

TEST_F(AboutBoxTest, PictureIsAPaletteBitmapOfTheBoxesSize) {
    UniqueHbitmap bitmap;
    UniqueHpalette palette;
    ASSERT_TRUE(LoadBitmapWithPalette(GetModuleHandleA(nullptr), IDB_ABOUT, &bitmap, &palette));
    DIBSECTION section = {};
    ASSERT_EQ(static_cast<int>(sizeof section), GetObjectA(bitmap.get(), sizeof section, &section));
    EXPECT_EQ(125, section.dsBm.bmWidth);
    EXPECT_EQ(140, section.dsBm.bmHeight);
    EXPECT_EQ(8, section.dsBm.bmBitsPixel);
    ASSERT_TRUE(palette);
    WORD entries = 0;
    GetObjectA(palette.get(), sizeof entries, &entries);
    EXPECT_EQ(256, entries);
}
