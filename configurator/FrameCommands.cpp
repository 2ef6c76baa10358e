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
    static const struct {
        unsigned command;
        vendor::Page page;
    } kPages[] = {
        {ID_HELP_WEBSITE, vendor::Page::Home},
        {ID_HELP_FAQ, vendor::Page::Faq},
        {ID_HELP_RECOMMEND, vendor::Page::Recommend},
        {ID_HELP_SUPPORT, vendor::Page::SupportMail},
        {ID_HELP_FEEDBACK, vendor::Page::FeedbackMail},
    };
    for (const auto& entry : kPages) {
        if (entry.command == command) return vendor::Address(entry.page, productName, version, "mainmenu");
    }
    return std::string();
}

std::string ModePaneText(const std::string& modeListText) { return "Mode: " + modeListText; }

std::string OsPaneText(const std::string& osName) {
    return (osName == "Windows 2000" ? " OS: " : "   OS: ") + osName;
}

std::string MainWindowTitle(const std::string& productName, const std::string& version) {
    return " " + productName + " " + version;
}

}  // namespace framecommands
