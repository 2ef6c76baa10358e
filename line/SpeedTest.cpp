#include "line/SpeedTest.h"

#include "common/CActivityPinger.h"
#include "common/NumberText.h"
#include "line/MtuSearch.h"
#include "line/WindowMeasurement.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace {

using Outcome = SpeedTest::Outcome;
using Result = SpeedTest::Result;

// WinINet's words for an error: its message table's, else, for the errors a
// download meets, the words Windows' table has for them.
std::string WordsFor(Internet& internet, DWORD error) {
    const std::string words = internet.ErrorText(error);
    if (!words.empty()) return words;
    static const struct {
        DWORD error;
        const char* words;
    } kWords[] = {
        {Internet::kTimedOut, "The operation timed out"},
        {12005, "The URL is invalid"},
        {12007, "The server name or address could not be resolved"},
        {12029, "A connection with the server could not be established"},
        {12030, "The connection with the server was terminated abnormally"},
        {12031, "The connection with the server was reset"},
    };
    for (const auto& known : kWords) {
        if (known.error == error) return known.words;
    }
    return "WinINet error " + std::to_string(error);
}

Result Failed(Outcome outcome, Internet& internet) {
    Result result{outcome};
    result.error = internet.LastError();
    result.errorText = WordsFor(internet, result.error);
    return result;
}

// An open WinINet handle, closed when it goes.
class Opened {
public:
    Opened(Internet& internet, Internet::Handle handle) : internet_(&internet), handle_(handle) {}
    ~Opened() { internet_->Close(handle_); }
    Opened(const Opened&) = delete;
    Opened& operator=(const Opened&) = delete;
    Internet::Handle Get() const { return handle_; }

private:
    Internet* internet_;
    Internet::Handle handle_;
};

// The median of the echoes answered; none when the first two are not.
std::optional<DWORD> EchoRoundTrip(Icmp& icmp, const std::string& host, const std::atomic<bool>& stop) {
    WindowMeasurement::Host measured;
    measured.name = host;
    if (!WindowMeasurement::MeasureHost(icmp, measured, SpeedTest::kEchoes, SpeedTest::kEchoWait, stop) ||
        measured.answered == 0) {
        return std::nullopt;
    }
    return measured.median;
}

// The announced size, for the progress alone; none unless plain digits.
std::uint64_t AnnouncedSize(Internet& internet, Internet::Handle request) {
    std::string text;
    if (!internet.QueryContentLength(request, &text)) return 0;
    return DigitsValue(text, 15).value_or(0);
}

Result Download(Internet& internet, const SpeedTest::Clock& clock, const std::string& address,
                const std::atomic<bool>& stop, const SpeedTest::ProgressSeen& seen) {
    const Opened session(internet, internet.OpenSession(CActivityPinger::kUserAgent));
    if (session.Get() == 0) return Failed(Outcome::CannotOpen, internet);
    const DWORD requested = clock();
    const DWORD pastTheCache = Internet::kReload | Internet::kNoCacheWrite;
    const Opened request(internet, internet.OpenUrl(session.Get(), address, pastTheCache));
    const DWORD answered = clock();
    if (request.Get() == 0) return Failed(Outcome::CannotOpen, internet);
    Result result{Outcome::HttpError};
    if (!internet.QueryStatus(request.Get(), &result.error, &result.errorText) || result.error != 200) return result;
    if (stop.load()) return {Outcome::Stopped};

    const std::uint64_t announced = AnnouncedSize(internet, request.Get());
    std::vector<char> buffer(SpeedTest::kReadSize);
    std::uint64_t received = 0;
    std::uint64_t countedFrom = 0;  // the bytes received when counting began
    DWORD countStart = answered;
    bool ended = false;
    int shown = -1;
    DWORD now = answered;
    while (!ended && now - answered < SpeedTest::kLongestDownload) {
        if (stop.load()) return {Outcome::Stopped};
        // A read waits no longer than the time left, so that a stalled line ends the download on time too.
        internet.SetReceiveTimeout(request.Get(), SpeedTest::kLongestDownload - (now - answered));
        DWORD read = 0;
        const bool readOk = internet.Read(request.Get(), buffer.data(), SpeedTest::kReadSize, &read);
        now = clock();
        if (!readOk && internet.LastError() == Internet::kTimedOut) break;
        if (!readOk) return Failed(Outcome::ReadFailed, internet);
        ended = read == 0;
        if (received < SpeedTest::kUncounted && received + read >= SpeedTest::kUncounted) {
            countedFrom = received + read;
            countStart = now;
        }
        received += read;
        std::uint64_t percent = std::min<std::uint64_t>((now - answered) / (SpeedTest::kLongestDownload / 100), 100);
        if (announced > 0) percent = std::max(percent, std::min<std::uint64_t>(received * 100 / announced, 100));
        if (static_cast<int>(percent) != shown) {
            shown = static_cast<int>(percent);
            seen(shown);
        }
    }
    if (ended && received < SpeedTest::kSmallestFile) {
        result = {Outcome::TooSmall};
        result.bytes = received;
        return result;
    }
    // A line too slow to bring the first 64 KB in the time allowed counts from the first byte.
    result = {Outcome::Measured};
    result.roundTrip = std::max<DWORD>(answered - requested, 1);
    result.bytes = received - countedFrom;
    result.milliseconds = std::max<DWORD>(now - countStart, 1);
    return result;
}

