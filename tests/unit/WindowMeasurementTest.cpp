#include "line/WindowMeasurement.h"
#include "tests/support/FakeIcmp.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

using Outcome = WindowMeasurement::Outcome;

// The hosts measured from text, with the stop flag set at echo stopAt; lines gets the list's lines.
WindowMeasurement::Result Measure(FakeIcmp& icmp, const std::string& hosts, std::vector<std::string>* lines) {
    std::atomic<bool> stop{false};
    icmp.stop = &stop;
    return WindowMeasurement::Run(icmp, WindowMeasurement::HostsOf(hosts), stop,
                                  [lines](const WindowMeasurement::Host& host) {
                                      lines->push_back(WindowMeasurement::HostText(host));
                                  });
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
    EXPECT_EQ(icmp.echoes, std::vector<int>(30, 32));
    EXPECT_EQ(icmp.waits, std::vector<DWORD>(30, 3000));
    EXPECT_EQ(icmp.closed, 1);

    const std::vector<std::vector<DWORD>> middles = {{}, {7}, {30, 10, 20}, {10, 21, 30, 20}, {10, 12}, {3000, 0}};
    const DWORD medians[] = {0, 7, 20, 21, 11, 1500};
    for (std::size_t i = 0; i < middles.size(); ++i) EXPECT_EQ(WindowMeasurement::Median(middles[i]), medians[i]) << i;
}

TEST(WindowMeasurement, NoAnswerStopAndNoIcmp) {
    std::vector<std::string> lines;
    FakeIcmp silent;
    silent.hosts["a.example"] = {};
    const WindowMeasurement::Result none = Measure(silent, "gone.example a.example", &lines);
    EXPECT_EQ(none.outcome, Outcome::NoAnswer);
    EXPECT_EQ(WindowMeasurement::ResultText(none, 56, {}), "No host answered.");

    FakeIcmp stopped;
    stopped.hosts = {{"a.example", {}}, {"b.example", {}}};
    stopped.stopAt = 13;
    lines.clear();
    EXPECT_EQ(Measure(stopped, "a.example b.example", &lines).outcome, Outcome::Stopped);
    EXPECT_EQ(stopped.echoes.size(), 13u);
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_EQ(stopped.closed, 1);

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
