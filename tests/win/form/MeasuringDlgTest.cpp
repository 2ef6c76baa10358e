// The measuring dialogs closed while their worker waits inside an echo, on
// real windows and a real worker thread, with an Icmp that blocks there
// until the test releases it.
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
#include <functional>
#include <memory>

using namespace zartune;

namespace {

constexpr DWORD kPatience = 5000;  // ms; only a fault waits this long

// Where the test and one worker meet; it outlives both.
struct Gate {
    UniqueKernelHandle inEcho{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    UniqueKernelHandle release{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    UniqueKernelHandle freed{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<int> echoes{0};
    std::atomic<bool> echoReturned{false};
};

// Every echo waits at the gate, then times out; its end says the block that owned it was freed.
class BlockingIcmp : public Icmp {
public:
    explicit BlockingIcmp(Gate& gate) : gate_(&gate) {}
    ~BlockingIcmp() override { SetEvent(gate_->freed.get()); }
    bool Open() override { return true; }
    bool Resolve(const std::string&, std::uint32_t* address) override {
        *address = 0x0100A8C0;
        return true;
    }
    Reply Echo(std::uint32_t, WORD, DWORD) override {
        ++gate_->echoes;
        SetEvent(gate_->inEcho.get());
        WaitForSingleObject(gate_->release.get(), kPatience);
        gate_->echoReturned = true;
        return {kTimedOut};
    }
    void Close() override {}

private:
    Gate* gate_;
};

// What the hook saw of one dialog's run.
struct Seen {
    Gate* gate;
    WORD start;
    HWND dialog = nullptr;
    bool workerInEcho = false;
    bool closedWhileInEcho = false;
    bool freedWithoutTheDialog = false;
    bool newsAfterLetGo = false;
};
Seen* seen = nullptr;

std::unique_ptr<Icmp> BlockingIcmpAtTheGate() { return std::make_unique<BlockingIcmp>(*seen->gate); }

// As the dialog opens: start, and close once the worker is inside its echo.
// As its window goes, with the handle still valid: release the worker and
// let it end; nothing it found may have been posted to the window.
LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && seen != nullptr && call->message == WM_INITDIALOG && seen->dialog == nullptr) {
        seen->dialog = call->hwnd;
        SendMessageA(call->hwnd, WM_COMMAND, MAKEWPARAM(seen->start, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(call->hwnd, seen->start)));
        seen->workerInEcho = WaitForSingleObject(seen->gate->inEcho.get(), kPatience) == WAIT_OBJECT_0;
        PostMessageA(call->hwnd, WM_CLOSE, 0, 0);
    } else if (code == HC_ACTION && seen != nullptr && call->message == WM_NCDESTROY && call->hwnd == seen->dialog) {
        seen->closedWhileInEcho = !seen->gate->echoReturned;
        SetEvent(seen->gate->release.get());
        seen->freedWithoutTheDialog = WaitForSingleObject(seen->gate->freed.get(), kPatience) == WAIT_OBJECT_0;
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
    const struct {
        WORD start;
        std::function<INT_PTR()> run;
    } dialogs[] = {
        {IDC_FINDMTU_FIND,
         [&] { return CFindMtuDlg(product, "192.168.0.1", 0, &BlockingIcmpAtTheGate).DoModal(nullptr); }},
        {IDC_TUNEWIN_MEASURE,
         [&] {
             return CTuneWindowDlg(product, "192.168.0.1", "56", 1460, true, &BlockingIcmpAtTheGate).DoModal(nullptr);
         }},
    };
    static Gate gates[2];  // a worker that is never freed still finds its gate
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(dialogs[i].start);
        Gate& gate = gates[i];
        Seen watched{&gate, dialogs[i].start};
        seen = &watched;
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, &Watch, nullptr, GetCurrentThreadId());
        const INT_PTR result = dialogs[i].run();
        UnhookWindowsHookEx(hook);
        seen = nullptr;

        EXPECT_EQ(IDCANCEL, result);
        EXPECT_TRUE(watched.workerInEcho);
        EXPECT_TRUE(watched.closedWhileInEcho);
        EXPECT_FALSE(watched.newsAfterLetGo);
        EXPECT_TRUE(watched.freedWithoutTheDialog);
        EXPECT_EQ(1, gate.echoes.load());  // stopped after the echo under way
    }
}

}  // namespace
