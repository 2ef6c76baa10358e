#include "configurator/FrameCommands.h"


namespace framecommands {

std::string ModePaneText(const std::string& modeListText) { return "Mode: " + modeListText; }

std::string OsPaneText(const std::string& osName) {
    return (osName == "Windows 2000" ? " OS: " : "   OS: ") + osName;
}

std::string MainWindowTitle(const std::string& productName, const std::string& version) {
    return " " + productName + " " + version;
}

}  // namespace framecommands
