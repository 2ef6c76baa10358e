#include "configurator/CLinkStatic.h"

#include "configurator/LinkActions.h"
#include "configurator/LinkLayout.h"
#include "configurator/LinkOpener.h"
#include "resources/zartune_ids.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstddef>
#include <vector>

namespace zartune {

namespace {

constexpr int kHandCursorId = 106;

// The tool record's first form, up to its text (TTTOOLINFOA_V1_SIZE), which
// every comctl32 reads; the headers' whole record, with lParam and a
// reserved pointer, is the size of 6.0 only, which 95 to 2000 never have
// (Common Control Versions: structure sizes).
constexpr UINT kToolRecordSize = offsetof(TOOLINFOA, lpszText) + sizeof(LPSTR);
#ifndef _WIN64
static_assert(kToolRecordSize == 40);  // commctrl.h, 32-bit
#endif
static_assert(sizeof(LOGFONTA) == 60);  // wingdi.h: no pointer, the same on x86-64

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    GetWindowTextA(hwnd, text.data(), length + 1);
    return text.data();
}

// The caption of the program's message boxes (string 57344).
std::string ApplicationTitle() {
    char title[64] = {};
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_APP_TITLE, title, sizeof title) > 0) return title;
    return "ZARVO";
}

// The top-level window that holds this one. Parents only, never owners:
// GetParent answers the owner of a top-level popup, so the walk stops at the
// first window that is not a child.
HWND RootWindow(HWND window) {
    while ((GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0) {
        HWND parent = GetParent(window);
        if (parent == nullptr) break;
        window = parent;
    }
    return window;
}

HCURSOR CursorFromWinHelp() {
    char folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::string path = std::string(folder) + "\\winhlp32.exe";
    const UniqueHmodule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return nullptr;
    HCURSOR cursor = LoadCursorA(module.get(), MAKEINTRESOURCEA(kHandCursorId));
    return cursor != nullptr ? CopyIcon(cursor) : nullptr;
}

}  // namespace

CLinkStatic::CLinkStatic(ProductInfo& product, Desktop& desktop, Registry& registry)
    : product_(&product), desktop_(&desktop), registry_(&registry) {}

CLinkStatic::~CLinkStatic() { Unsubclass(); }

bool CLinkStatic::Attach(HWND control) {
    if (!Subclass(control)) return false;

    SetWindowLongPtrA(Handle(), GWL_STYLE, GetWindowLongPtrA(Handle(), GWL_STYLE) | SS_NOTIFY);

    const std::string text = WindowText(Handle());
    if (linkKey_.empty()) {
        linkKey_ = text;
    } else if (text.empty()) {
        SetWindowTextA(Handle(), linkKey_.c_str());
    }

    HFONT current = reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
    if (current == nullptr) current = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTA logFont = {};
    if (GetObjectA(current, sizeof logFont, &logFont) != 0) {
        logFont.lfUnderline = underline_ ? TRUE : FALSE;
        font_.reset(CreateFontIndirectA(&logFont));
        if (font_) SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    }

    PositionWindow();
    return true;
}

void CLinkStatic::OnUnsubclass() noexcept {
    if (GetCapture() == Handle()) ReleaseCapture();
    // A tooltip owned by the dialog is destroyed with it before the control goes.
    if (IsWindow(tooltip_.get())) {
        tooltip_.reset();
    } else {
        tooltip_.release();
    }
    if (font_) SendMessageA(Handle(), WM_SETFONT, 0, FALSE);
    over_ = false;
}

