#pragma once
#include "configurator/MtuSearch.h"
#include "win32/Icmp.h"

#include <atomic>
#include <set>
#include <string>
#include <vector>

// A line of mtu: larger echoes get "too big" (silent: nothing). An answer takes latency plus msPerKilobyte
// per 1000 bytes, lost when the echo waits less or its number is in lost; echo errorAt gets error.
struct FakeIcmp : Icmp {
    bool Open() override { return opens; }
    bool Resolve(const std::string&, std::uint32_t*) override { return resolves; }
    Reply Echo(std::uint32_t, WORD size, DWORD timeout) override {
        echoes.push_back(size);
        waits.push_back(timeout);
        const int number = static_cast<int>(echoes.size());
        if (stopAt == number) *stop = true;
        if (number == errorAt) return {error};
        const DWORD roundTrip = latency + (size + MtuSearch::kHeaders) * msPerKilobyte / 1000;
        if (!answers || lost.count(number) > 0 || roundTrip > timeout) return {kTimedOut};
        if (size + MtuSearch::kHeaders > mtu) return {silent ? kTimedOut : kPacketTooBig};
        return {kSuccess, roundTrip};
    }
    void Close() override { ++closed; }

    bool opens = true, resolves = true, answers = true, silent = false;
    int mtu = 1500, stopAt = 0, closed = 0, errorAt = 0;
    DWORD latency = 20, msPerKilobyte = 0, error = 11013;
    std::set<int> lost;
    std::atomic<bool>* stop = nullptr;
    std::vector<int> echoes;
    std::vector<DWORD> waits;
    std::vector<std::string> probes;

    MtuSearch::Result Run() {
        std::atomic<bool> stopped{false};
        stop = &stopped;
        return MtuSearch::Run(*this, "www.x.example", stopped,
                              [this](const MtuSearch::Probe& probe) { probes.push_back(MtuSearch::ProbeText(probe)); });
    }
};
