// platform/ui/windowclass.cpp: window classes: registering them by name and looking them up.
#include "platform/ui/window.h"

#include "platform/rtl/strings.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/windowstate.h"

using namespace uiwindow;

namespace uiloop {

bool ClassHasDoubleClicks(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr && (Obj->ClassStyle & CS_DBLCLKS) != 0;
}

TCursor ClassCursor(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    TWndClass Class;
    if (Obj == nullptr || !GetClassInfo(Obj->ClassName, Class))
        return crDefault;
    return Class.Cursor;
}

} // namespace uiloop

bool RegisterClass(const TWndClass& Class)
{
    uiloop::CheckThread("RegisterClass");
    if (Class.ClassName.empty())
        return false;
    return State().Classes.emplace(LowerCase(Class.ClassName), Class).second;
}

bool UnregisterClass(const std::string& ClassName)
{
    uiloop::CheckThread("UnregisterClass");
    const std::string Key = LowerCase(ClassName);
    for (const auto& Entry : State().Windows)
        if (LowerCase(Entry.second->ClassName) == Key)
            return false; // still in use
    return State().Classes.erase(Key) > 0;
}

bool GetClassInfo(const std::string& ClassName, TWndClass& Class)
{
    auto& Classes = State().Classes;
    auto Found = Classes.find(LowerCase(ClassName));
    if (Found == Classes.end())
        return false;
    Class = Found->second;
    return true;
}

std::string GetClassName(HWND Wnd)
{
    if (const TWindowObject* Obj = Find(Wnd))
        return Obj->ClassName;
    std::string ClassName, Caption;
    if (uiloop::ForeignInfo(Wnd, ClassName, Caption))
        return ClassName;
    return {};
}
