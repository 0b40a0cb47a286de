// The grid's cell hints, selection by hovering, the mouse wheel with Ctrl+wheel zoom, and
// middle-button panning with its direction cursors and pan mark.
#include "controls/grid/advgrid.h"

#include "platform/forms/hintwindow.h"
#include "platform/gfx/cursorimage.h"
#include "platform/rtl/resources.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"
#include "platform/ui/screen.h"
#include "platform/ui/timers.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int PanDeadZone = 5;
constexpr int PanMarkSize = 32;
constexpr UINT PanInterval = 10;

// The cursor resources of panning, by direction: [dy + 1][dx + 1].
constexpr int PanCursors[3][3] = {
    {8006, 8004, 8005}, // up-left, up, up-right
    {8002, 8000, 8003}, // left, none, right
    {8008, 8001, 8007}, // down-left, down, down-right
};

TCursor PanCursor(int Dx, int Dy)
{
    const int Id = PanCursors[Dy + 1][Dx + 1];
    if (Screen != nullptr && Screen->Cursors(Id) == nullptr) {
        if (HCURSOR Cursor = LoadCursor(Id))
            Screen->SetCursors(Id, Cursor);
    }
    return Id;
}

int Direction(int Pos, int Origin)
{
    if (Pos < Origin - PanDeadZone)
        return -1;
    if (Pos > Origin + PanDeadZone)
        return 1;
    return 0;
}

} // namespace

// ---- hints -----------------------------------------------------------------------------------

void TAdvStringGrid::CMHintShow(TMessage& Message)
{
    auto& Info = *reinterpret_cast<THintInfo*>(Message.LParam);
    Info.HintColor = FHintColor;
    int C = -1, R = -1;
    MouseToCell(Info.CursorPos.X, Info.CursorPos.Y, C, R);
    if (C < 0 || R < 0 || C >= ColCount() || R >= RowCount())
        return;
    FHintCol = C;
    FHintRow = R;
    const TRect Cell = CellRect(C, R);
    TPoint Pos{Cell.Left, Cell.Bottom + 6};
    const bool DataCell = C >= FixedCols() && R >= FixedRows() &&
                          C < ColCount() - FFixedRightCols && R < RowCount() - FFixedFooters;
    if (DataCell) {
        const int Real = RealColIndex(C);
        if (FHintShowCells || (FHintShowLargeText && CellTextExtent(Real, R).X > ColWidths(C))) {
            Info.HintStr = Cells(Real, R);
            Pos = TPoint{Cell.Left, Cell.Top};
        }
    }
    if (OnGridHint)
        OnGridHint(this, R, C, Info.HintStr);
    Info.HintPos = ClientToScreen(Pos);
    // Another cell asks anew.
    Info.CursorRect = Cell;
}

void TAdvStringGrid::CancelCellHint()
{
    if (FHintCol < 0 && FHintRow < 0)
        return;
    FHintCol = -1;
    FHintRow = -1;
    if (Application != nullptr)
        Application->CancelHint();
}

// ---- hovering --------------------------------------------------------------------------------

void TAdvStringGrid::HoverTick()
{
    if (!FHovering || ComponentState().Contains(csDesigning) || !HandleAllocated())
        return;
    const TPoint Mouse = GetCursorPos();
    if (WindowFromPoint(Mouse) != WindowHandle())
        return;
    const TPoint P = ScreenToClient(Mouse);
    if (P.X < 0 || P.Y < 0 || P.X >= ClientWidth() || P.Y >= ClientHeight())
        return;
    int C = -1, R = -1;
    MouseToCell(P.X, P.Y, C, R);
    if (C < FixedCols() || R < FixedRows() || C >= ColCount() || R >= RowCount())
        return;
    if (!Focused() && CanFocus())
        SetFocus();
    if (C != Col() || R != Row())
        FocusCell(C, R, true);
}

// ---- the wheel -------------------------------------------------------------------------------

void TAdvStringGrid::WMMouseWheel(TMessage& Message)
{
    if (FPanning)
        return;
    const auto Delta = static_cast<std::int16_t>(HiWord(Message.WParam));
    const unsigned Keys = LoWord(Message.WParam);
    Message.Result = 1;
    if ((Keys & MK_CONTROL) != 0 && FIntelliZoom) {
        Zoom(Delta < 0 ? FWheelScrollLines : -FWheelScrollLines);
        return;
    }
    if (!FEnableWheel)
        return;
    const int Last = RowCount() - FFixedFooters - 1;
    if (Last < FixedRows())
        return;
    const int NewCol = std::clamp(Col(), FixedCols(), std::max(FixedCols(), ColCount() - 1));
    const int Step = Delta < 0 ? FWheelScrollLines : -FWheelScrollLines;
    const int NewRow = std::clamp(Row() + Step, FixedRows(), Last);
    if (NewCol != Col() || NewRow != Row())
        FocusCell(NewCol, NewRow, true);
}

