#include "tuning/RestartWindows.h"

#include "common/ProductInfo.h"
#include "tuning/OsName.h"

#include <string>

void RestartWindows(Desktop& desktop) {
    if (IsNtFamily(desktop) && !desktop.EnableShutdownPrivilege()) {
        desktop.ShowMessageBox(0,
                               std::string(ProductInfo::kProductName) +
                                   " was unable to restart your \ncomputer automatically.\n"
                                   "Please restart your computer manually.",
                               "ERROR...", MB_ICONWARNING);
        return;
    }
    desktop.RequestExit(EWX_REBOOT);
}
