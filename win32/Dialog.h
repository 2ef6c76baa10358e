#pragma once
#include "win32/Window.h"

#include <windows.h>

#include <string>

class WorkerThread;

// Base of our dialogs: a Window whose object comes with WM_INITDIALOG and
// whose HandleMessage answers as a dialog procedure does. A dialog runs
// modally (DoModal) or as a child window of another (CreateChild: a form
// hosted in a frame); the two differ only in what OK and Cancel do. Derived
// classes keep their commands in a table of their own (CommandEntry)
// dispatched from OnCommand. The controls it hosts that are
// SubclassedWindows answer their own WM_COMMAND notifications and colour
// requests first (SubclassedWindow::Reflect). A dialog with a worker thread
// (a WorkerThread member) hears its news at OnWorkerNews, and lets it go
// when its window is destroyed.
class Dialog : public Window {
public:
    explicit Dialog(UINT templateId) : templateId_(templateId) {}
    // Destroys a child dialog that is still open.
    ~Dialog() override;

    HWND Item(int id) const { return GetDlgItem(Handle(), id); }

    // Runs the dialog until EndDialog: its result, or -1 when it could not be created.
    INT_PTR DoModal(HWND owner);
    // Creates the dialog as a child of parent (the template must have WS_CHILD).
    bool CreateChild(HWND parent);

protected:
    // A dialog procedure's answer: TRUE when handled (results through DWLP_MSGRESULT).
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
    // WM_INITDIALOG; true lets the system give the focus to the first control.
    virtual bool OnInit() noexcept { return true; }
    // WM_COMMAND; false when the id is not handled. IDOK and IDCANCEL go to OnOK and OnCancel.
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;
    // A modal dialog ends with IDOK / IDCANCEL; a child dialog ignores both.
    // Enter sends IDOK when the default button is disabled, so a dialog
    // without an OK button ignores it.
    virtual void OnOK() noexcept;
    virtual void OnCancel() noexcept;
    // The dialog's worker has news to take; never for a worker let go.
    virtual void OnWorkerNews() noexcept {}
    void EndDialog(INT_PTR result) noexcept;
    bool IsModal() const { return modal_; }

    // The state of the dialog's controls, by id.
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked) noexcept;
    bool IsEnabled(int id) const;
    void SetEnabled(int id, bool enabled) noexcept;
    // Enables to and disables from; the focus moves along first when from has it.
    void HandOver(int from, int to) noexcept;
    // What was typed into id cannot be used: a beep, and the focus there.
    void Refuse(int id) noexcept;
    std::string ItemText(int id) const;
    // A combo box's selected position, -1 for none; a position outside the list selects nothing.
    int ItemSelection(int id) const;
    void SelectItem(int id, int position) noexcept;

private:
    friend class WorkerThread;

    void OnDestroyed() noexcept final;
    void Focus(int id) noexcept;

    UINT templateId_;
    bool modal_ = false;
    WorkerThread* worker_ = nullptr;
};
