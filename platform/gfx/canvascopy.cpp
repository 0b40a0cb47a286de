// Copying between canvases, raster operations with the brush, and drawing pictures.
#include "platform/gfx/canvas.h"

#include "platform/gfx/graphic.h"

#include <utility>

int TCanvas::SetStretchBltMode(int Value)
{
    if (Value < BLACKONWHITE || Value > HALFTONE)
        return FSettings.StretchMode;
    return std::exchange(FSettings.StretchMode, Value);
}

bool TCanvas::StretchBlt(int X, int Y, int Width, int Height, TCanvas* Source, int XSrc, int YSrc,
                         int SrcWidth, int SrcHeight, std::uint32_t Rop)
{
    if (!FDevice)
        return false;
    const bool UsesSource = RopUsesSource(Rop);
    if (UsesSource && (!Source || !Source->FDevice))
        return false;
    const TPoint A = LPtoDP(TPoint{X, Y});
    const TPoint B = LPtoDP(TPoint{X + Width, Y + Height});
    TRect Src{0, 0, 1, 1};
    if (Source) {
        const TPoint SA = Source->LPtoDP(TPoint{XSrc, YSrc});
        const TPoint SB = Source->LPtoDP(TPoint{XSrc + SrcWidth, YSrc + SrcHeight});
        Src = TRect{SA.X, SA.Y, SB.X, SB.Y};
    }
    TChangeScope Scope(this);
    const TCanvasDevice& From = Source && Source->FDevice ? *Source->FDevice : *FDevice;
    FDevice->StretchBlt(State(), TRect{A.X, A.Y, B.X, B.Y}, From, Src, Rop, FSettings.StretchMode);
    return true;
}

bool TCanvas::BitBlt(int X, int Y, int Width, int Height, TCanvas* Source, int XSrc, int YSrc,
                     std::uint32_t Rop)
{
    if (!RopUsesSource(Rop))
        return PatBlt(X, Y, Width, Height, Rop);
    if (!Source)
        return false;
    // Same size on the device: the source's own scale gives its extent.
    const TPoint A = LPtoDP(TPoint{X, Y});
    const TPoint B = LPtoDP(TPoint{X + Width, Y + Height});
    const TPoint SA = Source->LPtoDP(TPoint{XSrc, YSrc});
    const TPoint SB = Source->DPtoLP(TPoint{SA.X + (B.X - A.X), SA.Y + (B.Y - A.Y)});
    return StretchBlt(X, Y, Width, Height, Source, XSrc, YSrc, SB.X - XSrc, SB.Y - YSrc, Rop);
}

bool TCanvas::PatBlt(int X, int Y, int Width, int Height, std::uint32_t Rop)
{
    if (!FDevice)
        return false;
    TChangeScope Scope(this);
    FDevice->PatBlt(State(), DeviceRect(X, Y, X + Width, Y + Height), Rop);
    return true;
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Source, const TRect& Src)
{
    StretchBlt(Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Source, Src.Left, Src.Top,
               Src.Width(), Src.Height(), FSettings.CopyMode);
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic)
{
    if (Graphic && !Graphic->Empty())
        Graphic->Draw(this, TRect{X, Y, X + Graphic->Width(), Y + Graphic->Height()});
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic)
{
    if (Graphic && !Graphic->Empty())
        Graphic->Draw(this, Rect);
}
