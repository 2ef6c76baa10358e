#pragma once
#include <array>
#include <string>

// The five values the manual mode offers as a "Windows Default" / "Custom"
// pair, in the form's order.
enum class Parameter { Mtu, ReceiveWindow, Ttl, KeepAlive, NdiCache };
constexpr int kParameterCount = 5;

// One pair: its two radio buttons and its value control. MTU and TTL take
// their value in an edit (text), the others in a list (selection, -1 for none).
struct ParameterPair {
    bool defaultChecked = false;
    bool customChecked = false;
    bool valueEnabled = false;
    std::string text;
    int selection = -1;
};

// The main form's controls as plain data. The form reads its controls into
// this record, a rule below changes it, and the form writes it back; so the
// form's behaviour is decided here, away from any window.
struct FormState {
    // Entries in each list; a position outside its list selects nothing.
    static constexpr int kConnectionTypes = 4;
    static constexpr int kModes = 4;
    static constexpr int kManualMode = 3;
    static constexpr int kReceiveWindowEntries = 7;
    // A measured multiplier that "x4".."x16" lack is added after them.
    static constexpr int kAddedWindowEntry = kReceiveWindowEntries;
    static constexpr int kKeepAliveEntries = 60;
    static constexpr int kConnectionEntries = 59;
    static constexpr int kNdiCacheEntries = 7;

    int connectionType = -1;  // list position, -1 for none
    int mode = -1;
    std::array<ParameterPair, kParameterCount> pairs;
    // The multiplier of the receive-window entry at kAddedWindowEntry; 0 when
    // the list has no such entry.
    int addedWindowMultiplier = 0;
    bool pmtuChecked = false;
    bool blackHoleChecked = false;
    int http10 = -1;
    int http11 = -1;
    // The whole manual set at once: the ten pair buttons, both check boxes,
    // the two connections-per-server labels and lists, and the help links.
    bool manualEnabled = false;

    ParameterPair& Pair(Parameter parameter) { return pairs[static_cast<int>(parameter)]; }
    const ParameterPair& Pair(Parameter parameter) const { return pairs[static_cast<int>(parameter)]; }

    // "Windows Default" clicked: the value is cleared and disabled.
    void ChooseWindowsDefault(Parameter parameter);
    // "Custom" clicked: the value is enabled and keeps what it held.
    void ChooseCustom(Parameter parameter);
    // A measured window: the receive window "Custom", with "x" + multiplier
    // selected, added after the list's own entries when they lack it.
    void ChooseWindowMultiplier(int multiplier);
    // The receive-window list's selected entry, such as "x8"; empty for none.
    std::string ReceiveWindowEntry() const;
    void EnableManualControls(bool enable);
    // Enables the value of every pair whose "Custom" is checked; never disables.
    void EnableCustomFields();
    // The user picked a mode: "Manual" gets the starting values, an automatic
    // mode clears and disables every manual control.
    void SwitchMode(int position);

    // The codes of TuningConfig for list positions. A connection type outside
    // the list has no code (empty); any mode but "Manual" is "AUTO" + (position + 1).
    static std::string ConnectionTypeCode(int position);
    static std::string ModeCode(int position);
    // The position when it lies in a list of that many entries, else -1.
    static int Selectable(int position, int entries);
};
