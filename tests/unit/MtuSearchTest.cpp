#include "configurator/MtuSearch.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

namespace {

// A line that carries packets up to lineMtu; larger ones get "too big", or
// nothing behind a router that drops them silently.
class FakeIcmp : public Icmp {
public:
    bool Open() override {
        ++opened;
        return opens;
    }
    bool Resolve(const std::string& host, std::uint32_t* address) override {
        resolved.push_back(host);
        *address = 0x0100A8C0;
        return resolves;
    }
    DWORD Echo(std::uint32_t, WORD size, DWORD timeout) override {
        const int index = static_cast<int>(echoes.size());
        echoes.push_back(size);
        EXPECT_EQ(timeout, MtuSearch::kTimeout);
        if (duringEcho) duringEcho(index);
        if (!answers || lost.count(index) > 0) return kTimedOut;
        if (size + MtuSearch::kHeaders <= lineMtu) return kSuccess;
        return silentRouter ? kTimedOut : kPacketTooBig;
    }
    void Close() override { ++closed; }

    bool opens = true;
    bool resolves = true;
    bool answers = true;
    bool silentRouter = false;
    int lineMtu = 1500;
    std::set<int> lost;
    std::function<void(int index)> duringEcho;

    int opened = 0;
    int closed = 0;
    std::vector<std::string> resolved;
    std::vector<int> echoes;
};

struct Search {
    MtuSearch::Result result;
    std::vector<std::string> probes;
};

Search RunSearch(FakeIcmp& icmp, std::atomic<bool>* stop = nullptr) {
    std::atomic<bool> never{false};
    Search search;
    search.result = MtuSearch::Run(icmp, "www.x.example", stop ? *stop : never,
                                   [&](int payload, MtuSearch::Answer answer) {
                                       search.probes.push_back(MtuSearch::ProbeText(payload, answer));
                                   });
    return search;
}

TEST(MtuSearch, FirstProbePassingEndsTheSearch) {
    FakeIcmp icmp;
    const Search search = RunSearch(icmp);
    EXPECT_EQ(search.result.outcome, MtuSearch::Outcome::Found);
    EXPECT_EQ(search.result.mtu, 1500);
    EXPECT_EQ(search.probes, std::vector<std::string>{"1472 bytes: passed"});
    EXPECT_EQ(icmp.resolved, std::vector<std::string>{"www.x.example"});
    EXPECT_EQ(icmp.closed, 1);
}

TEST(MtuSearch, FindsEveryLineExactlyWithinThirteenProbes) {
    for (const bool silentRouter : {false, true}) {
        for (const int line : {1499, 1492, 1454, 1400, 1372, 576, 69, 68}) {
            FakeIcmp icmp;
            icmp.lineMtu = line;
            icmp.silentRouter = silentRouter;
            const Search search = RunSearch(icmp);
            EXPECT_EQ(search.result.outcome, MtuSearch::Outcome::Found) << line;
            EXPECT_EQ(search.result.mtu, line) << line << (silentRouter ? " silent" : "");
            EXPECT_LE(search.probes.size(), 13u) << line;
            EXPECT_EQ(search.probes.front(), silentRouter ? "1472 bytes: no answer" : "1472 bytes: too big");
        }
    }
}

TEST(MtuSearch, ALineOf1400ProbesByHalving) {
    FakeIcmp icmp;
    icmp.lineMtu = 1400;
    const Search search = RunSearch(icmp);
    const std::vector<std::string> expected = {
        "1472 bytes: too big", "755 bytes: passed",  "1113 bytes: passed", "1292 bytes: passed",
        "1382 bytes: too big", "1337 bytes: passed", "1359 bytes: passed", "1370 bytes: passed",
        "1376 bytes: too big", "1373 bytes: too big", "1371 bytes: passed", "1372 bytes: passed"};
    EXPECT_EQ(search.probes, expected);
}

TEST(MtuSearch, AHostThatAnswersNothingIsToldAfterTheSmallestSize) {
    FakeIcmp icmp;
    icmp.answers = false;
    const Search search = RunSearch(icmp);
    EXPECT_EQ(search.result.outcome, MtuSearch::Outcome::NoAnswer);
    EXPECT_EQ(icmp.echoes, (std::vector<int>{1472, 1472, 40, 40}));
    EXPECT_EQ(search.probes, (std::vector<std::string>{"1472 bytes: no answer", "40 bytes: no answer"}));
}

TEST(MtuSearch, ALostAnswerIsTriedOnceMore) {
    FakeIcmp icmp;
    icmp.lineMtu = 1400;
    icmp.lost = {0, 3};
    const Search search = RunSearch(icmp);
    EXPECT_EQ(search.result.mtu, 1400);
    EXPECT_EQ(icmp.echoes[0], icmp.echoes[1]);
    EXPECT_EQ(icmp.echoes[3], icmp.echoes[4]);
    EXPECT_EQ(search.probes[0], "1472 bytes: too big");
}

TEST(MtuSearch, StopEndsTheSearchBeforeTheNextEcho) {
    FakeIcmp icmp;
    icmp.lineMtu = 1400;
    std::atomic<bool> stop{false};
    icmp.duringEcho = [&](int index) { stop = index == 2; };
    const Search search = RunSearch(icmp, &stop);
    EXPECT_EQ(search.result.outcome, MtuSearch::Outcome::Stopped);
    EXPECT_EQ(icmp.echoes.size(), 3u);
    EXPECT_EQ(search.probes.size(), 3u);
    EXPECT_EQ(icmp.closed, 1);
}

TEST(MtuSearch, WithoutICMPOrANameNothingIsSent) {
    FakeIcmp noLibrary;
    noLibrary.opens = false;
    EXPECT_EQ(RunSearch(noLibrary).result.outcome, MtuSearch::Outcome::CannotPing);
    EXPECT_TRUE(noLibrary.resolved.empty());

    FakeIcmp unknown;
    unknown.resolves = false;
    EXPECT_EQ(RunSearch(unknown).result.outcome, MtuSearch::Outcome::NotFound);
    EXPECT_TRUE(unknown.echoes.empty());
    EXPECT_EQ(unknown.closed, 1);
}

TEST(MtuSearch, ResultLines) {
    using O = MtuSearch::Outcome;
    const std::string host = "Www.X.example";
    EXPECT_EQ(MtuSearch::ResultText({O::Found, 1400}, host, 0), "The largest MTU to Www.X.example is 1400.");
    EXPECT_EQ(MtuSearch::ResultText({O::Found, 1400}, host, 1500), "The largest MTU to Www.X.example is 1400.");
    const std::string own = MtuSearch::ResultText({O::Found, 1400}, host, 1400);
    EXPECT_NE(own.find("may carry more"), std::string::npos);
    EXPECT_NE(own.find("computer's own setting"), std::string::npos);
    EXPECT_EQ(own.substr(own.size() - 41), "The largest MTU to Www.X.example is 1400.");
    EXPECT_EQ(MtuSearch::ResultText({O::NoAnswer, 0}, host, 0),
              "Www.X.example does not answer pings, so its MTU cannot be found.");
    EXPECT_EQ(MtuSearch::ResultText({O::NotFound, 0}, host, 0), "Www.X.example could not be found.");
    EXPECT_EQ(MtuSearch::ResultText({O::CannotPing, 0}, host, 0),
              "The largest MTU could not be found: this computer cannot send pings.");
}

TEST(MtuSearch, HostOfASite) {
    const std::pair<const char*, const char*> sites[] = {
        {"http://www.x.example:8080/p", "www.x.example"},
        {"www.x.example", "www.x.example"},
        {"  https://user:pw@198.18.1.2/a?b#c ", "198.18.1.2"},
        {"www.x.example/index.html", "www.x.example"},
        {"www.x.example:81", "www.x.example"},
        {"", ""},
    };
    for (const auto& [site, host] : sites) EXPECT_EQ(MtuSearch::HostOf(site), host) << site;
}

}  // namespace
