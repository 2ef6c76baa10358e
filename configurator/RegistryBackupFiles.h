#pragma once
#include "tuning/RegistryBackup.h"

#include <string>
#include <vector>

namespace zartune {

// The registry backup's file work on the real file system.
class RegistryBackupFiles {
public:
    // Creates the plan's folder (an existing one is fine) and copies each
    // file to its temporary name first; only a complete copy replaces the
    // earlier backup, whose read-only, hidden and system attributes are
    // cleared for that. A failed copy leaves the earlier backup as it was,
    // attributes included, and under its own name where a stopped run had
    // left it aside. Returns the files that were not copied.
    static std::vector<BackupFailure> BackUp(const RegistryBackupPlan& plan);
};

}  // namespace zartune
