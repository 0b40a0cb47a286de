// tests/support/golden_edits.h: compares a part of a raster (a control on its form's back
// buffer) with a golden PNG under tests/fixtures/; TARNWICK_UPDATE_GOLDEN=1 writes the golden
// anew instead (look at it before committing it).
#pragma once

#include "platform/gfx/bitmap.h"
#include "platform/gfx/pngformat.h"
#include "platform/gfx/rasterdevice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <exception>
#include <string>

namespace golden_edits {

inline bool Updating()
{
    const char* Value = std::getenv("TARNWICK_UPDATE_GOLDEN");
    return Value != nullptr && std::string(Value) == "1";
}

// Area of Raster against tests/fixtures/<Name>: a channel may differ by up to Tolerance, and at
// most MaxOff pixels by more (a font rasteriser moves an edge pixel now and then).
inline void ExpectAreaMatches(const TRasterDevice& Raster, const TRect& Area,
                              const std::string& Name, int Tolerance = 8, int MaxOff = 4)
{
    const std::string Path = std::string(TARNWICK_FIXTURES) + "/" + Name;
    TPngImage Picture;
    Picture.SetPixelFormat(pf24bit);
    Picture.SetSize(Area.Width(), Area.Height());
    for (int Y = 0; Y < Area.Height(); ++Y)
        for (int X = 0; X < Area.Width(); ++X)
            Picture.Canvas()->SetPixels(X, Y, Raster.Pixel(Area.Left + X, Area.Top + Y));
    if (Updating()) {
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
            if (std::abs(GetRValue(A) - GetRValue(B)) > Tolerance ||
                std::abs(GetGValue(A) - GetGValue(B)) > Tolerance ||
                std::abs(GetBValue(A) - GetBValue(B)) > Tolerance)
                ++Off;
        }
    EXPECT_LE(Off, MaxOff) << Name << " differs; TARNWICK_UPDATE_GOLDEN=1 rewrites it";
}

} // namespace golden_edits
