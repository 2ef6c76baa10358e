#include "configurator/CurrentSettings.h"

#include "common/NumberText.h"
#include "tuning/TuningEngine.h"
#include "win32/RegKey.h"

namespace {

// What each tuned value is, by value name; an empty name is the NDI cache's
// default value. Null: a receive window value, which NT keeps in three, so
// that each row names its value.
const struct {
    const char* name;
    const char* setting;
} kSettings[] = {
    {"MaxMTU", "MTU"},
    {"MaxMSS", "MSS"},
    {"MTU", "MTU"},
    {"DefaultRcvWindow", nullptr},
    {"GlobalMaxTcpWindoSize", nullptr},
    {"GlobalMaxTcpWindowSize", nullptr},
    {"TcpWindowSize", nullptr},
    {"Tcp1323Opts", "Window scaling"},
    {"DefaultTTL", "TTL"},
    {"PMTUDiscovery", "Path MTU discovery"},
    {"EnablePMTUDiscovery", "Path MTU discovery"},
    {"PMTUBlackHoleDetect", "Black hole detection"},
    {"EnablePMTUBHDetect", "Black hole detection"},
    {"SessionKeepAlive", "Keep-alive time"},
    {"KeepAliveTime", "Keep-alive time"},
    {"", "NDI cache size"},
    {"MaxConnectionsPer1_0Server", "Connections per HTTP 1.0 server"},
    {"MaxConnectionsPerServer", "Connections per HTTP 1.1 server"},
};

// Hex beyond this many bytes says nothing more to a reader.
constexpr std::size_t kLongestHex = 32;

std::string SettingName(const PreviousValue& value, const std::vector<AdapterKey>& adapters) {
    std::string setting = value.name;
    for (const auto& known : kSettings) {
        if (!SameRegistryName(known.name, value.name)) continue;
        if (known.setting != nullptr) {
            setting = known.setting;
        } else {
            setting = "Receive window (";
            setting += value.name;
            setting += ')';
        }
    }
    if (!AdapterMtu::IsAdapterValue(value.path, value.name)) return setting;
    std::string adapter = value.path.substr(value.path.rfind('\\') + 1);
    for (const AdapterKey& key : adapters) {
        if (SameRegistryName(key.path, value.path)) adapter = key.name;
    }
    // 2000 and XP keep a card's MTU in its interface key too, named after the card.
    if (value.path.find("\\Interfaces\\") != std::string::npos) adapter += " (interface)";
    return setting + " of " + adapter;
}

// A cell holds one line: the clipboard's TABs and CRLFs must stay separators.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    return text;
}

const TuningWrite* LastWrite(const TuningPlan& plan, const PreviousValue& value) {
    const TuningWrite* found = nullptr;
    for (const TuningWrite& write : plan) {
        if (SameRegistryName(write.path, value.path) && SameRegistryName(write.name, value.name)) found = &write;
    }
    return found;
}

}  // namespace

std::string CurrentSettings::ValueText(bool present, const RegValue& value) {
    if (!present) return kNotSet;
    const std::vector<BYTE>& data = value.data;
    if (const std::optional<DWORD> number = DwordOf(value)) return std::to_string(*number);
    if (value.type == REG_SZ) {
        const std::string text(data.begin(), data.end());
        return OneLine(text.substr(0, text.find('\0')));
    }
    std::string text = value.type == REG_BINARY ? "hex:" : "hex(" + std::to_string(value.type) + "):";
    for (std::size_t i = 0; i < data.size() && i < kLongestHex; ++i) {
        if (i > 0) text += ',';
        text += HexNumber(data[i], 2);
    }
    if (data.size() > kLongestHex) text += ",...";
    return text;
}

CurrentSettings CurrentSettings::Build(const PreviousSettings& now, const TuningPlan* afterApply,
                                       const std::vector<AdapterKey>& adapters, const std::string& problem) {
    CurrentSettings table;
    table.problem_ = OneLine(problem);
    for (const PreviousValue& value : now.Values()) {
        CurrentSettingsRow row;
        row.setting = SettingName(value, adapters);
        row.where = "HKLM\\" + value.path + "\\" + (value.name.empty() ? "(Default)" : value.name);
        row.now = ValueText(value.present, value.value);
        if (afterApply != nullptr) {
            // A value no write names keeps what it holds.
            bool present = value.present;
            RegValue after = value.value;
            if (const TuningWrite* write = LastWrite(*afterApply, value)) {
                present = !write->remove;
                after = {write->type, write->data};
            }
            row.afterApply = ValueText(present, after);
            row.differs = present != value.present || (present && after.type != value.value.type) ||
                          row.afterApply != row.now;
        }
        table.rows_.push_back(std::move(row));
    }
    return table;
}

CurrentSettings CurrentSettings::Read(Registry& registry, Desktop& desktop, const TuningConfig& config,
                                      const std::string& problem) {
    const TuningEngine engine(registry, desktop, config);
    const PreviousSettings now = PreviousSettings::Capture(registry, engine.TouchedLocations());
    const TuningPlan after = problem.empty() ? engine.PlanWrites(kWriteAction) : TuningPlan();
    return Build(now, problem.empty() ? &after : nullptr, AdapterMtu(registry, config).AdapterKeys(), problem);
}

std::vector<std::string> CurrentSettings::Cells(const CurrentSettingsRow& row) {
    // Adapter names and key names come from the registry and may break a line too.
    return {OneLine((row.differs ? kMark : "") + row.setting), OneLine(row.where), row.now, row.afterApply};
}

std::string CurrentSettings::ClipboardText() const {
    std::string text = "Setting\tWhere\tNow\tAfter Apply\r\n";
    for (const CurrentSettingsRow& row : rows_) {
        for (const std::string& cell : Cells(row)) {
            text += cell;
            text += '\t';
        }
        // The last cell ends its line instead.
        text.back() = '\r';
        text += '\n';
    }
    return text;
}
