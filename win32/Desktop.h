#pragma once
#include "win32/WinTypes.h"

#include <cstdint>
#include <string>

// The version record as GetVersionExA fills it; size selects the basic (148)
// or the extended (156) form, as the record's size field does.
struct OsVersionRecord {
    DWORD size = 0;
    DWORD majorVersion = 0;
    DWORD minorVersion = 0;
    DWORD buildNumber = 0;
    DWORD platformId = 0;
};

// The local date and time, as GetLocalTime reports them.
struct LocalTime {
    WORD year = 0;
    WORD month = 0;
    WORD day = 0;
    WORD hour = 0;
    WORD minute = 0;
    WORD second = 0;
};

// Everything the programs ask of the desktop besides the registry and their
// own windows. Production forwards to Win32 (Win32Desktop); tests record the
// calls and script the answers, so no test shows a real message box, starts
// a browser or restarts a machine.
class Desktop {
public:
    using WindowRef = std::uintptr_t;  // an HWND; 0 for none

    virtual ~Desktop() = default;

    virtual int ShowMessageBox(WindowRef owner, const std::string& text, const std::string& caption, UINT type) = 0;
    // Returns the shell's result code: above 32 is success.
    virtual std::intptr_t ShellExecuteFile(WindowRef owner, const std::string& verb, const std::string& file,
                                       const std::string& parameters, const std::string& directory,
                                       int show) = 0;
    virtual UINT RunCommandLine(const std::string& commandLine, int show) = 0;
    virtual bool OpenHelp(WindowRef owner, const std::string& helpFile, UINT command,
                         const std::string& keyword) = 0;
    virtual bool PlaySoundFile(const std::string& path, DWORD flags) = 0;
    virtual bool QueryVersion(OsVersionRecord* record) = 0;
    // Enables SeShutdownPrivilege for the process; false when the token could
    // not be opened or the adjustment left an error.
    virtual bool EnableShutdownPrivilege() = 0;
    virtual void RequestExit(UINT flags) = 0;
    virtual std::string CommandLine() = 0;
    virtual std::string ModulePath() = 0;
    // GetWindowsDirectoryA, as the system reports it.
    virtual std::string WindowsDirectory() = 0;
    virtual WindowRef FindWindowTitled(const std::string& title) = 0;
    // SendMessageA: returns once the window's procedure has handled it.
    virtual std::intptr_t SendWindowMessage(WindowRef window, UINT message, std::uintptr_t wParam,
                                            std::intptr_t lParam) = 0;
    virtual int DesktopLogPixelsX() = 0;
    virtual LocalTime CurrentTime() = 0;
    // GetTickCount: milliseconds since Windows started, back to 0 every 49.7 days.
    virtual DWORD TickCount() = 0;
    // GetComputerNameA: the name the network knows the computer by; empty when not known.
    virtual std::string ComputerName() = 0;
};
