#pragma once
#include "common/ProductInfo.h"
#include "configurator/CMainFrame.h"
#include "win32/Application.h"
#include "win32/Desktop.h"
#include "win32/Registry.h"

#include <memory>

namespace zartune {

// The configurator's application object: the product identity and the main
// frame for the whole run. It only starts things up; the frame and its
// controller do the work.
class CZartuneApp : public Application {
public:
    CZartuneApp(Registry& registry, Desktop& desktop);

    // Runs start-up (see ConfiguratorStartup) and opens the window it leads
    // to; true when the main frame is up and the message loop should run.
    bool InitInstance();
    // The program's exit code when InitInstance was false: the unattended
    // Apply's result after its report, otherwise 0.
    int ExitCode() const { return exitCode_; }

    CMainFrame* MainFrame() { return frame_.get(); }

protected:
    void OnIdle() noexcept override;
    bool PreTranslate(MSG& message) noexcept override;

private:
    Registry* registry_;
    Desktop* desktop_;
    ProductInfo product_;
    std::unique_ptr<CMainFrame> frame_;
    int exitCode_ = 0;
};

}  // namespace zartune
