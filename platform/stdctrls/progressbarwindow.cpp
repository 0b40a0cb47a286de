// platform/stdctrls/progressbarwindow.cpp: the progress bar's window class.
#include "platform/stdctrls/progressbarwindow.h"

#include "platform/gfx/canvas.h"
#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/controlpaint.h"
#include "platform/ui/paint.h"
#include "platform/ui/window.h"
#include "platform/ui/windowdc.h"

#include <algorithm>

namespace {

constexpr int BlockGap = 2;

struct TProgressBarWindow {
    explicit TProgressBarWindow(HWND AWnd) : Wnd(AWnd) {}

    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);
    // Moves to Value (clamped); the old position.
    int MoveTo(long long Value);
    void Paint(HDC DC);

    HWND Wnd;
    int Min = 0;
    int Max = 100;
    int Pos = 0;
    int Step = 10;
};

TWindowStates<TProgressBarWindow>& Bars()
{
    static TWindowStates<TProgressBarWindow> States;
    return States;
}

int TProgressBarWindow::MoveTo(long long Value)
{
    const int Old = Pos;
    Pos = static_cast<int>(std::clamp<long long>(Value, Min, Max));
    if (Pos != Old)
        InvalidateRect(Wnd, nullptr, false);
    return Old;
}

void TProgressBarWindow::Paint(HDC DC)
{
    TRect R;
    GetClientRect(Wnd, R);
    DC->Brush()->SetStyle(bsSolid);
    DC->Brush()->SetColor(clBtnFace);
    DC->FillRect(R);
    DC->DrawEdge(R, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    InflateRect(R, -1, -1);
    const DWORD Style = static_cast<DWORD>(GetWindowLong(Wnd, GWL_STYLE));
    const bool Vertical = (Style & PBS_VERTICAL) != 0;
    const int Length = Vertical ? R.Height() : R.Width();
    const long long Span = static_cast<long long>(Max) - Min;
    // An empty range (Min = Max) shows an empty bar.
    if (Length <= 0 || Span <= 0)
        return;
    const int Filled = static_cast<int>((static_cast<long long>(Pos) - Min) * Length / Span);
    DC->Brush()->SetColor(clHighlight);
    auto Fill = [&](int From, int To) {
        To = std::min(To, Length);
        if (To <= From)
            return;
        if (Vertical)
            DC->FillRect(Rect(R.Left, R.Bottom - To, R.Right, R.Bottom - From));
        else
            DC->FillRect(Rect(R.Left + From, R.Top, R.Left + To, R.Bottom));
    };
    if (Style & PBS_SMOOTH) {
        Fill(0, Filled);
        return;
    }
    // Blocks two thirds as long as the bar is thick; the last one shows once partly reached.
    const int Block = std::max(2, (Vertical ? R.Width() : R.Height()) * 2 / 3);
    for (int At = 0; At < Filled; At += Block + BlockGap)
        Fill(At, At + Block);
}

LRESULT TProgressBarWindow::Handle(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_PAINT:
        return HandlePaint(Wnd, WParam, [this](HDC DC) { Paint(DC); });
    case WM_ERASEBKGND:
        return 1;
    case PBM_SETRANGE:
    case PBM_SETRANGE32: {
        const LRESULT Old = MakeLParam(Min & 0xFFFF, Max & 0xFFFF);
        if (Msg == PBM_SETRANGE) {
            Min = static_cast<int>(LoWord(static_cast<WPARAM>(LParam)));
            Max = static_cast<int>(HiWord(static_cast<WPARAM>(LParam)));
        } else {
            Min = static_cast<int>(WParam);
            Max = static_cast<int>(LParam);
        }
        Max = std::max(Min, Max);
        MoveTo(Pos);
        InvalidateRect(Wnd, nullptr, false);
        return Old;
    }
    case PBM_GETRANGE:
        if (auto* Range = reinterpret_cast<TPBRange*>(LParam)) {
            Range->iLow = Min;
            Range->iHigh = Max;
        }
        return WParam != 0 ? Min : Max;
    case PBM_SETPOS:
        return MoveTo(static_cast<int>(WParam));
    case PBM_DELTAPOS:
        return MoveTo(static_cast<long long>(Pos) + static_cast<int>(WParam));
    case PBM_GETPOS:
        return Pos;
    case PBM_SETSTEP: {
        const int Old = Step;
        Step = static_cast<int>(WParam);
        return Old;
    }
    case PBM_STEPIT: {
        long long Next = static_cast<long long>(Pos) + Step;
        if (Next > Max)
            Next = Min + (Next - Max);
        else if (Next < Min)
            Next = Max - (Min - Next);
        return MoveTo(Next);
    }
    default:
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
}

} // namespace

void RegisterProgressBarClass()
{
    RegisterControlClass(ProgressBarClassName, 0, ProgressBarWndProc);
}

LRESULT ProgressBarWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return Bars().Handle(Wnd, Msg, WParam, LParam);
}
