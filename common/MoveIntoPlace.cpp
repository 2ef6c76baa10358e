#include "common/MoveIntoPlace.h"

#include <cerrno>
#include <cstdio>

bool FilePresent(const std::string& path) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return errno != ENOENT;
    std::fclose(file);
    return true;
}

std::string SteppedAside(const std::string& target) { return target + ".old"; }

bool PutBackSteppedAside(const std::string& target) {
    const std::string old = SteppedAside(target);
    return FilePresent(target) || !FilePresent(old) || std::rename(old.c_str(), target.c_str()) == 0;
}

bool MoveIntoPlace(const std::string& fresh, const std::string& target) {
    if (!PutBackSteppedAside(target)) return false;
    const std::string old = SteppedAside(target);
    // With target there, anything beside it is stale.
    std::remove(old.c_str());
    const bool steppedAside = std::rename(target.c_str(), old.c_str()) == 0;
    if (std::rename(fresh.c_str(), target.c_str()) != 0) {
        if (steppedAside) std::rename(old.c_str(), target.c_str());
        return false;
    }
    if (!steppedAside || std::remove(old.c_str()) == 0) return true;
    std::rename(target.c_str(), fresh.c_str());
    std::rename(old.c_str(), target.c_str());
    return false;
}
