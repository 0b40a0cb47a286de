// imaging/gif/gifpainter.cpp: the animation painter: timing, loop counts, the composition buffers
// of the disposal methods and the events.
#include "imaging/gif/gifpainter.h"

#include "imaging/gif/gifextensions.h"
#include "platform/gfx/canvas.h"
#include "platform/rtl/clock.h"
#include "platform/ui/wait.h"

#include <algorithm>

namespace {

std::unique_ptr<TBitmap> NewBuffer(const TRect& R, TColor Background)
{
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetSize(R.Width(), R.Height());
    Bitmap->Canvas()->Brush()->SetColor(Background);
    return Bitmap;
}

} // namespace

TGIFPainter::TGIFPainter(TGIFPainter** Reference, TGIFPaintOptions AOptions, const TRect& ARect,
                         TCanvas* ACanvas, TGIFImage* AImage)
    : TThread(true), Options(AOptions), SpeedPercent(AImage->SpeedPercent()), FImage(AImage),
      FCanvas(ACanvas), FRect(ARect), FReference(Reference)
{
    if (FReference)
        *FReference = this;
    if (Options.Contains(poThreaded) && Options.Contains(poAnimate) &&
        FImage->Images()->Count() > 1 && SpeedPercent >= 0)
        FEvent = std::make_unique<TEvent>(false, false);
    if (Threaded()) {
        SetFreeOnTerminate(true);
        OnTerminate = [this](TObject*) { DetachPainter(); };
    }

    FBackgroundColor = ColorToRGB(FImage->BackgroundColor()) & 0xFFFFFF;
    bool Restores = Options.Contains(poClearEachPass);
    bool Previous = false;
    for (int I = 0; I < FImage->Images()->Count(); ++I) {
        TGIFSubImage* Frame = FImage->Images()->SubImage(I);
        TGIFExtensionList* List = Frame->Extensions();
        for (int E = 0; E < List->Count(); ++E)
            if (auto* GCE = dynamic_cast<TGIFGraphicControlExtension*>(List->Extension(E))) {
                Restores = Restores || GCE->DisposalMethod() == 2;
                Previous = Previous || GCE->DisposalMethod() == 3;
            }
    }
    const TRect Whole{0, 0, FRect.Width(), FRect.Height()};
    if (Restores && Options.Contains(poTransparent)) {
        FBackground = NewBuffer(FRect, FBackgroundColor);
        FBackground->Canvas()->CopyRect(Whole, FCanvas, FRect);
    }
    if (Restores || Previous) {
        FBuffer = NewBuffer(FRect, FBackgroundColor);
        FBuffer->Canvas()->CopyRect(Whole, FCanvas, FRect);
        FPreviousBuffer = NewBuffer(FRect, FBackgroundColor);
    }
}

TGIFPainter::~TGIFPainter()
{
    DetachPainter();
}

void TGIFPainter::ResumePainter()
{
    if (Threaded())
        Resume();
}

void TGIFPainter::StopPainter()
{
    FStopped = true;
    Terminate();
    if (Threaded()) {
        if (FEvent)
            FEvent->SetEvent();
        Resume();
    }
}

void TGIFPainter::DetachPainter()
{
    if (FDetached)
        return;
    FDetached = true;
    if (FImage) {
        std::lock_guard<std::recursive_mutex> Lock(FImage->PainterLock());
        if (FReference && *FReference == this)
            *FReference = nullptr;
        auto& List = FImage->Painters();
        List.erase(std::remove(List.begin(), List.end(), this), List.end());
    }
    FImage = nullptr;
    FBuffer.reset();
    FPreviousBuffer.reset();
    FBackground.reset();
}

void TGIFPainter::RunInCaller()
{
    try {
        Paint();
    } catch (const Exception&) {
        FKeptError = std::current_exception();
    }
}

void TGIFPainter::Execute()
{
    try {
        Paint();
    } catch (const Exception&) {
        FKeptError = std::current_exception();
    }
}

void TGIFPainter::RunSynchronized(const std::function<void()>& Step)
{
    if (Stopped())
        return;
    if (Threaded())
        Synchronize([this, &Step] {
            if (FImage && !Stopped())
                Step();
        });
    else
        Step();
}

void TGIFPainter::FireEvent(const TNotifyEvent& Event)
{
    if (Event)
        RunSynchronized([this, &Event] { Event(this); });
}

