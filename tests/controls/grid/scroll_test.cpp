// The grid's flat scroll bars: thumbs as large as the visible share, no bar where all is in view,
// the look handed to the bars, the hint of a dragged thumb, and the thumb's way back to the grid's
// scale.
#include "tests/controls/grid/advgridfixture.h"

#include "platform/ui/flatscrollbars.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/window.h"
#include "platform/ui/windowstyles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class GridScroll : public AdvGridTest {
protected:
    void SetUp() override
    {
        AdvGridTest::SetUp();
        Grid->SetDefaultRowHeight(20);
        Grid->SetDefaultColWidth(50);
        Grid->SetGridLineWidth(1);
    }
    TScrollInfo Info(int Bar)
    {
        TScrollInfo I;
        I.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        GetScrollInfo(Grid->Handle(), Bar, I);
        return I;
    }
    bool Shows(DWORD Bar) { return (GetWindowLong(Grid->Handle(), GWL_STYLE) & Bar) != 0; }
    // Rows of 21 pixels with their lines: Rows whole ones and part of one more in view.
    void ShowRows(int Rows)
    {
        Grid->SetClientHeight(21 * Rows + 10);
        ASSERT_EQ(Grid->VisibleRowCount() + Grid->FixedRows(), Rows);
    }
    void ShowCols(int Cols)
    {
        Grid->SetClientWidth(51 * Cols + 20);
        ASSERT_EQ(Grid->VisibleColCount() + Grid->FixedCols(), Cols);
    }
    void Send(UINT Msg, unsigned Code, unsigned Pos)
    {
        SendMessage(Grid->Handle(), Msg, MakeWParam(Code, Pos), 0);
    }
};

TEST_F(GridScroll, TheThumbIsAsLargeAsTheVisibleShare)
{
    Grid->SetRowCount(20);
    Grid->SetColCount(3);
    ShowRows(11); // one fixed row and 10 of the other 19
    ASSERT_EQ(Grid->VisibleRowCount(), 10);
    Grid->SetScrollProportional(true);
    const TScrollInfo V = Info(SB_VERT);
    EXPECT_EQ(V.nMin, 0);
    EXPECT_EQ(V.nMax, 127);
    EXPECT_EQ(V.nPage, 64u);
    EXPECT_TRUE(Shows(WS_VSCROLL));

    // More rows: the thumb follows the count.
    Grid->SetRowCount(40);
    EXPECT_EQ(Info(SB_VERT).nPage, 32u);

    Grid->SetScrollProportional(false);
    EXPECT_EQ(Info(SB_VERT).nPage, 0u);
}

TEST_F(GridScroll, NoFlatBarWhereEveryRowIsInView)
{
    Grid->SetRowCount(5);
    Grid->SetColCount(3);
    Grid->SetClientHeight(300);
    ASSERT_EQ(Grid->VisibleRowCount() + Grid->FixedRows(), 5);
    Grid->SetScrollProportional(true);
    EXPECT_FALSE(Shows(WS_VSCROLL));
    EXPECT_FALSE(Shows(WS_HSCROLL));
}

TEST_F(GridScroll, TheLookGoesToTheBarsAndNoColourLeavesTheSystemsTrack)
{
    Grid->SetRowCount(30);
    Grid->SetColCount(20);
    Grid->SetScrollProportional(true);
    const HWND Wnd = Grid->Handle();
    LONG_PTR Value = 0;
    EXPECT_FALSE(FlatSB_GetScrollProp(Wnd, WSB_PROP_VBKGCOLOR, &Value)) << "clNone sets none";
    EXPECT_FALSE(FlatSB_GetScrollProp(Wnd, WSB_PROP_HBKGCOLOR, &Value));

    struct TCase {
        TScrollType Type;
        LONG_PTR Style;
    };
    for (const TCase& C : std::vector<TCase>{{ssFlat, FSB_FLAT_MODE},
                                             {ssEncarta, FSB_ENCARTA_MODE},
                                             {ssNormal, FSB_REGULAR_MODE}}) {
        Grid->SetScrollType(C.Type);
        ASSERT_TRUE(FlatSB_GetScrollProp(Wnd, WSB_PROP_VSTYLE, &Value));
        EXPECT_EQ(Value, C.Style);
        ASSERT_TRUE(FlatSB_GetScrollProp(Wnd, WSB_PROP_HSTYLE, &Value));
        EXPECT_EQ(Value, C.Style);
    }

    Grid->SetScrollColor(clRed);
    ASSERT_TRUE(FlatSB_GetScrollProp(Wnd, WSB_PROP_VBKGCOLOR, &Value));
    EXPECT_EQ(Value, clRed);

    const int Width = Grid->Width();
    const int Client = Grid->ClientWidth();
    Grid->SetScrollWidth(30);
    ASSERT_TRUE(FlatSB_GetScrollProp(Wnd, WSB_PROP_CXVSCROLL, &Value));
    EXPECT_EQ(Value, 30);
    EXPECT_EQ(Grid->Width(), Width);
    EXPECT_EQ(Grid->ClientWidth(), Client - (30 - GetSystemMetrics(SM_CXVSCROLL)));
}

