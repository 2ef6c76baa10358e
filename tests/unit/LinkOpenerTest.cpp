#include "common/Vendor.h"
#include "configurator/LinkActions.h"
#include "configurator/LinkLayout.h"
#include "configurator/LinkOpener.h"
#include "tests/support/FakeDesktop.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace {

const std::string kTarget = "http://www.zarvo.example/?ref=Zarvo_2003_v5.4_about";

class LinkOpenerTest : public ::testing::Test {
protected:
    void RegisterBrowser(const std::string& command) {
        registry.PutString(RegRoot::ClassesRoot, ".htm", "", "htmlfile");
        registry.PutString(RegRoot::ClassesRoot, "htmlfile\\shell\\open\\command", "", command);
    }

    MemoryRegistry registry;
    FakeDesktop desktop;
    LinkOpener opener{desktop, registry};
};

}  // namespace

TEST(LinkOpenerText, FailureMessagesByShellCode) {
    const struct {
        std::intptr_t code;
        const char* text;
    } cases[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {4, "Unknown Error (4) occurred."},
        {-1, "Unknown Error (-1) occurred."},
        {1234, "Unknown Error (1234) occurred."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, LinkOpener::ErrorText(c.code)) << c.code;
        EXPECT_EQ(std::string("Unable to open hyperlink:\n\n") + c.text, LinkOpener::FailureMessage(c.code)) << c.code;
    }
}

TEST(LinkOpenerText, CommandLineIsCutAtThePlaceholder) {
    const struct {
        const char* command;
        const char* cut;
    } cases[] = {
        {"\"C:\\Browser\\browse.exe\" -nohome \"%1\"", "\"C:\\Browser\\browse.exe\" -nohome "},
        // The quoted placeholder wins over an earlier bare one.
        {"browse.exe -x%1 -url \"%1\" -y", "browse.exe -x%1 -url "},
        {"C:\\BROWSE.EXE %1", "C:\\BROWSE.EXE "},
        {"C:\\BROWSE.EXE -nohome", "C:\\BROWSE.EXE -nohome"},
        {"", ""},
        {"%1", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.cut, LinkOpener::CommandBeforePlaceholder(c.command)) << c.command;
}

TEST_F(LinkOpenerTest, ShellSuccessIsReturnedWithoutFallback) {
    desktop.shellResult = 42;
    RegisterBrowser("browse.exe \"%1\"");
    EXPECT_EQ(42, opener.OpenLink(kTarget, SW_SHOW));
    ASSERT_EQ(1u, desktop.shellCalls.size());
    EXPECT_EQ("open", desktop.shellCalls[0].verb);
    EXPECT_EQ(kTarget, desktop.shellCalls[0].file);
    EXPECT_EQ("", desktop.shellCalls[0].parameters);
    EXPECT_EQ("", desktop.shellCalls[0].directory);
    EXPECT_EQ(SW_SHOW, desktop.shellCalls[0].show);
    EXPECT_TRUE(desktop.commandLines.empty());
}

TEST_F(LinkOpenerTest, FallbackRunsTheHtmBrowserWithTheTarget) {
    const struct {
        const char* registered;
        const char* run;
    } cases[] = {
        {"\"C:\\Program Files\\Browser\\browse.exe\" \"%1\"", "\"C:\\Program Files\\Browser\\browse.exe\"  "},
        {"C:\\BROWSE.EXE %1", "C:\\BROWSE.EXE  "},
        {"C:\\BROWSE.EXE -nohome", "C:\\BROWSE.EXE -nohome "},
    };
    for (const auto& c : cases) {
        desktop.commandLines.clear();
        desktop.shellResult = 31;
        desktop.winExecResult = 33;
        RegisterBrowser(c.registered);
        EXPECT_EQ(33, opener.OpenLink(kTarget, SW_SHOW)) << c.registered;
        ASSERT_EQ(1u, desktop.commandLines.size());
        EXPECT_EQ(std::string(c.run) + kTarget, desktop.commandLines[0]);
    }
    EXPECT_EQ(0, registry.OpenKeyCount());
}

TEST_F(LinkOpenerTest, WinExecFailureCodeIsReturned) {
    desktop.shellResult = 31;
    desktop.winExecResult = 2;
    RegisterBrowser("browse.exe %1");
    EXPECT_EQ(2, opener.OpenLink(kTarget, SW_SHOW));
}

TEST_F(LinkOpenerTest, MissingRegistrationKeepsTheShellCode) {
    desktop.shellResult = 31;
    EXPECT_EQ(31, opener.OpenLink(kTarget, SW_SHOW));  // no ".htm" at all

    registry.PutString(RegRoot::ClassesRoot, ".htm", "", "htmlfile");
    EXPECT_EQ(31, opener.OpenLink(kTarget, SW_SHOW));  // no command for the type

    registry.AddKey(RegRoot::ClassesRoot, "htmlfile\\shell\\open\\command");
    EXPECT_EQ(31, opener.OpenLink(kTarget, SW_SHOW));  // the key has no unnamed value

    EXPECT_TRUE(desktop.commandLines.empty());
    EXPECT_EQ(0, registry.OpenKeyCount());
}

TEST_F(LinkOpenerTest, DefaultValueReading) {
    std::string text = "untouched";
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, opener.ReadDefaultRegValue(RegRoot::ClassesRoot, ".htm", &text));
    EXPECT_EQ("untouched", text);

    // Data stored without its terminating NUL still reads whole.
    registry.Put(RegRoot::ClassesRoot, ".htm", "", REG_SZ, {'h', 't', 'm', 'l'});
    EXPECT_EQ(ERROR_SUCCESS, opener.ReadDefaultRegValue(RegRoot::ClassesRoot, ".htm", &text));
    EXPECT_EQ("html", text);

    // Longer than the 260-byte buffer: refused, text unchanged.
    registry.PutString(RegRoot::ClassesRoot, ".htm", "", std::string(300, 'x'));
    EXPECT_EQ(ERROR_MORE_DATA, opener.ReadDefaultRegValue(RegRoot::ClassesRoot, ".htm", &text));
    EXPECT_EQ("html", text);

    registry.DenyAccess(RegRoot::ClassesRoot, ".htm", KEY_QUERY_VALUE);
    EXPECT_EQ(ERROR_ACCESS_DENIED, opener.ReadDefaultRegValue(RegRoot::ClassesRoot, ".htm", &text));
    EXPECT_EQ(0, registry.OpenKeyCount());
}

