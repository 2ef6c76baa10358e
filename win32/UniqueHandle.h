#pragma once
#include <windows.h>

#include <utility>

// One move-only owner for every kind of handle; Close says how it is given back.
template <typename Handle, typename Close>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        if (handle_ != nullptr && handle_ != handle) Close()(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

struct DestroyWindowCloser { void operator()(HWND h) const { DestroyWindow(h); } };
struct DestroyIconCloser { void operator()(HICON h) const { DestroyIcon(h); } };
struct DestroyMenuCloser { void operator()(HMENU h) const { DestroyMenu(h); } };
struct DeleteObjectCloser { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct RegCloseKeyCloser { void operator()(HKEY h) const { RegCloseKey(h); } };
// Kernel objects whose failure value is null, such as threads.
struct CloseHandleCloser { void operator()(HANDLE h) const { CloseHandle(h); } };
struct GlobalFreeCloser { void operator()(HGLOBAL h) const { GlobalFree(h); } };

using UniqueHwnd = UniqueHandle<HWND, DestroyWindowCloser>;
using UniqueHicon = UniqueHandle<HICON, DestroyIconCloser>;
using UniqueHmenu = UniqueHandle<HMENU, DestroyMenuCloser>;
using UniqueHbitmap = UniqueHandle<HBITMAP, DeleteObjectCloser>;
using UniqueHfont = UniqueHandle<HFONT, DeleteObjectCloser>;
using UniqueHpalette = UniqueHandle<HPALETTE, DeleteObjectCloser>;
using UniqueHbrush = UniqueHandle<HBRUSH, DeleteObjectCloser>;
using UniqueHkey = UniqueHandle<HKEY, RegCloseKeyCloser>;
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandleCloser>;
using UniqueHglobal = UniqueHandle<HGLOBAL, GlobalFreeCloser>;

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
