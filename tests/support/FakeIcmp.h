#pragma once
#include "line/MtuSearch.h"
#include "win32/Icmp.h"

#include <atomic>
#include <map>
#include <set>
#include <string>
#include <vector>

// A line of mtu: larger echoes get "too big" (silent: nothing). An answer takes latency plus msPerKilobyte
// per 1000 bytes, lost when the echo waits less or its number is in lost; echo errorAt gets error.
// With hosts given, each host instead answers its echoes in turn from its round trips (-1: none), and a
// host not among them is not found.
struct FakeIcmp : Icmp {
    bool Open() override { return opens; }
    bool Resolve(const std::string& host, std::uint32_t* address) override {
        if (hosts.empty()) return resolves;
        if (hosts.count(host) == 0) return false;
        *address = static_cast<std::uint32_t>(resolved.size());
        resolved.push_back(host);
        return true;
    }
    Reply Echo(std::uint32_t address, WORD size, DWORD timeout) override {
        echoes.push_back(size);
        waits.push_back(timeout);
        const int number = static_cast<int>(echoes.size());
        if (stopAt == number) *stop = true;
        if (!hosts.empty()) {
            std::vector<int>& roundTrips = hosts[resolved.at(address)];
            const int roundTrip = roundTrips.empty() ? -1 : roundTrips.front();
            if (!roundTrips.empty()) roundTrips.erase(roundTrips.begin());
            return roundTrip < 0 ? Reply{kTimedOut} : Reply{kSuccess, static_cast<DWORD>(roundTrip)};
        }
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
    std::map<std::string, std::vector<int>> hosts;
    std::vector<std::string> resolved;
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
