// Hidden columns and the display/real column maps, column widths in the registry or an INI
// file, stretching of the last column, proportional sizing after a drag, and the owner form's
// resize notification.
#include "controls/grid/advgrid.h"

#include "platform/forms/form.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/registry.h"

#include <cmath>
#include <limits>

namespace {

// Widths outside what a column can have (a damaged store) leave the column as it is.
bool IsStorableWidth(int Width)
{
    return Width >= 0 && Width <= 32767;
}

std::string ColValueName(int Index)
{
    return "Col" + IntToStr(Index);
}

} // namespace

// ---- display and real columns ----------------------------------------------------------------

int TAdvStringGrid::NumHiddenColumns() const
{
    return FNumHidden;
}

int TAdvStringGrid::RealColIndex(int ACol) const
{
    if (FNumHidden == 0 || ACol < 0)
        return ACol;
    int Visible = 0;
    for (int Real = 0; Real < MaxMappedColumns; ++Real) {
        if (!FVisibleCol[static_cast<std::size_t>(Real)])
            continue;
        if (Visible == ACol)
            return Real;
        ++Visible;
    }
    // Past the map every column shows: all hidden ones lie before it.
    return ACol + FNumHidden;
}

int TAdvStringGrid::DisplColIndex(int ACol) const
{
    int Hidden = 0;
    for (int Real = 0; Real < ACol && Real < MaxMappedColumns; ++Real)
        if (!FVisibleCol[static_cast<std::size_t>(Real)])
            ++Hidden;
    return ACol - Hidden;
}

bool TAdvStringGrid::IsColumnVisible(int ACol) const
{
    if (ACol < 0 || ACol >= MaxMappedColumns)
        return true;
    return FVisibleCol[static_cast<std::size_t>(ACol)];
}

int TAdvStringGrid::RememberedColWidth(int ACol) const
{
    if (ACol < 0 || ACol >= MaxMappedColumns)
        return ColWidths(ACol);
    if (!FVisibleCol[static_cast<std::size_t>(ACol)])
        return FRememberedWidths[static_cast<std::size_t>(ACol)];
    return ColWidths(DisplColIndex(ACol));
}

void TAdvStringGrid::HideColumn(int ACol)
{
    if (ACol < 0 || ACol >= MaxMappedColumns || !FVisibleCol[static_cast<std::size_t>(ACol)] ||
        ACol >= ColCount() + FNumHidden || ColCount() < 2)
        return;
    int Displ = DisplColIndex(ACol);
    int Width = ColWidths(Displ);
    FRememberedWidths[static_cast<std::size_t>(ACol)] =
        static_cast<std::int16_t>(std::min<int>(Width, std::numeric_limits<std::int16_t>::max()));
    for (int C = Displ; C <= ColCount() - 2; ++C)
        SetColWidths(C, ColWidths(C + 1));
    ++FNumHidden;
    FVisibleCol[static_cast<std::size_t>(ACol)] = false;
    TStringGrid::SetColCount(ColCount() - 1);
    Invalidate();
}

void TAdvStringGrid::UnHideColumn(int ACol)
{
    if (ACol < 0 || ACol >= MaxMappedColumns || FVisibleCol[static_cast<std::size_t>(ACol)])
        return;
    --FNumHidden;
    FVisibleCol[static_cast<std::size_t>(ACol)] = true;
    TStringGrid::SetColCount(ColCount() + 1);
    for (int C = ColCount() - 1; C >= DisplColIndex(ACol + 1) && C > 0; --C)
        SetColWidths(C, ColWidths(C - 1));
    SetColWidths(DisplColIndex(ACol), FRememberedWidths[static_cast<std::size_t>(ACol)]);
    Invalidate();
}

void TAdvStringGrid::HideColumns(int FromCol, int ToCol)
{
    // Columns above the visibility map are refused.
    for (int C = std::max(FromCol, 0); C <= ToCol && C < MaxMappedColumns; ++C)
        HideColumn(C);
}

void TAdvStringGrid::UnHideColumns(int FromCol, int ToCol)
{
    for (int C = std::max(FromCol, 0); C <= ToCol && C < MaxMappedColumns; ++C)
        UnHideColumn(C);
}

// ---- widths in the registry or an INI file ---------------------------------------------------

void TAdvStringGrid::SaveColumnPositions()
{
    if (FColumnSize->Key().empty() || FColumnSize->Section().empty() ||
        ComponentState().Contains(csDesigning))
        return;
    if (FColumnSize->Location() == clIniFile) {
        TIniFile Ini(FColumnSize->Key());
        for (int I = 0; I < ColCount(); ++I)
            Ini.WriteInteger(FColumnSize->Section(), ColValueName(I), ColWidths(I));
        return;
    }
    TRegistry Reg;
    Reg.SetRootKey(HKEY_CURRENT_USER);
    if (!Reg.OpenKey(FColumnSize->Key(), true) || !Reg.OpenKey(FColumnSize->Section(), true))
        return;
    for (int I = 0; I < ColCount(); ++I) {
        std::string Name = ColValueName(I);
        // A width kept as text stays text.
        if (Reg.GetDataType(Name) == rdString || Reg.GetDataType(Name) == rdExpandString)
            Reg.WriteString(Name, IntToStr(ColWidths(I)));
        else
            Reg.WriteInteger(Name, ColWidths(I));
    }
    Reg.CloseKey();
}

