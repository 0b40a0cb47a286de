// controls/entry/ovceddisplay.cpp: the editor's display: metrics from its fixed font, painting
// of the text, the selection, the margin with its bookmark glyphs and the borders, the window's
// scroll bars (with their scale for long texts) and scrolling.
#include "controls/entry/ovccmd.h"
#include "controls/entry/ovcedcols.h"
#include "controls/entry/ovcedit.h"
#include "controls/entry/ovcedres.h"
#include "controls/entry/ovcmisc.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"
#include "platform/ui/scrollbars.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int GlyphCount = 10;
// The widest horizontal range the bar offers without word wrap.
constexpr int MaxHorzRange = 512;

// The cells of a screen line from its first column: each the text one column shows, tabs as
// spaces up to the next tab stop.
std::vector<std::string> LineCells(std::string_view Line, int TabSize, bool Utf8)
{
    std::vector<std::string> Cells;
    for (int I = 0; I < static_cast<int>(Line.size());) {
        const int Next = NextCharOffset(Line, I, Utf8);
        if (Line[static_cast<std::size_t>(I)] == '\t') {
            const int Stop = (static_cast<int>(Cells.size()) / TabSize + 1) * TabSize;
            Cells.resize(static_cast<std::size_t>(Stop), " ");
        } else {
            Cells.emplace_back(
                Line.substr(static_cast<std::size_t>(I), static_cast<std::size_t>(Next - I)));
        }
        I = Next;
    }
    return Cells;
}

} // namespace

// Metrics ----------------------------------------------------------------------------------------

void TOvcCustomEditor::ComputeMetrics()
{
    if (!HandleAllocated() || FInMetrics)
        return;
    FInMetrics = true;
    // Showing or hiding a bar changes the client area, so repeat until nothing changes.
    for (int Pass = 0; Pass < 4; ++Pass) {
        Canvas()->Font()->Assign(FFixedFont->Font());
        TTextMetric M{};
        Canvas()->GetTextMetrics(M);
        const int CharWidth = std::max(1, static_cast<int>(M.tmAveCharWidth));
        const int LineHeight = std::max(1, static_cast<int>(M.tmHeight + M.tmExternalLeading) + 1);
        const int Cols = std::max(1, (ClientWidth() - FLeftMargin - FRightMargin) / CharWidth);
        const int Rows = std::max(1, ClientHeight() / LineHeight);
        const bool Changed = CharWidth != FCharWidth || LineHeight != FLineHeight ||
                             Cols != FVisibleCols || Rows != FVisibleLines;
        FCharWidth = CharWidth;
        FLineHeight = LineHeight;
        FVisibleCols = Cols;
        FVisibleLines = Rows;
        if (FWrapToWindow && WordWrap() && Cols > 2 && WrapColumn() != Cols - 2)
            SetWrapColumn(Cols - 2);
        if (!Changed && Pass > 0)
            break;
        UpdateScrollBars();
        if (FLeftCol > 0 && FVisibleCols >= FHScrollMax) {
            FLeftCol = 0;
            UpdateScrollBars();
        }
    }
    FInMetrics = false;
    FCaretPair->SetCellHeight(FLineHeight);
    FCaretPair->SetCellWidth(FCharWidth);
    FRepaintPending = true;
    Invalidate();
}

void TOvcCustomEditor::WMSize(TMessage& Message)
{
    Inherited(Message);
    if (FInMetrics)
        return;
    const bool FittedBefore = LineCount() <= FVisibleLines;
    ComputeMetrics();
    if (!FittedBefore && LineCount() <= FVisibleLines)
        SetTopLineInternal(1);
}

void TOvcCustomEditor::CMCtl3DChanged(TMessage& Message)
{
    Inherited(Message);
    // The sunken edge replaces the single border, or gives way to it.
    if (HandleAllocated() && FBorderStyle == bsSingle && !Loading())
        RecreateWnd();
}

void TOvcCustomEditor::PlaceCaret()
{
    const int Row = FCaretLine - FTopLine;
    const int X = FLeftMargin + (CaretColumn() - 1 - FLeftCol) * FCharWidth;
    FCaretPair->SetPosition(X, Row * FLineHeight);
}

// Painting ---------------------------------------------------------------------------------------

