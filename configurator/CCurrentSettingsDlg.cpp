#include "configurator/CCurrentSettingsDlg.h"

#include "configurator/CopyToClipboard.h"
#include "resources/zartune_ids.h"

#include <commctrl.h>

#include <utility>

namespace zartune {

namespace {

// The setting is wide enough for "* Receive window (GlobalMaxTcpWindowSize)",
// whose last letters tell it from its neighbour; the key path is long anyway.
const struct {
    const char* title;
    int width;
} kColumns[] = {{"Setting", 220}, {"Where", 180}, {"Now", 80}, {"After Apply", 80}};

}  // namespace

const CommandEntry<CCurrentSettingsDlg> CCurrentSettingsDlg::kButtons[] = {
    {IDC_CURRENT_REFRESH, &CCurrentSettingsDlg::OnRefresh},
    {IDC_CURRENT_COPY, &CCurrentSettingsDlg::OnCopy},
    {IDC_CURRENT_HELP, &CCurrentSettingsDlg::OnHelp},
};

CCurrentSettingsDlg::CCurrentSettingsDlg(ProductInfo& product, Desktop& desktop,
                                         std::function<CurrentSettings()> compute)
    : Dialog(IDD_CURRENT_SETTINGS), product_(&product), desktop_(&desktop), compute_(std::move(compute)) {}

bool CCurrentSettingsDlg::OnInit() noexcept {
    HWND list = Item(IDC_CURRENT_LIST);
    // Full-row selection needs comctl32 4.70, which IE 3 and later bring.
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < static_cast<int>(sizeof kColumns / sizeof kColumns[0]); ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(kColumns[i].title);
        column.cx = kColumns[i].width;
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    SetDlgItemTextA(Handle(), IDC_CURRENT_NOTE, CurrentSettings::kMarkNote);

    RECT client;
    GetClientRect(Handle(), &client);
    startClient_ = {client.right, client.bottom};
    RECT window;
    GetWindowRect(Handle(), &window);
    startWindow_ = {window.right - window.left, window.bottom - window.top};
    anchors_ = {{IDC_CURRENT_LIST, true, true, false, false, {}},     {IDC_CURRENT_NOTE, true, false, false, true, {}},
                {IDC_CURRENT_PROBLEM, true, false, false, true, {}},  {IDC_CURRENT_REFRESH, false, false, true, true, {}},
                {IDC_CURRENT_COPY, false, false, true, true, {}},     {IDCANCEL, false, false, true, true, {}},
                {IDC_CURRENT_HELP, false, false, true, true, {}}};
    for (Anchor& anchor : anchors_) {
        GetWindowRect(Item(anchor.id), &anchor.start);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&anchor.start), 2);
    }
    OnRefresh();
    return true;
}

LRESULT CCurrentSettingsDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_SIZE && !anchors_.empty()) {
        Layout(LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    }
    if (message == WM_GETMINMAXINFO && startWindow_.cx > 0) {
        // Never smaller than the template: the buttons would cover the list.
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {startWindow_.cx, startWindow_.cy};
        return TRUE;
    }
    return Dialog::HandleMessage(message, wParam, lParam);
}

void CCurrentSettingsDlg::Layout(int width, int height) noexcept {
    const int wider = width - startClient_.cx;
    const int taller = height - startClient_.cy;
    for (const Anchor& anchor : anchors_) {
        const RECT& r = anchor.start;
        MoveWindow(Item(anchor.id), r.left + (anchor.movesRight ? wider : 0), r.top + (anchor.movesDown ? taller : 0),
                   r.right - r.left + (anchor.growsWide ? wider : 0), r.bottom - r.top + (anchor.growsTall ? taller : 0),
                   TRUE);
    }
}

bool CCurrentSettingsDlg::OnCommand(WORD id, WORD code, HWND control) noexcept {
    if (code == BN_CLICKED && DispatchCommand(this, kButtons, id)) return true;
    return Dialog::OnCommand(id, code, control);
}

void CCurrentSettingsDlg::OnRefresh() {
    table_ = compute_();
    ShowTable();
}

void CCurrentSettingsDlg::ShowTable() {
    HWND list = Item(IDC_CURRENT_LIST);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    int index = 0;
    for (const CurrentSettingsRow& row : table_.Rows()) {
        const std::vector<std::string> cells = CurrentSettings::Cells(row);
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = const_cast<char*>(cells[0].c_str());
        index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        for (int column = 1; column < static_cast<int>(cells.size()); ++column) {
            item.iSubItem = column;
            item.pszText = const_cast<char*>(cells[column].c_str());
            SendMessageA(list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
        }
        ++index;
    }
    SetDlgItemTextA(Handle(), IDC_CURRENT_PROBLEM, table_.Problem().c_str());
}

void CCurrentSettingsDlg::OnCopy() { CopyToClipboard(Handle(), *desktop_, table_.ClipboardText(), "the table"); }

void CCurrentSettingsDlg::OnHelp() { product_->ShowHelpTopic("zartune.hlp", "Current Settings"); }

}  // namespace zartune
