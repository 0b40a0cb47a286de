// platform/stdctrls/buttonwindow.h: the "BUTTON" window class under the button controls: push
// buttons, check boxes, radio buttons, group boxes and owner-drawn buttons by their BS_ style,
// answering the BM_ messages and telling the parent WM_COMMAND with BN_CLICKED.
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/ui/wintypes.h"

#include <string>

class TCanvas;
class TFont;

// The class name that button controls subclass.
inline constexpr const char* ButtonClassName = "BUTTON";

// Registers the class (once); later calls do nothing.
void RegisterButtonClass();

// The class's window procedure. WM_SETFONT takes a `const TFont*` in WParam (not owned: the
// caller keeps it alive while the window lives, or sets another).
LRESULT ButtonWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// Draws Text embossed when disabled (a highlight copy one pixel down and right, then gray text)
// and in the canvas's font colour otherwise; DrawText flags.
void DrawButtonText(TCanvas* Canvas, const std::string& Text, TRect& R, unsigned Flags,
                    bool Enabled);
