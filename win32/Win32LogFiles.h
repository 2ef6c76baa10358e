#pragma once
#include "win32/LogFiles.h"

#include <random>

// LogFiles on the Win32 file API.
class Win32LogFiles : public LogFiles {
public:
    Win32LogFiles();

    Appended Append(const std::string& path, const std::string& text) override;
    DWORD Size(const std::string& path) override;
    bool TurnOver(const std::string& path, const std::string& older) override;
    DWORD Milliseconds() override;
    void PauseBriefly() override;

private:
    // Seeded from the process, so that writers that met at one file part again.
    std::minstd_rand pauses_;
};
