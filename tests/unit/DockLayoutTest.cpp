#include "win32/DockLayout.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace {

// A frame's area above its status bar, 600 x 400, not at the origin.
const DockRect kArea = {100, 50, 700, 450};
constexpr int kReach = 24;

const char* Name(std::optional<DockSide> side) {
    if (!side) return "floating";
    switch (*side) {
        case DockSide::Top: return "top";
        case DockSide::Bottom: return "bottom";
        case DockSide::Left: return "left";
        case DockSide::Right: return "right";
    }
    return "?";
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const DockRect& r) {
    return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

TEST(DockLayoutTest, APointDocksToTheSideItIsNearInsideOrOutsideTheArea) {
    struct Case {
        DockPoint point;
        std::optional<DockSide> side;
    };
    const Case cases[] = {
        {{400, 50}, DockSide::Top},       // on the edge
        {{400, 74}, DockSide::Top},       // reach inside
        {{400, 26}, DockSide::Top},       // reach outside: over the menu bar
        {{400, 75}, std::nullopt},        // one pixel too far in
        {{400, 25}, std::nullopt},        // one pixel too far out
        {{400, 440}, DockSide::Bottom},
        {{400, 470}, DockSide::Bottom},
        {{110, 250}, DockSide::Left},
        {{80, 250}, DockSide::Left},
        {{690, 250}, DockSide::Right},
        {{724, 250}, DockSide::Right},
        {{400, 250}, std::nullopt},       // the middle floats
        {{400, 900}, std::nullopt},       // far away floats
        {{50, 250}, std::nullopt},
        // Near a corner the nearer side wins; on a tie the first of top,
        // bottom, left, right.
        {{110, 70}, DockSide::Left},
        {{120, 60}, DockSide::Top},
        {{110, 60}, DockSide::Top},
        {{690, 440}, DockSide::Bottom},
        // Beyond the end of a side is not along it.
        {{60, 40}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Name(c.side), Name(DockSideAt(kArea, c.point, kReach, std::nullopt)))
            << c.point.x << "," << c.point.y;
    }
}

TEST(DockLayoutTest, TheSideTheBarIsOnWinsWhileItIsInReach) {
    // The gripper of a bar docked on the top sits in the top-left corner,
    // nearer the left side than the top.
    const DockPoint gripper = {104, 60};
    EXPECT_EQ(Name(DockSide::Left), Name(DockSideAt(kArea, gripper, kReach, std::nullopt)));
    EXPECT_EQ(Name(DockSide::Top), Name(DockSideAt(kArea, gripper, kReach, DockSide::Top)));
    EXPECT_EQ(Name(DockSide::Left), Name(DockSideAt(kArea, gripper, kReach, DockSide::Left)));
    // Out of the current side's reach, the nearest side takes over, or none.
    EXPECT_EQ(Name(DockSide::Left), Name(DockSideAt(kArea, {104, 200}, kReach, DockSide::Top)));
    EXPECT_EQ(Name(std::nullopt), Name(DockSideAt(kArea, {400, 200}, kReach, DockSide::Top)));
    EXPECT_EQ(Name(DockSide::Bottom), Name(DockSideAt(kArea, {400, 445}, kReach, DockSide::Right)));
}

TEST(DockLayoutTest, TheBarTakesItsSideAndTheViewTheRest) {
    const DockSize bar = {40, 26};  // a column 40 wide, a row 26 high
    struct Case {
        std::optional<DockSide> side;
        DockRect bar;
        DockRect view;
    };
    const Case cases[] = {
        {DockSide::Top, {100, 50, 700, 76}, {100, 76, 700, 450}},
        {DockSide::Bottom, {100, 424, 700, 450}, {100, 50, 700, 424}},
        {DockSide::Left, {100, 50, 140, 450}, {140, 50, 700, 450}},
        {DockSide::Right, {660, 50, 700, 450}, {100, 50, 660, 450}},
        {std::nullopt, {}, kArea},
    };
    for (const Case& c : cases) {
        const FrameLayout layout = LayoutFrame(kArea, c.side, bar);
        EXPECT_EQ(c.bar, layout.bar) << Name(c.side);
        EXPECT_EQ(c.view, layout.view) << Name(c.side);
    }
}

TEST(DockLayoutTest, ABarLargerThanTheAreaLeavesTheViewEmptyNotNegative) {
    const DockRect small = {0, 0, 30, 20};
    const FrameLayout top = LayoutFrame(small, DockSide::Top, {50, 26});
    EXPECT_EQ((DockRect{0, 0, 30, 20}), top.bar);
    EXPECT_EQ(0, top.view.Height());
    const FrameLayout right = LayoutFrame(small, DockSide::Right, {50, 26});
    EXPECT_EQ((DockRect{0, 0, 30, 20}), right.bar);
    EXPECT_EQ(0, right.view.Width());
    // An area with no room at all.
    const FrameLayout none = LayoutFrame({10, 10, 5, 5}, DockSide::Left, {50, 26});
    EXPECT_GE(none.view.Width(), 0);
    EXPECT_GE(none.view.Height(), 0);
}

TEST(DockLayoutTest, TheFloatingWindowStaysWhereTheCursorHoldsIt) {
    const DockSize window = {300, 40};
    EXPECT_EQ((DockRect{490, 290, 790, 330}), FloatingRect({500, 300}, {10, 10}, window));
    // Grabbed beyond the window's size (a tall column let go as a row):
    // the cursor ends up on the window's last pixel that way.
    EXPECT_EQ((DockRect{201, 261, 501, 301}), FloatingRect({500, 300}, {400, 200}, window));
    EXPECT_EQ((DockRect{500, 300, 800, 340}), FloatingRect({500, 300}, {-5, -5}, window));
}

TEST(DockLayoutTest, PlacingTheBarDuringADrag) {
    const BarSizes sizes = {{340, 26}, {32, 320}, {330, 44}};
    const BarPlacement left = PlaceBar(kArea, {104, 250}, {4, 4}, DockSide::Top, sizes, kReach);
    EXPECT_EQ(Name(DockSide::Left), Name(left.side));
    EXPECT_EQ((DockRect{100, 50, 132, 450}), left.rect);
    const BarPlacement bottom = PlaceBar(kArea, {300, 448}, {4, 4}, DockSide::Left, sizes, kReach);
    EXPECT_EQ(Name(DockSide::Bottom), Name(bottom.side));
    EXPECT_EQ((DockRect{100, 424, 700, 450}), bottom.rect);
    const BarPlacement floating = PlaceBar(kArea, {400, 250}, {4, 100}, DockSide::Left, sizes, kReach);
    EXPECT_EQ(Name(std::nullopt), Name(floating.side));
    EXPECT_EQ((DockRect{396, 207, 726, 251}), floating.rect);
}

TEST(DockLayoutTest, AKeptPlacementReadsBackAndAnythingDamagedDocksOnTop) {
    struct Case {
        const char* side;
        const char* left;
        std::optional<DockSide> expected;
        int x;
    };
    const Case cases[] = {
        {"Bottom", "x", DockSide::Bottom, 0}, {"Right", "", DockSide::Right, 0},
        {"Floating", "-1280", std::nullopt, -1280}, {"left", "", DockSide::Top, 0},
        {"Right ", "", DockSide::Top, 0}, {"Floating", "", DockSide::Top, 0},
        {"Floating", "-", DockSide::Top, 0}, {"Floating", "99999999999", DockSide::Top, 0},
    };
    for (const Case& c : cases) {
        const ToolbarPlacement placement = ParsePlacement(c.side, c.left, "40");
        EXPECT_EQ(Name(c.expected), Name(placement.side)) << c.side << " " << c.left;
        EXPECT_EQ(c.x, placement.floatingAt.x) << c.side << " " << c.left;
    }
}

TEST(DockLayoutTest, AFloatingBarOffTheScreenComesBackOnIt) {
    const DockRect screen = {0, 0, 1024, 768};
    const DockRect windows[] = {{1000, 744, 1300, 784}, {1001, 100, 1301, 140}, {-5000, 2000, -4700, 2040},
                                {2000, 10, 3300, 50}};
    const DockPoint expected[] = {{1000, 744}, {724, 100}, {0, 728}, {0, 10}};
    for (int i = 0; i < 4; ++i) {
        const DockPoint at = KeepOnScreen(windows[i], screen, kReach);
        EXPECT_EQ(expected[i].x, at.x) << windows[i];
        EXPECT_EQ(expected[i].y, at.y) << windows[i];
    }
}

}  // namespace
