#pragma once
#include "win32/CriticalSection.h"

#include <windows.h>

#include <atomic>

// What a dialog shares with a worker thread it started, besides the work's
// own data: the flag that stops the worker, and the window that hears its
// news. The dialog never waits for the worker; it lets it go on alone.
struct WorkerLink {
    WorkerLink(HWND listener, UINT newsMessage) : window(listener), news(newsMessage) {}

    // Under lock: news for the window, while one listens.
    void Tell() const {
        if (window != nullptr) PostMessageA(window, news, 0, 0);
    }
    // The worker ends after the step under way; nothing it finds reaches the window.
    void LetGo() noexcept {
        stop = true;
        const CriticalSection::Lock locked(lock);
        window = nullptr;
    }

    std::atomic<bool> stop{false};
    CriticalSection lock;
    HWND window;  // under lock; null once the dialog no longer listens
    const UINT news;
};
