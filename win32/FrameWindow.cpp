#include "win32/FrameWindow.h"

#include "win32/UniqueHandle.h"

#ifndef _WIN64
// The one button record of every comctl32, 20 bytes on 32-bit (commctrl.h:
// two reserved bytes there, six on x86-64); the bar learns it from us.
static_assert(sizeof(TBBUTTON) == 20);
#endif

namespace {

// The resource type the resource compiler gives a TOOLBAR statement.
const char* const kToolbarResourceType = MAKEINTRESOURCEA(241);
// Space around a status pane's text, as its border takes it.
constexpr int kPanePadding = 10;

// The toolbar resource as the resource compiler lays it out: version, image
// width and height, button count, then one command id per button (0 for a separator).
struct ToolbarResource {
    WORD version;
    WORD width;
    WORD height;
    WORD count;
    WORD items[1];
};

// The bar's own visibility: IsWindowVisible also asks the frame, which may be hidden.
bool Shown(HWND bar) { return bar != nullptr && (GetWindowLongA(bar, GWL_STYLE) & WS_VISIBLE) != 0; }

std::string PromptPart(const std::string& text) { return text.substr(0, text.find('\n')); }

std::string TooltipPart(const std::string& text) {
    const std::size_t newline = text.find('\n');
    return newline == std::string::npos ? std::string() : text.substr(newline + 1);
}

}  // namespace

std::string FrameWindow::LoadResourceString(UINT id) {
    char buffer[1024];
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

FrameWindow::FrameWindow(const FrameResources& resources)
    : resources_(resources),
      dock_({[this] { return DockArea(); }, [this] { OnToolbarMoved(); },
             [this] { OnToolbarPlaced(dock_.Placement()); }}) {}

FrameWindow::CommandUi FrameWindow::QueryCommand(WORD id) const noexcept {
    if (id == resources_.exitCommand) return {true, false};
    if (id == resources_.toolbarCommand) return {toolbar_ != nullptr, Shown(toolbar_)};
    if (id == resources_.statusBarCommand) return {statusBar_ != nullptr, Shown(statusBar_)};
    return {false, false};
}

bool FrameWindow::CreateToolbar() noexcept {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resources_.toolbar), kToolbarResourceType);
    HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    const auto* layout = loaded != nullptr ? static_cast<const ToolbarResource*>(LockResource(loaded)) : nullptr;
    if (layout == nullptr || layout->version != 1) return false;

    // Each bar's child id is its toggle command, as the toggles' prompts expect.
    // The frame places the toolbar itself, wherever it is docked.
    const DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE;
    toolbar_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", style, 0, 0, 0, 0, Handle(),
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(resources_.toolbarCommand)), instance, nullptr);
    if (toolbar_ == nullptr) return false;
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar_, TB_SETBITMAPSIZE, 0, MAKELONG(layout->width, layout->height));

    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (WORD i = 0; i < layout->count; ++i) {
        TBBUTTON button = {};
        const WORD id = layout->items[i];
        if (id == 0) {
            button.fsStyle = TBSTYLE_SEP;
        } else {
            button.iBitmap = image++;
            button.idCommand = id;
            button.fsStyle = TBSTYLE_BUTTON;
            button.fsState = QueryCommand(id).enabled ? TBSTATE_ENABLED : 0;
            buttonIds_.push_back(id);
        }
        buttons.push_back(button);
    }
    TBADDBITMAP bitmap = {instance, resources_.toolbar};
    if (SendMessageA(toolbar_, TB_ADDBITMAP, image, reinterpret_cast<LPARAM>(&bitmap)) < 0) return false;
    if (!SendMessageA(toolbar_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()))) {
        return false;
    }
    dock_.Attach(Handle(), toolbar_);
    return true;
}

void FrameWindow::RestoreToolbar(const ToolbarPlacement& placement) noexcept {
    if (toolbar_ != nullptr) dock_.Restore(placement);
}

