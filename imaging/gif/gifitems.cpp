// imaging/gif/gifitems.cpp: reading and writing the header, the block sequence, the frames and
// the trailer, and the frame's geometry and pixel access.
#include "imaging/gif/gifitems.h"

#include "imaging/gif/gifextensions.h"
#include "imaging/gif/gifimage.h"
#include "imaging/gif/giflzw.h"
#include "platform/rtl/atomicfile.h"
#include "platform/rtl/byteorder.h"
#include "platform/rtl/convert.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsSignature(const char* Bytes)
{
    return std::toupper(static_cast<unsigned char>(Bytes[0])) == 'G' &&
           std::toupper(static_cast<unsigned char>(Bytes[1])) == 'I' &&
           std::toupper(static_cast<unsigned char>(Bytes[2])) == 'F';
}

} // namespace

std::size_t GIFMaxPixels = std::size_t{1} << 28;

void ReadExact(TStream* Stream, void* Buffer, int64_t Count)
{
    if (Count > 0 && Stream->Read(Buffer, Count) < Count)
        throw GIFException("Premature end of data");
}

// Items and lists

void TGIFItem::ReportWarning(int Severity, const std::string& Message)
{
    if (FImage)
        FImage->ReportWarning(this, Severity, Message);
}

void TGIFItem::SaveToFile(const std::string& FileName)
{
    TAtomicFileStream Stream(FileName);
    SaveToStream(&Stream);
    Stream.Commit();
}

void TGIFItem::LoadFromFile(const std::string& FileName)
{
    TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&Stream);
}

TGIFList::~TGIFList()
{
    Clear();
}

