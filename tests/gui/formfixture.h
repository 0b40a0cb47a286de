// tests/gui/formfixture.h: a form shown on a private X server, with the pointer, keys and
// screenshots of the desktop's tools aimed at its controls.
#pragma once

#include "tests/gui/xserver.h"

#include "platform/forms/form.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/pngformat.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/ui/input.h"
#include "platform/ui/paint.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace guitest {

// A form of the test shown on the private X server, with the pointer, keys and screenshots of
// the desktop's tools aimed at its controls. MakeForm makes the form (owned by the application).
template <class TFormClass>
class FormScreenTest : public XServerAppTest {
protected:
    void SetUp() override
    {
        XServerAppTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Form = MakeForm();
        ASSERT_NE(Form, nullptr);
        Form->Show();
        Id = std::to_string(DisplayDriver().NativeId(Form->Handle()));
        ASSERT_NE(Id, "0");
        ASSERT_TRUE(PumpUntil([&] { return Painted(); }));
    }

    // Nothing of the form waits to be painted.
    bool Painted() const
    {
        if (GetUpdateRect(Form->Handle(), nullptr))
            return false;
        bool Pending = false;
        EnumChildWindows(Form->Handle(), [&](HWND Wnd) {
            Pending = IsWindowVisible(Wnd) && GetUpdateRect(Wnd, nullptr);
            return !Pending;
        });
        return !Pending;
    }

    void MoveToScreen(TPoint S)
    {
        ASSERT_EQ(
            RunTool(Display, {"xdotool", "mousemove", std::to_string(S.X), std::to_string(S.Y)})
                .Status,
            0);
    }

    // Where a control's client point is on the screen. TControl::ClientToScreen leaves out a
    // windowed control's non-client edge and bars, so the window's own mapping is asked then.
    static TPoint OnScreen(TControl* Control, TPoint P)
    {
        auto* Windowed = dynamic_cast<TWinControl*>(Control);
        if (Windowed == nullptr || !Windowed->HandleAllocated())
            return Control->ClientToScreen(P);
        ClientToScreen(Windowed->Handle(), P);
        return P;
    }

    void MoveTo(TControl* Control, TPoint P) { MoveToScreen(OnScreen(Control, P)); }

    void ClickAt(TControl* Control, TPoint P, const std::string& Button = "1")
    {
        MoveTo(Control, P);
        ASSERT_EQ(RunTool(Display, {"xdotool", "click", Button}).Status, 0);
    }

    // The middle of a control, in its client coordinates.
    static TPoint Middle(const TControl* Control)
    {
        return TPoint{Control->Width() / 2, Control->Height() / 2};
    }

    void Focus()
    {
        ASSERT_EQ(RunTool(Display, {"xdotool", "windowfocus", "--sync", Id}).Status, 0);
    }

    void Keys(std::vector<std::string> Names)
    {
        Focus();
        Names.insert(Names.begin(), {"xdotool", "key"});
        ASSERT_EQ(RunTool(Display, Names).Status, 0);
    }

    void Type(const std::string& Text)
    {
        Focus();
        ASSERT_EQ(RunTool(Display, {"xdotool", "type", "--delay", "5", Text}).Status, 0);
    }

    // The form's window as the server shows it.
    TDibImage Screenshot()
    {
        const auto Shot = RunTool(Display, {"import", "-window", Id, "png:-"});
        EXPECT_EQ(Shot.Status, 0);
        return ReadPng(reinterpret_cast<const std::uint8_t*>(Shot.Output.data()),
                       Shot.Output.size());
    }

    // The form's picture on the server, pixel for pixel the back buffer it drew; returned for
    // a closer look.
    TDibImage ExpectScreenShowsBackBuffer()
    {
        EXPECT_TRUE(PumpUntil([&] { return Painted(); }));
        const auto* Buffer = dynamic_cast<const TRasterDevice*>(WindowDevice(Form->Handle()));
        EXPECT_NE(Buffer, nullptr);
        // The caret is never in the buffer's own pixels: the shot is taken with it hidden.
        const bool CaretHidden = HideCaret(0);
        guitest::Turn();
        TDibImage Image = Screenshot();
        if (CaretHidden)
            ShowCaret(0);
        if (Buffer == nullptr)
            return Image;
        EXPECT_EQ(Image.Width, Buffer->Width());
        EXPECT_EQ(Image.Height, Buffer->Height());
        int Wrong = 0;
        std::string First;
        for (int Y = 0; Y < std::min(Image.Height, Buffer->Height()); ++Y)
            for (int X = 0; X < std::min(Image.Width, Buffer->Width()); ++X)
                if (Image.Pixel(X, Y) != Buffer->Pixel(X, Y) && Wrong++ == 0)
                    First = "(" + std::to_string(X) + ", " + std::to_string(Y) + ")";
        EXPECT_EQ(Wrong, 0) << "first at " << First;
        return Image;
    }

    static bool Regenerating()
    {
        const char* Value = std::getenv("TARNWICK_UPDATE_GOLDEN");
        return Value != nullptr && std::string(Value) == "1";
    }

    // The form's screenshot matches tests/fixtures/gui/<Name>.png: fonts and the caret may move
    // a few pixels, so only pixels differing by more than a quarter of a channel count, and up
    // to 0.5 % of them are let through.
    void ExpectLooksLike(const std::string& Name)
    {
        const std::string Path = std::string(TARNWICK_FIXTURES) + "/gui/" + Name + ".png";
        // Taken with the caret hidden, whatever its blink's phase.
        const bool CaretHidden = HideCaret(0);
        Turn();
        const TDibImage Have = Screenshot();
        if (CaretHidden)
            ShowCaret(0);
        if (Regenerating()) {
            std::ofstream(Path, std::ios::binary) << WritePng(Have);
            return;
        }
        std::ifstream In(Path, std::ios::binary);
        ASSERT_TRUE(In) << "missing reference " << Path << "; TARNWICK_UPDATE_GOLDEN=1 writes it";
        const std::string Png((std::istreambuf_iterator<char>(In)),
                              std::istreambuf_iterator<char>());
        const TDibImage Want =
            ReadPng(reinterpret_cast<const std::uint8_t*>(Png.data()), Png.size());
        ASSERT_EQ(Have.Width, Want.Width) << Name;
        ASSERT_EQ(Have.Height, Want.Height) << Name;
        int Differing = 0;
        for (int Y = 0; Y < Want.Height; ++Y)
            for (int X = 0; X < Want.Width; ++X) {
                const TColor A = Have.Pixel(X, Y), B = Want.Pixel(X, Y);
                const int D = std::max({std::abs(GetRValue(A) - GetRValue(B)),
                                        std::abs(GetGValue(A) - GetGValue(B)),
                                        std::abs(GetBValue(A) - GetBValue(B))});
                Differing += D > 64 ? 1 : 0;
            }
        EXPECT_LE(Differing, Want.Width * Want.Height / 200)
            << Name << " differs from its reference; TARNWICK_UPDATE_GOLDEN=1 rewrites it";
    }

    virtual TFormClass* MakeForm() = 0;

    TFormClass* Form = nullptr;
    std::string Id;
};

} // namespace guitest
