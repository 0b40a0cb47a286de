// controls/grid/advgridhtml.h: the grid's HTML cell renderer, which draws, measures, prints and
// hit-tests the small HTML of grid cells, and its reduction of such a text to plain text.
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/gfx/color.h"
#include "platform/gfx/imagelist.h"
#include "platform/rtl/geometry.h"

#include <string>

// Lays out Text in R on Canvas. MeasureOnly: only measures, all lines. HitTest: draws nothing
// and looks for a link at (HitX, HitY). ForPrinter: images scaled by ScaleFactor. Selected:
// text colours are left alone. True when the point lies on a link, its target in Anchor.
// TextWidth: the widest line; TextHeight: the total height. The canvas font, brush and
// background mode are as they were on entry when it returns.
bool RenderHtml(TCanvas* Canvas, const std::string& Text, TRect R, TImageList* Images, int HitX,
                int HitY, bool HitTest, bool MeasureOnly, bool ForPrinter, bool Selected,
                bool BlinkVisible, bool WordWrap, double ScaleFactor, TColor LinkColor,
                std::string& Anchor, std::string& PlainText, int& TextWidth, int& TextHeight);

// The text without its tags; line-break and rule tags become CR LF.
std::string HtmlToPlainText(const std::string& Text);
