#include "platform/gfx/region.h"

#include "platform/gfx/shapes.h"

#include <algorithm>

namespace {

enum TOp { opAnd, opOr, opXor, opDiff };

bool Apply(TOp Op, bool A, bool B)
{
    switch (Op) {
    case opAnd:
        return A && B;
    case opOr:
        return A || B;
    case opXor:
        return A != B;
    case opDiff:
        return A && !B;
    }
    return false;
}

bool InSpans(const std::vector<TRegion::TSpan>& Spans, int X)
{
    for (const auto& S : Spans)
        if (X >= S.Left && X < S.Right)
            return true;
    return false;
}

std::vector<TRegion::TSpan> CombineSpans(const std::vector<TRegion::TSpan>& A,
                                         const std::vector<TRegion::TSpan>& B, TOp Op)
{
    std::vector<int> Xs;
    for (const auto& S : A) {
        Xs.push_back(S.Left);
        Xs.push_back(S.Right);
    }
    for (const auto& S : B) {
        Xs.push_back(S.Left);
        Xs.push_back(S.Right);
    }
    std::sort(Xs.begin(), Xs.end());
    Xs.erase(std::unique(Xs.begin(), Xs.end()), Xs.end());
    std::vector<TRegion::TSpan> Out;
    for (std::size_t I = 0; I + 1 < Xs.size(); ++I) {
        if (!Apply(Op, InSpans(A, Xs[I]), InSpans(B, Xs[I])))
            continue;
        if (!Out.empty() && Out.back().Right == Xs[I])
            Out.back().Right = Xs[I + 1];
        else
            Out.push_back(TRegion::TSpan{Xs[I], Xs[I + 1]});
    }
    return Out;
}

const std::vector<TRegion::TSpan>* SpansAt(const std::vector<TRegion::TBand>& Bands, int Y)
{
    for (const auto& Band : Bands)
        if (Y >= Band.Top && Y < Band.Bottom)
            return &Band.Spans;
    return nullptr;
}

TRegion Combine(const TRegion& A, const TRegion& B, TOp Op)
{
    std::vector<int> Ys;
    for (const auto* R : {&A, &B})
        for (const auto& Band : R->Bands()) {
            Ys.push_back(Band.Top);
            Ys.push_back(Band.Bottom);
        }
    std::sort(Ys.begin(), Ys.end());
    Ys.erase(std::unique(Ys.begin(), Ys.end()), Ys.end());
    static const std::vector<TRegion::TSpan> None;
    TRegion Out;
    for (std::size_t I = 0; I + 1 < Ys.size(); ++I) {
        const auto* SA = SpansAt(A.Bands(), Ys[I]);
        const auto* SB = SpansAt(B.Bands(), Ys[I]);
        Out.AddBand(Ys[I], Ys[I + 1], CombineSpans(SA ? *SA : None, SB ? *SB : None, Op));
    }
    Out.Finish();
    return Out;
}

} // namespace

TRegion::TRegion(const TRect& R)
{
    if (!IsRectEmpty(R))
        FBands.push_back(TBand{R.Top, R.Bottom, {TSpan{R.Left, R.Right}}});
}

TRegion TRegion::FromPredicate(const TRect& Box, const std::function<bool(int, int)>& Inside)
{
    TRegion Out;
    for (int Y = Box.Top; Y < Box.Bottom; ++Y) {
        int X = Box.Left;
        while (X < Box.Right) {
            if (!Inside(X, Y)) {
                ++X;
                continue;
            }
            const int Start = X;
            while (X < Box.Right && Inside(X, Y))
                ++X;
            Out.AddRowSpan(Y, Start, X);
        }
    }
    Out.Finish();
    return Out;
}

TRegion TRegion::Ellipse(const TRect& Box)
{
    const TBoxShape Shape{TBoxShape::skEllipse, Box, 0, 0};
    return FromPredicate(Box, [&](int X, int Y) { return Shape.Inside(X, Y); });
}

TRegion TRegion::RoundRect(const TRect& Box, int CornerW, int CornerH)
{
    const TBoxShape Shape{TBoxShape::skRoundRect, Box, CornerW, CornerH};
    return FromPredicate(Box, [&](int X, int Y) { return Shape.Inside(X, Y); });
}

TRegion TRegion::Polygon(const std::vector<TPoint>& Points, bool Winding)
{
    return PolyPolygon({Points}, Winding);
}

TRegion TRegion::PolyPolygon(const std::vector<std::vector<TPoint>>& Polygons, bool Winding)
{
    TRegion Out;
    ScanPolygons(Polygons, Winding,
                 [&](int Y, int Left, int Right) { Out.AddRowSpan(Y, Left, Right); });
    Out.Finish();
    return Out;
}

void TRegion::AddRowSpan(int Y, int Left, int Right)
{
    if (Right <= Left)
        return;
    if (!FBands.empty() && FBands.back().Top == Y && FBands.back().Bottom == Y + 1) {
        auto& Spans = FBands.back().Spans;
        if (!Spans.empty() && Spans.back().Right >= Left) {
            Spans.back().Right = std::max(Spans.back().Right, Right);
            return;
        }
        Spans.push_back(TSpan{Left, Right});
        return;
    }
    FBands.push_back(TBand{Y, Y + 1, {TSpan{Left, Right}}});
}

void TRegion::AddBand(int Top, int Bottom, std::vector<TSpan> Spans)
{
    if (Bottom > Top && !Spans.empty())
        FBands.push_back(TBand{Top, Bottom, std::move(Spans)});
}

