// platform/gfx/bitmap.cpp: DIB pixels, bitmap handles, TBitmap, pattern brushes and BrushCopy.
#include "platform/gfx/bitmap.h"
#include "platform/rtl/classregistry.h"

#include "platform/gfx/bitmapdevice.h"
#include "platform/gfx/bmpformat.h"
#include "platform/gfx/pngformat.h"
#include "platform/rtl/globalmemory.h"
#include "platform/rtl/resources.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

// A picture copies a graphic by creating one of the same class from its metaclass: the factory
// is set up here, when the class is linked, not only once some code names the class.
[[maybe_unused]] static const TMetaClass* const TBitmapClass = TMetaClass::Of<TBitmap>();

// ---- pixels ----

void TDibImage::Allocate(int AWidth, int AHeight, int ABitCount, bool A565)
{
    Width = std::max(AWidth, 0);
    Height = std::max(AHeight, 0);
    BitCount = ABitCount;
    Is565 = ABitCount == 16 && A565;
    Bits.assign(static_cast<std::size_t>(Stride()) * Height, 0);
}

std::uint32_t TDibImage::Raw(int X, int Y) const
{
    const std::uint8_t* R = Row(Y);
    switch (BitCount) {
    case 1:
        return (R[X >> 3] >> (7 - (X & 7))) & 1;
    case 4:
        return (X & 1) ? R[X >> 1] & 0x0F : R[X >> 1] >> 4;
    case 8:
        return R[X];
    case 16:
        return std::uint32_t(R[X * 2]) | std::uint32_t(R[X * 2 + 1]) << 8;
    case 24:
        return std::uint32_t(R[X * 3]) | std::uint32_t(R[X * 3 + 1]) << 8 |
               std::uint32_t(R[X * 3 + 2]) << 16;
    default:
        return std::uint32_t(R[X * 4]) | std::uint32_t(R[X * 4 + 1]) << 8 |
               std::uint32_t(R[X * 4 + 2]) << 16 | std::uint32_t(R[X * 4 + 3]) << 24;
    }
}

void TDibImage::SetRaw(int X, int Y, std::uint32_t Value)
{
    std::uint8_t* R = Row(Y);
    switch (BitCount) {
    case 1: {
        const auto Bit = static_cast<std::uint8_t>(0x80 >> (X & 7));
        R[X >> 3] = static_cast<std::uint8_t>((Value & 1) ? (R[X >> 3] | Bit) : (R[X >> 3] & ~Bit));
        break;
    }
    case 4:
        if (X & 1)
            R[X >> 1] = static_cast<std::uint8_t>((R[X >> 1] & 0xF0) | (Value & 0x0F));
        else
            R[X >> 1] = static_cast<std::uint8_t>((R[X >> 1] & 0x0F) | (Value & 0x0F) << 4);
        break;
    case 8:
        R[X] = static_cast<std::uint8_t>(Value);
        break;
    case 16:
        R[X * 2] = static_cast<std::uint8_t>(Value);
        R[X * 2 + 1] = static_cast<std::uint8_t>(Value >> 8);
        break;
    case 24:
        R[X * 3] = static_cast<std::uint8_t>(Value);
        R[X * 3 + 1] = static_cast<std::uint8_t>(Value >> 8);
        R[X * 3 + 2] = static_cast<std::uint8_t>(Value >> 16);
        break;
    default:
        R[X * 4] = static_cast<std::uint8_t>(Value);
        R[X * 4 + 1] = static_cast<std::uint8_t>(Value >> 8);
        R[X * 4 + 2] = static_cast<std::uint8_t>(Value >> 16);
        R[X * 4 + 3] = static_cast<std::uint8_t>(Value >> 24);
        break;
    }
}

