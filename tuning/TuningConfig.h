#pragma once
#include "win32/WinTypes.h"

#include <string>

// The one set of tuning values of a configurator run. Stored: the mode and
// the connection type; the MTU and the TTL as given (mtuText, ttlText, typed
// or a preset's, written as they are) with the numbers they begin with; the
// other values as numbers, and the NDI cache as text only. Derived: mssText
// (the MTU - 40, for the adapters) and the texts that Windows 98 keeps in
// place of numbers (rwinText, pmtuText, blackHoleText, keepAliveText), each
// the decimal of the same 32 bits as its number.
// A number of 0 for the MTU or the receive window (text "0" for the MTU)
// means the Windows default: the value is removed instead of written.
struct TuningConfig {
    std::string mode;            // one of the mode codes below
    std::string connectionType;  // one of the connection-type codes below
    std::string mtuText;
    std::string mssText;         // MTU - 40
    DWORD mtu = 0;
    DWORD rwin = 0;              // TCP receive window, bytes
    DWORD ttl = 0;
    DWORD keepAliveMs = 0;
    DWORD pmtuDiscovery = 0;     // 1 on, 0 off
    DWORD blackHoleDetect = 0;   // 1 on, 0 off
    DWORD maxConnPer1_0Server = 0;
    DWORD maxConnPerServer = 0;
    std::string ndiCacheText;    // 9x family only
    std::string rwinText;
    std::string pmtuText;
    std::string blackHoleText;
    std::string keepAliveText;
    std::string ttlText;
};

// The mode codes. An automatic mode's code is kAutoModePrefix and its list
// position plus one, so a damaged file can make codes past "AUTO3".
inline constexpr char kAutoModePrefix[] = "AUTO";
inline constexpr char kModeAuto1[] = "AUTO1";
inline constexpr char kModeAuto2[] = "AUTO2";
inline constexpr char kModeAuto3[] = "AUTO3";
inline constexpr char kModeManual[] = "MANUAL";

// The connection-type codes; a satellite line is tuned as a LAN.
inline constexpr char kDialUp[] = "DIAL-UP";
inline constexpr char kLan[] = "LAN";
inline constexpr char kLanPppoe[] = "LAN-PPPoE";

// The registry writers take an action text: "REMOVE" removes every value
// they own, any other text (Apply passes the empty one) writes the record.
inline constexpr char kWriteAction[] = "";
inline constexpr char kRemoveAction[] = "REMOVE";
inline bool IsRemoveAction(const std::string& action) { return action == kRemoveAction; }
