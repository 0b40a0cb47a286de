// Copy, cut and paste of cell blocks as tab-separated text (and the top-left cell's rich text),
// and the smart paste that fills a selection or continues a series over it.
#include "controls/grid/advgrid.h"

#include "controls/grid/advgridhtml.h"
#include "controls/grid/advutil.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/globalmemory.h"
#include "platform/rtl/strings.h"
#include "platform/ui/clipboard.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const char* const RichTextFormatName = "Rich Text Format";

bool Holds(const std::string& Text, const char* Part)
{
    return Text.find(Part) != std::string::npos;
}

bool Holds(const std::string& Text, char Ch)
{
    return Ch != '\0' && Text.find(Ch) != std::string::npos;
}

// The lines of a pasted text: split at each CR, an LF right after it belonging to the break.
// Ended tells whether the text ended with a line break (its empty remainder is not a line).
std::vector<std::string> SplitLines(const std::string& Text, bool& Ended)
{
    std::vector<std::string> Lines;
    std::size_t Start = 0;
    Ended = false;
    while (Start <= Text.size()) {
        const std::size_t Cr = Text.find('\r', Start);
        if (Cr == std::string::npos) {
            if (Start < Text.size() || Lines.empty())
                Lines.push_back(Text.substr(Start));
            else
                Ended = true;
            break;
        }
        Lines.push_back(Text.substr(Start, Cr - Start));
        Start = Cr + 1;
        if (Start < Text.size() && Text[Start] == '\n')
            ++Start;
    }
    return Lines;
}

std::vector<std::string> SplitFields(const std::string& Line)
{
    std::vector<std::string> Fields;
    std::size_t Start = 0;
    for (;;) {
        const std::size_t Tab = Line.find('\t', Start);
        if (Tab == std::string::npos) {
            Fields.push_back(Line.substr(Start));
            return Fields;
        }
        Fields.push_back(Line.substr(Start, Tab - Start));
        Start = Tab + 1;
    }
}

// A field quoted by the copy of a multi-line cell back to its lines.
void UnquoteMultiLine(std::string& Field)
{
    if (!Holds(Field, '\n'))
        return;
    if (!Field.empty() && Field.front() == '"')
        Field.erase(0, 1);
    if (!Field.empty() && Field.back() == '"' && Field.find('"') == Field.size() - 1)
        Field.pop_back();
    LFToCRLF(Field);
}

} // namespace

std::string TAdvStringGrid::ClipboardCellText(int ACol, int ARow, bool Copying)
{
    std::string Text = Cells(ACol, ARow);
    // Rich-text cells travel as their text until the grid has its rich edit.
    if (Copying && !Navigation()->CopyHTMLTagsToClipboard && Holds(Text, "</"))
        Text = HtmlToPlainText(Text);
    if (QuoteMultiLineClipboard && LineCount(Text, Multilinecells()) > 1)
        QuoteMultiLineText(Text);
    return Text;
}

std::string TAdvStringGrid::BlockText(const TGridRect& Block, bool Disjunct, bool Copying)
{
    std::string Text;
    for (int R = Block.Top; R <= Block.Bottom; ++R) {
        if (Disjunct && !RowSelected(R))
            continue;
        for (int C = Block.Left; C <= Block.Right; ++C) {
            Text += ClipboardCellText(RealColIndex(C), R, Copying);
            Text += C < Block.Right ? "\t" : "\r\n";
        }
    }
    return Text;
}

void TAdvStringGrid::CopyBlock(const TGridRect& Block, bool Disjunct)
{
    FClipTopLeft = TPoint{Block.Left, Block.Top};
    Clipboard()->SetAsText(BlockText(Block, Disjunct, true));
    if (!Navigation()->AllowRTFClipboard)
        return;
    const std::string Rich = Cells(RealColIndex(Block.Left), Block.Top);
    if (!Holds(Rich, "{\\"))
        return;
    const HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, Rich.size() + 1);
    if (Mem == 0)
        return;
    if (auto* Bytes = static_cast<char*>(GlobalLock(Mem))) {
        std::memcpy(Bytes, Rich.c_str(), Rich.size() + 1);
        GlobalUnlock(Mem);
    }
    if (!OpenClipboard(HandleAllocated() ? WindowHandle() : 0)) {
        GlobalFree(Mem);
        return;
    }
    // The text stays: the rich text goes beside it.
    if (SetClipboardData(RegisterClipboardFormat(RichTextFormatName), Mem) == 0)
        GlobalFree(Mem);
    CloseClipboard();
}

