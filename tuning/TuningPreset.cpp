#include "tuning/TuningPreset.h"

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

int PresetRow(const std::string& mode) {
    if (mode == "AUTO1") return 0;
    if (mode == "AUTO2") return 1;
    return 2;
}

int PresetColumn(const std::string& connectionType) {
    if (connectionType == "DIAL-UP") return 0;
    if (connectionType == "LAN") return 1;
    if (connectionType == "LAN-PPPoE") return 2;
    return -1;
}

}  // namespace

void ApplyPreset(TuningConfig& config) {
    const int column = PresetColumn(config.connectionType);
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
