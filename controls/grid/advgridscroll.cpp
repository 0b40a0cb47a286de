// The flat scroll bars with thumbs proportional to the visible rows and columns, and the hint
// that tells which row or column a dragged thumb brings into view.
#include "controls/grid/advgrid.h"

#include "platform/forms/hintwindow.h"
#include "platform/rtl/convert.h"
#include "platform/ui/flatscrollbars.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/sysmetrics.h"

#include <algorithm>

namespace {

// The flat bars' positions run from 0 to ThumbRange - 1.
constexpr int ThumbRange = 128;

LONG_PTR StyleOf(TScrollType Type)
{
    switch (Type) {
    case ssFlat:
        return FSB_FLAT_MODE;
    case ssEncarta:
        return FSB_ENCARTA_MODE;
    default:
        return FSB_REGULAR_MODE;
    }
}

// The thumb's page: the visible share of the scale, rounded; the whole scale when every row or
// column is in view, so that a bar with nothing to scroll does not show.
int PageOf(int Visible, int Fixed, int Count)
{
    if (Count <= 0 || Visible + Fixed >= Count)
        return ThumbRange;
    return static_cast<int>((static_cast<long long>(Visible) * ThumbRange + Count / 2) / Count);
}

bool HasBar(TScrollStyle Bars, bool Vertical)
{
    return Bars == ssBoth || Bars == (Vertical ? ssVertical : ssHorizontal);
}

} // namespace

int TAdvStringGrid::ScrollWidth() const
{
    return FScrollWidth > 0 ? FScrollWidth : GetSystemMetrics(SM_CXVSCROLL);
}

void TAdvStringGrid::SetScrollType(TScrollType Value)
{
    FScrollType = Value;
    ApplyScrollLook();
}

void TAdvStringGrid::SetScrollColor(TColor Value)
{
    FScrollColor = Value;
    ApplyScrollLook();
}

void TAdvStringGrid::SetScrollWidth(int Value)
{
    FScrollWidth = Value;
    ApplyScrollLook();
}

void TAdvStringGrid::ApplyScrollLook()
{
    if (!FFlatInit || !HandleAllocated())
        return;
    const HWND Wnd = WindowHandle();
    FlatSB_SetScrollProp(Wnd, WSB_PROP_VSTYLE, StyleOf(FScrollType), true);
    FlatSB_SetScrollProp(Wnd, WSB_PROP_HSTYLE, StyleOf(FScrollType), true);
    if (FScrollColor != clNone) {
        FlatSB_SetScrollProp(Wnd, WSB_PROP_VBKGCOLOR, FScrollColor, true);
        FlatSB_SetScrollProp(Wnd, WSB_PROP_HBKGCOLOR, FScrollColor, true);
    }
    FlatSB_SetScrollProp(Wnd, WSB_PROP_CXVSCROLL, ScrollWidth(), true);
    FlatSB_SetScrollProp(Wnd, WSB_PROP_CYHSCROLL, ScrollWidth(), true);
}

void TAdvStringGrid::SetScrollProportional(bool Value)
{
    FScrollProportional = Value;
    // The bars belong to the window: made now when the grid can have one.
    if (!HandleAllocated() && Parent() == nullptr)
        return;
    const HWND Wnd = Handle();
    if (Value) {
        FFlatInit = InitializeFlatSB(Wnd) != 0;
        ApplyScrollLook();
        if (FFlatInit && VisibleRowCount() + FixedRows() < RowCount()) {
            if (HasBar(ScrollBars(), true))
                FlatSB_ShowScrollBar(Wnd, SB_VERT, true);
            UpdateVScrollBar();
        }
        if (FFlatInit && VisibleColCount() + FixedCols() < ColCount()) {
            if (HasBar(ScrollBars(), false))
                FlatSB_ShowScrollBar(Wnd, SB_HORZ, true);
            UpdateHScrollBar();
        }
    } else if (FFlatInit) {
        UninitializeFlatSB(Wnd);
        FFlatInit = false;
        TScrollInfo Info;
        Info.fMask = SIF_PAGE;
        Info.nPage = 0;
        SetScrollInfo(Wnd, SB_VERT, Info, true);
        SetScrollInfo(Wnd, SB_HORZ, Info, true);
    }
}

void TAdvStringGrid::UpdateVScrollBar()
{
    UpdateFlatThumb(false);
}

void TAdvStringGrid::UpdateHScrollBar()
{
    UpdateFlatThumb(true);
}

void TAdvStringGrid::UpdateFlatThumb(bool Horizontal)
{
    if (!FFlatInit || !HandleAllocated() || !HasBar(ScrollBars(), !Horizontal))
        return;
    TScrollInfo Info;
    Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    Info.nMin = 0;
    Info.nMax = ThumbRange - 1;
    const int Page = Horizontal ? PageOf(VisibleColCount(), FixedCols(), ColCount())
                                : PageOf(VisibleRowCount(), FixedRows(), RowCount());
    Info.nPage = static_cast<UINT>(Page);
    // The grid's place on its 0..127 scale, on the thumb's shorter run.
    Info.nPos = Page < ThumbRange ? MulDiv(ScrollPosOf(Horizontal), ThumbRange - Page, 127) : 0;
    FlatSB_SetScrollInfo(WindowHandle(), Horizontal ? SB_HORZ : SB_VERT, Info, true);
}

