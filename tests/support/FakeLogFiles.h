#pragma once
#include "win32/LogFiles.h"

#include <map>
#include <set>
#include <string>

// Log files in memory, by path, and a clock that only the pauses move on.
class FakeLogFiles : public LogFiles {
public:
    static constexpr DWORD kPauseMs = 50;

    Appended Append(const std::string& path, const std::string& text) override {
        if (busyAppends > 0) {
            --busyAppends;
            return Appended::Busy;
        }
        if (unwritable.count(path) != 0) return Appended::Failed;
        files[path] += text;
        return Appended::Written;
    }
    DWORD Size(const std::string& path) override {
        const auto found = files.find(path);
        return found == files.end() ? 0 : static_cast<DWORD>(found->second.size());
    }
    bool TurnOver(const std::string& path, const std::string& older) override {
        if (unwritable.count(older) != 0 || files.count(path) == 0) return false;
        files[older] = files[path];
        files.erase(path);
        return true;
    }
    DWORD Milliseconds() override { return now; }
    void PauseBriefly() override { now += kPauseMs; }

    std::map<std::string, std::string> files;
    std::set<std::string> unwritable;  // script: never written, nor turned over to
    int busyAppends = 0;               // script: so many appends find another writer there
    DWORD now = 0;                     // script: the clock's start
};
