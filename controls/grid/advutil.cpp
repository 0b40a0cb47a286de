// controls/grid/advutil.cpp: the text-field, cell-kind and line-break helpers of the grid.
#include "controls/grid/advutil.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/oemcodepage.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strings.h"

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';
constexpr char CodedLF = '\x08';
constexpr char CodedCR = '\x09';
constexpr char Esc = '\x1b';

// Whether the plain coding (CR as #9, LF as #8) gives this text back: every CR and LF belongs to
// a CR LF pair, the text holds no #8 or #9 of its own and does not start with ESC.
bool PlainCodingRoundTrips(const std::string& Text)
{
    if (!Text.empty() && Text[0] == Esc)
        return false;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const char C = Text[I];
        if (C == CodedLF || C == CodedCR)
            return false;
        if (C == CR && (I + 1 >= Text.size() || Text[I + 1] != LF))
            return false;
        if (C == LF && (I == 0 || Text[I - 1] != CR))
            return false;
    }
    return true;
}

std::string EscapeText(const std::string& Text)
{
    std::string Result(1, Esc);
    for (const char C : Text) {
        switch (C) {
        case Esc:
            Result += "\x1b"
                      "e";
            break;
        case CR:
            Result += "\x1b"
                      "r";
            break;
        case LF:
            Result += "\x1b"
                      "n";
            break;
        case CodedLF:
            Result += "\x1b"
                      "b";
            break;
        case CodedCR:
            Result += "\x1b"
                      "t";
            break;
        default:
            Result += C;
        }
    }
    return Result;
}

// The text after the leading ESC with its escapes undone; an escape that is not one of ours is
// kept as it stands.
std::string UnescapeText(const std::string& Text)
{
    std::string Result;
    for (std::size_t I = 1; I < Text.size(); ++I) {
        if (Text[I] != Esc || I + 1 >= Text.size()) {
            Result += Text[I];
            continue;
        }
        char Plain = 0;
        switch (Text[I + 1]) {
        case 'e':
            Plain = Esc;
            break;
        case 'r':
            Plain = CR;
            break;
        case 'n':
            Plain = LF;
            break;
        case 'b':
            Plain = CodedLF;
            break;
        case 't':
            Plain = CodedCR;
            break;
        default:
            Result += Text[I];
            continue;
        }
        Result += Plain;
        ++I;
    }
    return Result;
}

} // namespace

std::string CutField(std::string& Text, const std::string& Delimiter)
{
    const int P = Pos(Delimiter, Text);
    if (P == 0)
        return "";
    std::string Result = Copy(Text, 1, P - 1);
    Delete(Text, 1, P);
    return Result;
}

std::string JoinLines(const TStrings* Lines)
{
    std::string Result;
    for (int I = 0; I < Lines->Count(); ++I)
        Result += Lines->Strings(I);
    return Result;
}

char FirstCharInSet(const std::string& Set, const std::string& Text)
{
    for (const char C : Text)
        if (Set.find(C) != std::string::npos)
            return C;
    return '\0';
}

bool IsInGridRect(const TGridRect& Rect, int Col, int Row)
{
    return Rect.Left <= Col && Col <= Rect.Right && Rect.Top <= Row && Row <= Rect.Bottom;
}

int PosSingleChar(char Ch, const std::string& Text)
{
    const int Length = static_cast<int>(Text.size());
    for (int I = 1; I <= Length; ++I) {
        if (Text[I - 1] != Ch)
            continue;
        if (I == Length)
            return I;
        if (Text[I] != Ch && (I == 1 || Text[I - 2] != Ch))
            return I;
    }
    return 0;
}

int CountSingleChar(char Ch, const std::string& Text)
{
    std::string Rest = Text;
    int Count = 0;
    for (int P = PosSingleChar(Ch, Rest); P > 0; P = PosSingleChar(Ch, Rest)) {
        ++Count;
        Delete(Rest, 1, P);
    }
    return Count;
}

std::string CollapseCharRuns(char Ch, const std::string& Text)
{
    std::string Result;
    Result.reserve(Text.size());
    for (const char C : Text)
        if (C != Ch || Result.empty() || Result.back() != Ch)
            Result += C;
    return Result;
}

void FillWithChar(std::string& Text, char Ch)
{
    Text.assign(Text.size(), Ch);
}

char LoCaseChar(char Ch)
{
    return Ch >= 'A' && Ch <= 'Z' ? static_cast<char>(Ch - 'A' + 'a') : Ch;
}

int CellTextKind(const std::string& Text, bool CheckHtml)
{
    if (Text.size() < 2)
        return ctkPlain;
    if (Text[0] == '=')
        return ctkFormula;
    if (Text.compare(0, 2, "{\\") == 0)
        return ctkRichText;
    if (CheckHtml && (Pos("</", Text) > 0 || Pos("<B", Text) > 0 || Pos("<I", Text) > 0))
        return ctkHtml;
    return ctkPlain;
}

bool IsUrlText(const std::string& Text)
{
    return Pos("://", Text) > 0 || Pos("mailto:", Text) > 0;
}

