// A cell's background (colour or bitmap), its selection look and rectangle, its text as plain,
// "=" or HTML text, and the sort glyph of the header.
#include "controls/grid/advgrid.h"
#include "controls/grid/advgridhtml.h"
#include "controls/grid/advgridpaintint.h"
#include "controls/grid/advutil.h"

#include <algorithm>

namespace advgridpaint {

namespace {

void Line(TCanvas* C, int X1, int Y1, int X2, int Y2)
{
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

int GlyphY(TAdvStringGrid* Grid, const TRect& R)
{
    switch (Grid->VAlignment()) {
    case vtaCenter:
        return (R.Top + R.Bottom) / 2;
    case vtaBottom:
        return R.Bottom - 8;
    case vtaTop:
        break;
    }
    return R.Top + 8;
}

} // namespace

unsigned VerticalFlag(TVAlignFlag Flag)
{
    switch (Flag) {
    case vfCenter:
        return DT_VCENTER;
    case vfBottom:
        return DT_BOTTOM;
    case vfTop:
        break;
    }
    return DT_TOP;
}

bool SortGlyphApplies(TAdvStringGrid* Grid, int ACol, int ARow)
{
    if (!Grid->SortShow() || ARow != 0 || Grid->RowCount() <= 2 || Grid->FixedRows() < 1)
        return false;
    const int Pos = Grid->SortIndexes()->FindIndex(ACol);
    if (ACol != Grid->SortColumn() && Pos < 0)
        return false;
    if (ACol < Grid->FixedCols() && !Grid->SortFixedCols())
        return false;
    return Pos <= 0 || Grid->SortIndexShow();
}

void DrawSortGlyph(TAdvStringGrid* Grid, TCanvas* C, int ACol, int X, int Y)
{
    TSortIndexList* Indexes = Grid->SortIndexes();
    const int Pos = Indexes->FindIndex(ACol);
    if (Grid->SortIndexShow() && Pos >= 0) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clYellow);
        if (!Indexes->SortDirections(Pos))
            C->Polygon({TPoint{X - 7, Y - 5}, TPoint{X + 7, Y - 5}, TPoint{X, Y + 8}});
        else
            C->Polygon({TPoint{X - 6, Y + 8}, TPoint{X + 6, Y + 8}, TPoint{X, Y - 4}});
        TFont Saved;
        Saved.Assign(C->Font());
        const int OldMode = C->SetBkMode(TRANSPARENT);
        C->Font()->SetColor(clBlack);
        C->Font()->SetSize(5);
        C->TextOut(X - 2, Y - 4, std::to_string(Pos + 1));
        C->SetBkMode(OldMode);
        C->SetFont(&Saved);
        return;
    }
    TBitmap* Up = Grid->SortUpGlyph();
    TBitmap* Down = Grid->SortDownGlyph();
    const bool Descending = Grid->SortDirection() == sdDescending;
    if (!Up->Empty() && !Down->Empty()) {
        TBitmap* Glyph = Descending ? Down : Up;
        Glyph->SetTransparent(true);
        C->Draw(X - 4, Y - 4, Glyph);
        C->SetBkColor(Grid->Color());
        return;
    }
    const TColor Grey = RGB(128, 128, 128);
    C->Pen()->SetWidth(1);
    if (Descending) {
        C->Pen()->SetColor(clWhite);
        Line(C, X + 4, Y - 4, X, Y + 4);
        C->Pen()->SetColor(Grey);
        C->LineTo(X - 4, Y - 4);
        C->LineTo(X + 4, Y - 4);
    } else {
        C->Pen()->SetColor(clWhite);
        Line(C, X - 4, Y + 4, X + 4, Y + 4);
        C->LineTo(X, Y - 4);
        C->Pen()->SetColor(Grey);
        C->LineTo(X - 4, Y + 4);
    }
    C->Pen()->SetColor(clBlack);
}

