#pragma once
#include "win32/Registry.h"

#include <cstdint>
#include <string>

// The receive window set now: the registry value that TCP of the running
// family reads at its start, or, when none is set, that family's documented
// default for Ethernet's MSS of 1460 bytes.
class WindowSetting {
public:
    // 95, 98 and Me read MSTCP's DefaultRcvWindow, a number or (98) its
    // text; "the default is 8K" (KB 158474, "Windows TCP/IP Registry Entries").
    static constexpr std::uint32_t kDefault9x = 8192;
    // NT 4 reads TcpWindowSize: by default 8192 rounded up to whole
    // segments, "8760 for Ethernet" (KB 120642, "TCP/IP and NBT
    // Configuration Parameters for Windows NT").
    static constexpr std::uint32_t kDefaultNt4 = 8760;
    // 2000 and XP read TcpWindowSize, else GlobalMaxTcpWindowSize, which is
    // "0x4470 (17,520, or 12 segments of 1,460 bytes each)" for Ethernet
    // ("Windows 2000 Registry Reference", both entries).
    static constexpr std::uint32_t kDefault2000 = 17520;

    // osName as GetOsName gives it. Where Windows does not scale windows, no
    // more than 65535 counts.
    static std::uint32_t Read(Registry& registry, const std::string& osName);
};
