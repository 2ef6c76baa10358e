#include "common/KeepAliveSettings.h"

#include "common/AgentNotice.h"

KeepAliveSettings KeepAliveSettings::Load(const SettingsStore& store) {
    KeepAliveSettings settings;
    settings.mode = store.ReadString(kKeepAliveSection, kModeName, "", true);
    settings.host = store.ReadString(kKeepAliveSection, kHostName, "", true);
    settings.interval = store.ReadInt(kKeepAliveSection, kIntervalName, 0, true);
    settings.sound = store.ReadInt(kKeepAliveSection, kSoundName, 0, true);
    settings.animation = store.ReadInt(kKeepAliveSection, kAnimationName, 0, true);
    return settings;
}

bool KeepAliveSettings::Save(SettingsStore& store) const {
    // The site is the one value that can be too long for the store: found out
    // before anything is written, so that a refused OK leaves the set whole.
    if (!SettingsStore::Fits(host, true)) return false;
    return store.WriteString(kKeepAliveSection, kModeName, mode, true) &&
           store.WriteString(kKeepAliveSection, kHostName, host, true) &&
           store.WriteInt(kKeepAliveSection, kIntervalName, interval, true) &&
           store.WriteInt(kKeepAliveSection, kSoundName, sound, true) &&
           store.WriteInt(kKeepAliveSection, kAnimationName, animation, true);
}

bool KeepAliveSettings::SaveAndNotify(SettingsStore& store, Desktop& desktop) const {
    if (!Save(store)) return false;
    const Desktop::WindowRef agent = desktop.FindWindowTitled(kAgentWindowTitle);
    if (agent != 0) {
        desktop.SendWindowMessage(agent, kSettingsChangedMessage, kSettingsChangedWParam, kSettingsChangedLParam);
    }
    return true;
}
