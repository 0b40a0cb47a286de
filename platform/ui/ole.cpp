// platform/ui/ole.cpp: interface ids, storage media, the initialisation count and the drop
// targets registered per window.
#include "platform/ui/ole.h"

#include "platform/ui/window.h"

#include <cstring>
#include <map>

const IID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IDataObject{0x0000010E, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IEnumFORMATETC{0x00000103, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IDropSource{0x00000121, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IDropTarget{0x00000122, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

bool operator==(const GUID& A, const GUID& B)
{
    return A.Data1 == B.Data1 && A.Data2 == B.Data2 && A.Data3 == B.Data3 &&
           std::memcmp(A.Data4, B.Data4, sizeof A.Data4) == 0;
}

void ReleaseStgMedium(STGMEDIUM* Medium)
{
    if (Medium == nullptr)
        return;
    if (Medium->pUnkForRelease != nullptr)
        Medium->pUnkForRelease->Release();
    else if (Medium->tymed == TYMED_HGLOBAL && Medium->hGlobal != 0)
        GlobalFree(Medium->hGlobal);
    *Medium = STGMEDIUM();
}

namespace {

int InitCount = 0;

std::map<HWND, IDropTarget*>& Targets()
{
    static std::map<HWND, IDropTarget*> Map;
    return Map;
}

// A window that went without revoking its target: the registration goes with it.
void ForgetDeadWindows()
{
    auto& Map = Targets();
    for (auto It = Map.begin(); It != Map.end();) {
        if (IsWindow(It->first)) {
            ++It;
            continue;
        }
        IDropTarget* Target = It->second;
        It = Map.erase(It);
        Target->Release();
    }
}

} // namespace

HRESULT OleInitialize(void*)
{
    return InitCount++ == 0 ? S_OK : S_FALSE;
}

void OleUninitialize()
{
    if (InitCount == 0 || --InitCount > 0)
        return;
    auto Map = std::move(Targets());
    Targets().clear();
    for (auto& Entry : Map)
        Entry.second->Release();
}

HRESULT RegisterDragDrop(HWND Wnd, IDropTarget* Target)
{
    if (Target == nullptr)
        return E_INVALIDARG;
    if (!IsWindow(Wnd))
        return DRAGDROP_E_INVALIDHWND;
    ForgetDeadWindows();
    auto& Map = Targets();
    if (Map.count(Wnd) != 0)
        return DRAGDROP_E_ALREADYREGISTERED;
    Target->AddRef();
    Map[Wnd] = Target;
    return S_OK;
}

HRESULT RevokeDragDrop(HWND Wnd)
{
    auto& Map = Targets();
    const auto It = Map.find(Wnd);
    if (It == Map.end())
        return DRAGDROP_E_NOTREGISTERED;
    IDropTarget* Target = It->second;
    Map.erase(It);
    Target->Release();
    return S_OK;
}

IDropTarget* RegisteredDropTarget(HWND Wnd, HWND* Registered)
{
    ForgetDeadWindows();
    const auto& Map = Targets();
    for (; Wnd != 0 && IsWindow(Wnd); Wnd = IsChild(GetParent(Wnd), Wnd) ? GetParent(Wnd) : 0) {
        const auto It = Map.find(Wnd);
        if (It != Map.end()) {
            if (Registered != nullptr)
                *Registered = Wnd;
            return It->second;
        }
    }
    if (Registered != nullptr)
        *Registered = 0;
    return nullptr;
}
