#include "platform/gfx/metafile.h"

#include "platform/gfx/metafileformat.h"
#include "platform/gfx/metafileplayer.h"
#include "platform/gfx/metafilereader.h"
#include "platform/gfx/metafilewriter.h"
#include "platform/rtl/classregistry.h"
#include "platform/rtl/convert.h"

#include <utility>

using metafileformat::ScreenPixelsPerInch;

// A picture copies a graphic by creating one of the same class from its metaclass: the factory
// is set up here, when the class is linked, not only once some code names the class.
[[maybe_unused]] static const TMetaClass* const TMetafileClass = TMetaClass::Of<TMetafile>();

TMetafile::TMetafile() = default;

TMetafile::~TMetafile() = default;

void TMetafile::Assign(const TPersistent* Source)
{
    if (!Source) {
        Clear();
        return;
    }
    if (const auto* Other = dynamic_cast<const TMetafile*>(Source)) {
        if (Other == this)
            return;
        FImage = Other->FImage;
        FMMWidth = Other->FMMWidth;
        FMMHeight = Other->FMMHeight;
        FEnhanced = Other->FEnhanced;
        Changed(this);
        return;
    }
    TGraphic::Assign(Source);
}

void TMetafile::Clear()
{
    FImage.reset();
    FMMWidth = 0;
    FMMHeight = 0;
    Changed(this);
}

const std::vector<TMetafile::TRecord>& TMetafile::Records() const
{
    static const std::vector<TRecord> None;
    return FImage ? FImage->Records : None;
}

TRect TMetafile::Frame() const
{
    return FImage ? FImage->Frame : TRect{};
}

int TMetafile::PixelsPerInch() const
{
    return FImage ? FImage->PixelsPerInch : ScreenPixelsPerInch;
}

int TMetafile::Width() const
{
    return MulDiv(FMMWidth, ScreenPixelsPerInch, 2540);
}

int TMetafile::Height() const
{
    return MulDiv(FMMHeight, ScreenPixelsPerInch, 2540);
}

void TMetafile::SetWidth(int Value)
{
    SetMMWidth(MulDiv(Value, 2540, ScreenPixelsPerInch));
}

void TMetafile::SetHeight(int Value)
{
    SetMMHeight(MulDiv(Value, 2540, ScreenPixelsPerInch));
}

void TMetafile::SetMMWidth(int Value)
{
    if (FMMWidth == Value)
        return;
    FMMWidth = Value;
    Changed(this);
}

void TMetafile::SetMMHeight(int Value)
{
    if (FMMHeight == Value)
        return;
    FMMHeight = Value;
    Changed(this);
}

void TMetafile::SetEnhanced(bool Value)
{
    if (FEnhanced == Value)
        return;
    FEnhanced = Value;
    Changed(this);
}

void TMetafile::SetImage(std::shared_ptr<const TMetafileImage> Image)
{
    FImage = std::move(Image);
    Changed(this);
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (FImage && ACanvas)
        PlayMetafile(*FImage, *ACanvas, Rect);
}

void TMetafile::SaveToStream(TStream* Stream)
{
    WriteMetafile(Stream, TMetafileContents{FImage, FMMWidth, FMMHeight, FEnhanced});
}

void TMetafile::LoadFromStream(TStream* Stream)
{
    TMetafileContents Contents = ReadMetafile(Stream);
    FImage = std::move(Contents.Image);
    FMMWidth = Contents.MMWidth;
    FMMHeight = Contents.MMHeight;
    FEnhanced = Contents.Enhanced;
    Changed(this);
}
