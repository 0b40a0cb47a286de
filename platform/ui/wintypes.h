// platform/ui/wintypes.h: the scalar types of window messages (handles, parameters, results)
// and the message records that procedures and the queue pass around.
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/rtl/systypes.h"

#include <cstdint>
#include <functional>

// A window handle: an opaque number, 0 for none, never given twice in one run.
using HWND = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using ATOM = std::uint16_t;

// The procedure of a window.
using TWndProc = std::function<LRESULT(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)>;

// A message as a control's WndProc sees it; Result is the procedure's answer.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// The procedure of a hidden utility window (AllocateHWnd): it sets Message.Result itself and
// calls DefWindowProc for what it does not handle.
using TWndMethod = std::function<void(TMessage& Message)>;

// A message taken from the queue. ExtraInfo ties a key message to the text its key produced.
struct TMsg {
    HWND hwnd = 0;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    TPoint pt;
    std::uint32_t ExtraInfo = 0;
};
using MSG = TMsg;

constexpr WPARAM MakeWParam(unsigned Low, unsigned High)
{
    return static_cast<WPARAM>((Low & 0xFFFFu) | ((High & 0xFFFFu) << 16));
}
constexpr LPARAM MakeLParam(int Low, int High)
{
    return static_cast<LPARAM>(
        static_cast<std::int32_t>((static_cast<std::uint32_t>(Low) & 0xFFFFu) |
                                  ((static_cast<std::uint32_t>(High) & 0xFFFFu) << 16)));
}
constexpr unsigned LoWord(std::uintptr_t Value)
{
    return static_cast<unsigned>(Value & 0xFFFFu);
}
constexpr unsigned HiWord(std::uintptr_t Value)
{
    return static_cast<unsigned>((Value >> 16) & 0xFFFFu);
}
// The signed coordinates packed in a mouse message's LParam.
constexpr int GetXLParam(LPARAM Value)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(Value & 0xFFFF));
}
constexpr int GetYLParam(LPARAM Value)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((Value >> 16) & 0xFFFF));
}
