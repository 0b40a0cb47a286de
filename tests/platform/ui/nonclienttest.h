// tests/platform/ui/nonclienttest.h: helpers of the non-client and scroll bar tests: a shown
// top-level window with one child of chosen styles, whose procedure records what it receives.
#pragma once

#include "tests/platform/ui/uitest.h"

#include "platform/ui/input.h"

#include <memory>

// A visible popup at (100, 50), 400 x 400, holding a child at (10, 20) of the given size and
// styles. Points given to the Inject helpers are in the child's window coordinates.
class TFramedChild {
public:
    TFramedChild(DWORD Style, DWORD ExStyle, int Width = 120, int Height = 100)
        : Top(WS_POPUP | WS_VISIBLE)
    {
        SetWindowPos(Top.Handle, 0, 100, 50, 400, 400, SWP_NOZORDER | SWP_NOACTIVATE);
        TWndClass Class;
        if (!GetClassInfo("TFramedChild", Class)) {
            Class.ClassName = "TFramedChild";
            RegisterClass(Class);
        }
        Handle = CreateWindowEx(ExStyle, "TFramedChild", "", WS_CHILD | WS_VISIBLE | Style, 10, 20,
                                Width, Height, Top.Handle);
        SetWindowProc(Handle, [this](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
            Messages.push_back(TRecordedMessage{Wnd, Msg, WParam, LParam});
            if (OnMessage)
                return OnMessage(Wnd, Msg, WParam, LParam);
            return DefWindowProc(Wnd, Msg, WParam, LParam);
        });
    }
    ~TFramedChild()
    {
        if (IsWindow(Handle))
            DestroyWindow(Handle);
    }
    TFramedChild(const TFramedChild&) = delete;
    TFramedChild& operator=(const TFramedChild&) = delete;

    std::vector<TRecordedMessage> Only(const std::vector<UINT>& Kinds) const
    {
        std::vector<TRecordedMessage> Result;
        for (const auto& M : Messages)
            for (UINT Kind : Kinds)
                if (M.Msg == Kind)
                    Result.push_back(M);
        return Result;
    }

    void InjectMove(int X, int Y) { InjectMouseMove(Top.Handle, 10 + X, 20 + Y); }
    void InjectButton(bool Down, int X, int Y)
    {
        InjectMouseButton(Top.Handle, 0, Down, 10 + X, 20 + Y);
    }
    TPoint ScreenOf(int X, int Y) const { return TPoint{110 + X, 70 + Y}; }

    TRecordingWindow Top;
    HWND Handle = 0;
    std::vector<TRecordedMessage> Messages;
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> OnMessage;
};
