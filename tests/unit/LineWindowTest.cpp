#include "line/LineWindow.h"
#include "tuning/OsName.h"

#include <gtest/gtest.h>

namespace {

TEST(LineWindow, TheRuleOnEveryKindOfLine) {
    const struct {
        const char* os;
        std::uint32_t latency, speed;
        int mss;
        std::uint64_t bdp;
        std::uint32_t window, multiplier;
        bool scaled, limited;
    } lines[] = {
        {"Windows XP", 100, 56, 1460, 700, 5840, 4, false, false},  // four segments at least
        {"Windows 95", 100, 56, 1460, 700, 5840, 4, false, false},
        {"Windows XP", 50, 1536, 1460, 9600, 10220, 7, false, false},
        {"Windows XP", 50, 1536, 1360, 9600, 10880, 8, false, false},  // custom MTU 1400
        {"Windows 98", 1, 58401, 1460, 7301, 8760, 6, false, false},   // 7300.125 bytes need a sixth segment
        {"Windows XP", 10, 52428, 1285, 65535, 65535, 51, false, false},
        {"Windows NT", 10, 52428, 1285, 65535, 65535, 51, false, false},
        {"Windows XP", 10, 52429, 1285, 65537, 131070, 102, true, false},
        {"Windows NT", 10, 52429, 1285, 65537, 65535, 51, false, true},
        {"Windows XP", 400, 1536, 1460, 76800, 128480, 88, true, false},
        {"Windows 2000", 400, 1536, 1360, 76800, 130560, 96, true, false},
        {"Windows 95", 400, 1536, 1460, 76800, 64240, 44, false, true},
        {"Windows NT", 400, 1536, 1360, 76800, 65280, 48, false, true},
        {"Windows Me", 200, 100000, 1460, 2500000, 4111360, 2816, true, false},  // the smallest of six doublings
        {"Windows XP", 1000, 10000000, 1460, 1250000000, 1052508160, 720896, true, false},  // 2^30 - 1 at most
        {"Windows XP", 3000, 999999999, 536, 374999999625, 1071382528, 1998848, true, false},
        {"Windows XP", 1, 1, 20000, 1, 120000, 6, true, false},  // four such segments need scaling
        {"Windows 95", 1, 1, 20000, 1, 60000, 3, false, false},
        {"Windows XP", 100, 56, 0, 700, 0, 0, false, false},
        {"Windows XP", 100, 56, 65536, 700, 0, 0, false, false},
    };
    for (const auto& line : lines) {
        const LineWindow got = LineWindow::For(line.latency, line.speed, line.mss, ScalesWindows(line.os));
        const std::string row = std::string(line.os) + " " + std::to_string(line.speed) + " kbit/s x " +
                                std::to_string(line.latency) + " ms, MSS " + std::to_string(line.mss);
        EXPECT_EQ(got.bdp, line.bdp) << row;
        EXPECT_EQ(got.window, line.window) << row;
        EXPECT_EQ(got.multiplier, line.multiplier) << row;
        EXPECT_EQ(got.mss, line.mss) << row;
        EXPECT_EQ(got.scaled, line.scaled) << row;
        EXPECT_EQ(got.limited, line.limited) << row;
    }
}

}  // namespace
