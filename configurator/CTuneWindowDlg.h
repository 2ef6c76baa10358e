#pragma once
#include "common/ProductInfo.h"
#include "line/WindowMeasurement.h"
#include "win32/Dialog.h"
#include "win32/Icmp.h"
#include "win32/Window.h"
#include "win32/Worker.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zartune {

// The Tune Receive Window dialog (190). Each measurement runs on a worker
// thread of its own, with an Icmp from makeIcmp. Stop, Close or a new
// measurement let the worker go on alone, unheard: it ends after its echo
// or name lookup under way. Ends with IDC_TUNEWIN_USE when "Use This
// Window" was pressed: Multiplier then says which.
class CTuneWindowDlg : public Dialog {
public:
    // hosts and speed prefill the two edits; mss is the segment the window is
    // made of, and scalesWindows whether this Windows takes windows above 65535.
    CTuneWindowDlg(ProductInfo& product, const std::string& hosts, const std::string& speed, int mss,
                   bool scalesWindows, IcmpMaker makeIcmp);

    std::uint32_t Multiplier() const { return found_.multiplier; }

protected:
    bool OnInit() noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;
    void OnWorkerNews() noexcept override;

private:
    void OnMeasure();
    void OnStop();
    void OnUse();
    void OnHelp();
    void ShowMeasuring(bool measuring) noexcept;
    // Names the host being measured in the result label.
    void ShowHostUnderWay() noexcept;
    void SetResultText(const std::string& text) noexcept;

    static const CommandEntry<CTuneWindowDlg> kButtons[4];

    ProductInfo* product_;
    std::string startingHosts_;
    std::string startingSpeed_;
    int mss_;
    bool scalesWindows_;
    IcmpMaker makeIcmp_;
    Worker<WindowMeasurement::Host, WindowMeasurement::Result> measurement_{*this};
    std::vector<std::string> hosts_;  // of the measurement shown
    std::uint32_t speed_ = 0;
    std::size_t hostsShown_ = 0;
    LineWindow found_;  // window 0 until one was computed
};

}  // namespace zartune
