#include "platform/gfx/icon.h"

#include "platform/gfx/rasterdevice.h"
#include "platform/rtl/classregistry.h"
#include "platform/rtl/files.h"
#include "platform/rtl/resources.h"

#include <algorithm>
#include <mutex>
#include <unordered_set>

// A picture copies a graphic by creating one of the same class from its metaclass: the factory
// is set up here, when the class is linked, not only once some code names the class.
[[maybe_unused]] static const TMetaClass* const TIconClass = TMetaClass::Of<TIcon>();

namespace {

// Handles are plain pointers; the set tells live ones from freed or foreign ones.
struct THandleTable {
    std::mutex Lock;
    std::unordered_set<const TIconHandle*> Live;
};

THandleTable& Handles()
{
    static THandleTable Table;
    return Table;
}

// A raster of W x H native pixels to blit from.
std::unique_ptr<TRasterDevice> Raster(int W, int H, const std::vector<std::uint32_t>& Native)
{
    auto Device = std::make_unique<TRasterDevice>(W, H);
    std::copy(Native.begin(), Native.end(), Device->Bits());
    return Device;
}

// Runs Draw with the canvas in device coordinates (the clip is kept), so that pixels read from
// the device and pixels blitted to it line up whatever the mapping.
template <class F>
void InDeviceUnits(TCanvas* Canvas, F Draw)
{
    Canvas->SaveDC();
    Canvas->SetMapMode(MM_TEXT);
    Canvas->SetWindowOrgEx(0, 0);
    Canvas->SetViewportOrgEx(0, 0);
    Draw();
    Canvas->RestoreDC(-1);
}

TIconImage StockImage(int StockId)
{
    constexpr int Side = 32;
    constexpr TColor Key = clFuchsia; // no stock picture uses it
    TRasterDevice Device(Side, Side, Key);
    TCanvas C(&Device);
    auto Solid = [&](TColor Fill, TColor Line, int Width) {
        C.Brush()->SetColor(Fill);
        C.Brush()->SetStyle(bsSolid);
        C.Pen()->SetColor(Line);
        C.Pen()->SetWidth(Width);
    };
    auto Bar = [&](int L, int T, int R, int B, TColor Color) {
        C.Brush()->SetColor(Color);
        C.FillRect(Rect(L, T, R, B));
    };
    switch (StockId) {
    case IDI_APPLICATION:
        Solid(clWhite, clBlack, 1);
        C.Rectangle(2, 4, 30, 28);
        Bar(3, 5, 29, 10, clNavy);
        break;
    case IDI_HAND:
        Solid(clRed, clMaroon, 1);
        C.Ellipse(1, 1, 31, 31);
        Solid(clWhite, clWhite, 4);
        C.MoveTo(10, 10);
        C.LineTo(22, 22);
        C.MoveTo(22, 10);
        C.LineTo(10, 22);
        break;
    case IDI_QUESTION:
        Solid(clBlue, clNavy, 1);
        C.Ellipse(1, 1, 31, 31);
        Solid(clBlue, clWhite, 3);
        // The hook runs counter-clockwise from its foot round the top to its left end.
        C.Arc(11, 6, 22, 17, 16, 17, 11, 11);
        C.MoveTo(16, 16);
        C.LineTo(16, 21);
        Bar(15, 23, 18, 26, clWhite);
        break;
    case IDI_EXCLAMATION:
        Solid(clYellow, clBlack, 1);
        C.Polygon({Point(16, 2), Point(30, 28), Point(2, 28)});
        Bar(15, 10, 18, 21, clBlack);
        Bar(15, 23, 18, 26, clBlack);
        break;
    case IDI_ASTERISK:
        Solid(clBlue, clNavy, 1);
        C.Ellipse(1, 1, 31, 31);
        Bar(15, 8, 18, 11, clWhite);
        Bar(15, 13, 18, 24, clWhite);
        break;
    default:
        return TIconImage{};
    }
    TIconImage Image;
    Image.Width = Side;
    Image.Height = Side;
    Image.BitCount = 32;
    for (int Y = 0; Y < Side; ++Y)
        for (int X = 0; X < Side; ++X) {
            const bool Masked = Device.Pixel(X, Y) == Key;
            Image.Pixels.push_back(Masked ? 0 : 0xFF000000u | Device.ScanLine(Y)[X]);
            Image.Mask.push_back(Masked);
        }
    return Image;
}

std::string ReadStreamRest(TStream* Stream)
{
    std::string Data;
    char Buffer[65536];
    for (;;) {
        const int64_t Got = Stream->Read(Buffer, sizeof Buffer);
        if (Got <= 0)
            break;
        Data.append(Buffer, static_cast<std::size_t>(Got));
    }
    return Data;
}

} // namespace

