// The grid's mouse: presses that select, edit, follow links and start moves; the header click
// that sorts; whole-row and whole-column selection from the fixed cells; the floating heading of
// a column or row being moved; the cursor shapes over the fixed cells and links.
#include "controls/grid/advgrid.h"

#include "controls/grid/advgridhtml.h"
#include "controls/grid/advutil.h"
#include "platform/gfx/cursorimage.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/strings.h"
#include "platform/stdctrls/panel.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/screen.h"
#include "platform/ui/shellopen.h"
#include "platform/ui/timers.h"
#include "platform/ui/windowstyles.h"

#include <algorithm>
#include <cstdlib>

namespace {

// A press this close to a column border belongs to the border.
constexpr int BorderZone = 4;
// The cursor resources of the fixed-cell selections.
constexpr int RowSelectCursor = 8010;
constexpr int ColSelectCursor = 8011;
constexpr int AllSelectCursor = 8012;
// The base grid's timer that scrolls while the pointer is outside the cells.
constexpr std::uintptr_t MoveScrollTimer = 1;

// A small triangle that marks where a moved column or row lands.
class TGridMoveMark : public TCustomControl {
public:
    // Direction: 0 pointing down, 1 up, 2 right, 3 left.
    TGridMoveMark(TComponent* AOwner, int Direction) : TCustomControl(AOwner), FDirection(Direction)
    {
        SetBounds(0, 0, 9, 9);
        SetVisible(false);
    }

protected:
    void Paint() override
    {
        TCanvas* C = Canvas();
        C->Brush()->SetColor(Color());
        C->FillRect(ClientRect());
        const int W = Width() - 1;
        const int H = Height() - 1;
        std::vector<TPoint> P;
        switch (FDirection) {
        case 0:
            P = {{0, 0}, {W, 0}, {W / 2, H}};
            break;
        case 1:
            P = {{0, H}, {W, H}, {W / 2, 0}};
            break;
        case 2:
            P = {{0, 0}, {0, H}, {W, H / 2}};
            break;
        default:
            P = {{W, 0}, {W, H}, {0, H / 2}};
            break;
        }
        C->Brush()->SetColor(clBlack);
        C->Pen()->SetColor(clBlack);
        C->Polygon(P);
    }

private:
    int FDirection;
};

TGridRect UnionOf(const TGridRect& A, const TGridRect& B)
{
    return TGridRect{std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
                     std::max(A.Bottom, B.Bottom)};
}

bool StartsWith(const std::string& S, const std::string& Prefix)
{
    return S.compare(0, Prefix.size(), Prefix) == 0;
}

} // namespace

bool TAdvStringGrid::IsSelected(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return false;
    if (FMouseActions->DisjunctRowSelect)
        return ARow < RowCount() && RowSelected(ARow);
    const TGridRect Sel = Selection();
    return ACol >= Sel.Left && ACol <= Sel.Right && ARow >= Sel.Top && ARow <= Sel.Bottom;
}

void TAdvStringGrid::SetOwnCursor(TCursor Value)
{
    if (Cursor() == Value)
        return;
    FSettingCursor = true;
    TControl::SetCursor(Value);
    FSettingCursor = false;
}

void TAdvStringGrid::CMCursorChanged(TMessage& Message)
{
    if (!FSettingCursor)
        FCursorKind = 0;
    Inherited(Message);
}

void TAdvStringGrid::WMSetCursor(TMessage& Message)
{
    const bool Client = static_cast<HWND>(Message.WParam) == WindowHandle() &&
                        LoWord(static_cast<std::uintptr_t>(Message.LParam)) == HTCLIENT;
    const bool Sizing = FGridState == gsColSizing || FGridState == gsRowSizing;
    if (Client && !Sizing && FCursorKind >= 1 && FCursorKind <= 3 && Screen != nullptr) {
        const int Id = FCursorKind == 1   ? ColSelectCursor
                       : FCursorKind == 2 ? RowSelectCursor
                                          : AllSelectCursor;
        if (Screen->Cursors(Id) == nullptr) {
            if (HCURSOR Loaded = LoadCursor(Id))
                Screen->SetCursors(Id, Loaded);
        }
        // Without the picture the base grid's shape serves.
        if (Screen->Cursors(Id) != nullptr) {
            ::SetCursor(Id);
            Message.Result = 1;
            return;
        }
    }
    TStringGrid::WMSetCursor(Message);
}

