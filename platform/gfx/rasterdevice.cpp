#include "platform/gfx/rasterdevice.h"

#include "platform/gfx/fontengine.h"
#include "platform/gfx/rop.h"
#include "platform/gfx/shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

// The pixels one drawing call touches: a byte per pixel over a box inside the device, so that
// a pixel reached twice (joins, overlapping strokes) is mixed only once.
class TMask {
public:
    TMask(const TRect& Extent, int Width, int Height)
    {
        IntersectRect(Box, Extent, TRect{0, 0, Width, Height});
        Bits.assign(static_cast<std::size_t>(Box.Width()) * Box.Height(), 0);
    }
    bool Empty() const { return Bits.empty(); }
    void Set(int X, int Y)
    {
        if (X >= Box.Left && X < Box.Right && Y >= Box.Top && Y < Box.Bottom)
            Bits[Index(X, Y)] = 1;
    }
    void Clear(int X, int Y)
    {
        if (X >= Box.Left && X < Box.Right && Y >= Box.Top && Y < Box.Bottom)
            Bits[Index(X, Y)] = 0;
    }
    bool Get(int X, int Y) const
    {
        return X >= Box.Left && X < Box.Right && Y >= Box.Top && Y < Box.Bottom &&
               Bits[Index(X, Y)];
    }
    void Span(int Y, int Left, int Right)
    {
        if (Y < Box.Top || Y >= Box.Bottom)
            return;
        for (int X = std::max(Left, Box.Left); X < std::min(Right, Box.Right); ++X)
            Bits[Index(X, Y)] = 1;
    }
    // Removes the pixels of Other.
    void Subtract(const TMask& Other)
    {
        for (int Y = Box.Top; Y < Box.Bottom; ++Y)
            for (int X = Box.Left; X < Box.Right; ++X)
                if (Other.Get(X, Y))
                    Bits[Index(X, Y)] = 0;
    }

    TRect Box;

private:
    std::size_t Index(int X, int Y) const
    {
        return static_cast<std::size_t>(Y - Box.Top) * Box.Width() + (X - Box.Left);
    }
    std::vector<std::uint8_t> Bits;
};

// Calls Row(y, left, right) for the parts of Box that the clip lets through.
template <class F>
void ForClipped(const TRegion* Clip, const TRect& Box, F&& Row)
{
    if (IsRectEmpty(Box))
        return;
    if (!Clip) {
        for (int Y = Box.Top; Y < Box.Bottom; ++Y)
            Row(Y, Box.Left, Box.Right);
        return;
    }
    for (const auto& Band : Clip->Bands()) {
        const int Top = std::max(Band.Top, Box.Top);
        const int Bottom = std::min(Band.Bottom, Box.Bottom);
        for (int Y = Top; Y < Bottom; ++Y)
            for (const auto& S : Band.Spans) {
                const int L = std::max(S.Left, Box.Left);
                const int R = std::min(S.Right, Box.Right);
                if (L < R)
                    Row(Y, L, R);
            }
    }
}

// What a brush puts at a pixel: false when the pixel is left alone (the background of a hatch
// in transparent mode, or a clear brush).
struct TBrushSampler {
    const TDeviceState& State;
    std::array<std::uint8_t, 8> Hatch{};
    bool Hatched = false;

