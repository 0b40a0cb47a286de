// platform/stdctrls/listviewwindowpaint.cpp: the list view's rows drawn: only those the update
// area reaches, each with its state image, small image, caption and sub-items.
#include "platform/gfx/canvas.h"
#include "platform/gfx/imagelist.h"
#include "platform/gfx/textlayout.h"
#include "platform/stdctrls/listviewwindowimpl.h"
#include "platform/ui/window.h"

#include <algorithm>

namespace listview {

namespace {

unsigned AlignOf(int Fmt)
{
    switch (Fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
        return DT_RIGHT;
    case LVCFMT_CENTER:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

} // namespace

void TListViewWindow::PaintRow(TCanvas* DC, int Index, int Right)
{
    const TRow& Row = Rows[Index];
    const TRect R = RowRect(Index);
    const bool Enabled = IsWindowEnabled(Wnd);
    const bool Sel = (Row.State & LVIS_SELECTED) && (HasFocus || Has(LVS_SHOWSELALWAYS));
    const TColor SelBack = HasFocus ? clHighlight : clBtnFace;
    const TColor SelFore = HasFocus ? clHighlightText : Fore;
    DC->Brush()->SetStyle(bsSolid);
    DC->Brush()->SetColor(Back);
    DC->FillRect(Rect(0, R.Top, std::max(R.Right, Right), R.Bottom));
    int X = R.Left;
    if (StateImages != nullptr) {
        const int State = static_cast<int>(Row.State >> 12) - 1;
        if (State >= 0)
            StateImages->Draw(DC, X, R.Top + (RowH - StateImages->Height()) / 2, State, Enabled);
        X += StateImages->Width();
    }
    if (SmallImages != nullptr) {
        if (Row.Image >= 0)
            SmallImages->Draw(DC, X, R.Top + (RowH - SmallImages->Height()) / 2, Row.Image,
                              Enabled);
        X += SmallImages->Width();
    }
    const TRect SelR = SelectRect(Index);
    if (Sel) {
        DC->Brush()->SetColor(SelBack);
        DC->FillRect(SelR);
    }
    DC->Brush()->SetStyle(bsClear);
    int Left = R.Left;
    for (std::size_t C = 0; C < Columns.size(); ++C) {
        const TColumn& Column = Columns[C];
        const int ColRight = Left + Column.Width;
        if (ColRight > 0 && Left < Right && Column.Width > 0) {
            const int Sub = Column.SubItem;
            const std::string* Text = Sub == 0 ? &Row.Text
                                      : Sub <= static_cast<int>(Row.Sub.size())
                                          ? &Row.Sub[static_cast<std::size_t>(Sub - 1)]
                                          : nullptr;
            if (Text != nullptr && !Text->empty()) {
                TRect Cell = C == 0 ? Rect(X + 2, R.Top, ColRight - 2, R.Bottom)
                                    : Rect(Left + 6, R.Top, ColRight - 6, R.Bottom);
                const bool Inverse = Sel && (C == 0 || FullRow());
                DC->Font()->SetColor(!Enabled ? clGrayText : Inverse ? SelFore : Fore);
                if (Cell.Width() > 0)
                    DC->DrawText(*Text, Cell,
                                 DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS |
                                     AlignOf(Column.Fmt));
            }
        }
        Left = ColRight;
    }
    DC->Brush()->SetStyle(bsSolid);
    if (ExStyle & LVS_EX_GRIDLINES) {
        DC->Pen()->SetColor(clBtnFace);
        DC->MoveTo(0, R.Bottom - 1);
        DC->LineTo(std::max(R.Right, Right), R.Bottom - 1);
        int Line = R.Left;
        for (const TColumn& Column : Columns) {
            Line += Column.Width;
            DC->MoveTo(Line - 1, R.Top);
            DC->LineTo(Line - 1, R.Bottom);
        }
    }
    if (HasFocus && Index == Focus && Edit == 0) {
        DC->Brush()->SetColor(Sel ? SelBack : Back);
        DC->DrawFocusRect(SelR);
    }
}

void TListViewWindow::Paint(TCanvas* DC, const TRect& Clip)
{
    const TRect C = Client();
    DC->SetFont(Font.get());
    const int Bottom = std::min(Clip.Bottom, C.Bottom);
    const int First = std::max(Top, RowAt(std::max(Clip.Top, HeaderH)));
    const int Last = std::min(Count() - 1, RowAt(Bottom - 1));
    for (int I = First; I <= Last; ++I)
        PaintRow(DC, I, C.Right);
    // What lies below the last row.
    const int Below = Last >= First ? RowRect(Last).Bottom : std::max(HeaderH, Clip.Top);
    if (Below < Bottom) {
        DC->Brush()->SetStyle(bsSolid);
        DC->Brush()->SetColor(Back);
        DC->FillRect(Rect(Clip.Left, std::max(Below, HeaderH), Clip.Right, Bottom));
    }
    if (HasFocus && Count() == 0)
        DC->DrawFocusRect(Rect(0, HeaderH, C.Right, HeaderH + RowH));
    if (Marquee) {
        const TPoint A{DragFrom.X - ScrollX, DragFrom.Y - Top * RowH + HeaderH};
        const TPoint B{DragTo.X - ScrollX, DragTo.Y - Top * RowH + HeaderH};
        const TRect Band = Rect(std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X) + 1,
                                std::max(A.Y, B.Y) + 1);
        DC->Brush()->SetColor(Back);
        DC->DrawFocusRect(Band);
    }
}

} // namespace listview
