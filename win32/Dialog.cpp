#include "win32/Dialog.h"

#include "win32/SubclassedWindow.h"
#include "win32/WorkerThread.h"

Dialog::~Dialog() {
    if (Handle() != nullptr && !modal_) DestroyWindow(Handle());
}

INT_PTR Dialog::DoModal(HWND owner) {
    modal_ = true;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner, &Procedure<true>,
                           reinterpret_cast<LPARAM>(static_cast<Window*>(this)));
}

bool Dialog::CreateChild(HWND parent) {
    modal_ = false;
    CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent, &Procedure<true>,
                       reinterpret_cast<LPARAM>(static_cast<Window*>(this)));
    return Handle() != nullptr;
}

LRESULT Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    LRESULT reflected = 0;
    if (SubclassedWindow::Reflect(message, wParam, lParam, reflected)) {
        // Colour requests answer with the brush itself, everything else through DWLP_MSGRESULT.
        if (message != WM_COMMAND) return reflected;
        SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, reflected);
        return TRUE;
    }
    if (message == WorkerThread::kNewsMessage && worker_ != nullptr) {
        // News posted before its worker was let go finds no one.
        if (worker_->Busy()) OnWorkerNews();
        return TRUE;
    }
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
    if (modal_ && Item(IDOK) != nullptr) EndDialog(IDOK);
}

void Dialog::OnCancel() noexcept {
    if (modal_) EndDialog(IDCANCEL);
}

void Dialog::OnDestroyed() noexcept {
    if (worker_ != nullptr) worker_->LetGo();
}

void Dialog::EndDialog(INT_PTR result) noexcept { ::EndDialog(Handle(), result); }

bool Dialog::IsChecked(int id) const { return IsDlgButtonChecked(Handle(), id) == BST_CHECKED; }

void Dialog::SetChecked(int id, bool checked) noexcept {
    CheckDlgButton(Handle(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Dialog::IsEnabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

void Dialog::SetEnabled(int id, bool enabled) noexcept { EnableWindow(Item(id), enabled ? TRUE : FALSE); }

void Dialog::HandOver(int from, int to) noexcept {
    const bool moveFocus = GetFocus() == Item(from);
    SetEnabled(to, true);
    if (moveFocus) Focus(to);
    SetEnabled(from, false);
}

void Dialog::Refuse(int id) noexcept {
    MessageBeep(MB_ICONEXCLAMATION);
    Focus(id);
}

// As the dialog manager moves it, the default button following.
void Dialog::Focus(int id) noexcept { SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE); }

std::string Dialog::ItemText(int id) const {
    HWND item = Item(id);
    std::string text(GetWindowTextLengthA(item) + 1, '\0');
    text.resize(GetWindowTextA(item, &text[0], static_cast<int>(text.size())));
    return text;
}

int Dialog::ItemSelection(int id) const {
    return static_cast<int>(SendDlgItemMessageA(Handle(), id, CB_GETCURSEL, 0, 0));
}

void Dialog::SelectItem(int id, int position) noexcept {
    SendDlgItemMessageA(Handle(), id, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}
