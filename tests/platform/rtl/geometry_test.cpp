#include "platform/rtl/geometry.h"

#include <gtest/gtest.h>

TEST(Geometry, RectanglesExcludeTheirRightAndBottomEdges)
{
    const TRect R = Rect(0, 0, 10, 5);
    EXPECT_TRUE(PtInRect(R, Point(0, 0)));
    EXPECT_TRUE(PtInRect(R, Point(9, 4)));
    EXPECT_FALSE(PtInRect(R, Point(10, 4)));
    EXPECT_FALSE(PtInRect(R, Point(9, 5)));
    EXPECT_EQ(Bounds(3, 4, 10, 5), Rect(3, 4, 13, 9));
}

TEST(Geometry, IntersectAndUnionHandleEmptyRectangles)
{
    TRect Out;
    EXPECT_TRUE(IntersectRect(Out, Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)));
    EXPECT_EQ(Out, Rect(5, 5, 10, 10));
    EXPECT_FALSE(IntersectRect(Out, Rect(0, 0, 10, 10), Rect(10, 0, 20, 10))); // edges touch
    EXPECT_EQ(Out, TRect{});
    EXPECT_TRUE(UnionRect(Out, Rect(0, 0, 0, 0), Rect(2, 2, 4, 4)));
    EXPECT_EQ(Out, Rect(2, 2, 4, 4));
    EXPECT_TRUE(UnionRect(Out, Rect(0, 0, 1, 1), Rect(2, 2, 4, 4)));
    EXPECT_EQ(Out, Rect(0, 0, 4, 4));
}
