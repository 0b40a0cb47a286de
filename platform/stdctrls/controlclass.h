// platform/stdctrls/controlclass.h: what the standard controls' window classes share: their
// registration, and the state each of their windows keeps, looked up by handle.
#pragma once

#include "platform/ui/window.h"

#include <memory>
#include <unordered_map>

// Registers the class once; later calls do nothing. Cursor: the pointer over the client area.
void RegisterControlClass(const char* ClassName, UINT Style, const TWndProc& WndProc,
                          TCursor Cursor = crArrow);

// The state of each window of a class: made on first use, dropped at WM_NCDESTROY.
template <class TState>
class TWindowStates {
public:
    TState& Of(HWND Wnd)
    {
        auto& Slot = FStates[Wnd];
        if (!Slot)
            Slot = std::make_unique<TState>(Wnd);
        return *Slot;
    }
    TState* Find(HWND Wnd) const
    {
        auto Found = FStates.find(Wnd);
        return Found != FStates.end() ? Found->second.get() : nullptr;
    }
    void Erase(HWND Wnd) { FStates.erase(Wnd); }

private:
    std::unordered_map<HWND, std::unique_ptr<TState>> FStates;
};
