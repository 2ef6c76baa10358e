#include "common/MoveIntoPlace.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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
        {"replaces the copy a stopped move left aside", "new", kMissing, "earlier", true, "new"},
        {"puts back the copy a stopped move left aside", kMissing, kMissing, "earlier", false, "earlier"},
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

}  // namespace
