#include "configurator/ConfiguratorStartup.h"

#include "tuning/TuningEngine.h"

ConfiguratorStartup::ConfiguratorStartup(Registry& registry, Desktop& desktop, ProductInfo& product)
    : registry_(&registry), desktop_(&desktop), product_(&product) {}

StartupOutcome ConfiguratorStartup::Run() {
    const std::string word = product_->SwitchWord();
    if (word == "uninstall") {
        // Removing reads nothing of the record: a fresh one serves.
        const TuningConfig config;
        TuningEngine(*registry_, *desktop_, config).RestoreWindowsDefaults(false);
        return StartupOutcome::End;
    }
    if (word == "apply") {
        // Nobody may be there to answer a box: a missing folder or agent is
        // left to the exit code.
        const std::string folder = product_->StoredInstallFolder();
        if (!folder.empty()) desktop_->ShellExecuteFile(0, "open", folder + "zarwatch.exe", "/auto", "", SW_SHOWNORMAL);
        return StartupOutcome::ApplyUnattended;
    }
    if (!StartAgent()) return StartupOutcome::End;
    if (word == "about") return StartupOutcome::ShowAbout;
    if (word == "ping") {
        return product_->CanWriteMachineSettings(kPingConfigurationTag) ? StartupOutcome::ShowKeepAlive
                                                                        : StartupOutcome::End;
    }
    if (!product_->CanWriteMachineSettings(kConfigurationTag)) return StartupOutcome::End;
    return word == "detect" ? StartupOutcome::OpenMainWindowHidden : StartupOutcome::OpenMainWindow;
}

bool ConfiguratorStartup::StartAgent() {
    const std::string path = product_->InstallFolder() + "zarwatch.exe";
    if (desktop_->ShellExecuteFile(0, "open", path, "/auto", "", SW_SHOWNORMAL) > 32) return true;
    desktop_->ShowMessageBox(0, product_->MissingFilesText("00102"), product_->ProductName() + " - Missing files",
                             MB_SYSTEMMODAL | MB_ICONERROR);
    return false;
}
