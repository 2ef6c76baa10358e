#include "configurator/TuningApply.h"

#include "common/NumberText.h"
#include "configurator/ConfigurationFile.h"
#include "configurator/ExplanationText.h"
#include "configurator/FormLists.h"
#include "configurator/SpeedHistory.h"
#include "tuning/OsName.h"
#include "tuning/RegistryBackup.h"
#include "tuning/RestartWindows.h"
#include "tuning/TuningEngine.h"
#include "tuning/WindowSetting.h"

#include <algorithm>
#include <memory>
#include <string>

namespace {

struct StepRange {
    int last;
    std::uint64_t count;
};

// Each range runs from the step after the previous one's last.
const StepRange kStepCounts[] = {
    {13, 5000000}, {33, 20000000}, {73, 10000000}, {74, 17000000}, {83, 20000000}, {99, 1000000},
};

const char kRestartQuestion[] = "\n\nWould you like to restart your computer now?";

// A message about the previous-settings record in the file at path.
std::string AboutRecord(const std::string& path, const std::string& what) {
    return "The record of your previous settings,\n" + path + ",\n" + what;
}

}  // namespace

TuningApply::TuningApply(ProductInfo& product, Registry& registry, Desktop& desktop, ConfiguratorFiles& files,
                         TuningView* view)
    : product_(&product), registry_(&registry), desktop_(&desktop), files_(&files), view_(view) {}

std::uint64_t TuningApply::StepCount(int step) {
    for (const StepRange& range : kStepCounts) {
        if (step <= range.last) return range.count;
    }
    return 0;
}

void TuningApply::Apply(const TuningChoices& choices) {
    const FilledTuning filled = FillTuning(choices);
    if (!filled.config) {
        MessageBoxes(*desktop_).InputError(filled.problem);
        return;
    }
    ExplainAutomaticMode(choices);
    const TuningPlan plan = TuningEngine(*registry_, *desktop_, *filled.config).PlanWrites(kWriteAction);
    // Asked before anything is written, so that No leaves the file and the registry as they were.
    const KeptRecord record = KeepPreviousSettings();
    if (!record.kept && !FrameBoxes().Ask(record.problem, MB_ICONWARNING, true)) return;
    TellApplied(WriteWithProgress(choices.form, plan));
}

void TuningApply::SaveFormSettings(const FormState& form) {
    const std::string path = product_->InstallFolder() + ConfigurationFile::kFileName;
    files_->Unprotect(path);
    ConfigurationFile::Save(form, *files_->OpenProfile(path, ConfigurationFile::kSection));
    files_->Protect(path);
}

void TuningApply::ExplainAutomaticMode(const TuningChoices& choices) {
    const std::string modeText = formlists::Entry(formlists::Modes(), choices.form.mode);
    if (modeText.find("Automatic") == std::string::npos) return;
    view_->ShowExplanation(formlists::Entry(formlists::ConnectionTypes(), choices.form.connectionType),
                           ExplanationText(choices.mode, modeText));
}

TuningCounts TuningApply::WriteWithProgress(const FormState& form, const TuningPlan& plan) {
    TuningCounts counts;
    view_->BeginProgress();
    for (int step = 0; step < kApplySteps; ++step) {
        if (step == kWriteStep) {
            SaveFormSettings(form);
            KeepApplyTime();
            counts = ExecutePlan(*registry_, plan);
        }
        view_->StepProgress(StepCount(step));
    }
    view_->EndProgress();
    return counts;
}

void TuningApply::TellApplied(const TuningCounts& counts) {
    const std::string refused = std::to_string(counts.refused);
    if (counts.refused == 0) {
        OfferRestart("System changes were successful done.\n\nIn order to enjoy all the benefits of " +
                         product_->ProductName() + "\nit's highly recommended to restart your computer.",
                     MB_ICONQUESTION);
    } else if (counts.written == 0) {
        // Nothing took, so a restart would change nothing either.
        FrameBoxes().InputError("None of the new settings could be written: the registry refused all " + refused +
                                " of them.\nYou may lack the rights to change them.");
    } else {
        // Said plainly instead of the success text: the user must know that
        // some settings did not take.
        OfferRestart(refused +
                         " of the new settings could not be written: the registry refused them.\n"
                         "You may lack the rights to change them.\n\n"
                         "The other settings take effect when you restart your computer.",
                     MB_ICONWARNING);
    }
}

