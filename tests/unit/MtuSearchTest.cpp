#include "configurator/MtuSearch.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// A line of mtu: larger echoes get "too big" (silent: nothing), those numbered in lost nothing.
struct FakeIcmp : Icmp {
    bool Open() override { return opens; }
    bool Resolve(const std::string&, std::uint32_t*) override { return resolves; }
    DWORD Echo(std::uint32_t, WORD size, DWORD) override {
        echoes.push_back(size);
        if (stopAt == static_cast<int>(echoes.size())) *stop = true;
        if (!answers || lost.count(static_cast<int>(echoes.size())) > 0) return kTimedOut;
        return size + MtuSearch::kHeaders <= mtu ? kSuccess : silent ? kTimedOut : kPacketTooBig;
    }
    void Close() override { ++closed; }

    bool opens = true, resolves = true, answers = true, silent = false;
    int mtu = 1500, stopAt = 0, closed = 0;
    std::set<int> lost;
    std::atomic<bool>* stop = nullptr;
    std::vector<int> echoes;
    std::vector<std::string> probes;

    MtuSearch::Result Run() {
        std::atomic<bool> stopped{false};
        stop = &stopped;
        return MtuSearch::Run(*this, "www.x.example", stopped, [this](int payload, MtuSearch::Answer answer) {
            probes.push_back(MtuSearch::ProbeText(payload, answer));
        });
    }
};

using Outcome = MtuSearch::Outcome;

TEST(MtuSearch, FindsEveryLineExactlyInAtMostThirteenProbes) {
    for (const bool silent : {false, true}) {
        for (const int mtu : {1500, 1499, 1492, 1454, 1400, 576, 69, 68}) {
            FakeIcmp icmp;
            icmp.mtu = mtu;
            icmp.silent = silent;
            const MtuSearch::Result result = icmp.Run();
            EXPECT_EQ(result.outcome, Outcome::Found);
            EXPECT_EQ(result.mtu, mtu) << (silent ? "silent " : "") << mtu;
            EXPECT_LE(icmp.probes.size(), mtu == 1500 ? 1u : 13u) << mtu;
            EXPECT_EQ(icmp.probes[0], std::string("1472 bytes: ") + (mtu == 1500 ? "passed" : silent ? "no answer" : "too big"));
        }
    }
}

TEST(MtuSearch, NoAnswerLostAnswersStopAndNoIcmp) {
    FakeIcmp nothing;
    nothing.answers = false;
    EXPECT_EQ(nothing.Run().outcome, Outcome::NoAnswer);
    EXPECT_EQ(nothing.echoes, (std::vector<int>{1472, 1472, 40, 40}));

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
    EXPECT_EQ(own.substr(own.size() - found.size()), found);
    EXPECT_EQ(MtuSearch::ResultText({Outcome::NotFound, 0}, "h", 0), "h could not be found.");
    EXPECT_EQ(MtuSearch::ResultText({Outcome::CannotPing, 0}, "h", 0),
              "The largest MTU could not be found: this computer cannot send pings.");
    for (const char* site : {"http://www.x.example:8080/p", "www.x.example", " https://u:p@www.x.example/a?b "})
        EXPECT_EQ(MtuSearch::HostOf(site), "www.x.example") << site;
}

}  // namespace
