// platform/gfx/shapes.h: the pixel tests behind ellipses, rounded rectangles and polygons,
// shared by regions and the raster device so that a shape and its region cover the same pixels.
#pragma once

#include "platform/rtl/geometry.h"

#include <functional>
#include <vector>

// A closed shape whose box holds the pixels Left..Right-1 x Top..Bottom-1, tested at pixel
// centres; Grow moves the outline outwards (negative: inwards) by whole pixels, which is how
// wide outlines are made (the ring between two grown copies).
struct TBoxShape {
    enum TKind { skRectangle, skEllipse, skRoundRect };
    TKind Kind = skRectangle;
    TRect Box;
    int CornerW = 0;
    int CornerH = 0;

    bool Inside(int X, int Y, int Grow = 0) const;
    // Box grown by Grow, the pixels that can be inside.
    TRect Extent(int Grow) const;
};

// Calls Row(y, left, right) for every run of pixels (right excluded) whose centre lies inside
// the polygons, rows in increasing order, runs in increasing x; Winding picks the non-zero rule
// over the even-odd one.
void ScanPolygons(const std::vector<std::vector<TPoint>>& Polygons, bool Winding,
                  const std::function<void(int Y, int Left, int Right)>& Row);
