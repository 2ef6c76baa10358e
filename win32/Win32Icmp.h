#pragma once
#include "win32/Icmp.h"
#include "win32/UniqueHandle.h"

#include <windows.h>
#include <ipexport.h>
#include <icmpapi.h>

// The system's ICMP echo functions, loaded at run time: from iphlpapi.dll
// (XP), else from icmp.dll (95, 98, Me, NT 4, 2000). Names are resolved by
// Winsock 1.1 (wsock32.dll), which icmp.dll also needs started.
class Win32Icmp : public Icmp {
public:
    Win32Icmp() = default;
    Win32Icmp(const Win32Icmp&) = delete;
    Win32Icmp& operator=(const Win32Icmp&) = delete;
    ~Win32Icmp() override;

    bool Open() override;
    bool Resolve(const std::string& host, std::uint32_t* address) override;
    Reply Echo(std::uint32_t address, WORD size, DWORD timeout) override;
    void Close() override;

private:
    // Typed by the header's own declarations, so their calling convention
    // cannot drift; never called by name, so never imported.
    using CreateFileFunction = decltype(&IcmpCreateFile);
    using SendEchoFunction = decltype(&IcmpSendEcho);
    using CloseHandleFunction = decltype(&IcmpCloseHandle);

    // An ICMP handle goes back through the library it came from.
    struct IcmpCloser {
        CloseHandleFunction close = nullptr;
        void operator()(HANDLE h) const { close(h); }
    };

    // One WSAStartup that succeeded, ended by its WSACleanup.
    class WinsockStart {
    public:
        WinsockStart() = default;
        WinsockStart(const WinsockStart&) = delete;
        WinsockStart& operator=(const WinsockStart&) = delete;
        ~WinsockStart() { Stop(); }
        bool Start();
        void Stop();

    private:
        bool started_ = false;
    };

    bool LoadFrom(const char* library);

    // Given back in reverse: the handle, Winsock, then the library.
    UniqueHmodule library_;
    CreateFileFunction createFile_ = nullptr;
    SendEchoFunction sendEcho_ = nullptr;
    WinsockStart winsock_;
    // Its closer is IcmpCloseHandle, found with the other two.
    UniqueHandle<HANDLE, IcmpCloser, InvalidValueIsNone> handle_;
};
