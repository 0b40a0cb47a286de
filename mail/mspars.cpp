// mail/mspars.cpp: header lines, encoded words, mail addresses and dates.
#include "mail/mspars.h"

#include "mail/msmime.h"
#include "mail/msutils.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"

#include <algorithm>
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

// The Q encoding of RFC 2047: "_" is a space and "=" with two hexadecimal digits is that byte.
// Encoded line breaks are kept here, so that a word reads the same as its B-encoded twin.
std::string DecodeQText(const std::string& Text)
{
    std::string Result;
    Result.reserve(Text.size());
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const char C = Text[I];
        if (C == '_') {
            Result += ' ';
        } else if (C == '=' && I + 2 < Text.size() && HexDigitValue(Text[I + 1]) >= 0 &&
                   HexDigitValue(Text[I + 2]) >= 0) {
            Result +=
                static_cast<char>(HexDigitValue(Text[I + 1]) * 16 + HexDigitValue(Text[I + 2]));
            I += 2;
        } else {
            Result += C;
        }
    }
    return Result;
}

// The bytes of one encoded text; raises EMessageParserError when it does not decode.
bool DecodeWordText(char Encoding, const std::string& Text, std::string& Decoded)
{
    switch (Encoding) {
    case 'B':
    case 'b':
        Decoded = Base64Decode(Text);
        return true;
    case 'Q':
    case 'q':
        Decoded = DecodeQText(Text);
        return true;
    default:
        return false;
    }
}

// A header value is one line: each line break (CR LF, CR or LF) reads as one space, so that a
// rule that reads it cannot be dodged by a break hidden in an encoded word.
std::string OneLine(const std::string& Text)
{
    return ReplaceLineBreaks(Text, " ");
}

// Address fields are read as RFC 5322 reads them: a quoted string and a comment (nested, with
// backslash escapes) are each one unit, so that no "<", "@" or "," inside them counts. An
// unclosed one runs to the end of the text.
std::size_t QuotedEnd(const std::string& Text, std::size_t Start)
{
    for (std::size_t I = Start + 1; I < Text.size(); ++I) {
        if (Text[I] == '\\')
            ++I;
        else if (Text[I] == '"')
            return I + 1;
    }
    return Text.size();
}

std::size_t CommentEnd(const std::string& Text, std::size_t Start, bool& Closed)
{
    std::size_t Depth = 0;
    for (std::size_t I = Start; I < Text.size(); ++I) {
        const char C = Text[I];
        if (C == '\\') {
            ++I;
        } else if (C == '(') {
            ++Depth;
        } else if (C == ')' && --Depth == 0) {
            Closed = true;
            return I + 1;
        }
    }
    Closed = false;
    return Text.size();
}

std::size_t CommentEnd(const std::string& Text, std::size_t Start)
{
    bool Closed = false;
    return CommentEnd(Text, Start, Closed);
}

// The first "<" outside quoted strings and comments.
std::size_t FindAngle(const std::string& Text)
{
    std::size_t I = 0;
    while (I < Text.size()) {
        if (Text[I] == '"')
            I = QuotedEnd(Text, I);
        else if (Text[I] == '(')
            I = CommentEnd(Text, I);
        else if (Text[I] == '<')
            return I;
        else
            ++I;
    }
    return NotFound;
}

// The ">" that closes the "<" at Open; a quoted local part may hold one.
std::size_t FindAngleClose(const std::string& Text, std::size_t Open)
{
    std::size_t I = Open + 1;
    while (I < Text.size()) {
        if (Text[I] == '"')
            I = QuotedEnd(Text, I);
        else if (Text[I] == '>')
            return I;
        else
            ++I;
    }
    return NotFound;
}

bool IsAddressField(const std::string& Name)
{
    static const char* const Fields[] = {"From",      "Sender",    "Reply-To",    "To",
                                         "Cc",        "Bcc",       "Resent-From", "Resent-Sender",
                                         "Resent-To", "Resent-Cc", "Resent-Bcc"};
    for (const char* Field : Fields)
        if (SameText(Name, Field))
            return true;
    return false;
}

