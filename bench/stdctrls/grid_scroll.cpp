// A 1,000 x 100,000 string grid (default sizes, one fixed row and column) on an 800 x 600 form
// (headless back end), paged to the end with Page Down, each page painted as the grid paints
// it, against a plain loop drawing the same visible cells' text and the lines between them on
// the same window's canvas. Rounds alternate the two; their medians and the ratio are printed
// (target: the grid within 1.5 times of the loop), then the memory 10^6 filled cells take.
//
// The cells are filled before anything is timed: every row's cells in the columns that come into
// view (the grid only scrolls down), so the fill is not measured and the other columns of the
// 1,000 stay empty, as a grid's unused cells do.
//
//   bench_grid_scroll [--rounds N]
#include "platform/forms/form.h"
#include "platform/gfx/canvas.h"
#include "platform/stdctrls/grids.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/windowdc.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int ColCount = 1000;
constexpr int RowCount = 100000;

std::string CellText(int Col, int Row)
{
    if (Row == 0)
        return "Col " + std::to_string(Col);
    if (Col == 0)
        return std::to_string(Row);
    return std::to_string(Row % 9973) + "." + std::to_string(Col);
}

double Median(std::vector<double> Values)
{
    std::sort(Values.begin(), Values.end());
    const std::size_t N = Values.size();
    return N % 2 ? Values[N / 2] : (Values[N / 2 - 1] + Values[N / 2]) / 2;
}

double Seconds(std::chrono::steady_clock::duration D)
{
    return std::chrono::duration<double>(D).count();
}

struct TFixture {
    TFixture()
    {
        setenv("TARNWICK_BACKEND", "headless", 1);
        App = new TApplication(nullptr);
        Application = App;
        Form = new TForm(App);
        Form->SetBounds(0, 0, 800, 600);
        Grid = new TStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetAlign(alClient);
        Grid->SetColCount(ColCount);
        Grid->SetRowCount(RowCount);
        Form->Show();
        Grid->SetFocus();
        App->ProcessMessages();
        // The columns in view, the partly visible one included.
        Cols = std::min(Grid->FixedCols() + Grid->VisibleColCount() + 1, ColCount);
        Text.resize(std::size_t(Cols) * RowCount);
        for (int R = 0; R < RowCount; ++R)
            for (int C = 0; C < Cols; ++C) {
                std::string& S = Text[std::size_t(R) * Cols + std::size_t(C)];
                S = CellText(C, R);
                Grid->SetCells(C, R, S);
            }
        App->ProcessMessages();
    }
    ~TFixture() { delete App; }

    const std::string& Cell(int C, int R) const { return Text[std::size_t(R) * Cols + C]; }

    TApplication* App;
    TForm* Form;
    TStringGrid* Grid;
    int Cols = 0;
    std::vector<std::string> Text;
};

// From the top, Page Down until the last row is in view, each page painted.
double ScrollGrid(TFixture& F, int& Pages)
{
    TStringGrid* Grid = F.Grid;
    const HWND Wnd = Grid->Handle();
    Grid->SetRow(Grid->FixedRows());
    Grid->SetTopRow(Grid->FixedRows());
    UpdateWindow(Wnd);
    Pages = 0;
    const auto Start = std::chrono::steady_clock::now();
    while (Grid->TopRow() + Grid->VisibleRowCount() < RowCount) {
        SendMessage(Wnd, WM_KEYDOWN, VK_NEXT, 0);
        UpdateWindow(Wnd);
        ++Pages;
    }
    return Seconds(std::chrono::steady_clock::now() - Start);
}

