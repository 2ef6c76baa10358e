#include "win32/DockingToolbar.h"

#include "win32/UniqueHandle.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kFloatingClass[] = "ZvFloatingToolbar";
const DWORD kFloatingStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
const DWORD kFloatingExStyle = WS_EX_TOOLWINDOW;
// The gripper's strip across the start of a docked bar.
constexpr int kGripperSize = 8;
// How near a side of the frame the cursor must come to dock the bar there.
constexpr int kDockReach = 24;
constexpr int kDragBorder = 3;
// How much of a floating bar brought back from a past run must be on screen.
constexpr int kOnScreen = 24;

DockRect ToDock(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
RECT ToRect(const DockRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
POINT PointOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }
bool Shown(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

// A menu item's text as a title: without its accelerator and mnemonic markers.
std::string MenuText(HWND frame, UINT command) {
    char text[128] = {};
    GetMenuStringA(GetMenu(frame), command, text, sizeof text, MF_BYCOMMAND);
    std::string plain;
    for (const char* c = text; *c != '\0' && *c != '\t'; ++c) {
        if (*c == '&' && c[1] != '\0') ++c;  // "&&" stands for one "&"
        plain += *c;
    }
    return plain;
}

// The drag rectangle: a halftone frame inverted on the screen, so that
// drawing it again puts the screen back.
class DragFrame {
public:
    DragFrame() : screen_(nullptr) {
        const WORD halftone[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
        UniqueHbitmap pattern(CreateBitmap(8, 8, 1, 1, halftone));
        brush_.reset(CreatePatternBrush(pattern.get()));
    }
    DragFrame(const DragFrame&) = delete;
    DragFrame& operator=(const DragFrame&) = delete;
    ~DragFrame() { Hide(); }

    void MoveTo(const RECT& rect) {
        if (shown_ && EqualRect(&rect, &rect_)) return;
        Hide();
        rect_ = rect;
        Show();
    }
    void Hide() {
        if (shown_) Invert();
        shown_ = false;
    }
    void Show() {
        if (!shown_ && !IsRectEmpty(&rect_)) Invert();
        shown_ = !IsRectEmpty(&rect_);
    }

private:
    void Invert() {
        HDC dc = screen_.get();
        SelectedObject selected(dc, brush_.get());
        const RECT& r = rect_;
        const int side = std::max(0, static_cast<int>(r.bottom - r.top) - 2 * kDragBorder);
        PatBlt(dc, r.left, r.top, r.right - r.left, kDragBorder, PATINVERT);
        PatBlt(dc, r.left, r.bottom - kDragBorder, r.right - r.left, kDragBorder, PATINVERT);
        PatBlt(dc, r.left, r.top + kDragBorder, kDragBorder, side, PATINVERT);
        PatBlt(dc, r.right - kDragBorder, r.top + kDragBorder, kDragBorder, side, PATINVERT);
    }

    WindowDc screen_;
    UniqueHbrush brush_;
    RECT rect_ = {};
    bool shown_ = false;
};

// Follows the mouse, captured by capture, from a press at start until the
// left button comes up, showing feedbackAt(cursor) on the way. The cursor
// where it came up; nothing when the drag was cancelled (Esc, the right
// button, the capture taken away) or never went farther than a click.
std::optional<POINT> TrackDrag(HWND capture, POINT start, const std::function<RECT(POINT)>& feedbackAt) {
    SetCapture(capture);
    DragFrame frame;
    const int slackX = GetSystemMetrics(SM_CXDRAG);
    const int slackY = GetSystemMetrics(SM_CYDRAG);
    bool dragging = false;
    std::optional<POINT> drop;
    MSG message;
    while (GetCapture() == capture) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));  // for the message loop
            break;
        }
        switch (message.message) {
            case WM_MOUSEMOVE:
            case WM_LBUTTONUP: {
                POINT at = PointOf(message.lParam);
                ClientToScreen(message.hwnd, &at);
                dragging = dragging || std::abs(at.x - start.x) > slackX || std::abs(at.y - start.y) > slackY;
                if (message.message == WM_LBUTTONUP) {
                    if (dragging) drop = at;
                    ReleaseCapture();
                } else if (dragging) {
                    frame.MoveTo(feedbackAt(at));
                }
                break;
            }
            case WM_KEYDOWN:
                if (message.wParam == VK_ESCAPE) ReleaseCapture();
                break;
            case WM_RBUTTONDOWN: ReleaseCapture(); break;
            default:
                // Whatever this message paints, it does not paint over the rectangle.
                frame.Hide();
                TranslateMessage(&message);
                DispatchMessageA(&message);
                frame.Show();
        }
    }
    if (GetCapture() == capture) ReleaseCapture();
    return drop;
}

}  // namespace

