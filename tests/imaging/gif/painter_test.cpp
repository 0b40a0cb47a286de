// tests/imaging/gif/painter_test.cpp: the animation painter on a virtual clock: delays, loop
// counts, the frame order and the pixels each disposal method leaves.
#include "tests/imaging/gif/gifsamples.h"

#include "imaging/gif/gifpainter.h"
#include "platform/gfx/canvas.h"
#include "platform/rtl/clock.h"
#include "platform/ui/virtualtime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace {

constexpr TColor Red = 0x0000FF, Blue = 0xFF0000, Green = 0x00FF00, White = 0xFFFFFF;

// Entries: 0 red, 1 blue, 2 green, 3 white.
std::unique_ptr<TGIFImage> Animation(int Frames, int Width = 4, int Height = 1)
{
    auto Image = std::make_unique<TGIFImage>();
    Image->Header()->SetWidth(Width);
    Image->Header()->SetHeight(Height);
    FillColorMap(Image->Header()->ColorMap(), {255, 0, 0, 0, 0, 255, 0, 255, 0, 255, 255, 255});
    for (int I = 0; I < Frames; ++I)
        AddSampleFrame(*Image, 0, 0, Width, Height,
                       std::vector<std::uint8_t>(static_cast<std::size_t>(Width) * Height, 0));
    return Image;
}

TGIFGraphicControlExtension* Control(TGIFSubImage* Frame, int Delay, int Disposal = 0)
{
    auto* GCE = new TGIFGraphicControlExtension(Frame);
    Frame->Extensions()->Add(GCE);
    GCE->SetDelayHundredths(Delay);
    GCE->SetDisposalMethod(Disposal);
    return GCE;
}

void Loop(TGIFSubImage* Frame, int Count)
{
    auto* Ext = new TGIFAppExtNSLoop(Frame);
    Frame->Extensions()->Add(Ext);
    Ext->SetLoops(Count);
}

const TGIFPaintOptions Inline{poAnimate, poLoop, poTransparent};

struct TShow {
    int Frame;
    std::uint32_t Time;
};

// Plays Image without a thread into a 4x1 canvas; the frames shown and when.
std::vector<TShow> Play(TGIFImage& Image, TGIFPaintOptions Options = Inline,
                        TBitmap* Target = nullptr)
{
    TBitmap Own;
    if (!Target) {
        Own.SetSize(Image.Width(), Image.Height());
        Target = &Own;
    }
    std::vector<TShow> Shows;
    Image.OnFrameShow = [&](TObject* Sender) {
        Shows.push_back({static_cast<TGIFPainter*>(Sender)->ActiveFrame(), GetTickCount()});
    };
    TGIFPainter* Painter = nullptr;
    Image.StartPainter(Painter, Target->Canvas(), Options,
                       TRect{0, 0, Image.Width(), Image.Height()});
    EXPECT_EQ(Painter, nullptr);
    return Shows;
}

std::vector<int> Frames(const std::vector<TShow>& Shows)
{
    std::vector<int> Result;
    for (const TShow& S : Shows)
        Result.push_back(S.Frame);
    return Result;
}

