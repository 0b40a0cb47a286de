// controls/grid/advgridfile.cpp: the grid's own text file: a count line, one width line per
// column and one line per non-empty cell, written through the atomic rewrite and read back
// only when the whole file makes sense.
//
// Hidden columns: with IncludeHiddenCells the count line and the width lines cover the real
// columns of the saved range plus the hidden ones (a hidden column's line carries the width it
// had when it was hidden). Loading such a file into a grid that hides columns sets ColCount to
// the count less the hidden columns, so that they stay hidden and the grid reads its own file
// back whole; a grid without hidden columns simply shows every column of the file.
#include "controls/grid/advgrid.h"
#include "controls/grid/advgridio.h"
#include "controls/grid/advutil.h"

#include "platform/rtl/atomicfile.h"
#include "platform/rtl/convert.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t MaxLoadRows = 1000000;
constexpr std::int64_t MaxLoadCols = 16384;
constexpr std::int64_t MaxLoadCells = 50000000;

struct TWidthLine {
    int Index;
    int Width;
};

struct TCellLine {
    int Col;
    int Row;
    std::string Text;
};

// The file as it will be applied: nothing of the grid changes before all of it was read.
struct TLoadPlan {
    int ColCount = 0;
    int RowCount = 0;
    std::vector<TWidthLine> Widths;
    std::vector<TCellLine> Cells;
};

// The lines of Data, each without its CR LF (or lone LF).
template <typename TFunc>
void ForEachLine(const std::string& Data, TFunc Func)
{
    std::size_t At = 0;
    while (At < Data.size()) {
        std::size_t End = Data.find('\n', At);
        const std::size_t Next = End == std::string::npos ? Data.size() : End + 1;
        if (End == std::string::npos)
            End = Data.size();
        std::size_t Stop = End;
        if (Stop > At && Data[Stop - 1] == '\r')
            --Stop;
        Func(Data.substr(At, Stop - At));
        At = Next;
    }
}

// The text before the first comma, cut off with the comma; without a comma nothing is cut and
// the field is empty.
std::string CutAtComma(std::string& Rest)
{
    const std::size_t P = Rest.find(',');
    if (P == std::string::npos)
        return std::string();
    std::string Field = Rest.substr(0, P);
    Rest.erase(0, P + 1);
    return Field;
}

} // namespace

void TAdvStringGrid::SaveToFile(const std::string& FileName)
{
    const int Hidden = NumHiddenColumns();
    const int ColStart = SaveColStart();
    const int ColEnd = SaveColEnd();
    const int RowStart = SaveRowStart();
    const int RowEnd = SaveRowEnd();

    std::string Text;
    Text += IntToStr(SaveColCount() + (IncludeHiddenCells ? Hidden : 0)) + "," +
            IntToStr(SaveRowCount()) + "\r\n";
    if (IncludeHiddenCells) {
        for (int K = ColStart; K <= ColEnd + Hidden; ++K)
            Text += "cw " + IntToStr(K) + "," + IntToStr(RememberedColWidth(K)) + "\r\n";
    } else {
        for (int D = ColStart; D <= ColEnd; ++D)
            Text += "cw " + IntToStr(D) + "," + IntToStr(ColWidths(D)) + "\r\n";
    }

    AdvGridIO::TProgress Progress(this, OnFileProgress);
    for (int R = RowStart; R <= RowEnd; ++R) {
        for (int C = ColStart; C <= ColEnd + Hidden; ++C) {
            const std::string Cell = Cells(C, R);
            if (!Cell.empty())
                Text += IntToStr(C) + "," + IntToStr(R) + "," + EncodeLineBreaks(Cell) + "\r\n";
        }
        Progress.Report(R - RowStart, SaveRowCount() - 1);
    }

    std::unique_ptr<TAtomicFileStream> Stream;
    try {
        Stream = std::make_unique<TAtomicFileStream>(FileName);
    } catch (const EStreamError&) {
        throw EAdvGridError("Cannot Create " + FileName);
    }
    try {
        Stream->WriteBuffer(Text.data(), std::int64_t(Text.size()));
        Stream->Commit();
    } catch (const EAtomicWriteError& E) {
        throw EInOutError(E.Message(), E.ErrorCode);
    } catch (const EStreamError& E) {
        throw EInOutError(E.Message(), 5);
    }
}

