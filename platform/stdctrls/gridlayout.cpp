// platform/stdctrls/gridlayout.cpp: TCustomGrid's counts, sizes, geometry, current cell,
// selection and scrolling.
#include "platform/stdctrls/grids.h"

#include "platform/rtl/convert.h"
#include "platform/stdctrls/inplaceedit.h"
#include "platform/ui/paint.h"
#include "platform/ui/scrollbars.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <climits>

namespace {

[[noreturn]] void GridError(const char* Message)
{
    throw EInvalidGridOperation(Message);
}

constexpr const char* SIndexOutOfRange = "Grid index out of range";
constexpr const char* SGridTooLarge = "Grid too large for operation";
constexpr const char* SFixedColTooBig = "Fixed column count must be less than column count";
constexpr const char* SFixedRowTooBig = "Fixed row count must be less than row count";

} // namespace

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks});
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(Left(), Top(), 320, 120);
}

void TCustomGrid::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.ExStyle |= WS_EX_CLIENTEDGE;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        Params.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        Params.Style |= WS_HSCROLL;
    Params.WindowClass.Style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomGrid::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollRange();
}

void TCustomGrid::Resize()
{
    UpdateScrollRange();
    UpdateEdit();
    TCustomControl::Resize();
}

namespace {

std::int64_t SumOf(const std::vector<int>& Sizes, std::size_t Count)
{
    std::int64_t Sum = 0;
    for (std::size_t I = 0; I < std::min(Count, Sizes.size()); ++I)
        Sum += Sizes[I];
    return Sum;
}

} // namespace

// The total pixel extent of Count cells, Stored of them sized with StoredSum pixels together
// and the rest Default, must fit an int.
void TCustomGrid::CheckExtent(int Count, int Default, std::size_t Stored,
                              std::int64_t StoredSum) const
{
    Stored = std::min(Stored, std::size_t(Count));
    const std::int64_t Total =
        StoredSum + (std::int64_t(Count) - std::int64_t(Stored)) * std::int64_t(Default) +
        std::int64_t(Count) * FGridLineWidth;
    if (Total > INT_MAX)
        GridError(SGridTooLarge);
}

void TCustomGrid::ChangeSize(int NewColCount, int NewRowCount)
{
    const std::int64_t ColSum = SumOf(FColWidths, std::size_t(NewColCount));
    const std::int64_t RowSum = SumOf(FRowHeights, std::size_t(NewRowCount));
    CheckExtent(NewColCount, FDefaultColWidth, FColWidths.size(), ColSum);
    CheckExtent(NewRowCount, FDefaultRowHeight, FRowHeights.size(), RowSum);
    const int OldColCount = FColCount;
    const int OldRowCount = FRowCount;
    auto Resize = [](std::vector<int>& Sizes, std::int64_t& Sum, std::int64_t Kept, int Count,
                     int Default) {
        if (Sizes.empty())
            return;
        const std::size_t Old = Sizes.size();
        Sizes.resize(std::size_t(Count), Default);
        Sum = Kept + std::int64_t(Sizes.size() - std::min(Old, Sizes.size())) * Default;
    };
    Resize(FColWidths, FColWidthSum, ColSum, NewColCount, FDefaultColWidth);
    Resize(FRowHeights, FRowHeightSum, RowSum, NewRowCount, FDefaultRowHeight);
    FColCount = NewColCount;
    FRowCount = NewRowCount;
    auto Clamp = [](TGridCoord& C, int Cols, int Rows) {
        C.X = std::min(C.X, Cols - 1);
        C.Y = std::min(C.Y, Rows - 1);
    };
    Clamp(FCurrent, FColCount, FRowCount);
    Clamp(FAnchor, FColCount, FRowCount);
    Clamp(FTopLeft, FColCount, FRowCount);
    const TGridCoord Max = MaxTopLeft();
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, Max.X);
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, Max.Y);
    SizeChanged(OldColCount, OldRowCount);
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEdit();
}

