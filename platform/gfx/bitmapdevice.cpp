// platform/gfx/bitmapdevice.cpp: the canvas device of a bitmap over a 32-bit working copy.
#include "platform/gfx/bitmapdevice.h"

#include "platform/gfx/bitmap.h"

#include <cstring>
#include <unordered_map>

namespace {

// Formats whose pixels cannot keep every 24-bit colour.
bool Lossy(const TDibImage& Image)
{
    return Image.BitCount != 24 && Image.BitCount != 32;
}

} // namespace

const TDibImage* TBitmapDevice::Image() const
{
    return FOwner->FImage.get();
}

int TBitmapDevice::Width() const
{
    const TDibImage* I = Image();
    return I ? I->Width : 0;
}

int TBitmapDevice::Height() const
{
    const TDibImage* I = Image();
    return I ? I->Height : 0;
}

TRasterDevice& TBitmapDevice::Raster() const
{
    if (!FRaster)
        FRaster = std::make_unique<TRasterDevice>(0, 0);
    if (FRasterValid)
        return *FRaster;
    const TDibImage* I = Image();
    const int W = I ? I->Width : 0, H = I ? I->Height : 0;
    FRaster->SetSize(0, 0);
    FRaster->SetSize(W, H);
    for (int Y = 0; Y < H; ++Y) {
        std::uint32_t* Out = FRaster->ScanLine(Y);
        const std::uint8_t* In = I->Row(Y);
        if (I->BitCount == 32) {
            for (int X = 0; X < W; ++X, In += 4)
                Out[X] =
                    std::uint32_t(In[0]) | std::uint32_t(In[1]) << 8 | std::uint32_t(In[2]) << 16;
        } else if (I->BitCount == 24) {
            for (int X = 0; X < W; ++X, In += 3)
                Out[X] =
                    std::uint32_t(In[0]) | std::uint32_t(In[1]) << 8 | std::uint32_t(In[2]) << 16;
        } else {
            for (int X = 0; X < W; ++X)
                Out[X] = TRasterDevice::ToNative(I->Pixel(X, Y));
        }
    }
    FRasterValid = true;
    FRasterNewer = false;
    return *FRaster;
}

void TBitmapDevice::Flush()
{
    if (!FRasterNewer || !FRasterValid)
        return;
    FRasterNewer = false;
    TDibImage* I = FOwner->FImage.get();
    if (!I || I->Width != FRaster->Width() || I->Height != FRaster->Height())
        return;
    std::unordered_map<std::uint32_t, std::uint32_t> Seen; // the value each colour became
    for (int Y = 0; Y < I->Height; ++Y) {
        const std::uint32_t* In = FRaster->ScanLine(Y);
        std::uint8_t* Out = I->Row(Y);
        if (I->BitCount == 32 || I->BitCount == 24) {
            const int Step = I->BitCount / 8;
            for (int X = 0; X < I->Width; ++X, Out += Step) {
                // The alpha byte of 32-bit pixels stays as it was.
                Out[0] = static_cast<std::uint8_t>(In[X]);
                Out[1] = static_cast<std::uint8_t>(In[X] >> 8);
                Out[2] = static_cast<std::uint8_t>(In[X] >> 16);
            }
            continue;
        }
        for (int X = 0; X < I->Width; ++X) {
            const std::uint32_t P = In[X] & 0xFFFFFF;
            auto It = Seen.find(P);
            if (It == Seen.end())
                It = Seen.emplace(P, I->Encode(TRasterDevice::FromNative(P))).first;
            I->SetRaw(X, Y, It->second);
        }
    }
}

void TBitmapDevice::Invalidate()
{
    FRasterValid = false;
    FRasterNewer = false;
}

TRasterDevice& TBitmapDevice::Writable()
{
    TRasterDevice& R = Raster();
    FRasterNewer = true;
    return R;
}

const TRasterDevice& TBitmapDevice::Readable() const
{
    TRasterDevice& R = Raster();
    const TDibImage* I = Image();
    if (FRasterNewer && I && Lossy(*I)) {
        // Reads see the colours the bitmap really holds.
        const_cast<TBitmapDevice*>(this)->Flush();
        FRasterValid = false;
        return Raster();
    }
    return R;
}

void TBitmapDevice::StretchBlt(const TDeviceState& State, const TRect& Dest,
                               const TCanvasDevice& Source, const TRect& Src, std::uint32_t Rop,
                               int StretchMode)
{
    if (&Source == this) {
        Readable();
        Writable().StretchBlt(State, Dest, *FRaster, Src, Rop, StretchMode);
        return;
    }
    Writable().StretchBlt(State, Dest, Source, Src, Rop, StretchMode);
}
