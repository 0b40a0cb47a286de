// platform/ui/windowstate.cpp: the window objects and the z-order lists they stand in, shared by
// the window*.cpp files.
#include "platform/ui/windowstate.h"

#include "platform/rtl/strings.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/queue.h"

#include <algorithm>

namespace uiwindow {

TWindowState& State()
{
    static TWindowState S;
    return S;
}

TWindowObject* Find(HWND Wnd)
{
    auto& Windows = State().Windows;
    auto Found = Windows.find(Wnd);
    return Found != Windows.end() ? Found->second.get() : nullptr;
}

TWindowObject& Get(HWND Wnd)
{
    return *Find(Wnd);
}

std::vector<HWND>& Siblings(const TWindowObject& Obj)
{
    if (Obj.Parent != 0)
        return Get(Obj.Parent).Children;
    return State().TopLevels;
}

void Unlink(const TWindowObject& Obj)
{
    auto& List = Siblings(Obj);
    List.erase(std::remove(List.begin(), List.end(), Obj.Handle), List.end());
}

void LinkAtFront(const TWindowObject& Obj)
{
    auto& List = Siblings(Obj);
    List.insert(List.begin(), Obj.Handle);
}

bool IsDescendant(HWND Ancestor, HWND Wnd)
{
    for (TWindowObject* Obj = Find(Wnd); Obj != nullptr; Obj = Find(Obj->Parent))
        if (Obj->Parent == Ancestor)
            return true;
    return false;
}

TPoint ScreenOrigin(const TWindowObject& Obj)
{
    TPoint P{Obj.Bounds.Left, Obj.Bounds.Top};
    for (HWND Up = Obj.Parent; Up != 0;) {
        const TWindowObject& Parent = Get(Up);
        P.X += Parent.Bounds.Left + Parent.Client.Left;
        P.Y += Parent.Bounds.Top + Parent.Client.Top;
        Up = Parent.Parent;
    }
    return P;
}

TPoint ClientScreenOrigin(const TWindowObject& Obj)
{
    const TPoint P = ScreenOrigin(Obj);
    return TPoint{P.X + Obj.Client.Left, P.Y + Obj.Client.Top};
}

static bool Publishable(const TWindowObject& Obj)
{
    return Obj.Parent == 0 && !Obj.Destroying && !SameText(Obj.ClassName, UtilWindowClass);
}

void UpdatePublication(TWindowObject& Obj)
{
    if (Publishable(Obj)) {
        Obj.Published = true;
        uiloop::Publish(Obj.Handle, Obj.ClassName, Obj.Text);
    } else if (Obj.Published) {
        Obj.Published = false;
        uiloop::Withdraw(Obj.Handle);
    }
}

TNativeShow NativeShowOf(const TWindowObject& Obj)
{
    if (!(Obj.Style & WS_VISIBLE))
        return TNativeShow::Hidden;
    if (Obj.Style & WS_MINIMIZE)
        return TNativeShow::Minimized;
    if (Obj.Style & WS_MAXIMIZE)
        return TNativeShow::Maximized;
    return TNativeShow::Normal;
}

void CreateNative(TWindowObject& Obj)
{
    TNativeWindowSpec Spec;
    Spec.ClassName = Obj.ClassName;
    Spec.Caption = Obj.Text;
    const TNativeBounds Native = NativeBoundsOf(Obj.Bounds, Obj.Style, Obj.Owner);
    Spec.Bounds = Native.Bounds;
    Spec.RelativeTo = Native.RelativeTo;
    Spec.Style = Obj.Style;
    Spec.ExStyle = Obj.ExStyle;
    Spec.Owner = Obj.Owner;
    DisplayDriver().CreateNativeWindow(Obj.Handle, Spec);
    Obj.Native = true;
    if (Obj.Style & WS_VISIBLE)
        DisplayDriver().ShowNativeWindow(Obj.Handle, NativeShowOf(Obj));
}

void DestroyNative(TWindowObject& Obj)
{
    if (Obj.Native) {
        Obj.Native = false;
        DisplayDriver().DestroyNativeWindow(Obj.Handle);
    }
}

void SyncNativeStyle(const TWindowObject& Obj)
{
    if (Obj.Native)
        DisplayDriver().SetNativeStyle(Obj.Handle, Obj.Style, Obj.ExStyle);
}

LRESULT CallProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return SendMessage(Wnd, Msg, WParam, LParam);
}

} // namespace uiwindow
