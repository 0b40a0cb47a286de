// Window scroll bars: the information kept and clamped, bars that hide or show disabled, and the
// requests clicks, held buttons and thumb drags send; one bar drawn headless against a picture.
#include "tests/platform/ui/nonclienttest.h"

#include "platform/gfx/pngformat.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/rtl/clock.h"
#include "platform/ui/nonclient.h"
#include "platform/ui/scrollbars.h"
#include "platform/ui/virtualtime.h"
#include "platform/ui/windowdc.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

struct TRequest {
    UINT Code;
    int Pos;      // the high word of WParam, as sent
    int TrackPos; // what GetScrollInfo told while the request was handled
    std::uint32_t Time;
    bool operator==(const TRequest&) const = default;
};

// Records the WM_VSCROLL requests of a framed child.
void RecordRequests(TFramedChild& W, std::vector<TRequest>& Requests)
{
    W.OnMessage = [&Requests](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
        if (Msg == WM_VSCROLL) {
            TScrollInfo Info;
            Info.fMask = SIF_TRACKPOS;
            GetScrollInfo(Wnd, SB_VERT, Info);
            Requests.push_back(TRequest{LoWord(WParam), static_cast<int>(HiWord(WParam)),
                                        Info.nTrackPos, GetTickCount()});
            return 0;
        }
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    };
}

std::vector<UINT> CodesOf(const std::vector<TRequest>& Requests)
{
    std::vector<UINT> Codes;
    for (const TRequest& R : Requests)
        Codes.push_back(R.Code);
    return Codes;
}

void SetBar(HWND Wnd, int Min, int Max, UINT Page, int Pos, UINT Extra = 0)
{
    TScrollInfo Info;
    Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | Extra;
    Info.nMin = Min;
    Info.nMax = Max;
    Info.nPage = Page;
    Info.nPos = Pos;
    SetScrollInfo(Wnd, SB_VERT, Info, true);
}

} // namespace

TEST(ScrollBars, ThePositionAndPageStayWithinTheRange)
{
    struct TCase {
        int Min, Max;
        UINT Page;
        int Pos;
        UINT PageKept;
        int PosKept;
    };
    const std::vector<TCase> Cases = {
        {0, 100, 0, 50, 0, 50},    {0, 100, 0, 150, 0, 100},
        {0, 100, 0, -5, 0, 0},     {0, 100, 10, 95, 10, 91},
        {0, 99, 10, 90, 10, 90},   {10, 20, 5, 0, 5, 10},
        {-50, 50, 20, 40, 20, 31}, {0, 10, 20, 5, 11, 0},
        {5, 5, 0, 9, 0, 5},        {0, 100000, 1000, 200000, 1000, 99001},
    };
    TFramedChild W(WS_VSCROLL, 0);
    for (const TCase& C : Cases) {
        TScrollInfo Info;
        Info.fMask = SIF_ALL;
        Info.nMin = C.Min;
        Info.nMax = C.Max;
        Info.nPage = C.Page;
        Info.nPos = C.Pos;
        EXPECT_EQ(SetScrollInfo(W.Handle, SB_VERT, Info, false), C.PosKept)
            << C.Max << "/" << C.Pos;
        TScrollInfo Back;
        Back.fMask = SIF_ALL;
        ASSERT_TRUE(GetScrollInfo(W.Handle, SB_VERT, Back));
        EXPECT_EQ(Back.nMin, C.Min);
        EXPECT_EQ(Back.nMax, C.Max);
        EXPECT_EQ(Back.nPage, C.PageKept) << C.Max << "/" << C.Page;
        EXPECT_EQ(Back.nPos, C.PosKept);
        EXPECT_EQ(Back.nTrackPos, C.PosKept) << "no drag runs";
    }
    // The older calls on the same state.
    SetBar(W.Handle, 0, 0, 0, 0);
    EXPECT_TRUE(SetScrollRange(W.Handle, SB_VERT, 0, 40, false));
    EXPECT_EQ(SetScrollPos(W.Handle, SB_VERT, 30, false), 0);
    EXPECT_EQ(SetScrollPos(W.Handle, SB_VERT, 70, false), 30);
    EXPECT_EQ(GetScrollPos(W.Handle, SB_VERT), 40);
    int Min = -1, Max = -1;
    EXPECT_TRUE(GetScrollRange(W.Handle, SB_VERT, Min, Max));
    EXPECT_EQ(Min, 0);
    EXPECT_EQ(Max, 40);
    TScrollInfo None;
    EXPECT_FALSE(GetScrollInfo(0x7FFFFFF, SB_VERT, None)) << "no such window";
}

