#pragma once
#include "win32/Icmp.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>

// The largest MTU to a host: echoes that may not be fragmented. The smallest
// size goes first: whether the host answers at all, and the line's round
// trip, which sets how long every later echo waits. Then the two MTUs most
// lines have, Ethernet's 1500 and PPPoE's 1492, then halving between what
// passed and what did not. A probe without an answer is sent once more; one that
// still gets none counts as too big. An ICMP error other than "too big" ends
// the search: the host cannot be reached.
class MtuSearch {
public:
    static constexpr int kHeaders = 28;  // IP and ICMP: the MTU is the payload plus these
    static constexpr int kFirstMtu = 1500;
    static constexpr int kSecondMtu = 1492;
    static constexpr int kSmallestMtu = 68;
    // The smallest probe waits the longest, so a silent host ends after two
    // of these. A full-sized echo over a modem takes about seven times as
    // long as the smallest: later echoes wait ten round trips, at least a
    // second.
    static constexpr DWORD kLongestWait = 10000;
    static constexpr DWORD kShortestWait = 1000;
    static constexpr DWORD kRoundTripsPerWait = 10;
    // The smallest, 1500, 1492, then at most 11 between 68 and 1491.
    static constexpr int kMostProbes = 14;

    enum class Answer { Passed, TooBig, NoAnswer, Unreachable };
    enum class Outcome { Found, NoAnswer, Unreachable, NotFound, CannotPing, Stopped };

    struct Probe {
        int payload = 0;
        Answer answer = Answer::NoAnswer;
        DWORD status = Icmp::kTimedOut;
        // Milliseconds; the smallest probe's, which sets the waits.
        std::optional<DWORD> lineRoundTrip;
    };

    struct Result {
        Outcome outcome = Outcome::Stopped;
        int mtu = 0;                     // when found
        DWORD status = Icmp::kTimedOut;  // when unreachable: why
    };

    using ProbeSeen = std::function<void(const Probe& probe)>;

    // stop is read before every echo; a search that sees it set ends Stopped.
    static Result Run(Icmp& icmp, const std::string& host, const std::atomic<bool>& stop, const ProbeSeen& seen);

    static Answer AnswerOf(DWORD status);
    // How long each echo after the smallest waits.
    static DWORD WaitAfter(DWORD lineRoundTrip);
    // "1472 bytes: too big"
    static std::string ProbeText(const Probe& probe);
    // The result line. A result equal to the adapters' own MTU (0: none) may
    // only be where this computer stops, so the line says so.
    static std::string ResultText(const Result& result, const std::string& host, int adapterMtu);
    // The host part of a site such as "http://www.x.example:8080/p" or "www.x.example".
    static std::string HostOf(const std::string& site);
};
