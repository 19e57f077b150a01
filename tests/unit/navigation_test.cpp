#include "launcher/navigation.h"

#include <gtest/gtest.h>

TEST(ArrowTarget, WrapsAroundSixByTwoGrid) {
    EXPECT_EQ(ArrowTarget(kArrowRight, 5, 6, 2), 6);
    EXPECT_EQ(ArrowTarget(kArrowRight, 11, 6, 2), 0);
    EXPECT_EQ(ArrowTarget(kArrowLeft, 0, 6, 2), 11);
    EXPECT_EQ(ArrowTarget(kArrowLeft, 6, 6, 2), 5);
    EXPECT_EQ(ArrowTarget(kArrowDown, 7, 6, 2), 2);
    EXPECT_EQ(ArrowTarget(kArrowDown, 2, 6, 2), 8);
    EXPECT_EQ(ArrowTarget(kArrowDown, 11, 6, 2), 0);
    EXPECT_EQ(ArrowTarget(kArrowUp, 0, 6, 2), 11);
    EXPECT_EQ(ArrowTarget(kArrowUp, 3, 6, 2), 8);
    EXPECT_EQ(ArrowTarget(kArrowUp, 9, 6, 2), 3);
}

TEST(ArrowTarget, SingleRowOrColumnRefusesThatAxis) {
    EXPECT_EQ(ArrowTarget(kArrowLeft, 2, 1, 4), std::nullopt);
    EXPECT_EQ(ArrowTarget(kArrowRight, 2, 1, 4), std::nullopt);
    EXPECT_EQ(ArrowTarget(kArrowUp, 0, 1, 4), 3);
    EXPECT_EQ(ArrowTarget(kArrowDown, 3, 1, 4), 0);
    EXPECT_EQ(ArrowTarget(kArrowUp, 1, 4, 1), std::nullopt);
    EXPECT_EQ(ArrowTarget(kArrowDown, 1, 4, 1), std::nullopt);
    EXPECT_EQ(ArrowTarget(kArrowRight, 3, 4, 1), 0);
}

TEST(ArrowTarget, NoButtonUnderCursorAndInvalidGrids) {
    EXPECT_EQ(ArrowTarget(kArrowLeft, -1, 1, 1), 0);
    EXPECT_EQ(ArrowTarget(kArrowUp, -1, 6, 2), 0);
    EXPECT_EQ(ArrowTarget(kArrowUp, 12, 6, 2), std::nullopt);
    EXPECT_EQ(ArrowTarget(kArrowUp, 0, 0, 2), std::nullopt);
}

TEST(PageStep, DirectionFromLowWordAndWheel) {
    EXPECT_EQ(PageStepDirection(-1), kPageForward);
    EXPECT_EQ(PageStepDirection(1), kPageBack);
    EXPECT_EQ(PageStepDirection(0x0001FFFF), kPageForward);  // only the low 16 bits count
    EXPECT_EQ(PageStepDirection(0), kPageBack);
    EXPECT_EQ(PageStepDirection(WheelPageStep(1)), kPageBack);
    EXPECT_EQ(PageStepDirection(WheelPageStep(2)), kPageForward);
    for (uintptr_t other : {uintptr_t{0}, uintptr_t{3}, ~uintptr_t{0}, uintptr_t{0x10001}})
        EXPECT_EQ(WheelPageStep(other), 0) << other;
}

TEST(WheelClickQualifier, EveryClickQualifiesWhenOff) {
    WheelClickQualifier q;
    EXPECT_TRUE(q.OnClick(100, 500, false));
    EXPECT_EQ(q.count, 0);
}

TEST(WheelClickQualifier, PairsWithinDoubleClickTime) {
    WheelClickQualifier q;
    EXPECT_FALSE(q.OnClick(1000, 500, true));
    EXPECT_TRUE(q.OnClick(1500, 500, true));  // exactly the double-click time still counts
    q.Reset();                                // the caller toggled the launcher
    EXPECT_FALSE(q.OnClick(2000, 500, true));

    // Too slow: the second click starts a new pair.
    EXPECT_FALSE(q.OnClick(2501, 500, true));
    EXPECT_EQ(q.count, 1);
    EXPECT_EQ(q.firstTime, 2501u);
    EXPECT_TRUE(q.OnClick(2600, 500, true));

    // Pair not consumed: the third click only resets the count.
    EXPECT_FALSE(q.OnClick(2700, 500, true));
    EXPECT_EQ(q.count, 0);
}

TEST(WheelClickQualifier, SurvivesTimerWrapAround) {
    WheelClickQualifier q;
    EXPECT_FALSE(q.OnClick(0xFFFFFF00u, 500, true));
    EXPECT_TRUE(q.OnClick(0x00000010u, 500, true));
}
