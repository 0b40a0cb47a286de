// imaging/gif/gifimage.cpp: the GIF picture: loading, saving, the clipboard, copying, drawing with
// its painters, the optimiser, and the registration as a picture format.
#include "imaging/gif/gifimage.h"

#include "imaging/gif/gifextensions.h"
#include "imaging/gif/gifpainter.h"
#include "platform/gfx/canvas.h"
#include "platform/rtl/convert.h"
#include "platform/ui/clipboard.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace {

bool GPaletteDisplay = false;

struct TFlagScope {
    explicit TFlagScope(bool& AFlag) : Flag(AFlag) { Flag = true; }
    ~TFlagScope() { Flag = false; }
    bool& Flag;
};

} // namespace

TGIFImage::TGIFImage()
    : FImages(std::make_unique<TGIFImageList>(this)), FHeader(std::make_unique<TGIFHeader>(this))
{
}

TGIFImage::~TGIFImage()
{
    StopAllPainters();
    {
        std::lock_guard<std::recursive_mutex> Lock(FPainterLock);
        for (TGIFPainter* Painter : FPainters)
            Painter->DetachPainter();
        FPainters.clear();
    }
    FImages->Clear();
    FBitmap.reset();
    if (FGlobalPalette)
        DeleteObject(FGlobalPalette);
}

bool TGIFImage::PaletteDisplay()
{
    return GPaletteDisplay;
}

void TGIFImage::SetPaletteDisplay(bool Value)
{
    GPaletteDisplay = Value;
}

bool TGIFImage::DoDither() const
{
    return FPaintOptions.Contains(poDither) &&
           (!FPaintOptions.Contains(poDitherOnPaletteOnly) || GPaletteDisplay);
}

TGIFColorMap* TGIFImage::GlobalColorMap() const
{
    return FHeader->ColorMap();
}

int TGIFImage::Version() const
{
    int Result = 0;
    for (int I = 0; I < FImages->Count(); ++I) {
        Result = std::max(Result, FImages->Items(I)->RequiredVersion());
        if (Result >= 2)
            break;
    }
    return Result;
}

int TGIFImage::LargestIndexBits() const
{
    int Bits = FHeader->ColorMap()->IndexBits();
    for (int I = 0; I < FImages->Count(); ++I)
        Bits = std::max(Bits, FImages->SubImage(I)->ColorMap()->IndexBits());
    return Bits;
}

void TGIFImage::SetQuantizeBits(int Value)
{
    if (Value < 1 || Value > 8)
        throw EInvalidGraphicOperation("Quantize bits must be 1 to 8");
    FQuantizeBits = Value;
}

void TGIFImage::ReportWarning(TObject* Sender, int Severity, const std::string& Message)
{
    if (OnCodecWarning)
        OnCodecWarning(Sender, Severity, Message);
}

void TGIFImage::Progress(TObject* Sender, TProgressStage Stage, int PercentDone, bool RedrawNow,
                         const std::string& Msg)
{
    if (OnProgress)
        OnProgress(Sender, Stage, static_cast<std::uint8_t>(std::clamp(PercentDone, 0, 100)),
                   RedrawNow, TRect{}, Msg);
}

void TGIFImage::Changed(TObject* Sender)
{
    TGraphic::Changed(Sender);
}

bool TGIFImage::Empty() const
{
    return FImages->Count() == 0;
}

int TGIFImage::Width() const
{
    return FHeader->Width();
}

int TGIFImage::Height() const
{
    return FHeader->Height();
}

void TGIFImage::SetWidth(int Value)
{
    for (int I = 0; I < FImages->Count(); ++I) {
        const TGIFSubImage* Frame = FImages->SubImage(I);
        if (Frame->Left() + Frame->Width() > Value)
            throw GIFException("Image width too small for contained frames");
    }
    if (Value != Width()) {
        FHeader->SetWidth(Value);
        DropBitmap();
        Changed(this);
    }
}