TEST(LinkActions, KeysChooseTheirAction) {
    const struct {
        const char* key;
        LinkActionKind kind;
        const char* text;
    } cases[] = {
        {"Click in order to visit our Home Page", LinkActionKind::OpenTarget,
         "http://www.zarvo.example/?ref=Zarvo_2003_v5.4_about"},
        {"Click in order to send us an Email", LinkActionKind::OpenTarget,
         "mailto:support@zarvo.example?subject=Zarvo 2003 v5.4"},
        {"Click for help on MTU settings...", LinkActionKind::ShowHelp, "MTU (Maximum Transmission Unit)"},
        {"Click for help on RWIN settings...", LinkActionKind::ShowHelp, "RWIN (Receive Window)"},
        {"Click for help on TTL settings...", LinkActionKind::ShowHelp, "TTL (Time To Live)"},
        {"Click for help on Session Keep Alive settings...", LinkActionKind::ShowHelp, "Session Keep Alive"},
        {"Click for help on General settings...", LinkActionKind::ShowHelp, "PMTU (Path Maximum Transmission Unit)"},
        {"Click for help on NDI Cache settings...", LinkActionKind::ShowHelp, "NDI Cache"},
        {"???", LinkActionKind::None, ""},
        {"", LinkActionKind::None, ""},
        {"click for help on MTU settings...", LinkActionKind::None, ""},
        {"http://www.zarvo.example/?ref=Zarvo_2003_v5.4_about", LinkActionKind::None, ""},
    };
    for (const auto& c : cases) {
        const LinkAction action = LinkActionForKey(c.key, "Zarvo 2003", "v5.4");
        EXPECT_EQ(c.kind, action.kind) << c.key;
        EXPECT_EQ(c.text, action.text) << c.key;
    }
}

TEST(LinkActions, ReferenceTagReplacesEveryBlank) {
    EXPECT_EQ("Zarvo_2003_v5.4_about", vendor::ReferenceTag("Zarvo 2003", "v5.4", "about"));
    EXPECT_EQ("A__B_v_1_x", vendor::ReferenceTag("A  B", "v 1", "x"));
}

TEST(LinkLayout, FittingKeepsTheEdgeTheAlignmentNames) {
    const LinkRect window{100, 50, 200, 70};  // 100 x 20
    const struct {
        bool centreVertically;
        LinkAlignment alignment;
        int width, height;
        LinkRect fitted;
    } cases[] = {
        {false, LinkAlignment::Left, 40, 10, {100, 50, 140, 60}},
        {false, LinkAlignment::Right, 40, 10, {160, 50, 200, 60}},
        {false, LinkAlignment::Centre, 40, 10, {130, 50, 170, 60}},
        {true, LinkAlignment::Left, 40, 10, {100, 55, 140, 65}},
        {true, LinkAlignment::Centre, 40, 10, {130, 55, 170, 65}},
        // A text wider and taller than the control grows it the same way.
        {false, LinkAlignment::Right, 130, 24, {70, 50, 200, 74}},
        {true, LinkAlignment::Centre, 130, 24, {85, 48, 215, 72}},
    };
    for (const auto& c : cases) {
        const LinkRect got = FitLinkToText(window, c.width, c.height, c.centreVertically, c.alignment);
        EXPECT_EQ(c.fitted.left, got.left);
        EXPECT_EQ(c.fitted.top, got.top);
        EXPECT_EQ(c.fitted.right, got.right);
        EXPECT_EQ(c.fitted.bottom, got.bottom);
    }
}

TEST(LinkLayout, RightAlignedLinkKeepsItsRightEdgeAcrossTexts) {
    LinkRect rect{10, 10, 90, 30};
    for (int width : {30, 70, 5, 120}) {
        rect = FitLinkToText(rect, width, 13, false, LinkAlignment::Right);
        EXPECT_EQ(90, rect.right);
        EXPECT_EQ(width, rect.right - rect.left);
    }
}
