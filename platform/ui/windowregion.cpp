// platform/ui/windowregion.cpp: window regions (SetWindowRgn): the shape a window keeps, which
// painting and hit testing respect and a top-level window's native window takes.
#include "platform/ui/window.h"

#include "platform/gfx/region.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/paint.h"
#include "platform/ui/windowstate.h"

#include <map>
#include <memory>

namespace {

std::map<HWND, std::unique_ptr<TRegion>>& Regions()
{
    static std::map<HWND, std::unique_ptr<TRegion>> Map;
    return Map;
}

// Windows destroyed since leave their regions behind until the next change.
void ForgetDeadWindows()
{
    auto& Map = Regions();
    for (auto It = Map.begin(); It != Map.end();)
        It = IsWindow(It->first) ? std::next(It) : Map.erase(It);
}

} // namespace

int SetWindowRgn(HWND Wnd, HRGN Region, bool Redraw)
{
    uiloop::CheckThread("SetWindowRgn");
    uiwindow::TWindowObject* Obj = uiwindow::Find(Wnd);
    if (Obj == nullptr)
        return 0;
    ForgetDeadWindows();
    std::unique_ptr<TRegion> Owned(Region);
    if (Owned)
        Regions()[Wnd] = std::move(Owned);
    else
        Regions().erase(Wnd);
    if (Obj->Native) {
        if (Region != nullptr)
            DisplayDriver().SetNativeShape(Wnd, true, Region->Rects());
        else
            DisplayDriver().SetNativeShape(Wnd, false, {});
    }
    if (Redraw)
        RedrawWindow(Wnd, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return 1;
}

int GetWindowRgn(HWND Wnd, HRGN Region)
{
    const auto& Map = Regions();
    const auto It = Map.find(Wnd);
    if (Region == nullptr || It == Map.end() || !IsWindow(Wnd))
        return RGN_ERROR;
    *Region = *It->second;
    return RegionKind(*Region);
}
