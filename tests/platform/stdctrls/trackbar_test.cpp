// Track bars: keys by line and page sizes, channel clicks paging on a timer, dragging the thumb,
// positions at the bounds of the range, ticks, and the look in its states.
#include "tests/platform/stdctrls/stdctrlstest.h"
#include "tests/support/golden.h"

#include "platform/gfx/rasterdevice.h"
#include "platform/stdctrls/trackbar.h"
#include "platform/stdctrls/trackbarwindow.h"
#include "platform/ui/virtualtime.h"

#include <gtest/gtest.h>

namespace {

class TrackBars : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = ShownForm(&App, 320, 240);
        Bar = Place<TTrackBar>(Form, 10, 10, 150, 45);
        Bar->OnChange = [this](TObject*) { ++Changes; };
        // The codes the parent heard, and the positions the thumb reported with them.
        Intercept(Bar, [this](TMessage& M) {
            if (M.Msg == CN_HSCROLL || M.Msg == CN_VSCROLL) {
                Codes.push_back(LoWord(M.WParam));
                if (LoWord(M.WParam) == TB_THUMBTRACK || LoWord(M.WParam) == TB_THUMBPOSITION)
                    Reported.push_back(static_cast<int>(HiWord(M.WParam)));
                Vertical = M.Msg == CN_VSCROLL;
            }
            return false;
        });
        Pump();
    }

    void Spend(int Ms) { ::Spend(Time, Ms); }
    void Press(int X, int Y) { MouseButtonAt(Bar, X, Y, true); }
    void MoveTo(int X, int Y) { MouseMoveAt(Bar, X, Y); }
    void Release(int X, int Y) { MouseButtonAt(Bar, X, Y, false, false); }
    TRect ThumbRect()
    {
        TRect R;
        Bar->Perform(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&R));
        return R;
    }

    TVirtualTime Time;
    TTestApplication App;
    TForm* Form = nullptr;
    TTrackBar* Bar = nullptr;
    int Changes = 0;
    std::vector<unsigned> Codes;
    std::vector<int> Reported;
    bool Vertical = false;
};

} // namespace

TEST_F(TrackBars, KeysStepByLineAndPageSizesAndStopAtTheEnds)
{
    Bar->SetMax(20);
    Bar->SetLineSize(2);
    Bar->SetPageSize(5);
    Bar->SetPosition(10);
    Bar->SetFocus();
    Pump();
    struct TCase {
        int Key;
        int Position;
        unsigned Code;
        bool Moved;
    };
    const std::vector<TCase> Cases = {
        {VK_RIGHT, 12, TB_LINEDOWN, true}, {VK_DOWN, 14, TB_LINEDOWN, true},
        {VK_LEFT, 12, TB_LINEUP, true},    {VK_UP, 10, TB_LINEUP, true},
        {VK_NEXT, 15, TB_PAGEDOWN, true},  {VK_NEXT, 20, TB_PAGEDOWN, true},
        {VK_NEXT, 20, TB_PAGEDOWN, false}, {VK_RIGHT, 20, TB_LINEDOWN, false},
        {VK_PRIOR, 15, TB_PAGEUP, true},   {VK_HOME, 0, TB_TOP, true},
        {VK_LEFT, 0, TB_LINEUP, false},    {VK_END, 20, TB_BOTTOM, true},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(::testing::Message() << "key " << Case.Key << " to " << Case.Position);
        Codes.clear();
        const int Before = Changes;
        InjectKeyPress(Case.Key);
        Pump();
        EXPECT_EQ(Bar->Position(), Case.Position);
        // Every request is told, then its end when the key comes up.
        EXPECT_EQ(Codes, (std::vector<unsigned>{Case.Code, TB_ENDTRACK}));
        EXPECT_EQ(Changes - Before, Case.Moved ? 1 : 0);
        EXPECT_FALSE(Vertical);
    }
}

TEST_F(TrackBars, AVerticalBarTellsItsParentWithVerticalScrollMessages)
{
    Bar->SetOrientation(trVertical);
    EXPECT_EQ(Bar->Width(), 45); // the sides swap
    EXPECT_EQ(Bar->Height(), 150);
    Bar->SetFocus();
    InjectKeyPress(VK_DOWN);
    Pump();
    EXPECT_EQ(Bar->Position(), 1);
    EXPECT_TRUE(Vertical);
    const TRect Thumb = ThumbRect();
    EXPECT_GT(Thumb.Height(), 0);
    EXPECT_LT(Thumb.Height(), Thumb.Width()); // lying across a standing channel
}