int TGIFList::IndexOf(const TGIFItem* Item) const
{
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

int TGIFList::Add(TGIFItem* Item)
{
    FItems.push_back(Item);
    return Count() - 1;
}

void TGIFList::Insert(int Index, TGIFItem* Item)
{
    FItems.insert(FItems.begin() + Index, Item);
}

void TGIFList::Remove(TGIFItem* Item)
{
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    if (It != FItems.end())
        FItems.erase(It);
}

void TGIFList::Delete(int Index)
{
    TGIFItem* Item = FItems.at(static_cast<std::size_t>(Index));
    FItems.erase(FItems.begin() + Index);
    delete Item;
}

void TGIFList::Clear()
{
    while (!FItems.empty())
        Delete(0);
}

void TGIFList::ReportWarning(int Severity, const std::string& Message)
{
    if (FImage)
        FImage->ReportWarning(this, Severity, Message);
}

void TGIFList::SaveToStream(TStream* Stream)
{
    for (TGIFItem* Item : FItems)
        Item->SaveToStream(Stream);
}

TGIFSubImage* TGIFImageList::SubImage(int Index) const
{
    return static_cast<TGIFSubImage*>(Items(Index));
}

void TGIFImageList::LoadFromStream(TStream* Stream, TObject* Parent)
{
    auto* Image = dynamic_cast<TGIFImage*>(Parent);
    if (!Image)
        Image = FImage;
    std::uint8_t Value = 0;
    auto NextBlock = [&] {
        while (ReadByte(Stream, Value))
            if (Value != 0)
                return true;
        return false;
    };
    if (!NextBlock())
        return;
    while (Value != ';') {
        Stream->Seek(-1, soCurrent);
        if (Value != '!' && Value != ',') {
            ReportWarning(1, "Unknown GIF block type");
            Stream->Seek(-1, soCurrent);
            return;
        }
        std::unique_ptr<TGIFSubImage> Frame = std::make_unique<TGIFSubImage>(Image);
        Frame->LoadFromStream(Stream);
        Add(Frame.release());
        if (Image)
            Image->Progress(this, psRunning, PercentOf(Stream->Position(), Stream->Size()), false,
                            "Loading...");
        if (!NextBlock())
            return;
    }
    Stream->Seek(-1, soCurrent);
}

void TGIFImageList::SaveToStream(TStream* Stream)
{
    for (int I = 0; I < Count(); ++I) {
        Items(I)->SaveToStream(Stream);
        if (FImage)
            FImage->Progress(this, psRunning, PercentOf(I + 1, Count()), false, "Saving...");
    }
}

// Header

TGIFHeader::TGIFHeader(TGIFImage* AImage)
    : TGIFItem(AImage), FColorMap(std::make_unique<TGIFGlobalColorMap>(this))
{
}

TGIFHeader::~TGIFHeader() = default;

TColor TGIFHeader::BackgroundColor()
{
    return FColorMap->ColorAt(FBackgroundIndex);
}

void TGIFHeader::Clear()
{
    FColorMap->ResetTable();
    FWidth = 0;
    FHeight = 0;
    Prepare();
}

void TGIFHeader::Prepare()
{
    int LargestBits = FColorMap->IndexBits();
    if (FImage)
        for (int I = 0; I < FImage->Images()->Count(); ++I)
            LargestBits =
                std::max(LargestBits, FImage->Images()->SubImage(I)->ColorMap()->IndexBits());
    std::uint8_t Packed = 0;
    if (FColorMap->Count() > 0) {
        Packed |= 0x80;
        if (FColorMap->SortedByUsage())
            Packed |= 0x08;
    }
    Packed |= static_cast<std::uint8_t>(((std::max(LargestBits, 1) - 1) & 7) << 4);
    if (FColorMap->Count() > 0)
        Packed |= static_cast<std::uint8_t>((FColorMap->IndexBits() - 1) & 7);
    else
        Packed |= static_cast<std::uint8_t>((std::max(LargestBits, 1) - 1) & 7);
    FPacked = Packed;
}

void TGIFHeader::Assign(const TPersistent* Source)
{
    if (const auto* Header = dynamic_cast<const TGIFHeader*>(Source)) {
        FColorMap->Assign(Header->FColorMap.get());
        FWidth = Header->FWidth;
        FHeight = Header->FHeight;
        FBackgroundIndex = Header->FBackgroundIndex;
        FAspectRatio = Header->FAspectRatio;
        return;
    }
    TGIFItem::Assign(Source);
}

void TGIFHeader::LoadFromStream(TStream* Stream)
{
    const int64_t Start = Stream->Position();
    char Signature[6];
    ReadExact(Stream, Signature, 6);
    if (!IsSignature(Signature)) {
        // A GIF stored behind a 4-byte length.
        Stream->SetPosition(Start + 4);
        ReadExact(Stream, Signature, 6);
        if (!IsSignature(Signature))
            throw GIFException("Invalid GIF signature");
    }
    std::uint8_t Bytes[7];
    ReadExact(Stream, Bytes, 7);
    FWidth = ReadLE16(Bytes);
    FHeight = ReadLE16(Bytes + 2);
    FPacked = Bytes[4];
    FBackgroundIndex = Bytes[5];
    FAspectRatio = Bytes[6];
    if (FPacked & 0x80) {
        const int N = 2 << (FPacked & 7);
        FColorMap->LoadFromStream(Stream, N);
    } else
        FColorMap->ResetTable();
}

void TGIFHeader::SaveToStream(TStream* Stream)
{
    const int Version = FImage ? FImage->Version() : 0;
    if (Version == 0)
        throw GIFException("Unsupported GIF version");
    Stream->WriteBuffer(Version == 1 ? "GIF87a" : "GIF89a", 6);
    Prepare();
    std::uint8_t Bytes[7];
    WriteLE16(Bytes, FWidth);
    WriteLE16(Bytes + 2, FHeight);
    Bytes[4] = FPacked;
    Bytes[5] = FBackgroundIndex;
    Bytes[6] = FAspectRatio;
    Stream->WriteBuffer(Bytes, 7);
    if (FPacked & 0x80)
        FColorMap->SaveToStream(Stream);
}

// Trailer

void TGIFTrailer::LoadFromStream(TStream* Stream)
{
    std::uint8_t Value;
    if (ReadByte(Stream, Value) && Value != ';')
        ReportWarning(1, "Invalid Image trailer");
}

void TGIFTrailer::SaveToStream(TStream* Stream)
{
    WriteByte(Stream, ';');
}

// Frame

TGIFSubImage::TGIFSubImage(TGIFImage* AImage)
    : TGIFItem(AImage), FExtensions(std::make_unique<TGIFExtensionList>(this)),
      FColorMap(std::make_unique<TGIFLocalColorMap>(this))
{
}

TGIFSubImage::~TGIFSubImage()
{
    // Extensions take themselves out of the list and clear the references into this frame.
    FExtensions->Clear();
    DropBitmap();
    DropMask();
    if (FPalette)
        DeleteObject(FPalette);
}

TGIFColorMap* TGIFSubImage::ActiveColorMap() const
{
    if (FColorMap->Count() > 0)
        return FColorMap.get();
    if (FImage && FImage->Header()->ColorMap()->Count() > 0)
        return FImage->Header()->ColorMap();
    return FColorMap.get();
}

TRect TGIFSubImage::FrameBounds() const
{
    return TRect{Left(), Top(), Left() + Width(), Top() + Height()};
}

void TGIFSubImage::SetFrameBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (AWidth != Width() || AHeight != Height()) {
        DropBitmap();
        DropMask();
        FData.assign(static_cast<std::size_t>(std::max(AWidth, 0)) *
                         static_cast<std::size_t>(std::max(AHeight, 0)),
                     0);
    }
    FDescriptor.Left = static_cast<std::uint16_t>(ALeft);
    FDescriptor.Top = static_cast<std::uint16_t>(ATop);
    FDescriptor.Width = static_cast<std::uint16_t>(AWidth);
    FDescriptor.Height = static_cast<std::uint16_t>(AHeight);
    if (!FImage)
        return;
    bool TooSmall = false;
    if (FImage->Width() < ALeft + AWidth) {
        if (FImage->Width() > 0) {
            ReportWarning(1, "Image width too small for contained frames");
            TooSmall = true;
        }
        FImage->Header()->SetWidth(ALeft + AWidth);
        FImage->DropBitmap();
    }
    if (FImage->Height() < ATop + AHeight) {
        if (FImage->Height() > 0) {
            ReportWarning(1, "Image height too small for contained frames");
            TooSmall = true;
        }
        FImage->Header()->SetHeight(ATop + AHeight);
        FImage->DropBitmap();
    }
    if (TooSmall)
        ReportWarning(1, "Image exceeds Logical Screen size");
}

