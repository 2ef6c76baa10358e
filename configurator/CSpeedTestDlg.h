#pragma once
#include "common/ProductInfo.h"
#include "configurator/TuningView.h"
#include "line/SpeedTest.h"
#include "win32/Dialog.h"
#include "win32/Icmp.h"
#include "win32/Window.h"
#include "win32/Worker.h"

#include <string>

namespace zartune {

// The Test Line Speed dialog (210). Each test runs on a worker thread of its
// own, with an Icmp from makeIcmp and the real WinINet. Stop, Close or a new
// test let the worker go on alone, unheard: it ends after its echo or read
// under way. ended gives the result label of each test that ends but by Stop.
class CSpeedTestDlg : public Dialog {
public:
    CSpeedTestDlg(ProductInfo& product, const std::string& address, TuningView::SpeedTestEnded ended,
                  IcmpMaker makeIcmp);

protected:
    bool OnInit() noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;
    void OnWorkerNews() noexcept override;

private:
    void OnStart();
    void OnStop();
    void OnHelp();
    void ShowTesting(bool testing) noexcept;
    void SetResultText(const std::string& text) noexcept;

    static const CommandEntry<CSpeedTestDlg> kButtons[3];

    ProductInfo* product_;
    std::string startingAddress_;
    TuningView::SpeedTestEnded ended_;
    IcmpMaker makeIcmp_;
    Worker<int, SpeedTest::Result> test_{*this};  // items: how far the download is, in percent
    std::string address_;                         // of the test shown
};

}  // namespace zartune
