#pragma once
#include <string>

// What the main frame's title and status panes say.
namespace framecommands {

std::string ModePaneText(const std::string& modeListText);
std::string OsPaneText(const std::string& osName);
// A space, the product name, a space and the version.
std::string MainWindowTitle(const std::string& productName, const std::string& version);

}  // namespace framecommands
