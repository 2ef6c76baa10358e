#include "win32/Win32Desktop.h"

#include <mmsystem.h>
#include <shellapi.h>

// The version records by the sizes that select them (winnt.h; no pointers,
// so the same on x86-64): the extended record must hold either.
static_assert(sizeof(OSVERSIONINFOA) == 148);
static_assert(sizeof(OSVERSIONINFOEXA) == 156);

namespace {

HWND ToHwnd(Desktop::WindowRef window) { return reinterpret_cast<HWND>(window); }
const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

int Win32Desktop::ShowMessageBox(WindowRef owner, const std::string& text, const std::string& caption, UINT type) {
    return MessageBoxA(ToHwnd(owner), text.c_str(), caption.c_str(), type);
}

std::intptr_t Win32Desktop::ShellExecuteFile(WindowRef owner, const std::string& verb, const std::string& file,
                                         const std::string& parameters, const std::string& directory, int show) {
    HINSTANCE result = ShellExecuteA(ToHwnd(owner), OrNull(verb), file.c_str(), OrNull(parameters),
                                     OrNull(directory), show);
    return reinterpret_cast<std::intptr_t>(result);
}

UINT Win32Desktop::RunCommandLine(const std::string& commandLine, int show) {
    return ::WinExec(commandLine.c_str(), show);
}

bool Win32Desktop::OpenHelp(WindowRef owner, const std::string& helpFile, UINT command, const std::string& keyword) {
    return WinHelpA(ToHwnd(owner), helpFile.c_str(), command, reinterpret_cast<ULONG_PTR>(keyword.c_str())) != FALSE;
}

bool Win32Desktop::PlaySoundFile(const std::string& path, DWORD flags) {
    return PlaySoundA(path.c_str(), nullptr, flags) != FALSE;
}

bool Win32Desktop::QueryVersion(OsVersionRecord* record) {
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = record->size;
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
    record->majorVersion = info.dwMajorVersion;
    record->minorVersion = info.dwMinorVersion;
    record->buildNumber = info.dwBuildNumber;
    record->platformId = info.dwPlatformId;
    return true;
}

bool Win32Desktop::EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    TOKEN_PRIVILEGES privileges = {};
    LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    const bool enabled = GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return enabled;
}

void Win32Desktop::RequestExit(UINT flags) { ExitWindowsEx(flags, 0); }

std::string Win32Desktop::CommandLine() { return GetCommandLineA(); }

std::string Win32Desktop::ModulePath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

std::string Win32Desktop::WindowsDirectory() {
    char directory[260];
    const UINT length = GetWindowsDirectoryA(directory, sizeof directory);
    return std::string(directory, length < sizeof directory ? length : 0);
}

Desktop::WindowRef Win32Desktop::FindWindowTitled(const std::string& title) {
    return reinterpret_cast<WindowRef>(FindWindowA(nullptr, title.c_str()));
}

std::intptr_t Win32Desktop::SendWindowMessage(WindowRef window, UINT message, std::uintptr_t wParam,
                                              std::intptr_t lParam) {
    return SendMessageA(ToHwnd(window), message, wParam, lParam);
}

int Win32Desktop::DesktopLogPixelsX() {
    HWND desktop = GetDesktopWindow();
    HDC dc = GetDC(desktop);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(desktop, dc);
    return dpi;
}

LocalTime Win32Desktop::CurrentTime() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::string Win32Desktop::ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

DWORD Win32Desktop::TickCount() { return GetTickCount(); }
