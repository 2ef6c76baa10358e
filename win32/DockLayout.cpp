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

// Decimal text with an optional minus sign, within what a screen coordinate can be.
std::optional<int> ParseCoordinate(const std::string& text) {
    const std::size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == digits || text.size() > digits + 6) return std::nullopt;
    if (text.find_first_not_of("0123456789", digits) != std::string::npos) return std::nullopt;
    return std::atoi(text.c_str());
}

struct SideName {
    DockSide side;
    const char* name;
};
const SideName kSideNames[] = {
    {DockSide::Top, "Top"}, {DockSide::Bottom, "Bottom"}, {DockSide::Left, "Left"}, {DockSide::Right, "Right"}};
const char kFloatingName[] = "Floating";

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

const char* PlacementName(std::optional<DockSide> side) {
    if (!side) return kFloatingName;
    for (const SideName& named : kSideNames) {
        if (named.side == *side) return named.name;
    }
    return kSideNames[0].name;
}

ToolbarPlacement ParsePlacement(const std::string& side, const std::string& left, const std::string& top) {
    for (const SideName& named : kSideNames) {
        if (side == named.name) return {named.side, {}};
    }
    const std::optional<int> x = ParseCoordinate(left);
    const std::optional<int> y = ParseCoordinate(top);
    if (side != kFloatingName || !x || !y) return {};
    return {std::nullopt, {*x, *y}};
}

DockPoint KeepOnScreen(const DockRect& window, const DockRect& screen, int minVisible) {
    const int visibleWidth = std::min(window.right, screen.right) - std::max(window.left, screen.left);
    const int visibleHeight = std::min(window.bottom, screen.bottom) - std::max(window.top, screen.top);
    const int needWidth = std::min(minVisible, window.Width());
    const int needHeight = std::min(minVisible, window.Height());
    if (visibleWidth >= needWidth && visibleHeight >= needHeight) return {window.left, window.top};
    return {std::max(std::min(window.left, screen.right - window.Width()), screen.left),
            std::max(std::min(window.top, screen.bottom - window.Height()), screen.top)};
}
