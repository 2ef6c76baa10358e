#include "configurator/ExplanationText.h"
#include "configurator/FrameCommands.h"
#include "resources/zartune_ids.h"

#include <gtest/gtest.h>

namespace {

using namespace framecommands;

TEST(FrameCommands, ControlPanelLaunchers) {
    const std::string prefix = "rundll32.exe shell32.dll,Control_RunDLL ";
    EXPECT_EQ(std::vector<std::string>{prefix + "Sysdm.cpl"}, ControlPanelCommandLines(ID_CPL_SYSTEM));
    EXPECT_EQ(std::vector<std::string>{prefix + "Inetcpl.cpl"}, ControlPanelCommandLines(ID_CPL_INTERNET));
    EXPECT_EQ(std::vector<std::string>{prefix + "Modem.cpl"}, ControlPanelCommandLines(ID_CPL_MODEMS));
    const std::vector<std::string> network = {prefix + "Ncpa.cpl", prefix + "Netcpl.cpl"};
    EXPECT_EQ(network, ControlPanelCommandLines(ID_CPL_NETWORK));
    EXPECT_TRUE(ControlPanelCommandLines(ID_HELP_FAQ).empty());
}

TEST(FrameCommands, VendorAddressesTagWithUnderscoresButKeepSpacesInSubjects) {
    const struct {
        unsigned command;
        const char* address;
    } cases[] = {
        {ID_HELP_WEBSITE, "http://www.zarvo.example/?ref=Zarvo_2003_v5.4_mainmenu"},
        {ID_HELP_FAQ, "http://www.zarvo.example/zv_faq.html?ref=Zarvo_2003_v5.4_mainmenu"},
        {ID_HELP_RECOMMEND, "http://www.zarvo.example/recommend.html?ref=Zarvo_2003_v5.4_mainmenu"},
        {ID_HELP_SUPPORT, "mailto:support@zarvo.example?subject=Question regarding Zarvo 2003 v5.4"},
        {ID_HELP_FEEDBACK, "mailto:feedback@zarvo.example?subject=Zarvo 2003 v5.4 Feedback"},
        {ID_CPL_SYSTEM, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.address, VendorAddress(c.command, "Zarvo 2003", "v5.4")) << c.command;
}

TEST(FrameCommands, PaneTextsAndTitle) {
    EXPECT_EQ(" OS: Windows 2000", OsPaneText("Windows 2000"));
    for (const char* os : {"Windows 95", "Windows 98", "Windows Me", "Windows NT", "Windows XP", "Unknown"}) {
        EXPECT_EQ(std::string("   OS: ") + os, OsPaneText(os));
    }
    EXPECT_EQ("Mode: Manual", ModePaneText("Manual"));
    EXPECT_EQ(" Zarvo 2003 v5.4", MainWindowTitle("Zarvo 2003", "v5.4"));
}

TEST(ExplanationText, NamesTheAutomaticModeAndKeepsTheManualTextFixed) {
    const std::string automatic = ExplanationText("AUTO2", "Automatic #2");
    EXPECT_EQ(0u, automatic.find("You chose to use the \"Automatic #2 Optimization Mode\".\n\nAfter a lot"));
    EXPECT_EQ("configuration best.\n\n\nThis process may take up to one minute.\n\n",
              automatic.substr(automatic.find("configuration best.")));

    const std::string manual = ExplanationText("MANUAL", "Manual");
    EXPECT_EQ(0u, manual.find("You chose to use the \"Manual Optimization Mode\".\n\nTry various"));
    EXPECT_EQ("in the bottom of the screen.", manual.substr(manual.size() - 28));
}

}  // namespace
