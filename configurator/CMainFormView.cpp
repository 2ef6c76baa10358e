#include "configurator/CMainFormView.h"

#include "common/LeadingInt.h"
#include "configurator/FormLists.h"
#include "configurator/LinkActions.h"
#include "configurator/PrivateProfileFile.h"
#include "resources/zartune_ids.h"
#include "win32/Window.h"


namespace zartune {

namespace {

struct PairControls {
    Parameter parameter;
    int defaultButton;
    int customButton;
    int value;
    bool edit;  // else a list
};

const PairControls kPairs[] = {
    {Parameter::Mtu, IDC_MTU_DEFAULT, IDC_MTU_CUSTOM, IDC_MTU_EDIT, true},
    {Parameter::ReceiveWindow, IDC_RWIN_DEFAULT, IDC_RWIN_CUSTOM, IDC_RWIN_LIST, false},
    {Parameter::Ttl, IDC_TTL_DEFAULT, IDC_TTL_CUSTOM, IDC_TTL_EDIT, true},
    {Parameter::KeepAlive, IDC_KEEPALIVE_DEFAULT, IDC_KEEPALIVE_CUSTOM, IDC_KEEPALIVE_LIST, false},
    {Parameter::NdiCache, IDC_NDI_DEFAULT, IDC_NDI_CUSTOM, IDC_NDI_LIST, false},
};

// The controls that the mode switches on and off together, in this order.
const int kManualControls[] = {
    IDC_MTU_DEFAULT, IDC_MTU_CUSTOM, IDC_RWIN_DEFAULT, IDC_RWIN_CUSTOM, IDC_TTL_DEFAULT, IDC_TTL_CUSTOM,
    IDC_KEEPALIVE_DEFAULT, IDC_KEEPALIVE_CUSTOM, IDC_NDI_DEFAULT, IDC_NDI_CUSTOM, IDC_PMTU, IDC_BLACKHOLE,
    IDC_LABEL_HTTP10, IDC_HTTP10_LIST, IDC_LABEL_HTTP11, IDC_HTTP11_LIST, IDC_LINK_MTU, IDC_LINK_RWIN,
    IDC_LINK_TTL, IDC_LINK_KEEPALIVE, IDC_LINK_GENERAL, IDC_LINK_NDI,
};

struct HelpLink {
    int link;
    int group;
    int blank;
    const char* key;
};

const HelpLink kHelpLinks[] = {
    {IDC_LINK_MTU, IDC_GROUP_MTU, IDC_BLANK_MTU, linkkey::kMtu},
    {IDC_LINK_RWIN, IDC_GROUP_RWIN, IDC_BLANK_RWIN, linkkey::kRwin},
    {IDC_LINK_TTL, IDC_GROUP_TTL, IDC_BLANK_TTL, linkkey::kTtl},
    {IDC_LINK_KEEPALIVE, IDC_GROUP_KEEPALIVE, IDC_BLANK_KEEPALIVE, linkkey::kKeepAlive},
    {IDC_LINK_GENERAL, IDC_GROUP_GENERAL, IDC_BLANK_GENERAL, linkkey::kGeneral},
    {IDC_LINK_NDI, IDC_GROUP_NDI, IDC_BLANK_NDI, linkkey::kNdiCache},
};

// Lists whose selection field follows the display's font size.
const int kValueLists[] = {IDC_RWIN_LIST, IDC_NDI_LIST, IDC_KEEPALIVE_LIST, IDC_HTTP10_LIST, IDC_HTTP11_LIST};

}  // namespace

const CommandEntry<CMainFormView> CMainFormView::kButtonCommands[] = {
    {IDC_APPLY, &CMainFormView::OnApply},
    {IDC_EVERTIE, &CMainFormView::OnEvertie},
    {IDC_HELP_BUTTON, &CMainFormView::OnHelp},
};

const CommandEntry<CMainFormView> CMainFormView::kListChanges[] = {
    {IDC_MODE, &CMainFormView::OnModeChanged},
    {IDC_CONNECTION_TYPE, &CMainFormView::OnTypeChanged},
};

namespace {

void Fill(HWND list, const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
}

}  // namespace

CMainFormView::CMainFormView(TuningController& controller, ProductInfo& product, Registry& registry,
                             Desktop& desktop)
    : Dialog(IDD_MAIN_FORM), controller_(&controller), product_(&product), registry_(&registry), desktop_(&desktop) {}

void CMainFormView::OnInitialUpdate() noexcept {
    SetUpHelpLinks();
    const int fieldHeight = product_->IsLargeFontDisplay() ? 16 : 13;
    for (int id : kValueLists) SendMessageA(Item(id), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), fieldHeight);
    FillLists();
    // No typed value longer than the configuration file can keep.
    for (int id : {IDC_MTU_EDIT, IDC_TTL_EDIT}) SendMessageA(Item(id), EM_LIMITTEXT, PrivateProfileFile::kLongestText, 0);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

void CMainFormView::SetUpHelpLinks() noexcept {
    HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_CURSOR));
    for (const HelpLink& help : kHelpLinks) {
        links_.push_back(std::make_unique<CLinkStatic>(*product_, *desktop_, *registry_));
        CLinkStatic& link = *links_.back();
        link.AttachDlgItem(Handle(), help.link);
        link.SetLinkKey(help.key);
        link.SetLinkCursor(cursor);
    }
    // Each link and its blank label go to the top right corner of the group box.
    for (const HelpLink& help : kHelpLinks) {
        const RECT group = ItemRect(help.group);
        const RECT link = ItemRect(help.link);
        const int width = link.right - link.left;
        const int height = link.bottom - link.top;
        HWND blank = Item(help.blank);
        MoveWindow(Item(help.link), group.right - 25, group.top, width, height, TRUE);
        // The blank label lies under the link and covers the group box's line
        // behind it, so it must never paint over the link.
        SetWindowLongPtrA(blank, GWL_STYLE, GetWindowLongPtrA(blank, GWL_STYLE) | WS_CLIPSIBLINGS);
        SetWindowPos(blank, Item(help.link), group.right - 25, group.top, width, height, SWP_NOACTIVATE);
        SetWindowTextA(blank, " ");
    }
}

