#pragma once
#include <string>

// The text of the explanation dialog (146) for a mode code; modeListText is
// what the mode list shows, named in the automatic text.
std::string ExplanationText(const std::string& mode, const std::string& modeListText);
