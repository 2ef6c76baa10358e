#pragma once
#include "configurator/ConfiguratorFiles.h"
#include "tests/support/MemorySection.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// The configurator's files in memory: one section per path (the tests use
// one section a file), the protected ones, and the backup plans asked for.
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

    std::map<std::string, MemorySection> sections;
    std::set<std::string> protectedPaths;
    std::vector<BackupFailure> failedCopies;  // script
    std::vector<RegistryBackupPlan> copiedPlans;

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
