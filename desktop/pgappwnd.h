// desktop/pgappwnd.h: the hidden owner window of class "TPGApplication". Parking the
// application's window under it as a child takes the program off the taskbar.
#pragma once

#include "platform/ui/wintypes.h"

// The owner window, made (with its class) at the first call; the general exception
// "Couldnt register window class: TPGApplication" when the class cannot be registered.
HWND GetOwnerWindow();
// Whether the owner window exists.
bool OwnerWindowExists();
// The unit's finalisation: destroys the owner window (the program calls it after freeing
// Application).
void PGAppWndFinalize();
