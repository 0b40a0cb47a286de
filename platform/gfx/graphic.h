// platform/gfx/graphic.h: TGraphic, the base of every picture kind (bitmap, icon, metafile, GIF),
// and TPicture, the holder that picks the kind by file extension or clipboard format from the
// picture-format registry.
#pragma once

#include "platform/gfx/palette.h"
#include "platform/rtl/classregistry.h"
#include "platform/rtl/clipformats.h"
#include "platform/rtl/events.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/geometry.h"
#include "platform/rtl/object.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/systypes.h"

#include <memory>
#include <string>

class TCanvas;

TW_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
TW_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

class TGraphic : public TPersistent {
public:
    TGraphic() = default;
    ~TGraphic() override = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    // Draws the picture into Rect (stretched to it), through its transparency when Transparent.
    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;

    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual void SetHeight(int Value) = 0;
    // Nil when the picture has none. A palette set is owned by the graphic.
    virtual HPALETTE Palette() const { return nullptr; }
    virtual void SetPalette(HPALETTE Value);
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);
    // Set by every change; cleared by the holder.
    bool Modified() const { return FModified; }
    void SetModified(bool Value);

    // Raise EInvalidGraphic with a clear message for data that is not a picture of the kind.
    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void SaveToStream(TStream* Stream) = 0;
    virtual void LoadFromFile(const std::string& FileName);
    // Through the atomic rewrite: a failure leaves the old file whole.
    virtual void SaveToFile(const std::string& FileName);
    // The picture from clipboard data: AData is the handle the clipboard holds under AFormat (a
    // global memory block or a graphics handle), APalette its CF_PALETTE or nil. EInvalidGraphic
    // for a format the kind does not read or a handle that is not one. Taking the data off the
    // clipboard is the clipboard's own side, in the window layer.
    virtual void LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette);
    // New handles the caller hands to the clipboard (or frees); Format 0 when there is nothing.
    virtual void SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette);

    TNotifyEvent OnChange;

protected:
    // Sets Modified and raises OnChange.
    virtual void Changed(TObject* Sender);

    bool FTransparent = false;

private:
    bool FModified = false;
};

// A graphic class is its metaclass: TMetaClass::Of<TBitmap>().
using TGraphicClass = const TMetaClass*;

class TBitmap;

class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // Nil when empty.
    TGraphic* Graphic() const { return FGraphic.get(); }
    // A copy of Value (nil clears).
    void SetGraphic(const TGraphic* Value);
    // The graphic when it is a bitmap; otherwise the graphic is replaced by a new empty bitmap.
    TBitmap* Bitmap();
    void SetBitmap(const TBitmap* Value);
    int Width() const;
    int Height() const;

    // The class registered for the file's extension; EInvalidGraphic "Unknown picture file
    // extension (.xyz)" otherwise. The picture stays as it was when loading fails.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);
    void LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette);
    void SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette);
    static bool SupportsClipboardFormat(UINT AFormat);

    void Assign(const TPersistent* Source) override;

    // Extension without the dot, case ignored; a later registration of the same extension wins.
    static void RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                   TGraphicClass GraphicClass);
    static void RegisterClipboardFormat(UINT AFormat, TGraphicClass GraphicClass);
    static void UnregisterGraphicClass(TGraphicClass AClass);
    // The class for an extension (without the dot); nil when none.
    static TGraphicClass FileFormatClass(const std::string& Extension);

    TNotifyEvent OnChange;

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    void Changed(TObject* Sender);
    void TakeGraphic(std::unique_ptr<TGraphic> Value);
    static std::unique_ptr<TGraphic> NewGraphic(TGraphicClass GraphicClass);

    std::unique_ptr<TGraphic> FGraphic;
};

// The open-dialog filter of the registered formats of GraphicClass (every one for TGraphic):
// "All (*.bmp;*.png)|*.bmp;*.png|Bitmaps (*.bmp)|*.bmp|...".
std::string GraphicFilter(TGraphicClass GraphicClass);
// The default extension of the class ("bmp"), "" when none.
std::string GraphicExtension(TGraphicClass GraphicClass);