// A painter without a thread sleeps in the message loop's wait, so the program stays responsive
// and a test clock drives it.
void TGIFPainter::Wait(int& WaitMs, std::uint32_t& LastTime, int& Carry)
{
    TGIFSubImage* Frame = FImage->Images()->SubImage(FActiveFrame);
    if (Threaded())
        RunSynchronized([Frame] { Frame->FrameBitmap(); });
    else
        Frame->FrameBitmap();
    const std::uint32_t Now = GetTickCount();
    if (SpeedPercent > 0) {
        const long long Planned =
            static_cast<long long>(WaitMs) * 12 - static_cast<int>(Now - LastTime - Carry) / 2;
        const long long Scaled = (Planned * 100 * 2 + SpeedPercent) / (2LL * SpeedPercent);
        WaitMs = static_cast<int>(Scaled);
        Carry = WaitMs;
    } else
        WaitMs = Threaded() ? -1 : 1000 * 12;
    LastTime = Now;
    if (Threaded()) {
        if ((WaitMs > 0 || SpeedPercent == 0) && FEvent) {
            const TWaitResult Result =
                FEvent->WaitFor(WaitMs < 0 ? INFINITE : static_cast<Cardinal>(WaitMs));
            if (Result != wrTimeout) {
                Carry = 0;
                LastTime = GetTickCount();
            }
        } else if (WaitMs > 0 || SpeedPercent == 0) {
            Carry = 0;
            LastTime = GetTickCount();
        }
        return;
    }
    if (WaitMs < 1)
        WaitMs = 1;
    std::uint32_t Mark = GetTickCount();
    while (WaitMs > 0 && !Stopped() && !FRestartRequested) {
        const TPumpResult Result = WaitUntil(
            [this] { return Stopped() || FRestartRequested.load(); }, std::min(WaitMs, 100));
        WaitMs -= static_cast<int>(GetTickCount() - Mark);
        Mark = GetTickCount();
        if (Result == prQuit) {
            StopPainter();
            break;
        }
    }
}

void TGIFPainter::Paint()
{
    if (!FImage)
        return;
    FRestartRequested = true;
    while (FRestartRequested && !Stopped()) {
        FActiveFrame = 0;
        FireEvent(OnPaintStart);
        FFirstFrameShown = false;
        FRestartRequested = false;

        int LoopsLeft = 1;
        int RestartFrame = 0;
        bool LoopSeen = false;
        int WaitMs = Threaded() ? 0 : 1;
        FPreviousDisposal = 1;
        std::uint32_t LastTime = GetTickCount();
        int Carry = 0;
        // Without a thread the animation runs inside the caller, so it never loops for ever.
        const bool Forever = Options.Contains(poLoopForever) && Threaded();

        while ((LoopsLeft != 0 || Forever) && !Stopped() && !FRestartRequested) {
            FActiveFrame = RestartFrame;
            if (FFirstFrameShown)
                FireEvent(OnPassStart);
            while (FActiveFrame < FImage->Images()->Count() && !Stopped() && !FRestartRequested) {
                TGIFSubImage* Frame = FImage->Images()->SubImage(FActiveFrame);
                if (Frame->Empty())
                    break;
                if (WaitMs > 0)
                    Wait(WaitMs, LastTime, Carry);
                else
                    std::this_thread::yield();
                if (Stopped())
                    break;
                FireEvent(OnFrameShow);
                if (Stopped())
                    break;

                FDisposal = 1;
                TGIFExtensionList* List = Frame->Extensions();
                for (int E = 0; E < List->Count(); ++E) {
                    TGIFExtension* Ext = List->Extension(E);
                    if (auto* Loop = dynamic_cast<TGIFAppExtNSLoop*>(Ext)) {
                        if (!LoopSeen) {
                            LoopSeen = true;
                            LoopsLeft = Loop->Loops();
                            if ((LoopsLeft == 0 || Options.Contains(poLoopForever)) && Threaded())
                                LoopsLeft = -1;
                            RestartFrame = FActiveFrame;
                        }
                    } else if (auto* GCE = dynamic_cast<TGIFGraphicControlExtension*>(Ext))
                        FDisposal = GCE->DisposalMethod();
                }

                RunSynchronized([this] {
                    if (FBuffer)
                        PaintFrameBuffered();
                    else
                        PaintFrameDirect();
                });
                FPreviousDisposal = FDisposal;
                if (Stopped())
                    break;

                WaitMs = 10;
                if (TGIFGraphicControlExtension* GCE = Frame->GraphicControlExtension())
                    if (GCE->DelayHundredths() != 0) {
                        WaitMs = std::max(GCE->DelayHundredths(), 3);
                        if (!Threaded())
                            WaitMs = std::min(WaitMs, 1000);
                    }

                const int Remembered = FActiveFrame;
                FireEvent(OnFrameShown);
                if (Stopped())
                    break;
                if (FActiveFrame == Remembered)
                    ++FActiveFrame;
                if (!Options.Contains(poAnimate))
                    break;
            }
            if (LoopsLeft > 0)
                --LoopsLeft;
            if (!(Options.Contains(poAnimate) && Options.Contains(poLoop)))
                break;
        }
    }
    FActiveFrame = -1;
    FireEvent(OnPaintEnd);
}