std::string TAdvStringGrid::AnchorAt(int X, int Y, int& ACol, int& ARow)
{
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0 || ARow < 0)
        return {};
    const std::string Text = Cells(RealColIndex(ACol), ARow);
    // An HTML cell's links hold "://" too: only the link under the point counts there.
    if (CellTextKind(Text, FEnableHTML) != ctkHtml)
        return FURLShow && IsUrlText(Text) ? Text : std::string();
    TRect R = CellRect(ACol, ARow);
    if (IsRectEmpty(R))
        return {};
    // The text area starts 2 pixels inside the cell, as painted.
    R.Left += 2;
    R.Top += 2;
    TCanvas* C = Canvas();
    const bool Fixed = ACol < FixedCols() || ARow < FixedRows();
    C->Font()->Assign(Fixed ? FFixedFont.get() : Font());
    std::string Anchor, Plain;
    int Width = 0, Height = 0;
    if (RenderHtml(C, Text, R, dynamic_cast<TImageList*>(FGridImages), X, Y, true, false, false,
                   false, FBlinkOn, !FEnhTextSize, 1.0, FURLColor, Anchor, Plain, Width, Height))
        return Anchor;
    return {};
}

void TAdvStringGrid::FollowAnchor(const std::string& Anchor)
{
    if (UpperCase(Anchor.substr(0, 7)) == "CELL://") {
        TGridCoord Cell;
        // A reference outside the data cells leaves everything as it is.
        if (ParseCellReference(Anchor.substr(7), Cell) && Cell.X >= FixedCols() &&
            Cell.X < ColCount() && Cell.Y >= FixedRows() && Cell.Y < RowCount()) {
            FocusCell(Cell.X, Cell.Y, true);
            ScrollCellInView(Cell.X, Cell.Y);
        }
        return;
    }
    // Only web and mail links leave the program.
    const std::string Lower = LowerCase(Anchor);
    if (StartsWith(Lower, "http://") || StartsWith(Lower, "https://") ||
        StartsWith(Lower, "mailto:"))
        ShellExecute(Handle(), "open", Anchor, "", "", SW_SHOWNORMAL);
}

void TAdvStringGrid::SetPressedFixed(int ACol, int ARow)
{
    const TGridCoord Old = FPressedFixed;
    FPressedFixed = TGridCoord{ACol, ARow};
    if (Old.X >= 0 && Old.Y >= 0)
        RepaintCell(Old.X, Old.Y);
    if (ACol < 0 || ARow < 0 || !HandleAllocated())
        return;
    TRect R = CellRect(ACol, ARow);
    if (!IsRectEmpty(R))
        Canvas()->DrawEdge(R, EDGE_SUNKEN, BF_RECT);
}

void TAdvStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft || Shift.Contains(ssDouble)) {
        TStringGrid::MouseDown(Button, Shift, X, Y);
        return;
    }
    // 1. A fresh press.
    FSearchInc.clear();
    FMoveColInd = FMoveRowInd = -1;
    FClickPending = false;
    FMovedOrSized = false;
    FSelAnchorRow = FSelAnchorCol = -1;
    FUnflagRow = -1;
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool InCells = ACol >= 0 && ARow >= 0;
    const bool FixedCell = InCells && (ACol < FixedCols() || ARow < FixedRows());
    const TGridOptions Opts = Options();
    if (FFixedAsButtons && FixedCell && Ctl3D() &&
        (Opts.Contains(goFixedVertLine) || Opts.Contains(goFixedHorzLine)))
        SetPressedFixed(ACol, ARow);

    // 2. Where the press was, and the sizes of the column and row whose border is there.
    FMouseDownPos = TPoint{X, Y};
    FDownCell = TGridCoord{ACol, ARow};
    int SCol = -1, SRow = -1;
    MouseToCell(X - BorderZone, Y, SCol, SRow);
    FSizingCol = SCol;
    FSizingColWidth = SCol >= 0 ? ColWidths(SCol) : 0;
    MouseToCell(X, Y - BorderZone, SCol, SRow);
    FSizingRow = SRow;
    FSizingRowHeight = SRow >= 0 ? RowHeights(SRow) : 0;

    // 3. Footers, right fixed columns and cells declared fixed only report the click.
    if (InCells && IsFixed(RealColIndex(ACol), ARow)) {
        TStringGrid::MouseDown(Button, Shift, X, Y);
        if (OnClickCell)
            OnClickCell(this, ARow, ACol);
        return;
    }

    // 4. A press that may start dragging the selection out of the grid.
    const bool NearColBorder = Opts.Contains(goColSizing) && IsNearCellBorder(X, Y);
    if (InCells && (IsSelected(ACol, ARow) || (ARow < FixedRows() && !FEnhRowColMove)) &&
        !Opts.Contains(goEditing) && FOleDropSource && !NearColBorder) {
        FClickPending = true;
        FClickCell = TGridCoord{ACol, ARow};
        Click();
        if (OnClickCell)
            OnClickCell(this, ARow, ACol);
        return;
    }

    // 5. Outside the cells.
    if (!InCells) {
        TStringGrid::MouseDown(Button, Shift, X, Y);
        return;
    }

    // 6. Disjunct row selection.
    if (FMouseActions->DisjunctRowSelect && ARow >= FixedRows()) {
        if (!Shift.Contains(ssCtrl))
            ClearRowSelection();
        else if (RowSelected(ARow))
            FUnflagRow = ARow;
    }

    // 7. Links.
    int LCol = -1, LRow = -1;
    const std::string Anchor = AnchorAt(X, Y, LCol, LRow);
    if (!Anchor.empty()) {
        bool AutoHandle = true;
        if (OnAnchorClick)
            OnAnchorClick(this, ARow, ACol, Anchor, AutoHandle);
        if (AutoHandle)
            FollowAnchor(Anchor);
        return;
    }

    // 8. Whole-grid, whole-row and whole-column selection from the fixed cells.
    const bool Range = Opts.Contains(goRangeSelect);
    auto TakeFocus = [this] {
        if (CanFocus() && !Focused())
            SetFocus();
    };
    if (ACol < FixedCols() && ARow < FixedRows()) {
        if (FMouseActions->AllSelect && Range && FCursorKind == 3 && ColCount() > FixedCols() &&
            RowCount() > FixedRows()) {
            TakeFocus();
            SetSelection(TGridRect{FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1});
        }
    } else if (ACol < FixedCols()) {
        if (FMouseActions->RowSelect && Range && FCursorKind == 2 && ColCount() > FixedCols()) {
            TakeFocus();
            SetSelection(TGridRect{FixedCols(), ARow, ColCount() - 1, ARow});
            FSelAnchorRow = ARow;
        }
    } else if (ARow < FixedRows()) {
        if (FMouseActions->ColSelect && Range && FCursorKind == 1 && RowCount() > FixedRows()) {
            TakeFocus();
            SetSelection(TGridRect{ACol, FixedRows(), ACol, RowCount() - 1});
            FSelAnchorCol = ACol;
        }
    }

    // 9. The column or row a move would take, and where in its cell it was taken.
    if (ARow < FixedRows() && ACol >= FixedCols())
        FMoveColInd = ACol;
    if (ACol < FixedCols() && ARow >= FixedRows())
        FMoveRowInd = ARow;
    const TRect CellR = CellRect(ACol, ARow);
    FGrabOffset = TPoint{X - CellR.Left, Y - CellR.Top};

    // 10. The base grid's press, with direct editing around it.
    const bool DataCell = ACol >= FixedCols() && ARow >= FixedRows();
    const bool Editable = DataCell && CellEditable(RealColIndex(ACol), ARow);
    if (FMouseActions->DirectEdit && Editable)
        HideEditorControl();
    const bool AlwaysEdit = FNavigation->AlwaysEdit;
    FNavigation->AlwaysEdit = false;
    TStringGrid::MouseDown(Button, Shift, X, Y);
    FNavigation->AlwaysEdit = AlwaysEdit;
    // A grid of one row or one column neither sizes nor moves.
    if ((RowCount() == 1 || ColCount() == 1) && FGridState != gsNormal && FGridState != gsSelecting)
        Perform(WM_CANCELMODE, 0, 0);
    if (OnCellValidate) {
        FGridShownEditor = false;
        StartCellEdit(Col(), Row());
    }
    if (OnClickCell)
        OnClickCell(this, ARow, ACol);
    if (X > CellR.Left + 3 && X < CellR.Right - 3 && FMouseActions->DirectEdit && Editable)
        ShowEditor();
}

