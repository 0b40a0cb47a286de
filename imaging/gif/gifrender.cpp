// imaging/gif/gifrender.cpp: a frame rendered into a bitmap with its palette and transparency
// mask, drawn onto a canvas, converted from other graphics, and the optimiser's trimming and
// subtraction of repeated pixels.
#include "imaging/gif/gifextensions.h"
#include "imaging/gif/gifimage.h"
#include "imaging/gif/gifitems.h"
#include "imaging/gif/gifreduce.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/icon.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/rop.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

int MaskStride(int Width)
{
    return (Width + 15) / 16 * 2;
}

// A 32-bit image of the given size.
TDibImage Image32(int Width, int Height)
{
    TDibImage Image;
    Image.Allocate(Width, Height, 32);
    return Image;
}

} // namespace

HPALETTE TGIFSubImage::FramePalette()
{
    if (FBitmap && FBitmap->PixelFormat() != pfDevice && FBitmap->PixelFormat() <= pf8bit)
        if (HPALETTE P = FBitmap->Palette())
            return P;
    if (FPalette)
        return FPalette;
    if (FImage && FImage->DoDither())
        FPalette = CreateCubePalette();
    else if (FColorMap->Count() > 0)
        FPalette = FColorMap->ToPalette();
    if (FPalette)
        return FPalette;
    return FImage ? FImage->Palette() : nullptr;
}

void TGIFSubImage::SetFramePalette(HPALETTE Value)
{
    if (Value == FPalette)
        return;
    if (FPalette)
        DeleteObject(FPalette);
    FPalette = Value;
    if (FBitmap && Value) {
        DropBitmap();
        if (FImage) {
            FImage->SetPaletteModified(true);
            FImage->Changed(this);
        }
    }
}

void TGIFSubImage::DropBitmap()
{
    FBitmap.reset();
}

void TGIFSubImage::DropMask()
{
    if (FMask)
        DeleteObject(FMask);
    FMask = nullptr;
    FNeedMask = true;
}

TBitmap* TGIFSubImage::FrameBitmap()
{
    if (!FBitmap && !Empty()) {
        if (FImage)
            FImage->Progress(this, psStarting, 0, false, "Rendering...");
        try {
            if (FImage && FImage->DoDither())
                RenderDithered();
            else
                RenderPlain();
        } catch (const EAbort&) {
            FBitmap.reset();
            if (FImage)
                FImage->Progress(this, psEnding, 0, false, "Rendering...");
            return nullptr;
        }
        if (FImage) {
            const bool Modified = FImage->PaletteModified();
            FImage->Progress(this, psEnding, 100, Modified, "Rendering...");
            if (Modified)
                FImage->Changed(this);
        }
    }
    return FBitmap.get();
}

bool TGIFSubImage::MaskReady()
{
    if (FNeedMask && FTransparent) {
        DropBitmap();
        FrameBitmap();
    }
    return FMask != nullptr;
}

void TGIFSubImage::RenderPlain()
{
    auto Bitmap = std::make_unique<TBitmap>();
    const int W = Width(), H = Height();
    const bool WantMask = FNeedMask && FTransparent;
    FNeedMask = false;
    std::vector<std::uint8_t> MaskBits;
    const int T = TransparentIndex();
    if (WantMask && !FMask)
        MaskBits.assign(static_cast<std::size_t>(MaskStride(W)) * H, 0);
    bool AnySet = false;
    {
        TDIBWriter Writer(Bitmap.get(), FramePalette(), H, W, pf8bit);
        for (int Y = 0; Y < H; ++Y) {
            if (Y % 32 == 0 && FImage)
                FImage->Progress(this, psRunning, Y * 100 / H, false, "Rendering...");
            const std::uint8_t* Src = FData.data() + static_cast<std::size_t>(Y) * W;
            std::memcpy(Writer.RowAddress(Y), Src, static_cast<std::size_t>(W));
            if (!MaskBits.empty()) {
                std::uint8_t* M = MaskBits.data() + static_cast<std::size_t>(Y) * MaskStride(W);
                for (int X = 0; X < W; ++X)
                    if (Src[X] == T) {
                        M[X >> 3] |= static_cast<std::uint8_t>(0x80 >> (X & 7));
                        AnySet = true;
                    }
            }
        }
    }
    if (AnySet)
        FMask = CreateBitmap(W, H, 1, 1, MaskBits.data());
    FBitmap = std::move(Bitmap);
}

