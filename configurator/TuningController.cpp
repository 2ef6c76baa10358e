#include "configurator/TuningController.h"

#include "configurator/ExplanationText.h"
#include "configurator/FrameCommands.h"
#include "configurator/ManualValidation.h"
#include "resources/zartune_ids.h"
#include "tuning/RestartWindows.h"
#include "tuning/TuningEngine.h"
#include "tuning/TuningPreset.h"

#include <string>
#include <vector>

struct TuningController::Command {
    unsigned id;
    void (TuningController::*run)();
};

const TuningController::Command TuningController::kCommands[] = {
    {ID_FILE_APPLY, &TuningController::ApplySettings},
    {ID_FILE_RESTORE, &TuningController::RestoreWindowsDefaults},
    {ID_HELP_TOPICS, &TuningController::OnHelpTopics},
    {ID_APP_ABOUT, &TuningController::OnAbout},
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
            failures = TuningEngine(*registry_, *desktop_, config_).ApplyTuning();
        }
        view_->StepProgress(StepCount(step));
    }
    view_->EndProgress();
    OfferRestart(failures);
}

bool TuningController::FillTuning() {
    if (config_.mode != "MANUAL") {
        ApplyPreset(config_);
        return true;
    }
    const ManualValidation manual = ValidateManualValues(view_->ReadForm(), config_);
    if (!manual.valid) {
        desktop_->ShowMessageBox(0, manual.message, product_->ProductName(), MB_ICONEXCLAMATION);
        return false;
    }
    config_ = manual.config;
    return true;
}

void TuningController::OfferRestart(int failures) {
    const std::string name = product_->ProductName();
    int answer;
    if (failures == 0) {
        answer = desktop_->ShowMessageBox(view_->Owner(),
                                          "System changes were successful done.\n\n"
                                          "In order to enjoy all the benefits of " +
                                              name +
                                              "\nit's highly recommended to restart your computer.\n\n"
                                              "Would you like to restart your computer now?",
                                          name, MB_YESNO | MB_ICONQUESTION);
    } else {
        // Said plainly instead of the success text: the user must know that
        // some settings did not take.
        answer = desktop_->ShowMessageBox(view_->Owner(),
                                          std::to_string(failures) +
                                              " of the new settings could not be written: the registry refused them.\n"
                                              "You may lack the rights to change them.\n\n"
                                              "The other settings take effect when you restart your computer.\n\n"
                                              "Would you like to restart your computer now?",
                                          name, MB_YESNO | MB_ICONWARNING);
    }
    if (answer == IDYES) {
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

void TuningController::OnHelpTopics() { product_->ShowHelpTopic("zartune.hlp", "Welcome to Zarvo\xAE 2002"); }

void TuningController::OnAbout() { view_->ShowAbout(); }

bool TuningController::HandlesCommand(unsigned id) const {
    for (const Command& command : kCommands) {
        if (command.id == id) return true;
    }
    return !framecommands::ControlPanelCommandLines(id).empty() || !framecommands::VendorAddress(id, "", "").empty();
}

bool TuningController::CommandEnabled(unsigned id) const { return HandlesCommand(id); }

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
