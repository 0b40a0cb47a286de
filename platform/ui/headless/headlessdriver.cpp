#include "platform/ui/headless/headlessdriver.h"

#include <algorithm>

void THeadlessDriver::CreateNativeWindow(HWND Wnd, const TNativeWindowSpec& Spec)
{
    TNativeWindow Native;
    Place(Native, Spec.Bounds, Spec.RelativeTo);
    Native.Caption = Spec.Caption;
    Native.ClassName = Spec.ClassName;
    Native.Style = Spec.Style;
    Native.ExStyle = Spec.ExStyle;
    Native.Owner = Spec.Owner;
    FWindows[Wnd] = std::move(Native);
}

void THeadlessDriver::DestroyNativeWindow(HWND Wnd)
{
    FWindows.erase(Wnd);
    if (FCapture == Wnd)
        FCapture = 0;
}

void THeadlessDriver::ShowNativeWindow(HWND Wnd, TNativeShow Show)
{
    if (TNativeWindow* Native = Lookup(Wnd))
        Native->Show = Show;
}

void THeadlessDriver::MoveNativeWindow(HWND Wnd, const TRect& Bounds, HWND RelativeTo)
{
    if (TNativeWindow* Native = Lookup(Wnd))
        Place(*Native, Bounds, RelativeTo);
}

void THeadlessDriver::Place(TNativeWindow& Native, const TRect& Bounds, HWND RelativeTo) const
{
    Native.Placed = Native.Bounds = Bounds;
    Native.RelativeTo = RelativeTo;
    if (const TNativeWindow* Origin = RelativeTo != 0 ? Find(RelativeTo) : nullptr)
        OffsetRect(Native.Bounds, Origin->Bounds.Left, Origin->Bounds.Top);
}

void THeadlessDriver::SetNativeCaption(HWND Wnd, const std::string& Caption)
{
    if (TNativeWindow* Native = Lookup(Wnd))
        Native->Caption = Caption;
}

void THeadlessDriver::SetNativeOwner(HWND Wnd, HWND Owner)
{
    if (TNativeWindow* Native = Lookup(Wnd))
        Native->Owner = Owner;
}

void THeadlessDriver::SetNativeStyle(HWND Wnd, DWORD Style, DWORD ExStyle)
{
    if (TNativeWindow* Native = Lookup(Wnd)) {
        Native->Style = Style;
        Native->ExStyle = ExStyle;
    }
}

void THeadlessDriver::RaiseNativeWindow(HWND Wnd)
{
    if (TNativeWindow* Native = Lookup(Wnd))
        ++Native->Raised;
}

void THeadlessDriver::Present(HWND Wnd, const std::uint32_t* Pixels, int Width, int Height,
                              int Stride, const TRect& Dirty)
{
    TNativeWindow* Native = Lookup(Wnd);
    if (Native == nullptr || Pixels == nullptr || Width <= 0 || Height <= 0 || Stride < Width)
        return;
    if (Native->Width != Width || Native->Height != Height) {
        Native->Width = Width;
        Native->Height = Height;
        Native->Pixels.assign(static_cast<std::size_t>(Width) * Height, 0);
    }
    const int Left = std::max(Dirty.Left, 0), Right = std::min(Dirty.Right, Width);
    const int Top = std::max(Dirty.Top, 0), Bottom = std::min(Dirty.Bottom, Height);
    for (int Y = Top; Y < Bottom && Left < Right; ++Y)
        std::copy(Pixels + static_cast<std::size_t>(Y) * Stride + Left,
                  Pixels + static_cast<std::size_t>(Y) * Stride + Right,
                  Native->Pixels.begin() + static_cast<std::ptrdiff_t>(Y) * Width + Left);
    ++Native->Presents;
}

THeadlessDriver::TNativeWindow* THeadlessDriver::Lookup(HWND Wnd)
{
    auto Found = FWindows.find(Wnd);
    return Found != FWindows.end() ? &Found->second : nullptr;
}

const THeadlessDriver::TNativeWindow* THeadlessDriver::Find(HWND Wnd) const
{
    auto Found = FWindows.find(Wnd);
    return Found != FWindows.end() ? &Found->second : nullptr;
}

namespace {

// Runs anywhere, so it comes last: the driver when no display can be shown on.
const TBackEndRegistration<IDisplayDriver>
    Registration(DisplayBackEnds(),
                 {"headless", 1000, nullptr, [] { return std::make_unique<THeadlessDriver>(); }});

} // namespace

TARNWICK_BACKEND_ANCHOR(headless);