TEST(GIFPainter, WaitsTwelveMillisecondsPerHundredthWithinItsLimits)
{
    TVirtualTime Clock;
    auto Image = Animation(4);
    Control(Image->Images()->SubImage(0), 5);
    Control(Image->Images()->SubImage(1), 1);    // raised to 3
    Control(Image->Images()->SubImage(2), 5000); // lowered to 1000 without a thread
    const std::vector<TShow> Shows = Play(*Image);
    ASSERT_EQ(Frames(Shows), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(Shows[1].Time - Shows[0].Time, 60u);
    EXPECT_EQ(Shows[2].Time - Shows[1].Time, 36u);
    EXPECT_EQ(Shows[3].Time - Shows[2].Time, 12000u);
}

TEST(GIFPainter, SpeedScalesTheWaits)
{
    TVirtualTime Clock;
    auto Image = Animation(2);
    Control(Image->Images()->SubImage(0), 10);
    Image->SetSpeedPercent(200);
    const std::vector<TShow> Shows = Play(*Image);
    ASSERT_EQ(Shows.size(), 2u);
    EXPECT_EQ(Shows[1].Time - Shows[0].Time, 60u);
}

TEST(GIFPainter, LoopCountsRepeatFromTheLoopFrame)
{
    TVirtualTime Clock;
    auto Image = Animation(4);
    Loop(Image->Images()->SubImage(2), 3);
    EXPECT_EQ(Frames(Play(*Image)), (std::vector<int>{0, 1, 2, 3, 2, 3, 2, 3}));
}

// Without a thread the animation runs inside the caller: a count of 0 or poLoopForever plays
// the frames once instead of for ever.
TEST(GIFPainter, WithoutAThreadItNeverLoopsForEver)
{
    TVirtualTime Clock;
    auto Image = Animation(2);
    Loop(Image->Images()->SubImage(0), 0);
    EXPECT_EQ(Frames(Play(*Image)), (std::vector<int>{0, 1}));
    EXPECT_EQ(Frames(Play(*Image, Inline + TGIFPaintOptions{poLoopForever})),
              (std::vector<int>{0, 1}));
}

TEST(GIFPainter, AHandlerMayMoveTheActiveFrame)
{
    TVirtualTime Clock;
    auto Image = Animation(3);
    bool Moved = false;
    Image->OnFrameShown = [&](TObject* Sender) {
        auto* Painter = static_cast<TGIFPainter*>(Sender);
        if (Painter->ActiveFrame() == 1 && !Moved) {
            Moved = true;
            Painter->SetActiveFrame(0);
        }
    };
    EXPECT_EQ(Frames(Play(*Image)), (std::vector<int>{0, 1, 0, 1, 2}));
}

// Frame 0 fills the canvas red; frame 1 paints blue at x = 1..2 with the disposal method under
// test; frame 2 paints green at x = 3. The canvas after each frame.
std::vector<std::vector<TColor>> Disposal(int Method)
{
    TVirtualTime Clock;
    auto Image = Animation(1);
    Image->SetPaintBackground(White);
    Control(Image->Images()->SubImage(0), 0, 1);
    TGIFSubImage* Second = AddSampleFrame(*Image, 1, 0, 2, 1, {1, 1});
    Control(Second, 0, Method);
    TGIFSubImage* Third = AddSampleFrame(*Image, 3, 0, 1, 1, {2});
    Control(Third, 0, 1);
    TBitmap Target;
    Target.SetSize(4, 1);
    std::vector<std::vector<TColor>> States;
    Image->OnFrameShown = [&](TObject*) {
        std::vector<TColor> Row;
        for (int X = 0; X < 4; ++X)
            Row.push_back(Target.Canvas()->Pixels(X, 0));
        States.push_back(Row);
    };
    Play(*Image, Inline, &Target);
    return States;
}

TEST(GIFPainter, DisposalMethodsLeaveTheirPixels)
{
    using TRow = std::vector<TColor>;
    // Left in place.
    EXPECT_EQ(Disposal(1),
              (std::vector<TRow>{
                  {Red, Red, Red, Red}, {Red, Blue, Blue, Red}, {Red, Blue, Blue, Green}}));
    // Restored to the background.
    EXPECT_EQ(Disposal(2),
              (std::vector<TRow>{
                  {Red, Red, Red, Red}, {Red, Blue, Blue, Red}, {Red, White, White, Green}}));
    // Restored to the previous image.
    EXPECT_EQ(
        Disposal(3),
        (std::vector<TRow>{{Red, Red, Red, Red}, {Red, Blue, Blue, Red}, {Red, Red, Red, Green}}));
}

TEST(GIFPainter, AThreadedPainterStopsWhenAsked)
{
    auto Image = Animation(2);
    Control(Image->Images()->SubImage(0), 3);
    Control(Image->Images()->SubImage(1), 3);
    Loop(Image->Images()->SubImage(0), 0); // for ever
    int Shown = 0;
    Image->OnFrameShown = [&](TObject*) { ++Shown; };
    TBitmap Target;
    Target.SetSize(4, 1);
    TGIFPainter* Painter = nullptr;
    Image->StartPainter(Painter, Target.Canvas(), Inline + TGIFPaintOptions{poThreaded},
                        TRect{0, 0, 4, 1});
    ASSERT_NE(Painter, nullptr);
    Painter->ResumePainter();
    while (Shown < 4)
        CheckSynchronize(5);
    Image->StopAllPainters();
    EXPECT_EQ(Painter, nullptr);
    EXPECT_TRUE(Image->Painters().empty());
}

// Several animations painted by threads of their own at once, half of them through the
// composition buffers; half stop when asked, the others go with their picture.
TEST(GIFPainter, ManyThreadedPaintersRunTogetherAndEndWhenStoppedOrFreed)
{
    constexpr int Pictures = 8;
    std::vector<std::unique_ptr<TGIFImage>> Images;
    std::vector<std::unique_ptr<TBitmap>> Targets;
    std::vector<TGIFPainter*> Painters(Pictures, nullptr);
    std::vector<int> Shown(Pictures, 0); // main thread only
    for (int P = 0; P < Pictures; ++P) {
        auto Image = Animation(3);
        for (int F = 0; F < 3; ++F)
            Control(Image->Images()->SubImage(F), 3, P % 2 == 0 ? 1 : 2);
        Loop(Image->Images()->SubImage(0), 0); // for ever
        Image->OnFrameShown = [&Shown, P](TObject*) { ++Shown[P]; };
        auto Target = std::make_unique<TBitmap>();
        Target->SetSize(4, 1);
        Image->StartPainter(Painters[P], Target->Canvas(), Inline + TGIFPaintOptions{poThreaded},
                            TRect{0, 0, 4, 1});
        ASSERT_NE(Painters[P], nullptr);
        Images.push_back(std::move(Image));
        Targets.push_back(std::move(Target));
    }
    for (TGIFPainter* Painter : Painters)
        Painter->ResumePainter();
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (*std::min_element(Shown.begin(), Shown.end()) < 6 &&
           std::chrono::steady_clock::now() < Deadline)
        CheckSynchronize(100);
    EXPECT_GE(*std::min_element(Shown.begin(), Shown.end()), 6) << "every painter went round";

    for (int P = 0; P < Pictures; ++P) {
        if (P % 4 < 2) {
            Images[P]->StopAllPainters();
            EXPECT_EQ(Painters[P], nullptr);
            EXPECT_TRUE(Images[P]->Painters().empty());
        } else {
            Images[P].reset(); // stops its painter and waits for it first
        }
    }
}

} // namespace
