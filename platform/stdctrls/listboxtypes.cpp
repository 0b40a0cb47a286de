#include "platform/stdctrls/listboxtypes.h"

#include "platform/forms/controlcanvas.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/ownerdraw.h"

#include <algorithm>

void DrawOwnerDrawItem(TMessage& Message, TControlCanvas* Canvas, const TFont* Font, TColor Color,
                       const std::function<void(int, const TRect&, TOwnerDrawState)>& DrawItem)
{
    auto* Draw = reinterpret_cast<TDrawItemStruct*>(Message.LParam);
    const TOwnerDrawState State = OwnerDrawStateOf(Draw->itemState);
    TControlCanvas::TPaintScope Scope(Canvas, Draw->hDC);
    Canvas->SetFont(Font);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    const int Index = static_cast<int>(Draw->itemID);
    if (Index >= 0 && State.Contains(odSelected)) {
        Canvas->Brush()->SetColor(clHighlight);
        Canvas->Font()->SetColor(clHighlightText);
    }
    if (Index >= 0)
        DrawItem(Index, Draw->rcItem, State);
    else
        Canvas->FillRect(Draw->rcItem);
    if (State.Contains(odFocused))
        Draw->hDC->DrawFocusRect(Draw->rcItem);
    Message.Result = 1;
}

void MeasureOwnerDrawItem(TMessage& Message, int ItemHeight, bool Variable,
                          const std::function<void(int, int&)>& MeasureItem)
{
    auto* Measure = reinterpret_cast<TMeasureItemStruct*>(Message.LParam);
    Measure->itemHeight = static_cast<UINT>(ItemHeight);
    if (Variable) {
        int Height = ItemHeight;
        MeasureItem(static_cast<int>(Measure->itemID), Height);
        Measure->itemHeight = static_cast<UINT>(std::max(1, Height));
    }
    Message.Result = 1;
}

void DrawItemText(TCanvas* Canvas, const TStrings* Items, int Index, const TRect& Rect)
{
    Canvas->FillRect(Rect);
    if (Index >= 0 && Index < Items->Count())
        Canvas->TextOut(Rect.Left + 2, Rect.Top, Items->Get(Index));
}
