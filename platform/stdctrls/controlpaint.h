// platform/stdctrls/controlpaint.h: how a standard control's window answers WM_PAINT.
#pragma once

#include "platform/ui/window.h"
#include "platform/ui/windowdc.h"

#include <type_traits>

// Paints into the canvas WParam gives (the class library painting into its buffer), or else
// into the window between BeginPaint and EndPaint. Paint takes the canvas, and may take the
// area to draw too: the whole client area for a given canvas, the update area otherwise.
template <class TPaint>
LRESULT HandlePaint(HWND Wnd, WPARAM WParam, TPaint&& Paint)
{
    if (WParam != 0) {
        const auto DC = reinterpret_cast<HDC>(WParam);
        if constexpr (std::is_invocable_v<TPaint&, HDC, const TRect&>) {
            TRect Client;
            GetClientRect(Wnd, Client);
            Paint(DC, Client);
        } else {
            Paint(DC);
        }
        return 0;
    }
    TPaintStruct PS;
    if (const HDC DC = BeginPaint(Wnd, PS)) {
        if constexpr (std::is_invocable_v<TPaint&, HDC, const TRect&>)
            Paint(DC, static_cast<const TRect&>(PS.rcPaint));
        else
            Paint(DC);
        EndPaint(Wnd, PS);
    }
    return 0;
}
