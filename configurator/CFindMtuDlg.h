#pragma once
#include "common/ProductInfo.h"
#include "line/MtuSearch.h"
#include "win32/Dialog.h"
#include "win32/Icmp.h"
#include "win32/Window.h"
#include "win32/Worker.h"

#include <cstddef>
#include <string>

namespace zartune {

// The Find Largest MTU dialog (170). Each search runs on a worker thread of
// its own, with an Icmp from makeIcmp. Stop, Close or a new search let the
// worker go on alone, unheard: it ends after its echo or name lookup under
// way. Ends with IDC_FINDMTU_USE when "Use This MTU" was pressed: FoundMtu
// then says which.
class CFindMtuDlg : public Dialog {
public:
    // adapterMtu: what the adapters are set to now, 0 when nothing is.
    CFindMtuDlg(ProductInfo& product, const std::string& host, int adapterMtu, IcmpMaker makeIcmp);

    int FoundMtu() const { return found_; }

protected:
    bool OnInit() noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;
    void OnWorkerNews() noexcept override;

private:
    void OnFind();
    void OnStop();
    void OnUse();
    void OnHelp();
    void ShowSearching(bool searching) noexcept;
    void SetResultText(const std::string& text) noexcept;

    static const CommandEntry<CFindMtuDlg> kButtons[4];

    ProductInfo* product_;
    std::string startingHost_;
    int adapterMtu_;
    IcmpMaker makeIcmp_;
    Worker<MtuSearch::Probe, MtuSearch::Result> search_{*this};
    std::string host_;  // of the search shown
    std::size_t probesShown_ = 0;
    int found_ = 0;
};

}  // namespace zartune
