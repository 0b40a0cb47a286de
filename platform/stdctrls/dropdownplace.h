// platform/stdctrls/dropdownplace.h: where a drop-down pop-up (a combo box's list, a date
// picker's calendar) shows under the control it belongs to.
#pragma once

#include "platform/ui/wintypes.h"

// The screen rectangle for a pop-up of Width x Height under Owner: below it, or above it when
// the work area has no room below and does above; left edges aligned, or right edges with
// RightAlign.
TRect DropDownRect(HWND Owner, int Width, int Height, bool RightAlign = false);
