#pragma once
#include "win32/WinTypes.h"

#include <cstdint>
#include <string>

// WinINet as the pinger uses it. Production forwards to WinINet
// (Win32Internet); native tests script the answers.
class Internet {
public:
    using Handle = std::uintptr_t;  // an HINTERNET; 0 for none

    virtual ~Internet() = default;

    // InternetOpenA with the pre-configured access type, so the system's
    // proxy settings apply.
    virtual Handle OpenSession(const std::string& userAgent) = 0;
    // InternetOpenUrlA without extra headers; 0 when the address can't be opened.
    virtual Handle OpenUrl(Handle session, const std::string& url, DWORD flags) = 0;
    // The Content-Length header as text (at most 31 characters); false when absent.
    virtual bool QueryContentLength(Handle request, std::string* text) = 0;
    // One InternetReadFile call; the number of bytes read.
    virtual DWORD Read(Handle request, char* buffer, DWORD size) = 0;
    virtual void Close(Handle handle) = 0;
};
