// platform/stdctrls/gridinput.cpp: TCustomGrid's keys, pointer selection with timed
// auto-scroll, sizing and moving in the fixed cells, and its scroll bars' requests.
#include "platform/stdctrls/grids.h"

#include "platform/stdctrls/inplaceedit.h"
#include "platform/ui/input.h"
#include "platform/ui/screen.h"
#include "platform/ui/timers.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr std::uintptr_t ScrollTimer = 1;
constexpr UINT ScrollInterval = 60;

} // namespace

const TMessageMap& TCustomGrid::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCustomGrid::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TCustomGrid::WMHScroll>(WM_HSCROLL),
        OnMessage<&TCustomGrid::WMVScroll>(WM_VSCROLL),
        OnMessage<&TCustomGrid::WMTimer>(WM_TIMER),
        OnMessage<&TCustomGrid::WMSetFocus>(WM_SETFOCUS),
        OnMessage<&TCustomGrid::WMKillFocus>(WM_KILLFOCUS),
        OnMessage<&TCustomGrid::WMCancelMode>(WM_CANCELMODE),
        OnMessage<&TCustomGrid::WMSetCursor>(WM_SETCURSOR),
        OnMessage<&TCustomGrid::WMChar>(WM_CHAR),
        OnMessage<&TCustomGrid::WMCommand>(WM_COMMAND),
        OnMessage<&TCustomGrid::WMLButtonDown>(WM_LBUTTONDOWN),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomControl::ClassMessageMap};
    return Map;
}

void TCustomGrid::WMGetDlgCode(TMessage& Message)
{
    Message.Result = DLGC_WANTARROWS;
    if (FOptions.Contains(goRowSelect))
        return;
    if (FOptions.Contains(goTabs))
        Message.Result |= DLGC_WANTTAB;
    if (FOptions.Contains(goEditing))
        Message.Result |= DLGC_WANTCHARS;
}

bool TCustomGrid::CanGridAcceptKey(Word, TShiftState)
{
    return true;
}

