// tests/platform/ui/uitest.h: helpers of the message-loop tests: a window that records what its
// procedure receives.
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

#include <functional>
#include <string>
#include <vector>

struct TRecordedMessage {
    HWND Wnd;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
};

// A window whose procedure records every message and then runs OnMessage (when set) or
// DefWindowProc. Destroyed with the object.
class TRecordingWindow {
public:
    explicit TRecordingWindow(DWORD Style = WS_POPUP, HWND Parent = 0,
                              const std::string& ClassName = "TRecordingWindow",
                              const std::string& Caption = "", UINT ClassStyle = 0,
                              DWORD ExStyle = 0, const TRect& Bounds = TRect{0, 0, 100, 50})
    {
        TWndClass Class;
        if (!GetClassInfo(ClassName, Class)) {
            Class.ClassName = ClassName;
            Class.Style = ClassStyle;
            RegisterClass(Class);
        }
        Handle = CreateWindowEx(ExStyle, ClassName, Caption, Style, Bounds.Left, Bounds.Top,
                                Bounds.Width(), Bounds.Height(), Parent);
        SetWindowProc(Handle, [this](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
            Messages.push_back(TRecordedMessage{Wnd, Msg, WParam, LParam});
            if (OnMessage)
                return OnMessage(Wnd, Msg, WParam, LParam);
            return DefWindowProc(Wnd, Msg, WParam, LParam);
        });
    }
    ~TRecordingWindow()
    {
        if (IsWindow(Handle))
            DestroyWindow(Handle);
    }
    TRecordingWindow(const TRecordingWindow&) = delete;
    TRecordingWindow& operator=(const TRecordingWindow&) = delete;

    // The messages of the given numbers, in order.
    std::vector<TRecordedMessage> Only(const std::vector<UINT>& Kinds) const
    {
        std::vector<TRecordedMessage> Result;
        for (const auto& M : Messages)
            for (UINT Kind : Kinds)
                if (M.Msg == Kind)
                    Result.push_back(M);
        return Result;
    }

    HWND Handle = 0;
    std::vector<TRecordedMessage> Messages;
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> OnMessage;
};

// Dispatches everything waiting (timers included) without blocking.
void PumpPending();
