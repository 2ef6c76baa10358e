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

// The configurator's decisions: what the form's choices do, Apply, Restore,
// the record of the settings before the first Apply and their restore, the
// restart, the registry backup, and the frame's commands with their enable
// states. The main frame shows them (TuningView) and the form tells it what
// the user did. Each command reads the choices afresh; only the two list
// codes are kept between commands.
class TuningController {
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

    TuningController(ProductInfo& product, Registry& registry, Desktop& desktop, ConfiguratorFiles& files,
                     TuningView& view);

    // The form as it opens: the configuration file's choices.
    void LoadFormSettings();

    // What the user did on the form.
    void OnModeChosen(int position);
    void OnConnectionTypeChosen(int position);
    // The form's Apply button only asks; the mode pane's next idle update
    // carries the request out, once (ApplyIfRequested).
    void RequestApply() { applyRequested_ = true; }
    void ApplyIfRequested();

    void ApplySettings();
    // Applies the configuration file's choices with no window and no message:
    // the exit code of "/apply".
    static int ApplyUnattended(ProductInfo& product, Registry& registry, Desktop& desktop, ConfiguratorFiles& files);
    void RestoreWindowsDefaults();
    // Writes back what the record holds; the record goes once every value
    // whose key still exists is back.
    void RestorePreviousSettings();
    // The NT family is told how to use its own tool; every other system has
    // system.dat and user.dat copied into RegBak in the install folder.
    void BackupRegistry();
    // Find Largest MTU, from the keep-alive site when the user chose one,
    // else from the agent's own address; the MTU it finds goes into the form
    // as the user's own Manual choice.
    void FindLargestMtu();
    // Tune Receive Window: the line's window measured from the proposed host
    // and the connection type's speed; the window chosen goes into the form
    // as the user's own Manual choice, as a receive-window multiplier.
    void TuneReceiveWindow();
    // Current Settings: what the registry holds now and what Apply, with the
    // form's present choices, would leave there. Writes nothing.
    void ShowCurrentSettings();

    // The frame's menu and toolbar commands: whether an id is one of the
    // controller's, whether it is enabled now, and running it (false when it
    // is not one, or not enabled).
    bool OwnsCommand(unsigned id) const;
    bool CommandEnabled(unsigned id) const;
    bool RunCommand(unsigned id);

    // How far the counting wait after an Apply step goes.
    static std::uint64_t StepCount(int step);

private:
    struct Command;
    // Without a view, so private: only the unattended Apply, which shows
    // nothing, runs on such a controller.
    TuningController(ProductInfo& product, Registry& registry, Desktop& desktop, ConfiguratorFiles& files);
    int ApplyFileUnattended();

    static const Command kCommands[];
    static const Command* FindCommand(unsigned id);

    // The record of the configuration file in the install folder; shows the
    // "Severe Error" box when the folder is not known.
    std::string ConfigurationPath() const;
    // The form's state and the two codes, read once for each command.
    TuningChoices ReadChoices() const;
    void SaveFormSettings(const FormState& form);
    // An automatic mode's explanation, before its Apply.
    void ExplainAutomaticMode(const TuningChoices& choices);
    // The progress bar's steps, with the file and the registry written at kWriteStep.
    TuningCounts WriteWithProgress(const FormState& form, const TuningPlan& plan);
    // What an Apply wrote, and the restart question when anything took.
    void TellApplied(const TuningCounts& counts);
    // Records what Apply is about to change, unless recorded already. Empty
    // when that worked; otherwise why no record could be kept.
    std::string KeepPreviousSettings();
    enum class RecordState { Missing, Loaded, Damaged };
    // The record in the file; Damaged also when it names a value the program
    // never changes (foreign says which).
    RecordState LoadRecord(const PreviousSettingsFile& file, PreviousSettings* record, std::string* foreign) const;
    // The record's file in the install folder; empty when that is not known.
    std::string PreviousSettingsPath() const;
    // The host to measure: the keep-alive site when the user chose one, else
    // the agent's own address.
    std::string ProposedHost() const;
    // As if the user picked "Manual", unless the form is in it already.
    void ChooseManualMode();
    // The MTU the first adapter with one is set to now; 0 when none is.
    int AdapterMtuNow() const;
    // The result, then the restart question; on No the reminder.
    void OfferRestart(const std::string& result, UINT icon);
    MessageBoxes FrameBoxes() const { return MessageBoxes(*desktop_, view_->Owner()); }
    void OnHelpTopics();
    void OnAbout();
    void OnKeepAlive();
    void OnFindLargestMtu();

    ProductInfo* product_;
    Registry* registry_;
    Desktop* desktop_;
    ConfiguratorFiles* files_;
    TuningView* view_;
    // The codes the mode and connection-type lists last set; they stay until
    // a list or the configuration file sets them again.
    std::string modeCode_;
    std::string connectionTypeCode_;
    bool applyRequested_ = false;
};
