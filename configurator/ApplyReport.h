#pragma once
#include "tuning/TuningWrite.h"
#include "win32/Desktop.h"
#include "win32/LogFiles.h"

#include <string>

// The line "/apply /log:FILE" leaves in FILE for the administrator, which
// many computers may write to at once at logon: "2003-05-14 09:12:03
// ROOM12-PC  Windows 98  0 applied  11 written, 0 refused".
class ApplyReport {
public:
    // A clean Apply whose line could not be written.
    static constexpr int kExitNotReported = 1005;
    // A switch after "/apply" that the program does not know; nothing is done.
    static constexpr int kExitUnknownSwitch = 1006;
    // How long a file that other writers hold is waited for.
    static constexpr DWORD kLongestWaitMs = 10000;

    ApplyReport(Desktop& desktop, LogFiles& files);

    // Appends the line for an Apply's exit code and counts to path; the
    // program's exit code: the Apply's own, but kExitNotReported for a clean
    // Apply whose line could not be written. The tuning stands either way.
    int Write(const std::string& path, int exitCode, const TuningCounts& counts);

    // The line, its CR LF included.
    static std::string Line(const LocalTime& time, const std::string& computer, const std::string& windows,
                            int exitCode, const TuningCounts& counts);

private:
    Desktop* desktop_;
    LogFiles* files_;
};
