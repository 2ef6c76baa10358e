#pragma once
#include "win32/WinTypes.h"

#include <cstdint>
#include <string>

// WinINet as the pinger and the speed test use it. Production forwards to
// WinINet (Win32Internet); native tests script the answers.
class Internet {
public:
    using Handle = std::uintptr_t;  // an HINTERNET; 0 for none

    // InternetOpenUrlA's flags (wininet.h): nothing from the cache, and nothing into it.
    static constexpr DWORD kReload = 0x80000000u;
    static constexpr DWORD kNoCacheWrite = 0x04000000u;
    static constexpr DWORD kTimedOut = 12002;  // ERROR_INTERNET_TIMEOUT

    virtual ~Internet() = default;

    // InternetOpenA with the pre-configured access type, so the system's
    // proxy settings apply.
    virtual Handle OpenSession(const std::string& userAgent) = 0;
    // InternetOpenUrlA without extra headers; 0 when the address can't be opened.
    virtual Handle OpenUrl(Handle session, const std::string& url, DWORD flags) = 0;
    // The Content-Length header as text (at most 31 characters); false when absent.
    virtual bool QueryContentLength(Handle request, std::string* text) = 0;
    // The HTTP status code and the server's words for it (at most 255
    // characters, empty when it sent none); false when there is no status.
    virtual bool QueryStatus(Handle request, DWORD* code, std::string* text) = 0;
    // How long each later read may wait for data (INTERNET_OPTION_RECEIVE_TIMEOUT).
    virtual void SetReceiveTimeout(Handle request, DWORD milliseconds) = 0;
    // One InternetReadFile call: false when it failed; *read is 0 at the end.
    virtual bool Read(Handle request, char* buffer, DWORD size, DWORD* read) = 0;
    virtual void Close(Handle handle) = 0;
    // Why the last call on this thread failed (GetLastError).
    virtual DWORD LastError() = 0;
    // WinINet's own words for one of its errors, from wininet.dll's message
    // table, without the full stop and line end; empty where it has none.
    virtual std::string ErrorText(DWORD error) = 0;
};
