#include "line/SpeedTest.h"
#include "tests/support/FakeIcmp.h"
#include "tests/support/FakeInternet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace {

using Outcome = SpeedTest::Outcome;

// A server that answers after requestMs and brings 16 KB every readMs, on a clock that only they move.
struct Line {
    Line() {
        icmp.hosts["files.example"] = {40, 42, 41, 45, 39};
        internet.whileRequesting = [this] { now += requestMs; };
        internet.whileReading = [this] { now += readMs; };
    }
    SpeedTest::Result Run(const std::string& address = "http://files.example/1mb.bin") {
        return SpeedTest::Run(icmp, internet, [this] { return now; }, address, stop,
                              [this](int percent) { progress.push_back(percent); });
    }

    FakeIcmp icmp;
    FakeInternet internet;
    DWORD now = 0xFFFFF000u;  // the tick count wraps during the test
    DWORD requestMs = 80, readMs = 10;
    std::atomic<bool> stop{false};
    std::vector<int> progress;
};

TEST(SpeedTest, CountsFromTheFirst64KbForAtMost20SecondsAndRefusesSmallFiles) {
    const struct {
        std::optional<std::uint64_t> body;
        DWORD readMs;
        Outcome outcome;
        std::uint64_t bytes;
        DWORD milliseconds;
    } cases[] = {
        {1048576, 10, Outcome::Measured, 1048576 - 65536, 61 * 10},  // 64 reads and the empty one; 4 uncounted
        {262144, 10, Outcome::Measured, 262144 - 65536, 13 * 10},
        {262143, 10, Outcome::TooSmall, 262143, 0},
        {std::nullopt, 100, Outcome::Measured, 200 * 16384 - 65536, 196 * 100},  // ends after 20 s
        {std::nullopt, 7000, Outcome::Measured, 3 * 16384, 21000},  // under 64 KB in 20 s: from the first byte
    };
    for (const auto& c : cases) {
        Line line;
        line.internet.body = c.body;
        line.internet.contentLength = c.body ? std::to_string(*c.body) : "junk";
        line.readMs = c.readMs;
        const SpeedTest::Result result = line.Run();
        EXPECT_EQ(result.outcome, c.outcome) << c.readMs;
        EXPECT_EQ(result.bytes, c.bytes) << c.readMs;
        if (c.outcome == Outcome::Measured) {
            EXPECT_EQ(result.milliseconds, c.milliseconds) << c.readMs;
        }
        EXPECT_EQ(line.internet.readSizes, std::vector<DWORD>(line.internet.readSizes.size(), 16384));
        EXPECT_EQ(line.progress.back(), 100);
        EXPECT_TRUE(std::is_sorted(line.progress.begin(), line.progress.end()));
        EXPECT_EQ(line.internet.urls.at(0).flags, Internet::kReload | Internet::kNoCacheWrite);
        EXPECT_EQ(line.internet.closed, (std::vector<Internet::Handle>{FakeInternet::kRequest, FakeInternet::kSession}));
    }
    EXPECT_EQ(SpeedTest::ResultText({Outcome::TooSmall, 0, false, 262143, 0, 0, ""}, 0),
              "The file is too small for a speed test (262143 bytes). Use a file of at least 1 MB.");
}

TEST(SpeedTest, RoundTripFromFiveEchoesElseFromTheRequestsFirstByte) {
    const struct {
        std::vector<int> echoes;  // -1: none; empty: the name is not found
        bool opens;
        DWORD roundTrip;
        bool estimated;
        std::size_t sent;
    } cases[] = {
        {{40, 42, 41, 45, 39}, true, 41, false, 5},
        {{-1, 30, -1, -1, -1}, true, 30, false, 5},
        {{0, 0, 0, 0, 0}, true, 1, false, 5},  // under a millisecond counts as one
        {{-1, -1, 30, 30, 30}, true, 80, true, 2},  // silent twice: no more echoes
        {{}, true, 80, true, 0},
        {{40}, false, 80, true, 0},
    };
    for (const auto& c : cases) {
        Line line;
        line.internet.body = 300000;
        line.icmp.opens = c.opens;
        if (c.echoes.empty()) line.icmp.hosts = {{"elsewhere.example", {}}};
        if (!c.echoes.empty()) line.icmp.hosts["files.example"] = c.echoes;
        const SpeedTest::Result result = line.Run();
        EXPECT_EQ(result.roundTrip, c.roundTrip) << c.sent;
        EXPECT_EQ(result.estimated, c.estimated) << c.sent;
        EXPECT_EQ(line.icmp.echoes, std::vector<int>(c.sent, 32));
        EXPECT_EQ(line.icmp.waits, std::vector<DWORD>(c.sent, 2000));
    }
}

