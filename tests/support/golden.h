// tests/support/golden.h: compares a picture drawn in a test with a golden PNG under
// tests/fixtures/, exactly; TARNWICK_UPDATE_GOLDEN=1 writes the golden anew instead (look at it
// before committing it).
#pragma once

#include "platform/gfx/bitmap.h"
#include "platform/gfx/pngformat.h"
#include "platform/gfx/rasterdevice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

inline bool UpdatingGoldens()
{
    const char* Value = std::getenv("TARNWICK_UPDATE_GOLDEN");
    return Value != nullptr && std::string(Value) == "1";
}

// Area of Raster (in its pixels) against tests/fixtures/<Name>.
inline void ExpectMatchesGoldenPng(const TRasterDevice& Raster, const TRect& Area,
                                   const std::string& Name)
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
        for (int X = 0; X < Area.Width(); ++X)
            if ((Golden.Canvas()->Pixels(X, Y) & 0xFFFFFF) !=
                (Picture.Canvas()->Pixels(X, Y) & 0xFFFFFF))
                ++Off;
    EXPECT_EQ(Off, 0) << Name << " differs; TARNWICK_UPDATE_GOLDEN=1 rewrites it";
}
