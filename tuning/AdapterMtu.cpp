#include "tuning/AdapterMtu.h"

namespace {

constexpr RegRoot kMachine = RegRoot::LocalMachine;
constexpr DWORD kQueryBufferSize = 1000;

// The walk queries through these keys, and NT-kernel systems refuse a query
// through a handle opened for writing only.
constexpr REGSAM kWalkAccess = KEY_READ | KEY_WRITE;

const std::string kClassPath = "System\\CurrentControlSet\\Services\\Class\\";
const std::string kNetworkCardsPath = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
const std::string kInterfacesPath = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
const std::string kServicesPath = "SYSTEM\\CurrentControlSet\\Services\\";

// Four-digit names such as "0003" and "0042".
std::string FourDigits(int number) { return (number < 10 ? "000" : "00") + std::to_string(number); }

bool QueryText(const RegKey& key, const std::string& name, std::string* text) {
    RegValue value;
    if (key.Query(name, kQueryBufferSize, &value) != ERROR_SUCCESS) return false;
    std::string stored(value.data.begin(), value.data.end());
    *text = stored.substr(0, stored.find('\0'));
    return true;
}

bool HasValue(const RegKey& key, const std::string& name) {
    RegValue value;
    return key.Query(name, kQueryBufferSize, &value) == ERROR_SUCCESS;
}

}  // namespace

void AdapterMtu::SetAdapterMtu9x(const std::string& action) {
    const bool write = !IsRemoveAction(action) && config_->mtuText != "0";
    for (int n = 0; n < 100; ++n) {
        const std::string driver = AdapterDriver9x(n);
        if (driver.empty()) continue;
        RegKey key(*registry_);
        if (key.Open(kMachine, kClassPath + driver, kWalkAccess) != ERROR_SUCCESS) continue;
        if (write) {
            key.SetString("MaxMTU", config_->mtuText);
            key.SetString("MaxMSS", config_->mssText);
        } else {
            key.Delete("MaxMTU");
            key.Delete("MaxMSS");
        }
    }
}

std::string AdapterMtu::AdapterDriver9x(int n) const {
    const std::string adapter = "Enum\\Root\\Net\\" + FourDigits(n);
    RegKey key(*registry_);
    std::string text;
    // The description itself is not used: it only proves a live adapter.
    if (key.Open(kMachine, adapter, kWalkAccess) != ERROR_SUCCESS || !QueryText(key, "DeviceDesc", &text)) return {};
    if (key.Open(kMachine, adapter + "\\Bindings", kWalkAccess) != ERROR_SUCCESS) return {};
    // The first TCP/IP binding; without one the last name tried is used.
    std::string binding;
    for (int m = 0; m < 100; ++m) {
        binding = "MSTCP\\" + FourDigits(m);
        if (HasValue(key, binding)) break;
    }
    std::string driver;
    if (key.Open(kMachine, "Enum\\Network\\" + binding, kWalkAccess) != ERROR_SUCCESS ||
        !QueryText(key, "Driver", &driver)) {
        return {};
    }
    return driver;
}

void AdapterMtu::SetAdapterMtuNt(const std::string& action) {
    RegKey cards(*registry_);
    if (cards.Open(kMachine, kNetworkCardsPath, KEY_ALL_ACCESS) == ERROR_SUCCESS) {
        // A card key that does not open keeps the previous card's service.
        std::string serviceName;
        std::string card;
        for (DWORD index = 0; cards.EnumKey(index, &card) == ERROR_SUCCESS; ++index) {
            RegKey cardKey(*registry_);
            if (cardKey.Open(kMachine, kNetworkCardsPath + "\\" + card, KEY_ALL_ACCESS) == ERROR_SUCCESS &&
                !QueryText(cardKey, "ServiceName", &serviceName)) {
                continue;
            }
            if (!serviceName.empty()) ApplyNt(kServicesPath + serviceName + "\\Parameters\\Tcpip", action);
        }
    }
    RegKey interfaces(*registry_);
    if (interfaces.Open(kMachine, kInterfacesPath, KEY_ALL_ACCESS) == ERROR_SUCCESS) {
        std::string name;
        for (DWORD index = 0; interfaces.EnumKey(index, &name) == ERROR_SUCCESS; ++index) {
            ApplyNt(kInterfacesPath + "\\" + name, action);
            ApplyNt(kServicesPath + name + "\\Parameters\\Tcpip", action);
        }
    }
}

void AdapterMtu::ApplyNt(const std::string& path, const std::string& action) const {
    RegKey key(*registry_);
    if (key.Open(kMachine, path, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    if (!IsRemoveAction(action) && config_->mtu != 0) {
        key.SetDword("MTU", config_->mtu);
    } else {
        key.Delete("MTU");
    }
}
