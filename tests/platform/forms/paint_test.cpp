// The paint pipeline: update areas, WM_PAINT in its place in the queue, BeginPaint's clip and
// offset, controls painting into their form's back buffer.
#include "tests/platform/forms/formstest.h"

#include "platform/gfx/recordingdevice.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/headless/headlessdriver.h"
#include "platform/ui/timers.h"
#include "platform/ui/virtualtime.h"
#include "platform/ui/windowdc.h"

#include <gtest/gtest.h>

namespace {

// A raw window that logs the messages it gets and validates on WM_PAINT.
struct TPaintLog {
    std::vector<std::pair<HWND, UINT>> Seen;
    HWND Make(DWORD Style, HWND Parent, const TRect& R)
    {
        TWndClass Class;
        if (!GetClassInfo("TPaintLogWindow", Class)) {
            Class.ClassName = "TPaintLogWindow";
            RegisterClass(Class);
        }
        const HWND Wnd = CreateWindowEx(0, "TPaintLogWindow", "", Style, R.Left, R.Top, R.Width(),
                                        R.Height(), Parent);
        SetWindowProc(Wnd, [this](HWND W, UINT Msg, WPARAM WP, LPARAM LP) -> LRESULT {
            if (Msg == WM_PAINT || Msg == WM_USER || Msg == WM_TIMER)
                Seen.emplace_back(W, Msg);
            return DefWindowProc(W, Msg, WP, LP);
        });
        return Wnd;
    }
};

void PumpQueue()
{
    TMsg Msg;
    while (PeekMessage(Msg, 0, 0, 0, PM_REMOVE))
        DispatchMessage(Msg);
}

std::vector<const TRecordingDevice::TCall*> Drawing(const TRecordingDevice& Device)
{
    std::vector<const TRecordingDevice::TCall*> Calls;
    for (const auto& Call : Device.Calls())
        Calls.push_back(&Call);
    return Calls;
}

bool Inside(const TRect& Inner, const TRect& Outer)
{
    return Inner.Left >= Outer.Left && Inner.Top >= Outer.Top && Inner.Right <= Outer.Right &&
           Inner.Bottom <= Outer.Bottom;
}

} // namespace

TEST(Paint, PaintComesAfterPostedMessagesAndBeforeTimersParentsFirst)
{
    TVirtualTime Time;
    TTestApplication App;
    TPaintLog Log;
    const HWND Top = Log.Make(WS_POPUP | WS_VISIBLE, 0, Bounds(0, 0, 100, 100));
    const HWND Child = Log.Make(WS_CHILD | WS_VISIBLE, Top, Bounds(10, 10, 20, 20));
    PumpQueue();
    Log.Seen.clear();

    SetTimer(Top, 1, 1);
    InvalidateRect(Child, nullptr, true);
    InvalidateRect(Top, nullptr, true);
    PostMessage(Top, WM_USER, 0, 0);
    Time.Advance(5);
    PumpQueue();
    const std::vector<std::pair<HWND, UINT>> Expected = {
        {Top, WM_USER}, {Top, WM_PAINT}, {Child, WM_PAINT}, {Top, WM_TIMER}};
    EXPECT_EQ(Log.Seen, Expected);
    KillTimer(Top, 1);
    DestroyWindow(Top);
}