TEST(ScrollBars, ABarHidesWhenNothingScrollsUnlessAskedToShowDisabled)
{
    TFramedChild W(WS_VSCROLL, 0);
    auto ClientWidth = [&] {
        TRect R;
        GetClientRect(W.Handle, R);
        return R.Width();
    };
    auto Shown = [&] { return (GetWindowLong(W.Handle, GWL_STYLE) & WS_VSCROLL) != 0; };
    EXPECT_TRUE(Shown());
    EXPECT_EQ(ClientWidth(), 104);

    W.Messages.clear();
    SetScrollRange(W.Handle, SB_VERT, 0, 0, true);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(ClientWidth(), 120);
    ASSERT_EQ(W.Only({WM_SIZE}).size(), 1u);
    EXPECT_EQ(W.Only({WM_SIZE})[0].LParam, MakeLParam(120, 100));

    SetBar(W.Handle, 0, 50, 10, 0);
    EXPECT_TRUE(Shown()) << "a range that scrolls shows the bar again";
    EXPECT_EQ(ClientWidth(), 104);
    SetBar(W.Handle, 0, 50, 51, 0);
    EXPECT_FALSE(Shown()) << "a page larger than the range";

    // Shown disabled: there, but a click on its arrow sends nothing.
    SetBar(W.Handle, 0, 50, 51, 0, SIF_DISABLENOSCROLL);
    EXPECT_TRUE(Shown());
    std::vector<TRequest> Requests;
    RecordRequests(W, Requests);
    W.InjectButton(true, 110, 5);
    W.InjectButton(false, 110, 5);
    PumpPending();
    EXPECT_TRUE(Requests.empty());

    // ShowScrollBar and EnableScrollBar.
    EXPECT_TRUE(ShowScrollBar(W.Handle, SB_BOTH, true));
    EXPECT_EQ(GetWindowLong(W.Handle, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL),
              LONG_PTR(WS_HSCROLL | WS_VSCROLL));
    TRect Client;
    GetClientRect(W.Handle, Client);
    EXPECT_EQ(Client, Rect(0, 0, 104, 84));
    SetBar(W.Handle, 0, 50, 10, 20);
    EXPECT_TRUE(EnableScrollBar(W.Handle, SB_VERT, ESB_DISABLE_RTDN));
    EXPECT_FALSE(EnableScrollBar(W.Handle, SB_VERT, ESB_DISABLE_RTDN)) << "no change";
    W.InjectButton(true, 110, 80); // the down arrow, disabled
    W.InjectButton(false, 110, 80);
    W.InjectButton(true, 110, 5); // the up arrow still works
    W.InjectButton(false, 110, 5);
    PumpPending();
    EXPECT_EQ(CodesOf(Requests), (std::vector<UINT>{SB_LINEUP, SB_ENDSCROLL}));
}

