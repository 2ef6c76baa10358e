#include "configurator/ApplySwitches.h"

#include <cctype>
#include <vector>

namespace {

constexpr char kLogSwitch[] = "/log:";
constexpr std::size_t kLogSwitchLength = sizeof kLogSwitch - 1;

std::vector<std::string> Arguments(const std::string& commandLine) {
    std::vector<std::string> arguments;
    std::string argument;
    bool inArgument = false;
    bool quoted = false;
    for (const char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inArgument) arguments.push_back(argument);
            argument.clear();
            inArgument = false;
        } else {
            argument += c;
            inArgument = true;
        }
    }
    if (inArgument) arguments.push_back(argument);
    return arguments;
}

bool IsLogSwitch(const std::string& argument) {
    if (argument.size() <= kLogSwitchLength) return false;
    for (std::size_t i = 0; i < kLogSwitchLength; ++i) {
        if (std::tolower(static_cast<unsigned char>(argument[i])) != kLogSwitch[i]) return false;
    }
    return true;
}

}  // namespace

ApplySwitches ApplySwitches::Read(const std::string& commandLine) {
    ApplySwitches switches;
    bool afterApply = false;
    for (const std::string& argument : Arguments(commandLine)) {
        if (!afterApply) {
            afterApply = argument.find('/') != std::string::npos;
        } else if (IsLogSwitch(argument) && switches.logPath.empty()) {
            switches.logPath = argument.substr(kLogSwitchLength);
        } else {
            switches.known = false;
        }
    }
    return switches;
}
