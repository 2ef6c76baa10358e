#include "win32/Win32Internet.h"

#include <wininet.h>

#include <cstring>

namespace {

HINTERNET ToHandle(Internet::Handle handle) { return reinterpret_cast<HINTERNET>(handle); }
Internet::Handle FromHandle(HINTERNET handle) { return reinterpret_cast<Internet::Handle>(handle); }

}  // namespace

Internet::Handle Win32Internet::OpenSession(const std::string& userAgent) {
    return FromHandle(InternetOpenA(userAgent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
}

Internet::Handle Win32Internet::OpenUrl(Handle session, const std::string& url, DWORD flags) {
    if (session == 0) return 0;
    return FromHandle(InternetOpenUrlA(ToHandle(session), url.c_str(), nullptr, 0, flags, 0));
}

bool Win32Internet::QueryContentLength(Handle request, std::string* text) {
    char buffer[32] = {};
    DWORD size = sizeof buffer;
    if (!HttpQueryInfoA(ToHandle(request), HTTP_QUERY_CONTENT_LENGTH, buffer, &size, nullptr)) return false;
    text->assign(buffer, size < sizeof buffer ? size : sizeof buffer - 1);
    return true;
}

bool Win32Internet::QueryStatus(Handle request, DWORD* code, std::string* text) {
    DWORD size = sizeof *code;
    if (!HttpQueryInfoA(ToHandle(request), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, code, &size, nullptr)) {
        return false;
    }
    char buffer[256] = {};
    size = sizeof buffer;
    if (!HttpQueryInfoA(ToHandle(request), HTTP_QUERY_STATUS_TEXT, buffer, &size, nullptr)) size = 0;
    text->assign(buffer, size < sizeof buffer ? size : sizeof buffer - 1);
    return true;
}

void Win32Internet::SetReceiveTimeout(Handle request, DWORD milliseconds) {
    InternetSetOptionA(ToHandle(request), INTERNET_OPTION_RECEIVE_TIMEOUT, &milliseconds, sizeof milliseconds);
}

bool Win32Internet::Read(Handle request, char* buffer, DWORD size, DWORD* read) {
    *read = 0;
    return InternetReadFile(ToHandle(request), buffer, size, read) != FALSE;
}

void Win32Internet::Close(Handle handle) {
    if (handle != 0) InternetCloseHandle(ToHandle(handle));
}

DWORD Win32Internet::LastError() { return GetLastError(); }

std::string Win32Internet::ErrorText(DWORD error) {
    // WinINet's errors are in its own message table, not the system's; the
    // module is loaded, since this program imports it.
    char buffer[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        GetModuleHandleA("wininet.dll"), error, 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length < sizeof buffer ? length : 0);
    while (!text.empty() && std::strchr("\r\n .", text.back()) != nullptr) text.pop_back();
    return text;
}