bool FrameWindow::CreateStatusBar(const std::vector<UINT>& paneIds) noexcept {
    statusBar_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, 0, 0, 0, Handle(),
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(resources_.statusBarCommand)), GetModuleHandleA(nullptr), nullptr);
    if (statusBar_ == nullptr) return false;
    WindowDc dc(statusBar_);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(statusBar_, WM_GETFONT, 0, 0));
    SelectedObject selected(dc.get(), font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
    for (UINT id : paneIds) {
        int width = 0;
        if (id != 0) {
            const std::string sample = LoadResourceString(id);
            SIZE size = {};
            GetTextExtentPoint32A(dc.get(), sample.c_str(), static_cast<int>(sample.size()), &size);
            width = size.cx + kPanePadding;
        }
        paneWidths_.push_back(width);
    }
    paneTexts_.assign(paneIds.size(), std::string());
    RecalcLayout();
    ShowIdlePrompt();
    return true;
}

void FrameWindow::SetView(HWND view) noexcept {
    view_ = view;
    RecalcLayout();
}

void FrameWindow::SetPaneText(int pane, const std::string& text) noexcept {
    if (statusBar_ == nullptr || pane < 0 || pane >= static_cast<int>(paneTexts_.size())) return;
    if (paneTexts_[pane] == text) return;
    paneTexts_[pane] = text;
    // The stretching first pane has no border.
    const WPARAM style = pane == 0 ? SBT_NOBORDERS : 0;
    SendMessageA(statusBar_, SB_SETTEXTA, pane | style, reinterpret_cast<LPARAM>(paneTexts_[pane].c_str()));
}

std::string FrameWindow::PaneText(int pane) const {
    if (pane < 0 || pane >= static_cast<int>(paneTexts_.size())) return std::string();
    return paneTexts_[pane];
}

void FrameWindow::UpdateCommandUi() noexcept {
    for (WORD id : buttonIds_) {
        const bool enabled = QueryCommand(id).enabled;
        if ((SendMessageA(toolbar_, TB_ISBUTTONENABLED, id, 0) != 0) != enabled) {
            SendMessageA(toolbar_, TB_ENABLEBUTTON, id, MAKELONG(enabled ? TRUE : FALSE, 0));
        }
    }
    OnUpdatePanes();
    OnIdle();
}

bool FrameWindow::PreTranslate(MSG& message) noexcept {
    if (view_ == nullptr || (message.hwnd != view_ && !IsChild(view_, message.hwnd))) return false;
    return IsDialogMessageA(view_, &message) != FALSE;
}

