// platform/ui/windowtree.cpp: parents, owners, siblings, enumerations, hit testing and the desktop.
#include "platform/ui/window.h"

#include "platform/gfx/region.h"
#include "platform/rtl/strings.h"
#include "platform/ui/input.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/windowstate.h"

#include <algorithm>

using namespace uiwindow;

namespace uiloop {

bool IsTopLevel(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr && Obj->Parent == 0;
}

std::vector<HWND> TopLevelWindows()
{
    return State().TopLevels;
}

void MoveToFront(HWND Wnd)
{
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return;
    Unlink(*Obj);
    LinkAtFront(*Obj);
}

} // namespace uiloop

bool IsForeignWindow(HWND Wnd)
{
    return uiloop::IsForeignWindow(Wnd);
}

bool IsChild(HWND Parent, HWND Wnd)
{
    return Parent != 0 && IsDescendant(Parent, Wnd);
}

// Whether a point in Wnd's window coordinates lies inside its region (SetWindowRgn), if any.
static bool InsideShape(HWND Wnd, const TPoint& P)
{
    TRegion Shape;
    return GetWindowRgn(Wnd, &Shape) == RGN_ERROR || Shape.Contains(P.X, P.Y);
}

// P in Wnd's window coordinates; children show only inside the client area.
static HWND ChildAt(HWND Wnd, TPoint P)
{
    const TWindowObject& W = Get(Wnd);
    if (!PtInRect(W.Client, P))
        return Wnd;
    P = TPoint{P.X - W.Client.Left, P.Y - W.Client.Top};
    for (HWND Child : W.Children) {
        const TWindowObject& C = Get(Child);
        if ((C.Style & WS_VISIBLE) && PtInRect(C.Bounds, P) &&
            InsideShape(Child, TPoint{P.X - C.Bounds.Left, P.Y - C.Bounds.Top})) {
            if (C.Style & WS_DISABLED)
                return Wnd;
            return ChildAt(Child, TPoint{P.X - C.Bounds.Left, P.Y - C.Bounds.Top});
        }
    }
    return Wnd;
}

HWND WindowFromPoint(const TPoint& Point)
{
    for (HWND Top : State().TopLevels) {
        const TWindowObject& T = Get(Top);
        if ((T.Style & WS_VISIBLE) && !(T.Style & WS_MINIMIZE) && PtInRect(T.Bounds, Point) &&
            InsideShape(Top, TPoint{Point.X - T.Bounds.Left, Point.Y - T.Bounds.Top})) {
            if (T.Style & WS_DISABLED)
                return 0;
            return ChildAt(Top, TPoint{Point.X - T.Bounds.Left, Point.Y - T.Bounds.Top});
        }
    }
    return 0;
}

HWND SetParent(HWND Wnd, HWND NewParent)
{
    uiloop::CheckThread("SetParent");
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr || NewParent == Wnd || (NewParent != 0 && Find(NewParent) == nullptr) ||
        (NewParent != 0 && IsDescendant(Wnd, NewParent)))
        return 0;
    const HWND Old = Obj->Parent;
    if (Old == NewParent)
        return Old;
    if (Old != 0 && (Obj->Style & WS_VISIBLE))
        uiloop::InvalidateUncovered(Wnd, Obj->Bounds);
    Unlink(*Obj);
    Obj->Parent = NewParent;
    LinkAtFront(*Obj);
    if (NewParent != 0) {
        DestroyNative(*Obj);
        if (GetActiveWindow() == Wnd || GetForegroundWindow() == Wnd)
            uiloop::InputWindowHidden(Wnd);
    } else {
        CreateNative(*Obj);
    }
    UpdatePublication(*Obj);
    uiloop::InvalidateWhole(Wnd);
    return Old;
}

HWND GetParent(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return 0;
    if (Obj->Parent != 0)
        return Obj->Parent;
    return (Obj->Style & WS_POPUP) ? Obj->Owner : 0;
}

HWND GetWindow(HWND Wnd, UINT Relation)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return 0;
    if (Relation == GW_OWNER)
        return Obj->Owner;
    if (Relation == GW_CHILD)
        return Obj->Children.empty() ? 0 : Obj->Children.front();
    const auto& List = Siblings(*Obj);
    auto Here = std::find(List.begin(), List.end(), Wnd);
    switch (Relation) {
    case GW_HWNDFIRST:
        return List.front();
    case GW_HWNDLAST:
        return List.back();
    case GW_HWNDNEXT:
        return Here + 1 != List.end() ? *(Here + 1) : 0;
    case GW_HWNDPREV:
        return Here != List.begin() ? *(Here - 1) : 0;
    default:
        return 0;
    }
}

HWND GetTopLevelWindow(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return 0;
    while (Obj->Parent != 0)
        Obj = Find(Obj->Parent);
    return Obj->Handle;
}

std::vector<HWND> GetChildWindows(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr ? Obj->Children : std::vector<HWND>();
}

HWND GetDlgItem(HWND Dialog, int Id)
{
    HWND Result = 0;
    EnumChildWindows(Dialog, [&](HWND Child) {
        if (GetWindowLong(Child, GWL_ID) != Id)
            return true;
        Result = Child;
        return false;
    });
    return Result;
}

bool EnumWindows(const TEnumWindowsProc& Proc)
{
    for (HWND Wnd : uiloop::TopLevelWindows())
        if (Find(Wnd) != nullptr && !Proc(Wnd))
            return false;
    for (HWND Wnd : uiloop::ForeignWindows())
        if (!Proc(Wnd))
            return false;
    return true;
}

bool EnumChildWindows(HWND Parent, const TEnumWindowsProc& Proc)
{
    for (HWND Child : GetChildWindows(Parent)) {
        if (Find(Child) == nullptr)
            continue;
        if (!Proc(Child) || !EnumChildWindows(Child, Proc))
            return false;
    }
    return true;
}

HWND FindWindow(const char* ClassName, const char* WindowName)
{
    HWND Result = 0;
    EnumWindows([&](HWND Wnd) {
        if ((ClassName == nullptr || AnsiSameText(GetClassName(Wnd), ClassName)) &&
            (WindowName == nullptr || AnsiSameText(GetWindowText(Wnd), WindowName))) {
            Result = Wnd;
            return false;
        }
        return true;
    });
    return Result;
}

HWND GetDesktopWindow()
{
    return DesktopHandle;
}

bool LockWindowUpdate(HWND Wnd)
{
    return Wnd == 0 || Wnd == DesktopHandle || IsWindow(Wnd);
}
