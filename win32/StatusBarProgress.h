#pragma once
#include "win32/UniqueHandle.h"

#include <windows.h>

// A progress bar from 0 to 100 laid over the first pane of a status bar, as
// its child with id 0; over the one pixel right of the bar when that pane is
// empty. No message loop runs while it shows, so each step paints at once.
class StatusBarProgress {
public:
    void Begin(HWND statusBar) noexcept;
    void Step() noexcept;
    void End() noexcept { bar_.reset(); }
    // The bar while it shows; null otherwise.
    HWND Handle() const { return bar_.get(); }

private:
    UniqueHwnd bar_;
};
