// controls/entry/ovcscpaint.h: how one spinner button looks: its face with raised or sunken
// edges and its arrow.
#pragma once

#include "controls/entry/ovcscregions.h"

class TCanvas;

// Paints the button Region that stands for Kind; a centre button has no arrow.
void PaintSpinButton(TCanvas* Canvas, const TSpinRegion& Region, TOvcSpinState Kind, bool Pressed,
                     bool ShowArrows);
