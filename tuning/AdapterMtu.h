#pragma once
#include "tuning/TuningConfig.h"
#include "tuning/TuningWrite.h"
#include "win32/RegKey.h"

#include <string>
#include <vector>

// An adapter's TCP/IP settings key, and the adapter's name as Windows shows it.
struct AdapterKey {
    std::string path;
    std::string name;
};

// Finds the TCP/IP settings key of every network adapter by walking the
// registry afresh each time, and adds the writes or removals of the adapter
// MTU there to a plan; the walk itself only reads. Keys that do not open and
// values that are absent skip that adapter; nothing is reported.
class AdapterMtu {
public:
    AdapterMtu(Registry& registry, const TuningConfig& config) : registry_(&registry), config_(&config) {}

    // Enum\Root\Net\0000..0099 -> TCP/IP binding -> Services\Class driver key:
    // "MaxMTU" and "MaxMSS" as texts (see MtuToWrite).
    void SetAdapterMtu9x(const std::string& action, TuningPlan& plan) const;
    // Network cards by service name, then every Tcpip interface (both as its
    // own key and as a service): "MTU" as a number (see MtuToWrite).
    void SetAdapterMtuNt(const std::string& action, TuningPlan& plan) const;

    // True for a value some walk could plan: "MaxMTU" or "MaxMSS" in a 9x
    // driver's class key, "MTU" in an NT card's or interface's TCP/IP key.
    static bool IsAdapterValue(const std::string& path, const std::string& name);

    // The keys both walks lead to, named: a 9x adapter by its "DeviceDesc", an
    // NT card and the interface of the same name by the card's "Description",
    // any other interface by its key name. Only reads.
    std::vector<AdapterKey> AdapterKeys() const;

private:
    // The class key name (such as "Net\0000") of adapter n; empty when the
    // adapter is no live entry or has no driver. description, when given, gets
    // the adapter's "DeviceDesc".
    std::string AdapterDriver9x(int n, std::string* description = nullptr) const;
    bool KeyExists(const std::string& path) const;
    void PlanNt(const std::string& path, const std::string& action, TuningPlan& plan) const;

    Registry* registry_;
    const TuningConfig* config_;
};