void TAdvStringGrid::LoadColumnPositions()
{
    if (FColumnSize->Key().empty() || FColumnSize->Section().empty() ||
        ComponentState().Contains(csDesigning))
        return;
    std::vector<int> Widths(static_cast<std::size_t>(std::max(ColCount(), 0)), -1);
    if (FColumnSize->Location() == clIniFile) {
        TIniFile Ini(FColumnSize->Key());
        for (int I = 0; I < ColCount(); ++I)
            Widths[static_cast<std::size_t>(I)] =
                Ini.ReadInteger(FColumnSize->Section(), ColValueName(I), -1);
    } else {
        TRegistry Reg;
        Reg.SetRootKey(HKEY_CURRENT_USER);
        if (!Reg.OpenKey(FColumnSize->Key(), true) || !Reg.OpenKey(FColumnSize->Section(), true))
            return;
        for (int I = 0; I < ColCount(); ++I) {
            std::string Name = ColValueName(I);
            switch (Reg.GetDataType(Name)) {
            case rdInteger:
                Widths[static_cast<std::size_t>(I)] = Reg.ReadInteger(Name);
                break;
            case rdString:
            case rdExpandString:
                Widths[static_cast<std::size_t>(I)] = StrToIntDef(Reg.ReadString(Name), -1);
                break;
            default:
                break;
            }
        }
        Reg.CloseKey();
    }
    for (int I = 0; I < ColCount(); ++I) {
        int Width = Widths[static_cast<std::size_t>(I)];
        if (Width != -1 && IsStorableWidth(Width))
            SetColWidths(I, Width);
    }
}

// ---- stretching and sizing -------------------------------------------------------------------

void TAdvStringGrid::StretchRightColumn()
{
    if (!FColumnSize->Stretch() || ColCount() <= 0 || FStretching)
        return;
    FStretching = true;
    try {
        if (ColCount() == 1) {
            SetColWidths(0, ClientWidth());
        } else {
            int Sum = 0;
            for (int I = 0; I < ColCount() - 1; ++I)
                Sum += ColWidths(I) + GridLineWidth();
            if (Sum < ClientWidth())
                SetColWidths(ColCount() - 1, ClientWidth() - Sum - 1);
        }
    } catch (...) {
        FStretching = false;
        throw;
    }
    FStretching = false;
}

void TAdvStringGrid::ColWidthsChanged()
{
    if (FStretchEnabled && !FStretching)
        StretchRightColumn();
    TStringGrid::ColWidthsChanged();
    FColumnsChanged = true;
    if (!FColSizedByMouse)
        return;
    FColSizedByMouse = false;
    if (FMouseActions->AllColumnSize && FSizingColWidth > 0 && FSizingCol >= 0 &&
        FSizingCol < ColCount()) {
        double Factor = static_cast<double>(ColWidths(FSizingCol)) / FSizingColWidth;
        for (int C = FixedCols(); C < ColCount(); ++C)
            if (C != FSizingCol)
                SetColWidths(C, static_cast<int>(std::lround(ColWidths(C) * Factor)));
    }
    if (OnEndColumnSize)
        OnEndColumnSize(this, FSizingCol);
    FSizingCol = -1;
    FSizingRow = -1;
}

void TAdvStringGrid::RowHeightsChanged()
{
    TStringGrid::RowHeightsChanged();
    if (!FRowSizedByMouse)
        return;
    FRowSizedByMouse = false;
    if (FMouseActions->AllRowSize && FSizingRowHeight > 0 && FSizingRow >= 0 &&
        FSizingRow < RowCount()) {
        double Factor = static_cast<double>(RowHeights(FSizingRow)) / FSizingRowHeight;
        for (int R = FixedRows(); R < RowCount(); ++R)
            if (R != FSizingRow)
                SetRowHeights(R, static_cast<int>(std::lround(RowHeights(R) * Factor)));
    }
    if (OnEndRowSize)
        OnEndRowSize(this, FSizingRow);
    FSizingCol = -1;
    FSizingRow = -1;
}

// ---- the owner form --------------------------------------------------------------------------

void TAdvStringGrid::TakeOverOwnerForm()
{
    if (ComponentState().Contains(csDesigning))
        return;
    auto Form = dynamic_cast<TCustomForm*>(Owner());
    if (Form == nullptr)
        return;
    FOwnerForm = Form;
    FHadFormResize = static_cast<bool>(Form->OnResize);
    FOldFormResize = Form->OnResize;
    Form->OnResize = [this](TObject* Sender) { OwnerFormResize(Sender); };
    FOldFormWidth = Form->Width();
    FOldFormHeight = Form->Height();
}

void TAdvStringGrid::GiveBackOwnerForm()
{
    if (FOwnerForm == nullptr)
        return;
    // A form on its way out no longer needs its handler, and may be half gone.
    if (!FOwnerForm->ComponentState().Contains(csDestroying))
        FOwnerForm->OnResize = FHadFormResize ? FOldFormResize : TNotifyEvent();
    FOwnerForm = nullptr;
}

void TAdvStringGrid::OwnerFormResize(TObject* Sender)
{
    if (FOwnerForm != nullptr) {
        if (FSizeWithForm) {
            const int NewWidth = Width() + FOwnerForm->Width() - FOldFormWidth;
            const int NewHeight = Height() + FOwnerForm->Height() - FOldFormHeight;
            if (NewWidth > 0 && NewHeight > 0)
                SetBounds(Left(), Top(), NewWidth, NewHeight);
        }
        FOldFormWidth = FOwnerForm->Width();
        FOldFormHeight = FOwnerForm->Height();
    }
    if (FHadFormResize && FOldFormResize) {
        try {
            FOldFormResize(Sender);
        } catch (...) {
        }
    }
    StretchRightColumn();
}
