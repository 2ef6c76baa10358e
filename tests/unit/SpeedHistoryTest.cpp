#include "configurator/SpeedHistory.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

const std::string kAddress = "http://f.example/f";
const std::int64_t kTwo = SpeedHistory::Seconds({2003, 5, 1, 14, 0, 0});

// Minutes count from 2003-05-01 14:00; Windows started a minute before the minute given.
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

TEST(SpeedHistory, BeforeAndAfterAnApplyAndARestartAndTheSpeedTuneReceiveWindowStartsFrom) {
    History h;
    EXPECT_EQ(h.Test(5, 1000, 17520, 0), "");  // nothing applied yet
    h.Apply(10, 17520);                         // 17520 to 256960
    h.Apply(13, 256960);                        // again, before a restart: 17520 is still in effect
    EXPECT_EQ(h.Test(14, 1200, 256960, 0),
              "\nThe window applied at 2003-05-01 14:13 takes effect when Windows restarts.");
    EXPECT_FALSE(h.history.PrefillSpeed());  // 17520 bytes limit 1200 kbit/s at 100 ms: from 1121.28 on
    EXPECT_EQ(h.Test(30, 3600, 256960, 20), "\nBefore the Apply of 2003-05-01 14:13: 1200 kbit/s with a window of "
                                            "17520 bytes. Now: 3600 kbit/s (+200 %).");
    EXPECT_EQ(h.Test(40, 2000, 256960, 20), "");  // compared once
    EXPECT_EQ(h.history.PrefillSpeed(), 2000u);
    h.history.KeepTest({kAddress, 1120001, 100, 17520, 0, false}, 0, 17520);
    EXPECT_EQ(h.history.PrefillSpeed(), 1121u);  // rounded up

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

}  // namespace
