#include "configurator/CZartuneApp.h"

#include "configurator/ApplyReport.h"
#include "configurator/CAboutBox.h"
#include "configurator/CKeepAliveDlg.h"
#include "configurator/ConfiguratorStartup.h"
#include "configurator/FrameCommands.h"
#include "configurator/TuningApply.h"
#include "configurator/Win32ConfiguratorFiles.h"
#include "win32/Win32LogFiles.h"

#include <commctrl.h>

namespace zartune {

CZartuneApp::CZartuneApp(Registry& registry, Desktop& desktop)
    : registry_(&registry), desktop_(&desktop), product_(registry, desktop) {}

bool CZartuneApp::InitInstance() {
    InitCommonControls();
    ConfiguratorStartup startup(*registry_, *desktop_, product_);
    const StartupOutcome outcome = startup.Run();
    if (outcome == StartupOutcome::End) return false;
    if (outcome == StartupOutcome::UnknownApplySwitch) {
        exitCode_ = ApplyReport::kExitUnknownSwitch;
        return false;
    }
    if (outcome == StartupOutcome::ApplyUnattended) {
        Win32ConfiguratorFiles files;
        const TuningApply::UnattendedResult result = TuningApply::ApplyUnattended(product_, *registry_, *desktop_, files);
        exitCode_ = result.exitCode;
        const std::string& logPath = startup.Switches().logPath;
        if (!logPath.empty()) {
            Win32LogFiles logFiles;
            exitCode_ = ApplyReport(*desktop_, logFiles).Write(logPath, result.exitCode, result.counts);
        }
        return false;
    }
    if (outcome == StartupOutcome::ShowAbout) {
        CAboutBox about(product_, *desktop_, *registry_);
        about.DoModal(nullptr);
        return false;  // the About box was the whole run
    }
    if (outcome == StartupOutcome::ShowKeepAlive) {
        CKeepAliveDlg keepAlive(product_, *desktop_);
        keepAlive.DoModal(nullptr);
        return false;  // and so was the keep-alive dialog
    }

    frame_ = std::make_unique<CMainFrame>(product_, *registry_, *desktop_);
    if (!frame_->Create()) return false;
    frame_->OnInitialUpdate();
    const std::string title = framecommands::MainWindowTitle(product_.ProductName(), product_.ProductVersion());
    SetWindowTextA(frame_->Handle(), title.c_str());
    ShowWindow(frame_->Handle(), outcome == StartupOutcome::OpenMainWindowHidden ? SW_HIDE : SW_SHOW);
    UpdateWindow(frame_->Handle());
    return true;
}

void CZartuneApp::OnIdle() noexcept {
    if (frame_ != nullptr && frame_->Handle() != nullptr) frame_->UpdateCommandUi();
}

bool CZartuneApp::PreTranslate(MSG& message) noexcept {
    return frame_ != nullptr && frame_->Handle() != nullptr && frame_->PreTranslate(message);
}

}  // namespace zartune
