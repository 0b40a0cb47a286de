// tests/imaging/gif/structure_test.cpp: the header, the block sequence, frames and the trailer.
#include "tests/imaging/gif/gifsamples.h"

#include <gtest/gtest.h>

namespace {

// A 2x1 picture of one 2-colour frame: GIF89a, global table, image data, trailer.
std::string SmallGif(const std::string& Signature = "GIF89a")
{
    TGIFImage Image;
    FillColorMap(Image.Header()->ColorMap(), {0, 0, 0, 255, 255, 255});
    AddSampleFrame(Image, 0, 0, 2, 1, {1, 0});
    std::string Bytes = SaveToString(Image);
    return Signature + Bytes.substr(6);
}

struct TWarnings {
    explicit TWarnings(TGIFImage& Image)
    {
        Image.OnCodecWarning = [this](TObject*, int, const std::string& M) { List.push_back(M); };
    }
    std::vector<std::string> List;
};

TEST(GIFStructure, AcceptsALengthPrefixLowerCaseAndAnyVersion)
{
    for (const std::string& Bytes : {std::string("\x10\x00\x00\x00", 4) + SmallGif(),
                                     SmallGif("gif89a"), SmallGif("GIFxyz")}) {
        TGIFImage Image;
        LoadFromString(Image, Bytes);
        ASSERT_EQ(Image.Images()->Count(), 1);
        EXPECT_EQ(FramePixels(Image.Images()->SubImage(0)), (std::vector<std::uint8_t>{1, 0}));
    }
}

TEST(GIFStructure, RefusesBadSignaturesAndShortData)
{
    struct TCase {
        std::string Bytes;
        std::string Message;
    };
    const std::string Good = SmallGif();
    for (const TCase& C : std::vector<TCase>{{"PNG89a" + Good.substr(6), "Invalid GIF signature"},
                                             {"GIF8", "Premature end of data"},
                                             {Good.substr(0, 10), "Premature end of data"},
                                             {Good.substr(0, 15), "Premature end of data"}}) {
        TGIFImage Image;
        TStringStream Stream(C.Bytes);
        try {
            Image.LoadFromStream(&Stream);
            ADD_FAILURE() << "no error for " << C.Message;
        } catch (const GIFException& E) {
            EXPECT_EQ(E.Message(), C.Message);
            EXPECT_EQ(Stream.Position(), 0) << "the stream goes back to where loading began";
        }
    }
}

TEST(GIFStructure, SkipsZeroBytesBetweenBlocks)
{
    std::string Bytes = SmallGif();
    Bytes.insert(Bytes.size() - 1, std::string(5, '\0'));
    TGIFImage Image;
    TWarnings W(Image);
    LoadFromString(Image, Bytes);
    EXPECT_EQ(Image.Images()->Count(), 1);
    EXPECT_TRUE(W.List.empty());
}

TEST(GIFStructure, ACommentBeforeTheTrailerIsAnEmptyFrameAndIsWrittenBack)
{
    std::string Bytes = SmallGif();
    Bytes.insert(Bytes.size() - 1, std::string("!\xFE\x03"
                                               "end\x00",
                                               7));
    TGIFImage Image;
    LoadFromString(Image, Bytes);
    ASSERT_EQ(Image.Images()->Count(), 2);
    EXPECT_TRUE(Image.Images()->SubImage(1)->Empty());
    EXPECT_EQ(Image.Images()->SubImage(1)->Extensions()->Count(), 1);
    const std::string Saved = SaveToString(Image);
    EXPECT_EQ(Saved.substr(Saved.size() - 8), std::string("!\xFE\x03"
                                                          "end\x00;",
                                                          8));
}

TEST(GIFStructure, VersionFollowsWhatTheFramesNeed)
{
    TGIFImage Image;
    EXPECT_THROW(SaveToString(Image), GIFException);
    FillColorMap(Image.Header()->ColorMap(), {0, 0, 0, 255, 255, 255});
    TGIFSubImage* Frame = AddSampleFrame(Image, 0, 0, 2, 1, {1, 0});
    EXPECT_EQ(SaveToString(Image).substr(0, 6), "GIF87a");
    FillColorMap(Frame->ColorMap(), {0, 0, 0, 255, 255, 255});
    Frame->ColorMap()->SetSortedByUsage(true);
    EXPECT_EQ(SaveToString(Image).substr(0, 6), "GIF89a");
}

TEST(GIFStructure, ScreenDescriptorTakesSizeAndResolutionFromTheTables)
{
    TGIFImage Image;
    FillColorMap(Image.Header()->ColorMap(), SampleColorMap(4, 1));
    TGIFSubImage* Frame = AddSampleFrame(Image, 0, 0, 3, 3, SamplePixels(3, 3, 256, 1));
    FillColorMap(Frame->ColorMap(), SampleColorMap(256, 2));
    const std::string Bytes = SaveToString(Image);
    const auto Packed = static_cast<std::uint8_t>(Bytes[10]);
    EXPECT_EQ(Packed & 0x80, 0x80);
    EXPECT_EQ(Packed & 7, 1);        // 4 entries
    EXPECT_EQ((Packed >> 4) & 7, 7); // 8 bits of resolution
    EXPECT_EQ(Bytes.substr(13, 12),
              std::string(reinterpret_cast<const char*>(Image.Header()->ColorMap()->Data()), 12));
}

// A descriptor of width 0 takes the logical screen's size: width from its width, height from
// its height.
TEST(GIFStructure, AFrameOfSizeZeroTakesTheLogicalScreenSize)
{
    std::string Bytes = SmallGif();
    Bytes[6] = 7; // screen 7 x 3
    Bytes[8] = 3;
    const std::size_t Descriptor = Bytes.find(',', 13);
    Bytes[Descriptor + 5] = 0; // width 0
    TGIFImage Image;
    TWarnings W(Image);
    LoadFromString(Image, Bytes);
    const TGIFSubImage* Frame = Image.Images()->SubImage(0);
    EXPECT_EQ(Frame->Width(), 7);
    EXPECT_EQ(Frame->Height(), 3);
    EXPECT_EQ(W.List, std::vector<std::string>{"Image exceeds Logical Screen size"});
}

TEST(GIFStructure, StrayBlocksAndTrailersAreReportedNotFatal)
{
    {
        std::string Bytes = SmallGif();
        Bytes.back() = 'x';
        TGIFImage Image;
        TWarnings W(Image);
        LoadFromString(Image, Bytes + ";");
        EXPECT_EQ(Image.Images()->Count(), 1);
        EXPECT_EQ(W.List,
                  (std::vector<std::string>{"Unknown GIF block type", "Invalid Image trailer"}));
    }
    {
        std::string Bytes = SmallGif();
        TGIFImage Image;
        TWarnings W(Image);
        LoadFromString(Image, Bytes.substr(0, Bytes.size() - 1));
        EXPECT_EQ(Image.Images()->Count(), 1);
        EXPECT_TRUE(W.List.empty());
    }
}

TEST(GIFStructure, PixelAccessChecksCoordinates)
{
    TGIFImage Image;
    TGIFSubImage* Frame = AddSampleFrame(Image, 0, 0, 3, 2, {0, 1, 2, 3, 4, 5});
    EXPECT_EQ(Frame->PixelAt(2, 1), 5);
    EXPECT_EQ(Frame->RowPixels(1)[0], 3);
    EXPECT_THROW(Frame->PixelAt(3, 0), GIFException);
    EXPECT_THROW(Frame->RowPixels(-1), GIFException);
    TGIFSubImage Empty(&Image);
    EXPECT_THROW(Empty.EnsurePixels(), GIFException);
}

TEST(GIFStructure, GrowingAFrameGrowsThePictureWithWarnings)
{
    TGIFImage Image;
    TWarnings W(Image);
    TGIFSubImage* Frame = AddSampleFrame(Image, 0, 0, 4, 4, std::vector<std::uint8_t>(16, 0));
    EXPECT_TRUE(W.List.empty());
    Frame->SetFrameBounds(2, 0, 4, 4);
    EXPECT_EQ(Image.Width(), 6);
    EXPECT_EQ(W.List, (std::vector<std::string>{"Image width too small for contained frames",
                                                "Image exceeds Logical Screen size"}));
    EXPECT_THROW(Image.SetWidth(5), GIFException);
    EXPECT_EQ(Image.Width(), 6);
}

TEST(GIFStructure, AnInterlacedFrameWithALocalTableIsWrittenInPlainOrder)
{
    TGIFImage Image;
    const std::vector<std::uint8_t> Pixels = SamplePixels(4, 5, 4, 3);
    TGIFSubImage* Frame = AddSampleFrame(Image, 0, 0, 4, 5, Pixels, true);
    FillColorMap(Frame->ColorMap(), SampleColorMap(4, 1));
    TGIFImage Back;
    LoadFromString(Back, SaveToString(Image));
    EXPECT_FALSE(Back.Images()->SubImage(0)->IsInterlaced());
    EXPECT_EQ(FramePixels(Back.Images()->SubImage(0)), Pixels);
}

TEST(GIFStructure, HugeFramesAreRefusedBeforeTheirPixelsAreAllocated)
{
    std::string Bytes = SmallGif();
    const std::size_t Descriptor = Bytes.find(',', 13);
    for (const int Offset : {5, 6, 7, 8})
        Bytes[Descriptor + Offset] = '\xFF';
    TGIFImage Image;
    EXPECT_THROW(LoadFromString(Image, Bytes), GIFException);
}

} // namespace
