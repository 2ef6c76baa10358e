#include "line/MtuSearch.h"
#include "tests/support/FakeIcmp.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Outcome = MtuSearch::Outcome;

TEST(MtuSearch, FindsEveryLineExactlyA1500LineIn2ProbesA1492LineIn6NoneInMoreThanKMostProbes) {
    for (const bool silent : {false, true}) {
        for (int mtu = 68; mtu <= 1500; ++mtu) {
            FakeIcmp icmp;
            icmp.mtu = mtu;
            icmp.silent = silent;
            const MtuSearch::Result result = icmp.Run();
            EXPECT_EQ(result.outcome, Outcome::Found);
            EXPECT_EQ(result.mtu, mtu) << (silent ? "silent " : "") << mtu;
            EXPECT_LE(icmp.probes.size(), mtu == 1500 ? 2 : mtu >= 1492 ? 6 : MtuSearch::kMostProbes) << mtu;
            EXPECT_EQ(icmp.probes[0], "40 bytes: passed, round trip 20 ms");
            EXPECT_EQ(icmp.probes[1], std::string("1472 bytes: ") + (mtu == 1500 ? "passed" : silent ? "no answer" : "too big"));
        }
    }
}

TEST(MtuSearch, SlowLinesWaitForTheirRoundTripAndAnIcmpErrorEndsTheSearch) {
    // mtu, latency, msPerKilobyte, the wait after the smallest probe: a 33.6k modem (213 ms, 1545 for 1500
    // bytes), a satellite, a late server.
    const DWORD lines[][4] = {{1500, 150, 930, 2130}, {1492, 600, 10, 6000}, {1454, 1500, 0, 10000}};
    for (const auto& line : lines) {
        FakeIcmp icmp;
        icmp.mtu = static_cast<int>(line[0]);
        icmp.latency = line[1];
        icmp.msPerKilobyte = line[2];
        EXPECT_EQ(icmp.Run().mtu, icmp.mtu);
        EXPECT_EQ(icmp.waits.front(), 10000u);
        EXPECT_EQ(icmp.waits.back(), line[3]);
    }
    for (const int echo : {1, 2, 6}) {
        FakeIcmp icmp;
        icmp.mtu = 1400;
        icmp.errorAt = echo;
        EXPECT_EQ(icmp.Run().status, 11013u);
        EXPECT_EQ(icmp.echoes.size(), static_cast<std::size_t>(echo));  // no retry
        EXPECT_EQ(icmp.probes.back(), std::to_string(icmp.echoes.back()) + " bytes: TTL expired in transit");
    }
    EXPECT_EQ(MtuSearch::ResultText({Outcome::Unreachable, 0, 11003}, "h", 0),
              "h cannot be reached: destination host unreachable.");
}

TEST(MtuSearch, NoAnswerLostAnswersStopAndNoIcmp) {
    FakeIcmp nothing;
    nothing.answers = false;
    EXPECT_EQ(nothing.Run().outcome, Outcome::NoAnswer);
    EXPECT_EQ(nothing.echoes, (std::vector<int>{40, 40}));
    EXPECT_EQ(nothing.waits, (std::vector<DWORD>{10000, 10000}));  // a silent host ends within 20 s

    FakeIcmp lossy;
    lossy.mtu = 1400;
    lossy.lost = {1, 4};
    EXPECT_EQ(lossy.Run().mtu, 1400);
    EXPECT_TRUE(lossy.echoes[0] == lossy.echoes[1] && lossy.echoes[3] == lossy.echoes[4]);

    FakeIcmp stopped;
    stopped.mtu = 1400;
    stopped.stopAt = 3;
    EXPECT_EQ(stopped.Run().outcome, Outcome::Stopped);
    EXPECT_EQ(stopped.probes.size(), 3u);
    EXPECT_EQ(stopped.closed, 1);

    FakeIcmp noLibrary, unknown;
    noLibrary.opens = unknown.resolves = false;
    EXPECT_EQ(noLibrary.Run().outcome, Outcome::CannotPing);
    EXPECT_EQ(unknown.Run().outcome, Outcome::NotFound);
    EXPECT_TRUE(unknown.echoes.empty());
}

TEST(MtuSearch, ResultLinesAndHosts) {
    const std::string found = "The largest MTU to Www.X.example is 1400.";
    EXPECT_EQ(MtuSearch::ResultText({Outcome::Found, 1400}, "Www.X.example", 1500), found);
    const std::string own = MtuSearch::ResultText({Outcome::Found, 1400}, "Www.X.example", 1400);
    EXPECT_NE(own.find("may carry more"), std::string::npos);
    EXPECT_EQ(own.substr(0, found.size()), found);
    EXPECT_EQ(MtuSearch::ResultText({Outcome::NotFound, 0}, "h", 0), "h could not be found.");
    EXPECT_EQ(MtuSearch::ResultText({Outcome::CannotPing, 0}, "h", 0),
              "The largest MTU could not be found: this computer cannot send pings.");
    for (const char* site : {"http://www.x.example:8080/p", "www.x.example", " https://u:p@www.x.example/a?b "})
        EXPECT_EQ(MtuSearch::HostOf(site), "www.x.example") << site;
}

}  // namespace