// The same pages by hand on the grid window's canvas: the background, the fixed bands, the
// lines (black between fixed cells, silver elsewhere) and each visible cell's text in the
// cell's rectangle, as many pages as the grid took.
double PlainLoop(TFixture& F, int Pages)
{
    TStringGrid* Grid = F.Grid;
    const HWND Wnd = Grid->Handle();
    const int W = Grid->ClientWidth();
    const int H = Grid->ClientHeight();
    const int CW = Grid->DefaultColWidth();
    const int RH = Grid->DefaultRowHeight();
    const int Line = Grid->GridLineWidth();
    const int PageRows = Grid->VisibleRowCount();
    const auto Start = std::chrono::steady_clock::now();
    int Top = Grid->FixedRows();
    for (int Page = 0; Page < Pages; ++Page) {
        Top = std::min(Top + PageRows, RowCount - PageRows);
        HDC DC = GetDC(Wnd);
        TCanvas& C = *DC;
        C.SetFont(Grid->Font());
        C.Brush()->SetStyle(bsSolid);
        C.Brush()->SetColor(Grid->Color());
        C.FillRect(Rect(0, 0, W, H));
        C.Brush()->SetColor(Grid->FixedColor());
        C.FillRect(Rect(0, 0, W, RH));
        C.FillRect(Rect(0, 0, CW, H));
        for (int X = CW; X < W; X += CW + Line) {
            C.Brush()->SetColor(clBlack);
            C.FillRect(Rect(X, 0, X + Line, RH + Line));
            C.Brush()->SetColor(X == CW ? clBlack : clSilver);
            C.FillRect(Rect(X, RH + Line, X + Line, H));
        }
        for (int Y = RH; Y < H; Y += RH + Line) {
            C.Brush()->SetColor(clBlack);
            C.FillRect(Rect(0, Y, CW + Line, Y + Line));
            C.Brush()->SetColor(Y == RH ? clBlack : clSilver);
            C.FillRect(Rect(CW + Line, Y, W, Y + Line));
        }
        C.Brush()->SetStyle(bsClear);
        for (int Y = 0, R = 0; Y < H && R < RowCount; Y += RH + Line, R = R ? R + 1 : Top)
            for (int X = 0, Col = 0; X < W && Col < F.Cols; X += CW + Line, ++Col)
                C.TextRect(Rect(X, Y, X + CW, Y + RH), X + 2, Y + 2, F.Cell(Col, R));
        ReleaseDC(Wnd, DC);
    }
    return Seconds(std::chrono::steady_clock::now() - Start);
}

long ResidentBytes()
{
    std::ifstream Statm("/proc/self/statm");
    long Size = 0;
    long Resident = 0;
    Statm >> Size >> Resident;
    return Resident * sysconf(_SC_PAGESIZE);
}

// 1,000 x 1,000 cells set to short strings on a grid of that size: the heap in use and the
// resident set before and after.
void PrintCellMemory(TFixture& F)
{
    constexpr int Side = 1000;
    malloc_trim(0);
    const long Rss = ResidentBytes();
    const std::size_t Heap = mallinfo2().uordblks;
    auto* Grid = new TStringGrid(F.Form);
    Grid->SetColCount(Side);
    Grid->SetRowCount(Side);
    for (int R = 0; R < Side; ++R)
        for (int C = 0; C < Side; ++C)
            Grid->SetCells(C, R, CellText(C, R));
    const double HeapDelta = double(mallinfo2().uordblks) - double(Heap);
    const double RssDelta = double(ResidentBytes() - Rss);
    const double N = double(Side) * Side;
    std::printf("memory, %d x %d filled cells (short strings): heap %.1f MB (%.1f bytes/cell), "
                "resident %.1f MB (%.1f bytes/cell)\n",
                Side, Side, HeapDelta / 1e6, HeapDelta / N, RssDelta / 1e6, RssDelta / N);
    delete Grid;
}

int Run(int argc, char** argv)
{
    int Rounds = 3;
    for (int I = 1; I < argc; ++I) {
        const std::string Arg = argv[I];
        if (Arg == "--rounds" && I + 1 < argc)
            Rounds = std::max(1, std::atoi(argv[++I]));
        else
            throw std::runtime_error("usage: bench_grid_scroll [--rounds N]");
    }
    TFixture F;
    PrintCellMemory(F);
    std::vector<double> GridTimes;
    std::vector<double> LoopTimes;
    std::vector<double> Ratios;
    int Pages = 0;
    ScrollGrid(F, Pages); // warm-up: glyph caches, back buffer
    PlainLoop(F, Pages);
    for (int Round = 0; Round < Rounds; ++Round) {
        double G = 0;
        double L = 0;
        if (Round % 2) {
            L = PlainLoop(F, Pages);
            G = ScrollGrid(F, Pages);
        } else {
            G = ScrollGrid(F, Pages);
            L = PlainLoop(F, Pages);
        }
        GridTimes.push_back(G);
        LoopTimes.push_back(L);
        Ratios.push_back(G / L);
    }
    const int Cells = (F.Grid->VisibleRowCount() + 2) * F.Cols;
    std::printf("%d x %d string grid, %dx%d client, %d pages of about %d cells, %d rounds "
                "(medians)\n",
                ColCount, RowCount, F.Grid->ClientWidth(), F.Grid->ClientHeight(), Pages, Cells,
                Rounds);
    std::printf("%-34s %9.1f ms %8.1f us/page\n", "grid, Page Down and paint",
                Median(GridTimes) * 1e3, Median(GridTimes) * 1e6 / Pages);
    std::printf("%-34s %9.1f ms %8.1f us/page\n", "plain loop, same cells and lines",
                Median(LoopTimes) * 1e3, Median(LoopTimes) * 1e6 / Pages);
    std::printf("%-34s %9.2f (target <= 1.5)\n", "ratio grid / loop", Median(Ratios));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "grid_scroll: %s\n", E.what());
        return 1;
    }
}
