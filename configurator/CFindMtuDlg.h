#pragma once
#include "common/ProductInfo.h"
#include "configurator/MtuSearch.h"
#include "win32/Dialog.h"
#include "win32/Icmp.h"
#include "win32/UniqueHandle.h"
#include "win32/Window.h"

#include <atomic>
#include <string>

namespace zartune {

// The Find Largest MTU dialog (170). The search runs on a worker thread and
// posts each probe and its result to the dialog, so the dialog paints and
// Stop works at once. Closed while a worker runs, the dialog hides and ends
// when the worker's result comes, so it is never gone before the worker. Ends
// with IDOK when "Use This MTU" was pressed: FoundMtu then says which.
class CFindMtuDlg : public Dialog {
public:
    // adapterMtu: what the adapters are set to now, 0 when nothing is.
    CFindMtuDlg(ProductInfo& product, Icmp& icmp, const std::string& host, int adapterMtu);
    ~CFindMtuDlg() override;

    int FoundMtu() const { return found_; }

protected:
    bool OnInit() noexcept override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;
    void OnCancel() noexcept override;

private:
    void OnFind();
    void OnStop();
    void OnUse();
    void OnHelp();
    void OnProbe(WPARAM generation, LPARAM probe) noexcept;
    void OnDone(WPARAM generation, LPARAM result) noexcept;
    void ShowSearching(bool searching) noexcept;
    void SetResultText(const std::string& text) noexcept;
    // Asks the worker to stop and waits: at most for the echo under way.
    void EndWorker() noexcept;
    static DWORD WINAPI Worker(LPVOID dialog) noexcept;

    static const CommandEntry<CFindMtuDlg> kButtons[4];

    ProductInfo* product_;
    Icmp* icmp_;
    std::string startingHost_;
    int adapterMtu_;
    // The worker reads these two; they change only while no worker runs.
    std::string searchHost_;
    WPARAM generation_ = 0;
    std::atomic<bool> stop_{false};
    UniqueKernelHandle worker_;
    // Messages of a search that was stopped or replaced are not shown.
    bool searching_ = false;
    bool workerDone_ = false;
    bool closing_ = false;
    int probes_ = 0;
    int found_ = 0;
};

}  // namespace zartune
