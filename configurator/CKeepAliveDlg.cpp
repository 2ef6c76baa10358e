#include "configurator/CKeepAliveDlg.h"

#include "resources/zartune_ids.h"

namespace zartune {

namespace {

HICON LoadWindowIcon(int width, int height) {
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_KEEPALIVE_WINDOW), IMAGE_ICON, width, height, 0));
}

// Where large fonts put these controls, in client pixels; each keeps its size.
struct Placement {
    int id;
    int x;
    int y;
};
const Placement kLargeFontPlaces[] = {
    {IDC_PING_ICON, 28, 17},
    {IDC_PING_INTRO, 98, 16},
    {IDC_PING_MANUAL, 208, 108},
    {IDC_PING_ANIMATION, 100, 316},
};

}  // namespace

const CommandEntry<CKeepAliveDlg> CKeepAliveDlg::kButtons[] = {
    {IDC_PING_AUTOMATIC, &CKeepAliveDlg::OnAutomatic},
    {IDC_PING_MANUAL, &CKeepAliveDlg::OnManual},
    {IDC_PING_DEFAULTS, &CKeepAliveDlg::OnDefaults},
    {IDC_PING_HELP, &CKeepAliveDlg::OnHelp},
};

CKeepAliveDlg::CKeepAliveDlg(ProductInfo& product, Desktop& desktop)
    : Dialog(IDD_KEEPALIVE),
      product_(&product),
      desktop_(&desktop),
      icon_(LoadWindowIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON))),
      smallIcon_(LoadWindowIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON))) {}

bool CKeepAliveDlg::OnInit() noexcept {
    largeFonts_ = product_->IsLargeFontDisplay();
    if (largeFonts_) PlaceForLargeFonts();
    SendDlgItemMessageA(Handle(), IDC_PING_INTERVAL, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), largeFonts_ ? 16 : 13);
    // The program's only window carries the icon on the taskbar.
    if (product_->SwitchWord() == "ping") {
        SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
        SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    }
    for (const std::string& text : KeepAliveState::IntervalTexts()) {
        SendDlgItemMessageA(Handle(), IDC_PING_INTERVAL, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    WriteState(KeepAliveState::Opening(KeepAliveSettings::Load(product_->Store()), largeFonts_));
    return true;  // the focus goes to OK
}

void CKeepAliveDlg::PlaceForLargeFonts() noexcept {
    for (const Placement& place : kLargeFontPlaces) {
        SetWindowPos(Item(place.id), nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

KeepAliveState CKeepAliveDlg::ReadState() const {
    KeepAliveState state;
    state.automaticChecked = IsChecked(IDC_PING_AUTOMATIC);
    state.manualChecked = IsChecked(IDC_PING_MANUAL);
    state.hostEnabled = IsEnabled(IDC_PING_HOST);
    state.hostText = ItemText(IDC_PING_HOST);
    state.intervalEnabled = IsEnabled(IDC_PING_INTERVAL);
    state.interval = ItemSelection(IDC_PING_INTERVAL);
    state.soundChecked = IsChecked(IDC_PING_SOUND);
    state.animationChecked = IsChecked(IDC_PING_ANIMATION);
    return state;
}

void CKeepAliveDlg::WriteState(const KeepAliveState& state) noexcept {
    SetChecked(IDC_PING_AUTOMATIC, state.automaticChecked);
    SetChecked(IDC_PING_MANUAL, state.manualChecked);
    // Only a real change, so the caret stays where the user left it.
    if (ItemText(IDC_PING_HOST) != state.hostText) SetDlgItemTextA(Handle(), IDC_PING_HOST, state.hostText.c_str());
    SetEnabled(IDC_PING_HOST, state.hostEnabled);
    // Selecting again also puts the item's text back into the list's field.
    SelectItem(IDC_PING_INTERVAL, state.interval);
    SetEnabled(IDC_PING_INTERVAL, state.intervalEnabled);
    SetChecked(IDC_PING_SOUND, state.soundChecked);
    SetChecked(IDC_PING_ANIMATION, state.animationChecked);
}

bool CKeepAliveDlg::OnCommand(WORD id, WORD code, HWND control) noexcept {
    if (code == BN_CLICKED && DispatchCommand(this, kButtons, id)) return true;
    if (id == IDC_PING_INTERVAL && code == CBN_KILLFOCUS) {
        KeepAliveState state = ReadState();
        state.RepairInterval();
        WriteState(state);
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

void CKeepAliveDlg::OnAutomatic() {
    KeepAliveState state = ReadState();
    state.ApplyAutomatic(largeFonts_);
    WriteState(state);
}

void CKeepAliveDlg::OnManual() {
    KeepAliveState state = ReadState();
    state.ApplyManual();
    WriteState(state);
}

void CKeepAliveDlg::OnDefaults() {
    KeepAliveState state = ReadState();
    state.RestoreDefaults(largeFonts_);
    WriteState(state);
    SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_PING_AUTOMATIC)), TRUE);
}

void CKeepAliveDlg::OnHelp() { product_->ShowHelpTopic("zartune.hlp", "Evertie"); }

void CKeepAliveDlg::OnOK() noexcept {
    if (ReadState().Confirm(*product_, *desktop_, reinterpret_cast<Desktop::WindowRef>(Handle()))) EndDialog(IDOK);
}

}  // namespace zartune
