#include "platform/gfx/imagelist.h"

#include "platform/gfx/rasterdevice.h"
#include "platform/gfx/rop.h"

#include <algorithm>
#include <memory>

namespace {

// Where the source is white the brush, elsewhere the destination stays (DSPDxax).
constexpr std::uint32_t ROP_DSPDxax = 0x00E20746;

std::uint32_t Native(TColor Color)
{
    return TRasterDevice::ToNative(ColorToRGB(Color)) & 0xFFFFFF;
}

bool Transparent(const TIconImage& Image, std::size_t I)
{
    return Image.HasAlpha ? (Image.Pixels[I] >> 24) < 128 : Image.Mask[I] != 0;
}

TIconImage EmptyImage(int Width, int Height)
{
    TIconImage Image;
    Image.Width = Width;
    Image.Height = Height;
    Image.Pixels.assign(static_cast<std::size_t>(Width) * Height, 0);
    Image.Mask.assign(Image.Pixels.size(), 1);
    return Image;
}

// The icon's image that suits the size best (an icon file holds several).
const TIconImage& NearestImage(const TIcon& Icon, int Width, int Height)
{
    const std::vector<TIconImage>& Images = Icon.File().Images;
    return Images[static_cast<std::size_t>(BestIconImage(Images, Width, Height))];
}

} // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(int AWidth, int AHeight) : TComponent(nullptr)
{
    FWidth = std::max(AWidth, 1);
    FHeight = std::max(AHeight, 1);
}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomImageList::Assign(const TPersistent* Source)
{
    const auto* Other = dynamic_cast<const TCustomImageList*>(Source);
    if (!Other) {
        TComponent::Assign(Source);
        return;
    }
    if (Other == this)
        return;
    FWidth = Other->FWidth;
    FHeight = Other->FHeight;
    FImages = Other->FImages;
    FBkColor = Other->FBkColor;
    FBlendColor = Other->FBlendColor;
    FDrawingStyle = Other->FDrawingStyle;
    FImageType = Other->FImageType;
    FMasked = Other->FMasked;
    FAllocBy = Other->FAllocBy;
    Change();
}

void TCustomImageList::SetWidth(int Value)
{
    Value = std::max(Value, 1);
    if (Value == FWidth)
        return;
    FWidth = Value;
    FImages.clear();
    Change();
}

void TCustomImageList::SetHeight(int Value)
{
    Value = std::max(Value, 1);
    if (Value == FHeight)
        return;
    FHeight = Value;
    FImages.clear();
    Change();
}

std::vector<TIconImage> TCustomImageList::Slices(TBitmap* Image, TBitmap* Mask, TColor MaskColor,
                                                 bool UseColor) const
{
    const TDibImage* Pixels = Image && !Image->Empty() ? Image->Image() : nullptr;
    if (!Pixels)
        return {EmptyImage(FWidth, FHeight)};
    const TDibImage* MaskPixels = !UseColor && Mask && !Mask->Empty() ? Mask->Image() : nullptr;
    bool ByColor = UseColor && MaskColor != clNone;
    TColor Key = clNone;
    if (ByColor)
        Key = (MaskColor == clDefault ? Pixels->Pixel(0, Pixels->Height - 1)
                                      : ColorToRGB(MaskColor)) &
              0xFFFFFF; // a palette flag in the high byte does not count

    const int Parts = std::max(1, Pixels->Width / FWidth);
    std::vector<TIconImage> Result;
    for (int Part = 0; Part < Parts; ++Part) {
        // Outside the bitmap the image is transparent.
        TIconImage Slice = EmptyImage(FWidth, FHeight);
        for (int Y = 0; Y < std::min(FHeight, Pixels->Height); ++Y)
            for (int X = 0; X < FWidth; ++X) {
                const int SX = Part * FWidth + X;
                if (SX >= Pixels->Width)
                    break;
                const TColor Color = Pixels->Pixel(SX, Y);
                bool Masked = false;
                if (ByColor)
                    Masked = (Color & 0xFFFFFF) == Key;
                else if (MaskPixels && SX < MaskPixels->Width && Y < MaskPixels->Height)
                    Masked = ColorToRGB(MaskPixels->Pixel(SX, Y)) == clWhite;
                Masked = Masked && FMasked;
                const std::size_t I = static_cast<std::size_t>(Y) * FWidth + X;
                // Transparent pixels are black, so that the colour step leaves the background.
                Slice.Pixels[I] = Masked ? 0 : 0xFF000000u | Native(Color);
                Slice.Mask[I] = Masked;
            }
        Result.push_back(std::move(Slice));
    }
    return Result;
}

