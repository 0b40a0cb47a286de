// Tests of the update areas (every position of a cut against an invalid rectangle, moving the
// area), the canvases of windows clipped to them, and the back buffers of top-level windows.
#include "tests/platform/ui/uitest.h"

#include "platform/gfx/recordingdevice.h"
#include "platform/ui/backbuffer.h"
#include "platform/ui/paint.h"
#include "platform/ui/windowdc.h"
#include "platform/ui/windowstyles.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int ClientW = 40, ClientH = 30;

// A picture of the client area, one row per line: '#' where Inside holds.
std::string Picture(const std::function<bool(int, int)>& Inside)
{
    std::string Out;
    for (int Y = 0; Y < ClientH; ++Y) {
        for (int X = 0; X < ClientW; ++X)
            Out += Inside(X, Y) ? '#' : '.';
        Out += '\n';
    }
    return Out;
}

std::string Picture(const TRect& R)
{
    return Picture([&](int X, int Y) { return PtInRect(R, Point(X, Y)); });
}

// The update area as the pixels its rectangles cover; a pixel covered twice shows as '2'.
std::string UpdatePicture(HWND Wnd)
{
    std::vector<int> Count(static_cast<std::size_t>(ClientW * ClientH), 0);
    for (const TRect& R : GetUpdateRects(Wnd))
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                if (X >= 0 && Y >= 0 && X < ClientW && Y < ClientH)
                    ++Count[static_cast<std::size_t>(Y * ClientW + X)];
                else
                    ADD_FAILURE() << "outside the client area: " << X << "," << Y;
    std::string Out;
    for (int Y = 0; Y < ClientH; ++Y) {
        for (int X = 0; X < ClientW; ++X) {
            const int N = Count[static_cast<std::size_t>(Y * ClientW + X)];
            Out += N == 0 ? '.' : N == 1 ? '#' : '2';
        }
        Out += '\n';
    }
    return Out;
}

// A hidden top-level window with a ClientW x ClientH client area and nothing to paint.
struct TPaintWindow : TRecordingWindow {
    explicit TPaintWindow(DWORD Style = WS_POPUP) : TRecordingWindow(Style)
    {
        SetWindowPos(Handle, 0, 0, 0, ClientW, ClientH, SWP_NOZORDER | SWP_NOACTIVATE);
        ValidateRect(Handle, nullptr);
    }
};

} // namespace

TEST(UpdateArea, EveryPositionOfACutAgainstAnInvalidRectangle)
{
    TPaintWindow W;
    TRect Client;
    GetClientRect(W.Handle, Client);
    ASSERT_EQ(Client, Rect(0, 0, ClientW, ClientH));

    const TRect Invalid = Rect(12, 10, 28, 20);
    struct TCase {
        const char* Name;
        TRect Cut;
    };
    const std::vector<TCase> Cases = {
        {"left, apart", Rect(2, 12, 8, 18)},
        {"left, touching", Rect(6, 12, 12, 18)},
        {"over the left edge", Rect(8, 12, 16, 18)},
        {"right, apart", Rect(32, 12, 38, 18)},
        {"right, touching", Rect(28, 12, 34, 18)},
        {"over the right edge", Rect(24, 12, 32, 18)},
        {"above, apart", Rect(14, 2, 26, 6)},
        {"above, touching", Rect(14, 4, 26, 10)},
        {"over the top edge", Rect(14, 6, 26, 14)},
        {"below, apart", Rect(14, 24, 26, 28)},
        {"below, touching", Rect(14, 20, 26, 26)},
        {"over the bottom edge", Rect(14, 16, 26, 24)},
        {"over the top-left corner", Rect(8, 6, 16, 14)},
        {"over the top-right corner", Rect(24, 6, 32, 14)},
        {"over the bottom-left corner", Rect(8, 16, 16, 24)},
        {"over the bottom-right corner", Rect(24, 16, 32, 24)},
        {"touching a corner only", Rect(28, 20, 34, 26)},
        {"inside", Rect(16, 12, 24, 18)},
        {"covering", Rect(8, 6, 32, 24)},
        {"the same", Invalid},
        {"across, wider", Rect(8, 13, 32, 17)},
        {"down, taller", Rect(18, 6, 22, 24)},
        {"the left part, full height", Rect(12, 10, 18, 20)},
        {"the bottom part, full width", Rect(12, 15, 28, 20)},
        {"empty", Rect(16, 12, 16, 18)},
        {"past the client area", Rect(24, 16, 60, 50)},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const TRect Cut = Case.Cut;
        auto InInvalid = [&](int X, int Y) { return PtInRect(Invalid, Point(X, Y)); };
        auto InCut = [&](int X, int Y) { return PtInRect(Cut, Point(X, Y)); };

        InvalidateRect(W.Handle, &Invalid, false);
        ValidateRect(W.Handle, &Cut);
        const std::string Left =
            Picture([&](int X, int Y) { return InInvalid(X, Y) && !InCut(X, Y); });
        EXPECT_EQ(UpdatePicture(W.Handle), Left) << "validated";
        HRGN Area = CreateRectRgn(0, 0, 0, 0);
        GetUpdateRgn(W.Handle, Area);
        EXPECT_EQ(Picture([&](int X, int Y) { return PtInRegion(Area, X, Y); }), Left);
        TRect Box;
        const bool Any = GetUpdateRect(W.Handle, &Box);
        EXPECT_EQ(Any, Left.find('#') != std::string::npos);
        if (Any) {
            EXPECT_EQ(Box, Area->Bounds());
        }
        ValidateRect(W.Handle, nullptr);
        EXPECT_EQ(UpdatePicture(W.Handle), Picture(TRect()));

        InvalidateRect(W.Handle, &Invalid, false);
        InvalidateRect(W.Handle, &Cut, false);
        EXPECT_EQ(UpdatePicture(W.Handle),
                  Picture([&](int X, int Y) { return InInvalid(X, Y) || InCut(X, Y); }))
            << "invalidated";
        ValidateRect(W.Handle, nullptr);
        DeleteObject(Area);
    }
}

