// platform/gfx/textlayout.h: the line breaking, alignment, prefix and ellipsis rules of DrawText,
// over a measuring interface so that the layout can be tested without fonts.
#pragma once

#include "platform/rtl/geometry.h"

#include <string>
#include <vector>

constexpr unsigned DT_TOP = 0x00000000;
constexpr unsigned DT_LEFT = 0x00000000;
constexpr unsigned DT_CENTER = 0x00000001;
constexpr unsigned DT_RIGHT = 0x00000002;
constexpr unsigned DT_VCENTER = 0x00000004;
constexpr unsigned DT_BOTTOM = 0x00000008;
constexpr unsigned DT_WORDBREAK = 0x00000010;
constexpr unsigned DT_SINGLELINE = 0x00000020;
constexpr unsigned DT_EXPANDTABS = 0x00000040;
constexpr unsigned DT_TABSTOP = 0x00000080; // bits 8..15 of the format then hold the tab length
constexpr unsigned DT_NOCLIP = 0x00000100;
constexpr unsigned DT_EXTERNALLEADING = 0x00000200;
constexpr unsigned DT_CALCRECT = 0x00000400;
constexpr unsigned DT_NOPREFIX = 0x00000800;
constexpr unsigned DT_INTERNAL = 0x00001000;
constexpr unsigned DT_EDITCONTROL = 0x00002000;
constexpr unsigned DT_PATH_ELLIPSIS = 0x00004000;
constexpr unsigned DT_END_ELLIPSIS = 0x00008000;
constexpr unsigned DT_MODIFYSTRING = 0x00010000;
constexpr unsigned DT_RTLREADING = 0x00020000;
constexpr unsigned DT_WORD_ELLIPSIS = 0x00040000;
constexpr unsigned DT_NOFULLWIDTHCHARBREAK = 0x00080000;
constexpr unsigned DT_HIDEPREFIX = 0x00100000;
constexpr unsigned DT_PREFIXONLY = 0x00200000;

// How the bytes of a text read: UTF-8 when the whole text is valid UTF-8, else Windows-1252
// (tcAuto decides so). Pieces of a text must be read as the whole was, since a piece of a
// Windows-1252 text can happen to be valid UTF-8.
enum TTextCoding { tcAuto, tcUtf8, tcAnsi };

// What the layout needs to know of a font. Widths are of byte strings as drawn (the font decides
// how the bytes decode).
class TTextMeasure {
public:
    virtual ~TTextMeasure() = default;
    virtual int LineHeight() const = 0;      // the cell height (tmHeight)
    virtual int ExternalLeading() const = 0; // added to the line height with DT_EXTERNALLEADING
    virtual int AveCharWidth() const = 0;    // the unit of tab stops
    virtual int TextWidth(const std::string& Text) const = 0;
    // The width of a piece of a text that reads as Coding; measures override it to read
    // pieces as the whole text reads.
    virtual int CodedTextWidth(const std::string& Text, TTextCoding Coding) const
    {
        (void)Coding;
        return TextWidth(Text);
    }
};

// A piece of a line between tabs (the whole line without DT_EXPANDTABS), with the x of its
// left edge in the same coordinates as the rectangle.
struct TTextRun {
    std::string Text;
    int X = 0;
};

// One line to draw; X and Y are the top-left of the line's cell, in the coordinates of the
// rectangle (they may lie outside it: clipping is the caller's, unless DT_NOCLIP).
struct TDrawTextLine {
    std::vector<TTextRun> Runs; // empty with DT_PREFIXONLY
    int X = 0;
    int Y = 0;
    int Width = 0;
    // The character after an "&" prefix is drawn underlined from UnderlineLeft to
    // UnderlineRight (not with DT_HIDEPREFIX).
    bool Underlined = false;
    int UnderlineLeft = 0;
    int UnderlineRight = 0;
};

struct TDrawTextLayout {
    std::vector<TDrawTextLine> Lines;
    TRect CalcRect;              // the rectangle DT_CALCRECT writes back
    int Height = 0;              // DrawText's result
    std::string ModifiedText;    // the text DT_MODIFYSTRING writes back (empty without it)
    TTextCoding Coding = tcAnsi; // how the runs are to be read when drawn
};

// Lays Text out in Rect as DrawText does. Lines break at CR LF, CR or LF unless DT_SINGLELINE;
// with DT_WORDBREAK also at blanks (a word wider than the rectangle overflows, or is broken by
// characters with DT_EDITCONTROL). Vertical alignment applies to DT_SINGLELINE only. Empty
// text gives no lines. DT_CALCRECT keeps Left/Top; Right grows or shrinks to the widest line
// (with DT_WORDBREAK the width is kept unless a line is wider); Bottom = Top + lines x line
// height. DT_NOCLIP, DT_INTERNAL, DT_RTLREADING and DT_NOFULLWIDTHCHARBREAK change nothing
// here. TabLength (in average characters) overrides the
// default of 8 and DT_TABSTOP's value when positive.
TDrawTextLayout LayoutDrawText(const TTextMeasure& Measure, const std::string& Text,
                               const TRect& Rect, unsigned Format, int TabLength = 0);
