// platform/ui/x11/x11taskbar.cpp: the program's taskbar entry. The application window (class
// "TApplication") carries it as the classic platform has it, but is never mapped: while it is
// shown, the windows it owns stand on the taskbar; while it is hidden or parked under another
// window (its native window gone), they carry _NET_WM_STATE_SKIP_TASKBAR.
#include "platform/ui/input.h"
#include "platform/ui/window.h"
#include "platform/ui/x11/x11driver.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <vector>

bool TX11Driver::IsApplicationWindow(HWND Wnd) const
{
    return Wnd != 0 && IsWindow(Wnd) && GetClassName(Wnd) == "TApplication";
}

const TX11Driver::TWindow* TX11Driver::ShownOwner(const TWindow& Win)
{
    if (Win.Spec.Owner == 0 || IsApplicationWindow(Win.Spec.Owner))
        return nullptr;
    const TWindow* Owner = Lookup(Win.Spec.Owner);
    return Owner != nullptr && Owner->Show != TNativeShow::Hidden ? Owner : nullptr;
}

bool TX11Driver::SkipsTaskbar(const TWindow& Win)
{
    if (Win.Spec.ExStyle & WS_EX_TOOLWINDOW)
        return true;
    if (Win.Spec.ExStyle & WS_EX_APPWINDOW)
        return false;
    if (IsApplicationWindow(Win.Spec.Owner)) {
        const TWindow* App = Lookup(Win.Spec.Owner);
        return App == nullptr || App->Show == TNativeShow::Hidden;
    }
    // Owned by the window the application window is parked under: off the taskbar, as while the
    // application window is hidden.
    bool ParksApplication = false;
    if (Win.Spec.Owner != 0)
        EnumChildWindows(Win.Spec.Owner, [&](HWND Child) {
            ParksApplication = ParksApplication || IsApplicationWindow(Child);
            return !ParksApplication;
        });
    if (ParksApplication)
        return true;
    // An owned window stands on its shown owner's entry.
    return ShownOwner(Win) != nullptr;
}

void TX11Driver::ApplyOwnedStates(HWND Owner)
{
    for (auto& Entry : FWindows)
        if (Entry.second.Spec.Owner == Owner && Entry.first != Owner) {
            ApplyProperties(Entry.second);
            ApplyState(Entry.second);
        }
}

void TX11Driver::RaiseOwnedWindows(HWND Owner)
{
    std::vector<HWND> Shown;
    for (const auto& Entry : FWindows)
        if (Entry.second.Spec.Owner == Owner && Entry.first != Owner &&
            Entry.second.Show != TNativeShow::Hidden && !OverrideRedirect(Entry.second.Spec))
            Shown.push_back(Entry.first);
    const HWND Active = GetActiveWindow();
    std::stable_partition(Shown.begin(), Shown.end(), [&](HWND Wnd) { return Wnd != Active; });
    for (HWND Wnd : Shown)
        RaiseNativeWindow(Wnd);
}

bool TX11Driver::WindowManagerRuns()
{
    Atom Type = None;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    const bool Runs =
        XGetWindowProperty(FDisplay, FRoot, Intern("_NET_SUPPORTING_WM_CHECK"), 0, 1, False,
                           XA_WINDOW, &Type, &Format, &Count, &After, &Data) == Success &&
        Type == XA_WINDOW && Count == 1;
    if (Data != nullptr)
        XFree(Data);
    return Runs;
}
