#include "platform/stdctrls/animate.h"

#include "platform/gfx/graphicsobjects.h"
#include "platform/rtl/convert.h"
#include "platform/ui/ttimer.h"

#include <cmath>
#include <string>

namespace {

constexpr int ClipWidth = 80;
constexpr int ClipHeight = 56;
constexpr Word ClipFrames = 12;

bool HasFrames(TCommonAVI Clip)
{
    return Clip == aviFindFile || Clip == aviFindFolder;
}

void DrawPaper(TCanvas* C, int X, int Y)
{
    // A sheet with its top right corner folded over, and lines of writing.
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetWidth(1);
    C->Brush()->SetColor(clWhite);
    C->Polygon({TPoint{X + 8, Y + 4}, TPoint{X + 36, Y + 4}, TPoint{X + 46, Y + 14},
                TPoint{X + 46, Y + 52}, TPoint{X + 8, Y + 52}});
    C->Brush()->SetColor(TColor(0xE0E0E0));
    C->Polygon({TPoint{X + 36, Y + 4}, TPoint{X + 36, Y + 14}, TPoint{X + 46, Y + 14}});
    C->Pen()->SetColor(clGray);
    for (int Line = Y + 20; Line <= Y + 46; Line += 5) {
        C->MoveTo(X + 13, Line);
        C->LineTo(X + 41, Line);
    }
}

void DrawFolder(TCanvas* C, int X, int Y)
{
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetWidth(1);
    C->Brush()->SetColor(clOlive);
    C->Polygon({TPoint{X + 4, Y + 14}, TPoint{X + 6, Y + 10}, TPoint{X + 20, Y + 10},
                TPoint{X + 23, Y + 14}, TPoint{X + 50, Y + 14}, TPoint{X + 50, Y + 48},
                TPoint{X + 4, Y + 48}});
    C->Brush()->SetColor(clYellow);
    C->Polygon({TPoint{X + 4, Y + 20}, TPoint{X + 50, Y + 20}, TPoint{X + 50, Y + 48},
                TPoint{X + 4, Y + 48}});
}

// The glass goes once round an ellipse over the sheet in a whole clip.
void DrawGlass(TCanvas* C, int X, int Y, int Frame)
{
    const double Turn = 2.0 * 3.14159265358979 * Frame / ClipFrames;
    const int CX = X + 36 + static_cast<int>(std::lround(18.0 * std::cos(Turn)));
    const int CY = Y + 24 + static_cast<int>(std::lround(9.0 * std::sin(Turn)));
    C->Pen()->SetColor(clMaroon);
    C->Pen()->SetWidth(4);
    C->MoveTo(CX + 7, CY + 7);
    C->LineTo(CX + 16, CY + 16);
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetWidth(2);
    C->Brush()->SetColor(TColor(0xF0D8A0)); // pale blue glass
    C->Ellipse(CX - 10, CY - 10, CX + 10, CY + 10);
    C->Pen()->SetColor(clWhite);
    C->Pen()->SetWidth(1);
    C->MoveTo(CX - 5, CY - 2);
    C->LineTo(CX - 2, CY - 5);
}

} // namespace

TAnimate::TAnimate(TComponent* AOwner) : TCustomControl(AOwner), FTimer(new TTimer(nullptr))
{
    SetControlStyle(TControlStyle{csOpaque});
    SetBounds(Left(), Top(), 100, 80);
    SetParentColor(true);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(FrameInterval);
    FTimer->OnTimer = [this](TObject*) { Tick(); };
}

TAnimate::~TAnimate()
{
    FTimer->SetEnabled(false);
    FTimer->OnTimer = nullptr;
}

void TAnimate::SetCommonAVI(TCommonAVI Value)
{
    if (Value == FCommonAVI && FOpen)
        return;
    SetOpen(false);
    FCommonAVI = Value;
    if (HasFrames(Value))
        OpenClip();
}

void TAnimate::OpenClip()
{
    FFrameCount = ClipFrames;
    FFrameWidth = ClipWidth;
    FFrameHeight = ClipHeight;
    FStartFrame = 1;
    FStopFrame = FFrameCount;
    FCurrentFrame = 1;
    FOpen = true;
    FitSize();
    Invalidate();
    if (OnOpen)
        OnOpen(this);
}

