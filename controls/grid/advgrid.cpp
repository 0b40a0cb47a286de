#include "controls/grid/advgrid.h"

#include "controls/grid/advgridpublish.h"
#include "platform/forms/form.h"
#include "platform/stdctrls/inplaceedit.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/timers.h"

#include <algorithm>

TAdvStringGrid::TAdvStringGrid(TComponent* AOwner) : TStringGrid(AOwner)
{
    PublishAdvStringGrid();
    FVisibleCol.fill(true);
    FRememberedWidths.fill(0);

    FPrintSettings = std::make_unique<TPrintSettings>();
    FHTMLSettings = std::make_unique<THTMLSettings>();
    FNavigation = std::make_unique<TNavigation>();
    FColumnSize = std::make_unique<TColumnSize>(this);
    FCellNode = std::make_unique<TCellNode>(this);
    FBands = std::make_unique<TBands>(this);
    FSizeWhileTyping = std::make_unique<TSizeWhileTyping>();
    FMouseActions = std::make_unique<TMouseActions>();

    FColumnHeaders = std::make_unique<TStringList>();
    FColumnHeaders->OnChange = [this](TObject*) { ApplyColumnHeaders(); };
    FRowHeaders = std::make_unique<TStringList>();
    FRowHeaders->OnChange = [this](TObject*) { ApplyRowHeaders(); };
    FFixedFont = std::make_unique<TFont>();
    FFixedFont->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
    FActiveCellFont = std::make_unique<TFont>();
    FActiveCellFont->SetStyle(TFontStyles{fsBold});
    FActiveCellFont->OnChange = [this](TObject* Sender) { FontChanged(Sender); };

    FLookupItems = std::make_unique<TStringList>();
    FSwapRow = std::make_unique<TStringList>();
    FSortIndexes = std::make_unique<TSortIndexList>();
    FSortUpGlyph = std::make_unique<TBitmap>();
    FSortDownGlyph = std::make_unique<TBitmap>();
    FRowIndicator = std::make_unique<TBitmap>();
    FBackGround = std::make_unique<TBackGround>(this);
    FHiddenRowList = std::make_unique<TCollection>(CollectionItemClass<TGridItem>());
    FFilter = std::make_unique<TFilter>(this);

    FSelectionColor = clHighlight;
    FSelectionTextColor = clHighlightText;
    FURLColor = clBlue;
    FHintColor = clInfoBk;
    FScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    SetDefaultRowHeight(21);

    TakeOverOwnerForm();

    FWheelMsg = WM_MOUSEWHEEL;
    UINT Lines = 0;
    if (SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0))
        FWheelScrollLines = static_cast<int>(Lines);

    SetDoubleBuffered(true);
}

TAdvStringGrid::~TAdvStringGrid()
{
    GiveBackOwnerForm();
    if (FColumnSize->Save()) {
        // A store that cannot be written must not take the destructor down with it.
        try {
            SaveColumnPositions();
        } catch (...) {
            if (Application != nullptr)
                Application->HandleException(this);
        }
    }
    ClearAllCells();
    FListeners.clear();
    TControl::SetCursor(FDesignCursor);
}

// ---- counts and fixed cells ----------------------------------------------------------------

int TAdvStringGrid::FixedRows() const
{
    int Value = TStringGrid::FixedRows();
    return Value == 0 && FFixedRowAlways ? 1 : Value;
}

int TAdvStringGrid::FixedCols() const
{
    int Value = TStringGrid::FixedCols();
    return Value == 0 && FFixedColAlways ? 1 : Value;
}

void TAdvStringGrid::SetRowCount(int Value)
{
    TStringGrid::SetRowCount(Value);
    // Raise a missing fixed row only: a grid with more fixed rows keeps them.
    if (RowCount() > 1 && FFixedRowAlways && TStringGrid::FixedRows() == 0)
        TStringGrid::SetFixedRows(1);
}

void TAdvStringGrid::SetColCount(int Value)
{
    TStringGrid::SetColCount(Value);
    if (ColCount() > 1 && FFixedColAlways && TStringGrid::FixedCols() == 0)
        TStringGrid::SetFixedCols(1);
}

void TAdvStringGrid::SetFixedRowAlways(bool Value)
{
    FFixedRowAlways = Value;
    if (Value && RowCount() > 1 && TStringGrid::FixedRows() == 0)
        TStringGrid::SetFixedRows(1);
    Invalidate();
}

void TAdvStringGrid::SetFixedColAlways(bool Value)
{
    FFixedColAlways = Value;
    if (Value && ColCount() > 1 && TStringGrid::FixedCols() == 0)
        TStringGrid::SetFixedCols(1);
    Invalidate();
}

void TAdvStringGrid::SetFixedFooters(int Value)
{
    FFixedFooters = Value;
    Invalidate();
}

