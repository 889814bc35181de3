#include "ui/frame_cycle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<int> FramesShown(FrameCycle cycle, int advances) {
    std::vector<int> shown{cycle.Current()};
    for (int i = 0; i < advances; ++i) {
        cycle.Advance();
        shown.push_back(cycle.Current());
    }
    return shown;
}

TEST(FrameCycle, ShowsFramesInOrderWrappingAndBackToTheFirstWhenStopped) {
    EXPECT_EQ(FramesShown(FrameCycle(4), 9), (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3, 0, 1}));
    EXPECT_EQ(FramesShown(FrameCycle(1), 3), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(FramesShown(FrameCycle(0), 3), (std::vector<int>{0, 0, 0, 0})) << "no frames: nothing to advance to";
    EXPECT_EQ(FramesShown(FrameCycle(-2), 2), (std::vector<int>{0, 0, 0}));

    FrameCycle cycle(4);
    cycle.Advance();
    cycle.Advance();
    cycle.Reset();
    EXPECT_EQ(cycle.Current(), 0);
    cycle.Advance();
    cycle.Advance();
    cycle.Advance();
    cycle.SetCount(2);  // fewer frames than the one shown
    EXPECT_EQ(cycle.Current(), 0);
}
}  // namespace
