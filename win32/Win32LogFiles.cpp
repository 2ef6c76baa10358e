#include "win32/Win32LogFiles.h"

#include "win32/UniqueHandle.h"

namespace {

constexpr DWORD kShortestPauseMs = 10;
constexpr DWORD kLongestPauseMs = 100;

}  // namespace

Win32LogFiles::Win32LogFiles() : pauses_(GetTickCount() ^ GetCurrentProcessId()) {}

LogFiles::Appended Win32LogFiles::Append(const std::string& path, const std::string& text) {
    // Windows 9x has no FILE_APPEND_DATA (an NT access right): the write goes
    // to the end found by a seek, and sharing only reads keeps every other
    // writer out between the seek and the write.
    const UniqueFile file(
        CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? Appended::Busy : Appended::Failed;
    }
    LONG endHigh = 0;
    const DWORD endLow = SetFilePointer(file.get(), 0, &endHigh, FILE_END);
    if (endLow == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return Appended::Failed;
    const DWORD size = static_cast<DWORD>(text.size());
    DWORD written = 0;
    if (WriteFile(file.get(), text.data(), size, &written, nullptr) && written == size) return Appended::Written;
    // Half a line would run into the next one.
    SetFilePointer(file.get(), static_cast<LONG>(endLow), &endHigh, FILE_BEGIN);
    SetEndOfFile(file.get());
    return Appended::Failed;
}

DWORD Win32LogFiles::Size(const std::string& path) {
    const UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
    const DWORD size = GetFileSize(file.get(), nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

bool Win32LogFiles::TurnOver(const std::string& path, const std::string& older) {
    // MoveFileExA, which replaces, is NT only.
    DeleteFileA(older.c_str());
    return MoveFileA(path.c_str(), older.c_str()) != FALSE;
}

DWORD Win32LogFiles::Milliseconds() { return GetTickCount(); }

void Win32LogFiles::PauseBriefly() {
    Sleep(kShortestPauseMs + static_cast<DWORD>(pauses_() % (kLongestPauseMs - kShortestPauseMs + 1)));
}
