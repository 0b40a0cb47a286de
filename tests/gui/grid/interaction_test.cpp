// tests/gui/grid/interaction_test.cpp: the grid under the desktop's pointer and keyboard on a
// private X server: heading clicks that sort and show their glyph, border presses that size,
// headings dragged to move a column, border double-clicks, links, and the clipboard shortcuts
// against xclip.
#include "tests/gui/formfixture.h"

#include "controls/grid/advgrid.h"
#include "platform/ui/shellopen.h"

#include <string>

namespace {

using guitest::PumpUntil;

class TInteractionForm : public TForm {
public:
    explicit TInteractionForm(TComponent* AOwner) : TForm(AOwner), Grid(new TAdvStringGrid(this))
    {
        SetCaption("Grid interaction");
        SetClientWidth(460);
        SetClientHeight(220);
        Grid->SetParent(this);
        Grid->SetBounds(8, 8, 440, 200);
        Grid->SetColCount(4);
        Grid->SetRowCount(5);
        Grid->SetDefaultColWidth(90);
        const char* Texts[5][4] = {{"", "Name", "Size", "Link"},
                                   {"1", "b", "20", "http://example.com/b"},
                                   {"2", "c", "30", "x"},
                                   {"3", "a", "10", "y"},
                                   {"4", "d", "40", "z"}};
        for (int R = 0; R < 5; ++R)
            for (int C = 0; C < 4; ++C)
                Grid->SetCells(C, R, Texts[R][C]);
    }

    TAdvStringGrid* Grid;
};

// A white 9 x 9 glyph with a solid square of Color in the middle.
void PaintGlyph(TBitmap* Glyph, TColor Color)
{
    TBitmap B;
    B.SetWidth(9);
    B.SetHeight(9);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(TRect{0, 0, 9, 9});
    B.Canvas()->Brush()->SetColor(Color);
    B.Canvas()->FillRect(TRect{2, 2, 7, 7});
    Glyph->Assign(&B);
}

class GridInteractionX11 : public guitest::FormScreenTest<TInteractionForm> {
protected:
    TInteractionForm* MakeForm() override { return new TInteractionForm(App.get()); }

    void SetUp() override
    {
        guitest::FormScreenTest<TInteractionForm>::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Grid = Form->Grid;
        Grid->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return Grid->Focused() && Painted(); }));
    }

    TPoint CellPoint(int ACol, int ARow, int Dx = 0) const
    {
        const TRect R = Grid->CellRect(ACol, ARow);
        return TPoint{(R.Left + R.Right) / 2 + Dx, (R.Top + R.Bottom) / 2};
    }
    void ClickCell(int ACol, int ARow, int Dx = 0)
    {
        ClickAt(Grid, CellPoint(ACol, ARow, Dx));
        guitest::Pump(50);
    }
    void Tool(const std::vector<std::string>& Args)
    {
        ASSERT_EQ(guitest::RunTool(Display, Args).Status, 0);
        guitest::Pump(30);
    }
    // Whether the form's picture shows Color somewhere in the grid's cell.
    bool CellShows(const TDibImage& Shot, int ACol, int ARow, TColor Color)
    {
        const TRect R = Grid->CellRect(ACol, ARow);
        TRect Window;
        GetWindowRect(Form->Handle(), Window);
        const TPoint Origin = OnScreen(Grid, TPoint{0, 0});
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X) {
                const int IX = Origin.X - Window.Left + X;
                const int IY = Origin.Y - Window.Top + Y;
                if (IX >= 0 && IY >= 0 && IX < Shot.Width && IY < Shot.Height &&
                    (Shot.Pixel(IX, IY) & 0xFFFFFF) == (Color & 0xFFFFFF))
                    return true;
            }
        return false;
    }
    std::vector<std::string> Column(int ACol)
    {
        std::vector<std::string> Out;
        for (int R = 1; R < Grid->RowCount(); ++R)
            Out.push_back(Grid->Cells(ACol, R));
        return Out;
    }

    TAdvStringGrid* Grid = nullptr;
};

TEST_F(GridInteractionX11, HeadingClicksSortAscendingThenDescendingWithTheirGlyph)
{
    Grid->SetSortShow(true);
    PaintGlyph(Grid->SortUpGlyph(), clRed);
    PaintGlyph(Grid->SortDownGlyph(), clBlue);
    std::vector<int> Sorted;
    Grid->OnClickSort = [&](TObject*, int ACol) { Sorted.push_back(ACol); };
    ClickCell(1, 0, -10);
    EXPECT_EQ(Grid->SortColumn(), 1);
    EXPECT_EQ(Grid->SortDirection(), sdAscending);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"a", "b", "c", "d"}));
    TDibImage Shot = ExpectScreenShowsBackBuffer();
    EXPECT_TRUE(CellShows(Shot, 1, 0, clRed));
    EXPECT_FALSE(CellShows(Shot, 1, 0, clBlue));
    EXPECT_FALSE(CellShows(Shot, 2, 0, clRed));

    ClickCell(1, 0, 10);
    EXPECT_EQ(Grid->SortDirection(), sdDescending);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"d", "c", "b", "a"}));
    Shot = ExpectScreenShowsBackBuffer();
    EXPECT_TRUE(CellShows(Shot, 1, 0, clBlue));
    EXPECT_FALSE(CellShows(Shot, 1, 0, clRed));
    EXPECT_EQ(Sorted, (std::vector<int>{1, 1}));
}

