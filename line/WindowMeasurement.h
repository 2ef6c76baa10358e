#pragma once
#include "line/LineWindow.h"
#include "win32/Icmp.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The round trip that sizes the receive window: that of the farthest of a
// few hosts, since a window that fills the line from the farthest fills it
// from every nearer one too. The hosts are measured all at once, each with
// small echoes one after another; its figure is the median of those
// answered, which one late answer does not move. A host whose first two
// echoes both go unanswered gets no more.
class WindowMeasurement {
public:
    static constexpr std::size_t kMostHosts = 5;
    static constexpr int kEchoes = 10;
    static constexpr WORD kEchoSize = 32;
    static constexpr DWORD kWait = 3000;
    static constexpr int kSilentEchoes = 2;
    static constexpr std::size_t kSpeedDigits = 9;  // kbit/s: up to 999999999

    // What the dialog says when what was typed cannot be measured.
    static constexpr const char* kHostsWanted = "Enter one to five hosts, separated by spaces or commas.";
    static constexpr const char* kSpeedWanted = "Enter the line speed in kbit/s, from 1 to 999999999.";

    enum class Outcome { Measured, NoAnswer, CannotPing, Stopped };

    struct Host {
        std::string name;
        bool found = false;  // the name was resolved
        int answered = 0;
        DWORD median = 0;  // milliseconds, when any echo was answered
    };

    struct Result {
        Outcome outcome = Outcome::Stopped;
        DWORD latency = 0;  // milliseconds, when measured: the largest median
    };

    using HostSeen = std::function<void(const Host& host)>;
    // Runs every job at once, each on a thread of its own, and returns once
    // all have ended.
    using RunTogether = std::function<void(const std::vector<std::function<void()>>& jobs)>;

    // hosts[i] through icmps[i], one each, so that no echo waits for
    // another host's. Once all are measured, seen hears of each in the order
    // typed. stop is read before every name lookup and every echo; a
    // measurement that sees it set ends Stopped, and seen hears nothing.
    static Result Run(const std::vector<Icmp*>& icmps, const std::vector<std::string>& hosts,
                      const RunTogether& together, const std::atomic<bool>& stop, const HostSeen& seen);

    // The words of text between blanks and commas, in order, however many.
    static std::vector<std::string> HostsOf(const std::string& text);
    // Digits only, blanks around them allowed, not 0, at most kSpeedDigits.
    static std::optional<std::uint32_t> SpeedOf(const std::string& text);
    // Up to echoes echoes of kEchoSize bytes to host.name, one after
    // another, each waiting at most wait ms; none more once the first
    // kSilentEchoes go unanswered. False when this computer cannot send pings.
    static bool MeasureHost(Icmp& icmp, Host& host, int echoes, DWORD wait, const std::atomic<bool>& stop);
    // The middle round trip; of an even count, the mean of the two middle
    // ones, a half rounded up. None: 0.
    static DWORD Median(std::vector<DWORD> roundTrips);

    // "HOST: 42 ms (9 of 10 answered)", "HOST: no answer" or, for a name
    // that was not found, "HOST: not found".
    static std::string HostText(const Host& host);
    // The result label, its lines separated by "\n"; window is the rule's
    // answer for the result's latency and speed.
    static std::string ResultText(const Result& result, std::uint32_t speed, const LineWindow& window);
};
