#include "platform/gfx/region.h"

#include <gtest/gtest.h>

TEST(Region, CombiningRectanglesFollowsTheSetOperations)
{
    HRGN A = CreateRectRgn(0, 0, 10, 10);
    HRGN B = CreateRectRgn(5, 5, 15, 15);
    HRGN Out = CreateRectRgn(0, 0, 0, 0);
    struct TCase {
        int Mode;
        int Kind;
        int Area;
        TRect Box;
    };
    const std::vector<TCase> Cases = {
        {RGN_AND, SIMPLEREGION, 25, Rect(5, 5, 10, 10)},
        {RGN_OR, COMPLEXREGION, 175, Rect(0, 0, 15, 15)},
        {RGN_XOR, COMPLEXREGION, 150, Rect(0, 0, 15, 15)},
        {RGN_DIFF, COMPLEXREGION, 75, Rect(0, 0, 10, 10)},
        {RGN_COPY, SIMPLEREGION, 100, Rect(0, 0, 10, 10)},
    };
    for (const TCase& C : Cases) {
        EXPECT_EQ(CombineRgn(Out, A, B, C.Mode), C.Kind) << C.Mode;
        int Area = 0;
        for (const TRect& R : Out->Rects())
            Area += R.Width() * R.Height();
        EXPECT_EQ(Area, C.Area) << C.Mode;
        TRect Box;
        GetRgnBox(Out, Box);
        EXPECT_EQ(Box, C.Box) << C.Mode;
    }
    TRegion Far(Rect(20, 20, 30, 30));
    EXPECT_EQ(CombineRgn(Out, A, &Far, RGN_AND), NULLREGION);
    EXPECT_EQ(CombineRgn(Out, A, nullptr, RGN_AND), RGN_ERROR);
    DeleteObject(A);
    DeleteObject(B);
    DeleteObject(Out);
}

TEST(Region, BandsStayDisjointAndMerge)
{
    const TRegion U = TRegion::Union(TRegion(Rect(0, 0, 10, 5)), TRegion(Rect(0, 5, 10, 10)));
    EXPECT_TRUE(U.IsRectangle());
    EXPECT_EQ(U, TRegion(Rect(0, 0, 10, 10)));
    const TRegion Hole = TRegion::Diff(TRegion(Rect(0, 0, 9, 9)), TRegion(Rect(3, 3, 6, 6)));
    EXPECT_EQ(Hole.Rects().size(), 4u);
    EXPECT_FALSE(Hole.Contains(4, 4));
    EXPECT_TRUE(Hole.Contains(2, 4));
    EXPECT_TRUE(Hole.Contains(6, 4));
}

TEST(Region, EllipsesRoundRectanglesAndPolygonsCoverTheirInside)
{
    HRGN E = CreateEllipticRgn(0, 0, 20, 10);
    EXPECT_TRUE(PtInRegion(E, 10, 5));
    EXPECT_TRUE(PtInRegion(E, 0, 4));
    EXPECT_FALSE(PtInRegion(E, 0, 0));
    EXPECT_FALSE(PtInRegion(E, 20, 5)); // right edge excluded
    TRect Box;
    EXPECT_EQ(GetRgnBox(E, Box), COMPLEXREGION);
    EXPECT_EQ(Box, Rect(0, 0, 20, 10));

    HRGN RR = CreateRoundRectRgn(0, 0, 20, 20, 8, 8);
    EXPECT_FALSE(PtInRegion(RR, 0, 0));
    EXPECT_TRUE(PtInRegion(RR, 0, 10));
    EXPECT_TRUE(PtInRegion(RR, 3, 3));

    // A five-point star: the centre is outside by the alternate rule, inside by winding.
    const TPoint Star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    HRGN Alt = CreatePolygonRgn(Star, 5, ALTERNATE);
    HRGN Wind = CreatePolygonRgn(Star, 5, WINDING);
    EXPECT_FALSE(PtInRegion(Alt, 50, 50));
    EXPECT_TRUE(PtInRegion(Wind, 50, 50));
    EXPECT_TRUE(PtInRegion(Alt, 50, 10));

    const TPoint Square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    HRGN Sq = CreatePolygonRgn(Square, 4, ALTERNATE);
    TRegion Expected(Rect(0, 0, 10, 10));
    EXPECT_TRUE(EqualRgn(Sq, &Expected));
    EXPECT_EQ(OffsetRgn(Sq, 5, -5), SIMPLEREGION);
    GetRgnBox(Sq, Box);
    EXPECT_EQ(Box, Rect(5, -5, 15, 5));
    for (HRGN R : {E, RR, Alt, Wind, Sq})
        DeleteObject(R);
}
