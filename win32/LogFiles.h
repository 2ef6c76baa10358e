#pragma once
#include "win32/WinTypes.h"

#include <string>

// The files the programs keep records in, a whole line at a time: the
// agent's log and the report of the unattended Apply. Production uses the
// file API (Win32LogFiles); native tests fake it.
class LogFiles {
public:
    enum class Appended { Written, Busy, Failed };

    virtual ~LogFiles() = default;

    // Adds text at the end of path, which is made when missing, in one write
    // through a handle that lets others read but never write, closed again
    // before this returns. A write cut short is taken back. Busy: another
    // writer holds the file.
    virtual Appended Append(const std::string& path, const std::string& text) = 0;
    // The file's size in bytes; 0 when it is missing or cannot be opened.
    virtual DWORD Size(const std::string& path) = 0;
    // path becomes older, replacing it; false when path stayed where it was.
    virtual bool TurnOver(const std::string& path, const std::string& older) = 0;
    // For waiting on a busy file: a count of milliseconds, and a pause of a
    // few tens of them whose length differs from one process to the next.
    virtual DWORD Milliseconds() = 0;
    virtual void PauseBriefly() = 0;
};
