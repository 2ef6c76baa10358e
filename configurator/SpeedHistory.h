#pragma once
#include "common/SettingsStore.h"
#include "win32/Desktop.h"

#include <cstdint>
#include <optional>
#include <string>

// The last completed speed test and the last Apply, kept in the product's
// settings (not in the configuration file, which administrators copy to
// other computers), and what a new test makes of them: after an Apply and a
// restart, the rate before and now; before the restart, the window still in
// effect. Times are seconds of the local clock since 2000; Windows started
// at the current time less its tick count.
class SpeedHistory {
public:
    static constexpr const char* kSection = "Line Speed";

    struct Test {
        std::string address;
        std::uint64_t bitsPerSecond = 0;
        DWORD roundTrip = 0;    // milliseconds
        std::uint32_t window = 0;  // in effect during the test
        std::int64_t tested = 0;
        bool beforeApply = false;  // made while an Apply waited for a restart
    };
    struct Apply {
        std::int64_t applied = 0;
        std::uint32_t windowBefore = 0;  // in effect before it
    };

    explicit SpeedHistory(SettingsStore& store) : store_(&store) {}

    std::optional<Test> LastTest() const;
    std::optional<Apply> LastApply() const;

    // An Apply at now: its time and the window in effect before it, which is
    // the one before an earlier Apply still waiting for a restart. False when
    // it could not be kept.
    bool KeepApply(std::int64_t now, std::int64_t started, std::uint32_t windowSet);
    // The window TCP uses: the one set, or, while an Apply waits for a
    // restart, the one before it.
    std::uint32_t WindowInEffect(std::uint32_t windowSet, std::int64_t started) const;
    // The lines a completed test adds to the result label, each led by "\n";
    // keeps the test, made under test.window, in place of the last one.
    std::string KeepTest(const Test& test, std::int64_t started, std::uint32_t windowSet);
    // The line speed Tune Receive Window starts with, in whole kbit/s rounded
    // up: the last test's rate, when the window did not limit it.
    std::optional<std::uint32_t> PrefillSpeed() const;

    static std::int64_t Seconds(const LocalTime& time);
    // When Windows started: now less the tick count (which starts again from
    // 0 after 49.7 days, so a longer run seems to have started later).
    static std::int64_t Started(const LocalTime& now, DWORD ticks);
    // "2003-05-01 14:03"
    static std::string TimeText(std::int64_t seconds);

private:
    SettingsStore* store_;
};
