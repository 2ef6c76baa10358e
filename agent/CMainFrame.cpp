#include "agent/CMainFrame.h"

#include "agent/AgentStartup.h"
#include "resources/zarwatch_ids.h"

namespace zarwatch {

namespace {

constexpr const char* kClassName = "ZvKavrelFrame";

HICON LoadProgramIcon(UINT id) { return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)); }

}  // namespace

CMainFrame::CMainFrame(ProductInfo& product, Registry& registry, Internet& internet, Desktop& desktop,
                       LogFiles& files)
    : product_(&product),
      enabledIcon_(LoadProgramIcon(IDI_ENABLED)),
      disabledIcon_(LoadProgramIcon(IDI_DISABLED)),
      agent_(product, registry, internet, desktop, files, *this) {}

bool CMainFrame::CreateHidden() {
    return RegisterWindowClass(kClassName, enabledIcon_) &&
           Create(kClassName, kAgentWindowTitle, WS_OVERLAPPEDWINDOW, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr);
}

LRESULT CMainFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_TIMER:
        agent_.OnTimer(static_cast<UINT>(wParam));
        break;
    case kTrayMessage:
        return tray_.HandleTrayNotification(wParam, lParam);
    case kSettingsChangedMessage:
        agent_.OnSettingsChanged(wParam, lParam);
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_COMMAND:
        if (agent_.OnCommand(LOWORD(wParam))) return 0;
        break;
    case WM_ENDSESSION:
        // The session ends the process without destroying the window.
        if (wParam) agent_.End();
        return 0;
    case WM_DESTROY:
        agent_.End();
        tray_.RemoveTrayIcon();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

bool CMainFrame::OnCreate() {
    agent_.ReloadSettings();
    const std::string name = product_->ProductName();
    if (!tray_.CreateTrayIcon(Handle(), kTrayMessage, name.c_str(), enabledIcon_, IDR_TRAY_MENU)) return false;
    tray_.SetDefaultMenuItem(0, true);
    agent_.Start();
    return true;
}

void CMainFrame::OnInitMenuPopup(HMENU menu) {
    ModifyMenuA(menu, ID_TRAY_DISABLE, MF_BYCOMMAND | MF_STRING, ID_TRAY_DISABLE, agent_.DisableItemText());
}

Desktop::WindowRef CMainFrame::Owner() const { return reinterpret_cast<Desktop::WindowRef>(Handle()); }

void CMainFrame::ShowIcon(Icon icon) { tray_.SetTrayIcon(icon == Icon::Enabled ? enabledIcon_ : disabledIcon_); }

void CMainFrame::SetTip(const std::string& text) { tray_.SetTrayTip(text.c_str()); }

void CMainFrame::StartAnimation() {
    tray_.LoadAnimationFrames(IDI_ANIMATION_FIRST, IDI_ANIMATION_LAST);
    tray_.StartAnimation(250, 300);
}

void CMainFrame::EndAnimation() { tray_.EndAnimation(); }

void CMainFrame::SetTimer(UINT id, UINT periodMs) { ::SetTimer(Handle(), id, periodMs, nullptr); }

}  // namespace zarwatch
