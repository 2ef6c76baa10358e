#pragma once
#include <windows.h>

#include <cstddef>
#include <type_traits>

// Base of every window and dialog of ours. One procedure serves both: it
// finds the object through the pointer stored at WM_NCCREATE (a window) or
// WM_INITDIALOG (a dialog, see Dialog) and calls HandleMessage, which must
// not throw. Derived classes switch on the message there and keep their
// commands in a table of their own (CommandEntry) dispatched from OnCommand.
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd_; }

    // Registers (once) a class whose procedure dispatches to Window objects.
    static bool RegisterWindowClass(const char* className, HICON icon = nullptr, UINT style = 0);

    bool Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x, int y,
                int width, int height, HWND parent, HMENU menu);
    void Destroy();

protected:
    // Called for every message once the window knows its object; a dialog
    // answers as a dialog procedure does.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // WM_COMMAND; returns false when the id is not handled.
    virtual bool OnCommand(WORD id, WORD code, HWND control) noexcept;
    // A window's default answer (DefWindowProcA); a dialog leaves it to the dialog manager instead.
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // The window is gone; hwnd_ is already cleared.
    virtual void OnDestroyed() noexcept {}

    // The procedure: a window procedure for RegisterClassA (kDialog false),
    // a dialog procedure for the dialog functions (true). Until the object
    // is known, a window's messages go to DefWindowProcA and a dialog's to
    // the dialog manager.
    template <bool kDialog>
    using Answer = std::conditional_t<kDialog, INT_PTR, LRESULT>;
    template <bool kDialog>
    static Answer<kDialog> CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND hwnd_ = nullptr;
};

// A command table: ids and the member function each runs.
template <class Owner>
struct CommandEntry {
    WORD id;
    void (Owner::*handler)();
};

template <class Owner, std::size_t N>
bool DispatchCommand(Owner* owner, const CommandEntry<Owner> (&table)[N], WORD id) {
    for (const auto& entry : table) {
        if (entry.id == id) {
            (owner->*entry.handler)();
            return true;
        }
    }
    return false;
}
