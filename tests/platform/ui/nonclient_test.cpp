// Non-client areas: the client area each style leaves, coordinates inside it, hit testing, the
// non-client mouse messages, a captionless pop-up's own border, a band a procedure keeps at the top
// of a top-level window, and WM_SETREDRAW.
#include "tests/platform/ui/nonclienttest.h"

#include "platform/gfx/rasterdevice.h"
#include "platform/ui/backbuffer.h"
#include "platform/ui/hooks.h"
#include "platform/ui/nonclient.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/windowdc.h"

#include <gtest/gtest.h>

namespace {

// Where the client area lies in the window's own coordinates.
TRect ClientInWindow(HWND Wnd)
{
    TRect Window, Client;
    GetWindowRect(Wnd, Window);
    GetClientRect(Wnd, Client);
    TPoint Origin{0, 0};
    ClientToScreen(Wnd, Origin);
    OffsetRect(Client, Origin.X - Window.Left, Origin.Y - Window.Top);
    return Client;
}

} // namespace

TEST(NonClient, TheStylesDecideTheClientArea)
{
    struct TCase {
        const char* Name;
        DWORD Style, ExStyle;
        TRect Client; // in window coordinates of a 120 x 100 child
    };
    const std::vector<TCase> Cases = {
        {"plain", 0, 0, Rect(0, 0, 120, 100)},
        {"border", WS_BORDER, 0, Rect(1, 1, 119, 99)},
        {"client edge", 0, WS_EX_CLIENTEDGE, Rect(2, 2, 118, 98)},
        {"border and edge", WS_BORDER, WS_EX_CLIENTEDGE, Rect(3, 3, 117, 97)},
        {"vertical bar", WS_VSCROLL, 0, Rect(0, 0, 104, 100)},
        {"horizontal bar", WS_HSCROLL, 0, Rect(0, 0, 120, 84)},
        {"both bars and edge", WS_HSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE, Rect(2, 2, 102, 82)},
    };
    for (const TCase& Case : Cases) {
        TFramedChild W(Case.Style, Case.ExStyle);
        EXPECT_EQ(ClientInWindow(W.Handle), Case.Client) << Case.Name;
        TRect Client;
        GetClientRect(W.Handle, Client);
        EXPECT_EQ(Client, Rect(0, 0, Case.Client.Width(), Case.Client.Height())) << Case.Name;
        // The client origin on the screen, and back.
        TPoint P{5, 7};
        ClientToScreen(W.Handle, P);
        EXPECT_EQ(P, W.ScreenOf(Case.Client.Left + 5, Case.Client.Top + 7)) << Case.Name;
        ScreenToClient(W.Handle, P);
        EXPECT_EQ(P, (TPoint{5, 7})) << Case.Name;

        // A size change tells the client area's size.
        W.Messages.clear();
        SetWindowPos(W.Handle, 0, 0, 0, 140, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const auto Sizes = W.Only({WM_SIZE});
        ASSERT_EQ(Sizes.size(), 1u) << Case.Name;
        EXPECT_EQ(Sizes[0].LParam, MakeLParam(Case.Client.Width() + 20, Case.Client.Height() + 20))
            << Case.Name;
    }
}

// The window manager frames top-level windows, but not captionless pop-ups (menus, drop-down
// lists): their WS_BORDER is reserved and drawn here, as a child's is.
TEST(NonClient, ACaptionlessPopUpDrawsItsOwnBorder)
{
    struct TCase {
        const char* Name;
        DWORD Style;
        bool Border;
    };
    const std::vector<TCase> Cases = {
        {"pop-up with a border", WS_POPUP | WS_BORDER, true},
        {"plain pop-up", WS_POPUP, false},
        {"pop-up with a caption", WS_POPUP | WS_CAPTION, false},
        {"sizeable pop-up", WS_POPUP | WS_BORDER | WS_THICKFRAME, false},
        {"overlapped with a border", WS_BORDER, false},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TRecordingWindow Top(Case.Style);
        SetWindowPos(Top.Handle, 0, 200, 100, 120, 100, SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(Top.Handle, SW_SHOWNA);
        PumpPending();
        EXPECT_EQ(ClientInWindow(Top.Handle),
                  Case.Border ? Rect(1, 1, 119, 99) : Rect(0, 0, 120, 100));
        const TBackBuffer* Buffer = WindowBackBuffer(Top.Handle);
        ASSERT_NE(Buffer, nullptr);
        const TColor Frame = ColorToRGB(clWindowFrame);
        for (const TPoint P : {TPoint{60, 0}, TPoint{0, 50}, TPoint{119, 50}, TPoint{60, 99}})
            EXPECT_EQ(Buffer->Raster().Pixel(P.X, P.Y) == Frame, Case.Border) << P.X << "," << P.Y;
        EXPECT_NE(Buffer->Raster().Pixel(60, 50), Frame);
    }
}

TEST(NonClient, ChildrenSitInsideTheParentsClientArea)
{
    TFramedChild W(WS_BORDER | WS_VSCROLL, WS_EX_CLIENTEDGE);
    TRecordingWindow Inner(WS_CHILD | WS_VISIBLE, W.Handle, "TRecordingWindow");
    SetWindowPos(Inner.Handle, 0, 4, 6, 200, 30, SWP_NOZORDER | SWP_NOACTIVATE);
    TRect R;
    GetWindowRect(Inner.Handle, R);
    EXPECT_EQ(R.Left, 110 + 3 + 4);
    EXPECT_EQ(R.Top, 70 + 3 + 6);
    EXPECT_EQ(BoundsInParent(Inner.Handle), Rect(4, 6, 204, 36));

    // The child reaches under the parent's scroll bar, which still takes the mouse there.
    EXPECT_EQ(WindowFromPoint(W.ScreenOf(50, 15)), Inner.Handle);
    EXPECT_EQ(WindowFromPoint(W.ScreenOf(110, 15)), W.Handle);

    // Client mouse messages carry client coordinates.
    InjectMouseButton(W.Top.Handle, 0, true, 10 + 3 + 4 + 8, 20 + 3 + 6 + 9);
    InjectMouseButton(W.Top.Handle, 0, false, 10 + 3 + 4 + 8, 20 + 3 + 6 + 9);
    PumpPending();
    const auto Downs = Inner.Only({WM_LBUTTONDOWN});
    ASSERT_EQ(Downs.size(), 1u);
    EXPECT_EQ(Downs[0].LParam, MakeLParam(8, 9));
}

TEST(NonClient, HitTestingNamesThePartsOfTheFrame)
{
    TFramedChild W(WS_HSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE);
    struct TCase {
        int X, Y;
        int Code;
    };
    const std::vector<TCase> Cases = {
        {5, 5, HTCLIENT},    {101, 81, HTCLIENT}, {0, 0, HTBORDER},     {1, 50, HTBORDER},
        {119, 50, HTBORDER}, {60, 99, HTBORDER},  {102, 10, HTVSCROLL}, {117, 81, HTVSCROLL},
        {50, 82, HTHSCROLL}, {2, 97, HTHSCROLL},  {110, 90, HTGROWBOX}, {-1, 5, HTNOWHERE},
        {120, 5, HTNOWHERE}, {5, 100, HTNOWHERE},
    };
    for (const TCase& Case : Cases) {
        const TPoint P = W.ScreenOf(Case.X, Case.Y);
        EXPECT_EQ(SendMessage(W.Handle, WM_NCHITTEST, 0, MakeLParam(P.X, P.Y)), Case.Code)
            << Case.X << "," << Case.Y;
    }
}

TEST(NonClient, MouseOverTheFrameBringsNonClientMessagesThatMouseHooksSee)
{
    TFramedChild W(WS_HSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE);
    struct TSeen {
        UINT Msg;
        HWND Wnd;
        UINT HitCode;
    };
    std::vector<TSeen> Seen;
    HHOOK Hook = 0;
    Hook = SetWindowsHookEx(WH_MOUSE, [&](int Code, WPARAM WParam, LPARAM LParam) {
        const auto* Info = reinterpret_cast<const TMouseHookStruct*>(LParam);
        if (Code == HC_ACTION)
            Seen.push_back(TSeen{static_cast<UINT>(WParam), Info->hwnd, Info->wHitTestCode});
        return CallNextHookEx(Hook, Code, WParam, LParam);
    });
    W.InjectMove(110, 90);        // the size box
    W.InjectMove(1, 40);          // the edge
    W.InjectMove(30, 40);         // the client area
    W.InjectButton(true, 50, 90); // a page click on the horizontal bar's track
    W.InjectButton(false, 50, 90);
    PumpPending();
    UnhookWindowsHookEx(Hook);

    const std::vector<std::pair<UINT, UINT>> Expected = {{WM_NCMOUSEMOVE, HTGROWBOX},
                                                         {WM_NCMOUSEMOVE, HTBORDER},
                                                         {WM_MOUSEMOVE, HTCLIENT},
                                                         {WM_NCLBUTTONDOWN, HTHSCROLL},
                                                         {WM_NCLBUTTONUP, HTHSCROLL}};
    std::vector<std::pair<UINT, UINT>> Hooked;
    for (const TSeen& S : Seen) {
        EXPECT_EQ(S.Wnd, W.Handle);
        Hooked.emplace_back(S.Msg, S.HitCode);
    }
    EXPECT_EQ(Hooked, Expected);

    const auto Received = W.Only({WM_NCMOUSEMOVE, WM_MOUSEMOVE, WM_NCLBUTTONDOWN});
    ASSERT_EQ(Received.size(), 4u);
    const TPoint Box = W.ScreenOf(110, 90);
    EXPECT_EQ(Received[0].WParam, WPARAM(HTGROWBOX));
    EXPECT_EQ(Received[0].LParam, MakeLParam(Box.X, Box.Y)) << "screen coordinates";
    EXPECT_EQ(Received[2].LParam, MakeLParam(28, 38)) << "client coordinates";
    const TPoint Bar = W.ScreenOf(50, 90);
    EXPECT_EQ(Received[3].LParam, MakeLParam(Bar.X, Bar.Y));
}

TEST(NonClient, AProcedureKeepsABandAtTheTopOfATopLevelWindow)
{
    constexpr int Band = 20;
    TRecordingWindow Top(WS_POPUP);
    SetWindowPos(Top.Handle, 0, 200, 100, 160, 120, SWP_NOZORDER | SWP_NOACTIVATE);
    int NcPaints = 0;
    Top.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
        switch (Msg) {
        case WM_NCCALCSIZE: {
            const LRESULT Result = DefWindowProc(Wnd, Msg, WParam, LParam);
            reinterpret_cast<TNCCalcSizeParams*>(LParam)->rgrc[0].Top += Band;
            return Result;
        }
        case WM_NCHITTEST: {
            const LRESULT Code = DefWindowProc(Wnd, Msg, WParam, LParam);
            return Code == HTNOWHERE ? LRESULT(HTMENU) : Code;
        }
        case WM_NCPAINT: {
            ++NcPaints;
            HDC DC = GetWindowDC(Wnd);
            DC->Brush()->SetColor(clRed);
            DC->FillRect(Rect(0, 0, 160, Band));
            ReleaseDC(Wnd, DC);
            return 0;
        }
        default:
            return DefWindowProc(Wnd, Msg, WParam, LParam);
        }
    };
    // The default frame of a top-level window is empty; the procedure's answer counts once the
    // frame is calculated again.
    TRect Client;
    GetClientRect(Top.Handle, Client);
    EXPECT_EQ(Client, Rect(0, 0, 160, 120));
    Top.Messages.clear();
    SetWindowPos(Top.Handle, 0, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    GetClientRect(Top.Handle, Client);
    EXPECT_EQ(Client, Rect(0, 0, 160, 120 - Band));
    const auto Sizes = Top.Only({WM_SIZE});
    ASSERT_EQ(Sizes.size(), 1u);
    EXPECT_EQ(Sizes[0].LParam, MakeLParam(160, 120 - Band));
    TPoint Origin{0, 0};
    ClientToScreen(Top.Handle, Origin);
    EXPECT_EQ(Origin, (TPoint{200, 100 + Band}));
    TRect Window;
    GetWindowRect(Top.Handle, Window);
    EXPECT_EQ(Window, Rect(200, 100, 360, 220)) << "the native window keeps its size";

    // Shown, the band is painted through WM_NCPAINT into the window's picture, above the client.
    ShowWindow(Top.Handle, SW_SHOW);
    PumpPending();
    EXPECT_EQ(NcPaints, 1);
    const TBackBuffer* Buffer = WindowBackBuffer(Top.Handle);
    ASSERT_NE(Buffer, nullptr);
    EXPECT_EQ(Buffer->Raster().Width(), 160);
    EXPECT_EQ(Buffer->Raster().Height(), 120);
    EXPECT_EQ(Buffer->Raster().Pixel(80, Band - 1), clRed);
    EXPECT_NE(Buffer->Raster().Pixel(80, Band), clRed);

    // A click in the band is a non-client click on the procedure's part; below it, a client one.
    Top.Messages.clear();
    InjectMouseButton(Top.Handle, 0, true, 30, -5);
    InjectMouseButton(Top.Handle, 0, false, 30, -5);
    InjectMouseButton(Top.Handle, 0, true, 30, 5);
    PumpPending();
    const auto Clicks = Top.Only({WM_NCLBUTTONDOWN, WM_LBUTTONDOWN});
    ASSERT_EQ(Clicks.size(), 2u);
    EXPECT_EQ(Clicks[0].Msg, UINT(WM_NCLBUTTONDOWN));
    EXPECT_EQ(Clicks[0].WParam, WPARAM(HTMENU));
    EXPECT_EQ(Clicks[0].LParam, MakeLParam(230, 100 + Band - 5));
    EXPECT_EQ(Clicks[1].Msg, UINT(WM_LBUTTONDOWN));
    EXPECT_EQ(Clicks[1].LParam, MakeLParam(30, 5));
    InjectMouseButton(Top.Handle, 0, false, 30, 5);
    PumpPending();
}

TEST(NonClient, AStyleChangeTakesEffectWithAFrameChange)
{
    TFramedChild W(0, 0);
    SetWindowLong(W.Handle, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    SetWindowLong(W.Handle, GWL_STYLE, GetWindowLong(W.Handle, GWL_STYLE) | WS_VSCROLL);
    EXPECT_EQ(ClientInWindow(W.Handle), Rect(0, 0, 120, 100)) << "not before the frame changes";
    W.Messages.clear();
    SetWindowPos(W.Handle, 0, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    EXPECT_EQ(ClientInWindow(W.Handle), Rect(2, 2, 102, 98));
    const auto Seen = W.Only({WM_NCCALCSIZE, WM_SIZE});
    ASSERT_EQ(Seen.size(), 2u);
    EXPECT_EQ(Seen[0].Msg, UINT(WM_NCCALCSIZE));
    EXPECT_EQ(Seen[1].LParam, MakeLParam(100, 96));
    // The frame waits for its WM_NCPAINT, which the next paint brings.
    PumpPending();
    EXPECT_EQ(W.Only({WM_NCPAINT}).size(), 1u);
}

TEST(NonClient, SetRedrawFalseKeepsAWindowAndItsChildrenOffTheScreen)
{
    TFramedChild W(0, WS_EX_CLIENTEDGE);
    TRecordingWindow Inner(WS_CHILD | WS_VISIBLE, W.Handle, "TRecordingWindow");
    PumpPending();
    TRasterDevice Device(400, 400);
    SetWindowDevice(W.Top.Handle, &Device);

    SendMessage(W.Handle, WM_SETREDRAW, 0, 0);
    InvalidateRect(W.Handle, nullptr, true);
    InvalidateRect(Inner.Handle, nullptr, true);
    EXPECT_FALSE(GetUpdateRect(W.Handle, nullptr));
    EXPECT_FALSE(GetUpdateRect(Inner.Handle, nullptr));
    HDC DC = GetDC(Inner.Handle);
    DC->Brush()->SetColor(clBlue);
    DC->FillRect(Rect(0, 0, 50, 50));
    ReleaseDC(Inner.Handle, DC);
    EXPECT_EQ(Device.Pixel(10 + 2 + 5, 20 + 2 + 5), clWhite) << "nothing reaches the screen";

    SendMessage(W.Handle, WM_SETREDRAW, 1, 0);
    InvalidateRect(Inner.Handle, nullptr, true);
    EXPECT_TRUE(GetUpdateRect(Inner.Handle, nullptr));
    DC = GetDC(Inner.Handle);
    DC->Brush()->SetColor(clBlue);
    DC->FillRect(Rect(0, 0, 50, 50));
    ReleaseDC(Inner.Handle, DC);
    EXPECT_EQ(Device.Pixel(10 + 2 + 5, 20 + 2 + 5), clBlue);
    PumpPending();
    SetWindowDevice(W.Top.Handle, nullptr);
}