void TAdvStringGrid::LoadFromFile(const std::string& FileName)
{
    const std::string Data = AdvGridIO::ReadWholeFile(FileName);
    const int ColOffset = IncludeFixedCells ? 0 : FixedCols();
    const int RowOffset = IncludeFixedCells ? 0 : FixedRows();
    const int Hidden = NumHiddenColumns();
    auto Corrupt = [&FileName]() {
        throw EAdvGridError("File contains no data or corrupt file " + FileName);
    };

    TLoadPlan Plan;
    Plan.ColCount = ColCount();
    Plan.RowCount = RowCount();
    bool First = true;
    ForEachLine(Data, [&](const std::string& Line) {
        if (First) {
            First = false;
            if (Line.empty())
                return;
            std::string Rest = Line;
            const std::size_t P = Rest.find(',');
            const std::string ColText = P == std::string::npos ? Rest : Rest.substr(0, P);
            const std::string RowText = P == std::string::npos ? std::string() : Rest.substr(P + 1);
            bool ColOverflow = false;
            bool RowOverflow = false;
            std::int64_t Cols = AdvGridIO::LeadingNumber(ColText, ColOverflow);
            std::int64_t Rows = AdvGridIO::LeadingNumber(RowText, RowOverflow);
            if (ColOverflow || RowOverflow || Cols > MaxLoadCols || Rows > MaxLoadRows)
                Corrupt();
            Cols += ColOffset - (IncludeHiddenCells ? Hidden : 0);
            Rows += RowOffset;
            Plan.ColCount = int(std::max<std::int64_t>(Cols, 1));
            Plan.RowCount = int(std::max<std::int64_t>(Rows, 1));
            if (Plan.ColCount + Hidden > MaxLoadCols || Plan.RowCount > MaxLoadRows ||
                std::int64_t(Plan.ColCount + Hidden) * Plan.RowCount > MaxLoadCells)
                Corrupt();
            return;
        }
        if (Line.empty())
            return;
        if (Line.compare(0, 2, "cw") == 0) {
            // "cw <index>,<width>"; a line without its comma says nothing.
            const std::size_t P = Line.find(',');
            if (P == std::string::npos)
                return;
            const std::string IndexText = P > 3 ? Line.substr(3, P - 3) : std::string();
            const std::string WidthText = Line.substr(P + 1);
            const int Index = AdvGridIO::LeadingIndex(IndexText);
            const int Width = AdvGridIO::LeadingIndex(WidthText);
            // The platform grid stores no negative width, so -1 leaves the column too.
            if (Width < 0 || Width > 32767)
                return;
            const int Limit = Plan.ColCount + (IncludeHiddenCells ? Hidden : 0);
            if (Index >= 0 && Index < Limit)
                Plan.Widths.push_back(TWidthLine{Index, Width});
            return;
        }
        std::string Rest = Line;
        const int Col = AdvGridIO::LeadingIndex(CutAtComma(Rest));
        const int Row = AdvGridIO::LeadingIndex(CutAtComma(Rest));
        Plan.Cells.push_back(TCellLine{Col, Row, std::move(Rest)});
    });

    // From here on the file is the grid's.
    const int OldCols = ColCount() + Hidden;
    const int OldRows = RowCount();
    SetColCount(Plan.ColCount);
    SetRowCount(Plan.RowCount);
    for (const TWidthLine& W : Plan.Widths) {
        if (!IncludeHiddenCells)
            SetColWidths(W.Index, W.Width);
        else if (IsColumnVisible(W.Index))
            SetColWidths(DisplColIndex(W.Index), W.Width);
    }
    const int TotalCols = ColCount() + Hidden;
    const int ClearCols = std::max(OldCols, TotalCols);
    const int ClearRows = std::max(OldRows, RowCount());
    for (int R = RowOffset; R < ClearRows; ++R)
        for (int C = ColOffset; C < ClearCols; ++C)
            if (!Cells(C, R).empty())
                SetCells(C, R, std::string());

    AdvGridIO::TProgress Progress(this, OnFileProgress);
    for (const TCellLine& L : Plan.Cells) {
        if (L.Col >= 0 && L.Col < TotalCols && L.Row >= 0 && L.Row < RowCount())
            SetCells(L.Col, L.Row, DecodeLineBreaks(L.Text, Multilinecells()));
        Progress.Report(L.Row, RowCount() - 1);
    }
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
    AfterCellsLoaded();
}