void TAdvStringGrid::CopyToClipboard()
{
    if (MouseActions()->DisjunctRowSelect)
        CopyBlock(TGridRect{SaveColStart(), SaveRowStart(), SaveColEnd(), SaveRowEnd()}, true);
    else
        CopyBlock(Selection(), false);
    FClipCopied = true;
}

void TAdvStringGrid::CutToClipboard()
{
    CopyToClipboard();
    if (MouseActions()->DisjunctRowSelect) {
        for (int R = FixedRows(); R < RowCount(); ++R)
            if (RowSelected(R))
                ClearRows(R, 1);
    } else {
        const TGridRect Sel = Selection();
        for (int R = Sel.Top; R <= Sel.Bottom; ++R)
            for (int C = Sel.Left; C <= Sel.Right; ++C) {
                const int Real = RealColIndex(C);
                if (Navigation()->AllowClipboardAlways || CellEditable(Real, R))
                    SetCells(Real, R, "");
            }
    }
    FClipCopied = false;
}

std::string TAdvStringGrid::SelectionText()
{
    TGridRect Sel = Selection();
    if (Options().Contains(goRowSelect) && OleEntireRows()) {
        Sel.Left = 0;
        Sel.Right = ColCount() - 1;
    }
    const bool Disjunct = MouseActions()->DisjunctRowSelect;
    if (Disjunct) {
        Sel.Top = FixedRows();
        Sel.Bottom = RowCount() - 1;
    }
    return BlockText(Sel, Disjunct, false);
}

TPoint TAdvStringGrid::TextBlockSize(const std::string& Text)
{
    bool Ended = false;
    const std::vector<std::string> Lines = SplitLines(Text, Ended);
    int Cols = 0;
    for (const std::string& Line : Lines)
        Cols = std::max(Cols, static_cast<int>(std::count(Line.begin(), Line.end(), '\t')) + 1);
    return TPoint{Cols, std::max(1, static_cast<int>(Lines.size()))};
}

int TAdvStringGrid::PasteText(int ACol, int ARow, const std::string& Text)
{
    const bool Always = Navigation()->AllowClipboardAlways;
    if (ACol < 0 || ARow < 0 || (!Options().Contains(goEditing) && !Always))
        return 0;
    bool Ended = false;
    const std::vector<std::string> Lines = SplitLines(Text, Ended);
    int Fields = 0;
    int MaxCol = ACol;
    int MaxRow = ARow;
    int R = ARow;
    std::size_t L = 0;
    for (; L < Lines.size(); ++L) {
        if (R >= RowCount())
            break;
        std::vector<std::string> Line = SplitFields(Lines[L]);
        int C = ACol;
        for (std::string& Field : Line) {
            // The field that ends the line is quoted as the others are: a multi-line cell of a
            // block's last column comes back as it went.
            if (QuoteMultiLineClipboard)
                UnquoteMultiLine(Field);
            if (C >= ColCount() && Navigation()->AllowClipboardColGrow)
                SetColCount(C + 1);
            if (C < ColCount()) {
                const int Real = RealColIndex(C);
                if (Always || CellEditable(Real, R))
                    SetCells(Real, R, Field);
                MaxCol = std::max(MaxCol, C);
            }
            ++Fields;
            ++C;
        }
        MaxRow = R;
        ++R;
        // Only a line that follows grows the grid: the empty rest after the last break does not.
        if (R == RowCount() && L + 1 < Lines.size() && Navigation()->AllowClipboardRowGrow)
            SetRowCount(RowCount() + 1);
    }
    // The empty rest after the last break counts when every line was taken.
    if (Ended && L == Lines.size())
        ++Fields;
    PasteNotify(FClipTopLeft, TGridRect{ACol, ARow, MaxCol, MaxRow}, FClipCopied);
    CellsChanged(TRect{ACol, ARow, MaxCol, MaxRow});
    return Fields;
}

