#include "configurator/TuningController.h"

#include "common/CActivityPinger.h"
#include "common/KeepAliveSettings.h"
#include "common/LeadingInt.h"
#include "common/NumberText.h"
#include "common/Vendor.h"
#include "configurator/ConfigurationFile.h"
#include "configurator/ExplanationText.h"
#include "configurator/FormLists.h"
#include "line/MtuSearch.h"
#include "resources/zartune_ids.h"
#include "tuning/OsName.h"
#include "tuning/RegistryBackup.h"
#include "tuning/RestartWindows.h"
#include "tuning/TuningEngine.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What a command does: one of the controller's actions, the Control Panel
// applets it starts (in order), or the vendor page it opens.
struct TuningController::Command {
    unsigned id;
    void (TuningController::*action)();
    const char* applets[2];
    std::optional<vendor::Page> page;
};

const TuningController::Command TuningController::kCommands[] = {
    {ID_FILE_APPLY, &TuningController::ApplySettings, {}, {}},
    {ID_FILE_RESTORE, &TuningController::RestoreWindowsDefaults, {}, {}},
    {ID_FILE_RESTORE_PREVIOUS, &TuningController::RestorePreviousSettings, {}, {}},
    {ID_FILE_BACKUP, &TuningController::BackupRegistry, {}, {}},
    {ID_FILE_EVERTIE, &TuningController::OnKeepAlive, {}, {}},
    {ID_TOOLS_FIND_MTU, &TuningController::FindLargestMtu, {}, {}},
    {ID_TOOLS_CURRENT_SETTINGS, &TuningController::ShowCurrentSettings, {}, {}},
    {ID_TOOLS_TUNE_WINDOW, &TuningController::TuneReceiveWindow, {}, {}},
    {ID_HELP_TOPICS, &TuningController::OnHelpTopics, {}, {}},
    {ID_APP_ABOUT, &TuningController::OnAbout, {}, {}},
    {ID_CPL_SYSTEM, nullptr, {"Sysdm.cpl"}, {}},
    {ID_CPL_INTERNET, nullptr, {"Inetcpl.cpl"}, {}},
    {ID_CPL_MODEMS, nullptr, {"Modem.cpl"}, {}},
    // Both, whatever the system: one of them is the applet it has.
    {ID_CPL_NETWORK, nullptr, {"Ncpa.cpl", "Netcpl.cpl"}, {}},
    {ID_HELP_WEBSITE, nullptr, {}, vendor::Page::Home},
    {ID_HELP_FAQ, nullptr, {}, vendor::Page::Faq},
    {ID_HELP_RECOMMEND, nullptr, {}, vendor::Page::Recommend},
    {ID_HELP_SUPPORT, nullptr, {}, vendor::Page::SupportMail},
    {ID_HELP_FEEDBACK, nullptr, {}, vendor::Page::FeedbackMail},
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

const char kRestartQuestion[] = "\n\nWould you like to restart your computer now?";

// A message about the previous-settings record in the file at path.
std::string AboutRecord(const std::string& path, const std::string& what) {
    return "The record of your previous settings,\n" + path + ",\n" + what;
}

std::string TimeText(const LocalTime& time) {
    return DecimalNumber(time.year, 4) + "-" + DecimalNumber(time.month, 2) + "-" + DecimalNumber(time.day, 2) + " " +
           DecimalNumber(time.hour, 2) + ":" + DecimalNumber(time.minute, 2);
}

}  // namespace

TuningController::TuningController(ProductInfo& product, Registry& registry, Desktop& desktop,
                                   ConfiguratorFiles& files, TuningView& view)
    : product_(&product), registry_(&registry), desktop_(&desktop), files_(&files), view_(&view) {}

TuningController::TuningController(ProductInfo& product, Registry& registry, Desktop& desktop,
                                   ConfiguratorFiles& files)
    : product_(&product), registry_(&registry), desktop_(&desktop), files_(&files), view_(nullptr) {}

std::uint64_t TuningController::StepCount(int step) {
    for (const StepRange& range : kStepCounts) {
        if (step <= range.last) return range.count;
    }
    return 0;
}

// The form ----------------------------------------------------------------

std::string TuningController::ConfigurationPath() const {
    return product_->InstallFolder() + ConfigurationFile::kFileName;
}

TuningChoices TuningController::ReadChoices() const { return {view_->ReadForm(), modeCode_, connectionTypeCode_}; }

void TuningController::LoadFormSettings() {
    TuningChoices choices = ReadChoices();
    ConfigurationFile::Load(*files_->OpenProfile(ConfigurationPath(), ConfigurationFile::kSection), choices);
    modeCode_ = choices.mode;
    connectionTypeCode_ = choices.connectionType;
    view_->WriteForm(choices.form);
}

void TuningController::SaveFormSettings(const FormState& form) {
    const std::string path = ConfigurationPath();
    files_->Unprotect(path);
    ConfigurationFile::Save(form, *files_->OpenProfile(path, ConfigurationFile::kSection));
    files_->Protect(path);
}