void StripUrlPrefix(std::string& Text)
{
    if (const int P = Pos("://", Text); P > 0)
        Delete(Text, 1, P + 2);
    else if (const int M = Pos("mailto:", Text); M > 0)
        Delete(Text, 1, M + 6);
}

bool ParseCellReference(const std::string& Text, TGridCoord& Cell)
{
    const std::string S = UpperCase(Text);
    if (S.size() <= 3 || S[0] != 'R')
        return false;
    const std::size_t C = S.find('C', 1);
    if (C == std::string::npos)
        return false;
    const std::string RowText = S.substr(1, C - 1);
    const std::string ColText = S.substr(C + 1);
    auto AllDigits = [](const std::string& Digits) {
        return !Digits.empty() && Digits.find_first_not_of("0123456789") == std::string::npos;
    };
    int Row = 0;
    int Col = 0;
    if (!AllDigits(RowText) || !AllDigits(ColText) || !TryStrToInt(RowText, Row) ||
        !TryStrToInt(ColText, Col))
        return false;
    Cell.X = Col;
    Cell.Y = Row;
    return true;
}

std::string EncodeLineBreaks(const std::string& Text)
{
    if (!PlainCodingRoundTrips(Text))
        return EscapeText(Text);
    std::string Result = Text;
    for (char& C : Result) {
        if (C == CR)
            C = CodedCR;
        else if (C == LF)
            C = CodedLF;
    }
    return Result;
}

std::string DecodeLineBreaks(const std::string& Text, bool MultiLine)
{
    std::string Result;
    if (!Text.empty() && Text[0] == Esc) {
        Result = UnescapeText(Text);
    } else {
        Result = Text;
        if (Result.find(CodedLF) != std::string::npos) {
            for (char& C : Result) {
                if (C == CodedCR)
                    C = CR;
                else if (C == CodedLF)
                    C = LF;
            }
        }
    }
    if (MultiLine)
        return Result;
    std::string Line;
    CutFirstLine(Result, false, Line);
    return Line;
}

void CutFirstLine(std::string& Text, bool KeepRest, std::string& Line)
{
    const std::size_t P = Text.find(CR);
    if (P == std::string::npos) {
        Line = Text;
        Text.clear();
        return;
    }
    Line = Text.substr(0, P);
    if (!KeepRest) {
        Text.clear();
        return;
    }
    std::size_t RestStart = P + 1;
    if (RestStart < Text.size() && Text[RestStart] == LF)
        ++RestStart;
    Text.erase(0, RestStart);
}

int LineCount(const std::string& Text, bool MultiLine)
{
    if (!MultiLine)
        return 1;
    int Count = 1;
    for (const char C : Text)
        if (C == CR)
            ++Count;
    return Count;
}

std::string ExpandNewlineEscapes(const std::string& Text)
{
    std::string Result;
    Result.reserve(Text.size());
    for (std::size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] == '\\' && I + 1 < Text.size() && Text[I + 1] == 'n') {
            Result += CR;
            ++I;
        } else {
            Result += Text[I];
        }
    }
    return Result;
}

void QuoteMultiLineText(std::string& Text)
{
    std::string Result = "\"";
    for (std::size_t I = 0; I < Text.size(); ++I)
        if (!(Text[I] == CR && I + 1 < Text.size() && Text[I + 1] == LF))
            Result += Text[I];
    Result += '"';
    Text = Result;
}

void LFToCRLF(std::string& Text)
{
    if (Text.find(LF) == std::string::npos)
        return;
    Text = StringReplace(Text, "\n", "\r\n", rfReplaceAll);
}

void TildeToCRLF(std::string& Text)
{
    Text = StringReplace(Text, "~", "\r\n", rfReplaceAll);
}

void OemToAnsiText(std::string& Text)
{
    Text = OemToUtf8(Text, OemCodePage());
}

std::string CapitalizeName(const std::string& Text)
{
    const int Length = static_cast<int>(Text.size());
    std::string Result;
    Result.reserve(Text.size());
    bool WordStart = true;
    for (int I = 1; I <= Length; ++I) {
        const char C = Text[I - 1];
        if (C == ' ' || C == '\'' || C == ',' || C == '-' || C == '.') {
            Result += C;
            WordStart = true;
        } else if (WordStart) {
            Result += C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
            WordStart = false;
        } else {
            Result += LoCaseChar(C);
        }
        // Mc names and a trailing roman numeral keep their capitals.
        const std::size_t Mc = Result.find(" Mc");
        if (Result == "Mc" || (Mc != std::string::npos && Mc + 3 == Result.size()))
            WordStart = true;
        const auto EndsWith = [&](const char* Tail) {
            const std::string T = Tail;
            return Result.size() >= T.size() &&
                   Result.compare(Result.size() - T.size(), T.size(), T) == 0;
        };
        if (I > Length - 3 && (EndsWith(" I") || EndsWith(" II")))
            WordStart = true;
    }
    return Result;
}
