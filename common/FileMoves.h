#pragma once
#include <string>

// The file operations that put one file in another's place, behind a seam so
// that every state a stopped or refused move can leave is tested. Rename
// follows Windows: it fails where `to` exists.
class FileMoves {
public:
    virtual ~FileMoves() = default;
    // True also for a file that is there but cannot be read.
    virtual bool Exists(const std::string& path) const = 0;
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;
};
