#include "configurator/CopyToClipboard.h"

#include "common/MessageBoxes.h"
#include "win32/UniqueHandle.h"

#include <cstring>

namespace zartune {

namespace {

// Only the clipboard's open state is owned: the data belongs to the clipboard once set.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    bool IsOpen() const { return open_; }

private:
    bool open_;
};

// ERROR_SUCCESS, or the error of the call that failed.
DWORD CopyText(HWND owner, const std::string& text) {
    UniqueHglobal memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1));
    if (!memory) return GetLastError();
    void* bytes = GlobalLock(memory.get());
    if (bytes == nullptr) return GetLastError();
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(memory.get());
    OpenedClipboard clipboard(owner);
    if (!clipboard.IsOpen() || !EmptyClipboard()) return GetLastError();
    if (SetClipboardData(CF_TEXT, memory.get()) == nullptr) return GetLastError();
    // The clipboard owns the memory from here on.
    memory.release();
    return ERROR_SUCCESS;
}

// The system's own words for an error; empty when the failed call left no
// error or the system has no text for it.
std::string SystemText(DWORD error) {
    char text[512] = "";
    if (error == ERROR_SUCCESS || FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                                 error, 0, text, sizeof text, nullptr) == 0) {
        return std::string();
    }
    std::string words = text;
    // It ends with a line break of its own.
    words.erase(words.find_last_not_of(" \r\n") + 1);
    return words;
}

}  // namespace

void CopyToClipboard(HWND owner, Desktop& desktop, const std::string& text, const std::string& what) {
    const DWORD error = CopyText(owner, text);
    if (error == ERROR_SUCCESS) return;
    const std::string words = SystemText(error);
    MessageBoxes(desktop, reinterpret_cast<Desktop::WindowRef>(owner))
        .InputError("Unable to copy " + what + " to the clipboard" + (words.empty() ? "." : ":\n\n" + words));
}

}  // namespace zartune
