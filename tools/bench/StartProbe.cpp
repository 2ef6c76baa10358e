// Watches, from inside the prefix, for a window that scripts/bench makes
// come: prints "waiting" once it looks, then "ready" once a new visible
// top-level window with the title exists and its thread answers a sent
// message (its program waits for the user), then closes that window or
// leaves it. Windows with the title that were there before do not count.
//   bench_probe.exe TITLE SECONDS close|leave
// Exit code 0 when the window came and answered within SECONDS.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>

namespace {

std::set<HWND> WindowsTitled(const char* title) {
    std::set<HWND> windows;
    for (HWND window = FindWindowA(nullptr, title); window != nullptr;
         window = FindWindowExA(nullptr, window, nullptr, title)) {
        windows.insert(window);
    }
    return windows;
}

HWND NewVisibleWindow(const char* title, const std::set<HWND>& old) {
    for (HWND window : WindowsTitled(title)) {
        if (old.count(window) == 0 && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || (lstrcmpA(argv[3], "close") != 0 && lstrcmpA(argv[3], "leave") != 0)) {
        std::fprintf(stderr, "usage: bench_probe TITLE SECONDS close|leave\n");
        return 2;
    }
    const char* title = argv[1];
    const int seconds = std::atoi(argv[2]);
    const std::set<HWND> old = WindowsTitled(title);
    std::printf("waiting\n");
    std::fflush(stdout);

    HWND window = nullptr;
    for (int waited = 0; window == nullptr && waited < seconds * 1000; waited += 2) {
        Sleep(2);
        window = NewVisibleWindow(title, old);
    }
    DWORD_PTR answer = 0;
    if (window == nullptr || SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, seconds * 1000, &answer) == 0) {
        std::fprintf(stderr, "no window titled \"%s\" answered\n", title);
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    if (lstrcmpA(argv[3], "close") == 0) PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
}
