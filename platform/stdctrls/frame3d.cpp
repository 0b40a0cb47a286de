#include "platform/stdctrls/frame3d.h"

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width)
{
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(psSolid);
    --Rect.Bottom;
    --Rect.Right;
    for (int I = 0; I < Width; ++I) {
        Canvas->Pen()->SetColor(TopColor);
        Canvas->Polyline({{Rect.Left, Rect.Bottom}, {Rect.Left, Rect.Top}, {Rect.Right, Rect.Top}});
        Canvas->Pen()->SetColor(BottomColor);
        Canvas->Polyline(
            {{Rect.Right, Rect.Top}, {Rect.Right, Rect.Bottom}, {Rect.Left - 1, Rect.Bottom}});
        InflateRect(Rect, -1, -1);
    }
    ++Rect.Bottom;
    ++Rect.Right;
}
