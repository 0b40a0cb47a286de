// platform/ui/caret.cpp: the caret, one for the thread, owned by a window and blinking on the
// message loop's clock. It never enters the pixels a back buffer keeps: each present of the
// owner's top-level window inverts it into the buffer for the hand-over and out again, so
// painting, scrolling and moving the caret cannot leave a trace of it.
#include "platform/gfx/bitmap.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/gfx/region.h"
#include "platform/rtl/clock.h"
#include "platform/ui/backbuffer.h"
#include "platform/ui/input.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/paint.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

enum class TCaretShape { Solid, Grey, Bitmap };

struct TCaret {
    HWND Owner = 0;
    TPoint Pos;
    int Width = 0;
    int Height = 0;
    int HideCount = 0;
    TCaretShape Shape = TCaretShape::Solid;
    std::vector<std::uint32_t> Bits; // a bitmap caret's pixels (0x00RRGGBB), rows top down
    bool On = false;                 // the blink's phase while shown
    std::uint32_t NextBlink = 0;     // tick count
};

struct TCaretGlobals {
    TCaret Caret;
    UINT BlinkTime = 530;
};

TCaretGlobals& Globals()
{
    static TCaretGlobals S;
    return S;
}

TCaret& Caret()
{
    return Globals().Caret;
}

bool Shown(const TCaret& C)
{
    return C.Owner != 0 && C.HideCount == 0;
}

// The part of the caret's box that shows (owner's client coordinates) and the owner's client
// origin in its top-level window's buffer.
bool CaretPlace(const TCaret& C, HWND& Top, TPoint& Origin, TRegion& Area)
{
    if (C.Owner == 0 || !IsWindow(C.Owner))
        return false;
    Top = GetTopLevelWindow(C.Owner);
    // A caret may be parked anywhere, out to the ends of the int range: its far edges saturate.
    const auto FarEdge = [](int Start, int Size) {
        return static_cast<int>(
            std::clamp<long long>(static_cast<long long>(Start) + Size, INT_MIN, INT_MAX));
    };
    const TRect Box = Rect(C.Pos.X, C.Pos.Y, FarEdge(C.Pos.X, C.Width), FarEdge(C.Pos.Y, C.Height));
    Area = TRegion::Intersect(uiloop::ShownClientArea(C.Owner, Origin), TRegion(Box));
    return !Area.Empty();
}

// Shows the caret's box as the caret's state has it now.
void PresentCaretBox()
{
    const TCaret& C = Caret();
    HWND Top = 0;
    TPoint Origin;
    TRegion Area;
    if (!CaretPlace(C, Top, Origin, Area))
        return;
    if (TBackBuffer* Buffer = WindowBackBuffer(Top)) {
        TRect R = Area.Bounds();
        OffsetRect(R, Origin.X, Origin.Y);
        Buffer->Present(Top, R);
    }
}

// What a pixel of the caret is inverted with: every bit (solid), every other pixel (grey), or
// the bitmap's pixel (white inverts, black keeps).
std::uint32_t InvertMask(const TCaret& C, int X, int Y)
{
    switch (C.Shape) {
    case TCaretShape::Grey:
        return ((X + Y) & 1) == 0 ? 0xFFFFFFu : 0u;
    case TCaretShape::Bitmap:
        return C.Bits[static_cast<std::size_t>(Y) * C.Width + X];
    case TCaretShape::Solid:
        break;
    }
    return 0xFFFFFFu;
}

// Shown: on at once, and the blink starts over.
void TurnOn()
{
    TCaret& C = Caret();
    C.On = true;
    C.NextBlink = GetTickCount() + Globals().BlinkTime;
    PresentCaretBox();
}

void TurnOff()
{
    TCaret& C = Caret();
    if (!C.On)
        return;
    C.On = false;
    PresentCaretBox();
}

} // namespace

