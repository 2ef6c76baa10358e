#include "win32/Application.h"

int Application::Run() {
    MSG message;
    for (;;) {
        while (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            OnIdle();
            if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) break;
            WaitMessage();
        }
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) return static_cast<int>(message.wParam);
        if (!PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}