// A display name (or a group's name) with its encoded words decoded. Decoded text is written
// as a quoted string when it holds a character that means something in an address, so that a
// name can never turn into an address: "=?x?Q?=3Cboss=40x=3E?= <a@b>" stays a@b's.
std::string DecodePhraseWords(const std::string& Phrase)
{
    if (Phrase.find("=?") == NotFound)
        return Phrase;
    // Quoted strings count by their contents: mailers put encoded words inside quotes.
    std::string Plain;
    std::size_t I = 0;
    while (I < Phrase.size()) {
        if (Phrase[I] == '(') {
            const std::size_t End = CommentEnd(Phrase, I);
            Plain.append(Phrase, I, End - I);
            I = End;
        } else if (Phrase[I] == '"') {
            const std::size_t End = QuotedEnd(Phrase, I);
            const std::size_t Last = End > I + 1 && Phrase[End - 1] == '"' ? End - 1 : End;
            for (std::size_t J = I + 1; J < Last; ++J) {
                if (Phrase[J] == '\\' && J + 1 < Last)
                    ++J;
                Plain += Phrase[J];
            }
            I = End;
        } else {
            Plain += Phrase[I++];
        }
    }
    const std::string Decoded = DecodeHeaderWords(Plain);
    if (Decoded == Plain)
        return Phrase;
    const std::string Core = Trim(Decoded);
    const std::size_t First = Phrase.find_first_not_of(" \t");
    const std::size_t Last = Phrase.find_last_not_of(" \t");
    std::string Result = Phrase.substr(0, First);
    if (!Core.empty() && Core.find_first_of("()<>[]:;@\\,.\"") == NotFound) {
        Result += Core;
    } else {
        Result += '"';
        for (const char C : Core) {
            if (C == '"' || C == '\\')
                Result += '\\';
            Result += C;
        }
        Result += '"';
    }
    if (Last != NotFound)
        Result.append(Phrase, Last + 1, NotFound);
    return Result;
}

// Appends the comment Text[Start, End) with the encoded words of its text decoded; what they
// decode to is escaped, so that the comment ends where it ended before.
void AppendCommentWords(const std::string& Text, std::size_t Start, std::size_t End,
                        std::string& Out)
{
    std::size_t RunStart = Start;
    auto FlushRun = [&](std::size_t RunEnd) {
        const std::string Run = Text.substr(RunStart, RunEnd - RunStart);
        const std::string Decoded = DecodeHeaderWords(Run);
        if (Decoded == Run) {
            Out += Run;
            return;
        }
        for (const char C : Decoded) {
            if (C == '(' || C == ')' || C == '\\')
                Out += '\\';
            Out += C;
        }
    };
    for (std::size_t I = Start; I < End; ++I) {
        const char C = Text[I];
        if (C != '(' && C != ')' && C != '\\')
            continue;
        FlushRun(I);
        const std::size_t Next = C == '\\' ? std::min(I + 2, End) : I + 1;
        Out.append(Text, I, Next - I);
        RunStart = Next;
        I = Next - 1;
    }
    FlushRun(End);
}

// One mailbox of an address field with the encoded words of its display name and comments
// decoded; the address itself is left as written (RFC 2047, section 6.2).
std::string DecodeMailboxWords(const std::string& Item)
{
    if (Item.find("=?") == NotFound)
        return Item;
    const std::size_t Open = FindAngle(Item);
    const std::size_t Close = Open == NotFound ? NotFound : FindAngleClose(Item, Open);
    std::string Result;
    std::size_t I = 0;
    if (Open != NotFound) {
        Result = DecodePhraseWords(Item.substr(0, Open));
        I = Open;
    }
    while (I < Item.size()) {
        const char C = Item[I];
        const bool InAngle = Open != NotFound && I > Open && (Close == NotFound || I < Close);
        if (C == '"') {
            const std::size_t End = QuotedEnd(Item, I);
            Result.append(Item, I, End - I);
            I = End;
        } else if (C == '(' && !InAngle) {
            const std::size_t End = CommentEnd(Item, I);
            AppendCommentWords(Item, I, End, Result);
            I = End;
        } else {
            Result += C;
            ++I;
        }
    }
    return Result;
}

// Calls Piece with each part of an address field and the separator after it ('\0' after the
// last): commas and semicolons end a mailbox, a colon ends a group's name. Only separators
// outside quotes, comments, angle and square brackets count.
template <class TPieceHandler>
void ForEachAddressPiece(const std::string& Value, TPieceHandler&& Piece)
{
    bool InAngle = false;
    bool InSquare = false;
    std::size_t Start = 0;
    std::size_t I = 0;
    while (I < Value.size()) {
        const char C = Value[I];
        if (C == '"') {
            I = QuotedEnd(Value, I);
            continue;
        }
        if (C == '(') {
            I = CommentEnd(Value, I);
            continue;
        }
        if (C == '<')
            InAngle = true;
        else if (C == '>')
            InAngle = false;
        else if (C == '[')
            InSquare = true;
        else if (C == ']')
            InSquare = false;
        else if (!InAngle && !InSquare && (C == ',' || C == ';' || C == ':')) {
            Piece(Value.substr(Start, I - Start), C);
            Start = I + 1;
        }
        ++I;
    }
    Piece(Value.substr(Start), '\0');
}

