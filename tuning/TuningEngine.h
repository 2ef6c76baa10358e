#pragma once
#include "tuning/AdapterMtu.h"
#include "tuning/PreviousSettings.h"
#include "tuning/TuningConfig.h"
#include "tuning/TuningWrite.h"
#include "win32/Desktop.h"
#include "win32/Registry.h"

#include <string>
#include <vector>

// Writes the tuning record into the registry layout of the running Windows
// family, and removes it again so that Windows falls back to its defaults.
// The record is only read. Each run first plans its writes, then carries them
// out. Keys that do not exist are skipped silently, since adapters and
// components come and go; a value whose key exists but that could not be
// written or deleted counts as a failure.
class TuningEngine {
public:
    // "Vxd" and "VxD" as the keys are known; key names match case-insensitively.
    static constexpr const char* kMstcpPath = "System\\CurrentControlSet\\Services\\Vxd\\MSTCP";
    static constexpr const char* kTcpipPath = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";

    TuningEngine(Registry& registry, Desktop& desktop, const TuningConfig& config);
    // For removing and for listing what Apply touches, which need no values.
    TuningEngine(Registry& registry, Desktop& desktop);

    // Adapter MTU, TCP/IP values, connection limits, in that order.
    TuningCounts ApplyTuning();
    // The same three with the "REMOVE" action: Windows falls back to its defaults.
    TuningCounts RemoveTuning();

    // The writes of one run for the running family, in order; only reads the registry.
    TuningPlan PlanWrites(const std::string& action) const;
    // Every value that any Apply may change on this computer now: what the
    // previous-settings record keeps, Current Settings shows and Restore removes.
    std::vector<RegLocation> TouchedLocations() const;
    // True for a value that a run on either family may write or delete.
    bool IsTuningValue(const std::string& path, const std::string& name) const;

    void WriteTcpParameters(const std::string& action, TuningPlan& plan) const;
    void WriteConnectionLimits(const std::string& action, TuningPlan& plan) const;

private:
    void WriteMstcp9x(const std::string& action, const std::string& osName, TuningPlan& plan) const;
    void WriteNdiCache9x(const std::string& action, TuningPlan& plan) const;
    void WriteTcpipNt(const std::string& action, const std::string& osName, TuningPlan& plan) const;

    Registry* registry_;
    Desktop* desktop_;
    const TuningConfig* config_;
    AdapterMtu adapters_;
};
