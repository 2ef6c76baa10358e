#include "configurator/CExplanationDlg.h"

#include "resources/zartune_ids.h"

#include <utility>

namespace zartune {

CExplanationDlg::CExplanationDlg(ProductInfo& product, std::string caption, std::string text)
    : Dialog(IDD_EXPLANATION), product_(&product), caption_(std::move(caption)), text_(std::move(text)) {}

bool CExplanationDlg::OnInit() noexcept {
    SetWindowTextA(Handle(), caption_.c_str());
    // A resource icon loaded this way is shared by the system and never destroyed.
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_EXPLANATION));
    SendDlgItemMessageA(Handle(), IDC_EXPLAIN_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    SetDlgItemTextA(Handle(), IDC_EXPLAIN_TEXT, text_.c_str());
    return true;
}

bool CExplanationDlg::OnCommand(WORD id, WORD code, HWND control) noexcept {
    if (id == IDC_EXPLAIN_HELP && code == BN_CLICKED) {
        product_->ShowHelpTopic("zartune.hlp", "Configuration Options");
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

}  // namespace zartune
