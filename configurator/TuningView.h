#pragma once
#include "configurator/CurrentSettings.h"
#include "configurator/FormState.h"
#include "tuning/RegistryBackup.h"
#include "win32/Desktop.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the configurator's decisions ask of its main window: the form's state
// and texts, the dialogs, the configuration file, the backup's copies, the
// progress bar and the wait cursor.
class TuningView {
public:
    virtual ~TuningView() = default;

    // The owner of the messages that belong to the main window.
    virtual Desktop::WindowRef Owner() const = 0;
    virtual FormState ReadForm() const = 0;
    // What the mode and the connection-type lists show.
    virtual std::string ModeText() const = 0;
    virtual std::string ConnectionTypeText() const = 0;
    // The explanation dialog, modal; returns when the user has closed it.
    virtual void ShowExplanation(const std::string& caption, const std::string& text) = 0;
    // Writes the form's choices to the configuration file.
    virtual void SaveFormSettings() = 0;
    // A progress bar from 0 to 100 over the first status pane, and the wait cursor.
    virtual void BeginProgress() = 0;
    // Counts up to count with nothing else running, then moves the bar one step on.
    virtual void StepProgress(std::uint64_t count) = 0;
    // The bar gone and the normal cursor back.
    virtual void EndProgress() = 0;
    virtual void ShowAbout() = 0;
    // The keep-alive dialog, modal over the main window.
    virtual void ShowKeepAlive() = 0;
    // The wait cursor while a command without a progress bar runs, and the normal one back.
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
    // Registry Backup's copies on the file system; the sources that were not copied.
    virtual std::vector<std::string> CopyBackupFiles(const RegistryBackupPlan& plan) = 0;
    // The Current Settings dialog, modal; table computes what it shows, again on each refresh.
    virtual void ShowCurrentSettings(const std::function<CurrentSettings()>& table) = 0;
};
