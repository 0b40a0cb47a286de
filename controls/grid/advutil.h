// controls/grid/advutil.h: the stateless helpers the string grid and its companions share: text
// fields, cell kinds and line-break coding, numbers and dates, the filter matcher, drawing.
// Positions are 1-based, as in the rest of the grid. No name here collides with the platform
// layer, so the routines are global, as the grid unit calls them.
#pragma once

#include "platform/gfx/color.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/geometry.h"
#include "platform/rtl/types.h"
#include "platform/stdctrls/grids.h"
#include "platform/ui/wintypes.h"

#include <string>

class TStrings;
class TCanvas;
class TBitmap;

// ---- text fields and searches ---------------------------------------------------------------

// The part of Text before Delimiter, cut off together with the delimiter's first character;
// "" and Text untouched when Delimiter does not occur.
std::string CutField(std::string& Text, const std::string& Delimiter);
// All strings of Lines run together without separator.
std::string JoinLines(const TStrings* Lines);
// The first character of Text that is one of the characters of Set; '\0' when none.
char FirstCharInSet(const std::string& Set, const std::string& Text);
bool IsInGridRect(const TGridRect& Rect, int Col, int Row);
// The first position holding Ch that is not part of a doubled Ch (the last position always
// counts); 0 when none.
int PosSingleChar(char Ch, const std::string& Text);
int CountSingleChar(char Ch, const std::string& Text);
// Every run of two or more Ch becomes one.
std::string CollapseCharRuns(char Ch, const std::string& Text);
void FillWithChar(std::string& Text, char Ch);
char LoCaseChar(char Ch);

// ---- cell text kinds and line breaks --------------------------------------------------------

enum : int { ctkPlain = 0, ctkHtml = 1, ctkRichText = 2, ctkFormula = 3 };
// One of ctkPlain, ctkHtml, ctkRichText, ctkFormula.
int CellTextKind(const std::string& Text, bool CheckHtml);
bool IsUrlText(const std::string& Text);
// Drops everything up to and including the first "://", else the first "mailto:".
void StripUrlPrefix(std::string& Text);
// "R<row>C<col>" (any case) gives Cell = (col, row) and true.
bool ParseCellReference(const std::string& Text, TGridCoord& Cell);

// The cell coding of the grid's text file: a text with CR LF breaks becomes one line (CR as
// #9, LF as #8). A text that this coding would not give back (a lone CR or LF, its own #8 or
// #9, or a leading ESC) is written as ESC followed by the text with ESC, CR, LF, #8 and #9 as
// ESC e, ESC r, ESC n, ESC b and ESC t.
std::string EncodeLineBreaks(const std::string& Text);
// Undoes EncodeLineBreaks; without MultiLine only the first line comes back.
std::string DecodeLineBreaks(const std::string& Text, bool MultiLine);
// Line is the text before the first CR; with KeepRest, Text keeps what follows that CR (less
// one LF right after it), otherwise Text becomes empty.
void CutFirstLine(std::string& Text, bool KeepRest, std::string& Line);
// 1 + the number of CRs with MultiLine, otherwise 1.
int LineCount(const std::string& Text, bool MultiLine);
// Every backslash-n pair becomes one CR.
std::string ExpandNewlineEscapes(const std::string& Text);
// Drops the CR of every CR LF pair, then encloses the text in double quotes.
void QuoteMultiLineText(std::string& Text);
void LFToCRLF(std::string& Text);
void TildeToCRLF(std::string& Text);
// From the OEM code page (437, or 850 under a Western European locale) to UTF-8.
void OemToAnsiText(std::string& Text);

// ---- numbers and dates ----------------------------------------------------------------------

// 0 for an integer (digits and "-"), 1 for a number with the locale's separators, 2 otherwise.
int NumberTextKind(const std::string& Text, const TFormatSettings& Settings = FormatSettings);
// The number in Text with "." as the decimal point and without thousands separators; leading
// currency signs and anything after the number go.
std::string NumericTextToPlain(const std::string& Text,
                               const TFormatSettings& Settings = FormatSettings);
// Day, month and year in the order of the short date format, split at the date separator.
bool ParseLocaleDate(const std::string& Text, TDateTime& Date,
                     const TFormatSettings& Settings = FormatSettings);
// Month/day/year and day/month/year with "/", "." or "-"; 0 for a text that is not one. Years of
// one or two digits mean 1926 to 2025. Raise EConvertError for a date that does not exist.
TDateTime ParseDateMDY(const std::string& Text);
TDateTime ParseDateDMY(const std::string& Text);
// The next date of a date series whose two samples differ by Years, Months and Days in their
// fields and by Delta days in all. Raises EConvertError for a date that does not exist.
TDateTime DateSeriesStep(int Years, int Months, int Days, TDateTime Date, TDateTime Delta);

// ---- filters --------------------------------------------------------------------------------

// Terms joined by "&" (and), ";" or "^" (or), evaluated from left to right.
bool MatchFilterCondition(const std::string& Condition, const std::string& Value,
                          bool CaseSensitive, const TFormatSettings& Settings = FormatSettings);
bool MatchFilterTerm(const std::string& Term, const std::string& Value, bool CaseSensitive,
                     const TFormatSettings& Settings = FormatSettings);
// ">x", ">=x", "<x", "<=x" comparisons, else a pattern with "*", "?" and "!".
bool MatchFilterPattern(const std::string& Term, const std::string& Value,
                        const TFormatSettings& Settings = FormatSettings);

// ---- names ----------------------------------------------------------------------------------

// "JOHN MCDONALD II" becomes "John McDonald II".
std::string CapitalizeName(const std::string& Text);

// ---- drawing and system ---------------------------------------------------------------------

// Draws Bitmap at Rect's top-left corner at its own size, its top-left pixel's colour shown as
// BackColor.
void DrawTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, TColor BackColor, const TRect& Rect);
void MakeWindowTransparent(HWND Window);
// Major * 65536 + minor of a file's version; -1 when it has none.
int FileVersionMS(const std::string& FileName);
