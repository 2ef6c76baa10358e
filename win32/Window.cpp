#include "win32/Window.h"

Window::~Window() { Destroy(); }

bool Window::RegisterWindowClass(const char* className, HICON icon, UINT style) {
    WNDCLASSA existing;
    if (GetClassInfoA(GetModuleHandleA(nullptr), className, &existing)) return true;
    WNDCLASSA windowClass = {};
    windowClass.style = style;
    windowClass.lpfnWndProc = &Window::Procedure<false>;
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

template <bool kDialog>
Window::Answer<kDialog> CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Each kind keeps the object where its kind of window keeps private data.
    const int slot = kDialog ? static_cast<int>(DWLP_USER) : GWLP_USERDATA;
    Window* self;
    if (message == (kDialog ? WM_INITDIALOG : WM_NCCREATE)) {
        self = kDialog ? reinterpret_cast<Window*>(lParam)
                       : static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, slot, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, slot));
    }
    if (self == nullptr) {
        if constexpr (kDialog) {
            return FALSE;
        } else {
            return DefWindowProcA(hwnd, message, wParam, lParam);
        }
    }
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, slot, 0);
        self->hwnd_ = nullptr;
        self->OnDestroyed();
    }
    return result;
}

template Window::Answer<false> CALLBACK Window::Procedure<false>(HWND, UINT, WPARAM, LPARAM);
template Window::Answer<true> CALLBACK Window::Procedure<true>(HWND, UINT, WPARAM, LPARAM);