HICON CreateIconFromImage(const TIconImage& Image, bool Icon)
{
    auto* Handle = new TIconHandle{Image, Icon};
    THandleTable& Table = Handles();
    std::lock_guard<std::mutex> Guard(Table.Lock);
    Table.Live.insert(Handle);
    return Handle;
}

bool IsIconHandle(HICON Icon)
{
    THandleTable& Table = Handles();
    std::lock_guard<std::mutex> Guard(Table.Lock);
    return Icon && Table.Live.count(Icon) != 0;
}

HICON CopyIcon(HICON Icon)
{
    if (!IsIconHandle(Icon))
        return nullptr;
    return CreateIconFromImage(Icon->Image, Icon->Icon);
}

bool DestroyIcon(HICON Icon)
{
    {
        THandleTable& Table = Handles();
        std::lock_guard<std::mutex> Guard(Table.Lock);
        if (!Icon || Table.Live.erase(Icon) == 0)
            return false;
    }
    delete Icon;
    return true;
}

bool DrawIcon(HDC DC, int X, int Y, HICON Icon)
{
    if (!DC || !IsIconHandle(Icon))
        return false;
    DrawIconImage(DC, Bounds(X, Y, Icon->Image.Width, Icon->Image.Height), Icon->Image);
    return true;
}

HICON LoadImage(const std::string& Name, unsigned Type, int Width, int Height, unsigned Flags)
{
    if (Type != IMAGE_ICON && Type != IMAGE_CURSOR)
        return nullptr;
    std::string Data;
    if (Flags & LR_LOADFROMFILE) {
        try {
            TMemoryStream Stream;
            Stream.LoadFromFile(Name);
            Data.assign(static_cast<const char*>(Stream.Memory()),
                        static_cast<std::size_t>(Stream.Size()));
        } catch (const Exception&) {
            return nullptr;
        }
    } else {
        const std::optional<std::string_view> Bytes =
            FindResource(Type == IMAGE_ICON ? RT_ICON : RT_CURSOR, Name);
        if (!Bytes)
            return nullptr;
        Data.assign(Bytes->begin(), Bytes->end());
    }
    if ((Width <= 0 || Height <= 0) && (Flags & LR_DEFAULTSIZE)) {
        Width = 32;
        Height = 32;
    }
    try {
        return CreateIconFromData(Data, Width, Height, Type == IMAGE_ICON);
    } catch (const EInvalidGraphic&) {
        return nullptr;
    }
}

HICON CreateIconFromData(const std::string& Data, int Width, int Height, bool Icon)
{
    bool Cursor = false;
    const std::vector<TIconDirEntry> Entries = ReadIconDirectory(Data, &Cursor);
    const int Best = BestIconEntry(Entries, Width, Height);
    TIconImage Image = DecodeIconImage(Data, Entries[static_cast<std::size_t>(Best)]);
    if (!Cursor)
        Image.HotSpot = TPoint{Image.Width / 2, Image.Height / 2};
    if (Width > 0 && Height > 0 && (Image.Width != Width || Image.Height != Height))
        Image = ScaleIconImage(Image, Width, Height);
    return CreateIconFromImage(Image, Icon);
}

HICON LoadIcon(int StockId)
{
    TIconImage Image = StockImage(StockId);
    if (Image.Pixels.empty())
        return nullptr;
    return CreateIconFromImage(Image, true);
}

HICON LoadIcon(const std::string& Name)
{
    return LoadImage(Name, IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR);
}