void TRegion::Finish()
{
    std::vector<TBand> Merged;
    for (auto& Band : FBands) {
        if (Band.Spans.empty())
            continue;
        if (!Merged.empty() && Merged.back().Bottom == Band.Top &&
            Merged.back().Spans == Band.Spans)
            Merged.back().Bottom = Band.Bottom;
        else
            Merged.push_back(std::move(Band));
    }
    FBands = std::move(Merged);
}

bool TRegion::Contains(int X, int Y) const
{
    const auto* Spans = SpansAt(FBands, Y);
    return Spans && InSpans(*Spans, X);
}

TRect TRegion::Bounds() const
{
    if (FBands.empty())
        return TRect{};
    TRect R{FBands.front().Spans.front().Left, FBands.front().Top,
            FBands.front().Spans.back().Right, FBands.back().Bottom};
    for (const auto& Band : FBands) {
        R.Left = std::min(R.Left, Band.Spans.front().Left);
        R.Right = std::max(R.Right, Band.Spans.back().Right);
    }
    return R;
}

bool TRegion::IsRectangle() const
{
    return FBands.size() <= 1 && (FBands.empty() || FBands.front().Spans.size() == 1);
}

void TRegion::Offset(int DX, int DY)
{
    for (auto& Band : FBands) {
        Band.Top += DY;
        Band.Bottom += DY;
        for (auto& S : Band.Spans) {
            S.Left += DX;
            S.Right += DX;
        }
    }
}

std::vector<TRect> TRegion::Rects() const
{
    std::vector<TRect> Out;
    for (const auto& Band : FBands)
        for (const auto& S : Band.Spans)
            Out.push_back(TRect{S.Left, Band.Top, S.Right, Band.Bottom});
    return Out;
}

TRegion TRegion::Intersect(const TRegion& A, const TRegion& B)
{
    return Combine(A, B, opAnd);
}

TRegion TRegion::Union(const TRegion& A, const TRegion& B)
{
    return Combine(A, B, opOr);
}

TRegion TRegion::Xor(const TRegion& A, const TRegion& B)
{
    return Combine(A, B, opXor);
}

TRegion TRegion::Diff(const TRegion& A, const TRegion& B)
{
    return Combine(A, B, opDiff);
}

bool operator==(const TRegion& A, const TRegion& B)
{
    if (A.FBands.size() != B.FBands.size())
        return false;
    for (std::size_t I = 0; I < A.FBands.size(); ++I)
        if (A.FBands[I].Top != B.FBands[I].Top || A.FBands[I].Bottom != B.FBands[I].Bottom ||
            A.FBands[I].Spans != B.FBands[I].Spans)
            return false;
    return true;
}

int RegionKind(const TRegion& Region)
{
    if (Region.Empty())
        return NULLREGION;
    return Region.IsRectangle() ? SIMPLEREGION : COMPLEXREGION;
}

HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom)
{
    return new TRegion(TRect{std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right),
                             std::max(Top, Bottom)});
}

HRGN CreateRectRgnIndirect(const TRect& R)
{
    return CreateRectRgn(R.Left, R.Top, R.Right, R.Bottom);
}

HRGN CreateEllipticRgn(int Left, int Top, int Right, int Bottom)
{
    return new TRegion(TRegion::Ellipse(TRect{std::min(Left, Right), std::min(Top, Bottom),
                                              std::max(Left, Right), std::max(Top, Bottom)}));
}

HRGN CreateRoundRectRgn(int Left, int Top, int Right, int Bottom, int CornerW, int CornerH)
{
    return new TRegion(TRegion::RoundRect(TRect{std::min(Left, Right), std::min(Top, Bottom),
                                                std::max(Left, Right), std::max(Top, Bottom)},
                                          CornerW, CornerH));
}

HRGN CreatePolygonRgn(const TPoint* Points, int Count, int FillMode)
{
    std::vector<TPoint> Poly;
    if (Points && Count > 0)
        Poly.assign(Points, Points + Count);
    return new TRegion(TRegion::Polygon(Poly, FillMode == WINDING));
}

bool DeleteObject(HRGN Region)
{
    if (!Region)
        return false;
    delete Region;
    return true;
}

int CombineRgn(HRGN Dest, HRGN Src1, HRGN Src2, int Mode)
{
    if (!Dest || !Src1 || (Mode != RGN_COPY && !Src2))
        return RGN_ERROR;
    switch (Mode) {
    case RGN_AND:
        *Dest = TRegion::Intersect(*Src1, *Src2);
        break;
    case RGN_OR:
        *Dest = TRegion::Union(*Src1, *Src2);
        break;
    case RGN_XOR:
        *Dest = TRegion::Xor(*Src1, *Src2);
        break;
    case RGN_DIFF:
        *Dest = TRegion::Diff(*Src1, *Src2);
        break;
    case RGN_COPY:
        if (Dest != Src1)
            *Dest = *Src1;
        break;
    default:
        return RGN_ERROR;
    }
    return RegionKind(*Dest);
}

bool PtInRegion(HRGN Region, int X, int Y)
{
    return Region && Region->Contains(X, Y);
}

int GetRgnBox(HRGN Region, TRect& Box)
{
    if (!Region)
        return RGN_ERROR;
    Box = Region->Bounds();
    return RegionKind(*Region);
}

int OffsetRgn(HRGN Region, int DX, int DY)
{
    if (!Region)
        return RGN_ERROR;
    Region->Offset(DX, DY);
    return RegionKind(*Region);
}

bool EqualRgn(HRGN A, HRGN B)
{
    return A && B && *A == *B;
}

bool RectInRegion(HRGN Region, const TRect& R)
{
    return Region && !TRegion::Intersect(*Region, TRegion(R)).Empty();
}
