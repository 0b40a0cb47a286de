// The grid's cells: their graphics, typed access, row selection flags, column and row headers,
// and the screen operations on cells.
#include "controls/grid/advgrid.h"

#include "controls/grid/advutil.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/paint.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace {

bool SkipDigits(const std::string& S, std::size_t& I)
{
    std::size_t Start = I;
    while (I < S.size() && std::isdigit(static_cast<unsigned char>(S[I])))
        ++I;
    return I > Start;
}

// An optional minus and decimal digits, nothing else.
bool IsDecimalInteger(const std::string& S)
{
    std::size_t I = S[0] == '-' ? 1 : 0;
    return SkipDigits(S, I) && I == S.size();
}

// [-]digits[.digits][e[+-]digits], or [-].digits...
bool IsPlainFloat(const std::string& S)
{
    std::size_t I = S[0] == '-' ? 1 : 0;
    bool Whole = SkipDigits(S, I);
    bool Fraction = false;
    if (I < S.size() && S[I] == '.') {
        ++I;
        Fraction = SkipDigits(S, I);
    }
    if (!Whole && !Fraction)
        return false;
    if (I < S.size() && (S[I] == 'e' || S[I] == 'E')) {
        ++I;
        if (I < S.size() && (S[I] == '+' || S[I] == '-'))
            ++I;
        if (!SkipDigits(S, I))
            return false;
    }
    return I == S.size();
}

bool IsEmptyRect(const TRect& R)
{
    return R.Right <= R.Left || R.Bottom <= R.Top;
}

} // namespace

void TCellGraphic::SetImageIdx(int Index, TCellImageHPlace HPlace, TCellImageVPlace VPlace)
{
    CellType = KindImageIndex;
    CellIndex = Index;
    CellHAlign = static_cast<std::uint8_t>(HPlace);
    CellVAlign = static_cast<std::uint8_t>(VPlace);
}

// ---- graphics --------------------------------------------------------------------------------

void TAdvStringGrid::AddCellImageIndex(int ACol, int ARow, int Index, TCellImageHPlace HPlace,
                                       TCellImageVPlace VPlace)
{
    if (FGridImages == nullptr && !FEnableGraphics)
        return;
    RemoveCellGraphic(ACol, ARow);
    auto Graphic = new TCellGraphic;
    Graphic->SetImageIdx(Index, HPlace, VPlace);
    SetObjects(ACol, ARow, Graphic);
}

bool TAdvStringGrid::RemoveCellGraphic(int ACol, int ARow)
{
    auto Graphic = dynamic_cast<TCellGraphic*>(Objects(ACol, ARow));
    if (Graphic == nullptr)
        return false;
    SetObjects(ACol, ARow, nullptr);
    delete Graphic;
    return true;
}

TCellGraphic* TAdvStringGrid::GetCellGraphic(int ACol, int ARow) const
{
    if (!FEnableGraphics)
        return nullptr;
    return dynamic_cast<TCellGraphic*>(Objects(ACol, ARow));
}

int TAdvStringGrid::GetCellGraphicKind(int ACol, int ARow) const
{
    TCellGraphic* Graphic = GetCellGraphic(ACol, ARow);
    return Graphic == nullptr ? TCellGraphic::KindNone : Graphic->CellType;
}

TPoint TAdvStringGrid::GetCellGraphicSize(int ACol, int ARow) const
{
    TCellGraphic* Graphic = GetCellGraphic(ACol, ARow);
    if (Graphic == nullptr || Graphic->CellType != TCellGraphic::KindImageIndex ||
        FGridImages == nullptr)
        return TPoint{0, 0};
    bool BesideText = Graphic->CellHAlign == ihpBeforeText || Graphic->CellHAlign == ihpAfterText;
    int Width = Cells(ACol, ARow).empty() || BesideText ? FGridImages->Width() : 0;
    return TPoint{Width, FGridImages->Height()};
}

int TAdvStringGrid::GetGraphicSortKey(int, int) const
{
    return -1;
}

// ---- typed access ----------------------------------------------------------------------------

int TAdvStringGrid::CellAsInteger(int ACol, int ARow) const
{
    std::string S = Cells(ACol, ARow);
    if (S.empty())
        return 0;
    int Value = 0;
    if (!IsDecimalInteger(S) || !TryStrToInt(S, Value))
        throw EAdvGridError("Cell does not contain integer value");
    return Value;
}

void TAdvStringGrid::SetCellAsInteger(int ACol, int ARow, int Value)
{
    SetCells(ACol, ARow, IntToStr(Value));
}

double TAdvStringGrid::CellAsFloat(int ACol, int ARow) const
{
    std::string Text = Cells(ACol, ARow);
    if (Text.empty())
        return 0;
    // A text with no number in it is no float, though its plain form is empty.
    std::string S = NumericTextToPlain(Text);
    if (S.empty())
        throw EAdvGridError("Cell does not contain a float value");
    // The plain form always has "." as its decimal mark, whatever the locale says.
    errno = 0;
    double Value = IsPlainFloat(S) ? std::strtod(S.c_str(), nullptr) : 0;
    if (!IsPlainFloat(S) || errno == ERANGE)
        throw EAdvGridError("Cell does not contain a float value");
    return Value;
}

TDateTime TAdvStringGrid::CellAsDate(int ACol, int ARow) const
{
    return StrToDate(Cells(ACol, ARow));
}

// ---- row selection flags ---------------------------------------------------------------------

void TAdvStringGrid::CheckRow(int ARow) const
{
    if (ARow < 0 || ARow >= RowCount())
        throw EAdvGridError("Invalid Row accessed");
}

