#pragma once
#include "agent/TrayAnimation.h"
#include "win32/Window.h"

#include <shellapi.h>

namespace zarwatch {

// One icon in the notification area: its picture, its tooltip, a frame
// animation timed on the object's own hidden window, and the popup menu of
// the resource whose id is the icon's id. Knows nothing of the agent.
// While the icon is absent every operation on it fails and calls nothing.
class CSystemTray : public Window {
public:
    using NotifyFunction = decltype(&Shell_NotifyIconA);
    static constexpr UINT kAnimationTimer = 4567;

    // Tests pass a stand-in for Shell_NotifyIconA.
    explicit CSystemTray(NotifyFunction notify = &Shell_NotifyIconA);
    ~CSystemTray() override;

    bool CreateTrayIcon(HWND owner, UINT callbackMessage, const char* tip, HICON icon, UINT id);
    bool RemoveTrayIcon();
    bool SetTrayIcon(HICON icon);
    HICON CurrentTrayIcon() const;
    // Cut to the 63 characters the record holds.
    bool SetTrayTip(const char* tip);

    // Icon resources first..last of this program; first > last keeps the old list.
    bool LoadAnimationFrames(UINT first, UINT last);
    // The first tick shows the second frame; seconds <= 0 runs until EndAnimation.
    bool StartAnimation(UINT milliseconds, int seconds);
    bool NextAnimationFrame();
    // Puts back the icon shown when the animation started; false when none ran.
    bool EndAnimation();
    bool SetDefaultMenuItem(UINT item, bool byPosition);

    // The callback message's wParam (icon id) and lParam (mouse message):
    // a right click opens the menu, a double click runs its default item.
    // 0 when the notification is not for this icon.
    virtual LRESULT HandleTrayNotification(WPARAM wParam, LPARAM lParam);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;

private:
    bool Notify(DWORD action);
    // The target of menu commands: the owner given at creation.
    HWND Target() const { return data_.hWnd; }

    NotifyFunction notify_;
    const UINT taskbarCreated_;
    NOTIFYICONDATAA data_ = {};
    bool present_ = false;
    TrayAnimation animation_;
    UINT_PTR timerId_ = 0;
    HICON savedIcon_ = nullptr;
    UINT defaultItem_ = 0;
    bool defaultByPosition_ = true;
};

}  // namespace zarwatch
