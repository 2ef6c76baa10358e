#pragma once
#include "tuning/AdapterMtu.h"
#include "tuning/TuningConfig.h"
#include "win32/Desktop.h"
#include "win32/Registry.h"

#include <string>

// Writes the tuning record into the registry layout of the running Windows
// family, and removes it again so that Windows falls back to its defaults.
// The record is only read. Keys that do not open are skipped silently and
// set/delete results are not checked: the writers never report anything.
class TuningEngine {
public:
    TuningEngine(Registry& registry, Desktop& desktop, const TuningConfig& config);

    // Adapter MTU, TCP/IP values, connection limits, in that order.
    void ApplyTuning();
    // The same three with the "REMOVE" action.
    void RemoveTuning();
    // Interactive: asks first (No stops with nothing changed) and confirms
    // afterwards. Silent (the uninstaller's path): no message at all.
    void RestoreWindowsDefaults(bool interactive);

    void WriteTcpParameters(const std::string& action);
    void WriteConnectionLimits(const std::string& action);

private:
    void RunSequence(const std::string& action);
    void WriteMstcp9x(const std::string& action, bool windows98);
    void WriteNdiCache9x(const std::string& action);
    void WriteTcpipNt(const std::string& action);

    Registry* registry_;
    Desktop* desktop_;
    const TuningConfig* config_;
    AdapterMtu adapters_;
};
