// The flat combo box: its button width limits, Flat against Ctl3D, the hot look of border and
// button, the colour while disabled and the dropped list's width.
#include "controls/grid/asgcombo.h"

#include "platform/gfx/rasterdevice.h"
#include "platform/stdctrls/comboboxwindow.h"
#include "platform/stdctrls/edit.h"
#include "platform/ui/sysmetrics.h"
#include "tests/platform/stdctrls/stdctrlstest.h"
#include "tests/support/golden.h"

#include <gtest/gtest.h>

namespace {

class FlatCombo : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = ShownForm(&App);
        Form->SetColor(clTeal);
        Combo = Place<TASGComboBox>(Form, 20, 20, 150, 24);
        Combo->Items()->Add("one");
        Combo->Items()->Add("two");
        Other = Place<TEdit>(Form, 20, 100, 100, 24);
        Pump();
    }
    // The combo's pixels as its form's buffer holds them, at a client point.
    TColor PixelAt(int X, int Y)
    {
        Combo->Repaint();
        Pump();
        TRasterDevice Device(Combo->Width(), Combo->Height(), clBlack);
        CopyWindowPicture(Combo->Handle(), Device, 0, 0);
        // The picture holds the window's frame around the client area.
        TRect W;
        GetWindowRect(Combo->Handle(), W);
        const TPoint Origin = Combo->ClientToScreen(TPoint{0, 0});
        return Device.GetPixel(X + Origin.X - W.Left, Y + Origin.Y - W.Top);
    }

    TDeterministicFonts Fonts;
    TTestApplication App;
    TForm* Form = nullptr;
    TASGComboBox* Combo = nullptr;
    TEdit* Other = nullptr;
};

} // namespace

TEST_F(FlatCombo, ButtonWidthTakesOnly14To32)
{
    EXPECT_EQ(Combo->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 2);
    struct TCase {
        int Value;
        int After;
    };
    const std::vector<TCase> Cases = {{14, 14}, {13, 14}, {32, 32}, {33, 32}, {-1, 32}, {20, 20}};
    for (const TCase& Case : Cases) {
        Combo->SetButtonWidth(Case.Value);
        EXPECT_EQ(Combo->ButtonWidth(), Case.After) << Case.Value;
    }
}

TEST_F(FlatCombo, Ctl3DIsAlwaysTheOppositeOfFlat)
{
    EXPECT_TRUE(Combo->Flat());
    EXPECT_FALSE(Combo->Ctl3D());
    Combo->SetFlat(false);
    EXPECT_TRUE(Combo->Ctl3D());
    Combo->SetFlat(true);
    EXPECT_FALSE(Combo->Ctl3D());
    Combo->SetCtl3D(true);
    EXPECT_FALSE(Combo->Ctl3D());
}

TEST_F(FlatCombo, TheBorderRisesWhenHotWithFocusBorder)
{
    Combo->SetColor(clYellow);
    Combo->SetFocusBorder(true);
    struct TCase {
        const char* Name;
        std::function<void()> Act;
        bool Hot;
        TColor Corner;
    };
    const std::vector<TCase> Cases = {
        {"cold: the parent's colour", [] {}, false, clTeal},
        {"mouse over: sunken", [&] { MouseMoveAt(Combo, 10, 10); }, true, clBtnShadow},
        {"mouse gone", [&] { MouseMoveAt(Other, 5, 5); }, false, clTeal},
        {"focused: hot", [&] { Combo->SetFocus(); }, true, clBtnShadow},
        {"without FocusBorder: frames only", [&] { Combo->SetFocusBorder(false); }, true, clTeal},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Case.Act();
        Pump();
        EXPECT_EQ(Combo->Hot(), Case.Hot);
        EXPECT_EQ(PixelAt(0, 0), ColorToRGB(Case.Corner));
        EXPECT_EQ(PixelAt(2, Combo->ClientHeight() / 2), ColorToRGB(clYellow));
    }
}

TEST_F(FlatCombo, AutoFocusTakesTheFocusWhenTheMouseEnters)
{
    Other->SetFocus();
    Pump();
    MouseMoveAt(Combo, 10, 10);
    EXPECT_FALSE(Combo->Focused());
    MouseMoveAt(Other, 5, 5);
    Combo->SetAutoFocus(true);
    MouseMoveAt(Combo, 10, 10);
    EXPECT_EQ(Form->ActiveControl(), Combo);
}

TEST_F(FlatCombo, ADisabledFlatComboTakesItsParentsColourUntilEnabled)
{
    Combo->SetColor(clYellow);
    Combo->SetEnabled(false);
    EXPECT_EQ(Combo->Color(), clTeal);
    EXPECT_FALSE(Combo->Hot());
    Combo->SetEnabled(true);
    EXPECT_EQ(Combo->Color(), clYellow);
    EXPECT_FALSE(Combo->ParentColor());
}

TEST_F(FlatCombo, APositiveDropWidthWidensTheList)
{
    Combo->SetDropWidth(260);
    Combo->SetDroppedDown(true);
    Pump();
    TRect R;
    GetWindowRect(ComboBoxListWindow(Combo->Handle()), R);
    EXPECT_EQ(R.Width(), 260);
    Combo->SetDroppedDown(false);
    Combo->SetDropWidth(0);
    Combo->SetDroppedDown(true);
    Pump();
    GetWindowRect(ComboBoxListWindow(Combo->Handle()), R);
    EXPECT_EQ(R.Width(), 260); // zero leaves the width the list was given
    Combo->SetDroppedDown(false);
}
