#pragma once
#include <string>
#include <vector>

// The entries of the main form's lists, in list order. The form fills its
// lists from these once; positions in the configuration file index them.
namespace formlists {

std::vector<std::string> ConnectionTypes();
// Kilobits per second of the connection type at a position, the line speed
// Tune Receive Window starts from; empty outside the list.
const char* ConnectionTypeSpeed(int position);
std::vector<std::string> Modes();
std::vector<std::string> ReceiveWindowMultipliers();  // "x4" .. "x16"
std::vector<std::string> KeepAliveMinutes();          // "1 min." .. "60 min."
std::vector<std::string> ConnectionsPerServer();      // "2" .. "60"
std::vector<std::string> NdiCacheSizes();

// The entry a list shows at a position: empty when the position selects nothing.
std::string Entry(const std::vector<std::string>& entries, int position);

}  // namespace formlists
