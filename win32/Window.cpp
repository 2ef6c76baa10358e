#include "win32/Window.h"

Window::~Window() { Destroy(); }

bool Window::RegisterWindowClass(const char* className, HICON icon, UINT style) {
    WNDCLASSA existing;
    if (GetClassInfoA(GetModuleHandleA(nullptr), className, &existing)) return true;
    WNDCLASSA windowClass = {};
    windowClass.style = style;
    windowClass.lpfnWndProc = &Window::Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    return RegisterClassA(&windowClass) != 0;
}

bool Window::Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x, int y,
                    int width, int height, HWND parent, HMENU menu) {
    CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                    GetModuleHandleA(nullptr), this);
    return hwnd_ != nullptr;
}

void Window::Destroy() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_COMMAND &&
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) {
        return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

bool Window::OnCommand(WORD, WORD, HWND) noexcept { return false; }

LRESULT Window::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnDestroyed();
    }
    return result;
}
