#include "configurator/RegistryBackupFiles.h"

#include "common/MoveIntoPlace.h"

#include <windows.h>

namespace zartune {

namespace {

constexpr DWORD kProtection = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// A copy of system.dat carries its attributes, which keep it from being removed.
void Unprotect(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path.c_str(), attributes & ~kProtection);
}

void Remove(const std::string& path) {
    Unprotect(path);
    DeleteFileA(path.c_str());
}

// MoveFileExA would replace in one step, but Windows 9x, the only family
// that takes this path, does not have it.
bool BackUpFile(const BackupFile& file) {
    // Back under its own name, an earlier copy that a stopped run left aside
    // stays the backup whatever becomes of this copy.
    PutBackSteppedAside(file.destination);
    Remove(file.temporary);
    if (CopyFileA(file.source.c_str(), file.temporary.c_str(), FALSE)) {
        // Cleared so that the earlier copy can step aside and be removed;
        // given back when it stays. A stale copy aside that kept them would
        // block every later backup.
        const DWORD earlier = GetFileAttributesA(file.destination.c_str());
        Unprotect(file.destination);
        Unprotect(SteppedAside(file.destination));
        if (MoveIntoPlace(file.temporary, file.destination)) return true;
        if (earlier != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(file.destination.c_str(), earlier);
    }
    Remove(file.temporary);
    return false;
}

}  // namespace

std::vector<BackupFailure> RegistryBackupFiles::BackUp(const RegistryBackupPlan& plan) {
    CreateDirectoryA(plan.folder.c_str(), nullptr);
    std::vector<BackupFailure> failed;
    for (const BackupFile& file : plan.files) {
        if (BackUpFile(file)) continue;
        failed.push_back({file.source, GetFileAttributesA(file.destination.c_str()) != INVALID_FILE_ATTRIBUTES});
    }
    return failed;
}

}  // namespace zartune
