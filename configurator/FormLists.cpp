#include "configurator/FormLists.h"

#include <iterator>

namespace formlists {

std::vector<std::string> ConnectionTypes() {
    return {"Dial-Up Networking (Modem)", "LAN, Cable Modem, xDSL, ISDN, T1, T3", "Cable/xDSL running PPPoE/PPTP",
            "DirectPc (Satellite)"};
}

const char* ConnectionTypeSpeed(int position) {
    static const char* const kSpeeds[] = {"56", "1536", "1536", "400"};
    return position >= 0 && position < static_cast<int>(std::size(kSpeeds)) ? kSpeeds[position] : "";
}

std::vector<std::string> Modes() { return {"Automatic #1", "Automatic #2", "Automatic #3", "Manual"}; }

std::vector<std::string> ReceiveWindowMultipliers() { return {"x4", "x6", "x8", "x10", "x12", "x14", "x16"}; }

std::vector<std::string> KeepAliveMinutes() {
    std::vector<std::string> entries;
    for (int minutes = 1; minutes <= 60; ++minutes) entries.push_back(std::to_string(minutes) + " min.");
    return entries;
}

std::vector<std::string> ConnectionsPerServer() {
    std::vector<std::string> entries;
    for (int count = 2; count <= 60; ++count) entries.push_back(std::to_string(count));
    return entries;
}

std::vector<std::string> NdiCacheSizes() { return {"0", "2", "4", "8", "16", "32", "64"}; }

std::string Entry(const std::vector<std::string>& entries, int position) {
    return position >= 0 && position < static_cast<int>(entries.size()) ? entries[position] : std::string();
}

}  // namespace formlists