TEST(ScrollBars, AHeldArrowRepeatsAfterADelayUntilReleased)
{
    TVirtualTime Clock;
    TFramedChild W(WS_VSCROLL, 0, 100, 120); // the bar: x 84..100, arrows y 0..16 and 104..120
    SetBar(W.Handle, 0, 99, 10, 0);
    std::vector<TRequest> Requests;
    RecordRequests(W, Requests);
    auto Record = W.OnMessage;
    W.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
        const LRESULT Result = Record(Wnd, Msg, WParam, LParam);
        if (Msg == WM_VSCROLL && LoWord(WParam) == SB_LINEDOWN) {
            EXPECT_EQ(GetCapture(), Wnd) << "the bar holds the mouse";
            SetScrollPos(Wnd, SB_VERT, GetScrollPos(Wnd, SB_VERT) + 1, true);
            if (Requests.size() == 4)
                W.InjectButton(false, 90, 110);
        }
        return Result;
    };
    W.InjectButton(true, 90, 110);
    PumpPending();

    EXPECT_EQ(CodesOf(Requests), (std::vector<UINT>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN,
                                                    SB_LINEDOWN, SB_ENDSCROLL}));
    ASSERT_EQ(Requests.size(), 5u);
    EXPECT_EQ(Requests[1].Time - Requests[0].Time, 350u) << "the first repeat waits longer";
    EXPECT_EQ(Requests[2].Time - Requests[1].Time, 50u);
    EXPECT_EQ(Requests[3].Time - Requests[2].Time, 50u);
    EXPECT_EQ(GetScrollPos(W.Handle, SB_VERT), 4);
    EXPECT_EQ(GetCapture(), 0u);
}

TEST(ScrollBars, TrackClicksPageTowardsTheMouse)
{
    TFramedChild W(WS_VSCROLL, 0, 100,
                   120);             // track y 16..104; thumb 8 pixels at 16 + pos * 80 / 90
    SetBar(W.Handle, 0, 99, 10, 45); // thumb at y 56..64
    std::vector<TRequest> Requests;
    RecordRequests(W, Requests);
    W.InjectButton(true, 90, 90);
    W.InjectButton(false, 90, 90);
    W.InjectButton(true, 90, 30);
    W.InjectButton(false, 90, 30);
    W.InjectButton(true, 90, 5);
    W.InjectButton(false, 90, 5);
    PumpPending();
    EXPECT_EQ(CodesOf(Requests), (std::vector<UINT>{SB_PAGEDOWN, SB_ENDSCROLL, SB_PAGEUP,
                                                    SB_ENDSCROLL, SB_LINEUP, SB_ENDSCROLL}));
    EXPECT_EQ(GetScrollPos(W.Handle, SB_VERT), 45) << "the procedure moves the position itself";
}

TEST(ScrollBars, DraggingTheThumbTracksAndEndsWithThePosition)
{
    struct TCase {
        const char* Name;
        int Max;
        UINT Page;
        std::vector<int> MovesTo; // y in the window
        int ReleaseAt;
        std::vector<int> Tracked; // the 32-bit positions
    };
    // The track is y 16..104 (88 pixels); the thumb taken at y 20 is 4 pixels into it.
    const std::vector<TCase> Cases = {
        {"small range", 99, 10, {60, 61, 300}, 300, {45, 46, 90}},
        {"back to the top", 99, 10, {60, 10}, 10, {45, 0}},
        {"beyond 16 bits", 200000, 2000, {300}, 300, {198001}},
        {"released where no move went", 99, 10, {}, 300, {90}},
    };
    for (const TCase& Case : Cases) {
        TFramedChild W(WS_VSCROLL, 0, 100, 120);
        SetBar(W.Handle, 0, Case.Max, Case.Page, 0);
        std::vector<TRequest> Requests;
        RecordRequests(W, Requests);
        W.InjectButton(true, 90, 20);
        for (int Y : Case.MovesTo)
            W.InjectMove(90, Y);
        W.InjectButton(false, 90, Case.ReleaseAt);
        PumpPending();

        std::vector<TRequest> Expected;
        for (int Pos : Case.Tracked)
            Expected.push_back(TRequest{SB_THUMBTRACK, Pos & 0xFFFF, Pos, 0});
        Expected.push_back(
            TRequest{SB_THUMBPOSITION, Case.Tracked.back() & 0xFFFF, Case.Tracked.back(), 0});
        Expected.push_back(TRequest{SB_ENDSCROLL, 0, 0, 0});
        for (TRequest& R : Requests)
            R.Time = 0;
        EXPECT_EQ(Requests, Expected) << Case.Name;
        EXPECT_EQ(GetScrollPos(W.Handle, SB_VERT), 0) << Case.Name;
    }
}

