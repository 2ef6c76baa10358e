#pragma once
#include <windows.h>

// Owns the subclass of a window made by someone else (a dialog's control, a
// frame's toolbar). Subclass installs a procedure that finds this object
// through a window property and hands every message to HandleMessage; what
// that does not answer itself goes on to the previous procedure
// (CallPrevious). The previous procedure comes back on Unsubclass, on
// destruction and at the window's WM_NCDESTROY, which always reaches it.
// Should a later subclass sit on top of ours by then, our procedure stays in
// its chain and only passes messages on. One owner per window; not copyable,
// since the window holds the object's address.
//
// A parent hands its controls the notifications they send it through
// Reflect, so that a control answers for its own clicks and colours (Dialog
// does so for every dialog).
class SubclassedWindow {
public:
    SubclassedWindow() = default;
    SubclassedWindow(const SubclassedWindow&) = delete;
    SubclassedWindow& operator=(const SubclassedWindow&) = delete;
    virtual ~SubclassedWindow();

    // False, with nothing changed, for a null window, when this object owns a
    // window already, or when the window has (or had) an owner.
    bool Subclass(HWND window) noexcept;
    // A derived class that cleans up in OnUnsubclass calls this in its own destructor.
    void Unsubclass() noexcept;
    HWND Handle() const { return hwnd_; }
    // The owner of the window's subclass, or nullptr.
    static SubclassedWindow* FromHandle(HWND window) noexcept;

    // A parent's WM_COMMAND or WM_CTLCOLOR* message, offered to the owner of
    // the control it is about: true when the owner answered, with its answer
    // in result.
    static bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept;

protected:
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // A notification reflected by the parent; false leaves it to the parent.
    virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept;
    // The subclass is about to end; the window is still there.
    virtual void OnUnsubclass() noexcept {}
    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    WNDPROC previous_ = nullptr;
};