void TGIFImage::SetHeight(int Value)
{
    for (int I = 0; I < FImages->Count(); ++I) {
        const TGIFSubImage* Frame = FImages->SubImage(I);
        if (Frame->Top() + Frame->Height() > Value)
            throw GIFException("Image height too small for contained frames");
    }
    if (Value != Height()) {
        FHeader->SetHeight(Value);
        DropBitmap();
        Changed(this);
    }
}

HPALETTE TGIFImage::Palette() const
{
    if (FInGetPalette)
        throw GIFException("No global or local color table defined");
    TFlagScope Guard(FInGetPalette);
    if (FBitmap && FBitmap->HandleAllocated() && FBitmap->PixelFormat() != pfDevice &&
        FBitmap->PixelFormat() <= pf8bit)
        return FBitmap->Palette();
    if (FGlobalPalette)
        return FGlobalPalette;
    if (DoDither())
        FGlobalPalette = CreateCubePalette();
    else if (FHeader->ColorMap()->Count() > 0)
        FGlobalPalette = FHeader->ColorMap()->ToPalette();
    if (FGlobalPalette)
        return FGlobalPalette;
    if (FImages->Count() > 0)
        return FImages->SubImage(0)->FramePalette();
    return nullptr;
}

void TGIFImage::SetPalette(HPALETTE Value)
{
    if (Value == FGlobalPalette)
        return;
    if (FGlobalPalette)
        DeleteObject(FGlobalPalette);
    FGlobalPalette = Value;
    if (FBitmap && Value) {
        DropBitmap();
        FPaletteModified = true;
        Changed(this);
    }
}

TColor TGIFImage::BackgroundColor()
{
    if (FPaintBackground != GIFDefaultColor)
        return FPaintBackground;
    if (FHeader->ColorMap()->Count() == 0)
        return clWindow;
    return FHeader->BackgroundColor();
}

void TGIFImage::DropBitmap()
{
    FBitmap.reset();
}

void TGIFImage::Reset()
{
    StopAllPainters();
    DropBitmap();
    FImages->Clear();
    FHeader->Clear();
    SetPalette(nullptr);
}

int TGIFImage::AddFrame(TPersistent* Source)
{
    TGIFSubImage* Frame = dynamic_cast<TGIFSubImage*>(Source);
    std::unique_ptr<TGIFSubImage> Owned;
    if (!Frame) {
        if (!dynamic_cast<TGraphic*>(Source) && !dynamic_cast<TPicture*>(Source))
            throw GIFException("Object type not supported for operation");
        Owned = std::make_unique<TGIFSubImage>(this);
        Owned->Assign(Source);
        Frame = Owned.release();
    }
    const int Index = FImages->Add(Frame);
    DropBitmap();
    Changed(this);
    return Index;
}

TBitmap* TGIFImage::CachedBitmap()
{
    if (Empty())
        return nullptr;
    if (FBitmap)
        return FBitmap.get();
    FBitmap = std::make_unique<TBitmap>();
    TGIFSubImage* First = FImages->SubImage(0);
    if (First->Left() == 0 && First->Top() == 0 && First->Width() == Width() &&
        First->Height() == Height() && First->FrameBitmap()) {
        FBitmap->Assign(First->FrameBitmap());
    } else {
        if (HPALETTE P = Palette())
            FBitmap->SetPalette(CopyPalette(P));
        FBitmap->SetSize(Width(), Height());
        First->DrawFrame(FBitmap->Canvas(), TRect{0, 0, Width(), Height()}, false, false);
    }
    return FBitmap.get();
}

TBitmap* TGIFImage::FreshBitmap()
{
    if (!FBitmap) {
        FBitmap = std::make_unique<TBitmap>();
        FBitmap->SetSize(Width(), Height());
    }
    return FBitmap.get();
}

