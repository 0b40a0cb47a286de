// tests/imaging/gif/image_test.cpp: the picture object: files, the picture class, the clipboard,
// copying, the optimiser and drawing.
#include "tests/imaging/gif/gifsamples.h"
#include "tests/support/tempfolder.h"

#include "imaging/gif/gifpainter.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/clipboard.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::unique_ptr<TGIFImage> TwoFrames()
{
    auto Image = std::make_unique<TGIFImage>();
    FillColorMap(Image->Header()->ColorMap(), SampleColorMap(4, 1));
    AddSampleFrame(*Image, 0, 0, 6, 4, SamplePixels(6, 4, 4, 1));
    AddSampleFrame(*Image, 1, 1, 3, 2, SamplePixels(3, 2, 4, 2));
    return Image;
}

TGIFGraphicControlExtension* AddControl(TGIFSubImage* Frame, int Delay, int Disposal = 0,
                                        int Transparent = -1)
{
    auto* GCE = new TGIFGraphicControlExtension(Frame);
    Frame->Extensions()->Add(GCE);
    GCE->SetDelayHundredths(Delay);
    GCE->SetDisposalMethod(Disposal);
    if (Transparent >= 0) {
        GCE->SetHasTransparency(true);
        GCE->SetTransparentIndex(Transparent);
    }
    return GCE;
}