    explicit TBrushSampler(const TDeviceState& AState) : State(AState)
    {
        Hatched = !State.Brush.Pattern && State.Brush.Style >= bsHorizontal;
        if (Hatched)
            Hatch = HatchPattern(State.Brush.Style);
    }
    bool Visible() const { return State.Brush.Pattern || State.Brush.Style != bsClear; }
    bool Sample(int X, int Y, std::uint32_t& Native) const
    {
        const int PX = X - State.BrushOrigin.X;
        const int PY = Y - State.BrushOrigin.Y;
        if (const auto& P = State.Brush.Pattern) {
            if (P->Width <= 0 || P->Height <= 0)
                return false;
            const int CX = ((PX % P->Width) + P->Width) % P->Width;
            const int CY = ((PY % P->Height) + P->Height) % P->Height;
            Native =
                TRasterDevice::ToNative(P->Pixels[static_cast<std::size_t>(CY) * P->Width + CX]);
            return true;
        }
        if (State.Brush.Style == bsClear)
            return false;
        if (Hatched) {
            const bool On = Hatch[static_cast<std::size_t>(PY & 7)] & (0x80 >> (PX & 7));
            if (!On) {
                if (State.BkMode != OPAQUE)
                    return false;
                Native = TRasterDevice::ToNative(State.BkColor);
                return true;
            }
        }
        Native = TRasterDevice::ToNative(State.Brush.Color);
        return true;
    }
};

// The on/off run lengths of a cosmetic pen style; empty for a continuous line.
std::vector<int> DashPattern(const TPenData& Pen)
{
    if (Pen.Alternate)
        return {1, 1};
    switch (Pen.Style) {
    case psDash:
        return {18, 6};
    case psDot:
        return {3, 3};
    case psDashDot:
        return {9, 6, 3, 6};
    case psDashDotDot:
        return {9, 3, 3, 3, 3, 3};
    default:
        return {};
    }
}

// Walks a dash pattern pixel by pixel, across the segments of one call.
class TDasher {
public:
    explicit TDasher(std::vector<int> Pattern) : FPattern(std::move(Pattern)) {}
    // True when the next pixel is on.
    bool Next()
    {
        if (FPattern.empty())
            return true;
        const bool On = (FIndex % 2) == 0;
        if (++FCount >= FPattern[FIndex]) {
            FCount = 0;
            FIndex = (FIndex + 1) % FPattern.size();
        }
        return On;
    }

private:
    std::vector<int> FPattern;
    std::size_t FIndex = 0;
    int FCount = 0;
};

// The pixels of a line from A towards B, B left out (Bresenham).
template <class F>
void LinePixels(TPoint A, TPoint B, bool WithEnd, F&& Plot)
{
    int X = A.X;
    int Y = A.Y;
    const int DX = std::abs(B.X - A.X);
    const int DY = -std::abs(B.Y - A.Y);
    const int SX = A.X < B.X ? 1 : -1;
    const int SY = A.Y < B.Y ? 1 : -1;
    int Err = DX + DY;
    while (X != B.X || Y != B.Y) {
        Plot(X, Y);
        const int E2 = 2 * Err;
        if (E2 >= DY) {
            Err += DY;
            X += SX;
        }
        if (E2 <= DX) {
            Err += DX;
            Y += SY;
        }
    }
    if (WithEnd)
        Plot(X, Y);
}

void Stamp(TMask& Mask, int X, int Y, int Width)
{
    if (Width <= 1) {
        Mask.Set(X, Y);
        return;
    }
    const double C = (Width % 2 == 0) ? 0.5 : 0.0;
    const double R2 = (Width / 2.0) * (Width / 2.0) + 1e-9;
    for (int DY = -(Width / 2); DY <= (Width - 1) / 2; ++DY)
        for (int DX = -(Width / 2); DX <= (Width - 1) / 2; ++DX)
            if ((DX + C) * (DX + C) + (DY + C) * (DY + C) <= R2)
                Mask.Set(X + DX, Y + DY);
}

TRect PointsExtent(const std::vector<TPoint>& Points, int Margin)
{
    if (Points.empty())
        return TRect{};
    TRect R{Points[0].X, Points[0].Y, Points[0].X, Points[0].Y};
    for (const TPoint& P : Points) {
        R.Left = std::min(R.Left, P.X);
        R.Top = std::min(R.Top, P.Y);
        R.Right = std::max(R.Right, P.X);
        R.Bottom = std::max(R.Bottom, P.Y);
    }
    return TRect{R.Left - Margin, R.Top - Margin, R.Right + Margin + 1, R.Bottom + Margin + 1};
}