void TGIFSubImage::RenderDithered()
{
    auto Bitmap = std::make_unique<TBitmap>();
    const int W = Width(), H = Height();
    TNetscapeColorLookup Lookup;
    TFloydSteinbergDitherer Engine(W, &Lookup);
    TGIFColorMap* Map = ActiveColorMap();
    const bool WantMask = FNeedMask && FTransparent;
    FNeedMask = false;
    const int T = TransparentIndex();
    std::vector<std::uint8_t> MaskBits;
    if (WantMask && !FMask)
        MaskBits.assign(static_cast<std::size_t>(MaskStride(W)) * H, 0);
    std::uint8_t FillIndex = 0;
    if (WantMask) {
        const TColor C = Map->Count() > 0 ? Map->ColorAt(T) : 0;
        const int R = C & 0xFF, G = (C >> 8) & 0xFF, B = (C >> 16) & 0xFF;
        FillIndex = static_cast<std::uint8_t>((6 * G + 25) / 51 + B / 51 + (36 * R + 25) / 51 + 1);
    }
    bool AnySet = false;
    {
        TDIBWriter Writer(Bitmap.get(), FramePalette(), H, W, pf8bit);
        for (int Y = 0; Y < H; ++Y) {
            if (Y % 32 == 0 && FImage)
                FImage->Progress(this, psRunning, Y * 100 / H, false, "Rendering...");
            const std::uint8_t* Src = FData.data() + static_cast<std::size_t>(Y) * W;
            std::uint8_t* Dst = Writer.RowAddress(Y);
            if (WantMask)
                std::memset(Dst, FillIndex, static_cast<std::size_t>(W));
            std::uint8_t* M = MaskBits.empty()
                                  ? nullptr
                                  : MaskBits.data() + static_cast<std::size_t>(Y) * MaskStride(W);
            while (Engine.Column() >= 0 && Engine.Column() < W) {
                const int X = Engine.Column();
                if (WantMask && Src[X] == T) {
                    if (M)
                        M[X >> 3] |= static_cast<std::uint8_t>(0x80 >> (X & 7));
                    AnySet = true;
                    Engine.Skip();
                    continue;
                }
                int R = 0, G = 0, B = 0;
                if (Src[X] < Map->Count()) {
                    const std::uint8_t* E = Map->Entry(Src[X]);
                    R = E[0];
                    G = E[1];
                    B = E[2];
                }
                int OR, OG, OB;
                Dst[X] = static_cast<std::uint8_t>(Engine.DitherPixel(R, G, B, OR, OG, OB));
            }
            Engine.NextRow();
        }
    }
    if (AnySet && !MaskBits.empty())
        FMask = CreateBitmap(W, H, 1, 1, MaskBits.data());
    FBitmap = std::move(Bitmap);
}

void TGIFSubImage::DrawFrame(TCanvas* ACanvas, const TRect& ARect, bool ATransparent, bool ATile)
{
    TBitmap* Bitmap = FrameBitmap();
    if (!Bitmap || !FImage || FImage->Width() <= 0 || FImage->Height() <= 0)
        return;
    const int PW = FImage->Width(), PH = FImage->Height();
    std::vector<TRect> Targets;
    if (!ATile) {
        const auto Scale = [](int V, int Size, int Whole) {
            return static_cast<int>(static_cast<long long>(V) * Size / Whole);
        };
        Targets.push_back(TRect{ARect.Left + Scale(Left(), ARect.Width(), PW),
                                ARect.Top + Scale(Top(), ARect.Height(), PH),
                                ARect.Left + Scale(Left() + Width(), ARect.Width(), PW),
                                ARect.Top + Scale(Top() + Height(), ARect.Height(), PH)});
    } else {
        for (int Y = ARect.Top + Top(); Y < ARect.Bottom; Y += PH)
            for (int X = ARect.Left + Left(); X < ARect.Right; X += PW)
                Targets.push_back(TRect{X, Y, X + Width(), Y + Height()});
    }
    if (ATransparent && FTransparent && MaskReady()) {
        Bitmap = FBitmap.get();
        const TDibImage* Pixels = Bitmap->Image();
        const int W = Width(), H = Height();
        TDibImage MaskImage = Image32(W, H), PaintImage = Image32(W, H);
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X) {
                const bool Clear = FMask->Raw(X, Y) != 0;
                MaskImage.SetPixel(X, Y, Clear ? 0xFFFFFF : 0);
                PaintImage.SetPixel(X, Y, Clear ? 0 : Pixels->Pixel(X, Y));
            }
        TBitmap MaskBmp, Paint;
        MaskBmp.SetImage(std::move(MaskImage));
        Paint.SetImage(std::move(PaintImage));
        const int OldMode = ACanvas->SetStretchBltMode(COLORONCOLOR);
        for (const TRect& R : Targets) {
            ACanvas->StretchBlt(R.Left, R.Top, R.Width(), R.Height(), MaskBmp.Canvas(), 0, 0, W, H,
                                SRCAND);
            ACanvas->StretchBlt(R.Left, R.Top, R.Width(), R.Height(), Paint.Canvas(), 0, 0, W, H,
                                SRCPAINT);
        }
        ACanvas->SetStretchBltMode(OldMode);
        if (ACanvas->OnChange)
            ACanvas->OnChange(ACanvas);
        return;
    }
    for (const TRect& R : Targets)
        ACanvas->StretchDraw(R, Bitmap);
}

