#pragma once
#include "win32/Internet.h"
#include "win32/Registry.h"

#include <string>

// One HTTP request to a fixed address, made so that Windows never dials a
// connection for it: the current user's "EnableAutodial" is switched off for
// the time of the request. Construct, Ping once, destroy.
class CActivityPinger {
public:
    static constexpr const char* kDefaultAddress = "http://www.example.com/";
    static constexpr const char* kUserAgent = "Mozilla/4.0+(compatible;+MSIE+6.0;+Windows+NT+5.0)";
    // Enough to carry traffic; a server can't make us allocate more.
    static constexpr DWORD kMaxBodyBytes = 64 * 1024;
    static constexpr const char* kInternetSettingsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    // Where a switched-off autodial value waits while a request runs, so that
    // the next start can put it back if the agent died meanwhile.
    static constexpr const char* kMarkerKey = "SOFTWARE\\Orvenda Ltd\\Zarvo";
    static constexpr const char* kMarkerName = "SavedEnableAutodial";

    CActivityPinger(Registry& registry, Internet& internet);
    ~CActivityPinger();
    CActivityPinger(const CActivityPinger&) = delete;
    CActivityPinger& operator=(const CActivityPinger&) = delete;

    // True when the address could be opened, whatever the HTTP status.
    bool Ping(const std::string& address);

    // Puts back an "EnableAutodial" left switched off by an agent that ended
    // during a request, and clears the marker.
    static void RestoreAutodial(Registry& registry);
    // The body bytes to read for a Content-Length text: 0 unless it is a
    // positive decimal number, and never more than kMaxBodyBytes.
    static DWORD BodyBytesToRead(const std::string& contentLength);

private:
    DWORD SwitchAutodialOff();
    void PutAutodialBack(DWORD value);

    Registry* registry_;
    Internet* internet_;
    Internet::Handle session_;
};
