#pragma once
#include "win32/Desktop.h"

#include <deque>
#include <set>
#include <string>
#include <vector>

// Records what the code asked of the desktop and answers from a script.
class FakeDesktop : public Desktop {
public:
    struct MessageBoxCall {
        WindowRef owner;
        std::string text;
        std::string caption;
        UINT type;
    };
    struct ShellCall {
        std::string verb, file, parameters, directory;
        int show;
    };
    struct SentMessage {
        WindowRef window;
        UINT message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    struct HelpCall {
        std::string file;
        UINT command;
        std::string keyword;
    };

    int ShowMessageBox(WindowRef owner, const std::string& text, const std::string& caption, UINT type) override;
    std::intptr_t ShellExecuteFile(WindowRef owner, const std::string& verb, const std::string& file,
                                   const std::string& parameters, const std::string& directory, int show) override;
    UINT RunCommandLine(const std::string& commandLine, int show) override;
    bool OpenHelp(WindowRef owner, const std::string& helpFile, UINT command, const std::string& keyword) override;
    bool PlaySoundFile(const std::string& path, DWORD flags) override;
    bool QueryVersion(OsVersionRecord* record) override;
    bool EnableShutdownPrivilege() override;
    void RequestExit(UINT flags) override;
    std::string CommandLine() override { return commandLine; }
    std::string ModulePath() override { return modulePath; }
    std::string WindowsDirectory() override { return windowsDirectory; }
    WindowRef FindWindowTitled(const std::string& title) override;
    std::intptr_t SendWindowMessage(WindowRef window, UINT message, std::uintptr_t wParam,
                                    std::intptr_t lParam) override;
    int DesktopLogPixelsX() override { return logPixelsX; }
    LocalTime CurrentTime() override { return now; }
    DWORD TickCount() override { return ticks; }
    std::string ComputerName() override { return computerName; }

    // Sets the version both query forms report.
    void SetVersion(DWORD platformId, DWORD major, DWORD minor);

    // Script.
    std::deque<int> messageBoxAnswers;  // IDOK once they run out
    std::intptr_t shellResult = 42;
    UINT winExecResult = 33;
    bool extendedVersionWorks = true;
    bool basicVersionWorks = true;
    OsVersionRecord version;
    bool privilegeWorks = true;
    std::string commandLine;
    std::string modulePath;
    std::string windowsDirectory = "C:\\WINDOWS";
    std::set<std::string> windowTitles;  // each found as kFoundWindow
    static constexpr WindowRef kFoundWindow = 0x1234;
    int logPixelsX = 96;
    LocalTime now = {2003, 5, 1, 14, 3};
    DWORD ticks = 3600000;  // Windows started an hour before now
    std::string computerName = "ROOM12-PC";

    // Record.
    std::vector<MessageBoxCall> messageBoxes;
    std::vector<ShellCall> shellCalls;
    std::vector<std::string> commandLines;
    std::vector<HelpCall> helpCalls;
    std::vector<std::string> sounds;
    std::vector<SentMessage> sentMessages;
    std::vector<DWORD> versionQuerySizes;
    std::vector<UINT> exitRequests;
    int privilegeRequests = 0;
};