TEST_F(GridInteractionX11, APressNearAHeadingBorderSizesAndNeverSorts)
{
    Grid->SetSortShow(true);
    Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing});
    int Sorts = 0;
    Grid->OnClickSort = [&](TObject*, int) { ++Sorts; };
    const TRect R = Grid->CellRect(1, 0);
    const int Y = (R.Top + R.Bottom) / 2;
    MoveTo(Grid, TPoint{R.Right - 2, Y});
    Tool({"xdotool", "mousedown", "1"});
    MoveTo(Grid, TPoint{R.Right + 28, Y});
    guitest::Pump(30);
    Tool({"xdotool", "mouseup", "1"});
    EXPECT_EQ(Grid->ColWidths(1), 120);
    EXPECT_EQ(Sorts, 0);
    // A click on the border without a drag does not sort either.
    ClickAt(Grid, TPoint{Grid->CellRect(2, 0).Right + 1, Y});
    guitest::Pump(50);
    EXPECT_EQ(Sorts, 0);
}

TEST_F(GridInteractionX11, DraggingAHeadingMovesTheColumnAndTheSortColumnFollows)
{
    Grid->SetEnhRowColMove(true);
    Grid->SetOptions(Grid->Options() + TGridOptions{goColMoving});
    Grid->SetSortColumn(1);
    MoveTo(Grid, CellPoint(1, 0));
    Tool({"xdotool", "mousedown", "1"});
    for (int Dx : {20, 60, 100, 140, 180})
        MoveTo(Grid, CellPoint(1, 0, Dx));
    guitest::Pump(50);
    Tool({"xdotool", "mouseup", "1"});
    guitest::Pump(50);
    EXPECT_EQ(Grid->Cells(3, 0), "Name");
    EXPECT_EQ(Grid->Cells(1, 0), "Size");
    EXPECT_EQ(Grid->Cells(3, 1), "b");
    EXPECT_EQ(Grid->SortColumn(), 3);
}

TEST_F(GridInteractionX11, ADoubleClickOnAHeadingBorderAutoSizes)
{
    Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing});
    Grid->SetCells(1, 2, "a much longer text than the column shows");
    const TRect R = Grid->CellRect(1, 0);
    MoveTo(Grid, TPoint{R.Right - 1, (R.Top + R.Bottom) / 2});
    Tool({"xdotool", "click", "--repeat", "2", "--delay", "40", "1"});
    guitest::Pump(50);
    EXPECT_GT(Grid->ColWidths(1), 150);
}

TEST_F(GridInteractionX11, ALinkClickStartsTheBrowserWithAnArgumentVector)
{
    TLaunchRecorder Launches;
    Grid->SetURLShow(true);
    ClickCell(3, 1);
    ASSERT_EQ(Launches.Launches().size(), 1u);
    EXPECT_EQ(Launches.Launches()[0].Argv,
              (std::vector<std::string>{"xdg-open", "http://example.com/b"}));
}

TEST_F(GridInteractionX11, CtrlCAndCtrlVGoThroughTheClipboard)
{
    Grid->Navigation()->AllowClipboardShortCuts = true;
    // A paste needs a grid that edits (or AllowClipboardAlways).
    Grid->Navigation()->AllowClipboardAlways = true;
    Grid->SetCells(1, 1, "a");
    Grid->SetCells(2, 1, "b");
    Grid->SetCells(1, 2, "c");
    Grid->SetCells(2, 2, "d");
    Grid->SetSelection(TGridRect{1, 1, 2, 2});
    Keys({"ctrl+c"});
    guitest::Pump(50);
    const auto Out = guitest::RunTool(Display, {"xclip", "-o", "-selection", "clipboard"});
    EXPECT_EQ(Out.Status, 0);
    EXPECT_EQ(Out.Output, "a\tb\r\nc\td\r\n");

    const pid_t Tool = guitest::StartTool(
        Display, {"xclip", "-i", "-selection", "clipboard", "-quiet", "-loops", "3"}, "p\tq\r\n");
    ASSERT_NE(Tool, 0);
    guitest::Pump(200);
    Grid->SetSelection(TGridRect{1, 3, 1, 3});
    Keys({"ctrl+v"});
    ASSERT_TRUE(PumpUntil([&] { return Grid->Cells(1, 3) == "p"; }));
    EXPECT_EQ(Grid->Cells(2, 3), "q");
    guitest::EndTool(Tool);
}

} // namespace