void TCustomGrid::SetColCount(int Value)
{
    if (Value < 0)
        GridError(SIndexOutOfRange);
    Value = std::max(Value, 1);
    if (Value == FColCount)
        return;
    if (Value <= FFixedCols)
        SetFixedCols(Value - 1);
    ChangeSize(Value, FRowCount);
}

void TCustomGrid::SetRowCount(int Value)
{
    if (Value < 0)
        GridError(SIndexOutOfRange);
    Value = std::max(Value, 1);
    if (Value == FRowCount)
        return;
    if (Value <= FFixedRows)
        SetFixedRows(Value - 1);
    ChangeSize(FColCount, Value);
}

void TCustomGrid::SetFixedCols(int Value)
{
    if (Value < 0)
        GridError(SIndexOutOfRange);
    if (Value >= FColCount)
        GridError(SFixedColTooBig);
    FFixedCols = Value;
    FCurrent.X = FAnchor.X = FTopLeft.X = Value;
    UpdateScrollRange();
    InvalidateGrid();
}

void TCustomGrid::SetFixedRows(int Value)
{
    if (Value < 0)
        GridError(SIndexOutOfRange);
    if (Value >= FRowCount)
        GridError(SFixedRowTooBig);
    FFixedRows = Value;
    FCurrent.Y = FAnchor.Y = FTopLeft.Y = Value;
    UpdateScrollRange();
    InvalidateGrid();
}

void TCustomGrid::SetDefaultColWidth(int Value)
{
    if (Value < 0)
        GridError(SIndexOutOfRange);
    CheckExtent(FColCount, Value, 0, 0);
    FDefaultColWidth = Value;
    FColWidths.clear();
    FColWidthSum = 0;
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int Value)
{
    if (Value < 0)
        GridError(SIndexOutOfRange);
    CheckExtent(FRowCount, Value, 0, 0);
    FDefaultRowHeight = Value;
    FRowHeights.clear();
    FRowHeightSum = 0;
    RowHeightsChanged();
}

int TCustomGrid::ColWidths(int Index) const
{
    if (Index < 0)
        GridError(SIndexOutOfRange);
    return std::size_t(Index) < FColWidths.size() ? FColWidths[std::size_t(Index)]
                                                  : FDefaultColWidth;
}

int TCustomGrid::RowHeights(int Index) const
{
    if (Index < 0)
        GridError(SIndexOutOfRange);
    return std::size_t(Index) < FRowHeights.size() ? FRowHeights[std::size_t(Index)]
                                                   : FDefaultRowHeight;
}

void TCustomGrid::SetColWidths(int Index, int Value)
{
    if (Index < 0 || Index >= FColCount || Value < 0)
        GridError(SIndexOutOfRange);
    if (Value == ColWidths(Index))
        return;
    const std::int64_t Stored =
        FColWidths.empty() ? std::int64_t(FColCount) * FDefaultColWidth : FColWidthSum;
    const std::int64_t Sum = Stored - ColWidths(Index) + Value;
    CheckExtent(FColCount, FDefaultColWidth, std::size_t(FColCount), Sum);
    if (FColWidths.empty())
        FColWidths.assign(std::size_t(FColCount), FDefaultColWidth);
    FColWidths[std::size_t(Index)] = Value;
    FColWidthSum = Sum;
    ColWidthsChanged();
}

void TCustomGrid::SetRowHeights(int Index, int Value)
{
    if (Index < 0 || Index >= FRowCount || Value < 0)
        GridError(SIndexOutOfRange);
    if (Value == RowHeights(Index))
        return;
    const std::int64_t Stored =
        FRowHeights.empty() ? std::int64_t(FRowCount) * FDefaultRowHeight : FRowHeightSum;
    const std::int64_t Sum = Stored - RowHeights(Index) + Value;
    CheckExtent(FRowCount, FDefaultRowHeight, std::size_t(FRowCount), Sum);
    if (FRowHeights.empty())
        FRowHeights.assign(std::size_t(FRowCount), FDefaultRowHeight);
    FRowHeights[std::size_t(Index)] = Value;
    FRowHeightSum = Sum;
    RowHeightsChanged();
}

