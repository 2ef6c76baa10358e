#include "configurator/CFindMtuDlg.h"

#include "resources/zartune_ids.h"
#include "win32/CriticalSection.h"
#include "win32/WorkerLink.h"
#include "win32/UniqueHandle.h"
#include "win32/Win32Icmp.h"

#include <commctrl.h>

#include <optional>
#include <vector>

namespace zartune {

namespace {

// From a worker: its search has new probes or its result.
constexpr UINT kNewsMessage = WM_APP + 1;

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

// What one search's worker and the dialog share; the last of the two to let
// go frees it, so a worker that outlives the dialog still has it.
struct CFindMtuDlg::Search : WorkerLink {
    Search(const std::string& searchHost, HWND listener) : WorkerLink(listener, kNewsMessage), host(searchHost) {}

    const std::string host;
    std::vector<MtuSearch::Probe> probes;
    std::optional<MtuSearch::Result> result;
};

const CommandEntry<CFindMtuDlg> CFindMtuDlg::kButtons[] = {
    {IDC_FINDMTU_FIND, &CFindMtuDlg::OnFind},
    {IDC_FINDMTU_STOP, &CFindMtuDlg::OnStop},
    {IDC_FINDMTU_USE, &CFindMtuDlg::OnUse},
    {IDC_FINDMTU_HELP, &CFindMtuDlg::OnHelp},
};

CFindMtuDlg::CFindMtuDlg(ProductInfo& product, const std::string& host, int adapterMtu)
    : Dialog(IDD_FIND_MTU), product_(&product), startingHost_(host), adapterMtu_(adapterMtu) {}

bool CFindMtuDlg::OnInit() noexcept {
    SetDlgItemTextA(Handle(), IDC_FINDMTU_HOST, startingHost_.c_str());
    SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, MtuSearch::kMostProbes));
    return true;
}

LRESULT CFindMtuDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == kNewsMessage) {
        OnNews();
        return TRUE;
    }
    if (message == WM_DESTROY) LetSearchGo();
    return Dialog::HandleMessage(message, wParam, lParam);
}

bool CFindMtuDlg::OnCommand(WORD id, WORD code, HWND control) noexcept {
    if (code == BN_CLICKED && DispatchCommand(this, kButtons, id)) return true;
    return Dialog::OnCommand(id, code, control);
}

// Enter sends IDOK when the default button is disabled; the dialog has no OK.
void CFindMtuDlg::OnOK() noexcept {}

void CFindMtuDlg::OnFind() {
    const std::string host = Trimmed(ItemText(IDC_FINDMTU_HOST));
    if (host.empty()) {
        MessageBeep(MB_ICONEXCLAMATION);
        SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_FINDMTU_HOST)), TRUE);
        return;
    }
    LetSearchGo();
    probesShown_ = 0;
    found_ = 0;
    SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROBES, LB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROGRESS, PBM_SETPOS, 0, 0);
    SetEnabled(IDC_FINDMTU_USE, false);
    SetResultText("Finding the largest MTU to " + host + "...");
    auto search = std::make_shared<Search>(host, Handle());
    // The worker's own share, which it frees.
    auto share = std::make_unique<std::shared_ptr<Search>>(search);
    DWORD threadId = 0;
    const UniqueKernelHandle worker(CreateThread(nullptr, 0, &CFindMtuDlg::Worker, share.get(), 0, &threadId));
    if (!worker) {
        SetResultText(MtuSearch::ResultText({MtuSearch::Outcome::CannotPing}, host, adapterMtu_));
        return;
    }
    share.release();
    search_ = std::move(search);
    ShowSearching(true);
}

void CFindMtuDlg::OnStop() {
    LetSearchGo();
    ShowSearching(false);
    SetResultText(MtuSearch::ResultText({MtuSearch::Outcome::Stopped}, std::string(), adapterMtu_));
}

void CFindMtuDlg::OnUse() {
    if (found_ > 0) EndDialog(IDC_FINDMTU_USE);
}

void CFindMtuDlg::OnHelp() { product_->ShowHelpTopic("zartune.hlp", "Largest MTU"); }

void CFindMtuDlg::OnNews() noexcept {
    if (!search_) return;  // news from a search let go
    std::vector<MtuSearch::Probe> probes;
    std::optional<MtuSearch::Result> result;
    {
        const CriticalSection::Lock locked(search_->lock);
        probes.assign(search_->probes.begin() + static_cast<std::ptrdiff_t>(probesShown_), search_->probes.end());
        result = search_->result;
    }
    HWND list = Item(IDC_FINDMTU_PROBES);
    for (const MtuSearch::Probe& probe : probes) {
        const std::string text = MtuSearch::ProbeText(probe);
        const LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
        SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROGRESS, PBM_SETPOS, ++probesShown_, 0);
    }
    if (!result) return;
    const std::string host = search_->host;
    search_.reset();
    ShowSearching(false);
    SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROGRESS, PBM_SETPOS, MtuSearch::kMostProbes, 0);
    SetResultText(MtuSearch::ResultText(*result, host, adapterMtu_));
    if (result->outcome == MtuSearch::Outcome::Found) {
        found_ = result->mtu;
        SetEnabled(IDC_FINDMTU_USE, true);
    }
}

void CFindMtuDlg::LetSearchGo() noexcept {
    if (!search_) return;
    search_->LetGo();
    search_.reset();
}

void CFindMtuDlg::ShowSearching(bool searching) noexcept {
    if (searching) {
        HandOver(IDC_FINDMTU_FIND, IDC_FINDMTU_STOP);
    } else {
        HandOver(IDC_FINDMTU_STOP, IDC_FINDMTU_FIND);
    }
}

void CFindMtuDlg::SetResultText(const std::string& text) noexcept {
    SetDlgItemTextA(Handle(), IDC_FINDMTU_RESULT, text.c_str());
}

DWORD WINAPI CFindMtuDlg::Worker(LPVOID share) noexcept {
    const std::unique_ptr<std::shared_ptr<Search>> owned(static_cast<std::shared_ptr<Search>*>(share));
    Search& search = **owned;
    Win32Icmp icmp;
    const MtuSearch::Result result =
        MtuSearch::Run(icmp, search.host, search.stop, [&search](const MtuSearch::Probe& probe) {
            const CriticalSection::Lock locked(search.lock);
            search.probes.push_back(probe);
            search.Tell();
        });
    const CriticalSection::Lock locked(search.lock);
    search.result = result;
    search.Tell();
    return 0;
}

}  // namespace zartune
