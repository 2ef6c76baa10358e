#include "configurator/ExplanationText.h"
#include "tuning/TuningConfig.h"
#include "configurator/FrameCommands.h"

#include <gtest/gtest.h>

namespace {

using namespace framecommands;

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

    const std::string manual = ExplanationText(kModeManual, "Manual");
    EXPECT_EQ(0u, manual.find("You chose to use the \"Manual Optimization Mode\".\n\nTry various"));
    EXPECT_EQ("in the bottom of the screen.", manual.substr(manual.size() - 28));
}

}  // namespace
