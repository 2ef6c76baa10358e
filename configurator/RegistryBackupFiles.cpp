#include "configurator/RegistryBackupFiles.h"

#include <windows.h>

namespace zartune {

namespace {

constexpr DWORD kProtection = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Deletes a file that may carry the attributes a copy of system.dat has.
void Remove(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), attributes & ~kProtection);
    DeleteFileA(path.c_str());
}

// MoveFileExA would replace in one step, but Windows 9x, the only family
// that takes this path, does not have it.
bool BackUp(const BackupFile& file) {
    Remove(file.temporary);
    if (!CopyFileA(file.source.c_str(), file.temporary.c_str(), FALSE)) {
        Remove(file.temporary);
        return false;
    }
    Remove(file.destination);
    return MoveFileA(file.temporary.c_str(), file.destination.c_str()) != FALSE;
}

}  // namespace

std::vector<std::string> RegistryBackupFiles::Copy(const RegistryBackupPlan& plan) {
    CreateDirectoryA(plan.folder.c_str(), nullptr);
    std::vector<std::string> failed;
    for (const BackupFile& file : plan.files) {
        if (!BackUp(file)) failed.push_back(file.source);
    }
    return failed;
}

}  // namespace zartune