bool TOvcCustomEditor::ShownSelection(int& HBLine, int& HBCol, int& HELine, int& HECol) const
{
    HBLine = HBCol = HELine = HECol = 0;
    if (!Enabled() || !HasSelection() || (FHideSelection && !FFocused))
        return false;
    const auto LineAndColumn = [this](TParaPos P, int& Line, int& Col) {
        int Pos = 1;
        FParas->ParaToLine(P.Para, P.Pos, Line, Pos);
        const TParaPos Start = LineStart(Line);
        Col = ColumnOfOffset(FParas->LineText(Line), P.Pos - Start.Pos, TabSize(),
                             ParaIsUtf8(P.Para)) +
              1;
    };
    LineAndColumn(SelStart(), HBLine, HBCol);
    LineAndColumn(SelEnd(), HELine, HECol);
    return true;
}

void TOvcCustomEditor::Paint()
{
    TCanvas* C = Canvas();
    C->Font()->Assign(FFixedFont->Font());
    C->Brush()->SetStyle(bsSolid);
    const TRect Clip = C->ClipRect();
    const int W = ClientWidth();
    const int H = ClientHeight();
    const int TextRight = FLeftMargin + FVisibleCols * FCharWidth;
    const int FirstRow = std::max(0, Clip.Top) / FLineHeight + 1;
    int LastRow = (Clip.Bottom + FLineHeight - 1) / FLineHeight;
    if (LastRow == FVisibleLines)
        ++LastRow;

    C->Brush()->SetColor(Color());
    C->FillRect(TRect{0, 0, FLeftMargin, H});
    C->FillRect(TRect{TextRight, 0, W, H});
    if (Clip.Left < FLeftMargin)
        PaintMargin(C, Clip, FirstRow, LastRow);

    int HBLine = 0, HBCol = 0, HELine = 0, HECol = 0;
    const bool HasSel = ShownSelection(HBLine, HBCol, HELine, HECol);
    for (int Row = FirstRow; Row <= LastRow; ++Row)
        PaintRow(C, Row, Enabled(), HasSel, HBLine, HBCol, HELine, HECol);

    FRepaintPending = false;
    if (FScrollBarsPending)
        UpdateScrollBars();
    if (FFocused)
        PlaceCaret();
    PaintBorders(C);
}

void TOvcCustomEditor::PaintMargin(TCanvas* C, const TRect&, int FirstRow, int LastRow)
{
    C->Brush()->SetColor(FMarginColor);
    C->FillRect(TRect{0, (FirstRow - 1) * FLineHeight, FLeftMargin, LastRow * FLineHeight});
    if (!FShowBookmarks)
        return;
    if (!FGlyphs)
        FGlyphs = LoadLibraryBitmap(OvcBookmarkGlyphsName);
    if (!FGlyphs)
        return;
    const int GlyphW = FGlyphs->Width() / GlyphCount;
    const int GlyphH = FGlyphs->Height();
    if (GlyphW > FLeftMargin)
        return;
    std::vector<int> Drawn;
    for (int N = 0; N < GlyphCount; ++N) {
        const TParaPos M = FParas->Marker(N);
        if (M.Para < 1 || M.Para > ParaCount())
            continue;
        int Line = 1, Col = 1;
        FParas->ParaToLine(M.Para, M.Pos, Line, Col);
        const int Row = Line - FTopLine + 1;
        if (Row < FirstRow || Row > LastRow ||
            std::find(Drawn.begin(), Drawn.end(), Line) != Drawn.end())
            continue;
        Drawn.push_back(Line);
        int Y = (Row - 1) * FLineHeight;
        if (FLineHeight >= GlyphH + 2)
            Y += (FLineHeight - GlyphH) / 2;
        C->CopyRect(TRect{1, Y, 1 + GlyphW, Y + GlyphH}, FGlyphs->Canvas(),
                    TRect{N * GlyphW, 0, (N + 1) * GlyphW, GlyphH});
    }
}

