// controls/grid/advgridspreadsheet.cpp: taking over the used range of a spreadsheet's sheet
// through the spreadsheet program's automation server. All values are read before the grid
// changes; a failing call closes the workbook unsaved and quits the server on its way out.
#include "controls/grid/advgrid.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/strings.h"
#include "platform/ui/cursors.h"
#include "platform/ui/oleauto.h"
#include "platform/ui/screen.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <vector>

namespace {

struct TCorner {
    int Col = -1;
    int Row = -1;
    std::string Letters;
};

// One half of an address such as $B$2: one leading "$" dropped, the letters before the next
// "$" and the row number after it.
TCorner ReadCorner(std::string Half)
{
    TCorner Corner;
    if (!Half.empty() && Half[0] == '$')
        Half.erase(0, 1);
    const std::size_t Dollar = Half.find('$');
    if (Dollar == std::string::npos)
        return Corner;
    Corner.Letters = Half.substr(0, Dollar);
    std::int64_t Col = 0;
    for (char C : Corner.Letters) {
        if (!std::isalpha(static_cast<unsigned char>(C)) || Col > 100000)
            return TCorner();
        Col = Col * 26 + (std::toupper(static_cast<unsigned char>(C)) - 'A' + 1);
    }
    int Row = 0;
    if (!TryStrToInt(Half.substr(Dollar + 1), Row) || Row < 1)
        Row = -1;
    Corner.Col = Corner.Letters.empty() ? -1 : int(Col);
    Corner.Row = Row;
    return Corner;
}

// The screen cursor, where there is a screen (a grid may work without an application).
void SetScreenCursor(TCursor Cursor)
{
    if (Screen != nullptr)
        Screen->SetCursor(Cursor);
}

void ImportSheet(TAdvStringGrid& Grid, const std::string& FileName, const std::string* SheetName)
{
    SetScreenCursor(crHourGlass);
    TOleVariant App;
    try {
        App = CreateOleObject("excel.application");
    } catch (...) {
        SetScreenCursor(crDefault);
        throw EAdvGridError("Excel OLE server not found");
    }

    TOleVariant Book;
    const auto CloseAll = [&]() {
        if (!Book.IsEmpty())
            Book.OleProcedure("Close", {}, {TNamedParam{"SaveChanges", TOleVariant(false)}});
        Book = TOleVariant();
        App.OleProcedure("Quit");
        App = TOleVariant();
    };
    try {
        const TOleVariant Books = App.OlePropertyGet("WorkBooks");
        Book = Books.OleFunction("Open", {TOleVariant(FileName)});
        TOleVariant Sheet;
        if (SheetName != nullptr) {
            const TOleVariant Sheets = Book.OlePropertyGet("Sheets");
            const long long Count = Sheets.OlePropertyGet("Count").ToInteger();
            for (long long I = 1; I <= Count; ++I) {
                TOleVariant Candidate = Book.OlePropertyGet("Sheets", {TOleVariant(I)});
                if (Candidate.OlePropertyGet("Name").ToString() == *SheetName)
                    Sheet = Candidate;
            }
            if (Sheet.IsEmpty())
                throw EAdvGridError("Excel worksheet " + *SheetName + " not found");
        } else {
            Sheet = Book.OlePropertyGet("ActiveSheet");
        }

        // A single used cell has an address without ":"; both corners are that cell then.
        const std::string Address =
            Sheet.OlePropertyGet("UsedRange").OlePropertyGet("Address").ToString();
        const std::size_t Colon = Address.find(':');
        const TCorner First = ReadCorner(Address.substr(0, Colon));
        const TCorner Last =
            Colon == std::string::npos ? First : ReadCorner(Address.substr(Colon + 1));
        int Cols = Grid.ColCount();
        int Rows = Grid.RowCount();
        const bool Read = First.Col > 0 && First.Row > 0 && Last.Col > 0 && Last.Row > 0;
        if (Read) {
            Cols = Last.Col - First.Col + 1;
            Rows = Last.Row - First.Row + 1;
        }
        const std::string RangeText =
            First.Letters + IntToStr(First.Row) + ":" + Last.Letters + IntToStr(Last.Row);
        const TOleVariant Values =
            Sheet.OlePropertyGet("Range", {TOleVariant(RangeText)}).OlePropertyGet("Value");

        const int ColOffset = Grid.IncludeFixedCells ? 0 : Grid.FixedCols();
        const int RowOffset = Grid.IncludeFixedCells ? 0 : Grid.FixedRows();
        if (Read && (Cols < 1 || Rows < 1 || std::int64_t(Cols) * Rows > 50000000))
            throw EAdvGridError("Excel worksheet range " + Address + " is too large");
        // Every value as text, before the grid changes.
        const int ValueRows = std::min(Rows, Values.HighBound(1));
        const int ValueCols = std::min(Cols, Values.HighBound(2));
        std::vector<std::string> Texts(std::size_t(ValueRows) * std::size_t(ValueCols));
        for (int B = 1; B <= ValueRows; ++B)
            for (int D = 1; D <= ValueCols; ++D)
                Texts[std::size_t(B - 1) * std::size_t(ValueCols) + std::size_t(D - 1)] =
                    Values.Item(B, D).ToString();

        CloseAll();
        Grid.SetColCount(Cols + ColOffset);
        Grid.SetRowCount(Rows + RowOffset);
        for (int B = 1; B <= Rows; ++B)
            for (int D = 1; D <= Cols; ++D)
                Grid.SetCells(
                    D + ColOffset - 1, B + RowOffset - 1,
                    B <= ValueRows && D <= ValueCols
                        ? Texts[std::size_t(B - 1) * std::size_t(ValueCols) + std::size_t(D - 1)]
                        : std::string());
    } catch (...) {
        // The first failure is the one to report; the server goes in any case.
        if (!Book.IsEmpty())
            try {
                Book.OleProcedure("Close", {}, {TNamedParam{"SaveChanges", TOleVariant(false)}});
            } catch (...) {
            }
        if (!App.IsEmpty())
            try {
                App.OleProcedure("Quit");
            } catch (...) {
            }
        SetScreenCursor(crDefault);
        throw;
    }
    SetScreenCursor(crDefault);
    Grid.CellsChanged(TRect{0, 0, Grid.ColCount(), Grid.RowCount()});
    Grid.AfterCellsLoaded();
}

} // namespace

void TAdvStringGrid::LoadFromSpreadsheet(const std::string& FileName)
{
    ImportSheet(*this, FileName, nullptr);
}

void TAdvStringGrid::LoadFromSpreadsheetSheet(const std::string& FileName,
                                              const std::string& SheetName)
{
    ImportSheet(*this, FileName, &SheetName);
}
