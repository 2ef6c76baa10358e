#pragma once
#include "common/SettingsStore.h"
#include "win32/Desktop.h"

#include <string>

// The five keep-alive values that the configurator edits and the agent runs
// on, as the store holds them (section "UndoRegular", scrambled).
struct KeepAliveSettings {
    static constexpr const char* kModeName = "PingMode";
    static constexpr const char* kHostName = "PingHost";
    static constexpr const char* kIntervalName = "PingInterval";
    static constexpr const char* kSoundName = "PingSound";
    static constexpr const char* kAnimationName = "TaskBarAni";

    std::string mode;  // "Automatic", "Manual"; empty while nothing was saved
    std::string host;
    int interval = 0;  // index into the interval list: minutes - 1
    int sound = 0;
    int animation = 0;

    static KeepAliveSettings Load(const SettingsStore& store);
    // Writes "PingMode", "PingHost", "PingInterval", "PingSound" and
    // "TaskBarAni", in that order; false at the first write that fails, and
    // false with nothing written when the site is too long for the store.
    bool Save(SettingsStore& store) const;
    // Saves, then tells a running agent to read the values again. Nothing is
    // sent when a write failed: the agent would run on a half-written set.
    bool SaveAndNotify(SettingsStore& store, Desktop& desktop) const;
};
