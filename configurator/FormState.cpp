#include "configurator/FormState.h"

#include "configurator/FormLists.h"
#include "tuning/TuningConfig.h"

#include <algorithm>
#include <vector>

void FormState::ChooseWindowsDefault(Parameter parameter) {
    ParameterPair& pair = Pair(parameter);
    // Only one of the two is in use for a given pair; the other stays empty anyway.
    pair.text.clear();
    pair.selection = -1;
    pair.valueEnabled = false;
    pair.defaultChecked = true;
    pair.customChecked = false;
}

void FormState::ChooseCustom(Parameter parameter) {
    ParameterPair& pair = Pair(parameter);
    pair.valueEnabled = true;
    pair.defaultChecked = false;
    pair.customChecked = true;
}

void FormState::ChooseWindowMultiplier(int multiplier) {
    ChooseCustom(Parameter::ReceiveWindow);
    const std::vector<std::string> entries = formlists::ReceiveWindowMultipliers();
    const std::string entry = "x" + std::to_string(multiplier);
    const auto listed = std::find(entries.begin(), entries.end(), entry);
    if (listed != entries.end()) {
        Pair(Parameter::ReceiveWindow).selection = static_cast<int>(listed - entries.begin());
        return;
    }
    addedWindowMultiplier = multiplier;
    Pair(Parameter::ReceiveWindow).selection = kAddedWindowEntry;
}

std::string FormState::ReceiveWindowEntry() const {
    const int selection = Pair(Parameter::ReceiveWindow).selection;
    if (selection == kAddedWindowEntry && addedWindowMultiplier > 0) return "x" + std::to_string(addedWindowMultiplier);
    return formlists::Entry(formlists::ReceiveWindowMultipliers(), selection);
}

void FormState::EnableManualControls(bool enable) { manualEnabled = enable; }

void FormState::EnableCustomFields() {
    for (ParameterPair& pair : pairs) {
        if (pair.customChecked) pair.valueEnabled = true;
    }
}

void FormState::SwitchMode(int position) {
    mode = position;
    if (position == kManualMode) {
        EnableManualControls(true);
        for (Parameter p : {Parameter::Mtu, Parameter::ReceiveWindow, Parameter::Ttl, Parameter::KeepAlive}) {
            ChooseWindowsDefault(p);
        }
        pmtuChecked = true;
        blackHoleChecked = false;
        http10 = 0;  // "2"
        http11 = 2;  // "4"
        ChooseWindowsDefault(Parameter::NdiCache);
        EnableCustomFields();
        return;
    }
    EnableManualControls(false);
    // Each pair's "Windows Default" handler, then that button unchecked too:
    // nothing checked, nothing typed or selected, every value disabled.
    for (ParameterPair& pair : pairs) {
        pair = ParameterPair();
    }
    pmtuChecked = false;
    blackHoleChecked = false;
    http10 = -1;
    http11 = -1;
}

std::string FormState::ConnectionTypeCode(int position) {
    switch (position) {
        case 0: return kDialUp;
        case 1: return kLan;
        case 2: return kLanPppoe;
        case 3: return kLan;  // satellite
        default: return std::string();
    }
}

std::string FormState::ModeCode(int position) {
    if (position == kManualMode) return kModeManual;
    // Wider than int: a damaged file's 2147483647 still gets its "+ 1".
    return kAutoModePrefix + std::to_string(static_cast<long long>(position) + 1);
}

int FormState::Selectable(int position, int entries) { return position >= 0 && position < entries ? position : -1; }
