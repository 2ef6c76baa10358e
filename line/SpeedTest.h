#pragma once
#include "win32/Icmp.h"
#include "win32/Internet.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

// A line's speed: the round trip to the host of a file's address, then the
// file downloaded through WinINet as the agent's pinger opens pages (the
// system's proxy settings), but past the cache both ways. The rate leaves
// out the first 64 KB, which connecting and TCP's slow start take.
class SpeedTest {
public:
    static constexpr std::size_t kMostAddressChars = 259;
    static constexpr int kEchoes = 5;
    // Longer than any line's round trip; a host whose first two echoes both
    // go unanswered gets no more.
    static constexpr DWORD kEchoWait = 2000;
    static constexpr DWORD kReadSize = 16 * 1024;
    // From the answer's first byte.
    static constexpr DWORD kLongestDownload = 20000;
    static constexpr std::uint64_t kUncounted = 64 * 1024;
    static constexpr std::uint64_t kSmallestFile = 256 * 1024;
    // The window limits a line whose rate reaches this share of its ceiling.
    static constexpr std::uint64_t kLimitedPercent = 80;

    enum class Outcome { Measured, NotHttp, CannotOpen, HttpError, ReadFailed, TooSmall, Stopped };

    struct Result {
        Outcome outcome = Outcome::Stopped;
        // Milliseconds, at least 1: the echoes' median, or, with none
        // answered, estimated from the request's first byte.
        DWORD roundTrip = 0;
        bool estimated = false;
        // When measured, those counted and the time they took (at least 1
        // ms); when too small, all the file's bytes.
        std::uint64_t bytes = 0;
        DWORD milliseconds = 0;
        // CannotOpen and ReadFailed: WinINet's error and its words, when
        // Windows has them; HttpError: the status code and the server's words.
        DWORD error = 0;
        std::string errorText{};

        std::uint64_t BitsPerSecond() const;
    };

    // Milliseconds, as GetTickCount counts them.
    using Clock = std::function<DWORD()>;
    // How far the download is, 0 to 100: by the file's announced size or
    // the time allowed, whichever is further.
    using ProgressSeen = std::function<void(int percent)>;

    // stop is read before every echo and every read; a test that sees it
    // set ends Stopped at once.
    static Result Run(Icmp& icmp, Internet& internet, const Clock& clock, const std::string& address,
                      const std::atomic<bool>& stop, const ProgressSeen& seen);

    static bool IsHttp(const std::string& address);
    // kbit/s that a window of window bytes carries at most in roundTrip ms.
    static std::uint64_t Ceiling(std::uint32_t window, DWORD roundTrip);
    static bool WindowLimits(std::uint64_t bitsPerSecond, std::uint32_t window, DWORD roundTrip);
    // Whole kbit/s, the nearest.
    static std::uint64_t Kbits(std::uint64_t bitsPerSecond);

    // The result label's lines, separated by "\n": what was received and the
    // verdict for the window in effect, or why there is no result.
    static std::string ResultText(const Result& result, std::uint32_t window);
};