TIconImage ScaleIconImage(const TIconImage& Image, int Width, int Height)
{
    TIconImage Result = Image;
    Result.Width = std::max(Width, 0);
    Result.Height = std::max(Height, 0);
    Result.Pixels.assign(static_cast<std::size_t>(Result.Width) * Result.Height, 0);
    Result.Mask.assign(Result.Pixels.size(), 1);
    if (Image.Width <= 0 || Image.Height <= 0)
        return Result;
    for (int Y = 0; Y < Result.Height; ++Y) {
        const int SY = static_cast<int>(static_cast<std::int64_t>(Y) * Image.Height / Height);
        for (int X = 0; X < Result.Width; ++X) {
            const int SX = static_cast<int>(static_cast<std::int64_t>(X) * Image.Width / Width);
            const std::size_t From = static_cast<std::size_t>(SY) * Image.Width + SX;
            const std::size_t To = static_cast<std::size_t>(Y) * Result.Width + X;
            Result.Pixels[To] = Image.Pixels[From];
            Result.Mask[To] = Image.Mask[From];
        }
    }
    Result.HotSpot = TPoint{Image.HotSpot.X * Result.Width / Image.Width,
                            Image.HotSpot.Y * Result.Height / Image.Height};
    return Result;
}

void DrawIconImage(TCanvas* Canvas, const TRect& Dest, const TIconImage& Image)
{
    if (!Canvas || !Canvas->Device() || Image.Width <= 0 || Image.Height <= 0 ||
        Image.Pixels.size() != static_cast<std::size_t>(Image.Width) * Image.Height ||
        Image.Mask.size() != Image.Pixels.size())
        return;
    const TPoint A = Canvas->LPtoDP(Dest.TopLeft());
    const TPoint B = Canvas->LPtoDP(Dest.BottomRight());
    const TRect Box =
        Rect(std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X), std::max(A.Y, B.Y));
    const int W = Box.Width();
    const int H = Box.Height();
    if (W <= 0 || H <= 0)
        return;
    TIconImage Shown = Image.Width == W && Image.Height == H ? Image : ScaleIconImage(Image, W, H);
    // A mapping with reversed axes mirrors the picture on the device.
    if (A.X > B.X)
        for (int Y = 0; Y < H; ++Y) {
            std::reverse(Shown.Pixels.begin() + Y * W, Shown.Pixels.begin() + (Y + 1) * W);
            std::reverse(Shown.Mask.begin() + Y * W, Shown.Mask.begin() + (Y + 1) * W);
        }
    if (A.Y > B.Y)
        for (int Y = 0; Y < H / 2; ++Y) {
            std::swap_ranges(Shown.Pixels.begin() + Y * W, Shown.Pixels.begin() + (Y + 1) * W,
                             Shown.Pixels.begin() + (H - 1 - Y) * W);
            std::swap_ranges(Shown.Mask.begin() + Y * W, Shown.Mask.begin() + (Y + 1) * W,
                             Shown.Mask.begin() + (H - 1 - Y) * W);
        }
    const std::size_t Count = Shown.Pixels.size();

    std::vector<TColor> Under;
    if (Shown.HasAlpha && Canvas->Device()->ReadPixels(Box, Under)) {
        std::vector<std::uint32_t> Out(Count);
        for (std::size_t I = 0; I < Count; ++I)
            Out[I] = TRasterDevice::Blend(Shown.Pixels[I], TRasterDevice::ToNative(Under[I]),
                                          Shown.Pixels[I] >> 24);
        auto Source = Raster(W, H, Out);
        TCanvas From(Source.get());
        InDeviceUnits(Canvas,
                      [&] { Canvas->BitBlt(Box.Left, Box.Top, W, H, &From, 0, 0, SRCCOPY); });
        return;
    }

    // AND mask, then XOR colour; a picture with alpha on a device without pixels is cut at half
    // opacity.
    std::vector<std::uint32_t> AndBits(Count);
    std::vector<std::uint32_t> XorBits(Count);
    bool AnyMasked = false;
    bool AnyColor = false;
    for (std::size_t I = 0; I < Count; ++I) {
        const std::uint32_t Pixel = Shown.Pixels[I];
        const bool Masked = Shown.HasAlpha ? (Pixel >> 24) < 128 : Shown.Mask[I] != 0;
        const std::uint32_t Color = Shown.HasAlpha && Masked ? 0 : Pixel & 0xFFFFFF;
        AndBits[I] = Masked ? 0xFFFFFF : 0;
        XorBits[I] = Color;
        AnyMasked = AnyMasked || Masked;
        AnyColor = AnyColor || Color != 0;
    }
    auto AndSource = Raster(W, H, AndBits);
    auto XorSource = Raster(W, H, XorBits);
    TCanvas AndCanvas(AndSource.get());
    TCanvas XorCanvas(XorSource.get());
    InDeviceUnits(Canvas, [&] {
        if (!AnyMasked) {
            Canvas->BitBlt(Box.Left, Box.Top, W, H, &XorCanvas, 0, 0, SRCCOPY);
            return;
        }
        Canvas->BitBlt(Box.Left, Box.Top, W, H, &AndCanvas, 0, 0, SRCAND);
        if (AnyColor)
            Canvas->BitBlt(Box.Left, Box.Top, W, H, &XorCanvas, 0, 0, SRCINVERT);
    });
}