void CLinkStatic::CreateTooltip() {
    // The tooltip class of comctl32 4.00, which every system has.
    InitCommonControls();
    tooltip_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                   GetModuleHandleA(nullptr), nullptr));
    if (!tooltip_) return;
    TOOLINFOA tool = {};
    tool.cbSize = kToolRecordSize;
    tool.hwnd = Handle();
    tool.uId = 1;
    GetClientRect(Handle(), &tool.rect);
    tool.lpszText = const_cast<char*>(linkKey_.c_str());
    SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CLinkStatic::SetLinkKey(const std::string& key) {
    linkKey_ = key;
    if (Handle() == nullptr) return;
    PositionWindow();
    if (tooltip_) {
        TOOLINFOA tool = {};
        tool.cbSize = kToolRecordSize;
        tool.hwnd = Handle();
        tool.uId = 1;
        tool.lpszText = const_cast<char*>(linkKey_.c_str());
        SendMessageA(tooltip_.get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
        // The fitted control may have a new size; the tool covers it all.
        GetClientRect(Handle(), &tool.rect);
        SendMessageA(tooltip_.get(), TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CLinkStatic::SetVisited(bool visited) {
    visited_ = visited;
    if (Handle() != nullptr) InvalidateRect(Handle(), nullptr, TRUE);
}

void CLinkStatic::SetLinkCursor(HCURSOR cursor) {
    linkCursor_.reset(cursor != nullptr ? CopyIcon(cursor) : nullptr);
    defaultCursorTried_ = false;
}

HCURSOR CLinkStatic::LinkCursor() {
    if (!linkCursor_ && !defaultCursorTried_) {
        defaultCursorTried_ = true;
        SetDefaultCursor();
    }
    return linkCursor_.get();
}

void CLinkStatic::SetDefaultCursor() {
    if (linkCursor_) return;
    HCURSOR cursor = CursorFromWinHelp();
    // Systems without winhlp32's hand still may have their own.
    if (cursor == nullptr) {
        if (HCURSOR hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))) cursor = CopyIcon(hand);
    }
    linkCursor_.reset(cursor);
}

void CLinkStatic::PositionWindow() {
    if (Handle() == nullptr || !adjustToFit_) return;
    RECT window;
    GetWindowRect(Handle(), &window);
    if (HWND parent = GetParent(Handle())) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);

    const std::string text = WindowText(Handle());
    SIZE extent = {};
    {
        WindowDc dc(Handle());
        HFONT font = font_ ? font_.get() : reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
        SelectedObject selected(dc.get(), font != nullptr ? font : GetStockObject(SYSTEM_FONT));
        if (!GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent)) return;
    }

    const LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
    const LONG_PTR type = style & SS_TYPEMASK;
    const LinkAlignment alignment = type == SS_CENTER  ? LinkAlignment::Centre
                                    : type == SS_RIGHT ? LinkAlignment::Right
                                                       : LinkAlignment::Left;
    const LinkRect fitted = FitLinkToText({window.left, window.top, window.right, window.bottom}, extent.cx,
                                          extent.cy, (style & SS_CENTERIMAGE) != 0, alignment);
    SetWindowPos(Handle(), nullptr, fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

std::intptr_t CLinkStatic::OpenLink(const std::string& target, int show) {
    return LinkOpener(*desktop_, *registry_).OpenLink(target, show);
}

void CLinkStatic::Click() {
    const std::string key = linkKey_;
    const LinkAction action = LinkActionForKey(key, product_->ProductName(), product_->ProductVersion());
    switch (action.kind) {
    case LinkActionKind::OpenTarget: {
        SetLinkKey(action.text);
        const std::intptr_t result = OpenLink(action.text, SW_SHOW);
        visited_ = result > 32;
        if (visited_) {
            SetVisited(true);
        } else {
            MessageBeep(MB_ICONEXCLAMATION);
            HWND owner = Handle() != nullptr ? RootWindow(Handle()) : nullptr;
            desktop_->ShowMessageBox(reinterpret_cast<Desktop::WindowRef>(owner), LinkOpener::FailureMessage(result),
                                     ApplicationTitle(), MB_ICONEXCLAMATION);
        }
        SetLinkKey(key);
        break;
    }
    case LinkActionKind::ShowHelp:
        product_->ShowHelpTopic(kLinkHelpFile, action.text);
        SetVisited(true);
        break;
    case LinkActionKind::None:
        break;
    }
}

bool CLinkStatic::OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) noexcept {
    if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        Click();
        result = 0;
        return true;
    }
    if (message == WM_CTLCOLORSTATIC) {
        result = reinterpret_cast<LRESULT>(OnColour(reinterpret_cast<HDC>(wParam)));
        return true;
    }
    return false;
}

HBRUSH CLinkStatic::OnColour(HDC dc) noexcept {
    SetTextColor(dc, over_ ? hoverColour_ : visited_ ? visitedColour_ : linkColour_);
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void CLinkStatic::Redraw() { RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

void CLinkStatic::OnMouseMove(LPARAM lParam) noexcept {
    if (!over_) {
        over_ = true;
        Redraw();
        SetCapture(Handle());
        return;
    }
    RECT client;
    GetClientRect(Handle(), &client);
    const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!PtInRect(&client, point)) {
        over_ = false;
        ReleaseCapture();
        Redraw();
    }
}

LRESULT CLinkStatic::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
        // The tooltip is made when the mouse first comes, in time for its delay.
        if (!tooltip_) CreateTooltip();
        if (tooltip_) {
            MSG relayed = {Handle(), message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
            GetCursorPos(&relayed.pt);
            SendMessageA(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
        }
    }
    switch (message) {
    case WM_MOUSEMOVE: {
        const LRESULT result = CallPrevious(message, wParam, lParam);
        OnMouseMove(lParam);
        return result;
    }
    case WM_SETCURSOR:
        if (HCURSOR cursor = LinkCursor()) {
            SetCursor(cursor);
            return TRUE;
        }
        break;
    case WM_CAPTURECHANGED:
        // Capture taken by someone else (a message box, another window):
        // the mouse is no longer known to be over the link.
        if (over_ && reinterpret_cast<HWND>(lParam) != Handle()) {
            over_ = false;
            Redraw();
        }
        break;
    }
    return CallPrevious(message, wParam, lParam);
}

}  // namespace zartune
