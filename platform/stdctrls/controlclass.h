// platform/stdctrls/controlclass.h: what the standard controls' window classes share: their
// registration, and the state each of their windows keeps, looked up by handle.
#pragma once

#include "platform/ui/messages.h"
#include "platform/ui/window.h"

#include <memory>
#include <unordered_map>

// Registers the class once; later calls do nothing. Cursor: the pointer over the client area.
void RegisterControlClass(const char* ClassName, UINT Style, const TWndProc& WndProc,
                          TCursor Cursor = crArrow);

// Replaces the low word of the window's style, the bits its class gives meaning to, with Bits.
void SetControlStyleBits(HWND Wnd, DWORD Bits);

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
    // The class's window procedure: WM_NCCREATE goes to DefWindowProc before any state is made,
    // WM_NCDESTROY drops the state, and every other message goes to the window's state.
    LRESULT Handle(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
    {
        if (Msg == WM_NCDESTROY) {
            Erase(Wnd);
            return DefWindowProc(Wnd, Msg, WParam, LParam);
        }
        if (Msg == WM_NCCREATE)
            return DefWindowProc(Wnd, Msg, WParam, LParam);
        return Of(Wnd).Handle(Msg, WParam, LParam);
    }

private:
    std::unordered_map<HWND, std::unique_ptr<TState>> FStates;
};
