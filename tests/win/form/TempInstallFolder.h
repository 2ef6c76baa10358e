#pragma once
#include "common/SettingsStore.h"

#include <windows.h>

#include <string>

// While it lives, the product's install folder is the system's temporary
// folder, so what a test's program writes there is thrown away; the folder
// the prefix had before comes back afterwards.
class TempInstallFolder {
public:
    explicit TempInstallFolder(SettingsStore& store) : store_(&store) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = temp;
        previous_ = store.ReadString("Install", "Folder", "", false);
        store.WriteString("Install", "Folder", path_, false);
    }
    TempInstallFolder(const TempInstallFolder&) = delete;
    TempInstallFolder& operator=(const TempInstallFolder&) = delete;
    ~TempInstallFolder() { store_->WriteString("Install", "Folder", previous_, false); }

    // Ends with a backslash.
    const std::string& Path() const { return path_; }

private:
    SettingsStore* store_;
    std::string path_;
    std::string previous_;
};
