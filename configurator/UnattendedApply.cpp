#include "configurator/UnattendedApply.h"

int UnattendedApply::ExitCode() const {
    switch (outcome) {
    case UnattendedOutcome::Applied:
        return refused < 0 ? 0 : refused > 999 ? 999 : refused;
    case UnattendedOutcome::NoValidConfiguration:
        return 1001;
    case UnattendedOutcome::NoRights:
        return 1002;
    case UnattendedOutcome::NoRecord:
        return 1003;
    case UnattendedOutcome::NoInstallFolder:
        return 1004;
    }
    return 1001;
}
