// The string grid and the masked edit on an X server: the arrow keys move the current cell, F2
// and typing edit a cell that Enter commits, dragging a column's divider in the fixed row sizes
// the column, typing into the masked edit fills its mask, and the page looks like its reference.
#include "tests/gui/stdctrls/controlsfixture.h"

#include "platform/stdctrls/grids.h"
#include "platform/stdctrls/maskedit.h"

namespace {

using guitest::PumpUntil;
using guitest::RunTool;
using GridPage = guitest::ControlsPageTest<&guitest::BuildGridPage>;

TEST_F(GridPage, LooksLikeItsReference)
{
    ASSERT_NE(Demo().Grid, nullptr);
    ExpectLooksLike("grid");
}

TEST_F(GridPage, ArrowKeysMoveThroughTheGrid)
{
    TStringGrid* G = Demo().Grid;
    // A press on another cell than the current one makes it current (on the current one it
    // would edit it).
    ClickAt(G, TPoint{G->CellRect(1, 2).Left + 5, G->CellRect(1, 2).Top + 5});
    ASSERT_TRUE(PumpUntil([&] { return G->Focused() && G->Row() == 2; }));
    struct TStep {
        const char* Key;
        int Col;
        int Row;
    };
    const std::vector<TStep> Steps = {
        {"Right", 2, 2}, {"Down", 2, 3}, {"Down", 2, 4}, {"Left", 1, 4},
        {"Up", 1, 3},    {"End", 4, 3},  {"Home", 1, 3}, {"Tab", 2, 3},
    };
    for (const TStep& S : Steps) {
        Keys({S.Key});
        EXPECT_TRUE(PumpUntil([&] { return G->Col() == S.Col && G->Row() == S.Row; }))
            << S.Key << " left " << G->Col() << "," << G->Row();
    }
}

TEST_F(GridPage, F2AndTypingEditACellThatEnterCommits)
{
    TStringGrid* G = Demo().Grid;
    ClickAt(G, TPoint{G->CellRect(2, 3).Left + 5, G->CellRect(2, 3).Top + 5});
    ASSERT_TRUE(PumpUntil([&] { return G->Row() == 3 && G->Col() == 2 && G->Focused(); }));
    Keys({"F2"});
    Type("!");
    Keys({"Return"});
    EXPECT_TRUE(PumpUntil([&] { return G->Cells(2, 3) == "Note 3!" && G->Focused(); }))
        << G->Cells(2, 3);
    // Typing on the grid replaces the text of the cell; Escape would have put it back.
    Keys({"Down"});
    Type("fresh");
    Keys({"Escape"});
    EXPECT_TRUE(PumpUntil([&] { return G->Focused(); }));
    EXPECT_EQ(G->Cells(2, 4), "Note 4");
    Type("fresh");
    Keys({"Return"});
    EXPECT_TRUE(PumpUntil([&] { return G->Cells(2, 4) == "fresh" && G->Focused(); }))
        << G->Cells(2, 4);
}

TEST_F(GridPage, DraggingADividerInTheFixedRowSizesTheColumn)
{
    TStringGrid* G = Demo().Grid;
    const TRect Heading = G->CellRect(1, 0);
    const int Y = (Heading.Top + Heading.Bottom) / 2;
    MoveTo(G, TPoint{Heading.Right, Y});
    ASSERT_EQ(RunTool(Display, {"xdotool", "mousedown", "1"}).Status, 0);
    MoveTo(G, TPoint{Heading.Right + 15, Y});
    MoveTo(G, TPoint{Heading.Right + 30, Y});
    ASSERT_EQ(RunTool(Display, {"xdotool", "mouseup", "1"}).Status, 0);
    EXPECT_TRUE(PumpUntil([&] { return G->ColWidths(1) == 64 + 30; })) << G->ColWidths(1);
    EXPECT_EQ(G->ColWidths(2), 64);
}

TEST_F(GridPage, TypingIntoTheMaskedEditFillsTheMask)
{
    TMaskEdit* M = Demo().MaskEdit;
    ClickAt(M, TPoint{5, M->ClientHeight() / 2});
    ASSERT_TRUE(PumpUntil([&] { return M->Focused(); }));
    Keys({"Home"});
    Type("555x1234567");
    EXPECT_TRUE(PumpUntil([&] { return M->EditText() == "(555) 123-4567"; })) << M->EditText();
    EXPECT_EQ(M->Text(), "(555) 123-4567");
}

} // namespace
