// tests/platform/ui/caret_test.cpp: the caret as the screen shows it: inverted over the window's
// picture, blinking on the clock, and never left behind by painting or moving.
#include "tests/platform/ui/uitest.h"

#include "platform/gfx/bitmap.h"
#include "platform/ui/backbuffer.h"
#include "platform/ui/headless/headlessdriver.h"
#include "platform/ui/input.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/virtualtime.h"
#include "platform/ui/wait.h"
#include "platform/ui/windowdc.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr TColor Paper = 0x00302010; // what the window paints (0x00BBGGRR)
constexpr int OwnerX = 10;           // the owner's place in the top-level window
constexpr int OwnerY = 6;

// A form with a child window that paints itself in one colour; the child owns the caret.
class CaretTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = std::make_unique<TRecordingWindow>(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "",
                                                  0, 0, TRect{0, 0, 100, 50});
        Owner = std::make_unique<TRecordingWindow>(WS_CHILD | WS_VISIBLE, Form->Handle,
                                                   "TRecordingWindow", "", 0, 0,
                                                   Bounds(OwnerX, OwnerY, 60, 30));
        Owner->OnMessage = [this](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
            if (Msg != WM_PAINT)
                return DefWindowProc(Wnd, Msg, WParam, LParam);
            TPaintStruct PS;
            HDC DC = BeginPaint(Wnd, PS);
            DC->Brush()->SetColor(Colour);
            DC->FillRect(Rect(0, 0, 60, 30));
            EndPaint(Wnd, PS);
            return 0;
        };
        PumpPending();
    }
    void TearDown() override
    {
        DestroyCaret();
        Owner.reset();
        Form.reset();
    }

    // What the screen shows at (X, Y) of the owner's client area (0x00RRGGBB).
    std::uint32_t Shown(int X, int Y) const
    {
        const auto* Native =
            dynamic_cast<THeadlessDriver&>(DisplayDriver()).Find(GetTopLevelWindow(Owner->Handle));
        return Native->Pixels[static_cast<std::size_t>(Y + OwnerY) * Native->Width + X + OwnerX];
    }
    // What the back buffer keeps there.
    std::uint32_t Kept(int X, int Y) const
    {
        return WindowBackBuffer(Form->Handle)->Raster().ScanLine(Y + OwnerY)[X + OwnerX];
    }
    static std::uint32_t Native(TColor C) { return TRasterDevice::ToNative(C); }
    // True when every pixel of Box shows the paper inverted (Inverted) or as it is.
    bool BoxShows(const TRect& Box, bool Inverted) const
    {
        for (int Y = Box.Top; Y < Box.Bottom; ++Y)
            for (int X = Box.Left; X < Box.Right; ++X)
                if (Shown(X, Y) != (Native(Colour) ^ (Inverted ? 0xFFFFFFu : 0u)))
                    return false;
        return true;
    }
    void Blink()
    {
        Time.Advance(GetCaretBlinkTime());
        PumpPending();
    }

    TVirtualTime Time;
    TColor Colour = Paper;
    std::unique_ptr<TRecordingWindow> Form;
    std::unique_ptr<TRecordingWindow> Owner;
};

} // namespace

TEST_F(CaretTest, ShownCaretInvertsThePictureAndBlinksOnTheClock)
{
    ASSERT_TRUE(CreateCaret(Owner->Handle, nullptr, 2, 10));
    SetCaretPos(5, 4);
    EXPECT_TRUE(BoxShows(Bounds(0, 0, 60, 30), false)) << "hidden after creation";
    ShowCaret(Owner->Handle);
    EXPECT_TRUE(BoxShows(Bounds(5, 4, 2, 10), true));
    EXPECT_TRUE(BoxShows(Bounds(7, 4, 10, 10), false));
    EXPECT_EQ(Kept(5, 4), Native(Paper)) << "the buffer's own pixels never hold the caret";

    Time.Advance(GetCaretBlinkTime() - 1);
    PumpPending();
    EXPECT_TRUE(BoxShows(Bounds(5, 4, 2, 10), true)) << "not yet";
    Time.Advance(1);
    PumpPending();
    EXPECT_TRUE(BoxShows(Bounds(5, 4, 2, 10), false)) << "off after one blink time";
    Blink();
    EXPECT_TRUE(BoxShows(Bounds(5, 4, 2, 10), true)) << "on again";
}

TEST_F(CaretTest, TheWaitSleepsUntilTheNextBlink)
{
    ASSERT_TRUE(SetCaretBlinkTime(400));
    ASSERT_TRUE(CreateCaret(Owner->Handle, nullptr, 1, 8));
    ShowCaret(Owner->Handle);
    const auto Before = Time.Skipped();
    WaitMessage();
    EXPECT_EQ(Time.Skipped() - Before, 400u) << "one wait, as long as the blink";
    PumpPending();
    EXPECT_TRUE(BoxShows(Bounds(0, 0, 1, 8), false));
    SetCaretBlinkTime(530);
}