bool TCustomGrid::TabStops(int Index) const
{
    if (Index < 0)
        GridError(SIndexOutOfRange);
    return std::size_t(Index) >= FNoTabStops.size() || !FNoTabStops[std::size_t(Index)];
}

void TCustomGrid::SetTabStops(int Index, bool Value)
{
    if (Index < 0 || Index >= FColCount)
        GridError(SIndexOutOfRange);
    if (std::size_t(Index) >= FNoTabStops.size()) {
        if (Value)
            return;
        FNoTabStops.resize(std::size_t(Index) + 1, false);
    }
    FNoTabStops[std::size_t(Index)] = !Value;
}

void TCustomGrid::SetGridLineWidth(int Value)
{
    if (Value < 0)
        GridError(SIndexOutOfRange);
    if (Value == FGridLineWidth)
        return;
    const int Old = FGridLineWidth;
    FGridLineWidth = Value;
    try {
        CheckExtent(FColCount, FDefaultColWidth, FColWidths.size(), FColWidthSum);
        CheckExtent(FRowCount, FDefaultRowHeight, FRowHeights.size(), FRowHeightSum);
    } catch (...) {
        FGridLineWidth = Old;
        throw;
    }
    UpdateScrollRange();
    InvalidateGrid();
}

void TCustomGrid::SetFixedColor(TColor Value)
{
    if (Value != FFixedColor) {
        FFixedColor = Value;
        InvalidateGrid();
    }
}

void TCustomGrid::SetDefaultDrawing(bool Value)
{
    if (Value != FDefaultDrawing) {
        FDefaultDrawing = Value;
        InvalidateGrid();
    }
}

void TCustomGrid::SetScrollBars(TScrollStyle Value)
{
    if (Value != FScrollBars) {
        FScrollBars = Value;
        RecreateWnd();
    }
}

void TCustomGrid::SetOptions(TGridOptions Value)
{
    if (Value == FOptions)
        return;
    FOptions = Value;
    if (FOptions.Contains(goRowSelect))
        FAnchor = FCurrent;
    // goAlwaysShowEditor wants the editor from now on; without it an editor not asked for goes.
    if (!FEditorMode) {
        if (FOptions.Contains(goAlwaysShowEditor))
            FEditorMode = true;
        else
            HideEditor();
    }
    if (!CanEditShow())
        HideEdit();
    else
        UpdateEdit();
    UpdateScrollRange();
    InvalidateGrid();
}

void TCustomGrid::ColWidthsChanged()
{
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEdit();
}

void TCustomGrid::RowHeightsChanged()
{
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEdit();
}

void TCustomGrid::SizeChanged(int, int) {}

// The editor follows its cell as the grid scrolls, and hides while the cell is out of view.
void TCustomGrid::TopLeftChanged()
{
    if (FEditorMode && FInplaceEdit != nullptr && CanEditShow())
        FInplaceEdit->UpdateLoc(CellRect(FCurrent.X, FCurrent.Y));
}
void TCustomGrid::ColumnMoved(int, int) {}
void TCustomGrid::RowMoved(int, int) {}

bool TCustomGrid::SelectCell(int, int)
{
    return true;
}

// --- geometry ---

void TCustomGrid::CalcAxis(TGridAxisDrawInfo& Axis, int GridExtent, int FixedCount, int First,
                           int Count, bool Cols) const
{
    const bool Lines = FOptions.Contains(Cols ? goVertLine : goHorzLine);
    Axis.EffectiveLineWidth = Lines ? FGridLineWidth : 0;
    Axis.GridExtent = GridExtent;
    Axis.FixedCellCount = FixedCount;
    Axis.FirstGridCell = First;
    Axis.GridCellCount = Count;
    int Pos = 0;
    for (int I = 0; I < FixedCount; ++I)
        Pos += Extent(Cols, I) + Axis.EffectiveLineWidth;
    Axis.FixedBoundary = Pos;
    Axis.FullVisBoundary = Pos;
    Axis.LastFullVisibleCell = First - 1;
    int I = First;
    while (I < Count && Pos < GridExtent) {
        Pos += Extent(Cols, I) + Axis.EffectiveLineWidth;
        if (Pos <= GridExtent) {
            Axis.LastFullVisibleCell = I;
            Axis.FullVisBoundary = Pos;
        }
        ++I;
    }
    Axis.GridBoundary = std::min(Pos, GridExtent);
}

