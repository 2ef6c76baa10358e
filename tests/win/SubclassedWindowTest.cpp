// The subclass owner on a real Wine control.
#include "win32/SubclassedWindow.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

namespace {

class Answering : public SubclassedWindow {
protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
        return message == WM_USER ? 42 : CallPrevious(message, wParam, lParam);
    }
};

// Someone else's subclass: passes everything on to the procedure it found.
WNDPROC laterPrevious = nullptr;
LRESULT CALLBACK LaterSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(laterPrevious, hwnd, message, wParam, lParam);
}

WNDPROC ProcedureOf(HWND window) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)); }

}  // namespace

TEST(SubclassedWindowTest, ThePreviousProcedureKeepsWorkingWhicheverSubclassGoesFirst) {
    HWND control = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    const WNDPROC original = ProcedureOf(control);
    {
        Answering owner;
        ASSERT_TRUE(owner.Subclass(control));
        EXPECT_EQ(42, SendMessageA(control, WM_USER, 0, 0));
    }
    EXPECT_EQ(original, ProcedureOf(control));

    auto owner = std::make_unique<Answering>();
    ASSERT_TRUE(owner->Subclass(control));
    laterPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterSubclass)));
    owner.reset();
    EXPECT_EQ(&LaterSubclass, ProcedureOf(control));
    EXPECT_EQ(0, SendMessageA(control, WM_USER, 0, 0));
    // Only the static itself answers this (DefWindowProc says 0).
    EXPECT_EQ(DLGC_STATIC, SendMessageA(control, WM_GETDLGCODE, 0, 0));
    DestroyWindow(control);
}
