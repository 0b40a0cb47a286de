// The string grid's cells, kept beyond the counts, its rows and columns as string lists and
// moved with the columns and rows; the draw grid's events; both grids' look.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/stdctrls/grids.h"

namespace {

using StringGridTest = ListTest;

class TMovableGrid : public TStringGrid {
public:
    explicit TMovableGrid(TComponent* AOwner) : TStringGrid(AOwner) {}
    using TCustomGrid::DeleteRow;
    using TCustomGrid::MoveColumn;
    using TCustomGrid::MoveRow;
};

TEST_F(StringGridTest, CellsOutsideTheCountsAreKept)
{
    auto* G = Place<TStringGrid>(0, 0, 200, 100);
    TObject Tag;
    G->SetCells(4, 4, "corner");
    G->SetObjects(4, 4, &Tag);
    G->SetCells(9, 2, "past the columns");
    struct TCase {
        const char* Name;
        int Cols;
        int Rows;
    };
    const std::vector<TCase> Steps = {
        {"shrunk", 2, 2}, {"shrunk to one", 1, 1}, {"grown again", 5, 5}, {"grown far", 20, 20}};
    for (const TCase& S : Steps) {
        G->SetColCount(S.Cols);
        G->SetRowCount(S.Rows);
        EXPECT_EQ(G->Cells(4, 4), "corner") << S.Name;
        EXPECT_EQ(G->Objects(4, 4), &Tag) << S.Name;
        EXPECT_EQ(G->Cells(9, 2), "past the columns") << S.Name;
        EXPECT_EQ(G->Cells(1000, 1000), "") << S.Name;
        EXPECT_EQ(G->Objects(3, 3), nullptr) << S.Name;
    }
    EXPECT_THROW(G->SetCells(-1, 0, "x"), EInvalidGridOperation);
    EXPECT_THROW((void)G->Cells(0, -1), EInvalidGridOperation);
}

TEST_F(StringGridTest, RowsAndColsAreListsOverTheCells)
{
    auto* G = Place<TStringGrid>(0, 0, 200, 100);
    G->SetColCount(3);
    G->SetRowCount(4);
    TStrings* Row = G->Rows(1);
    EXPECT_EQ(Row->Count(), 3);
    Row->Put(0, "a");
    EXPECT_EQ(Row->Add("b"), 1);
    EXPECT_EQ(Row->Add("c"), 2);
    EXPECT_EQ(Row->Add("d"), -1) << "the row is full";
    EXPECT_EQ(G->Cells(1, 1), "b");
    TStrings* Col = G->Cols(2);
    EXPECT_EQ(Col->Count(), 4);
    EXPECT_EQ(Col->Get(1), "c");
    TStringList Values;
    Values.Add("x");
    Values.Add("y");
    G->SetCols(0, &Values);
    EXPECT_EQ(G->Cells(0, 0), "x");
    EXPECT_EQ(G->Cells(0, 1), "y");
    EXPECT_EQ(G->Cells(0, 2), "");
    Row->Clear();
    EXPECT_EQ(G->Cells(1, 1), "");
    EXPECT_EQ(G->Cells(2, 1), "");
    EXPECT_THROW(Row->Delete(0), EInvalidGridOperation);
    EXPECT_THROW(Row->Insert(0, "z"), EInvalidGridOperation);
}

TEST_F(StringGridTest, MovingColumnsAndRowsCarriesTheCells)
{
    auto* G = Place<TMovableGrid>(0, 0, 200, 100);
    std::vector<std::string> Moves;
    G->OnColumnMoved = [&Moves](TObject*, int From, int To) {
        Moves.push_back("col " + std::to_string(From) + ">" + std::to_string(To));
    };
    G->OnRowMoved = [&Moves](TObject*, int From, int To) {
        Moves.push_back("row " + std::to_string(From) + ">" + std::to_string(To));
    };
    for (int C = 0; C < 5; ++C)
        G->SetCells(C, 1, std::string(1, char('a' + C)));
    G->SetCells(1, 3, "only in row 3");
    G->MoveColumn(1, 3);
    EXPECT_EQ(G->Rows(1)->Text(), "a\r\nc\r\nd\r\nb\r\ne\r\n");
    EXPECT_EQ(G->Cells(3, 3), "only in row 3");
    G->MoveRow(3, 1);
    EXPECT_EQ(G->Cells(3, 1), "only in row 3");
    EXPECT_EQ(G->Cells(3, 2), "b");
    G->DeleteRow(1);
    EXPECT_EQ(G->RowCount(), 4);
    EXPECT_EQ(G->Cells(3, 1), "b");
    EXPECT_EQ(Moves, (std::vector<std::string>{"col 1>3", "row 3>1", "row 1>4"}));
}

TEST_F(StringGridTest, DrawGridAsksItsEvents)
{
    auto* G = Place<TDrawGrid>(0, 0, 330, 130);
    std::vector<std::string> Log;
    G->OnSelectCell = [&Log](TObject*, int C, int R, bool& CanSelect) {
        Log.push_back("select " + std::to_string(C) + "," + std::to_string(R));
        CanSelect = C != 3;
    };
    G->OnTopLeftChanged = [&Log, G](TObject*) {
        Log.push_back("top left " + std::to_string(G->LeftCol()));
    };
    int Drawn = 0;
    G->OnDrawCell = [&Drawn](TObject*, int, int, TRect, TGridDrawState) { ++Drawn; };
    G->SetColCount(20);
    Pump();
    EXPECT_GT(Drawn, 20);
    G->SetCol(2);
    G->SetCol(3);
    EXPECT_EQ(G->Col(), 2);
    G->SetLeftCol(5);
    EXPECT_EQ(Log, (std::vector<std::string>{"select 2,1", "select 3,1", "top left 5"}));
}

// What scrolling keeps on screen is what a full repaint would draw.
TEST_F(StringGridTest, ScrollingLooksLikeRepainting)
{
    auto* G = Place<TStringGrid>(10, 10, 260, 150);
    G->SetColCount(12);
    G->SetRowCount(40);
    G->SetColWidths(3, 20);
    for (int R = 0; R < 40; ++R)
        for (int C = 0; C < 12; ++C)
            G->SetCells(C, R, std::to_string(R * 100 + C));
    G->SetFocus();
    Pump();
    auto Picture = [G] {
        TRasterDevice Device(G->Width(), G->Height());
        CopyWindowPicture(G->Handle(), Device, 0, 0);
        std::vector<std::uint32_t> Pixels;
        for (int Y = 0; Y < Device.Height(); ++Y)
            for (int X = 0; X < Device.Width(); ++X)
                Pixels.push_back(Device.ScanLine(Y)[X]);
        return Pixels;
    };
    const std::vector<std::function<void()>> Steps = {
        [G] { G->SetTopRow(2); },
        [G] { G->SetTopRow(5); },
        [G] { G->SetTopRow(4); },
        [G] { G->SetLeftCol(2); },
        [G] { G->SetLeftCol(4); },
        [G] { G->SetLeftCol(3); },
        [G] { G->SetTopRow(30); },
        // The current cell moved past the view's edge: cells invalid before the scroll move
        // with it.
        [G] {
            G->SetTopRow(1);
            G->SetRow(4);
        },
        [] {
            for (int I = 0; I < 3; ++I)
                Key(VK_DOWN);
        },
        [] {
            for (int I = 0; I < 4; ++I)
                Key(VK_RIGHT, {VK_SHIFT});
        },
        [] { Key(VK_UP, {VK_CONTROL}); },
    };
    for (std::size_t I = 0; I < Steps.size(); ++I) {
        Steps[I]();
        Pump();
        const std::vector<std::uint32_t> Scrolled = Picture();
        G->Invalidate();
        Pump();
        EXPECT_TRUE(Scrolled == Picture()) << "step " << I;
    }
}

// A string grid and a draw grid with a selection, scrolled, in the classic look.
TEST_F(StringGridTest, LooksLikeTheGoldenPictures)
{
    auto* S = Place<TStringGrid>(10, 10, 260, 120);
    S->SetColCount(6);
    S->SetRowCount(8);
    S->SetColWidths(0, 30);
    for (int R = 0; R < 8; ++R)
        for (int C = 0; C < 6; ++C)
            S->SetCells(C, R,
                        R == 0   ? std::string(1, char('A' + C))
                        : C == 0 ? std::to_string(R)
                                 : std::to_string(R * 10 + C));
    S->SetSelection(TGridRect{1, 2, 2, 3});
    S->SetFocus();

    auto* D = Place<TDrawGrid>(10, 140, 260, 120);
    D->SetOptions(D->Options() + TGridOptions{goRowSelect});
    D->SetFixedCols(0);
    D->SetRowCount(12);
    D->SetRow(3);
    D->SetTopRow(2);
    D->OnDrawCell = [D](TObject*, int C, int R, TRect Rect, TGridDrawState State) {
        if (State.Contains(gdFixed) || (C + R) % 3 != 0)
            return;
        TCanvas* Canvas = D->Canvas();
        Canvas->Brush()->SetColor(State.Contains(gdSelected) ? clYellow : clTeal);
        InflateRect(Rect, -6, -6);
        Canvas->Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    };
    Pump();
    for (const auto& [Grid, Name] : std::vector<std::pair<TWinControl*, std::string>>{
             {S, "stringgrid.png"}, {D, "drawgrid.png"}}) {
        TRasterDevice Device(Grid->Width(), Grid->Height());
        CopyWindowPicture(Grid->Handle(), Device, 0, 0);
        ExpectMatchesGolden(Device, Name);
    }
}

} // namespace