TEST(UpdateArea, RegionsGoInAndOutWhole)
{
    TPaintWindow W;
    const TRegion Ring = TRegion::Diff(TRegion(Rect(5, 5, 25, 25)), TRegion(Rect(10, 10, 20, 20)));
    EXPECT_TRUE(InvalidateRgn(W.Handle, &Ring, true));
    EXPECT_EQ(UpdatePicture(W.Handle), Picture([&](int X, int Y) { return Ring.Contains(X, Y); }));
    const TRegion Bar(Rect(0, 12, 40, 14));
    EXPECT_TRUE(ValidateRgn(W.Handle, &Bar));
    EXPECT_EQ(UpdatePicture(W.Handle),
              Picture([&](int X, int Y) { return Ring.Contains(X, Y) && !Bar.Contains(X, Y); }));
    bool Erase = false;
    const TRegion Taken = TakeUpdateArea(W.Handle, Erase);
    EXPECT_TRUE(Erase);
    EXPECT_EQ(Taken, TRegion::Diff(Ring, Bar));
    EXPECT_EQ(UpdatePicture(W.Handle), Picture(TRect()));
    EXPECT_FALSE(InvalidateRgn(0, &Ring, false));
    EXPECT_FALSE(ValidateRgn(0, &Ring));
}

TEST(UpdateArea, ScrollingMovesThePartInsideAndKeepsTheRest)
{
    TPaintWindow W;
    const TRect Invalid = Rect(12, 10, 28, 20);
    struct TCase {
        const char* Name;
        int DX, DY;
        TRect Within;
    };
    const std::vector<TCase> Cases = {
        {"right and down", 5, 3, Rect(0, 0, ClientW, ClientH)},
        {"left and up", -4, -6, Rect(0, 0, ClientW, ClientH)},
        {"partly off the edge", 20, 0, Rect(0, 0, ClientW, ClientH)},
        {"within the left half", 6, 0, Rect(0, 0, 20, ClientH)},
        {"within a band", 0, 4, Rect(0, 12, ClientW, 22)},
        {"within a part that misses it", 3, 3, Rect(30, 0, 40, 30)},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        InvalidateRect(W.Handle, &Invalid, false);
        ScrollUpdateArea(W.Handle, Case.DX, Case.DY, Case.Within);
        // Outside Within the area stays; inside, a pixel is invalid when the pixel it came from
        // was invalid and inside Within.
        auto In = [](const TRect& R, int X, int Y) { return PtInRect(R, Point(X, Y)); };
        const std::string Expected = Picture([&](int X, int Y) {
            if (!In(Case.Within, X, Y))
                return In(Invalid, X, Y);
            const int FromX = X - Case.DX, FromY = Y - Case.DY;
            return In(Case.Within, FromX, FromY) && In(Invalid, FromX, FromY);
        });
        EXPECT_EQ(UpdatePicture(W.Handle), Expected);
        ValidateRect(W.Handle, nullptr);
    }
}

