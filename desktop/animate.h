// desktop/animate.h: TAnimated, a control that plays a strip of frames from one bitmap on a
// timer: frame i is the i-th control-wide column of the strip; one colour may show through.
#pragma once

#include "platform/forms/controls.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/exceptions.h"

#include <memory>

class TTimer;

TW_DECLARE_EXCEPTION(EAnimatedError, Exception);

class TAnimated : public TGraphicControl {
public:
    explicit TAnimated(TComponent* AOwner);
    ~TAnimated() override;

    int Interval() const { return FInterval; }
    void SetInterval(int Value);
    int FrameCount() const { return FFrameCount; }
    // Below 1 is refused (EAnimatedError): the frame number is taken modulo the count.
    void SetFrameCount(int Value);
    int Frame() const { return FFrame; }
    void SetFrame(int Value);
    TBitmap* BitMap() const { return FBitMap.get(); }
    void SetBitMap(const TBitmap* Value);
    bool Play() const { return FPlay; }
    void SetPlay(bool Value);
    bool Reverse() const { return FReverse; }
    void SetReverse(bool Value) { FReverse = Value; }
    bool Loop() const { return FLoop; }
    void SetLoop(bool Value) { FLoop = Value; }
    TColor TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(TColor Value);
    // Whether a frame timer runs.
    bool Playing() const { return FTimer != nullptr; }

    TNotifyEvent OnChangeFrame;

protected:
    void Paint() override;

private:
    void StartTimer();
    void StopTimer();
    void TimerTick();

    int FInterval = 0;
    int FFrameCount = 1;
    int FFrame = 0;
    std::unique_ptr<TBitmap> FBitMap;
    bool FPlay = false;
    bool FReverse = false;
    bool FLoop = true;
    TColor FTransparentColor = -1;
    TTimer* FTimer = nullptr; // owned while playing
};