void TOvcCustomEditor::PaintRow(TCanvas* C, int Row, bool Enabled, bool HasSel, int HBLine,
                                int HBCol, int HELine, int HECol)
{
    const int Y = (Row - 1) * FLineHeight;
    const TRect R{FLeftMargin, Y, FLeftMargin + FVisibleCols * FCharWidth, Y + FLineHeight};
    const int Line = FTopLine + Row - 1;
    std::vector<std::string> Cells;
    if (Line <= LineCount())
        Cells = LineCells(FParas->LineText(Line), TabSize(), ParaIsUtf8(LineStart(Line).Para));
    if (OnDrawLine) {
        std::string S;
        for (const std::string& Cell : Cells)
            S += Cell;
        bool WasDrawn = false;
        DoDrawLine(C, R, S, Line, HBLine, HBCol, HELine, HECol, WasDrawn);
        if (WasDrawn)
            return;
    }
    const int Total = static_cast<int>(Cells.size());
    const int From = FLeftCol;
    const int To = std::min(Total, FLeftCol + FVisibleCols);
    int SelFrom = To, SelTo = To;
    if (HasSel && Line >= HBLine && Line <= HELine) {
        SelFrom = std::clamp(Line == HBLine ? HBCol - 1 : 0, From, To);
        SelTo = std::clamp(Line == HELine ? HECol - 1 : Total, SelFrom, To);
    }
    const TColor Back = Color();
    const TColor Fore = Enabled ? FFixedFont->Color() : clGrayText;
    const auto Run = [&](int ColFrom, int ColTo, bool Selected) {
        if (ColTo <= ColFrom)
            return;
        std::string Text;
        for (int I = ColFrom; I < ColTo; ++I)
            Text += Cells[static_cast<std::size_t>(I)];
        const TRect RunRect{FLeftMargin + (ColFrom - FLeftCol) * FCharWidth, Y,
                            FLeftMargin + (ColTo - FLeftCol) * FCharWidth, Y + FLineHeight};
        C->Brush()->SetColor(Selected ? FHighlightColors->BackColor() : Back);
        C->Font()->SetColor(Selected ? FHighlightColors->TextColor() : Fore);
        C->ExtTextOut(RunRect.Left, Y + 1, ETO_OPAQUE | ETO_CLIPPED, &RunRect, Text);
    };
    Run(From, SelFrom, false);
    Run(SelFrom, SelTo, true);
    Run(SelTo, To, false);
    const int RestLeft = FLeftMargin + std::max(0, To - From) * FCharWidth;
    if (RestLeft < R.Right) {
        C->Brush()->SetColor(Back);
        C->FillRect(TRect{RestLeft, Y, R.Right, R.Bottom});
    }
}

void TOvcCustomEditor::PaintBorders(TCanvas* C)
{
    DrawBorders(C, *FBorders, ClientWidth(), ClientHeight());
}

void TOvcCustomEditor::DoDrawLine(TCanvas* Canvas, const TRect& Rect, const std::string& S,
                                  int Line, int HBLine, int HBCol, int HELine, int HECol,
                                  bool& WasDrawn)
{
    WasDrawn = false;
    if (OnDrawLine)
        OnDrawLine(this, Canvas, Rect, S, static_cast<int>(S.size()), Line, FLeftCol, FVisibleCols,
                   HBLine, HBCol, HELine, HECol, WasDrawn);
}

void TOvcCustomEditor::InvalidateLines(int First, int Last)
{
    if (!HandleAllocated())
        return;
    const int FirstRow = std::max(First, FTopLine) - FTopLine;
    const int LastRow = std::min(Last, FTopLine + FVisibleLines) - FTopLine;
    if (LastRow < FirstRow)
        return;
    const TRect R{0, FirstRow * FLineHeight, ClientWidth(),
                  std::min(ClientHeight(), (LastRow + 1) * FLineHeight)};
    InvalidateRect(Handle(), &R, false);
}

void TOvcCustomEditor::TextChanged(int OldLineCount)
{
    const bool CountChanged = LineCount() != OldLineCount;
    const int First = FParas->ChangedFirst();
    const int Last = FParas->ChangedLast();
    for (TOvcCustomEditor* V = this;;) {
        V->FScrollBarsPending = V->FScrollBarsPending || CountChanged;
        if (CountChanged || First <= 0) {
            V->FRepaintPending = true;
            V->Invalidate();
        } else {
            // The caret's line too, where a replaced selection may have been shown.
            V->InvalidateLines(First, Last);
            if (V == this)
                V->InvalidateLines(FCaretLine, FCaretLine);
        }
        if (CountChanged)
            V->UpdateScrollBars();
        V = V->FNextView;
        if (V == this || V == nullptr)
            break;
    }
}

// Scroll bars and scrolling ----------------------------------------------------------------------

void TOvcCustomEditor::UpdateScrollBars()
{
    FScrollBarsPending = false;
    const int Lines = LineCount();
    const int A = std::max(0, Lines - FVisibleLines + 1);
    FVScale = A > 32767 ? (A / 32768) * 2 : 1;
    int M = WordWrap() ? WrapColumn() : std::min(ParaLengthLimit(), MaxHorzRange);
    if (M <= 0 && FScrollBarsAlways)
        M = 1;
    FHScrollMax = std::max(0, M);
    if (!HandleAllocated())
        return;
    const UINT Keep = FScrollBarsAlways ? UINT{SIF_DISABLENOSCROLL} : UINT{0};
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
        TScrollInfo SI;
        SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | Keep;
        SI.nMin = 1;
        SI.nMax = std::max(1, Lines / FVScale);
        // The page in the bar's own units, so that its last position shows the last page.
        SI.nPage = static_cast<UINT>(std::max(1, (FVisibleLines + FVScale - 1) / FVScale));
        SI.nPos = FTopLine / FVScale;
        SetScrollInfo(Handle(), SB_VERT, SI, true);
        const int Reachable = SI.nMax - static_cast<int>(SI.nPage) + 1;
        FVThumbMax = std::min(A / FVScale, Reachable);
        if (FVThumbMax <= 1 && FScrollBarsAlways)
            FVThumbMax = 2;
        FVThumbMax = std::max(FVThumbMax, 1);
    }
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) {
        const bool Show = FVisibleCols < M || FScrollBarsAlways;
        TScrollInfo SI;
        SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | Keep;
        SI.nMin = 0;
        SI.nMax = Show ? std::max(0, M) : 0;
        SI.nPage = 0;
        SI.nPos = FLeftCol;
        SetScrollInfo(Handle(), SB_HORZ, SI, true);
    }
}

