// imaging/gif/gifitems.h: the object model of a GIF file: the items stored in it (header, frames,
// trailer), the lists that hold them, and the frame with its geometry and pixel buffer.
#pragma once

#include "imaging/gif/gifcolormap.h"
#include "imaging/gif/gifexception.h"
#include "platform/gfx/bitmap.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TGIFImage;
class TGIFExtensionList;

// The most pixels the frames of one picture read from a stream may hold together; 2^28 (256 MB)
// unless changed (the fuzz target lowers it to keep its runs fast).
extern std::size_t GIFMaxPixels;
class TGIFGraphicControlExtension;

// Anything stored in a GIF file.
class TGIFItem : public TPersistent {
public:
    explicit TGIFItem(TGIFImage* AImage) : FImage(AImage) {}
    TGIFImage* Image() const { return FImage; }
    void SetImage(TGIFImage* Value) { FImage = Value; }

    // 1 for "87a", 2 for "89a".
    virtual int RequiredVersion() const { return 1; }
    virtual void ReportWarning(int Severity, const std::string& Message);
    virtual void SaveToStream(TStream* Stream) = 0;
    virtual void LoadFromStream(TStream* Stream) = 0;
    // Through the atomic rewrite: a failure leaves the old file whole.
    virtual void SaveToFile(const std::string& FileName);
    virtual void LoadFromFile(const std::string& FileName);

protected:
    TGIFImage* FImage;
};

// An owning list of items.
class TGIFList : public TPersistent {
public:
    explicit TGIFList(TGIFImage* AImage) : FImage(AImage) {}
    ~TGIFList() override;
    TGIFList(const TGIFList&) = delete;
    TGIFList& operator=(const TGIFList&) = delete;

    TGIFImage* Image() const { return FImage; }
    TGIFItem* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
    int Count() const { return static_cast<int>(FItems.size()); }
    int IndexOf(const TGIFItem* Item) const;
    // The list takes Item over; its index.
    int Add(TGIFItem* Item);
    void Insert(int Index, TGIFItem* Item);
    // Takes Item out without freeing it.
    void Remove(TGIFItem* Item);
    // Frees the item at Index.
    void Delete(int Index);
    void Clear();

    virtual void ReportWarning(int Severity, const std::string& Message);
    virtual void SaveToStream(TStream* Stream);
    virtual void LoadFromStream(TStream* Stream, TObject* Parent) = 0;

protected:
    TGIFImage* FImage;
    std::vector<TGIFItem*> FItems;
};

class TGIFSubImage;

// The frames of a picture.
class TGIFImageList : public TGIFList {
public:
    using TGIFList::TGIFList;
    TGIFSubImage* SubImage(int Index) const;
    void LoadFromStream(TStream* Stream, TObject* Parent) override;
    void SaveToStream(TStream* Stream) override;
};

// The logical screen descriptor and the global colour table.
class TGIFHeader : public TGIFItem {
public:
    explicit TGIFHeader(TGIFImage* AImage);
    ~TGIFHeader() override;

    TGIFGlobalColorMap* ColorMap() const { return FColorMap.get(); }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int Value) { FWidth = static_cast<std::uint16_t>(Value); }
    void SetHeight(int Value) { FHeight = static_cast<std::uint16_t>(Value); }
    std::uint8_t PackedFields() const { return FPacked; }
    void SetPackedFields(std::uint8_t Value) { FPacked = Value; }
    std::uint8_t BackgroundColorIndex() const { return FBackgroundIndex; }
    void SetBackgroundColorIndex(std::uint8_t Value) { FBackgroundIndex = Value; }
    std::uint8_t AspectRatio() const { return FAspectRatio; }
    void SetAspectRatio(std::uint8_t Value) { FAspectRatio = Value; }
    // The global table's colour at the background index.
    TColor BackgroundColor();
    // Rebuilds the packed byte from the colour tables.
    void Prepare();
    // Empties the table and the screen size.
    void Clear();

    void Assign(const TPersistent* Source) override;
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;

private:
    std::unique_ptr<TGIFGlobalColorMap> FColorMap;
    std::uint16_t FWidth = 0;
    std::uint16_t FHeight = 0;
    std::uint8_t FPacked = 0;
    std::uint8_t FBackgroundIndex = 0;
    std::uint8_t FAspectRatio = 0;
};