void DrawBackGroundBitmap(TAdvStringGrid* Grid, TCanvas* C, const TCellPaint& Cell)
{
    TBackGround* Back = Grid->BackGround();
    TBitmap* Bitmap = Back->Bitmap();
    const int BW = Bitmap->Width();
    const int BH = Bitmap->Height();
    if (BW <= 0 || BH <= 0)
        return;
    const TRect& R = Cell.R;
    if (Back->Display() == bdFixed) {
        const TRect Pic{Back->Left(), Back->Top(), Back->Left() + BW, Back->Top() + BH};
        TRect Part;
        if (!IntersectRect(Part, Pic, R))
            return;
        const int OldMode = C->SetBkMode(TRANSPARENT);
        C->CopyRect(Part, Bitmap->Canvas(),
                    TRect{Part.Left - Pic.Left, Part.Top - Pic.Top, Part.Right - Pic.Left,
                          Part.Bottom - Pic.Top});
        C->SetBkMode(OldMode);
        return;
    }
    const bool Normal = Back->Cells() == bcNormal;
    int OffX = 0;
    for (int I = Normal ? Grid->FixedCols() : 0; I < Cell.DisplCol; ++I)
        OffX += Grid->ColWidths(I);
    int OffY = 0;
    for (int I = Normal ? Grid->FixedRows() : 0; I < Cell.Row; ++I)
        OffY += Grid->RowHeights(I);
    OffX %= BW;
    OffY %= BH;
    for (int Y = R.Top, SY = OffY; Y < R.Bottom; SY = 0) {
        const int H = std::min(BH - SY, R.Bottom - Y);
        for (int X = R.Left, SX = OffX; X < R.Right; SX = 0) {
            const int W = std::min(BW - SX, R.Right - X);
            C->CopyRect(TRect{X, Y, X + W, Y + H}, Bitmap->Canvas(), TRect{SX, SY, SX + W, SY + H});
            X += W;
        }
        Y += H;
    }
}