std::uint32_t TDibImage::Encode(TColor Color) const
{
    Color = ColorToRGB(Color) & 0xFFFFFF;
    const std::uint32_t R = GetRValue(Color), G = GetGValue(Color), B = GetBValue(Color);
    switch (BitCount) {
    case 1:
    case 4:
    case 8:
        return static_cast<std::uint32_t>(NearestColorIndex(Colors, Color));
    case 16:
        if (Is565)
            return (R >> 3) << 11 | (G >> 2) << 5 | (B >> 3);
        return (R >> 3) << 10 | (G >> 3) << 5 | (B >> 3);
    default:
        return B | G << 8 | R << 16;
    }
}

TColor TDibImage::Decode(std::uint32_t Value) const
{
    switch (BitCount) {
    case 1:
    case 4:
    case 8:
        return Value < Colors.size() ? Colors[Value] : clBlack;
    case 16: {
        std::uint32_t R, G, B;
        if (Is565) {
            R = Value >> 11 & 31;
            G = Value >> 5 & 63;
            B = Value & 31;
            G = G << 2 | G >> 4;
        } else {
            R = Value >> 10 & 31;
            G = Value >> 5 & 31;
            B = Value & 31;
            G = G << 3 | G >> 2;
        }
        return RGB(static_cast<int>(R << 3 | R >> 2), static_cast<int>(G),
                   static_cast<int>(B << 3 | B >> 2));
    }
    default:
        return RGB(static_cast<int>(Value >> 16 & 0xFF), static_cast<int>(Value >> 8 & 0xFF),
                   static_cast<int>(Value & 0xFF));
    }
}

TColor TDibImage::Pixel(int X, int Y) const
{
    return Decode(Raw(X, Y));
}

// ---- handles ----

