#pragma once
#include "common/ProductInfo.h"
#include "line/MtuSearch.h"
#include "win32/Dialog.h"
#include "win32/Window.h"

#include <cstddef>
#include <memory>
#include <string>

namespace zartune {

// The Find Largest MTU dialog (170). Each search runs on a worker thread of
// its own, which shares only a Search with the dialog and tells the dialog's
// window when it has news. Stop, Close or a new search let the worker go on
// alone, unheard: it ends after its echo or name lookup under way, and the
// dialog never waits for it. Ends with IDC_FINDMTU_USE when "Use This MTU"
// was pressed: FoundMtu then says which.
class CFindMtuDlg : public Dialog {
public:
    // adapterMtu: what the adapters are set to now, 0 when nothing is.
    CFindMtuDlg(ProductInfo& product, const std::string& host, int adapterMtu);

    int FoundMtu() const { return found_; }

protected:
    bool OnInit() noexcept override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;
    void OnOK() noexcept override;

private:
    struct Search;

    void OnFind();
    void OnStop();
    void OnUse();
    void OnHelp();
    void OnNews() noexcept;
    // The worker of the search shown goes on alone; nothing it finds is shown.
    void LetSearchGo() noexcept;
    void ShowSearching(bool searching) noexcept;
    void SetResultText(const std::string& text) noexcept;
    static DWORD WINAPI Worker(LPVOID search) noexcept;

    static const CommandEntry<CFindMtuDlg> kButtons[4];

    ProductInfo* product_;
    std::string startingHost_;
    int adapterMtu_;
    std::shared_ptr<Search> search_;  // the search shown, if any
    std::size_t probesShown_ = 0;
    int found_ = 0;
};

}  // namespace zartune
