// platform/stdctrls/griddraw.cpp: TDrawGrid, the grid's hooks answered by events.
#include "platform/stdctrls/grids.h"

void TDrawGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TDrawGrid::SelectCell(int ACol, int ARow)
{
    bool CanSelect = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, CanSelect);
    return CanSelect;
}

void TDrawGrid::TopLeftChanged()
{
    TCustomGrid::TopLeftChanged();
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

void TDrawGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    if (OnColumnMoved)
        OnColumnMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::RowMoved(int FromIndex, int ToIndex)
{
    if (OnRowMoved)
        OnRowMoved(this, FromIndex, ToIndex);
}

std::string TDrawGrid::GetEditMask(int ACol, int ARow)
{
    std::string Value;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, Value);
    return Value;
}

std::string TDrawGrid::GetEditText(int ACol, int ARow)
{
    std::string Value;
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, Value);
    return Value;
}

void TDrawGrid::SetEditText(int ACol, int ARow, const std::string& Value)
{
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, Value);
}