TuningApply::UnattendedResult TuningApply::ApplyUnattended(ProductInfo& product, Registry& registry, Desktop& desktop,
                                                             ConfiguratorFiles& files) {
    return TuningApply(product, registry, desktop, files, nullptr).ApplyFileUnattended();
}

TuningApply::UnattendedResult TuningApply::ApplyFileUnattended() {
    if (product_->StoredInstallFolder().empty()) return {kExitNoInstallFolder, {}};
    if (!product_->HasMachineWriteAccess()) return {kExitNoRights, {}};
    const std::unique_ptr<ProfileSection> file = files_->OpenProfile(
        product_->StoredInstallFolder() + ConfigurationFile::kFileName, ConfigurationFile::kSection);
    // The form's defaults would tune every computer for a modem.
    if (!ConfigurationFile::IsComplete(*file)) return {kExitNoConfiguration, {}};
    // A fresh form, as the form opens on the file.
    TuningChoices choices;
    ConfigurationFile::Load(*file, choices);
    const FilledTuning filled = FillTuning(choices);
    if (!filled.config) return {kExitNoConfiguration, {}};
    if (!KeepPreviousSettings().kept) return {kExitNoRecord, {}};
    KeepApplyTime();
    const TuningCounts counts = TuningEngine(*registry_, *desktop_, *filled.config).ApplyTuning();
    return {std::min(counts.refused, 999), counts};
}

void TuningApply::KeepApplyTime() {
    const LocalTime now = desktop_->CurrentTime();
    SpeedHistory(product_->Store())
        .KeepApply(SpeedHistory::Seconds(now), SpeedHistory::Started(now, desktop_->TickCount()),
                   WindowSetting::Read(*registry_, GetOsName(*desktop_)));
}

TuningApply::KeptRecord TuningApply::KeepPreviousSettings() {
    const PreviousSettings now =
        PreviousSettings::Capture(*registry_, TuningEngine(*registry_, *desktop_).TouchedLocations());
    if (now.IsEmpty()) return {true, std::string()};

    const std::string path = PreviousSettingsPath();
    const PreviousSettingsFile file(*files_, path);
    PreviousSettings record;
    std::string foreign;
    std::string problem;
    if (path.empty()) {
        problem = "could not be written: the install folder is not known.";
    } else if (LoadRecord(file, &record, &foreign) == RecordState::Damaged) {
        // It may hold the only copy of the first settings: never overwritten.
        problem = "could not be read: it is damaged or was changed by hand. It is left as it is.";
    } else if (record.AddNew(now) > 0 && !file.Save(record, DateTimeText(desktop_->CurrentTime(), false))) {
        problem = "could not be written.";
    }
    if (problem.empty()) return {true, std::string()};
    return {false, AboutRecord(path.empty() ? std::string(PreviousSettingsFile::kFileName) : path,
                               problem +
                                   "\n\nIf you go on, \"Restore Previous Settings\" cannot give back "
                                   "the settings you have now.\nApply the new settings anyway?")};
}

TuningApply::RecordState TuningApply::LoadRecord(const PreviousSettingsFile& file, PreviousSettings* record,
                                                 std::string* foreign) const {
    const PreviousSettingsFile::LoadResult loaded = file.Load(record);
    if (loaded == PreviousSettingsFile::LoadResult::Missing) return RecordState::Missing;
    if (loaded == PreviousSettingsFile::LoadResult::Refused) return RecordState::Damaged;
    // The file is outside the program's keeping: a record that names any value
    // the program never changes is not one it wrote.
    const TuningEngine engine(*registry_, *desktop_);
    for (const PreviousValue& value : record->Values()) {
        if (engine.IsTuningValue(value.path, value.name)) continue;
        *foreign = value.path + "\\" + value.name;
        return RecordState::Damaged;
    }
    return RecordState::Loaded;
}

