#include "platform/gfx/shapes.h"

#include <algorithm>
#include <cmath>

namespace {

bool InEllipse(double X, double Y, double CX, double CY, double RX, double RY)
{
    if (RX <= 0 || RY <= 0)
        return false;
    const double DX = (X - CX) / RX;
    const double DY = (Y - CY) / RY;
    return DX * DX + DY * DY <= 1.0 + 1e-9;
}

} // namespace

TRect TBoxShape::Extent(int Grow) const
{
    return TRect{Box.Left - Grow, Box.Top - Grow, Box.Right + Grow, Box.Bottom + Grow};
}

bool TBoxShape::Inside(int X, int Y, int Grow) const
{
    const TRect E = Extent(Grow);
    if (X < E.Left || X >= E.Right || Y < E.Top || Y >= E.Bottom)
        return false;
    switch (Kind) {
    case skRectangle:
        return true;
    case skEllipse: {
        const double CX = (Box.Left + Box.Right - 1) / 2.0;
        const double CY = (Box.Top + Box.Bottom - 1) / 2.0;
        return InEllipse(X, Y, CX, CY, Box.Width() / 2.0 + Grow, Box.Height() / 2.0 + Grow);
    }
    case skRoundRect: {
        const double RX = std::min(std::abs(CornerW), Box.Width()) / 2.0;
        const double RY = std::min(std::abs(CornerH), Box.Height()) / 2.0;
        if (RX <= 0 || RY <= 0)
            return true;
        const double Left = Box.Left - 0.5 + RX;
        const double Right = Box.Right - 0.5 - RX;
        const double Top = Box.Top - 0.5 + RY;
        const double Bottom = Box.Bottom - 0.5 - RY;
        const double CX = X < Left ? Left : (X > Right ? Right : X);
        const double CY = Y < Top ? Top : (Y > Bottom ? Bottom : Y);
        if (CX == X || CY == Y)
            return true;
        return InEllipse(X, Y, CX, CY, RX + Grow, RY + Grow);
    }
    }
    return false;
}

void ScanPolygons(const std::vector<std::vector<TPoint>>& Polygons, bool Winding,
                  const std::function<void(int Y, int Left, int Right)>& Row)
{
    struct TEdge {
        double X0, Y0, X1, Y1;
        int Dir;
    };
    std::vector<TEdge> Edges;
    int Top = 0;
    int Bottom = 0;
    bool Any = false;
    for (const auto& Poly : Polygons) {
        const std::size_t N = Poly.size();
        if (N < 3)
            continue;
        for (std::size_t I = 0; I < N; ++I) {
            const TPoint A = Poly[I];
            const TPoint B = Poly[(I + 1) % N];
            if (!Any) {
                Top = std::min(A.Y, B.Y);
                Bottom = std::max(A.Y, B.Y);
                Any = true;
            }
            Top = std::min({Top, A.Y, B.Y});
            Bottom = std::max({Bottom, A.Y, B.Y});
            if (A.Y == B.Y)
                continue;
            Edges.push_back(A.Y < B.Y
                                ? TEdge{double(A.X), double(A.Y), double(B.X), double(B.Y), 1}
                                : TEdge{double(B.X), double(B.Y), double(A.X), double(A.Y), -1});
        }
    }
    struct TCross {
        double X;
        int Dir;
    };
    std::vector<TCross> Crossings;
    for (int Y = Top; Y < Bottom; ++Y) {
        const double SY = Y + 0.5;
        Crossings.clear();
        for (const TEdge& E : Edges)
            if (SY >= E.Y0 && SY < E.Y1)
                Crossings.push_back(
                    TCross{E.X0 + (SY - E.Y0) * (E.X1 - E.X0) / (E.Y1 - E.Y0), E.Dir});
        std::sort(Crossings.begin(), Crossings.end(),
                  [](const TCross& A, const TCross& B) { return A.X < B.X; });
        int Count = 0;
        int RunLeft = 0;
        bool InRun = false;
        int LastRight = 0;
        bool HaveLast = false;
        for (std::size_t I = 0; I < Crossings.size(); ++I) {
            const bool WasIn = Winding ? Count != 0 : (Count & 1) != 0;
            Count += Winding ? Crossings[I].Dir : 1;
            const bool IsIn = Winding ? Count != 0 : (Count & 1) != 0;
            // Pixel x is inside when its centre x + 0.5 lies in [enter, leave).
            const int Edge = static_cast<int>(std::ceil(Crossings[I].X - 0.5));
            if (!WasIn && IsIn) {
                RunLeft = Edge;
                InRun = true;
            } else if (WasIn && !IsIn && InRun) {
                InRun = false;
                if (Edge <= RunLeft)
                    continue;
                if (HaveLast && RunLeft <= LastRight) {
                    // Touching runs merge; the caller wants disjoint runs.
                    RunLeft = LastRight;
                    if (Edge <= RunLeft)
                        continue;
                }
                Row(Y, RunLeft, Edge);
                LastRight = Edge;
                HaveLast = true;
            }
        }
    }
}
