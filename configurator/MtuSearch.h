#pragma once
#include "win32/Icmp.h"

#include <atomic>
#include <functional>
#include <string>

// The largest MTU to a host: echoes that may not be fragmented, 1500 first,
// then halving between 68 and 1499. A probe without an answer is sent once
// more; one that still gets none counts as too big, unless nothing has passed
// yet: then the smallest size decides whether the host answers at all.
class MtuSearch {
public:
    static constexpr int kHeaders = 28;  // IP and ICMP: the MTU is the payload plus these
    static constexpr int kFirstMtu = 1500;
    static constexpr int kSmallestMtu = 68;
    static constexpr DWORD kTimeout = 1000;
    // The first probe, then at most 12 in the range.
    static constexpr int kMostProbes = 13;

    enum class Answer { Passed, TooBig, NoAnswer };
    enum class Outcome { Found, NoAnswer, NotFound, CannotPing, Stopped };

    struct Result {
        Outcome outcome = Outcome::Stopped;
        int mtu = 0;  // when found
    };

    // Told each probe once its answer is known: the payload in bytes.
    using ProbeSeen = std::function<void(int payload, Answer answer)>;

    // stop is read before every echo; a search that sees it set ends Stopped.
    static Result Run(Icmp& icmp, const std::string& host, const std::atomic<bool>& stop, const ProbeSeen& seen);

    static Answer AnswerOf(DWORD status);
    // "1472 bytes: too big"
    static std::string ProbeText(int payload, Answer answer);
    // The result line. A result equal to the adapters' own MTU (0: none) may
    // only be where this computer stops, so the line says so.
    static std::string ResultText(const Result& result, const std::string& host, int adapterMtu);
    // The host part of a site such as "http://www.x.example:8080/p" or "www.x.example".
    static std::string HostOf(const std::string& site);
};