// Conversion

void TGIFSubImage::Assign(const TPersistent* Source)
{
    if (Source == this)
        return;
    if (!Source) {
        Clear();
        return;
    }
    if (const auto* Other = dynamic_cast<const TGIFSubImage*>(Source)) {
        Clear();
        if (Other->Empty() && Other->Extensions()->Count() == 0)
            return;
        if (!Other->Empty()) {
            FDescriptor = Other->FDescriptor;
            FTransparent = Other->FTransparent;
            FData = Other->FData;
            FColorMap->Assign(Other->FColorMap.get());
        }
        TMemoryStream Stream;
        Other->Extensions()->SaveToStream(&Stream);
        WriteByte(&Stream, ',');
        Stream.SetPosition(0);
        FExtensions->LoadFromStream(&Stream, this);
        if (Other->FBitmap) {
            FBitmap = std::make_unique<TBitmap>();
            FBitmap->Assign(Other->FBitmap.get());
        }
        return;
    }
    if (const auto* Picture = dynamic_cast<const TPicture*>(Source)) {
        Assign(Picture->Graphic());
        return;
    }
    if (auto* Bitmap = dynamic_cast<TBitmap*>(const_cast<TPersistent*>(Source))) {
        AssignFromBitmap(Bitmap);
        return;
    }
    if (auto* Graphic = dynamic_cast<TGraphic*>(const_cast<TPersistent*>(Source))) {
        AssignFromGraphic(Graphic);
        return;
    }
    TGIFItem::Assign(Source);
}

void TGIFSubImage::AssignTo(TPersistent* Dest) const
{
    if (auto* Bitmap = dynamic_cast<TBitmap*>(Dest)) {
        TBitmap* Rendered = const_cast<TGIFSubImage*>(this)->FrameBitmap();
        if (Rendered)
            Bitmap->Assign(Rendered);
        return;
    }
    TGIFItem::AssignTo(Dest);
}

void TGIFSubImage::AssignFromBitmap(TBitmap* Source)
{
    Clear();
    if (Source->Empty())
        return;
    const int W = Source->Width(), H = Source->Height();
    SetFrameBounds(Left(), Top(), W, H);
    const TPixelFormat Format = Source->PixelFormat();
    if (Format == pf1bit || Format == pf4bit || Format == pf8bit) {
        FBitmap = std::make_unique<TBitmap>();
        FBitmap->Assign(Source);
    } else {
        FBitmap = FImage ? ReduceColorDepth(Source, FImage->ReductionMethod(),
                                            FImage->DitherMethod(), nullptr, FImage->QuantizeBits())
                         : ReduceColorDepth(Source, rdCube216, dtNearest, nullptr, 8);
    }
    std::vector<std::uint8_t> Pixels(static_cast<std::size_t>(W) * H, 0);
    if (FImage)
        FImage->Progress(this, psStarting, 0, false, "Converting...");
    TPixelFormat ReadFormat = FBitmap->PixelFormat();
    if (ReadFormat != pf1bit && ReadFormat != pf4bit && ReadFormat != pf8bit)
        ReadFormat = pf24bit;
    TDIBReader Reader(FBitmap.get(), ReadFormat);
    if (ReadFormat != pf24bit) {
        std::vector<RGBQUAD> Quads;
        for (const TColor C : Reader.Colors())
            Quads.push_back(RGBQUAD{static_cast<std::uint8_t>(C >> 16),
                                    static_cast<std::uint8_t>(C >> 8), static_cast<std::uint8_t>(C),
                                    0});
        FColorMap->FromRGBQuads(Quads.data(), static_cast<int>(Quads.size()));
    }
    std::unordered_map<TColor, int> Known;
    for (int Y = 0; Y < H; ++Y) {
        if (Y % 32 == 0 && FImage)
            FImage->Progress(this, psRunning, Y * 100 / H, false, "Converting...");
        const std::uint8_t* Row = Reader.RowAddress(Y);
        std::uint8_t* Dst = Pixels.data() + static_cast<std::size_t>(Y) * W;
        switch (ReadFormat) {
        case pf1bit:
            for (int X = 0; X < W; ++X)
                Dst[X] = (Row[X >> 3] >> (7 - (X & 7))) & 1;
            break;
        case pf4bit:
            for (int X = 0; X < W; ++X)
                Dst[X] = (X & 1) ? (Row[X >> 1] & 0x0F) : (Row[X >> 1] >> 4);
            break;
        case pf8bit:
            std::memcpy(Dst, Row, static_cast<std::size_t>(W));
            break;
        default:
            for (int X = 0; X < W; ++X) {
                const std::uint8_t* P = Row + 3 * X;
                const TColor C = P[2] | (P[1] << 8) | (P[0] << 16);
                auto It = Known.find(C);
                if (It == Known.end())
                    It = Known.emplace(C, FColorMap->AppendDistinctColor(C)).first;
                Dst[X] = static_cast<std::uint8_t>(It->second);
            }
            break;
        }
    }
    FData = std::move(Pixels);
    if (Source->Transparent()) {
        if (HBITMAP MaskHandle = Source->MaskHandle()) {
            TBitmap MaskBitmap;
            MaskBitmap.SetImage(*MaskHandle);
            ApplyMask(&MaskBitmap);
        }
    }
    if (FImage)
        FImage->Progress(this, psEnding, 100, false, "Converting...");
}

