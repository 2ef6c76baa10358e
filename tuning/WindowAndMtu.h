#pragma once
#include "tuning/TuningConfig.h"

#include <optional>
#include <string>

// The receive window and the MTU that a plan writes, decided here alone. A
// value left empty is removed, so that Windows uses its default: a window or
// MTU of 0, and an MTU text that is empty or "0".

struct WindowValue {
    std::optional<DWORD> window;
    std::string windowText;  // the same window as Windows 98 keeps it
    // RFC 1323 window scaling ("Tcp1323Opts" = 1), which a window above 65535
    // needs; removed otherwise.
    bool scaling = false;
};

struct MtuValue {
    std::optional<DWORD> mtu;  // the NT family's adapters
    // The 9x family's adapters take the texts as given, so a typed MTU that
    // is no number is written there as it stands.
    std::optional<std::string> mtuText;
    std::string mssText;
};

// Where this Windows cannot scale windows (ScalesWindows), a window above
// 65535 becomes the largest whole multiple of the record's MSS that fits.
WindowValue WindowToWrite(const TuningConfig& config, const std::string& osName);
MtuValue MtuToWrite(const TuningConfig& config);
