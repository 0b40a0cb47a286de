// A report list view filled with 100,000 items (5 columns) and scrolled page by page to the end,
// each page painted at once (headless back end), against a plain loop drawing the same rows' text
// on the same kind of canvas. The ratio of the two is what counts (target: within 1.5 times).
#include "platform/forms/form.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/stdctrls/listview.h"
#include "platform/stdctrls/listviewwindow.h"
#include "platform/ui/application.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int ItemCount = 100000;
constexpr int Columns = 5;
constexpr int Widths[Columns] = {220, 140, 120, 42, 130};

std::string Cell(int Row, int Column)
{
    static const char* const Words[Columns] = {"Subject of message ", "sender", "Real Name ", "",
                                               "2026-12-11 03:"};
    return Words[Column] + std::to_string(Row * (Column + 1) % 9973);
}

struct TFixture {
    TFixture()
    {
        setenv("TARNWICK_BACKEND", "headless", 1);
        App = new TApplication(nullptr);
        Application = App;
        Form = new TForm(App);
        Form->SetBounds(0, 0, 700, 500);
        Form->Show();
        App->ProcessMessages();
        Rows.resize(ItemCount);
        for (int R = 0; R < ItemCount; ++R)
            for (int C = 0; C < Columns; ++C)
                Rows[R][C] = Cell(R, C);
    }
    ~TFixture() { delete App; }

    // A list view on the form holding every row.
    TListView* NewFilledList()
    {
        auto* List = new TListView(Form);
        List->SetParent(Form);
        List->SetBounds(0, 0, 680, 480);
        List->SetViewStyle(vsReport);
        for (int C = 0; C < Columns; ++C) {
            TListColumn* Column = List->Columns()->Add();
            Column->SetCaption("Column " + std::to_string(C));
            Column->SetWidth(Widths[C]);
        }
        List->Items()->BeginUpdate();
        for (const auto& Row : Rows) {
            TListItem* Item = List->Items()->Add();
            Item->SetCaption(Row[0]);
            for (int C = 1; C < Columns; ++C)
                Item->SubItems()->Add(Row[C]);
        }
        List->Items()->EndUpdate();
        return List;
    }

    TApplication* App;
    TForm* Form;
    std::vector<std::array<std::string, Columns>> Rows;
};

TFixture& Fixture()
{
    static TFixture F;
    return F;
}

// Filled, then page by page from the top to the end, each page painted.
void BM_ListViewFillAndScroll(benchmark::State& State)
{
    TFixture& F = Fixture();
    int Pages = 0;
    for (auto _ : State) {
        TListView* List = F.NewFilledList();
        const HWND Wnd = List->Handle();
        UpdateWindow(Wnd);
        while (List->TopItem()->Index() + List->VisibleRowCount() < ItemCount) {
            SendMessage(Wnd, WM_VSCROLL, SB_PAGEDOWN, 0);
            UpdateWindow(Wnd);
            ++Pages;
        }
        State.PauseTiming();
        delete List;
        F.App->ProcessMessages();
        State.ResumeTiming();
    }
    State.counters["pages"] = benchmark::Counter(Pages, benchmark::Counter::kAvgIterations);
}

// The same rows' text, as many pages, drawn by a plain loop on a canvas of the same size with
// the same font and row height.
void BM_PlainRowsLoop(benchmark::State& State)
{
    TFixture& F = Fixture();
    TListView* List = F.NewFilledList();
    const int Page = List->VisibleRowCount();
    const int RowH = List->Items()->Item(0)->DisplayRect(LVIR_BOUNDS).Height();
    TRasterDevice Device(List->ClientWidth(), List->ClientHeight());
    TCanvas Canvas(&Device);
    Canvas.SetFont(List->Font());
    delete List;
    for (auto _ : State) {
        for (int Top = 0; Top < ItemCount; Top += Page) {
            Canvas.Brush()->SetColor(clWindow);
            Canvas.FillRect(Rect(0, 0, Device.Width(), Device.Height()));
            Canvas.Brush()->SetStyle(bsClear);
            for (int R = Top; R < Top + Page && R < ItemCount; ++R) {
                const int Y = (R - Top) * RowH + RowH;
                int X = 0;
                for (int C = 0; C < Columns; ++C) {
                    Canvas.TextRect(Rect(X + 2, Y, X + Widths[C] - 2, Y + RowH), X + 2, Y,
                                    F.Rows[R][C]);
                    X += Widths[C];
                }
            }
            Canvas.Brush()->SetStyle(bsSolid);
        }
    }
}

BENCHMARK(BM_ListViewFillAndScroll)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainRowsLoop)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