void DockingToolbar::Attach(HWND frame, HWND bar) noexcept {
    frameWindow_ = frame;
    bar_.Subclass(bar);
    Arrange(true);
    columnExtent_ = MeasureButtons();
    Arrange(false);
    rowExtent_ = MeasureButtons();
    Dock(DockSide::Top);
}

DockSize DockingToolbar::DockedSize() const noexcept {
    if (!side_) return {};
    const BarSizes sizes = Sizes();
    return IsVertical(*side_) ? sizes.column : sizes.row;
}

void DockingToolbar::Dock(DockSide side) noexcept {
    side_ = side;
    Arrange(IsVertical(side));
    SetDivider(true);
    if (GetParent(Bar()) != frameWindow_) {
        SetParent(Bar(), frameWindow_);
        ShowWindow(Handle(), SW_HIDE);
    }
    // The gripper and the divider are back, so the client area changes.
    SetWindowPos(Bar(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame_.moved();
}

void DockingToolbar::Float(DockPoint topLeft) noexcept {
    if (!CreateFloatingWindow()) return;
    side_.reset();
    Arrange(false);
    SetDivider(false);
    const DockSize size = FloatingSize();
    SetWindowPos(Handle(), nullptr, topLeft.x, topLeft.y, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (GetParent(Bar()) != Handle()) SetParent(Bar(), Handle());
    SetWindowPos(Bar(), nullptr, 0, 0, rowExtent_.width, rowExtent_.height,
                 SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
    FrameShown(IsWindowVisible(frameWindow_) != FALSE);
    frame_.moved();
}

void DockingToolbar::Show(bool shown) noexcept {
    ShowWindow(Bar(), shown ? SW_SHOW : SW_HIDE);
    FrameShown(IsWindowVisible(frameWindow_) != FALSE);
}

void DockingToolbar::FrameShown(bool shown) noexcept {
    if (side_ || Handle() == nullptr) return;
    ShowWindow(Handle(), shown && Shown(Bar()) ? SW_SHOWNOACTIVATE : SW_HIDE);
}

ToolbarPlacement DockingToolbar::Placement() const noexcept {
    if (side_) return {side_, {}};
    RECT window;
    GetWindowRect(Handle(), &window);
    return {std::nullopt, {window.left, window.top}};
}

void DockingToolbar::Restore(const ToolbarPlacement& placement) noexcept {
    if (placement.side) {
        Dock(*placement.side);
        return;
    }
    // The virtual screen, on systems before it (95, NT 4) the one screen.
    DockRect screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    screen.right = screen.left + (width > 0 ? width : GetSystemMetrics(SM_CXSCREEN));
    screen.bottom = screen.top + (height > 0 ? height : GetSystemMetrics(SM_CYSCREEN));
    const DockSize size = FloatingSize();
    const DockPoint at = placement.floatingAt;
    Float(KeepOnScreen({at.x, at.y, at.x + size.width, at.y + size.height}, screen, kOnScreen));
}

LRESULT DockingToolbar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            if (wParam != HTCAPTION) break;
            Drag(Handle(), PointOf(lParam));
            return 0;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;  // the frame stays the active window
        case WM_CLOSE:
            SendMessageA(frameWindow_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Bar()), 0), 0);
            return 0;
        default: break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

LRESULT DockingToolbar::OnBarMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    HWND bar = Bar();
    switch (message) {
        case WM_NCCALCSIZE: {
            const LRESULT result = bar_.CallPrevious(message, wParam, lParam);
            // Both forms of the message start with the rectangle the client area gets.
            RECT* client = reinterpret_cast<RECT*>(lParam);
            const int gripper = side_ ? kGripperSize : 0;
            if (column_) {
                client->top = std::min(client->top + gripper, client->bottom);
            } else {
                client->left = std::min(client->left + gripper, client->right);
            }
            return result;
        }
        case WM_NCPAINT: {
            const LRESULT result = bar_.CallPrevious(message, wParam, lParam);
            PaintGripper();
            return result;
        }
        case WM_NCHITTEST: {
            POINT point = PointOf(lParam);
            RECT window;
            GetWindowRect(bar, &window);
            point.x -= window.left;
            point.y -= window.top;
            const RECT gripper = GripperRect();
            if (PtInRect(&gripper, point)) return HTCAPTION;
            break;
        }
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            if (wParam != HTCAPTION) break;
            Drag(bar, PointOf(lParam));
            return 0;
        default: break;
    }
    return bar_.CallPrevious(message, wParam, lParam);
}

RECT DockingToolbar::GripperRect() const noexcept {
    if (!side_) return {};
    RECT window;
    GetWindowRect(Bar(), &window);
    const int top = Divider();
    if (column_) return {0, top, window.right - window.left, top + kGripperSize};
    return {0, top, kGripperSize, window.bottom - window.top};
}

int DockingToolbar::Divider() const noexcept {
    return (GetWindowLongA(Bar(), GWL_STYLE) & CCS_NODIVIDER) != 0 ? 0 : GetSystemMetrics(SM_CYEDGE);
}

void DockingToolbar::PaintGripper() noexcept {
    const RECT strip = GripperRect();
    if (IsRectEmpty(&strip)) return;
    WindowDc dc(Bar(), true);
    FillRect(dc.get(), &strip, GetSysColorBrush(COLOR_BTNFACE));
    RECT line = column_ ? RECT{3, strip.top + 2, strip.right - 3, strip.top + 5}
                        : RECT{2, strip.top + 3, 5, strip.bottom - 3};
    DrawEdge(dc.get(), &line, BDR_RAISEDINNER, BF_RECT);
}

void DockingToolbar::SetDivider(bool divider) noexcept {
    const LONG style = GetWindowLongA(Bar(), GWL_STYLE);
    SetWindowLongA(Bar(), GWL_STYLE, divider ? style & ~CCS_NODIVIDER : style | CCS_NODIVIDER);
}

void DockingToolbar::Arrange(bool column) noexcept {
    if (column == column_) return;
    const LONG style = GetWindowLongA(Bar(), GWL_STYLE);
    SetWindowLongA(Bar(), GWL_STYLE, column ? style | CCS_VERT : style & ~CCS_VERT);
    // A column wraps after every button. The buttons are taken out and put
    // back with the wrap, since TB_SETSTATE goes by command id, which the
    // separators and the spacers share.
    const int count = static_cast<int>(SendMessageA(Bar(), TB_BUTTONCOUNT, 0, 0));
    std::vector<TBBUTTON> buttons(count);
    for (int i = 0; i < count; ++i) {
        SendMessageA(Bar(), TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&buttons[i]));
        const BYTE others = buttons[i].fsState & ~TBSTATE_WRAP;
        buttons[i].fsState = static_cast<BYTE>(column ? others | TBSTATE_WRAP : others);
    }
    for (int i = count; i-- > 0;) SendMessageA(Bar(), TB_DELETEBUTTON, i, 0);
    SendMessageA(Bar(), TB_ADDBUTTONSA, count, reinterpret_cast<LPARAM>(buttons.data()));
    column_ = column;
}

