#include "common/CActivityPinger.h"

#include "win32/RegKey.h"

#include <cctype>
#include <vector>

namespace {

constexpr const char* kAutodialName = "EnableAutodial";

}  // namespace

CActivityPinger::CActivityPinger(Registry& registry, Internet& internet)
    : registry_(&registry), internet_(&internet), session_(internet.OpenSession(kUserAgent)) {}

CActivityPinger::~CActivityPinger() { internet_->Close(session_); }

bool CActivityPinger::Ping(const std::string& address) {
    const DWORD autodial = SwitchAutodialOff();
    const Internet::Handle request = internet_->OpenUrl(session_, address, Internet::kReload);
    if (request != 0) {
        std::string contentLength;
        if (internet_->QueryContentLength(request, &contentLength)) {
            const DWORD size = BodyBytesToRead(contentLength);
            if (size > 0) {
                std::vector<char> body(size);
                DWORD read = 0;
                internet_->Read(request, body.data(), size, &read);
            }
        }
        internet_->Close(request);
    }
    if (autodial != 0) PutAutodialBack(autodial);
    return request != 0;
}

DWORD CActivityPinger::SwitchAutodialOff() {
    RegKey settings(*registry_);
    if (settings.Open(RegRoot::CurrentUser, kInternetSettingsKey, KEY_READ | KEY_SET_VALUE) != ERROR_SUCCESS) return 0;
    // A value of another shape is left alone.
    const DWORD autodial = settings.QueryDword(kAutodialName).value_or(0);
    if (autodial == 0) return 0;
    RegKey marker(*registry_);
    if (marker.Create(RegRoot::CurrentUser, kMarkerKey, KEY_SET_VALUE) == ERROR_SUCCESS) {
        marker.SetDword(kMarkerName, autodial);
    }
    settings.SetDword(kAutodialName, 0);
    return autodial;
}

void CActivityPinger::PutAutodialBack(DWORD value) {
    RegKey settings(*registry_);
    if (settings.Open(RegRoot::CurrentUser, kInternetSettingsKey, KEY_SET_VALUE) != ERROR_SUCCESS) return;
    if (settings.SetDword(kAutodialName, value) != ERROR_SUCCESS) return;
    RegKey marker(*registry_);
    if (marker.Open(RegRoot::CurrentUser, kMarkerKey, KEY_SET_VALUE) == ERROR_SUCCESS) marker.Delete(kMarkerName);
}

void CActivityPinger::RestoreAutodial(Registry& registry) {
    RegKey marker(registry);
    if (marker.Open(RegRoot::CurrentUser, kMarkerKey, KEY_READ | KEY_SET_VALUE) != ERROR_SUCCESS) return;
    if (const auto saved = marker.QueryDword(kMarkerName)) {
        RegKey settings(registry);
        if (settings.Open(RegRoot::CurrentUser, kInternetSettingsKey, KEY_SET_VALUE) != ERROR_SUCCESS ||
            settings.SetDword(kAutodialName, *saved) != ERROR_SUCCESS) {
            return;
        }
    }
    marker.Delete(kMarkerName);
}

DWORD CActivityPinger::BodyBytesToRead(const std::string& contentLength) {
    std::size_t first = 0;
    std::size_t last = contentLength.size();
    while (first < last && std::isspace(static_cast<unsigned char>(contentLength[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(contentLength[last - 1]))) --last;
    if (first == last) return 0;
    DWORD bytes = 0;
    for (std::size_t i = first; i < last; ++i) {
        const char c = contentLength[i];
        if (c < '0' || c > '9') return 0;
        if (bytes < kMaxBodyBytes) bytes = bytes * 10 + static_cast<DWORD>(c - '0');
    }
    return bytes < kMaxBodyBytes ? bytes : kMaxBodyBytes;
}
