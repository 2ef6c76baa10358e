#pragma once
#include "tuning/TuningConfig.h"

#include <optional>
#include <string>

// The receive window and the MTU that a plan writes, decided in one place. A
// value left empty is removed, so that Windows uses its default.
struct WindowAndMtu {
    std::optional<DWORD> window;
    std::string windowText;  // the same window as Windows 98 keeps it
    std::optional<DWORD> mtu;  // the NT family's adapters
    // The 9x family's adapters take the texts as given, so a typed MTU that
    // is no number is written there as it stands.
    std::optional<std::string> mtuText;
    std::string mssText;
};

// A window or MTU of 0, and an MTU text that is empty or "0", is the Windows default.
WindowAndMtu WindowAndMtuToWrite(const TuningConfig& config);
