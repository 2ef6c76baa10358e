#include "common/MoveIntoPlace.h"

#include <cerrno>
#include <cstdio>

namespace {

class RuntimeFileMoves : public FileMoves {
public:
    bool Exists(const std::string& path) const override { return FilePresent(path); }
    bool Rename(const std::string& from, const std::string& to) override {
        return std::rename(from.c_str(), to.c_str()) == 0;
    }
    bool Remove(const std::string& path) override { return std::remove(path.c_str()) == 0; }
};

}  // namespace

bool FilePresent(const std::string& path) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return errno != ENOENT;
    std::fclose(file);
    return true;
}

std::string SteppedAside(const std::string& target) { return target + ".old"; }

bool MoveIntoPlace(FileMoves& files, const std::string& fresh, const std::string& target) {
    const std::string old = SteppedAside(target);
    if (!files.Exists(target) && files.Exists(old) && !files.Rename(old, target)) return false;
    // With target there, anything beside it is stale.
    files.Remove(old);
    const bool steppedAside = files.Rename(target, old);
    if (!files.Rename(fresh, target)) {
        if (steppedAside) files.Rename(old, target);
        return false;
    }
    files.Remove(old);
    return true;
}

bool MoveIntoPlace(const std::string& fresh, const std::string& target) {
    RuntimeFileMoves files;
    return MoveIntoPlace(files, fresh, target);
}
