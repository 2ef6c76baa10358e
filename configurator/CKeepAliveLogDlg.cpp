#include "configurator/CKeepAliveLogDlg.h"

#include "configurator/CopyToClipboard.h"
#include "resources/zartune_ids.h"
#include "win32/UniqueHandle.h"

#include <algorithm>
#include <utility>

namespace zartune {

const CommandEntry<CKeepAliveLogDlg> CKeepAliveLogDlg::kButtons[] = {
    {IDC_LOG_REFRESH, &CKeepAliveLogDlg::OnRefresh},
    {IDC_LOG_COPY, &CKeepAliveLogDlg::OnCopy},
    {IDC_LOG_HELP, &CKeepAliveLogDlg::OnHelp},
};

CKeepAliveLogDlg::CKeepAliveLogDlg(ProductInfo& product, Desktop& desktop, std::function<KeepAliveLogReport()> read)
    : Dialog(IDD_KEEPALIVE_LOG), product_(&product), desktop_(&desktop), read_(std::move(read)) {}

bool CKeepAliveLogDlg::OnInit() noexcept {
    OnRefresh();
    return true;
}

bool CKeepAliveLogDlg::OnCommand(WORD id, WORD code, HWND control) noexcept {
    if (code == BN_CLICKED && DispatchCommand(this, kButtons, id)) return true;
    return Dialog::OnCommand(id, code, control);
}

void CKeepAliveLogDlg::OnRefresh() {
    report_ = read_();
    SetDlgItemTextA(Handle(), IDC_LOG_SUMMARY, report_.Summary().c_str());
    HWND list = Item(IDC_LOG_LIST);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    // Wide enough to scroll to the end of the longest line: each is shown whole.
    WindowDc dc(list);
    SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const std::string& line : report_.NewestLines()) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        SIZE size = {};
        GetTextExtentPoint32A(dc.get(), line.c_str(), static_cast<int>(line.size()), &size);
        widest = std::max(widest, size.cx);
    }
    SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + GetSystemMetrics(SM_CXEDGE) * 2), 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void CKeepAliveLogDlg::OnCopy() { CopyToClipboard(Handle(), *desktop_, report_.ClipboardText(), "the log"); }

void CKeepAliveLogDlg::OnHelp() { product_->ShowHelpTopic("zartune.hlp", "Log"); }

}  // namespace zartune
