// platform/stdctrls/grids.h: TCustomGrid, a scrolling table of cells with fixed rows and
// columns, sized per column and row, a current cell and a range selection; painted cell by cell
// through DrawCell. TDrawGrid and TStringGrid build on it.
#pragma once

#include "platform/forms/form.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/stringlist.h"
#include "platform/stdctrls/memo.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

TW_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);

class TInplaceEdit;

enum TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking,
};
using TGridOptions = TSet<TGridOption>;

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

// Where the pointer lies beyond the cells while a selection is dragged.
enum TGridScrollDirectionItem { sdLeft, sdRight, sdUp, sdDown };
using TGridScrollDirection = TSet<TGridScrollDirectionItem>;

struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TGridCoord& A, const TGridCoord& B)
    {
        return A.X == B.X && A.Y == B.Y;
    }
};

// Columns Left..Right and rows Top..Bottom, both ends included.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TGridRect& A, const TGridRect& B)
    {
        return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
    }
};

// One direction of the grid as laid out in the client area: columns (Horz) or rows (Vert).
struct TGridAxisDrawInfo {
    int EffectiveLineWidth = 0;
    // Pixels taken by the fixed cells, lines included.
    int FixedBoundary = 0;
    // Where the last drawn cell ends, lines included (at most GridExtent).
    int GridBoundary = 0;
    // The client area's extent.
    int GridExtent = 0;
    int LastFullVisibleCell = 0;
    int FullVisBoundary = 0;
    int FixedCellCount = 0;
    int FirstGridCell = 0;
    int GridCellCount = 0;
};

struct TGridDrawInfo {
    TGridAxisDrawInfo Horz;
    TGridAxisDrawInfo Vert;
};

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    int ColCount() const { return FColCount; }
    void SetColCount(int Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int Value);
    // Beyond the counts these read the default size.
    int ColWidths(int Index) const;
    void SetColWidths(int Index, int Value);
    int RowHeights(int Index) const;
    void SetRowHeights(int Index, int Value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    // Whether Tab (with goTabs) stops in the column; true unless set otherwise.
    bool TabStops(int Index) const;
    void SetTabStops(int Index, bool Value);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions Value);

    int Col() const { return FCurrent.X; }
    void SetCol(int Value);
    int Row() const { return FCurrent.Y; }
    void SetRow(int Value);
    // The selected range: the anchor at one corner, the current cell at the other.
    TGridRect Selection() const;
    void SetSelection(const TGridRect& Value);
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int Value);
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int Value);
    int VisibleColCount() const;
    int VisibleRowCount() const;

    // The cell's area in the client area; empty when it is not in view.
    TRect CellRect(int ACol, int ARow) const;
    // The cell under the client point, -1 for a coordinate outside the grid.
    TGridCoord MouseCoord(int X, int Y) const;
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    // Measures the client area through ClientRect(), which descendants may narrow (a footer).
    void CalcDrawInfo(TGridDrawInfo& DrawInfo) const;

    // Whether the in-place editor is wanted; it shows while CanEditShow allows it.
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool Value);