TIconImage TCustomImageList::Fitted(const TIconImage& Source) const
{
    if (Source.Width == FWidth && Source.Height == FHeight)
        return Source;
    return ScaleIconImage(Source, FWidth, FHeight);
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask)
{
    const int First = Count();
    for (TIconImage& Slice : Slices(Image, Mask, clNone, false))
        FImages.push_back(std::move(Slice));
    Change();
    return First;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor)
{
    const int First = Count();
    for (TIconImage& Slice : Slices(Image, nullptr, MaskColor, true))
        FImages.push_back(std::move(Slice));
    Change();
    return First;
}

int TCustomImageList::AddIcon(TIcon* Image)
{
    if (!Image || Image->Empty())
        return -1;
    FImages.push_back(Fitted(NearestImage(*Image, FWidth, FHeight)));
    Change();
    return Count() - 1;
}

void TCustomImageList::AddImages(const TCustomImageList* Value)
{
    if (!Value || Value == this || Value->FImages.empty())
        return;
    for (const TIconImage& Image : Value->FImages)
        FImages.push_back(Fitted(Image));
    Change();
}

void TCustomImageList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EInvalidOperation("Invalid ImageList Index");
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask)
{
    CheckIndex(Index);
    FImages[static_cast<std::size_t>(Index)] = std::move(Slices(Image, Mask, clNone, false)[0]);
    Change();
}

void TCustomImageList::ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor)
{
    CheckIndex(Index);
    FImages[static_cast<std::size_t>(Index)] =
        std::move(Slices(NewImage, nullptr, MaskColor, true)[0]);
    Change();
}

void TCustomImageList::ReplaceIcon(int Index, TIcon* Image)
{
    CheckIndex(Index);
    if (!Image || Image->Empty())
        return;
    FImages[static_cast<std::size_t>(Index)] = Fitted(NearestImage(*Image, FWidth, FHeight));
    Change();
}

void TCustomImageList::Delete(int Index)
{
    CheckIndex(Index);
    FImages.erase(FImages.begin() + Index);
    Change();
}

void TCustomImageList::Clear()
{
    FImages.clear();
    Change();
}

void TCustomImageList::Move(int CurIndex, int NewIndex)
{
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    if (CurIndex == NewIndex)
        return;
    const auto Cur = FImages.begin() + CurIndex;
    const auto New = FImages.begin() + NewIndex;
    if (CurIndex < NewIndex)
        std::rotate(Cur, Cur + 1, New + 1);
    else
        std::rotate(New, Cur, Cur + 1);
    Change();
}

const TIconImage* TCustomImageList::Image(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    return &FImages[static_cast<std::size_t>(Index)];
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image)
{
    if (!Image || !this->Image(Index))
        return false;
    Image->SetSize(FWidth, FHeight);
    Draw(Image->Canvas(), 0, 0, Index);
    return true;
}

bool TCustomImageList::GetIcon(int Index, TIcon* Image)
{
    const TIconImage* Source = this->Image(Index);
    if (!Image || !Source)
        return false;
    TIconImage Copy = *Source;
    if (!FMasked)
        std::fill(Copy.Mask.begin(), Copy.Mask.end(), 0);
    Image->SetHandle(CreateIconFromImage(Copy));
    return true;
}

