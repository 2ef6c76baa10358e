// Closing each measuring dialog while its worker waits inside an echo, until the test releases it.
#include "configurator/CFindMtuDlg.h"
#include "configurator/CTuneWindowDlg.h"
#include "resources/zartune_ids.h"
#include "tests/support/FakeDesktop.h"
#include "win32/UniqueHandle.h"
#include "win32/Win32Registry.h"
#include "win32/WorkerThread.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using namespace zartune;

namespace {

constexpr DWORD kPatience = 5000;  // ms; only a fault waits this long

HANDLE NewEvent() { return CreateEventA(nullptr, TRUE, FALSE, nullptr); }

// One dialog's closing as the hook and the worker's Icmp see it; it outlives both.
struct Closing {
    WORD start;
    UniqueKernelHandle inEcho{NewEvent()}, release{NewEvent()}, freed{NewEvent()};
    std::atomic<int> echoes{0};
    std::atomic<bool> echoReturned{false};
    HWND dialog = nullptr;
    bool closedWhileInEcho = false, freedWithoutTheDialog = false, newsAfterLetGo = false;
};
Closing* closing = nullptr;

// Each echo waits for the release, then times out; its end says its block was freed.
struct BlockingIcmp : Icmp {
    explicit BlockingIcmp(Closing& owner) : of(&owner) {}
    ~BlockingIcmp() override { SetEvent(of->freed.get()); }
    bool Open() override { return true; }
    bool Resolve(const std::string&, std::uint32_t*) override { return true; }
    Reply Echo(std::uint32_t, WORD, DWORD) override {
        ++of->echoes;
        SetEvent(of->inEcho.get());
        WaitForSingleObject(of->release.get(), kPatience);
        of->echoReturned = true;
        return {kTimedOut};
    }
    void Close() override {}
    Closing* of;
};

std::unique_ptr<Icmp> MakeBlockingIcmp() { return std::make_unique<BlockingIcmp>(*closing); }

// As the dialog opens: start, and close once the worker is inside its echo. As its window
// goes, the handle still valid: release the worker; nothing it found may reach the window.
LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<CWPRETSTRUCT*>(lParam);
    Closing* seen = code == HC_ACTION ? closing : nullptr;
    if (seen != nullptr && call->message == WM_INITDIALOG && seen->dialog == nullptr) {
        seen->dialog = call->hwnd;
        SendMessageA(call->hwnd, WM_COMMAND, MAKEWPARAM(seen->start, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(call->hwnd, seen->start)));
        WaitForSingleObject(seen->inEcho.get(), kPatience);
        PostMessageA(call->hwnd, WM_CLOSE, 0, 0);
    } else if (seen != nullptr && call->message == WM_NCDESTROY && call->hwnd == seen->dialog) {
        seen->closedWhileInEcho = !seen->echoReturned;
        SetEvent(seen->release.get());
        seen->freedWithoutTheDialog = WaitForSingleObject(seen->freed.get(), kPatience) == WAIT_OBJECT_0;
        // A quit left by an earlier test comes whatever the filter.
        MSG news;
        seen->newsAfterLetGo = PeekMessageA(&news, call->hwnd, WorkerThread::kNewsMessage,
                                            WorkerThread::kNewsMessage, PM_NOREMOVE) != FALSE &&
                               news.message == WorkerThread::kNewsMessage;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(MeasuringDlgTest, ClosedWhileItsWorkerIsInsideAnEchoTheDialogLetsItGoWithoutWaiting) {
    Win32Registry registry;
    FakeDesktop desktop;
    ProductInfo product(registry, desktop);
    static Closing closings[] = {{IDC_FINDMTU_FIND}, {IDC_TUNEWIN_MEASURE}};  // for a worker never freed too
    for (Closing& each : closings) {
        SCOPED_TRACE(each.start);
        closing = &each;
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, &Watch, nullptr, GetCurrentThreadId());
        EXPECT_EQ(IDCANCEL, each.start == IDC_FINDMTU_FIND
                                ? CFindMtuDlg(product, "192.168.0.1", 0, &MakeBlockingIcmp).DoModal(nullptr)
                                : CTuneWindowDlg(product, "192.168.0.1", "56", 1460, true, &MakeBlockingIcmp)
                                      .DoModal(nullptr));
        UnhookWindowsHookEx(hook);
        closing = nullptr;
        EXPECT_TRUE(each.closedWhileInEcho);
        EXPECT_FALSE(each.newsAfterLetGo);
        EXPECT_TRUE(each.freedWithoutTheDialog);
        EXPECT_EQ(1, each.echoes.load());  // in it when closed, and stopped after it
    }
}

}  // namespace
