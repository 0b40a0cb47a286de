#include "controls/grid/advobjlists.h"

#include <gtest/gtest.h>

#include <vector>

TEST(IntListTest, SettingAndAddingTellTheOwnerWithTheListsCell)
{
    TIntList List(3, 7);
    std::vector<std::pair<int, int>> Changes;
    List.OnChange = [&](TObject*, int Col, int Row) { Changes.emplace_back(Col, Row); };
    List.Add(-5);
    List.Add(2147483647);
    List.SetItems(0, 42);
    EXPECT_EQ(List.Items(0), 42);
    EXPECT_EQ(List.Items(1), 2147483647);
    EXPECT_EQ(Changes, (std::vector<std::pair<int, int>>{{3, 7}, {3, 7}, {3, 7}}));
}

TEST(SortIndexListTest, KeepsColumnsWithTheirDirectionsAndTogglesThem)
{
    TSortIndexList List;
    List.AddIndex(4, true);
    List.AddIndex(1, false);
    EXPECT_EQ(List.FindIndex(1), 1);
    EXPECT_EQ(List.FindIndex(4), 0);
    EXPECT_EQ(List.FindIndex(2), -1);
    EXPECT_EQ(List.SortColumns(1), 1);
    EXPECT_FALSE(List.SortDirections(1));
    EXPECT_TRUE(List.SortDirections(0));
    EXPECT_LT(List.Items(1), 0); // the top bit marks descending

    int Fired = 0;
    List.OnChange = [&](TObject*, int, int) { ++Fired; };
    List.ToggleIndex(1);
    EXPECT_TRUE(List.SortDirections(1));
    EXPECT_EQ(List.SortColumns(1), 1);
    List.ToggleIndex(9);
    EXPECT_EQ(Fired, 1);
}
