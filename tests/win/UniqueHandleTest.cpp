// UniqueHandle with a closer that has state (as a function loaded at run
// time) and a "none" of INVALID_HANDLE_VALUE (as the ICMP handle).
#include "win32/UniqueHandle.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Closed = std::vector<std::pair<int, HANDLE>>;  // which closer, which handle
Closed g_closed;

struct TaggedCloser {
    int tag = 0;
    void operator()(HANDLE h) const { g_closed.push_back({tag, h}); }
};
using Owner = UniqueHandle<HANDLE, TaggedCloser, InvalidValueIsNone>;

HANDLE Fake(INT_PTR n) { return reinterpret_cast<HANDLE>(n); }

TEST(UniqueHandle, EachHandleGoesBackThroughTheCloserItCameWith) {
    g_closed.clear();
    {
        Owner first(Fake(1), {10});
        Owner second(Fake(2), {20});
        second = std::move(first);
        EXPECT_EQ(g_closed, (Closed{{20, Fake(2)}}));
        EXPECT_FALSE(first);
        Owner third(std::move(second));
        third.reset(Fake(3));
    }
    EXPECT_EQ(g_closed, (Closed{{20, Fake(2)}, {10, Fake(1)}, {10, Fake(3)}}));
}

TEST(UniqueHandle, AnOwnerOfNoneOrOfAReleasedHandleClosesNothing) {
    g_closed.clear();
    {
        Owner none(INVALID_HANDLE_VALUE, {1});
        EXPECT_FALSE(none);
        Owner released(Fake(4), {2});
        EXPECT_EQ(released.release(), Fake(4));
        EXPECT_FALSE(released);
    }
    EXPECT_TRUE(g_closed.empty());
}

}  // namespace
