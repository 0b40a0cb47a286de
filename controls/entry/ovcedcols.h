// controls/entry/ovcedcols.h: the editor's display columns of a screen line: tabs advance to the
// next tab stop, and a paragraph of valid UTF-8 shows one column per character (else one per
// byte). Offsets are byte offsets from the start of the line.
#pragma once

#include <string>
#include <string_view>

bool IsValidUtf8(std::string_view Text);
// The width of the first Offset bytes; each position past the end counts one column.
int ColumnOfOffset(std::string_view Line, int Offset, int TabSize, bool Utf8);
// The offset of the character covering display column Column (from 0); past the text, the
// offset that many positions after its end.
int OffsetOfColumn(std::string_view Line, int Column, int TabSize, bool Utf8);
// The length of the shortest run of whole characters whose width reaches Column (the whole line
// when it is narrower): where word wrap looks for a break.
int OffsetReachingColumn(std::string_view Line, int Column, int TabSize, bool Utf8);
// The offset of the next / previous character start (whole UTF-8 characters when Utf8).
int NextCharOffset(std::string_view Line, int Offset, bool Utf8);
int PrevCharOffset(std::string_view Line, int Offset, bool Utf8);
// The line with its tabs as spaces, tab stops counted in display columns.
std::string ExpandTabs(std::string_view Line, int TabSize, bool Utf8);
// The same, counting characters when the line on its own is valid UTF-8.
std::string ExpandTabs(std::string_view Line, int TabSize);
