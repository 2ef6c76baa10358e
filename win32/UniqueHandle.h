#pragma once
#include <windows.h>

#include <utility>

// The value that owns nothing: null for most handles, INVALID_HANDLE_VALUE
// for those whose creators answer it on failure (files, ICMP handles).
template <typename Handle>
struct NullIsNone {
    static Handle None() { return nullptr; }
};
struct InvalidValueIsNone {
    static HANDLE None() { return INVALID_HANDLE_VALUE; }
};

// One move-only owner for every kind of handle; Close says how it is given
// back. A Close with state (a function loaded at run time) moves with the
// handle it closes; one without costs no room.
template <typename Handle, typename Close, typename Empty = NullIsNone<Handle>>
class UniqueHandle : private Close {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle, Close close = Close()) : Close(close), handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : Close(other.get_closer()), handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        // The handle held until now goes back through its own closer.
        reset(other.release());
        get_closer() = other.get_closer();
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    Close& get_closer() { return *this; }
    explicit operator bool() const { return handle_ != Empty::None(); }
    Handle release() { return std::exchange(handle_, Empty::None()); }
    void reset(Handle handle = Empty::None()) {
        if (handle_ != Empty::None() && handle_ != handle) get_closer()(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Empty::None();
};

struct DestroyWindowCloser { void operator()(HWND h) const { DestroyWindow(h); } };
struct DestroyIconCloser { void operator()(HICON h) const { DestroyIcon(h); } };
struct DestroyMenuCloser { void operator()(HMENU h) const { DestroyMenu(h); } };
struct DeleteObjectCloser { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct RegCloseKeyCloser { void operator()(HKEY h) const { RegCloseKey(h); } };
// Kernel objects whose failure value is null, such as threads.
struct CloseHandleCloser { void operator()(HANDLE h) const { CloseHandle(h); } };
struct GlobalFreeCloser { void operator()(HGLOBAL h) const { GlobalFree(h); } };
struct FreeLibraryCloser { void operator()(HMODULE h) const { FreeLibrary(h); } };

using UniqueHwnd = UniqueHandle<HWND, DestroyWindowCloser>;
using UniqueHicon = UniqueHandle<HICON, DestroyIconCloser>;
using UniqueHmenu = UniqueHandle<HMENU, DestroyMenuCloser>;
using UniqueHbitmap = UniqueHandle<HBITMAP, DeleteObjectCloser>;
using UniqueHfont = UniqueHandle<HFONT, DeleteObjectCloser>;
using UniqueHpalette = UniqueHandle<HPALETTE, DeleteObjectCloser>;
using UniqueHbrush = UniqueHandle<HBRUSH, DeleteObjectCloser>;
using UniqueHkey = UniqueHandle<HKEY, RegCloseKeyCloser>;
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandleCloser>;
// A file from CreateFileA.
using UniqueFile = UniqueHandle<HANDLE, CloseHandleCloser, InvalidValueIsNone>;
using UniqueHglobal = UniqueHandle<HGLOBAL, GlobalFreeCloser>;
// A module from LoadLibrary or LoadLibraryEx.
using UniqueHmodule = UniqueHandle<HMODULE, FreeLibraryCloser>;

// A window's device context (its client area, or with wholeWindow the whole
// window), released to the window it came from. No window: the screen's.
class WindowDc {
public:
    explicit WindowDc(HWND window, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() { if (dc_ != nullptr) ReleaseDC(window_, dc_); }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { if (previous_ != nullptr) SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};