void TAdvStringGrid::ShowMoveFeedback(int X, int Y)
{
    const bool Cols = FGridState == gsColMoving;
    if (FMoveIndex < 0)
        return;
    if (FMoveButton == nullptr) {
        auto* Button = new TPanel(this);
        Button->SetBevelOuter(bvRaised);
        Button->SetVisible(false);
        Button->SetParent(this);
        FMoveButton = Button;
        for (int I = 0; I < 2; ++I) {
            auto* Mark = new TGridMoveMark(this, I);
            Mark->SetParent(this);
            FMoveMarks[I] = Mark;
        }
    }
    auto* Button = static_cast<TPanel*>(FMoveButton);
    const int W = Cols ? ColWidths(FMoveIndex) : ColWidths(0);
    const int H = Cols ? RowHeights(0) : RowHeights(FMoveIndex);
    Button->SetCaption(Cols ? Cells(RealColIndex(FMoveIndex), 0) : Cells(0, FMoveIndex));
    Button->SetBounds(X - FGrabOffset.X, Y - FGrabOffset.Y, W, H);
    if (!Button->Visible()) {
        Button->SetVisible(true);
        if (Screen != nullptr)
            Screen->SetCursor(crDrag);
    }
    // The marks show the landing place while it is in view.
    const TRect Target = Cols ? CellRect(FMovePos, 0) : CellRect(0, FMovePos);
    const bool Shown = FMovePos >= 0 && !IsRectEmpty(Target);
    for (int I = 0; I < 2; ++I) {
        TWinControl* Mark = FMoveMarks[I];
        if (!Shown) {
            Mark->SetVisible(false);
            continue;
        }
        const int Edge = Cols ? (FMovePos > FMoveIndex ? Target.Right : Target.Left)
                              : (FMovePos > FMoveIndex ? Target.Bottom : Target.Top);
        if (Cols)
            Mark->SetBounds(Edge - 4, I == 0 ? Target.Top : Target.Bottom - 9, 9, 9);
        else
            Mark->SetBounds(I == 0 ? Target.Left : ClientWidth() - 9, Edge - 4, 9, 9);
        Mark->SetVisible(true);
        Mark->BringToFront();
    }
    Button->BringToFront();
}

void TAdvStringGrid::HideMoveFeedback()
{
    if (FMoveButton == nullptr || !FMoveButton->Visible())
        return;
    FMoveButton->SetVisible(false);
    for (TWinControl* Mark : FMoveMarks)
        Mark->SetVisible(false);
    if (Screen != nullptr && Screen->Cursor() == crDrag)
        Screen->SetCursor(crDefault);
}

void TAdvStringGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);

    // 1. Whole-row and whole-column drag selections.
    if (FSelAnchorRow >= 0 && FMouseActions->RowSelect && FCursorKind == 2 && ARow >= FixedRows() &&
        ColCount() > FixedCols()) {
        SetSelection(TGridRect{FixedCols(), std::min(FSelAnchorRow, ARow), ColCount() - 1,
                               std::max(FSelAnchorRow, ARow)});
    } else if (FSelAnchorCol >= 0 && FMouseActions->ColSelect && FCursorKind == 1 &&
               ACol >= FixedCols() && RowCount() > FixedRows()) {
        SetSelection(TGridRect{std::min(FSelAnchorCol, ACol), FixedRows(),
                               std::max(FSelAnchorCol, ACol), RowCount() - 1});
    }

    // 3. A column or row on the move: the events may stop it; the floating heading follows.
    if (FGridState == gsColMoving || FGridState == gsRowMoving) {
        bool Allow = true;
        if (FGridState == gsColMoving && OnColumnMove)
            OnColumnMove(this, FMoveIndex, Allow);
        else if (FGridState == gsRowMoving && OnRowMove)
            OnRowMove(this, FMoveIndex, Allow);
        if (!Allow) {
            HideMoveFeedback();
            Perform(WM_CANCELMODE, 0, 0);
        }
    }

    // 4. The cursor kind over the fixed cells.
    int Kind = 0;
    if (ACol >= 0 && ARow >= 0) {
        if (ACol < FixedCols() && ARow < FixedRows()) {
            if (FMouseActions->AllSelect)
                Kind = 3;
        } else if (ARow < FixedRows() && FMouseActions->ColSelect && !IsNearCellBorder(X, Y))
            Kind = 1;
        else if (ACol < FixedCols() && FMouseActions->RowSelect && !IsNearCellBorder(X, Y))
            Kind = 2;
    }
    // Keep the kind of a drag selection in progress.
    if (FSelAnchorRow < 0 && FSelAnchorCol < 0)
        FCursorKind = Kind;

    // 5. Links under the pointer.
    int LCol = -1, LRow = -1;
    const std::string Anchor = (FURLShow || FEnableHTML) ? AnchorAt(X, Y, LCol, LRow) : "";
    if (!Anchor.empty()) {
        SetOwnCursor(crHandPoint);
        if (Anchor != FLastAnchor) {
            if (!FLastAnchor.empty() && OnAnchorExit)
                OnAnchorExit(this, FAnchorCell.Y, FAnchorCell.X, FLastAnchor);
            FLastAnchor = Anchor;
            FAnchorCell = TGridCoord{LCol, LRow};
            if (OnAnchorEnter)
                OnAnchorEnter(this, LRow, LCol, Anchor);
        }
    } else {
        if (!FLastAnchor.empty()) {
            const std::string Left = FLastAnchor;
            FLastAnchor.clear();
            if (OnAnchorExit)
                OnAnchorExit(this, FAnchorCell.Y, FAnchorCell.X, Left);
        }
        SetOwnCursor(FDesignCursor);
    }

    // 8. A grid of one row or one column neither sizes nor moves.
    if ((RowCount() == 1 || ColCount() == 1) && FGridState != gsNormal && FGridState != gsSelecting)
        Perform(WM_CANCELMODE, 0, 0);

    const TGridRect Before = Selection();
    TStringGrid::MouseMove(Shift, X, Y);

    if (FEnhRowColMove && (FGridState == gsColMoving || FGridState == gsRowMoving))
        ShowMoveFeedback(X, Y);

    // 7. The selection rectangle follows the selection.
    if (FSelectionRectangle && FGridState == gsSelecting) {
        const TGridRect Now = Selection();
        if (!(Now == Before))
            RepaintCellRange(UnionOf(Before, Now));
    }
    if (FEnhRowColMove && HandleAllocated())
        Update();
}

void TAdvStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // A right release while a column moves would end the move in the base grid.
    if (Button == mbRight && FGridState == gsColMoving)
        return;
    if (Button != mbLeft) {
        TStringGrid::MouseUp(Button, Shift, X, Y);
        return;
    }

    // 1. Drop marks away, a pressed heading raised again.
    HideMoveFeedback();
    if (FPressedFixed.X >= 0)
        SetPressedFixed(-1, -1);

    // 2. The click that did not become a drag selects now.
    if (FClickPending) {
        FClickPending = false;
        const TGridCoord C = FClickCell;
        const bool Indicator = FixedCols() > 0 && !FRowIndicator->Empty();
        if (Indicator)
            RepaintCell(0, Row());
        if (C.X >= FixedCols() && C.Y >= FixedRows() && C.X < ColCount() && C.Y < RowCount()) {
            if (Options().Contains(goRowSelect))
                SetSelection(TGridRect{FixedCols(), C.Y, ColCount() - 1, C.Y});
            else
                FocusCell(C.X, C.Y, true);
        }
        if (Indicator)
            RepaintCell(0, Row());
    }

    // 3. Disjunct row selection takes the rows of the selection.
    if (FMouseActions->DisjunctRowSelect && FDownCell.Y >= FixedRows()) {
        SelectRowsFromSelection(false);
        if (FUnflagRow >= 0 && FUnflagRow < RowCount())
            SetRowSelected(FUnflagRow, false);
    }
    FUnflagRow = -1;

    // 4. and 5. The base grid ends a move, a size or a selection.
    const TGridState State = FGridState;
    const bool Moving = State == gsColMoving || State == gsRowMoving;
    if (Moving && HandleAllocated())
        KillTimer(WindowHandle(), MoveScrollTimer);
    FMovedOrSized = (Moving && FMovePos >= 0 && FMovePos != FMoveIndex) || State == gsColSizing ||
                    State == gsRowSizing;
    TStringGrid::MouseUp(Button, Shift, X, Y);
    FSelAnchorRow = FSelAnchorCol = -1;
    FMoveColInd = FMoveRowInd = -1;
    const TGridCoord Down = FDownCell;
    FDownCell = TGridCoord{-1, -1};
    if (FMovedOrSized)
        return;
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0 || ARow < 0)
        return;

    // 6. Clicks that never sort.
    if (FDblClickSized) {
        FDblClickSized = false;
        return;
    }
    if (ACol < FixedCols() && !FSortFixedCols)
        return;
    if (ARow == 0 && Options().Contains(goColSizing) && IsNearCellBorder(X, Y))
        return;

    // 7. The header click sorts.
    if (Down.Y == 0 && ARow == 0 && FixedRows() > 0 && FSortShow && RowCount() >= 3)
        HeaderClickSort(RealColIndex(ACol), Shift);
}

