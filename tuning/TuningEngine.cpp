#include "tuning/TuningEngine.h"

#include "common/ProductInfo.h"
#include "tuning/OsName.h"
#include "win32/RegKey.h"

namespace {

constexpr RegRoot kMachine = RegRoot::LocalMachine;

// "Vxd" and "VxD" as the keys are known; key names match case-insensitively.
const char kMstcpPath[] = "System\\CurrentControlSet\\Services\\Vxd\\MSTCP";
const char kNdiCachePath[] = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
const char kTcpipPath[] = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const char kInternetSettingsPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Two distinct value names, one letter apart; both are always kept alike.
const char* const kNtWindowValues[] = {"GlobalMaxTcpWindoSize", "GlobalMaxTcpWindowSize", "TcpWindowSize"};

}  // namespace

TuningEngine::TuningEngine(Registry& registry, Desktop& desktop, const TuningConfig& config)
    : registry_(&registry), desktop_(&desktop), config_(&config), adapters_(registry, config) {}

void TuningEngine::ApplyTuning() { RunSequence(kWriteAction); }

void TuningEngine::RemoveTuning() { RunSequence(kRemoveAction); }

void TuningEngine::RunSequence(const std::string& action) {
    if (IsNtFamily(*desktop_)) {
        adapters_.SetAdapterMtuNt(action);
    } else {
        adapters_.SetAdapterMtu9x(action);
    }
    WriteTcpParameters(action);
    WriteConnectionLimits(action);
}

void TuningEngine::RestoreWindowsDefaults(bool interactive) {
    const char question[] = "The program will restore all Windows default settings.\nWould you like to continue?";
    if (interactive &&
        desktop_->ShowMessageBox(0, question, ProductInfo::kProductName, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    RemoveTuning();
    if (interactive) {
        desktop_->ShowMessageBox(0, "Windows default settings were successfully restored.", ProductInfo::kProductName,
                                 MB_ICONINFORMATION);
    }
}

void TuningEngine::WriteTcpParameters(const std::string& action) {
    const std::string osName = GetOsName(*desktop_);
    if (IsNtFamily(osName)) {
        WriteTcpipNt(action);
    } else {
        WriteMstcp9x(action, osName == "Windows 98");
        WriteNdiCache9x(action);
    }
}

void TuningEngine::WriteMstcp9x(const std::string& action, bool windows98) {
    RegKey key(*registry_);
    if (key.Open(kMachine, kMstcpPath, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    if (IsRemoveAction(action)) {
        for (const char* name : {"DefaultRcvWindow", "DefaultTTL", "PMTUDiscovery", "PMTUBlackHoleDetect",
                                 "SessionKeepAlive"}) {
            key.Delete(name);
        }
        return;
    }
    // Windows 98 alone keeps these as texts; 95 and Me want numbers.
    if (windows98) {
        key.SetString("DefaultRcvWindow", config_->rwinText);
        key.SetString("PMTUDiscovery", config_->pmtuText);
        key.SetString("PMTUBlackHoleDetect", config_->blackHoleText);
        key.SetString("SessionKeepAlive", config_->keepAliveText);
    } else {
        key.SetDword("DefaultRcvWindow", config_->rwin);
        key.SetDword("PMTUDiscovery", config_->pmtuDiscovery);
        key.SetDword("PMTUBlackHoleDetect", config_->blackHoleDetect);
        key.SetDword("SessionKeepAlive", config_->keepAliveMs);
    }
    key.SetString("DefaultTTL", config_->ttlText);
    if (config_->rwin == 0) key.Delete("DefaultRcvWindow");
}

void TuningEngine::WriteNdiCache9x(const std::string& action) {
    RegKey key(*registry_);
    if (key.Open(kMachine, kNdiCachePath, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    // Remove empties the default value rather than deleting it.
    key.SetString("", IsRemoveAction(action) ? std::string() : config_->ndiCacheText);
}

void TuningEngine::WriteTcpipNt(const std::string& action) {
    RegKey key(*registry_);
    if (key.Open(kMachine, kTcpipPath, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    const struct {
        const char* name;
        DWORD number;
    } values[] = {
        {kNtWindowValues[0], config_->rwin},
        {kNtWindowValues[1], config_->rwin},
        {kNtWindowValues[2], config_->rwin},
        {"DefaultTTL", config_->ttl},
        {"EnablePMTUDiscovery", config_->pmtuDiscovery},
        {"EnablePMTUBHDetect", config_->blackHoleDetect},
        {"KeepAliveTime", config_->keepAliveMs},
    };
    const bool remove = IsRemoveAction(action);
    for (const auto& value : values) {
        if (remove) {
            key.Delete(value.name);
        } else {
            key.SetDword(value.name, value.number);
        }
    }
    if (config_->rwin == 0) {
        for (const char* name : kNtWindowValues) key.Delete(name);
    }
}

void TuningEngine::WriteConnectionLimits(const std::string& action) {
    RegKey key(*registry_);
    if (key.Open(kMachine, kInternetSettingsPath, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    if (IsRemoveAction(action)) {
        key.Delete("MaxConnectionsPer1_0Server");
        key.Delete("MaxConnectionsPerServer");
    } else {
        key.SetDword("MaxConnectionsPer1_0Server", config_->maxConnPer1_0Server);
        key.SetDword("MaxConnectionsPerServer", config_->maxConnPerServer);
    }
}