void TGIFImage::LoadFromStream(TStream* Stream)
{
    Progress(this, psStarting, 0, false, "Loading...");
    const int64_t Start = Stream->Position();
    try {
        Reset();
        FHeader->LoadFromStream(Stream);
        FImages->LoadFromStream(Stream, this);
        TGIFTrailer Trailer(this);
        Trailer.LoadFromStream(Stream);
    } catch (...) {
        Stream->SetPosition(Start);
        Progress(this, psEnding, 0, true, "Loading...");
        throw;
    }
    Progress(this, psEnding, 100, true, "Loading...");
    Changed(this);
}

void TGIFImage::SaveToStream(TStream* Stream)
{
    Progress(this, psStarting, 0, false, "Saving...");
    try {
        FHeader->SaveToStream(Stream);
        FImages->SaveToStream(Stream);
        TGIFTrailer Trailer(this);
        Trailer.SaveToStream(Stream);
    } catch (...) {
        Progress(this, psEnding, 0, true, "Saving...");
        throw;
    }
    Progress(this, psEnding, 100, true, "Saving...");
}

UINT TGIFImage::ClipboardFormat()
{
    static const UINT Format = RegisterClipboardFormat("GIF Image");
    return Format;
}

void TGIFImage::LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette)
{
    if (AData == 0)
        AData = GetClipboardData(AFormat);
    if (AFormat == ClipboardFormat() && AData != 0) {
        const void* P = GlobalLock(AData);
        if (!P)
            throw GIFException("Unsupported clipboard format");
        TMemoryStream Stream;
        Stream.WriteBuffer(P, static_cast<int64_t>(GlobalSize(AData)));
        GlobalUnlock(AData);
        Stream.SetPosition(0);
        LoadFromStream(&Stream);
        return;
    }
    if ((AFormat == CF_BITMAP || AFormat == CF_DIB) && AData != 0) {
        TBitmap Bitmap;
        Bitmap.LoadFromClipboardFormat(AFormat, AData, APalette);
        Assign(&Bitmap);
        return;
    }
    throw GIFException("Unsupported clipboard format");
}

void TGIFImage::SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette)
{
    AFormat = 0;
    AData = 0;
    APalette = nullptr;
    if (Empty())
        return;
    CachedBitmap()->SaveToClipboardFormat(AFormat, AData, APalette);

    TMemoryStream Stream;
    SaveToStream(&Stream);
    const HGLOBAL Block = GlobalAlloc(GMEM_MOVEABLE, static_cast<std::size_t>(Stream.Size()));
    if (Block == 0)
        throw GIFException("Failed to store GIF on clipboard");
    std::memcpy(GlobalLock(Block), Stream.Memory(), static_cast<std::size_t>(Stream.Size()));
    GlobalUnlock(Block);
    if (SetClipboardData(ClipboardFormat(), Block) == 0) {
        GlobalFree(Block);
        throw GIFException("Failed to store GIF on clipboard");
    }
}

void TGIFImage::Assign(const TPersistent* Source)
{
    if (Source == this)
        return;
    if (!Source) {
        Reset();
        return;
    }
    if (const auto* Other = dynamic_cast<const TGIFImage*>(Source)) {
        Reset();
        OnProgress = Other->OnProgress;
        OnCodecWarning = Other->OnCodecWarning;
        try {
            Progress(this, psStarting, 0, false, "Copying...");
            FHeader->Assign(Other->FHeader.get());
            FPainterPriority = Other->FPainterPriority;
            FPaintBackground = Other->FPaintBackground;
            FPaintOptions = Other->FPaintOptions;
            FReductionMethod = Other->FReductionMethod;
            FDitherMethod = Other->FDitherMethod;
            const int Count = Other->FImages->Count();
            for (int I = 0; I < Count; ++I) {
                auto Frame = std::make_unique<TGIFSubImage>(this);
                Frame->Assign(Other->FImages->SubImage(I));
                AddFrame(Frame.release());
                Progress(this, psRunning, PercentOf(I + 1, Count), false, "Copying...");
            }
            Progress(this, psEnding, 100, false, "Copying...");
        } catch (...) {
            OnProgress = nullptr;
            OnCodecWarning = nullptr;
            throw;
        }
        OnProgress = nullptr;
        OnCodecWarning = nullptr;
        return;
    }
    Reset();
    auto Frame = std::make_unique<TGIFSubImage>(this);
    try {
        Frame->Assign(Source);
    } catch (const EConvertError&) {
        Frame.reset();
        TGraphic::Assign(Source);
        return;
    }
    AddFrame(Frame.release());
}

