#include "tuning/TuningEngine.h"

#include "tuning/OsName.h"
#include "tuning/WindowAndMtu.h"
#include "win32/RegKey.h"

#include <algorithm>
#include <optional>

namespace {

const char kNdiCachePath[] = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
const char kInternetSettingsPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// The record of an engine that only removes or lists locations: neither reads it.
const TuningConfig kNoValues;

// Windows scaling of receive windows above 65535 (RFC 1323): 1 switches it on.
// Under MSTCP on 98 and Me (KB 158474); under the Tcpip parameters on 2000
// and XP, which document it but do not add it ("Windows 2000 Registry
// Reference", Tcp1323Opts).
const char kWindowScaling[] = "Tcp1323Opts";

// Two distinct value names, one letter apart; both are always kept alike.
const char* const kNtWindowValues[] = {"GlobalMaxTcpWindoSize", "GlobalMaxTcpWindowSize", "TcpWindowSize"};

}  // namespace

TuningEngine::TuningEngine(Registry& registry, Desktop& desktop, const TuningConfig& config)
    : registry_(&registry), desktop_(&desktop), config_(&config), adapters_(registry, config) {}

TuningEngine::TuningEngine(Registry& registry, Desktop& desktop) : TuningEngine(registry, desktop, kNoValues) {}

TuningCounts TuningEngine::ApplyTuning() { return ExecutePlan(*registry_, PlanWrites(kWriteAction)); }

TuningCounts TuningEngine::RemoveTuning() { return ExecutePlan(*registry_, PlanWrites(kRemoveAction)); }

std::vector<RegLocation> TuningEngine::TouchedLocations() const {
    // Remove touches every value that any Apply may change.
    std::vector<RegLocation> locations;
    for (const TuningWrite& write : PlanWrites(kRemoveAction)) locations.push_back({write.path, write.name});
    return locations;
}

TuningPlan TuningEngine::PlanWrites(const std::string& action) const {
    TuningPlan plan;
    if (IsNtFamily(*desktop_)) {
        adapters_.SetAdapterMtuNt(action, plan);
    } else {
        adapters_.SetAdapterMtu9x(action, plan);
    }
    WriteTcpParameters(action, plan);
    WriteConnectionLimits(action, plan);
    return plan;
}

bool TuningEngine::IsTuningValue(const std::string& path, const std::string& name) const {
    if (AdapterMtu::IsAdapterValue(path, name)) return true;
    // The values of both families that do not depend on the adapters found.
    TuningPlan plan;
    WriteMstcp9x(kRemoveAction, std::string(), plan);
    WriteNdiCache9x(kRemoveAction, plan);
    WriteTcpipNt(kRemoveAction, std::string(), plan);
    WriteConnectionLimits(kRemoveAction, plan);
    return std::any_of(plan.begin(), plan.end(), [&](const TuningWrite& write) {
        return SameRegistryName(write.path, path) && SameRegistryName(write.name, name);
    });
}

void TuningEngine::WriteTcpParameters(const std::string& action, TuningPlan& plan) const {
    const std::string osName = GetOsName(*desktop_);
    if (IsNtFamily(osName)) {
        WriteTcpipNt(action, osName, plan);
    } else {
        WriteMstcp9x(action, osName, plan);
        WriteNdiCache9x(action, plan);
    }
}

void TuningEngine::WriteMstcp9x(const std::string& action, const std::string& osName, TuningPlan& plan) const {
    if (IsRemoveAction(action)) {
        for (const char* name : {"DefaultRcvWindow", kWindowScaling, "DefaultTTL", "PMTUDiscovery",
                                 "PMTUBlackHoleDetect", "SessionKeepAlive"}) {
            plan.push_back(TuningWrite::Delete(kMstcpPath, name));
        }
        return;
    }
    // Windows 98 alone keeps these as texts; 95 and Me want numbers (KB 158474).
    const auto value = [&](const char* name, const std::string& text, DWORD number) {
        plan.push_back(osName == "Windows 98" ? TuningWrite::Text(kMstcpPath, name, text)
                                              : TuningWrite::Number(kMstcpPath, name, number));
    };
    const WindowValue window = WindowToWrite(*config_, osName);
    if (window.window) {
        value("DefaultRcvWindow", window.windowText, *window.window);
    } else {
        plan.push_back(TuningWrite::Delete(kMstcpPath, "DefaultRcvWindow"));
    }
    if (window.scaling) {
        value(kWindowScaling, "1", 1);
    } else {
        plan.push_back(TuningWrite::Delete(kMstcpPath, kWindowScaling));
    }
    value("PMTUDiscovery", config_->pmtuText, config_->pmtuDiscovery);
    value("PMTUBlackHoleDetect", config_->blackHoleText, config_->blackHoleDetect);
    value("SessionKeepAlive", config_->keepAliveText, config_->keepAliveMs);
    plan.push_back(TuningWrite::Text(kMstcpPath, "DefaultTTL", config_->ttlText));
}

void TuningEngine::WriteNdiCache9x(const std::string& action, TuningPlan& plan) const {
    // Remove empties the default value rather than deleting it.
    plan.push_back(TuningWrite::Text(kNdiCachePath, "", IsRemoveAction(action) ? std::string() : config_->ndiCacheText));
}

void TuningEngine::WriteTcpipNt(const std::string& action, const std::string& osName, TuningPlan& plan) const {
    const bool remove = IsRemoveAction(action);
    const WindowValue window = WindowToWrite(*config_, osName);
    for (const char* name : kNtWindowValues) {
        plan.push_back(remove || !window.window ? TuningWrite::Delete(kTcpipPath, name)
                                                : TuningWrite::Number(kTcpipPath, name, *window.window));
    }
    plan.push_back(!remove && window.scaling ? TuningWrite::Number(kTcpipPath, kWindowScaling, 1)
                                             : TuningWrite::Delete(kTcpipPath, kWindowScaling));
    const struct {
        const char* name;
        DWORD number;
    } values[] = {
        {"DefaultTTL", config_->ttl},
        {"EnablePMTUDiscovery", config_->pmtuDiscovery},
        {"EnablePMTUBHDetect", config_->blackHoleDetect},
        {"KeepAliveTime", config_->keepAliveMs},
    };
    for (const auto& value : values) {
        plan.push_back(remove ? TuningWrite::Delete(kTcpipPath, value.name)
                              : TuningWrite::Number(kTcpipPath, value.name, value.number));
    }
}

void TuningEngine::WriteConnectionLimits(const std::string& action, TuningPlan& plan) const {
    for (const auto& value : {std::make_pair("MaxConnectionsPer1_0Server", config_->maxConnPer1_0Server),
                              std::make_pair("MaxConnectionsPerServer", config_->maxConnPerServer)}) {
        plan.push_back(IsRemoveAction(action) ? TuningWrite::Delete(kInternetSettingsPath, value.first)
                                              : TuningWrite::Number(kInternetSettingsPath, value.first, value.second));
    }
}
