#include "platform/stdctrls/dropdownplace.h"

#include "platform/ui/sysmetrics.h"
#include "platform/ui/window.h"

TRect DropDownRect(HWND Owner, int Width, int Height, bool RightAlign)
{
    TRect R;
    GetWindowRect(Owner, R);
    TRect Work;
    if (!SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0))
        Work = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    int Y = R.Bottom;
    if (Y + Height > Work.Bottom && R.Top - Height >= Work.Top)
        Y = R.Top - Height; // no room below: above the control
    const int X = RightAlign ? R.Right - Width : R.Left;
    return Rect(X, Y, X + Width, Y + Height);
}
