// platform/gfx/region.h: TRegion, an area of whole pixels kept as horizontal bands of
// non-overlapping spans, and the region calls the units use (CreateRectRgn, CombineRgn...).
#pragma once

#include "platform/rtl/geometry.h"

#include <functional>
#include <vector>

class TRegion {
public:
    struct TSpan {
        int Left = 0;
        int Right = 0; // excluded
        friend bool operator==(const TSpan&, const TSpan&) = default;
    };
    struct TBand {
        int Top = 0;
        int Bottom = 0; // excluded
        std::vector<TSpan> Spans;
    };

    TRegion() = default;
    explicit TRegion(const TRect& R);

    // The area of the ellipse in the box (right and bottom edges excluded), of a rectangle
    // with rounded corners (corner ellipse CornerW x CornerH), or of a polygon by the
    // alternate (even-odd) or winding rule; pixels count when their centre is inside.
    static TRegion Ellipse(const TRect& Box);
    static TRegion RoundRect(const TRect& Box, int CornerW, int CornerH);
    static TRegion Polygon(const std::vector<TPoint>& Points, bool Winding);
    static TRegion PolyPolygon(const std::vector<std::vector<TPoint>>& Polygons, bool Winding);
    // The pixels (x, y) of Box for which Inside answers true.
    static TRegion FromPredicate(const TRect& Box, const std::function<bool(int, int)>& Inside);

    bool Empty() const { return FBands.empty(); }
    bool Contains(int X, int Y) const;
    TRect Bounds() const;
    // True when the region is one rectangle (or empty).
    bool IsRectangle() const;
    void Offset(int DX, int DY);
    const std::vector<TBand>& Bands() const { return FBands; }
    // The rectangles of the region, band by band, left to right.
    std::vector<TRect> Rects() const;

    static TRegion Intersect(const TRegion& A, const TRegion& B);
    static TRegion Union(const TRegion& A, const TRegion& B);
    static TRegion Xor(const TRegion& A, const TRegion& B);
    static TRegion Diff(const TRegion& A, const TRegion& B);

    friend bool operator==(const TRegion& A, const TRegion& B);

    // Adds a horizontal run of pixels; rows must come in increasing order with disjoint
    // runs per row in increasing x (what the scan converters produce); Finish then merges
    // equal neighbouring rows.
    void AddRowSpan(int Y, int Left, int Right);
    // Adds a band below the last one; its spans disjoint and in increasing x.
    void AddBand(int Top, int Bottom, std::vector<TSpan> Spans);
    void Finish();

private:
    std::vector<TBand> FBands;
};

// The handle form, for the units that create, combine and delete regions.
using HRGN = TRegion*;

enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
enum : int { ALTERNATE = 1, WINDING = 2 };

HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateRectRgnIndirect(const TRect& R);
HRGN CreateEllipticRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateRoundRectRgn(int Left, int Top, int Right, int Bottom, int CornerW, int CornerH);
HRGN CreatePolygonRgn(const TPoint* Points, int Count, int FillMode);
// Frees a region made by the calls above; false for nil.
bool DeleteObject(HRGN Region);
// Dest := Src1 op Src2 (Src2 unused for RGN_COPY); the kind of the result.
int CombineRgn(HRGN Dest, HRGN Src1, HRGN Src2, int Mode);
bool PtInRegion(HRGN Region, int X, int Y);
int GetRgnBox(HRGN Region, TRect& Box);
int OffsetRgn(HRGN Region, int DX, int DY);
bool EqualRgn(HRGN A, HRGN B);
bool RectInRegion(HRGN Region, const TRect& R);
int RegionKind(const TRegion& Region);
