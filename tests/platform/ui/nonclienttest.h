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
        : Top(WS_POPUP | WS_VISIBLE),
          Child(WS_CHILD | WS_VISIBLE | Style, Top.Handle, "TFramedChild", "", 0, ExStyle,
                TRect{10, 20, 10 + Width, 20 + Height})
    {
        SetWindowPos(Top.Handle, 0, 100, 50, 400, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    std::vector<TRecordedMessage> Only(const std::vector<UINT>& Kinds) const
    {
        return Child.Only(Kinds);
    }

    void InjectMove(int X, int Y) { InjectMouseMove(Top.Handle, 10 + X, 20 + Y); }
    void InjectButton(bool Down, int X, int Y)
    {
        InjectMouseButton(Top.Handle, 0, Down, 10 + X, 20 + Y);
    }
    TPoint ScreenOf(int X, int Y) const { return TPoint{110 + X, 70 + Y}; }

    TRecordingWindow Top;
    TRecordingWindow Child;
    HWND& Handle = Child.Handle;
    std::vector<TRecordedMessage>& Messages = Child.Messages;
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>& OnMessage = Child.OnMessage;
};