void TGIFSubImage::AssignFromGraphic(TGraphic* Source)
{
    Clear();
    if (Source->Empty())
        return;
    const int W = Source->Width(), H = Source->Height();
    const bool Drawn = dynamic_cast<TIcon*>(Source) || dynamic_cast<TMetafile*>(Source);
    auto DrawOn = [&](TColor Background) {
        auto Bitmap = std::make_unique<TBitmap>();
        Bitmap->SetPixelFormat(pf24bit);
        Bitmap->SetSize(W, H);
        Bitmap->Canvas()->Brush()->SetColor(Background);
        Bitmap->Canvas()->FillRect(TRect{0, 0, W, H});
        Bitmap->Canvas()->StretchDraw(TRect{0, 0, W, H}, Source);
        return Bitmap;
    };
    std::unique_ptr<TBitmap> Bitmap;
    if (Drawn)
        Bitmap = DrawOn(0);
    else {
        Bitmap = std::make_unique<TBitmap>();
        try {
            Bitmap->Assign(Source);
        } catch (const EConvertError&) {
            Bitmap = DrawOn(0);
        }
    }
    AssignFromBitmap(Bitmap.get());
    if (Drawn) {
        // Pixels the graphic does not paint differ between a white and a black background.
        std::unique_ptr<TBitmap> White = DrawOn(0xFFFFFF);
        const TDibImage* A = White->Image();
        const TDibImage* B = Bitmap->Image();
        TDibImage Mask = Image32(W, H);
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X)
                Mask.SetPixel(X, Y, (A->Pixel(X, Y) ^ B->Pixel(X, Y)) & 0xFFFFFF);
        TBitmap MaskBitmap;
        MaskBitmap.SetImage(std::move(Mask));
        ApplyMask(&MaskBitmap);
    }
}

void TGIFSubImage::ApplyMask(TBitmap* MaskBitmap)
{
    FColorMap->Reorder();
    if (FColorMap->Count() < 1 || FColorMap->Count() > 255)
        return;
    const int Index = FColorMap->AppendColor(0);
    const TDibImage* Mask = MaskBitmap->Image();
    bool Any = false;
    if (Mask)
        for (int Y = 0; Y < std::min(Height(), Mask->Height); ++Y)
            for (int X = 0; X < std::min(Width(), Mask->Width); ++X)
                if ((Mask->Pixel(X, Y) & 0xFFFFFF) != 0) {
                    FData[static_cast<std::size_t>(Y) * Width() + X] =
                        static_cast<std::uint8_t>(Index);
                    Any = true;
                }
    if (!Any) {
        FColorMap->RemoveColor(Index);
        return;
    }
    auto* GCE = new TGIFGraphicControlExtension(this);
    FExtensions->Add(GCE);
    GCE->SetHasTransparency(true);
    GCE->SetTransparentIndex(Index);
    DropBitmap();
    DropMask();
}

// Optimiser steps