double Angle(double CX, double CY, double X, double Y)
{
    return std::atan2(CY - Y, X - CX);
}

// Whether Theta lies on the counter-clockwise sweep from Start to End (a full turn when they
// coincide).
bool InSweep(double Theta, double Start, double End)
{
    constexpr double Turn = 2 * std::numbers::pi;
    auto Norm = [](double A) {
        A = std::fmod(A, Turn);
        return A < 0 ? A + Turn : A;
    };
    const double Sweep = Norm(End - Start);
    if (Sweep < 1e-12)
        return true;
    return Norm(Theta - Start) <= Sweep + 1e-9;
}

} // namespace

bool TCanvasDevice::ReadPixels(const TRect&, std::vector<TColor>&) const
{
    return false;
}

TRasterDevice::TRasterDevice(int Width, int Height, TColor Background)
{
    SetSize(Width, Height, Background);
}

void TRasterDevice::SetSize(int Width, int Height, TColor Background)
{
    Width = std::max(Width, 0);
    Height = std::max(Height, 0);
    std::vector<std::uint32_t> Pixels(static_cast<std::size_t>(Width) * Height,
                                      ToNative(ColorToRGB(Background)));
    for (int Y = 0; Y < std::min(Height, FHeight); ++Y)
        std::copy_n(ScanLine(Y), std::min(Width, FWidth),
                    Pixels.data() + static_cast<std::size_t>(Y) * Width);
    FPixels = std::move(Pixels);
    FWidth = Width;
    FHeight = Height;
}

void TRasterDevice::SetPixelsPerInch(int X, int Y)
{
    if (X > 0)
        FPpiX = X;
    if (Y > 0)
        FPpiY = Y;
}

void TRasterDevice::Clear(TColor Color)
{
    std::fill(FPixels.begin(), FPixels.end(), ToNative(ColorToRGB(Color)));
}

namespace {

// Mixes Colour into the masked pixels that the clip lets through.
template <class FColour>
void PaintMask(TRasterDevice& Device, const TMask& Mask, const TRegion* Clip, int Rop2,
               FColour&& Colour)
{
    ForClipped(Clip, Mask.Box, [&](int Y, int L, int R) {
        std::uint32_t* Row = Device.ScanLine(Y);
        for (int X = L; X < R; ++X) {
            if (!Mask.Get(X, Y))
                continue;
            std::uint32_t P = 0;
            if (!Colour(X, Y, P))
                continue;
            Row[X] = ApplyRop2(Rop2, P, Row[X]) & 0xFFFFFF;
        }
    });
}

// Paints a pen's pixels in its colour and, when the background is opaque, the gaps of a styled
// pen in the background colour.
void PaintPen(TRasterDevice& Device, const TDeviceState& State, const TMask& On, const TMask& Gap)
{
    const std::uint32_t PenColour = TRasterDevice::ToNative(State.Pen.Color);
    PaintMask(Device, On, State.Clip, State.Rop2, [&](int, int, std::uint32_t& P) {
        P = PenColour;
        return true;
    });
    if (State.BkMode == OPAQUE && !State.Pen.Alternate) {
        const std::uint32_t Bk = TRasterDevice::ToNative(State.BkColor);
        PaintMask(Device, Gap, State.Clip, State.Rop2, [&](int, int, std::uint32_t& P) {
            P = Bk;
            return true;
        });
    }
}

} // namespace

void TRasterDevice::Polyline(const TDeviceState& State, const std::vector<TPoint>& Points)
{
    if (State.Pen.Style == psClear || Points.size() < 2)
        return;
    const int W = std::max(State.Pen.Width, 1);
    const TRect Extent = PointsExtent(Points, W);
    TMask On(Extent, FWidth, FHeight);
    TMask Gap(Extent, FWidth, FHeight);
    if (On.Empty())
        return;
    TDasher Dasher(DashPattern(State.Pen));
    for (std::size_t I = 0; I + 1 < Points.size(); ++I)
        LinePixels(Points[I], Points[I + 1], W > 1, [&](int X, int Y) {
            if (Dasher.Next())
                Stamp(On, X, Y, W);
            else if (W == 1)
                Gap.Set(X, Y);
        });
    PaintPen(*this, State, On, Gap);
}

