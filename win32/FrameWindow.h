#pragma once
#include "win32/DockingToolbar.h"
#include "win32/Window.h"

#include <commctrl.h>

#include <string>
#include <vector>

// What a frame takes from its program's resources.
struct FrameResources {
    UINT toolbar;            // TOOLBAR resource, and the bitmap of its button images
    UINT idlePrompt;         // string shown in the first status pane when nothing else is
    WORD exitCommand;        // closes the frame
    WORD toolbarCommand;     // shows or hides the toolbar, checked while shown
    WORD statusBarCommand;   // shows or hides the status bar, likewise
};

// A main frame: a top-level window with a menu, a flat toolbar, a status bar
// at the bottom and one view (a child dialog) filling the space left between
// them. The toolbar starts at the top; the user docks it on any side or floats
// it (DockingToolbar). Docked on the left or the right it takes no room from
// the view: the frame widens by the bar's width, and narrows again when the
// bar leaves that side or is hidden. Where the user drops the bar goes to
// OnToolbarPlaced, for the derived frame to keep; RestoreToolbar puts it
// back. Each command's string resource is its prompt: the text before "\n"
// goes to the first status pane while a menu item or toolbar button is under
// the mouse, the text after it is the button's tooltip. Menu
// items and toolbar buttons are enabled exactly while QueryCommand says so,
// which by default is only for the frame's own commands; the window is
// destroyed by the exit command or its close box, and its end ends the
// message loop.
class FrameWindow : public Window {
public:
    explicit FrameWindow(const FrameResources& resources);

    // Idle-time update: toolbar button states, the status panes, then OnIdle.
    void UpdateCommandUi() noexcept;
    // Gives the view its dialog keyboard handling; true when the message was used.
    bool PreTranslate(MSG& message) noexcept;
    // Sets a pane's text unless it already shows it (setting it repaints).
    void SetPaneText(int pane, const std::string& text) noexcept;
    std::string PaneText(int pane) const;
    HWND Toolbar() const { return toolbar_; }
    HWND StatusBar() const { return statusBar_; }
    // Centres a window in the screen's work area, keeping its size.
    static void CenterOnScreen(HWND window) noexcept;

    // The string resource, empty when there is none.
    static std::string LoadResourceString(UINT id);

protected:
    struct CommandUi {
        bool enabled;
        bool checked;
    };
    // Derived frames answer for their own commands and ask the base for the rest.
    virtual CommandUi QueryCommand(WORD id) const noexcept;
    // WM_CREATE: false fails the window's creation.
    virtual bool OnCreate() noexcept { return true; }
    // The status panes' update handlers, run at idle time.
    virtual void OnUpdatePanes() noexcept {}
    // Work the derived frame leaves for idle time, after the updates.
    virtual void OnIdle() noexcept {}
    // The user docked or floated the toolbar by dragging it.
    virtual void OnToolbarPlaced(const ToolbarPlacement&) noexcept {}

    // Loads the TOOLBAR resource and its bitmap; the bar is docked at the top.
    bool CreateToolbar() noexcept;
    // Docks or floats the toolbar as kept (after CreateToolbar, with the frame at its size).
    void RestoreToolbar(const ToolbarPlacement& placement) noexcept;
    // paneIds: 0 for the first pane, which stretches; any other id names the
    // string whose text gives the pane its width.
    bool CreateStatusBar(const std::vector<UINT>& paneIds) noexcept;
    void SetView(HWND view) noexcept;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;

private:
    void RecalcLayout() noexcept;
    // The client area above the status bar, where the toolbar docks.
    DockRect DockArea() const noexcept;
    void OnToolbarMoved() noexcept;
    void ShowPrompt(UINT id) noexcept;
    void ShowIdlePrompt() noexcept;
    void OnMenuSelect(WORD item, WORD flags, HMENU menu) noexcept;
    void OnInitMenuPopup(HMENU menu) noexcept;
    LRESULT OnNotify(NMHDR* header) noexcept;
    void ToggleBar(HWND bar) noexcept;

    FrameResources resources_;
    // Children of the frame, destroyed with it.
    HWND toolbar_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND view_ = nullptr;
    DockingToolbar dock_;
    // How much wider the frame is for the toolbar docked on the left or the right.
    int widening_ = 0;
    std::vector<WORD> buttonIds_;
    std::vector<int> paneWidths_;
    std::vector<std::string> paneTexts_;
    std::string tooltip_;
    // Not a std::wstring, which would link the library's whole wide-string instantiation (35 KB).
    std::vector<wchar_t> wideTooltip_;
};