DockSize DockingToolbar::MeasureButtons() const noexcept {
    const int count = static_cast<int>(SendMessageA(Bar(), TB_BUTTONCOUNT, 0, 0));
    RECT bounds = {};
    for (int i = 0; i < count; ++i) {
        RECT item;
        if (SendMessageA(Bar(), TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item))) {
            UnionRect(&bounds, &bounds, &item);
        }
    }
    // As much room after the buttons as before them.
    return {bounds.right + bounds.left, bounds.bottom + bounds.top};
}

BarSizes DockingToolbar::Sizes() const noexcept {
    // Docked, the bar has its divider along its top.
    const int divider = GetSystemMetrics(SM_CYEDGE);
    return {{rowExtent_.width + kGripperSize, rowExtent_.height + divider},
            {columnExtent_.width, columnExtent_.height + kGripperSize + divider},
            FloatingSize()};
}

DockSize DockingToolbar::FloatingSize() const noexcept {
    RECT rect = {0, 0, rowExtent_.width, rowExtent_.height};
    AdjustWindowRectEx(&rect, kFloatingStyle, FALSE, kFloatingExStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

bool DockingToolbar::CreateFloatingWindow() noexcept {
    if (Handle() != nullptr) return true;
    if (!RegisterWindowClass(kFloatingClass)) return false;
    const DockSize size = FloatingSize();
    const std::string title = MenuText(frameWindow_, static_cast<UINT>(GetDlgCtrlID(Bar())));
    return Create(kFloatingClass, title.c_str(), kFloatingStyle, kFloatingExStyle, 0, 0, size.width, size.height,
                  frameWindow_, nullptr);
}

void DockingToolbar::Drag(HWND capture, POINT start) noexcept {
    RECT dragged;
    GetWindowRect(side_ ? Bar() : Handle(), &dragged);
    const DockPoint grab = {start.x - dragged.left, start.y - dragged.top};
    RECT area = ToRect(frame_.dockArea());
    MapWindowPoints(frameWindow_, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const BarSizes sizes = Sizes();
    const auto placeAt = [&](POINT cursor) {
        return PlaceBar(ToDock(area), {cursor.x, cursor.y}, grab, side_, sizes, kDockReach);
    };
    const std::optional<POINT> drop =
        TrackDrag(capture, start, [&](POINT cursor) { return ToRect(placeAt(cursor).rect); });
    if (!drop) return;
    const BarPlacement placement = placeAt(*drop);
    if (placement.side) {
        Dock(*placement.side);
    } else {
        Float({placement.rect.left, placement.rect.top});
    }
    frame_.dropped();
}
