// controls/entry/ovcedres.h: the names of the text editor's picture resources, drawn by
// scripts/make-editor-pictures.
#pragma once

// Ten 12 x 12 bookmark glyphs side by side, bookmark n at x = 12 n, on white.
constexpr const char* OvcBookmarkGlyphsName = "OVCBOOKMARKS";
// The cursor over the left margin: an arrow pointing right, its hot spot at the tip.
constexpr const char* OvcMarginCursorName = "OVCMARGINCURSOR";