bool CreateCaret(HWND Wnd, HBITMAP Bitmap, int Width, int Height)
{
    if (!IsWindow(Wnd) || IsForeignWindow(Wnd))
        return false;
    const bool Pattern = Bitmap != nullptr && Bitmap != reinterpret_cast<HBITMAP>(1);
    if (Pattern && (!IsBitmap(Bitmap) || Bitmap->Width <= 0 || Bitmap->Height <= 0))
        return false;
    DestroyCaret();
    TCaret& C = Caret();
    C.Owner = Wnd;
    C.HideCount = 1;
    if (Pattern) {
        // A bitmap caret takes the bitmap's size.
        C.Shape = TCaretShape::Bitmap;
        C.Width = Bitmap->Width;
        C.Height = Bitmap->Height;
        C.Bits.reserve(static_cast<std::size_t>(C.Width) * C.Height);
        for (int Y = 0; Y < C.Height; ++Y)
            for (int X = 0; X < C.Width; ++X)
                C.Bits.push_back(TRasterDevice::ToNative(Bitmap->Pixel(X, Y)));
        return true;
    }
    C.Shape = Bitmap == nullptr ? TCaretShape::Solid : TCaretShape::Grey;
    C.Width = Width > 0 ? Width : 1;
    C.Height = Height > 0 ? Height : 1;
    return true;
}

bool DestroyCaret()
{
    TCaret& C = Caret();
    if (C.Owner == 0)
        return false;
    TurnOff();
    C = TCaret();
    return true;
}

bool SetCaretPos(int X, int Y)
{
    TCaret& C = Caret();
    if (C.Owner == 0)
        return false;
    if (C.Pos == TPoint{X, Y})
        return true;
    const bool Visible = Shown(C);
    TurnOff();
    C.Pos = TPoint{X, Y};
    if (Visible)
        TurnOn();
    return true;
}

bool GetCaretPos(TPoint& Point)
{
    const TCaret& C = Caret();
    if (C.Owner == 0)
        return false;
    Point = C.Pos;
    return true;
}

bool ShowCaret(HWND Wnd)
{
    TCaret& C = Caret();
    if (C.Owner == 0 || (Wnd != 0 && Wnd != C.Owner) || C.HideCount == 0)
        return false;
    if (--C.HideCount == 0)
        TurnOn();
    return true;
}

bool HideCaret(HWND Wnd)
{
    TCaret& C = Caret();
    if (C.Owner == 0 || (Wnd != 0 && Wnd != C.Owner))
        return false;
    ++C.HideCount;
    TurnOff();
    return true;
}

UINT GetCaretBlinkTime()
{
    return Globals().BlinkTime;
}

bool SetCaretBlinkTime(UINT Milliseconds)
{
    if (Milliseconds == 0)
        return false;
    Globals().BlinkTime = Milliseconds;
    return true;
}

TCaretState GetCaretState()
{
    const TCaret& C = Caret();
    return TCaretState{C.Owner, C.Pos, C.Width, C.Height, Shown(C)};
}

namespace uiloop {

void CaretWindowDestroyed(HWND Wnd)
{
    if (Caret().Owner == Wnd)
        Caret() = TCaret();
}

void BlinkCaretIfDue()
{
    TCaret& C = Caret();
    if (!Shown(C) || static_cast<std::int32_t>(C.NextBlink - GetTickCount()) > 0)
        return;
    C.On = !C.On;
    C.NextBlink = GetTickCount() + Globals().BlinkTime;
    PresentCaretBox();
}

std::optional<std::int32_t> CaretBlinkDelay()
{
    const TCaret& C = Caret();
    if (!Shown(C))
        return std::nullopt;
    const auto Left = static_cast<std::int32_t>(C.NextBlink - GetTickCount());
    return Left > 0 ? Left : 0;
}

bool InvertCaret(HWND Top, TRasterDevice& Raster)
{
    const TCaret& C = Caret();
    if (!Shown(C) || !C.On)
        return false;
    HWND CaretTop = 0;
    TPoint Origin;
    TRegion Area;
    if (!CaretPlace(C, CaretTop, Origin, Area) || CaretTop != Top)
        return false;
    for (const TRect& R : Area.Rects())
        for (int Y = R.Top; Y < R.Bottom; ++Y) {
            const int BufferY = Y + Origin.Y;
            if (BufferY < 0 || BufferY >= Raster.Height())
                continue;
            std::uint32_t* Line = Raster.ScanLine(BufferY);
            for (int X = R.Left; X < R.Right; ++X) {
                const int BufferX = X + Origin.X;
                if (BufferX >= 0 && BufferX < Raster.Width())
                    Line[BufferX] ^= InvertMask(C, X - C.Pos.X, Y - C.Pos.Y);
            }
        }
    return true;
}

} // namespace uiloop
