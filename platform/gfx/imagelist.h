// platform/gfx/imagelist.h: TCustomImageList and TImageList, a numbered set of pictures of one
// size, each with its mask, drawn normally, transparently, highlighted or disabled (embossed).
#pragma once

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/icoformat.h"
#include "platform/gfx/icon.h"
#include "platform/rtl/component.h"
#include "platform/rtl/events.h"

#include <vector>

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    // An image list of AWidth x AHeight images, without an owner.
    TCustomImageList(int AWidth, int AHeight);
    ~TCustomImageList() override;

    void Assign(const TPersistent* Source) override;

    // A new size empties the list.
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    int Count() const { return static_cast<int>(FImages.size()); }

    // Each Width-wide slice of Image becomes one image (a narrower bitmap one image); Mask is
    // a bitmap whose white pixels are transparent (nil: none), nil Image one empty image.
    // The index of the first image added.
    int Add(TBitmap* Image, TBitmap* Mask);
    // As Add, the pixels of MaskColor being transparent (clDefault: the colour of the
    // bottom-left pixel; clNone: none).
    int AddMasked(TBitmap* Image, TColor MaskColor);
    // The icon's image nearest the list's size, scaled to it; -1 for an empty icon.
    int AddIcon(TIcon* Image);
    // Every image of Value, added at the end.
    void AddImages(const TCustomImageList* Value);
    // Index outside the list: EInvalidOperation "Invalid ImageList Index".
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    void ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor);
    void ReplaceIcon(int Index, TIcon* Image);
    void Delete(int Index);
    void Clear();
    // The image at CurIndex goes to NewIndex; those between shift by one.
    void Move(int CurIndex, int NewIndex);

    // Image becomes Width x Height with the image drawn on it (in the drawing style); false
    // for an index outside the list or a nil bitmap.
    bool GetBitmap(int Index, TBitmap* Image);
    // Image receives the picture with its mask; false for an index outside the list.
    bool GetIcon(int Index, TIcon* Image);

    // Index outside the list draws nothing. Disabled: the picture's shape (its pixels that
    // are neither transparent nor white) in button highlight one pixel right and down, then
    // in button shadow.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    void Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle,
              TImageType AImageType, bool Enabled = true);

    // clNone: dsNormal draws through the mask; a colour fills the transparent pixels.
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor Value);
    // The colour dsFocus (a quarter) and dsSelected (a half) mix in; clNone and clDefault
    // take the highlight colour.
    TColor BlendColor() const { return FBlendColor; }
    void SetBlendColor(TColor Value);
    TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(TDrawingStyle Value);
    TImageType ImageType() const { return FImageType; }
    void SetImageType(TImageType Value);
    // False: masks are not kept and every image draws opaque.
    bool Masked() const { return FMasked; }
    void SetMasked(bool Value);
    // How many places the list grows by; kept for the form files that set it.
    int AllocBy() const { return FAllocBy; }
    void SetAllocBy(int Value) { FAllocBy = Value; }

    // The pictures as stored; nil for an index outside the list.
    const TIconImage* Image(int Index) const;

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    std::vector<TIconImage> Slices(TBitmap* Image, TBitmap* Mask, TColor MaskColor,
                                   bool UseColor) const;
    TIconImage Fitted(const TIconImage& Source) const;
    TIconImage Styled(const TIconImage& Source, TDrawingStyle Style, TImageType Type) const;
    void CheckIndex(int Index) const;
    void DrawDisabled(TCanvas* Canvas, int X, int Y, const TIconImage& Source) const;

    int FWidth = 16;
    int FHeight = 16;
    std::vector<TIconImage> FImages;
    TColor FBkColor = clNone;
    TColor FBlendColor = clNone;
    TDrawingStyle FDrawingStyle = dsNormal;
    TImageType FImageType = itImage;
    bool FMasked = true;
    int FAllocBy = 4;
};

class TImageList : public TCustomImageList {
public:
    explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
    TImageList(int AWidth, int AHeight) : TCustomImageList(AWidth, AHeight) {}
};
