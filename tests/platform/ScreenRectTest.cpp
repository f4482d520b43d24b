// The screen a point lies on, for windows that open beside the pointer.

#include "platform/SystemMetrics.h"

#include <gtest/gtest.h>

using namespace ondrex;

TEST(ScreenRectAt, PointsOnAndOffTheScreensFindOne) {
    const TRect primary = ScreenRectAt({0, 0});
    ASSERT_FALSE(primary.IsEmpty());
    EXPECT_TRUE(primary.Contains({primary.Left + primary.Width() / 2, primary.Top + 1}));
    // Far off every screen: the nearest one, never an empty rectangle.
    const TRect nearest = ScreenRectAt({primary.Right + 100000, primary.Top});
    EXPECT_FALSE(nearest.IsEmpty());
    EXPECT_FALSE(ScreenRectAt({-100000, -100000}).IsEmpty());
}
