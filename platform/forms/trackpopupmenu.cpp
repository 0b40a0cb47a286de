// TrackPopupMenu: a menu for a window procedure, answering with WM_COMMAND or the command id.
#include "platform/forms/menudraw.h"
#include "platform/ui/queue.h"
#include "platform/ui/window.h"

UINT TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int, HWND Wnd, const TRect*)
{
    if (Menu == nullptr)
        return 0;
    const TPopupAlignment Alignment = (Flags & TPM_RIGHTALIGN)    ? paRight
                                      : (Flags & TPM_CENTERALIGN) ? paCenter
                                                                  : paLeft;
    TMenuItem* Chosen = RunPopupMenu(Menu, TPoint{X, Y}, Alignment, IsWindow(Wnd) ? Wnd : 0, Wnd);
    const UINT Command = Chosen != nullptr ? Chosen->Command() : 0;
    if (Flags & TPM_RETURNCMD)
        return Command;
    if (Command != 0 && IsWindow(Wnd))
        PostMessage(Wnd, WM_COMMAND, Command & 0xFFFF, 0);
    return Command != 0 ? 1 : 0;
}

UINT TrackPopupMenu(TPopupMenu* Menu, UINT Flags, int X, int Y, HWND Wnd)
{
    return Menu != nullptr ? TrackPopupMenu(Menu->Items(), Flags, X, Y, 0, Wnd) : 0;
}
