// controls/grid/advgrid.h: TAdvStringGrid, the string grid of the rule lists and statistics
// tables: cell pictures, HTML cells, hidden columns, settings objects, column widths kept in the
// registry or an INI file, and the grid's own text file, CSV and spreadsheet import.
#pragma once

#include "controls/grid/advgridfilter.h"
#include "controls/grid/advgridsettings.h"
#include "controls/grid/advobjlists.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphicsobjects.h"
#include "platform/gfx/imagelist.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/types.h"
#include "platform/stdctrls/grids.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

TW_DECLARE_EXCEPTION(EAdvGridError, Exception);

class TCanvas;
class TEditLink;
class TAdvInplaceEdit;
class TGridSpin;
class TGridCombo;
class TGridDatePicker;
class TGridCheckBox;
class TGridEditBtn;
class TGridUnitEditBtn;
class TGridButton;

enum TCellImageHPlace { ihpLeft, ihpRight, ihpCentre, ihpBeforeText, ihpAfterText };
enum TCellImageVPlace { ivpTop, ivpBottom, ivpCentre, ivpBelowText, ivpAboveText };

// The graphic of one cell, kept as the cell's object; the grid owns it.
class TCellGraphic : public TObject {
public:
    // A picture of the grid's image list.
    static constexpr std::uint8_t KindImageIndex = 3;
    // What a new graphic is until it is given a picture.
    static constexpr std::uint8_t KindNew = 2;
    // The kind reported for a cell without a graphic.
    static constexpr std::uint8_t KindNone = 10;

    std::uint8_t CellType = KindNew;
    std::uint8_t CellVAlign = ivpTop;
    std::uint8_t CellHAlign = ihpLeft;
    std::int32_t CellIndex = 0;

    void SetImageIdx(int Index, TCellImageHPlace HPlace, TCellImageVPlace VPlace);
};

enum TVAlignment { vtaCenter, vtaTop, vtaBottom };
enum TSortDirection { sdAscending, sdDescending };
enum TScrollType { ssNormal, ssFlat, ssEncarta };
enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
enum TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };
enum TEditorType {
    etNormal,
    etSpinInteger,
    etComboEdit,
    etComboList,
    etEditButton,
    etCheckBox,
    etDatePicker,
    etDateUpDown,
    etTimePicker,
    etCellButton,
    etNoEditor,
    etSignedInteger,
    etUnsignedInteger,
    etDecimal,
    etUpperTyped,
    etWordCaps,
    etPassword,
    etUnitEditButton,
    etLowerCase,
    etUpperCase,
    etSpinFloat,
    etSpinTime,
    etSpinDate,
    etIntegerButton,
    etDecimalButton,
    etExternalLink,
    etRichText
};
// The comparison of a sorted column (0 automatic ... 13 without HTML tags).
using TSortStyle = int;
// Bit 0 top, 1 left, 2 right, 3 bottom.
enum TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = TSet<TCellBorder>;

// The vertical text flag derived from VAlignment.
enum TVAlignFlag { vfTop, vfCenter, vfBottom };

using TGridColorEvent = std::function<void(TObject* Sender, int ARow, int ACol,
                                           TGridDrawState AState, TBrush* ABrush, TFont* AFont)>;
using TGridAlignEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, TAlignment& AAlignment)>;
using TGridFormatEvent = std::function<void(TObject* Sender, int ACol, TSortStyle& AStyle,
                                            std::string& aPrefix, std::string& aSuffix)>;
using TCanSortEvent = std::function<void(TObject* Sender, int ACol, bool& DoSort)>;
using TCanEditCellEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& CanEdit)>;
using TCellValidateEvent =
    std::function<void(TObject* Sender, int Col, int Row, std::string& Value, bool& Valid)>;
using TAutoDeleteRowEvent = std::function<void(TObject* Sender, int ARow)>;
using TGetEditorPropEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TEditLink* AEditLink)>;
using TEllipsClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& S)>;
using TSpinClickEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, int AValue, bool UpDown)>;
using TFloatSpinClickEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, double AValue, bool UpDown)>;
using TDateTimeSpinClickEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TDateTime AValue, bool UpDown)>;
using TGetEditorTypeEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TEditorType& aEditor)>;
using TRowChangingEvent = std::function<void(TObject* Sender, int OldRow, int NewRow, bool& Allow)>;
using TColChangingEvent = std::function<void(TObject* Sender, int OldCol, int NewCol, bool& Allow)>;
using TCellChangingEvent = std::function<void(TObject* Sender, int OldRow, int OldCol, int NewRow,
                                              int NewCol, bool& Allow)>;
using TClipboardEvent = std::function<void(TObject* Sender, bool& Allow)>;
using TCanAddRowEvent = std::function<void(TObject* Sender, bool& CanAdd)>;
using TAutoAddRowEvent = std::function<void(TObject* Sender, int ARow)>;
using TAutoInsertColEvent = std::function<void(TObject* Sender, int ACol)>;
using TClickCellEvent = std::function<void(TObject* Sender, int ARow, int ACol)>;
using TGridBorderEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, TPen* APen, TCellBorders& Borders)>;
using TIsPasswordCellEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, bool& IsPassword)>;
using TScrollHintEvent = std::function<void(TObject* Sender, int ARow, std::string& hintstr)>;
using TButtonClickEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
using TCheckBoxClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool State)>;
using TRadioClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, int AIdx)>;
using TComboChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow, int AItemIndex,
                                             const std::string& ASelection)>;
using TComboObjectChangeEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, int AItemIndex,
                       const std::string& ASelection, TObject* AObject)>;
using TCanInsertRowEvent = std::function<void(TObject* Sender, int ARow, bool& CanInsert)>;
using TAutoInsertRowEvent = std::function<void(TObject* Sender, int ARow)>;
using TCanDeleteRowEvent = std::function<void(TObject* Sender, int ARow, bool& CanDelete)>;
using TAnchorClickEvent = std::function<void(TObject* Sender, int ARow, int ACol,
                                             const std::string& Anchor, bool& AutoHandle)>;
using TAnchorEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, const std::string& Anchor)>;
using TNodeClickEvent = std::function<void(TObject* Sender, int ARow)>;
using TColumnSizeEvent = std::function<void(TObject* Sender, int ACol, bool& Allow)>;
using TRowSizeEvent = std::function<void(TObject* Sender, int ARow, bool& Allow)>;
using TColumnMoveEvent = std::function<void(TObject* Sender, int ACol, bool& Allow)>;
using TRowMoveEvent = std::function<void(TObject* Sender, int ARow, bool& Allow)>;
using TGridHintEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, std::string& hintstr)>;
using TIsFixedCellEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& IsFixed)>;
using TCellsChangedEvent = std::function<void(TObject* Sender, TRect R)>;
using TEndColumnSizeEvent = std::function<void(TObject* Sender, int ACol)>;
using TEndRowSizeEvent = std::function<void(TObject* Sender, int ARow)>;
using TClickSortEvent = std::function<void(TObject* Sender, int ACol)>;
using TCustomCompareEvent = std::function<void(TObject* Sender, const std::string& str1,
                                               const std::string& str2, int& Res)>;
