#include "line/WindowMeasurement.h"
#include "tests/support/FakeIcmp.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Outcome = WindowMeasurement::Outcome;

void OnThreads(const std::vector<std::function<void()>>& jobs) {
    std::vector<std::thread> threads(jobs.begin(), jobs.end());
    for (std::thread& thread : threads) thread.join();
}

// The hosts of text measured all at once, each through a copy of icmp, the first with its stopAt; then their
// echoes, waits and closes add up in icmp. lines gets the list's lines.
WindowMeasurement::Result Measure(FakeIcmp& icmp, const std::string& hosts, std::vector<std::string>* lines) {
    std::atomic<bool> stop{false};
    icmp.stop = &stop;
    const std::vector<std::string> names = WindowMeasurement::HostsOf(hosts);
    std::vector<FakeIcmp> copies(names.size(), icmp);
    std::vector<Icmp*> each;
    for (FakeIcmp& copy : copies) {
        copy.stopAt = each.empty() ? icmp.stopAt : 0;
        each.push_back(&copy);
    }
    const WindowMeasurement::Result result =
        WindowMeasurement::Run(each, names, &OnThreads, stop, [lines](const WindowMeasurement::Host& host) {
            lines->push_back(WindowMeasurement::HostText(host));
        });
    for (const FakeIcmp& copy : copies) {
        icmp.echoes.insert(icmp.echoes.end(), copy.echoes.begin(), copy.echoes.end());
        icmp.waits.insert(icmp.waits.end(), copy.waits.begin(), copy.waits.end());
        icmp.closed += copy.closed;
    }
    return result;
}

TEST(WindowMeasurement, EachHostsMedianAndTheLargestOfThem) {
    FakeIcmp icmp;
    icmp.hosts["near.example"] = {20, 22, 21, 900, 19, 20, 23, 21, 20, 22};
    icmp.hosts["198.18.0.9"] = {};
    icmp.hosts["far.example"] = {-1, 250, 260, -1, 255, 240, 252, 251, -1, 249};
    std::vector<std::string> lines;
    const WindowMeasurement::Result result =
        Measure(icmp, "near.example, 198.18.0.9,gone.example far.example", &lines);
    EXPECT_EQ(result.outcome, Outcome::Measured);
    EXPECT_EQ(result.latency, 251u);
    EXPECT_EQ(lines, (std::vector<std::string>{"near.example: 21 ms (10 of 10 answered)", "198.18.0.9: no answer",
                                               "gone.example: not found", "far.example: 251 ms (7 of 10 answered)"}));
    EXPECT_EQ(icmp.echoes, std::vector<int>(22, 32));  // a host silent twice gets no more
    EXPECT_EQ(icmp.waits, std::vector<DWORD>(22, 3000));
    EXPECT_EQ(icmp.closed, 4);

    const std::vector<std::vector<DWORD>> middles = {{}, {7}, {30, 10, 20}, {10, 21, 30, 20}, {10, 12}, {3000, 0}};
    const DWORD medians[] = {0, 7, 20, 21, 11, 1500};
    for (std::size_t i = 0; i < middles.size(); ++i) EXPECT_EQ(WindowMeasurement::Median(middles[i]), medians[i]) << i;
}

TEST(WindowMeasurement, NoAnswerStopAndNoIcmp) {
    std::vector<std::string> lines;
    FakeIcmp silent;
    silent.hosts["a.example"] = {};
    silent.hosts["late.example"] = {-1, -1, 30, 30, 30, 30, 30, 30, 30, 30};
    const WindowMeasurement::Result none = Measure(silent, "gone.example a.example late.example", &lines);
    EXPECT_EQ(none.outcome, Outcome::NoAnswer);
    EXPECT_EQ(lines.back(), "late.example: no answer");
    EXPECT_EQ(WindowMeasurement::ResultText(none, 56, {}), "No host answered.");

    FakeIcmp stopped;
    stopped.hosts = {{"a.example", std::vector<int>(10, 5)}, {"b.example", std::vector<int>(10, 5)}};
    stopped.stopAt = 3;
    lines.clear();
    EXPECT_EQ(Measure(stopped, "a.example b.example", &lines).outcome, Outcome::Stopped);
    EXPECT_LE(stopped.echoes.size(), 13u);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(stopped.closed, 2);

    FakeIcmp noLibrary;
    noLibrary.opens = false;
    EXPECT_EQ(Measure(noLibrary, "a.example", &lines).outcome, Outcome::CannotPing);
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
