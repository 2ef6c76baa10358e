#include "configurator/CFindMtuDlg.h"

#include "resources/zartune_ids.h"

#include <commctrl.h>

namespace zartune {

namespace {

// From the worker: lParam holds the payload and the answer of one probe, or
// the MTU and the outcome of the search; wParam the search's generation.
constexpr UINT kProbeMessage = WM_APP + 1;
constexpr UINT kDoneMessage = WM_APP + 2;

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

const CommandEntry<CFindMtuDlg> CFindMtuDlg::kButtons[] = {
    {IDC_FINDMTU_FIND, &CFindMtuDlg::OnFind},
    {IDC_FINDMTU_STOP, &CFindMtuDlg::OnStop},
    {IDC_FINDMTU_USE, &CFindMtuDlg::OnUse},
    {IDC_FINDMTU_HELP, &CFindMtuDlg::OnHelp},
};

CFindMtuDlg::CFindMtuDlg(ProductInfo& product, Icmp& icmp, const std::string& host, int adapterMtu)
    : Dialog(IDD_FIND_MTU), product_(&product), icmp_(&icmp), startingHost_(host), adapterMtu_(adapterMtu) {}

CFindMtuDlg::~CFindMtuDlg() { EndWorker(); }

bool CFindMtuDlg::OnInit() noexcept {
    SetDlgItemTextA(Handle(), IDC_FINDMTU_HOST, startingHost_.c_str());
    SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, MtuSearch::kMostProbes));
    return true;
}

LRESULT CFindMtuDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == kProbeMessage) {
        OnProbe(wParam, lParam);
        return TRUE;
    }
    if (message == kDoneMessage) {
        OnDone(wParam, lParam);
        return TRUE;
    }
    return Dialog::HandleMessage(message, wParam, lParam);
}

bool CFindMtuDlg::OnCommand(WORD id, WORD code, HWND control) noexcept {
    if (code == BN_CLICKED && DispatchCommand(this, kButtons, id)) return true;
    return Dialog::OnCommand(id, code, control);
}

void CFindMtuDlg::OnFind() {
    const std::string host = Trimmed(ItemText(IDC_FINDMTU_HOST));
    if (host.empty()) {
        MessageBeep(MB_ICONEXCLAMATION);
        SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_FINDMTU_HOST)), TRUE);
        return;
    }
    // A stopped search may still be waiting for its last echo.
    EndWorker();
    searchHost_ = host;
    ++generation_;
    stop_ = false;
    workerDone_ = false;
    probes_ = 0;
    found_ = 0;
    SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROBES, LB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROGRESS, PBM_SETPOS, 0, 0);
    SetEnabled(IDC_FINDMTU_USE, false);
    SetResultText("Finding the largest MTU to " + host + "...");
    DWORD threadId = 0;
    worker_.reset(CreateThread(nullptr, 0, &CFindMtuDlg::Worker, this, 0, &threadId));
    if (!worker_) {
        SetResultText(MtuSearch::ResultText({MtuSearch::Outcome::CannotPing, 0}, host, adapterMtu_));
        return;
    }
    ShowSearching(true);
}

void CFindMtuDlg::OnStop() {
    // The worker ends after the echo under way; nothing it posts is shown.
    stop_ = true;
    ShowSearching(false);
    SetResultText(MtuSearch::ResultText({MtuSearch::Outcome::Stopped, 0}, searchHost_, adapterMtu_));
}

void CFindMtuDlg::OnUse() {
    if (found_ > 0) EndDialog(IDOK);
}

void CFindMtuDlg::OnHelp() { product_->ShowHelpTopic("zartune.hlp", "Largest MTU"); }

void CFindMtuDlg::OnCancel() noexcept {
    stop_ = true;
    if (worker_ && !workerDone_) {
        // Its echo under way may take a while; the owner paints meanwhile.
        closing_ = true;
        ShowWindow(Handle(), SW_HIDE);
        return;
    }
    EndWorker();
    EndDialog(IDCANCEL);
}

void CFindMtuDlg::OnProbe(WPARAM generation, LPARAM probe) noexcept {
    if (!searching_ || generation != generation_) return;
    const auto answer = static_cast<MtuSearch::Answer>(HIWORD(probe));
    const std::string text = MtuSearch::ProbeText(LOWORD(probe), answer);
    HWND list = Item(IDC_FINDMTU_PROBES);
    const LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROGRESS, PBM_SETPOS, ++probes_, 0);
}

void CFindMtuDlg::OnDone(WPARAM generation, LPARAM result) noexcept {
    if (generation != generation_) return;
    workerDone_ = true;
    EndWorker();
    if (closing_) EndDialog(IDCANCEL);
    if (!searching_ || closing_) return;
    ShowSearching(false);
    const MtuSearch::Result done = {static_cast<MtuSearch::Outcome>(HIWORD(result)), LOWORD(result)};
    SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROGRESS, PBM_SETPOS, MtuSearch::kMostProbes, 0);
    SetResultText(MtuSearch::ResultText(done, searchHost_, adapterMtu_));
    if (done.outcome == MtuSearch::Outcome::Found) {
        found_ = done.mtu;
        SetEnabled(IDC_FINDMTU_USE, true);
    }
}

void CFindMtuDlg::ShowSearching(bool searching) noexcept {
    searching_ = searching;
    // The focus leaves a button before it is disabled.
    const int next = searching ? IDC_FINDMTU_STOP : IDC_FINDMTU_FIND;
    const bool moveFocus = GetFocus() == Item(searching ? IDC_FINDMTU_FIND : IDC_FINDMTU_STOP);
    SetEnabled(next, true);
    if (moveFocus) SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(next)), TRUE);
    SetEnabled(searching ? IDC_FINDMTU_FIND : IDC_FINDMTU_STOP, false);
}

void CFindMtuDlg::SetResultText(const std::string& text) noexcept {
    SetDlgItemTextA(Handle(), IDC_FINDMTU_RESULT, text.c_str());
}

void CFindMtuDlg::EndWorker() noexcept {
    if (!worker_) return;
    stop_ = true;
    WaitForSingleObject(worker_.get(), INFINITE);
    worker_.reset();
}

DWORD WINAPI CFindMtuDlg::Worker(LPVOID dialog) noexcept {
    auto* self = static_cast<CFindMtuDlg*>(dialog);
    HWND window = self->Handle();
    const WPARAM generation = self->generation_;
    const MtuSearch::Result result =
        MtuSearch::Run(*self->icmp_, self->searchHost_, self->stop_, [&](int payload, MtuSearch::Answer answer) {
            PostMessageA(window, kProbeMessage, generation, MAKELPARAM(payload, static_cast<WORD>(answer)));
        });
    PostMessageA(window, kDoneMessage, generation, MAKELPARAM(result.mtu, static_cast<WORD>(result.outcome)));
    return 0;
}

}  // namespace zartune