void TuningController::OnModeChosen(int position) {
    modeCode_ = FormState::ModeCode(position);
    if (position == FormState::kManualMode) {
        const FormState form = view_->ReadForm();
        view_->ShowExplanation(formlists::Entry(formlists::ConnectionTypes(), form.connectionType),
                               ExplanationText(modeCode_, formlists::Entry(formlists::Modes(), position)));
    }
    FormState form = view_->ReadForm();
    form.SwitchMode(position);
    view_->WriteForm(form);
    view_->ShowNewMode();
}

void TuningController::OnConnectionTypeChosen(int position) {
    const std::string code = FormState::ConnectionTypeCode(position);
    if (!code.empty()) connectionTypeCode_ = code;
}

// Apply -------------------------------------------------------------------

void TuningController::ApplyIfRequested() {
    if (!applyRequested_) return;
    applyRequested_ = false;
    ApplySettings();
}

void TuningController::ApplySettings() {
    const TuningChoices choices = ReadChoices();
    const FilledTuning filled = FillTuning(choices);
    if (!filled.config) {
        MessageBoxes(*desktop_).InputError(filled.problem);
        return;
    }
    ExplainAutomaticMode(choices);
    const TuningPlan plan = TuningEngine(*registry_, *desktop_, *filled.config).PlanWrites(kWriteAction);
    // Asked before anything is written, so that No leaves the file and the registry as they were.
    const std::string recordProblem = KeepPreviousSettings();
    if (!recordProblem.empty() && !FrameBoxes().Ask(recordProblem, MB_ICONWARNING, true)) return;
    TellApplied(WriteWithProgress(choices.form, plan));
}

void TuningController::ExplainAutomaticMode(const TuningChoices& choices) {
    const std::string modeText = formlists::Entry(formlists::Modes(), choices.form.mode);
    if (modeText.find("Automatic") == std::string::npos) return;
    view_->ShowExplanation(formlists::Entry(formlists::ConnectionTypes(), choices.form.connectionType),
                           ExplanationText(choices.mode, modeText));
}

TuningCounts TuningController::WriteWithProgress(const FormState& form, const TuningPlan& plan) {
    TuningCounts counts;
    view_->BeginProgress();
    for (int step = 0; step < kApplySteps; ++step) {
        if (step == kWriteStep) {
            SaveFormSettings(form);
            counts = ExecutePlan(*registry_, plan);
        }
        view_->StepProgress(StepCount(step));
    }
    view_->EndProgress();
    return counts;
}

void TuningController::TellApplied(const TuningCounts& counts) {
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

int TuningController::ApplyUnattended(ProductInfo& product, Registry& registry, Desktop& desktop,
                                      ConfiguratorFiles& files) {
    return TuningController(product, registry, desktop, files).ApplyFileUnattended();
}

int TuningController::ApplyFileUnattended() {
    if (product_->StoredInstallFolder().empty()) return kExitNoInstallFolder;
    if (!product_->HasMachineWriteAccess()) return kExitNoRights;
    const std::unique_ptr<ProfileSection> file = files_->OpenProfile(
        product_->StoredInstallFolder() + ConfigurationFile::kFileName, ConfigurationFile::kSection);
    // The form's defaults would tune every computer for a modem.
    if (!ConfigurationFile::IsComplete(*file)) return kExitNoConfiguration;
    // A fresh form, as the form opens on the file.
    TuningChoices choices;
    ConfigurationFile::Load(*file, choices);
    const FilledTuning filled = FillTuning(choices);
    if (!filled.config) return kExitNoConfiguration;
    if (!KeepPreviousSettings().empty()) return kExitNoRecord;
    return std::min(TuningEngine(*registry_, *desktop_, *filled.config).ApplyTuning().refused, 999);
}

std::string TuningController::KeepPreviousSettings() {
    const PreviousSettings now =
        PreviousSettings::Capture(*registry_, TuningEngine(*registry_, *desktop_).TouchedLocations());
    if (now.IsEmpty()) return std::string();

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
    } else if (record.AddNew(now) > 0 && !file.Save(record, TimeText(desktop_->CurrentTime()))) {
        problem = "could not be written.";
    }
    if (problem.empty()) return std::string();
    return AboutRecord(path.empty() ? std::string(PreviousSettingsFile::kFileName) : path,
                       problem +
                           "\n\nIf you go on, \"Restore Previous Settings\" cannot give back "
                           "the settings you have now.\nApply the new settings anyway?");
}

