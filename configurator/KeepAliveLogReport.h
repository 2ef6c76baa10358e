#pragma once
#include "configurator/ConfiguratorFiles.h"
#include "win32/Desktop.h"

#include <string>
#include <vector>

// What the "Keep-Alive Log" dialog shows of the agent's log (see
// common/KeepAliveLog.h): both files' lines, newest first, and what the last
// 24 hours came to. A line it does not know is shown as it stands and counts
// for nothing. Reading it changes nothing.
class KeepAliveLogReport {
public:
    static constexpr std::size_t kMostLines = 500;
    static constexpr const char* kNoLog = "The agent has written no log yet.";
    static constexpr const char* kUnreadable = "The agent's log could not be read.";

    // zarwatch.log.old, then zarwatch.log, from the install folder (ending in
    // a backslash), against the local time now.
    static KeepAliveLogReport Read(ConfiguratorFiles& files, const std::string& folder, const LocalTime& now);

    // At most kMostLines.
    const std::vector<std::string>& NewestLines() const { return newestLines_; }
    // "Line up 5 h 12 min of the last 24 h; 3 drops; 2 failed keep-alive
    // requests.": up from a "Line up" to the next "Line down", "Zarwatch
    // ended" or "Zarwatch started", or to now; only what lies in the last 24
    // hours counts, in whole minutes. kNoLog without either file, and
    // kUnreadable when one could not be read.
    const std::string& Summary() const { return summary_; }
    // Every line of both files, oldest first, each ended by CR LF.
    const std::string& ClipboardText() const { return clipboardText_; }

private:
    std::vector<std::string> newestLines_;
    std::string summary_;
    std::string clipboardText_;
};