void TAdvStringGrid::EnsureRowSelectCount(int ARow) const
{
    if (static_cast<int>(FRowSelect.size()) <= ARow)
        FRowSelect.resize(static_cast<std::size_t>(ARow) + 1, false);
}

bool TAdvStringGrid::RowSelected(int ARow) const
{
    CheckRow(ARow);
    EnsureRowSelectCount(ARow);
    return FRowSelect[static_cast<std::size_t>(ARow)];
}

void TAdvStringGrid::SetRowSelected(int ARow, bool Value)
{
    CheckRow(ARow);
    EnsureRowSelectCount(ARow);
    if (FRowSelect[static_cast<std::size_t>(ARow)] == Value)
        return;
    FRowSelect[static_cast<std::size_t>(ARow)] = Value;
    RepaintRow(ARow);
}

void TAdvStringGrid::ClearRowSelection()
{
    for (std::size_t I = 0; I < FRowSelect.size(); ++I)
        if (FRowSelect[I]) {
            FRowSelect[I] = false;
            if (static_cast<int>(I) < RowCount())
                RepaintRow(static_cast<int>(I));
        }
}

void TAdvStringGrid::SelectRowsFromSelection(bool AllRows)
{
    TGridRect Sel = Selection();
    for (int R = FixedRows(); R < RowCount(); ++R) {
        bool Inside = R >= Sel.Top && R <= Sel.Bottom;
        if (AllRows || Inside)
            SetRowSelected(R, Inside);
    }
}

// ---- headers ---------------------------------------------------------------------------------

void TAdvStringGrid::SetColumnHeaders(const TStrings* Value)
{
    if (TStringGrid::FixedRows() > 0)
        for (int C = 0; C < ColCount(); ++C)
            SetCells(C, 0, "");
    FColumnHeaders->Assign(Value);
    ApplyColumnHeaders();
}

void TAdvStringGrid::SetRowHeaders(const TStrings* Value)
{
    if (ComponentState().Contains(csDesigning) && TStringGrid::FixedCols() > 0)
        for (int R = 0; R < RowCount(); ++R)
            SetCells(0, R, "");
    FRowHeaders->Assign(Value);
    ApplyRowHeaders();
}

void TAdvStringGrid::ApplyColumnHeaders()
{
    if (TStringGrid::FixedRows() <= 0)
        return;
    for (int I = 0; I < FColumnHeaders->Count() && I < ColCount(); ++I)
        SetCells(I, 0, ExpandNewlineEscapes(FColumnHeaders->Get(I)));
}

void TAdvStringGrid::ApplyRowHeaders()
{
    if (TStringGrid::FixedCols() <= 0)
        return;
    for (int I = 0; I < FRowHeaders->Count() && I < RowCount(); ++I)
        SetCells(0, I, ExpandNewlineEscapes(FRowHeaders->Get(I)));
}

// ---- screen ----------------------------------------------------------------------------------

void TAdvStringGrid::ScrollCellInView(int ACol, int ARow)
{
    if (ACol >= ColCount() || ARow >= RowCount())
        return;
    int NewLeft = LeftCol();
    int NewTop = TopRow();
    if (ACol < LeftCol() || ACol > LeftCol() + VisibleColCount()) {
        SetCol(ACol);
        NewLeft = std::max(ACol - VisibleColCount() / 2, FixedCols());
    }
    if (ARow < TopRow() || ARow > TopRow() + VisibleRowCount()) {
        SetRow(ARow);
        NewTop = std::max(ARow - VisibleRowCount() / 2, FixedRows());
    }
    SetLeftCol(NewLeft);
    SetTopRow(NewTop);
}

void TAdvStringGrid::HideSelection()
{
    if (!FSelectionHidden)
        FOldSelection = Selection();
    FSelectionHidden = true;
    Invalidate();
}

void TAdvStringGrid::UnHideSelection()
{
    if (!FSelectionHidden)
        return;
    FSelectionHidden = false;
    SetSelection(FOldSelection);
    Invalidate();
}

void TAdvStringGrid::RepaintCell(int ACol, int ARow)
{
    InvalidateCell(ACol, ARow);
}

void TAdvStringGrid::RepaintRow(int ARow)
{
    InvalidateRow(ARow);
}

void TAdvStringGrid::RepaintCellRange(const TGridRect& R)
{
    TRect R1 = CellRect(R.Left, R.Top);
    TRect R2 = CellRect(R.Right, R.Bottom);
    if (IsEmptyRect(R1) || IsEmptyRect(R2) || !HandleAllocated()) {
        Invalidate();
        return;
    }
    TRect U{std::min(R1.Left, R2.Left), std::min(R1.Top, R2.Top), std::max(R1.Right, R2.Right),
            std::max(R1.Bottom, R2.Bottom)};
    ::InvalidateRect(WindowHandle(), &U, false);
}

bool TAdvStringGrid::IsNearCellBorder(int X, int Y)
{
    int ACol = -1;
    int ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0 || ARow < 0)
        return false;
    TRect R = CellRect(ACol, ARow);
    if (Options().Contains(goColSizing) && ARow <= FixedRows())
        return std::abs(X - R.Left) < 4 || std::abs(X - R.Right) < 4;
    if (Options().Contains(goRowSizing) && ACol <= FixedCols())
        return std::abs(Y - R.Top) < 4 || std::abs(Y - R.Bottom) < 4;
    return false;
}

void TAdvStringGrid::CellFromScreenPoint(TPoint P, int& ACol, int& ARow)
{
    TPoint Client = ScreenToClient(P);
    MouseToCell(Client.X, Client.Y, ACol, ARow);
}
