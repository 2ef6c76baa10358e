#include "configurator/CMainFrame.h"

#include "configurator/CAboutBox.h"
#include "configurator/CCurrentSettingsDlg.h"
#include "configurator/CExplanationDlg.h"
#include "configurator/CFindMtuDlg.h"
#include "configurator/CKeepAliveDlg.h"
#include "configurator/CSpeedTestDlg.h"
#include "configurator/CKeepAliveLogDlg.h"
#include "configurator/CTuneWindowDlg.h"
#include "configurator/FrameCommands.h"
#include "configurator/ToolbarSettings.h"
#include "resources/zartune_ids.h"
#include "tuning/OsName.h"
#include "win32/Win32Icmp.h"

#include <algorithm>
#include <memory>

namespace zartune {

// The placement record by its size (winuser.h; no pointers, so the same on x86-64).
static_assert(sizeof(WINDOWPLACEMENT) == 44);

namespace {

const char kClassName[] = "ZartuneMainFrame";
const FrameResources kResources = {IDR_MAINFRAME, IDS_IDLE_PROMPT, ID_APP_EXIT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR};

// The wait between Apply's steps: a pure count, so its length follows the
// processor. The volatile counter keeps the optimiser from dropping it.
void CountTo(std::uint64_t count) {
    for (volatile std::uint64_t i = 0; i < count; i = i + 1) {
    }
}

// The system's echo functions, for the measuring dialogs' workers.
std::unique_ptr<Icmp> SystemIcmp() { return std::make_unique<Win32Icmp>(); }

}  // namespace

CMainFrame::CMainFrame(ProductInfo& product, Registry& registry, Desktop& desktop)
    : FrameWindow(kResources),
      product_(&product),
      registry_(&registry),
      desktop_(&desktop),
      controller_(product, registry, desktop, files_, *this),
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
    PlaceOffScreen(604, 450);
    if (product_->SwitchWord() != "detect") CenterOnScreen(Handle());
    return true;
}

void CMainFrame::OnInitialUpdate() noexcept {
    if (product_->IsLargeFontDisplay()) PlaceOffScreen(800, 546);
    GrowToFitForm();
    // Once the frame has its size: a bar on a side widens it.
    RestoreToolbar(toolbarsettings::Read(product_->Store()));
    CenterOnScreen(Handle());
    form_.OnInitialUpdate();
    controller_.LoadFormSettings();
}

void CMainFrame::PlaceOffScreen(LONG width, LONG height) noexcept {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(Handle(), &placement);
    placement.showCmd = GetProfileIntA("APPNAME", "OutlineShowCmd", 0);
    placement.rcNormalPosition = {-100000, 0, -100000 + width, height};
    SetWindowPlacement(Handle(), &placement);
}

// On Windows the frame's own size already holds the form and nothing changes.
void CMainFrame::GrowToFitForm() noexcept {
    RECT client;
    GetClientRect(form_.Handle(), &client);
    LONG growX = 0;
    LONG growY = 0;
    for (HWND child = GetWindow(form_.Handle(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, form_.Handle(), reinterpret_cast<POINT*>(&rect), 2);
        growX = std::max(growX, rect.right - client.right);
        growY = std::max(growY, rect.bottom - client.bottom);
    }
    if (growX == 0 && growY == 0) return;
    RECT frame;
    GetWindowRect(Handle(), &frame);
    SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left + growX, frame.bottom - frame.top + growY,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainFrame::OnToolbarPlaced(const ToolbarPlacement& placement) noexcept {
    toolbarsettings::Write(product_->Store(), placement);
}

FrameWindow::CommandUi CMainFrame::QueryCommand(WORD id) const noexcept {
    if (controller_.OwnsCommand(id)) return {controller_.CommandEnabled(id), false};
    return FrameWindow::QueryCommand(id);
}

bool CMainFrame::OnCommand(WORD id, WORD code, HWND control) noexcept {
    return controller_.RunCommand(id) || FrameWindow::OnCommand(id, code, control);
}

void CMainFrame::OnUpdatePanes() noexcept {
    OnUpdateModePane();
    OnUpdateOsPane();
}

void CMainFrame::OnUpdateModePane() noexcept { SetPaneText(1, framecommands::ModePaneText(form_.ModeText())); }

// Apply runs its own dialogs and progress, so never inside the click of the form's button.
void CMainFrame::OnIdle() noexcept { controller_.ApplyIfRequested(); }

void CMainFrame::OnUpdateOsPane() noexcept { SetPaneText(2, framecommands::OsPaneText(GetOsName(*desktop_))); }

Desktop::WindowRef CMainFrame::Owner() const { return reinterpret_cast<Desktop::WindowRef>(Handle()); }

FormState CMainFrame::ReadForm() const { return form_.ReadState(); }

void CMainFrame::WriteForm(const FormState& state) { form_.WriteState(state); }

void CMainFrame::ShowNewMode() { form_.ShowNewMode(); }

void CMainFrame::ShowExplanation(const std::string& caption, const std::string& text) {
    CExplanationDlg explanation(*product_, caption, text);
    explanation.DoModal(Handle());
}

void CMainFrame::BeginProgress() {
    SetPaneText(0, std::string());
    progress_.Begin(StatusBar());
    BeginWait();
}

void CMainFrame::StepProgress(std::uint64_t count) {
    CountTo(count);
    progress_.Step();
}

void CMainFrame::EndProgress() {
    EndWait();
    progress_.End();
}

void CMainFrame::BeginWait() { previousCursor_ = SetCursor(LoadCursorA(nullptr, IDC_WAIT)); }

void CMainFrame::EndWait() {
    SetCursor(previousCursor_ != nullptr ? previousCursor_ : LoadCursorA(nullptr, IDC_ARROW));
}

void CMainFrame::ShowAbout() {
    CAboutBox about(*product_, *desktop_, *registry_);
    about.DoModal(Handle());
}

void CMainFrame::ShowCurrentSettings(const std::function<CurrentSettings()>& table) {
    CCurrentSettingsDlg currentSettings(*product_, *desktop_, table);
    currentSettings.DoModal(Handle());
}

void CMainFrame::ShowKeepAliveLog(const std::function<KeepAliveLogReport()>& read) {
    CKeepAliveLogDlg keepAliveLog(*product_, *desktop_, read);
    keepAliveLog.DoModal(Handle());
}

void CMainFrame::ShowKeepAlive() {
    CKeepAliveDlg keepAlive(*product_, *desktop_);
    keepAlive.DoModal(Handle());
}

void CMainFrame::ShowSpeedTest(const std::string& address, const SpeedTestEnded& ended) {
    CSpeedTestDlg speedTest(*product_, address, ended, SystemIcmp);
    speedTest.DoModal(Handle());
}

std::optional<int> CMainFrame::ShowFindMtu(const std::string& host, int adapterMtu) {
    CFindMtuDlg findMtu(*product_, host, adapterMtu, SystemIcmp);
    if (findMtu.DoModal(Handle()) != IDC_FINDMTU_USE) return std::nullopt;
    return findMtu.FoundMtu();
}

std::optional<int> CMainFrame::ShowTuneWindow(const std::string& hosts, const std::string& speed, int mss,
                                              bool scalesWindows) {
    CTuneWindowDlg tuneWindow(*product_, hosts, speed, mss, scalesWindows, SystemIcmp);
    if (tuneWindow.DoModal(Handle()) != IDC_TUNEWIN_USE) return std::nullopt;
    return static_cast<int>(tuneWindow.Multiplier());
}

}  // namespace zartune
