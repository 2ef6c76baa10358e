#include "configurator/SpeedHistory.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

const std::string kAddress = "http://f.example/f";
// Minutes count from 2003-05-01 14:00; Windows started a minute before the minute given.
const std::int64_t kTwo = SpeedHistory::Seconds({2003, 5, 1, 14, 0, 0});

struct History {
    // A test of kbits at minute under the window in effect, with windowSet in the registry; the lines it adds.
    std::string Test(int minute, std::uint64_t kbits, std::uint32_t windowSet, int startedAt,
                     const std::string& address = kAddress) {
        const std::int64_t started = kTwo + startedAt * 60 - 60;
        const std::uint32_t window = history.WindowInEffect(windowSet, started);
        return history.KeepTest({address, kbits * 1000, 100, window, kTwo + minute * 60, false}, started, windowSet);
    }
    void Apply(int minute, std::uint32_t windowSet) { history.KeepApply(kTwo + minute * 60, kTwo - 60, windowSet); }

    MemoryRegistry registry;
    SettingsStore store{registry};
    SpeedHistory history{store};
};

TEST(SpeedHistory, BeforeAndAfterAnApplyAndARestart) {
    History h;
    EXPECT_EQ(h.Test(5, 1000, 17520, 0), "");  // nothing applied yet
    h.Apply(10, 17520);                         // 17520 to 256960
    h.Apply(13, 256960);                        // again, before a restart: 17520 is still in effect
    EXPECT_EQ(h.Test(14, 1010, 256960, 0), "\nThe window applied at 2003-05-01 14:13 takes effect when Windows restarts.");
    EXPECT_EQ(h.history.LastTest()->window, 17520u);  // kept under the window in effect
    EXPECT_EQ(h.Test(30, 3030, 256960, 20), "\nBefore the Apply of 2003-05-01 14:13: 1010 kbit/s with a window of "
                                            "17520 bytes. Now: 3030 kbit/s (+200 %).");
    EXPECT_EQ(h.Test(40, 2000, 256960, 20), "");  // compared once

    // A test at 14:05, an Apply at 14:10, a test at 14:30: after a restart, with no restart and the window
    // unchanged, at another address.
    const std::tuple<int, std::uint32_t, std::string, std::string> cases[] = {
        {20, 256960, kAddress, "\nBefore the Apply of 2003-05-01 14:10: 1000 kbit/s with a window of 17520 bytes. "
                               "Now: 900 kbit/s (-10 %)."},
        {0, 17520, kAddress, ""},
        {20, 256960, "http://other.example/f", ""},
    };
    for (const auto& [startedAt, windowSet, address, lines] : cases) {
        History fresh;
        fresh.Test(5, 1000, 17520, 0);
        fresh.Apply(10, 17520);
        EXPECT_EQ(fresh.Test(30, 900, windowSet, startedAt, address), lines) << address << startedAt;
    }
    EXPECT_EQ(SpeedHistory::TimeText(SpeedHistory::Seconds({2004, 2, 29, 23, 59, 30}) + 30), "2004-03-01 00:00");
    EXPECT_EQ(SpeedHistory::Started({2003, 5, 1, 14, 3, 20}, 3600999), SpeedHistory::Seconds({2003, 5, 1, 13, 3, 20}));
}

TEST(SpeedHistory, TuneReceiveWindowStartsFromARateTheWindowDidNotLimit) {
    History h;
    EXPECT_FALSE(h.history.PrefillSpeed());
    // 17520 bytes carry at most 1401.6 kbit/s in 100 ms: from 80 % of that, 1121280 bit/s, the window limits.
    const std::pair<std::uint64_t, std::optional<std::uint32_t>> cases[] = {
        {1120000, 1120}, {1120001, 1121}, {1121280, std::nullopt}};
    for (const auto& [bits, speed] : cases) {
        h.history.KeepTest({kAddress, bits, 100, 17520, kTwo, false}, kTwo, 17520);
        EXPECT_EQ(h.history.PrefillSpeed(), speed) << bits;
    }
}

}  // namespace