void TCustomGrid::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0 || !CanGridAcceptKey(Key, Shift))
        return;
    const bool Ctrl = Shift.Contains(ssCtrl);
    const bool Extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
    const bool RowSelect = FOptions.Contains(goRowSelect);
    TGridCoord New = FCurrent;
    TGridCoord NewTopLeft = FTopLeft;
    const int PageRows = std::max(VisibleRowCount(), 1);
    const int PageCols = std::max(VisibleColCount(), 1);
    // With Ctrl the keys scroll, or move within what is in view.
    bool KeepInView = false;
    switch (Key) {
    case VK_UP:
        if (Ctrl) {
            --NewTopLeft.Y;
            KeepInView = true;
        } else
            --New.Y;
        break;
    case VK_DOWN:
        if (Ctrl) {
            ++NewTopLeft.Y;
            KeepInView = true;
        } else
            ++New.Y;
        break;
    case VK_LEFT:
        if (RowSelect)
            --NewTopLeft.X;
        else if (Ctrl)
            New.X = FTopLeft.X;
        else
            --New.X;
        break;
    case VK_RIGHT:
        if (RowSelect)
            ++NewTopLeft.X;
        else if (Ctrl)
            New.X = FTopLeft.X + PageCols - 1;
        else
            ++New.X;
        break;
    case VK_PRIOR:
        if (Ctrl)
            New.Y = FTopLeft.Y;
        else {
            New.Y -= PageRows;
            NewTopLeft.Y -= PageRows;
        }
        break;
    case VK_NEXT:
        if (Ctrl)
            New.Y = FTopLeft.Y + PageRows - 1;
        else {
            New.Y += PageRows;
            NewTopLeft.Y += PageRows;
        }
        break;
    case VK_HOME:
        if (Ctrl || !RowSelect)
            New.X = FFixedCols;
        if (Ctrl || RowSelect)
            New.Y = FFixedRows;
        break;
    case VK_END:
        if (Ctrl || !RowSelect)
            New.X = FColCount - 1;
        if (Ctrl || RowSelect)
            New.Y = FRowCount - 1;
        break;
    case VK_TAB:
        if (!FOptions.Contains(goTabs) || Shift.Contains(ssAlt))
            return;
        // Round the scrollable cells row by row, past the columns that are no tab stops.
        for (int Step = 0; Step < FColCount - FFixedCols; ++Step) {
            if (Shift.Contains(ssShift)) {
                if (--New.X < FFixedCols) {
                    New.X = FColCount - 1;
                    if (--New.Y < FFixedRows)
                        New.Y = FRowCount - 1;
                }
            } else if (++New.X >= FColCount) {
                New.X = FFixedCols;
                if (++New.Y >= FRowCount)
                    New.Y = FFixedRows;
            }
            if (TabStops(New.X))
                break;
        }
        if (!TabStops(New.X))
            return;
        FocusCell(New.X, New.Y, true);
        Key = 0;
        return;
    case VK_F2:
        if (!Ctrl)
            SetEditorMode(true);
        return;
    case VK_ESCAPE:
        if (FInplaceEdit != nullptr && FInplaceEdit->Visible()) {
            CancelEdit();
            Key = 0;
        }
        return;
    default:
        return;
    }
    Key = 0;
    New.X = std::clamp(New.X, FFixedCols, FColCount - 1);
    New.Y = std::clamp(New.Y, FFixedRows, FRowCount - 1);
    if (!(NewTopLeft == FTopLeft))
        MoveTopLeft(NewTopLeft.X, NewTopLeft.Y);
    if (KeepInView)
        New.Y = std::clamp(New.Y, FTopLeft.Y, FTopLeft.Y + std::max(VisibleRowCount(), 1) - 1);
    if (!(New == FCurrent) || !Extend)
        FocusCell(New.X, New.Y, !Extend);
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && CanFocus() && !Focused())
        SetFocus();
    if (Button != mbLeft || Shift.Contains(ssDouble)) {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    TGridDrawInfo D;
    CalcDrawInfo(D);
    TGridState Sizing = gsNormal;
    int Index = -1;
    CalcSizingState(X, Y, Sizing, Index, FSizingPos, FSizingOfs, D);
    const TGridCoord Pressed = MouseCoord(X, Y);
    if (Sizing == gsColSizing || Sizing == gsRowSizing) {
        FGridState = Sizing;
        FSizingIndex = Index;
        DrawSizingLine(D);
    } else if (FOptions.Contains(goColMoving) && Pressed.X >= FFixedCols && Pressed.Y >= 0 &&
               Pressed.Y < FFixedRows) {
        FGridState = gsColMoving;
        FMoveIndex = FMovePos = Pressed.X;
        DrawMove();
    } else if (FOptions.Contains(goRowMoving) && Pressed.Y >= FFixedRows && Pressed.X >= 0 &&
               Pressed.X < FFixedCols) {
        FGridState = gsRowMoving;
        FMoveIndex = FMovePos = Pressed.Y;
        DrawMove();
    } else {
        const TGridCoord Cell = MouseCoord(X, Y);
        if (Cell.X >= FFixedCols && Cell.Y >= FFixedRows && FOptions.Contains(goEditing)) {
            // A press on the current cell edits it; on another, that cell becomes current.
            if (Cell == FCurrent)
                ShowEditor();
            else {
                MoveCurrent(Cell.X, Cell.Y, true, true);
                UpdateEdit();
            }
            Click();
        } else if (Cell.X >= FFixedCols && Cell.Y >= FFixedRows) {
            const bool Extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
            MoveCurrent(Cell.X, Cell.Y, !Extend, true);
            FGridState = gsSelecting;
            SetTimer(Handle(), ScrollTimer, ScrollInterval);
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    switch (FGridState) {
    case gsSelecting: {
        const TGridCoord Cell = MouseCoord(X, Y);
        if (Cell.X >= FFixedCols && Cell.Y >= FFixedRows && !(Cell == FCurrent))
            MoveCurrent(Cell.X, Cell.Y, !FOptions.Contains(goRangeSelect), false);
        break;
    }
    case gsColMoving:
        MoveAndScroll(X, MouseCoord(X, Y).X, true);
        break;
    case gsRowMoving:
        MoveAndScroll(Y, MouseCoord(X, Y).Y, false);
        break;
    case gsColSizing:
    case gsRowSizing: {
        TGridDrawInfo D;
        CalcDrawInfo(D);
        DrawSizingLine(D);
        FSizingPos = (FGridState == gsColSizing ? X : Y) + FSizingOfs;
        DrawSizingLine(D);
        break;
    }
    default:
        break;
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridState State = FGridState;
    const int MoveIndex = FMoveIndex;
    const int MovePos = FMovePos;
    const int SizingIndex = FSizingIndex;
    // The new size reaches from the cell's start to where the line was let go.
    int NewSize = 0;
    if (State == gsColSizing || State == gsRowSizing) {
        const bool Cols = State == gsColSizing;
        const TRect Cell = Cols ? CellRect(SizingIndex, 0) : CellRect(0, SizingIndex);
        NewSize = FSizingPos - (Cols ? Cell.Left : Cell.Top);
    }
    StopTracking();
    switch (State) {
    case gsColSizing:
        if (NewSize > 1)
            SetColWidths(SizingIndex, NewSize);
        break;
    case gsRowSizing:
        if (NewSize > 1)
            SetRowHeights(SizingIndex, NewSize);
        break;
    case gsSelecting:
        Click();
        break;
    case gsColMoving:
        if (MovePos != MoveIndex)
            MoveColumn(MoveIndex, MovePos);
        break;
    case gsRowMoving:
        if (MovePos != MoveIndex)
            MoveRow(MoveIndex, MovePos);
        break;
    default:
        break;
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (!TCustomControl::DoMouseWheelDown(Shift, MousePos) && FCurrent.Y < FRowCount - 1)
        FocusCell(FCurrent.X, FCurrent.Y + 1, true);
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (!TCustomControl::DoMouseWheelUp(Shift, MousePos) && FCurrent.Y > FFixedRows)
        FocusCell(FCurrent.X, FCurrent.Y - 1, true);
    return true;
}

void TCustomGrid::StopTracking()
{
    if (FGridState == gsSelecting && HandleAllocated())
        KillTimer(WindowHandle(), ScrollTimer);
    if (FGridState == gsColSizing || FGridState == gsRowSizing) {
        TGridDrawInfo D;
        CalcDrawInfo(D);
        DrawSizingLine(D);
    }
    if (FGridState == gsColMoving || FGridState == gsRowMoving)
        DrawMove();
    FGridState = gsNormal;
    FSizingIndex = -1;
    FMoveIndex = FMovePos = -1;
}

// Over a divider that can be dragged, and while one is, the sizing shape; the screen's cursor
// still wins.
void TCustomGrid::WMSetCursor(TMessage& Message)
{
    const bool Client = static_cast<HWND>(Message.WParam) == WindowHandle() &&
                        LoWord(static_cast<std::uintptr_t>(Message.LParam)) == HTCLIENT;
    if (Client && (Screen == nullptr || Screen->Cursor() == crDefault)) {
        TGridState State = FGridState;
        if (State == gsNormal) {
            const TPoint P = ScreenToClient(GetCursorPos());
            TGridDrawInfo D;
            CalcDrawInfo(D);
            int Index = -1;
            int Pos = 0;
            int Ofs = 0;
            CalcSizingState(P.X, P.Y, State, Index, Pos, Ofs, D);
        }
        if (State == gsColSizing || State == gsRowSizing) {
            ::SetCursor(State == gsColSizing ? crHSplit : crVSplit);
            Message.Result = 1;
            return;
        }
    }
    Inherited(Message);
}

void TCustomGrid::WMCancelMode(TMessage& Message)
{
    StopTracking();
    Inherited(Message);
}

void TCustomGrid::TimedScroll(TGridScrollDirection Direction)
{
    const int DirX = Direction.Contains(sdLeft) ? -1 : Direction.Contains(sdRight) ? 1 : 0;
    const int DirY = Direction.Contains(sdUp) ? -1 : Direction.Contains(sdDown) ? 1 : 0;
    const int X = std::clamp(FCurrent.X + DirX, FFixedCols, FColCount - 1);
    const int Y = std::clamp(FCurrent.Y + DirY, FFixedRows, FRowCount - 1);
    if (X != FCurrent.X || Y != FCurrent.Y)
        MoveCurrent(X, Y, !FOptions.Contains(goRangeSelect), true);
}

void TCustomGrid::WMTimer(TMessage& Message)
{
    if (Message.WParam != ScrollTimer || FGridState != gsSelecting) {
        Inherited(Message);
        return;
    }
    const TPoint P = ScreenToClient(GetCursorPos());
    TGridDrawInfo D;
    CalcDrawInfo(D);
    TGridScrollDirection Direction;
    if (P.X < D.Horz.FixedBoundary)
        Direction.Include(sdLeft);
    else if (P.X >= D.Horz.FullVisBoundary)
        Direction.Include(sdRight);
    if (P.Y < D.Vert.FixedBoundary)
        Direction.Include(sdUp);
    else if (P.Y >= D.Vert.FullVisBoundary)
        Direction.Include(sdDown);
    if (!(Direction == TGridScrollDirection{}))
        TimedScroll(Direction);
}

void TCustomGrid::ModifyScrollBar(bool Cols, int ScrollCode, int Pos)
{
    const int First = Cols ? FTopLeft.X : FTopLeft.Y;
    const int Page = std::max(Cols ? VisibleColCount() : VisibleRowCount(), 1);
    const TGridCoord Max = MaxTopLeft();
    int New = First;
    switch (ScrollCode) {
    case SB_LINEUP:
        --New;
        break;
    case SB_LINEDOWN:
        ++New;
        break;
    case SB_PAGEUP:
        New -= Page;
        break;
    case SB_PAGEDOWN:
        New += Page;
        break;
    case SB_THUMBTRACK:
        if (!FOptions.Contains(goThumbTracking))
            return;
        New = CellOfScrollPos(Cols, Pos);
        break;
    case SB_THUMBPOSITION:
        New = CellOfScrollPos(Cols, Pos);
        break;
    case SB_TOP:
        New = Cols ? FFixedCols : FFixedRows;
        break;
    case SB_BOTTOM:
        New = Cols ? Max.X : Max.Y;
        break;
    default:
        return;
    }
    if (Cols)
        MoveTopLeft(New, FTopLeft.Y);
    else
        MoveTopLeft(FTopLeft.X, New);
    // The thumb lands on the cell's own place on the scale.
    UpdateScrollPos();
}

void TCustomGrid::WMHScroll(TMessage& Message)
{
    ModifyScrollBar(true, int(LoWord(Message.WParam)), int(short(HiWord(Message.WParam))));
    Message.Result = 0;
}

void TCustomGrid::WMVScroll(TMessage& Message)
{
    ModifyScrollBar(false, int(LoWord(Message.WParam)), int(short(HiWord(Message.WParam))));
    Message.Result = 0;
}

// The focus coming back from the editor changes nothing; from elsewhere it may show the editor.
void TCustomGrid::WMSetFocus(TMessage& Message)
{
    Inherited(Message);
    const HWND From = static_cast<HWND>(Message.WParam);
    if (FInplaceEdit == nullptr || !FInplaceEdit->HandleAllocated() ||
        From != FInplaceEdit->Handle()) {
        InvalidateRect(Selection());
        InvalidateCell(FCurrent.X, FCurrent.Y);
        UpdateEdit();
    }
}

// The focus going to the editor keeps it; going elsewhere hides it.
void TCustomGrid::WMKillFocus(TMessage& Message)
{
    Inherited(Message);
    InvalidateRect(Selection());
    InvalidateCell(FCurrent.X, FCurrent.Y);
    const HWND To = static_cast<HWND>(Message.WParam);
    if (FInplaceEdit != nullptr && FInplaceEdit->HandleAllocated() && To != FInplaceEdit->Handle())
        FInplaceEdit->Hide();
}
