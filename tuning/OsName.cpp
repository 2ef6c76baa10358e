#include "tuning/OsName.h"

namespace {

constexpr DWORD kExtendedRecordSize = 156;  // OSVERSIONINFOEXA
constexpr DWORD kBasicRecordSize = 148;     // OSVERSIONINFOA

std::string WindowsName(DWORD major, DWORD minor) {
    if (major != 4) return "Unknown";
    switch (minor) {
    case 0: return "Windows 95";
    case 10: return "Windows 98";
    case 90: return "Windows Me";
    default: return "Unknown";
    }
}

std::string NtName(DWORD major, DWORD minor) {
    if (major <= 4) return "Windows NT";
    if (major == 5 && minor == 0) return "Windows 2000";
    if (major == 5 && minor == 1) return "Windows XP";
    return "Unknown";
}

}  // namespace

std::string OsNameFor(const OsVersionRecord& record, bool extendedAnswered, bool basicAnswered) {
    if (!extendedAnswered && !basicAnswered) return "Unknown";
    switch (record.platformId) {
    case VER_PLATFORM_WIN32s: return "Win32s";
    case VER_PLATFORM_WIN32_WINDOWS: return WindowsName(record.majorVersion, record.minorVersion);
    case VER_PLATFORM_WIN32_NT: return NtName(record.majorVersion, record.minorVersion);
    default: return "Unknown";
    }
}

std::string GetOsName(Desktop& desktop) {
    OsVersionRecord record;
    record.size = kExtendedRecordSize;
    const bool extendedAnswered = desktop.QueryVersion(&record);
    bool basicAnswered = false;
    if (!extendedAnswered) {
        record.size = kBasicRecordSize;
        basicAnswered = desktop.QueryVersion(&record);
    }
    return OsNameFor(record, extendedAnswered, basicAnswered);
}

bool IsNtFamily(const std::string& osName) {
    return osName == "Windows NT" || osName == "Windows 2000" || osName == "Windows XP";
}

bool IsNtFamily(Desktop& desktop) { return IsNtFamily(GetOsName(desktop)); }

bool ScalesWindows(const std::string& osName) {
    return osName == "Windows 98" || osName == "Windows Me" || osName == "Windows 2000" || osName == "Windows XP";
}
