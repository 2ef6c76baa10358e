#pragma once
#include "common/ProductInfo.h"
#include "configurator/CurrentSettings.h"
#include "win32/Dialog.h"
#include "win32/Window.h"

#include <functional>
#include <vector>

namespace zartune {

// Dialog 180, "Current Settings": the tuned values now and after the next
// Apply, in a report list that grows with the dialog. "&Refresh" computes
// the table again, "&Copy" puts it on the clipboard as text, or says why it
// could not; neither writes to the registry.
class CCurrentSettingsDlg : public Dialog {
public:
    CCurrentSettingsDlg(ProductInfo& product, Desktop& desktop, std::function<CurrentSettings()> compute);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
    bool OnInit() noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;

private:
    // How a control follows the dialog's size: it grows, moves, or both.
    struct Anchor {
        int id;
        bool growsWide;
        bool growsTall;
        bool movesRight;
        bool movesDown;
        RECT start;
    };
    static const CommandEntry<CCurrentSettingsDlg> kButtons[];

    void OnRefresh();
    void OnCopy();
    void OnHelp();
    void ShowTable();
    void Layout(int width, int height) noexcept;

    ProductInfo* product_;
    Desktop* desktop_;
    std::function<CurrentSettings()> compute_;
    CurrentSettings table_;
    std::vector<Anchor> anchors_;
    SIZE startClient_ = {};
    SIZE startWindow_ = {};
};

}  // namespace zartune
