// mail/mspars.cpp: header lines, encoded words, mail addresses and dates.
#include "mail/mspars.h"

#include "mail/msmime.h"
#include "mail/msutils.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"

#include <cctype>

namespace {

constexpr std::size_t NotFound = std::string::npos;

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

bool IsWhite(char C)
{
    return C == ' ' || C == '\t' || C == '\r' || C == '\n';
}

char UpperChar(char C)
{
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}

// Whether Line begins with Prefix, ASCII case folded.
bool StartsWithText(const std::string& Line, const std::string& Prefix)
{
    if (Line.size() < Prefix.size())
        return false;
    for (std::size_t I = 0; I < Prefix.size(); ++I)
        if (UpperChar(Line[I]) != UpperChar(Prefix[I]))
            return false;
    return true;
}

bool IsContinuation(const std::string& Line)
{
    return !Line.empty() && IsBlank(Line[0]);
}

std::string WithColon(const std::string& Name)
{
    return !Name.empty() && Name.back() == ':' ? Name : Name + ":";
}

// The first position at or after From where Pattern occurs, for searches whose starting
// points never decrease: each search resumes where the last one found, so a long line with
// many false starts is still read once.
class TForwardFinder {
public:
    TForwardFinder(const std::string& Text, const char* Pattern) : FText(Text), FPattern(Pattern) {}
    std::size_t From(std::size_t Start)
    {
        if (!FValid || (FFound != NotFound && FFound < Start)) {
            FFound = FText.find(FPattern, Start);
            FValid = true;
        }
        return FFound;
    }

private:
    const std::string& FText;
    const char* FPattern;
    std::size_t FFound = NotFound;
    bool FValid = false;
};

class TForwardWhiteFinder {
public:
    explicit TForwardWhiteFinder(const std::string& Text) : FText(Text) {}
    std::size_t From(std::size_t Start)
    {
        if (!FValid || (FFound != NotFound && FFound < Start)) {
            FFound = FText.find_first_of(" \t\r\n", Start);
            FValid = true;
        }
        return FFound;
    }

private:
    const std::string& FText;
    std::size_t FFound = NotFound;
    bool FValid = false;
};

// The bytes of one encoded text; raises EMessageParserError when it does not decode.
bool DecodeWordText(char Encoding, std::string Text, std::string& Decoded)
{
    switch (Encoding) {
    case 'B':
    case 'b':
        Decoded = Base64Decode(Text);
        return true;
    case 'Q':
    case 'q':
        for (char& C : Text)
            if (C == '_')
                C = ' ';
        Decoded = QPDecodeWord(Text);
        return true;
    default:
        return false;
    }
}

// Splits a field value into its addresses at commas that stand outside quotes, comments,
// angle and square brackets; a group "name: a, b;" gives its members.
void SplitAddressList(const std::string& Value, TStrings* List)
{
    std::string Item;
    bool InQuote = false;
    int Comment = 0;
    bool InAngle = false;
    bool InSquare = false;
    auto Flush = [&] {
        const std::string S = Trim(Item);
        if (!S.empty())
            List->Add(DecodeHeaderWords(S));
        Item.clear();
    };
    for (std::size_t I = 0; I < Value.size(); ++I) {
        const char C = Value[I];
        if (InQuote) {
            Item += C;
            if (C == '\\' && I + 1 < Value.size())
                Item += Value[++I];
            else if (C == '"')
                InQuote = false;
            continue;
        }
        if (Comment > 0) {
            Item += C;
            if (C == '\\' && I + 1 < Value.size())
                Item += Value[++I];
            else if (C == '(')
                ++Comment;
            else if (C == ')')
                --Comment;
            continue;
        }
        const bool TopLevel = !InAngle && !InSquare;
        if (C == '"')
            InQuote = true;
        else if (C == '(')
            Comment = 1;
        else if (C == '<')
            InAngle = true;
        else if (C == '>')
            InAngle = false;
        else if (C == '[')
            InSquare = true;
        else if (C == ']')
            InSquare = false;
        else if (TopLevel && (C == ',' || C == ';')) {
            Flush();
            continue;
        } else if (TopLevel && C == ':') {
            // A group's name: its members follow.
            Item.clear();
            continue;
        }
        Item += C;
    }
    Flush();
}

bool ReadNumber(const std::string& S, std::size_t& I, int MaxDigits, int& Value)
{
    const std::size_t Start = I;
    Value = 0;
    while (I < S.size() && std::isdigit(static_cast<unsigned char>(S[I]))) {
        if (static_cast<int>(I - Start) == MaxDigits)
            return false;
        Value = Value * 10 + (S[I] - '0');
        ++I;
    }
    return I > Start;
}

// "h:mm" or "h:mm:ss", always with ":" whatever the locale says.
bool ReadMailTime(const std::string& S, TDateTime& Time)
{
    std::size_t I = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    if (!ReadNumber(S, I, 2, Hour) || I >= S.size() || S[I++] != ':' ||
        !ReadNumber(S, I, 2, Minute))
        return false;
    if (I < S.size() && S[I] == ':') {
        ++I;
        if (!ReadNumber(S, I, 2, Second))
            return false;
    }
    if (I != S.size())
        return false;
    return TryEncodeTime(static_cast<Word>(Hour), static_cast<Word>(Minute),
                         static_cast<Word>(Second), 0, Time);
}

} // namespace

