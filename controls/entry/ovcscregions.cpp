#include "controls/entry/ovcscregions.h"

#include <algorithm>

namespace {

TSpinRegion Polygon(std::vector<TPoint> Corners)
{
    return TSpinRegion{std::move(Corners)};
}

// Columns Left..Right and rows Top..Bottom, all inclusive; empty when nothing is left.
TSpinRegion Box(int Left, int Top, int Right, int Bottom)
{
    if (Right < Left || Bottom < Top)
        return {};
    return Polygon({{Left, Top}, {Right, Top}, {Right, Bottom}, {Left, Bottom}});
}

long long Cross(TPoint A, TPoint B, TPoint P)
{
    return static_cast<long long>(B.X - A.X) * (P.Y - A.Y) -
           static_cast<long long>(B.Y - A.Y) * (P.X - A.X);
}

} // namespace

bool TSpinRegion::Contains(TPoint P) const
{
    if (Corners.empty())
        return false;
    const TRect B = Bounds();
    if (P.X < B.Left || P.X >= B.Right || P.Y < B.Top || P.Y >= B.Bottom)
        return false;
    // Inside or on an edge: the point lies on no edge's outer side, whichever way round the
    // corners go.
    bool Left = false;
    bool Right = false;
    for (std::size_t I = 0; I < Corners.size(); ++I) {
        const long long C = Cross(Corners[I], Corners[(I + 1) % Corners.size()], P);
        Left = Left || C > 0;
        Right = Right || C < 0;
    }
    return !(Left && Right);
}

TRect TSpinRegion::Bounds() const
{
    if (Corners.empty())
        return TRect{};
    TRect R{Corners[0].X, Corners[0].Y, Corners[0].X, Corners[0].Y};
    for (const TPoint& P : Corners) {
        R.Left = std::min(R.Left, P.X);
        R.Top = std::min(R.Top, P.Y);
        R.Right = std::max(R.Right, P.X);
        R.Bottom = std::max(R.Bottom, P.Y);
    }
    ++R.Right;
    ++R.Bottom;
    return R;
}

TSpinRegions SpinnerRegions(TOvcSpinnerStyle Style, int Width, int Height)
{
    TSpinRegions R;
    const int W = Width;
    const int H = Height;
    if (W <= 0 || H <= 0)
        return R;
    const TPoint TopLeft{0, 0};
    const TPoint TopRight{W - 1, 0};
    const TPoint BottomLeft{0, H - 1};
    const TPoint BottomRight{W - 1, H - 1};
    const TPoint Centre{W / 2, H / 2};
    const TPoint InTopLeft{W / 3, H / 3};
    const TPoint InBottomLeft{W / 3, 2 * H / 3};
    const TPoint InTopRight{2 * W / 3, H / 3};
    const TPoint InBottomRight{2 * W / 3, 2 * H / 3};
    const TPoint TopMiddle{W / 2, 0};
    const TPoint BottomMiddle{W / 2, H - 1};
    const TPoint LeftMiddle{0, H / 2};
    const TPoint RightMiddle{W - 1, H / 2};
    const int Quarter = W / 4;
    const int ThreeQuarters = 3 * W / 4;
    enum { Up, Down, Left, Right, Middle };
    switch (Style) {
    case stNormalVertical:
        R[Up] = Box(0, 0, W - 1, (H - 1) / 2);
        R[Down] = Box(0, (H - 1) / 2 + 1, W - 1, H - 1);
        break;
    case stNormalHorizontal:
        // Right half first: the hit test reads the first two slots as right and left here.
        R[Up] = Box((W - 1) / 2, 0, W - 1, H - 1);
        R[Down] = Box(0, 0, (W - 1) / 2 - 1, H - 1);
        break;
    case stFourWay:
        R[Up] = Polygon({TopLeft, TopRight, Centre});
        R[Down] = Polygon({BottomLeft, BottomRight, Centre});
        R[Left] = Polygon({TopLeft, BottomLeft, Centre});
        R[Right] = Polygon({TopRight, BottomRight, Centre});
        break;
    case stStar:
        R[Up] = Polygon({TopMiddle, InTopRight, InTopLeft});
        R[Down] = Polygon({BottomMiddle, InBottomLeft, InBottomRight});
        R[Left] = Polygon({LeftMiddle, InTopLeft, InBottomLeft});
        R[Right] = Polygon({RightMiddle, InBottomRight, InTopRight});
        R[Middle] = Polygon({InTopLeft, InTopRight, InBottomRight, InBottomLeft});
        break;
    case stDiagonalVertical:
        R[Up] = Polygon({TopLeft, TopRight, BottomLeft});
        R[Down] = Polygon({BottomLeft, TopRight, BottomRight});
        break;
    case stDiagonalHorizontal:
        R[Left] = Polygon({TopLeft, TopRight, BottomLeft});
        R[Right] = Polygon({BottomLeft, TopRight, BottomRight});
        break;
    case stDiagonalFourWay:
        R[Up] = Polygon({{Quarter, 0}, {ThreeQuarters, 0}, {Quarter, H - 1}});
        R[Down] = Polygon({{ThreeQuarters, 0}, {ThreeQuarters, H - 1}, {Quarter, H - 1}});
        R[Left] = Box(0, 0, Quarter - 1, H - 1);
        R[Right] = Box(ThreeQuarters + 1, 0, W - 1, H - 1);
        break;
    case stPlainStar:
        R[Up] = Polygon({TopMiddle, InTopRight, Centre, InTopLeft});
        R[Down] = Polygon({BottomMiddle, InBottomLeft, Centre, InBottomRight});
        R[Left] = Polygon({LeftMiddle, InTopLeft, Centre, InBottomLeft});
        R[Right] = Polygon({RightMiddle, InBottomRight, Centre, InTopRight});
        break;
    }
    return R;
}

TOvcSpinState SlotState(TOvcSpinnerStyle Style, int Slot)
{
    const bool Horizontal = Style == stNormalHorizontal;
    switch (Slot) {
    case 0:
        return Horizontal ? TOvcSpinState::ssRightBtn : TOvcSpinState::ssUpBtn;
    case 1:
        return Horizontal ? TOvcSpinState::ssLeftBtn : TOvcSpinState::ssDownBtn;
    case 2:
        return TOvcSpinState::ssLeftBtn;
    case 3:
        return TOvcSpinState::ssRightBtn;
    case 4:
        return TOvcSpinState::ssCenterBtn;
    default:
        return TOvcSpinState::ssNormal;
    }
}

TOvcSpinState SpinnerHitTest(TOvcSpinnerStyle Style, const TSpinRegions& Regions, int Width,
                             int Height, TPoint P, bool Clicked)
{
    if (P.X < 0 || P.Y < 0 || P.X >= Width || P.Y >= Height)
        return TOvcSpinState::ssOutOfControl;
    if (!Clicked)
        return TOvcSpinState::ssNormal;
    for (int Slot = 0; Slot < static_cast<int>(Regions.size()); ++Slot)
        if (Regions[Slot].Contains(P))
            return SlotState(Style, Slot);
    return TOvcSpinState::ssNormal;
}
