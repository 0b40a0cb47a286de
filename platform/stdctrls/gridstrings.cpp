// platform/stdctrls/gridstrings.cpp: TStringGrid's cells, kept per cell beyond the counts, its
// rows and columns as string lists, and its default text drawing.
#include "platform/stdctrls/grids.h"

#include <algorithm>

namespace {

void CheckCell(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        throw EInvalidGridOperation("Grid index out of range");
}

} // namespace

const TStringGrid::TCell* TStringGrid::FindCell(int ACol, int ARow) const
{
    CheckCell(ACol, ARow);
    if (std::size_t(ARow) >= FData.size())
        return nullptr;
    const std::vector<TCell>& Line = FData[std::size_t(ARow)];
    return std::size_t(ACol) < Line.size() ? &Line[std::size_t(ACol)] : nullptr;
}

TStringGrid::TCell& TStringGrid::EnsureCell(int ACol, int ARow)
{
    CheckCell(ACol, ARow);
    if (std::size_t(ARow) >= FData.size())
        FData.resize(std::size_t(ARow) + 1);
    std::vector<TCell>& Line = FData[std::size_t(ARow)];
    if (std::size_t(ACol) >= Line.size())
        Line.resize(std::size_t(ACol) + 1);
    return Line[std::size_t(ACol)];
}

std::string TStringGrid::Cells(int ACol, int ARow) const
{
    const TCell* Cell = FindCell(ACol, ARow);
    return Cell ? Cell->Text : std::string();
}

void TStringGrid::SetCells(int ACol, int ARow, const std::string& Value)
{
    const TCell* Cell = FindCell(ACol, ARow);
    if (!Cell && Value.empty())
        return;
    EnsureCell(ACol, ARow).Text = Value;
    InvalidateCell(ACol, ARow);
}

TObject* TStringGrid::Objects(int ACol, int ARow) const
{
    const TCell* Cell = FindCell(ACol, ARow);
    return Cell ? Cell->Object : nullptr;
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value)
{
    const TCell* Cell = FindCell(ACol, ARow);
    if (!Cell && !Value)
        return;
    EnsureCell(ACol, ARow).Object = Value;
}

TStrings* TStringGrid::Rows(int Index)
{
    CheckCell(0, Index);
    std::unique_ptr<TStringGridStrings>& Lines = FRowStrings[Index];
    if (!Lines)
        Lines = std::make_unique<TStringGridStrings>(this, true, Index);
    return Lines.get();
}

TStrings* TStringGrid::Cols(int Index)
{
    CheckCell(Index, 0);
    std::unique_ptr<TStringGridStrings>& Lines = FColStrings[Index];
    if (!Lines)
        Lines = std::make_unique<TStringGridStrings>(this, false, Index);
    return Lines.get();
}

void TStringGrid::SetRows(int Index, const TStrings* Value)
{
    TStrings* Line = Rows(Index);
    Line->Clear();
    const int N = Value ? std::min(Value->Count(), Line->Count()) : 0;
    for (int I = 0; I < N; ++I) {
        Line->Put(I, Value->Get(I));
        Line->PutObject(I, Value->GetObject(I));
    }
}

void TStringGrid::SetCols(int Index, const TStrings* Value)
{
    TStrings* Line = Cols(Index);
    Line->Clear();
    const int N = Value ? std::min(Value->Count(), Line->Count()) : 0;
    for (int I = 0; I < N; ++I) {
        Line->Put(I, Value->Get(I));
        Line->PutObject(I, Value->GetObject(I));
    }
}

void TStringGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    if (DefaultDrawing())
        Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    const std::size_t Need = std::size_t(std::max(FromIndex, ToIndex)) + 1;
    for (std::vector<TCell>& Line : FData) {
        if (Line.size() <= std::size_t(std::min(FromIndex, ToIndex)))
            continue;
        if (Line.size() < Need)
            Line.resize(Need);
        TCell Moved = std::move(Line[std::size_t(FromIndex)]);
        Line.erase(Line.begin() + FromIndex);
        Line.insert(Line.begin() + ToIndex, std::move(Moved));
    }
    TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    const std::size_t Need = std::size_t(std::max(FromIndex, ToIndex)) + 1;
    if (FData.size() > std::size_t(std::min(FromIndex, ToIndex))) {
        if (FData.size() < Need)
            FData.resize(Need);
        std::vector<TCell> Moved = std::move(FData[std::size_t(FromIndex)]);
        FData.erase(FData.begin() + FromIndex);
        FData.insert(FData.begin() + ToIndex, std::move(Moved));
    }
    TDrawGrid::RowMoved(FromIndex, ToIndex);
}

std::string TStringGrid::GetEditText(int ACol, int ARow)
{
    std::string Value = Cells(ACol, ARow);
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, Value);
    return Value;
}

void TStringGrid::SetEditText(int ACol, int ARow, const std::string& Value)
{
    SetCells(ACol, ARow, Value);
    TDrawGrid::SetEditText(ACol, ARow, Value);
}

// --- TStringGridStrings ---

int TStringGridStrings::Count() const
{
    return FIsRow ? FGrid->ColCount() : FGrid->RowCount();
}

std::string TStringGridStrings::Get(int Index) const
{
    return FIsRow ? FGrid->Cells(Index, FIndex) : FGrid->Cells(FIndex, Index);
}

void TStringGridStrings::Put(int Index, const std::string& S)
{
    if (FIsRow)
        FGrid->SetCells(Index, FIndex, S);
    else
        FGrid->SetCells(FIndex, Index, S);
}

TObject* TStringGridStrings::GetObject(int Index) const
{
    return FIsRow ? FGrid->Objects(Index, FIndex) : FGrid->Objects(FIndex, Index);
}

void TStringGridStrings::PutObject(int Index, TObject* AObject)
{
    if (FIsRow)
        FGrid->SetObjects(Index, FIndex, AObject);
    else
        FGrid->SetObjects(FIndex, Index, AObject);
}

int TStringGridStrings::Add(const std::string& S)
{
    for (int I = 0; I < Count(); ++I)
        if (Get(I).empty() && !GetObject(I)) {
            Put(I, S);
            return I;
        }
    return -1;
}

void TStringGridStrings::Insert(int, const std::string&)
{
    throw EInvalidGridOperation("Cannot insert or delete rows from grid");
}

void TStringGridStrings::Delete(int)
{
    throw EInvalidGridOperation("Cannot insert or delete rows from grid");
}

void TStringGridStrings::Clear()
{
    for (int I = 0; I < Count(); ++I) {
        Put(I, std::string());
        PutObject(I, nullptr);
    }
}
