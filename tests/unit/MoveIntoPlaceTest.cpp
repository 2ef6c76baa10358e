#include "common/MoveIntoPlace.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <utility>

namespace {

const char kMissing[] = "<missing>";

void WriteFile(const std::string& path, const std::string& text) {
    if (text != kMissing) std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return kMissing;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(MoveIntoPlace, TheTargetIsReplacedOrKeptAndNothingIsLeftBeside) {
    const struct {
        const char* name;
        const char* fresh;
        const char* target;
        const char* staleOld;  // left by a run that ended half-way
        bool moved;
        const char* after;
    } cases[] = {
        {"replaces", "new", "earlier", kMissing, true, "new"},
        {"moves in", "new", kMissing, kMissing, true, "new"},
        {"ignores a stale old copy", "new", "earlier", "stale", true, "new"},
        {"keeps the target without a fresh file", kMissing, "earlier", kMissing, false, "earlier"},
        {"keeps the target over a stale old copy", kMissing, "earlier", "stale", false, "earlier"},
        {"puts back what a stopped move left aside", kMissing, kMissing, "earlier", false, "earlier"},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        const std::string fresh = folder.File("file.new");
        const std::string target = folder.File("file");
        WriteFile(fresh, c.fresh);
        WriteFile(target, c.target);
        WriteFile(target + ".old", c.staleOld);
        EXPECT_EQ(c.moved, MoveIntoPlace(fresh, target)) << c.name;
        EXPECT_EQ(c.after, ReadFile(target)) << c.name;
        EXPECT_EQ(kMissing, ReadFile(fresh)) << c.name;
        EXPECT_EQ(kMissing, ReadFile(target + ".old")) << c.name;
    }
}

// Files in memory, renamed as Windows does; some operations refused.
class MemoryFileMoves : public FileMoves {
public:
    std::map<std::string, std::string> files;
    std::set<std::pair<std::string, std::string>> refusedRenames;
    std::set<std::string> unremovable;

    bool Exists(const std::string& path) const override { return files.count(path) != 0; }
    bool Rename(const std::string& from, const std::string& to) override {
        if (!Exists(from) || Exists(to) || refusedRenames.count({from, to}) != 0) return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    bool Remove(const std::string& path) override { return unremovable.count(path) == 0 && files.erase(path) != 0; }
    std::string Text(const std::string& path) const { return Exists(path) ? files.at(path) : kMissing; }
};

TEST(MoveIntoPlace, NeverLosesTheOnlyGoodCopy) {
    const std::string F = "file.new", T = "file", O = "file.old";
    const struct {
        const char* name;
        const char* fresh;
        const char* target;
        const char* old;
        std::set<std::pair<std::string, std::string>> refused;
        bool oldUnremovable;
        bool moved;
        const char* afterFresh;
        const char* afterTarget;
        const char* afterOld;
    } cases[] = {
        {"replaces", "new", "earlier", kMissing, {}, false, true, kMissing, "new", kMissing},
        {"moves in", "new", kMissing, kMissing, {}, false, true, kMissing, "new", kMissing},
        {"drops a stale old copy", "new", "earlier", "stale", {}, false, true, kMissing, "new", kMissing},
        {"replaces what a stopped move left aside", "new", kMissing, "earlier", {}, false, true, kMissing, "new",
         kMissing},
        {"puts back what a stopped move left aside", kMissing, kMissing, "earlier", {}, false, false, kMissing,
         "earlier", kMissing},
        {"keeps aside what cannot be put back", "new", kMissing, "earlier", {{O, T}}, false, false, "new", kMissing,
         "earlier"},
        {"keeps the target that cannot step aside", "new", "earlier", kMissing, {{T, O}}, false, false, "new",
         "earlier", kMissing},
        {"keeps the target over a stale copy that stays", "new", "earlier", "stale", {}, true, false, "new",
         "earlier", "stale"},
        {"brings the target back", "new", "earlier", kMissing, {{F, T}}, false, false, "new", "earlier", kMissing},
        {"keeps aside the target that cannot come back", "new", "earlier", kMissing, {{F, T}, {O, T}}, false, false,
         "new", kMissing, "earlier"},
    };
    for (const auto& c : cases) {
        MemoryFileMoves files;
        for (const auto& [path, text] : {std::pair(F, c.fresh), std::pair(T, c.target), std::pair(O, c.old)}) {
            if (text != std::string(kMissing)) files.files[path] = text;
        }
        files.refusedRenames = c.refused;
        if (c.oldUnremovable) files.unremovable.insert(O);
        EXPECT_EQ(c.moved, MoveIntoPlace(files, F, T)) << c.name;
        EXPECT_EQ(c.afterFresh, files.Text(F)) << c.name;
        EXPECT_EQ(c.afterTarget, files.Text(T)) << c.name;
        EXPECT_EQ(c.afterOld, files.Text(O)) << c.name;
    }
}

}  // namespace
