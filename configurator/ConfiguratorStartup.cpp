#include "configurator/ConfiguratorStartup.h"

#include "common/MessageBoxes.h"
#include "tuning/TuningEngine.h"

ConfiguratorStartup::ConfiguratorStartup(Registry& registry, Desktop& desktop, ProductInfo& product)
    : registry_(&registry), desktop_(&desktop), product_(&product) {}

StartupOutcome ConfiguratorStartup::Run() {
    switches_ = ApplySwitches();
    const std::string word = product_->SwitchWord();
    if (word == "uninstall") {
        // Removing reads nothing of the record: a fresh one serves.
        const TuningConfig config;
        TuningEngine(*registry_, *desktop_, config).RemoveTuning();
        return StartupOutcome::End;
    }
    if (word.substr(0, word.find_first_of(" \t")) == "apply") {
        switches_ = ApplySwitches::Read(desktop_->CommandLine());
        if (!switches_.known) return StartupOutcome::UnknownApplySwitch;
        StartAgentQuietly();
        return StartupOutcome::ApplyUnattended;
    }
    if (!StartAgent()) return StartupOutcome::End;
    if (word == "about") return StartupOutcome::ShowAbout;
    if (word == "ping") {
        return product_->CanWriteMachineSettings() ? StartupOutcome::ShowKeepAlive : StartupOutcome::End;
    }
    if (!product_->CanWriteMachineSettings()) return StartupOutcome::End;
    return word == "detect" ? StartupOutcome::OpenMainWindowHidden : StartupOutcome::OpenMainWindow;
}

bool ConfiguratorStartup::StartAgent() {
    const std::string path = product_->InstallFolder() + "zarwatch.exe";
    if (desktop_->ShellExecuteFile(0, "open", path, "/auto", "", SW_SHOWNORMAL) > 32) return true;
    MessageBoxes(*desktop_).StartupError(" - Missing files", product_->MissingFilesText("00102"));
    return false;
}

void ConfiguratorStartup::StartAgentQuietly() {
    const std::string folder = product_->StoredInstallFolder();
    if (!folder.empty()) desktop_->ShellExecuteFile(0, "open", folder + "zarwatch.exe", "/auto", "", SW_SHOWNORMAL);
}
