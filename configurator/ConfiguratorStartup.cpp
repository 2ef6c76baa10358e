#include "configurator/ConfiguratorStartup.h"

#include "tuning/TuningEngine.h"

ConfiguratorStartup::ConfiguratorStartup(Registry& registry, Desktop& desktop, ProductInfo& product,
                                         TuningConfig& config)
    : registry_(&registry), desktop_(&desktop), product_(&product), config_(&config) {}

StartupOutcome ConfiguratorStartup::Run() {
    const std::string word = product_->SwitchWord();
    if (word == "uninstall") {
        TuningEngine(*registry_, *desktop_, *config_).RestoreWindowsDefaults(false);
        return StartupOutcome::End;
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
