#include "configurator/CTuneWindowDlg.h"

#include "resources/zartune_ids.h"

#include <memory>
#include <optional>
#include <utility>

namespace zartune {

const CommandEntry<CTuneWindowDlg> CTuneWindowDlg::kButtons[] = {
    {IDC_TUNEWIN_MEASURE, &CTuneWindowDlg::OnMeasure},
    {IDC_TUNEWIN_STOP, &CTuneWindowDlg::OnStop},
    {IDC_TUNEWIN_USE, &CTuneWindowDlg::OnUse},
    {IDC_TUNEWIN_HELP, &CTuneWindowDlg::OnHelp},
};

CTuneWindowDlg::CTuneWindowDlg(ProductInfo& product, const std::string& hosts, const std::string& speed, int mss,
                               bool scalesWindows, IcmpMaker makeIcmp)
    : Dialog(IDD_TUNE_WINDOW),
      product_(&product),
      startingHosts_(hosts),
      startingSpeed_(speed),
      mss_(mss),
      scalesWindows_(scalesWindows),
      makeIcmp_(std::move(makeIcmp)) {}

bool CTuneWindowDlg::OnInit() noexcept {
    SetDlgItemTextA(Handle(), IDC_TUNEWIN_HOSTS, startingHosts_.c_str());
    SetDlgItemTextA(Handle(), IDC_TUNEWIN_SPEED, startingSpeed_.c_str());
    SendDlgItemMessageA(Handle(), IDC_TUNEWIN_SPEED, EM_LIMITTEXT, WindowMeasurement::kSpeedDigits, 0);
    return true;
}

bool CTuneWindowDlg::OnCommand(WORD id, WORD code, HWND control) noexcept {
    if (code == BN_CLICKED && DispatchCommand(this, kButtons, id)) return true;
    return Dialog::OnCommand(id, code, control);
}

void CTuneWindowDlg::OnMeasure() {
    std::vector<std::string> hosts = WindowMeasurement::HostsOf(ItemText(IDC_TUNEWIN_HOSTS));
    if (hosts.empty() || hosts.size() > WindowMeasurement::kMostHosts) {
        SetResultText(WindowMeasurement::kHostsWanted);
        Refuse(IDC_TUNEWIN_HOSTS);
        return;
    }
    const std::optional<std::uint32_t> speed = WindowMeasurement::SpeedOf(ItemText(IDC_TUNEWIN_SPEED));
    if (!speed) {
        SetResultText(WindowMeasurement::kSpeedWanted);
        Refuse(IDC_TUNEWIN_SPEED);
        return;
    }
    hosts_ = std::move(hosts);
    speed_ = *speed;
    hostsShown_ = 0;
    found_ = LineWindow();
    SendDlgItemMessageA(Handle(), IDC_TUNEWIN_LIST, LB_RESETCONTENT, 0, 0);
    SetEnabled(IDC_TUNEWIN_USE, false);
    const bool started = measurement_.Start([icmp = makeIcmp_(), hosts = hosts_](
                                                const std::atomic<bool>& stop,
                                                const WindowMeasurement::HostSeen& seen) {
        return WindowMeasurement::Run(*icmp, hosts, stop, seen);
    });
    if (!started) {
        SetResultText(WindowMeasurement::ResultText({WindowMeasurement::Outcome::CannotPing}, *speed, found_));
        return;
    }
    ShowMeasuring(true);
    ShowHostUnderWay();
}

void CTuneWindowDlg::OnStop() {
    measurement_.LetGo();
    ShowMeasuring(false);
    SetResultText(WindowMeasurement::ResultText({WindowMeasurement::Outcome::Stopped}, 0, found_));
}

void CTuneWindowDlg::OnUse() {
    if (found_.window > 0) EndDialog(IDC_TUNEWIN_USE);
}

void CTuneWindowDlg::OnHelp() { product_->ShowHelpTopic("zartune.hlp", "Receive window"); }

void CTuneWindowDlg::OnWorkerNews() noexcept {
    const auto news = measurement_.TakeNews();
    for (const WindowMeasurement::Host& host : news.items) {
        const std::string text = WindowMeasurement::HostText(host);
        // At the end whatever the list's style: the hosts stay in the order typed.
        SendDlgItemMessageA(Handle(), IDC_TUNEWIN_LIST, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(text.c_str()));
        ++hostsShown_;
    }
    if (!news.result) {
        ShowHostUnderWay();
        return;
    }
    const WindowMeasurement::Result& result = *news.result;
    ShowMeasuring(false);
    const LineWindow window = LineWindow::For(result.latency, speed_, mss_, scalesWindows_);
    SetResultText(WindowMeasurement::ResultText(result, speed_, window));
    if (result.outcome == WindowMeasurement::Outcome::Measured && window.window > 0) {
        found_ = window;
        SetEnabled(IDC_TUNEWIN_USE, true);
    }
}

void CTuneWindowDlg::ShowMeasuring(bool measuring) noexcept {
    HandOver(measuring ? IDC_TUNEWIN_MEASURE : IDC_TUNEWIN_STOP, measuring ? IDC_TUNEWIN_STOP : IDC_TUNEWIN_MEASURE);
}

void CTuneWindowDlg::ShowHostUnderWay() noexcept {
    if (hostsShown_ < hosts_.size()) SetResultText("Measuring the round trip to " + hosts_[hostsShown_] + "...");
}

void CTuneWindowDlg::SetResultText(const std::string& text) noexcept {
    SetDlgItemTextA(Handle(), IDC_TUNEWIN_RESULT, text.c_str());
}

}  // namespace zartune