void TRasterDevice::PolyPolygon(const TDeviceState& State,
                                const std::vector<std::vector<TPoint>>& Polygons, bool Winding,
                                bool Fill, bool Stroke)
{
    std::vector<TPoint> All;
    for (const auto& Poly : Polygons)
        All.insert(All.end(), Poly.begin(), Poly.end());
    if (All.empty())
        return;
    const bool Pen = Stroke && State.Pen.Style != psClear;
    const int W = std::max(State.Pen.Width, 1);
    const TRect Extent = PointsExtent(All, W);
    TMask Outline(Extent, FWidth, FHeight);
    TMask Gap(Extent, FWidth, FHeight);
    if (Outline.Empty())
        return;
    if (Pen) {
        TDasher Dasher(DashPattern(State.Pen));
        for (const auto& Poly : Polygons)
            for (std::size_t I = 0; I < Poly.size(); ++I)
                LinePixels(Poly[I], Poly[(I + 1) % Poly.size()], W > 1, [&](int X, int Y) {
                    if (Dasher.Next())
                        Stamp(Outline, X, Y, W);
                    else if (W == 1)
                        Gap.Set(X, Y);
                });
    }
    const TBrushSampler Brush(State);
    if (Fill && Brush.Visible()) {
        TMask Inside(Extent, FWidth, FHeight);
        ScanPolygons(Polygons, Winding, [&](int Y, int L, int R) { Inside.Span(Y, L, R); });
        Inside.Subtract(Outline);
        PaintMask(*this, Inside, State.Clip, State.Rop2,
                  [&](int X, int Y, std::uint32_t& P) { return Brush.Sample(X, Y, P); });
    }
    if (Pen)
        PaintPen(*this, State, Outline, Gap);
}

