#include "configurator/MtuSearch.h"

#include <cstdint>

namespace {

// One search's echoes to one address; once stop is seen, every later probe
// is skipped and the search ends.
class Prober {
public:
    Prober(Icmp& icmp, std::uint32_t address, const std::atomic<bool>& stop, const MtuSearch::ProbeSeen& seen)
        : icmp_(&icmp), address_(address), stop_(&stop), seen_(&seen) {}

    bool Stopped() const { return stopped_; }

    MtuSearch::Answer Probe(int mtu) {
        const int payload = mtu - MtuSearch::kHeaders;
        MtuSearch::Answer answer = MtuSearch::Answer::NoAnswer;
        for (int attempt = 0; attempt < 2 && answer == MtuSearch::Answer::NoAnswer; ++attempt) {
            if (stop_->load()) {
                stopped_ = true;
                return answer;
            }
            answer = MtuSearch::AnswerOf(icmp_->Echo(address_, static_cast<WORD>(payload), MtuSearch::kTimeout));
        }
        (*seen_)(payload, answer);
        return answer;
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
    if (!icmp.Resolve(host, &address)) return {Outcome::NotFound, 0};
    Prober prober(icmp, address, stop, seen);
    const MtuSearch::Result stopped = {Outcome::Stopped, 0};

    Answer last = prober.Probe(MtuSearch::kFirstMtu);
    if (prober.Stopped()) return stopped;
    if (last == Answer::Passed) return {Outcome::Found, MtuSearch::kFirstMtu};

    // low passes (below the range: nothing has yet), high does not.
    int low = MtuSearch::kSmallestMtu - 1;
    int high = MtuSearch::kFirstMtu;
    bool smallestTried = false;
    for (;;) {
        // Silence before anything passed: a host that answers nothing, or a
        // router that drops what is too big without saying so.
        if (last == Answer::NoAnswer && low < MtuSearch::kSmallestMtu && !smallestTried &&
            high > MtuSearch::kSmallestMtu) {
            smallestTried = true;
            last = prober.Probe(MtuSearch::kSmallestMtu);
            if (prober.Stopped()) return stopped;
            if (last != Answer::Passed) return {Outcome::NoAnswer, 0};
            low = MtuSearch::kSmallestMtu;
        }
        if (high - low <= 1) break;
        const int middle = low + (high - low) / 2;
        last = prober.Probe(middle);
        if (prober.Stopped()) return stopped;
        (last == Answer::Passed ? low : high) = middle;
    }
    if (low < MtuSearch::kSmallestMtu) return {Outcome::NoAnswer, 0};
    return {Outcome::Found, low};
}

}  // namespace

MtuSearch::Result MtuSearch::Run(Icmp& icmp, const std::string& host, const std::atomic<bool>& stop,
                                 const ProbeSeen& seen) {
    if (!icmp.Open()) return {Outcome::CannotPing, 0};
    const Result result = Search(icmp, host, stop, seen);
    icmp.Close();
    return result;
}

MtuSearch::Answer MtuSearch::AnswerOf(DWORD status) {
    if (status == Icmp::kSuccess) return Answer::Passed;
    if (status == Icmp::kPacketTooBig) return Answer::TooBig;
    return Answer::NoAnswer;
}

std::string MtuSearch::ProbeText(int payload, Answer answer) {
    const char* what = answer == Answer::Passed ? "passed" : answer == Answer::TooBig ? "too big" : "no answer";
    return std::to_string(payload) + " bytes: " + what;
}

std::string MtuSearch::ResultText(const Result& result, const std::string& host, int adapterMtu) {
    switch (result.outcome) {
        case Outcome::Found: {
            const std::string found = "The largest MTU to " + host + " is " + std::to_string(result.mtu) + ".";
            if (result.mtu != adapterMtu) return found;
            return "Your adapters are set to this MTU now, and the search could only see up to the computer's own "
                   "setting: the line may carry more.\n" +
                   found;
        }
        case Outcome::NoAnswer: return host + " does not answer pings, so its MTU cannot be found.";
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
