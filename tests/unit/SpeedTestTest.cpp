#include "line/SpeedTest.h"
#include "tests/support/FakeIcmp.h"
#include "tests/support/FakeInternet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace {

using Outcome = SpeedTest::Outcome;

// A file of body bytes (none: endless) answered after 80 ms, 16 KB every readMs, from a host that answers
// echoes (-1: not); the clock wraps during the test.
struct Line {
    Line(std::optional<std::uint64_t> body, DWORD readMs, std::vector<int> echoes) {
        icmp.hosts["f.example"] = std::move(echoes);
        internet.body = body;
        internet.contentLength = body ? std::to_string(*body) : "junk";
        internet.whileRequesting = [this] { now += 80; };
        internet.whileReading = [this, readMs] { now += readMs; };
    }
    SpeedTest::Result Run(const std::string& address = "http://f.example/f") {
        return SpeedTest::Run(icmp, internet, [this] { return now; }, address, stop,
                              [this](int percent) { progress.push_back(percent); });
    }
    FakeIcmp icmp;
    FakeInternet internet;
    DWORD now = 0xFFFFF000u;
    std::atomic<bool> stop{false};
    std::vector<int> progress;
};

TEST(SpeedTest, CountsFromTheFirst64KbForAtMost20SecondsAndRefusesSmallFiles) {
    // body, ms per read, echoes; then outcome, bytes, milliseconds counted, round trip (80: estimated), echoes sent
    const std::tuple<std::optional<std::uint64_t>, DWORD, std::vector<int>, Outcome, std::uint64_t, DWORD, DWORD,
                     std::size_t>
        cases[] = {
            {1048576, 10, {40, 42, 41, 45, 39}, Outcome::Measured, 1048576 - 65536, 610, 41, 5},  // 4 reads uncounted
            {262144, 10, {-1, 30, -1, -1, -1}, Outcome::Measured, 262144 - 65536, 130, 30, 5},
            {262143, 10, {0, 0, 0, 0, 0}, Outcome::TooSmall, 262143, 0, 1, 5},  // and under 1 ms counts as 1
            {std::nullopt, 100, {-1, -1, 5, 5, 5}, Outcome::Measured, 200 * 16384 - 65536, 19600, 80, 2},  // 20 s
            {std::nullopt, 7000, {}, Outcome::Measured, 3 * 16384, 21000, 80, 2},  // no 64 KB: from the first byte
        };
    const std::vector<Internet::Handle> closed = {FakeInternet::kRequest, FakeInternet::kSession};
    for (const auto& [body, readMs, echoes, outcome, bytes, milliseconds, roundTrip, sent] : cases) {
        Line line(body, readMs, echoes);
        const SpeedTest::Result r = line.Run();
        const DWORD counted = outcome == Outcome::Measured ? milliseconds : 0;
        EXPECT_EQ(std::tie(r.outcome, r.bytes, r.milliseconds, r.roundTrip),
                  std::tie(outcome, bytes, counted, roundTrip));
        EXPECT_EQ(r.estimated, roundTrip == 80) << readMs;
        EXPECT_EQ(line.icmp.waits, std::vector<DWORD>(sent, 2000)) << readMs;
        EXPECT_EQ(line.internet.readSizes, std::vector<DWORD>(line.internet.readSizes.size(), 16384));
        EXPECT_TRUE(line.progress.back() == 100 && std::is_sorted(line.progress.begin(), line.progress.end()));
        EXPECT_EQ(line.internet.urls.at(0).flags, Internet::kReload | Internet::kNoCacheWrite);
        EXPECT_EQ(line.internet.closed, closed);
    }
    Line stalled(std::nullopt, 100, {});  // no data after the 49th read until the time is up
    stalled.internet.failingRead = 50, stalled.internet.error = 12002;
    EXPECT_EQ(stalled.Run().bytes, 49 * 16384u - 65536);
    EXPECT_EQ(stalled.internet.timeouts[49], 20000u - 49 * 100);
    EXPECT_EQ(SpeedTest::ResultText({Outcome::TooSmall, 0, false, 262143, 0, 0, ""}, 0),
              "The file is too small for a speed test (262143 bytes). Use a file of at least 1 MB.");
}

TEST(SpeedTest, TheVerdictTheCeilingAndWhatWentWrong) {
    // 1600 kbit/s is 80 % of 2000, which 25000 bytes carry in 100 ms.
    const std::string received = "Received 1000000 bytes in 5.0 s: 1600 kbit/s, round trip 100 ms";
    const std::tuple<std::uint32_t, bool, std::string> verdicts[] = {
        {65535, false, ".\nThe receive window does not limit this line: 65535 bytes allow up to 5242 kbit/s at 100 "
                       "ms."},
        {25000, false, ".\nThe receive window limits this line: 25000 bytes carry at most 2000 kbit/s at 100 ms. A "
                       "larger window (Tools, Tune Receive Window) would make it faster."},
        {25001, true, " (estimated).\nThe receive window does not limit this line: 25001 bytes allow up to 2000 kbit/s "
                      "at 100 ms."},
    };
    for (const auto& [window, estimated, verdict] : verdicts) {
        const SpeedTest::Result result{Outcome::Measured, 100, estimated, 1000000, 5000, 0, ""};
        EXPECT_EQ(SpeedTest::ResultText(result, window), received + verdict);
    }
    const std::tuple<std::string, std::function<void(Line&)>, std::string> failures[] = {
        {"HTTP://gone.example/", [](Line& l) { l.internet.urlWorks = false, l.internet.error = 12007; },
         "The address could not be opened. The server name or address could not be resolved."},
        {"http://f.example/", [](Line& l) { l.internet.failingRead = 3, l.internet.error = 12031; },
         "The download broke off. The connection with the server was reset."},
        {"http://f.example/", [](Line& l) { l.internet.whileReading = [&l] { l.stop = true; }; },
         "The test was stopped."},
        {"http://a.example/" + std::string(243, 'x'), {},  // 260 characters
         "Enter the address of a file on a web server, beginning with http://."},
    };
    for (const auto& [address, script, text] : failures) {
        Line line(std::nullopt, 10, {});
        line.internet.error = 12029;
        if (script) script(line);
        EXPECT_EQ(SpeedTest::ResultText(line.Run(address), 0), text);
    }
}

}  // namespace
