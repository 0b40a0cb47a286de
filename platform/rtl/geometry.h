// platform/rtl/geometry.h: points, sizes and rectangles in integer device or logical units.
// A rectangle includes its left and top edges and excludes its right and bottom edges.
#pragma once

#include <algorithm>

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return TPoint{Left, Top}; }
    TPoint BottomRight() const { return TPoint{Right, Bottom}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int X, int Y)
{
    return TPoint{X, Y};
}

inline TRect Rect(int Left, int Top, int Right, int Bottom)
{
    return TRect{Left, Top, Right, Bottom};
}

inline TRect Bounds(int Left, int Top, int Width, int Height)
{
    return TRect{Left, Top, Left + Width, Top + Height};
}

inline bool IsRectEmpty(const TRect& R)
{
    return R.Right <= R.Left || R.Bottom <= R.Top;
}

inline bool PtInRect(const TRect& R, const TPoint& P)
{
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

// The overlap of A and B; false (and an empty Dest) when they do not overlap.
inline bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B)
{
    Dest = TRect{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                 std::min(A.Bottom, B.Bottom)};
    if (IsRectEmpty(Dest)) {
        Dest = TRect{};
        return false;
    }
    return true;
}

// The smallest rectangle holding A and B; an empty rectangle adds nothing.
inline bool UnionRect(TRect& Dest, const TRect& A, const TRect& B)
{
    if (IsRectEmpty(A))
        Dest = B;
    else if (IsRectEmpty(B))
        Dest = A;
    else
        Dest = TRect{std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
                     std::max(A.Bottom, B.Bottom)};
    return !IsRectEmpty(Dest);
}

inline void OffsetRect(TRect& R, int DX, int DY)
{
    R.Left += DX;
    R.Right += DX;
    R.Top += DY;
    R.Bottom += DY;
}

inline void InflateRect(TRect& R, int DX, int DY)
{
    R.Left -= DX;
    R.Right += DX;
    R.Top -= DY;
    R.Bottom += DY;
}
