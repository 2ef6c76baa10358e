#include "line/WindowMeasurement.h"

#include "common/NumberText.h"

#include <algorithm>

namespace {

using Host = WindowMeasurement::Host;
using Result = WindowMeasurement::Result;
using Outcome = WindowMeasurement::Outcome;

}  // namespace

Result WindowMeasurement::Run(const std::vector<Icmp*>& icmps, const std::vector<std::string>& hosts,
                              const RunTogether& together, const std::atomic<bool>& stop, const HostSeen& seen) {
    // Each job writes only its own slot; the runner's return orders those writes before the reads below.
    std::vector<Host> measured(hosts.size());
    std::vector<char> pinged(hosts.size(), 0);
    std::vector<std::function<void()>> jobs;
    for (std::size_t i = 0; i < hosts.size(); ++i) {
        measured[i].name = hosts[i];
        jobs.push_back([&, i] { pinged[i] = MeasureHost(*icmps[i], measured[i], kEchoes, kWait, stop); });
    }
    together(jobs);
    if (std::find(pinged.begin(), pinged.end(), 0) != pinged.end()) return {Outcome::CannotPing};
    if (stop.load()) return {Outcome::Stopped};
    Result result{Outcome::NoAnswer};
    for (const Host& host : measured) {
        if (host.answered > 0) {
            result.latency = std::max(result.latency, host.median);
            result.outcome = Outcome::Measured;
        }
        seen(host);
    }
    return result;
}

bool WindowMeasurement::MeasureHost(Icmp& icmp, Host& host, int echoes, DWORD wait, const std::atomic<bool>& stop) {
    if (!icmp.Open()) return false;
    std::uint32_t address = 0;
    host.found = !stop.load() && icmp.Resolve(host.name, &address);
    std::vector<DWORD> roundTrips;
    for (int echo = 0; host.found && echo < echoes && !stop.load(); ++echo) {
        if (echo == kSilentEchoes && roundTrips.empty()) break;
        const Icmp::Reply reply = icmp.Echo(address, kEchoSize, wait);
        if (reply.status == Icmp::kSuccess) roundTrips.push_back(reply.roundTrip);
    }
    icmp.Close();
    host.answered = static_cast<int>(roundTrips.size());
    host.median = Median(roundTrips);
    return true;
}

std::vector<std::string> WindowMeasurement::HostsOf(const std::string& text) {
    const std::string separators = " \t,";
    std::vector<std::string> hosts;
    std::size_t end = 0;
    for (std::size_t start = text.find_first_not_of(separators); start != std::string::npos;
         start = text.find_first_not_of(separators, end)) {
        end = text.find_first_of(separators, start);
        hosts.push_back(text.substr(start, end - start));
    }
    return hosts;
}

std::optional<std::uint32_t> WindowMeasurement::SpeedOf(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const std::string digits = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    const std::optional<std::uint64_t> speed = DigitsValue(digits, kSpeedDigits);
    if (!speed || *speed == 0) return std::nullopt;
    return static_cast<std::uint32_t>(*speed);
}

DWORD WindowMeasurement::Median(std::vector<DWORD> roundTrips) {
    if (roundTrips.empty()) return 0;
    std::sort(roundTrips.begin(), roundTrips.end());
    const std::size_t middle = roundTrips.size() / 2;
    if (roundTrips.size() % 2 == 1) return roundTrips[middle];
    const DWORD low = roundTrips[middle - 1];
    return low + (roundTrips[middle] - low + 1) / 2;
}

std::string WindowMeasurement::HostText(const Host& host) {
    if (!host.found) return host.name + ": not found";
    if (host.answered == 0) return host.name + ": no answer";
    return host.name + ": " + std::to_string(host.median) + " ms (" + std::to_string(host.answered) + " of " +
           std::to_string(kEchoes) + " answered)";
}

std::string WindowMeasurement::ResultText(const Result& result, std::uint32_t speed, const LineWindow& window) {
    switch (result.outcome) {
        case Outcome::Measured: break;
        case Outcome::NoAnswer: return "No host answered.";
        case Outcome::CannotPing: return "The round trip could not be measured: this computer cannot send pings.";
        case Outcome::Stopped: return "The measurement was stopped.";
    }
    std::string text = "Latency " + std::to_string(result.latency) + " ms, speed " + std::to_string(speed) +
                       " kbit/s, bandwidth-delay product " + std::to_string(window.bdp) + " bytes\n";
    if (window.window == 0) {
        return text + "No receive window fits an MSS of " + std::to_string(window.mss) +
               " bytes: check the custom MTU.";
    }
    text += "Receive window: " + std::to_string(window.window) + " bytes (" + std::to_string(window.multiplier) +
            " x MSS " + std::to_string(window.mss) + ")";
    if (window.scaled) text += "\nWindow scaling will be switched on with this window.";
    if (window.limited) text += "\nThis Windows cannot use a window above 65535 bytes, so the line cannot be filled.";
    return text;
}
