// platform/stdctrls/commctrl.cpp: the common control families' registration and version.
#include "platform/stdctrls/commctrl.h"

#include "platform/stdctrls/monthcalwindow.h"

bool InitCommonControlsEx(const INITCOMMONCONTROLSEX* Init)
{
    if (Init == nullptr)
        return false;
    if (Init->dwICC & ICC_DATE_CLASSES)
        RegisterMonthCalClass();
    return true;
}

TComCtlVersion GetComCtlVersion()
{
    return TComCtlVersion{6, 0};
}

bool ComCtlVersionAtLeast(DWORD Major, DWORD Minor)
{
    const TComCtlVersion Version = GetComCtlVersion();
    return Version.Major > Major || (Version.Major == Major && Version.Minor >= Minor);
}
