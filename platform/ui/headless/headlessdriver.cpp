#include "platform/ui/headless/headlessdriver.h"

void THeadlessDriver::CreateNativeWindow(HWND Wnd, const TRect& Bounds, const std::string& Caption,
                                         DWORD, DWORD)
{
    FWindows[Wnd] = TNativeWindow{Bounds, Caption, TNativeShow::Hidden, 0};
}

void THeadlessDriver::DestroyNativeWindow(HWND Wnd)
{
    FWindows.erase(Wnd);
}

void THeadlessDriver::ShowNativeWindow(HWND Wnd, TNativeShow Show)
{
    auto Found = FWindows.find(Wnd);
    if (Found != FWindows.end())
        Found->second.Show = Show;
}

void THeadlessDriver::MoveNativeWindow(HWND Wnd, const TRect& Bounds)
{
    auto Found = FWindows.find(Wnd);
    if (Found != FWindows.end())
        Found->second.Bounds = Bounds;
}

void THeadlessDriver::SetNativeCaption(HWND Wnd, const std::string& Caption)
{
    auto Found = FWindows.find(Wnd);
    if (Found != FWindows.end())
        Found->second.Caption = Caption;
}

void THeadlessDriver::RaiseNativeWindow(HWND Wnd)
{
    auto Found = FWindows.find(Wnd);
    if (Found != FWindows.end())
        ++Found->second.Raised;
}

const THeadlessDriver::TNativeWindow* THeadlessDriver::Find(HWND Wnd) const
{
    auto Found = FWindows.find(Wnd);
    return Found != FWindows.end() ? &Found->second : nullptr;
}

std::unique_ptr<IDisplayDriver> CreateHeadlessDriver()
{
    return std::make_unique<THeadlessDriver>();
}
