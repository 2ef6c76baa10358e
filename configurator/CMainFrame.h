#pragma once
#include "common/ProductInfo.h"
#include "configurator/CMainFormView.h"
#include "configurator/TuningController.h"
#include "configurator/TuningView.h"
#include "configurator/Win32ConfiguratorFiles.h"
#include "win32/FrameWindow.h"
#include "win32/StatusBarProgress.h"
#include "win32/UniqueHandle.h"

namespace zartune {

// The configurator's main window: fixed size, menu 128, toolbar, the
// three-pane status bar (prompts, mode, operating system) and the form. It
// owns the controller, hands it the commands and shows what it decides.
class CMainFrame : public FrameWindow, private TuningView {
public:
    CMainFrame(ProductInfo& product, Registry& registry, Desktop& desktop);

    // Creates the frame, still hidden, with its bars and its form.
    bool Create();
    // Sizes and centres the frame around the form, sets the form up and
    // opens it on the configuration file. Run once, after Create.
    void OnInitialUpdate() noexcept;
    CMainFormView& Form() { return form_; }
    // The bar Apply shows while it runs; null otherwise.
    HWND ProgressBar() const { return progress_.Handle(); }

protected:
    CommandUi QueryCommand(WORD id) const noexcept override;
    bool OnCreate() noexcept override;
    void OnUpdatePanes() noexcept override;
    void OnIdle() noexcept override;
    void OnToolbarPlaced(const ToolbarPlacement& placement) noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;

private:
    Desktop::WindowRef Owner() const override;
    FormState ReadForm() const override;
    void WriteForm(const FormState& state) override;
    void ShowNewMode() override;
    void ShowExplanation(const std::string& caption, const std::string& text) override;
    void BeginProgress() override;
    void StepProgress(std::uint64_t count) override;
    void EndProgress() override;
    void ShowAbout() override;
    void ShowKeepAlive() override;
    std::optional<int> ShowFindMtu(const std::string& host, int adapterMtu) override;
    std::optional<int> ShowTuneWindow(const std::string& hosts, const std::string& speed, int mss,
                                      bool scalesWindows) override;
    void ShowCurrentSettings(const std::function<CurrentSettings()>& table) override;
    void ShowSpeedTest(const std::string& address, const SpeedTestEnded& ended) override;
    void ShowKeepAliveLog(const std::function<KeepAliveLogReport()>& read) override;
    void BeginWait() override;
    void EndWait() override;

    // The status panes' update handlers.
    void OnUpdateModePane() noexcept;
    void OnUpdateOsPane() noexcept;
    // Far off screen, only the size counts: the frame is centred afterwards.
    void PlaceOffScreen(LONG width, LONG height) noexcept;
    // Dialog units follow the font; where it is wider than Windows' own (Wine's
    // is), the frame grows so that no control of the form is cut off.
    void GrowToFitForm() noexcept;

    ProductInfo* product_;
    Registry* registry_;
    Desktop* desktop_;
    Win32ConfiguratorFiles files_;
    TuningController controller_;
    CMainFormView form_;
    UniqueHicon smallIcon_;
    StatusBarProgress progress_;
    HCURSOR previousCursor_ = nullptr;
};

}  // namespace zartune