void TCustomGrid::CalcDrawInfo(TGridDrawInfo& DrawInfo) const
{
    const TRect Client = ClientRect();
    CalcAxis(DrawInfo.Horz, Client.Width(), FFixedCols, FTopLeft.X, FColCount, true);
    CalcAxis(DrawInfo.Vert, Client.Height(), FFixedRows, FTopLeft.Y, FRowCount, false);
}

int TCustomGrid::VisibleColCount() const
{
    TGridDrawInfo D;
    CalcDrawInfo(D);
    return std::max(D.Horz.LastFullVisibleCell - FTopLeft.X + 1, 0);
}

int TCustomGrid::VisibleRowCount() const
{
    TGridDrawInfo D;
    CalcDrawInfo(D);
    return std::max(D.Vert.LastFullVisibleCell - FTopLeft.Y + 1, 0);
}

namespace {

// The pixel span of cells Lo..Hi of one axis as far as they are in view.
template <typename ExtentFn>
bool AxisSpan(const TGridAxisDrawInfo& A, ExtentFn Extent, int Lo, int Hi, int& Start, int& End)
{
    bool Found = false;
    int Pos = 0;
    auto Visit = [&](int I) {
        const int CellEnd = Pos + Extent(I);
        if (I >= Lo && I <= Hi) {
            if (!Found)
                Start = Pos;
            Found = true;
            End = CellEnd;
        }
        Pos = CellEnd + A.EffectiveLineWidth;
    };
    for (int I = 0; I < A.FixedCellCount; ++I)
        Visit(I);
    for (int I = A.FirstGridCell; I < A.GridCellCount && Pos < A.GridExtent && I <= Hi; ++I)
        Visit(I);
    if (Found)
        End = std::min(End, A.GridExtent);
    return Found && Start < End;
}

template <typename ExtentFn>
int AxisCoord(const TGridAxisDrawInfo& A, ExtentFn Extent, int X)
{
    if (X < 0 || X >= A.GridBoundary)
        return -1;
    int Pos = 0;
    for (int I = 0; I < A.FixedCellCount; ++I) {
        Pos += Extent(I) + A.EffectiveLineWidth;
        if (X < Pos)
            return I;
    }
    for (int I = A.FirstGridCell; I < A.GridCellCount && Pos < A.GridExtent; ++I) {
        Pos += Extent(I) + A.EffectiveLineWidth;
        if (X < Pos)
            return I;
    }
    return -1;
}

} // namespace

