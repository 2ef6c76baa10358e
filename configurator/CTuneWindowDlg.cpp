#include "configurator/CTuneWindowDlg.h"

#include "resources/zartune_ids.h"
#include "win32/CriticalSection.h"
#include "win32/WorkerLink.h"
#include "win32/UniqueHandle.h"
#include "win32/JobThreads.h"
#include "win32/Win32Icmp.h"

#include <optional>
#include <utility>
#include <vector>

namespace zartune {

namespace {

// From a worker: its measurement has new hosts or its result.
constexpr UINT kNewsMessage = WM_APP + 1;

}  // namespace

// What one measurement's worker and the dialog share; the last of the two to
// let go frees it, so a worker that outlives the dialog still has it.
struct CTuneWindowDlg::Measurement : WorkerLink {
    Measurement(std::vector<std::string> measuredHosts, std::uint32_t lineSpeed, HWND listener)
        : WorkerLink(listener, kNewsMessage), hosts(std::move(measuredHosts)), speed(lineSpeed) {}

    const std::vector<std::string> hosts;
    const std::uint32_t speed;
    std::vector<WindowMeasurement::Host> measured;
    std::optional<WindowMeasurement::Result> result;
};

const CommandEntry<CTuneWindowDlg> CTuneWindowDlg::kButtons[] = {
    {IDC_TUNEWIN_MEASURE, &CTuneWindowDlg::OnMeasure},
    {IDC_TUNEWIN_STOP, &CTuneWindowDlg::OnStop},
    {IDC_TUNEWIN_USE, &CTuneWindowDlg::OnUse},
    {IDC_TUNEWIN_HELP, &CTuneWindowDlg::OnHelp},
};

CTuneWindowDlg::CTuneWindowDlg(ProductInfo& product, const std::string& hosts, const std::string& speed, int mss,
                               bool scalesWindows)
    : Dialog(IDD_TUNE_WINDOW),
      product_(&product),
      startingHosts_(hosts),
      startingSpeed_(speed),
      mss_(mss),
      scalesWindows_(scalesWindows) {}

bool CTuneWindowDlg::OnInit() noexcept {
    SetDlgItemTextA(Handle(), IDC_TUNEWIN_HOSTS, startingHosts_.c_str());
    SetDlgItemTextA(Handle(), IDC_TUNEWIN_SPEED, startingSpeed_.c_str());
    SendDlgItemMessageA(Handle(), IDC_TUNEWIN_SPEED, EM_LIMITTEXT, WindowMeasurement::kSpeedDigits, 0);
    return true;
}

LRESULT CTuneWindowDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == kNewsMessage) {
        OnNews();
        return TRUE;
    }
    if (message == WM_DESTROY) LetMeasurementGo();
    return Dialog::HandleMessage(message, wParam, lParam);
}

bool CTuneWindowDlg::OnCommand(WORD id, WORD code, HWND control) noexcept {
    if (code == BN_CLICKED && DispatchCommand(this, kButtons, id)) return true;
    return Dialog::OnCommand(id, code, control);
}

// Enter sends IDOK when the default button is disabled; the dialog has no OK.
void CTuneWindowDlg::OnOK() noexcept {}

void CTuneWindowDlg::OnMeasure() {
    std::vector<std::string> hosts = WindowMeasurement::HostsOf(ItemText(IDC_TUNEWIN_HOSTS));
    if (hosts.empty() || hosts.size() > WindowMeasurement::kMostHosts) {
        Refuse(IDC_TUNEWIN_HOSTS, WindowMeasurement::kHostsWanted);
        return;
    }
    const std::optional<std::uint32_t> speed = WindowMeasurement::SpeedOf(ItemText(IDC_TUNEWIN_SPEED));
    if (!speed) {
        Refuse(IDC_TUNEWIN_SPEED, WindowMeasurement::kSpeedWanted);
        return;
    }
    LetMeasurementGo();
    hostsShown_ = 0;
    found_ = LineWindow();
    SendDlgItemMessageA(Handle(), IDC_TUNEWIN_LIST, LB_RESETCONTENT, 0, 0);
    SetEnabled(IDC_TUNEWIN_USE, false);
    auto measurement = std::make_shared<Measurement>(std::move(hosts), *speed, Handle());
    // The worker's own share, which it frees.
    auto share = std::make_unique<std::shared_ptr<Measurement>>(measurement);
    DWORD threadId = 0;
    const UniqueKernelHandle worker(CreateThread(nullptr, 0, &CTuneWindowDlg::Worker, share.get(), 0, &threadId));
    if (!worker) {
        SetResultText(WindowMeasurement::ResultText({WindowMeasurement::Outcome::CannotPing}, *speed, found_));
        return;
    }
    share.release();
    measurement_ = std::move(measurement);
    ShowMeasuring(true);
    ShowHostUnderWay();
}

