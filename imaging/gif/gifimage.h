// imaging/gif/gifimage.h: TGIFImage, the GIF picture format of the picture class: it owns the
// header and the frames, the options of conversion, saving and drawing, the caches of a bitmap
// and a palette, and starts the animation painter when an animated picture is drawn.
#pragma once

#include "imaging/gif/gifexception.h"
#include "imaging/gif/gifitems.h"
#include "imaging/gif/gifreduce.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphic.h"
#include "platform/rtl/sets.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class TGIFPainter;

enum TGIFPaintOption {
    poThreaded,
    poTransparent,
    poAnimate,
    poLoop,
    poLoopForever,
    poCheckCanvas,
    poDirect,
    poClearEachPass,
    poTile,
    poDither,
    poDitherOnPaletteOnly
};
using TGIFPaintOptions = TSet<TGIFPaintOption>;

enum TGIFOptimizeStep {
    opTrimBorders,
    opSubtractPrevious,
    opPrune,
    opSortColorTables,
    opColorReduce
};
using TGIFOptimizeSteps = TSet<TGIFOptimizeStep>;

// How frames are written: 0 LZW, 1 run-length.
enum TGIFEncoding : std::uint8_t { geLZW, geRLE };

constexpr TColor GIFDefaultColor = 0x1FFFFFFF;
constexpr TGIFPaintOptions GIFDefaultPaintOptions =
    TGIFPaintOptions::FromBits(0x060F); // threaded, transparent, animate, loop, dither(palette)

class TGIFImage : public TGraphic {
public:
    TGIFImage();
    ~TGIFImage() override;

    // TGraphic
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    HPALETTE Palette() const override;
    void SetPalette(HPALETTE Value) override;
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    void LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) override;
    void SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) override;
    void Assign(const TPersistent* Source) override;
    bool Equals(const TGraphic* Graphic) const { return Graphic == this; }

    TGIFHeader* Header() const { return FHeader.get(); }
    TGIFImageList* Images() const { return FImages.get(); }
    TGIFColorMap* GlobalColorMap() const;
    // 0 without frames, else 1 ("87a") or 2 ("89a").
    int Version() const;
    // The largest IndexBits over the global and every local table.
    int LargestIndexBits() const;

    void Reset();
    int AddFrame(TPersistent* Source);
    TBitmap* CachedBitmap();
    TBitmap* FreshBitmap();
    bool HasCachedBitmap() const { return FBitmap != nullptr; }
    void DropBitmap();
    void OptimizeFrames(TGIFOptimizeSteps Steps, TGIFReductionMethod AReductionMethod,
                        TGIFDitherMethod ADitherMethod, int AQuantizeBits);

    // Painters (the list is locked around starting, stopping and detaching).
    void StartPainter(TGIFPainter*& Painter, TCanvas* ACanvas, TGIFPaintOptions Options,
                      const TRect& Rect);
    void StopDrawPainter();
    void StopAllPainters();
    TGIFPainter* DrawPainter() const { return FDrawPainter; }
    std::recursive_mutex& PainterLock() { return FPainterLock; }
    std::vector<TGIFPainter*>& Painters() { return FPainters; }

    TGIFPaintOptions PaintOptions() const { return FPaintOptions; }
    void SetPaintOptions(TGIFPaintOptions Value) { FPaintOptions = Value; }
    TGIFReductionMethod ReductionMethod() const { return FReductionMethod; }
    void SetReductionMethod(TGIFReductionMethod Value) { FReductionMethod = Value; }
    int QuantizeBits() const { return FQuantizeBits; }
    // 1 to 8; EInvalidGraphicOperation outside.
    void SetQuantizeBits(int Value);
    TGIFDitherMethod DitherMethod() const { return FDitherMethod; }
    void SetDitherMethod(TGIFDitherMethod Value) { FDitherMethod = Value; }
    TGIFEncoding Encoding() const { return FEncoding; }
    void SetEncoding(TGIFEncoding Value) { FEncoding = Value; }
    int PainterPriority() const { return FPainterPriority; }
    void SetPainterPriority(int Value) { FPainterPriority = Value; }
    int SpeedPercent() const { return FSpeedPercent; }
    void SetSpeedPercent(int Value) { FSpeedPercent = Value; }
    TColor PaintBackground() const { return FPaintBackground; }
    void SetPaintBackground(TColor Value) { FPaintBackground = Value; }
    // PaintBackground, or the window colour without a global table, or the global background.
    TColor BackgroundColor();

    // True when frames render through the colour cube with dithering.
    bool DoDither() const;
    bool PaletteModified() const { return FPaletteModified; }
    void SetPaletteModified(bool Value) { FPaletteModified = Value; }
    // The palette display flag (set at start-up from the screen); tests may change it.
    static bool PaletteDisplay();
    static void SetPaletteDisplay(bool Value);

    void ReportWarning(TObject* Sender, int Severity, const std::string& Message);
    void Progress(TObject* Sender, TProgressStage Stage, int PercentDone, bool RedrawNow,
                  const std::string& Msg);
    void Changed(TObject* Sender) override;
    // The clipboard format registered as "GIF Image".
    static UINT ClipboardFormat();

    TGIFWarning OnCodecWarning;
    TProgressEvent OnProgress;
    TNotifyEvent OnPaintStart;
    TNotifyEvent OnFrameShow;
    TNotifyEvent OnFrameShown;
    TNotifyEvent OnPassStart;
    TNotifyEvent OnPaintEnd;

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    void DrawCached(TCanvas* ACanvas, const TRect& Rect);

    bool FDrawing = false;
    mutable bool FInGetPalette = false;
    std::unique_ptr<TGIFImageList> FImages;
    std::unique_ptr<TGIFHeader> FHeader;
    mutable HPALETTE FGlobalPalette = nullptr;
    std::recursive_mutex FPainterLock;
    std::vector<TGIFPainter*> FPainters;
    TGIFPaintOptions FPaintOptions = GIFDefaultPaintOptions;
    TGIFReductionMethod FReductionMethod = rdCube216;
    int FQuantizeBits = 8;
    TGIFDitherMethod FDitherMethod = dtNearest;
    TGIFEncoding FEncoding = geLZW;
    std::unique_ptr<TBitmap> FBitmap;
    TGIFPainter* FDrawPainter = nullptr;
    int FPainterPriority = 3;
    int FSpeedPercent = 100;
    TColor FPaintBackground = GIFDefaultColor;
    bool FPaletteModified = false;
};

// Registers "GIF" with the picture class and the "GIF Image" clipboard format; done at start-up
// by the library itself, callable again without harm.
void RegisterGIFImage();
