#pragma once
#include "configurator/CMainFormView.h"
#include "win32/FrameWindow.h"
#include "win32/UniqueHandle.h"
#include "win32/Window.h"

class CZartuneApp;

// The configurator's main window: fixed size, menu 128, toolbar, the
// three-pane status bar (prompts, mode, operating system) and the form.
// Commands without a handler here stay greyed in the menu and the toolbar.
class CMainFrame : public FrameWindow {
public:
    explicit CMainFrame(CZartuneApp& app);

    // Creates the frame, still hidden, with its bars and its form.
    bool Create();
    CMainFormView& Form() { return form_; }

protected:
    CommandUi QueryCommand(WORD id) const noexcept override;
    bool OnCreate() noexcept override;
    void OnUpdatePanes() noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;

private:
    void OnRestore();
    void OnHelpTopics();
    void OnAbout();
    // The status panes' update handlers; the mode pane's also carries out the
    // form's Apply request.
    void OnUpdateModePane() noexcept;
    void OnUpdateOsPane() noexcept;

    static const CommandEntry<CMainFrame> kCommands[3];

    CZartuneApp* app_;
    CMainFormView form_;
    UniqueHicon smallIcon_;
};
