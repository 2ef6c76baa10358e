// The end-to-end tests' hands and eyes inside the Wine prefix: one command
// per run, results on standard output, exit code 0 on success.
//
//   wait-window TITLE [SECONDS]        a top-level window with exactly TITLE appears
//   no-window TITLE                    no top-level window has exactly TITLE
//   window-text TITLE                  prints the window's text
//   window-handle TITLE                prints the window's handle, which no later window gets again
//   answer CAPTION BUTTON [SECONDS]    waits for a message box with BUTTON, prints its text, presses BUTTON
//   send TITLE MESSAGE WPARAM LPARAM   SendMessage (gives up after 20 s, exit 3); prints the result
//   post TITLE MESSAGE WPARAM LPARAM   PostMessage
//   send-registered TITLE NAME         sends the registered message NAME (wParam and lParam 0)
//   click TITLE ID                     clicks the control with ID in the window
//   control-text TITLE ID              prints the text of the control with ID
//   set-text TITLE ID TEXT             sets the text of the control with ID, as typing it would end
//   setting SECTION NAME plain|scrambled   prints a value of the product's settings store
//   checked TITLE ID                   prints the check state of a button (0, 1 or 2)
//   enabled TITLE ID                   prints 1 when the control is enabled, else 0
//   visible TITLE ID                   prints 1 when the control is visible, else 0
//   selection TITLE ID                 prints a combo box's selected index and text ("-1" alone: none)
//   items TITLE ID                     prints a combo box's or a list box's items, one a line
//   clipboard                          prints the clipboard's text as it is
//   exit-code COMMAND-LINE SECONDS     runs the program to its end and prints its whole exit code
//   select TITLE ID TEXT               selects the item TEXT and tells the parent (CBN_SELCHANGE, posted)
//   status-text TITLE PANE             prints the text of a pane of the window's status bar
//   window-rect TITLE                  prints the window's screen rectangle: left top right bottom
//   control-rect TITLE ID              prints the control's screen rectangle, likewise
//   button-rect TITLE BAR COMMAND      prints the screen rectangle of the button COMMAND in the toolbar with id BAR
//   mouse down|move|up X Y             puts the cursor at the screen point, then presses or releases the left button
//   processes NAME                     prints how many processes run the program file NAME
//   pids NAME                          prints the process ids that run the program file NAME, one a line
//   values KEY                         prints the values of HKEY_LOCAL_MACHINE\KEY, one a line:
//                                      name, type and data in hex, tab-separated (exit 1: no such key)
//   set-text TITLE ID TEXT             sets the text of the control with ID
//   wait-child TITLE CLASS [SECONDS]   a visible descendant of the window of class CLASS appears; prints
//                                      its screen rectangle
// Controls are found by id among all descendants of the window, so the
// controls of a form hosted in a frame are reached through the frame's title.
#include "common/SettingsStore.h"
#include "win32/Win32Registry.h"

#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kUsage = 2;
constexpr int kTimedOut = 3;

HWND WaitForWindow(const char* className, const char* title, int seconds) {
    for (int waited = 0;; waited += 100) {
        HWND window = FindWindowA(className, title);
        if (window != nullptr || waited >= seconds * 1000) return window;
        Sleep(100);
    }
}

HWND FindOrComplain(const char* title) {
    HWND window = FindWindowA(nullptr, title);
    if (window == nullptr) std::fprintf(stderr, "no window titled \"%s\"\n", title);
    return window;
}

// A window whose thread has stopped answering must not hold the driver.
std::string TextOf(HWND window) {
    char text[4096] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             5000, &copied)) {
        std::fprintf(stderr, "window %p did not give its text\n", static_cast<void*>(window));
    }
    return text;
}

std::string WithoutAmpersands(std::string text) {
    std::string plain;
    for (char c : text) {
        if (c != '&') plain += c;
    }
    return plain;
}

bool HasClass(HWND window, const char* name) {
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    return lstrcmpiA(className, name) == 0;
}

struct BoxParts {
    const char* buttonText;
    HWND button;
    std::string message;  // the first static text that says something
};

