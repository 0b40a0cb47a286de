// tests/gui/ui/caret_test.cpp: the caret of a focused edit on a private X server: two
// screenshots a blink apart differ exactly in the caret's box.
#include "tests/gui/formfixture.h"

#include "platform/stdctrls/edit.h"
#include "platform/ui/input.h"

#include <chrono>
#include <string>

namespace {

using guitest::PumpUntil;
using guitest::Turn;

class TCaretForm : public TForm {
public:
    explicit TCaretForm(TComponent* AOwner) : TForm(AOwner), Edit(new TEdit(this))
    {
        SetCaption("Caret");
        SetClientWidth(200);
        SetClientHeight(60);
        Edit->SetParent(this);
        Edit->SetBounds(20, 16, 160, 24);
        Edit->SetText("blink");
    }
    TEdit* Edit;
};

class CaretX11 : public guitest::FormScreenTest<TCaretForm> {
protected:
    TCaretForm* MakeForm() override { return new TCaretForm(App.get()); }
};

} // namespace

TEST_F(CaretX11, AFocusedEditsCaretBlinksInvertedOverItsPicture)
{
    const UINT Blink = 1000; // long enough for a screenshot to fall inside one phase
    const UINT Before = GetCaretBlinkTime();
    ASSERT_TRUE(SetCaretBlinkTime(Blink));
    ClickAt(Form->Edit, Middle(Form->Edit));
    ASSERT_TRUE(PumpUntil([&] {
        return GetCaretState().Owner == Form->Edit->Handle() && GetCaretState().Visible &&
               Painted();
    }));

    // Hiding and showing starts the blink over with the caret on; the loop does not turn while
    // a screenshot is taken, so the first shows it on and the second, a blink and a half after,
    // off.
    HideCaret(0);
    ShowCaret(0);
    const auto Shown = std::chrono::steady_clock::now();
    Turn();
    const TDibImage On = Screenshot();
    const auto Taken = std::chrono::steady_clock::now();
    const auto Until = std::max(Shown + std::chrono::milliseconds(Blink * 3 / 2),
                                Taken + std::chrono::milliseconds(Blink / 10));
    PumpUntil([&] { return std::chrono::steady_clock::now() >= Until; });
    const TDibImage Off = Screenshot();
    SetCaretBlinkTime(Before);

    ASSERT_EQ(On.Width, Off.Width);
    ASSERT_EQ(On.Height, Off.Height);
    const TCaretState Caret = GetCaretState();
    TPoint At = Caret.Pos;
    ClientToScreen(Form->Edit->Handle(), At);
    TPoint FormOrigin{0, 0};
    ClientToScreen(Form->Handle(), FormOrigin);
    const TRect Box = Bounds(At.X - FormOrigin.X, At.Y - FormOrigin.Y, Caret.Width, Caret.Height);
    int Inside = 0, Outside = 0;
    for (int Y = 0; Y < On.Height; ++Y)
        for (int X = 0; X < On.Width; ++X) {
            const TColor A = On.Pixel(X, Y), B = Off.Pixel(X, Y);
            if (PtInRect(Box, TPoint{X, Y}))
                Inside += (A ^ B) == 0xFFFFFF ? 1 : 0;
            else
                Outside += A != B ? 1 : 0;
        }
    EXPECT_EQ(Inside, Caret.Width * Caret.Height) << "every pixel of the caret inverted";
    EXPECT_EQ(Outside, 0) << "nothing else changed";
}
