#include "agent/TrayAnimation.h"
#include "resources/zarwatch_ids.h"

#include <gtest/gtest.h>

namespace {

// Pictures named by their resource ids, so the order is plain to see.
TrayAnimation::Picture ById(UINT id) { return id; }

std::vector<TrayAnimation::Picture> Advance(TrayAnimation& animation, int ticks) {
    std::vector<TrayAnimation::Picture> shown;
    for (int i = 0; i < ticks; ++i) {
        TrayAnimation::Picture picture = 0;
        if (!animation.Advance(&picture)) break;
        shown.push_back(picture);
    }
    return shown;
}

TEST(TrayAnimation, FirstTickShowsTheSecondFrameAndTheFramesWrap) {
    TrayAnimation animation;
    ASSERT_TRUE(animation.LoadFrames(IDI_ANIMATION_FIRST, IDI_ANIMATION_LAST, ById));
    animation.Start(0, 300);
    EXPECT_EQ(Advance(animation, 6), (std::vector<TrayAnimation::Picture>{130, 131, 132, 129, 130, 131}));
    // A restart, as every connection check makes, begins again at the second frame.
    animation.Start(5000, 300);
    EXPECT_EQ(Advance(animation, 1), std::vector<TrayAnimation::Picture>{130});
}

TEST(TrayAnimation, LoadingBackwardsFailsAndKeepsTheFramesItHad) {
    TrayAnimation animation;
    ASSERT_TRUE(animation.LoadFrames(IDI_ANIMATION_FIRST, IDI_ANIMATION_LAST, ById));
    EXPECT_FALSE(animation.LoadFrames(IDI_ANIMATION_LAST, IDI_ANIMATION_FIRST, ById));
    EXPECT_EQ(animation.Frames(), (std::vector<TrayAnimation::Picture>{129, 130, 131, 132}));
}

TEST(TrayAnimation, WithoutFramesThereIsNothingToShow) {
    TrayAnimation animation;
    animation.Start(0, 0);
    EXPECT_TRUE(Advance(animation, 1).empty());
}

TEST(TrayAnimation, EndsOnlyAfterMoreThanItsDurationInWholeSeconds) {
    const struct {
        DWORD startMs;
        int seconds;
        DWORD nowMs;
        bool expired;
    } cases[] = {
        {1000, 300, 1000, false},
        {1000, 300, 1000 + 300000, false},  // exactly 300 whole seconds
        {1000, 300, 1000 + 300999, false},  // fractions don't count
        {1000, 300, 1000 + 301000, true},
        {0xFFFFF000u, 300, 0xFFFFF000u + 301000u, true},  // the tick count wrapped meanwhile
        {0xFFFFF000u, 300, 0xFFFFF000u + 2000u, false},
        {0, 0, 0xFFFFFFFFu, false},  // 0 runs until ended
        {0, -5, 0xFFFFFFFFu, false},
    };
    for (const auto& c : cases) {
        TrayAnimation animation;
        animation.Start(c.startMs, c.seconds);
        EXPECT_EQ(animation.Expired(c.nowMs), c.expired) << c.startMs << " " << c.seconds << " " << c.nowMs;
    }
}

}  // namespace