BOOL CALLBACK CollectParts(HWND child, LPARAM param) {
    auto* parts = reinterpret_cast<BoxParts*>(param);
    if (HasClass(child, "Button") && parts->button == nullptr &&
        WithoutAmpersands(TextOf(child)) == parts->buttonText) {
        parts->button = child;
    }
    if (HasClass(child, "Static") && parts->message.empty()) parts->message = TextOf(child);
    return TRUE;
}

RECT WindowRectOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

UINT ParseNumber(const char* text) { return static_cast<UINT>(std::strtoul(text, nullptr, 0)); }

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ControlSearch*>(param);
    if (GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = child;
    return FALSE;
}

// A direct child first, then any descendant.
HWND FindControl(HWND window, int id) {
    if (HWND child = GetDlgItem(window, id)) return child;
    ControlSearch search = {id, nullptr};
    EnumChildWindows(window, &MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Under Wine a combo box's items come back as UTF-16 only; printed as the
// ANSI code page has them. A list box's the same way.
std::string ComboItem(HWND combo, int index) {
    const bool list = HasClass(combo, "ListBox");
    const LRESULT length = SendMessageW(combo, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::vector<wchar_t> wide(static_cast<std::size_t>(length) + 1);
    SendMessageW(combo, list ? LB_GETTEXT : CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(wide.data()));
    char text[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, text, sizeof text, nullptr, nullptr);
    return text;
}

int Select(HWND combo, const char* text) {
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (int index = 0; index < count; ++index) {
        if (ComboItem(combo, index) != text) continue;
        SendMessageW(combo, CB_SETCURSEL, index, 0);
        // Posted: the parent may answer with a modal dialog.
        return PostMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                            reinterpret_cast<LPARAM>(combo))
                   ? 0
                   : 1;
    }
    std::fprintf(stderr, "no item \"%s\"\n", text);
    return 1;
}

// Memory in the process of another program's window, for the messages that
// answer through a pointer: the reply is written there and read back.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, SIZE_T size) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_ != nullptr) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer() {
        if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_ != nullptr) CloseHandle(process_);
    }
    explicit operator bool() const { return address_ != nullptr; }
    LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
    bool Read(void* into, SIZE_T size) const {
        return address_ != nullptr && ReadProcessMemory(process_, address_, into, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

int StatusText(HWND window, int pane) {
    HWND bar = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr);
    if (bar == nullptr) {
        std::fprintf(stderr, "no status bar\n");
        return 1;
    }
    const SIZE_T size = 1024;
    RemoteBuffer remote(bar, size);
    const LRESULT length = SendMessageA(bar, SB_GETTEXTLENGTHA, pane, 0) & 0xFFFF;
    char text[size] = {};
    if (!remote || length >= static_cast<LRESULT>(size)) return 1;
    SendMessageA(bar, SB_GETTEXTA, pane, remote.Address());
    if (!remote.Read(text, static_cast<SIZE_T>(length))) return 1;
    std::printf("%s\n", text);
    return 0;
}

// Runs a program to its end and prints its whole exit code, which Wine's
// own exit status cuts to the low 8 bits.
int PrintExitCode(const char* commandLine, int seconds) {
    std::string line = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %s\n", commandLine);
        return 1;
    }
    DWORD code = 0;
    const bool ended = WaitForSingleObject(process.hProcess, seconds * 1000) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!ended) return kTimedOut;
    std::printf("%lu\n", static_cast<unsigned long>(code));
    return 0;
}

int PrintClipboardText() {
    // Its CRLFs as they are, not doubled by the text mode.
    _setmode(_fileno(stdout), _O_BINARY);
    if (!OpenClipboard(nullptr)) return 1;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (text != nullptr) {
        std::fwrite(text, 1, std::strlen(text), stdout);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text != nullptr ? 0 : 1;
}

void PrintRect(const RECT& rect) { std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom); }

// The screen rectangle of the toolbar's button for the command.
int ButtonRect(HWND toolbar, int command) {
    const LRESULT index = SendMessageA(toolbar, TB_COMMANDTOINDEX, command, 0);
    RemoteBuffer remote(toolbar, sizeof(RECT));
    RECT rect = {};
    if (index < 0 || !remote || !SendMessageA(toolbar, TB_GETITEMRECT, index, remote.Address()) ||
        !remote.Read(&rect, sizeof rect)) {
        std::fprintf(stderr, "no button %d\n", command);
        return 1;
    }
    MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    PrintRect(rect);
    return 0;
}

