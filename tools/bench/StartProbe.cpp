// Times program starts from inside the prefix: from CreateProcess until the
// program's window with the given title is visible and its thread answers a
// sent message (so it has finished starting and waits for the user). Each
// run is closed with WM_CLOSE before the next starts.
//   bench_probe.exe RUNS TITLE COMMAND_LINE
// prints one line per run: the time and the CPU time the program used until
// then, both in milliseconds; exit code 0 when every run showed its window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The visible top-level window of this process with exactly this title.
HWND WindowOf(DWORD process, const char* title) {
    for (HWND window = FindWindowA(nullptr, title); window != nullptr;
         window = FindWindowExA(nullptr, window, nullptr, title)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

double CpuMilliseconds(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
    const auto ticks = [](FILETIME time) { return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

bool TimeOneStart(const char* title, const char* commandLine, double& elapsed, double& cpu) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    char line[2048];
    lstrcpynA(line, commandLine, sizeof line);
    LARGE_INTEGER start, shown;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    HWND window = nullptr;
    for (int waited = 0; window == nullptr && waited < 60000; waited += 2) {
        if (WaitForSingleObject(process.hProcess, 2) == WAIT_OBJECT_0) break;
        window = WindowOf(process.dwProcessId, title);
    }
    DWORD_PTR answer = 0;
    const bool ready =
        window != nullptr && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer) != 0;
    QueryPerformanceCounter(&shown);
    elapsed = Milliseconds(start, shown);
    cpu = CpuMilliseconds(process.hProcess);
    if (window != nullptr) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ready;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_probe RUNS TITLE COMMAND_LINE\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    for (int run = 0; run < runs; ++run) {
        double elapsed = 0, cpu = 0;
        if (!TimeOneStart(argv[2], argv[3], elapsed, cpu)) {
            std::fprintf(stderr, "run %d: no window titled \"%s\"\n", run + 1, argv[2]);
            return 1;
        }
        std::printf("%.1f %.1f\n", elapsed, cpu);
        std::fflush(stdout);
    }
    return 0;
}