namespace {

bool Regenerating()
{
    const char* Value = std::getenv("TARNWICK_UPDATE_GOLDEN");
    return Value != nullptr && std::string(Value) == "1";
}

TDibImage ImageOf(const TRasterDevice& D)
{
    TDibImage Image;
    Image.Width = D.Width();
    Image.Height = D.Height();
    Image.BitCount = 24;
    Image.Bits.assign(static_cast<std::size_t>(Image.Stride()) * Image.Height, 0);
    for (int Y = 0; Y < D.Height(); ++Y)
        for (int X = 0; X < D.Width(); ++X) {
            const TColor C = D.Pixel(X, Y);
            std::uint8_t* P =
                &Image.Bits[static_cast<std::size_t>(D.Height() - 1 - Y) * Image.Stride() +
                            static_cast<std::size_t>(X) * 3];
            P[0] = static_cast<std::uint8_t>(GetBValue(C));
            P[1] = static_cast<std::uint8_t>(GetGValue(C));
            P[2] = static_cast<std::uint8_t>(GetRValue(C));
        }
    return Image;
}

} // namespace

TEST(ScrollBars, AFramedChildIsDrawnWithItsEdgeAndBars)
{
    const std::string Path = std::string(TARNWICK_FIXTURES) + "/ui/scrollbars-client-edge.png";
    TFramedChild W(WS_HSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE, 120, 100);
    SetBar(W.Handle, 0, 99, 25, 40);
    EnableScrollBar(W.Handle, SB_HORZ, ESB_DISABLE_BOTH);
    TRasterDevice Device(140, 120);
    SetWindowDevice(W.Top.Handle, &Device);
    RedrawWindow(W.Handle, nullptr, RDW_INVALIDATE | RDW_FRAME);
    PumpPending();
    SetWindowDevice(W.Top.Handle, nullptr);

    const std::string Png = WritePng(ImageOf(Device));
    if (Regenerating()) {
        std::ofstream(Path, std::ios::binary) << Png;
        return;
    }
    std::ifstream In(Path, std::ios::binary);
    ASSERT_TRUE(In) << "missing golden " << Path;
    const std::string Golden((std::istreambuf_iterator<char>(In)),
                             std::istreambuf_iterator<char>());
    const TDibImage Want =
        ReadPng(reinterpret_cast<const std::uint8_t*>(Golden.data()), Golden.size());
    const TDibImage Have = ImageOf(Device);
    ASSERT_EQ(Want.Width, Have.Width);
    ASSERT_EQ(Want.Height, Have.Height);
    ASSERT_EQ(Want.BitCount, 24);
    EXPECT_TRUE(Want.Bits == Have.Bits) << "differs; TARNWICK_UPDATE_GOLDEN=1 rewrites it";
}

TEST(ScrollBars, TheHorizontalBarSendsItsRequestsAsWmHScroll)
{
    TFramedChild W(WS_HSCROLL, 0); // the bar: y 84..100, arrows x 0..16 and 104..120
    TScrollInfo Info;
    Info.fMask = SIF_ALL;
    Info.nMax = 99;
    Info.nPage = 10;
    SetScrollInfo(W.Handle, SB_HORZ, Info, true); // thumb at x 16..24
    std::vector<std::pair<UINT, UINT>> Requests;
    W.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
        if (Msg == WM_HSCROLL || Msg == WM_VSCROLL)
            Requests.emplace_back(Msg, LoWord(WParam));
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    };
    W.InjectButton(true, 110, 90);
    W.InjectButton(false, 110, 90);
    W.InjectButton(true, 60, 92);
    W.InjectButton(false, 60, 92);
    PumpPending();
    const std::vector<std::pair<UINT, UINT>> Expected = {{WM_HSCROLL, SB_LINERIGHT},
                                                         {WM_HSCROLL, SB_ENDSCROLL},
                                                         {WM_HSCROLL, SB_PAGERIGHT},
                                                         {WM_HSCROLL, SB_ENDSCROLL}};
    EXPECT_EQ(Requests, Expected);
}
