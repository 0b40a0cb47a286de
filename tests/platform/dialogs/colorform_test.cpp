// The colour dialog driven as a form: a basic colour clicked, one defined by its red, green
// and blue and added to the custom colours, and the dialog cancelled.
#include "tests/platform/dialogs/commondialogstest.h"

#include "platform/dialogs/colordialog.h"
#include "platform/dialogs/colorform.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/edit.h"

#include <gtest/gtest.h>

namespace {

class ColorForms : public ::testing::Test {
protected:
    TTestApplication App;
    TInstalledFormDialogs Dialogs;
    TDeterministicFonts Fonts;
};

void ClickCell(TColorGrid* Grid, int Index)
{
    const TRect Cell = Grid->CellRect(Index);
    ClickAt(Grid, Cell.Left + Cell.Width() / 2, Cell.Top + Cell.Height() / 2);
}

} // namespace

TEST_F(ColorForms, ABasicColourClickedAndOkIsTheAnswer)
{
    TColorDialog D(nullptr);
    D.SetColor(clRed); // a basic colour: selected at the start
    int StartSelected = -1;
    TFormScript Script(App, {[&](TCustomForm* Form) {
                           auto* Dialog = FormAs<TColorForm>(Form);
                           ASSERT_NE(Dialog, nullptr);
                           EXPECT_EQ(Dialog->Caption(), "Color");
                           EXPECT_FALSE(Dialog->Expanded());
                           StartSelected = Dialog->BasicGrid()->Selected();
                           ClickCell(Dialog->BasicGrid(), 28); // blue
                           InjectKeyPress(VK_RIGHT);           // the next one
                           InjectKeyPress(VK_RETURN);
                       }});
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(TColorForm::BasicColors().at(StartSelected), clRed);
    EXPECT_EQ(D.Color(), TColorForm::BasicColors().at(29));
}

TEST_F(ColorForms, AColourDefinedByItsChannelsJoinsTheCustomColours)
{
    TColorDialog D(nullptr);
    D.SetColor(clBtnFace);
    D.SetOptions(TColorDialogOptions{cdFullOpen});
    TFormScript Script(App, {[&](TCustomForm* Form) {
                           auto* Dialog = FormAs<TColorForm>(Form);
                           ASSERT_NE(Dialog, nullptr);
                           EXPECT_TRUE(Dialog->Expanded());
                           EXPECT_FALSE(Dialog->DefineButton()->Enabled());
                           // The system colour shows as its red, green and blue.
                           EXPECT_EQ(Dialog->CurrentColor(), ColorToRGB(clBtnFace));
                           ClickCell(Dialog->CustomGrid(), 2);
                           Dialog->RedEdit()->SetText("10");
                           Dialog->GreenEdit()->SetText("300"); // held at 255
                           Dialog->BlueEdit()->SetText("30");
                           EXPECT_EQ(Dialog->CurrentColor(), RGB(10, 255, 30));
                           ClickCentre(Dialog->AddButton());
                           EXPECT_EQ(Dialog->CustomGrid()->Selected(), 3);
                           ClickCentre(Dialog->OkButton());
                       }});
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(D.Color(), RGB(10, 255, 30));
    EXPECT_EQ(D.CustomColors()->Values("ColorC"), "1EFF0A");
    EXPECT_EQ(D.CustomColors()->Values("ColorA"), "FFFFFF");

    // Define opens the right part; Escape cancels and nothing changes.
    D.SetOptions(TColorDialogOptions{});
    TFormScript Cancel(App, {[&](TCustomForm* Form) {
                           auto* Dialog = FormAs<TColorForm>(Form);
                           ASSERT_NE(Dialog, nullptr);
                           ClickCentre(Dialog->DefineButton());
                           EXPECT_TRUE(Dialog->Expanded());
                           ClickCell(Dialog->BasicGrid(), 0);
                           InjectKeyPress(VK_ESCAPE);
                       }});
    EXPECT_FALSE(D.Execute());
    EXPECT_EQ(D.Color(), RGB(10, 255, 30));
}