void TRasterDevice::Shape(const TDeviceState& State, const TShapeCall& Call)
{
    const bool Pen = State.Pen.Style != psClear;
    TBoxShape Box;
    Box.Box = Call.Box;
    Box.CornerW = Call.Corner.cx;
    Box.CornerH = Call.Corner.cy;
    switch (Call.Kind) {
    case shRectangle:
        Box.Kind = TBoxShape::skRectangle;
        break;
    case shRoundRect:
        Box.Kind = TBoxShape::skRoundRect;
        break;
    default:
        Box.Kind = TBoxShape::skEllipse;
        break;
    }
    // Without a pen the interior reaches one pixel less to the right and bottom.
    if (!Pen) {
        Box.Box.Right -= 1;
        Box.Box.Bottom -= 1;
    }
    const int W = std::max(State.Pen.Width, 1);
    int Outer = W / 2;
    int Inner = W / 2 - W;
    if (State.Pen.Style == psInsideFrame) {
        Outer = 0;
        Inner = -W;
    }
    if (!Pen) {
        Outer = 0;
        Inner = 0;
    }
    const TRect Extent = Box.Extent(Outer + 1);
    TMask Outline(Extent, FWidth, FHeight);
    TMask Gap(Extent, FWidth, FHeight);
    TMask Interior(Extent, FWidth, FHeight);
    if (Outline.Empty())
        return;

    const double CX = (Call.Box.Left + Call.Box.Right - 1) / 2.0;
    const double CY = (Call.Box.Top + Call.Box.Bottom - 1) / 2.0;
    const bool Sweeping = Call.Kind == shArc || Call.Kind == shPie || Call.Kind == shChord;
    const double Start = Angle(CX, CY, Call.Start.X, Call.Start.Y);
    const double End = Angle(CX, CY, Call.End.X, Call.End.Y);
    // Where a radial meets the ellipse (pixel-centre radii).
    auto OnEllipse = [&](double Theta) {
        const double RX = std::max((Call.Box.Width() - 1) / 2.0, 0.0);
        const double RY = std::max((Call.Box.Height() - 1) / 2.0, 0.0);
        const double C = std::cos(Theta);
        const double S = std::sin(Theta);
        double T = 0;
        if (RX > 0 && RY > 0)
            T = 1.0 / std::sqrt((C / RX) * (C / RX) + (S / RY) * (S / RY));
        return TPoint{static_cast<int>(std::lround(CX + T * C)),
                      static_cast<int>(std::lround(CY - T * S))};
    };
    const TPoint StartPt = OnEllipse(Start);
    const TPoint EndPt = OnEllipse(End);
    const double MidTheta = [&] {
        double Sweep = std::fmod(End - Start, 2 * std::numbers::pi);
        if (Sweep <= 1e-12)
            Sweep += 2 * std::numbers::pi;
        return Start + Sweep / 2;
    }();
    // The side of the chord on which the arc lies.
    auto ChordSide = [&](double X, double Y) {
        return (EndPt.X - StartPt.X) * (Y - StartPt.Y) - (EndPt.Y - StartPt.Y) * (X - StartPt.X);
    };
    const TPoint MidPt = OnEllipse(MidTheta);
    const double ArcSide = ChordSide(MidPt.X, MidPt.Y);

    auto InFill = [&](int X, int Y) {
        if (!Box.Inside(X, Y, Inner))
            return false;
        if (Call.Kind == shPie)
            return InSweep(Angle(CX, CY, X, Y), Start, End);
        if (Call.Kind == shChord) {
            const double Side = ChordSide(X, Y);
            return Side == 0 || (Side > 0) == (ArcSide > 0);
        }
        return true;
    };

    std::vector<TPoint> Ring;
    if (Pen)
        for (int Y = Extent.Top; Y < Extent.Bottom; ++Y)
            for (int X = Extent.Left; X < Extent.Right; ++X)
                if (Box.Inside(X, Y, Outer) && !Box.Inside(X, Y, Inner) &&
                    (!Sweeping || InSweep(Angle(CX, CY, X, Y), Start, End)))
                    Ring.push_back(TPoint{X, Y});

    const std::vector<int> Dashes = DashPattern(State.Pen);
    if (!Dashes.empty() && W == 1 && Call.Kind == shRectangle) {
        const TRect& B = Box.Box;
        const std::vector<TPoint> Closed = {{B.Left, B.Top},
                                            {B.Right - 1, B.Top},
                                            {B.Right - 1, B.Bottom - 1},
                                            {B.Left, B.Bottom - 1},
                                            {B.Left, B.Top}};
        TDasher Dasher(Dashes);
        for (std::size_t I = 0; I + 1 < Closed.size(); ++I)
            LinePixels(Closed[I], Closed[I + 1], false,
                       [&](int X, int Y) { (Dasher.Next() ? Outline : Gap).Set(X, Y); });
    } else if (!Dashes.empty() && W == 1) {
        // Curved outlines take their dashes in order round the centre.
        const double From = Sweeping ? Start : -std::numbers::pi;
        std::stable_sort(Ring.begin(), Ring.end(), [&](const TPoint& A, const TPoint& B) {
            auto Key = [&](const TPoint& P) {
                double D = Angle(CX, CY, P.X, P.Y) - From;
                while (D < 0)
                    D += 2 * std::numbers::pi;
                return D;
            };
            return Key(A) < Key(B);
        });
        TDasher Dasher(Dashes);
        for (const TPoint& P : Ring)
            (Dasher.Next() ? Outline : Gap).Set(P.X, P.Y);
    } else {
        for (const TPoint& P : Ring)
            Outline.Set(P.X, P.Y);
    }
    if (Pen && (Call.Kind == shPie || Call.Kind == shChord)) {
        const TPoint Centre{static_cast<int>(std::lround(CX)), static_cast<int>(std::lround(CY))};
        auto Edge = [&](TPoint A, TPoint B) {
            LinePixels(A, B, true, [&](int X, int Y) { Stamp(Outline, X, Y, W); });
        };
        if (Call.Kind == shPie) {
            Edge(Centre, StartPt);
            Edge(Centre, EndPt);
        } else {
            Edge(StartPt, EndPt);
        }
    }

    const TBrushSampler Brush(State);
    if (Call.Kind != shArc && Brush.Visible()) {
        for (int Y = Extent.Top; Y < Extent.Bottom; ++Y)
            for (int X = Extent.Left; X < Extent.Right; ++X)
                if (InFill(X, Y) && !Outline.Get(X, Y))
                    Interior.Set(X, Y);
        PaintMask(*this, Interior, State.Clip, State.Rop2,
                  [&](int X, int Y, std::uint32_t& P) { return Brush.Sample(X, Y, P); });
    }
    if (Pen)
        PaintPen(*this, State, Outline, Gap);
}

