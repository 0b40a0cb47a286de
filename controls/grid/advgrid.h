// controls/grid/advgrid.h: TAdvStringGrid, the string grid of the rule lists and statistics
// tables: cell pictures, HTML cells, hidden columns, settings objects, column widths kept in the
// registry or an INI file, and the grid's own text file, CSV and spreadsheet import.
#pragma once

#include "platform/rtl/exceptions.h"
#include "platform/stdctrls/grids.h"

#include <functional>
#include <string>

TW_DECLARE_EXCEPTION(EAdvGridError, Exception);

using TGridProgressEvent = std::function<void(TObject* Sender, short Progress)>;

class TAdvStringGrid : public TStringGrid {
public:
    explicit TAdvStringGrid(TComponent* AOwner);
    ~TAdvStringGrid() override;

    // ---- core: counts, hidden columns, save ranges, notifications --------------------------
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
    int FixedFooters() const { return FFixedFooters; }
    void SetFixedFooters(int Value);
    int FixedRightCols() const { return FFixedRightCols; }
    void SetFixedRightCols(int Value);
    bool Multilinecells() const { return FMultilinecells; }
    void SetMultilinecells(bool Value);
    bool OemConvert() const { return FOemConvert; }
    void SetOemConvert(bool Value) { FOemConvert = Value; }

    int SaveColStart() const;
    int SaveColEnd() const;
    int SaveRowStart() const;
    int SaveRowEnd() const;
    int SaveColCount() const;
    int SaveRowCount() const;

    virtual void CellsChanged(TRect R);
    virtual void AfterCellsLoaded() {}

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

private:
    int FFixedFooters = 0;
    int FFixedRightCols = 0;
    bool FMultilinecells = false;
    bool FOemConvert = false;
};
