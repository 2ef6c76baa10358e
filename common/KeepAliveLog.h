#pragma once
#include "win32/Desktop.h"

#include <optional>
#include <string>

// The agent's log as both programs know it: "zarwatch.log" in the install
// folder, turned over to "zarwatch.log.old" past 64 KB, one line per event:
// the local time, two blanks, the event's text.
class KeepAliveLog {
public:
    static constexpr const char* kFileName = "zarwatch.log";
    static constexpr const char* kOlderFileName = "zarwatch.log.old";
    static constexpr DWORD kMostBytes = 64 * 1024;

    static constexpr const char* kStarted = "Zarwatch started";
    static constexpr const char* kEnded = "Zarwatch ended";
    static constexpr const char* kLineUp = "Line up";
    static constexpr const char* kLineDown = "Line down";
    // These two are followed by the address requested.
    static constexpr const char* kRequestFailed = "Keep-alive request failed: ";
    static constexpr const char* kRequestWorked = "Keep-alive request worked again: ";
    static constexpr const char* kSettingsReloaded = "Settings reloaded";
    static constexpr const char* kDisabled = "Keep-alive disabled";
    static constexpr const char* kEnabled = "Keep-alive enabled";

    struct Entry {
        LocalTime time;
        std::string text;
    };

    // The line for an event, its CR LF included.
    static std::string Line(const LocalTime& time, const std::string& text);
    // The time and text of a line as Line writes it, without its line end;
    // nothing for any other line.
    static std::optional<Entry> Read(const std::string& line);
};
