// platform/gfx/metafileplayer.h: a metafile's picture played on a canvas: the records, drawn in
// the pixels of their frame, go to the canvas' device scaled onto the target rectangle.
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/gfx/metafileformat.h"

// Plays Image with its frame mapped onto Rect (logical coordinates of Canvas), within the
// canvas' clip; a 1:1 rectangle gives exactly the pixels of the drawing itself. Nothing happens
// on a canvas without a device, for an empty frame or an empty rectangle.
void PlayMetafile(const TMetafileImage& Image, TCanvas& Canvas, const TRect& Rect);
