#include "configurator/CFindMtuDlg.h"

#include "resources/zartune_ids.h"

#include <commctrl.h>

#include <memory>
#include <utility>

namespace zartune {

namespace {

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

CFindMtuDlg::CFindMtuDlg(ProductInfo& product, const std::string& host, int adapterMtu, IcmpMaker makeIcmp)
    : Dialog(IDD_FIND_MTU),
      product_(&product),
      startingHost_(host),
      adapterMtu_(adapterMtu),
      makeIcmp_(std::move(makeIcmp)) {}

bool CFindMtuDlg::OnInit() noexcept {
    SetDlgItemTextA(Handle(), IDC_FINDMTU_HOST, startingHost_.c_str());
    SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, MtuSearch::kMostProbes));
    return true;
}

bool CFindMtuDlg::OnCommand(WORD id, WORD code, HWND control) noexcept {
    if (code == BN_CLICKED && DispatchCommand(this, kButtons, id)) return true;
    return Dialog::OnCommand(id, code, control);
}

void CFindMtuDlg::OnFind() {
    const std::string host = Trimmed(ItemText(IDC_FINDMTU_HOST));
    if (host.empty()) {
        Refuse(IDC_FINDMTU_HOST);
        return;
    }
    host_ = host;
    probesShown_ = 0;
    found_ = 0;
    SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROBES, LB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROGRESS, PBM_SETPOS, 0, 0);
    SetEnabled(IDC_FINDMTU_USE, false);
    SetResultText("Finding the largest MTU to " + host + "...");
    const bool started = search_.Start([icmp = makeIcmp_(), host](
                                           const std::atomic<bool>& stop, const MtuSearch::ProbeSeen& seen) {
        return MtuSearch::Run(*icmp, host, stop, seen);
    });
    if (!started) {
        SetResultText(MtuSearch::ResultText({MtuSearch::Outcome::CannotPing}, host, adapterMtu_));
        return;
    }
    ShowSearching(true);
}

void CFindMtuDlg::OnStop() {
    search_.LetGo();
    ShowSearching(false);
    SetResultText(MtuSearch::ResultText({MtuSearch::Outcome::Stopped}, std::string(), adapterMtu_));
}

void CFindMtuDlg::OnUse() {
    if (found_ > 0) EndDialog(IDC_FINDMTU_USE);
}

void CFindMtuDlg::OnHelp() { product_->ShowHelpTopic("zartune.hlp", "Largest MTU"); }

void CFindMtuDlg::OnWorkerNews() noexcept {
    const auto news = search_.TakeNews();
    HWND list = Item(IDC_FINDMTU_PROBES);
    for (const MtuSearch::Probe& probe : news.items) {
        const std::string text = MtuSearch::ProbeText(probe);
        const LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
        SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROGRESS, PBM_SETPOS, ++probesShown_, 0);
    }
    if (!news.result) return;
    const MtuSearch::Result& result = *news.result;
    ShowSearching(false);
    SendDlgItemMessageA(Handle(), IDC_FINDMTU_PROGRESS, PBM_SETPOS, MtuSearch::kMostProbes, 0);
    SetResultText(MtuSearch::ResultText(result, host_, adapterMtu_));
    if (result.outcome == MtuSearch::Outcome::Found) {
        found_ = result.mtu;
        SetEnabled(IDC_FINDMTU_USE, true);
    }
}

void CFindMtuDlg::ShowSearching(bool searching) noexcept {
    HandOver(searching ? IDC_FINDMTU_FIND : IDC_FINDMTU_STOP, searching ? IDC_FINDMTU_STOP : IDC_FINDMTU_FIND);
}

void CFindMtuDlg::SetResultText(const std::string& text) noexcept {
    SetDlgItemTextA(Handle(), IDC_FINDMTU_RESULT, text.c_str());
}

}  // namespace zartune
