#include "configurator/FrameCommands.h"

#include "common/Vendor.h"
#include "resources/zartune_ids.h"

namespace framecommands {

namespace {
const std::string kControlPanel = "rundll32.exe shell32.dll,Control_RunDLL ";
}  // namespace

std::vector<std::string> ControlPanelCommandLines(unsigned command) {
    switch (command) {
        case ID_CPL_SYSTEM: return {kControlPanel + "Sysdm.cpl"};
        case ID_CPL_INTERNET: return {kControlPanel + "Inetcpl.cpl"};
        case ID_CPL_MODEMS: return {kControlPanel + "Modem.cpl"};
        // Both, whatever the system: one of them is the applet it has.
        case ID_CPL_NETWORK: return {kControlPanel + "Ncpa.cpl", kControlPanel + "Netcpl.cpl"};
        default: return {};
    }
}

std::string VendorAddress(unsigned command, const std::string& productName, const std::string& version) {
    const std::string ref = "?ref=" + vendor::ReferenceTag(productName, version, "mainmenu");
    const std::string site = vendor::kWebSite;
    switch (command) {
        case ID_HELP_WEBSITE: return site + ref;
        case ID_HELP_FAQ: return site + "zv_faq.html" + ref;
        case ID_HELP_RECOMMEND: return site + "recommend.html" + ref;
        case ID_HELP_SUPPORT:
            return std::string("mailto:") + vendor::kSupportMail + "?subject=Question regarding " + productName + " " +
                   version;
        case ID_HELP_FEEDBACK:
            return std::string("mailto:") + vendor::kFeedbackMail + "?subject=" + productName + " " + version +
                   " Feedback";
        default: return std::string();
    }
}

std::string ModePaneText(const std::string& modeListText) { return "Mode: " + modeListText; }

std::string OsPaneText(const std::string& osName) {
    return (osName == "Windows 2000" ? " OS: " : "   OS: ") + osName;
}

std::string MainWindowTitle(const std::string& productName, const std::string& version) {
    return " " + productName + " " + version;
}

}  // namespace framecommands
