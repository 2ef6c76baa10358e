#include "common/MoveIntoPlace.h"

#include <cstdio>

bool MoveIntoPlace(const std::string& fresh, const std::string& target) {
    const std::string old = target + ".old";
    std::remove(old.c_str());
    const bool hadOld = std::rename(target.c_str(), old.c_str()) == 0;
    if (std::rename(fresh.c_str(), target.c_str()) != 0) {
        if (hadOld) std::rename(old.c_str(), target.c_str());
        return false;
    }
    std::remove(old.c_str());
    return true;
}
