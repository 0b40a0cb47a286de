// tests/imaging/gif/extensions_test.cpp: the extension blocks read and written back.
#include "tests/imaging/gif/gifsamples.h"

#include <gtest/gtest.h>

namespace {

// A 1x1 picture whose frame is preceded by Extensions (raw bytes).
std::string GifWith(const std::string& Extensions)
{
    return std::string("GIF89a\x01\0\x01\0\x80\0\0", 13) + std::string("\0\0\0\xFF\xFF\xFF", 6) +
           Extensions + std::string(",\0\0\0\0\x01\0\x01\0\0\x02\x02\x4C\x01\0;", 16);
}

TGIFSubImage* Load(TGIFImage& Image, const std::string& Extensions)
{
    LoadFromString(Image, GifWith(Extensions));
    return Image.Images()->SubImage(0);
}

// The extension bytes of the first frame as saved.
std::string SavedExtensions(TGIFImage& Image)
{
    const std::string Bytes = SaveToString(Image);
    return Bytes.substr(19, Bytes.find(std::string(",\0\0\0\0\x01", 6), 19) - 19);
}

TEST(GIFExtensions, LongCommentLinesSplitIntoSubBlocksAndComeBackAsLines)
{
    TGIFImage Image;
    TGIFSubImage* Frame = AddSampleFrame(Image, 0, 0, 1, 1, {0});
    FillColorMap(Image.Header()->ColorMap(), {0, 0, 0, 9, 9, 9});
    auto* Comment = new TGIFCommentExtension(Frame);
    Frame->Extensions()->Add(Comment);
    Comment->Text()->Add(std::string(300, 'c'));
    Comment->Text()->Add("");
    Comment->Text()->Add("x");
    TGIFImage Back;
    LoadFromString(Back, SaveToString(Image));
    auto* Read =
        dynamic_cast<TGIFCommentExtension*>(Back.Images()->SubImage(0)->Extensions()->Extension(0));
    ASSERT_NE(Read, nullptr);
    ASSERT_EQ(Read->Text()->Count(), 3);
    EXPECT_EQ(Read->Text()->Strings(0), std::string(255, 'c'));
    EXPECT_EQ(Read->Text()->Strings(1), std::string(45, 'c'));
    EXPECT_EQ(Read->Text()->Strings(2), "x");
}

TEST(GIFExtensions, LoopExtensionsAreReadUnderBothNamesAndWrittenAsOne)
{
    TGIFImage Image;
    TGIFSubImage* Frame = Load(Image, std::string("!\xFF\x0B"
                                                  "ANIMEXTS1.0\x03\x01\x03\x00\x00",
                                                  19));
    auto* Loop = dynamic_cast<TGIFAppExtNSLoop*>(Frame->Extensions()->Extension(0));
    ASSERT_NE(Loop, nullptr);
    EXPECT_EQ(Loop->Loops(), 3);
    EXPECT_EQ(SavedExtensions(Image), std::string("!\xFF\x0B"
                                                  "NETSCAPE2.0\x03\x01\x03\x00\x00",
                                                  19));
    // Only the low three bits of a sub-block id count.
    TGIFImage Other;
    Frame = Load(Other, std::string("!\xFF\x0B"
                                    "NETSCAPE2.0\x03\x09\x07\x00\x00",
                                    19));
    EXPECT_EQ(dynamic_cast<TGIFAppExtNSLoop*>(Frame->Extensions()->Extension(0))->Loops(), 7);
}

TEST(GIFExtensions, UnknownApplicationBlocksAreKeptByteForByte)
{
    const std::string Block("!\xFF\x0B"
                            "XYZAPP01abc\x04wxyz\x01q\x00",
                            22);
    TGIFImage Image;
    TGIFSubImage* Frame = Load(Image, Block);
    EXPECT_NE(dynamic_cast<TGIFUnknownAppExtension*>(Frame->Extensions()->Extension(0)), nullptr);
    EXPECT_EQ(SavedExtensions(Image), Block);
}

// A first sub-block longer than an identifier is not taken for the application it names.
TEST(GIFExtensions, ApplicationBlocksOfOtherSizesAreWrittenBackAsRead)
{
    for (const std::string& Block : {std::string("!\xFF\x0D"
                                                 "NETSCAPE2.0xy\x03\x05\x00\x00\x00",
                                                 21),
                                     std::string("!\xFF\x0A"
                                                 "NETSCAPE2.\x02\x05\x00\x00",
                                                 17)}) {
        TGIFImage Image;
        TGIFSubImage* Frame = Load(Image, Block);
        EXPECT_NE(dynamic_cast<TGIFUnknownAppExtension*>(Frame->Extensions()->Extension(0)),
                  nullptr);
        EXPECT_EQ(SavedExtensions(Image), Block);
        TGIFImage Back;
        LoadFromString(Back, SaveToString(Image));
        EXPECT_EQ(SavedExtensions(Back), Block);
    }
}

TEST(GIFExtensions, GraphicControlMakesItsFrameTransparentWhileItLives)
{
    TGIFImage Image;
    TGIFSubImage* Frame = Load(Image, std::string("!\xF9\x04\x09\x20\x00\x01\x00"
                                                  "!\xF9\x04\x00\x10\x00\x00\x00",
                                                  16));
    ASSERT_EQ(Frame->Extensions()->Count(), 2);
    auto* First = dynamic_cast<TGIFGraphicControlExtension*>(Frame->Extensions()->Extension(0));
    EXPECT_EQ(Frame->GraphicControlExtension(), First);
    EXPECT_TRUE(Frame->Transparent());
    EXPECT_EQ(First->TransparentIndex(), 1);
    EXPECT_EQ(First->DelayHundredths(), 32);
    EXPECT_EQ(First->DisposalMethod(), 2);
    delete First;
    EXPECT_FALSE(Frame->Transparent());
    EXPECT_EQ(Frame->GraphicControlExtension(), nullptr);
    EXPECT_EQ(Frame->Extensions()->Count(), 1);
}

TEST(GIFExtensions, GraphicControlSettersKeepTheirRanges)
{
    TGIFImage Image;
    std::vector<std::string> Warnings;
    Image.OnCodecWarning = [&](TObject*, int, const std::string& M) { Warnings.push_back(M); };
    TGIFSubImage* Frame = Load(Image, "");
    auto* GCE = new TGIFGraphicControlExtension(Frame);
    Frame->Extensions()->Add(GCE);
    GCE->SetDisposalMethod(3);
    EXPECT_EQ(GCE->DisposalMethod(), 3);
    GCE->SetDisposalMethod(9);
    EXPECT_EQ(GCE->DisposalMethod(), 1);
    GCE->SetTransparentIndex(1);
    EXPECT_EQ(GCE->TransparentIndex(), 1);
    GCE->SetTransparentIndex(2);
    EXPECT_EQ(GCE->TransparentIndex(), 0);
    EXPECT_EQ(Warnings, std::vector<std::string>{"Invalid color index"});
}

TEST(GIFExtensions, BadExtensionsFailWithTheirMessages)
{
    struct TCase {
        std::string Bytes;
        std::string Message;
    };
    for (const TCase& C :
         std::vector<TCase>{{std::string("!\x77\x00", 3), "Unknown extension type"},
                            {std::string("!\xFF\x05"
                                         "ABCDE\x00",
                                         9),
                             "Unsupported Application Extension block size"},
                            {std::string("!\xFF\x0B"
                                         "NETSCAPE2.0\x02\x01\x03\x00",
                                         18),
                             "Invalid GIF data"}}) {
        TGIFImage Image;
        try {
            LoadFromString(Image, GifWith(C.Bytes));
            ADD_FAILURE() << C.Message;
        } catch (const GIFException& E) {
            EXPECT_EQ(E.Message(), C.Message);
        }
    }
}

TEST(GIFExtensions, TruncatedApplicationDataEndsTheLoad)
{
    const std::string Gif = GifWith(std::string("!\xFF\x0B"
                                                "NETSCAPE2.0\x03\x01\x03",
                                                17));
    // Where the data stops decides: before the extension nothing is lost; without its label or
    // identifier its type is unknown; inside a sub-block the data is short; at the end of the
    // identifier the extension is kept with no data, in a frame that has no picture.
    struct Case {
        std::size_t Cut;
        std::string Error; // empty: the load succeeds
    };
    std::vector<Case> Cases = {
        {19, ""}, {20, "Unknown extension type"}, {21, "Unknown extension type"}, {33, ""}};
    for (std::size_t Cut = 22; Cut < 19 + 17; ++Cut)
        if (Cut != 33)
            Cases.push_back({Cut, "Premature end of data"});
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Cut);
        TGIFImage Image;
        TStringStream Stream(Gif.substr(0, C.Cut));
        try {
            Image.LoadFromStream(&Stream);
            ASSERT_EQ(C.Error, "");
        } catch (const GIFException& E) {
            EXPECT_EQ(E.Message(), C.Error);
            continue;
        }
        if (C.Cut == 19) {
            EXPECT_EQ(Image.Images()->Count(), 0);
            continue;
        }
        ASSERT_EQ(Image.Images()->Count(), 1);
        TGIFSubImage* Frame = Image.Images()->SubImage(0);
        EXPECT_TRUE(Frame->Empty());
        ASSERT_EQ(Frame->Extensions()->Count(), 1);
        EXPECT_NE(dynamic_cast<TGIFApplicationExtension*>(Frame->Extensions()->Extension(0)),
                  nullptr);
    }
}

} // namespace
