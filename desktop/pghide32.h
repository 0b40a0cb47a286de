// desktop/pghide32.h: parks the application's window under the hidden owner window
// (desktop/pgappwnd.h) the moment it is created, so that a tray program never shows a taskbar
// entry at start-up. The program calls the initialisation before creating Application and the
// finalisation after freeing it.
#pragma once

// Makes the owner window and hooks the creation of the window of class "TApplication".
void PGHide32Initialize();
// Removes the hook when it is still there.
void PGHide32Finalize();
