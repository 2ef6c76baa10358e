#pragma once
#include "common/ProductInfo.h"
#include "win32/Dialog.h"

#include <string>

namespace zartune {

// Dialog 146: what the chosen optimisation mode does. Its caption is the
// connection type's text; "&Help" opens the help at "Configuration Options".
class CExplanationDlg : public Dialog {
public:
    CExplanationDlg(ProductInfo& product, std::string caption, std::string text);

protected:
    bool OnInit() noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;

private:
    ProductInfo* product_;
    std::string caption_;
    std::string text_;
};

}  // namespace zartune
