// platform/ui/sysmetrics.h: the system metrics and parameters the units ask for: the screen and
// its work area as the display driver reports them, and the fixed sizes of the window parts.
#pragma once

#include "platform/ui/wintypes.h"

enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CYCAPTION = 4,
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXDLGFRAME = 7,
    SM_CYDLGFRAME = 8,
    SM_CYVTHUMB = 9,
    SM_CXHTHUMB = 10,
    SM_CXICON = 11,
    SM_CYICON = 12,
    SM_CXCURSOR = 13,
    SM_CYCURSOR = 14,
    SM_CYMENU = 15,
    SM_CXFULLSCREEN = 16,
    SM_CYFULLSCREEN = 17,
    SM_CYVSCROLL = 20,
    SM_CXHSCROLL = 21,
    SM_SWAPBUTTON = 23,
    SM_CXMIN = 28,
    SM_CYMIN = 29,
    SM_CXSIZE = 30,
    SM_CYSIZE = 31,
    SM_CXFRAME = 32,
    SM_CYFRAME = 33,
    SM_CXDOUBLECLK = 36,
    SM_CYDOUBLECLK = 37,
    SM_CXEDGE = 45,
    SM_CYEDGE = 46,
    SM_CXSMICON = 49,
    SM_CYSMICON = 50,
    SM_MOUSEWHEELPRESENT = 75,
    SM_CXDRAG = 68,
    SM_CYDRAG = 69,
};

enum : UINT {
    SPI_GETWORKAREA = 0x0030,
    SPI_GETANIMATION = 0x0048,
    SPI_SETANIMATION = 0x0049,
    SPI_SETDOUBLECLICKTIME = 0x0020,
    SPI_GETWHEELSCROLLLINES = 0x0068,
};

// SPI_GETANIMATION / SPI_SETANIMATION: Param points to it.
struct TAnimationInfo {
    UINT cbSize = sizeof(TAnimationInfo);
    int iMinAnimate = 0;
};

int GetSystemMetrics(int Index); // 0 for an index it does not know
// SPI_GETWORKAREA: Param is a TRect* (screen coordinates). SPI_GETANIMATION / SPI_SETANIMATION: a
// TAnimationInfo* (the setting lives for the run). SPI_SETDOUBLECLICKTIME: UIParam.
// SPI_GETWHEELSCROLLLINES: a UINT*. False for anything else.
bool SystemParametersInfo(UINT Action, UINT UIParam, void* Param, UINT WinIni);