void TGIFSubImage::SetInterlaced(bool Value)
{
    FDescriptor.PackedFields = static_cast<std::uint8_t>(
        Value ? (FDescriptor.PackedFields | 0x40) : (FDescriptor.PackedFields & ~0x40));
}

bool TGIFSubImage::Empty() const
{
    return FData.empty() || Width() == 0 || Height() == 0;
}

void TGIFSubImage::EnsurePixels()
{
    if (FData.empty())
        FData.assign(static_cast<std::size_t>(Width()) * static_cast<std::size_t>(Height()), 0);
    if (FData.empty())
        throw GIFException("Image is empty");
}

std::uint8_t* TGIFSubImage::RowPixels(int Y)
{
    if (Y < 0 || Y >= Height())
        throw GIFException("Invalid pixel coordinates");
    EnsurePixels();
    return FData.data() + static_cast<std::size_t>(Y) * static_cast<std::size_t>(Width());
}

std::uint8_t TGIFSubImage::PixelAt(int X, int Y)
{
    if (X < 0 || X >= Width())
        throw GIFException("Invalid pixel coordinates");
    return RowPixels(Y)[X];
}

int TGIFSubImage::TransparentIndex() const
{
    return FGCE ? FGCE->TransparentIndex() : 0;
}

void TGIFSubImage::Clear()
{
    FExtensions->Clear();
    FColorMap->ResetTable();
    FData.clear();
    FData.shrink_to_fit();
    FDescriptor.Width = 0;
    FDescriptor.Height = 0;
    FTransparent = false;
    FGCE = nullptr;
    DropBitmap();
    DropMask();
}

int TGIFSubImage::RequiredVersion() const
{
    return (FColorMap->SortedByUsage() || FExtensions->Count() > 0) ? 2 : 1;
}

void TGIFSubImage::LoadFromStream(TStream* Stream)
{
    Clear();
    FExtensions->LoadFromStream(Stream, this);
    std::uint8_t Value;
    if (!ReadByte(Stream, Value))
        return;
    Stream->Seek(-1, soCurrent);
    if (Value == ';' || Value == 0)
        return;

    std::uint8_t Bytes[10];
    ReadExact(Stream, Bytes, 10);
    FDescriptor.Separator = Bytes[0];
    FDescriptor.Left = ReadLE16(Bytes + 1);
    FDescriptor.Top = ReadLE16(Bytes + 3);
    FDescriptor.Width = ReadLE16(Bytes + 5);
    FDescriptor.Height = ReadLE16(Bytes + 7);
    FDescriptor.PackedFields = Bytes[9];
    if ((FDescriptor.Width == 0 || FDescriptor.Height == 0) && FImage) {
        FDescriptor.Width = static_cast<std::uint16_t>(FImage->Width());
        FDescriptor.Height = static_cast<std::uint16_t>(FImage->Height());
        ReportWarning(1, "Image exceeds Logical Screen size");
    }
    if (FDescriptor.PackedFields & 0x80) {
        const int N = 2 << (FDescriptor.PackedFields & 7);
        FColorMap->LoadFromStream(Stream, N);
    }
    // A few bytes can claim 65535 x 65535 pixels per frame; the picture's pixels are bounded.
    std::size_t Pixels = static_cast<std::size_t>(Width()) * static_cast<std::size_t>(Height());
    if (FImage)
        for (int I = 0; I < FImage->Images()->Count(); ++I)
            Pixels += FImage->Images()->SubImage(I)->DataSize();
    if (Pixels > GIFMaxPixels)
        throw GIFException("Image is too large");
    DecodeImageData(this, Stream);
}

void TGIFSubImage::SaveToStream(TStream* Stream)
{
    FExtensions->SaveToStream(Stream);
    if (Empty())
        return;
    if (FColorMap->Count() == 0)
        FDescriptor.PackedFields &= 0x58;
    else {
        std::uint8_t Packed = 0x80;
        if (FColorMap->SortedByUsage())
            Packed |= 0x20;
        Packed |= static_cast<std::uint8_t>((FColorMap->IndexBits() - 1) & 7);
        FDescriptor.PackedFields = Packed;
    }
    std::uint8_t Bytes[10];
    Bytes[0] = ',';
    WriteLE16(Bytes + 1, FDescriptor.Left);
    WriteLE16(Bytes + 3, FDescriptor.Top);
    WriteLE16(Bytes + 5, FDescriptor.Width);
    WriteLE16(Bytes + 7, FDescriptor.Height);
    Bytes[9] = FDescriptor.PackedFields;
    Stream->WriteBuffer(Bytes, 10);
    FColorMap->SaveToStream(Stream);
    EncodeImageData(this, Stream);
}
