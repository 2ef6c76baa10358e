#pragma once
// A temporary folder of a native test's own, removed with what it holds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

class ScratchFolder {
public:
    ScratchFolder() {
        char name[] = "/tmp/zv-test-XXXXXX";
        const char* made = mkdtemp(name);
        EXPECT_NE(nullptr, made);
        if (made != nullptr) path_ = made;
    }
    ~ScratchFolder() {
        if (!path_.empty()) std::system(("rm -rf '" + path_ + "'").c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