void CMainFormView::FillLists() noexcept {
    Fill(Item(IDC_CONNECTION_TYPE), formlists::ConnectionTypes());
    Fill(Item(IDC_MODE), formlists::Modes());
    Fill(Item(IDC_RWIN_LIST), formlists::ReceiveWindowMultipliers());
    Fill(Item(IDC_KEEPALIVE_LIST), formlists::KeepAliveMinutes());
    Fill(Item(IDC_HTTP10_LIST), formlists::ConnectionsPerServer());
    Fill(Item(IDC_HTTP11_LIST), formlists::ConnectionsPerServer());
    Fill(Item(IDC_NDI_LIST), formlists::NdiCacheSizes());
}

RECT CMainFormView::ItemRect(int id) const {
    RECT rect = {};
    GetWindowRect(Item(id), &rect);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

FormState CMainFormView::ReadState() const {
    FormState state;
    state.connectionType = ItemSelection(IDC_CONNECTION_TYPE);
    state.mode = ItemSelection(IDC_MODE);
    for (const PairControls& controls : kPairs) {
        ParameterPair& pair = state.Pair(controls.parameter);
        pair.defaultChecked = IsChecked(controls.defaultButton);
        pair.customChecked = IsChecked(controls.customButton);
        pair.valueEnabled = IsEnabled(controls.value);
        if (controls.edit) {
            pair.text = ItemText(controls.value);
        } else {
            pair.selection = ItemSelection(controls.value);
        }
    }
    const std::string added = ListEntry(IDC_RWIN_LIST, FormState::kAddedWindowEntry);
    state.addedWindowMultiplier = added.empty() ? 0 : ReadLeadingInt(added.substr(1));
    state.pmtuChecked = IsChecked(IDC_PMTU);
    state.blackHoleChecked = IsChecked(IDC_BLACKHOLE);
    state.http10 = ItemSelection(IDC_HTTP10_LIST);
    state.http11 = ItemSelection(IDC_HTTP11_LIST);
    state.manualEnabled = IsEnabled(kManualControls[0]);
    return state;
}

void CMainFormView::WriteState(const FormState& state) noexcept {
    SelectItem(IDC_CONNECTION_TYPE, state.connectionType);
    SelectItem(IDC_MODE, state.mode);
    for (int id : kManualControls) SetEnabled(id, state.manualEnabled);
    ShowAddedWindowEntry(state.addedWindowMultiplier);
    for (const PairControls& controls : kPairs) {
        const ParameterPair& pair = state.Pair(controls.parameter);
        SetChecked(controls.defaultButton, pair.defaultChecked);
        SetChecked(controls.customButton, pair.customChecked);
        if (controls.edit) {
            // Only a real change, so the caret stays where the user left it.
            if (ItemText(controls.value) != pair.text) SetDlgItemTextA(Handle(), controls.value, pair.text.c_str());
        } else {
            SelectItem(controls.value, pair.selection);
        }
        SetEnabled(controls.value, pair.valueEnabled);
    }
    SetChecked(IDC_PMTU, state.pmtuChecked);
    SetChecked(IDC_BLACKHOLE, state.blackHoleChecked);
    SelectItem(IDC_HTTP10_LIST, state.http10);
    SelectItem(IDC_HTTP11_LIST, state.http11);
}

std::string CMainFormView::ListEntry(int id, int position) const {
    const LRESULT length = SendMessageA(Item(id), CB_GETLBTEXTLEN, static_cast<WPARAM>(position), 0);
    if (length == CB_ERR) return std::string();
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    SendMessageA(Item(id), CB_GETLBTEXT, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

void CMainFormView::ShowAddedWindowEntry(int multiplier) noexcept {
    const std::string wanted = multiplier > 0 ? "x" + std::to_string(multiplier) : std::string();
    const std::string shown = ListEntry(IDC_RWIN_LIST, FormState::kAddedWindowEntry);
    if (shown == wanted) return;
    if (!shown.empty()) SendMessageA(Item(IDC_RWIN_LIST), CB_DELETESTRING, FormState::kAddedWindowEntry, 0);
    if (!wanted.empty()) {
        SendMessageA(Item(IDC_RWIN_LIST), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wanted.c_str()));
    }
}

std::string CMainFormView::ModeText() const { return ItemText(IDC_MODE); }


bool CMainFormView::OnCommand(WORD id, WORD code, HWND control) noexcept {
    if (code == BN_CLICKED && (DispatchCommand(this, kButtonCommands, id) || OnPairButton(id))) return true;
    if (code == CBN_SELCHANGE && DispatchCommand(this, kListChanges, id)) return true;
    return Dialog::OnCommand(id, code, control);
}

bool CMainFormView::OnPairButton(WORD id) noexcept {
    for (const PairControls& controls : kPairs) {
        if (id != controls.defaultButton && id != controls.customButton) continue;
        FormState state = ReadState();
        if (id == controls.defaultButton) {
            state.ChooseWindowsDefault(controls.parameter);
            WriteState(state);
        } else {
            state.ChooseCustom(controls.parameter);
            WriteState(state);
            SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(controls.value)), TRUE);
        }
        return true;
    }
    return false;
}

void CMainFormView::OnApply() { controller_->RequestApply(); }

// The same as the frame's command of that name.
void CMainFormView::OnEvertie() { controller_->RunCommand(ID_FILE_EVERTIE); }

void CMainFormView::OnHelp() { product_->ShowHelpTopic("zartune.hlp", "Configuration Options"); }

void CMainFormView::OnModeChanged() { controller_->OnModeChosen(ItemSelection(IDC_MODE)); }

void CMainFormView::ShowNewMode() noexcept {
    // Shown again so they redraw in their new enabled state.
    for (const HelpLink& help : kHelpLinks) {
        ShowWindow(Item(help.link), SW_HIDE);
        ShowWindow(Item(help.link), SW_SHOW);
    }
    SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_APPLY)), TRUE);
}

void CMainFormView::OnTypeChanged() { controller_->OnConnectionTypeChosen(ItemSelection(IDC_CONNECTION_TYPE)); }

}  // namespace zartune
