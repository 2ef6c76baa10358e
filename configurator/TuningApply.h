#pragma once
#include "common/MessageBoxes.h"
#include "common/ProductInfo.h"
#include "configurator/ConfiguratorFiles.h"
#include "configurator/PreviousSettingsFile.h"
#include "configurator/TuningChoices.h"
#include "configurator/TuningView.h"
#include "tuning/TuningWrite.h"
#include "win32/Desktop.h"
#include "win32/Registry.h"

#include <cstdint>
#include <string>

// What writes the registry or keeps it: Apply, the unattended Apply of
// "/apply", the record of the settings before the first Apply, both
// restores, the registry backup and the restart offer. It shows through the
// main window's TuningView; the unattended Apply shows nothing.
class TuningApply {
public:
    static constexpr int kApplySteps = 100;
    // The step at which the file and the registry are written.
    static constexpr int kWriteStep = 74;

    // What "/apply" ends with: 0 when every value was written, else the
    // number the registry refused (at most 999), or one of these.
    static constexpr int kExitNoConfiguration = 1001;
    static constexpr int kExitNoRights = 1002;
    static constexpr int kExitNoRecord = 1003;
    static constexpr int kExitNoInstallFolder = 1004;
    // What "/apply" came to: its exit code, and the values written and refused.
    struct UnattendedResult {
        int exitCode = 0;
        TuningCounts counts;
    };

    // view: null only for the unattended Apply, which shows nothing.
    TuningApply(ProductInfo& product, Registry& registry, Desktop& desktop, ConfiguratorFiles& files,
                TuningView* view);

    // Fills the choices, explains an automatic mode, records what it is
    // about to change, writes the file and the registry under the progress
    // bar, tells what took and offers the restart.
    void Apply(const TuningChoices& choices);
    // Applies the configuration file's choices with no window and no message.
    static UnattendedResult ApplyUnattended(ProductInfo& product, Registry& registry, Desktop& desktop, ConfiguratorFiles& files);
    void RestoreWindowsDefaults();
    // Writes back what the record holds; the record goes once every value
    // whose key still exists is back.
    void RestorePreviousSettings();
    // Whether there is a record to restore.
    bool HasPreviousSettings() const;
    // The NT family is told how to use its own tool; every other system has
    // system.dat and user.dat copied into RegBak in the install folder.
    void BackupRegistry();

    // How far the counting wait after an Apply step goes.
    static std::uint64_t StepCount(int step);

private:
    // Whether the settings an Apply is about to change are on record, or why not.
    struct KeptRecord {
        bool kept = false;
        std::string problem;  // when not kept: why, asking whether to apply anyway
    };
    enum class RecordState { Missing, Loaded, Damaged };

    UnattendedResult ApplyFileUnattended();

    void SaveFormSettings(const FormState& form);
    // An automatic mode's explanation, before its Apply.
    void ExplainAutomaticMode(const TuningChoices& choices);
    // The progress bar's steps, with the file and the registry written at kWriteStep.
    TuningCounts WriteWithProgress(const FormState& form, const TuningPlan& plan);
    // What an Apply wrote, and the restart question when anything took.
    void TellApplied(const TuningCounts& counts);
    // For the line speed test: when this Apply was, and the window before it.
    void KeepApplyTime();
    // Records what Apply is about to change, unless recorded already.
    KeptRecord KeepPreviousSettings();
    // The record in the file; Damaged also when it names a value the program
    // never changes (foreign says which).
    RecordState LoadRecord(const PreviousSettingsFile& file, PreviousSettings* record, std::string* foreign) const;
    // The record's file in the install folder; empty when that is not known.
    std::string PreviousSettingsPath() const;
    // The result, then the restart question; on No the reminder.
    void OfferRestart(const std::string& result, UINT icon);
    MessageBoxes FrameBoxes() const { return MessageBoxes(*desktop_, view_->Owner()); }

    ProductInfo* product_;
    Registry* registry_;
    Desktop* desktop_;
    ConfiguratorFiles* files_;
    TuningView* view_;
};