void DrawBackgroundAndText(TAdvStringGrid* Grid, TCellPaint& Cell)
{
    TCanvas* C = Grid->Canvas();
    const TGridOptions Opts = Grid->Options();
    const int ACol = Cell.Col;
    const int ARow = Cell.Row;
    TRect R = Cell.R;
    TColor LinkColor = Grid->URLColor();

    const bool RowFlagged = Grid->RowSelected(ARow);
    const bool Selected = Cell.State.Contains(gdSelected) ||
                          (RowFlagged && Opts.Contains(goRowSelect) && ACol >= Grid->FixedCols());
    const bool Focused = Cell.State.Contains(gdFocused);
    const bool SelectedLook = Selected && (!Focused || Opts.Contains(goDrawFocusSelected));
    if (SelectedLook) {
        if (Grid->SelectionColor() != clNone)
            C->Brush()->SetColor(Grid->SelectionColor());
        if (Grid->SelectionTextColor() != clNone) {
            C->Font()->SetColor(Grid->SelectionTextColor());
            LinkColor = Grid->SelectionTextColor();
        }
        if (!Grid->ShowSelection() && !GridHasFocus(Grid)) {
            C->Brush()->SetColor(Grid->Color());
            C->Font()->SetColor(Grid->Font()->Color());
            Grid->GetCellColor(ACol, ARow, TGridDrawState{}, C->Brush(), C->Font());
            LinkColor = Grid->URLColor();
        }
    }

    std::string Text = Grid->Cells(ACol, ARow);
    int Kind = CellTextKind(Text, Grid->EnableHTML());
    if (Kind == 3)
        Text = Grid->GetDisplText(ACol, ARow);
    bool Password = false;
    Grid->IsPasswordCell(ACol, ARow, Password);
    if (Password) {
        FillWithChar(Text, Grid->PasswordChar().empty() ? '*' : Grid->PasswordChar()[0]);
        // A masked text shows its characters, never their markup.
        Kind = 0;
    }

    if (Grid->MouseActions()->DisjunctRowSelect && !Cell.MouseSelecting &&
        ACol >= Grid->FixedCols() && ARow >= Grid->FixedRows() && !RowFlagged) {
        C->Brush()->SetColor(Grid->Color());
        C->Font()->SetColor(Grid->Font()->Color());
        Grid->GetCellColor(ACol, ARow, Cell.State, C->Brush(), C->Font());
    }

    C->Brush()->SetStyle(bsSolid);
    TBackGround* Back = Grid->BackGround();
    const bool Fixed = Cell.State.Contains(gdFixed);
    if (!Back->Bitmap()->Empty() &&
        ((Back->Cells() == bcFixed && Fixed) || (Back->Cells() == bcNormal && !Fixed))) {
        if (SelectedLook && Grid->ShowSelection())
            C->FillRect(R);
        else
            DrawBackGroundBitmap(Grid, C, Cell);
    } else
        C->FillRect(R);

    if (Grid->SelectionRectangle()) {
        const TGridRect Sel = Grid->Selection();
        const int DCol = Cell.DisplCol;
        if (DCol >= Sel.Left && DCol <= Sel.Right && ARow >= Sel.Top && ARow <= Sel.Bottom) {
            C->Pen()->SetColor(clBlack);
            C->Pen()->SetWidth(2);
            if (DCol == Sel.Left)
                Line(C, R.Left + 1, R.Top, R.Left + 1, R.Bottom);
            if (DCol == Sel.Right)
                Line(C, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
            if (ARow == Sel.Top)
                Line(C, R.Left, R.Top + 1, R.Right, R.Top + 1);
            if (ARow == Sel.Bottom)
                Line(C, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
            C->Pen()->SetWidth(1);
        }
    }

    const bool Glyph = SortGlyphApplies(Grid, ACol, ARow);
    if (Kind == 1) {
        R.Left += 2;
        R.Top += 2;
        if (Glyph)
            R.Right -= 10;
        std::string Anchor, Plain;
        int Width = 0, Height = 0;
        RenderHtml(C, Text, R, dynamic_cast<TImageList*>(Grid->GridImages()), 0, 0, false, false,
                   false, false, Grid->BlinkOn(), !Grid->EnhTextSize(), 1.0, LinkColor, Anchor,
                   Plain, Width, Height);
        if (Glyph)
            DrawSortGlyph(Grid, C, ACol, R.Right + 2, GlyphY(Grid, R));
        return;
    }

    // Rich-text cells ("{\" texts) are drawn as plain text until the rich-text control exists.
    const TAlignment Align = CellAlignment(Grid, ACol, ARow);
    Cell.Alignment = Align;
    TRect TR = R;
    TR.Right -= 2;
    TR.Left += Grid->XYOffsetX();
    if (Align == taCenter && ARow == 0 && Grid->SortShow() && ACol == Grid->SortColumn())
        TR.Left += 10;
    // Room for the picture: before the text at the left edge, after it at the right edge,
    // whatever the alignment, where the picture is drawn.
    if (Cell.HPlace == ihpBeforeText)
        TR.Left += Cell.GraphicWidth;
    else if (Cell.HPlace == ihpAfterText)
        TR.Right -= Cell.GraphicWidth;
    if (Cell.VPlace == ivpAboveText)
        TR.Top += Cell.GraphicHeight;
    else if (Cell.VPlace == ivpBelowText)
        TR.Bottom -= Cell.GraphicHeight;
    TR.Top += Grid->XYOffsetY();
    const int SortSpace = ARow == 0 && ACol == Grid->SortColumn() && Grid->SortShow() ? 14 : 0;

    if (Grid->URLShow() && IsUrlText(Text)) {
        if (!Grid->URLFull())
            StripUrlPrefix(Text);
        TFontStyles Style = C->Font()->Style();
        Style.Include(fsUnderline);
        C->Font()->SetStyle(Style);
        C->Font()->SetColor(LinkColor);
    }

    const int Lines = LineCount(Text, Grid->Multilinecells());
    unsigned Flags = DT_NOPREFIX | DT_EXPANDTABS | VerticalFlag(Grid->VAlignFlag());
    if (Lines == 1 && !Grid->WordWrap()) {
        Flags |= DT_SINGLELINE;
        if (Grid->EnhTextSize())
            Flags |= DT_END_ELLIPSIS;
    }
    if (Grid->WordWrap())
        Flags |= DT_WORDBREAK | DT_EDITCONTROL;
    Flags |= Align == taRightJustify ? DT_RIGHT : Align == taCenter ? DT_CENTER : DT_LEFT;
    if (Align == taLeftJustify)
        TR.Right -= SortSpace;
    else
        TR.Left += SortSpace;

    const int OldMode = C->SetBkMode(TRANSPARENT);
    TRect Drawn = TR;
    C->DrawText(Text, Drawn, Flags);
    C->SetBkMode(OldMode);
    Cell.LineHeight = C->TextHeight("hg");

    if (Glyph) {
        const int Used = std::min(TR.Right - TR.Left, C->TextWidth(Text));
        int X = R.Left + 8;
        if (Align == taLeftJustify)
            X = R.Left + Used + 10;
        else if (Align == taRightJustify)
            X = R.Right - Used - 10;
        DrawSortGlyph(Grid, C, ACol, X, GlyphY(Grid, R));
    }
}

} // namespace advgridpaint
