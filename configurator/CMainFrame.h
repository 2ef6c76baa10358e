#pragma once
#include "common/ProductInfo.h"
#include "configurator/CMainFormView.h"
#include "configurator/TuningController.h"
#include "configurator/TuningView.h"
#include "win32/FrameWindow.h"
#include "win32/UniqueHandle.h"

namespace zartune {

// The configurator's main window: fixed size, menu 128, toolbar, the
// three-pane status bar (prompts, mode, operating system) and the form. It
// owns the controller that decides what the commands do and shows its
// decisions: the dialogs, the progress bar, the form's state.
class CMainFrame : public FrameWindow, public TuningView {
public:
    CMainFrame(ProductInfo& product, Registry& registry, Desktop& desktop);

    // Creates the frame, still hidden, with its bars and its form.
    bool Create();
    CMainFormView& Form() { return form_; }
    TuningController& Controller() { return controller_; }
    // The bar Apply shows while it runs; null otherwise.
    HWND ProgressBar() const { return progress_.get(); }

    // The controller's view of the frame.
    Desktop::WindowRef Owner() const override;
    FormState ReadForm() const override;
    std::string ModeText() const override;
    std::string ConnectionTypeText() const override;
    void ShowExplanation(const std::string& caption, const std::string& text) override;
    void SaveFormSettings() override;
    void BeginProgress() override;
    void StepProgress(std::uint64_t count) override;
    void EndProgress() override;
    void ShowAbout() override;
    void ShowKeepAlive() override;
    void BeginWait() override;
    void EndWait() override;
    std::vector<std::string> CopyBackupFiles(const RegistryBackupPlan& plan) override;

protected:
    CommandUi QueryCommand(WORD id) const noexcept override;
    bool OnCreate() noexcept override;
    void OnUpdatePanes() noexcept override;
    void OnToolbarPlaced(const ToolbarPlacement& placement) noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;

private:
    // The status panes' update handlers; the mode pane's also carries out the
    // form's Apply request.
    void OnUpdateModePane() noexcept;
    void OnUpdateOsPane() noexcept;

    ProductInfo* product_;
    Registry* registry_;
    Desktop* desktop_;
    TuningController controller_;
    CMainFormView form_;
    UniqueHicon smallIcon_;
    UniqueHwnd progress_;
    HCURSOR previousCursor_ = nullptr;
};

}  // namespace zartune
