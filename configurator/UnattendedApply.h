#pragma once

// How an Apply with no window ("/apply") ended.
enum class UnattendedOutcome { Applied, NoValidConfiguration, NoRights, NoRecord, NoInstallFolder };

struct UnattendedApply {
    UnattendedOutcome outcome = UnattendedOutcome::Applied;
    int refused = 0;  // values the registry refused, when Applied

    // The process's exit code: 0 when every value was written, the number
    // refused (at most 999), or 1001 to 1004 when nothing was written.
    int ExitCode() const;
};
