// platform/stdctrls/progressbarwindow.h: the "msctls_progress32" window class under TProgressBar:
// a 32-bit range and position, a step, blocks or a smooth bar, across or upwards.
#pragma once

#include "platform/ui/messages.h"
#include "platform/ui/wintypes.h"

// Progress bar styles.
enum : DWORD { PBS_SMOOTH = 0x01, PBS_VERTICAL = 0x04 };

// Progress bar messages. The position always stays within the range.
enum : UINT {
    PBM_SETRANGE = WM_USER + 1, // LParam: MakeLParam(min, max), 16 bits each; the old range
    PBM_SETPOS = WM_USER + 2,   // the old position
    PBM_DELTAPOS = WM_USER + 3, // adds WParam; the old position
    PBM_SETSTEP = WM_USER + 4,  // the old step
    PBM_STEPIT = WM_USER + 5,   // adds the step, starting over from Min past Max; the old position
    PBM_SETRANGE32 = WM_USER + 6, // WParam: min, LParam: max
    PBM_GETRANGE = WM_USER + 7,   // WParam: true for the low end; LParam: a TPBRange to fill
    PBM_GETPOS = WM_USER + 8,
};

struct TPBRange {
    int iLow = 0;
    int iHigh = 0;
};
using PBRANGE = TPBRange;

inline constexpr const char* ProgressBarClassName = "msctls_progress32";
void RegisterProgressBarClass();
LRESULT ProgressBarWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
