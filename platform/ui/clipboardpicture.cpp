// platform/ui/clipboardpicture.cpp: pictures onto and off the clipboard.
#include "platform/ui/clipboardpicture.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/metafile.h"
#include "platform/rtl/stream.h"

#include <cstring>

namespace {

// Keeps a clipboard open for a scope (TClipboard's opening nests).
class TClipboardOpen {
public:
    explicit TClipboardOpen(TClipboard& Clipboard) : FClipboard(Clipboard) { FClipboard.Open(); }
    ~TClipboardOpen() { FClipboard.Close(); }
    TClipboardOpen(const TClipboardOpen&) = delete;
    TClipboardOpen& operator=(const TClipboardOpen&) = delete;

private:
    TClipboard& FClipboard;
};

// A metafile travels as the bytes it saves itself in.
void SetClipboardMetafile(TMetafile& Metafile)
{
    if (Metafile.Empty())
        return;
    TMemoryStream Stream;
    Metafile.SaveToStream(&Stream);
    const auto Size = static_cast<std::size_t>(Stream.Size());
    const HGLOBAL Data = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Size);
    if (Data == 0)
        throw EOutOfMemory("Out of memory");
    std::memcpy(GlobalLock(Data), Stream.Memory(), Size);
    GlobalUnlock(Data);
    if (SetClipboardData(CF_ENHMETAFILE, Data) == 0)
        GlobalFree(Data);
}

void LoadClipboardMetafile(TMetafile& Metafile, HANDLE Data)
{
    const void* Bytes = GlobalLock(Data);
    if (Bytes == nullptr)
        throw EInvalidGraphic("The clipboard holds no picture of this format");
    TMemoryStream Stream;
    Stream.Write(Bytes, static_cast<std::int64_t>(GlobalSize(Data)));
    GlobalUnlock(Data);
    Stream.Seek(0, soBeginning);
    Metafile.LoadFromStream(&Stream);
}

HPALETTE ClipboardPalette()
{
    return reinterpret_cast<HPALETTE>(GetClipboardData(CF_PALETTE));
}

} // namespace

void SetClipboardGraphic(TGraphic& Graphic)
{
    if (auto* Metafile = dynamic_cast<TMetafile*>(&Graphic)) {
        SetClipboardMetafile(*Metafile);
        return;
    }
    UINT Format = 0;
    HANDLE Data = 0;
    HPALETTE Palette = nullptr;
    Graphic.SaveToClipboardFormat(Format, Data, Palette);
    // Only a memory format can refuse its data (a block that is not one): it stays ours.
    if (Format != 0 && Data != 0 && SetClipboardData(Format, Data) == 0) {
        GlobalFree(Data);
        Data = 0;
    }
    if (Palette != nullptr &&
        (Data == 0 || SetClipboardData(CF_PALETTE, reinterpret_cast<HANDLE>(Palette)) == 0))
        DeleteObject(Palette);
}

void GetClipboardGraphic(TGraphic& Graphic, UINT Format)
{
    const HANDLE Data = GetClipboardData(Format);
    if (Data == 0)
        throw EInvalidGraphic("The clipboard holds no picture of this format");
    if (auto* Metafile = dynamic_cast<TMetafile*>(&Graphic); Metafile && Format == CF_ENHMETAFILE) {
        LoadClipboardMetafile(*Metafile, Data);
        return;
    }
    Graphic.LoadFromClipboardFormat(Format, Data, ClipboardPalette());
}

void GetClipboardPicture(TPicture& Picture)
{
    for (UINT Format = EnumClipboardFormats(0); Format != 0;
         Format = EnumClipboardFormats(Format)) {
        if (Format == CF_ENHMETAFILE) {
            TMetafile Metafile;
            LoadClipboardMetafile(Metafile, GetClipboardData(Format));
            Picture.SetGraphic(&Metafile);
            return;
        }
        if (TPicture::SupportsClipboardFormat(Format)) {
            Picture.LoadFromClipboardFormat(Format, GetClipboardData(Format), ClipboardPalette());
            return;
        }
    }
    throw EInvalidGraphic("Unsupported clipboard format");
}

void ReleaseClipboardGraphic(UINT Format, HANDLE Data)
{
    if (Format == CF_BITMAP)
        DeleteObject(reinterpret_cast<HBITMAP>(Data));
    else if (Format == CF_PALETTE)
        DeleteObject(reinterpret_cast<HPALETTE>(Data));
}

void TClipboard::Assign(const TPersistent* Source)
{
    const TGraphic* Graphic = dynamic_cast<const TGraphic*>(Source);
    if (const auto* Picture = dynamic_cast<const TPicture*>(Source))
        Graphic = Picture->Graphic();
    if (Graphic == nullptr) {
        if (dynamic_cast<const TPicture*>(Source) != nullptr) {
            Clear(); // an empty picture empties the clipboard
            return;
        }
        TPersistent::Assign(Source);
        return;
    }
    TClipboardOpen Open(*this);
    Adding();
    // Saving hands out new handles and does not change the picture.
    SetClipboardGraphic(const_cast<TGraphic&>(*Graphic));
}

void TClipboard::AssignTo(TPersistent* Dest) const
{
    // Reading opens and closes the clipboard, which only counts the nesting.
    TClipboard& Self = const_cast<TClipboard&>(*this);
    if (auto* Picture = dynamic_cast<TPicture*>(Dest)) {
        TClipboardOpen Open(Self);
        GetClipboardPicture(*Picture);
    } else if (auto* Metafile = dynamic_cast<TMetafile*>(Dest)) {
        TClipboardOpen Open(Self);
        GetClipboardGraphic(*Metafile, CF_ENHMETAFILE);
    } else if (auto* Bitmap = dynamic_cast<TBitmap*>(Dest)) {
        TClipboardOpen Open(Self);
        GetClipboardGraphic(*Bitmap, IsClipboardFormatAvailable(CF_BITMAP) ? CF_BITMAP : CF_DIB);
    } else {
        TPersistent::AssignTo(Dest);
    }
}