void TAnimate::SetOpen(bool Value)
{
    if (Value == FOpen)
        return;
    if (Value) {
        if (!HasFrames(FCommonAVI))
            throw EInvalidOperation("Cannot open AVI");
        OpenClip();
        return;
    }
    Stop();
    FOpen = false;
    FFrameCount = 0;
    FFrameWidth = FFrameHeight = 0;
    FStopFrame = 0;
    FCurrentFrame = 0;
    Invalidate();
    if (OnClose)
        OnClose(this);
}

void TAnimate::FitSize()
{
    if (FAutoSize && FOpen)
        SetBounds(Left(), Top(), FFrameWidth, FFrameHeight);
}

void TAnimate::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    FitSize();
}

void TAnimate::CheckFrame(Word Frame) const
{
    if (!FOpen)
        throw EInvalidOperation("Cannot play: no AVI is open");
    if (Frame < 1 || Frame > FFrameCount)
        throw EInvalidOperation("Frame out of range (" + IntToStr(Frame) + ")");
}

void TAnimate::Play(Word FromFrame, Word ToFrame, int Count)
{
    CheckFrame(FromFrame);
    CheckFrame(ToFrame);
    if (ToFrame < FromFrame)
        throw EInvalidOperation("Frame out of range (" + IntToStr(ToFrame) + ")");
    FPlayFrom = FromFrame;
    FPlayTo = ToFrame;
    FPlayCount = Count < 0 ? 0 : Count;
    FPlayed = 0;
    FCurrentFrame = FromFrame;
    Invalidate();
    const bool Was = FActive;
    FActive = true;
    FTimer->SetEnabled(true);
    if (!Was && OnStart)
        OnStart(this);
}

void TAnimate::Tick()
{
    if (!FActive)
        return;
    if (FCurrentFrame < FPlayTo) {
        ++FCurrentFrame;
    } else {
        ++FPlayed;
        if (FPlayCount > 0 && FPlayed >= FPlayCount) {
            Stop();
            return;
        }
        FCurrentFrame = FPlayFrom;
    }
    Invalidate();
}

void TAnimate::Stop()
{
    FTimer->SetEnabled(false);
    if (!FActive)
        return;
    FActive = false;
    if (OnStop)
        OnStop(this);
}

void TAnimate::Reset()
{
    Stop();
    if (FOpen) {
        FCurrentFrame = 1;
        Invalidate();
    }
}

void TAnimate::Seek(Word Frame)
{
    CheckFrame(Frame);
    Stop();
    FCurrentFrame = Frame;
    Invalidate();
}

void TAnimate::SetActive(bool Value)
{
    if (Value)
        Play(FStartFrame, FStopFrame, FRepetitions);
    else
        Stop();
}

void TAnimate::SetRepetitions(int Value)
{
    FRepetitions = Value < 0 ? 0 : Value;
    if (FActive)
        Play(FStartFrame, FStopFrame, FRepetitions);
}

void TAnimate::SetStartFrame(Word Value)
{
    CheckFrame(Value);
    FStartFrame = Value;
    if (FActive)
        Play(FStartFrame, FStopFrame, FRepetitions);
}

void TAnimate::SetStopFrame(Word Value)
{
    CheckFrame(Value);
    FStopFrame = Value;
    if (FActive)
        Play(FStartFrame, FStopFrame, FRepetitions);
}

void TAnimate::SetCenter(bool Value)
{
    FCenter = Value;
    Invalidate();
}

void TAnimate::SetTransparent(bool Value)
{
    FTransparent = Value;
    Invalidate();
}

void TAnimate::Paint()
{
    TCanvas* C = Canvas();
    const TRect R = ClientRect();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(R);
    if (!FOpen || FCurrentFrame == 0)
        return;
    const int X = FCenter ? (R.Width() - FFrameWidth) / 2 : 0;
    const int Y = FCenter ? (R.Height() - FFrameHeight) / 2 : 0;
    if (!FTransparent) {
        C->Brush()->SetColor(clWhite);
        C->FillRect(Rect(X, Y, X + FFrameWidth, Y + FFrameHeight));
    }
    if (FCommonAVI == aviFindFolder)
        DrawFolder(C, X, Y);
    else
        DrawPaper(C, X, Y);
    DrawGlass(C, X, Y, FCurrentFrame - 1);
}