protected:
    virtual void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState);
    void Paint() override;
    virtual bool SelectCell(int ACol, int ARow);
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    virtual void TopLeftChanged();
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    // The in-place editor's text and mask for a cell, and its edited text going back.
    virtual std::string GetEditMask(int ACol, int ARow);
    virtual std::string GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const std::string& Value);
    // The editor's length limit for the current cell; 0: none.
    virtual int GetEditLimit();
    // Whether the editor may show over the current cell: goEditing without goRowSelect, the
    // editor wanted, and the grid focused (or goAlwaysShowEditor).
    virtual bool CanEditShow();
    // Whether the editor may change the text; asked before each change.
    virtual bool CanEditModify();
    // Whether the editor takes a typed character.
    virtual bool CanEditAcceptKey(char Key);
    // The editor, made on first use; the grid owns it.
    virtual TInplaceEdit* CreateEditor();
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
    void ShowEditor();
    void HideEditor();
    // Shows the editor and types Ch into it, replacing the selected text.
    void ShowEditorChar(char Ch);
    // Reloads the editor from the current cell and places it again.
    void InvalidateEditor();
    // The editor's text to the cell it edits, through SetEditText.
    void UpdateText();
    // Loads the editor for the current cell when that changed and places it there.
    void UpdateEdit();

    void MoveColumn(int FromIndex, int ToIndex);
    void MoveRow(int FromIndex, int ToIndex);
    void DeleteColumn(int ACol);
    void DeleteRow(int ARow);

    void InvalidateCell(int ACol, int ARow);
    void InvalidateCol(int ACol);
    void InvalidateRow(int ARow);
    void InvalidateGrid();

    // Moves the current cell (and the anchor unless extending); MoveAnchor false extends the
    // selection from the anchor. Scrolls the cell into view when Show.
    void FocusCell(int ACol, int ARow, bool MoveAnchor);
    void MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
    void ClampInView(TGridCoord Coord);
    TGridCoord MaxTopLeft() const;
    void MoveTopLeft(int ALeft, int ATop);
    void InvalidateRect(const TGridRect& ARect);
    // The client rectangle of a range of cells, clipped to what is in view.
    TRect BoxRect(const TGridRect& ARect) const;
    // Scroll bars run from 0 to ThumbScale whatever the counts; positions map onto the
    // scrollable cells proportionally.
    static constexpr int ThumbScale = 127;
    int ScrollPosOf(bool Cols) const;
    int CellOfScrollPos(bool Cols, int Pos) const;
    TGridState FGridState = gsNormal;

    // Whether the grid acts on a key at all.
    virtual bool CanGridAcceptKey(Word Key, TShiftState Shift);
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The wheel moves the current row.
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    // While selecting with the pointer outside the cells, scrolls one cell towards it.
    virtual void TimedScroll(TGridScrollDirection Direction);
    // Whether a press at (X, Y) takes a divider: in the fixed rows (columns) within a few
    // pixels of a scrollable column's (row's) end. SizingPos is the divider's position and
    // SizingOfs its distance from the point; FixedInfo is the grid as CalcDrawInfo gives it.
    virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                 int& SizingOfs, TGridDrawInfo& FixedInfo);
    // The dotted line where the dragged divider would land, drawn inverting: drawn twice, gone.
    void DrawSizingLine(const TGridDrawInfo& DrawInfo);
    // The bar marking where the column (row) being moved would land, drawn inverting.
    void DrawMove();
    // Follows the pointer while moving: the landing cell, scrolling a cell at the edges.
    void MoveAndScroll(int Mouse, int CellHit, bool Cols);
    int FSizingIndex = -1;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    // The column (row) being moved and where it would land.
    int FMoveIndex = -1;
    int FMovePos = -1;

    void WMGetDlgCode(TMessage& Message);
    void WMHScroll(TMessage& Message);
    void WMVScroll(TMessage& Message);
    void WMTimer(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMCancelMode(TMessage& Message);
    void WMSetCursor(TMessage& Message);
    void WMChar(TMessage& Message);
    void WMCommand(TMessage& Message);
    void WMLButtonDown(TMessage& Message);
    TW_MESSAGE_MAP();

    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Resize() override;

private:
    friend class TInplaceEdit;
    // The editor's cell back to the text it had when the editor was loaded.
    void CancelEdit();
    void HideEdit();
    // The editor (or the grid) holds the focus.
    bool HasEditFocus() const;
    void ChangeSize(int NewColCount, int NewRowCount);
    void CheckExtent(int Count, int Default, std::size_t Stored, std::int64_t StoredSum) const;
    void CalcAxis(TGridAxisDrawInfo& Axis, int Extent, int FixedCount, int First, int Count,
                  bool Cols) const;
    int Extent(bool Cols, int Index) const { return Cols ? ColWidths(Index) : RowHeights(Index); }
    void UpdateScrollRange();
    void UpdateScrollPos();
    void ScrollData(TGridCoord OldTopLeft);
    void ModifyScrollBar(bool Cols, int ScrollCode, int Pos);
    void StopTracking();

    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    // Sized to the counts once any size differs from the default; empty otherwise.
    std::vector<int> FColWidths;
    std::vector<int> FRowHeights;
    // Columns that are no tab stops, by index (also beyond the count).
    std::vector<bool> FNoTabStops;
    // The sums of the stored sizes, so that setting one size checks the extent at once.
    std::int64_t FColWidthSum = 0;
    std::int64_t FRowHeightSum = 0;
    int FGridLineWidth = 1;
    TColor FFixedColor = clBtnFace;
    bool FDefaultDrawing = true;
    TScrollStyle FScrollBars = ssBoth;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1};
    TGridCoord FTopLeft{1, 1};
    TInplaceEdit* FInplaceEdit = nullptr;
    bool FEditorMode = false;
    bool FCanEditModify = true;
    // The cell the editor was loaded for (-1: none) and the text it was loaded with.
    int FInplaceCol = -1;
    int FInplaceRow = -1;
    std::string FInplaceOriginal;
    // While the editor is loaded, its text changes are no edits.
    bool FLoadingEditor = false;
    // The editor's text changed since it was loaded.
    bool FEditChanged = false;
};

using TDrawCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TSetEditEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;

// A grid whose cells the application draws (OnDrawCell) and whose hooks it answers by events.
class TDrawGrid : public TCustomGrid {
public:
    explicit TDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TNotifyEvent OnTopLeftChanged;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;
    TGetEditEvent OnGetEditMask;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;

protected:
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void TopLeftChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    std::string GetEditMask(int ACol, int ARow) override;
    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;
};

class TStringGrid;

// One row or column of a string grid seen as a list of strings; as long as the count of the
// other axis. Lines cannot be inserted or deleted.
class TStringGridStrings : public TStrings {
public:
    TStringGridStrings(TStringGrid* Grid, bool IsRow, int Index)
        : FGrid(Grid), FIsRow(IsRow), FIndex(Index)
    {
    }
    int Count() const override;
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    // Fills the first empty cell; -1 when none is left.
    int Add(const std::string& S) override;
    void Insert(int Index, const std::string& S) override;
    void Delete(int Index) override;
    void Clear() override;

private:
    TStringGrid* FGrid;
    bool FIsRow;
    int FIndex;
};

// A grid holding a string and an object per cell; cells outside the counts are kept, so a
// shrink and regrow gives them back.
class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}

    std::string Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const std::string& Value);
    TObject* Objects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, TObject* Value);
    TStrings* Rows(int Index);
    void SetRows(int Index, const TStrings* Value);
    TStrings* Cols(int Index);
    void SetCols(int Index, const TStrings* Value);

protected:
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;

private:
    struct TCell {
        std::string Text;
        TObject* Object = nullptr;
    };
    const TCell* FindCell(int ACol, int ARow) const;
    TCell& EnsureCell(int ACol, int ARow);
    // Rows of cells, each as long as its furthest written column.
    std::vector<std::vector<TCell>> FData;
    std::map<int, std::unique_ptr<TStringGridStrings>> FRowStrings;
    std::map<int, std::unique_ptr<TStringGridStrings>> FColStrings;
};
