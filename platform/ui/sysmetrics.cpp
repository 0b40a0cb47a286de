#include "platform/ui/sysmetrics.h"

#include "platform/rtl/geometry.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/input.h"

namespace {

int MinAnimate = 1;
constexpr int CaptionHeight = 19;

} // namespace

int GetSystemMetrics(int Index)
{
    switch (Index) {
    case SM_CXSCREEN:
        return DisplayDriver().NativeScreen().Width;
    case SM_CYSCREEN:
        return DisplayDriver().NativeScreen().Height;
    // The client area of a window maximised on the work area.
    case SM_CXFULLSCREEN:
        return DisplayDriver().NativeScreen().WorkArea.Width();
    case SM_CYFULLSCREEN:
        return DisplayDriver().NativeScreen().WorkArea.Height() - CaptionHeight;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
        return 16;
    case SM_CYCAPTION:
        return CaptionHeight;
    case SM_CYMENU:
        return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CXSIZE:
    case SM_CYSIZE:
        return 18;
    case SM_CXMIN:
        return 112;
    case SM_CYMIN:
        return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    case SM_MOUSEWHEELPRESENT:
        return 1;
    case SM_SWAPBUTTON:
        return 0;
    default:
        return 0;
    }
}

bool SystemParametersInfo(UINT Action, UINT UIParam, void* Param, UINT)
{
    switch (Action) {
    case SPI_GETWORKAREA:
        if (Param == nullptr)
            return false;
        *static_cast<TRect*>(Param) = DisplayDriver().NativeScreen().WorkArea;
        return true;
    case SPI_GETANIMATION:
        if (Param == nullptr)
            return false;
        static_cast<TAnimationInfo*>(Param)->iMinAnimate = MinAnimate;
        return true;
    case SPI_SETANIMATION:
        if (Param == nullptr)
            return false;
        MinAnimate = static_cast<TAnimationInfo*>(Param)->iMinAnimate;
        return true;
    case SPI_SETDOUBLECLICKTIME:
        return SetDoubleClickTime(UIParam);
    case SPI_GETWHEELSCROLLLINES:
        if (Param == nullptr)
            return false;
        *static_cast<UINT*>(Param) = 3;
        return true;
    default:
        return false;
    }
}
