// controls/grid/advgridcsv.cpp: reading delimited text into the grid. The delimiter is found
// from the first two lines when none is set; a field that starts with a double quote runs to
// the first quote that is not doubled, may span lines and holds each doubled quote as one.
#include "controls/grid/advgrid.h"
#include "controls/grid/advgridio.h"
#include "controls/grid/advutil.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// The first two lines of Data, without their line ends (the second empty when there is none).
void FirstTwoLines(const std::string& Data, std::string& Line1, std::string& Line2)
{
    const std::size_t End1 = std::min(Data.find_first_of("\r\n"), Data.size());
    Line1 = Data.substr(0, End1);
    std::size_t Start2 = End1;
    if (Start2 < Data.size() && Data[Start2] == '\r')
        ++Start2;
    if (Start2 < Data.size() && Data[Start2] == '\n')
        ++Start2;
    Line2.clear();
    if (Start2 < Data.size()) {
        const std::size_t End2 = std::min(Data.find_first_of("\r\n", Start2), Data.size());
        Line2 = Data.substr(Start2, End2 - Start2);
    }
}

// The candidate found single as often in line 1 as in line 2, and more often than any earlier
// candidate; '\0' when none is.
char DetectDelimiter(const std::string& Data)
{
    std::string Line1;
    std::string Line2;
    FirstTwoLines(Data, Line1, Line2);
    char Best = '\0';
    int BestCount = 0;
    for (char Candidate : {',', ';', '#', '\t', '|'}) {
        const int Count1 = CountSingleChar(Candidate, Line1);
        if (Count1 == CountSingleChar(Candidate, Line2) && Count1 > BestCount) {
            Best = Candidate;
            BestCount = Count1;
        }
    }
    return Best;
}

// Splits records and fields. A record ends at CR LF, LF or CR outside a quoted field.
class TCsvScanner {
public:
    TCsvScanner(const std::string& Data, char Delimiter, bool TildeLineBreaks)
        : FData(Data), FDelimiter(Delimiter), FTilde(TildeLineBreaks)
    {
    }

    bool AtEnd() const { return FAt >= FData.size(); }

    // Reads one record; Field is called with each field's number and text.
    template <typename TFunc>
    void Record(TFunc Field)
    {
        const std::size_t N = FData.size();
        if (AtEnd())
            return;
        if (IsLineEnd(FData[FAt])) {
            SkipLineEnd();
            return;
        }
        int Number = 0;
        for (;;) {
            ReadField();
            Field(Number++, FField);
            if (FAt < N && FDelimiter != '\0' && FData[FAt] == FDelimiter) {
                ++FAt;
                continue;
            }
            SkipLineEnd();
            return;
        }
    }

private:
    static bool IsLineEnd(char C) { return C == '\r' || C == '\n'; }
    bool IsStop(char C) const { return (FDelimiter != '\0' && C == FDelimiter) || IsLineEnd(C); }

    void SkipLineEnd()
    {
        const std::size_t N = FData.size();
        if (FAt < N && FData[FAt] == '\r')
            ++FAt;
        if (FAt < N && FData[FAt] == '\n')
            ++FAt;
    }

    // Leaves FAt on the delimiter or line end after the field.
    void ReadField()
    {
        FField.clear();
        const std::size_t N = FData.size();
        if (FAt < N && FData[FAt] == '"') {
            const std::size_t Close = ClosingQuote(FAt + 1);
            if (Close == std::string::npos) {
                // A quote that never closes: the field is empty, and the rest of its line goes.
                while (FAt < N && !IsLineEnd(FData[FAt]))
                    ++FAt;
                return;
            }
            for (std::size_t I = FAt + 1; I < Close; ++I) {
                const char C = FData[I];
                if (C == '"') {
                    FField += '"';
                    ++I;
                } else if (C == '\r' || C == '\n') {
                    if (C == '\r' && I + 1 < Close && FData[I + 1] == '\n')
                        ++I;
                    FField += "\r\n";
                } else if (C == '~' && FTilde) {
                    FField += "\r\n";
                } else {
                    FField += C;
                }
            }
            // What follows the closing quote up to the delimiter is not part of the field.
            FAt = Close + 1;
            while (FAt < N && !IsStop(FData[FAt]))
                ++FAt;
            return;
        }
        const std::size_t Start = FAt;
        while (FAt < N && !IsStop(FData[FAt]))
            ++FAt;
        FField.assign(FData, Start, FAt - Start);
        if (FTilde)
            TildeToCRLF(FField);
    }

    // The position of the first quote from From that is not doubled; npos when none.
    std::size_t ClosingQuote(std::size_t From) const
    {
        std::size_t I = From;
        for (;;) {
            I = FData.find('"', I);
            if (I == std::string::npos)
                return I;
            if (I + 1 < FData.size() && FData[I + 1] == '"') {
                I += 2;
                continue;
            }
            return I;
        }
    }

    const std::string& FData;
    char FDelimiter;
    bool FTilde;
    std::size_t FAt = 0;
    std::string FField;
};

} // namespace

void TAdvStringGrid::LoadFromCSV(const std::string& FileName)
{
    std::string Data = AdvGridIO::ReadWholeFile(FileName);
    const int ColOffset = IncludeFixedCells ? 0 : FixedCols();
    const int RowOffset = IncludeFixedCells ? 0 : FixedRows();
    const char Delimiter = CSVDelimiter != '\0' ? CSVDelimiter : DetectDelimiter(Data);
    // The OEM code pages leave ASCII as it is, so quotes, delimiters and line ends stay put.
    if (OemConvert())
        OemToAnsiText(Data);

    int Records = 0;
    {
        TCsvScanner Counter(Data, Delimiter, false);
        while (!Counter.AtEnd()) {
            Counter.Record([](int, const std::string&) {});
            ++Records;
        }
    }

    const int Hidden = NumHiddenColumns();
    const int OldCols = ColCount() + Hidden;
    const int OldRows = RowCount();
    SetRowCount(RowOffset + Records);
    std::vector<int> FieldCounts(std::size_t(Records), 0);
    AdvGridIO::TProgress Progress(this, OnFileProgress);
    TCsvScanner Scanner(Data, Delimiter, TildeLineBreaks);
    for (int R = 0; R < Records; ++R) {
        const int Row = RowOffset + R;
        int& Count = FieldCounts[std::size_t(R)];
        Scanner.Record([&](int Number, const std::string& Text) {
            const int Col = ColOffset + Number;
            if (ColCount() < Col + 1)
                SetColCount(Col + 1);
            SetCells(Col, Row, Text);
            Count = Number + 1;
        });
        Progress.Report(R + 1, Records);
    }

    // Whatever the file did not fill in the loaded range goes, stale cells beyond the old
    // counts included.
    const int ClearCols = std::max(OldCols, ColCount() + Hidden);
    const int ClearRows = std::max(OldRows, RowCount());
    for (int Row = RowOffset; Row < ClearRows; ++Row) {
        const int From = Row - RowOffset < Records
                             ? ColOffset + FieldCounts[std::size_t(Row - RowOffset)]
                             : ColOffset;
        for (int Col = From; Col < ClearCols; ++Col)
            if (!Cells(Col, Row).empty())
                SetCells(Col, Row, std::string());
    }
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
    AfterCellsLoaded();
}