void TGIFSubImage::TrimTransparentBorders()
{
    if (!FTransparent || Empty())
        return;
    const int T = TransparentIndex();
    const int W = Width(), H = Height();
    auto ColumnClear = [&](int X) {
        for (int Y = 0; Y < H; ++Y)
            if (PixelAt(X, Y) != T)
                return false;
        return true;
    };
    int L = 0;
    while (L < W && ColumnClear(L))
        ++L;
    if (L == W) {
        Clear();
        return;
    }
    int R = W - 1;
    while (R > L && ColumnClear(R))
        --R;
    auto RowClear = [&](int Y) {
        for (int X = L; X <= R; ++X)
            if (PixelAt(X, Y) != T)
                return false;
        return true;
    };
    int Top0 = 0;
    while (Top0 < H && RowClear(Top0))
        ++Top0;
    int Bottom = H - 1;
    while (Bottom > Top0 && RowClear(Bottom))
        --Bottom;
    const int NW = R - L + 1, NH = Bottom - Top0 + 1;
    std::vector<std::uint8_t> Pixels(static_cast<std::size_t>(NW) * NH);
    for (int Y = 0; Y < NH; ++Y)
        std::memcpy(Pixels.data() + static_cast<std::size_t>(Y) * NW,
                    FData.data() + static_cast<std::size_t>(Y + Top0) * W + L,
                    static_cast<std::size_t>(NW));
    FDescriptor.Left = static_cast<std::uint16_t>(Left() + L);
    FDescriptor.Top = static_cast<std::uint16_t>(Top() + Top0);
    FDescriptor.Width = static_cast<std::uint16_t>(NW);
    FDescriptor.Height = static_cast<std::uint16_t>(NH);
    FData = std::move(Pixels);
    DropBitmap();
    DropMask();
}

void TGIFSubImage::SubtractPrevious(TGIFSubImage* Previous)
{
    if (!Previous || Empty() || Previous->Empty())
        return;
    if (TGIFGraphicControlExtension* PG = Previous->GraphicControlExtension())
        if (PG->DisposalMethod() == 2 || PG->DisposalMethod() == 3)
            return;
    const TRect A = FrameBounds(), B = Previous->FrameBounds();
    const int IL = std::max(A.Left, B.Left), IT = std::max(A.Top, B.Top);
    const int IR = std::min(A.Right, B.Right), IB = std::min(A.Bottom, B.Bottom);
    if (IL >= IR || IT >= IB)
        return;
    const bool WasTransparent = FTransparent;
    int T = WasTransparent ? TransparentIndex() : -1;
    if (!WasTransparent) {
        const int Count = ActiveColorMap()->Count();
        if (Count >= 256 || Count == 0)
            return;
    }
    TGIFColorMap* MyMap = ActiveColorMap();
    TGIFColorMap* PrevMap = Previous->ActiveColorMap();
    const int PT = Previous->Transparent() ? Previous->TransparentIndex() : -1;
    auto FindIndex = [&]() {
        if (FColorMap->Count() == 0 && FImage) {
            for (int I = 0; I < FImage->Images()->Count(); ++I) {
                TGIFSubImage* F = FImage->Images()->SubImage(I);
                if (F != this && F->Transparent() && F->ColorMap()->Count() == 0)
                    return F->TransparentIndex();
            }
            return FImage->Header()->ColorMap()->AppendColor(0);
        }
        return FColorMap->AppendColor(0);
    };
    for (int Y = IT; Y < IB; ++Y)
        for (int X = IL; X < IR; ++X) {
            std::uint8_t& P = FData[static_cast<std::size_t>(Y - A.Top) * Width() + (X - A.Left)];
            const std::uint8_t Q =
                Previous
                    ->FData[static_cast<std::size_t>(Y - B.Top) * Previous->Width() + (X - B.Left)];
            if (WasTransparent && P == T)
                continue;
            if (PT >= 0 && Q == PT)
                continue;
            bool Same = MyMap == PrevMap && P == Q;
            if (!Same && P < MyMap->Count() && Q < PrevMap->Count())
                Same = std::memcmp(MyMap->Entry(P), PrevMap->Entry(Q), 3) == 0;
            if (!Same)
                continue;
            if (T < 0)
                T = FindIndex();
            P = static_cast<std::uint8_t>(T);
        }
    if (!WasTransparent && T >= 0) {
        TGIFGraphicControlExtension* GCE = FGCE;
        if (!GCE) {
            GCE = new TGIFGraphicControlExtension(this);
            FExtensions->Add(GCE);
        }
        GCE->SetHasTransparency(true);
        GCE->SetTransparentIndex(T);
    }
    DropBitmap();
    DropMask();
}
