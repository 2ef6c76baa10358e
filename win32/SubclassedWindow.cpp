#include "win32/SubclassedWindow.h"

namespace {

const char kOwnerProperty[] = "ZvSubclassOwner";
// Kept apart from the owner, so that the chain holds when the owner has gone
// but a later subclass still calls our procedure.
const char kPreviousProperty[] = "ZvSubclassPrevious";

WNDPROC PreviousOf(HWND window) { return reinterpret_cast<WNDPROC>(GetPropA(window, kPreviousProperty)); }

}  // namespace

SubclassedWindow::~SubclassedWindow() { Unsubclass(); }

SubclassedWindow* SubclassedWindow::FromHandle(HWND window) noexcept {
    return window != nullptr ? static_cast<SubclassedWindow*>(GetPropA(window, kOwnerProperty)) : nullptr;
}

bool SubclassedWindow::Subclass(HWND window) noexcept {
    if (window == nullptr || hwnd_ != nullptr || PreviousOf(window) != nullptr) return false;
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    if (previous == nullptr || !SetPropA(window, kOwnerProperty, this)) return false;
    if (!SetPropA(window, kPreviousProperty, reinterpret_cast<HANDLE>(previous))) {
        RemovePropA(window, kOwnerProperty);
        return false;
    }
    hwnd_ = window;
    previous_ = previous;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassedWindow::Procedure));
    return true;
}

void SubclassedWindow::Unsubclass() noexcept {
    if (hwnd_ == nullptr) return;
    OnUnsubclass();
    RemovePropA(hwnd_, kOwnerProperty);
    if (GetWindowLongPtrA(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassedWindow::Procedure)) {
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        RemovePropA(hwnd_, kPreviousProperty);
    }
    hwnd_ = nullptr;
    previous_ = nullptr;
}

bool SubclassedWindow::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept {
    const bool aboutControl =
        message == WM_COMMAND || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
    SubclassedWindow* owner = aboutControl ? FromHandle(reinterpret_cast<HWND>(lParam)) : nullptr;
    return owner != nullptr && owner->OnReflected(message, wParam, lParam, result);
}

LRESULT SubclassedWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return CallPrevious(message, wParam, lParam);
}

bool SubclassedWindow::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) noexcept { return false; }

LRESULT SubclassedWindow::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return CallWindowProcA(previous_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK SubclassedWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = PreviousOf(hwnd);
    SubclassedWindow* self = FromHandle(hwnd);
    if (message == WM_NCDESTROY) {
        if (self != nullptr) self->Unsubclass();
        RemovePropA(hwnd, kPreviousProperty);
    } else if (self != nullptr) {
        return self->HandleMessage(message, wParam, lParam);
    }
    if (previous == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}