void FrameWindow::CenterOnScreen(HWND handle) noexcept {
    RECT window;
    RECT area;
    GetWindowRect(handle, &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    SetWindowPos(handle, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrameWindow::RecalcLayout() noexcept {
    RECT client;
    GetClientRect(Handle(), &client);
    if (statusBar_ != nullptr) {
        SendMessageA(statusBar_, WM_SIZE, 0, 0);
        // Right edges: the fixed panes take their widths from the right, the first pane the rest.
        std::vector<int> edges(paneWidths_.size());
        int right = client.right;
        for (std::size_t i = edges.size(); i-- > 0;) {
            edges[i] = i + 1 == edges.size() ? -1 : right;
            right -= paneWidths_[i];
        }
        SendMessageA(statusBar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    }
    const std::optional<DockSide> side = Shown(toolbar_) ? dock_.Side() : std::nullopt;
    const FrameLayout layout = LayoutFrame(DockArea(), side, dock_.DockedSize());
    if (side) {
        const DockRect& bar = layout.bar;
        MoveWindow(toolbar_, bar.left, bar.top, bar.Width(), bar.Height(), TRUE);
    }
    if (view_ != nullptr) {
        const DockRect& view = layout.view;
        MoveWindow(view_, view.left, view.top, view.Width(), view.Height(), TRUE);
    }
}

DockRect FrameWindow::DockArea() const noexcept {
    RECT client;
    GetClientRect(Handle(), &client);
    DockRect area = {client.left, client.top, client.right, client.bottom};
    if (Shown(statusBar_)) {
        RECT bar;
        GetWindowRect(statusBar_, &bar);
        area.bottom -= bar.bottom - bar.top;
    }
    return area;
}

void FrameWindow::OnToolbarMoved() noexcept {
    const std::optional<DockSide> side = Shown(toolbar_) ? dock_.Side() : std::nullopt;
    const int widening = side && IsVertical(*side) ? dock_.DockedSize().width : 0;
    if (widening != widening_) {
        RECT frame;
        GetWindowRect(Handle(), &frame);
        const int width = frame.right - frame.left + widening - widening_;
        widening_ = widening;
        SetWindowPos(Handle(), nullptr, 0, 0, width, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RecalcLayout();
}

void FrameWindow::ShowPrompt(UINT id) noexcept { SetPaneText(0, PromptPart(LoadResourceString(id))); }

void FrameWindow::ShowIdlePrompt() noexcept { ShowPrompt(resources_.idlePrompt); }

void FrameWindow::OnMenuSelect(WORD item, WORD flags, HMENU menu) noexcept {
    if (flags == 0xFFFF && menu == nullptr) {
        ShowIdlePrompt();  // the menu closed
    } else if (flags & (MF_POPUP | MF_SEPARATOR)) {
        SetPaneText(0, std::string());
    } else {
        ShowPrompt(item);
    }
}

void FrameWindow::OnInitMenuPopup(HMENU menu) noexcept {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or submenu
        const CommandUi state = QueryCommand(static_cast<WORD>(id));
        EnableMenuItem(menu, i, MF_BYPOSITION | (state.enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(menu, i, MF_BYPOSITION | (state.checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

LRESULT FrameWindow::OnNotify(NMHDR* header) noexcept {
    switch (header->code) {
        case TTN_NEEDTEXTA: {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
            tooltip_ = TooltipPart(LoadResourceString(static_cast<UINT>(header->idFrom)));
            info->lpszText = &tooltip_[0];
            return 0;
        }
        case TTN_NEEDTEXTW: {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
            const std::string text = TooltipPart(LoadResourceString(static_cast<UINT>(header->idFrom)));
            wideTooltip_.assign(text.size() + 1, L'\0');
            MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wideTooltip_[0], static_cast<int>(wideTooltip_.size()));
            info->lpszText = &wideTooltip_[0];
            return 0;
        }
        case TBN_HOTITEMCHANGE: {
            const auto* hot = reinterpret_cast<NMTBHOTITEM*>(header);
            if (hot->dwFlags & HICF_LEAVING) {
                ShowIdlePrompt();
            } else {
                ShowPrompt(hot->idNew);
            }
            return 0;
        }
        default: return 0;
    }
}

void FrameWindow::ToggleBar(HWND bar) noexcept {
    if (bar == nullptr) return;
    if (bar == toolbar_) {
        dock_.Show(!Shown(bar));  // floating, its window too
        OnToolbarMoved();         // on a side, the frame's widening comes and goes with it
    } else {
        ShowWindow(bar, Shown(bar) ? SW_HIDE : SW_SHOW);
        RecalcLayout();
    }
}

bool FrameWindow::OnCommand(WORD id, WORD, HWND) noexcept {
    if (id == resources_.exitCommand) {
        SendMessageA(Handle(), WM_CLOSE, 0, 0);
    } else if (id == resources_.toolbarCommand) {
        ToggleBar(toolbar_);
    } else if (id == resources_.statusBarCommand) {
        ToggleBar(statusBar_);
    } else {
        return false;
    }
    return true;
}

LRESULT FrameWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_CREATE: return OnCreate() ? 0 : -1;
        case WM_SIZE: RecalcLayout(); return 0;
        case WM_SHOWWINDOW:
            if (lParam == 0) dock_.FrameShown(wParam != FALSE);  // ShowWindow, not an owner's minimising
            return Window::HandleMessage(message, wParam, lParam);
        case WM_SETFOCUS:
            if (view_ != nullptr) SetFocus(view_);
            return 0;
        case WM_MENUSELECT:
            OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
            return 0;
        case WM_INITMENUPOPUP:
            if (!HIWORD(lParam)) OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_NOTIFY: return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return Window::HandleMessage(message, wParam, lParam);
    }
}
