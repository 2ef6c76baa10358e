#pragma once
#include "common/ProductInfo.h"
#include "configurator/CurrentSettings.h"
#include "configurator/ProfileSection.h"
#include "configurator/UnattendedApply.h"
#include "configurator/TuningView.h"
#include "tuning/TuningConfig.h"
#include "win32/Desktop.h"
#include "win32/Registry.h"

#include <cstdint>
#include <string>

class TuningEngine;

// The configurator's decisions: Apply, Restore, the record of the settings
// before the first Apply and their restore, the restart, the registry backup,
// and the frame's commands with their enable states. The main frame and the form
// are views over it (TuningView); it owns the run's tuning record.
class TuningController {
public:
    static constexpr int kApplySteps = 100;
    // The step at which the file and the registry are written.
    static constexpr int kWriteStep = 74;

    TuningController(ProductInfo& product, Registry& registry, Desktop& desktop, TuningView& view);

    TuningConfig& Tuning() { return config_; }

    // The form's Apply button only asks; the frame's next idle update takes
    // the request, once, and runs Apply.
    void RequestApply() { applyRequest_ = 1; }
    bool TakeApplyRequest();

    void ApplySettings();
    // Apply with no window, message or restart, from the configuration file
    // (null when it is missing) as the form would load it.
    UnattendedApply ApplyUnattended(ProfileSection* configuration);
    void RestoreWindowsDefaults();
    // Writes back what the record holds; on full success the record goes.
    void RestorePreviousSettings();
    // The NT family is told how to use its own tool; every other system has
    // system.dat and user.dat copied into RegBak in the install folder.
    void BackupRegistry();

    // A command of the frame's menu or toolbar; false when it is not one of these.
    bool OnCommand(unsigned id);
    bool HandlesCommand(unsigned id) const;
    bool CommandEnabled(unsigned id) const;

    // What Current Settings shows for the form's present choices; asks nothing.
    CurrentSettings CurrentSettingsNow() const;

    // How far the counting wait after an Apply step goes.
    static std::uint64_t StepCount(int step);

private:
    struct Command;
    static const Command kCommands[];

    // True when a valid record could be made; the message is shown otherwise.
    bool FillTuning();
    // Fills config for the form state as Apply does: empty, or the message
    // naming the first invalid manual value.
    static std::string FillTuning(const FormState& state, TuningConfig& config);
    // Records what the engine's writes are about to change, unless recorded
    // already; false when that failed and the user chose not to go on.
    bool KeepPreviousSettings(const TuningEngine& engine);
    // Why the record could not be kept; empty when it was, or had been.
    std::string KeepPreviousSettingsQuietly(const TuningEngine& engine) const;
    // The record's file in the install folder; empty when that is not known.
    std::string PreviousSettingsPath() const;
    // The result, then the restart question; on No the reminder.
    void OfferRestart(const std::string& result, UINT icon);
    void OnHelpTopics();
    void OnAbout();
    void OnKeepAlive();
    void OnCurrentSettings();

    ProductInfo* product_;
    Registry* registry_;
    Desktop* desktop_;
    TuningView* view_;
    TuningConfig config_;
    int applyRequest_ = 0;
};