void CTuneWindowDlg::OnStop() {
    LetMeasurementGo();
    ShowMeasuring(false);
    SetResultText(WindowMeasurement::ResultText({WindowMeasurement::Outcome::Stopped}, 0, found_));
}

void CTuneWindowDlg::OnUse() {
    if (found_.window > 0) EndDialog(IDC_TUNEWIN_USE);
}

void CTuneWindowDlg::OnHelp() { product_->ShowHelpTopic("zartune.hlp", "Receive window"); }

void CTuneWindowDlg::OnNews() noexcept {
    if (!measurement_) return;  // news from a measurement let go
    std::vector<WindowMeasurement::Host> hosts;
    std::optional<WindowMeasurement::Result> result;
    {
        const CriticalSection::Lock locked(measurement_->lock);
        hosts.assign(measurement_->measured.begin() + static_cast<std::ptrdiff_t>(hostsShown_),
                     measurement_->measured.end());
        result = measurement_->result;
    }
    for (const WindowMeasurement::Host& host : hosts) {
        const std::string text = WindowMeasurement::HostText(host);
        // At the end whatever the list's style: the hosts stay in the order typed.
        SendDlgItemMessageA(Handle(), IDC_TUNEWIN_LIST, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(text.c_str()));
        ++hostsShown_;
    }
    if (!result) {
        ShowHostUnderWay();
        return;
    }
    const std::uint32_t speed = measurement_->speed;
    measurement_.reset();
    ShowMeasuring(false);
    const LineWindow window = LineWindow::For(result->latency, speed, mss_, scalesWindows_);
    SetResultText(WindowMeasurement::ResultText(*result, speed, window));
    if (result->outcome == WindowMeasurement::Outcome::Measured && window.window > 0) {
        found_ = window;
        SetEnabled(IDC_TUNEWIN_USE, true);
    }
}

void CTuneWindowDlg::LetMeasurementGo() noexcept {
    if (!measurement_) return;
    measurement_->LetGo();
    measurement_.reset();
}

void CTuneWindowDlg::ShowMeasuring(bool measuring) noexcept {
    if (measuring) {
        HandOver(IDC_TUNEWIN_MEASURE, IDC_TUNEWIN_STOP);
    } else {
        HandOver(IDC_TUNEWIN_STOP, IDC_TUNEWIN_MEASURE);
    }
}

void CTuneWindowDlg::Refuse(int id, const char* text) noexcept {
    MessageBeep(MB_ICONEXCLAMATION);
    SetResultText(text);
    SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

void CTuneWindowDlg::ShowHostUnderWay() noexcept {
    if (hostsShown_ < measurement_->hosts.size())
        SetResultText("Measuring the round trip to " + measurement_->hosts[hostsShown_] + "...");
}

void CTuneWindowDlg::SetResultText(const std::string& text) noexcept {
    SetDlgItemTextA(Handle(), IDC_TUNEWIN_RESULT, text.c_str());
}

DWORD WINAPI CTuneWindowDlg::Worker(LPVOID share) noexcept {
    const std::unique_ptr<std::shared_ptr<Measurement>> owned(static_cast<std::shared_ptr<Measurement>*>(share));
    Measurement& measurement = **owned;
    std::vector<Win32Icmp> icmps(measurement.hosts.size());
    std::vector<Icmp*> each;
    for (Win32Icmp& icmp : icmps) each.push_back(&icmp);
    const WindowMeasurement::Result result = WindowMeasurement::Run(
        each, measurement.hosts, &JobThreads::RunTogether, measurement.stop,
        [&measurement](const WindowMeasurement::Host& host) {
            const CriticalSection::Lock locked(measurement.lock);
            measurement.measured.push_back(host);
            measurement.Tell();
        });
    const CriticalSection::Lock locked(measurement.lock);
    measurement.result = result;
    measurement.Tell();
    return 0;
}

}  // namespace zartune
