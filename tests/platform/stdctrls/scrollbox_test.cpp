// The scroll box: ranges from its children, its bars and the wheel move the children, and
// ScrollInView scrolls the least that shows a child.
#include "tests/platform/stdctrls/stdctrlstest.h"

#include "platform/stdctrls/panel.h"
#include "platform/stdctrls/scrollbox.h"
#include "platform/ui/scrollbars.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A 200 x 100 box without a border holding a child that reaches to (600, 400).
struct TBoxFixture {
    TBoxFixture() : Form(ShownForm(&App, 400, 300))
    {
        Box = Place<TScrollBox>(Form, 10, 10, 200, 100);
        Box->SetBorderStyle(bsNone);
        Far = Place<TPanel>(Box, 560, 360, 40, 40);
        Pump();
    }
    ~TBoxFixture() { delete Form; }

    TTestApplication App;
    TForm* Form;
    TScrollBox* Box = nullptr;
    TPanel* Far = nullptr;
};

} // namespace

TEST(ScrollBoxes, TheRangesFollowTheChildrenAndShowTheBars)
{
    TBoxFixture F;
    EXPECT_EQ(F.Box->HorzScrollBar()->Range(), 600);
    EXPECT_EQ(F.Box->VertScrollBar()->Range(), 400);
    const LONG_PTR Style = GetWindowLong(F.Box->Handle(), GWL_STYLE);
    EXPECT_TRUE(Style & WS_HSCROLL);
    EXPECT_TRUE(Style & WS_VSCROLL);
    EXPECT_EQ(F.Box->ClientRect(), Rect(0, 0, 184, 84));
    TScrollInfo Info;
    Info.fMask = SIF_ALL;
    GetScrollInfo(F.Box->Handle(), SB_VERT, Info);
    EXPECT_EQ(Info.nMax, 399);
    EXPECT_EQ(Info.nPage, 84u);

    F.Far->SetBounds(10, 10, 40, 40);
    Pump();
    EXPECT_FALSE(GetWindowLong(F.Box->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL))
        << "everything fits";
}

TEST(ScrollBoxes, ThePositionMovesTheChildrenAndStaysWithinTheRange)
{
    TBoxFixture F;
    auto* Near = Place<TPanel>(F.Box, 20, 30, 50, 20);
    F.Box->VertScrollBar()->SetPosition(100);
    EXPECT_EQ(Near->Top(), -70);
    EXPECT_EQ(F.Far->Top(), 260);
    EXPECT_EQ(GetScrollPos(F.Box->Handle(), SB_VERT), 100);
    F.Box->VertScrollBar()->SetPosition(10000);
    EXPECT_EQ(F.Box->VertScrollBar()->Position(), 400 - 84);
    EXPECT_EQ(F.Far->Top() + F.Far->Height(), 84) << "the last child ends at the bottom";
    F.Box->HorzScrollBar()->SetPosition(-5);
    EXPECT_EQ(F.Box->HorzScrollBar()->Position(), 0);
    EXPECT_EQ(Near->Left(), 20);
    EXPECT_EQ(F.Box->VertScrollBar()->Range(), 400) << "scrolling keeps the range";
}

TEST(ScrollBoxes, TheBarsAndTheWheelScroll)
{
    TBoxFixture F;
    // The vertical bar is at x 184..200 of the box's window; its down arrow at y 68..84.
    TForm* Form = F.Form;
    const TPoint Down = Form->ScreenToClient(F.Box->ClientToScreen(TPoint{192, 76}));
    InjectMouseButton(Form->Handle(), 0, true, Down.X, Down.Y);
    InjectMouseButton(Form->Handle(), 0, false, Down.X, Down.Y);
    Pump();
    EXPECT_EQ(F.Box->VertScrollBar()->Position(), 8) << "one increment";

    F.Box->SetFocus();
    InjectMouseWheel(F.Box->Handle(), -WHEEL_DELTA, 50, 50);
    Pump();
    EXPECT_EQ(F.Box->VertScrollBar()->Position(), 32) << "three increments a notch";
    InjectMouseWheel(F.Box->Handle(), 2 * WHEEL_DELTA, 50, 50);
    Pump();
    EXPECT_EQ(F.Box->VertScrollBar()->Position(), 0);
}

TEST(ScrollBoxes, ScrollInViewScrollsTheLeastThatShowsTheChild)
{
    struct TCase {
        const char* Name;
        TRect Child; // where it lies on the scrolled area
        int FromX, FromY;
        int ToX, ToY;
    };
    // The view is 184 x 84 of an area of 600 x 400.
    const std::vector<TCase> Cases = {
        {"already in view", Rect(20, 20, 60, 40), 0, 0, 0, 0},
        {"left of the view", Rect(50, 20, 90, 40), 100, 0, 50, 0},
        {"right of the view", Rect(300, 20, 340, 40), 0, 0, 156, 0},
        {"above the view", Rect(20, 30, 60, 50), 0, 200, 0, 30},
        {"below the view", Rect(20, 200, 60, 230), 0, 0, 0, 146},
        {"larger than the view", Rect(100, 100, 400, 300), 0, 0, 100, 100},
        {"beyond on both axes", Rect(500, 300, 540, 340), 0, 0, 356, 256},
    };
    for (const TCase& Case : Cases) {
        TBoxFixture F;
        auto* Child = Place<TPanel>(F.Box, Case.Child.Left, Case.Child.Top, Case.Child.Width(),
                                    Case.Child.Height());
        F.Box->HorzScrollBar()->SetPosition(Case.FromX);
        F.Box->VertScrollBar()->SetPosition(Case.FromY);
        F.Box->ScrollInView(Child);
        EXPECT_EQ(F.Box->HorzScrollBar()->Position(), Case.ToX) << Case.Name;
        EXPECT_EQ(F.Box->VertScrollBar()->Position(), Case.ToY) << Case.Name;
    }
}
