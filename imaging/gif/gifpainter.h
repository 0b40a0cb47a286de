// imaging/gif/gifpainter.h: TGIFPainter, which plays the frames of a picture onto a canvas
// rectangle with their delays, disposal methods and loop count, in a thread of its own (drawing
// through the main thread) or inside the caller.
#pragma once

#include "imaging/gif/gifimage.h"
#include "platform/rtl/thread.h"

#include <atomic>
#include <exception>
#include <memory>

class TGIFPainter : public TThread {
public:
    // Created suspended; Reference points at the painter until it ends.
    TGIFPainter(TGIFPainter** Reference, TGIFPaintOptions AOptions, const TRect& ARect,
                TCanvas* ACanvas, TGIFImage* AImage);
    ~TGIFPainter() override;

    bool Threaded() const { return Options.Contains(poThreaded); }
    TGIFImage* Image() const { return FImage; }
    TCanvas* Canvas() const { return FCanvas; }
    const TRect& Rect() const { return FRect; }
    int ActiveFrame() const { return FActiveFrame; }
    void SetActiveFrame(int Value) { FActiveFrame = Value; }
    bool FirstFrameShown() const { return FFirstFrameShown; }
    bool RestartRequested() const { return FRestartRequested; }
    void SetRestartRequested(bool Value) { FRestartRequested = Value; }

    void ResumePainter();
    void StopPainter();
    // Leaves the picture: clears the reference, leaves the painter list, frees the buffers.
    void DetachPainter();
    // Runs the painting loop in the calling thread (a painter that is not threaded).
    void RunInCaller();
    // The error that ended the painting loop, if any.
    std::exception_ptr KeptError() const { return FKeptError; }

    TGIFPaintOptions Options;
    int SpeedPercent = 100;
    TNotifyEvent OnPaintStart;
    TNotifyEvent OnFrameShow;
    TNotifyEvent OnFrameShown;
    TNotifyEvent OnPassStart;
    TNotifyEvent OnPaintEnd;

protected:
    void Execute() override;

private:
    void Paint();
    void RunSynchronized(const std::function<void()>& Step);
    void FireEvent(const TNotifyEvent& Event);
    bool Stopped() const { return Terminated() || FStopped.load(); }
    void PaintFrameDirect();
    void PaintFrameBuffered();
    void RestoreFrameArea(TGIFSubImage* Frame, TBitmap* Buffer);
    void Wait(int& WaitMs, std::uint32_t& LastTime, int& Carry);

    TGIFImage* FImage;
    TCanvas* FCanvas;
    TRect FRect;
    int FActiveFrame = -1;
    int FDisposal = 1;
    int FPreviousDisposal = 1;
    std::unique_ptr<TBitmap> FBuffer;
    std::unique_ptr<TBitmap> FPreviousBuffer;
    std::unique_ptr<TBitmap> FBackground;
    TColor FBackgroundColor = 0;
    std::atomic<bool> FRestartRequested{false};
    std::atomic<bool> FFirstFrameShown{false};
    std::atomic<bool> FStopped{false};
    std::unique_ptr<TEvent> FEvent;
    TGIFPainter** FReference;
    std::exception_ptr FKeptError;
    bool FDetached = false;
};