TIconImage TCustomImageList::Styled(const TIconImage& Source, TDrawingStyle Style,
                                    TImageType Type) const
{
    TIconImage Out = Source;
    const std::size_t Count = Out.Pixels.size();
    if (!FMasked) {
        for (std::size_t I = 0; I < Count; ++I)
            Out.Pixels[I] |= 0xFF000000u;
        std::fill(Out.Mask.begin(), Out.Mask.end(), 0);
        Out.HasAlpha = false;
    }
    if (Type == itMask) {
        // The mask itself, opaque: black where the picture is, white where it is transparent.
        for (std::size_t I = 0; I < Count; ++I)
            Out.Pixels[I] = Transparent(Out, I) ? 0xFFFFFFFFu : 0xFF000000u;
        std::fill(Out.Mask.begin(), Out.Mask.end(), 0);
        Out.HasAlpha = false;
        return Out;
    }
    if (Style == dsFocus || Style == dsSelected) {
        const TColor Blend =
            FBlendColor == clNone || FBlendColor == clDefault ? clHighlight : FBlendColor;
        const std::uint32_t Share = Style == dsFocus ? 64 : 128;
        for (std::size_t I = 0; I < Count; ++I)
            if (Out.HasAlpha || !Out.Mask[I])
                Out.Pixels[I] =
                    (Out.Pixels[I] & 0xFF000000u) |
                    TRasterDevice::Blend(Native(Blend), Out.Pixels[I] & 0xFFFFFF, Share);
    }
    if (Style != dsTransparent && FBkColor != clNone) {
        const std::uint32_t Back = Native(FBkColor);
        for (std::size_t I = 0; I < Count; ++I) {
            const std::uint32_t Alpha =
                Out.HasAlpha ? Out.Pixels[I] >> 24 : (Out.Mask[I] ? 0u : 255u);
            Out.Pixels[I] =
                0xFF000000u | TRasterDevice::Blend(Out.Pixels[I] & 0xFFFFFF, Back, Alpha);
        }
        std::fill(Out.Mask.begin(), Out.Mask.end(), 0);
        Out.HasAlpha = false;
    }
    return Out;
}

void TCustomImageList::DrawDisabled(TCanvas* Canvas, int X, int Y, const TIconImage& Source) const
{
    // White where the picture's shape is, black elsewhere.
    TRasterDevice Shape(FWidth, FHeight, clBlack);
    for (std::size_t I = 0; I < Source.Pixels.size(); ++I) {
        const bool Clear = FMasked && Transparent(Source, I);
        if (!Clear && (Source.Pixels[I] & 0xFFFFFF) != 0xFFFFFF)
            Shape.Bits()[I] = 0xFFFFFF;
    }
    TCanvas From(&Shape);
    TBrush Saved;
    Saved.Assign(Canvas->Brush());
    Canvas->Brush()->SetPattern(nullptr);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(clBtnHighlight);
    Canvas->BitBlt(X + 1, Y + 1, FWidth, FHeight, &From, 0, 0, ROP_DSPDxax);
    Canvas->Brush()->SetColor(clBtnShadow);
    Canvas->BitBlt(X, Y, FWidth, FHeight, &From, 0, 0, ROP_DSPDxax);
    Canvas->SetBrush(&Saved);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled)
{
    Draw(Canvas, X, Y, Index, FDrawingStyle, FImageType, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled)
{
    const TIconImage* Source = Image(Index);
    if (!Canvas || !Source)
        return;
    if (!Enabled) {
        DrawDisabled(Canvas, X, Y, *Source);
        return;
    }
    DrawIconImage(Canvas, Bounds(X, Y, FWidth, FHeight),
                  Styled(*Source, ADrawingStyle, AImageType));
}

void TCustomImageList::SetBkColor(TColor Value)
{
    if (Value == FBkColor)
        return;
    FBkColor = Value;
    Change();
}

void TCustomImageList::SetBlendColor(TColor Value)
{
    if (Value == FBlendColor)
        return;
    FBlendColor = Value;
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value)
{
    if (Value == FDrawingStyle)
        return;
    FDrawingStyle = Value;
    Change();
}

void TCustomImageList::SetImageType(TImageType Value)
{
    if (Value == FImageType)
        return;
    FImageType = Value;
    Change();
}

void TCustomImageList::SetMasked(bool Value)
{
    if (Value == FMasked)
        return;
    FMasked = Value;
    Change();
}
