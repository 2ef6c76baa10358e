#include "configurator/KeepAliveState.h"

#include "common/MessageBoxes.h"
#include "common/Vendor.h"

#include <cctype>

namespace {

const char kSaveFailedText[] =
    "Your Evertie settings could not be saved.\n\n"
    "Saving them takes the right to change this computer's settings, and a site address of fewer than 480 "
    "characters.";

}  // namespace

KeepAliveState KeepAliveState::Opening(const KeepAliveSettings& stored, bool largeFonts) {
    KeepAliveState state;
    if (!stored.mode.empty() && stored.mode != "Automatic") {
        state.ApplyManual();
        state.hostText = stored.host;
        state.interval = stored.interval >= 0 && stored.interval < kIntervals ? stored.interval : -1;
    } else {
        state.ApplyAutomatic(largeFonts);
    }
    state.soundChecked = stored.sound != 0;
    // Nothing saved yet: animate until the user says otherwise.
    state.animationChecked = stored.mode.empty() || stored.animation != 0;
    return state;
}

std::vector<std::string> KeepAliveState::IntervalTexts() {
    std::vector<std::string> texts{" 1 minute."};
    for (int minutes = 2; minutes <= kIntervals; ++minutes) {
        texts.push_back(" " + std::to_string(minutes) + " minutes.");
    }
    return texts;
}

std::string KeepAliveState::AutomaticHostText(bool largeFonts) {
    return std::string(largeFonts ? 22 : 17, ' ') + "Automatic";
}

void KeepAliveState::ApplyAutomatic(bool largeFonts) {
    automaticChecked = true;
    manualChecked = false;
    hostEnabled = false;
    intervalEnabled = false;
    interval = kAutomaticInterval;
    hostText = AutomaticHostText(largeFonts);
}

void KeepAliveState::ApplyManual() {
    automaticChecked = false;
    manualChecked = true;
    hostEnabled = true;
    intervalEnabled = true;
    hostText.clear();
}

void KeepAliveState::RepairInterval() {
    if (interval < 0) interval = kFallbackInterval;
}

void KeepAliveState::RestoreDefaults(bool largeFonts) {
    ApplyAutomatic(largeFonts);
    soundChecked = false;
    animationChecked = true;
}

bool KeepAliveState::HostIsBlank() const {
    for (unsigned char c : hostText) {
        if (std::isspace(c) == 0) return false;
    }
    return true;
}

KeepAliveSettings KeepAliveState::ToSettings() const {
    KeepAliveSettings settings;
    if (automaticChecked) {
        // Ten minutes, not the five that the disabled list shows.
        settings.mode = "Automatic";
        settings.host = "Automatic";
        settings.interval = kFallbackInterval;
    } else {
        settings.mode = "Manual";
        settings.host = hostText;
        settings.interval = interval >= 0 && interval < kIntervals ? interval : kFallbackInterval;
    }
    settings.sound = soundChecked ? 1 : 0;
    settings.animation = animationChecked ? 1 : 0;
    return settings;
}

bool KeepAliveState::Confirm(ProductInfo& product, Desktop& desktop, Desktop::WindowRef dialog) const {
    const MessageBoxes boxes(desktop, dialog);
    if (HostIsBlank()) {
        boxes.InputError(std::string("Please choose a valid Ping Host.\nExample:  ") + vendor::kWebSiteHost + " ");
        return false;
    }
    if (!ToSettings().SaveAndNotify(product.Store(), desktop)) {
        boxes.InputError(kSaveFailedText);
        return false;
    }
    return true;
}
