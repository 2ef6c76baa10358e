#include "agent/CSystemTray.h"

#include "win32/UniqueHandle.h"

#include <cstring>

namespace zarwatch {

namespace {

constexpr const char* kClassName = "ZvSystemTray";
// The tooltip of the 88-byte record: 63 characters and the NUL. The headers'
// record is the newest form, with room for more, which older shells never read.
constexpr int kTipSize = 64;

#ifndef _WIN64
// The record's first form, which every shell reads, is 88 bytes on 32-bit
// (shellapi.h, NOTIFYICONDATA_V1_SIZE).
static_assert(NOTIFYICONDATAA_V1_SIZE == 88);
#endif

// The first submenu of the menu resource with this id, or null.
HMENU LoadPopup(UniqueHmenu* menu, UINT id) {
    menu->reset(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
    return *menu ? GetSubMenu(menu->get(), 0) : nullptr;
}

}  // namespace

CSystemTray::CSystemTray(NotifyFunction notify)
    : notify_(notify), taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {}

CSystemTray::~CSystemTray() {
    RemoveTrayIcon();
    Destroy();
}

bool CSystemTray::CreateTrayIcon(HWND owner, UINT callbackMessage, const char* tip, HICON icon, UINT id) {
    present_ = false;
    // The notification area exists from Windows 95 and NT 4 on.
    if (LOBYTE(LOWORD(GetVersion())) < 4) return false;
    if (Handle() == nullptr) {
        if (!RegisterWindowClass(kClassName) || !Create(kClassName, "", WS_POPUP, 0, 0, 0, 10, 10, nullptr, nullptr)) {
            return false;
        }
    }
    data_ = {};
    data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data_.hWnd = owner != nullptr ? owner : Handle();
    data_.uID = id;
    data_.hIcon = icon;
    data_.uCallbackMessage = callbackMessage;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    lstrcpynA(data_.szTip, tip, kTipSize);
    present_ = Notify(NIM_ADD);
    return present_;
}

bool CSystemTray::RemoveTrayIcon() {
    if (!present_) return false;
    data_.uFlags = 0;
    const bool removed = Notify(NIM_DELETE);
    present_ = false;
    return removed;
}

bool CSystemTray::SetTrayIcon(HICON icon) {
    if (!present_) return false;
    data_.uFlags = NIF_ICON;
    data_.hIcon = icon;
    return Notify(NIM_MODIFY);
}

HICON CSystemTray::CurrentTrayIcon() const { return present_ ? data_.hIcon : nullptr; }

bool CSystemTray::SetTrayTip(const char* tip) {
    if (!present_) return false;
    data_.uFlags = NIF_TIP;
    lstrcpynA(data_.szTip, tip, kTipSize);
    return Notify(NIM_MODIFY);
}

bool CSystemTray::LoadAnimationFrames(UINT first, UINT last) {
    return animation_.LoadFrames(first, last, [](UINT id) {
        return reinterpret_cast<TrayAnimation::Picture>(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
    });
}

bool CSystemTray::StartAnimation(UINT milliseconds, int seconds) {
    if (Handle() == nullptr) return false;
    animation_.Start(GetTickCount(), seconds);
    savedIcon_ = CurrentTrayIcon();
    timerId_ = SetTimer(Handle(), kAnimationTimer, milliseconds, nullptr);
    return timerId_ != 0;
}

bool CSystemTray::NextAnimationFrame() {
    TrayAnimation::Picture picture = 0;
    if (!animation_.Advance(&picture)) return false;
    return SetTrayIcon(reinterpret_cast<HICON>(picture));
}

bool CSystemTray::EndAnimation() {
    const bool killed = timerId_ != 0 && KillTimer(Handle(), timerId_);
    timerId_ = 0;
    if (savedIcon_ != nullptr) {
        SetTrayIcon(savedIcon_);
        savedIcon_ = nullptr;
    }
    return killed;
}

bool CSystemTray::SetDefaultMenuItem(UINT item, bool byPosition) {
    if (item == defaultItem_ && byPosition == defaultByPosition_) return true;
    defaultItem_ = item;
    defaultByPosition_ = byPosition;
    UniqueHmenu menu;
    HMENU popup = LoadPopup(&menu, data_.uID);
    return popup != nullptr && SetMenuDefaultItem(popup, item, byPosition);
}

LRESULT CSystemTray::HandleTrayNotification(WPARAM wParam, LPARAM lParam) {
    if (wParam != data_.uID) return 0;
    HWND target = Target();
    switch (LOWORD(lParam)) {
    case WM_RBUTTONUP: {
        UniqueHmenu menu;
        HMENU popup = LoadPopup(&menu, data_.uID);
        if (popup == nullptr) return 0;
        SetMenuDefaultItem(popup, defaultItem_, defaultByPosition_);
        POINT cursor = {};
        GetCursorPos(&cursor);
        // Without the foreground and WM_NULL the menu would not close when
        // the user clicks elsewhere.
        SetForegroundWindow(target);
        TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, target, nullptr);
        PostMessageA(target, WM_NULL, 0, 0);
        break;
    }
    case WM_LBUTTONDBLCLK: {
        SetForegroundWindow(target);
        UINT command = defaultItem_;
        if (defaultByPosition_) {
            UniqueHmenu menu;
            HMENU popup = LoadPopup(&menu, data_.uID);
            if (popup == nullptr) return 0;
            command = GetMenuItemID(popup, static_cast<int>(defaultItem_));
        }
        SendMessageA(target, WM_COMMAND, command, 0);
        break;
    }
    default:
        break;
    }
    return 1;
}

LRESULT CSystemTray::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_TIMER) {
        if (animation_.Expired(GetTickCount())) {
            EndAnimation();
        } else {
            NextAnimationFrame();
        }
        return 0;
    }
    if (message == taskbarCreated_ && present_) {
        // Explorer restarted and forgot every icon: add ours again.
        data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        Notify(NIM_ADD);
        return 0;
    }
    if (message == data_.uCallbackMessage && data_.hWnd == Handle()) {
        return HandleTrayNotification(wParam, lParam);
    }
    return Window::HandleMessage(message, wParam, lParam);
}

bool CSystemTray::Notify(DWORD action) { return notify_(action, &data_) != FALSE; }

}  // namespace zarwatch
