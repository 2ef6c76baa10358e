#include "configurator/KeepAliveLogReport.h"

#include "common/Calendar.h"
#include "common/KeepAliveLog.h"

#include <algorithm>
#include <optional>

namespace {

constexpr long long kDaySeconds = 24 * 60 * 60;

// Lines without their ends; a last line without one counts.
void AddLines(const std::string& text, std::vector<std::string>* lines) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines->push_back(line);
        start = end + 1;
    }
}

std::string Counted(int count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string SummaryOf(const std::vector<std::string>& lines, const LocalTime& now) {
    const long long end = SecondsOf(now);
    const long long start = end - kDaySeconds;
    long long upSeconds = 0;
    int drops = 0;
    int failures = 0;
    std::optional<long long> upSince;
    // A clock set back (the end of summer time) may repeat an hour: no moment counts twice.
    long long countedUntil = start;
    const auto upUntil = [&](long long until) {
        if (!upSince) return;
        const long long from = std::max(*upSince, countedUntil);
        const long long to = std::min(until, end);
        if (to > from) {
            upSeconds += to - from;
            countedUntil = to;
        }
        upSince.reset();
    };
    const std::string failed = KeepAliveLog::kRequestFailed;
    for (const std::string& line : lines) {
        const std::optional<KeepAliveLog::Entry> entry = KeepAliveLog::Read(line);
        if (!entry) continue;
        const long long at = SecondsOf(entry->time);
        const bool recent = at > start && at <= end;
        const std::string& text = entry->text;
        if (text == KeepAliveLog::kLineUp) {
            if (!upSince) upSince = at;
        } else if (text == KeepAliveLog::kLineDown || text == KeepAliveLog::kEnded || text == KeepAliveLog::kStarted) {
            upUntil(at);
            if (text == KeepAliveLog::kLineDown && recent) ++drops;
        } else if (text.size() > failed.size() && text.compare(0, failed.size(), failed) == 0 && recent) {
            ++failures;
        }
    }
    upUntil(end);
    const long long minutes = upSeconds / 60;
    return "Line up " + std::to_string(minutes / 60) + " h " + std::to_string(minutes % 60) +
           " min of the last 24 h; " + Counted(drops, "drop") + "; " + Counted(failures, "failed keep-alive request") +
           ".";
}

}  // namespace

KeepAliveLogReport KeepAliveLogReport::Read(ConfiguratorFiles& files, const std::string& folder,
                                            const LocalTime& now) {
    KeepAliveLogReport report;
    std::vector<std::string> lines;
    bool found = false;
    bool unreadable = false;
    for (const char* name : {KeepAliveLog::kOlderFileName, KeepAliveLog::kFileName}) {
        std::string text;
        const ConfiguratorFiles::ReadResult result = files.ReadWhole(folder + name, &text);
        found = found || result != ConfiguratorFiles::ReadResult::Missing;
        unreadable = unreadable || result == ConfiguratorFiles::ReadResult::Unreadable;
        if (result == ConfiguratorFiles::ReadResult::Read) AddLines(text, &lines);
    }
    for (const std::string& line : lines) report.clipboardText_ += line + "\r\n";
    const std::size_t shown = std::min(lines.size(), kMostLines);
    report.newestLines_.assign(lines.rbegin(), lines.rbegin() + static_cast<std::ptrdiff_t>(shown));
    report.summary_ = !found ? kNoLog : unreadable ? kUnreadable : SummaryOf(lines, now);
    return report;
}