std::string DecodeHeaderWords(const std::string& Text)
{
    if (Text.find("=?") == NotFound)
        return Text;
    std::string Result;
    Result.reserve(Text.size());
    TForwardFinder Question(Text, "?");
    TForwardFinder WordEnd(Text, "?=");
    TForwardWhiteFinder CharsetBlank(Text);
    TForwardWhiteFinder TextBlank(Text);
    std::size_t Done = 0; // Text before this is in Result
    bool AfterWord = false;
    std::size_t Start = 0;
    while ((Start = Text.find("=?", Start)) != NotFound) {
        // "=?" charset "?" letter "?" text "?=", with no blank inside.
        const std::size_t CharsetEnd = Question.From(Start + 2);
        if (CharsetEnd == NotFound)
            break;
        std::size_t End = NotFound;
        if (CharsetEnd > Start + 2 && CharsetBlank.From(Start + 2) > CharsetEnd &&
            CharsetEnd + 2 < Text.size() && Text[CharsetEnd + 2] == '?') {
            End = WordEnd.From(CharsetEnd + 3);
            if (End != NotFound && TextBlank.From(CharsetEnd + 3) < End)
                End = NotFound;
        }
        std::string Decoded;
        bool Ok = false;
        if (End != NotFound) {
            try {
                Ok = DecodeWordText(Text[CharsetEnd + 1],
                                    Text.substr(CharsetEnd + 3, End - CharsetEnd - 3), Decoded);
            } catch (const EMessageParserError&) {
                Ok = false; // the word stays as written
            }
        }
        if (!Ok) {
            ++Start;
            continue;
        }
        // White space between two encoded words is not part of the text.
        bool OnlyWhite = AfterWord;
        for (std::size_t I = Done; OnlyWhite && I < Start; ++I)
            OnlyWhite = IsWhite(Text[I]);
        if (!OnlyWhite)
            Result.append(Text, Done, Start - Done);
        Result += Decoded;
        AfterWord = true;
        Start = Done = End + 2;
    }
    Result.append(Text, Done, NotFound);
    return Result;
}

