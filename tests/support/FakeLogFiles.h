#pragma once
#include "win32/LogFiles.h"

#include <map>
#include <set>
#include <string>

// Log files in memory, by path, and a clock that only the 50 ms pauses move on.
class FakeLogFiles : public LogFiles {
public:
    Appended Append(const std::string& path, const std::string& text) override {
        if (busyAppends > 0 && busyAppends--) return Appended::Busy;
        if (unwritable.count(path) != 0) return Appended::Failed;
        files[path] += text;
        return Appended::Written;
    }
    DWORD Size(const std::string& path) override { return static_cast<DWORD>(files[path].size()); }
    bool TurnOver(const std::string& path, const std::string& older) override {
        if (unwritable.count(older) != 0) return false;
        files[older] = files[path];
        return files.erase(path) == 1;
    }
    DWORD Milliseconds() override { return now; }
    void PauseBriefly() override { now += 50; }

    std::map<std::string, std::string> files;
    std::set<std::string> unwritable;  // never written, nor turned over to
    int busyAppends = 0;               // so many appends find another writer there
    DWORD now = 0;
};
