#include "configurator/Win32ConfiguratorFiles.h"

#include "configurator/PrivateProfileFile.h"
#include "configurator/RegistryBackupFiles.h"

#include <windows.h>

namespace zartune {

std::unique_ptr<ProfileSection> Win32ConfiguratorFiles::OpenProfile(const std::string& path,
                                                                     const std::string& section) {
    return std::make_unique<PrivateProfileFile>(path, section);
}

void Win32ConfiguratorFiles::Unprotect(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(),
                       attributes & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

void Win32ConfiguratorFiles::Protect(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
}

std::vector<BackupFailure> Win32ConfiguratorFiles::CopyBackupFiles(const RegistryBackupPlan& plan) {
    return RegistryBackupFiles::BackUp(plan);
}

}  // namespace zartune
