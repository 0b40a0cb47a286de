// The progress bar: positions kept within the range, with and without a window, steps, and an
// empty range (Min = Max) that draws an empty bar.
#include "tests/platform/stdctrls/stdctrlstest.h"

#include "platform/stdctrls/progressbar.h"
#include "platform/stdctrls/progressbarwindow.h"
#include "platform/ui/backbuffer.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ProgressBars, PositionsStayWithinTheRange)
{
    struct TCase {
        int Min, Max, Set, Kept;
    };
    const std::vector<TCase> Cases = {
        {0, 100, 40, 40},
        {0, 100, 101, 100},
        {0, 100, -1, 0},
        {10, 20, 5, 10},
        {0, 0, 7, 0},
        {-50, 50, -20, -20},
        {0, 3000000, 2500000, 2500000}, // beyond 16 bits
        {5, 5, 5, 5},
    };
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    for (bool Windowed : {false, true}) {
        auto* Bar = new TProgressBar(Form);
        if (Windowed) {
            Bar->SetParent(Form);
            Bar->HandleNeeded();
        }
        for (const TCase& Case : Cases) {
            Bar->SetMin(Case.Min);
            Bar->SetMax(Case.Max);
            Bar->SetPosition(Case.Set);
            EXPECT_EQ(Bar->Position(), Case.Kept)
                << Case.Min << ".." << Case.Max << " " << Case.Set;
            EXPECT_EQ(Bar->Min(), Case.Min);
            EXPECT_EQ(Bar->Max(), Case.Max);
            if (Windowed) {
                TPBRange Range;
                Bar->Perform(PBM_GETRANGE, 1, reinterpret_cast<LPARAM>(&Range));
                EXPECT_EQ(Range.iLow, Case.Min);
                EXPECT_EQ(Range.iHigh, Case.Max);
            }
        }
        delete Bar;
    }
    delete Form;
}

TEST(ProgressBars, StepItStartsOverPastMaxAndStepByStopsAtTheBounds)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Bar = Place<TProgressBar>(Form, 10, 10, 150, 16);
    Bar->SetStep(30);
    std::vector<int> Seen;
    for (int I = 0; I < 4; ++I) {
        Bar->StepIt();
        Seen.push_back(Bar->Position());
    }
    EXPECT_EQ(Seen, (std::vector<int>{30, 60, 90, 20}));
    Bar->StepBy(500);
    EXPECT_EQ(Bar->Position(), 100);
    Bar->StepBy(-500);
    EXPECT_EQ(Bar->Position(), 0);
    EXPECT_EQ(Bar->Perform(PBM_SETPOS, 50, 0), 0) << "the old position";
    EXPECT_EQ(Bar->Perform(PBM_DELTAPOS, 5, 0), 50);
    EXPECT_EQ(Bar->Position(), 55);
    delete Form;
}

TEST(ProgressBars, AnEmptyRangeDrawsAnEmptyBar)
{
    TDeterministicFonts Fonts;
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Bar = Place<TProgressBar>(Form, 10, 10, 150, 16);
    Bar->SetSmooth(true);
    Bar->SetPosition(100);
    Pump();
    const TRasterDevice& Raster = WindowBackBuffer(Form->Handle())->Raster();
    const TPoint Inside{Bar->Left() + 75, Bar->Top() + 8};
    EXPECT_EQ(Raster.Pixel(Inside.X, Inside.Y), ColorToRGB(clHighlight));
    for (int Max : {0, 100}) {
        Bar->SetMin(Max);
        Bar->SetMax(Max);
        Bar->SetPosition(Max);
        Bar->Invalidate();
        Pump();
        EXPECT_EQ(Raster.Pixel(Inside.X, Inside.Y), ColorToRGB(clBtnFace)) << Max;
    }
    delete Form;
}
