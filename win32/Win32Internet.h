#pragma once
#include "win32/Internet.h"

// The real WinINet through the ANSI functions.
class Win32Internet : public Internet {
public:
    Handle OpenSession(const std::string& userAgent) override;
    Handle OpenUrl(Handle session, const std::string& url, DWORD flags) override;
    bool QueryContentLength(Handle request, std::string* text) override;
    bool QueryStatus(Handle request, DWORD* code, std::string* text) override;
    void SetReceiveTimeout(Handle request, DWORD milliseconds) override;
    bool Read(Handle request, char* buffer, DWORD size, DWORD* read) override;
    void Close(Handle handle) override;
    DWORD LastError() override;
    std::string ErrorText(DWORD error) override;
};
