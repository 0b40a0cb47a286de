// controls/grid/advutilfilter.cpp: the row filter's condition matcher: comparisons, wildcard
// patterns and terms joined by "&", ";" and "^".
#include "controls/grid/advutil.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/strings.h"

#include <vector>

namespace {

bool IsJoiner(char C)
{
    return C == '&' || C == ';' || C == '^';
}

// The operand of a comparison starting at From: blanks skipped, up to the next blank, "&", "|"
// or the end. No length limit.
std::string ComparisonOperand(const std::string& Term, std::size_t From)
{
    while (From < Term.size() && Term[From] == ' ')
        ++From;
    const std::size_t End = Term.find_first_of(" &|", From);
    return Term.substr(From, End == std::string::npos ? std::string::npos : End - From);
}

bool ToFloat(const std::string& Text, double& Value)
{
    if (Text.empty())
        return false;
    int Code = 0;
    Val(Text, Value, Code);
    return Code == 0;
}

// <0, 0 or >0: as numbers when both are numbers, else as dates, else byte-wise as texts.
int CompareOperands(const std::string& Value, const std::string& Operand,
                    const TFormatSettings& Settings)
{
    double A = 0;
    double B = 0;
    if (ToFloat(Value, A) && ToFloat(Operand, B))
        return A < B ? -1 : (A > B ? 1 : 0);
    TDateTime DA = 0;
    TDateTime DB = 0;
    if (ParseLocaleDate(Value, DA, Settings) && ParseLocaleDate(Operand, DB, Settings))
        return DA < DB ? -1 : (DA > DB ? 1 : 0);
    return CompareStr(Value, Operand);
}

// Whether the comparison at the first Op of Term holds; false when Term has no Op.
bool ComparisonHolds(const std::string& Term, const std::string& Value, char Op,
                     const TFormatSettings& Settings)
{
    const std::size_t At = Term.find(Op);
    if (At == std::string::npos)
        return false;
    const bool Inclusive = At + 1 < Term.size() && Term[At + 1] == '=';
    const std::string Operand = ComparisonOperand(Term, At + (Inclusive ? 2 : 1));
    const int Order = CompareOperands(Value, Operand, Settings);
    if (Op == '>')
        return Inclusive ? Order >= 0 : Order > 0;
    return Inclusive ? Order <= 0 : Order < 0;
}

// Wildcard matching by rows of a table over the value's prefixes: time grows with the product of
// the lengths, whatever the stars. Row[j] says whether the pattern so far matches the first j
// characters of the value.
class TWildcardRows {
public:
    explicit TWildcardRows(const std::string& Value) : FValue(Value), FRow(Value.size() + 1, 0)
    {
        FRow[0] = 1;
    }

    void Step(char P)
    {
        std::vector<char> Next(FRow.size(), 0);
        if (P == '*') {
            Next[0] = FRow[0];
            for (std::size_t J = 1; J < Next.size(); ++J)
                Next[J] = FRow[J] || Next[J - 1];
        } else {
            for (std::size_t J = 1; J < Next.size(); ++J)
                Next[J] = FRow[J - 1] && (P == '?' || P == FValue[J - 1]);
        }
        FRow.swap(Next);
    }

    bool Whole() const { return FRow.back() != 0; }

    bool AnyPrefix() const
    {
        for (const char C : FRow)
            if (C)
                return true;
        return false;
    }

private:
    const std::string& FValue;
    std::vector<char> FRow;
};

// "*" any run, "?" one character, "!" skipped; the result is inverted when the pattern before
// the first "!" matches the start of the value (so a leading "!" negates the whole pattern).
bool MatchWildcards(const std::string& Pattern, const std::string& Value)
{
    TWildcardRows Rows(Value);
    bool Inverted = false;
    bool SeenBang = false;
    for (const char P : Pattern) {
        if (P == '!') {
            if (!SeenBang)
                Inverted = Rows.AnyPrefix();
            SeenBang = true;
            continue;
        }
        Rows.Step(P);
    }
    return Rows.Whole() != Inverted;
}

} // namespace

bool MatchFilterPattern(const std::string& Term, const std::string& Value,
                        const TFormatSettings& Settings)
{
    if (ComparisonHolds(Term, Value, '>', Settings) || ComparisonHolds(Term, Value, '<', Settings))
        return true;
    return MatchWildcards(Term, Value);
}

bool MatchFilterTerm(const std::string& Term, const std::string& Value, bool CaseSensitive,
                     const TFormatSettings& Settings)
{
    if (CaseSensitive)
        return MatchFilterPattern(Term, Value, Settings);
    return MatchFilterPattern(AnsiUpperCase(Term), AnsiUpperCase(Value), Settings);
}

bool MatchFilterCondition(const std::string& Condition, const std::string& Value,
                          bool CaseSensitive, const TFormatSettings& Settings)
{
    // Blanks around the joiners go; blanks inside a term stay.
    const std::string Trimmed = Trim(Condition);
    std::string Packed;
    for (std::size_t I = 0; I < Trimmed.size(); ++I) {
        const char C = Trimmed[I];
        if (C == ' ') {
            std::size_t Next = I;
            while (Next < Trimmed.size() && Trimmed[Next] == ' ')
                ++Next;
            const bool AfterJoiner = !Packed.empty() && IsJoiner(Packed.back());
            const bool BeforeJoiner = Next < Trimmed.size() && IsJoiner(Trimmed[Next]);
            if (AfterJoiner || BeforeJoiner) {
                I = Next - 1;
                continue;
            }
        }
        Packed += C;
    }

    bool Result = false;
    bool First = true;
    char Joiner = '&';
    std::size_t Start = 0;
    while (true) {
        const std::size_t End = Packed.find_first_of("&;^", Start);
        const std::string Term =
            Packed.substr(Start, End == std::string::npos ? std::string::npos : End - Start);
        const bool Match = MatchFilterTerm(Term, Value, CaseSensitive, Settings);
        if (First)
            Result = Match;
        else if (Joiner == '&')
            Result = Result && Match;
        else
            Result = Result || Match;
        First = false;
        if (End == std::string::npos)
            break;
        Joiner = Packed[End];
        Start = End + 1;
    }
    return Result;
}