namespace {

struct THandleTable {
    std::mutex Mutex;
    std::unordered_set<HBITMAP> Live;
};

THandleTable& Handles()
{
    static THandleTable T;
    return T;
}

HBITMAP Publish(std::unique_ptr<TDibImage> Image)
{
    THandleTable& T = Handles();
    std::lock_guard<std::mutex> Lock(T.Mutex);
    HBITMAP H = Image.release();
    T.Live.insert(H);
    return H;
}

// Takes a live handle out of the table; nil when it is not one.
std::unique_ptr<TDibImage> Adopt(HBITMAP Bitmap)
{
    THandleTable& T = Handles();
    std::lock_guard<std::mutex> Lock(T.Mutex);
    if (!Bitmap || !T.Live.erase(Bitmap))
        return nullptr;
    return std::unique_ptr<TDibImage>(Bitmap);
}

std::vector<TColor> DefaultColors(int BitCount)
{
    switch (BitCount) {
    case 1:
        return {clBlack, clWhite};
    case 4:
        return {clBlack, clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clSilver,
                clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
    case 8: {
        HPALETTE P = CreateHalftonePalette(nullptr);
        std::vector<TColor> Colors = PaletteColors(P);
        DeleteObject(P);
        return Colors;
    }
    default:
        return {};
    }
}

TPixelFormat FormatOf(const TDibImage& Image)
{
    switch (Image.BitCount) {
    case 1:
        return pf1bit;
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 16:
        return Image.Is565 ? pf16bit : pf15bit;
    case 24:
        return pf24bit;
    default:
        return pf32bit;
    }
}

void Validate(const TDibImage& Image)
{
    const bool GoodBits = Image.BitCount == 1 || Image.BitCount == 4 || Image.BitCount == 8 ||
                          Image.BitCount == 16 || Image.BitCount == 24 || Image.BitCount == 32;
    if (!GoodBits || Image.Width < 0 || Image.Height < 0 ||
        Image.Bits.size() != static_cast<std::size_t>(Image.Stride()) * Image.Height ||
        (Image.BitCount <= 8 && Image.Colors.size() > (std::size_t(1) << Image.BitCount)))
        throw EInvalidGraphic("Bitmap image is not valid");
}

// A 32-bit copy of an image region, top-down, as TColor values.
TDibImage Device32(int Width, int Height)
{
    TDibImage I;
    I.Allocate(Width, Height, 32);
    return I;
}

} // namespace

int BitCountOf(TPixelFormat Format)
{
    switch (Format) {
    case pf1bit:
        return 1;
    case pf4bit:
        return 4;
    case pf8bit:
        return 8;
    case pf15bit:
    case pf16bit:
        return 16;
    case pf24bit:
        return 24;
    default:
        return 32;
    }
}

HBITMAP CreateBitmap(int Width, int Height, unsigned Planes, unsigned BitsPerPixel,
                     const void* Bits)
{
    const unsigned Depth = Planes * BitsPerPixel;
    if (Width <= 0 || Height <= 0 || Width > MaxDibSide || Height > MaxDibSide ||
        std::int64_t(Width) * Height > MaxDibPixels ||
        (Depth != 1 && Depth != 4 && Depth != 8 && Depth != 16 && Depth != 24 && Depth != 32))
        return nullptr;
    auto Image = std::make_unique<TDibImage>();
    Image->Allocate(Width, Height, static_cast<int>(Depth));
    Image->Colors = DefaultColors(static_cast<int>(Depth));
    if (Bits) {
        const std::size_t InStride = ((static_cast<std::size_t>(Width) * Depth + 15) / 16) * 2;
        const std::size_t Used = (static_cast<std::size_t>(Width) * Depth + 7) / 8;
        const auto* In = static_cast<const std::uint8_t*>(Bits);
        for (int Y = 0; Y < Height; ++Y)
            std::memcpy(Image->Row(Y), In + InStride * Y, Used);
    }
    return Publish(std::move(Image));
}

bool DeleteObject(HBITMAP Bitmap)
{
    return Adopt(Bitmap) != nullptr;
}

bool IsBitmap(HBITMAP Bitmap)
{
    THandleTable& T = Handles();
    std::lock_guard<std::mutex> Lock(T.Mutex);
    return Bitmap && T.Live.count(Bitmap) != 0;
}

std::shared_ptr<const TBrushPattern> CreatePatternBrush(HBITMAP Bitmap)
{
    if (!Bitmap || Bitmap->Width <= 0 || Bitmap->Height <= 0)
        return nullptr;
    auto Pattern = std::make_shared<TBrushPattern>();
    Pattern->Width = Bitmap->Width;
    Pattern->Height = Bitmap->Height;
    Pattern->Pixels.reserve(static_cast<std::size_t>(Bitmap->Width) * Bitmap->Height);
    for (int Y = 0; Y < Bitmap->Height; ++Y)
        for (int X = 0; X < Bitmap->Width; ++X)
            Pattern->Pixels.push_back(Bitmap->Pixel(X, Y));
    return Pattern;
}

// ---- TBitmap ----

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
    FCanvas.reset();
    FDevice.reset();
    FreeMask();
    if (FPalette)
        DeleteObject(FPalette);
}

void TBitmap::Flush() const
{
    if (FDevice)
        FDevice->Flush();
}

void TBitmap::FreeMask()
{
    if (FMask) {
        delete FMask;
        FMask = nullptr;
    }
}

void TBitmap::ImageReplaced()
{
    if (FDevice)
        FDevice->Invalidate();
    FreeMask();
    if (FPalette) {
        DeleteObject(FPalette);
        FPalette = nullptr;
    }
}

void TBitmap::Changed(TObject* Sender)
{
    FreeMask();
    TGraphic::Changed(Sender);
}

void TBitmap::NewImage(int AWidth, int AHeight, TPixelFormat Format, std::vector<TColor> Colors)
{
    const int Bits = BitCountOf(Format);
    auto Image = std::make_unique<TDibImage>();
    Image->Allocate(AWidth, AHeight, Bits, Format == pf16bit);
    Image->Colors = Bits <= 8 ? (Colors.empty() ? DefaultColors(Bits) : std::move(Colors))
                              : std::vector<TColor>();
    FImage = std::move(Image);
    FPixelFormat = Format;
}