TEST_F(TrackBars, HoldingTheMouseBesideTheThumbPagesTowardsItOnATimer)
{
    Bar->SetMax(100);
    Bar->SetPageSize(10);
    Bar->SetPosition(0);
    const TRect Start = ThumbRect();
    // A point about half-way: paging stops once the thumb covers it.
    const int X = 75, Y = (Start.Top + Start.Bottom) / 2;
    Press(X, Y);
    EXPECT_TRUE(Bar->Focused());
    struct TStep {
        int Wait;
        int Position;
    };
    const std::vector<TStep> Steps = {
        {0, 10}, {390, 10}, {10, 20}, {100, 30}, {100, 40}, {100, 50}, {1000, 50},
    };
    for (const TStep& Step : Steps) {
        Spend(Step.Wait);
        EXPECT_EQ(Bar->Position(), Step.Position) << "after " << Step.Wait << " ms more";
    }
    const TRect Reached = ThumbRect();
    EXPECT_TRUE(X >= Reached.Left && X < Reached.Right);
    Release(X, Y);
    EXPECT_EQ(Codes, (std::vector<unsigned>{TB_PAGEDOWN, TB_PAGEDOWN, TB_PAGEDOWN, TB_PAGEDOWN,
                                            TB_PAGEDOWN, TB_ENDTRACK}));
    EXPECT_EQ(Changes, 5);
    // Left of the thumb pages back; the release stops the repeat.
    Codes.clear();
    Press(10, Y);
    Spend(50);
    Release(10, Y);
    Spend(1000);
    EXPECT_EQ(Bar->Position(), 40);
    EXPECT_EQ(Codes, (std::vector<unsigned>{TB_PAGEUP, TB_ENDTRACK}));
}

TEST_F(TrackBars, DraggingTheThumbFollowsThePointerWithinTheRange)
{
    Bar->SetMax(20);
    const TRect Thumb = ThumbRect();
    const int Grip = (Thumb.Left + Thumb.Right) / 2, Y = (Thumb.Top + Thumb.Bottom) / 2;
    TRect Channel;
    Bar->Perform(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&Channel));
    const int Middle = (Channel.Left + Channel.Right) / 2;
    Press(Grip, Y);
    struct TCase {
        const char* Name;
        int X;
        int Position;
    };
    const std::vector<TCase> Cases = {
        {"the middle of the channel", Middle, 10},
        {"beyond the right end", Bar->Width() + 200, 20},
        {"beyond the left end", -300, 0},
        {"a quarter in", Channel.Left + (Channel.Right - Channel.Left) / 4, 5},
    };
    for (const TCase& Case : Cases) {
        MoveTo(Case.X, Y + 3); // a little off the line is still a drag
        EXPECT_EQ(Bar->Position(), Case.Position) << Case.Name;
        EXPECT_EQ(Reported.back(), Case.Position) << Case.Name;
    }
    Codes.clear();
    Release(Cases.back().X, Y);
    EXPECT_EQ(Codes, (std::vector<unsigned>{TB_THUMBPOSITION, TB_ENDTRACK}));
    EXPECT_EQ(Reported.back(), 5);
    EXPECT_EQ(Changes, 4);
    // Once let go, moving the mouse moves nothing.
    MoveTo(Middle, Y);
    EXPECT_EQ(Bar->Position(), 5);
}

TEST_F(TrackBars, PositionsAreKeptWithinTheRangeAndTheRangeCannotTurnOver)
{
    struct TCase {
        const char* Name;
        std::function<void()> Act;
        int Min, Max, Position;
    };
    const std::vector<TCase> Cases = {
        {"defaults", [] {}, 0, 10, 0},
        {"above Max", [&] { Bar->SetPosition(50); }, 0, 10, 10},
        {"below Min", [&] { Bar->SetPosition(-5); }, 0, 10, 0},
        {"Max lowered under the position",
         [&] {
             Bar->SetPosition(8);
             Bar->SetMax(6);
         },
         0, 6, 6},
        {"Min raised over the position", [&] { Bar->SetMin(3); }, 3, 6, 6},
        {"Min above Max refused", [&] { Bar->SetMin(9); }, 3, 6, 6},
        {"Max below Min refused", [&] { Bar->SetMax(1); }, 3, 6, 6},
        {"Min equal to Max", [&] { Bar->SetMin(6); }, 6, 6, 6},
        {"negative range",
         [&] {
             Bar->SetMin(-40);
             Bar->SetPosition(-41);
         },
         -40, 6, -40},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Case.Act();
        EXPECT_EQ(Bar->Min(), Case.Min);
        EXPECT_EQ(Bar->Max(), Case.Max);
        EXPECT_EQ(Bar->Position(), Case.Position);
        EXPECT_EQ(Bar->Perform(TBM_GETRANGEMIN, 0, 0), Case.Min);
        EXPECT_EQ(Bar->Perform(TBM_GETRANGEMAX, 0, 0), Case.Max);
    }
}

