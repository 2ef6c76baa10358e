#include "tuning/TuningPreset.h"

#include <cstddef>
#include <string>

namespace {

struct PresetEntry {
    DWORD mtu;   // 0: leave the Windows default (and the MSS as it is)
    DWORD rwin;  // 0: leave the Windows default
};

// Rows AUTO1, AUTO2, AUTO3; columns DIAL-UP, LAN, LAN-PPPoE. Every window is
// a whole multiple of its row's MSS.
constexpr PresetEntry kPresets[3][3] = {
    {{576, 4288}, {1500, 256960}, {1492, 255552}},
    {{576, 0}, {1500, 513920}, {1492, 511104}},
    {{0, 0}, {1500, 128480}, {1400, 119680}},
};

const char* const kRows[] = {kModeAuto1, kModeAuto2, kModeAuto3};
const char* const kColumns[] = {kDialUp, kLan, kLanPppoe};

// The position of code among codes; -1 when it is none of them.
template <std::size_t N>
int PositionOf(const std::string& code, const char* const (&codes)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (code == codes[i]) return static_cast<int>(i);
    }
    return -1;
}

// Any other code, the empty one included, takes the last row.
int PresetRow(const std::string& mode) {
    const int row = PositionOf(mode, kRows);
    return row < 0 ? 2 : row;
}

}  // namespace

void ApplyPreset(TuningConfig& config) {
    const int column = PositionOf(config.connectionType, kColumns);
    if (column >= 0) {
        const PresetEntry& entry = kPresets[PresetRow(config.mode)][column];
        config.mtu = entry.mtu;
        config.mtuText = std::to_string(entry.mtu);
        if (entry.mtu != 0) config.mssText = std::to_string(entry.mtu - 40);
        config.rwin = entry.rwin;
        config.rwinText = std::to_string(entry.rwin);
    }
    config.ttl = 128;
    config.ttlText = "128";
    config.keepAliveMs = 600000;
    config.keepAliveText = "600000";
    config.pmtuDiscovery = 1;
    config.pmtuText = "1";
    config.blackHoleDetect = 0;
    config.blackHoleText = "0";
    config.maxConnPer1_0Server = 16;
    config.maxConnPerServer = 8;
    config.ndiCacheText = "16";
}
