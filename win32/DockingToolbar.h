#pragma once
#include "win32/DockLayout.h"
#include "win32/SubclassedWindow.h"
#include "win32/Window.h"

#include <functional>
#include <optional>

// A frame's toolbar that the user drags by its gripper: docked on a side of
// the frame (a row on the top and the bottom, a column on the left and the
// right, the gripper at its start) or floating in a small captioned tool
// window owned by the frame. Dragging the floating window by its caption, or
// the docked bar by its gripper, near a side of the frame docks it there;
// anywhere else it floats. Esc or the right button cancels a drag. Closing
// the floating window sends the frame the bar's own id as a command (the
// frame's toolbar toggle). The bar keeps its id and its notification window
// (the frame) wherever it is, so its commands, tooltips and hot-item prompts
// go to the frame as before.
//
// This object is the floating window; the toolbar is created by the frame.
class DockingToolbar : public Window {
public:
    struct Frame {
        // The frame's client area above its status bar, in client coordinates.
        std::function<DockRect()> dockArea;
        // Runs after the bar docked on another side, floated or docked again.
        std::function<void()> moved;
        // Runs after the user dropped the bar somewhere new.
        std::function<void()> dropped;
    };

    explicit DockingToolbar(Frame frame) : frame_(std::move(frame)), bar_(*this) {}

    // Takes over bar, a toolbar child of frame made with CCS_NOPARENTALIGN and
    // CCS_NORESIZE, and docks it on the top.
    void Attach(HWND frame, HWND bar) noexcept;
    // The side the bar is docked on; empty while it floats.
    std::optional<DockSide> Side() const { return side_; }
    // The bar's window size where it is docked now.
    DockSize DockedSize() const noexcept;
    void Dock(DockSide side) noexcept;
    // Floats the bar with its window's top-left corner at the screen point.
    void Float(DockPoint topLeft) noexcept;
    // Shows or hides the bar, and its floating window with it while the frame shows.
    void Show(bool shown) noexcept;
    // The floating window follows the frame being shown or hidden.
    void FrameShown(bool shown) noexcept;
    ToolbarPlacement Placement() const noexcept;
    // Docks the bar, or floats it where it was kept, brought back on screen.
    void Restore(const ToolbarPlacement& placement) noexcept;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;

private:
    // The bar's subclass: its gripper (non-client strip, hit test, drag).
    class BarSubclass : public SubclassedWindow {
    public:
        explicit BarSubclass(DockingToolbar& owner) : owner_(&owner) {}
        using SubclassedWindow::CallPrevious;

    protected:
        LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
            return owner_->OnBarMessage(message, wParam, lParam);
        }

    private:
        DockingToolbar* owner_;
    };

    HWND Bar() const { return bar_.Handle(); }
    LRESULT OnBarMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // The gripper's strip in the bar's window coordinates, below the divider
    // line the bar draws along its top while docked; empty while floating.
    RECT GripperRect() const noexcept;
    int Divider() const noexcept;
    void SetDivider(bool divider) noexcept;
    void PaintGripper() noexcept;
    // Lays the buttons out in a column (one a row) or in one row.
    void Arrange(bool column) noexcept;
    DockSize MeasureButtons() const noexcept;
    BarSizes Sizes() const noexcept;
    DockSize FloatingSize() const noexcept;
    bool CreateFloatingWindow() noexcept;
    // Follows the mouse from a press at start (screen) until the button is
    // released, then docks or floats the bar there.
    void Drag(HWND capture, POINT start) noexcept;

    Frame frame_;
    HWND frameWindow_ = nullptr;
    BarSubclass bar_;
    std::optional<DockSide> side_ = DockSide::Top;
    bool column_ = false;  // the arrangement the buttons have now
    // The buttons' extent in each arrangement, without the gripper.
    DockSize rowExtent_;
    DockSize columnExtent_;
};
