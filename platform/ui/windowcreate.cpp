// platform/ui/windowcreate.cpp: creating and destroying windows, and the hidden utility windows.
#include "platform/ui/window.h"

#include "platform/ui/displaydriver.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/windowstate.h"

#include <algorithm>
#include <memory>

using namespace uiwindow;

namespace uiloop {

HWND NewHandle()
{
    return ++State().LastHandle;
}

} // namespace uiloop

HWND CreateWindowEx(DWORD ExStyle, const std::string& ClassName, const std::string& WindowName,
                    DWORD Style, int X, int Y, int Width, int Height, HWND Parent,
                    LPARAM CreateParams)
{
    uiloop::CheckThread("CreateWindowEx");
    TWndClass Class;
    if (!GetClassInfo(ClassName, Class))
        return 0;
    if ((Style & WS_CHILD) && Parent == 0)
        return 0;
    if (Parent != 0 && Find(Parent) == nullptr)
        return 0;

    auto Obj = std::make_unique<TWindowObject>();
    const HWND Wnd = uiloop::NewHandle();
    Obj->Handle = Wnd;
    Obj->ClassName = Class.ClassName;
    Obj->ClassStyle = Class.Style;
    Obj->Style = Style & ~WS_VISIBLE;
    Obj->ExStyle = ExStyle;
    Obj->Text = WindowName;
    Obj->Bounds = Bounds(X, Y, std::max(Width, 0), std::max(Height, 0));
    Obj->NormalBounds = Obj->Bounds;
    Obj->Client = Bounds(0, 0, Obj->Bounds.Width(), Obj->Bounds.Height());
    Obj->Proc =
        std::make_shared<const TWndProc>(Class.WndProc ? Class.WndProc : TWndProc(DefWindowProc));
    if (Style & WS_CHILD)
        Obj->Parent = Parent;
    else
        Obj->Owner = Parent != 0 ? GetTopLevelWindow(Parent) : 0;
    LinkAtFront(*Obj);
    TWindowObject& Ref = *Obj;
    State().Windows.emplace(Wnd, std::move(Obj));
    if (Ref.Parent == 0)
        CreateNative(Ref);

    TCreateStruct Create;
    Create.CreateParams = CreateParams;
    Create.Parent = Parent;
    Create.X = X;
    Create.Y = Y;
    Create.Width = Width;
    Create.Height = Height;
    Create.Style = Style;
    Create.ExStyle = ExStyle;
    Create.WindowName = WindowName;
    Create.ClassName = Class.ClassName;
    bool Refused = CallProc(Wnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&Create)) == 0;
    if (!Refused) {
        CalcClientArea(Wnd);
        Refused =
            !IsWindow(Wnd) || CallProc(Wnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&Create)) == -1;
    }
    if (Refused) {
        DestroyWindow(Wnd);
        return 0;
    }
    TWindowObject* Created = Find(Wnd);
    if (Created == nullptr)
        return 0;
    const TRect R = Created->Bounds;
    CallProc(Wnd, WM_SIZE, SIZE_RESTORED,
             MakeLParam(Created->Client.Width(), Created->Client.Height()));
    CallProc(Wnd, WM_MOVE, 0, MakeLParam(R.Left, R.Top));
    if ((Created = Find(Wnd)) == nullptr)
        return 0;
    UpdatePublication(*Created);
    if (Style & WS_VISIBLE)
        ShowWindow(Wnd, SW_SHOW);
    return IsWindow(Wnd) ? Wnd : 0;
}

bool DestroyWindow(HWND Wnd)
{
    uiloop::CheckThread("DestroyWindow");
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr || Obj->Destroying)
        return false;
    Obj->Destroying = true;
    UpdatePublication(*Obj);
    std::vector<HWND> Owned;
    for (HWND Top : State().TopLevels)
        if (Top != Wnd && Get(Top).Owner == Wnd)
            Owned.push_back(Top);
    for (HWND Top : Owned)
        DestroyWindow(Top);

    if ((Obj = Find(Wnd))->Style & WS_VISIBLE) {
        Obj->Style &= ~WS_VISIBLE;
        if (Obj->Parent != 0)
            uiloop::InvalidateUncovered(Wnd, Obj->Bounds);
        if (Obj->Native)
            DisplayDriver().ShowNativeWindow(Wnd, TNativeShow::Hidden);
        uiloop::InputWindowHidden(Wnd);
    }
    CallProc(Wnd, WM_DESTROY, 0, 0);
    const std::vector<HWND> Children = Get(Wnd).Children;
    for (HWND Child : Children)
        DestroyWindow(Child);
    CallProc(Wnd, WM_NCDESTROY, 0, 0);

    uiloop::KillWindowTimers(Wnd);
    uiloop::InputWindowDestroyed(Wnd);
    uiloop::PaintWindowDestroyed(Wnd);
    Obj = Find(Wnd);
    Unlink(*Obj);
    DestroyNative(*Obj);
    // Ownership ends here; a procedure still running keeps its own copy alive.
    State().Windows.erase(Wnd);
    for (auto& Entry : State().Windows)
        if (Entry.second->Owner == Wnd)
            Entry.second->Owner = 0;
    return true;
}

bool IsWindow(HWND Wnd)
{
    return Find(Wnd) != nullptr || uiloop::IsForeignWindow(Wnd);
}

HWND AllocateHWnd(TWndMethod Method)
{
    uiloop::CheckThread("AllocateHWnd");
    TWndClass Class;
    if (!GetClassInfo(UtilWindowClass, Class)) {
        Class.ClassName = UtilWindowClass;
        RegisterClass(Class);
    }
    const HWND Wnd = CreateWindowEx(WS_EX_TOOLWINDOW, UtilWindowClass, "", WS_POPUP, 0, 0, 0, 0, 0);
    if (Wnd != 0 && Method)
        SetWindowProc(Wnd, [Method](HWND, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
            TMessage Message{Msg, WParam, LParam, 0};
            Method(Message);
            return Message.Result;
        });
    return Wnd;
}

void DeallocateHWnd(HWND Wnd)
{
    DestroyWindow(Wnd);
}

int WindowCount()
{
    return static_cast<int>(State().Windows.size());
}
