// platform/ui/flatscrollbars.cpp: the flat look's properties per window; scrollbars.cpp draws
// them and nonclient.cpp sizes the bars by them.
#include "platform/ui/flatscrollbars.h"

#include "platform/ui/nonclientparts.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/windowstate.h"

using namespace uiwindow;

namespace {

TFlatBarLook* LookOf(HWND Wnd)
{
    TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr && Obj->FlatBars.On ? &Obj->FlatBars : nullptr;
}

void Relayout(HWND Wnd)
{
    SetWindowPos(Wnd, 0, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool ValidStyle(LONG_PTR Value)
{
    return Value == FSB_REGULAR_MODE || Value == FSB_ENCARTA_MODE || Value == FSB_FLAT_MODE;
}

} // namespace

namespace uiwindow {

int VerticalBarWidth(const TWindowObject& Obj)
{
    return Obj.FlatBars.On && Obj.FlatBars.VWidth > 0 ? Obj.FlatBars.VWidth
                                                      : GetSystemMetrics(SM_CXVSCROLL);
}

int HorizontalBarHeight(const TWindowObject& Obj)
{
    return Obj.FlatBars.On && Obj.FlatBars.HHeight > 0 ? Obj.FlatBars.HHeight
                                                       : GetSystemMetrics(SM_CYHSCROLL);
}

} // namespace uiwindow

BOOL InitializeFlatSB(HWND Wnd)
{
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return 0;
    if (!Obj->FlatBars.On) {
        Obj->FlatBars = TFlatBarLook();
        Obj->FlatBars.On = true;
    }
    return 1;
}

BOOL UninitializeFlatSB(HWND Wnd)
{
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return 0;
    if (Obj->FlatBars.On) {
        Obj->FlatBars = TFlatBarLook();
        Relayout(Wnd);
    }
    return 1;
}

BOOL FlatSB_SetScrollProp(HWND Wnd, UINT Index, LONG_PTR NewValue, BOOL Redraw)
{
    TFlatBarLook* Look = LookOf(Wnd);
    if (Look == nullptr)
        return 0;
    const int Value = static_cast<int>(NewValue);
    switch (Index) {
    case WSB_PROP_VSTYLE:
    case WSB_PROP_HSTYLE:
        if (!ValidStyle(NewValue))
            return 0;
        (Index == WSB_PROP_VSTYLE ? Look->VStyle : Look->HStyle) = Value;
        break;
    case WSB_PROP_VBKGCOLOR:
        Look->VColorSet = true;
        Look->VColor = static_cast<std::int32_t>(NewValue);
        break;
    case WSB_PROP_HBKGCOLOR:
        Look->HColorSet = true;
        Look->HColor = static_cast<std::int32_t>(NewValue);
        break;
    case WSB_PROP_CXVSCROLL:
        Look->VWidth = Value > 0 ? Value : 0;
        break;
    case WSB_PROP_CYHSCROLL:
        Look->HHeight = Value > 0 ? Value : 0;
        break;
    default:
        return 0;
    }
    if (Redraw)
        Relayout(Wnd);
    return 1;
}

BOOL FlatSB_GetScrollProp(HWND Wnd, UINT Index, LONG_PTR* Value)
{
    const TFlatBarLook* Look = LookOf(Wnd);
    if (Look == nullptr || Value == nullptr)
        return 0;
    switch (Index) {
    case WSB_PROP_VSTYLE:
        *Value = Look->VStyle;
        return 1;
    case WSB_PROP_HSTYLE:
        *Value = Look->HStyle;
        return 1;
    case WSB_PROP_VBKGCOLOR:
        *Value = Look->VColor;
        return Look->VColorSet;
    case WSB_PROP_HBKGCOLOR:
        *Value = Look->HColor;
        return Look->HColorSet;
    case WSB_PROP_CXVSCROLL:
        *Value = VerticalBarWidth(Get(Wnd));
        return 1;
    case WSB_PROP_CYHSCROLL:
        *Value = HorizontalBarHeight(Get(Wnd));
        return 1;
    default:
        return 0;
    }
}

int FlatSB_SetScrollInfo(HWND Wnd, int Bar, const TScrollInfo& Info, BOOL Redraw)
{
    return SetFlatScrollInfo(Wnd, Bar, Info, Redraw != 0);
}

BOOL FlatSB_GetScrollInfo(HWND Wnd, int Bar, TScrollInfo& Info)
{
    return GetScrollInfo(Wnd, Bar, Info) ? 1 : 0;
}

BOOL FlatSB_ShowScrollBar(HWND Wnd, int Bar, BOOL Show)
{
    return ShowScrollBar(Wnd, Bar, Show != 0) ? 1 : 0;
}
