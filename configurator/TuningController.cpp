#include "configurator/TuningController.h"

#include "configurator/ConfigurationFile.h"
#include "configurator/ExplanationText.h"
#include "configurator/FrameCommands.h"
#include "configurator/ManualValidation.h"
#include "resources/zartune_ids.h"
#include "tuning/PreviousSettingsFile.h"
#include "tuning/OsName.h"
#include "tuning/RegistryBackup.h"
#include "tuning/RestartWindows.h"
#include "tuning/TuningEngine.h"
#include "tuning/TuningPreset.h"

#include <cstdio>
#include <string>
#include <vector>

struct TuningController::Command {
    unsigned id;
    void (TuningController::*run)();
};

const TuningController::Command TuningController::kCommands[] = {
    {ID_FILE_APPLY, &TuningController::ApplySettings},
    {ID_FILE_RESTORE, &TuningController::RestoreWindowsDefaults},
    {ID_FILE_RESTORE_PREVIOUS, &TuningController::RestorePreviousSettings},
    {ID_FILE_BACKUP, &TuningController::BackupRegistry},
    {ID_FILE_EVERTIE, &TuningController::OnKeepAlive},
    {ID_HELP_TOPICS, &TuningController::OnHelpTopics},
    {ID_APP_ABOUT, &TuningController::OnAbout},
    {ID_TOOLS_CURRENT_SETTINGS, &TuningController::OnCurrentSettings},
};

namespace {

struct StepRange {
    int last;
    std::uint64_t count;
};

// Each range runs from the step after the previous one's last.
const StepRange kStepCounts[] = {
    {13, 5000000}, {33, 20000000}, {73, 10000000}, {74, 17000000}, {83, 20000000}, {99, 1000000},
};

// A message about the previous-settings record in the file at path.
std::string AboutRecord(const std::string& path, const std::string& what) {
    return "The record of your previous settings,\n" + path + ",\n" + what;
}

std::string TimeText(const LocalTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", time.year, time.month, time.day, time.hour,
                  time.minute);
    return text;
}

}  // namespace

TuningController::TuningController(ProductInfo& product, Registry& registry, Desktop& desktop, TuningView& view)
    : product_(&product), registry_(&registry), desktop_(&desktop), view_(&view) {}

bool TuningController::TakeApplyRequest() {
    if (applyRequest_ != 1) return false;
    applyRequest_ = 0;
    return true;
}

std::uint64_t TuningController::StepCount(int step) {
    for (const StepRange& range : kStepCounts) {
        if (step <= range.last) return range.count;
    }
    return 0;
}

void TuningController::ApplySettings() {
    if (!FillTuning()) return;
    const std::string modeText = view_->ModeText();
    if (modeText.find("Automatic") != std::string::npos) {
        view_->ShowExplanation(view_->ConnectionTypeText(), ExplanationText(config_.mode, modeText));
    }
    view_->BeginProgress();
    int failures = 0;
    for (int step = 0; step < kApplySteps; ++step) {
        if (step == kWriteStep) {
            view_->SaveFormSettings();
            TuningEngine engine(*registry_, *desktop_, config_);
            if (!KeepPreviousSettings(engine)) {
                view_->EndProgress();
                return;
            }
            failures = engine.ApplyTuning();
        }
        view_->StepProgress(StepCount(step));
    }
    view_->EndProgress();
    const std::string name = product_->ProductName();
    if (failures == 0) {
        OfferRestart("System changes were successful done.\n\nIn order to enjoy all the benefits of " + name +
                         "\nit's highly recommended to restart your computer.",
                     MB_ICONQUESTION);
    } else {
        // Said plainly instead of the success text: the user must know that
        // some settings did not take.
        OfferRestart(std::to_string(failures) +
                         " of the new settings could not be written: the registry refused them.\n"
                         "You may lack the rights to change them.\n\n"
                         "The other settings take effect when you restart your computer.",
                     MB_ICONWARNING);
    }
}