// ---- panning ---------------------------------------------------------------------------------

void TAdvStringGrid::WndProc(TMessage& Message)
{
    if (FPanning) {
        switch (Message.Msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            StopPanning();
            break;
        default:
            break;
        }
    }
    TStringGrid::WndProc(Message);
}

void TAdvStringGrid::WMMButtonDown(TMessage& Message)
{
    if (FIntelliPan == ipNone || FWheelMsg == 0) {
        Inherited(Message);
        return;
    }
    if (FPanning) {
        StopPanning();
        return;
    }
    StartPanning(TPoint{static_cast<std::int16_t>(LoWord(Message.LParam)),
                        static_cast<std::int16_t>(HiWord(Message.LParam))});
}

void TAdvStringGrid::StartPanning(TPoint Origin)
{
    if (!HandleAllocated())
        return;
    FPanOldCursor = Cursor();
    SetCursor(PanCursor(0, 0));
    SetTimer(WindowHandle(), PanTimerID, PanInterval);
    FPanOrigin = Origin;
    SetCapture(WindowHandle());
    FPanOldShowHint = ShowHint();
    SetShowHint(false);
    if (Application != nullptr)
        Application->CancelHint();
    FPanning = true;
    DrawPanMark();
}

void TAdvStringGrid::StopPanning()
{
    if (!FPanning)
        return;
    FPanning = false;
    if (HandleAllocated()) {
        if (GetCapture() == WindowHandle())
            ReleaseCapture();
        KillTimer(WindowHandle(), PanTimerID);
    }
    SetCursor(FPanOldCursor);
    SetShowHint(FPanOldShowHint);
    ErasePanMark();
}

void TAdvStringGrid::PanTick()
{
    if (!FPanning)
        return;
    const TPoint P = ScreenToClient(GetCursorPos());
    const int Dx = FIntelliPan == ipVertical ? 0 : Direction(P.X, FPanOrigin.X);
    const int Dy = FIntelliPan == ipHorizontal ? 0 : Direction(P.Y, FPanOrigin.Y);

    const int FirstRow = FixedRows(), LastRow = RowCount() - FFixedFooters - 1;
    const int FirstCol = FixedCols(), LastCol = ColCount() - FFixedRightCols - 1;
    if (LastRow < FirstRow || LastCol < FirstCol)
        return;
    int C = std::clamp(Col(), FirstCol, LastCol);
    int R = std::clamp(Row(), FirstRow, LastRow);
    if (C + Dx >= FirstCol && C + Dx <= LastCol)
        C += Dx;
    if (R + Dy >= FirstRow && R + Dy <= LastRow)
        R += Dy;
    if (C != Col() || R != Row()) {
        const bool Scrolls = C < LeftCol() || C >= LeftCol() + VisibleColCount() || R < TopRow() ||
                             R >= TopRow() + VisibleRowCount();
        if (Scrolls)
            ErasePanMark();
        FocusCell(C, R, true);
    }
    SetCursor(PanCursor(Dx, Dy));
    DrawPanMark();
}

void TAdvStringGrid::DrawPanMark()
{
    const char* Name = FIntelliPan == ipVertical     ? "INTLI3"
                       : FIntelliPan == ipHorizontal ? "INTLI2"
                                                     : "INTLI1";
    if (!FindResource(RT_BITMAP, Name))
        return;
    TBitmap Mark;
    Mark.LoadFromResourceName(Name);
    Mark.SetTransparentColor(Mark.Canvas()->Pixels(0, 0));
    Mark.SetTransparent(true);
    Canvas()->Draw(FPanOrigin.X - PanMarkSize / 2, FPanOrigin.Y - PanMarkSize / 2, &Mark);
}

void TAdvStringGrid::ErasePanMark()
{
    if (!HandleAllocated())
        return;
    const TRect R{FPanOrigin.X - PanMarkSize / 2, FPanOrigin.Y - PanMarkSize / 2,
                  FPanOrigin.X + PanMarkSize / 2, FPanOrigin.Y + PanMarkSize / 2};
    ::InvalidateRect(WindowHandle(), &R, false);
}
