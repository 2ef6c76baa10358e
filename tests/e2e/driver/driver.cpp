// The end-to-end tests' hands and eyes inside the Wine prefix: one command
// per run, results on standard output, exit code 0 on success.
//
//   wait-window TITLE [SECONDS]        a top-level window with exactly TITLE appears
//   no-window TITLE                    no top-level window has exactly TITLE
//   window-text TITLE                  prints the window's text
//   answer CAPTION BUTTON [SECONDS]    waits for a message box, prints its text, presses BUTTON
//   send TITLE MESSAGE WPARAM LPARAM   SendMessage (gives up after 20 s, exit 3); prints the result
//   post TITLE MESSAGE WPARAM LPARAM   PostMessage
//   send-registered TITLE NAME         sends the registered message NAME (wParam and lParam 0)
//   click TITLE ID                     clicks the control with ID in the window
//   control-text TITLE ID              prints the text of the control with ID
//   setting SECTION NAME plain|scrambled   prints a value of the product's settings store
#include "common/SettingsStore.h"
#include "win32/Win32Registry.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

std::string TextOf(HWND window) {
    char text[4096] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
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

UINT ParseNumber(const char* text) { return static_cast<UINT>(std::strtoul(text, nullptr, 0)); }

int Answer(const char* caption, const char* button, int seconds) {
    // Message boxes are dialogs of the standard class.
    HWND box = WaitForWindow("#32770", caption, seconds);
    if (box == nullptr) {
        std::fprintf(stderr, "no message box captioned \"%s\"\n", caption);
        return 1;
    }
    BoxParts parts = {button, nullptr, {}};
    EnumChildWindows(box, &CollectParts, reinterpret_cast<LPARAM>(&parts));
    std::printf("%s\n", parts.message.c_str());
    if (parts.button == nullptr) {
        std::fprintf(stderr, "no button \"%s\"\n", button);
        return 1;
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(parts.button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(parts.button));
    return 0;
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
    if (argc < 3) return kUsage;
    const std::string command = argv[1];
    if (command == "wait-window") {
        return WaitForWindow(nullptr, argv[2], argc > 3 ? std::atoi(argv[3]) : 20) != nullptr ? 0 : 1;
    }
    if (command == "no-window") return FindWindowA(nullptr, argv[2]) == nullptr ? 0 : 1;
    if (command == "answer" && argc >= 4) return Answer(argv[2], argv[3], argc > 4 ? std::atoi(argv[4]) : 20);
    if (command == "setting" && argc == 5) return Setting(argv[2], argv[3], argv[4]);

    HWND window = FindOrComplain(argv[2]);
    if (window == nullptr) return 1;
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
    if ((command == "click" || command == "control-text") && argc == 4) {
        HWND control = GetDlgItem(window, static_cast<int>(ParseNumber(argv[3])));
        if (control == nullptr) {
            std::fprintf(stderr, "no control %s\n", argv[3]);
            return 1;
        }
        if (command == "click") return PostMessageA(control, BM_CLICK, 0, 0) ? 0 : 1;
        std::printf("%s\n", TextOf(control).c_str());
        return 0;
    }
    return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    const int result = Run(argc, argv);
    if (result == kUsage) std::fprintf(stderr, "driver: unknown command or wrong arguments\n");
    std::fflush(stdout);
    return result;
}
