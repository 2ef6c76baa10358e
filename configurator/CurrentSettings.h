#pragma once
#include "tuning/AdapterMtu.h"
#include "tuning/PreviousSettings.h"
#include "tuning/TuningConfig.h"
#include "tuning/TuningWrite.h"
#include "win32/Desktop.h"
#include "win32/Registry.h"

#include <string>
#include <vector>

// One registry value that Apply could touch: what it holds now and what the
// next Apply would leave there.
struct CurrentSettingsRow {
    std::string setting;
    std::string where;
    std::string now;
    std::string afterApply;  // empty while the manual values are not valid
    bool differs = false;
};

// The "Current Settings" table. Reading it changes nothing.
class CurrentSettings {
public:
    static constexpr const char* kNotSet = "not set";
    // In front of the setting of a row that Apply would change, and its explanation.
    static constexpr const char* kMark = "* ";
    static constexpr const char* kMarkNote = "* Apply would change this value (its data or its type).";

    // A row per value now holds, in its order: the values any Apply may touch
    // (the engine's remove plan) as read. afterApply is the write plan of the
    // filled record; null, with problem naming the first invalid manual value,
    // when there is none. Adapter values are named after their adapter.
    static CurrentSettings Build(const PreviousSettings& now, const TuningPlan* afterApply,
                                 const std::vector<AdapterKey>& adapters, const std::string& problem);
    // The same from the registry of the running family; config is the record
    // Apply would write, used only when problem is empty.
    static CurrentSettings Read(Registry& registry, Desktop& desktop, const TuningConfig& config,
                                const std::string& problem);

    // A DWORD in decimal, a text up to its first NUL, other data in hex;
    // kNotSet when absent.
    static std::string ValueText(bool present, const RegValue& value);

    // What the four columns show of a row, each on one line; the setting
    // carries kMark when it differs.
    static std::vector<std::string> Cells(const CurrentSettingsRow& row);

    const std::vector<CurrentSettingsRow>& Rows() const { return rows_; }
    // The first invalid manual value's message on one line; empty when valid.
    const std::string& Problem() const { return problem_; }
    // A header line, then one line per row; cells apart by TAB, lines ended by CRLF.
    std::string ClipboardText() const;

private:
    std::vector<CurrentSettingsRow> rows_;
    std::string problem_;
};