void TRasterDevice::FillRect(const TDeviceState& State, const TRect& R)
{
    PatBlt(State, R, PATCOPY);
}

void TRasterDevice::PatBlt(const TDeviceState& State, const TRect& R, std::uint32_t Rop)
{
    TRect Box;
    if (!IntersectRect(Box, R, TRect{0, 0, FWidth, FHeight}))
        return;
    const TBrushSampler Brush(State);
    const bool UsesPattern = RopUsesPattern(Rop);
    // The common case, a solid brush copied, is a plain fill of each run.
    if (Rop == PATCOPY && !State.Brush.Pattern && State.Brush.Style == bsSolid) {
        const std::uint32_t Colour = ToNative(State.Brush.Color) & 0xFFFFFF;
        ForClipped(State.Clip, Box, [&](int Y, int L, int Rt) {
            std::uint32_t* Row = ScanLine(Y);
            std::fill(Row + L, Row + Rt, Colour);
        });
        return;
    }
    ForClipped(State.Clip, Box, [&](int Y, int L, int Rt) {
        std::uint32_t* Row = ScanLine(Y);
        for (int X = L; X < Rt; ++X) {
            std::uint32_t P = 0;
            if (UsesPattern && !Brush.Sample(X, Y, P))
                continue;
            Row[X] = ApplyRop3(Rop, P, 0, Row[X]) & 0xFFFFFF;
        }
    });
}

TRect TRasterDevice::FirstPixelBox(const TRect& R)
{
    TRect B = R;
    if (B.Right < B.Left) {
        B.Left = R.Right + 1;
        B.Right = R.Left + 1;
    }
    if (B.Bottom < B.Top) {
        B.Top = R.Bottom + 1;
        B.Bottom = R.Top + 1;
    }
    return B;
}

