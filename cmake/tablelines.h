// cmake/tablelines.h: reading the text tables of resources/ (lines "<id>=<text>") and building
// the "STR0" string-table layout from them. Used by the resource build step (rescomp.cpp) and
// by the tests of the entry-field library, so both agree on what a good table is.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace tablelines {

struct TLineError {
    int Line; // from 1
    std::string What;
};

inline bool ValidUtf8(const std::string& S)
{
    std::size_t I = 0;
    while (I < S.size()) {
        unsigned char C = S[I];
        int Extra;
        unsigned long Code;
        if (C < 0x80) {
            ++I;
            continue;
        } else if ((C & 0xE0) == 0xC0) {
            Extra = 1;
            Code = C & 0x1F;
        } else if ((C & 0xF0) == 0xE0) {
            Extra = 2;
            Code = C & 0x0F;
        } else if ((C & 0xF8) == 0xF0) {
            Extra = 3;
            Code = C & 0x07;
        } else {
            return false;
        }
        if (I + Extra >= S.size())
            return false;
        for (int K = 1; K <= Extra; ++K) {
            unsigned char Next = S[I + K];
            if ((Next & 0xC0) != 0x80)
                return false;
            Code = (Code << 6) | (Next & 0x3F);
        }
        static const unsigned long Least[] = {0, 0x80, 0x800, 0x10000};
        if (Code < Least[Extra] || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
            return false;
        I += Extra + 1;
    }
    return true;
}

inline std::string TrimBlanks(const std::string& S)
{
    std::size_t First = S.find_first_not_of(" \t");
    if (First == std::string::npos)
        return std::string();
    std::size_t Last = S.find_last_not_of(" \t");
    return S.substr(First, Last - First + 1);
}

// Turns \n, \t and \\ into their characters; false on any other backslash.
inline bool Unescape(const std::string& Text, std::string& Result, std::string& Problem)
{
    Result.clear();
    for (std::size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] != '\\') {
            Result += Text[I];
            continue;
        }
        if (I + 1 == Text.size()) {
            Problem = "a backslash ends the line (write \\\\ for a backslash)";
            return false;
        }
        char Next = Text[++I];
        if (Next == 'n')
            Result += '\n';
        else if (Next == 't')
            Result += '\t';
        else if (Next == '\\')
            Result += '\\';
        else {
            Problem = std::string("unknown escape \\") + Next + " (only \\n, \\t and \\\\ exist)";
            return false;
        }
    }
    return true;
}

struct TTableLine {
    int Line;
    std::string IdText; // trimmed, as written
    std::string Text;   // unescaped, valid UTF-8
};

// The "<id>=<text>" lines of a table file's contents: "#" starts a comment line, blank lines are
// skipped, a UTF-8 byte order mark at the start is dropped. Ill-formed lines go to Errors.
inline std::vector<TTableLine> ReadTableLines(std::string Data, std::vector<TLineError>& Errors)
{
    std::vector<TTableLine> Lines;
    if (Data.compare(0, 3, "\xEF\xBB\xBF") == 0)
        Data.erase(0, 3);
    std::istringstream In(Data);
    std::string Line;
    int LineNo = 0;
    while (std::getline(In, Line)) {
        ++LineNo;
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        std::string Trimmed = TrimBlanks(Line);
        if (Trimmed.empty() || Trimmed[0] == '#')
            continue;
        std::size_t Equals = Line.find('=');
        if (Equals == std::string::npos) {
            Errors.push_back(TLineError{LineNo, "expected <id>=<text>"});
            continue;
        }
        std::string Text, Problem;
        if (!Unescape(Line.substr(Equals + 1), Text, Problem)) {
            Errors.push_back(TLineError{LineNo, Problem});
            continue;
        }
        if (!ValidUtf8(Text)) {
            Errors.push_back(TLineError{LineNo, "the text is not valid UTF-8"});
            continue;
        }
        Lines.push_back(TTableLine{LineNo, TrimBlanks(Line.substr(0, Equals)), Text});
    }
    return Lines;
}

