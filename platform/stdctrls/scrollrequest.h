// platform/stdctrls/scrollrequest.h: where a request of a control's own scroll bar (WM_VSCROLL,
// WM_HSCROLL) moves the position it scrolls.
#pragma once

#include "platform/ui/wintypes.h"

#include <optional>

// How far the requests step: a line, a page, and the far end (the near end is 0).
struct TScrollSteps {
    int Line = 1;
    int Page = 1;
    int Last = 0;
};

// The position Request (the low word of WParam) asks for from Pos: Thumb for the thumb's
// requests. Nothing for the requests that leave it in place (SB_ENDSCROLL).
std::optional<int> ScrollRequestPos(UINT Request, int Pos, const TScrollSteps& Steps, int Thumb);

// The 32-bit place the thumb of the window's Bar (SB_HORZ, SB_VERT) is dragged to.
int ScrollTrackPos(HWND Wnd, int Bar);
