#pragma once
#include "common/ProductInfo.h"
#include "configurator/KeepAliveState.h"
#include "win32/Dialog.h"
#include "win32/UniqueHandle.h"
#include "win32/Window.h"

namespace zartune {

// The keep-alive dialog (155): how the agent keeps an idle line up. It reads
// the settings each time it opens and saves them on OK, then tells a running
// agent. What it does is decided on a KeepAliveState: a handler reads the
// controls into it, applies a rule and writes the result back.
class CKeepAliveDlg : public Dialog {
public:
    CKeepAliveDlg(ProductInfo& product, Desktop& desktop);

    KeepAliveState ReadState() const;
    void WriteState(const KeepAliveState& state) noexcept;

protected:
    bool OnInit() noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;
    void OnOK() noexcept override;

private:
    void OnAutomatic();
    void OnManual();
    void OnDefaults();
    void OnHelp();
    void PlaceForLargeFonts() noexcept;

    static const CommandEntry<CKeepAliveDlg> kButtons[4];

    ProductInfo* product_;
    Desktop* desktop_;
    bool largeFonts_ = false;
    UniqueHicon icon_;
    UniqueHicon smallIcon_;
};

}  // namespace zartune