std::string ZevHeaders::GetFieldValue(const std::string& Name) const
{
    const std::string Field = WithColon(Name);
    const int LineCount = Count();
    for (int I = 0; I < LineCount; ++I) {
        const std::string Line = Get(I);
        if (!StartsWithText(Line, Field))
            continue;
        std::string Value = Trim(Line.substr(Field.size()));
        for (int J = I + 1; J < LineCount; ++J) {
            const std::string Next = Get(J);
            if (!IsContinuation(Next))
                break;
            const std::string Part = Trim(Next);
            if (Part.empty())
                continue;
            if (!Value.empty())
                Value += ' ';
            Value += Part;
        }
        const std::string Bare = Field.substr(0, Field.size() - 1);
        if (SameText(Bare, "Content-Type") || SameText(Bare, "X-UIDL"))
            return Value;
        return DecodeHeaderWords(Value);
    }
    return "";
}

void ZevHeaders::GetFieldList(const std::string& Name, TStrings* List) const
{
    List->BeginUpdate();
    try {
        List->Clear();
        const std::string Field =
            !Name.empty() && Name.back() == ':' ? Name.substr(0, Name.size() - 1) : Name;
        const int LineCount = Count();
        for (int I = 0; I < LineCount; ++I) {
            const std::string Line = Get(I);
            const std::size_t Colon = Line.find(':');
            if (Colon == NotFound || IsContinuation(Line) ||
                !SameText(TrimRight(Line.substr(0, Colon)), Field))
                continue;
            std::string Value = Line.substr(Colon + 1);
            while (I + 1 < LineCount && IsContinuation(Get(I + 1)))
                Value += Get(++I);
            SplitAddressList(Value, List);
        }
    } catch (...) {
        List->EndUpdate();
        throw;
    }
    List->EndUpdate();
}

void ZevHeaders::DeleteField(const std::string& Name)
{
    const std::string Field = WithColon(Name);
    const int LineCount = Count();
    for (int I = 0; I < LineCount; ++I) {
        if (!StartsWithText(Get(I), Field))
            continue;
        int End = I + 1;
        while (End < LineCount && IsContinuation(Get(End)))
            ++End;
        // One pass over the list, however many continuation lines go.
        std::vector<std::string> Kept;
        Kept.reserve(static_cast<std::size_t>(LineCount - (End - I)));
        for (int J = 0; J < LineCount; ++J)
            if (J < I || J >= End)
                Kept.push_back(Get(J));
        AssignLines(this, Kept);
        return;
    }
}

void ZevHeaders::StripBody()
{
    const int LineCount = Count();
    for (int I = 0; I < LineCount; ++I) {
        if (!Get(I).empty())
            continue;
        BeginUpdate();
        for (int J = LineCount - 1; J >= I; --J)
            Delete(J);
        EndUpdate();
        return;
    }
}

TMailAddressEditor ZevMailAddress::Editor;

bool ZevMailAddress::Edit()
{
    if (!Editor)
        return false;
    ZevMailAddress Copy;
    Copy.Assign(this);
    if (!Editor(&Copy))
        return false;
    Assign(&Copy);
    return true;
}

void ZevMailAddress::Assign(const TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const ZevMailAddress*>(Source)) {
        Name = Other->Name;
        Address = Other->Address;
        return;
    }
    TPersistent::Assign(Source);
}

void ZevMailAddress::Clear()
{
    Name.clear();
    Address.clear();
}

ZevMailAddress* ZevAddressList::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[static_cast<std::size_t>(Index)].get();
}

ZevMailAddress* ZevAddressList::Add()
{
    FItems.push_back(std::make_unique<ZevMailAddress>());
    return FItems.back().get();
}

ZevMailAddress* ZevAddressList::Add(const std::string& Name, const std::string& Address)
{
    ZevMailAddress* Item = Add();
    Item->Name = Name;
    Item->Address = Address;
    return Item;
}

void ZevAddressList::Clear()
{
    FItems.clear();
}

void ZevAddressList::Assign(const TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const ZevAddressList*>(Source)) {
        if (Other == this)
            return;
        Clear();
        for (const auto& Item : Other->FItems)
            Add()->Assign(Item.get());
        return;
    }
    TPersistent::Assign(Source);
}

