// Labels: sizing to their text, word wrap, and the accelerator that focuses FocusControl.
#include "tests/platform/stdctrls/stdctrlstest.h"

#include "platform/stdctrls/checkbox.h"
#include "platform/stdctrls/label.h"

#include <gtest/gtest.h>

TEST(Labels, AutoSizeTakesTheTextsSizeAndWordWrapKeepsTheWidth)
{
    TDeterministicFonts Fonts;
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    // Deterministic metrics: 8-point text is 11 pixels high and each character 6 wide (round
    // of half the cell).
    TCanvas Measure;
    Measure.Font()->SetSize(8);
    const int H = Measure.TextHeight("A");
    const int W = Measure.TextWidth("A");
    struct TCase {
        const char* Name;
        std::string Text;
        bool WordWrap;
        TAlignment Alignment;
        int Width;
        TRect Expected;
    };
    const std::vector<TCase> Cases = {
        {"one line", "Hello", false, taLeftJustify, 100, Bounds(10, 10, 5 * W, H)},
        {"accelerator not counted", "&Hello", false, taLeftJustify, 100, Bounds(10, 10, 5 * W, H)},
        {"right edge kept", "Hi", false, taRightJustify, 100, Bounds(110 - 2 * W, 10, 2 * W, H)},
        {"empty: one line high", "", false, taLeftJustify, 100, Bounds(10, 10, W, H)},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto* Label = new TLabel(Form);
        Label->Font()->SetSize(8);
        Label->SetAutoSize(false);
        Label->SetParent(Form);
        Label->SetBounds(10, 10, Case.Width, 40);
        Label->SetWordWrap(Case.WordWrap);
        Label->SetAlignment(Case.Alignment);
        Label->SetCaption(Case.Text);
        Label->SetAutoSize(true);
        EXPECT_EQ(Label->BoundsRect(), Case.Expected);
        delete Label;
    }
    // Wrapped text grows downwards within the width it had.
    auto* Wrapped = Place<TLabel>(Form, 10, 10, 8 * W, 40);
    Wrapped->Font()->SetSize(8);
    Wrapped->SetWordWrap(true);
    Wrapped->SetCaption("one two three");
    EXPECT_EQ(Wrapped->Height(), 2 * H);
    EXPECT_LE(Wrapped->Width(), 8 * W);
    EXPECT_GE(Wrapped->Width(), 7 * W);
}

TEST(Labels, TheAcceleratorFocusesTheFocusControlUnlessTurnedOff)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Label = Place<TLabel>(Form, 10, 10, 60, 17);
    Label->SetCaption("&Name");
    auto* First = Place<TCheckBox>(Form, 80, 40, 100, 17);
    auto* Target = Place<TCheckBox>(Form, 80, 10, 100, 17);
    Label->SetFocusControl(Target);
    First->SetFocus();
    Pump();
    AltKey('N');
    EXPECT_TRUE(Target->Focused());
    EXPECT_FALSE(Target->Checked()); // focused, not clicked
    First->SetFocus();
    Label->SetShowAccelChar(false);
    AltKey('N');
    EXPECT_TRUE(First->Focused());
    // The control going away leaves the label without one.
    delete Target;
    EXPECT_EQ(Label->FocusControl(), nullptr);
}