TEST(SpeedTest, NamesWhatWentWrong) {
    const struct {
        std::string address;
        bool opens;
        DWORD error;
        std::string systemWords;
        DWORD status;
        std::string statusText;
        int failingRead;
        std::string text;
    } cases[] = {
        {"ftp://files.example/1mb.bin", true, 0, "", 200, "OK", 0,
         "Enter the address of a file on a web server, beginning with http://."},
        {"http://", true, 0, "", 200, "OK", 0, "Enter the address of a file on a web server, beginning with http://."},
        {"http://" + std::string(253, 'a'), true, 0, "", 200, "OK", 0,
         "Enter the address of a file on a web server, beginning with http://."},
        {"HTTP://nowhere.example/f", false, 12007, "", 200, "OK", 0,
         "The address could not be opened. The server name or address could not be resolved."},
        {"http://files.example/f", false, 12029, "Cannot reach it", 200, "OK", 0,
         "The address could not be opened. Cannot reach it."},
        {"http://files.example/f", false, 12002, "", 200, "OK", 0,
         "The address could not be opened. The operation timed out."},
        {"http://files.example/f", false, 12345, "", 200, "OK", 0, "The address could not be opened. WinINet error 12345."},
        {"http://files.example/f", true, 0, "", 404, "Not Found", 0, "The server answered HTTP 404 Not Found."},
        {"http://files.example/f", true, 0, "", 500, "", 0, "The server answered HTTP 500."},
        {"http://files.example/f", true, 12031, "", 200, "OK", 3,
         "The download broke off. The connection with the server was reset."},
    };
    for (const auto& c : cases) {
        Line line;
        line.internet.urlWorks = c.opens;
        line.internet.error = c.error;
        line.internet.errorTexts[c.error] = c.systemWords;
        line.internet.status = c.status;
        line.internet.statusText = c.statusText;
        line.internet.failingRead = c.failingRead;
        const SpeedTest::Result result = line.Run(c.address);
        EXPECT_EQ(SpeedTest::ResultText(result, 17520), c.text) << c.address;
        if (result.outcome != Outcome::NotHttp) {
            EXPECT_EQ(line.internet.closed.back(), FakeInternet::kSession);
        }
    }

    Line stopped;
    stopped.internet.whileRequesting = [&stopped] { stopped.stop = true; };
    EXPECT_EQ(SpeedTest::ResultText(stopped.Run(), 17520), "The test was stopped.");
    EXPECT_TRUE(stopped.internet.readSizes.empty());
}

TEST(SpeedTest, TheWindowsCeilingAndVerdict) {
    // Received 1000000 bytes in 5.0 s: 1600 kbit/s; W x 8 / L, and limited from 80 % of it.
    const struct {
        std::uint32_t window;
        DWORD roundTrip;
        bool estimated;
        const char* text;
    } cases[] = {
        {65535, 100, false,
         "Received 1000000 bytes in 5.0 s: 1600 kbit/s, round trip 100 ms.\nThe receive window does not limit this "
         "line: 65535 bytes allow up to 5242 kbit/s at 100 ms."},
        {25000, 100, false,  // 1600 is 80 % of 2000
         "Received 1000000 bytes in 5.0 s: 1600 kbit/s, round trip 100 ms.\nThe receive window limits this line: "
         "25000 bytes carry at most 2000 kbit/s at 100 ms. A larger window (Tools, Tune Receive Window) would make it "
         "faster."},
        {25001, 100, true,
         "Received 1000000 bytes in 5.0 s: 1600 kbit/s, round trip 100 ms (estimated).\nThe receive window does not "
         "limit this line: 25001 bytes allow up to 2000 kbit/s at 100 ms."},
        {65535, 300, false,
         "Received 1000000 bytes in 5.0 s: 1600 kbit/s, round trip 300 ms.\nThe receive window limits this line: "
         "65535 bytes carry at most 1747 kbit/s at 300 ms. A larger window (Tools, Tune Receive Window) would make it "
         "faster."},
    };
    for (const auto& c : cases) {
        const SpeedTest::Result result{Outcome::Measured, c.roundTrip, c.estimated, 1000000, 5000, 0, ""};
        EXPECT_EQ(SpeedTest::ResultText(result, c.window), c.text);
    }
    const std::string text = SpeedTest::ResultText({Outcome::Measured, 20, false, 2000000, 12349, 0, ""}, 8192);
    EXPECT_EQ(text.substr(0, text.find('\n')), "Received 2000000 bytes in 12.3 s: 1296 kbit/s, round trip 20 ms.");
}

}  // namespace