TuningController::RecordState TuningController::LoadRecord(const PreviousSettingsFile& file, PreviousSettings* record,
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

std::string TuningController::PreviousSettingsPath() const {
    const std::string folder = product_->StoredInstallFolder();
    return folder.empty() ? std::string() : folder + PreviousSettingsFile::kFileName;
}

void TuningController::OfferRestart(const std::string& result, UINT icon) {
    if (FrameBoxes().Ask(result + kRestartQuestion, icon)) {
        RestartWindows(*desktop_);
        return;
    }
    FrameBoxes().Inform("Keep in mind that you must restart your\ncomputer before the new settings become effective. ");
}

// Restore -----------------------------------------------------------------

void TuningController::RestoreWindowsDefaults() {
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

void TuningController::RestorePreviousSettings() {
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

// Backup ------------------------------------------------------------------

void TuningController::BackupRegistry() {
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

// Find Largest MTU -----------------------------------------------------------

std::string TuningController::ProposedHost() const {
    const KeepAliveSettings keepAlive = KeepAliveSettings::Load(product_->Store());
    const bool ownSite = keepAlive.mode == "Manual" && !keepAlive.host.empty();
    return MtuSearch::HostOf(ownSite ? keepAlive.host : CActivityPinger::kDefaultAddress);
}

void TuningController::ChooseManualMode() {
    if (view_->ReadForm().mode != FormState::kManualMode) OnModeChosen(FormState::kManualMode);
}

void TuningController::FindLargestMtu() {
    const std::optional<int> mtu = view_->ShowFindMtu(ProposedHost(), AdapterMtuNow());
    if (!mtu) return;
    ChooseManualMode();
    FormState form = view_->ReadForm();
    form.ChooseCustom(Parameter::Mtu);
    form.Pair(Parameter::Mtu).text = std::to_string(*mtu);
    view_->WriteForm(form);
}

int TuningController::AdapterMtuNow() const {
    std::vector<RegLocation> locations;
    for (const RegLocation& location : TuningEngine(*registry_, *desktop_).TouchedLocations()) {
        if (location.name == "MTU" || location.name == "MaxMTU") locations.push_back(location);
    }
    const PreviousSettings now = PreviousSettings::Capture(*registry_, locations);
    for (const PreviousValue& value : now.Values()) {
        if (!value.present) continue;
        // The NT family keeps a number, the 9x family a text.
        if (const std::optional<DWORD> number = DwordOf(value.value)) return static_cast<int>(*number);
        const std::string text(value.value.data.begin(), value.value.data.end());
        if (value.value.type == REG_SZ && ReadLeadingInt(text) > 0) return ReadLeadingInt(text);
    }
    return 0;
}

// Tune Receive Window ----------------------------------------------------------

void TuningController::TuneReceiveWindow() {
    const FormState form = view_->ReadForm();
    // Kilobits per second of each connection type, in the list's order.
    static const char* const kLineSpeeds[FormState::kConnectionTypes] = {"56", "1536", "1536", "400"};
    const int type = FormState::Selectable(form.connectionType, FormState::kConnectionTypes);
    const ParameterPair& mtu = form.Pair(Parameter::Mtu);
    const int mss = mtu.customChecked ? ReadLeadingInt(mtu.text) - 40 : 1460;
    const std::optional<int> multiplier = view_->ShowTuneWindow(ProposedHost(), type < 0 ? "" : kLineSpeeds[type],
                                                                mss, ScalesWindows(GetOsName(*desktop_)));
    if (!multiplier) return;
    ChooseManualMode();
    FormState chosen = view_->ReadForm();
    chosen.ChooseWindowMultiplier(*multiplier);
    view_->WriteForm(chosen);
}

// Current Settings -----------------------------------------------------------

void TuningController::ShowCurrentSettings() {
    view_->ShowCurrentSettings([this] {
        const FilledTuning filled = FillTuning(ReadChoices());
        return CurrentSettings::Read(*registry_, *desktop_, filled.config.value_or(TuningConfig()), filled.problem);
    });
}

// Commands ----------------------------------------------------------------

void TuningController::OnHelpTopics() { product_->ShowHelpTopic("zartune.hlp", "Welcome to Zarvo\xAE 2002"); }

void TuningController::OnAbout() { view_->ShowAbout(); }

void TuningController::OnKeepAlive() { view_->ShowKeepAlive(); }

const TuningController::Command* TuningController::FindCommand(unsigned id) {
    for (const Command& command : kCommands) {
        if (command.id == id) return &command;
    }
    return nullptr;
}

bool TuningController::OwnsCommand(unsigned id) const { return FindCommand(id) != nullptr; }

bool TuningController::CommandEnabled(unsigned id) const {
    if (id == ID_FILE_RESTORE_PREVIOUS) {
        const std::string path = PreviousSettingsPath();
        return !path.empty() && PreviousSettingsFile(*files_, path).Exists();
    }
    return OwnsCommand(id);
}

bool TuningController::RunCommand(unsigned id) {
    const Command* command = FindCommand(id);
    if (command == nullptr || !CommandEnabled(id)) return false;
    if (command->action != nullptr) (this->*command->action)();
    for (const char* applet : command->applets) {
        if (applet != nullptr) {
            desktop_->RunCommandLine(std::string("rundll32.exe shell32.dll,Control_RunDLL ") + applet, SW_SHOWNORMAL);
        }
    }
    if (command->page) {
        desktop_->ShellExecuteFile(0, "open",
                                   vendor::Address(*command->page, product_->ProductName(),
                                                   product_->ProductVersion(), "mainmenu"),
                                   "", "", SW_SHOWNORMAL);
    }
    return true;
}
