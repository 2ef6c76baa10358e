// The yardstick for the agent at rest: a hidden window with one tray icon
// and a message loop, nothing else.
#include <windows.h>
#include <shellapi.h>

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    NOTIFYICONDATAA icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = 1;
    switch (message) {
    case WM_CREATE:
        icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
        icon.uCallbackMessage = kTrayMessage;
        icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        lstrcpynA(icon.szTip, "Minimal Tray", sizeof icon.szTip);
        Shell_NotifyIconA(NIM_ADD, &icon);
        return 0;
    case WM_DESTROY:
        Shell_NotifyIconA(NIM_DELETE, &icon);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "MinimalTray";
    if (!RegisterClassA(&windowClass)) return 1;
    if (!CreateWindowExA(0, windowClass.lpszClassName, "Minimal Tray", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr,
                         nullptr, instance, nullptr)) {
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
