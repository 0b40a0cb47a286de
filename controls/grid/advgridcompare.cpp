// The comparison of two cells by their column's sort style, and the keys a sort reads each cell
// into once.
#include "controls/grid/advgridhtml.h"
#include "controls/grid/advgridsortint.h"
#include "controls/grid/advutil.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strings.h"

#include <algorithm>

namespace advgridsort {

namespace {

constexpr TSortStyle MaxStyle = 14;

bool IsDigitChar(char C)
{
    return C >= '0' && C <= '9';
}

int Sign(int Value)
{
    return Value < 0 ? -1 : (Value > 0 ? 1 : 0);
}

template <class T>
int CompareValues(T A, T B)
{
    return A < B ? -1 : (B < A ? 1 : 0);
}

// What the automatic style becomes for a cell: numeric, date, or plain text.
TSortStyle AutoStyle(const std::string& Text)
{
    if (NumberTextKind(Text) != 2)
        return 2;
    const std::size_t Slash = Text.find('/');
    if ((Slash == 1 || Slash == 2) && Slash + 1 < Text.size() && IsDigitChar(Text[Slash - 1]) &&
        IsDigitChar(Text[Slash + 1]))
        return 3;
    return 1;
}

void RemoveFirst(std::string& Text, const std::string& Part)
{
    if (Part.empty())
        return;
    const std::size_t At = Text.find(Part);
    if (At != std::string::npos)
        Text.erase(At, Part.size());
}

// Styles 2 and 9: prefix and suffix off, separators normalised, then read. An empty cell is 0.
void ReadNumber(const std::string& Text, const TColumnFormat& Format, bool DropThousands,
                TCellKey& Key)
{
    std::string S = Text;
    RemoveFirst(S, Format.Prefix);
    RemoveFirst(S, Format.Suffix);
    if (DropThousands && FormatSettings.ThousandSeparator != '\0')
        S.erase(std::remove(S.begin(), S.end(), FormatSettings.ThousandSeparator), S.end());
    if (FormatSettings.DecimalSeparator != '.') {
        const std::size_t At = S.find(FormatSettings.DecimalSeparator);
        if (At != std::string::npos)
            S[At] = '.';
    }
    double Value = 0;
    int Code = 0;
    Val(S, Value, Code);
    Key.NumberOk = Code == 0 || Text.empty();
    Key.Number = Code == 0 ? Value : 0;
}

// A date that does not read, or does not exist, is the zero date.
TDateTime ReadDate(const std::string& Text, TSortStyle Style)
{
    if (Style == 3) {
        TDateTime Value = 0;
        return TryStrToDateTime(Text, Value) ? Value : 0;
    }
    try {
        return Style == 6 ? ParseDateDMY(Text) : ParseDateMDY(Text);
    } catch (const EConvertError&) {
        return 0;
    }
}

void MakeKey(TAdvStringGrid& Grid, int ACol, int ARow, const std::string& Text,
             const TColumnFormat& Format, TSortStyle Style, bool NeedNumber, bool NeedDate,
             TCellKey& Key)
{
    Key.Empty = Text.empty();
    Key.Style = Style;
    switch (Format.Style) {
    case 0:
        Key.Text = Text;
        if (NeedNumber)
            ReadNumber(Text, Format, false, Key);
        if (NeedDate)
            Key.Date = ReadDate(Text, 3);
        break;
    case 2:
    case 9:
        ReadNumber(Text, Format, Format.Style == 9, Key);
        break;
    case 3:
    case 6:
    case 7:
        Key.Date = ReadDate(Text, Format.Style);
        break;
    case 4:
        Key.Text = AnsiUpperCase(Text);
        break;
    case 12:
        break;
    case 13:
        Key.Text = HtmlToPlainText(Text);
        break;
    case 14:
        Key.Number = Grid.GetGraphicSortKey(ACol, ARow);
        break;
    default:
        Key.Text = Text;
    }
}

int CompareByStyle(TAdvStringGrid& Grid, int ACol, TSortStyle Style, const TCellKey& K1,
                   const TCellKey& K2, int Row1, int Row2)
{
    switch (Style) {
    case 2:
    case 9:
        if (!K1.NumberOk || !K2.NumberOk)
            return 0;
        return CompareValues(K1.Number, K2.Number);
    case 3:
    case 6:
    case 7:
        return CompareValues(K1.Date, K2.Date);
    case 8: {
        int Res = 0;
        if (Grid.OnCustomCompare)
            Grid.OnCustomCompare(&Grid, K1.Text, K2.Text, Res);
        return Sign(Res);
    }
    case 10:
        return Sign(AnsiCompareStr(K1.Text, K2.Text));
    case 11:
        return Sign(AnsiCompareText(K1.Text, K2.Text));
    case 12: {
        int Res = 0;
        if (Grid.OnRawCompare)
            Grid.OnRawCompare(&Grid, ACol, Row1, Row2, Res);
        return Sign(Res);
    }
    case 14:
        return CompareValues(K1.Number, K2.Number);
    default:
        return Sign(K1.Text.compare(K2.Text));
    }
}

} // namespace

TColumnFormat ColumnFormat(TAdvStringGrid& Grid, int ACol)
{
    TColumnFormat Format;
    Format.Style = Grid.SortAutoFormat() ? 0 : 1;
    Grid.GetColumnFormat(ACol, Format.Style, Format.Prefix, Format.Suffix);
    // Styles without a comparison of their own compare as plain text.
    if (Format.Style < 0 || Format.Style > MaxStyle)
        Format.Style = 1;
    return Format;
}

void MakeColumnKeys(TAdvStringGrid& Grid, int ACol, int FirstRow,
                    const std::vector<const std::string*>& Texts, const TColumnFormat& Format,
                    std::vector<TCellKey>& Keys, bool NeedAll)
{
    Keys.resize(Texts.size());
    std::vector<TSortStyle> Styles(Texts.size(), Format.Style);
    bool NeedNumber = NeedAll;
    bool NeedDate = NeedAll;
    if (Format.Style == 0)
        for (std::size_t I = 0; I < Texts.size(); ++I) {
            Styles[I] = AutoStyle(*Texts[I]);
            NeedNumber = NeedNumber || Styles[I] == 2;
            NeedDate = NeedDate || Styles[I] == 3;
        }
    for (std::size_t I = 0; I < Texts.size(); ++I)
        MakeKey(Grid, ACol, FirstRow + static_cast<int>(I), *Texts[I], Format, Styles[I],
                NeedNumber, NeedDate, Keys[I]);
}

int CompareKeys(TAdvStringGrid& Grid, int ACol, const TCellKey& K1, const TCellKey& K2, int Row1,
                int Row2, bool Descending)
{
    const int Result = CompareByStyle(Grid, ACol, K1.Style, K1, K2, Row1, Row2);
    // An empty cell goes after every filled one, whatever the comparison said (a filled "0"
    // equals an empty cell numerically).
    if (Grid.SortIgnoreBlanks() && K1.Empty != K2.Empty)
        return (K1.Empty != Descending) ? 1 : -1;
    return Result;
}

} // namespace advgridsort

int TAdvStringGrid::CompareCells(int ACol, int ARow1, int ARow2)
{
    using namespace advgridsort;
    const TColumnFormat Format = ColumnFormat(*this, ACol);
    const std::string Text1 = Cells(ACol, ARow1);
    const std::string Text2 = Cells(ACol, ARow2);
    std::vector<TCellKey> Keys1;
    std::vector<TCellKey> Keys2;
    MakeColumnKeys(*this, ACol, ARow1, {&Text1}, Format, Keys1, true);
    MakeColumnKeys(*this, ACol, ARow2, {&Text2}, Format, Keys2, true);
    return CompareKeys(*this, ACol, Keys1[0], Keys2[0], ARow1, ARow2,
                       SortDirection() == sdDescending);
}
