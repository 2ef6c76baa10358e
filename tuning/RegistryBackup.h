#pragma once
#include "win32/WinTypes.h"

#include <string>
#include <vector>

// Registry Backup. The 9x family keeps its registry in system.dat and
// user.dat in the Windows directory; they are copied into "RegBak" in the
// install folder, one generation only. The NT family is told how to use the
// system's own backup tool instead.

struct BackupFile {
    std::string source;       // in the Windows directory
    std::string temporary;    // in RegBak: the copy, until it is complete
    std::string destination;  // in RegBak: the backup
};

struct RegistryBackupPlan {
    std::string folder;  // install folder + "RegBak"
    std::vector<BackupFile> files;
};

// A file that was not copied, and whether RegBak still holds its earlier copy.
struct BackupFailure {
    std::string source;
    bool olderKept = false;
};

// What the run ends with: the text and icon of its message box.
struct RegistryBackupMessage {
    std::string text;
    UINT icon;
};

// What the NT family is told to do instead of a copy; empty for every other
// name, "Unknown" and "Win32s" included, which take the copies.
std::string RegistryBackupInstructions(const std::string& osName);
// installFolder ends with a backslash; windowsDirectory gets one when it lacks it.
RegistryBackupPlan PlanRegistryBackup(const std::string& windowsDirectory, const std::string& installFolder);
// The success text only when nothing failed; else an exclamation naming the
// sources that were not copied, and for each whether its older copy stays.
RegistryBackupMessage RegistryBackupResult(const RegistryBackupPlan& plan, const std::vector<BackupFailure>& failed);
