// platform/forms/hints.h: the showing of hints. The mouse resting on a control that shows hints
// starts the application's HintPause; then the control hears CM_HINTSHOW, OnShowHint may change
// or refuse the hint, and the hint window shows it below the mouse until HintHidePause passes, a
// key or a click comes, the mouse leaves the control (or the cursor rectangle CM_HINTSHOW set) or
// the control's form moves or loses the activation.
#pragma once

#include "platform/forms/control.h"

// The control whose hint shows for Control: the nearest one up the parent chain that shows
// hints, or null.
TControl* GetHintControl(TControl* Control);

// The mouse moved over Control (Message is its WM_MOUSEMOVE, client coordinates): TControl's
// WndProc hands each one here.
void HintMouseMessage(TControl* Control, TMessage& Message);
// The mouse left the program's windows (the control under it became Control, null).
void HintMouseLeft();
