#include "win32/DockLayout.h"

#include <algorithm>
#include <cstdlib>

namespace {

// How far the point is from the side, and whether it lies along it (within
// reach of the side's ends).
struct SideDistance {
    int distance;
    bool alongside;
};

SideDistance DistanceTo(const DockRect& area, DockPoint point, int reach, DockSide side) {
    const bool besideColumn = point.x >= area.left - reach && point.x <= area.right + reach;
    const bool besideRow = point.y >= area.top - reach && point.y <= area.bottom + reach;
    switch (side) {
        case DockSide::Top: return {std::abs(point.y - area.top), besideColumn};
        case DockSide::Bottom: return {std::abs(area.bottom - point.y), besideColumn};
        case DockSide::Left: return {std::abs(point.x - area.left), besideRow};
        case DockSide::Right: return {std::abs(area.right - point.x), besideRow};
    }
    return {0, false};
}

bool InReach(const DockRect& area, DockPoint point, int reach, DockSide side) {
    const SideDistance to = DistanceTo(area, point, reach, side);
    return to.alongside && to.distance <= reach;
}

}  // namespace

std::optional<DockSide> DockSideAt(const DockRect& area, DockPoint point, int reach,
                                   std::optional<DockSide> current) {
    if (current && InReach(area, point, reach, *current)) return current;
    std::optional<DockSide> nearest;
    int nearestDistance = 0;
    for (DockSide side : {DockSide::Top, DockSide::Bottom, DockSide::Left, DockSide::Right}) {
        if (!InReach(area, point, reach, side)) continue;
        const int distance = DistanceTo(area, point, reach, side).distance;
        if (!nearest || distance < nearestDistance) {
            nearest = side;
            nearestDistance = distance;
        }
    }
    return nearest;
}

FrameLayout LayoutFrame(const DockRect& area, std::optional<DockSide> side, DockSize bar) {
    FrameLayout layout;
    layout.view = area;
    if (!side) return layout;
    DockRect& view = layout.view;
    // The bar never takes more than the area has.
    const int height = std::clamp(bar.height, 0, std::max(area.Height(), 0));
    const int width = std::clamp(bar.width, 0, std::max(area.Width(), 0));
    switch (*side) {
        case DockSide::Top:
            layout.bar = {area.left, area.top, area.right, area.top + height};
            view.top = layout.bar.bottom;
            break;
        case DockSide::Bottom:
            layout.bar = {area.left, area.bottom - height, area.right, area.bottom};
            view.bottom = layout.bar.top;
            break;
        case DockSide::Left:
            layout.bar = {area.left, area.top, area.left + width, area.bottom};
            view.left = layout.bar.right;
            break;
        case DockSide::Right:
            layout.bar = {area.right - width, area.top, area.right, area.bottom};
            view.right = layout.bar.left;
            break;
    }
    view.right = std::max(view.right, view.left);
    view.bottom = std::max(view.bottom, view.top);
    return layout;
}

DockRect FloatingRect(DockPoint cursor, DockPoint grab, DockSize size) {
    const int x = std::clamp(grab.x, 0, std::max(size.width - 1, 0));
    const int y = std::clamp(grab.y, 0, std::max(size.height - 1, 0));
    return {cursor.x - x, cursor.y - y, cursor.x - x + size.width, cursor.y - y + size.height};
}

BarPlacement PlaceBar(const DockRect& area, DockPoint cursor, DockPoint grab, std::optional<DockSide> current,
                      const BarSizes& sizes, int reach) {
    const std::optional<DockSide> side = DockSideAt(area, cursor, reach, current);
    if (!side) return {side, FloatingRect(cursor, grab, sizes.floating)};
    return {side, LayoutFrame(area, side, IsVertical(*side) ? sizes.column : sizes.row).bar};
}
