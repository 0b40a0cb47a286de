// The font dialog driven as a form: a font put together from its lists and effects, a size
// out of the allowed range refused with a box, and the form's picture.
#include "tests/platform/dialogs/commondialogstest.h"
#include "tests/support/golden.h"

#include "platform/dialogs/fontdialog.h"
#include "platform/dialogs/fontform.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/checkbox.h"
#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/groupbox.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/listbox.h"

#include <gtest/gtest.h>

namespace {

class FontForms : public ::testing::Test {
protected:
    TTestApplication App;
    TInstalledFormDialogs Dialogs;
    TDeterministicFonts Fonts;
};

void ClickItem(TListBox* List, int Index)
{
    const TRect Item = List->ItemRect(Index);
    ClickAt(List, Item.Left + 10, Item.Top + Item.Height() / 2);
}

} // namespace

TEST_F(FontForms, AFontIsPutTogetherFromTheListsAndEffects)
{
    TFontDialog D(nullptr);
    D.Font()->SetName("Arial");
    D.Font()->SetSize(10);
    D.SetOptions(TFontDialogOptions{fdEffects, fdLimitSize});
    D.SetMinFontSize(8);
    D.SetMaxFontSize(36);
    TFormScript Script(App, {[&](TCustomForm* Form) {
                                 auto* Dialog = FormAs<TFontForm>(Form);
                                 ASSERT_NE(Dialog, nullptr);
                                 EXPECT_EQ(Dialog->Caption(), "Font");
                                 EXPECT_EQ(Dialog->FaceEdit()->Text(), "Arial");
                                 EXPECT_EQ(Dialog->StyleEdit()->Text(), "Regular");
                                 EXPECT_EQ(Dialog->SizeEdit()->Text(), "10");
                                 EXPECT_TRUE(Dialog->Effects()->Visible());
                                 // The sizes offered keep to the limits.
                                 EXPECT_EQ(Dialog->SizeList()->Items()->Strings(0), "8");
                                 EXPECT_EQ(Dialog->SizeList()->Items()->Strings(
                                               Dialog->SizeList()->Items()->Count() - 1),
                                           "36");
                                 Dialog->FaceEdit()->SetText("Courier New");
                                 ClickItem(Dialog->StyleList(), 3); // Bold Italic
                                 EXPECT_EQ(Dialog->StyleEdit()->Text(), "Bold Italic");
                                 ClickCentre(Dialog->Underline());
                                 Dialog->ColorBox()->SetItemIndex(9); // Red
                                 Dialog->SizeEdit()->SetText("48");
                                 ClickCentre(Dialog->OkButton());
                             },
                             [&](TCustomForm* Form) {
                                 auto* Box = FormAs<TMessageForm>(Form);
                                 ASSERT_NE(Box, nullptr);
                                 EXPECT_EQ(Box->Message()->Caption(),
                                           "Size must be between 8 and 36 points.");
                                 InjectKeyPress(VK_RETURN);
                             },
                             [&](TCustomForm* Form) {
                                 auto* Dialog = FormAs<TFontForm>(Form);
                                 ASSERT_NE(Dialog, nullptr);
                                 ClickItem(Dialog->SizeList(), 4); // 12
                                 EXPECT_EQ(Dialog->SizeEdit()->Text(), "12");
                                 InjectKeyPress(VK_RETURN);
                             }});
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(Script.Ran(), 3u);
    EXPECT_EQ(D.Font()->Name(), "Courier New");
    EXPECT_EQ(D.Font()->Size(), 12);
    EXPECT_EQ(D.Font()->Style(), (TFontStyles{fsBold, fsItalic, fsUnderline}));
    EXPECT_EQ(D.Font()->Color(), clRed);
}

TEST_F(FontForms, WithoutEffectsTheirGroupIsHiddenAndCancelChangesNothing)
{
    TFontDialog D(nullptr);
    D.Font()->SetName("Arial");
    D.SetOptions(TFontDialogOptions{});
    TFormScript Script(App, {[&](TCustomForm* Form) {
                           auto* Dialog = FormAs<TFontForm>(Form);
                           ASSERT_NE(Dialog, nullptr);
                           EXPECT_FALSE(Dialog->Effects()->Visible());
                           Dialog->FaceEdit()->SetText("Symbol");
                           InjectKeyPress(VK_ESCAPE);
                       }});
    EXPECT_FALSE(D.Execute());
    EXPECT_EQ(D.Font()->Name(), "Arial");
}

TEST_F(FontForms, TheFontDialogLooksAsItsGoldenPicture)
{
    TDialogRequest R;
    R.Kind = TDialogKind::Font;
    R.Font.Name = "Arial";
    R.Font.Size = 10;
    R.Font.Style = TFontStyles{fsBold};
    R.Options = 1u << fdEffects;
    TFontForm Form(nullptr, R);
    // The machine's fonts vary; the picture shows a list of its own.
    Form.SetFamilies({"Arial", "Courier New", "Symbol", "Times New Roman", "Verdana"});
    Form.Show();
    Pump();
    const TRasterDevice& Raster = WindowBackBuffer(Form.Handle())->Raster();
    ExpectMatchesGoldenPng(Raster, Form.ClientRect(), "dialogs/fontdialog.png");
}
