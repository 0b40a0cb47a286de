// platform/stdctrls/editmask.cpp: the edit mask language, without windows.
#include "platform/stdctrls/editmask.h"

#include "platform/rtl/formatsettings.h"
#include "platform/stdctrls/edittext.h"

#include <algorithm>

namespace EditMask {

namespace {

bool IsMaskKind(char Ch)
{
    switch (Ch) {
    case mMskAlpha:
    case mMskAlphaOpt:
    case mMskAlphaNum:
    case mMskAlphaNumOpt:
    case mMskAscii:
    case mMskAsciiOpt:
    case mMskNumeric:
    case mMskNumericOpt:
    case mMskNumSymOpt:
        return true;
    default:
        return false;
    }
}

// The byte offset of the first unescaped field separator at or after From, npos when none.
std::size_t FieldSeparator(const std::string& Mask, std::size_t From)
{
    for (std::size_t I = From; I < Mask.size(); I = EditText::NextChar(Mask, I, false)) {
        if (Mask[I] == mDirLiteral) {
            I = EditText::NextChar(Mask, I, false);
            if (I >= Mask.size())
                break;
            continue;
        }
        if (Mask[I] == mMskFieldSeparator)
            return I;
    }
    return std::string::npos;
}

bool IsAsciiLetter(unsigned char Ch)
{
    return (Ch >= 'a' && Ch <= 'z') || (Ch >= 'A' && Ch <= 'Z');
}

bool IsDigit(unsigned char Ch)
{
    return Ch >= '0' && Ch <= '9';
}

// A letter outside ASCII: any well-formed multi-byte character.
bool IsWideLetter(const std::string& Ch)
{
    return Ch.size() > 1;
}

// A mask byte that starts no character shows as the replacement character, so that it cannot
// join its neighbour in the edit text.
std::string LiteralOf(const std::string& Ch)
{
    if (Ch.size() == 1 && static_cast<unsigned char>(Ch[0]) >= 0x80)
        return "\xEF\xBF\xBD";
    return Ch;
}

std::string Blanked(char Blank)
{
    return std::string(1, Blank);
}

} // namespace

std::vector<std::string> SplitChars(const std::string& S)
{
    std::vector<std::string> Chars;
    for (std::size_t I = 0; I < S.size();) {
        const std::size_t Next = EditText::NextChar(S, I, false);
        Chars.push_back(S.substr(I, Next - I));
        I = Next;
    }
    return Chars;
}

TParsedMask ParseMask(const std::string& Mask, char DateSeparator, char TimeSeparator)
{
    TParsedMask Result;
    const std::size_t First = FieldSeparator(Mask, 0);
    const std::string Body = Mask.substr(0, First);
    if (First != std::string::npos) {
        // The fields after the mask: save-literals, then the blank character.
        const std::size_t Second = FieldSeparator(Mask, First + 1);
        const std::string Save = Mask.substr(
            First + 1, Second == std::string::npos ? std::string::npos : Second - First - 1);
        if (!Save.empty() && Save[0] == mMskNoSaveLiterals)
            Result.SaveLiterals = false;
        if (Second != std::string::npos && Second + 1 < Mask.size() &&
            static_cast<unsigned char>(Mask[Second + 1]) >= 0x20 &&
            static_cast<unsigned char>(Mask[Second + 1]) < 0x80)
            Result.Blank = Mask[Second + 1];
    }
    TMaskCase Case = TMaskCase::Normal;
    for (std::size_t I = 0; I < Body.size();) {
        const std::size_t Next = EditText::NextChar(Body, I, false);
        const char Ch = Body[I];
        TMaskPosition Position;
        if (Next - I == 1 && Ch == mDirReverse) {
            Result.Reverse = true;
        } else if (Next - I == 1 && Ch == mDirUpperCase) {
            Case = TMaskCase::Upper;
        } else if (Next - I == 1 && Ch == mDirLowerCase) {
            // "<>" turns the forcing off.
            if (Next < Body.size() && Body[Next] == mDirUpperCase) {
                Case = TMaskCase::Normal;
                I = Next + 1;
                continue;
            }
            Case = TMaskCase::Lower;
        } else if (Next - I == 1 && Ch == mDirLiteral) {
            if (Next < Body.size()) {
                const std::size_t After = EditText::NextChar(Body, Next, false);
                Position.Text = LiteralOf(Body.substr(Next, After - Next));
                Result.Positions.push_back(Position);
                I = After;
                continue;
            }
        } else if (Next - I == 1 && IsMaskKind(Ch)) {
            Position.Literal = false;
            Position.Kind = Ch;
            Position.Case = Case;
            Result.Positions.push_back(Position);
        } else if (Next - I == 1 && Ch == mMskDateSeparator) {
            Position.Text = Blanked(DateSeparator);
            Result.Positions.push_back(Position);
        } else if (Next - I == 1 && Ch == mMskTimeSeparator) {
            Position.Text = Blanked(TimeSeparator);
            Result.Positions.push_back(Position);
        } else if (Next - I == 1 && Ch == mMskBlank) {
            Position.Text = " ";
            Result.Positions.push_back(Position);
        } else {
            Position.Text = LiteralOf(Body.substr(I, Next - I));
            Result.Positions.push_back(Position);
        }
        I = Next;
    }
    return Result;
}

TParsedMask ParseMask(const std::string& Mask)
{
    return ParseMask(Mask, FormatSettings.DateSeparator, FormatSettings.TimeSeparator);
}

bool IsRequired(const TMaskPosition& Position)
{
    switch (Position.Kind) {
    case mMskAlpha:
    case mMskAlphaNum:
    case mMskAscii:
    case mMskNumeric:
        return true;
    default:
        return false;
    }
}

bool Accepts(const TMaskPosition& Position, const std::string& Ch, std::string& Out)
{
    if (Position.Literal || Ch.empty())
        return false;
    const auto First = static_cast<unsigned char>(Ch[0]);
    const bool Single = Ch.size() == 1;
    // A byte that starts no character would join a neighbour into one when the text is read
    // back, moving every position after it.
    if (Single && First >= 0x80)
        return false;
    const bool Control = Single && (First < 0x20 || First == 0x7F);
    bool Ok = false;
    switch (Position.Kind) {
    case mMskAlpha:
    case mMskAlphaOpt:
        Ok = (Single && IsAsciiLetter(First)) || IsWideLetter(Ch);
        break;
    case mMskAlphaNum:
    case mMskAlphaNumOpt:
        Ok = (Single && (IsAsciiLetter(First) || IsDigit(First))) || IsWideLetter(Ch);
        break;
    case mMskAscii:
    case mMskAsciiOpt:
        Ok = !Control;
        break;
    case mMskNumeric:
    case mMskNumericOpt:
        Ok = Single && IsDigit(First);
        break;
    case mMskNumSymOpt:
        Ok = Single && (IsDigit(First) || First == '+' || First == '-');
        break;
    default:
        break;
    }
    if (!Ok)
        return false;
    Out = Ch;
    if (Single && Position.Case == TMaskCase::Upper && First >= 'a' && First <= 'z')
        Out[0] = static_cast<char>(First - 'a' + 'A');
    else if (Single && Position.Case == TMaskCase::Lower && First >= 'A' && First <= 'Z')
        Out[0] = static_cast<char>(First - 'A' + 'a');
    return true;
}

std::string EmptyEditText(const TParsedMask& Mask)
{
    std::string Result;
    for (const TMaskPosition& Position : Mask.Positions)
        Result += Position.Literal ? Position.Text : Blanked(Mask.Blank);
    return Result;
}

namespace {

// The characters for each position: literals from the mask, input positions from Fill in
// order (or aligned to the end with Reverse), blank where a character is refused or missing.
std::string Lay(const TParsedMask& Mask, const std::vector<std::string>& Fill, bool AllPositions,
                char Blank)
{
    const std::size_t Count = Mask.Positions.size();
    std::vector<std::size_t> Places;
    for (std::size_t I = 0; I < Count; ++I)
        if (AllPositions || !Mask.Positions[I].Literal)
            Places.push_back(I);
    std::vector<std::string> Cells(Count);
    const std::size_t Used = std::min(Places.size(), Fill.size());
    const std::size_t Skip = Mask.Reverse ? Places.size() - Used : 0;
    for (std::size_t K = 0; K < Used; ++K) {
        const std::size_t FillIndex = Mask.Reverse ? Fill.size() - Used + K : K;
        Cells[Places[Skip + K]] = Fill[FillIndex];
    }
    std::string Result;
    for (std::size_t I = 0; I < Count; ++I) {
        const TMaskPosition& Position = Mask.Positions[I];
        std::string Taken;
        if (Position.Literal)
            Result += Position.Text;
        else if (Cells[I] != Blanked(Blank) && Accepts(Position, Cells[I], Taken))
            Result += Taken;
        else
            Result += Blanked(Blank);
    }
    return Result;
}

} // namespace

std::string FormatValue(const TParsedMask& Mask, const std::string& Value, char Blank)
{
    return Lay(Mask, SplitChars(Value), Mask.SaveLiterals, Blank);
}

std::string ConformEditText(const TParsedMask& Mask, const std::string& EditText)
{
    std::vector<std::string> Chars = SplitChars(EditText);
    Chars.resize(std::min(Chars.size(), Mask.Positions.size()));
    TParsedMask Forward = Mask;
    Forward.Reverse = false;
    return Lay(Forward, Chars, true, Mask.Blank);
}

std::string ValueOf(const TParsedMask& Mask, const std::string& EditText)
{
    const std::vector<std::string> Chars = SplitChars(EditText);
    std::string Result;
    for (std::size_t I = 0; I < Mask.Positions.size() && I < Chars.size(); ++I) {
        const TMaskPosition& Position = Mask.Positions[I];
        if (Position.Literal) {
            if (Mask.SaveLiterals)
                Result += Chars[I];
        } else {
            Result += Chars[I] == Blanked(Mask.Blank) ? std::string(" ") : Chars[I];
        }
    }
    if (!Mask.SaveLiterals) {
        if (Mask.Reverse)
            Result.erase(0, std::min(Result.size(), Result.find_first_not_of(' ')));
        else
            Result.erase(Result.find_last_not_of(' ') + 1);
    }
    return Result;
}

std::string InputsOf(const TParsedMask& Mask, const std::string& EditText)
{
    const std::vector<std::string> Chars = SplitChars(EditText);
    std::string Result;
    for (std::size_t I = 0; I < Mask.Positions.size() && I < Chars.size(); ++I)
        if (!Mask.Positions[I].Literal)
            Result += Chars[I] == Blanked(Mask.Blank) ? std::string(" ") : Chars[I];
    return Result;
}

int FirstIncomplete(const TParsedMask& Mask, const std::string& EditText)
{
    const std::vector<std::string> Chars = SplitChars(EditText);
    for (std::size_t I = 0; I < Mask.Positions.size(); ++I) {
        const TMaskPosition& Position = Mask.Positions[I];
        if (!IsRequired(Position))
            continue;
        std::string Taken;
        if (I >= Chars.size() || Chars[I] == Blanked(Mask.Blank) || Chars[I] == " " ||
            !Accepts(Position, Chars[I], Taken))
            return static_cast<int>(I);
    }
    return -1;
}

namespace {

// The characters of EditText, one per position (missing ones blank).
std::vector<std::string> Cells(const TParsedMask& Mask, const std::string& EditText)
{
    std::vector<std::string> Chars = SplitChars(EditText);
    Chars.resize(Mask.Positions.size(), Blanked(Mask.Blank));
    return Chars;
}

std::string Join(const std::vector<std::string>& Chars)
{
    std::string Result;
    for (const std::string& Ch : Chars)
        Result += Ch;
    return Result;
}

int InputAtOrAfter(const TParsedMask& Mask, int Pos)
{
    const int Count = static_cast<int>(Mask.Positions.size());
    Pos = std::max(Pos, 0);
    while (Pos < Count && Mask.Positions[Pos].Literal)
        ++Pos;
    return std::min(Pos, Count);
}

} // namespace

std::string BlankRange(const TParsedMask& Mask, const std::string& EditText, int Start, int Stop)
{
    std::vector<std::string> Chars = Cells(Mask, EditText);
    const int Count = static_cast<int>(Mask.Positions.size());
    for (int I = std::max(Start, 0); I < Stop && I < Count; ++I)
        Chars[I] = Mask.Positions[I].Literal ? Mask.Positions[I].Text : Blanked(Mask.Blank);
    return Join(Chars);
}

bool TypeInto(const TParsedMask& Mask, std::string& EditText, int Start, int Stop,
              const std::string& Ch, int& Caret)
{
    const int Pos = InputAtOrAfter(Mask, Start);
    std::string Taken;
    if (Pos >= static_cast<int>(Mask.Positions.size()) || !Accepts(Mask.Positions[Pos], Ch, Taken))
        return false;
    std::vector<std::string> Chars =
        Cells(Mask, Stop - Start > 1 ? BlankRange(Mask, EditText, Start, Stop) : EditText);
    Chars[Pos] = Taken;
    EditText = Join(Chars);
    Caret = Pos + 1;
    return true;
}

std::string PasteInto(const TParsedMask& Mask, const std::string& EditText, int Start, int Stop,
                      const std::string& Value, int& Caret, bool& Refused)
{
    const int Count = static_cast<int>(Mask.Positions.size());
    std::vector<std::string> Chars = Cells(Mask, BlankRange(Mask, EditText, Start, Stop));
    int Pos = std::max(Start, 0);
    Refused = false;
    for (const std::string& Ch : SplitChars(Value)) {
        if (Pos < Count && Mask.Positions[Pos].Literal && Mask.Positions[Pos].Text == Ch) {
            ++Pos;
            continue;
        }
        const int At = InputAtOrAfter(Mask, Pos);
        if (At >= Count)
            break;
        std::string Taken;
        if (!Accepts(Mask.Positions[At], Ch, Taken)) {
            Refused = true;
            continue;
        }
        Chars[At] = Taken;
        Pos = At + 1;
    }
    Caret = std::min(Pos, Count);
    return Join(Chars);
}

std::string FormatMaskText(const std::string& EditMask, const std::string& Value)
{
    return FormatValue(ParseMask(EditMask), Value, ' ');
}

} // namespace EditMask