TEST_F(CaretTest, GreyAndBitmapCaretsInvertTheirPattern)
{
    // 1-bit rows, padded to 2 bytes: 1 is white (inverts), 0 black (keeps).
    const Byte Bits[] = {0xA0, 0, 0x50, 0, 0xF0, 0};
    HBITMAP Picture = CreateBitmap(4, 3, 1, 1, Bits);
    ASSERT_NE(Picture, nullptr);
    struct TCase {
        const char* Name;
        HBITMAP Bitmap;
        TSize Size;
        std::function<bool(int, int)> Inverted;
    };
    const std::vector<TCase> Cases = {
        {"grey", reinterpret_cast<HBITMAP>(1), TSize{3, 4},
         [](int X, int Y) { return (X + Y) % 2 == 0; }},
        {"bitmap", Picture, TSize{4, 3},
         [&](int X, int Y) { return (Bits[Y * 2] >> (7 - X) & 1) != 0; }},
    };
    for (const TCase& Case : Cases) {
        ASSERT_TRUE(CreateCaret(Owner->Handle, Case.Bitmap, 3, 4)) << Case.Name;
        EXPECT_EQ(GetCaretState().Width, Case.Size.cx) << Case.Name;
        EXPECT_EQ(GetCaretState().Height, Case.Size.cy) << Case.Name;
        SetCaretPos(8, 2);
        ShowCaret(Owner->Handle);
        for (int Y = 0; Y < Case.Size.cy; ++Y)
            for (int X = 0; X < Case.Size.cx; ++X)
                EXPECT_EQ(Shown(8 + X, 2 + Y),
                          Native(Paper) ^ (Case.Inverted(X, Y) ? 0xFFFFFFu : 0u))
                    << Case.Name << " at " << X << "," << Y;
        EXPECT_TRUE(BoxShows(Bounds(8 + Case.Size.cx, 2, 4, 4), false)) << Case.Name;
        DestroyCaret();
        EXPECT_TRUE(BoxShows(Bounds(0, 0, 60, 30), false)) << Case.Name << " gone";
    }
    DeleteObject(Picture);
}

TEST_F(CaretTest, PaintingUnderTheShownCaretLeavesNoRemnant)
{
    ASSERT_TRUE(CreateCaret(Owner->Handle, nullptr, 3, 10));
    SetCaretPos(20, 5);
    ShowCaret(Owner->Handle);

    // WM_PAINT in a new colour while the caret is on.
    Colour = 0x0000C0C0;
    InvalidateRect(Owner->Handle, nullptr, true);
    PumpPending();
    EXPECT_TRUE(BoxShows(Bounds(20, 5, 3, 10), true)) << "over the new picture";
    EXPECT_TRUE(BoxShows(Bounds(0, 0, 20, 30), false));

    // Drawing through GetDC, over part of the caret.
    HDC DC = GetDC(Owner->Handle);
    Colour = 0x00408000;
    DC->Brush()->SetColor(Colour);
    DC->FillRect(Rect(0, 0, 60, 30));
    ReleaseDC(Owner->Handle, DC);
    EXPECT_TRUE(BoxShows(Bounds(20, 5, 3, 10), true));

    HideCaret(Owner->Handle);
    EXPECT_TRUE(BoxShows(Bounds(0, 0, 60, 30), false)) << "hidden: the picture alone";
    ShowCaret(Owner->Handle);
    Blink();
    EXPECT_TRUE(BoxShows(Bounds(0, 0, 60, 30), false)) << "blinked off: the picture alone";
}

TEST_F(CaretTest, MovingTheCaretLeavesNoTrace)
{
    ASSERT_TRUE(CreateCaret(Owner->Handle, nullptr, 2, 8));
    SetCaretPos(4, 4);
    ShowCaret(Owner->Handle);
    Blink(); // off phase: a move shows it at once
    SetCaretPos(30, 10);
    EXPECT_TRUE(BoxShows(Bounds(4, 4, 2, 8), false));
    EXPECT_TRUE(BoxShows(Bounds(30, 10, 2, 8), true));
    SetCaretPos(40, 12);
    EXPECT_TRUE(BoxShows(Bounds(30, 10, 2, 8), false));
    EXPECT_TRUE(BoxShows(Bounds(40, 12, 2, 8), true));
    // Partly outside the owner: clipped to it, the form around keeps its face.
    SetCaretPos(59, 25);
    EXPECT_TRUE(BoxShows(Bounds(59, 25, 1, 5), true));
    EXPECT_EQ(Shown(60, 25), Native(ColorToRGB(clBtnFace)));
}

TEST_F(CaretTest, HidingCountsAndDestroyingTakesTheCaretAway)
{
    ASSERT_TRUE(CreateCaret(Owner->Handle, nullptr, 2, 8));
    ShowCaret(Owner->Handle);
    const TRect Box = Bounds(0, 0, 2, 8);
    EXPECT_TRUE(BoxShows(Box, true));
    HideCaret(Owner->Handle);
    HideCaret(0);
    EXPECT_TRUE(BoxShows(Box, false));
    ShowCaret(Owner->Handle);
    Blink();
    EXPECT_TRUE(BoxShows(Box, false)) << "one hide still holds; no blink";
    EXPECT_FALSE(GetCaretState().Visible);
    ShowCaret(0);
    EXPECT_TRUE(BoxShows(Box, true));
    EXPECT_FALSE(ShowCaret(Owner->Handle)) << "shown does not count on";
    HideCaret(Owner->Handle);
    EXPECT_TRUE(BoxShows(Box, false)) << "one hide hides it again";

    ShowCaret(Owner->Handle);
    ASSERT_TRUE(DestroyCaret());
    EXPECT_TRUE(BoxShows(Box, false));
    Blink();
    EXPECT_TRUE(BoxShows(Box, false));
}