// The left button as a user's: the cursor is put at x, y (which moves the
// mouse there), then the button goes down or up, or nothing else happens.
int Mouse(const std::string& action, int x, int y) {
    if (action != "move" && action != "down" && action != "up") return kUsage;
    if (!SetCursorPos(x, y)) return 1;
    if (action == "down") mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    if (action == "up") mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    return 0;
}

// The ids of the processes running the program file name; false when they can't be listed.
bool ProcessIds(const char* name, std::vector<DWORD>* ids) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, name) == 0) ids->push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return true;
}

int PrintProcesses(const char* name, bool eachId) {
    std::vector<DWORD> ids;
    if (!ProcessIds(name, &ids)) return 1;
    if (!eachId) {
        std::printf("%u\n", static_cast<unsigned>(ids.size()));
        return 0;
    }
    for (DWORD id : ids) std::printf("%lu\n", static_cast<unsigned long>(id));
    return 0;
}

int PrintValues(const char* path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        std::fprintf(stderr, "no key %s\n", path);
        return 1;
    }
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameLength = sizeof name;
        BYTE data[4096];
        DWORD size = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        std::printf("%s\t%lu\t", name, static_cast<unsigned long>(type));
        for (DWORD i = 0; i < size; ++i) std::printf("%02x", data[i]);
        std::printf("\n");
    }
    RegCloseKey(key);
    return 0;
}

struct ClassSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ClassSearch*>(param);
    if (!HasClass(child, search->className) || !IsWindowVisible(child)) return TRUE;
    search->found = child;
    return FALSE;
}

// Polls often: what it waits for may last only a moment.
int WaitForChild(HWND window, const char* className, int seconds) {
    for (int waited = 0; waited < seconds * 1000; waited += 5) {
        ClassSearch search = {className, nullptr};
        EnumChildWindows(window, &MatchClass, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            PrintRect(WindowRectOf(search.found));
            return 0;
        }
        Sleep(5);
    }
    std::fprintf(stderr, "no child of class %s\n", className);
    return 1;
}

int ControlCommand(const std::string& command, HWND control, int argc, char** argv) {
    if (command == "click" && argc == 4) return PostMessageA(control, BM_CLICK, 0, 0) ? 0 : 1;
    if (command == "set-text" && argc == 5) {
        return SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4])) ? 0 : 1;
    }
    if (command == "control-text" && argc == 4) {
        std::printf("%s\n", TextOf(control).c_str());
        return 0;
    }
    if (command == "checked" && argc == 4) {
        std::printf("%ld\n", static_cast<long>(SendMessageA(control, BM_GETCHECK, 0, 0)));
        return 0;
    }
    if (command == "enabled" && argc == 4) {
        std::printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
        return 0;
    }
    if (command == "visible" && argc == 4) {
        std::printf("%d\n", IsWindowVisible(control) ? 1 : 0);
        return 0;
    }
    if (command == "selection" && argc == 4) {
        const int index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
        if (index < 0) {
            std::printf("-1\n");
        } else {
            std::printf("%d %s\n", index, ComboItem(control, index).c_str());
        }
        return 0;
    }
    if (command == "items" && argc == 4) {
        const LRESULT count = SendMessageW(control, HasClass(control, "ListBox") ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
        for (int index = 0; index < count; ++index) std::printf("%s\n", ComboItem(control, index).c_str());
        return 0;
    }
    if (command == "select" && argc == 5) return Select(control, argv[4]);
    if (command == "set-text" && argc == 5) {
        return SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4])) ? 0 : 1;
    }
    if (command == "control-rect" && argc == 4) {
        PrintRect(WindowRectOf(control));
        return 0;
    }
    if (command == "button-rect" && argc == 5) return ButtonRect(control, static_cast<int>(ParseNumber(argv[4])));
    return kUsage;
}

