#pragma once
#include <string>
#include <vector>

// What the main frame's menu commands and status panes say and start.
namespace framecommands {

// The Control Panel command lines of a launcher command, in the order they
// are run (Network starts two applets); empty for any other command.
std::vector<std::string> ControlPanelCommandLines(unsigned command);
// The web or mail address a vendor command opens; empty for any other command.
std::string VendorAddress(unsigned command, const std::string& productName, const std::string& version);

std::string ModePaneText(const std::string& modeListText);
std::string OsPaneText(const std::string& osName);
// A space, the product name, a space and the version.
std::string MainWindowTitle(const std::string& productName, const std::string& version);

}  // namespace framecommands
