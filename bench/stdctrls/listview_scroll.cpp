// A report list view of 100,000 items (5 columns) scrolled page by page to the end, each page
// painted at once (headless back end), against a plain loop drawing the same rows' text on the
// same kind of canvas. The ratio of the two is what counts (target: within 1.5 times).
#include "platform/forms/form.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/stdctrls/listview.h"
#include "platform/stdctrls/listviewwindow.h"
#include "platform/ui/application.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

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
        List = new TListView(Form);
        List->SetParent(Form);
        List->SetBounds(0, 0, 680, 480);
        List->SetViewStyle(vsReport);
        for (int C = 0; C < Columns; ++C) {
            TListColumn* Column = List->Columns()->Add();
            Column->SetCaption("Column " + std::to_string(C));
            Column->SetWidth(Widths[C]);
        }
        List->Items()->BeginUpdate();
        for (int R = 0; R < ItemCount; ++R) {
            TListItem* Item = List->Items()->Add();
            Item->SetCaption(Cell(R, 0));
            for (int C = 1; C < Columns; ++C)
                Item->SubItems()->Add(Cell(R, C));
        }
        List->Items()->EndUpdate();
        App->ProcessMessages();
    }
    ~TFixture() { delete App; }

    TApplication* App;
    TForm* Form;
    TListView* List;
};

TFixture& Fixture()
{
    static TFixture F;
    return F;
}

// Page by page from the top to the end, each page painted.
void BM_ListViewScroll(benchmark::State& State)
{
    TFixture& F = Fixture();
    const HWND Wnd = F.List->Handle();
    int Pages = 0;
    for (auto _ : State) {
        SendMessage(Wnd, WM_VSCROLL, SB_TOP, 0);
        UpdateWindow(Wnd);
        while (F.List->TopItem()->Index() + F.List->VisibleRowCount() < ItemCount) {
            SendMessage(Wnd, WM_VSCROLL, SB_PAGEDOWN, 0);
            UpdateWindow(Wnd);
            ++Pages;
        }
    }
    State.counters["pages"] = benchmark::Counter(Pages, benchmark::Counter::kAvgIterations);
}

// The same rows' text, as many pages, drawn by a plain loop on a canvas of the same size.
void BM_PlainRowsLoop(benchmark::State& State)
{
    TFixture& F = Fixture();
    const int Page = F.List->VisibleRowCount();
    TRect Row0 = F.List->Items()->Item(0)->DisplayRect(LVIR_BOUNDS);
    const int RowH = Row0.Height();
    TRasterDevice Device(F.List->ClientWidth(), F.List->ClientHeight());
    TCanvas Canvas(&Device);
    Canvas.SetFont(F.List->Font());
    for (auto _ : State) {
        for (int Top = 0; Top < ItemCount; Top += Page) {
            Canvas.Brush()->SetColor(clWindow);
            Canvas.FillRect(Rect(0, 0, Device.Width(), Device.Height()));
            Canvas.Brush()->SetStyle(bsClear);
            for (int R = Top; R < Top + Page && R < ItemCount; ++R) {
                TListItem* Item = F.List->Items()->Item(R);
                const int Y = (R - Top) * RowH + RowH;
                int X = 0;
                for (int C = 0; C < Columns; ++C) {
                    const std::string& Text =
                        C == 0 ? Item->Caption() : Item->SubItems()->Get(C - 1);
                    Canvas.TextRect(Rect(X + 2, Y, X + Widths[C] - 2, Y + RowH), X + 2, Y, Text);
                    X += Widths[C];
                }
            }
            Canvas.Brush()->SetStyle(bsSolid);
        }
    }
}

BENCHMARK(BM_ListViewScroll)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainRowsLoop)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
