#pragma once
#include "common/ProductInfo.h"
#include "win32/Desktop.h"
#include "win32/Registry.h"
#include "win32/SubclassedWindow.h"
#include "win32/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace zartune {

// A static text control of a dialog turned into a hyperlink: link colours,
// hover colour, hand cursor, a tooltip with the link key, and a click action
// chosen by the key (a help keyword, the vendor's home page or a mail to the
// support team; see LinkActions.h).
//
// Use: construct it as a member of the dialog, then Attach it to the static
// control in WM_INITDIALOG (after that, SetLinkKey / SetLinkCursor as needed).
// Attach subclasses the control (SubclassedWindow); the dialog hands the
// link its click notification and colour request (Dialog reflects them). The
// tooltip needs no help from the message loop: the link relays its own mouse
// messages to it, so it works inside modal dialogs too.
class CLinkStatic : public SubclassedWindow {
public:
    CLinkStatic(ProductInfo& product, Desktop& desktop, Registry& registry);
    CLinkStatic(const CLinkStatic&) = delete;
    CLinkStatic& operator=(const CLinkStatic&) = delete;
    ~CLinkStatic() override;

    // Subclasses the control: adds SS_NOTIFY, takes the window text as the
    // key when no key is set (or sets an empty text to the key), gives the
    // control its own font and fits it to its text. False when the control
    // is null or a link is already attached. The tooltip and the default
    // cursor wait for the mouse: most links are never pointed at.
    bool Attach(HWND control);
    // Attach to the dialog's control with this id.
    bool AttachDlgItem(HWND dialog, int id) { return Attach(GetDlgItem(dialog, id)); }

    // Stores the key; with a window, re-fits it and sets the tooltip text.
    void SetLinkKey(const std::string& key);
    const std::string& LinkKey() const { return linkKey_; }
    // Stores the flag; with a window, repaints the whole control.
    void SetVisited(bool visited);
    bool Visited() const { return visited_; }
    // A null cursor makes the link load its default hand cursor when it is
    // first needed. The link keeps a copy, so the caller keeps ownership of
    // the one it passes.
    void SetLinkCursor(HCURSOR cursor);
    // The cursor shown over the link; the default one is loaded on the first ask.
    HCURSOR LinkCursor();
    // Fits the control to its text, keeping the edge its alignment names.
    void PositionWindow();
    // Loads the hand cursor (winhlp32.exe, cursor 106) when none is set;
    // without it the system cursor is shown.
    void SetDefaultCursor();
    // Runs the click action of the key, as a click on the control does.
    void Click();
    // Opens a web address, a "mailto:" address or a file; above 32 is success.
    std::intptr_t OpenLink(const std::string& target, int show);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept override;
    void OnUnsubclass() noexcept override;

private:
    struct CursorCloser { void operator()(HCURSOR h) const { DestroyCursor(h); } };

    void OnMouseMove(LPARAM lParam) noexcept;
    HBRUSH OnColour(HDC dc) noexcept;
    void CreateTooltip();
    void Redraw();

    ProductInfo* product_;
    Desktop* desktop_;
    Registry* registry_;

    COLORREF linkColour_ = RGB(0, 0, 238);
    COLORREF visitedColour_ = RGB(0, 0, 238);
    COLORREF hoverColour_ = RGB(255, 92, 0);
    bool over_ = false;
    bool visited_ = false;
    bool underline_ = false;
    bool adjustToFit_ = true;
    bool defaultCursorTried_ = false;
    std::string linkKey_;
    UniqueHfont font_;
    UniqueHandle<HCURSOR, CursorCloser> linkCursor_;
    UniqueHwnd tooltip_;
};

}  // namespace zartune