using TRawCompareEvent =
    std::function<void(TObject* Sender, int Col, int Row1, int Row2, int& Res)>;
using TGridProgressEvent = std::function<void(TObject* Sender, short Progress)>;
using TPrintStartEvent =
    std::function<void(TObject* Sender, int NrOfPages, int& FromPage, int& ToPage)>;
using TPrintPageEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, int PageNr, int PageXSize, int PageYSize)>;
using TPrintPageDoneEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, int LastRow, int LastRowOffset,
                       int LastPage, int PageXSize, int PageYSize)>;
using TPrintNewPageEvent = std::function<void(TObject* Sender, int ARow, bool& NewPage)>;
using TPrintColumnWidthEvent = std::function<void(TObject* Sender, int ACol, int& Width)>;
using TPrintRowHeightEvent = std::function<void(TObject* Sender, int ARow, int& Height)>;
using TFitToPageEvent = std::function<void(TObject* Sender, double& ScaleFactor, bool& Allow)>;
using TOleDragDropEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, const std::string& data, bool& Allow)>;
using TOleDragOverEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& Allow)>;
using TOleDragStartEvent = std::function<void(TObject* Sender, int ARow, int ACol)>;
using TOleDragStopEvent = std::function<void(TObject* Sender, int OLEEffect)>;
using TOleDropColEvent = std::function<void(TObject* Sender, int ARow, int ACol, int DropCol)>;

// Anything that follows a grid's cell changes (a linked chart, a second view...).
class TGridChangeListener {
public:
    virtual ~TGridChangeListener() = default;
    // R holds real column and row indexes.
    virtual void GridCellsChanged(TObject* Sender, TRect R) = 0;
};

class TAdvStringGrid : public TStringGrid {
public:
    using TPrintSettings = advgridsettings::TPrintSettings;

    explicit TAdvStringGrid(TComponent* AOwner);
    ~TAdvStringGrid() override;

    // ---- counts and fixed cells --------------------------------------------------------------
    // Hide the base grid's accessors: FixedRowAlways / FixedColAlways take part.
    int FixedRows() const;
    void SetFixedRows(int Value) { TStringGrid::SetFixedRows(Value); }
    int FixedCols() const;
    void SetFixedCols(int Value) { TStringGrid::SetFixedCols(Value); }
    void SetRowCount(int Value);
    void SetColCount(int Value);
    int FixedFooters() const { return FFixedFooters; }
    void SetFixedFooters(int Value);
    int FixedRightCols() const { return FFixedRightCols; }
    void SetFixedRightCols(int Value);
    int FixedColWidth() const { return ColWidths(0); }
    void SetFixedColWidth(int Value);
    int FixedRowHeight() const { return RowHeights(0); }
    void SetFixedRowHeight(int Value);
    bool FixedRowAlways() const { return FFixedRowAlways; }
    void SetFixedRowAlways(bool Value);
    bool FixedColAlways() const { return FFixedColAlways; }
    void SetFixedColAlways(bool Value);
    // Fixed for drawing and editing: footer rows, right fixed columns, or IsFixedCell's answer.
    bool IsFixed(int ACol, int ARow);

    // ---- hidden columns ----------------------------------------------------------------------
    // Hidden columns leave their cells in place: ColCount counts the visible ones only.
    int NumHiddenColumns() const;
    int RealColIndex(int ACol) const;
    int DisplColIndex(int ACol) const;
    // ACol is a real column; hiding lowers ColCount and remembers the column's width.
    void HideColumn(int ACol);
    void UnHideColumn(int ACol);
    bool IsColumnVisible(int ACol) const;
    // The width a hidden real column had when it was hidden; its display width while visible.
    int RememberedColWidth(int ACol) const;
    // The real column of the current cell.
    int RealCol() const { return RealColIndex(Col()); }

