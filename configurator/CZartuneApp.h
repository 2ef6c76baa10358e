#pragma once
#include "common/ProductInfo.h"
#include "configurator/CMainFrame.h"
#include "tuning/TuningConfig.h"
#include "win32/Application.h"
#include "win32/Desktop.h"
#include "win32/Registry.h"

#include <memory>

// The configurator's application object: the product identity, the tuning
// record, the apply-request flag and the main frame, for the whole run.
class CZartuneApp : public Application {
public:
    CZartuneApp(Registry& registry, Desktop& desktop);

    // Runs start-up (see ConfiguratorStartup) and opens the window it leads
    // to; true when the main frame is up and the message loop should run.
    bool InitInstance();

    ProductInfo& Product() { return product_; }
    Registry& GetRegistry() { return *registry_; }
    Desktop& GetDesktop() { return *desktop_; }
    TuningConfig& Tuning() { return tuning_; }
    CMainFrame* MainFrame() { return frame_.get(); }

    // The form's Apply button: the frame runs Apply at the next idle moment.
    void RequestApply() { applyRequest_ = 1; }
    // True once per request, clearing it.
    bool TakeApplyRequest();

protected:
    void OnIdle() noexcept override;
    bool PreTranslate(MSG& message) noexcept override;

private:
    Registry* registry_;
    Desktop* desktop_;
    ProductInfo product_;
    TuningConfig tuning_;
    int applyRequest_ = 0;
    std::unique_ptr<CMainFrame> frame_;
};