// A decimal id, optionally negative, within signed 32 bits.
inline bool ParseStr0Id(const std::string& Text, std::int32_t& Id)
{
    std::size_t Start = !Text.empty() && Text[0] == '-' ? 1 : 0;
    if (Text.size() == Start || Text.size() - Start > 10 ||
        !std::all_of(Text.begin() + static_cast<std::ptrdiff_t>(Start), Text.end(),
                     [](char C) { return C >= '0' && C <= '9'; }))
        return false;
    long long Value = std::stoll(Text);
    if (Value < INT32_MIN || Value > INT32_MAX)
        return false;
    Id = static_cast<std::int32_t>(Value);
    return true;
}

inline void AppendUtf16(std::string& Out, unsigned Unit)
{
    Out += static_cast<char>(Unit & 0xFF);
    Out += static_cast<char>(Unit >> 8);
}

// Valid UTF-8 as UTF-16LE code units; returns the number of units.
inline std::size_t AppendUtf16Text(std::string& Out, const std::string& Utf8)
{
    std::size_t Units = 0;
    for (std::size_t I = 0; I < Utf8.size();) {
        unsigned char C = Utf8[I];
        int Extra = C < 0x80 ? 0 : C < 0xE0 ? 1 : C < 0xF0 ? 2 : 3;
        unsigned long Code = Extra == 0 ? C : C & (0x3F >> Extra);
        for (int K = 1; K <= Extra; ++K)
            Code = (Code << 6) | (static_cast<unsigned char>(Utf8[I + K]) & 0x3F);
        I += static_cast<std::size_t>(Extra) + 1;
        if (Code >= 0x10000) {
            Code -= 0x10000;
            AppendUtf16(Out, static_cast<unsigned>(0xD800 + (Code >> 10)));
            AppendUtf16(Out, static_cast<unsigned>(0xDC00 + (Code & 0x3FF)));
            Units += 2;
        } else {
            AppendUtf16(Out, static_cast<unsigned>(Code));
            ++Units;
        }
    }
    return Units;
}

inline void AppendInt32(std::string& Out, std::uint32_t Value)
{
    for (int Shift = 0; Shift < 32; Shift += 8)
        Out += static_cast<char>((Value >> Shift) & 0xFF);
}

// A "STR0" table from the contents of a .txt table: the signature, the count, the index sorted
// by id and the UTF-16LE texts end to end behind it. A bad line or a repeated id goes to Errors;
// the result is meaningful only when Errors stayed empty.
inline std::string BuildStr0Table(const std::string& Data, std::vector<TLineError>& Errors)
{
    std::map<std::int32_t, const TTableLine*> ById;
    const std::vector<TTableLine> Lines = ReadTableLines(Data, Errors);
    for (const TTableLine& Line : Lines) {
        std::int32_t Id = 0;
        if (!ParseStr0Id(Line.IdText, Id)) {
            Errors.push_back(TLineError{Line.Line, "the string id \"" + Line.IdText +
                                                       "\" is not a decimal number of 32 bits"});
            continue;
        }
        auto Found = ById.find(Id);
        if (Found != ById.end()) {
            Errors.push_back(TLineError{Line.Line, "duplicate string id " + Line.IdText +
                                                       " (first defined at line " +
                                                       std::to_string(Found->second->Line) + ")"});
            continue;
        }
        ById[Id] = &Line;
    }

    std::string Texts;
    std::string Table = "STR0";
    AppendInt32(Table, static_cast<std::uint32_t>(ById.size()));
    const std::size_t TextStart = 8 + 12 * ById.size();
    for (const auto& Entry : ById) {
        const std::size_t Offset = TextStart + Texts.size();
        const std::size_t Units = AppendUtf16Text(Texts, Entry.second->Text);
        AppendInt32(Table, static_cast<std::uint32_t>(Entry.first));
        AppendInt32(Table, static_cast<std::uint32_t>(Offset));
        AppendInt32(Table, static_cast<std::uint32_t>(Units));
    }
    if (TextStart + Texts.size() > static_cast<std::size_t>(INT32_MAX))
        Errors.push_back(TLineError{0, "the table is larger than 2 GB"});
    return Table + Texts;
}

} // namespace tablelines