UnattendedApply TuningController::ApplyUnattended(ProfileSection* configuration) {
    if (product_->StoredInstallFolder().empty()) return {UnattendedOutcome::NoInstallFolder};
    if (!product_->HasMachineRights()) return {UnattendedOutcome::NoRights};
    if (configuration == nullptr) return {UnattendedOutcome::NoValidConfiguration};
    FormState state;
    ConfigurationFile::Load(*configuration, state, config_);
    if (!FillTuning(state, config_).empty()) return {UnattendedOutcome::NoValidConfiguration};
    TuningEngine engine(*registry_, *desktop_, config_);
    if (!KeepPreviousSettingsQuietly(engine).empty()) return {UnattendedOutcome::NoRecord};
    return {UnattendedOutcome::Applied, engine.ApplyTuning()};
}

bool TuningController::KeepPreviousSettings(const TuningEngine& engine) {
    const std::string problem = KeepPreviousSettingsQuietly(engine);
    if (problem.empty()) return true;
    const std::string path = PreviousSettingsPath();
    const std::string text = AboutRecord(path.empty() ? std::string(PreviousSettingsFile::kFileName) : path,
                                         problem +
                                             "\n\nIf you go on, \"Restore Previous Settings\" cannot give back "
                                             "the settings you have now.\nApply the new settings anyway?");
    return desktop_->ShowMessageBox(view_->Owner(), text, product_->ProductName(),
                                    MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

std::string TuningController::KeepPreviousSettingsQuietly(const TuningEngine& engine) const {
    // Remove touches every value that any Apply may change.
    std::vector<RegLocation> locations;
    for (const TuningWrite& write : engine.PlanWrites(kRemoveAction)) locations.push_back({write.path, write.name});
    const PreviousSettings now = PreviousSettings::Capture(*registry_, locations);
    if (now.IsEmpty()) return {};

    const std::string path = PreviousSettingsPath();
    const PreviousSettingsFile file(path);
    PreviousSettings record;
    std::string problem;
    if (path.empty()) {
        problem = "could not be written: the install folder is not known.";
    } else if (file.Load(&record) == PreviousSettingsFile::LoadResult::Refused) {
        // It may hold the only copy of the first settings: never overwritten.
        problem = "could not be read: it is damaged or was changed by hand. It is left as it is.";
    } else if (record.AddNew(now) > 0 && !file.Save(record, TimeText(desktop_->CurrentTime()))) {
        problem = "could not be written.";
    }
    return problem;
}

std::string TuningController::PreviousSettingsPath() const {
    const std::string folder = product_->StoredInstallFolder();
    return folder.empty() ? std::string() : folder + PreviousSettingsFile::kFileName;
}

bool TuningController::FillTuning() {
    const std::string problem = FillTuning(view_->ReadForm(), config_);
    if (problem.empty()) return true;
    desktop_->ShowMessageBox(0, problem, product_->ProductName(), MB_ICONEXCLAMATION);
    return false;
}

std::string TuningController::FillTuning(const FormState& state, TuningConfig& config) {
    if (config.mode != "MANUAL") {
        ApplyPreset(config);
        return {};
    }
    const ManualValidation manual = ValidateManualValues(state, config);
    if (!manual.valid) return manual.message;
    config = manual.config;
    return {};
}

CurrentSettings TuningController::CurrentSettingsNow() const {
    TuningConfig config = config_;
    const std::string problem = FillTuning(view_->ReadForm(), config);
    return CurrentSettings::Read(*registry_, *desktop_, config, problem);
}

void TuningController::OfferRestart(const std::string& result, UINT icon) {
    const std::string name = product_->ProductName();
    if (desktop_->ShowMessageBox(view_->Owner(), result + "\n\nWould you like to restart your computer now?", name,
                                 MB_YESNO | icon) == IDYES) {
        RestartWindows(*desktop_);
        return;
    }
    desktop_->ShowMessageBox(view_->Owner(),
                             "Keep in mind that you must restart your\ncomputer before the new settings become effective. ",
                             name, MB_ICONINFORMATION);
}

void TuningController::RestoreWindowsDefaults() {
    TuningEngine(*registry_, *desktop_, config_).RestoreWindowsDefaults(true);
}

void TuningController::RestorePreviousSettings() {
    const std::string name = product_->ProductName();
    if (desktop_->ShowMessageBox(0,
                                 "The program will give back the settings you had before it first applied new "
                                 "ones.\nWould you like to continue?",
                                 name, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    const std::string path = PreviousSettingsPath();
    const PreviousSettingsFile file(path);
    PreviousSettings record;
    if (path.empty() || file.Load(&record) != PreviousSettingsFile::LoadResult::Loaded) {
        desktop_->ShowMessageBox(0,
                                 AboutRecord(path, "could not be read: it is missing, damaged or was changed by "
                                                   "hand.\nNothing was changed."),
                                 name, MB_ICONEXCLAMATION);
        return;
    }
    // The file is outside the program's keeping: a record that names any value
    // the program never changes is not one it wrote.
    const TuningEngine engine(*registry_, *desktop_, config_);
    for (const PreviousValue& value : record.Values()) {
        if (engine.IsTuningValue(value.path, value.name)) continue;
        desktop_->ShowMessageBox(0,
                                 AboutRecord(path, "names a value that " + name + " never changes:\n" + value.path +
                                                       "\\" + value.name +
                                                       "\nIt was changed by hand, so it is not used. Nothing was changed."),
                                 name, MB_ICONEXCLAMATION);
        return;
    }
    const int failures = record.WriteBack(*registry_);
    if (failures == 0) {
        file.Remove();
        OfferRestart("Your previous settings were successfully restored.\n\n"
                     "They take effect when you restart your computer.",
                     MB_ICONQUESTION);
    } else {
        OfferRestart(std::to_string(failures) +
                         " of the previous settings could not be written back: the registry refused them,\n"
                         "or their key is gone (a network adapter that was removed, for example).\n"
                         "You may lack the rights to change them. The record is kept, so that you can try again.\n\n"
                         "The others take effect when you restart your computer.",
                     MB_ICONWARNING);
    }
}

void TuningController::BackupRegistry() {
    view_->BeginWait();
    const std::string name = product_->ProductName();
    const std::string instructions = RegistryBackupInstructions(GetOsName(*desktop_));
    if (!instructions.empty()) {
        desktop_->ShowMessageBox(view_->Owner(), instructions, name, MB_ICONINFORMATION);
    } else {
        const std::string folder = product_->InstallFolder();
        // Without it there is nowhere to copy to, and InstallFolder has said so.
        if (!folder.empty()) {
            const RegistryBackupPlan plan = PlanRegistryBackup(desktop_->WindowsDirectory(), folder);
            const RegistryBackupMessage message = RegistryBackupResult(plan, view_->CopyBackupFiles(plan));
            desktop_->ShowMessageBox(view_->Owner(), message.text, name, message.icon);
        }
    }
    view_->EndWait();
}

void TuningController::OnHelpTopics() { product_->ShowHelpTopic("zartune.hlp", "Welcome to Zarvo\xAE 2002"); }

void TuningController::OnAbout() { view_->ShowAbout(); }

void TuningController::OnKeepAlive() { view_->ShowKeepAlive(); }

void TuningController::OnCurrentSettings() {
    view_->ShowCurrentSettings([this] { return CurrentSettingsNow(); });
}

bool TuningController::HandlesCommand(unsigned id) const {
    for (const Command& command : kCommands) {
        if (command.id == id) return true;
    }
    return !framecommands::ControlPanelCommandLines(id).empty() || !framecommands::VendorAddress(id, "", "").empty();
}

bool TuningController::CommandEnabled(unsigned id) const {
    if (id == ID_FILE_RESTORE_PREVIOUS) {
        const std::string path = PreviousSettingsPath();
        return !path.empty() && PreviousSettingsFile(path).Exists();
    }
    return HandlesCommand(id);
}

bool TuningController::OnCommand(unsigned id) {
    for (const Command& command : kCommands) {
        if (command.id == id) {
            (this->*command.run)();
            return true;
        }
    }
    const std::vector<std::string> applets = framecommands::ControlPanelCommandLines(id);
    for (const std::string& commandLine : applets) desktop_->RunCommandLine(commandLine, SW_SHOWNORMAL);
    if (!applets.empty()) return true;
    const std::string address =
        framecommands::VendorAddress(id, product_->ProductName(), product_->ProductVersion());
    if (address.empty()) return false;
    desktop_->ShellExecuteFile(0, "open", address, "", "", SW_SHOWNORMAL);
    return true;
}
