#pragma once
#include "common/ProductInfo.h"
#include "configurator/KeepAliveLogReport.h"
#include "win32/Dialog.h"
#include "win32/Window.h"

#include <functional>

namespace zartune {

// Dialog 200, "Keep-Alive Log": what the last 24 hours came to, above the
// agent's log lines, newest first. "&Refresh" reads the log again, "&Copy"
// puts the whole log on the clipboard as text, or says why it could not.
class CKeepAliveLogDlg : public Dialog {
public:
    CKeepAliveLogDlg(ProductInfo& product, Desktop& desktop, std::function<KeepAliveLogReport()> read);

protected:
    bool OnInit() noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;

private:
    static const CommandEntry<CKeepAliveLogDlg> kButtons[];

    void OnRefresh();
    void OnCopy();
    void OnHelp();

    ProductInfo* product_;
    Desktop* desktop_;
    std::function<KeepAliveLogReport()> read_;
    KeepAliveLogReport report_;
};

}  // namespace zartune
