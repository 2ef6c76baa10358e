#pragma once
#include "common/ProductInfo.h"
#include "common/KeepAliveSettings.h"

#include <string>
#include <vector>

// The keep-alive dialog's controls as plain data: the dialog reads its
// controls into this record, a rule below changes it, and the dialog writes
// it back, so what the dialog does is decided here, away from any window.
struct KeepAliveState {
    static constexpr int kIntervals = 60;
    static constexpr int kAutomaticInterval = 4;  // " 5 minutes.", what the disabled list shows
    static constexpr int kFallbackInterval = 9;   // " 10 minutes."

    bool automaticChecked = false;
    bool manualChecked = false;
    bool hostEnabled = false;
    std::string hostText;
    bool intervalEnabled = false;
    int interval = -1;  // list position, -1 for none
    bool soundChecked = false;
    bool animationChecked = false;

    // What the dialog shows when it opens on these stored values.
    static KeepAliveState Opening(const KeepAliveSettings& stored, bool largeFonts);
    // " 1 minute.", " 2 minutes." ... " 60 minutes.", in list order.
    static std::vector<std::string> IntervalTexts();
    // "Automatic" after 17 spaces, 22 with large fonts, so it sits mid-field.
    static std::string AutomaticHostText(bool largeFonts);

    void ApplyAutomatic(bool largeFonts);
    // Every click empties the site field, a second one too.
    void ApplyManual();
    // The list lost the focus: typing in its field leaves nothing selected.
    void RepairInterval();
    // The Default button: Automatic, no sound, animation.
    void RestoreDefaults(bool largeFonts);

    // OK's test: the site is blank once white space is trimmed from both ends.
    bool HostIsBlank() const;
    // What OK saves. In Manual mode the site is kept as typed, and a list
    // with nothing selected stores the list's own fallback, ten minutes.
    KeepAliveSettings ToSettings() const;
    // OK: a blank site or a failed write is told in an exclamation box owned
    // by the dialog, which stays open; otherwise the settings are saved, a
    // running agent is told, and true lets the dialog close.
    bool Confirm(ProductInfo& product, Desktop& desktop, Desktop::WindowRef dialog) const;
};
