#include "configurator/CMainFrame.h"

#include "configurator/CAboutBox.h"
#include "configurator/CZartuneApp.h"
#include "configurator/FrameCommands.h"
#include "resources/zartune_ids.h"
#include "tuning/OsName.h"
#include "tuning/TuningEngine.h"

namespace {

const char kClassName[] = "ZartuneMainFrame";
const FrameResources kResources = {IDR_MAINFRAME, IDS_IDLE_PROMPT, ID_APP_EXIT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR};

}  // namespace

const CommandEntry<CMainFrame> CMainFrame::kCommands[] = {
    {ID_FILE_RESTORE, &CMainFrame::OnRestore},
    {ID_HELP_TOPICS, &CMainFrame::OnHelpTopics},
    {ID_APP_ABOUT, &CMainFrame::OnAbout},
};

CMainFrame::CMainFrame(CZartuneApp& app) : FrameWindow(kResources), app_(&app), form_(app) {}

bool CMainFrame::Create() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterWindowClass(kClassName, LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME)))) return false;
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    // An ordinary frame without the maximise box and the sizing border.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    if (!Window::Create(kClassName, "", style, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        nullptr, menu)) {
        DestroyMenu(menu);  // a window that was never made does not own it
        return false;
    }
    smallIcon_.reset(static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    return true;
}

bool CMainFrame::OnCreate() noexcept {
    if (!CreateToolbar() || !CreateStatusBar({0, ID_PANE_MODE, ID_PANE_OS})) return false;
    if (!form_.CreateChild(Handle())) return false;
    SetView(form_.Handle());
    ShowWindow(form_.Handle(), SW_SHOW);

    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(Handle(), &placement);
    placement.showCmd = GetProfileIntA("APPNAME", "OutlineShowCmd", 0);
    // Far off screen: only the size (604 x 450) counts; the frame is centred next.
    placement.rcNormalPosition = {-100000, 0, -99396, 450};
    SetWindowPlacement(Handle(), &placement);
    if (app_->Product().SwitchWord() != "detect") CenterOnScreen(Handle());
    return true;
}

FrameWindow::CommandUi CMainFrame::QueryCommand(WORD id) const noexcept {
    for (const auto& entry : kCommands) {
        if (entry.id == id) return {true, false};
    }
    if (!framecommands::ControlPanelCommandLines(id).empty()) return {true, false};
    if (!framecommands::VendorAddress(id, "", "").empty()) return {true, false};
    return FrameWindow::QueryCommand(id);
}

bool CMainFrame::OnCommand(WORD id, WORD code, HWND control) noexcept {
    if (DispatchCommand(this, kCommands, id)) return true;
    Desktop& desktop = app_->GetDesktop();
    const std::vector<std::string> applets = framecommands::ControlPanelCommandLines(id);
    if (!applets.empty()) {
        for (const std::string& commandLine : applets) desktop.RunCommandLine(commandLine, SW_SHOWNORMAL);
        return true;
    }
    ProductInfo& product = app_->Product();
    const std::string address = framecommands::VendorAddress(id, product.ProductName(), product.ProductVersion());
    if (!address.empty()) {
        desktop.ShellExecuteFile(0, "open", address, "", "", SW_SHOWNORMAL);
        return true;
    }
    return FrameWindow::OnCommand(id, code, control);
}

void CMainFrame::OnRestore() {
    TuningEngine(app_->GetRegistry(), app_->GetDesktop(), app_->Tuning()).RestoreWindowsDefaults(true);
}

void CMainFrame::OnHelpTopics() { app_->Product().ShowHelpTopic("zartune.hlp", "Welcome to Zarvo\xAE 2002"); }

void CMainFrame::OnAbout() {
    CAboutBox about(app_->Product(), app_->GetDesktop(), app_->GetRegistry());
    about.DoModal(Handle());
}

void CMainFrame::OnUpdatePanes() noexcept {
    OnUpdateModePane();
    OnUpdateOsPane();
}

void CMainFrame::OnUpdateModePane() noexcept {
    SetPaneText(1, framecommands::ModePaneText(form_.ModeText()));
    // The form's Apply button only asks; the request is carried out here, once,
    // as the Apply command of the menu.
    if (app_->TakeApplyRequest()) SendMessageA(Handle(), WM_COMMAND, MAKEWPARAM(ID_FILE_APPLY, 0), 0);
}

void CMainFrame::OnUpdateOsPane() noexcept {
    SetPaneText(2, framecommands::OsPaneText(GetOsName(app_->GetDesktop())));
}