// TIcon -------------------------------------------------------------------------------------

TIcon::TIcon()
{
    FTransparent = true;
}

TIcon::~TIcon()
{
    FreeHandle();
}

void TIcon::FreeHandle()
{
    if (FHandle)
        DestroyIcon(FHandle);
    FHandle = nullptr;
}

void TIcon::PickImage()
{
    FreeHandle();
    FCurrent = BestIconImage(FFile.Images, FRequestWidth, FRequestHeight);
}

void TIcon::TakeFile(TIconFile File, std::string Data)
{
    FFile = std::move(File);
    FData = std::move(Data);
    PickImage();
    Changed(this);
}

void TIcon::Assign(const TPersistent* Source)
{
    if (!Source) {
        TakeFile(TIconFile{}, std::string());
        return;
    }
    if (const auto* Other = dynamic_cast<const TIcon*>(Source)) {
        if (Other == this)
            return;
        FRequestWidth = Other->FRequestWidth;
        FRequestHeight = Other->FRequestHeight;
        TakeFile(Other->FFile, Other->FData);
        return;
    }
    TGraphic::Assign(Source);
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (const TIconImage* Shown = Image())
        DrawIconImage(ACanvas, Rect, *Shown);
}

bool TIcon::Empty() const
{
    return Image() == nullptr;
}

const TIconImage* TIcon::Image() const
{
    if (FCurrent < 0 || static_cast<std::size_t>(FCurrent) >= FFile.Images.size())
        return nullptr;
    return &FFile.Images[static_cast<std::size_t>(FCurrent)];
}

int TIcon::Width() const
{
    const TIconImage* Shown = Image();
    return Shown ? Shown->Width : 0;
}

int TIcon::Height() const
{
    const TIconImage* Shown = Image();
    return Shown ? Shown->Height : 0;
}

void TIcon::SetWidth(int)
{
    throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHeight(int)
{
    throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetSize(int AWidth, int AHeight)
{
    if (AWidth == FRequestWidth && AHeight == FRequestHeight)
        return;
    FRequestWidth = AWidth;
    FRequestHeight = AHeight;
    const int Old = FCurrent;
    PickImage();
    if (FCurrent != Old)
        Changed(this);
}

HICON TIcon::Handle()
{
    if (!FHandle) {
        if (const TIconImage* Shown = Image())
            FHandle = CreateIconFromImage(*Shown, !FFile.Cursor);
    }
    return FHandle;
}

void TIcon::SetHandle(HICON Value)
{
    if (Value == FHandle)
        return;
    FreeHandle();
    FFile = TIconFile{};
    FData.clear();
    FCurrent = -1;
    if (IsIconHandle(Value)) {
        FFile.Cursor = !Value->Icon;
        FFile.Images.push_back(Value->Image);
        FCurrent = 0;
        FHandle = Value;
    }
    Changed(this);
}

HICON TIcon::ReleaseHandle()
{
    HICON Result = Handle();
    FHandle = nullptr;
    TakeFile(TIconFile{}, std::string());
    return Result;
}

void TIcon::LoadFromStream(TStream* Stream)
{
    std::string Data = ReadStreamRest(Stream);
    TIconFile File = ReadIconFile(Data);
    TakeFile(std::move(File), std::move(Data));
}

void TIcon::SaveToStream(TStream* Stream)
{
    if (Empty())
        throw EInvalidGraphic("Cannot save an empty icon");
    const std::string Data = FData.empty() ? WriteIconFile(FFile) : FData;
    Stream->WriteBuffer(Data.data(), static_cast<int64_t>(Data.size()));
}

void TIcon::LoadFromResourceName(const std::string& ResName)
{
    TResourceStream Stream(RT_ICON, ResName);
    LoadFromStream(&Stream);
}