std::string Tenths(DWORD milliseconds) {
    const DWORD tenths = (milliseconds + 50) / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

}  // namespace

std::uint64_t SpeedTest::Result::BitsPerSecond() const {
    return milliseconds == 0 ? 0 : bytes * 8 * 1000 / milliseconds;
}

SpeedTest::Result SpeedTest::Run(Icmp& icmp, Internet& internet, const Clock& clock, const std::string& address,
                                 const std::atomic<bool>& stop, const ProgressSeen& seen) {
    if (!IsHttp(address)) return {Outcome::NotHttp};
    const std::optional<DWORD> echoed = EchoRoundTrip(icmp, MtuSearch::HostOf(address), stop);
    if (stop.load()) return {Outcome::Stopped};
    Result result = Download(internet, clock, address, stop, seen);
    if (echoed) result.roundTrip = std::max<DWORD>(*echoed, 1);
    result.estimated = !echoed;
    return result;
}

bool SpeedTest::IsHttp(const std::string& address) {
    const std::string scheme = "http://";
    if (address.size() <= scheme.size() || address.size() > kMostAddressChars) return false;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(address[i])) != scheme[i]) return false;
    }
    return !MtuSearch::HostOf(address).empty();
}

std::uint64_t SpeedTest::Ceiling(std::uint32_t window, DWORD roundTrip) {
    return std::uint64_t{window} * 8 / std::max<DWORD>(roundTrip, 1);
}

bool SpeedTest::WindowLimits(std::uint64_t bitsPerSecond, std::uint32_t window, DWORD roundTrip) {
    // R >= 80 % of W x 8 / L, in bit/s and without rounding: R x L x 100 >= 80 x W x 8000.
    return bitsPerSecond * std::max<DWORD>(roundTrip, 1) * 100 >= kLimitedPercent * std::uint64_t{window} * 8000;
}

std::uint64_t SpeedTest::Kbits(std::uint64_t bitsPerSecond) { return (bitsPerSecond + 500) / 1000; }

std::string SpeedTest::ResultText(const Result& result, std::uint32_t window) {
    switch (result.outcome) {
        case Outcome::Measured: break;
        case Outcome::NotHttp: return "Enter the address of a file on a web server, beginning with http://.";
        case Outcome::CannotOpen: return "The address could not be opened. " + result.errorText + ".";
        case Outcome::HttpError: {
            const std::string words = result.errorText.empty() ? std::string() : " " + result.errorText;
            return "The server answered HTTP " + std::to_string(result.error) + words + ".";
        }
        case Outcome::ReadFailed: return "The download broke off. " + result.errorText + ".";
        case Outcome::TooSmall:
            return "The file is too small for a speed test (" + std::to_string(result.bytes) +
                   " bytes). Use a file of at least 1 MB.";
        case Outcome::Stopped: return "The test was stopped.";
    }
    const std::string roundTrip = std::to_string(result.roundTrip) + " ms";
    const std::string ceiling = std::to_string(Ceiling(window, result.roundTrip)) + " kbit/s at " + roundTrip + ".";
    const std::uint64_t rate = result.BitsPerSecond();
    std::string text = "Received " + std::to_string(result.bytes) + " bytes in " + Tenths(result.milliseconds) +
                       " s: " + std::to_string(Kbits(rate)) + " kbit/s, round trip " + roundTrip +
                       (result.estimated ? " (estimated).\n" : ".\n");
    if (WindowLimits(rate, window, result.roundTrip)) {
        return text + "The receive window limits this line: " + std::to_string(window) + " bytes carry at most " +
               ceiling + " A larger window (Tools, Tune Receive Window) would make it faster.";
    }
    return text + "The receive window does not limit this line: " + std::to_string(window) + " bytes allow up to " +
           ceiling;
}