// An address field's value with the encoded words decoded as DecodeMailboxWords does, the
// separators and groups kept as written.
std::string DecodeAddressField(const std::string& Value)
{
    if (Value.find("=?") == NotFound)
        return Value;
    std::string Result;
    ForEachAddressPiece(Value, [&](const std::string& Piece, char Separator) {
        Result += Separator == ':' ? DecodePhraseWords(Piece) : DecodeMailboxWords(Piece);
        if (Separator != '\0')
            Result += Separator;
    });
    return Result;
}

// Splits a field value into its mailboxes; a group "name: a, b;" gives its members.
void SplitAddressList(const std::string& Value, TStrings* List)
{
    ForEachAddressPiece(Value, [&](const std::string& Piece, char Separator) {
        if (Separator == ':')
            return; // a group's name: its members follow
        const std::string Item = Trim(Piece);
        if (!Item.empty())
            List->Add(DecodeMailboxWords(Item));
    });
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
    std::size_t Done = 0; // Text before this is in Result or Run
    bool AfterWord = false;
    // The decoded text of adjacent words, joined before its line breaks are read, so that a CR
    // ending one word and an LF starting the next are one break.
    std::string Run;
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
        if (!OnlyWhite) {
            Result += OneLine(Run);
            Run.clear();
            Result.append(Text, Done, Start - Done);
        }
        Run += Decoded;
        AfterWord = true;
        Start = Done = End + 2;
    }
    Result += OneLine(Run);
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
        // An address field is split into its mailboxes before anything is decoded, so that
        // decoded text can never stand for an address.
        return OneLine(IsAddressField(Bare) ? DecodeAddressField(Value) : DecodeHeaderWords(Value));
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
    // "Name <address>": only a "<" outside quotes and comments opens the address.
    const std::size_t Open = FindAngle(Text);
    if (Open != NotFound) {
        const std::size_t Close = FindAngleClose(Text, Open);
        if (Close == NotFound) {
            Address->Address.clear();
            Address->Name = Unquote(Text);
            return;
        }
        Address->Address = Trim(Text.substr(Open + 1, Close - Open - 1));
        Address->Name = Unquote(Text.substr(0, Open) + Text.substr(Close + 1));
        return;
    }
    // "address (Name)", "(Name) address" or a bare address. Words are split at blanks and
    // comments outside quotes; the address is the first word with an "@" outside quotes, or
    // all the words when none has one.
    std::size_t AddressStart = NotFound;
    std::size_t AddressEnd = NotFound;
    std::string Words;
    std::string Comments;
    bool OtherWords = false;
    std::size_t I = 0;
    while (I < Text.size()) {
        if (IsWhite(Text[I])) {
            ++I;
            continue;
        }
        if (Text[I] == '(') {
            bool Closed = false;
            const std::size_t End = CommentEnd(Text, I, Closed);
            if (!Comments.empty())
                Comments += ' ';
            Comments.append(Text, I + 1, End - I - 1 - (Closed ? 1 : 0));
            I = End;
            continue;
        }
        const std::size_t Start = I;
        bool HasAt = false;
        while (I < Text.size() && !IsWhite(Text[I]) && Text[I] != '(') {
            if (Text[I] == '"') {
                I = QuotedEnd(Text, I);
                continue;
            }
            HasAt = HasAt || Text[I] == '@';
            ++I;
        }
        if (HasAt && AddressStart == NotFound) {
            AddressStart = Start;
            AddressEnd = I;
        } else {
            OtherWords = true;
        }
        if (!Words.empty())
            Words += ' ';
        Words.append(Text, Start, I - Start);
    }
    if (AddressStart == NotFound) {
        Address->Address = Words;
        Address->Name = Unquote(Comments);
        return;
    }
    Address->Address = Text.substr(AddressStart, AddressEnd - AddressStart);
    // Words beside the address are a display name without its angle brackets.
    Address->Name = OtherWords ? Unquote(Text.substr(0, AddressStart) + Text.substr(AddressEnd))
                               : Unquote(Comments);
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
    // Before 30 December 1899 the time of day counts away from zero, as the date does.
    DateTime = Date;
    ReplaceTime(DateTime, Time);
    Zone = Trim(Rest);
}