void TRasterDevice::StretchBlt(const TDeviceState& State, const TRect& Dest,
                               const TCanvasDevice& Source, const TRect& Src, std::uint32_t Rop,
                               int StretchMode)
{
    const int DW = Dest.Width();
    const int DH = Dest.Height();
    const int SW = Src.Width();
    const int SH = Src.Height();
    if (DW == 0 || DH == 0 || SW == 0 || SH == 0)
        return;
    // Opposite signs of the widths (or heights) mirror the picture.
    const TRect SrcBox = FirstPixelBox(Src);
    const TRect DestBox = FirstPixelBox(Dest);
    const bool MirrorX = (DW < 0) != (SW < 0);
    const bool MirrorY = (DH < 0) != (SH < 0);
    const int AW = SrcBox.Width();
    const int AH = SrcBox.Height();
    const int BW = DestBox.Width();
    const int BH = DestBox.Height();
    std::vector<TColor> Pixels;
    const bool UsesSource = RopUsesSource(Rop);
    if (UsesSource && !Source.ReadPixels(SrcBox, Pixels))
        Pixels.assign(static_cast<std::size_t>(AW) * AH, clWhite);
    auto At = [&](int X, int Y) { return ToNative(Pixels[static_cast<std::size_t>(Y) * AW + X]); };
    // The source pixel (or block, when shrinking) behind a destination pixel.
    auto SourceAt = [&](int DX, int DY) -> std::uint32_t {
        if (!UsesSource)
            return 0;
        int X0 = static_cast<int>(static_cast<long long>(DX) * AW / BW);
        int X1 = static_cast<int>(static_cast<long long>(DX + 1) * AW / BW);
        int Y0 = static_cast<int>(static_cast<long long>(DY) * AH / BH);
        int Y1 = static_cast<int>(static_cast<long long>(DY + 1) * AH / BH);
        X1 = std::max(X1, X0 + 1);
        Y1 = std::max(Y1, Y0 + 1);
        if (MirrorX) {
            const int T = AW - X1;
            X1 = AW - X0;
            X0 = T;
        }
        if (MirrorY) {
            const int T = AH - Y1;
            Y1 = AH - Y0;
            Y0 = T;
        }
        if ((X1 - X0 == 1 && Y1 - Y0 == 1) || StretchMode == COLORONCOLOR || StretchMode == 0)
            return At(MirrorX ? X1 - 1 : X0, MirrorY ? Y1 - 1 : Y0);
        if (StretchMode == HALFTONE) {
            unsigned long R = 0, G = 0, B = 0, N = 0;
            for (int Y = Y0; Y < Y1; ++Y)
                for (int X = X0; X < X1; ++X) {
                    const std::uint32_t C = At(X, Y);
                    R += C >> 16 & 0xFF;
                    G += C >> 8 & 0xFF;
                    B += C & 0xFF;
                    ++N;
                }
            return static_cast<std::uint32_t>((R + N / 2) / N << 16 | (G + N / 2) / N << 8 |
                                              (B + N / 2) / N);
        }
        std::uint32_t Out = StretchMode == WHITEONBLACK ? 0 : 0xFFFFFF;
        for (int Y = Y0; Y < Y1; ++Y)
            for (int X = X0; X < X1; ++X)
                Out = StretchMode == WHITEONBLACK ? Out | At(X, Y) : Out & At(X, Y);
        return Out;
    };
    TRect Box;
    if (!IntersectRect(Box, DestBox, TRect{0, 0, FWidth, FHeight}))
        return;
    const TBrushSampler Brush(State);
    const bool UsesPattern = RopUsesPattern(Rop);
    ForClipped(State.Clip, Box, [&](int Y, int L, int R) {
        std::uint32_t* Row = ScanLine(Y);
        for (int X = L; X < R; ++X) {
            std::uint32_t P = 0;
            if (UsesPattern && !Brush.Sample(X, Y, P))
                P = ToNative(State.Brush.Color);
            const std::uint32_t S = SourceAt(X - DestBox.Left, Y - DestBox.Top);
            Row[X] = ApplyRop3(Rop, P, S, Row[X]) & 0xFFFFFF;
        }
    });
}

bool TRasterDevice::ReadPixels(const TRect& R, std::vector<TColor>& Pixels) const
{
    Pixels.assign(static_cast<std::size_t>(std::max(R.Width(), 0)) * std::max(R.Height(), 0),
                  clWhite);
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
            if (X >= 0 && Y >= 0 && X < FWidth && Y < FHeight)
                Pixels[static_cast<std::size_t>(Y - R.Top) * R.Width() + (X - R.Left)] =
                    FromNative(ScanLine(Y)[X]);
    return true;
}

void TRasterDevice::SetPixel(const TDeviceState& State, int X, int Y, TColor Color)
{
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
        return;
    if (State.Clip && !State.Clip->Contains(X, Y))
        return;
    ScanLine(Y)[X] = ToNative(Color) & 0xFFFFFF;
}