std::string TuningApply::PreviousSettingsPath() const {
    const std::string folder = product_->StoredInstallFolder();
    return folder.empty() ? std::string() : folder + PreviousSettingsFile::kFileName;
}

bool TuningApply::HasPreviousSettings() const {
    const std::string path = PreviousSettingsPath();
    return !path.empty() && PreviousSettingsFile(*files_, path).Exists();
}

void TuningApply::OfferRestart(const std::string& result, UINT icon) {
    if (FrameBoxes().Ask(result + kRestartQuestion, icon)) {
        RestartWindows(*desktop_);
        return;
    }
    FrameBoxes().Inform("Keep in mind that you must restart your\ncomputer before the new settings become effective. ");
}

void TuningApply::RestoreWindowsDefaults() {
    const MessageBoxes boxes(*desktop_);
    if (!boxes.Ask("The program will restore all Windows default settings.\nWould you like to continue?",
                   MB_ICONQUESTION, true)) {
        return;
    }
    const TuningCounts counts = TuningEngine(*registry_, *desktop_).RemoveTuning();
    if (counts.refused == 0) {
        boxes.Inform("Windows default settings were successfully restored.");
    } else {
        boxes.InputError(std::to_string(counts.refused) +
                         " setting(s) could not be removed, so Windows keeps their current values.\n"
                         "The registry refused the change; you may lack the rights for it.");
    }
}

void TuningApply::RestorePreviousSettings() {
    // Owned by the main window, so that no Apply can start while they are open.
    const MessageBoxes boxes = FrameBoxes();
    if (!boxes.Ask("The program will give back the settings you had before it first applied new "
                   "ones.\nWould you like to continue?",
                   MB_ICONQUESTION, true)) {
        return;
    }
    const std::string path = PreviousSettingsPath();
    const PreviousSettingsFile file(*files_, path);
    PreviousSettings record;
    std::string foreign;
    const RecordState state = path.empty() ? RecordState::Missing : LoadRecord(file, &record, &foreign);
    if (!foreign.empty()) {
        boxes.InputError(AboutRecord(path, "names a value that " + product_->ProductName() + " never changes:\n" +
                                               foreign + "\nIt was changed by hand, so it is not used. Nothing was changed."));
        return;
    }
    if (state != RecordState::Loaded) {
        boxes.InputError(AboutRecord(path, "could not be read: it is missing, damaged or was changed by "
                                           "hand.\nNothing was changed."));
        return;
    }
    const PreviousSettings::RestoreResult result = record.Restore(*registry_);
    const std::string gone =
        result.gone == 0 ? std::string()
                         : std::to_string(result.gone) +
                               " of them belonged to a key that is gone (a network adapter that was removed, for "
                               "example); they were left out.\n\n";
    if (result.refused == 0) {
        if (!file.Remove()) {
            boxes.InputError(AboutRecord(path, "could not be removed. \"Restore Previous Settings\" will offer it "
                                               "again; you may delete it yourself."));
        }
        OfferRestart("Your previous settings were successfully restored.\n\n" + gone +
                         "They take effect when you restart your computer.",
                     MB_ICONQUESTION);
    } else {
        OfferRestart(std::to_string(result.refused) +
                         " of the previous settings could not be written back: the registry refused them.\n"
                         "You may lack the rights to change them. The record is kept, so that you can try again.\n\n" +
                         gone + "The others take effect when you restart your computer.",
                     MB_ICONWARNING);
    }
}

void TuningApply::BackupRegistry() {
    view_->BeginWait();
    const std::string instructions = RegistryBackupInstructions(GetOsName(*desktop_));
    if (!instructions.empty()) {
        FrameBoxes().Inform(instructions);
    } else {
        const std::string folder = product_->InstallFolder();
        // Without it there is nowhere to copy to, and InstallFolder has said so.
        if (!folder.empty()) {
            const RegistryBackupPlan plan = PlanRegistryBackup(desktop_->WindowsDirectory(), folder);
            const RegistryBackupMessage message = RegistryBackupResult(plan, files_->CopyBackupFiles(plan));
            desktop_->ShowMessageBox(view_->Owner(), message.text, product_->ProductName(), message.icon);
        }
    }
    view_->EndWait();
}