    // ---- display and text --------------------------------------------------------------------
    bool ActiveCellShow() const { return FActiveCellShow; }
    void SetActiveCellShow(bool Value);
    TFont* ActiveCellFont() const { return FActiveCellFont.get(); }
    void SetActiveCellFont(const TFont* Value);
    bool AutoNumAlign() const { return FAutoNumAlign; }
    void SetAutoNumAlign(bool Value) { FAutoNumAlign = Value; }
    bool AutoSize() const { return FAutoSize; }
    // Switching it on sizes the columns to their contents (once auto-sizing exists).
    void SetAutoSize(bool Value);
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment Value);
    TVAlignFlag VAlignFlag() const { return FVAlignFlag; }
    bool EnhTextSize() const { return FEnhTextSize; }
    void SetEnhTextSize(bool Value) { FEnhTextSize = Value; }
    bool Multilinecells() const { return FMultilinecells; }
    void SetMultilinecells(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool EnableGraphics() const { return FEnableGraphics; }
    void SetEnableGraphics(bool Value) { FEnableGraphics = Value; }
    bool EnableHTML() const { return FEnableHTML; }
    void SetEnableHTML(bool Value) { FEnableHTML = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TFont* FixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(const TFont* Value);
    bool FixedAsButtons() const { return FFixedAsButtons; }
    void SetFixedAsButtons(bool Value) { FFixedAsButtons = Value; }
    const std::string& FloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(const std::string& Value) { FFloatFormat = Value; }
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor Value);
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor Value);
    bool SelectionRectangle() const { return FSelectionRectangle; }
    void SetSelectionRectangle(bool Value);
    bool SelectionRTFKeep() const { return FSelectionRTFKeep; }
    void SetSelectionRTFKeep(bool Value) { FSelectionRTFKeep = Value; }
    bool ShowSelection() const { return FShowSelection; }
    void SetShowSelection(bool Value);
    bool HideFocusRect() const { return FHideFocusRect; }
    void SetHideFocusRect(bool Value) { FHideFocusRect = Value; }
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor Value);
    bool URLShow() const { return FURLShow; }
    void SetURLShow(bool Value);
    bool URLFull() const { return FURLFull; }
    void SetURLFull(bool Value);
    bool URLEdit() const { return FURLEdit; }
    void SetURLEdit(bool Value) { FURLEdit = Value; }
    // Not owned: cleared when the image list goes.
    TCustomImageList* GridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList* Value);
    TBitmap* SortUpGlyph() const { return FSortUpGlyph.get(); }
    void SetSortUpGlyph(const TBitmap* Value);
    TBitmap* SortDownGlyph() const { return FSortDownGlyph.get(); }
    void SetSortDownGlyph(const TBitmap* Value);
    TBitmap* RowIndicator() const { return FRowIndicator.get(); }
    void SetRowIndicator(const TBitmap* Value);
    TBackGround* BackGround() const { return FBackGround.get(); }
    void SetBackGround(const TBackGround* Value);
    TBands* Bands() const { return FBands.get(); }
    void SetBands(const TBands* Value);
    bool Hovering() const { return FHovering; }
    void SetHovering(bool Value);
    // Sets the control's cursor and remembers it as the designed one.
    void SetCursor(TCursor Value);

    // ---- layout ------------------------------------------------------------------------------
    bool SizeWithForm() const { return FSizeWithForm; }
    void SetSizeWithForm(bool Value) { FSizeWithForm = Value; }
    TStringList* ColumnHeaders() const { return FColumnHeaders.get(); }
    void SetColumnHeaders(const TStrings* Value);
    TStringList* RowHeaders() const { return FRowHeaders.get(); }
    void SetRowHeaders(const TStrings* Value);
    TColumnSize* ColumnSize() const { return FColumnSize.get(); }
    void SetColumnSize(const TColumnSize* Value);
    bool EnhRowColMove() const { return FEnhRowColMove; }
    void SetEnhRowColMove(bool Value) { FEnhRowColMove = Value; }

    // ---- sorting -----------------------------------------------------------------------------
    int SortColumn() const { return FSortColumn; }
    void SetSortColumn(int Value);
    TSortDirection SortDirection() const { return FSortDirection; }
    void SetSortDirection(TSortDirection Value) { FSortDirection = Value; }
    bool SortFull() const { return FSortFull; }
    void SetSortFull(bool Value) { FSortFull = Value; }
    bool SortAutoFormat() const { return FSortAutoFormat; }
    void SetSortAutoFormat(bool Value) { FSortAutoFormat = Value; }
    bool SortShow() const { return FSortShow; }
    void SetSortShow(bool Value);
    bool SortSingleColumn() const { return FSortSingleColumn; }
    void SetSortSingleColumn(bool Value) { FSortSingleColumn = Value; }
    bool SortIgnoreBlanks() const { return FSortIgnoreBlanks; }
    void SetSortIgnoreBlanks(bool Value) { FSortIgnoreBlanks = Value; }
    bool SortIndexShow() const { return FSortIndexShow; }
    void SetSortIndexShow(bool Value);
    bool SortFixedCols() const { return FSortFixedCols; }
    void SetSortFixedCols(bool Value) { FSortFixedCols = Value; }
    bool SortNormalCellsOnly() const { return FSortNormalCellsOnly; }
    void SetSortNormalCellsOnly(bool Value) { FSortNormalCellsOnly = Value; }
    TSortIndexList* SortIndexes() const { return FSortIndexes.get(); }

    // ---- editing, lookup, navigation ---------------------------------------------------------
    TNavigation* Navigation() const { return FNavigation.get(); }
    void SetNavigation(const TNavigation* Value);
    TMouseActions* MouseActions() const { return FMouseActions.get(); }
    void SetMouseActions(const TMouseActions* Value);
    TSizeWhileTyping* SizeWhileTyping() const { return FSizeWhileTyping.get(); }
    void SetSizeWhileTyping(const TSizeWhileTyping* Value);
    int MaxEditLength() const { return FMaxEditLength; }
    void SetMaxEditLength(int Value);
    bool Lookup() const { return FLookup; }
    void SetLookup(bool Value) { FLookup = Value; }
    bool LookupCaseSensitive() const { return FLookupCaseSensitive; }
    void SetLookupCaseSensitive(bool Value) { FLookupCaseSensitive = Value; }
    bool LookupHistory() const { return FLookupHistory; }
    void SetLookupHistory(bool Value) { FLookupHistory = Value; }
    TStringList* LookupItems() const { return FLookupItems.get(); }
    void SetLookupItems(const TStrings* Value);
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool Value) { FExcelStyleDecimalSeparator = Value; }
    bool OemConvert() const { return FOemConvert; }
    void SetOemConvert(bool Value) { FOemConvert = Value; }
    TCellNode* CellNode() const { return FCellNode.get(); }
    void SetCellNode(const TCellNode* Value);
    // The grid's in-place editor, nil before the first edit.
    TInplaceEdit* InplaceEditor() const { return TStringGrid::InplaceEditor(); }
    const std::string& PasswordChar() const { return FPasswordChar; }

    // ---- scrolling, hints, wheel -------------------------------------------------------------
    // The look of the flat scroll bars (ScrollProportional switches them on).
    TScrollType ScrollType() const { return FScrollType; }
    void SetScrollType(TScrollType Value);
    // clNone leaves the system's track colour.
    TColor ScrollColor() const { return FScrollColor; }
    void SetScrollColor(TColor Value);
    // The vertical bar's width and the horizontal bar's height; the system's width unless set.
    int ScrollWidth() const;
    void SetScrollWidth(int Value);
    // While a vertical thumb is dragged the rows follow it.
    bool ScrollSynch() const { return FScrollSynch; }
    void SetScrollSynch(bool Value) { FScrollSynch = Value; }
    // Flat scroll bars whose thumbs show the visible share of the rows and columns.
    bool ScrollProportional() const { return FScrollProportional; }
    void SetScrollProportional(bool Value);
    // The row or column a dragged thumb brings into view, shown beside the pointer.
    TScrollHintType ScrollHints() const { return FScrollHints; }
    void SetScrollHints(TScrollHintType Value) { FScrollHints = Value; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor Value) { FHintColor = Value; }
    bool HintShowCells() const { return FHintShowCells; }
    void SetHintShowCells(bool Value) { FHintShowCells = Value; }
    bool HintShowLargeText() const { return FHintShowLargeText; }
    void SetHintShowLargeText(bool Value) { FHintShowLargeText = Value; }
    bool EnableWheel() const { return FEnableWheel; }
    void SetEnableWheel(bool Value) { FEnableWheel = Value; }
    TIntelliPan IntelliPan() const { return FIntelliPan; }
    void SetIntelliPan(TIntelliPan Value) { FIntelliPan = Value; }
    bool IntelliZoom() const { return FIntelliZoom; }
    void SetIntelliZoom(bool Value) { FIntelliZoom = Value; }
    // The wheel message and the lines scrolled per notch, from the platform.
    unsigned WheelMsg() const { return FWheelMsg; }
    int WheelScrollLines() const { return FWheelScrollLines; }
    // -10..10, added to every drawn cell's font size.
    int ZoomFactor() const { return FZoomFactor; }
    int XYOffsetX() const { return FXYOffset.X; }
    int XYOffsetY() const { return FXYOffset.Y; }

    // ---- files, printing, drag and drop, filter ----------------------------------------------
    TPrintSettings* PrintSettings() const { return FPrintSettings.get(); }
    void SetPrintSettings(const TPrintSettings* Value);
    THTMLSettings* HTMLSettings() const { return FHTMLSettings.get(); }
    void SetHTMLSettings(const THTMLSettings* Value);
    bool OleDropTarget() const { return FOleDropTarget; }
    void SetOleDropTarget(bool Value) { FOleDropTarget = Value; }
    bool OleDropSource() const { return FOleDropSource; }
    void SetOleDropSource(bool Value) { FOleDropSource = Value; }
    bool OleAcceptFiles() const { return FOleAcceptFiles; }
    void SetOleAcceptFiles(bool Value) { FOleAcceptFiles = Value; }
    bool OleAcceptText() const { return FOleAcceptText; }
    void SetOleAcceptText(bool Value) { FOleAcceptText = Value; }
    bool OleEntireRows() const { return FOleEntireRows; }
    void SetOleEntireRows(bool Value) { FOleEntireRows = Value; }
    bool OleInsertRows() const { return FOleInsertRows; }
    void SetOleInsertRows(bool Value) { FOleInsertRows = Value; }
    bool OleRemoveRows() const { return FOleRemoveRows; }
    void SetOleRemoveRows(bool Value) { FOleRemoveRows = Value; }
    bool OleDropRTF() const { return FOleDropRTF; }
    void SetOleDropRTF(bool Value) { FOleDropRTF = Value; }
    TFilter* Filter() const { return FFilter.get(); }
    void SetFilter(const TFilter* Value);
    bool FilterActive() const { return FFilterActive; }
    // Switching on hides the rows that do not match Filter; switching off shows them again.
    void SetFilterActive(bool Value);
    // The rows taken out of view (TGridItem items).
    TCollection* HiddenRowList() const { return FHiddenRowList.get(); }

    // ---- cell graphics -----------------------------------------------------------------------
    // Gives the cell a picture of GridImages; nothing unless GridImages or EnableGraphics.
    void AddCellImageIndex(int ACol, int ARow, int Index, TCellImageHPlace HPlace,
                           TCellImageVPlace VPlace);
    // False when the cell had no graphic.
    bool RemoveCellGraphic(int ACol, int ARow);
    // Nil unless EnableGraphics is on and the cell's object is a TCellGraphic.
    TCellGraphic* GetCellGraphic(int ACol, int ARow) const;
    // TCellGraphic::KindNone for a cell without a graphic.
    int GetCellGraphicKind(int ACol, int ARow) const;
    TPoint GetCellGraphicSize(int ACol, int ARow) const;
    int GetGraphicSortKey(int ACol, int ARow) const;

    // ---- typed access ------------------------------------------------------------------------
    int CellAsInteger(int ACol, int ARow) const;
    void SetCellAsInteger(int ACol, int ARow, int Value);
    double CellAsFloat(int ACol, int ARow) const;
    TDateTime CellAsDate(int ACol, int ARow) const;

    // ---- row selection flags -----------------------------------------------------------------
    bool RowSelected(int ARow) const;
    void SetRowSelected(int ARow, bool Value);
    void ClearRowSelection();
    void SelectRowsFromSelection(bool AllRows);

    // ---- save ranges -------------------------------------------------------------------------
    int SaveColStart() const;
    int SaveColEnd() const;
    int SaveRowStart() const;
    int SaveRowEnd() const;
    int SaveColCount() const;
    int SaveRowCount() const;

    // ---- screen ------------------------------------------------------------------------------
    void ScrollCellInView(int ACol, int ARow);
    // Remembers the selection and shows none: the platform grid keeps its selection inside the
    // cells, so the painting asks SelectionHidden instead of finding it outside the grid.
    void HideSelection();
    // Brings the remembered selection back.
    void UnHideSelection();
    bool SelectionHidden() const { return FSelectionHidden; }
    void RepaintCell(int ACol, int ARow);
    void RepaintRow(int ARow);
    void RepaintCellRange(const TGridRect& R);
    bool IsNearCellBorder(int X, int Y);
    void CellFromScreenPoint(TPoint P, int& ACol, int& ARow);
    void MoveRow(int FromIndex, int ToIndex);
    void MoveColumn(int FromIndex, int ToIndex);
    // The last column fills the client width (ColumnSize.Stretch).
    void StretchRightColumn();
    // Loads and saves the widths of the visible columns (ColumnSize.Key / Section).
    void LoadColumnPositions();
    void SaveColumnPositions();
    // Blink phase of blinking HTML text, toggled every 500 ms.
    bool BlinkOn() const { return FBlinkOn; }
    static constexpr unsigned TimerID = 111;

    // ---- editing (advgridedit.cpp, advinplaceedit.cpp) ---------------------------------------
    // ACol is a real column.
    bool CellEditable(int ACol, int ARow);
    void AdvanceCell(int ACol, int ARow, bool Forward, bool ShowEditor, bool Force);
    // The step an editor control takes when a navigation key ends its edit.
    void LeaveEditor(Word Key, TShiftState Shift);
    void RestoreCellText();
    // The current row's cell in the current real column.
    std::string CurrentCellText();
    void SetCurrentCellText(const std::string& Value);
    // Incremental search: the first row from FixedRows whose cell in SortColumn (with
    // SortShow, else column 1) begins with Text, the cell upper-cased; -1 when none.
    int FindRowByPrefix(const std::string& Text);
    // (editing: public)

    // ---- editor controls (advgrideditors.cpp) -------------------------------------------------
    void ShowEditorControl(int ACol, int ARow);
    // Hides the shown control and writes its value back; nothing when none is shown.
    void HideEditorControl();
    // The character that started the edit (0: none); the next ShowEditorControl posts it to the
    // control it shows (spin, editable combo, the edits), then forgets it, as does
    // HideEditorControl. Set it right before the editor is shown.
    char EditStartChar() const { return FEditStartChar; }
    void SetEditStartChar(char Value) { FEditStartChar = Value; }
    // (editor controls: public)

    // ---- sorting (advgridsort.cpp, advgridcompare.cpp) ---------------------------------------
    // -1, 0 or 1: ARow1's cell against ARow2's in ACol, for ascending order.
    int CompareCells(int ACol, int ARow1, int ARow2);
    void SortByColumn();
    void SortByIndex();
    void SwapRows(int ARow1, int ARow2);
    // While the count is above 0 the grid does not paint.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    // (sorting: public)

    // ---- hidden rows, the filter, row and column operations (advgridrows.cpp, advgridops.cpp)
    // Real column ranges; columns above 256 cannot be hidden.
    void HideColumns(int FromCol, int ToCol);
    void UnHideColumns(int FromCol, int ToCol);
    // Hidden rows: a real row index counts the hidden rows in place, a display index does not.
    bool IsHiddenRow(int ARow) const;
    int RealRowIndex(int ARow) const;
    int DisplRowIndex(int ARow) const;
    // Real rows; rows already hidden inside the range stay as they are.
    void HideRowRange(int FromRow, int ToRow);
    void UnHideRowRange(int FromRow, int ToRow);
    void UnHideAllRows();
    // Texts and cell graphics of real columns (hidden ones included); nothing for a count of 0
    // or less or a start outside the grid.
    void ClearRows(int ARow, int ACount);
    void ClearCols(int ACol, int ACount);
    void ClearAll();
    // Deletes every row whose RowSelected flag is set.
    void RemoveSelectedRows();
    // (rows: public)

    // ---- clipboard (advgridclipboard.cpp) ----------------------------------------------------
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    // Pastes the clipboard's rich text into the cell (0) or its text from the cell on (the
    // number of fields, as PasteText counts them).
    int PasteAt(int ACol, int ARow);
    // Pastes a tab-separated text from the cell on: rows at CR (an LF after it belongs to the
    // break), cells at TAB. Returns the number of fields, written or not, the empty remainder
    // after a final line break counted too (one copied cell gives 2). Any bytes are taken.
    int PasteText(int ACol, int ARow, const std::string& Text);
    // The selection as CopyToClipboard lays it out (HTML kept), for a drag.
    std::string SelectionText();
    // X = columns (the most fields of a line), Y = rows (lines, without the empty remainder
    // after a final line break; at least 1).
    static TPoint TextBlockSize(const std::string& Text);
    // A cell of more than one line travels as one quoted field, its breaks as single LFs.
    bool QuoteMultiLineClipboard = false;
    // (clipboard: public)

    // ---- flat scroll bars and scroll hints (advgridscroll.cpp) -------------------------------
    // The proportional thumbs of the flat scroll bars.
    void UpdateVScrollBar();
    void UpdateHScrollBar();
    // (scroll bars: public)

    // ---- keyboard and mouse (advgridkeys.cpp, advgridmouse.cpp) ------------------------------
    // Whether the cell is selected: its row flagged with DisjunctRowSelect, else inside the
    // selection; negative indexes never are.
    bool IsSelected(int ACol, int ARow);
    // (keyboard and mouse: public)

    // ---- hints, wheel, panning, zoom, auto-sizing (advgridhints.cpp, advgridautosize.cpp) ----
    void AutoSizeCol(int ACol);
    // Widens the column to its contents, never narrows it (while typing).
    void AutoSizeColGrow(int ACol);
    void AutoSizeRow(int ARow);
    void SetRowLines(int ARow, int Lines, int Extra);
    int MaxLineCount(int ARow);
    // Adds Delta to the zoom value (kept in -10..10; outside it nothing happens) and to every
    // column width and row height that stays above 0.
    void Zoom(int Delta);
    // AutoSizeCol for every column (from FixedCols unless DoFixedCols), each then widened by
    // Extra.
    void AutoSizeColumns(bool DoFixedCols, int Extra);
    // The colour kept with the cell's graphic; clNone, as no graphic of this grid has one.
    TColor CellGraphicColor(int ACol, int ARow) const;
    // Whether middle-button panning runs.
    bool Panning() const { return FPanning; }
    // (hints and sizing: public)

    // ---- cells-changed listeners ---------------------------------------------------------------
    void AddCellsChangedListener(TGridChangeListener* Listener);
    void RemoveCellsChangedListener(TGridChangeListener* Listener);

    // ---- virtual operations, in their slot order ---------------------------------------------
    virtual std::string EllipsClick(const std::string& AValue);
    virtual bool MatchFilter(int ARow);
    virtual void PasteNotify(TPoint Origin, TGridRect PastedArea, bool Flag);
    virtual std::string GetDisplText(int ACol, int ARow);
    virtual void CellValueChanging(int ACol, int ARow);
    virtual void StartCellEdit(int ACol, int ARow);
    virtual void CellsChanged(TRect R);
    virtual void AfterCellsLoaded();
    // ---- painting (the painting files define these) ----
    virtual void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush,
                              TFont* AFont);
    virtual void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush,
                                   TFont* AFont);
    // ----
    virtual void GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void GetCellAlignment(int ACol, int ARow, TAlignment& AAlignment);
    virtual void GetColumnFormat(int ACol, TSortStyle& AStyle, std::string& aPrefix,
                                 std::string& aSuffix);
    virtual void GetCellEditor(int ACol, int ARow, TEditorType& AEditor);
    virtual void IsFixedCell(int ACol, int ARow, bool& IsFixed);
    virtual void CanEditCell(int ACol, int ARow, bool& CanEdit);
    virtual void IsPasswordCell(int ACol, int ARow, bool& IsPassword);
    virtual int GetVersionNr();
    virtual std::string GetVersionString();
    virtual bool ValidateCell(const std::string& NewValue);
    // Rows and columns through the base grid's storage; cleared cells lose their graphics.
    virtual void RemoveRows(int ARow, int ACount);
    virtual void DeleteRows(int ARow, int ACount);
    virtual void InsertRows(int ARow, int ACount);
    virtual void DeleteColumns(int ACol, int ACount);
    virtual void InsertColumns(int ACol, int ACount);
    virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);

    // ---- painting (the painting files define these) ------------------------------------------
    TPoint CellTextExtent(int ACol, int ARow);

    // ---- the grid's text file, CSV and spreadsheet import ------------------------------------
    bool IncludeFixedCells = true;
    bool IncludeHiddenCells = false;
    char CSVDelimiter = '\0';
    bool TildeLineBreaks = false;
    TGridProgressEvent OnFileProgress;

    void SaveToFile(const std::string& FileName);
    void LoadFromFile(const std::string& FileName);
    void LoadFromCSV(const std::string& FileName);
    void LoadFromSpreadsheet(const std::string& FileName);
    void LoadFromSpreadsheetSheet(const std::string& FileName, const std::string& SheetName);

    // ---- events ------------------------------------------------------------------------------
    TGridColorEvent OnGetCellColor;
    TGridAlignEvent OnGetAlignment;
    TGridFormatEvent OnGetFormat;
    TCanSortEvent OnCanSort;
    TCanEditCellEvent OnCanEditCell;
    TCellValidateEvent OnCellValidate;
    TAutoDeleteRowEvent OnAutoDeleteRow;
    TGetEditorPropEvent OnGetEditorProp;
    TEllipsClickEvent OnEllipsClick;
    TSpinClickEvent OnSpinClick;
    TFloatSpinClickEvent OnFloatSpinClick;
    TDateTimeSpinClickEvent OnTimeSpinClick;
    TDateTimeSpinClickEvent OnDateSpinClick;
    TNotifyEvent OnRichEditSelectionChange;
    TGetEditorTypeEvent OnGetEditorType;
    TRowChangingEvent OnRowChanging;
    TColChangingEvent OnColChanging;
    TCellChangingEvent OnCellChanging;
    TClipboardEvent OnClipboardCopy;
    TClipboardEvent OnClipboardCut;
    TClipboardEvent OnClipboardPaste;
    TCanAddRowEvent OnCanAddRow;
    TAutoAddRowEvent OnAutoAddRow;
    TAutoInsertColEvent OnAutoInsertCol;
    TClickCellEvent OnDblClickCell;
    TGridBorderEvent OnGetCellBorder;
    TIsPasswordCellEvent OnIsPasswordCell;
    TScrollHintEvent OnScrollHint;
    TButtonClickEvent OnButtonClick;
    TCheckBoxClickEvent OnCheckBoxClick;
    TCheckBoxClickEvent OnCheckBoxMouseUp;
    TRadioClickEvent OnRadioClick;
    TRadioClickEvent OnRadioMouseUp;
    TComboChangeEvent OnComboChange;
    TComboObjectChangeEvent OnComboObjectChange;
    TClickCellEvent OnClickCell;
    TClickCellEvent OnRightClickCell;
    TCanInsertRowEvent OnCanInsertRow;
    TAutoInsertRowEvent OnAutoInsertRow;
    TCanDeleteRowEvent OnCanDeleteRow;
    TAnchorClickEvent OnAnchorClick;
    TAnchorEvent OnAnchorEnter;
    TAnchorEvent OnAnchorExit;
    TNodeClickEvent OnExpandNode;
    TNodeClickEvent OnContractNode;
    TColumnSizeEvent OnColumnSize;
    TColumnMoveEvent OnColumnMove;
    TRowSizeEvent OnRowSize;
    TRowMoveEvent OnRowMove;
    TGridHintEvent OnGridHint;
    TIsFixedCellEvent OnIsFixedCell;
    TCellsChangedEvent OnCellsChanged;
    TEndColumnSizeEvent OnEndColumnSize;
    TEndRowSizeEvent OnEndRowSize;
    TClickSortEvent OnClickSort;
    TCustomCompareEvent OnCustomCompare;
    TRawCompareEvent OnRawCompare;
    TGridColorEvent OnGetCellPrintColor;
    TGridBorderEvent OnGetCellPrintBorder;
    TPrintStartEvent OnPrintStart;
    TPrintPageEvent OnPrintPage;
    TPrintPageDoneEvent OnPrintPageDone;
    TPrintNewPageEvent OnPrintNewPage;
    TPrintColumnWidthEvent OnPrintSetColumnWidth;
    TPrintRowHeightEvent OnPrintSetRowHeight;
    TFitToPageEvent OnFitToPage;
    TOleDragDropEvent OnOleDrop;
    TOleDragDropEvent OnOleDrag;
    TOleDragOverEvent OnOleDragOver;
    TOleDragStartEvent OnOleDragStart;
    TOleDragStopEvent OnOleDragStop;
    TOleDropColEvent OnOleDropCol;

    void Loaded() override;
    void Invalidate() override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Window creation (CreateWnd of the base grid is not reachable from here): loads the column
    // widths and starts the 500 ms timer once the window exists.
    void CreateHandle() override;
    void DestroyWnd() override;
    // ---- painting (the painting files define these) ----
    void Paint() override;
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    // ----
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void WMTimer(TMessage& Message);

    // The column (row) whose border the user drags, its size then, and whether a drag sizes it.
    // Set by the mouse handling when a drag starts; -1 when none.
    int FSizingCol = -1;
    int FSizingColWidth = 0;
    bool FColSizedByMouse = false;
    int FSizingRow = -1;
    int FSizingRowHeight = 0;
    bool FRowSizedByMouse = false;
    bool FColumnsChanged = false;
    bool FStretchEnabled = true;

    // Edit bookkeeping: the remembered cell (display column, row) and its text then.
    TEditorType FEditorType = etNormal;
    bool FEditControlShown = false;
    int FEditCol = -1;
    int FEditRow = -1;
    std::string FEditText;
    bool FEditPending = false;
    bool FValidating = false;
    bool FGridShownEditor = false;

    // The owner form's resize handling (see advgridcolumns.cpp).
    void OwnerFormResize(TObject* Sender);

    // ---- editing: protected ----
    friend class TAdvInplaceEdit;
    // Before the current cell moves: the changing events, the cell's editability (goEditing
    // follows it), validation of a pending edit.
    bool SelectCell(int ACol, int ARow) override;
    // The in-place editor, or the editor control of the cell's editor type.
    bool CanEditShow() override;
    TInplaceEdit* CreateEditor() override;
    // The base grid edits display columns; the cells are kept by real column.
    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;
    // Escape, Enter moving on, and incremental search while editing is off.
    void KeyPress(char& Key) override;
    void Click() override;
    // The cell's text when it was entered or its editor shown; Escape gives it back.
    std::string FRestoreText;
    // goEditing was switched off for a cell that may not be edited; the next cell may have it
    // back.
    bool FEditingOff = false;
    // Drops the one whole-grid repaint that switching goEditing asks for.
    bool FSkipRepaint = false;
    // Set by the mouse when a click puts the editor's caret under the pointer.
    bool FCaretPositioning = false;
    // While LeaveEditor hands a key from an editor control back to the grid.
    bool FLeavingEditor = false;

    // ---- editor controls: protected ----
    // Changes in the in-cell combo raise OnComboChange and OnComboObjectChange; every command
    // also goes on to the base grid.
    void WMCommand(TMessage& Message);

    // ---- sorting: protected ----
    // Nothing is erased while an update runs.
    void WMEraseBkgnd(TMessage& Message);

    // ---- rows: protected ----
    // FromIndex and ToIndex are display indexes; the cells move by real index.
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    // Set whenever a column or row was moved; the mouse handling reads it so that the button
    // release ending a move does not sort, and clears it.
    bool FColumnMovedFlag = false;

    // ---- clipboard: protected ----

    // ---- scroll bars: protected ----
    // Hides a shown editor control and moves the thumbs.
    void TopLeftChanged() override;
    void WMHScroll(TMessage& Message);
    void WMVScroll(TMessage& Message);

    // ---- keyboard and mouse: protected ----
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                         int& SizingOfs, TGridDrawInfo& FixedInfo) override;
    void WMSetFocus(TMessage& Message);
    void WMChar(TMessage& Message);
    void WMSetCursor(TMessage& Message);
    void WMLButtonDblClk(TMessage& Message);
    void WMRButtonDown(TMessage& Message);
    void CMCursorChanged(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    // Over the fixed cells: 0 none, 1 column selection, 2 row selection, 3 select all.
    int FCursorKind = 0;
    // Milliseconds the last sort from a header click took.
    std::uint32_t FSortTime = 0;

    // ---- hints and sizing: protected ----
    // The cell the shown hint is about (display column, row); -1, -1 when none. The mouse
    // handling calls CancelCellHint when the mouse leaves that cell.
    TGridCoord HintCell() const { return TGridCoord{FHintCol, FHintRow}; }
    void CancelCellHint();
    // Ends panning on any button or key before the grid handles it.
    void WndProc(TMessage& Message) override;
    void CMHintShow(TMessage& Message);
    void WMMouseWheel(TMessage& Message);
    void WMMButtonDown(TMessage& Message);
    void WMSize(TMessage& Message);
    // One 500 ms tick: with Hovering, the data cell under the mouse becomes current.
    void HoverTick();
    // One pan timer tick: one step towards the mouse.
    void PanTick();
    static constexpr unsigned PanTimerID = 999;

    TW_MESSAGE_MAP();

private:
    void ApplyColumnHeaders();
    void ApplyRowHeaders();
    void FontChanged(TObject* Sender);
    void EnsureRowSelectCount(int ARow) const;
    void CheckRow(int ARow) const;
    void ClearAllCells();
    void TakeOverOwnerForm();
    void GiveBackOwnerForm();
    void RepaintBlinkingCells();
    bool IsBlinkingCell(int ACol, int ARow) const;

    int FFixedFooters = 0;
    int FFixedRightCols = 0;
    bool FFixedRowAlways = false;
    bool FFixedColAlways = false;

    // Visibility and remembered widths of the real columns 0..256.
    static constexpr int MaxMappedColumns = 257;
    std::array<bool, MaxMappedColumns> FVisibleCol;
    std::array<std::int16_t, MaxMappedColumns> FRememberedWidths;
    int FNumHidden = 0;

    bool FActiveCellShow = false;
    std::unique_ptr<TFont> FActiveCellFont;
    bool FAutoNumAlign = false;
    bool FAutoSize = false;
    TVAlignment FVAlignment = vtaTop;
    TVAlignFlag FVAlignFlag = vfTop;
    bool FEnhTextSize = false;
    bool FMultilinecells = false;
    bool FWordWrap = false;
    bool FEnableGraphics = false;
    bool FEnableHTML = true;
    bool FFlat = false;
    std::unique_ptr<TFont> FFixedFont;
    bool FFixedAsButtons = false;
    std::string FFloatFormat = "%.2f";
    TColor FSelectionColor;
    TColor FSelectionTextColor;
    bool FSelectionRectangle = false;
    bool FSelectionRTFKeep = false;
    bool FShowSelection = true;
    bool FHideFocusRect = false;
    TColor FURLColor;
    bool FURLShow = false;
    bool FURLFull = false;
    bool FURLEdit = false;
    TCustomImageList* FGridImages = nullptr;
    std::unique_ptr<TBitmap> FSortUpGlyph;
    std::unique_ptr<TBitmap> FSortDownGlyph;
    std::unique_ptr<TBitmap> FRowIndicator;
    std::unique_ptr<TBackGround> FBackGround;
    std::unique_ptr<TBands> FBands;
    bool FHovering = false;
    TCursor FDesignCursor = 0;

    bool FSizeWithForm = false;
    std::unique_ptr<TStringList> FColumnHeaders;
    std::unique_ptr<TStringList> FRowHeaders;
    std::unique_ptr<TColumnSize> FColumnSize;
    bool FEnhRowColMove = false;

    int FSortColumn = 0;
    TSortDirection FSortDirection = sdAscending;
    bool FSortFull = true;
    bool FSortAutoFormat = true;
    bool FSortShow = false;
    bool FSortSingleColumn = false;
    bool FSortIgnoreBlanks = false;
    bool FSortIndexShow = false;
    bool FSortFixedCols = false;
    bool FSortNormalCellsOnly = false;
    std::unique_ptr<TSortIndexList> FSortIndexes;

    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping;
    int FMaxEditLength = 0;
    bool FLookup = false;
    bool FLookupCaseSensitive = false;
    bool FLookupHistory = false;
    std::unique_ptr<TStringList> FLookupItems;
    bool FExcelStyleDecimalSeparator = false;
    bool FOemConvert = false;
    std::unique_ptr<TCellNode> FCellNode;
    std::string FPasswordChar = "*";
    // Typed so far for incremental search.
    std::string FSearchInc;
    // Scratch row for swapping rows.
    std::unique_ptr<TStringList> FSwapRow;

    TScrollType FScrollType = ssNormal;
    TColor FScrollColor = clNone;
    int FScrollWidth = 0;
    bool FScrollSynch = false;
    bool FScrollProportional = false;
    TScrollHintType FScrollHints = shNone;
    TColor FHintColor;
    bool FHintShowCells = false;
    bool FHintShowLargeText = false;
    bool FEnableWheel = true;
    TIntelliPan FIntelliPan = ipVertical;
    bool FIntelliZoom = true;
    unsigned FWheelMsg = 0;
    int FWheelScrollLines = 0;
    int FZoomFactor = 0;
    TPoint FXYOffset{2, 2};

    std::unique_ptr<TPrintSettings> FPrintSettings;
    std::unique_ptr<THTMLSettings> FHTMLSettings;
    bool FOleDropTarget = false;
    bool FOleDropSource = false;
    bool FOleAcceptFiles = true;
    bool FOleAcceptText = true;
    bool FOleEntireRows = false;
    bool FOleInsertRows = false;
    bool FOleRemoveRows = false;
    bool FOleDropRTF = false;
    std::unique_ptr<TFilter> FFilter;
    bool FFilterActive = false;
    std::unique_ptr<TCollection> FHiddenRowList;

    // Per-row flags of the disjunct row selection; grown on demand.
    mutable std::vector<bool> FRowSelect;
    // The selection HideSelection replaced.
    TGridRect FOldSelection;
    bool FSelectionHidden = false;
    std::vector<TGridChangeListener*> FListeners;

    // The owner form's resize handler before the grid took it over.
    TNotifyEvent FOldFormResize;
    bool FHadFormResize = false;
    TCustomForm* FOwnerForm = nullptr;
    int FOldFormWidth = 0;
    int FOldFormHeight = 0;

    bool FStretching = false;
    bool FBlinkOn = false;
    bool FTimerStarted = false;
    // ---- editing: private ----

    // ---- editor controls: private ----
    // Made on first use, owned by the grid as components and parented to it, hidden and
    // disabled until shown; no date picker without the common controls 4.70 or later.
    void CreateEditorControls();
    TWinControl* ShowSpinEdit(const std::string& Text);
    TWinControl* ShowComboBox(const std::string& Text, bool ListOnly, const TRect& R);
    TWinControl* ShowDatePicker(const std::string& Text);
    // Places Control over R, shows, enables and focuses it, and marks a control as shown.
    void ShowEditorOver(TWinControl* Control, const TRect& R);
    TGridSpin* FSpinEdit = nullptr;
    TGridCombo* FComboBox = nullptr;
    TGridDatePicker* FDatePicker = nullptr;
    TGridCheckBox* FCheckBox = nullptr;
    TGridEditBtn* FEditBtn = nullptr;
    TGridUnitEditBtn* FUnitEditBtn = nullptr;
    TGridButton* FButton = nullptr;
    char FEditStartChar = 0;

    // ---- sorting: private ----
    // One step of a sort's comparison: a real column and its direction.
    struct TSortStep {
        int Col = 0;
        bool Descending = false;
    };
    // Sorts the data rows by the steps, stable; nothing changes when a comparison raises.
    void SortRows(const std::vector<TSortStep>& Steps, bool KeepColumn0Texts);
    int FUpdateCount = 0;

    // ---- rows: private ----
    // One real column: whether it shows and its width (remembered while hidden).
    struct TColumnSlot {
        bool Visible = true;
        int Width = 0;
    };
    std::vector<TColumnSlot> ColumnLayout() const;
    // Sets the visibility map, ColCount and the display widths from a column per slot.
    void ApplyColumnLayout(const std::vector<TColumnSlot>& Layout);
    int AllColCount() const { return ColCount() + FNumHidden; }
    void CopyRowCells(int FromRow, int ToRow);
    void ClearCells(int ACol1, int ARow1, int ACol2, int ARow2);
    // The row operations; AdjustHidden renumbers the hidden rows behind the change (false while
    // rows are being hidden or shown).
    void RemoveRowsAt(int ARow, int ACount, bool AdjustHidden);
    void InsertRowsAt(int ARow, int ACount, bool AdjustHidden);
    // Drops ACount display rows at ARow: graphics freed, the rest moved up.
    void ShiftRowsUp(int ARow, int ACount);
    void RenumberHiddenAfterDelete(int ARow, int ACount);
    void HideRun(int FromRow, int ToRow, int DisplRow);
    void ShowRun(int FromRow, int ToRow);
    void ApplyFilter();
    // The empty row added when the filter left no data row.
    bool FFilterPlaceholder = false;
    // Frees the cell graphics kept with hidden rows when the grid goes.
    struct THiddenRowGraphics {
        TAdvStringGrid* Grid;
        ~THiddenRowGraphics();
    };
    THiddenRowGraphics FHiddenRowGraphics{this};

    // ---- clipboard: private ----
    std::string ClipboardCellText(int ACol, int ARow, bool Copying);
    std::string BlockText(const TGridRect& Block, bool Disjunct, bool Copying);
    void CopyBlock(const TGridRect& Block, bool Disjunct);
    void FillSeries(const TGridRect& Sel, const std::string& First, const std::string& Second);
    // The top-left cell of the last copied block, and whether the last clipboard action was a
    // copy (a cut clears it), for PasteNotify.
    TPoint FClipTopLeft{0, 0};
    bool FClipCopied = false;

    // ---- scroll bars: private ----
    void UpdateFlatThumb(bool Horizontal);
    int ThumbCell(int Pos, bool Horizontal);
    void TrackScrollHint(int Code, int Pos, bool Horizontal);
    void ScrollKeepingBackground(TMessage& Message, int Code);
    void ApplyScrollLook();
    void ShowScrollHint(const std::string& Text);
    void HideScrollHint();
    // The thumb position of a thumb message on the grid's 0..127 scale; a flat bar's position
    // (0..128 less its page) is converted, in Message too.
    int GridThumbPos(TMessage& Message, bool Cols);
    // The cells under the corners of a background picture shown at a fixed place.
    bool FixedBackgroundCells(TGridRect& Cells);
    // Whether the flat scroll bars are laid over the window's bars.
    bool FFlatInit = false;
    // Owned by the grid as its component; made at the first hint.
    class THintWindow* FScrollHintWnd = nullptr;
    bool FScrollHintShow = false;

    // ---- keyboard and mouse: private ----
    // The link under a client point: the whole text of a URL cell (URLShow), or the link of an
    // HTML cell; empty when there is none. ACol (display) and ARow get the cell under it.
    std::string AnchorAt(int X, int Y, int& ACol, int& ARow);
    // A clicked link: a cell reference inside the grid selects it, a web or mail link opens.
    void FollowAnchor(const std::string& Anchor);
    // The header click's sort of ACol (Shift extends the sort index).
    void HeaderClickSort(int ACol, TShiftState Shift);
    // The floating heading and the drop marks of a move with EnhRowColMove.
    void ShowMoveFeedback(int X, int Y);
    void HideMoveFeedback();
    // The grid's own change of the control cursor, which leaves the cursor kind alone.
    void SetOwnCursor(TCursor Value);
    void SetPressedFixed(int ACol, int ARow);
    TPoint FMouseDownPos;
    TPoint FGrabOffset;
    TGridCoord FDownCell{-1, -1};
    // The column (header row) or row (fixed column) pressed for a move; -1 when none.
    int FMoveColInd = -1;
    int FMoveRowInd = -1;
    // The row or column a whole-row or whole-column drag selection starts from.
    int FSelAnchorRow = -1;
    int FSelAnchorCol = -1;
    bool FClickPending = false;
    TGridCoord FClickCell{-1, -1};
    // A Ctrl press on a flagged row clears that row at the release.
    int FUnflagRow = -1;
    std::string FLastAnchor;
    TGridCoord FAnchorCell{-1, -1};
    // A column or row was moved or sized during the press; a double-click auto-sized.
    bool FMovedOrSized = false;
    bool FDblClickSized = false;
    bool FSettingCursor = false;
    TGridCoord FPressedFixed{-1, -1};
    TWinControl* FMoveButton = nullptr;
    TWinControl* FMoveMarks[2] = {nullptr, nullptr};

    // ---- hints and sizing: private ----
    void StartPanning(TPoint Origin);
    void StopPanning();
    void DrawPanMark();
    void ErasePanMark();
    // Canvas font of a cell for measuring: the fixed or normal font as GetCellColor leaves it,
    // grown by the zoom value. ACol is a display column.
    void SelectMeasureFont(int ACol, int ARow);
    // Text plus image width of a cell (display column), in the measuring font.
    int CellContentWidth(int ACol, int ARow);
    int AutoColWidth(int ACol);

    int FHintCol = -1;
    int FHintRow = -1;
    // Client width seen by the last size message; 0 before the first.
    int FLastClientWidth = 0;
    bool FPanning = false;
    TPoint FPanOrigin;
    TCursor FPanOldCursor = 0;
    bool FPanOldShowHint = false;

    // The rich-text cells' two rich edits (render and edit) come with the rich-text control.
};
