#pragma once
#include "common/ProductInfo.h"
#include "line/WindowMeasurement.h"
#include "win32/Dialog.h"
#include "win32/Window.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace zartune {

// The Tune Receive Window dialog (190). Each measurement runs on a worker
// thread of its own, which shares only a Measurement with the dialog and
// tells the dialog's window when it has news. Stop, Close or a new
// measurement let the worker go on alone, unheard: it ends after its echo or
// name lookup under way, and the dialog never waits for it. Ends with
// IDC_TUNEWIN_USE when "Use This Window" was pressed: Multiplier and
// WindowBytes then say which.
class CTuneWindowDlg : public Dialog {
public:
    // hosts and speed prefill the two edits; mss is the segment the window is
    // made of, and scalesWindows whether this Windows takes windows above 65535.
    CTuneWindowDlg(ProductInfo& product, const std::string& hosts, const std::string& speed, int mss,
                   bool scalesWindows);

    std::uint32_t Multiplier() const { return found_.multiplier; }
    std::uint32_t WindowBytes() const { return found_.window; }

protected:
    bool OnInit() noexcept override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;
    void OnOK() noexcept override;

private:
    struct Measurement;

    void OnMeasure();
    void OnStop();
    void OnUse();
    void OnHelp();
    void OnNews() noexcept;
    // The worker of the measurement shown goes on alone; nothing it finds is shown.
    void LetMeasurementGo() noexcept;
    void ShowMeasuring(bool measuring) noexcept;
    // Tells what the user typed wrong, with the focus on it.
    void Refuse(int id, const char* text) noexcept;
    // Names the host being measured in the result label.
    void ShowHostUnderWay() noexcept;
    void SetResultText(const std::string& text) noexcept;
    static DWORD WINAPI Worker(LPVOID measurement) noexcept;

    static const CommandEntry<CTuneWindowDlg> kButtons[4];

    ProductInfo* product_;
    std::string startingHosts_;
    std::string startingSpeed_;
    int mss_;
    bool scalesWindows_;
    std::shared_ptr<Measurement> measurement_;  // the measurement shown, if any
    std::size_t hostsShown_ = 0;
    LineWindow found_;  // window 0 until one was computed
};

}  // namespace zartune