void ParseMailAddress(const std::string& Text, ZevMailAddress* Address)
{
    if (Address == nullptr)
        return;
    // The first "<" outside a quoted display name.
    std::size_t Open = NotFound;
    bool InQuote = false;
    for (std::size_t I = 0; I < Text.size() && Open == NotFound; ++I) {
        if (Text[I] == '"')
            InQuote = !InQuote;
        else if (Text[I] == '<' && !InQuote)
            Open = I;
    }
    if (Open == NotFound)
        Open = Text.find('<');
    if (Open != NotFound) {
        const std::size_t Close = Text.find('>', Open);
        if (Close == NotFound) {
            Address->Address.clear();
            Address->Name = Unquote(Text);
            return;
        }
        Address->Address = Unquote(Text.substr(Open + 1, Close - Open - 1));
        Address->Name = Unquote(Text.substr(0, Open) + Text.substr(Close + 1));
        return;
    }
    const std::size_t Paren = Text.find('(');
    if (Paren != NotFound) {
        Address->Address = Unquote(Text.substr(0, Paren));
        std::string Name = TrimRight(Text.substr(Paren + 1));
        if (!Name.empty() && Name.back() == ')')
            Name.pop_back();
        Address->Name = Unquote(Name);
        return;
    }
    Address->Address = Text;
    Address->Name.clear();
}

void SplitMailAddress(const std::string& Text, std::string& EmailAddress, std::string& DisplayName)
{
    ZevMailAddress Address;
    ParseMailAddress(Text, &Address);
    EmailAddress = Address.Address;
    DisplayName = Address.Name;
}

void ParseMailDate(const std::string& Text, TDateTime& DateTime, std::string& Zone)
{
    static const char* const Months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    DateTime = 0;
    Zone.clear();
    const std::string S = UpperCase(Unquote(Text));
    auto IsDigit = [&](std::size_t I) {
        return std::isdigit(static_cast<unsigned char>(S[I])) != 0;
    };
    // The weekday, if any, is what comes before the first digit.
    std::size_t I = 0;
    while (I < S.size() && !IsDigit(I))
        ++I;
    int Day = 0;
    if (!ReadNumber(S, I, 2, Day))
        return;
    while (I < S.size() && (IsBlank(S[I]) || S[I] == '-' || S[I] == '/' || S[I] == ','))
        ++I;
    int Month = 0;
    for (int M = 0; M < 12 && Month == 0; ++M)
        if (S.compare(I, 3, Months[M]) == 0)
            Month = M + 1;
    if (Month == 0)
        return;
    while (I < S.size() && std::isalpha(static_cast<unsigned char>(S[I])))
        ++I;
    while (I < S.size() && (IsBlank(S[I]) || S[I] == '-' || S[I] == '/' || S[I] == ','))
        ++I;
    const std::size_t YearStart = I;
    int Year = 0;
    if (!ReadNumber(S, I, 4, Year))
        return;
    switch (I - YearStart) {
    case 1:
    case 2:
        Year += Year > 50 ? 1900 : 2000;
        break;
    case 3: // years counted from 1900, as some programs wrote them
        Year += 1900;
        break;
    default:
        break;
    }
    TDateTime Date = 0;
    if (!TryEncodeDate(static_cast<Word>(Year), static_cast<Word>(Month), static_cast<Word>(Day),
                       Date))
        return;
    while (I < S.size() && (IsBlank(S[I]) || S[I] == ','))
        ++I;
    std::string Rest = S.substr(I);
    TDateTime Time = 0;
    // A time is the word that holds a colon; a date without one has only a zone.
    const std::size_t WordEnd = Rest.find_first_of(" \t");
    std::string TimeText = Rest.substr(0, WordEnd);
    if (TimeText.find(':') != NotFound) {
        if (!TimeText.empty() && TimeText.back() == ',')
            TimeText.pop_back();
        if (!ReadMailTime(TimeText, Time))
            Time = 0;
        Rest = WordEnd == NotFound ? std::string() : Rest.substr(WordEnd);
    }
    DateTime = Date + Time;
    Zone = Trim(Rest);
}