int TAdvStringGrid::PasteAt(int ACol, int ARow)
{
    const UINT RichFormat = RegisterClipboardFormat(RichTextFormatName);
    if (Navigation()->AllowRTFClipboard && Clipboard()->HasFormat(RichFormat)) {
        std::string Rich;
        Clipboard()->Open();
        const HANDLE Data = GetClipboardData(RichFormat);
        if (const auto* Bytes = static_cast<const char*>(Data ? GlobalLock(Data) : nullptr)) {
            Rich.assign(Bytes, strnlen(Bytes, GlobalSize(Data)));
            GlobalUnlock(Data);
        }
        Clipboard()->Close();
        if (ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount() &&
            CellEditable(RealColIndex(ACol), ARow))
            SetCells(RealColIndex(ACol), ARow, Rich);
        return 0;
    }
    if (Clipboard()->HasFormat(CF_TEXT))
        return PasteText(ACol, ARow, Clipboard()->AsText());
    return 0;
}

void TAdvStringGrid::FillSeries(const TGridRect& Sel, const std::string& First,
                                const std::string& Second)
{
    const TFormatSettings& FS = FormatSettings;
    enum { Dates, Decimals, Integers } Kind;
    TDateTime Current = 0, DateStep = 0;
    int Years = 0, Months = 0, Days = 0;
    double Value = 0, Step = 0;
    int IntValue = 0, IntStep = 0;
    if ((Holds(First, FS.DateSeparator) || Holds(First, FS.TimeSeparator)) &&
        (Holds(Second, FS.DateSeparator) || Holds(Second, FS.TimeSeparator))) {
        Kind = Dates;
        Current = StrToDateTime(First);
        const TDateTime Next = StrToDateTime(Second);
        DateStep = Next - Current;
        Word Y1, M1, D1, Y2, M2, D2;
        DecodeDate(Current, Y1, M1, D1);
        DecodeDate(Next, Y2, M2, D2);
        Years = int(Y2) - int(Y1);
        Months = int(M2) - int(M1);
        Days = int(D2) - int(D1);
    } else if (Holds(First, FS.DecimalSeparator) || Holds(Second, FS.DecimalSeparator)) {
        Kind = Decimals;
        Value = StrToFloat(First);
        Step = StrToFloat(Second) - Value;
    } else {
        int Next = 0;
        if (!TryStrToInt(First, IntValue) || !TryStrToInt(Second, Next))
            return;
        Kind = Integers;
        IntStep = Next - IntValue;
    }
    const bool DateText = Holds(First, FS.DateSeparator);
    for (int C = Sel.Left; C <= Sel.Right; ++C)
        for (int R = Sel.Top; R <= Sel.Bottom; ++R) {
            const int Real = RealColIndex(C);
            const bool Write = CellEditable(Real, R);
            switch (Kind) {
            case Dates:
                if (Write)
                    SetCells(Real, R, DateText ? DateToStr(Current) : TimeToStr(Current));
                Current = DateSeriesStep(Years, Months, Days, Current, DateStep);
                break;
            case Decimals:
                if (Write)
                    SetCells(Real, R, Format(FloatFormat(), Value));
                Value += Step;
                break;
            case Integers:
                if (Write)
                    SetCells(Real, R, IntToStr(IntValue));
                IntValue += IntStep;
                break;
            }
        }
}

void TAdvStringGrid::PasteFromClipboard()
{
    const TGridRect Sel = Selection();
    const int Pasted = PasteAt(Sel.Left, Sel.Top);
    if (!Navigation()->AllowSmartClipboard)
        return;
    const bool OneCol = Sel.Left == Sel.Right;
    const bool OneRow = Sel.Top == Sel.Bottom;
    const std::string First = Cells(RealColIndex(Sel.Left), Sel.Top);
    if (Pasted == 2 && !(OneCol && OneRow)) {
        for (int R = Sel.Top; R <= Sel.Bottom; ++R)
            for (int C = Sel.Left; C <= Sel.Right; ++C)
                if (CellEditable(RealColIndex(C), R))
                    SetCells(RealColIndex(C), R, First);
    } else if (Pasted == 3 && (OneCol || OneRow)) {
        std::string Second;
        if (OneRow && Sel.Left + 1 < ColCount())
            Second = Cells(RealColIndex(Sel.Left + 1), Sel.Top);
        else if (!OneRow && Sel.Top + 1 < RowCount())
            Second = Cells(RealColIndex(Sel.Left), Sel.Top + 1);
        FillSeries(Sel, First, Second);
    }
}
