// controls/grid/advgridhtmlimages.h: the pictures of grid HTML: image-list entries, the folder
// and document icons, bitmap resources and picture files, and the tiled body background.
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/gfx/imagelist.h"
#include "platform/rtl/geometry.h"

#include <string>

namespace AdvGridHtml {

struct THtmlImageRequest {
    std::string Source; // "IDX:n", "SSYS:name", "LSYS:name", "RES://name", "FILE://path"
    int Width = 0;      // from the tag, 0 when absent; used by picture files
    int Height = 0;
    bool ForPrinter = false;
    double ScaleFactor = 1.0;
};

// The laid-out size of the picture (scaled for the printer); false when there is none, and it
// takes no space. With Canvas set it is drawn with its top-left corner at (X, Y).
bool HtmlImage(TCanvas* Canvas, TImageList* Images, const THtmlImageRequest& Request, int X, int Y,
               TSize& Size);

// Tiles the picture file over R from its top-left corner, clipped to R; nothing when the file
// is missing or not a picture.
void TileBackground(TCanvas* Canvas, const std::string& FileName, const TRect& R);

} // namespace AdvGridHtml
