// The animated bitmap and the tab-stop list box: frames on virtual time, the frame arithmetic,
// a FrameCount below 1 refused, and their golden pictures in tests/fixtures/desktop/
// (TARNWICK_UPDATE_GOLDEN=1 rewrites them).
#include "desktop/animate.h"
#include "desktop/ttablist.h"

#include "platform/stdctrls/listboxwindow.h"

#include "tests/platform/stdctrls/stdctrlstest.h"
#include "tests/support/golden.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class AnimatedTest : public ::testing::Test {
protected:
    TTestApplication App;
    TVirtualTime Time;
    TDeterministicFonts Fonts;
};

// A strip of Count frames, each Size wide: frame i a coloured square on silver with i + 1 dots.
std::unique_ptr<TBitmap> Strip(int Count, int Size)
{
    auto Result = std::make_unique<TBitmap>();
    TBitmap& B = *Result;
    B.SetSize(Count * Size, Size);
    TCanvas* C = B.Canvas();
    C->Brush()->SetColor(clSilver);
    C->FillRect(Rect(0, 0, Count * Size, Size));
    static const TColor Colours[] = {clRed, clGreen, clBlue, clMaroon, clNavy};
    for (int I = 0; I < Count; ++I) {
        C->Brush()->SetColor(Colours[I % 5]);
        C->FillRect(Rect(I * Size + 4, 4, I * Size + Size - 4, Size - 4));
        C->Brush()->SetColor(clYellow);
        for (int Dot = 0; Dot <= I; ++Dot)
            C->FillRect(Rect(I * Size + 6 + Dot * 4, 8, I * Size + 8 + Dot * 4, 10));
    }
    return Result;
}

} // namespace

TEST_F(AnimatedTest, FramesAdvanceEveryIntervalAndWrapWithLoop)
{
    TForm* Form = ShownForm(&App);
    auto* A = new TAnimated(Form);
    A->SetParent(Form);
    A->SetFrameCount(10);
    A->SetFrame(4);
    A->SetInterval(300);
    std::vector<int> Frames;
    A->OnChangeFrame = [&](TObject*) { Frames.push_back(A->Frame()); };
    A->SetPlay(true);
    Spend(Time, 300 * 8);
    EXPECT_EQ(Frames, (std::vector<int>{5, 6, 7, 8, 9, 0, 1, 2}));

    // Without Loop it stops on the last frame; in reverse on frame 0.
    Frames.clear();
    A->SetLoop(false);
    Spend(Time, 300 * 10);
    EXPECT_EQ(Frames, (std::vector<int>{3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(A->Playing());
    A->SetReverse(true);
    A->SetFrame(2);
    Frames.clear();
    A->SetPlay(true);
    Spend(Time, 300 * 5);
    EXPECT_EQ(Frames, (std::vector<int>{1, 0}));
    EXPECT_FALSE(A->Playing());
}

TEST_F(AnimatedTest, FrameArithmeticAndARefusedFrameCount)
{
    TAnimated A(nullptr);
    A.SetFrameCount(10);
    struct TCase {
        int Set;
        int Reads;
    };
    for (const TCase& Case : std::vector<TCase>{{-1, 9}, {23, 3}, {9, 9}, {10, 0}, {-7, 9}}) {
        A.SetFrame(Case.Set);
        EXPECT_EQ(A.Frame(), Case.Reads) << Case.Set;
    }
    EXPECT_THROW(A.SetFrameCount(0), EAnimatedError);
    EXPECT_THROW(A.SetFrameCount(-3), EAnimatedError);
    EXPECT_EQ(A.FrameCount(), 10);
    // Interval 0: Play starts no timer.
    A.SetPlay(true);
    EXPECT_FALSE(A.Playing());
    A.SetInterval(100);
    EXPECT_TRUE(A.Playing());
    A.SetPlay(false);
    EXPECT_FALSE(A.Playing());
    // The picture sets the height; an empty one gives 30.
    const auto Tall = Strip(3, 40);
    A.SetBitMap(Tall.get());
    EXPECT_EQ(A.Height(), 40);
    TBitmap Empty;
    A.SetBitMap(&Empty);
    EXPECT_EQ(A.Height(), 30);
}

TEST_F(AnimatedTest, FramesAndTransparencyLookAsTheirGoldenPicture)
{
    TForm* Form = ShownForm(&App, 200, 60);
    Form->SetColor(clTeal);
    const auto Frames = Strip(3, 30);
    // Frames 0, 1, 2 opaque; then frame 1 with silver showing the form's teal; then empty.
    const struct {
        int Frame;
        TColor Transparent;
        bool Picture;
    } Cases[] = {{0, -1, true}, {1, -1, true}, {2, -1, true}, {1, clSilver, true}, {0, -1, false}};
    int X = 4;
    for (const auto& Case : Cases) {
        auto* A = new TAnimated(Form);
        A->SetParent(Form);
        A->SetParentColor(true);
        A->SetLeft(X);
        A->SetTop(4);
        A->SetFrameCount(3);
        if (Case.Picture)
            A->SetBitMap(Frames.get());
        A->SetFrame(Case.Frame);
        A->SetTransparentColor(Case.Transparent);
        X += 36;
    }
    Pump();
    const TRasterDevice& Raster = WindowBackBuffer(Form->Handle())->Raster();
    const TPoint Origin = Form->ClientOrigin();
    TRect Window;
    GetWindowRect(Form->Handle(), Window);
    const int Left = Origin.X - Window.Left;
    const int Top = Origin.Y - Window.Top;
    ExpectMatchesGoldenPng(Raster, Rect(Left, Top, Left + X, Top + 38), "desktop/animated.png");
}

TEST_F(AnimatedTest, TheTabListBoxPutsTabbedTextAtItsStops)
{
    TForm* Form = ShownForm(&App, 220, 120);
    auto* Box = new TTabListBox(Form);
    Box->SetParent(Form);
    Box->SetBounds(4, 4, 200, 90);
    Box->SetTabWidth(65);
    for (const char* Row : {"at\tAustria", "de\tGermany", "fr\tFrance", "ch\tSwitzerland"})
        Box->Items()->Add(Row);
    Box->SetItemIndex(1);
    Pump();
    EXPECT_NE(GetWindowLong(Box->Handle(), GWL_STYLE) & LBS_USETABSTOPS, 0);
    TRasterDevice Raster(204, 94);
    CopyWindowPicture(Box->Handle(), Raster, 0, 0);
    ExpectMatchesGoldenPng(Raster, "desktop/tablistbox.png");
}
