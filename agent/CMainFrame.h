#pragma once
#include "agent/AgentView.h"
#include "agent/CSystemTray.h"
#include "agent/KeepAliveAgent.h"
#include "win32/Window.h"

namespace zarwatch {

// The agent's hidden main window "ZV - Kavrel": owns the tray icon, carries
// the timers, receives the tray's notifications, the tray menu's commands and
// the configurator's settings-changed message, and hands them to the agent.
// It is never shown and never retitles itself, since the configurator and a
// second copy of the agent find it by that title.
class CMainFrame : public Window, private AgentView {
public:
    static constexpr UINT kTrayMessage = WM_USER + 10;

    CMainFrame(ProductInfo& product, Registry& registry, Internet& internet, Desktop& desktop, LogFiles& files);

    // False when the window or its tray icon could not be created.
    bool CreateHidden();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;

private:
    bool OnCreate();
    void OnInitMenuPopup(HMENU menu);

    Desktop::WindowRef Owner() const override;
    void ShowIcon(Icon icon) override;
    void SetTip(const std::string& text) override;
    void StartAnimation() override;
    void EndAnimation() override;
    void SetTimer(UINT id, UINT periodMs) override;

    ProductInfo* product_;
    HICON enabledIcon_;
    HICON disabledIcon_;
    CSystemTray tray_;
    KeepAliveAgent agent_;
};

}  // namespace zarwatch