void TAdvStringGrid::SetFixedRightCols(int Value)
{
    FFixedRightCols = Value;
    Invalidate();
}

void TAdvStringGrid::SetFixedColWidth(int Value)
{
    for (int I = 0; I < TStringGrid::FixedCols(); ++I)
        SetColWidths(I, Value);
}

void TAdvStringGrid::SetFixedRowHeight(int Value)
{
    for (int I = 0; I < TStringGrid::FixedRows(); ++I)
        SetRowHeights(I, Value);
}

bool TAdvStringGrid::IsFixed(int ACol, int ARow)
{
    if (ARow >= RowCount() - FFixedFooters)
        return true;
    if (ACol >= ColCount() + FNumHidden - FFixedRightCols)
        return true;
    bool Fixed = false;
    IsFixedCell(ACol, ARow, Fixed);
    return Fixed;
}

// ---- setters that repaint --------------------------------------------------------------------

void TAdvStringGrid::SetActiveCellShow(bool Value)
{
    FActiveCellShow = Value;
    Invalidate();
}

void TAdvStringGrid::SetActiveCellFont(const TFont* Value)
{
    FActiveCellFont->Assign(Value);
    Invalidate();
}

void TAdvStringGrid::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    if (Value)
        AutoSizeColumns(false, 0);
}

void TAdvStringGrid::SetVAlignment(TVAlignment Value)
{
    FVAlignment = Value;
    switch (Value) {
    case vtaCenter:
        FVAlignFlag = vfCenter;
        break;
    case vtaTop:
        FVAlignFlag = vfTop;
        break;
    case vtaBottom:
        FVAlignFlag = vfBottom;
        break;
    }
    Invalidate();
}

void TAdvStringGrid::SetMultilinecells(bool Value)
{
    FMultilinecells = Value;
    Invalidate();
}

void TAdvStringGrid::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    if (InplaceEditor() != nullptr)
        InplaceEditor()->Invalidate();
    Invalidate();
}

void TAdvStringGrid::SetFlat(bool Value)
{
    FFlat = Value;
    if (!ComponentState().Contains(csLoading))
        Invalidate();
}

void TAdvStringGrid::SetFixedFont(const TFont* Value)
{
    FFixedFont->Assign(Value);
    Invalidate();
}

void TAdvStringGrid::SetSelectionColor(TColor Value)
{
    FSelectionColor = Value;
    Invalidate();
}

void TAdvStringGrid::SetSelectionTextColor(TColor Value)
{
    FSelectionTextColor = Value;
    Invalidate();
}

void TAdvStringGrid::SetSelectionRectangle(bool Value)
{
    FSelectionRectangle = Value;
    Invalidate();
}

void TAdvStringGrid::SetShowSelection(bool Value)
{
    if (FShowSelection == Value)
        return;
    FShowSelection = Value;
    Invalidate();
}

void TAdvStringGrid::SetURLColor(TColor Value)
{
    FURLColor = Value;
    if (FURLShow)
        Invalidate();
}

void TAdvStringGrid::SetURLShow(bool Value)
{
    FURLShow = Value;
    Invalidate();
}

void TAdvStringGrid::SetURLFull(bool Value)
{
    FURLFull = Value;
    if (FURLShow)
        Invalidate();
}

void TAdvStringGrid::SetGridImages(TCustomImageList* Value)
{
    if (FGridImages == Value)
        return;
    if (FGridImages != nullptr)
        FGridImages->RemoveFreeNotification(this);
    FGridImages = Value;
    if (FGridImages != nullptr)
        FGridImages->FreeNotification(this);
}

void TAdvStringGrid::SetSortUpGlyph(const TBitmap* Value)
{
    FSortUpGlyph->Assign(Value);
}

void TAdvStringGrid::SetSortDownGlyph(const TBitmap* Value)
{
    FSortDownGlyph->Assign(Value);
}

void TAdvStringGrid::SetRowIndicator(const TBitmap* Value)
{
    FRowIndicator->Assign(Value);
    RepaintCell(0, Row());
}

void TAdvStringGrid::SetBackGround(const TBackGround* Value)
{
    FBackGround->Assign(Value);
    Invalidate();
}

void TAdvStringGrid::SetBands(const TBands* Value)
{
    FBands->Assign(Value);
}

void TAdvStringGrid::SetHovering(bool Value)
{
    if (FHovering != Value)
        FHovering = Value;
}

void TAdvStringGrid::SetCursor(TCursor Value)
{
    TControl::SetCursor(Value);
    FDesignCursor = Value;
}

void TAdvStringGrid::SetColumnSize(const TColumnSize* Value)
{
    FColumnSize->Assign(Value);
}

void TAdvStringGrid::SetSortColumn(int Value)
{
    if (FSortColumn == Value)
        return;
    FSortColumn = Value;
    RepaintRow(0);
}

