// The scroll bar control: clicks on its arrows and track, a held arrow, thumb drags and the keys
// of a focused bar give OnScroll its codes and positions, and Position follows.
#include "tests/platform/stdctrls/stdctrlstest.h"

#include "platform/rtl/clock.h"
#include "platform/rtl/exceptions.h"
#include "platform/stdctrls/scrollbar.h"
#include "platform/ui/virtualtime.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TScrollSeen {
    TScrollCode Code;
    int Pos;
    bool operator==(const TScrollSeen&) const = default;
};

// A horizontal bar 200 x 16: arrows at x 0..16 and 184..200, the track between.
struct TBarFixture {
    TBarFixture() : Form(ShownForm(&App, 300, 200))
    {
        Bar = Place<TScrollBar>(Form, 20, 20, 200, 16);
        Bar->SetParams(50, 0, 100);
        Bar->SetSmallChange(1);
        Bar->SetLargeChange(10);
        Bar->OnScroll = [this](TObject*, TScrollCode Code, int& Pos) {
            Seen.push_back(TScrollSeen{Code, Pos});
        };
        Pump();
    }
    ~TBarFixture() { delete Form; }
    void Press(int X, int Y) { InjectMouseButton(Bar->Handle(), 0, true, X, Y); }
    void Release(int X, int Y) { InjectMouseButton(Bar->Handle(), 0, false, X, Y); }

    TTestApplication App;
    TForm* Form;
    TScrollBar* Bar = nullptr;
    std::vector<TScrollSeen> Seen;
};

} // namespace

TEST(ScrollBarControls, ClicksOnArrowsAndTrackScrollByTheirChange)
{
    struct TCase {
        const char* Name;
        int X;
        TScrollCode Code;
        int Pos;
    };
    // Position 50 of 0..100 puts the 16-pixel thumb at x 92..108.
    const std::vector<TCase> Cases = {
        {"left arrow", 5, scLineUp, 49},
        {"right arrow", 195, scLineDown, 51},
        {"track left of the thumb", 40, scPageUp, 40},
        {"track right of the thumb", 150, scPageDown, 60},
    };
    for (const TCase& Case : Cases) {
        TBarFixture F;
        F.Press(Case.X, 8);
        F.Release(Case.X, 8);
        Pump();
        EXPECT_EQ(F.Seen,
                  (std::vector<TScrollSeen>{{Case.Code, Case.Pos}, {scEndScroll, Case.Pos}}))
            << Case.Name;
        EXPECT_EQ(F.Bar->Position(), Case.Pos) << Case.Name;
    }
}

TEST(ScrollBarControls, AHeldArrowRepeatsUntilReleasedAndStopsAtTheEnd)
{
    TVirtualTime Clock;
    TBarFixture F;
    F.Bar->SetPosition(97);
    std::vector<std::uint32_t> Times;
    F.Bar->OnScroll = [&](TObject*, TScrollCode Code, int& Pos) {
        F.Seen.push_back(TScrollSeen{Code, Pos});
        Times.push_back(GetTickCount());
        if (F.Seen.size() == 5)
            F.Release(195, 8);
    };
    F.Press(195, 8);
    Pump();
    EXPECT_EQ(F.Seen, (std::vector<TScrollSeen>{{scLineDown, 98},
                                                {scLineDown, 99},
                                                {scLineDown, 100},
                                                {scLineDown, 100},
                                                {scLineDown, 100},
                                                {scEndScroll, 100}}));
    ASSERT_GE(Times.size(), 3u);
    EXPECT_EQ(Times[1] - Times[0], 350u) << "the first repeat waits longer";
    EXPECT_EQ(Times[2] - Times[1], 50u);
    EXPECT_EQ(GetCapture(), 0u);
}

TEST(ScrollBarControls, DraggingTheThumbTracksThenSetsThePosition)
{
    TBarFixture F;
    // The thumb (x 92..108) taken at x 100; the track has 168 - 16 = 152 pixels for 100 steps.
    F.Press(100, 8);
    InjectMouseMove(F.Bar->Handle(), 176, 8);
    InjectMouseMove(F.Bar->Handle(), 400, 30);
    InjectMouseMove(F.Bar->Handle(), 24, 8);
    F.Release(24, 8);
    Pump();
    EXPECT_EQ(F.Seen, (std::vector<TScrollSeen>{
                          {scTrack, 100}, {scTrack, 0}, {scPosition, 0}, {scEndScroll, 0}}));
    EXPECT_EQ(F.Bar->Position(), 0);
}

TEST(ScrollBarControls, KeysOfAFocusedBarStepPageAndGoToTheEnds)
{
    TBarFixture F;
    F.Bar->SetFocus();
    Pump();
    struct TCase {
        int Key;
        TScrollCode Code;
        int Pos;
    };
    const std::vector<TCase> Cases = {
        {VK_RIGHT, scLineDown, 51}, {VK_LEFT, scLineUp, 50},   {VK_DOWN, scLineDown, 51},
        {VK_UP, scLineUp, 50},      {VK_NEXT, scPageDown, 60}, {VK_PRIOR, scPageUp, 50},
        {VK_END, scBottom, 100},    {VK_HOME, scTop, 0},
    };
    for (const TCase& Case : Cases) {
        F.Seen.clear();
        InjectKeyPress(Case.Key);
        Pump();
        EXPECT_EQ(F.Seen,
                  (std::vector<TScrollSeen>{{Case.Code, Case.Pos}, {scEndScroll, Case.Pos}}))
            << Case.Key;
        EXPECT_EQ(F.Bar->Position(), Case.Pos);
    }
}

TEST(ScrollBarControls, OnScrollMayChangeWhereTheBarGoes)
{
    TBarFixture F;
    int Changes = 0;
    F.Bar->OnChange = [&](TObject*) { ++Changes; };
    F.Bar->OnScroll = [](TObject*, TScrollCode Code, int& Pos) {
        if (Code == scPageDown)
            Pos = 75;
    };
    F.Press(150, 8);
    F.Release(150, 8);
    Pump();
    EXPECT_EQ(F.Bar->Position(), 75);
    EXPECT_EQ(Changes, 1) << "once, not again for the end of the scroll";
}

TEST(ScrollBarControls, PositionsKeepWithinTheRangeLessThePage)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Bar = Place<TScrollBar>(Form, 0, 0, 200, 16);
    struct TCase {
        int Min, Max, Page, Set, Kept;
    };
    const std::vector<TCase> Cases = {
        {0, 100, 0, 150, 100},
        {0, 100, 10, 150, 91},
        {0, 100, 10, -4, 0},
        {20, 30, 0, 0, 20},
    };
    for (const TCase& Case : Cases) {
        Bar->SetParams(Case.Min, Case.Min, Case.Max);
        Bar->SetPageSize(Case.Page);
        Bar->SetPosition(Case.Set);
        EXPECT_EQ(Bar->Position(), Case.Kept);
    }
    EXPECT_THROW(Bar->SetParams(0, 10, 5), EInvalidOperation);
    delete Form;
}