TRect TCustomGrid::BoxRect(const TGridRect& ARect) const
{
    TGridDrawInfo D;
    CalcDrawInfo(D);
    TRect R{};
    const bool H = AxisSpan(
        D.Horz, [this](int I) { return ColWidths(I); }, std::min(ARect.Left, ARect.Right),
        std::max(ARect.Left, ARect.Right), R.Left, R.Right);
    const bool V = AxisSpan(
        D.Vert, [this](int I) { return RowHeights(I); }, std::min(ARect.Top, ARect.Bottom),
        std::max(ARect.Top, ARect.Bottom), R.Top, R.Bottom);
    if (!H || !V)
        return TRect{};
    return R;
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const
{
    return BoxRect(TGridRect{ACol, ARow, ACol, ARow});
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const
{
    TGridDrawInfo D;
    CalcDrawInfo(D);
    TGridCoord C;
    C.X = AxisCoord(
        D.Horz, [this](int I) { return ColWidths(I); }, X);
    C.Y = AxisCoord(
        D.Vert, [this](int I) { return RowHeights(I); }, Y);
    if (C.X < 0 || C.Y < 0)
        C = TGridCoord{-1, -1};
    return C;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const
{
    const TGridCoord C = MouseCoord(X, Y);
    ACol = C.X;
    ARow = C.Y;
}

// The largest top-left cell that still fills the client area up to the last column and row.
TGridCoord TCustomGrid::MaxTopLeft() const
{
    TGridDrawInfo D;
    CalcDrawInfo(D);
    auto Axis = [this](const TGridAxisDrawInfo& A, bool Cols) {
        const int Room = A.GridExtent - A.FixedBoundary;
        int Used = 0;
        int I = A.GridCellCount - 1;
        for (; I >= A.FixedCellCount; --I) {
            Used += Extent(Cols, I) + A.EffectiveLineWidth;
            if (Used > Room)
                break;
        }
        return std::clamp(I + 1, A.FixedCellCount, std::max(A.GridCellCount - 1, 0));
    };
    return TGridCoord{Axis(D.Horz, true), Axis(D.Vert, false)};
}

// --- invalidation ---

void TCustomGrid::InvalidateRect(const TGridRect& ARect)
{
    if (!HandleAllocated())
        return;
    const TRect R = BoxRect(ARect);
    if (!IsRectEmpty(R))
        ::InvalidateRect(WindowHandle(), &R, false);
}

void TCustomGrid::InvalidateCell(int ACol, int ARow)
{
    InvalidateRect(TGridRect{ACol, ARow, ACol, ARow});
}

void TCustomGrid::InvalidateCol(int ACol)
{
    InvalidateRect(TGridRect{ACol, 0, ACol, FRowCount - 1});
}

void TCustomGrid::InvalidateRow(int ARow)
{
    InvalidateRect(TGridRect{0, ARow, FColCount - 1, ARow});
}

void TCustomGrid::InvalidateGrid()
{
    Invalidate();
}

// --- current cell and selection ---

TGridRect TCustomGrid::Selection() const
{
    TGridRect R{std::min(FCurrent.X, FAnchor.X), std::min(FCurrent.Y, FAnchor.Y),
                std::max(FCurrent.X, FAnchor.X), std::max(FCurrent.Y, FAnchor.Y)};
    if (FOptions.Contains(goRowSelect)) {
        R.Left = FFixedCols;
        R.Right = FColCount - 1;
    }
    return R;
}

void TCustomGrid::SetSelection(const TGridRect& Value)
{
    auto Check = [this](int C, int R) {
        if (C < 0 || R < 0 || C >= FColCount || R >= FRowCount)
            GridError(SIndexOutOfRange);
    };
    Check(Value.Left, Value.Top);
    Check(Value.Right, Value.Bottom);
    const TGridRect Old = Selection();
    FAnchor = TGridCoord{Value.Left, Value.Top};
    FCurrent = TGridCoord{Value.Right, Value.Bottom};
    InvalidateRect(Old);
    InvalidateRect(Selection());
}

void TCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount)
        GridError(SIndexOutOfRange);
    if (!SelectCell(ACol, ARow))
        return;
    const TGridRect Old = Selection();
    const TGridCoord OldCurrent = FCurrent;
    FCurrent = TGridCoord{ACol, ARow};
    if (!FOptions.Contains(goAlwaysShowEditor))
        HideEditor();
    if (MoveAnchor || !FOptions.Contains(goRangeSelect))
        FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect))
        FAnchor.X = FCurrent.X;
    InvalidateRect(Old);
    InvalidateCell(OldCurrent.X, OldCurrent.Y);
    InvalidateRect(Selection());
    InvalidateCell(FCurrent.X, FCurrent.Y);
    if (Show)
        ClampInView(FCurrent);
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor)
{
    MoveCurrent(ACol, ARow, MoveAnchor, true);
    UpdateEdit();
    Click();
}