TEST(Paint, UpdateAreaAddsAndSubtractsRectangles)
{
    TTestApplication App;
    TPaintLog Log;
    const HWND Wnd = Log.Make(WS_POPUP, 0, Bounds(0, 0, 100, 100));
    ValidateRect(Wnd, nullptr);
    const TRect A = Rect(10, 10, 50, 50), B = Rect(30, 30, 200, 60), Cut = Rect(0, 0, 100, 40);
    InvalidateRect(Wnd, &A, false);
    InvalidateRect(Wnd, &B, false); // clipped to the client area
    TRect Box;
    ASSERT_TRUE(GetUpdateRect(Wnd, &Box));
    EXPECT_EQ(Box, Rect(10, 10, 100, 60));
    ValidateRect(Wnd, &Cut);
    ASSERT_TRUE(GetUpdateRect(Wnd, &Box));
    EXPECT_EQ(Box, Rect(10, 40, 100, 60));
    int Area = 0;
    for (const TRect& R : GetUpdateRects(Wnd))
        Area += R.Width() * R.Height();
    EXPECT_EQ(Area, 40 * 10 + 70 * 20 - 20 * 10); // no piece counted twice
    // A hidden window gets no WM_PAINT; showing it makes the whole of it invalid.
    TMsg Msg;
    EXPECT_FALSE(PeekMessage(Msg, Wnd, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    ShowWindow(Wnd, SW_SHOWNA);
    ASSERT_TRUE(GetUpdateRect(Wnd, &Box));
    EXPECT_EQ(Box, Rect(0, 0, 100, 100));
    UpdateWindow(Wnd);
    EXPECT_FALSE(GetUpdateRect(Wnd, &Box));
    DestroyWindow(Wnd);
}

class TPaintForm : public TForm {
public:
    explicit TPaintForm(TComponent* AOwner) : TForm(AOwner)
    {
        SetBounds(0, 0, 200, 100);
        A = Place<TTestBox>(this, 10, 10, 50, 20);
        B = Place<TTestBox>(this, 100, 10, 50, 20);
        Shape = Place<TTestShape>(this, 10, 50, 40, 30);
        A->SetColor(clRed);
        A->SetCaption("A");
        B->SetColor(clLime);
    }
    TTestBox* A;
    TTestBox* B;
    TTestShape* Shape;
};

TEST(Paint, InvalidatingOneControlRepaintsOnlyItClippedToItsArea)
{
    TTestApplication App;
    TPaintForm* Form = new TPaintForm(&App);
    TRecordingDevice Device(200, 100);
    SetWindowDevice(Form->Handle(), &Device);
    Form->Show();
    Pump();
    EXPECT_EQ(Form->A->Paints, 1);
    EXPECT_EQ(Form->B->Paints, 1);
    EXPECT_EQ(Form->Shape->Paints, 1);

    struct TCase {
        const char* Name;
        std::function<void()> Invalidate;
        TRect Area; // where every call must stay, form coordinates
        int APaints, BPaints, ShapePaints;
    };
    const std::vector<TCase> Cases = {
        {"whole control", [&] { Form->A->Invalidate(); }, Rect(10, 10, 60, 30), 2, 1, 1},
        {"part of a control",
         [&] {
             const TRect R = Rect(0, 0, 10, 10);
             InvalidateRect(Form->A->Handle(), &R, false);
         },
         Rect(10, 10, 20, 20), 3, 1, 1},
        {"control without a window", [&] { Form->Shape->Invalidate(); }, Rect(10, 50, 50, 80), 3, 1,
         2},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Device.Clear();
        Case.Invalidate();
        Pump();
        EXPECT_EQ(Form->A->Paints, Case.APaints);
        EXPECT_EQ(Form->B->Paints, Case.BPaints);
        EXPECT_EQ(Form->Shape->Paints, Case.ShapePaints);
        ASSERT_FALSE(Device.Calls().empty());
        for (const auto* Call : Drawing(Device)) {
            ASSERT_FALSE(Call->ClipRects.empty()) << Call->Line;
            for (const TRect& Clip : Call->ClipRects)
                EXPECT_TRUE(Inside(Clip, Case.Area)) << Call->Line;
        }
    }
    // The control's own drawing lands at its offset in the form's buffer.
    Device.Clear();
    Form->A->Invalidate();
    Pump();
    bool SawFill = false;
    for (const auto* Call : Drawing(Device))
        if (Call->Name == "FillRect" && Call->State.Brush.Color == clRed) {
            SawFill = true;
            ASSERT_EQ(Call->Points.size(), 2u);
            EXPECT_EQ(Call->Points[0], Point(10, 10));
            EXPECT_EQ(Call->Points[1], Point(60, 30));
        }
    EXPECT_TRUE(SawFill);
    SetWindowDevice(Form->Handle(), nullptr);
}

TEST(Paint, TheBackBufferIsPresentedAndFollowsTheWindowSize)
{
    TTestApplication App;
    auto* Driver = dynamic_cast<THeadlessDriver*>(&DisplayDriver());
    ASSERT_NE(Driver, nullptr);
    TPaintForm* Form = new TPaintForm(&App);
    Form->Show();
    Pump();
    const THeadlessDriver::TNativeWindow* Native = Driver->Find(Form->Handle());
    ASSERT_NE(Native, nullptr);
    ASSERT_EQ(Native->Width, 200);
    ASSERT_EQ(Native->Height, 100);
    auto PixelAt = [&](int X, int Y) {
        return Native->Pixels[static_cast<std::size_t>(Y * Native->Width + X)] & 0xFFFFFF;
    };
    EXPECT_EQ(PixelAt(40, 25), 0xFF0000u);  // box A, red
    EXPECT_EQ(PixelAt(140, 25), 0x00FF00u); // box B, lime
    EXPECT_EQ(PixelAt(10, 50), 0x000000u);  // the shape's frame
    Form->SetBounds(0, 0, 260, 120);
    Pump();
    Native = Driver->Find(Form->Handle());
    EXPECT_EQ(Native->Width, 260);
    EXPECT_EQ(Native->Height, 120);
    EXPECT_EQ(PixelAt(40, 25), 0xFF0000u);
}

TEST(Paint, ScrollWindowMovesPixelsAndInvalidatesWhatComesIntoView)
{
    TTestApplication App;
    TForm* Form = new TForm(&App);
    Form->SetBounds(0, 0, 100, 100);
    Form->Show();
    Pump();
    HDC DC = GetDC(Form->Handle());
    DC->Brush()->SetColor(clBlue);
    DC->FillRect(Rect(0, 0, 10, 10));
    ReleaseDC(Form->Handle(), DC);
    ValidateRect(Form->Handle(), nullptr);
    ScrollWindow(Form->Handle(), 20, 30, nullptr, nullptr);
    // The strips at the left and the top come into view: only they are to be painted.
    bool MiddleInvalid = false, CornerInvalid = false;
    for (const TRect& R : GetUpdateRects(Form->Handle())) {
        MiddleInvalid = MiddleInvalid || PtInRect(R, Point(50, 50));
        CornerInvalid = CornerInvalid || PtInRect(R, Point(5, 5));
    }
    EXPECT_FALSE(MiddleInvalid);
    EXPECT_TRUE(CornerInvalid);
    Pump();
    DC = GetDC(Form->Handle());
    EXPECT_EQ(DC->Pixels(25, 35), clBlue);
    EXPECT_EQ(DC->Pixels(5, 5), ColorToRGB(clBtnFace));
    ReleaseDC(Form->Handle(), DC);
}