void TGIFImage::AssignTo(TPersistent* Dest) const
{
    if (auto* Bitmap = dynamic_cast<TBitmap*>(Dest)) {
        TBitmap* Cached = const_cast<TGIFImage*>(this)->CachedBitmap();
        if (Cached)
            Bitmap->Assign(Cached);
        else
            Bitmap->SetSize(0, 0);
        return;
    }
    TGraphic::AssignTo(Dest);
}

void TGIFImage::DrawCached(TCanvas* ACanvas, const TRect& Rect)
{
    if (!FBitmap)
        return;
    if (!FPaintOptions.Contains(poTile)) {
        ACanvas->StretchDraw(Rect, FBitmap.get());
        return;
    }
    if (Width() <= 0 || Height() <= 0)
        return;
    for (int Y = Rect.Top; Y < Rect.Bottom; Y += Height())
        for (int X = Rect.Left; X < Rect.Right; X += Width())
            ACanvas->Draw(X, Y, FBitmap.get());
}

void TGIFImage::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (FDrawing || Empty())
        return;
    TFlagScope Guard(FDrawing);
    const bool Transparent = FPaintOptions.Contains(poTransparent);
    const bool Tile = FPaintOptions.Contains(poTile);
    const bool Direct = FPaintOptions.Contains(poDirect);
    if (FImages->Count() == 1 || !FPaintOptions.Contains(poAnimate)) {
        FImages->SubImage(0)->DrawFrame(ACanvas, Rect, Transparent, Tile);
        return;
    }
    if (FBitmap && !Direct) {
        DrawCached(ACanvas, Rect);
        return;
    }
    {
        std::lock_guard<std::recursive_mutex> Lock(FPainterLock);
        if (FDrawPainter && FDrawPainter->Canvas() == ACanvas && FDrawPainter->Rect() == Rect)
            return;
    }
    StopDrawPainter();
    TCanvas* Target = ACanvas;
    TRect TargetRect = Rect;
    if (!Direct) {
        TBitmap* Fresh = FreshBitmap();
        TargetRect = TRect{0, 0, Width(), Height()};
        Fresh->Canvas()->CopyRect(TargetRect, ACanvas, Rect);
        Target = Fresh->Canvas();
    }
    TGIFPainter* Painter = nullptr;
    {
        std::lock_guard<std::recursive_mutex> Lock(FPainterLock);
        StartPainter(FDrawPainter, Target, FPaintOptions, TargetRect);
        Painter = FDrawPainter;
        if (Painter)
            Painter->ResumePainter();
    }
    if (Direct)
        return;
    // Until the painter has shown its first frame, stops or goes.
    for (;;) {
        {
            std::lock_guard<std::recursive_mutex> Lock(FPainterLock);
            if (FDrawPainter != Painter || !Painter || Painter->FirstFrameShown() ||
                Painter->Terminated())
                break;
        }
        CheckSynchronize(5);
    }
    DrawCached(ACanvas, Rect);
}

