#include "configurator/WindowMeasurement.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Outcome = WindowMeasurement::Outcome;

// Each host answers its echoes in turn from its script: a round trip in ms, or -1 for none. Hosts
// not in the script are not found. Echo stopAt sets the stop flag as it goes out.
struct ScriptedIcmp : Icmp {
    bool Open() override { return opens; }
    bool Resolve(const std::string& host, std::uint32_t* address) override {
        if (script.count(host) == 0) return false;
        *address = static_cast<std::uint32_t>(resolved.size());
        resolved.push_back(host);
        return true;
    }
    Reply Echo(std::uint32_t address, WORD size, DWORD timeout) override {
        EXPECT_EQ(size, 32);
        EXPECT_EQ(timeout, 3000u);
        if (++echoes == stopAt) stop = true;
        std::vector<int>& answers = script[resolved.at(address)];
        const int roundTrip = answers.empty() ? -1 : answers.front();
        if (!answers.empty()) answers.erase(answers.begin());
        if (roundTrip < 0) return {};
        return {kSuccess, static_cast<DWORD>(roundTrip)};
    }
    void Close() override { ++closed; }

    WindowMeasurement::Result Run(const std::string& hosts) {
        return WindowMeasurement::Run(*this, WindowMeasurement::HostsOf(hosts), stop,
                                      [this](const WindowMeasurement::Host& host) {
                                          lines.push_back(WindowMeasurement::HostText(host));
                                      });
    }

    bool opens = true;
    int stopAt = 0, echoes = 0, closed = 0;
    std::atomic<bool> stop{false};
    std::map<std::string, std::vector<int>> script;
    std::vector<std::string> resolved, lines;
};

TEST(WindowMeasurement, EachHostsMedianAndTheLargestOfThem) {
    ScriptedIcmp icmp;
    icmp.script["near.example"] = {20, 22, 21, 900, 19, 20, 23, 21, 20, 22};
    icmp.script["198.18.0.9"] = {};
    icmp.script["far.example"] = {-1, 250, 260, -1, 255, 240, 252, 251, -1, 249};
    const WindowMeasurement::Result result = icmp.Run("near.example, 198.18.0.9,gone.example far.example");
    EXPECT_EQ(result.outcome, Outcome::Measured);
    EXPECT_EQ(result.latency, 251u);
    EXPECT_EQ(icmp.lines, (std::vector<std::string>{"near.example: 21 ms (10 of 10 answered)",
                                                    "198.18.0.9: no answer", "gone.example: not found",
                                                    "far.example: 251 ms (7 of 10 answered)"}));
    EXPECT_EQ(icmp.echoes, 30);
    EXPECT_EQ(icmp.closed, 1);

    const std::vector<std::vector<DWORD>> middles = {{}, {7}, {30, 10, 20}, {10, 21, 30, 20}, {10, 12}, {3000, 0}};
    const DWORD medians[] = {0, 7, 20, 21, 11, 1500};
    for (std::size_t i = 0; i < middles.size(); ++i) EXPECT_EQ(WindowMeasurement::Median(middles[i]), medians[i]) << i;
}

TEST(WindowMeasurement, NoAnswerStopAndNoIcmp) {
    ScriptedIcmp silent;
    silent.script["a.example"] = {};
    const WindowMeasurement::Result none = silent.Run("gone.example a.example");
    EXPECT_EQ(none.outcome, Outcome::NoAnswer);
    EXPECT_EQ(WindowMeasurement::ResultText(none, 56, {}), "No host answered.");

    ScriptedIcmp stopped;
    stopped.script = {{"a.example", {}}, {"b.example", {}}};
    stopped.stopAt = 13;
    EXPECT_EQ(stopped.Run("a.example b.example").outcome, Outcome::Stopped);
    EXPECT_EQ(stopped.echoes, 13);
    EXPECT_EQ(stopped.lines.size(), 1u);
    EXPECT_EQ(stopped.closed, 1);

    ScriptedIcmp noLibrary;
    noLibrary.opens = false;
    EXPECT_EQ(noLibrary.Run("a.example").outcome, Outcome::CannotPing);
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
