// platform/stdctrls/commctrl.h: registering the common control classes by family
// (InitCommonControlsEx) and the version of the common controls that callers check features
// against.
#pragma once

#include "platform/ui/wintypes.h"

// Families of common control classes (INITCOMMONCONTROLSEX::dwICC).
enum : DWORD {
    ICC_LISTVIEW_CLASSES = 0x0001,
    ICC_TREEVIEW_CLASSES = 0x0002,
    ICC_BAR_CLASSES = 0x0004,
    ICC_TAB_CLASSES = 0x0008,
    ICC_UPDOWN_CLASS = 0x0010,
    ICC_PROGRESS_CLASS = 0x0020,
    ICC_HOTKEY_CLASS = 0x0040,
    ICC_ANIMATE_CLASS = 0x0080,
    ICC_WIN95_CLASSES = 0x00FF,
    ICC_DATE_CLASSES = 0x0100,
    ICC_USEREX_CLASSES = 0x0200,
    ICC_COOL_CLASSES = 0x0400,
    ICC_INTERNET_CLASSES = 0x0800,
    ICC_PAGESCROLLER_CLASS = 0x1000,
    ICC_NATIVEFNTCTL_CLASS = 0x2000,
    ICC_STANDARD_CLASSES = 0x4000,
    ICC_LINK_CLASS = 0x8000,
};

struct INITCOMMONCONTROLSEX {
    DWORD dwSize = sizeof(INITCOMMONCONTROLSEX);
    DWORD dwICC = 0;
};

// Registers the classes of the families asked for; families without classes of ours are
// accepted and do nothing. False only for a missing record.
bool InitCommonControlsEx(const INITCOMMONCONTROLSEX* Init);

// The common controls' version, as their version resource gives it.
struct TComCtlVersion {
    DWORD Major = 0;
    DWORD Minor = 0;
};
TComCtlVersion GetComCtlVersion();
// Whether the common controls are at least Major.Minor ("4.71 or later").
bool ComCtlVersionAtLeast(DWORD Major, DWORD Minor);
