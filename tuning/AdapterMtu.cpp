#include "tuning/AdapterMtu.h"

#include "tuning/WindowAndMtu.h"

#include <optional>

namespace {

constexpr RegRoot kMachine = RegRoot::LocalMachine;
constexpr DWORD kQueryBufferSize = 1000;

// The walk only reads; the plan's writes open their keys themselves.
constexpr REGSAM kWalkAccess = KEY_READ;

const std::string kClassPath = "System\\CurrentControlSet\\Services\\Class\\";
const std::string kNetworkCardsPath = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
const std::string kInterfacesPath = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
const std::string kServicesPath = "SYSTEM\\CurrentControlSet\\Services\\";

// Four-digit names such as "0003" and "0042".
std::string FourDigits(int number) { return (number < 10 ? "000" : "00") + std::to_string(number); }

// A service's name is one key name: a damaged one holding a separator would
// lead to some other key below Services.
bool IsServiceName(const std::string& name) { return !name.empty() && name.find('\\') == std::string::npos; }

// The rest of path after prefix, when path starts with it.
bool After(const std::string& path, const std::string& prefix, std::string* rest) {
    if (path.size() < prefix.size() || !SameRegistryName(path.substr(0, prefix.size()), prefix)) return false;
    *rest = path.substr(prefix.size());
    return true;
}

}  // namespace

void AdapterMtu::SetAdapterMtu9x(const std::string& action, TuningPlan& plan) const {
    const MtuValue values = MtuToWrite(*config_);
    const bool write = !IsRemoveAction(action) && values.mtuText;
    for (int n = 0; n < 100; ++n) {
        const std::string driver = AdapterDriver9x(n);
        if (driver.empty()) continue;
        const std::string path = kClassPath + driver;
        if (!KeyExists(path)) continue;
        if (write) {
            plan.push_back(TuningWrite::Text(path, "MaxMTU", *values.mtuText));
            plan.push_back(TuningWrite::Text(path, "MaxMSS", values.mssText));
        } else {
            plan.push_back(TuningWrite::Delete(path, "MaxMTU"));
            plan.push_back(TuningWrite::Delete(path, "MaxMSS"));
        }
    }
}

std::string AdapterMtu::AdapterDriver9x(int n, std::string* description) const {
    const std::string adapter = "Enum\\Root\\Net\\" + FourDigits(n);
    RegKey key(*registry_);
    // The description, of whatever type, proves a live adapter; it also names it.
    if (key.Open(kMachine, adapter, kWalkAccess) != ERROR_SUCCESS || !key.HasValue("DeviceDesc", kQueryBufferSize)) {
        return {};
    }
    if (description != nullptr) *description = key.QueryDataAsText("DeviceDesc", kQueryBufferSize).value_or("");
    if (key.Open(kMachine, adapter + "\\Bindings", kWalkAccess) != ERROR_SUCCESS) return {};
    // The first TCP/IP binding; without one the last name tried is used.
    std::string binding;
    for (int m = 0; m < 100; ++m) {
        binding = "MSTCP\\" + FourDigits(m);
        if (key.HasValue(binding, kQueryBufferSize)) break;
    }
    if (key.Open(kMachine, "Enum\\Network\\" + binding, kWalkAccess) != ERROR_SUCCESS) return {};
    // Read as text whatever its type, as a plain query into a text buffer reads it.
    const std::string driver = key.QueryDataAsText("Driver", kQueryBufferSize).value_or("");
    // A damaged driver text of separators alone would name the class key itself.
    if (driver.find_first_not_of('\\') == std::string::npos) return {};
    return driver;
}

