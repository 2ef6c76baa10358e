#include "line/MtuSearch.h"

#include <algorithm>
#include <cstdint>

namespace {

// The system's own words for an IP status, as its ping shows them.
std::string ReasonOf(DWORD status) {
    static const struct {
        DWORD status;
        const char* reason;
    } kReasons[] = {
        {11002, "destination net unreachable"},
        {11003, "destination host unreachable"},
        {11004, "destination protocol unreachable"},
        {11005, "destination port unreachable"},
        {11006, "no resources"},
        {11007, "bad option specified"},
        {11008, "hardware error"},
        {11011, "bad request"},
        {11012, "bad route"},
        {11013, "TTL expired in transit"},
        {11014, "TTL expired during reassembly"},
        {11015, "parameter problem"},
        {11016, "source quench received"},
        {11017, "option too big"},
        {11018, "bad destination"},
    };
    for (const auto& known : kReasons) {
        if (known.status == status) return known.reason;
    }
    return "general failure";
}

// One search's echoes to one address; once stop is seen, every later probe
// is skipped and the search ends.
class Prober {
public:
    Prober(Icmp& icmp, std::uint32_t address, const std::atomic<bool>& stop, const MtuSearch::ProbeSeen& seen)
        : icmp_(&icmp), address_(address), stop_(&stop), seen_(&seen) {}

    bool Stopped() const { return stopped_; }

    // measure: the answer's round trip is the line's.
    MtuSearch::Probe Send(int mtu, DWORD wait, bool measure) {
        MtuSearch::Probe probe;
        probe.payload = mtu - MtuSearch::kHeaders;
        for (int attempt = 0; attempt < 2 && probe.answer == MtuSearch::Answer::NoAnswer; ++attempt) {
            if (stop_->load()) {
                stopped_ = true;
                return probe;
            }
            const Icmp::Reply reply = icmp_->Echo(address_, static_cast<WORD>(probe.payload), wait);
            probe.answer = MtuSearch::AnswerOf(reply.status);
            probe.status = reply.status;
            if (measure && probe.answer == MtuSearch::Answer::Passed) probe.lineRoundTrip = reply.roundTrip;
        }
        (*seen_)(probe);
        return probe;
    }

private:
    Icmp* icmp_;
    std::uint32_t address_;
    const std::atomic<bool>* stop_;
    const MtuSearch::ProbeSeen* seen_;
    bool stopped_ = false;
};

MtuSearch::Result Search(Icmp& icmp, const std::string& host, const std::atomic<bool>& stop,
                         const MtuSearch::ProbeSeen& seen) {
    using Answer = MtuSearch::Answer;
    using Outcome = MtuSearch::Outcome;
    std::uint32_t address = 0;
    if (!icmp.Resolve(host, &address)) return {Outcome::NotFound};
    Prober prober(icmp, address, stop, seen);

    const MtuSearch::Probe smallest = prober.Send(MtuSearch::kSmallestMtu, MtuSearch::kLongestWait, true);
    if (prober.Stopped()) return {Outcome::Stopped};
    if (smallest.answer == Answer::Unreachable) return {Outcome::Unreachable, 0, smallest.status};
    if (smallest.answer != Answer::Passed) return {Outcome::NoAnswer};
    const DWORD wait = MtuSearch::WaitAfter(*smallest.lineRoundTrip);

    // low passes, high does not.
    int low = MtuSearch::kSmallestMtu;
    int high = MtuSearch::kFirstMtu + 1;
    for (int probes = 0; high - low > 1; ++probes) {
        const int mtu = probes == 0 ? MtuSearch::kFirstMtu
                        : probes == 1 && high > MtuSearch::kSecondMtu ? MtuSearch::kSecondMtu
                                                                      : low + (high - low) / 2;
        const MtuSearch::Probe probe = prober.Send(mtu, wait, false);
        if (prober.Stopped()) return {Outcome::Stopped};
        if (probe.answer == Answer::Unreachable) return {Outcome::Unreachable, 0, probe.status};
        (probe.answer == Answer::Passed ? low : high) = mtu;
    }
    return {Outcome::Found, low};
}

}  // namespace

MtuSearch::Result MtuSearch::Run(Icmp& icmp, const std::string& host, const std::atomic<bool>& stop,
                                 const ProbeSeen& seen) {
    if (!icmp.Open()) return {Outcome::CannotPing};
    const Result result = Search(icmp, host, stop, seen);
    icmp.Close();
    return result;
}

MtuSearch::Answer MtuSearch::AnswerOf(DWORD status) {
    switch (status) {
        case Icmp::kSuccess: return Answer::Passed;
        case Icmp::kPacketTooBig: return Answer::TooBig;
        case Icmp::kTimedOut: return Answer::NoAnswer;
        default: return Answer::Unreachable;
    }
}

DWORD MtuSearch::WaitAfter(DWORD lineRoundTrip) {
    if (lineRoundTrip >= kLongestWait / kRoundTripsPerWait) return kLongestWait;
    return std::max(kShortestWait, lineRoundTrip * kRoundTripsPerWait);
}

std::string MtuSearch::ProbeText(const Probe& probe) {
    std::string text = std::to_string(probe.payload) + " bytes: ";
    switch (probe.answer) {
        case Answer::Passed: text += "passed"; break;
        case Answer::TooBig: text += "too big"; break;
        case Answer::NoAnswer: text += "no answer"; break;
        case Answer::Unreachable: text += ReasonOf(probe.status); break;
    }
    if (probe.lineRoundTrip) text += ", round trip " + std::to_string(*probe.lineRoundTrip) + " ms";
    return text;
}

std::string MtuSearch::ResultText(const Result& result, const std::string& host, int adapterMtu) {
    switch (result.outcome) {
        case Outcome::Found: {
            const std::string found = "The largest MTU to " + host + " is " + std::to_string(result.mtu) + ".";
            if (result.mtu != adapterMtu) return found;
            return found + " Your adapters are set to this MTU, and the search cannot see past it: the line may "
                           "carry more.";
        }
        case Outcome::NoAnswer: return host + " does not answer pings, so its MTU cannot be found.";
        case Outcome::Unreachable: return host + " cannot be reached: " + ReasonOf(result.status) + ".";
        case Outcome::NotFound: return host + " could not be found.";
        case Outcome::CannotPing: return "The largest MTU could not be found: this computer cannot send pings.";
        case Outcome::Stopped: break;
    }
    return "The search was stopped.";
}

std::string MtuSearch::HostOf(const std::string& site) {
    const std::string blanks = " \t";
    const std::size_t first = site.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    std::string host = site.substr(first, site.find_last_not_of(blanks) - first + 1);
    const std::size_t scheme = host.find("://");
    if (scheme != std::string::npos) host.erase(0, scheme + 3);
    host = host.substr(0, host.find_first_of("/?#"));
    const std::size_t user = host.rfind('@');
    if (user != std::string::npos) host.erase(0, user + 1);
    return host.substr(0, host.find(':'));
}
