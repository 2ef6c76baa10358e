#include "win32/Dialog.h"

#include "win32/SubclassedWindow.h"

Dialog::~Dialog() {
    if (hwnd_ != nullptr && !modal_) DestroyWindow(hwnd_);
}

INT_PTR Dialog::DoModal(HWND owner) {
    modal_ = true;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner, &Dialog::Procedure,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateChild(HWND parent) {
    modal_ = false;
    CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent, &Dialog::Procedure,
                       reinterpret_cast<LPARAM>(this));
    return hwnd_ != nullptr;
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_INITDIALOG: return OnInit() ? TRUE : FALSE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
        default: return FALSE;
    }
}

bool Dialog::OnCommand(WORD id, WORD, HWND) noexcept {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void Dialog::OnOK() noexcept {
    if (modal_) EndDialog(IDOK);
}

void Dialog::OnCancel() noexcept {
    if (modal_) EndDialog(IDCANCEL);
}

void Dialog::EndDialog(INT_PTR result) noexcept { ::EndDialog(hwnd_, result); }

bool Dialog::IsChecked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }

void Dialog::SetChecked(int id, bool checked) noexcept {
    CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Dialog::IsEnabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

void Dialog::SetEnabled(int id, bool enabled) noexcept { EnableWindow(Item(id), enabled ? TRUE : FALSE); }

std::string Dialog::ItemText(int id) const {
    HWND item = Item(id);
    std::string text(GetWindowTextLengthA(item) + 1, '\0');
    text.resize(GetWindowTextA(item, &text[0], static_cast<int>(text.size())));
    return text;
}

int Dialog::ItemSelection(int id) const {
    return static_cast<int>(SendDlgItemMessageA(hwnd_, id, CB_GETCURSEL, 0, 0));
}

void Dialog::SelectItem(int id, int position) noexcept {
    SendDlgItemMessageA(hwnd_, id, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (self == nullptr) return FALSE;
    LRESULT reflected = 0;
    if (SubclassedWindow::Reflect(message, wParam, lParam, reflected)) {
        // Colour requests answer with the brush itself, everything else through DWLP_MSGRESULT.
        if (message != WM_COMMAND) return static_cast<INT_PTR>(reflected);
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, reflected);
        return TRUE;
    }
    const INT_PTR result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}
