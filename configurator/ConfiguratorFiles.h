#pragma once
#include "configurator/ProfileSection.h"
#include "tuning/RegistryBackup.h"

#include <memory>
#include <string>
#include <vector>

// The file work the configurator's decisions ask for: a section of the
// configuration file, the registry backup's copies and whole files (the
// previous-settings record). Production uses the real private-profile and
// file API (Win32ConfiguratorFiles); tests fake it.
class ConfiguratorFiles {
public:
    virtual ~ConfiguratorFiles() = default;

    virtual std::unique_ptr<ProfileSection> OpenProfile(const std::string& path, const std::string& section) = 0;
    // The read-only and hidden attributes that keep the file from being
    // edited by hand: lifted before a save, set again after it.
    virtual void Unprotect(const std::string& path) = 0;
    virtual void Protect(const std::string& path) = 0;
    // Registry Backup's copies; the files that were not copied.
    virtual std::vector<BackupFailure> CopyBackupFiles(const RegistryBackupPlan& plan) = 0;

    // Whole files, byte for byte. Unreadable: there, but it cannot be read.
    enum class ReadResult { Read, Missing, Unreadable };
    virtual ReadResult ReadWhole(const std::string& path, std::string* text) = 0;
    // False when the file could not be written whole; a part written is removed.
    virtual bool WriteWhole(const std::string& path, const std::string& text) = 0;
    // As common/MoveIntoPlace.h's.
    virtual bool MoveIntoPlace(const std::string& fresh, const std::string& target) = 0;
    virtual void Remove(const std::string& path) = 0;
    // There, though perhaps not readable.
    virtual bool Present(const std::string& path) = 0;
};