bool TBitmap::Empty() const
{
    return !FImage || FImage->Width == 0 || FImage->Height == 0;
}

int TBitmap::Width() const
{
    return FImage ? FImage->Width : 0;
}

int TBitmap::Height() const
{
    return FImage ? FImage->Height : 0;
}

void TBitmap::SetWidth(int Value)
{
    SetSize(Value, Height());
}

void TBitmap::SetHeight(int Value)
{
    SetSize(Width(), Value);
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == Width() && AHeight == Height())
        return;
    if (std::int64_t(AWidth) * AHeight > MaxDibPixels || AWidth > MaxDibSide ||
        AHeight > MaxDibSide)
        throw EInvalidGraphic("Bitmap too large (" + std::to_string(AWidth) + " x " +
                              std::to_string(AHeight) + ")");
    Flush();
    std::unique_ptr<TDibImage> Old = std::move(FImage);
    NewImage(AWidth, AHeight, FPixelFormat, Old ? Old->Colors : std::vector<TColor>());
    const std::uint32_t White = FImage->Encode(clWhite);
    for (int Y = 0; Y < AHeight; ++Y)
        for (int X = 0; X < AWidth; ++X)
            FImage->SetRaw(X, Y, Old && X < Old->Width && Y < Old->Height ? Old->Raw(X, Y) : White);
    ImageReplaced();
    Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    if (Value == pfCustom || Value == FPixelFormat)
        return;
    if (BitCountOf(Value) == BitCountOf(FPixelFormat) &&
        (!FImage || FImage->BitCount != 16 || (Value == pf16bit) == FImage->Is565)) {
        FPixelFormat = Value;
        Changed(this);
        return;
    }
    Flush();
    std::unique_ptr<TDibImage> Old = std::move(FImage);
    const int Bits = BitCountOf(Value);
    std::vector<TColor> Colors;
    if (Old && Old->BitCount <= 8 && Bits <= 8 && Old->Colors.size() <= (std::size_t(1) << Bits))
        Colors = Old->Colors;
    NewImage(Old ? Old->Width : 0, Old ? Old->Height : 0, Value, std::move(Colors));
    if (Old) {
        std::unordered_map<TColor, std::uint32_t> Seen;
        for (int Y = 0; Y < Old->Height; ++Y)
            for (int X = 0; X < Old->Width; ++X) {
                const TColor C = Old->Pixel(X, Y);
                auto It = Seen.find(C);
                if (It == Seen.end())
                    It = Seen.emplace(C, FImage->Encode(C)).first;
                FImage->SetRaw(X, Y, It->second);
            }
    }
    ImageReplaced();
    Changed(this);
}

void TBitmap::SetMonochrome(bool Value)
{
    if (Value == Monochrome())
        return;
    if (Value) {
        SetPalette(nullptr);
        SetPixelFormat(pf1bit);
    } else {
        SetPixelFormat(pfDevice);
    }
}

void* TBitmap::ScanLine(int Row)
{
    if (!FImage || Row < 0 || Row >= FImage->Height)
        throw EInvalidGraphicOperation("Scan line index out of range");
    Flush();
    if (FDevice)
        FDevice->Invalidate();
    FreeMask();
    return FImage->Row(Row);
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) {
        if (!FDevice)
            FDevice = std::make_unique<TBitmapDevice>(this);
        FCanvas = std::make_unique<TCanvas>(FDevice.get());
        FCanvas->OnChange = [this](TObject*) { Changed(this); };
    }
    return FCanvas.get();
}

HPALETTE TBitmap::Palette() const
{
    if (!FPalette && FImage && FImage->BitCount <= 8 && !FImage->Colors.empty())
        FPalette = PaletteFromColors(FImage->Colors);
    return FPalette;
}

