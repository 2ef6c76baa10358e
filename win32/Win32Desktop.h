#pragma once
#include "win32/Desktop.h"

class Win32Desktop : public Desktop {
public:
    int ShowMessageBox(WindowRef owner, const std::string& text, const std::string& caption, UINT type) override;
    std::intptr_t ShellExecuteFile(WindowRef owner, const std::string& verb, const std::string& file,
                               const std::string& parameters, const std::string& directory, int show) override;
    UINT RunCommandLine(const std::string& commandLine, int show) override;
    bool OpenHelp(WindowRef owner, const std::string& helpFile, UINT command, const std::string& keyword) override;
    bool PlaySoundFile(const std::string& path, DWORD flags) override;
    bool QueryVersion(OsVersionRecord* record) override;
    bool EnableShutdownPrivilege() override;
    void RequestExit(UINT flags) override;
    std::string CommandLine() override;
    std::string ModulePath() override;
    std::string WindowsDirectory() override;
    WindowRef FindWindowTitled(const std::string& title) override;
    std::intptr_t SendWindowMessage(WindowRef window, UINT message, std::uintptr_t wParam,
                                    std::intptr_t lParam) override;
    int DesktopLogPixelsX() override;
    LocalTime CurrentTime() override;
    DWORD TickCount() override;
    std::string ComputerName() override;
};