TEST_F(TrackBars, TheWindowPinsThePositionWhenItsMinPassesItsMax)
{
    const HWND Wnd = Bar->Handle();
    SendMessage(Wnd, TBM_SETRANGEMIN, 1, 30); // Max stays 10
    EXPECT_EQ(SendMessage(Wnd, TBM_GETPOS, 0, 0), 30);
    SendMessage(Wnd, TBM_SETPOS, 1, 20);
    EXPECT_EQ(SendMessage(Wnd, TBM_GETPOS, 0, 0), 30);
    TRect Thumb, Channel;
    SendMessage(Wnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&Thumb));
    SendMessage(Wnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&Channel));
    EXPECT_EQ(Thumb.Left, Channel.Left); // no division by an empty range
    Bar->SetFocus();
    InjectKeyPress(VK_END);
    InjectKeyPress(VK_LEFT);
    Pump();
    EXPECT_EQ(SendMessage(Wnd, TBM_GETPOS, 0, 0), 30);
}

TEST_F(TrackBars, TicksFollowTheStyleFrequencyAndRange)
{
    struct TCase {
        const char* Name;
        std::function<void()> Act;
        int NumTics;
    };
    const std::vector<TCase> Cases = {
        {"every position of 0..10", [] {}, 11},
        {"every fourth", [&] { Bar->SetFrequency(4); }, 4}, // 0, 4, 8, 10
        {"a wider range", [&] { Bar->SetMax(20); }, 6},     // 0, 4 ... 16, 20
        {"manual ticks",
         [&] {
             Bar->SetTickStyle(tsManual);
             Bar->SetTick(5);
             Bar->SetTick(5);
             Bar->SetTick(25); // outside: not drawn
         },
         3},
        {"manual ticks outside the new range go", [&] { Bar->SetMax(4); }, 2},
        {"no ticks", [&] { Bar->SetTickStyle(tsNone); }, 0},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Case.Act();
        EXPECT_EQ(Bar->Perform(TBM_GETNUMTICS, 0, 0), Case.NumTics);
    }
    EXPECT_EQ(Bar->Perform(TBM_SETTIC, 0, 100), 0);
}

TEST_F(TrackBars, LookLikeTheirGoldenPictures)
{
    struct TCase {
        const char* File;
        std::function<void(TTrackBar*)> Set;
    };
    const std::vector<TCase> Cases = {
        {"trackbar_horizontal.png", [](TTrackBar* B) { B->SetPosition(3); }},
        {"trackbar_both_selection.png",
         [](TTrackBar* B) {
             B->SetTickMarks(tmBoth);
             B->SetSelStart(2);
             B->SetSelEnd(6);
             B->SetPosition(4);
         }},
        {"trackbar_focused_top.png",
         [](TTrackBar* B) {
             B->SetTickMarks(tmTopLeft);
             B->SetPosition(10);
             B->SetFocus();
         }},
        {"trackbar_vertical.png",
         [](TTrackBar* B) {
             B->SetOrientation(trVertical);
             B->SetMax(20);
             B->SetFrequency(5);
             B->SetPosition(15);
         }},
        {"trackbar_vertical_left.png",
         [](TTrackBar* B) {
             B->SetOrientation(trVertical);
             B->SetTickMarks(tmTopLeft);
             B->SetPosition(2);
         }},
        {"trackbar_noticks_disabled.png",
         [](TTrackBar* B) {
             B->SetTickStyle(tsNone);
             B->SetPosition(7);
             B->SetEnabled(false);
         }},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.File);
        auto* B = Place<TTrackBar>(Form, 170, 10, 150, 45);
        Case.Set(B);
        Pump();
        TRasterDevice Device(B->Width(), B->Height());
        CopyWindowPicture(B->Handle(), Device, 0, 0);
        ExpectMatchesGoldenPng(Device, std::string("stdctrls/") + Case.File);
        delete B;
        Pump();
    }
}
