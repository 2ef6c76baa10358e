#include "line/SpeedTest.h"
#include "tests/support/FakeIcmp.h"
#include "tests/support/FakeInternet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace {

using Outcome = SpeedTest::Outcome;
using namespace std::string_literals;

// A file of body bytes (none: endless) that answers after 80 ms and brings 16 KB every readMs, from a host that
// answers echoes (-1: not), on a clock that wraps during the test.
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
    const struct {
        std::optional<std::uint64_t> body;
        DWORD readMs;
        std::vector<int> echoes;
        Outcome outcome;
        std::uint64_t bytes;
        DWORD milliseconds, roundTrip;  // 80: estimated from the answer
        std::size_t echoesSent;
    } cases[] = {
        {1048576, 10, {40, 42, 41, 45, 39}, Outcome::Measured, 1048576 - 65536, 610, 41, 5},  // 4 reads uncounted
        {262144, 10, {-1, 30, -1, -1, -1}, Outcome::Measured, 262144 - 65536, 130, 30, 5},
        {262143, 10, {0, 0, 0, 0, 0}, Outcome::TooSmall, 262143, 0, 1, 5},
        {std::nullopt, 100, {-1, -1, 5, 5, 5}, Outcome::Measured, 200 * 16384 - 65536, 19600, 80, 2},  // 20 s
        {std::nullopt, 7000, {}, Outcome::Measured, 3 * 16384, 21000, 80, 2},  // under 64 KB: from the first byte
    };
    for (const auto& c : cases) {
        Line line(c.body, c.readMs, c.echoes);
        const SpeedTest::Result result = line.Run();
        EXPECT_EQ(result.outcome, c.outcome) << c.readMs;
        EXPECT_EQ(result.bytes, c.bytes) << c.readMs;
        EXPECT_EQ(result.milliseconds, c.outcome == Outcome::Measured ? c.milliseconds : 0) << c.readMs;
        EXPECT_EQ(result.roundTrip, c.roundTrip) << c.readMs;
        EXPECT_EQ(result.estimated, c.roundTrip == 80) << c.readMs;
        EXPECT_EQ(line.icmp.waits, std::vector<DWORD>(c.echoesSent, 2000)) << c.readMs;
        EXPECT_EQ(line.internet.readSizes, std::vector<DWORD>(line.internet.readSizes.size(), 16384));
        EXPECT_TRUE(line.progress.back() == 100 && std::is_sorted(line.progress.begin(), line.progress.end()));
        EXPECT_EQ(line.internet.urls.at(0).flags, Internet::kReload | Internet::kNoCacheWrite);
        EXPECT_EQ(line.internet.closed, (std::vector<Internet::Handle>{FakeInternet::kRequest, FakeInternet::kSession}));
    }
}

TEST(SpeedTest, TheVerdictTheCeilingAndWhatWentWrong) {
    // 1600 kbit/s is 80 % of 2000, which 25000 bytes carry in 100 ms.
    const std::string received = "Received 1000000 bytes in 5.0 s: 1600 kbit/s, round trip 100 ms";
    const std::tuple<std::uint32_t, bool, std::string> verdicts[] = {
        {65535, false, ".\nThe receive window does not limit this line: 65535 bytes allow up to 5242 kbit/s at 100 ms."},
        {25000, false, ".\nThe receive window limits this line: 25000 bytes carry at most 2000 kbit/s at 100 ms. A "
                       "larger window (Tools, Tune Receive Window) would make it faster."},
        {25001, true, " (estimated).\nThe receive window does not limit this line: 25001 bytes allow up to 2000 kbit/s "
                      "at 100 ms."},
    };
    for (const auto& [window, estimated, verdict] : verdicts) {
        const SpeedTest::Result result{Outcome::Measured, 100, estimated, 1000000, 5000, 0, ""};
        EXPECT_EQ(SpeedTest::ResultText(result, window), received + verdict);
    }
    const std::pair<std::function<void(FakeInternet&)>, std::string> failures[] = {
        {[](FakeInternet& i) { i.urlWorks = false, i.error = 12007; },
         "The address could not be opened. The server name or address could not be resolved."},
        {[](FakeInternet& i) { i.urlWorks = false, i.error = 12029, i.errorTexts[12029] = "Gone"; },
         "The address could not be opened. Gone."},
        {[](FakeInternet& i) { i.status = 404, i.statusText = "Not Found"; }, "The server answered HTTP 404 Not Found."},
        {[](FakeInternet& i) { i.failingRead = 3, i.error = 12031; },
         "The download broke off. The connection with the server was reset."},
        {[](FakeInternet& i) { i.body = 1000; },
         "The file is too small for a speed test (1000 bytes). Use a file of at least 1 MB."},
    };
    for (const auto& [script, text] : failures) {
        Line line(std::nullopt, 10, {});
        script(line.internet);
        EXPECT_EQ(SpeedTest::ResultText(line.Run(), 0), text);
    }
    Line stopped(std::nullopt, 10, {});
    stopped.internet.whileReading = [&stopped] { stopped.stop = true; };
    EXPECT_EQ(SpeedTest::ResultText(stopped.Run(), 0), "The test was stopped.");
    EXPECT_EQ(stopped.internet.readSizes.size(), 1u);
    const std::string notHttp = "Enter the address of a file on a web server, beginning with http://.";
    for (const std::string& address : {"ftp://f.example/"s, "http://"s, "http://a.example/" + std::string(243, 'x')}) {
        EXPECT_EQ(SpeedTest::ResultText(Line(1000, 10, {}).Run(address), 0), notHttp) << address.size();
    }
}

}  // namespace
