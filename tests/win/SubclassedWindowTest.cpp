// The subclass owner on real Wine controls: the chain to the previous
// procedure, letting go, and reflection.
#include "win32/SubclassedWindow.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// Answers WM_USER itself and counts what it saw; reflected WM_COMMANDs with code 7 only.
class Recorder : public SubclassedWindow {
public:
    std::vector<UINT> seen;
    int unsubclassed = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
        seen.push_back(message);
        return message == WM_USER ? 42 : CallPrevious(message, wParam, lParam);
    }
    bool OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) noexcept override {
        if (message != WM_COMMAND || HIWORD(wParam) != 7) return false;
        result = 5;
        return true;
    }
    void OnUnsubclass() noexcept override { ++unsubclassed; }
};

HWND MakeStatic() {
    return CreateWindowExA(0, "STATIC", "text", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
}

std::string TextOf(HWND window) {
    char text[32] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

WNDPROC ProcedureOf(HWND window) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)); }

// Someone else's subclass: passes everything on to the procedure it found.
WNDPROC laterPrevious = nullptr;
LRESULT CALLBACK LaterSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(laterPrevious, hwnd, message, wParam, lParam);
}

}  // namespace

TEST(SubclassedWindowTest, HandsMessagesOnAndPutsThePreviousProcedureBack) {
    HWND control = MakeStatic();
    const WNDPROC original = ProcedureOf(control);
    {
        Recorder owner;
        ASSERT_TRUE(owner.Subclass(control));
        Recorder second;
        EXPECT_FALSE(second.Subclass(control));
        EXPECT_FALSE(owner.Subclass(MakeStatic()));
        EXPECT_EQ(&owner, SubclassedWindow::FromHandle(control));
        EXPECT_EQ(42, SendMessageA(control, WM_USER, 0, 0));
        EXPECT_EQ("text", TextOf(control));  // the static's own answer
        ASSERT_FALSE(owner.seen.empty());
        EXPECT_EQ(static_cast<UINT>(WM_USER), owner.seen.front());
        EXPECT_NE(owner.seen.end(), std::find(owner.seen.begin(), owner.seen.end(), static_cast<UINT>(WM_GETTEXT)));
    }
    EXPECT_EQ(original, ProcedureOf(control));
    EXPECT_EQ(nullptr, SubclassedWindow::FromHandle(control));
    Recorder again;
    EXPECT_TRUE(again.Subclass(control));
    DestroyWindow(control);
    EXPECT_EQ(nullptr, again.Handle());
    EXPECT_EQ(1, again.unsubclassed);
}

TEST(SubclassedWindowTest, ALaterSubclassKeepsTheChainWhenTheOwnerGoesFirst) {
    HWND control = MakeStatic();
    auto owner = std::make_unique<Recorder>();
    ASSERT_TRUE(owner->Subclass(control));
    laterPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterSubclass)));
    owner.reset();
    EXPECT_EQ(&LaterSubclass, ProcedureOf(control));
    // Only the static itself answers this (DefWindowProc says 0).
    EXPECT_EQ(DLGC_STATIC, SendMessageA(control, WM_GETDLGCODE, 0, 0));
    Recorder late;
    EXPECT_FALSE(late.Subclass(control));
    DestroyWindow(control);
}

TEST(SubclassedWindowTest, ReflectsOnlyToAnOwnerThatAnswers) {
    HWND control = MakeStatic();
    HWND plain = MakeStatic();
    Recorder owner;
    ASSERT_TRUE(owner.Subclass(control));
    LRESULT result = 0;
    EXPECT_TRUE(SubclassedWindow::Reflect(WM_COMMAND, MAKEWPARAM(1, 7), reinterpret_cast<LPARAM>(control), result));
    EXPECT_EQ(5, result);
    EXPECT_FALSE(SubclassedWindow::Reflect(WM_COMMAND, MAKEWPARAM(1, 8), reinterpret_cast<LPARAM>(control), result));
    EXPECT_FALSE(SubclassedWindow::Reflect(WM_COMMAND, MAKEWPARAM(1, 7), reinterpret_cast<LPARAM>(plain), result));
    EXPECT_FALSE(SubclassedWindow::Reflect(WM_USER, MAKEWPARAM(1, 7), reinterpret_cast<LPARAM>(control), result));
    DestroyWindow(plain);
    DestroyWindow(control);
}
