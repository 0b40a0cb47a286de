// controls/entry/ovcstr.h: the library's string routines: texts of at most 255 characters
// (results are cut there), 0-based positions, number texts and the skip-table searches.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr std::size_t MaxOvcText = 255;

using TSkipTable = std::array<std::uint8_t, 256>;

std::string HexText32(std::uint32_t Value);
std::string HexText16(std::uint16_t Value);
std::string OctalText32(std::uint32_t Value);
std::string BinaryText32(std::uint32_t Value);
// On failure Value is the 0-based position of the first bad character, or -1 for a text over
// 255 characters.
bool TextToLong(const std::string& Text, std::int32_t& Value);

std::string FillText(char Ch, std::size_t Count);
std::string ExpandTabs(const std::string& Src, int TabSize);
bool FindChar(const std::string& Text, char Ch, std::size_t& Pos);
bool FindSubText(const std::string& Text, const std::string& Sub, std::size_t& Pos);
void InsertCharAt(std::string& Text, char Ch, std::size_t Pos);
void DeleteCharAt(std::string& Text, std::size_t Pos);
void InsertChars(std::string& Text, char Ch, std::size_t Pos, std::size_t Count);
void InsertSubText(std::string& Text, const std::string& Sub, std::size_t Pos);
void DeleteSubText(std::string& Text, std::size_t Pos, std::size_t Count);
std::string CopySubText(const std::string& Src, std::size_t Pos, std::size_t Count);
void TrimSpaces(std::string& Text);
void TrimTrailingWhite(std::string& Text);
void TrimTrailingZeros(std::string& Text);
void TrimExponent(std::string& Text);
char CharUpperOne(char Ch);
char CharLowerOne(char Ch);
std::uint16_t MaxWord(std::uint16_t A, std::uint16_t B);

// Boyer-Moore-Horspool: the shift of each character for Pattern (at most 255 characters).
void BuildSkipTable(const std::string& Pattern, TSkipTable& Table);
// Pos is the start of the first match in Buffer[0, Length).
bool SkipSearch(const char* Buffer, std::size_t Length, const TSkipTable& Table, std::size_t& Pos,
                const std::string& Pattern);
// As SkipSearch with the buffer upper-cased; Pattern must be upper-case already.
bool SkipSearchNoCase(const char* Buffer, std::size_t Length, const TSkipTable& Table,
                      std::size_t& Pos, const std::string& Pattern);
