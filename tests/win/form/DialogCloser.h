#pragma once
#include "resources/zartune_ids.h"

#include <windows.h>

#include <string>
#include <vector>

// While it lives, every top-level dialog this thread opens is recorded as
// its WM_INITDIALOG returns and answered at once (with OK unless told
// otherwise), so a modal dialog ends without anyone at the screen.
class DialogCloser {
public:
    struct Shown {
        std::string caption;
        std::string text;  // of the explanation dialog's text control
        bool hasIcon;
        HWND owner;
    };

    DialogCloser() {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, &Hook, nullptr, GetCurrentThreadId());
    }
    DialogCloser(const DialogCloser&) = delete;
    DialogCloser& operator=(const DialogCloser&) = delete;
    ~DialogCloser() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }

    std::vector<Shown> shown;
    WORD answer = IDOK;

private:
    static std::string TextOf(HWND window) {
        char text[4096] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }

    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<CWPRETSTRUCT*>(lParam);
        const bool topLevel = (GetWindowLongA(call->hwnd, GWL_STYLE) & WS_CHILD) == 0;  // not a hosted form
        if (code == HC_ACTION && call->message == WM_INITDIALOG && topLevel && current_ != nullptr) {
            HWND icon = GetDlgItem(call->hwnd, IDC_EXPLAIN_ICON);
            current_->shown.push_back({TextOf(call->hwnd), TextOf(GetDlgItem(call->hwnd, IDC_EXPLAIN_TEXT)),
                                       SendMessageA(icon, STM_GETICON, 0, 0) != 0, GetWindow(call->hwnd, GW_OWNER)});
            PostMessageA(call->hwnd, WM_COMMAND, current_->answer, 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline DialogCloser* current_ = nullptr;
    HHOOK hook_;
};
