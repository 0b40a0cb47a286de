// desktop/animate.cpp: the animated bitmap: the frame timer, the frame arithmetic and the
// painting of one frame, opaque or with a colour showing the control's.
#include "desktop/animate.h"

#include "platform/ui/ttimer.h"

TAnimated::TAnimated(TComponent* AOwner) : TGraphicControl(AOwner), FBitMap(new TBitmap)
{
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
    SetBounds(Left(), Top(), 30, 30);
}

TAnimated::~TAnimated()
{
    StopTimer();
}

void TAnimated::StartTimer()
{
    if (FTimer != nullptr || FInterval <= 0)
        return;
    FTimer = new TTimer(nullptr);
    FTimer->SetInterval(static_cast<Cardinal>(FInterval));
    FTimer->OnTimer = [this](TObject*) { TimerTick(); };
}

void TAnimated::StopTimer()
{
    delete FTimer;
    FTimer = nullptr;
}

void TAnimated::SetPlay(bool Value)
{
    FPlay = Value;
    if (Value)
        StartTimer();
    else
        StopTimer();
}

void TAnimated::SetInterval(int Value)
{
    if (Value == FInterval)
        return;
    FInterval = Value;
    StopTimer();
    if (FPlay)
        StartTimer();
}

void TAnimated::SetFrameCount(int Value)
{
    if (Value < 1)
        throw EAnimatedError("FrameCount must be at least 1");
    FFrameCount = Value;
    if (FFrame >= FFrameCount)
        SetFrame(FFrame);
}

void TAnimated::SetFrame(int Value)
{
    const int New = Value < 0 ? FFrameCount - 1 : Value % FFrameCount;
    if (New == FFrame)
        return;
    FFrame = New;
    if (OnChangeFrame)
        OnChangeFrame(this);
    Invalidate();
}

void TAnimated::SetBitMap(const TBitmap* Value)
{
    FBitMap->Assign(Value);
    SetHeight(FBitMap->Empty() ? 30 : FBitMap->Height());
    Invalidate();
}

void TAnimated::SetTransparentColor(TColor Value)
{
    if (Value == FTransparentColor)
        return;
    FTransparentColor = Value;
    Invalidate();
}

void TAnimated::TimerTick()
{
    if (FReverse) {
        SetFrame(FFrame - 1);
        if (FFrame == 0 && !FLoop)
            SetPlay(false);
    } else {
        SetFrame(FFrame + 1);
        if (FFrame == FFrameCount - 1 && !FLoop)
            SetPlay(false);
    }
}

void TAnimated::Paint()
{
    TCanvas* C = Canvas();
    const TRect Area = ClientRect();
    if (FBitMap->Empty()) {
        C->Brush()->SetColor(clWhite);
        C->FillRect(Area);
    } else {
        const TRect Src = Rect(Width() * FFrame, 0, Width() * (FFrame + 1), FBitMap->Height());
        if (FTransparentColor < 0) {
            C->CopyRect(Area, FBitMap->Canvas(), Src);
        } else {
            // A scratch frame on the control's colour, the strip's pixels laid over it but
            // where they have the transparent colour.
            TBitmap Scratch;
            Scratch.SetSize(Src.Width(), Src.Height());
            TCanvas* S = Scratch.Canvas();
            S->Brush()->SetColor(Color());
            S->FillRect(Rect(0, 0, Src.Width(), Src.Height()));
            TCanvas* Strip = FBitMap->Canvas();
            const TColor Key = ColorToRGB(FTransparentColor);
            for (int Y = 0; Y < Src.Height(); ++Y)
                for (int X = 0; X < Src.Width(); ++X) {
                    if (Src.Left + X >= FBitMap->Width())
                        break;
                    const TColor Pixel = Strip->Pixels(Src.Left + X, Y);
                    if (Pixel != Key)
                        S->SetPixels(X, Y, Pixel);
                }
            C->CopyRect(Area, S, Rect(0, 0, Src.Width(), Src.Height()));
        }
    }
    if (ComponentState().Contains(csDesigning)) {
        C->Pen()->SetStyle(psDash);
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(Area);
    }
}