TColor TRasterDevice::GetPixel(int X, int Y) const
{
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
        return CLR_INVALID;
    return FromNative(ScanLine(Y)[X]);
}

void TRasterDevice::TextOut(const TDeviceState& State, const TDeviceText& Text)
{
    const auto Font = TFontInstance::Get(State.Font);
    // The clip of the call: the device clip, narrowed to the rectangle with ETO_CLIPPED.
    TRegion Clip = State.Clip ? *State.Clip : TRegion(TRect{0, 0, FWidth, FHeight});
    if (Text.Options & ETO_CLIPPED)
        Clip = TRegion::Intersect(Clip, TRegion(Text.Rect));
    TDeviceState Local = State;
    Local.Clip = &Clip;
    Local.Brush = TBrushData{State.BkColor, bsSolid, nullptr};

    int Width = 0;
    for (int A : Text.Advances)
        Width += A;
    if (Text.Options & ETO_OPAQUE) {
        TDeviceState Opaque = Local;
        TRegion OpaqueClip = State.Clip ? *State.Clip : TRegion(TRect{0, 0, FWidth, FHeight});
        Opaque.Clip = &OpaqueClip;
        PatBlt(Opaque, Text.Rect, PATCOPY);
    } else if (State.BkMode == OPAQUE && Width > 0) {
        // The character cells, turned with the base line.
        const TTextMetric& M = Font->Metrics();
        const TPoint A = Font->Turn(0, -M.tmAscent);
        const TPoint B = Font->Turn(Width, -M.tmAscent);
        const TPoint C = Font->Turn(Width, M.tmDescent);
        const TPoint D = Font->Turn(0, M.tmDescent);
        const TPoint O = Text.Origin;
        const std::vector<TPoint> Cell = {{O.X + A.X, O.Y + A.Y},
                                          {O.X + B.X, O.Y + B.Y},
                                          {O.X + C.X, O.Y + C.Y},
                                          {O.X + D.X, O.Y + D.Y}};
        TMask Back(PointsExtent(Cell, 1), FWidth, FHeight);
        ScanPolygons({Cell}, false, [&](int Y, int L, int R) { Back.Span(Y, L, R); });
        const std::uint32_t Bk = ToNative(State.BkColor);
        PaintMask(*this, Back, &Clip, R2_COPYPEN, [&](int, int, std::uint32_t& P) {
            P = Bk;
            return true;
        });
    }
    if (Text.Text.empty())
        return;
    const TCoverageMask Coverage =
        Text.Advances.empty() ? Font->Render(Text.Text, Text.CharExtra, nullptr, Text.Coding)
                              : Font->Render(Text.Text, 0, &Text.Advances, Text.Coding);
    const TRect Box{Text.Origin.X + Coverage.Left, Text.Origin.Y + Coverage.Top,
                    Text.Origin.X + Coverage.Left + Coverage.Width,
                    Text.Origin.Y + Coverage.Top + Coverage.Height};
    TRect Visible;
    if (!IntersectRect(Visible, Box, TRect{0, 0, FWidth, FHeight}))
        return;
    const std::uint32_t Ink = ToNative(State.TextColor);
    ForClipped(&Clip, Visible, [&](int Y, int L, int R) {
        std::uint32_t* Row = ScanLine(Y);
        for (int X = L; X < R; ++X) {
            const unsigned A = Coverage.At(X - Box.Left, Y - Box.Top);
            if (A == 0)
                continue;
            const std::uint32_t D = Row[X];
            std::uint32_t Out = 0;
            for (int Shift = 0; Shift <= 16; Shift += 8) {
                const unsigned DC = D >> Shift & 0xFF;
                const unsigned IC = Ink >> Shift & 0xFF;
                const unsigned C = (DC * (255 - A) + IC * A + 127) / 255;
                Out |= C << Shift;
            }
            Row[X] = Out;
        }
    });
}
