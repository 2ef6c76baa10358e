#include "win32/StatusBarProgress.h"

#include <commctrl.h>

void StatusBarProgress::Begin(HWND statusBar) noexcept {
    RECT rect = {};
    SendMessageA(statusBar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    if (IsRectEmpty(&rect)) {
        // One pixel just right of the status bar, in its own coordinates.
        RECT bar;
        GetWindowRect(statusBar, &bar);
        MapWindowPoints(nullptr, statusBar, reinterpret_cast<POINT*>(&bar), 2);
        rect = {bar.right, bar.top, bar.right + 1, bar.bottom};
    }
    bar_.reset(CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, statusBar, nullptr,
                               GetModuleHandleA(nullptr), nullptr));
    SendMessageA(bar_.get(), PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageA(bar_.get(), PBM_SETSTEP, 1, 0);
    SendMessageA(bar_.get(), PBM_SETPOS, 0, 0);
    UpdateWindow(bar_.get());
}

void StatusBarProgress::Step() noexcept {
    SendMessageA(bar_.get(), PBM_STEPIT, 0, 0);
    UpdateWindow(bar_.get());
}