void TAdvStringGrid::SetSortShow(bool Value)
{
    if (FSortShow == Value)
        return;
    FSortShow = Value;
    RepaintRow(0);
}

void TAdvStringGrid::SetSortIndexShow(bool Value)
{
    if (FSortIndexShow == Value)
        return;
    FSortIndexShow = Value;
    RepaintRow(0);
}

void TAdvStringGrid::SetNavigation(const TNavigation* Value)
{
    FNavigation->Assign(Value);
}

void TAdvStringGrid::SetMouseActions(const TMouseActions* Value)
{
    FMouseActions->Assign(Value);
}

void TAdvStringGrid::SetSizeWhileTyping(const TSizeWhileTyping* Value)
{
    FSizeWhileTyping->Assign(Value);
}

void TAdvStringGrid::SetMaxEditLength(int Value)
{
    FMaxEditLength = Value;
    if (InplaceEditor() != nullptr)
        InplaceEditor()->SetMaxLength(Value);
}

void TAdvStringGrid::SetLookupItems(const TStrings* Value)
{
    if (Value != nullptr)
        FLookupItems->Assign(Value);
}

void TAdvStringGrid::SetCellNode(const TCellNode* Value)
{
    FCellNode->Assign(Value);
}

void TAdvStringGrid::SetPrintSettings(const TPrintSettings* Value)
{
    FPrintSettings->Assign(Value);
}

void TAdvStringGrid::SetHTMLSettings(const THTMLSettings* Value)
{
    FHTMLSettings->Assign(Value);
}

void TAdvStringGrid::SetFilter(const TFilter* Value)
{
    if (Value != nullptr)
        FFilter->Assign(Value);
}

void TAdvStringGrid::FontChanged(TObject*)
{
    Invalidate();
}

// ---- component and window ------------------------------------------------------------------

void TAdvStringGrid::Loaded()
{
    TStringGrid::Loaded();
    FDesignCursor = Cursor();
    ApplyColumnHeaders();
    ApplyRowHeaders();
}

void TAdvStringGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == FGridImages)
        FGridImages = nullptr;
    TStringGrid::Notification(AComponent, Operation);
}

void TAdvStringGrid::Invalidate()
{
    // Switching goEditing on entering a cell changes nothing that shows.
    if (FSkipRepaint) {
        FSkipRepaint = false;
        return;
    }
    TStringGrid::Invalidate();
}

void TAdvStringGrid::CreateHandle()
{
    if (Parent() == nullptr)
        return;
    TStringGrid::CreateHandle();
    if (!HandleAllocated())
        return;
    if (FColumnSize->Save())
        LoadColumnPositions();
    SetTimer(WindowHandle(), TimerID, 500);
    FTimerStarted = true;
}

void TAdvStringGrid::DestroyWnd()
{
    if (FTimerStarted && HandleAllocated())
        KillTimer(WindowHandle(), TimerID);
    FTimerStarted = false;
    TStringGrid::DestroyWnd();
}

void TAdvStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    if (Parent() == nullptr) {
        TStringGrid::SizeChanged(OldColCount, OldRowCount);
        return;
    }
    if (FColumnSize->Stretch())
        StretchRightColumn();
    TStringGrid::SizeChanged(OldColCount, OldRowCount);
    if (FFixedFooters > 0 || FFixedRightCols > 0)
        Invalidate();
    UpdateVScrollBar();
    UpdateHScrollBar();
}

// ---- save ranges -----------------------------------------------------------------------------

int TAdvStringGrid::SaveColStart() const
{
    return IncludeFixedCells ? 0 : FixedCols();
}

int TAdvStringGrid::SaveColEnd() const
{
    return IncludeFixedCells ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
}

int TAdvStringGrid::SaveRowStart() const
{
    return IncludeFixedCells ? 0 : FixedRows();
}

int TAdvStringGrid::SaveRowEnd() const
{
    return IncludeFixedCells ? RowCount() - 1 : RowCount() - FFixedFooters - 1;
}

int TAdvStringGrid::SaveColCount() const
{
    return IncludeFixedCells ? ColCount() : ColCount() - FixedCols() - FFixedRightCols;
}

int TAdvStringGrid::SaveRowCount() const
{
    return IncludeFixedCells ? RowCount() : RowCount() - FixedRows() - FFixedFooters;
}

// ---- listeners -------------------------------------------------------------------------------

void TAdvStringGrid::AddCellsChangedListener(TGridChangeListener* Listener)
{
    if (Listener != nullptr &&
        std::find(FListeners.begin(), FListeners.end(), Listener) == FListeners.end())
        FListeners.push_back(Listener);
}

void TAdvStringGrid::RemoveCellsChangedListener(TGridChangeListener* Listener)
{
    FListeners.erase(std::remove(FListeners.begin(), FListeners.end(), Listener), FListeners.end());
}
