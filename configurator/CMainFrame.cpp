#include "configurator/CMainFrame.h"

#include "configurator/CAboutBox.h"
#include "configurator/CExplanationDlg.h"
#include "configurator/CKeepAliveDlg.h"
#include "configurator/FrameCommands.h"
#include "configurator/RegistryBackupFiles.h"
#include "configurator/ToolbarSettings.h"
#include "resources/zartune_ids.h"
#include "tuning/OsName.h"

namespace zartune {

namespace {

const char kClassName[] = "ZartuneMainFrame";
const FrameResources kResources = {IDR_MAINFRAME, IDS_IDLE_PROMPT, ID_APP_EXIT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR};

// The wait between Apply's steps: a pure count, so its length follows the
// processor. The volatile counter keeps the optimiser from dropping it.
void CountTo(std::uint64_t count) {
    for (volatile std::uint64_t i = 0; i < count; i = i + 1) {
    }
}

}  // namespace

CMainFrame::CMainFrame(ProductInfo& product, Registry& registry, Desktop& desktop)
    : FrameWindow(kResources),
      product_(&product),
      registry_(&registry),
      desktop_(&desktop),
      controller_(product, registry, desktop, *this),
      form_(controller_, product, registry, desktop) {}

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
    // Once the frame has its size: a bar on a side widens it.
    RestoreToolbar(toolbarsettings::Read(product_->Store()));
    if (product_->SwitchWord() != "detect") CenterOnScreen(Handle());
    return true;
}

void CMainFrame::OnToolbarPlaced(const ToolbarPlacement& placement) noexcept {
    toolbarsettings::Write(product_->Store(), placement);
}

FrameWindow::CommandUi CMainFrame::QueryCommand(WORD id) const noexcept {
    if (controller_.HandlesCommand(id)) return {controller_.CommandEnabled(id), false};
    return FrameWindow::QueryCommand(id);
}

bool CMainFrame::OnCommand(WORD id, WORD code, HWND control) noexcept {
    if (controller_.CommandEnabled(id) && controller_.OnCommand(id)) return true;
    return FrameWindow::OnCommand(id, code, control);
}

void CMainFrame::OnUpdatePanes() noexcept {
    OnUpdateModePane();
    OnUpdateOsPane();
}

void CMainFrame::OnUpdateModePane() noexcept {
    SetPaneText(1, framecommands::ModePaneText(form_.ModeText()));
    // The form's Apply button only asks; the request is carried out here, once,
    // as the Apply command of the menu.
    if (controller_.TakeApplyRequest()) SendMessageA(Handle(), WM_COMMAND, MAKEWPARAM(ID_FILE_APPLY, 0), 0);
}

void CMainFrame::OnUpdateOsPane() noexcept { SetPaneText(2, framecommands::OsPaneText(GetOsName(*desktop_))); }

Desktop::WindowRef CMainFrame::Owner() const { return reinterpret_cast<Desktop::WindowRef>(Handle()); }

FormState CMainFrame::ReadForm() const { return form_.ReadState(); }

std::string CMainFrame::ModeText() const { return form_.ModeText(); }

std::string CMainFrame::ConnectionTypeText() const { return form_.ConnectionTypeText(); }

void CMainFrame::ShowExplanation(const std::string& caption, const std::string& text) {
    CExplanationDlg explanation(*product_, caption, text);
    explanation.DoModal(Handle());
}

void CMainFrame::SaveFormSettings() { form_.SaveFormSettings(); }

void CMainFrame::BeginProgress() {
    HWND status = StatusBar();
    SetPaneText(0, std::string());
    RECT rect = {};
    SendMessageA(status, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    if (IsRectEmpty(&rect)) {
        // One pixel just right of the status bar, in its own coordinates.
        RECT bar;
        GetWindowRect(status, &bar);
        MapWindowPoints(nullptr, status, reinterpret_cast<POINT*>(&bar), 2);
        rect = {bar.right, bar.top, bar.right + 1, bar.bottom};
    }
    progress_.reset(CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                                    rect.right - rect.left, rect.bottom - rect.top, status, nullptr,
                                    GetModuleHandleA(nullptr), nullptr));
    BeginWait();
    SendMessageA(progress_.get(), PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageA(progress_.get(), PBM_SETSTEP, 1, 0);
    SendMessageA(progress_.get(), PBM_SETPOS, 0, 0);
    UpdateWindow(progress_.get());
}

void CMainFrame::StepProgress(std::uint64_t count) {
    CountTo(count);
    SendMessageA(progress_.get(), PBM_STEPIT, 0, 0);
    // No message loop runs until Apply ends, so the bar paints itself now.
    UpdateWindow(progress_.get());
}

void CMainFrame::EndProgress() {
    EndWait();
    progress_.reset();
}

void CMainFrame::BeginWait() { previousCursor_ = SetCursor(LoadCursorA(nullptr, IDC_WAIT)); }

void CMainFrame::EndWait() {
    SetCursor(previousCursor_ != nullptr ? previousCursor_ : LoadCursorA(nullptr, IDC_ARROW));
}

std::vector<std::string> CMainFrame::CopyBackupFiles(const RegistryBackupPlan& plan) {
    return RegistryBackupFiles::Copy(plan);
}

void CMainFrame::ShowAbout() {
    CAboutBox about(*product_, *desktop_, *registry_);
    about.DoModal(Handle());
}

void CMainFrame::ShowKeepAlive() {
    CKeepAliveDlg keepAlive(*product_, *desktop_);
    keepAlive.DoModal(Handle());
}

}  // namespace zartune