void TBitmap::SetPalette(HPALETTE Value)
{
    if (Value == FPalette)
        return;
    Flush();
    if (FDevice)
        FDevice->Invalidate();
    if (FPalette)
        DeleteObject(FPalette);
    FPalette = Value;
    if (FImage && FImage->BitCount <= 8 && Value) {
        std::vector<TColor> Colors = PaletteColors(Value);
        Colors.resize(std::min(Colors.size(), std::size_t(1) << FImage->BitCount));
        if (!Colors.empty())
            FImage->Colors = std::move(Colors);
    }
    Changed(this);
}

HPALETTE TBitmap::ReleasePalette()
{
    HPALETTE Result = Palette();
    FPalette = nullptr;
    return Result;
}

void TBitmap::SetTransparent(bool Value)
{
    TGraphic::SetTransparent(Value);
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return FTransparentColor;
    if (Empty())
        return clDefault;
    Flush();
    return FImage->Pixel(0, FImage->Height - 1);
}

void TBitmap::SetTransparentColor(TColor Value)
{
    if (Value == FTransparentColor)
        return;
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
    Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value)
{
    if (Value == FTransparentMode)
        return;
    if (Value == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(TransparentColor());
}

HBITMAP TBitmap::Handle()
{
    Flush();
    if (FDevice)
        FDevice->Invalidate();
    FreeMask();
    return FImage.get();
}

void TBitmap::SetHandle(HBITMAP Value)
{
    if (Value && Value == FImage.get())
        return;
    std::unique_ptr<TDibImage> Image = Adopt(Value);
    if (Value && !Image)
        throw EInvalidGraphic("Invalid bitmap handle");
    if (Image) {
        FPixelFormat = FormatOf(*Image);
        FImage = std::move(Image);
    } else {
        FImage.reset();
    }
    ImageReplaced();
    Changed(this);
}

HBITMAP TBitmap::ReleaseHandle()
{
    Flush();
    std::unique_ptr<TDibImage> Image = std::move(FImage);
    ImageReplaced();
    return Image ? Publish(std::move(Image)) : nullptr;
}

void TBitmap::SetHandleType(TBitmapHandleType Value)
{
    if (Value == HandleType())
        return;
    SetPixelFormat(Value == bmDDB ? pfDevice : pf32bit);
}

void TBitmap::Mask(TColor ATransparentColor)
{
    FreeMask();
    if (Empty())
        return;
    Flush();
    const TColor Key = ColorToRGB(ATransparentColor) & 0xFFFFFF;
    FMask = new TDibImage();
    FMask->Allocate(FImage->Width, FImage->Height, 1);
    FMask->Colors = {clBlack, clWhite};
    for (int Y = 0; Y < FImage->Height; ++Y)
        for (int X = 0; X < FImage->Width; ++X)
            if (FImage->Pixel(X, Y) == Key)
                FMask->SetRaw(X, Y, 1);
}

HBITMAP TBitmap::MaskHandle()
{
    if (!FMask)
        Mask(TransparentColor());
    return FMask;
}

HBITMAP TBitmap::ReleaseMaskHandle()
{
    HBITMAP Mask = MaskHandle();
    FMask = nullptr;
    return Mask ? Publish(std::unique_ptr<TDibImage>(Mask)) : nullptr;
}

void TBitmap::Dormant()
{
    Flush();
    if (FDevice)
        FDevice->Invalidate();
    FreeMask();
}

void TBitmap::FreeImage()
{
    Dormant();
}

const TDibImage* TBitmap::Image()
{
    Flush();
    return FImage.get();
}

void TBitmap::SetImage(TDibImage Image)
{
    Validate(Image);
    FPixelFormat = FormatOf(Image);
    FImage = std::make_unique<TDibImage>(std::move(Image));
    ImageReplaced();
    Changed(this);
}

void TBitmap::Assign(const TPersistent* Source)
{
    if (Source == this)
        return;
    if (!Source) {
        FImage.reset();
        ImageReplaced();
        Changed(this);
        return;
    }
    if (auto* B = dynamic_cast<const TBitmap*>(Source)) {
        B->Flush();
        FImage = B->FImage ? std::make_unique<TDibImage>(*B->FImage) : nullptr;
        FPixelFormat = B->FPixelFormat;
        ImageReplaced();
        if (B->FPalette && (!FImage || FImage->BitCount > 8))
            FPalette = CopyPalette(B->FPalette);
        FTransparent = B->FTransparent;
        FTransparentColor = B->FTransparentColor;
        FTransparentMode = B->FTransparentMode;
        Changed(this);
        return;
    }
    if (auto* P = dynamic_cast<const TPicture*>(Source)) {
        Assign(P->Graphic());
        return;
    }
    TGraphic::Assign(Source);
}

void TBitmap::AssignTo(TPersistent* Dest) const
{
    TGraphic::AssignTo(Dest);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (Empty() || !ACanvas)
        return;
    Flush();
    const int W = FImage->Width, H = FImage->Height;
    if (!Transparent()) {
        ACanvas->StretchBlt(Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Canvas(), 0, 0, W, H,
                            ACanvas->CopyMode());
        return;
    }
    // Through a mask: the destination stays where the mask is white, the picture goes where it
    // is black (with the transparent pixels blacked out in the picture).
    const TColor Key = ColorToRGB(TransparentColor()) & 0xFFFFFF;
    TBitmap MaskBmp, Paint;
    TDibImage MaskImage = Device32(W, H), PaintImage = Device32(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const TColor C = FImage->Pixel(X, Y);
            const bool Clear = C == Key;
            MaskImage.SetPixel(X, Y, Clear ? clWhite : clBlack);
            PaintImage.SetPixel(X, Y, Clear ? clBlack : C);
        }
    MaskBmp.SetImage(std::move(MaskImage));
    Paint.SetImage(std::move(PaintImage));
    const int OldMode = ACanvas->SetStretchBltMode(COLORONCOLOR);
    ACanvas->StretchBlt(Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), MaskBmp.Canvas(), 0, 0, W,
                        H, SRCAND);
    ACanvas->StretchBlt(Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Paint.Canvas(), 0, 0, W,
                        H, SRCPAINT);
    ACanvas->SetStretchBltMode(OldMode);
}