void TOvcCustomEditor::ScrollLines(int Delta)
{
    ScrollText(0, Delta);
}

void TOvcCustomEditor::ScrollText(int DX, int DY)
{
    const int Lines = LineCount();
    int NewLeft = std::max(0, FLeftCol + DX);
    if (DX != 0 && FHScrollMax > 0)
        NewLeft = std::min(NewLeft, FHScrollMax);
    const int NewTop =
        Lines <= FVisibleLines ? 1 : std::clamp(FTopLine + DY, 1, Lines - FVisibleLines + 1);
    if (NewLeft == FLeftCol && NewTop == FTopLine) {
        if (FFocused)
            PlaceCaret();
        return;
    }
    if (FRepaintPending && HandleAllocated())
        UpdateWindow(Handle());
    const int DCol = NewLeft - FLeftCol;
    const int DLine = NewTop - FTopLine;
    FLeftCol = NewLeft;
    FTopLine = NewTop;
    FTopPara = LineStart(NewTop);
    if (HandleAllocated()) {
        if ((DCol != 0 && DLine != 0) || std::abs(DCol) >= FVisibleCols ||
            std::abs(DLine) >= FVisibleLines) {
            Invalidate();
        } else {
            TRect Area{FLeftMargin, 0, FLeftMargin + FVisibleCols * FCharWidth, ClientHeight()};
            if (DLine != 0 && FShowBookmarks)
                Area.Left = 0;
            ScrollWindow(Handle(), -DCol * FCharWidth, -DLine * FLineHeight, &Area, &Area);
        }
    }
    UpdateScrollBars();
    if (FFocused)
        PlaceCaret();
    if (DLine != 0)
        DoOnTopLineChanged(FTopLine);
}

void TOvcCustomEditor::WMVScroll(TMessage& Message)
{
    const int Lines = LineCount();
    int Top = FTopLine;
    switch (LoWord(Message.WParam)) {
    case SB_LINEUP:
        --Top;
        break;
    case SB_LINEDOWN:
        ++Top;
        break;
    case SB_PAGEUP:
        Top -= FVisibleLines;
        break;
    case SB_PAGEDOWN:
        Top += FVisibleLines;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        const int P = static_cast<int>(HiWord(Message.WParam));
        if (P <= 1)
            Top = 1;
        else if (P >= FVThumbMax)
            Top = FVisibleLines >= Lines - 1 ? 1 : Lines - FVisibleLines + 1;
        else
            Top = P * FVScale;
        break;
    }
    case SB_TOP:
        Top = 1;
        break;
    case SB_BOTTOM:
        Top = Lines;
        break;
    default:
        return;
    }
    Top = std::clamp(Top, 1, std::max(1, Lines - 1));
    ScrollText(0, Top - FTopLine);
}

void TOvcCustomEditor::WMHScroll(TMessage& Message)
{
    switch (LoWord(Message.WParam)) {
    case SB_LINELEFT:
        ScrollText(-1, 0);
        break;
    case SB_LINERIGHT:
        ScrollText(1, 0);
        break;
    case SB_PAGELEFT:
        ScrollText(-std::max(1, FVisibleCols - 1), 0);
        break;
    case SB_PAGERIGHT:
        ScrollText(std::max(1, FVisibleCols - 1), 0);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        ScrollText(static_cast<int>(HiWord(Message.WParam)) - FLeftCol, 0);
        break;
    default:
        break;
    }
}

bool TOvcCustomEditor::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (!TOvcEditBase::DoMouseWheelDown(Shift, MousePos))
        ProcessCommand(ccScrollDown, 0);
    return true;
}

bool TOvcCustomEditor::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (!TOvcEditBase::DoMouseWheelUp(Shift, MousePos))
        ProcessCommand(ccScrollUp, 0);
    return true;
}
