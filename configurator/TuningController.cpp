#include "configurator/TuningController.h"

#include "common/Vendor.h"
#include "configurator/ConfigurationFile.h"
#include "configurator/ExplanationText.h"
#include "configurator/FormLists.h"
#include "configurator/KeepAliveLogReport.h"
#include "resources/zartune_ids.h"

#include <optional>
#include <string>

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
    {ID_TOOLS_SPEED_TEST, &TuningController::TestLineSpeed, {}, {}},
    {ID_TOOLS_KEEPALIVE_LOG, &TuningController::OnKeepAliveLog, {}, {}},
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

TuningController::TuningController(ProductInfo& product, Registry& registry, Desktop& desktop,
                                   ConfiguratorFiles& files, TuningView& view)
    : product_(&product),
      desktop_(&desktop),
      files_(&files),
      view_(&view),
      apply_(product, registry, desktop, files, &view),
      tools_(product, registry, desktop, view) {}

TuningChoices TuningController::ReadChoices() const { return {view_->ReadForm(), modeCode_, connectionTypeCode_}; }

void TuningController::LoadFormSettings() {
    TuningChoices choices = ReadChoices();
    const std::string path = product_->InstallFolder() + ConfigurationFile::kFileName;
    ConfigurationFile::Load(*files_->OpenProfile(path, ConfigurationFile::kSection), choices);
    modeCode_ = choices.mode;
    connectionTypeCode_ = choices.connectionType;
    view_->WriteForm(choices.form);
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

void TuningController::ApplyIfRequested() {
    if (!applyRequested_) return;
    applyRequested_ = false;
    ApplySettings();
}

void TuningController::ApplySettings() { apply_.Apply(ReadChoices()); }

void TuningController::RestoreWindowsDefaults() { apply_.RestoreWindowsDefaults(); }

void TuningController::RestorePreviousSettings() { apply_.RestorePreviousSettings(); }

void TuningController::BackupRegistry() { apply_.BackupRegistry(); }

void TuningController::ChooseManualMode() {
    if (view_->ReadForm().mode != FormState::kManualMode) OnModeChosen(FormState::kManualMode);
}

void TuningController::FindLargestMtu() {
    const std::optional<int> mtu = tools_.FindLargestMtu();
    if (!mtu) return;
    ChooseManualMode();
    FormState form = view_->ReadForm();
    form.ChooseCustom(Parameter::Mtu);
    form.Pair(Parameter::Mtu).text = std::to_string(*mtu);
    view_->WriteForm(form);
}

void TuningController::TuneReceiveWindow() {
    const std::optional<int> multiplier = tools_.TuneReceiveWindow(view_->ReadForm());
    if (!multiplier) return;
    ChooseManualMode();
    FormState form = view_->ReadForm();
    form.ChooseWindowMultiplier(*multiplier);
    view_->WriteForm(form);
}

void TuningController::TestLineSpeed() { tools_.TestLineSpeed(); }

void TuningController::ShowCurrentSettings() {
    view_->ShowCurrentSettings([this] { return tools_.CurrentSettingsFor(ReadChoices()); });
}

void TuningController::OnHelpTopics() { product_->ShowHelpTopic("zartune.hlp", "Welcome to Zarvo\xAE 2002"); }

void TuningController::OnAbout() { view_->ShowAbout(); }

void TuningController::OnKeepAlive() { view_->ShowKeepAlive(); }

void TuningController::OnKeepAliveLog() {
    const std::string folder = product_->InstallFolder();
    if (folder.empty()) return;
    view_->ShowKeepAliveLog([this, folder] { return KeepAliveLogReport::Read(*files_, folder, desktop_->CurrentTime()); });
}

const TuningController::Command* TuningController::FindCommand(unsigned id) {
    for (const Command& command : kCommands) {
        if (command.id == id) return &command;
    }
    return nullptr;
}

bool TuningController::OwnsCommand(unsigned id) const { return FindCommand(id) != nullptr; }

bool TuningController::CommandEnabled(unsigned id) const {
    if (id == ID_FILE_RESTORE_PREVIOUS) return apply_.HasPreviousSettings();
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