void TBitmap::LoadFromStream(TStream* Stream)
{
    const std::int64_t Count = Stream->Size() - Stream->Position();
    std::string Bytes(static_cast<std::size_t>(std::max<std::int64_t>(Count, 0)), '\0');
    if (!Bytes.empty())
        Stream->ReadBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    if (Bytes.empty()) {
        Assign(nullptr);
        return;
    }
    const auto* Data = reinterpret_cast<const std::uint8_t*>(Bytes.data());
    SetImage(IsPng(Data, Bytes.size()) ? ReadPng(Data, Bytes.size()) : ReadBmp(Data, Bytes.size()));
}

void TBitmap::SaveToStream(TStream* Stream)
{
    if (Empty())
        return;
    Flush();
    const std::string Bytes = WriteBmp(*FImage);
    Stream->WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
}

void TBitmap::LoadFromResourceName(const std::string& ResName)
{
    const std::optional<std::string_view> Bytes = FindResource(RT_BITMAP, ResName);
    if (!Bytes)
        throw EResNotFound("Resource " + ResName + " not found");
    const auto* Data = reinterpret_cast<const std::uint8_t*>(Bytes->data());
    if (IsPng(Data, Bytes->size()))
        SetImage(ReadPng(Data, Bytes->size()));
    else if (IsBmp(Data, Bytes->size()))
        SetImage(ReadBmp(Data, Bytes->size()));
    else
        SetImage(ReadPackedDib(Data, Bytes->size()));
}