class TGIFTrailer : public TGIFItem {
public:
    using TGIFItem::TGIFItem;
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
};

// The image descriptor as the file holds it.
struct TGIFImageDescriptor {
    std::uint8_t Separator = ',';
    std::uint16_t Left = 0;
    std::uint16_t Top = 0;
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    std::uint8_t PackedFields = 0;
};

// One frame: its extensions, local colour table, descriptor and pixels (one colour index per
// byte, rows from the top), with the caches of its rendered form.
class TGIFSubImage : public TGIFItem {
public:
    explicit TGIFSubImage(TGIFImage* AImage);
    ~TGIFSubImage() override;

    TGIFExtensionList* Extensions() const { return FExtensions.get(); }
    TGIFLocalColorMap* ColorMap() const { return FColorMap.get(); }
    // The local table when it has entries, else the global one when it has, else the local one.
    TGIFColorMap* ActiveColorMap() const;
    const TGIFImageDescriptor& Descriptor() const { return FDescriptor; }
    void SetDescriptor(const TGIFImageDescriptor& Value) { FDescriptor = Value; }

    int Left() const { return FDescriptor.Left; }
    int Top() const { return FDescriptor.Top; }
    int Width() const { return FDescriptor.Width; }
    int Height() const { return FDescriptor.Height; }
    void SetLeft(int Value) { SetFrameBounds(Value, Top(), Width(), Height()); }
    void SetTop(int Value) { SetFrameBounds(Left(), Value, Width(), Height()); }
    void SetWidth(int Value) { SetFrameBounds(Left(), Top(), Value, Height()); }
    void SetHeight(int Value) { SetFrameBounds(Left(), Top(), Width(), Value); }
    TRect FrameBounds() const;
    void SetFrameBounds(int ALeft, int ATop, int AWidth, int AHeight);
    bool IsInterlaced() const { return (FDescriptor.PackedFields & 0x40) != 0; }
    void SetInterlaced(bool Value);

    bool Empty() const;
    std::uint8_t* Data() { return FData.data(); }
    const std::uint8_t* Data() const { return FData.data(); }
    std::size_t DataSize() const { return FData.size(); }
    // The buffer, allocated when missing; GIFException "Image is empty" for a frame of size 0.
    void EnsurePixels();
    std::uint8_t* RowPixels(int Y);
    std::uint8_t PixelAt(int X, int Y);

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }
    // The frame's graphic control extension (the first one created for it), not owned.
    TGIFGraphicControlExtension* GraphicControlExtension() const { return FGCE; }
    void SetGraphicControlExtension(TGIFGraphicControlExtension* Value) { FGCE = Value; }
    // The transparent index of the graphic control extension; 0 without one.
    int TransparentIndex() const;

    // Drops extensions, table, pixels and caches; the size becomes 0.
    void Clear();
    int RequiredVersion() const override;
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;

    // Rendering and conversion.
    HPALETTE FramePalette();
    void SetFramePalette(HPALETTE Value);
    TBitmap* FrameBitmap();
    bool HasBitmap() const { return FBitmap != nullptr; }
    bool MaskReady();
    HBITMAP Mask() const { return FMask; }
    void DropBitmap();
    void DropMask();
    void DrawFrame(TCanvas* ACanvas, const TRect& ARect, bool ATransparent, bool ATile);
    void Assign(const TPersistent* Source) override;
    void TrimTransparentBorders();
    void SubtractPrevious(TGIFSubImage* Previous);
    void ApplyMask(TBitmap* MaskBitmap);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    friend class TGIFLocalColorMap;
    void RenderPlain();
    void RenderDithered();
    void AssignFromBitmap(TBitmap* Source);
    void AssignFromGraphic(TGraphic* Source);

    std::unique_ptr<TGIFExtensionList> FExtensions;
    std::unique_ptr<TGIFLocalColorMap> FColorMap;
    TGIFImageDescriptor FDescriptor;
    std::unique_ptr<TBitmap> FBitmap;
    HBITMAP FMask = nullptr;
    bool FNeedMask = true;
    std::vector<std::uint8_t> FData;
    bool FTransparent = false;
    TGIFGraphicControlExtension* FGCE = nullptr;
    HPALETTE FPalette = nullptr;

    friend void DecodeImageData(TGIFSubImage* Frame, TStream* Stream);
};
