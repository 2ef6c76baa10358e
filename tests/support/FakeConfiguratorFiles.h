#pragma once
#include "common/MoveIntoPlace.h"
#include "configurator/ConfiguratorFiles.h"
#include "tests/support/MemorySection.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// The configurator's files in memory: one section per path (the tests use
// one section a file), the protected ones, the backup plans asked for, and
// whole files by path.
class FakeConfiguratorFiles : public ConfiguratorFiles {
public:
    std::unique_ptr<ProfileSection> OpenProfile(const std::string& path, const std::string&) override {
        return std::make_unique<Forward>(sections[path]);
    }
    void Unprotect(const std::string& path) override { protectedPaths.erase(path); }
    void Protect(const std::string& path) override {
        if (sections.count(path) != 0) protectedPaths.insert(path);
    }
    std::vector<BackupFailure> CopyBackupFiles(const RegistryBackupPlan& plan) override {
        copiedPlans.push_back(plan);
        return failedCopies;
    }
    ReadResult ReadWhole(const std::string& path, std::string* text) override {
        const auto found = wholeFiles.find(path);
        if (found == wholeFiles.end()) return ReadResult::Missing;
        *text = found->second;
        return ReadResult::Read;
    }
    bool WriteWhole(const std::string& path, const std::string& text) override {
        const bool inMissingFolder = std::any_of(missingFolders.begin(), missingFolders.end(),
                                                 [&](const std::string& folder) { return path.rfind(folder, 0) == 0; });
        if (inMissingFolder || readOnly.count(path) != 0) return false;
        wholeFiles[path] = text;
        return true;
    }
    // A read-only file in the way keeps its place; otherwise nothing is left aside.
    bool MoveIntoPlace(const std::string& fresh, const std::string& target) override {
        if (readOnly.count(target) != 0 || readOnly.count(SteppedAside(target)) != 0) return false;
        wholeFiles[target] = wholeFiles[fresh];
        wholeFiles.erase(fresh);
        wholeFiles.erase(SteppedAside(target));
        return true;
    }
    void Remove(const std::string& path) override {
        if (readOnly.count(path) == 0) wholeFiles.erase(path);
    }
    bool Present(const std::string& path) override { return wholeFiles.count(path) != 0; }

    std::map<std::string, MemorySection> sections;
    std::set<std::string> protectedPaths;
    std::vector<BackupFailure> failedCopies;  // script
    std::vector<RegistryBackupPlan> copiedPlans;
    std::map<std::string, std::string> wholeFiles;
    std::set<std::string> readOnly;        // script: never written over nor removed
    std::set<std::string> missingFolders;  // script: each ends in a separator; nothing is written in them

private:
    class Forward : public ProfileSection {
    public:
        explicit Forward(MemorySection& target) : target_(&target) {}
        std::string ReadText(const char* key, const std::string& defaultText) override {
            return target_->ReadText(key, defaultText);
        }
        int ReadInt(const char* key, int defaultValue) override { return target_->ReadInt(key, defaultValue); }
        void Write(const char* key, const std::string& value) override { target_->Write(key, value); }

    private:
        MemorySection* target_;
    };
};
