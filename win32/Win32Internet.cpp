#include "win32/Win32Internet.h"

#include <wininet.h>

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

DWORD Win32Internet::Read(Handle request, char* buffer, DWORD size) {
    DWORD read = 0;
    if (!InternetReadFile(ToHandle(request), buffer, size, &read)) return 0;
    return read;
}

void Win32Internet::Close(Handle handle) {
    if (handle != 0) InternetCloseHandle(ToHandle(handle));
}