void TCustomGrid::SetCol(int Value)
{
    if (Value != FCurrent.X)
        FocusCell(Value, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int Value)
{
    if (Value != FCurrent.Y)
        FocusCell(FCurrent.X, Value, true);
}

// --- scrolling ---

void TCustomGrid::ClampInView(TGridCoord Coord)
{
    TGridDrawInfo D;
    CalcDrawInfo(D);
    auto Axis = [this](const TGridAxisDrawInfo& A, int Cell, int First, bool Cols) {
        if (Cell < A.FixedCellCount)
            return First;
        if (Cell < First)
            return Cell;
        if (Cell <= A.LastFullVisibleCell)
            return First;
        // Cell becomes the last fully visible one.
        const int Room = A.GridExtent - A.FixedBoundary;
        int Used = 0;
        int I = Cell;
        for (; I > A.FixedCellCount; --I) {
            Used += Extent(Cols, I) + A.EffectiveLineWidth;
            if (Used + Extent(Cols, I - 1) + A.EffectiveLineWidth > Room)
                break;
        }
        return std::max(I, First);
    };
    // A whole row is selected: only the rows scroll to it.
    const int Left =
        FOptions.Contains(goRowSelect) ? FTopLeft.X : Axis(D.Horz, Coord.X, FTopLeft.X, true);
    MoveTopLeft(Left, Axis(D.Vert, Coord.Y, FTopLeft.Y, false));
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop)
{
    const TGridCoord Max = MaxTopLeft();
    ALeft = std::clamp(ALeft, FFixedCols, std::max(Max.X, FFixedCols));
    ATop = std::clamp(ATop, FFixedRows, std::max(Max.Y, FFixedRows));
    if (ALeft == FTopLeft.X && ATop == FTopLeft.Y)
        return;
    const TGridCoord Old = FTopLeft;
    FTopLeft = TGridCoord{ALeft, ATop};
    ScrollData(Old);
    UpdateScrollPos();
    TopLeftChanged();
}

// Moves what stays in view by the pixels scrolled, so that only the cells coming into view are
// painted; a jump on both axes, or one that keeps less in view than it brings (a page), repaints
// everything: moving the last strip costs more than it saves.
void TCustomGrid::ScrollData(TGridCoord OldTopLeft)
{
    if (!HandleAllocated())
        return;
    const bool Cols = OldTopLeft.X != FTopLeft.X;
    const bool Rows = OldTopLeft.Y != FTopLeft.Y;
    if (Cols == Rows) {
        InvalidateGrid();
        return;
    }
    TGridDrawInfo D;
    CalcDrawInfo(D);
    const TGridAxisDrawInfo& A = Cols ? D.Horz : D.Vert;
    const int From = Cols ? OldTopLeft.X : OldTopLeft.Y;
    const int To = Cols ? FTopLeft.X : FTopLeft.Y;
    const int Room = A.GridExtent - A.FixedBoundary;
    int Distance = 0;
    for (int I = std::min(From, To); I < std::max(From, To) && Distance < Room; ++I)
        Distance += Extent(Cols, I) + A.EffectiveLineWidth;
    if (Room - Distance < Distance) {
        InvalidateGrid();
        return;
    }
    const int Delta = To > From ? -Distance : Distance;
    const TRect Client = ClientRect();
    TRect Area = Client;
    if (Cols)
        Area.Left = A.FixedBoundary;
    else
        Area.Top = A.FixedBoundary;
    ScrollWindow(WindowHandle(), Cols ? Delta : 0, Cols ? 0 : Delta, &Area, &Area);
}

void TCustomGrid::SetLeftCol(int Value)
{
    if (Value < 0 || Value >= FColCount)
        GridError(SIndexOutOfRange);
    MoveTopLeft(Value, FTopLeft.Y);
}

void TCustomGrid::SetTopRow(int Value)
{
    if (Value < 0 || Value >= FRowCount)
        GridError(SIndexOutOfRange);
    MoveTopLeft(FTopLeft.X, Value);
}

int TCustomGrid::ScrollPosOf(bool Cols) const
{
    const TGridCoord Max = MaxTopLeft();
    const int Span = Cols ? Max.X - FFixedCols : Max.Y - FFixedRows;
    const int Offset = Cols ? FTopLeft.X - FFixedCols : FTopLeft.Y - FFixedRows;
    if (Span <= 0)
        return 0;
    return static_cast<int>((std::int64_t(Offset) * ThumbScale + Span / 2) / Span);
}

int TCustomGrid::CellOfScrollPos(bool Cols, int Pos) const
{
    const TGridCoord Max = MaxTopLeft();
    const int Fixed = Cols ? FFixedCols : FFixedRows;
    const int Span = (Cols ? Max.X : Max.Y) - Fixed;
    if (Span <= 0)
        return Fixed;
    Pos = std::clamp(Pos, 0, ThumbScale);
    return Fixed + static_cast<int>((std::int64_t(Pos) * Span + ThumbScale / 2) / ThumbScale);
}

void TCustomGrid::UpdateScrollRange()
{
    if (!HandleAllocated())
        return;
    const TGridCoord Max = MaxTopLeft();
    auto Bar = [this](int Which, bool Wanted, bool Scrolls) {
        TScrollInfo Info;
        Info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
        Info.nMin = 0;
        Info.nMax = Wanted && Scrolls ? ThumbScale : 0;
        Info.nPage = 0;
        Info.nPos = Wanted && Scrolls ? ScrollPosOf(Which == SB_HORZ) : 0;
        SetScrollInfo(WindowHandle(), Which, Info, true);
    };
    Bar(SB_HORZ, FScrollBars == ssHorizontal || FScrollBars == ssBoth, Max.X > FFixedCols);
    Bar(SB_VERT, FScrollBars == ssVertical || FScrollBars == ssBoth, Max.Y > FFixedRows);
}

// Only a thumb that moves is set: setting one redraws its bar, and on the 0 to ThumbScale scale
// most scrolls of a long grid leave it where it is.
void TCustomGrid::UpdateScrollPos()
{
    if (!HandleAllocated())
        return;
    auto Bar = [this](int Which, int Pos) {
        if (GetScrollPos(WindowHandle(), Which) != Pos)
            SetScrollPos(WindowHandle(), Which, Pos, true);
    };
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        Bar(SB_HORZ, ScrollPosOf(true));
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        Bar(SB_VERT, ScrollPosOf(false));
}

// --- moving and deleting ---

namespace {

void MoveEntry(std::vector<int>& Sizes, int From, int To)
{
    if (Sizes.empty())
        return;
    const int Value = Sizes[std::size_t(From)];
    Sizes.erase(Sizes.begin() + From);
    Sizes.insert(Sizes.begin() + To, Value);
}

} // namespace

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= FColCount || ToIndex >= FColCount)
        GridError(SIndexOutOfRange);
    if (FromIndex == ToIndex)
        return;
    MoveEntry(FColWidths, FromIndex, ToIndex);
    ColumnMoved(FromIndex, ToIndex);
    ColWidthsChanged();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= FRowCount || ToIndex >= FRowCount)
        GridError(SIndexOutOfRange);
    if (FromIndex == ToIndex)
        return;
    MoveEntry(FRowHeights, FromIndex, ToIndex);
    RowMoved(FromIndex, ToIndex);
    RowHeightsChanged();
}

void TCustomGrid::DeleteColumn(int ACol)
{
    MoveColumn(ACol, FColCount - 1);
    SetColCount(FColCount - 1);
}

void TCustomGrid::DeleteRow(int ARow)
{
    MoveRow(ARow, FRowCount - 1);
    SetRowCount(FRowCount - 1);
}

std::string TCustomGrid::GetEditMask(int, int)
{
    return {};
}

std::string TCustomGrid::GetEditText(int, int)
{
    return {};
}

void TCustomGrid::SetEditText(int, int, const std::string&) {}