void TAdvStringGrid::TopLeftChanged()
{
    TStringGrid::TopLeftChanged();
    if (FEditControlShown)
        HideEditorControl();
    UpdateVScrollBar();
    UpdateHScrollBar();
}

void TAdvStringGrid::ShowScrollHint(const std::string& Text)
{
    if (FScrollHintWnd == nullptr)
        FScrollHintWnd = new THintWindow(this);
    TRect R = FScrollHintWnd->CalcHintRect(100, Text, nullptr);
    const TPoint Mouse = GetCursorPos();
    OffsetRect(R, Mouse.X + 10, Mouse.Y);
    FScrollHintWnd->SetColor(FHintColor);
    FScrollHintWnd->ActivateHint(R, Text);
    FScrollHintShow = true;
}

void TAdvStringGrid::HideScrollHint()
{
    if (FScrollHintWnd != nullptr && FScrollHintShow)
        FScrollHintWnd->ReleaseHandle();
    FScrollHintShow = false;
}

bool TAdvStringGrid::FixedBackgroundCells(TGridRect& Cells)
{
    const TBackGround* B = BackGround();
    if (B->Display() != bdFixed || B->Bitmap() == nullptr || B->Bitmap()->Empty())
        return false;
    MouseToCell(B->Left(), B->Top(), Cells.Left, Cells.Top);
    MouseToCell(B->Left() + B->Bitmap()->Width(), B->Top() + B->Bitmap()->Height(), Cells.Right,
                Cells.Bottom);
    return true;
}

int TAdvStringGrid::GridThumbPos(TMessage& Message, bool Cols)
{
    const int Code = LoWord(Message.WParam);
    const int Pos = static_cast<short>(HiWord(Message.WParam));
    if (!FFlatInit || (Code != SB_THUMBTRACK && Code != SB_THUMBPOSITION))
        return Pos;
    // The flat thumb runs over 128 less its page: back to the grid's 0..127 scale. With every
    // row or column in view there is no room, and the position is the first.
    const int Page = Cols ? PageOf(VisibleColCount(), FixedCols(), ColCount())
                          : PageOf(VisibleRowCount(), FixedRows(), RowCount());
    const int Room = ThumbRange - Page;
    const int Converted = Room > 0 ? std::min(MulDiv(Pos, 127, Room), 127) : 0;
    Message.WParam = MakeWParam(static_cast<unsigned>(Code), static_cast<unsigned>(Converted));
    return Converted;
}

// The first column (row) a thumb at Pos brings into view.
int TAdvStringGrid::ThumbCell(int Pos, bool Horizontal)
{
    return Horizontal
               ? MulDiv(Pos, ColCount() - VisibleColCount() - FixedCols(), 127) + FixedCols()
               : MulDiv(Pos, RowCount() - VisibleRowCount() - FixedRows(), 127) + FixedRows();
}

void TAdvStringGrid::TrackScrollHint(int Code, int Pos, bool Horizontal)
{
    if (FScrollHints != (Horizontal ? shHorizontal : shVertical) && FScrollHints != shBoth)
        return;
    if (Code == SB_ENDSCROLL) {
        HideScrollHint();
    } else if (Code == SB_THUMBTRACK) {
        const int N = ThumbCell(Pos, Horizontal);
        std::string Text = (Horizontal ? "Col : " : "Row : ") + IntToStr(N);
        if (OnScrollHint)
            OnScrollHint(this, N, Text);
        ShowScrollHint(Text);
    }
}

// The base grid scrolls; a background picture fixed in place has its old and new cells repainted.
void TAdvStringGrid::ScrollKeepingBackground(TMessage& Message, int Code)
{
    TGridRect Before, After;
    const bool Fixed = FixedBackgroundCells(Before);
    Inherited(Message);
    if (Fixed && FixedBackgroundCells(After) && !(Before == After) && Code != SB_THUMBTRACK) {
        RepaintCellRange(Before);
        RepaintCellRange(After);
    }
}

void TAdvStringGrid::WMHScroll(TMessage& Message)
{
    const int Code = LoWord(Message.WParam);
    TrackScrollHint(Code, GridThumbPos(Message, true), true);
    ScrollKeepingBackground(Message, Code);
    UpdateHScrollBar();
}

void TAdvStringGrid::WMVScroll(TMessage& Message)
{
    const int Code = LoWord(Message.WParam);
    const int Pos = GridThumbPos(Message, false);
    TrackScrollHint(Code, Pos, false);
    if (Code == SB_THUMBTRACK && FScrollSynch) {
        const int N = ThumbCell(Pos, false);
        if (N >= 0 && N < RowCount())
            SetTopRow(N);
    }
    ScrollKeepingBackground(Message, Code);
    UpdateVScrollBar();
}
