// controls/grid/advgridhtmlparse.h: the text side of the grid's HTML renderer: entity decoding,
// tag names and attribute values, colour names and numbers, and the limits on read numbers.
#pragma once

#include "platform/gfx/color.h"

#include <optional>
#include <string>

namespace AdvGridHtml {

// Bounds on numbers read from cell text, so that a cell cannot make drawing work beyond it.
constexpr int MinFontSize = 1;
constexpr int MaxFontSize = 256;
constexpr int MaxImageSize = 4096;
constexpr int MaxListLevel = 32;
constexpr double MinScaleFactor = 0.01;
constexpr double MaxScaleFactor = 100.0;
// Larger picture files are not read for a cell.
constexpr long long MaxPictureFileBytes = 16LL * 1024 * 1024;

// One pass over Text: "&lt;", "&gt;", "&amp;" and "&quot;" (any case) become their characters,
// each once, so "&amp;lt;" gives "&lt;".
std::string DecodeEntities(const std::string& Text);

// The first "<#" loses its "<" and the first ">" after it goes.
void UnwrapHashTag(std::string& Text);

// A colour name such as "clred" (any case) or "#RRGGBB" (hex digits of either case); any other
// name gives black.
TColor ColorFromName(const std::string& Name);
TColor ColorFromHex(const std::string& Value);

// The value of attribute Name (upper case) in Tag: the text in double or single quotes after
// "Name=", or the word after it; nothing when the tag has no such attribute.
std::optional<std::string> TagValue(const std::string& Tag, const std::string& Name);

// The integer at the start of Text (blanks skipped, an optional sign); nothing when there is
// none. Values beyond the int range are clamped.
std::optional<int> LeadingInt(const std::string& Text);
// Upper: the needle in upper case.
bool ContainsNoCase(const std::string& Text, const std::string& Upper);

} // namespace AdvGridHtml