void TGIFImage::StartPainter(TGIFPainter*& Painter, TCanvas* ACanvas, TGIFPaintOptions Options,
                             const TRect& Rect)
{
    if (Empty() || Rect.Left >= Rect.Right || Rect.Top >= Rect.Bottom) {
        Painter = nullptr;
        return;
    }
    if (FImages->Count() == 1)
        Options = Options - TGIFPaintOptions{poThreaded, poAnimate};
    std::lock_guard<std::recursive_mutex> Lock(FPainterLock);
    auto* NewPainter = new TGIFPainter(&Painter, Options, Rect, ACanvas, this);
    FPainters.push_back(NewPainter);
    NewPainter->OnPaintStart = OnPaintStart;
    NewPainter->OnFrameShow = OnFrameShow;
    NewPainter->OnFrameShown = OnFrameShown;
    NewPainter->OnPassStart = OnPassStart;
    NewPainter->OnPaintEnd = OnPaintEnd;
    if (Options.Contains(poThreaded))
        return;
    NewPainter->RunInCaller();
    std::exception_ptr Error = NewPainter->KeptError();
    delete NewPainter;
    Painter = nullptr;
    if (Error)
        std::rethrow_exception(Error);
}

void TGIFImage::StopDrawPainter()
{
    for (;;) {
        {
            std::lock_guard<std::recursive_mutex> Lock(FPainterLock);
            if (!FDrawPainter)
                break;
            FDrawPainter->StopPainter();
            if (!FDrawPainter->Threaded())
                break;
        }
        CheckSynchronize(5);
    }
    DropBitmap();
}

void TGIFImage::StopAllPainters()
{
    for (;;) {
        int Threaded = 0;
        {
            std::lock_guard<std::recursive_mutex> Lock(FPainterLock);
            if (FPainters.empty())
                break;
            for (TGIFPainter* Painter : FPainters) {
                Painter->StopPainter();
                if (Painter->Threaded())
                    ++Threaded;
            }
        }
        if (Threaded == 0)
            break;
        // A threaded painter ends by detaching itself on the main thread.
        if (std::this_thread::get_id() != MainThreadID())
            std::this_thread::yield();
        else
            CheckSynchronize(5);
    }
    DropBitmap();
}

