#pragma once
#include "win32/Icmp.h"

#include <windows.h>

// The system's ICMP echo functions, loaded at run time: from iphlpapi.dll
// (XP), else from icmp.dll (95, 98, Me, NT 4, 2000). Names are resolved by
// Winsock 1.1 (wsock32.dll), which icmp.dll also needs started.
class Win32Icmp : public Icmp {
public:
    Win32Icmp() = default;
    Win32Icmp(const Win32Icmp&) = delete;
    Win32Icmp& operator=(const Win32Icmp&) = delete;
    ~Win32Icmp() override { Close(); }

    bool Open() override;
    bool Resolve(const std::string& host, std::uint32_t* address) override;
    Reply Echo(std::uint32_t address, WORD size, DWORD timeout) override;
    void Close() override;

private:
    using CreateFileFunction = HANDLE(WINAPI*)();
    using SendEchoFunction = DWORD(WINAPI*)(HANDLE, DWORD, LPVOID, WORD, LPVOID, LPVOID, DWORD, DWORD);
    using CloseHandleFunction = BOOL(WINAPI*)(HANDLE);

    bool LoadFrom(const char* library);

    HMODULE library_ = nullptr;
    CreateFileFunction createFile_ = nullptr;
    SendEchoFunction sendEcho_ = nullptr;
    CloseHandleFunction closeHandle_ = nullptr;
    bool winsockStarted_ = false;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};