TEST(GIFImage, SaveToFileReplacesTheFileWholeOrNotAtAll)
{
    TestSupport::TTempFolder Folder;
    const std::string Name = Folder.Path() + "picture.gif";
    auto Image = TwoFrames();
    Image->SaveToFile(Name);
    EXPECT_EQ(TestSupport::ReadAll(Name), SaveToString(*Image));
    TGIFImage Empty;
    EXPECT_THROW(Empty.SaveToFile(Name), GIFException);
    EXPECT_EQ(TestSupport::ReadAll(Name), SaveToString(*Image));
    Image->Images()->SubImage(1)->SaveToFile(Folder.Path() + "frame.bin");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder.Path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST(GIFImage, ThePictureClassLoadsGifFiles)
{
    TestSupport::TTempFolder Folder;
    const std::string Name = Folder.Path() + "Picture.GIF";
    auto Image = TwoFrames();
    Image->SaveToFile(Name);
    TPicture Picture;
    Picture.LoadFromFile(Name);
    auto* Loaded = dynamic_cast<TGIFImage*>(Picture.Graphic());
    ASSERT_NE(Loaded, nullptr);
    EXPECT_EQ(Loaded->Images()->Count(), 2);
    EXPECT_EQ(FramePixels(Loaded->Images()->SubImage(1)),
              FramePixels(Image->Images()->SubImage(1)));
    EXPECT_NE(GraphicFilter(TMetaClass::Of<TGIFImage>()).find("*.gif"), std::string::npos);
}

TEST(GIFImage, TheClipboardCarriesTheFile)
{
    auto Image = TwoFrames();
    ASSERT_TRUE(OpenClipboard(0));
    EmptyClipboard();
    UINT Format = 0;
    HANDLE Data = 0;
    HPALETTE Palette = nullptr;
    Image->SaveToClipboardFormat(Format, Data, Palette);
    EXPECT_EQ(Format, static_cast<UINT>(CF_BITMAP));
    SetClipboardData(Format, Data);
    if (Palette)
        DeleteObject(Palette);
    TGIFImage Back;
    Back.LoadFromClipboardFormat(TGIFImage::ClipboardFormat(), 0, nullptr);
    EmptyClipboard();
    CloseClipboard();
    ASSERT_EQ(Back.Images()->Count(), 2);
    EXPECT_EQ(FramePixels(Back.Images()->SubImage(0)), FramePixels(Image->Images()->SubImage(0)));
    EXPECT_THROW(Back.LoadFromClipboardFormat(CF_TEXT, 0, nullptr), GIFException);
}

TEST(GIFImage, AssignCopiesFramesAndDropsTheHandlers)
{
    auto Source = TwoFrames();
    AddControl(Source->Images()->SubImage(1), 7, 2, 3);
    Source->SetPaintBackground(0x123456);
    Source->SetQuantizeBits(3);
    TGIFImage Target;
    int Warnings = 0;
    Target.OnCodecWarning = [&](TObject*, int, const std::string&) { ++Warnings; };
    Target.Assign(Source.get());
    EXPECT_FALSE(Target.OnCodecWarning);
    EXPECT_FALSE(Target.OnProgress);
    EXPECT_EQ(Target.PaintBackground(), 0x123456);
    EXPECT_EQ(Target.QuantizeBits(), 8);
    ASSERT_EQ(Target.Images()->Count(), 2);
    TGIFSubImage* Frame = Target.Images()->SubImage(1);
    EXPECT_EQ(FramePixels(Frame), FramePixels(Source->Images()->SubImage(1)));
    ASSERT_NE(Frame->GraphicControlExtension(), nullptr);
    EXPECT_EQ(Frame->GraphicControlExtension()->Frame(), Frame);
    EXPECT_EQ(Frame->GraphicControlExtension()->DelayHundredths(), 7);
    EXPECT_TRUE(Frame->Transparent());
    EXPECT_EQ(SaveToString(Target), SaveToString(*Source));
}

TEST(GIFImage, TrimmingDropsAFullyTransparentFrameAndKeepsItsDelay)
{
    TGIFImage Image;
    FillColorMap(Image.Header()->ColorMap(), SampleColorMap(4, 1));
    TGIFSubImage* A = AddSampleFrame(Image, 0, 0, 4, 4, std::vector<std::uint8_t>(16, 1));
    A->Data()[5] = 2;
    AddControl(A, 10, 0, 1);
    TGIFSubImage* B = AddSampleFrame(Image, 0, 0, 4, 4, std::vector<std::uint8_t>(16, 3));
    AddControl(B, 25, 0, 3);
    Image.OptimizeFrames({opTrimBorders}, rdNone, dtNearest, 8);
    ASSERT_EQ(Image.Images()->Count(), 1);
    TGIFSubImage* Left = Image.Images()->SubImage(0);
    EXPECT_EQ(Left->GraphicControlExtension()->DelayHundredths(), 35);
    EXPECT_EQ(Left->FrameBounds(), (TRect{1, 1, 2, 2}));
}

TEST(GIFImage, PruningASingleFrameRemovesWhatDoesNotShow)
{
    TGIFImage Image;
    FillColorMap(Image.Header()->ColorMap(), SampleColorMap(4, 1));
    TGIFSubImage* Frame = AddSampleFrame(Image, 0, 0, 2, 2, {0, 1, 2, 3});
    AddControl(Frame, 50, 1);
    auto* Loop = new TGIFAppExtNSLoop(Frame);
    Frame->Extensions()->Add(Loop);
    auto* Comment = new TGIFCommentExtension(Frame);
    Frame->Extensions()->Add(Comment);
    Image.OptimizeFrames({opPrune}, rdNone, dtNearest, 8);
    EXPECT_EQ(Frame->Extensions()->Count(), 0);
    EXPECT_EQ(SaveToString(Image).substr(0, 6), "GIF87a");
    TGIFImage Other;
    AddSampleFrame(Other, 0, 0, 1, 1, {0});
    EXPECT_THROW(Other.OptimizeFrames({opColorReduce}, rdCustomPalette, dtNearest, 8),
                 GIFException);
}

TEST(GIFImage, DrawingASingleFrameNeverStartsAPainter)
{
    TGIFImage Image;
    FillColorMap(Image.Header()->ColorMap(), {255, 0, 0, 0, 0, 255});
    AddSampleFrame(Image, 0, 0, 2, 2, {0, 1, 1, 0});
    TBitmap Target;
    Target.SetSize(4, 4);
    Image.Draw(Target.Canvas(), TRect{0, 0, 4, 4});
    EXPECT_TRUE(Image.Painters().empty());
    EXPECT_EQ(Target.Canvas()->Pixels(0, 0), 0x0000FF);
    EXPECT_EQ(Target.Canvas()->Pixels(3, 0), 0xFF0000);
}

TEST(GIFImage, DrawingAnAnimationTwiceStartsOnePainter)
{
    auto Image = TwoFrames();
    AddControl(Image->Images()->SubImage(0), 3);
    AddControl(Image->Images()->SubImage(1), 3);
    int Shown = 0;
    Image->OnFrameShown = [&](TObject*) {
        EXPECT_EQ(std::this_thread::get_id(), MainThreadID());
        ++Shown;
    };
    TBitmap Target;
    Target.SetSize(6, 4);
    Image->Draw(Target.Canvas(), TRect{0, 0, 6, 4});
    TGIFPainter* First = Image->DrawPainter();
    ASSERT_NE(First, nullptr);
    EXPECT_TRUE(First->Threaded());
    Image->Draw(Target.Canvas(), TRect{0, 0, 6, 4});
    EXPECT_EQ(Image->Painters().size(), 1u);
    // Without a loop extension the animation plays once.
    while (Image->DrawPainter())
        CheckSynchronize(5);
    EXPECT_EQ(Shown, 2);
    Image->StopAllPainters();
    EXPECT_TRUE(Image->Painters().empty());
    EXPECT_EQ(Image->DrawPainter(), nullptr);
}

} // namespace