// The optimiser: each step is counted for the progress report.
void TGIFImage::OptimizeFrames(TGIFOptimizeSteps Steps, TGIFReductionMethod AReductionMethod,
                               TGIFDitherMethod, int)
{
    if (Empty())
        return;
    StopAllPainters();
    std::lock_guard<std::recursive_mutex> Lock(FPainterLock);
    Progress(this, psStarting, 0, false, "Optimizing...");
    int Counter = 0;
    auto Total = [this] { return 6 * std::max(FImages->Count(), 1); };
    auto Step = [&] {
        ++Counter;
        Progress(this, psRunning, Counter * 100 / Total(), false, "Optimizing...");
    };
    try {
        if (Steps.Contains(opSortColorTables)) {
            if (FHeader->ColorMap()->Count() > 0)
                FHeader->ColorMap()->Reorder();
            for (int I = 0; I < FImages->Count(); ++I) {
                if (FImages->SubImage(I)->ColorMap()->Count() > 0)
                    FImages->SubImage(I)->ColorMap()->Reorder();
                Step();
            }
        }
        if (Steps.Contains(opPrune)) {
            for (int I = 0; I < FImages->Count(); ++I) {
                TGIFSubImage* Frame = FImages->SubImage(I);
                if (Frame->Transparent() && !Frame->Empty()) {
                    const auto T = static_cast<std::uint8_t>(Frame->TransparentIndex());
                    const std::uint8_t* P = Frame->Data();
                    if (std::find(P, P + Frame->DataSize(), T) == P + Frame->DataSize())
                        Frame->SetTransparent(false);
                }
                Step();
            }
            for (int I = 0; I + 1 < FImages->Count(); ++I) {
                TGIFSubImage* Frame = FImages->SubImage(I);
                TGIFSubImage* NextFrame = FImages->SubImage(I + 1);
                TGIFGraphicControlExtension* GCE = Frame->GraphicControlExtension();
                const TRect A = Frame->FrameBounds();
                const TRect B = NextFrame->FrameBounds();
                if (GCE && GCE->DisposalMethod() >= 2 && GCE->DisposalMethod() <= 3 &&
                    !NextFrame->Transparent() && A.Left >= B.Left && A.Top >= B.Top &&
                    A.Right <= B.Right && A.Bottom <= B.Bottom)
                    GCE->SetDisposalMethod(0);
                Step();
            }
        } else
            Counter += 2 * FImages->Count();
        if (Steps.Contains(opSubtractPrevious)) {
            for (int I = FImages->Count() - 1; I >= 1; --I) {
                int Previous = I - 1;
                while (Previous > 0) {
                    TGIFGraphicControlExtension* GCE =
                        FImages->SubImage(Previous)->GraphicControlExtension();
                    if (!GCE || GCE->DisposalMethod() != 3)
                        break;
                    --Previous;
                }
                FImages->SubImage(I)->SubtractPrevious(FImages->SubImage(Previous));
                Step();
            }
        } else
            Counter += FImages->Count();
        if (Steps.Contains(opTrimBorders)) {
            for (int I = FImages->Count() - 1; I >= 0; --I) {
                TGIFSubImage* Frame = FImages->SubImage(I);
                if (Frame->Transparent() && !Frame->Empty()) {
                    const int Delay = Frame->GraphicControlExtension()
                                          ? Frame->GraphicControlExtension()->DelayHundredths()
                                          : 0;
                    Frame->TrimTransparentBorders();
                    if (Frame->Empty()) {
                        if (I > 0) {
                            TGIFSubImage* Previous = FImages->SubImage(I - 1);
                            if (Previous->Transparent() && Previous->GraphicControlExtension())
                                Previous->GraphicControlExtension()->SetDelayHundredths(
                                    Previous->GraphicControlExtension()->DelayHundredths() + Delay);
                        }
                        FImages->Delete(I);
                    }
                }
                Step();
            }
        } else
            Counter += FImages->Count();
        Counter += FImages->Count();
        if (Steps.Contains(opPrune)) {
            const int Frames = FImages->Count();
            for (int I = FImages->Count() - 1; I >= 0; --I) {
                TGIFSubImage* Frame = FImages->SubImage(I);
                TGIFExtensionList* List = Frame->Extensions();
                for (int E = List->Count() - 1; E >= 0; --E) {
                    TGIFExtension* Ext = List->Extension(E);
                    bool Remove = false;
                    if (dynamic_cast<TGIFCommentExtension*>(Ext) ||
                        dynamic_cast<TGIFTextExtension*>(Ext) ||
                        dynamic_cast<TGIFUnknownAppExtension*>(Ext))
                        Remove = true;
                    else if (dynamic_cast<TGIFAppExtNSLoop*>(Ext))
                        Remove = !(I == 0 && Frames > 1);
                    else if (auto* GCE = dynamic_cast<TGIFGraphicControlExtension*>(Ext))
                        Remove = (GCE->DelayHundredths() == 0 || Frames == 1) &&
                                 !GCE->HasTransparency() && !GCE->WaitsForInput() &&
                                 (GCE->DisposalMethod() < 2 || Frames == 1);
                    if (Remove)
                        List->Delete(E);
                }
                if (Frame->Empty() && List->Count() == 0)
                    FImages->Delete(I);
            }
            Progress(this, psRunning, Counter * 100 / Total(), false, "Optimizing...");
        } else if (Steps.Contains(opColorReduce) && AReductionMethod == rdCustomPalette)
            throw GIFException("Invalid reduction method");
    } catch (...) {
        Progress(this, psEnding, 0, false, "Optimizing...");
        throw;
    }
    DropBitmap();
    Progress(this, psEnding, 100, false, "Optimizing...");
}

void RegisterGIFImage()
{
    static const bool Done = [] {
        TPicture::RegisterFileFormat("gif", "GIF Image", TMetaClass::Of<TGIFImage>());
        TPicture::RegisterClipboardFormat(TGIFImage::ClipboardFormat(),
                                          TMetaClass::Of<TGIFImage>());
        return true;
    }();
    (void)Done;
}

namespace {
// The picture class knows GIF files from start-up on.
const bool Registered = (RegisterGIFImage(), true);
} // namespace