void TAdvStringGrid::HeaderClickSort(int ACol, TShiftState Shift)
{
    bool DoSort = true;
    if (OnCanSort)
        OnCanSort(this, ACol, DoSort);
    if (!DoSort)
        return;
    const std::uint32_t Started = GetTickCount();
    if (!FSortIndexShow) {
        if (ACol == FSortColumn) {
            FSortDirection = FSortDirection == sdAscending ? sdDescending : sdAscending;
            // The heading's glyph turns.
            RepaintRow(0);
        } else {
            FSortDirection = sdAscending;
            SetSortColumn(ACol);
        }
        // A sort column outside the real columns sorts nothing.
        if (FSortColumn < 0 || FSortColumn >= ColCount() + NumHiddenColumns())
            return;
        SortByColumn();
    } else {
        TSortIndexList* Index = FSortIndexes.get();
        const int At = Index->FindIndex(ACol);
        if (Shift.Contains(ssShift)) {
            if (At < 0)
                Index->AddIndex(ACol, true);
            else
                Index->ToggleIndex(ACol);
        } else if (Index->Count() == 1 && At == 0)
            Index->ToggleIndex(ACol);
        else {
            Index->Clear();
            Index->AddIndex(ACol, true);
        }
        SortByIndex();
    }
    FSortTime = GetTickCount() - Started;
    if (OnClickSort)
        OnClickSort(this, FSortColumn);
}

void TAdvStringGrid::WMLButtonDblClk(TMessage& Message)
{
    const int X = static_cast<short>(LoWord(static_cast<std::uintptr_t>(Message.LParam)));
    const int Y = static_cast<short>(HiWord(static_cast<std::uintptr_t>(Message.LParam)));
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ARow == 0 && ACol >= 0 && Options().Contains(goColSizing)) {
        const TRect R = CellRect(ACol, ARow);
        int Target = -1;
        if (std::abs(X - R.Left) < BorderZone) {
            if (ACol - 1 >= FixedCols())
                Target = ACol - 1;
        } else if (std::abs(X - R.Right) < BorderZone)
            Target = ACol;
        if (Target >= 0) {
            AutoSizeCol(Target);
            FDblClickSized = true;
            Message.Result = 0;
            return;
        }
    }
    Inherited(Message);
    if (ACol >= 0 && ARow >= 0 && OnDblClickCell)
        OnDblClickCell(this, ARow, ACol);
}

void TAdvStringGrid::WMRButtonDown(TMessage& Message)
{
    Inherited(Message);
    const int X = static_cast<short>(LoWord(static_cast<std::uintptr_t>(Message.LParam)));
    const int Y = static_cast<short>(HiWord(static_cast<std::uintptr_t>(Message.LParam)));
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0 || ARow < 0)
        return;
    if (OnRightClickCell)
        OnRightClickCell(this, ARow, ACol);
    if (FURLShow && FURLEdit && ACol >= FixedCols() && ARow >= FixedRows() &&
        IsUrlText(Cells(RealColIndex(ACol), ARow))) {
        FocusCell(ACol, ARow, true);
        ShowEditor();
    }
}

void TAdvStringGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                     int& SizingOfs, TGridDrawInfo& FixedInfo)
{
    TStringGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs, FixedInfo);
    // A grid of one row or one column is never sized.
    if (RowCount() == 1 || ColCount() == 1) {
        State = gsNormal;
        return;
    }
    bool Allow = true;
    if (State == gsColSizing && OnColumnSize)
        OnColumnSize(this, Index, Allow);
    else if (State == gsRowSizing && OnRowSize)
        OnRowSize(this, Index, Allow);
    if (!Allow)
        State = gsNormal;
}
