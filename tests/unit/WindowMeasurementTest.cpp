#include "line/WindowMeasurement.h"
#include "tests/support/FakeIcmp.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

using Outcome = WindowMeasurement::Outcome;

void OnThreads(const std::vector<std::function<void()>>& jobs) {
    std::vector<std::thread> threads;
    for (const std::function<void()>& job : jobs) threads.emplace_back(job);
    for (std::thread& thread : threads) thread.join();
}

// The hosts of text measured, each through a FakeIcmp of its own with script's hosts; stopAt of the first
// sets the stop flag. lines gets the list's lines.
template <typename Fake = FakeIcmp>
struct Measurement {
    Measurement(const std::map<std::string, std::vector<int>>& script, const std::string& text, int stopAt = 0)
        : hosts(WindowMeasurement::HostsOf(text)), icmps(hosts.size()) {
        std::vector<Icmp*> each;
        for (Fake& icmp : icmps) {
            icmp.hosts = script;
            icmp.stop = &stop;
            each.push_back(&icmp);
        }
        icmps.front().stopAt = stopAt;
        result = WindowMeasurement::Run(each, hosts, &OnThreads, stop, [this](const WindowMeasurement::Host& host) {
            lines.push_back(WindowMeasurement::HostText(host));
        });
    }

    std::vector<std::string> hosts;
    std::vector<Fake> icmps;
    std::atomic<bool> stop{false};
    WindowMeasurement::Result result;
    std::vector<std::string> lines;
};

// Its first echo waits until every host has sent one, at most 5 s; all tells whether they did.
struct TogetherIcmp : FakeIcmp {
    Reply Echo(std::uint32_t address, WORD size, DWORD timeout) override {
        if (echoes.empty()) {
            ++arrived;
            for (int wait = 0; wait < 500 && arrived < total; ++wait) std::this_thread::sleep_for(10ms);
            all = arrived == total;
        }
        return FakeIcmp::Echo(address, size, timeout);
    }
    static inline std::atomic<int> arrived{0};
    static constexpr int total = 3;
    bool all = false;
};

TEST(WindowMeasurement, AllHostsAtOnceEachHostsMedianAndTheLargest) {
    const std::map<std::string, std::vector<int>> script = {
        {"near.example", {20, 22, 21, 900, 19, 20, 23, 21, 20, 22}},
        {"198.18.0.9", {}},
        {"late.example", {-1, -1, 30, 30, 30, 30, 30, 30, 30, 30}},
        {"far.example", {-1, 250, 260, -1, 255, 240, 252, 251, -1, 249}}};
    const Measurement<TogetherIcmp> m(script, "near.example, 198.18.0.9,gone.example far.example");
    EXPECT_EQ(m.result.outcome, Outcome::Measured);
    EXPECT_EQ(m.result.latency, 251u);
    EXPECT_EQ(m.lines, (std::vector<std::string>{"near.example: 21 ms (10 of 10 answered)", "198.18.0.9: no answer",
                                                 "gone.example: not found", "far.example: 251 ms (7 of 10 answered)"}));
    const std::size_t echoes[] = {10, 2, 0, 10};  // a host silent twice gets no more
    for (std::size_t i = 0; i < m.icmps.size(); ++i) {
        EXPECT_EQ(m.icmps[i].echoes, std::vector<int>(echoes[i], 32)) << i;
        EXPECT_EQ(m.icmps[i].waits, std::vector<DWORD>(echoes[i], 3000)) << i;
        EXPECT_EQ(m.icmps[i].closed, 1) << i;
        if (echoes[i] > 0) {
            EXPECT_TRUE(m.icmps[i].all) << i;  // no host waited for another
        }
    }
    EXPECT_EQ(Measurement<>(script, "late.example").lines, std::vector<std::string>{"late.example: no answer"});

    const std::vector<std::vector<DWORD>> middles = {{}, {7}, {30, 10, 20}, {10, 21, 30, 20}, {10, 12}, {3000, 0}};
    const DWORD medians[] = {0, 7, 20, 21, 11, 1500};
    for (std::size_t i = 0; i < middles.size(); ++i) EXPECT_EQ(WindowMeasurement::Median(middles[i]), medians[i]) << i;
}

TEST(WindowMeasurement, NoAnswerStopAndNoIcmp) {
    const Measurement<> none({{"a.example", {}}}, "gone.example a.example");
    EXPECT_EQ(none.result.outcome, Outcome::NoAnswer);
    EXPECT_EQ(WindowMeasurement::ResultText(none.result, 56, {}), "No host answered.");

    const Measurement<> stopped({{"a.example", {5, 5, 5, 5, 5}}, {"b.example", {5, 5, 5, 5, 5}}}, "a.example b.example",
                                3);
    EXPECT_EQ(stopped.result.outcome, Outcome::Stopped);
    EXPECT_EQ(stopped.icmps[0].echoes.size(), 3u);
    EXPECT_TRUE(stopped.lines.empty());
    EXPECT_EQ(stopped.icmps[1].closed, 1);

    FakeIcmp answering, noLibrary;
    answering.hosts = noLibrary.hosts = {{"a.example", {5}}, {"b.example", {5}}};
    noLibrary.opens = false;
    std::atomic<bool> stop{false};
    EXPECT_EQ(WindowMeasurement::Run({&answering, &noLibrary}, {"a.example", "b.example"}, &OnThreads, stop,
                                     [](const WindowMeasurement::Host&) { FAIL(); })
                  .outcome,
              Outcome::CannotPing);
}

TEST(WindowMeasurement, WhatWasTypedAndTheResultLabel) {
    EXPECT_EQ(WindowMeasurement::HostsOf(" a.example,b.example ,, 10.0.0.1\tc d e "),
              (std::vector<std::string>{"a.example", "b.example", "10.0.0.1", "c", "d", "e"}));
    EXPECT_TRUE(WindowMeasurement::HostsOf(" , ").empty());
    EXPECT_EQ(WindowMeasurement::SpeedOf(" 1536 "), 1536u);
    EXPECT_EQ(WindowMeasurement::SpeedOf("999999999"), 999999999u);
    for (const char* wrong : {"", "0", "1000000000", "15a6", "-56"})
        EXPECT_FALSE(WindowMeasurement::SpeedOf(wrong)) << wrong;

    const WindowMeasurement::Result measured{Outcome::Measured, 400};
    const std::string line = "Latency 400 ms, speed 1536 kbit/s, bandwidth-delay product 76800 bytes\n";
    EXPECT_EQ(WindowMeasurement::ResultText(measured, 1536, LineWindow::For(400, 1536, 1460, true)),
              line + "Receive window: 128480 bytes (88 x MSS 1460)\n"
                     "Window scaling will be switched on with this window.");
    EXPECT_EQ(WindowMeasurement::ResultText(measured, 1536, LineWindow::For(400, 1536, 1460, false)),
              line + "Receive window: 64240 bytes (44 x MSS 1460)\nThis Windows cannot use a window above 65535 "
                     "bytes, so the line cannot be filled.");
    EXPECT_EQ(WindowMeasurement::ResultText({Outcome::Measured, 10}, 1536, LineWindow::For(10, 1536, 1460, false)),
              "Latency 10 ms, speed 1536 kbit/s, bandwidth-delay product 1920 bytes\n"
              "Receive window: 5840 bytes (4 x MSS 1460)");
}

}  // namespace
