// platform/stdctrls/commctrl.cpp: the common control families' registration and version.
#include "platform/stdctrls/commctrl.h"

#include "platform/stdctrls/datetimepickwindow.h"
#include "platform/stdctrls/headerwindow.h"
#include "platform/stdctrls/listviewwindow.h"
#include "platform/stdctrls/monthcalwindow.h"
#include "platform/stdctrls/progressbarwindow.h"
#include "platform/stdctrls/statusbarwindow.h"
#include "platform/stdctrls/tabcontrolwindow.h"
#include "platform/stdctrls/trackbarwindow.h"
#include "platform/stdctrls/updownwindow.h"

bool InitCommonControlsEx(const INITCOMMONCONTROLSEX* Init)
{
    if (Init == nullptr)
        return false;
    // Each control registers its class on first use as well; this only makes it early.
    const DWORD Classes = Init->dwICC;
    if (Classes & ICC_LISTVIEW_CLASSES) {
        RegisterListViewClass();
        RegisterHeaderClass();
    }
    if (Classes & ICC_BAR_CLASSES) {
        RegisterStatusBarClass();
        RegisterTrackBarClass();
    }
    if (Classes & ICC_TAB_CLASSES)
        RegisterTabControlClass();
    if (Classes & ICC_UPDOWN_CLASS)
        RegisterUpDownClass();
    if (Classes & ICC_PROGRESS_CLASS)
        RegisterProgressBarClass();
    if (Classes & ICC_DATE_CLASSES) {
        RegisterMonthCalClass();
        RegisterDateTimePickClass();
    }
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
