#pragma once
#include <optional>
#include <string>

// Where a frame's toolbar goes when the user drags it, and where everything
// else then sits. Plain numbers, all in one coordinate system of the
// caller's choosing (the Win32 side uses screen coordinates).

enum class DockSide { Top, Bottom, Left, Right };

struct DockPoint {
    int x = 0;
    int y = 0;
};

struct DockSize {
    int width = 0;
    int height = 0;
};

struct DockRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const DockRect& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

// Left and right lay the bar out in a column, top and bottom in a row.
inline bool IsVertical(DockSide side) { return side == DockSide::Left || side == DockSide::Right; }

// The side a bar docks to when it is dropped with the cursor at point.
// area is the frame's client area above its status bar. A side is in reach
// when the point lies within reach pixels of it, inside or outside the area.
// The side the bar is on (current) wins while it is in reach, so that grabbing
// the bar near a corner does not move it; otherwise the nearest side in reach
// wins (top, bottom, left, right on a tie). Empty: no side in reach, the bar floats.
std::optional<DockSide> DockSideAt(const DockRect& area, DockPoint point, int reach,
                                   std::optional<DockSide> current);

struct FrameLayout {
    DockRect bar;   // empty when the bar is not docked
    DockRect view;
};

// Splits area (the client area above the status bar) between a bar docked on
// side, of the given size (only its height counts on the top and bottom, only
// its width on the left and right: it spans the area the other way), and the
// view, which takes the rest. No side: the view takes it all. The view never
// gets a negative size.
FrameLayout LayoutFrame(const DockRect& area, std::optional<DockSide> side, DockSize bar);

// The floating window's rectangle, of the given size, held by the cursor at
// grab (the offset from its top-left corner where the drag began), with grab
// moved inside the window where the window is smaller than it.
DockRect FloatingRect(DockPoint cursor, DockPoint grab, DockSize size);

// The bar's window size in each arrangement: a row docked on the top or the
// bottom, a column docked on the left or the right, and the floating window.
struct BarSizes {
    DockSize row;
    DockSize column;
    DockSize floating;
};

// Where the bar goes when the cursor is at point during a drag: docked on a
// side (DockSideAt), in the bar's rectangle there (LayoutFrame), or floating
// in the floating window's rectangle (FloatingRect).
struct BarPlacement {
    std::optional<DockSide> side;
    DockRect rect;
};

BarPlacement PlaceBar(const DockRect& area, DockPoint cursor, DockPoint grab, std::optional<DockSide> current,
                      const BarSizes& sizes, int reach);

// Where the bar is kept between runs: docked on side, or floating (no side)
// with its window's top-left corner at floatingAt, in screen coordinates.
struct ToolbarPlacement {
    std::optional<DockSide> side = DockSide::Top;
    DockPoint floatingAt;
};

// "Top", "Bottom", "Left", "Right", or "Floating" for no side.
const char* PlacementName(std::optional<DockSide> side);
// The placement kept as these texts: the side's name, and for "Floating" the
// corner as decimal texts. A name or number that is not exactly one of
// these gives the top.
ToolbarPlacement ParsePlacement(const std::string& side, const std::string& left, const std::string& top);

// The top-left corner for a floating window at window: unchanged while at
// least minVisible pixels of it each way lie on screen, otherwise the nearest
// place wholly on screen (from its top-left corner, should it be larger).
DockPoint KeepOnScreen(const DockRect& window, const DockRect& screen, int minVisible);