void TBitmap::LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette)
{
    if (AFormat != CF_BITMAP && AFormat != CF_DIB)
        throw EInvalidGraphic("Unsupported clipboard format");
    TDibImage Image;
    if (AFormat == CF_BITMAP) {
        auto Handle = reinterpret_cast<HBITMAP>(AData);
        if (!IsBitmap(Handle))
            throw EInvalidGraphic("Invalid bitmap handle");
        Image = *Handle;
    } else {
        const auto* Bytes = static_cast<const std::uint8_t*>(GlobalLock(AData));
        if (!Bytes)
            throw EInvalidGraphic("Invalid clipboard data");
        try {
            Image = ReadPackedDib(Bytes, GlobalSize(AData));
        } catch (...) {
            GlobalUnlock(AData);
            throw;
        }
        GlobalUnlock(AData);
    }
    if (APalette && IsPalette(APalette) && Image.BitCount <= 8) {
        std::vector<TColor> Colors = PaletteColors(APalette);
        Colors.resize(std::min(Colors.size(), std::size_t(1) << Image.BitCount));
        if (!Colors.empty())
            Image.Colors = std::move(Colors);
    }
    SetImage(std::move(Image));
}

void TBitmap::SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette)
{
    AFormat = 0;
    AData = 0;
    APalette = nullptr;
    if (Empty())
        return;
    Flush();
    AFormat = CF_BITMAP;
    AData = reinterpret_cast<HANDLE>(Publish(std::make_unique<TDibImage>(*FImage)));
    if (FImage->BitCount <= 8)
        APalette = CopyPalette(Palette());
}

// ---- drawing helpers ----

void BrushCopy(TCanvas* ACanvas, const TRect& Dest, TBitmap* Bitmap, const TRect& Source,
               TColor Color)
{
    if (!ACanvas || !Bitmap || Bitmap->Empty() || Source.Width() <= 0 || Source.Height() <= 0)
        return;
    const TDibImage* From = Bitmap->Image();
    const TColor Key = ColorToRGB(Color) & 0xFFFFFF;
    const int W = Source.Width(), H = Source.Height();
    TDibImage Picture = Device32(W, H), Keep = Device32(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const int SX = Source.Left + X, SY = Source.Top + Y;
            const bool Inside = SX >= 0 && SY >= 0 && SX < From->Width && SY < From->Height;
            const TColor C = Inside ? From->Pixel(SX, SY) : clWhite;
            Picture.SetPixel(X, Y, C);
            Keep.SetPixel(X, Y, C == Key ? clBlack : clWhite);
        }
    TBitmap PictureBmp, KeepBmp;
    PictureBmp.SetImage(std::move(Picture));
    KeepBmp.SetImage(std::move(Keep));
    const int OldMode = ACanvas->SetStretchBltMode(COLORONCOLOR);
    ACanvas->StretchBlt(Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), PictureBmp.Canvas(), 0, 0,
                        W, H, SRCCOPY);
    // Destination where the source is white, the brush where it is black.
    constexpr std::uint32_t KeepOrBrush = 0x00B8074A;
    ACanvas->StretchBlt(Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), KeepBmp.Canvas(), 0, 0, W,
                        H, KeepOrBrush);
    ACanvas->SetStretchBltMode(OldMode);
}

unsigned GetDIBColorTable(HDC DC, unsigned Start, unsigned Count, RGBQUAD* Colors)
{
    if (!DC || !Colors)
        return 0;
    auto* Device = dynamic_cast<TBitmapDevice*>(DC->Device());
    if (!Device)
        return 0;
    const TDibImage* Image = Device->Owner()->Image();
    if (!Image || Image->BitCount > 8 || Start >= Image->Colors.size())
        return 0;
    const unsigned N =
        std::min<unsigned>(Count, static_cast<unsigned>(Image->Colors.size()) - Start);
    for (unsigned I = 0; I < N; ++I) {
        const TColor C = Image->Colors[Start + I];
        Colors[I].rgbRed = static_cast<std::uint8_t>(GetRValue(C));
        Colors[I].rgbGreen = static_cast<std::uint8_t>(GetGValue(C));
        Colors[I].rgbBlue = static_cast<std::uint8_t>(GetBValue(C));
        Colors[I].rgbReserved = 0;
    }
    return N;
}