TEST(UpdateArea, ScrollWindowMovesTheAreaAndInvalidatesWhatComesIntoView)
{
    TPaintWindow W(WS_POPUP | WS_VISIBLE);
    PumpPending();
    ValidateRect(W.Handle, nullptr);
    const TRect Invalid = Rect(12, 10, 20, 16);
    InvalidateRect(W.Handle, &Invalid, false);
    ASSERT_TRUE(ScrollWindow(W.Handle, 6, 4, nullptr, nullptr));
    const TRect Moved = Rect(18, 14, 26, 20);
    EXPECT_EQ(UpdatePicture(W.Handle), Picture([&](int X, int Y) {
                  return X < 6 || Y < 4 || PtInRect(Moved, Point(X, Y));
              }));
    ValidateRect(W.Handle, nullptr);
}

TEST(WindowCanvas, BeginPaintClipsToTheUpdateAreaOutsideVisibleChildren)
{
    TPaintWindow W(WS_POPUP | WS_VISIBLE);
    TRecordingWindow Child(WS_CHILD | WS_VISIBLE, W.Handle);
    SetWindowPos(Child.Handle, 0, 20, 5, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);
    PumpPending();
    TRecordingDevice Device(ClientW, ClientH);
    SetWindowDevice(W.Handle, &Device);
    ValidateRect(W.Handle, nullptr);
    const TRect A = Rect(2, 2, 26, 12), B = Rect(10, 20, 36, 28);
    InvalidateRect(W.Handle, &A, false);
    InvalidateRect(W.Handle, &B, false);

    TPaintStruct Paint;
    HDC DC = BeginPaint(W.Handle, Paint);
    ASSERT_NE(DC, nullptr);
    EXPECT_EQ(Paint.rcPaint, Rect(2, 2, 36, 28));
    EXPECT_EQ(UpdatePicture(W.Handle), Picture(TRect())) << "the window became valid";
    DC->Brush()->SetColor(clRed);
    DC->FillRect(Rect(0, 0, ClientW, ClientH));
    EndPaint(W.Handle, Paint);

    ASSERT_EQ(Device.Calls().size(), 1u);
    const auto& Call = Device.Calls().front();
    const TRect ChildBox = Rect(20, 5, 30, 15);
    auto In = [](const TRect& R, int X, int Y) { return PtInRect(R, Point(X, Y)); };
    EXPECT_EQ(
        Picture([&](int X, int Y) {
            for (const TRect& R : Call.ClipRects)
                if (In(R, X, Y))
                    return true;
            return false;
        }),
        Picture([&](int X, int Y) { return (In(A, X, Y) || In(B, X, Y)) && !In(ChildBox, X, Y); }));
    SetWindowDevice(W.Handle, nullptr);
}

TEST(BackBuffer, OnePerTopLevelWindowSizedToItAndFreedWithIt)
{
    auto* W = new TPaintWindow(WS_POPUP | WS_VISIBLE);
    TRecordingWindow Child(WS_CHILD, W->Handle);
    TBackBuffer* Buffer = WindowBackBuffer(W->Handle);
    ASSERT_NE(Buffer, nullptr);
    EXPECT_EQ(WindowBackBuffer(W->Handle), Buffer) << "one per window";
    EXPECT_EQ(WindowBackBuffer(Child.Handle), nullptr) << "children draw into their top's";
    EXPECT_EQ(Buffer->Raster().Width(), ClientW);
    EXPECT_EQ(Buffer->Raster().Height(), ClientH);
    EXPECT_EQ(WindowDevice(W->Handle), Buffer->Device());
    EXPECT_EQ(Buffer->Raster().GetPixel(3, 3), ColorToRGB(clBtnFace));

    // Drawn pixels stay when the window grows; the new part is the face colour.
    HDC DC = GetDC(W->Handle);
    ASSERT_NE(DC, nullptr);
    DC->SetPixels(3, 3, clBlue);
    ReleaseDC(W->Handle, DC);
    SetWindowPos(W->Handle, 0, 0, 0, 50, 35, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WindowBackBuffer(W->Handle), Buffer);
    EXPECT_EQ(Buffer->Raster().Width(), 50);
    EXPECT_EQ(Buffer->Raster().GetPixel(3, 3), clBlue);
    EXPECT_EQ(Buffer->Raster().GetPixel(45, 33), ColorToRGB(clBtnFace));

    TRecordingDevice Device(50, 35);
    SetWindowDevice(W->Handle, &Device);
    EXPECT_EQ(WindowDevice(W->Handle), &Device);
    EXPECT_FALSE(Buffer->Presents());
    SetWindowDevice(W->Handle, nullptr);
    EXPECT_TRUE(Buffer->Presents());

    const HWND Gone = W->Handle;
    delete W;
    EXPECT_EQ(WindowBackBuffer(Gone), nullptr);
    EXPECT_EQ(WindowDevice(Gone), nullptr);
}
