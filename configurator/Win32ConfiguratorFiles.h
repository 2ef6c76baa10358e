#pragma once
#include "configurator/ConfiguratorFiles.h"

namespace zartune {

// ConfiguratorFiles on the real private-profile and file API.
class Win32ConfiguratorFiles : public ConfiguratorFiles {
public:
    std::unique_ptr<ProfileSection> OpenProfile(const std::string& path, const std::string& section) override;
    void Unprotect(const std::string& path) override;
    void Protect(const std::string& path) override;
    std::vector<BackupFailure> CopyBackupFiles(const RegistryBackupPlan& plan) override;
    ReadResult ReadWhole(const std::string& path, std::string* text) override;
    bool WriteWhole(const std::string& path, const std::string& text) override;
    bool MoveIntoPlace(const std::string& fresh, const std::string& target) override;
    void Remove(const std::string& path) override;
    bool Present(const std::string& path) override;
};

}  // namespace zartune
