#pragma once
#include "win32/WinTypes.h"

#include <cstdint>
#include <memory>
#include <string>

// ICMP echoes as the largest-MTU search and the window measurement use
// them. Production loads the ICMP functions at run time (Win32Icmp); native
// tests script the answers.
class Icmp {
public:
    // IP status values (ipexport.h); every other one of them means the host
    // cannot be reached.
    static constexpr DWORD kSuccess = 0;
    static constexpr DWORD kPacketTooBig = 11009;
    static constexpr DWORD kTimedOut = 11010;

    struct Reply {
        DWORD status = kTimedOut;
        DWORD roundTrip = 0;  // milliseconds, when an answer came
    };

    virtual ~Icmp() = default;

    // Ready to send echoes; false when this computer cannot send pings.
    virtual bool Open() = 0;
    // A dotted address or a name; false when it could not be found.
    virtual bool Resolve(const std::string& host, std::uint32_t* address) = 0;
    // One echo with size bytes of data that may not be fragmented, waiting at
    // most timeout milliseconds for its answer.
    virtual Reply Echo(std::uint32_t address, WORD size, DWORD timeout) = 0;
    // Gives back what Open took; nothing when it was not open.
    virtual void Close() = 0;
};

// Makes the Icmp a measuring dialog's worker owns (a Win32Icmp, but for tests).
using IcmpMaker = std::unique_ptr<Icmp> (*)();