void AdapterMtu::SetAdapterMtuNt(const std::string& action, TuningPlan& plan) const {
    RegKey cards(*registry_);
    if (cards.Open(kMachine, kNetworkCardsPath, kWalkAccess) == ERROR_SUCCESS) {
        // A card key that does not open keeps the previous card's service.
        std::string serviceName;
        std::string card;
        for (DWORD index = 0; cards.EnumKey(index, &card) == ERROR_SUCCESS; ++index) {
            RegKey cardKey(*registry_);
            if (cardKey.Open(kMachine, kNetworkCardsPath + "\\" + card, kWalkAccess) == ERROR_SUCCESS) {
                // Read as text whatever its type, as a plain query into a text buffer reads it.
                const auto read = cardKey.QueryDataAsText("ServiceName", kQueryBufferSize);
                if (!read) continue;
                serviceName = *read;
            }
            if (IsServiceName(serviceName)) PlanNt(kServicesPath + serviceName + "\\Parameters\\Tcpip", action, plan);
        }
    }
    RegKey interfaces(*registry_);
    if (interfaces.Open(kMachine, kInterfacesPath, kWalkAccess) == ERROR_SUCCESS) {
        std::string name;
        for (DWORD index = 0; interfaces.EnumKey(index, &name) == ERROR_SUCCESS; ++index) {
            PlanNt(kInterfacesPath + "\\" + name, action, plan);
            PlanNt(kServicesPath + name + "\\Parameters\\Tcpip", action, plan);
        }
    }
}

void AdapterMtu::PlanNt(const std::string& path, const std::string& action, TuningPlan& plan) const {
    if (!KeyExists(path)) return;
    const std::optional<DWORD> mtu = MtuToWrite(*config_).mtu;
    if (!IsRemoveAction(action) && mtu) {
        plan.push_back(TuningWrite::Number(path, "MTU", *mtu));
    } else {
        plan.push_back(TuningWrite::Delete(path, "MTU"));
    }
}

// A key that refuses to open is still there: its writes go into the plan, so
// that their failure is seen.
bool AdapterMtu::KeyExists(const std::string& path) const {
    RegKey key(*registry_);
    return key.Open(kMachine, path, kWalkAccess) != ERROR_FILE_NOT_FOUND;
}

bool AdapterMtu::IsAdapterValue(const std::string& path, const std::string& name) {
    std::string rest;
    if (SameRegistryName(name, "MaxMTU") || SameRegistryName(name, "MaxMSS")) {
        return After(path, kClassPath, &rest) && rest.find_first_not_of('\\') != std::string::npos;
    }
    if (!SameRegistryName(name, "MTU")) return false;
    if (After(path, kInterfacesPath + "\\", &rest)) return IsServiceName(rest);
    const std::string tcpip = "\\Parameters\\Tcpip";
    return After(path, kServicesPath, &rest) && rest.size() > tcpip.size() &&
           SameRegistryName(rest.substr(rest.size() - tcpip.size()), tcpip) &&
           IsServiceName(rest.substr(0, rest.size() - tcpip.size()));
}

std::vector<AdapterKey> AdapterMtu::AdapterKeys() const {
    std::vector<AdapterKey> keys;
    for (int n = 0; n < 100; ++n) {
        std::string description;
        const std::string driver = AdapterDriver9x(n, &description);
        if (!driver.empty()) keys.push_back({kClassPath + driver, description});
    }
    std::vector<AdapterKey> services;  // service name and card description
    RegKey cards(*registry_);
    std::string card;
    const bool cardsOpen = cards.Open(kMachine, kNetworkCardsPath, kWalkAccess) == ERROR_SUCCESS;
    for (DWORD index = 0; cardsOpen && cards.EnumKey(index, &card) == ERROR_SUCCESS; ++index) {
        RegKey cardKey(*registry_);
        if (cardKey.Open(kMachine, kNetworkCardsPath + "\\" + card, kWalkAccess) != ERROR_SUCCESS) continue;
        const std::string service = cardKey.QueryDataAsText("ServiceName", kQueryBufferSize).value_or("");
        if (!IsServiceName(service)) continue;
        std::string description = cardKey.QueryDataAsText("Description", kQueryBufferSize).value_or("");
        if (description.empty()) description = service;
        services.push_back({service, description});
        keys.push_back({kServicesPath + service + "\\Parameters\\Tcpip", description});
    }
    RegKey interfaces(*registry_);
    std::string name;
    const bool interfacesOpen = interfaces.Open(kMachine, kInterfacesPath, kWalkAccess) == ERROR_SUCCESS;
    for (DWORD index = 0; interfacesOpen && interfaces.EnumKey(index, &name) == ERROR_SUCCESS; ++index) {
        std::string label = name;
        for (const AdapterKey& service : services) {
            if (SameRegistryName(service.path, name)) label = service.name;
        }
        keys.push_back({kInterfacesPath + "\\" + name, label});
        keys.push_back({kServicesPath + name + "\\Parameters\\Tcpip", label});
    }
    return keys;
}
