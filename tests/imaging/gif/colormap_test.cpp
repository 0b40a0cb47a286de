// tests/imaging/gif/colormap_test.cpp: colour tables: file form, look-ups, growth, sorting.
#include "tests/imaging/gif/gifsamples.h"

#include <gtest/gtest.h>

namespace {

TColor RGB(int R, int G, int B)
{
    return R | (G << 8) | (B << 16);
}

TEST(GIFColorMap, IsWrittenPaddedWithBlackToAPowerOfTwo)
{
    struct TCase {
        int Colors;
        std::size_t Bytes;
    };
    for (const TCase& C :
         std::vector<TCase>{{0, 0}, {1, 6}, {2, 6}, {3, 12}, {5, 24}, {256, 768}}) {
        TGIFImage Image;
        TGIFColorMap* Map = Image.Header()->ColorMap();
        for (int I = 0; I < C.Colors; ++I)
            Map->AppendColor(RGB(I, 255, 7));
        TStringStream Out;
        Map->SaveToStream(&Out);
        ASSERT_EQ(Out.DataString().size(), C.Bytes) << C.Colors;
        if (C.Colors == 3) {
            EXPECT_EQ(Out.DataString().substr(9), std::string(3, '\0'));
        }
    }
}

TEST(GIFColorMap, IndexBitsIsTheSmallestPowerHoldingTheEntries)
{
    const std::vector<std::pair<int, int>> Cases = {{0, 0}, {1, 1}, {2, 1},   {3, 2},
                                                    {4, 2}, {5, 3}, {129, 8}, {256, 8}};
    for (const auto& [Count, Bits] : Cases) {
        TGIFImage Image;
        for (int I = 0; I < Count; ++I)
            Image.Header()->ColorMap()->AppendColor(I);
        EXPECT_EQ(Image.Header()->ColorMap()->IndexBits(), Bits) << Count;
    }
}

TEST(GIFColorMap, FindColorTakesTheLastMatchUnlessSorted)
{
    TGIFImage Image;
    TGIFColorMap* Map = Image.Header()->ColorMap();
    for (const TColor C :
         {RGB(1, 1, 1), RGB(2, 2, 2), RGB(9, 9, 9), RGB(3, 3, 3), RGB(4, 4, 4), RGB(9, 9, 9)})
        Map->AppendColor(C);
    EXPECT_EQ(Map->FindColor(RGB(9, 9, 9)), 5);
    Map->SetSortedByUsage(true);
    EXPECT_EQ(Map->FindColor(RGB(9, 9, 9)), 2);
    EXPECT_EQ(Map->FindColor(RGB(7, 7, 7)), -1);
}

TEST(GIFColorMap, GrowsInStepsAndRefusesTheEntryAfter256)
{
    TGIFImage Image;
    TGIFColorMap* Map = Image.Header()->ColorMap();
    std::vector<int> Capacities;
    for (int I = 0; I < 256; ++I) {
        Map->AppendColor(I);
        if (Capacities.empty() || Capacities.back() != Map->Capacity())
            Capacities.push_back(Map->Capacity());
    }
    EXPECT_EQ(Capacities, (std::vector<int>{16, 32, 64, 96, 128, 160, 192, 224, 256}));
    EXPECT_THROW(Map->AppendColor(0), GIFException);
    EXPECT_EQ(Map->Count(), 256);
    EXPECT_THROW(Map->RemoveColor(256), GIFException);
}

TEST(GIFColorMap, ABadIndexWarnsAndReadsEntryZeroOrFailsWhenEmpty)
{
    TGIFImage Image;
    std::vector<std::string> Warnings;
    Image.OnCodecWarning = [&](TObject*, int, const std::string& M) { Warnings.push_back(M); };
    TGIFColorMap* Map = Image.Header()->ColorMap();
    EXPECT_THROW(Map->ColorAt(0), GIFException);
    Map->AppendColor(RGB(10, 20, 30));
    EXPECT_EQ(Map->ColorAt(5), RGB(10, 20, 30));
    EXPECT_EQ(Warnings, (std::vector<std::string>{"Invalid color index", "Invalid color index"}));
}

TEST(GIFColorMap, SortingByUsageDropsUnusedEntriesAndRemapsPixels)
{
    TGIFImage Image;
    // X used by one pixel, Y by nine, Z by none.
    std::vector<std::uint8_t> Pixels(10, 1);
    Pixels[4] = 0;
    TGIFSubImage* Frame = AddSampleFrame(Image, 0, 0, 5, 2, Pixels);
    TGIFColorMap* Map = Frame->ColorMap();
    for (const TColor C : {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0)})
        Map->AppendColor(C);
    EXPECT_TRUE(Map->Reorder());
    EXPECT_TRUE(Map->SortedByUsage());
    ASSERT_EQ(Map->Count(), 2);
    EXPECT_EQ(Map->ColorAt(0), RGB(2, 0, 0));
    EXPECT_EQ(Map->ColorAt(1), RGB(1, 0, 0));
    std::vector<std::uint8_t> Expected(10, 0);
    Expected[4] = 1;
    EXPECT_EQ(FramePixels(Frame), Expected);
}

TEST(GIFColorMap, SortingAnOrderedTableOnlySetsTheFlag)
{
    TGIFImage Image;
    TGIFSubImage* Frame = AddSampleFrame(Image, 0, 0, 3, 1, {0, 0, 1});
    TGIFColorMap* Map = Frame->ColorMap();
    for (const TColor C : {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0)})
        Map->AppendColor(C);
    EXPECT_TRUE(Map->Reorder());
    EXPECT_TRUE(Map->SortedByUsage());
    EXPECT_EQ(Map->Count(), 3);
    EXPECT_EQ(FramePixels(Frame), (std::vector<std::uint8_t>{0, 0, 1}));
}

TEST(GIFColorMap, PalettesCarryTheEntries)
{
    TGIFImage Image;
    TGIFColorMap* Map = Image.Header()->ColorMap();
    EXPECT_EQ(Map->ToPalette(), nullptr);
    Map->AppendColor(RGB(1, 2, 3));
    Map->AppendColor(RGB(200, 100, 50));
    HPALETTE P = Map->ToPalette();
    TGIFImage Other;
    Other.Header()->ColorMap()->FromPalette(P);
    DeleteObject(P);
    EXPECT_EQ(MapBytes(Other.Header()->ColorMap()), MapBytes(Map));
}

} // namespace