void TGIFPainter::PaintFrameDirect()
{
    TGIFSubImage* Frame = FImage->Images()->SubImage(FActiveFrame);
    Frame->DrawFrame(FCanvas, FRect, Options.Contains(poTransparent), Options.Contains(poTile));
    FFirstFrameShown = true;
}

void TGIFPainter::RestoreFrameArea(TGIFSubImage* Frame, TBitmap* Buffer)
{
    const int PW = FImage->Width(), PH = FImage->Height();
    if (PW <= 0 || PH <= 0)
        return;
    TCanvas* C = Buffer->Canvas();
    const TRect Whole{0, 0, FRect.Width(), FRect.Height()};
    const TRect Scaled{static_cast<int>(static_cast<long long>(Frame->Left()) * Whole.Width() / PW),
                       static_cast<int>(static_cast<long long>(Frame->Top()) * Whole.Height() / PH),
                       static_cast<int>(static_cast<long long>(Frame->Left() + Frame->Width()) *
                                        Whole.Width() / PW),
                       static_cast<int>(static_cast<long long>(Frame->Top() + Frame->Height()) *
                                        Whole.Height() / PH)};
    const bool Tile = Options.Contains(poTile);
    if (Options.Contains(poTransparent) && FBackground) {
        if (Tile) {
            for (int Y = Frame->Top(); Y < Whole.Bottom; Y += PH)
                for (int X = Frame->Left(); X < Whole.Right; X += PW) {
                    const TRect R{X, Y, X + Frame->Width(), Y + Frame->Height()};
                    C->CopyRect(R, FBackground->Canvas(), R);
                }
        } else
            C->CopyRect(Scaled, FBackground->Canvas(), Scaled);
        return;
    }
    if (Tile && Frame->Width() != PW && Frame->Height() != PH) {
        C->Brush()->SetColor(ColorToRGB(FImage->PaintBackground()));
        for (int Y = Frame->Top(); Y < Whole.Bottom; Y += PH)
            for (int X = Frame->Left(); X < Whole.Right; X += PW)
                C->FillRect(TRect{X, Y, X + Frame->Width(), Y + Frame->Height()});
        C->Brush()->SetColor(FBackgroundColor);
        return;
    }
    C->Brush()->SetColor(FBackgroundColor);
    C->FillRect(Scaled);
}

void TGIFPainter::PaintFrameBuffered()
{
    TGIFSubImage* Frame = FImage->Images()->SubImage(FActiveFrame);
    const bool ClearFirst = Options.Contains(poClearEachPass) && FActiveFrame == 0;
    const TRect Whole{0, 0, FRect.Width(), FRect.Height()};
    const bool Transparent = Options.Contains(poTransparent);
    const bool Tile = Options.Contains(poTile);

    TBitmap* Target = nullptr; // the buffer drawn into, or nil for the canvas itself
    bool Copy = true;
    switch (FDisposal) {
    case 0:
    case 1:
    case 2:
        Target = FBuffer.get();
        break;
    case 3:
        if (FPreviousDisposal <= 1) {
            Copy = false;
        } else if (FPreviousDisposal <= 3) {
            FPreviousBuffer->Canvas()->CopyRect(Whole, FBuffer->Canvas(), Whole);
            Target = FPreviousBuffer.get();
        } else
            return;
        break;
    default:
        return;
    }
    if (ClearFirst)
        RestoreFrameArea(Frame, FBuffer.get());
    if (Target)
        Frame->DrawFrame(Target->Canvas(), Whole, Transparent, Tile);
    else
        Frame->DrawFrame(FCanvas, FRect, Transparent, Tile);
    if (Target && Copy)
        FCanvas->CopyRect(FRect, Target->Canvas(), Whole);
    if (FDisposal == 2)
        RestoreFrameArea(Frame, FBuffer.get());
    FFirstFrameShown = true;
}
