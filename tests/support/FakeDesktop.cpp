#include "tests/support/FakeDesktop.h"

int FakeDesktop::ShowMessageBox(WindowRef owner, const std::string& text, const std::string& caption, UINT type) {
    messageBoxes.push_back({owner, text, caption, type});
    if (messageBoxAnswers.empty()) return IDOK;
    const int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    return answer;
}

std::intptr_t FakeDesktop::ShellExecuteFile(WindowRef, const std::string& verb, const std::string& file,
                                            const std::string& parameters, const std::string& directory, int show) {
    shellCalls.push_back({verb, file, parameters, directory, show});
    return shellResult;
}

UINT FakeDesktop::RunCommandLine(const std::string& commandLine, int) {
    commandLines.push_back(commandLine);
    return winExecResult;
}

bool FakeDesktop::OpenHelp(WindowRef, const std::string& helpFile, UINT command, const std::string& keyword) {
    helpCalls.push_back({helpFile, command, keyword});
    return true;
}

bool FakeDesktop::PlaySoundFile(const std::string& path, DWORD) {
    sounds.push_back(path);
    return true;
}

bool FakeDesktop::QueryVersion(OsVersionRecord* record) {
    versionQuerySizes.push_back(record->size);
    const bool works = record->size == 156 ? extendedVersionWorks : basicVersionWorks;
    if (!works) return false;
    const DWORD size = record->size;
    *record = version;
    record->size = size;
    return true;
}

bool FakeDesktop::EnableShutdownPrivilege() {
    ++privilegeRequests;
    return privilegeWorks;
}

void FakeDesktop::RequestExit(UINT flags) { exitRequests.push_back(flags); }

Desktop::WindowRef FakeDesktop::FindWindowTitled(const std::string& title) {
    return windowTitles.count(title) != 0 ? kFoundWindow : 0;
}

std::intptr_t FakeDesktop::SendWindowMessage(WindowRef window, UINT message, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
    sentMessages.push_back({window, message, wParam, lParam});
    return 0;
}

void FakeDesktop::SetVersion(DWORD platformId, DWORD major, DWORD minor) {
    version.platformId = platformId;
    version.majorVersion = major;
    version.minorVersion = minor;
}
