// platform/ui/windowlong.cpp: window longs, the procedure and its subclassing, the caption and the
// enabled state.
#include "platform/ui/window.h"

#include "platform/ui/displaydriver.h"
#include "platform/ui/input.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/windowstate.h"

#include <algorithm>
#include <memory>

using namespace uiwindow;

namespace uiloop {

std::shared_ptr<const TWndProc> WindowProcOf(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr ? Obj->Proc : nullptr;
}

} // namespace uiloop

bool IsWindowEnabled(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr ? !(Obj->Style & WS_DISABLED) : uiloop::IsForeignWindow(Wnd);
}

bool EnableWindow(HWND Wnd, bool Enable)
{
    uiloop::CheckThread("EnableWindow");
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return false;
    const bool WasDisabled = (Obj->Style & WS_DISABLED) != 0;
    if (WasDisabled == !Enable)
        return WasDisabled;
    if (Enable) {
        Obj->Style &= ~WS_DISABLED;
    } else {
        Obj->Style |= WS_DISABLED;
        const HWND Focus = GetFocus();
        if (Focus == Wnd || IsChild(Wnd, Focus))
            SetFocus(0);
        if (GetCapture() == Wnd)
            ReleaseCapture();
    }
    CallProc(Wnd, WM_ENABLE, Enable ? 1 : 0, 0);
    return WasDisabled;
}

LONG_PTR GetWindowLong(HWND Wnd, int Index)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return 0;
    switch (Index) {
    case GWL_STYLE:
        return static_cast<LONG_PTR>(Obj->Style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(Obj->ExStyle);
    case GWL_USERDATA:
        return Obj->UserData;
    case GWL_ID:
        return Obj->Id;
    case GWL_HWNDPARENT:
        return static_cast<LONG_PTR>(Obj->Owner);
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(Obj->Proc.get());
    default:
        return 0;
    }
}

LONG_PTR SetWindowLong(HWND Wnd, int Index, LONG_PTR Value)
{
    uiloop::CheckThread("SetWindowLong");
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return 0;
    const LONG_PTR Old = GetWindowLong(Wnd, Index);
    switch (Index) {
    case GWL_STYLE:
        Obj->Style = static_cast<DWORD>(Value);
        SyncNativeStyle(*Obj);
        break;
    case GWL_EXSTYLE:
        Obj->ExStyle = static_cast<DWORD>(Value);
        SyncNativeStyle(*Obj);
        break;
    case GWL_USERDATA:
        Obj->UserData = Value;
        break;
    case GWL_ID:
        Obj->Id = Value;
        break;
    case GWL_HWNDPARENT:
        Obj->Owner = static_cast<HWND>(Value);
        if (Obj->Native)
            DisplayDriver().SetNativeOwner(Wnd, Obj->Owner);
        break;
    case GWL_WNDPROC:
        if (Value == 0)
            return 0;
        SetWindowProc(Wnd, *reinterpret_cast<const TWndProc*>(Value));
        break;
    default:
        return 0;
    }
    return Old;
}

TWndProc SetWindowProc(HWND Wnd, TWndProc Proc)
{
    uiloop::CheckThread("SetWindowProc");
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return {};
    std::shared_ptr<const TWndProc> Old = Obj->Proc;
    Obj->Retired.push_back(Old);
    Obj->Proc = std::make_shared<const TWndProc>(Proc ? std::move(Proc) : TWndProc(DefWindowProc));
    return *Old;
}

TWndProc GetWindowProc(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr ? *Obj->Proc : TWndProc();
}

LRESULT CallWindowProc(const TWndProc& Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return Proc ? Proc(Wnd, Msg, WParam, LParam) : DefWindowProc(Wnd, Msg, WParam, LParam);
}

LRESULT CallWindowProc(LONG_PTR Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Proc == 0)
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    return CallWindowProc(*reinterpret_cast<const TWndProc*>(Proc), Wnd, Msg, WParam, LParam);
}

bool SetWindowText(HWND Wnd, const std::string& Text)
{
    if (!IsWindow(Wnd) || uiloop::IsForeignWindow(Wnd))
        return false;
    return CallProc(Wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str())) != 0;
}

std::string GetWindowText(HWND Wnd)
{
    if (Find(Wnd) == nullptr) {
        std::string ClassName, Caption;
        uiloop::ForeignInfo(Wnd, ClassName, Caption);
        return Caption;
    }
    const LRESULT Length = CallProc(Wnd, WM_GETTEXTLENGTH, 0, 0);
    if (Length <= 0)
        return {};
    std::string Text(static_cast<std::size_t>(Length) + 1, '\0');
    const LRESULT Got = CallProc(Wnd, WM_GETTEXT, Text.size(), reinterpret_cast<LPARAM>(&Text[0]));
    Text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(Got, 0, Length)));
    return Text;
}

int GetWindowTextLength(HWND Wnd)
{
    if (Find(Wnd) == nullptr)
        return static_cast<int>(GetWindowText(Wnd).size());
    return static_cast<int>(CallProc(Wnd, WM_GETTEXTLENGTH, 0, 0));
}
