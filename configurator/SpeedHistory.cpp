#include "configurator/SpeedHistory.h"

#include "common/Calendar.h"
#include "common/NumberText.h"
#include "line/SpeedTest.h"

#include <algorithm>
#include <climits>

namespace {

// Seconds from 1970-01-01, where SecondsOf counts, to 2000-01-01: the
// records count from there, so that an int holds them until 2068.
constexpr std::int64_t kSecondsTo2000 = 946684800;

const char kAddress[] = "Address";
const char kRate[] = "Rate";  // bit/s
const char kRoundTrip[] = "RoundTrip";
const char kWindow[] = "Window";
const char kTested[] = "Tested";
const char kBeforeApply[] = "BeforeApply";
const char kApplied[] = "Applied";
const char kWindowBefore[] = "WindowBefore";

std::string Kbits(std::uint64_t bitsPerSecond) { return std::to_string(SpeedTest::Kbits(bitsPerSecond)); }

// "+12 %": the change from before to now, the nearest whole percent.
std::string Change(std::uint64_t before, std::uint64_t now) {
    const std::uint64_t difference = now >= before ? now - before : before - now;
    const std::uint64_t percent = (difference * 100 + before / 2) / before;
    return (now < before && percent > 0 ? "-" : "+") + std::to_string(percent) + " %";
}

}  // namespace

std::optional<SpeedHistory::Test> SpeedHistory::LastTest() const {
    Test test;
    test.address = store_->ReadString(kSection, kAddress, "", false);
    const int rate = store_->ReadInt(kSection, kRate, 0, false);
    const int roundTrip = store_->ReadInt(kSection, kRoundTrip, 0, false);
    const int window = store_->ReadInt(kSection, kWindow, 0, false);
    if (test.address.empty() || rate <= 0 || roundTrip <= 0 || window <= 0 ||
        !store_->Contains(kSection, kTested, false)) {
        return std::nullopt;
    }
    test.bitsPerSecond = static_cast<std::uint64_t>(rate);
    test.roundTrip = static_cast<DWORD>(roundTrip);
    test.window = static_cast<std::uint32_t>(window);
    test.tested = store_->ReadInt(kSection, kTested, 0, false);
    test.beforeApply = store_->ReadInt(kSection, kBeforeApply, 0, false) != 0;
    return test;
}

std::optional<SpeedHistory::Apply> SpeedHistory::LastApply() const {
    const int window = store_->ReadInt(kSection, kWindowBefore, 0, false);
    if (window <= 0 || !store_->Contains(kSection, kApplied, false)) return std::nullopt;
    return Apply{store_->ReadInt(kSection, kApplied, 0, false), static_cast<std::uint32_t>(window)};
}

bool SpeedHistory::KeepApply(std::int64_t now, std::int64_t started, std::uint32_t windowSet) {
    const std::uint32_t before = WindowInEffect(windowSet, started);
    return store_->WriteInt(kSection, kApplied, static_cast<int>(now), false) &&
           store_->WriteInt(kSection, kWindowBefore, static_cast<int>(std::min<std::uint32_t>(before, INT_MAX)), false);
}

std::uint32_t SpeedHistory::WindowInEffect(std::uint32_t windowSet, std::int64_t started) const {
    const std::optional<Apply> apply = LastApply();
    return apply && started < apply->applied ? apply->windowBefore : windowSet;
}

std::string SpeedHistory::KeepTest(const Test& test, std::int64_t started, std::uint32_t windowSet) {
    const std::optional<Apply> apply = LastApply();
    const std::optional<Test> last = LastTest();
    const bool waiting = apply && started < apply->applied;
    std::string lines;
    if (waiting && apply->windowBefore != windowSet) {
        lines = "\nThe window applied at " + TimeText(apply->applied) + " takes effect when Windows restarts.";
    } else if (!waiting && apply && last && last->address == test.address &&
               (last->tested < apply->applied || last->beforeApply)) {
        lines = "\nBefore the Apply of " + TimeText(apply->applied) + ": " + Kbits(last->bitsPerSecond) +
                " kbit/s with a window of " + std::to_string(last->window) + " bytes. Now: " +
                Kbits(test.bitsPerSecond) + " kbit/s (" + Change(last->bitsPerSecond, test.bitsPerSecond) + ").";
    }
    store_->WriteString(kSection, kAddress, test.address, false);
    store_->WriteInt(kSection, kRate, static_cast<int>(std::min<std::uint64_t>(test.bitsPerSecond, INT_MAX)), false);
    store_->WriteInt(kSection, kRoundTrip, static_cast<int>(std::min<DWORD>(test.roundTrip, INT_MAX)), false);
    store_->WriteInt(kSection, kWindow, static_cast<int>(std::min<std::uint32_t>(test.window, INT_MAX)), false);
    store_->WriteInt(kSection, kTested, static_cast<int>(test.tested), false);
    store_->WriteInt(kSection, kBeforeApply, waiting ? 1 : 0, false);
    return lines;
}

std::optional<std::uint32_t> SpeedHistory::PrefillSpeed() const {
    const std::optional<Test> last = LastTest();
    if (!last || SpeedTest::WindowLimits(last->bitsPerSecond, last->window, last->roundTrip)) return std::nullopt;
    return static_cast<std::uint32_t>((last->bitsPerSecond + 999) / 1000);
}

std::int64_t SpeedHistory::Seconds(const LocalTime& time) { return SecondsOf(time) - kSecondsTo2000; }

std::int64_t SpeedHistory::Started(const LocalTime& now, DWORD ticks) { return Seconds(now) - ticks / 1000; }

std::string SpeedHistory::TimeText(std::int64_t seconds) {
    return DateTimeText(LocalTimeAt(seconds + kSecondsTo2000), false);
}
