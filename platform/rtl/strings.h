// platform/rtl/strings.h: string routines with the classic 1-based positions, so that
// algorithms read as written. Plain UpperCase/LowerCase/CompareText fold ASCII only; the Ansi
// routines fold and compare per code point when the text is valid UTF-8 and byte by byte as
// Windows-1252 otherwise.
#pragma once

#include <cstddef>
#include <string>

// Position (from 1) of the first Sub in S, 0 when absent or when Sub is empty.
int Pos(const std::string& Sub, const std::string& S);
// As Pos, starting the search at Offset (from 1); 0 when Offset is out of range.
int PosEx(const std::string& Sub, const std::string& S, int Offset = 1);
// Count characters from Index (from 1), clamped to the string; an Index below 1 counts as 1;
// empty when Index is past the end or Count is not positive.
std::string Copy(const std::string& S, int Index, int Count);
// Removes Count characters from Index (from 1); nothing when Index is out of range.
void Delete(std::string& S, int Index, int Count);
// Inserts Source before Index (from 1); clamped to the ends.
void Insert(const std::string& Source, std::string& S, int Index);

// Removes control characters and spaces (bytes <= 32) at the ends.
std::string Trim(const std::string& S);
std::string TrimLeft(const std::string& S);
std::string TrimRight(const std::string& S);

std::string UpperCase(const std::string& S);                   // ASCII only
std::string LowerCase(const std::string& S);                   // ASCII only
int CompareStr(const std::string& S1, const std::string& S2);  // <0, 0, >0 by bytes
int CompareText(const std::string& S1, const std::string& S2); // ASCII folded to upper case
bool SameText(const std::string& S1, const std::string& S2);

std::string AnsiUpperCase(const std::string& S);
std::string AnsiLowerCase(const std::string& S);
// -1, 0 or 1 by code points; the two strings are decoded independently.
int AnsiCompareStr(const std::string& S1, const std::string& S2);
// As AnsiCompareStr on the case-folded code points.
int AnsiCompareText(const std::string& S1, const std::string& S2);
bool AnsiSameStr(const std::string& S1, const std::string& S2);
bool AnsiSameText(const std::string& S1, const std::string& S2);
// The key under which a name is indexed: two names have the same key exactly when AnsiSameText
// holds them equal (their code points, read as UTF-8 when valid and as Windows-1252 otherwise,
// compared case-folded). Folding each name once lets look-ups by name go through a hash map.
std::string AnsiSameTextKey(const std::string& Name);
// Byte position (from 1), as Pos: UTF-8 never matches inside a character.
int AnsiPos(const std::string& Sub, const std::string& S);

// Decodes the UTF-8 character at S[I] (I below the size) and moves I past it; false, I left
// where it was, when the bytes there are not well formed (overlong forms, surrogates and values
// past U+10FFFF included).
bool DecodeUtf8At(const std::string& S, std::size_t& I, char32_t& Code);
// Appends code point C (at most U+10FFFF, not a surrogate) as UTF-8.
void AppendUtf8(std::string& Out, char32_t C);
// Whether the whole of S is well-formed UTF-8 (an empty string is).
bool IsValidUtf8(const std::string& S);

std::string StringOfChar(char C, int Count);
// S in single quotes, inner quotes doubled.
std::string QuotedStr(const std::string& S);
// S in Quote characters, inner Quote characters doubled.
std::string AnsiQuotedStr(const std::string& S, char Quote);
// Reads a quoted string starting at S[Index] (0-based, which must hold Quote): undoubles inner
// quotes, stops after the closing quote (or at the end) and leaves Index just past it.
// Returns an empty string, Index unchanged, when S[Index] is not Quote.
std::string AnsiExtractQuotedStr(const std::string& S, std::size_t& Index, char Quote);

// Position (from 1) of the last byte of S that is one of Delimiters; 0 when none is.
int LastDelimiter(const std::string& Delimiters, const std::string& S);
// Whether S[Index] (from 1) is one of Delimiters; false when Index is out of range.
bool IsDelimiter(const std::string& Delimiters, const std::string& S, int Index);
// Every CR, LF, CR LF becomes CR LF (LF CR counts as two breaks).
std::string AdjustLineBreaks(const std::string& S);
// Each line break of S (CR LF, CR or LF) replaced by With.
std::string ReplaceLineBreaks(const std::string& S, const std::string& With);

// Flags combine with |: StringReplace(S, "a", "b", rfReplaceAll | rfIgnoreCase).
enum TReplaceFlag : int { rfReplaceAll = 1, rfIgnoreCase = 2 };
using TReplaceFlags = int;
// Replaces the first OldPattern (every one with rfReplaceAll); rfIgnoreCase matches as
// AnsiSameText does. An empty OldPattern replaces nothing.
std::string StringReplace(const std::string& S, const std::string& OldPattern,
                          const std::string& NewPattern, TReplaceFlags Flags);