TEST_F(GridScroll, ADraggedThumbHintsTheColumnOrRowItBringsIntoView)
{
    Grid->SetColCount(12);
    Grid->SetRowCount(30);
    Grid->SetFixedCols(1);
    ShowCols(6); // one fixed column and 5 others
    ASSERT_EQ(Grid->VisibleColCount(), 5);
    Grid->SetScrollHints(shBoth);
    std::vector<std::string> Hints;
    std::vector<int> Numbers;
    Grid->OnScrollHint = [&](TObject*, int ARow, std::string& Hint) {
        Numbers.push_back(ARow);
        Hints.push_back(Hint);
    };
    Send(WM_HSCROLL, SB_THUMBTRACK, 127);
    Send(WM_HSCROLL, SB_THUMBTRACK, 0);
    Send(WM_HSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(Hints, (std::vector<std::string>{"Col : 7", "Col : 1"}));
    EXPECT_EQ(Numbers, (std::vector<int>{7, 1}));

    Hints.clear();
    Grid->OnScrollHint = [&](TObject*, int, std::string& Hint) {
        Hints.push_back(Hint);
        Hint = "changed";
    };
    Send(WM_VSCROLL, SB_THUMBTRACK, 127);
    Send(WM_VSCROLL, SB_ENDSCROLL, 0);
    ASSERT_EQ(Hints.size(), 1u);
    EXPECT_EQ(Hints[0], "Row : " + std::to_string(30 - Grid->VisibleRowCount()));
}

TEST_F(GridScroll, ScrollSynchMovesTheRowsWithTheThumb)
{
    Grid->SetRowCount(30);
    ShowRows(11);
    Grid->SetScrollSynch(true);
    Send(WM_VSCROLL, SB_THUMBTRACK, 127);
    EXPECT_EQ(Grid->TopRow(), 30 - Grid->VisibleRowCount());
}

TEST_F(GridScroll, AFlatThumbPositionComesBackToTheGridsScale)
{
    Grid->SetColCount(20);
    Grid->SetRowCount(3);
    ShowCols(6); // 5 of 19 in view: page 32, the thumb runs over 0..96
    Grid->SetScrollProportional(true);
    ASSERT_EQ(Info(SB_HORZ).nPage, 32u);
    Send(WM_HSCROLL, SB_THUMBPOSITION, 96);
    EXPECT_EQ(Grid->LeftCol(), 20 - Grid->VisibleColCount());
}

TEST_F(GridScroll, AFlatVerticalThumbAtTheBottomShowsTheLastRows)
{
    Grid->SetRowCount(20);
    Grid->SetColCount(3);
    ShowRows(11);
    Grid->SetScrollProportional(true);
    Grid->SetScrollHints(shVertical);
    std::vector<int> Rows;
    Grid->OnScrollHint = [&](TObject*, int ARow, std::string&) { Rows.push_back(ARow); };
    ASSERT_EQ(Info(SB_VERT).nPage, 64u); // the thumb runs over 0..64
    EXPECT_FALSE(Shows(WS_HSCROLL)) << "every column is in view";
    Send(WM_VSCROLL, SB_THUMBTRACK, 64);
    Send(WM_VSCROLL, SB_THUMBPOSITION, 64);
    Send(WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(Grid->TopRow(), 10);
    EXPECT_EQ(Rows, (std::vector<int>{10}));
    EXPECT_EQ(Info(SB_VERT).nPos, 64);

    // Half way down the grid is half way along the thumb's run.
    Grid->SetTopRow(1 + (20 - Grid->VisibleRowCount() - 1) / 2);
    EXPECT_NEAR(Info(SB_VERT).nPos, 32, 4);
}

TEST_F(GridScroll, AThumbPositionWithEveryColumnInViewGoesToTheFirst)
{
    Grid->SetFixedCols(0);
    Grid->SetColCount(3);
    Grid->SetRowCount(30);
    ShowRows(11);
    Grid->SetScrollProportional(true);
    ASSERT_EQ(Grid->VisibleColCount(), Grid->ColCount()) << "page 128";
    EXPECT_NO_THROW(Send(WM_HSCROLL, SB_THUMBPOSITION, 5));
    Send(WM_HSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(Grid->LeftCol(), 0);
    EXPECT_TRUE(App.Messages.empty());
}

} // namespace
