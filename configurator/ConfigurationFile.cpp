#include "configurator/ConfigurationFile.h"

#include "configurator/ManualValidation.h"
#include "line/LineWindow.h"

#include <cstdlib>
#include <string>

namespace {

// The manual mode's numbers, each from its lowest to its highest value.
const struct {
    const char* key;
    int lowest;
    int highest;
} kManualNumbers[] = {
    {"RWIN", -1, FormState::kReceiveWindowEntries - 1},
    {"SKA", -1, FormState::kKeepAliveEntries - 1},
    {"PMTU", 0, 1},
    {"BlackHole", 0, 1},
    {"HTTP10", 0, FormState::kConnectionEntries - 1},
    {"HTTP11", 0, FormState::kConnectionEntries - 1},
    {"NDI", -1, FormState::kNdiCacheEntries - 1},
};

std::string Number(int value) { return std::to_string(value); }

const char kAddedWindowKey[] = "RWINMultiplier";

// A list value the file keeps as a position: -1 (or no key) means "Windows Default".
void LoadListPair(ProfileSection& file, const char* key, int entries, ParameterPair& pair) {
    const int position = file.ReadInt(key, -1);
    if (position != -1) {
        pair.customChecked = true;
        pair.selection = FormState::Selectable(position, entries);
    } else {
        pair.defaultChecked = true;
    }
}

// A typed value: any non-empty text, digits or not, counts as "Custom".
void LoadTextPair(ProfileSection& file, const char* key, ParameterPair& pair) {
    const std::string text = file.ReadText(key, "");
    if (!text.empty()) {
        pair.customChecked = true;
        pair.text = text;
    } else {
        pair.defaultChecked = true;
    }
}

// The private-profile functions tell a missing key only by the default they return.
bool HasKey(ProfileSection& file, const char* key) {
    return !file.ReadText(key, "").empty() || file.ReadText(key, "-").empty();
}

// A number as Save writes it, where ReadInt would also take "2x" as 2.
bool HoldsNumber(ProfileSection& file, const char* key, int lowest, int highest) {
    const std::string text = file.ReadText(key, "");
    const long number = std::strtol(text.c_str(), nullptr, 10);
    return text == std::to_string(number) && number >= lowest && number <= highest;
}

// The measured multiplier of the added receive-window entry; 0 for none.
int AddedWindowMultiplier(ProfileSection& file) {
    return HoldsNumber(file, kAddedWindowKey, 1, static_cast<int>(LineWindow::kLargestScaled)) ? file.ReadInt(kAddedWindowKey, 0) : 0;
}

}  // namespace

void ConfigurationFile::Save(const FormState& state, ProfileSection& file) {
    file.Write("Adapter", Number(state.connectionType));
    file.Write("Mode", Number(state.mode));
    file.Write("MTU", state.Pair(Parameter::Mtu).text);
    const int window = state.Pair(Parameter::ReceiveWindow).selection;
    file.Write("RWIN", Number(window));
    // Only a file that needs it has the key, so older files stay as they were.
    if (window == FormState::kAddedWindowEntry) file.Write(kAddedWindowKey, Number(state.addedWindowMultiplier));
    file.Write("TTL", state.Pair(Parameter::Ttl).text);
    file.Write("SKA", Number(state.Pair(Parameter::KeepAlive).selection));
    file.Write("PMTU", Number(state.pmtuChecked ? 1 : 0));
    file.Write("BlackHole", Number(state.blackHoleChecked ? 1 : 0));
    file.Write("HTTP10", Number(state.http10));
    file.Write("HTTP11", Number(state.http11));
    file.Write("NDI", Number(state.Pair(Parameter::NdiCache).selection));
}

void ConfigurationFile::Load(ProfileSection& file, TuningChoices& choices) {
    FormState& state = choices.form;
    const int adapter = file.ReadInt("Adapter", 0);
    state.connectionType = FormState::Selectable(adapter, FormState::kConnectionTypes);
    const std::string connectionType = FormState::ConnectionTypeCode(adapter);
    if (!connectionType.empty()) choices.connectionType = connectionType;

    const int mode = file.ReadInt("Mode", 0);
    state.mode = FormState::Selectable(mode, FormState::kModes);
    choices.mode = FormState::ModeCode(mode);
    if (mode != FormState::kManualMode) return;

    LoadTextPair(file, "MTU", state.Pair(Parameter::Mtu));
    if (file.ReadInt("RWIN", -1) == FormState::kAddedWindowEntry) {
        state.addedWindowMultiplier = AddedWindowMultiplier(file);
    }
    LoadListPair(file, "RWIN", FormState::kReceiveWindowEntries + (state.addedWindowMultiplier > 0 ? 1 : 0),
                 state.Pair(Parameter::ReceiveWindow));
    LoadTextPair(file, "TTL", state.Pair(Parameter::Ttl));
    LoadListPair(file, "SKA", FormState::kKeepAliveEntries, state.Pair(Parameter::KeepAlive));
    state.pmtuChecked = file.ReadInt("PMTU", 1) != 0;
    state.blackHoleChecked = file.ReadInt("BlackHole", 0) != 0;
    state.http10 = FormState::Selectable(file.ReadInt("HTTP10", 0), FormState::kConnectionEntries);
    state.http11 = FormState::Selectable(file.ReadInt("HTTP11", 2), FormState::kConnectionEntries);
    LoadListPair(file, "NDI", FormState::kNdiCacheEntries, state.Pair(Parameter::NdiCache));

    state.EnableManualControls(true);
    state.EnableCustomFields();
}

bool ConfigurationFile::IsComplete(ProfileSection& file) {
    if (!HoldsNumber(file, "Adapter", 0, FormState::kConnectionTypes - 1) ||
        !HoldsNumber(file, "Mode", 0, FormState::kModes - 1)) {
        return false;
    }
    if (file.ReadInt("Mode", 0) != FormState::kManualMode) return true;
    if (!HasKey(file, "MTU") || !HasKey(file, "TTL")) return false;
    for (const auto& number : kManualNumbers) {
        if (HoldsNumber(file, number.key, number.lowest, number.highest)) continue;
        const bool addedWindow = std::string(number.key) == "RWIN" && AddedWindowMultiplier(file) > 0 &&
                                 HoldsNumber(file, "RWIN", FormState::kAddedWindowEntry, FormState::kAddedWindowEntry);
        if (!addedWindow) return false;
    }
    // A window that no Windows takes, whatever the multiplier and the MTU say.
    if (file.ReadInt("RWIN", -1) == -1) return true;
    TuningChoices choices;
    Load(file, choices);
    return ReceiveWindowOf(choices.form).has_value();
}