// Waits for a box with that button: the box before it may still be closing.
int Answer(const char* caption, const char* button, int seconds) {
    for (int waited = 0;; waited += 100) {
        // Message boxes are dialogs of the standard class.
        HWND box = FindWindowA("#32770", caption);
        BoxParts parts = {button, nullptr, {}};
        if (box != nullptr) EnumChildWindows(box, &CollectParts, reinterpret_cast<LPARAM>(&parts));
        if (parts.button != nullptr) {
            std::printf("%s\n", parts.message.c_str());
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(parts.button), BN_CLICKED),
                         reinterpret_cast<LPARAM>(parts.button));
            return 0;
        }
        if (waited >= seconds * 1000) {
            std::fprintf(stderr, "no message box captioned \"%s\" with a button \"%s\"\n", caption, button);
            return 1;
        }
        Sleep(100);
    }
}

int Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 20000, &result)) {
        std::fprintf(stderr, "the window did not answer\n");
        return kTimedOut;
    }
    std::printf("%lu\n", static_cast<unsigned long>(result));
    return 0;
}

int Setting(const char* section, const char* name, const char* form) {
    Win32Registry registry;
    SettingsStore store(registry);
    const char* absent = "\x01";
    const std::string value = store.ReadString(section, name, absent, std::strcmp(form, "scrambled") == 0);
    if (value == absent) {
        std::fprintf(stderr, "no value %s of section %s\n", name, section);
        return 1;
    }
    std::printf("%s\n", value.c_str());
    return 0;
}

int Run(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "clipboard") == 0) return PrintClipboardText();
    if (argc < 3) return kUsage;
    const std::string command = argv[1];
    if (command == "wait-window") {
        return WaitForWindow(nullptr, argv[2], argc > 3 ? std::atoi(argv[3]) : 20) != nullptr ? 0 : 1;
    }
    if (command == "no-window") return FindWindowA(nullptr, argv[2]) == nullptr ? 0 : 1;
    if (command == "answer" && argc >= 4) return Answer(argv[2], argv[3], argc > 4 ? std::atoi(argv[4]) : 20);
    if (command == "exit-code" && argc == 4) return PrintExitCode(argv[2], std::atoi(argv[3]));
    if (command == "setting" && argc == 5) return Setting(argv[2], argv[3], argv[4]);
    if (command == "processes") return PrintProcesses(argv[2], false);
    if (command == "pids") return PrintProcesses(argv[2], true);
    if (command == "values") return PrintValues(argv[2]);
    if (command == "mouse" && argc == 5) return Mouse(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));

    HWND window = FindOrComplain(argv[2]);
    if (window == nullptr) return 1;
    if (command == "window-handle") {
        std::printf("%p\n", static_cast<void*>(window));
        return 0;
    }
    if (command == "window-text") {
        std::printf("%s\n", TextOf(window).c_str());
        return 0;
    }
    if ((command == "send" || command == "post") && argc == 6) {
        const UINT message = ParseNumber(argv[3]);
        const WPARAM wParam = ParseNumber(argv[4]);
        const LPARAM lParam = static_cast<LPARAM>(ParseNumber(argv[5]));
        if (command == "send") return Send(window, message, wParam, lParam);
        return PostMessageA(window, message, wParam, lParam) ? 0 : 1;
    }
    if (command == "send-registered" && argc == 4) return Send(window, RegisterWindowMessageA(argv[3]), 0, 0);
    if (command == "status-text" && argc == 4) return StatusText(window, static_cast<int>(ParseNumber(argv[3])));
    if (command == "wait-child" && argc >= 4) return WaitForChild(window, argv[3], argc > 4 ? std::atoi(argv[4]) : 20);
    if (command == "window-rect") {
        PrintRect(WindowRectOf(window));
        return 0;
    }
    if (argc < 4) return kUsage;
    // A window that has just appeared may get its controls a moment later.
    const int id = static_cast<int>(ParseNumber(argv[3]));
    HWND control = FindControl(window, id);
    for (int waited = 0; control == nullptr && waited < 20000; waited += 100) {
        Sleep(100);
        control = FindControl(window, id);
    }
    if (control == nullptr) {
        std::fprintf(stderr, "no control %s\n", argv[3]);
        return 1;
    }
    return ControlCommand(command, control, argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
    const int result = Run(argc, argv);
    if (result == kUsage) std::fprintf(stderr, "driver: unknown command or wrong arguments\n");
    std::fflush(stdout);
    // Ends at once: Wine's orderly exit runs glibc's, which a library still
    // loading in another of our threads can abort with 127 ("Inconsistency
    // detected by ld.so"), and the answer must not hang on that race.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
