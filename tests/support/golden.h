// tests/support/golden.h: compares a picture drawn in a test with a golden PNG under
// tests/fixtures/, exactly unless a tolerance is given; TARNWICK_UPDATE_GOLDEN=1 writes the
// golden anew instead (look at it before committing it). Windows are taken whole, frame and
// scroll bars included, from their top-level window's back buffer.
#pragma once

#include "platform/gfx/bitmap.h"
#include "platform/gfx/pngformat.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/ui/backbuffer.h"
#include "platform/ui/paint.h"
#include "platform/ui/window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <exception>
#include <string>

inline bool UpdatingGoldens()
{
    const char* Value = std::getenv("TARNWICK_UPDATE_GOLDEN");
    return Value != nullptr && std::string(Value) == "1";
}

// How far a picture may stray: a channel by up to Channel, and MaxOff pixels by more (a font
// rasteriser moves an edge pixel now and then). The default is an exact match.
struct TGoldenTolerance {
    int Channel = 0;
    int MaxOff = 0;
};

// Area of Raster (in its pixels) against tests/fixtures/<Name>.
inline void ExpectMatchesGoldenPng(const TRasterDevice& Raster, const TRect& Area,
                                   const std::string& Name, TGoldenTolerance Tolerance = {})
{
    const std::string Path = std::string(TARNWICK_FIXTURES) + "/" + Name;
    TPngImage Picture;
    Picture.SetPixelFormat(pf24bit);
    Picture.SetSize(Area.Width(), Area.Height());
    for (int Y = 0; Y < Area.Height(); ++Y)
        for (int X = 0; X < Area.Width(); ++X)
            Picture.Canvas()->SetPixels(X, Y, Raster.Pixel(Area.Left + X, Area.Top + Y));
    if (UpdatingGoldens()) {
        Picture.SaveToFile(Path);
        return;
    }
    TPngImage Golden;
    try {
        Golden.LoadFromFile(Path);
    } catch (const std::exception& E) {
        ADD_FAILURE() << "missing golden " << Path << ": " << E.what();
        return;
    }
    ASSERT_EQ(Golden.Width(), Area.Width()) << Name;
    ASSERT_EQ(Golden.Height(), Area.Height()) << Name;
    int Off = 0;
    for (int Y = 0; Y < Area.Height(); ++Y)
        for (int X = 0; X < Area.Width(); ++X) {
            const TColor A = Golden.Canvas()->Pixels(X, Y);
            const TColor B = Picture.Canvas()->Pixels(X, Y);
            if (std::abs(GetRValue(A) - GetRValue(B)) > Tolerance.Channel ||
                std::abs(GetGValue(A) - GetGValue(B)) > Tolerance.Channel ||
                std::abs(GetBValue(A) - GetBValue(B)) > Tolerance.Channel)
                ++Off;
        }
    EXPECT_LE(Off, Tolerance.MaxOff) << Name << " differs; TARNWICK_UPDATE_GOLDEN=1 rewrites it";
}

// The whole of Raster.
inline void ExpectMatchesGoldenPng(const TRasterDevice& Raster, const std::string& Name,
                                   TGoldenTolerance Tolerance = {})
{
    ExpectMatchesGoldenPng(Raster, Rect(0, 0, Raster.Width(), Raster.Height()), Name, Tolerance);
}

// Where window Wnd lies, frame included, in its top-level window's back buffer.
inline TRect WindowAreaInBackBuffer(HWND Wnd)
{
    TRect R;
    GetWindowRect(Wnd, R);
    TRect Top;
    GetWindowRect(GetTopLevelWindow(Wnd), Top);
    OffsetRect(R, -Top.Left, -Top.Top);
    return R;
}

// Copies window Wnd, frame included, as its top-level window's back buffer holds it, to Into
// at (X, Y). Paint first (pump the messages).
inline void CopyWindowPicture(HWND Wnd, TRasterDevice& Into, int X, int Y)
{
    TBackBuffer* Buffer = WindowBackBuffer(GetTopLevelWindow(Wnd));
    ASSERT_NE(Buffer, nullptr);
    const TRect Area = WindowAreaInBackBuffer(Wnd);
    const TRasterDevice& From = Buffer->Raster();
    for (int Row = 0; Row < Area.Height(); ++Row)
        for (int Col = 0; Col < Area.Width(); ++Col) {
            const int FromX = Area.Left + Col;
            const int FromY = Area.Top + Row;
            if (X + Col < Into.Width() && Y + Row < Into.Height() && FromX >= 0 && FromY >= 0 &&
                FromX < From.Width() && FromY < From.Height())
                Into.ScanLine(Y + Row)[X + Col] = From.ScanLine(FromY)[FromX];
        }
}
