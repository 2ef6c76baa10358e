#include "tuning/TuningPreset.h"

#include <gtest/gtest.h>

namespace {

struct PresetCase {
    const char* mode;
    const char* connectionType;
    DWORD mtu, rwin;
    const char* mss;  // nullptr: left as it was
};

const PresetCase kPresetCases[] = {
    {"AUTO1", "DIAL-UP", 576, 4288, "536"},
    {"AUTO1", "LAN", 1500, 256960, "1460"},
    {"AUTO1", "LAN-PPPoE", 1492, 255552, "1452"},
    {"AUTO2", "DIAL-UP", 576, 0, "536"},
    {"AUTO2", "LAN", 1500, 513920, "1460"},
    {"AUTO2", "LAN-PPPoE", 1492, 511104, "1452"},
    {"AUTO3", "DIAL-UP", 0, 0, nullptr},
    {"AUTO3", "LAN", 1500, 128480, "1460"},
    {"AUTO3", "LAN-PPPoE", 1400, 119680, "1360"},
    // Any other mode code takes the AUTO3 row.
    {"", "LAN", 1500, 128480, "1460"},
    {kModeManual, "LAN-PPPoE", 1400, 119680, "1360"},
    {"auto1", "DIAL-UP", 0, 0, nullptr},
    {"AUTO1 ", "LAN", 1500, 128480, "1460"},
};

// Values no preset produces, to show what a preset leaves alone.
TuningConfig Stale(const char* mode, const char* connectionType) {
    return {mode, connectionType, "999", "959", 999, 9590, 32, 3600000, 0, 1, 4, 2, "0",
            "9590", "0", "1", "3600000", "32"};
}

void ExpectCommonValues(const TuningConfig& config) {
    EXPECT_EQ(128u, config.ttl);
    EXPECT_EQ("128", config.ttlText);
    EXPECT_EQ(600000u, config.keepAliveMs);
    EXPECT_EQ("600000", config.keepAliveText);
    EXPECT_EQ(1u, config.pmtuDiscovery);
    EXPECT_EQ("1", config.pmtuText);
    EXPECT_EQ(0u, config.blackHoleDetect);
    EXPECT_EQ("0", config.blackHoleText);
    EXPECT_EQ(16u, config.maxConnPer1_0Server);
    EXPECT_EQ(8u, config.maxConnPerServer);
    EXPECT_EQ("16", config.ndiCacheText);
}

}  // namespace

TEST(TuningPreset, FillsEveryCellOfTheTable) {
    for (const PresetCase& c : kPresetCases) {
        SCOPED_TRACE(std::string(c.mode) + " / " + c.connectionType);
        TuningConfig config = Stale(c.mode, c.connectionType);
        ApplyPreset(config);
        EXPECT_EQ(c.mtu, config.mtu);
        EXPECT_EQ(std::to_string(c.mtu), config.mtuText);
        EXPECT_EQ(c.mss != nullptr ? c.mss : "959", config.mssText);
        EXPECT_EQ(c.rwin, config.rwin);
        EXPECT_EQ(std::to_string(c.rwin), config.rwinText);
        ExpectCommonValues(config);
        EXPECT_EQ(c.mode, config.mode);
        EXPECT_EQ(c.connectionType, config.connectionType);
    }
}

TEST(TuningPreset, UnknownConnectionTypeLeavesMtuMssAndWindow) {
    for (const char* type : {"", "SATELLITE", "lan", "DIAL-UP "}) {
        SCOPED_TRACE(type);
        TuningConfig config = Stale("AUTO1", type);
        ApplyPreset(config);
        EXPECT_EQ("999", config.mtuText);
        EXPECT_EQ(999u, config.mtu);
        EXPECT_EQ("959", config.mssText);
        EXPECT_EQ(9590u, config.rwin);
        EXPECT_EQ("9590", config.rwinText);
        ExpectCommonValues(config);
        EXPECT_EQ(type, config.connectionType);
    }
}
