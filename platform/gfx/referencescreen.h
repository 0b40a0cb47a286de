// platform/gfx/referencescreen.h: the screen that a picture drawn without a device of its own
// refers to (a metafile canvas without a reference device takes its size and resolution). gfx
// knows no display: the display layer tells it where the screen comes from, and until it does
// the screen is 1024 x 768 pixels at 96 per inch.
#pragma once

#include <functional>

struct TReferenceScreen {
    int Width = 1024; // pixels
    int Height = 768;
    int PixelsPerInch = 96;
};

// The screen as the installed source answers now, or the default one.
TReferenceScreen ReferenceScreen();

// Installs what ReferenceScreen asks, so that it follows the display as it changes; nil goes back
// to the default screen.
void SetReferenceScreenSource(std::function<TReferenceScreen()> Source);
