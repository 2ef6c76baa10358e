#include "configurator/CSpeedTestDlg.h"

#include "resources/zartune_ids.h"
#include "win32/Win32Internet.h"

#include <commctrl.h>

#include <utility>

namespace zartune {

const CommandEntry<CSpeedTestDlg> CSpeedTestDlg::kButtons[] = {
    {IDC_SPEED_START, &CSpeedTestDlg::OnStart},
    {IDC_SPEED_STOP, &CSpeedTestDlg::OnStop},
    {IDC_SPEED_HELP, &CSpeedTestDlg::OnHelp},
};

CSpeedTestDlg::CSpeedTestDlg(ProductInfo& product, const std::string& address, TuningView::SpeedTestEnded ended,
                             IcmpMaker makeIcmp)
    : Dialog(IDD_SPEED_TEST),
      product_(&product),
      startingAddress_(address),
      ended_(std::move(ended)),
      makeIcmp_(makeIcmp) {}

bool CSpeedTestDlg::OnInit() noexcept {
    SetDlgItemTextA(Handle(), IDC_SPEED_ADDRESS, startingAddress_.c_str());
    SendDlgItemMessageA(Handle(), IDC_SPEED_ADDRESS, EM_LIMITTEXT, SpeedTest::kMostAddressChars, 0);
    SendDlgItemMessageA(Handle(), IDC_SPEED_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    return true;
}

bool CSpeedTestDlg::OnCommand(WORD id, WORD code, HWND control) noexcept {
    if (code == BN_CLICKED && DispatchCommand(this, kButtons, id)) return true;
    return Dialog::OnCommand(id, code, control);
}

void CSpeedTestDlg::OnStart() {
    const std::string address = TrimmedItemText(IDC_SPEED_ADDRESS);
    if (!SpeedTest::IsHttp(address)) {
        SetResultText(SpeedTest::ResultText({SpeedTest::Outcome::NotHttp}, 0));
        Refuse(IDC_SPEED_ADDRESS);
        return;
    }
    address_ = address;
    SendDlgItemMessageA(Handle(), IDC_SPEED_PROGRESS, PBM_SETPOS, 0, 0);
    SetResultText("Testing the line with " + address + "...");
    const bool started = test_.Start([icmp = makeIcmp_(), address](
                                         const std::atomic<bool>& stop, const SpeedTest::ProgressSeen& seen) {
        Win32Internet internet;
        return SpeedTest::Run(*icmp, internet, [] { return GetTickCount(); }, address, stop, seen);
    });
    if (!started) {
        SetResultText("The test could not be started.");
        return;
    }
    ShowTesting(true);
}

void CSpeedTestDlg::OnStop() {
    test_.LetGo();
    ShowTesting(false);
    SetResultText(SpeedTest::ResultText({SpeedTest::Outcome::Stopped}, 0));
}

void CSpeedTestDlg::OnHelp() { product_->ShowHelpTopic("zartune.hlp", "Line speed"); }

void CSpeedTestDlg::OnWorkerNews() noexcept {
    const auto news = test_.TakeNews();
    for (const int percent : news.items) SendDlgItemMessageA(Handle(), IDC_SPEED_PROGRESS, PBM_SETPOS, percent, 0);
    if (!news.result) return;
    ShowTesting(false);
    SetResultText(ended_(address_, *news.result));
}

void CSpeedTestDlg::ShowTesting(bool testing) noexcept {
    HandOver(testing ? IDC_SPEED_START : IDC_SPEED_STOP, testing ? IDC_SPEED_STOP : IDC_SPEED_START);
}

void CSpeedTestDlg::SetResultText(const std::string& text) noexcept {
    SetDlgItemTextA(Handle(), IDC_SPEED_RESULT, text.c_str());
}

}  // namespace zartune
