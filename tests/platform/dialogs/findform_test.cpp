// The find and replace dialogs as modeless forms: Execute returns with the form up, its
// buttons fire OnFind and OnReplace with the form's state, Cancel or CloseDialog closes it and
// fires OnClose, and the options hide what they name.
#include "tests/platform/dialogs/commondialogstest.h"

#include "platform/dialogs/finddialogs.h"
#include "platform/dialogs/findform.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/checkbox.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/groupbox.h"
#include "platform/stdctrls/radiobutton.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FindForms : public ::testing::Test {
protected:
    TTestApplication App;
    TInstalledFormDialogs Dialogs;
    TDeterministicFonts Fonts;
};

TFindForm* FindFormUp()
{
    Pump();
    return Screen != nullptr ? dynamic_cast<TFindForm*>(Screen->ActiveForm()) : nullptr;
}

} // namespace

TEST_F(FindForms, TheFindDialogStaysUpAndItsButtonsFireItsEvents)
{
    TFindDialog D(nullptr);
    D.SetFindText("viagra");
    std::vector<std::string> Events;
    D.OnFind = [&](TObject*) {
        Events.push_back("find " + D.FindText() + (D.Options().Contains(frDown) ? " down" : " up") +
                         (D.Options().Contains(frMatchCase) ? " case" : ""));
    };
    D.OnClose = [&](TObject*) { Events.push_back("close"); };
    ASSERT_TRUE(D.Execute());
    TFindForm* Form = FindFormUp();
    ASSERT_NE(Form, nullptr);
    EXPECT_EQ(Form->Caption(), "Find");
    EXPECT_FALSE(Form->Modal());
    EXPECT_EQ(Form->FindEdit()->Text(), "viagra");
    EXPECT_TRUE(Form->Down()->Checked());

    InjectKeyPress(VK_RETURN); // Find Next is the default button
    Pump();
    Form->FindEdit()->SetText("casino");
    ClickCentre(Form->MatchCase());
    ClickCentre(Form->Up());
    ClickCentre(Form->FindNextButton());
    // Without a text there is nothing to find.
    Form->FindEdit()->SetText("");
    EXPECT_FALSE(Form->FindNextButton()->Enabled());

    InjectKeyPress(VK_ESCAPE);
    Pump();
    EXPECT_EQ(FindFormUp(), nullptr);
    EXPECT_FALSE(D.Showing());
    EXPECT_EQ(Events,
              (std::vector<std::string>{"find viagra down", "find casino up case", "close"}));
}

TEST_F(FindForms, TheReplaceDialogReportsEachButtonAndCloseDialogClosesIt)
{
    TReplaceDialog D(nullptr);
    D.SetFindText("cheap");
    D.SetReplaceText("dear");
    D.SetOptions(TFindOptions{frDown, frHideWholeWord});
    std::vector<std::string> Events;
    D.OnFind = [&](TObject*) { Events.push_back("find " + D.FindText()); };
    D.OnReplace = [&](TObject*) {
        Events.push_back(std::string(D.Options().Contains(frReplaceAll) ? "all " : "one ") +
                         D.FindText() + ">" + D.ReplaceText());
    };
    D.OnClose = [&](TObject*) { Events.push_back("close"); };
    ASSERT_TRUE(D.Execute());
    TFindForm* Form = FindFormUp();
    ASSERT_NE(Form, nullptr);
    EXPECT_EQ(Form->Caption(), "Replace");
    EXPECT_EQ(Form->Direction(), nullptr);
    EXPECT_FALSE(Form->WholeWord()->Visible());
    EXPECT_EQ(Form->ReplaceEdit()->Text(), "dear");

    ClickCentre(Form->FindNextButton());
    Form->ReplaceEdit()->SetText("fair");
    ClickCentre(Form->ReplaceButton());
    ClickCentre(Form->ReplaceAllButton());
    // Shown again while up: the same form.
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(FindFormUp(), Form);
    D.CloseDialog();
    EXPECT_EQ(FindFormUp(), nullptr);
    EXPECT_EQ(Events, (std::vector<std::string>{"find cheap", "one cheap>fair", "all cheap>fair",
                                                "close"}));
}

TEST_F(FindForms, TheDialogAppearsWherePositionSaysAndHidesWhatTheOptionsName)
{
    TFindDialog D(nullptr);
    D.SetPosition(TPoint{30, 40});
    D.SetOptions(TFindOptions{frHideMatchCase, frDisableUpDown, frDisableWholeWord});
    ASSERT_TRUE(D.Execute());
    TFindForm* Form = FindFormUp();
    ASSERT_NE(Form, nullptr);
    EXPECT_EQ(Form->Left(), 30);
    EXPECT_EQ(Form->Top(), 40);
    EXPECT_FALSE(Form->MatchCase()->Visible());
    EXPECT_FALSE(Form->Direction()->Enabled());
    EXPECT_FALSE(Form->WholeWord()->Enabled());
    // frDown not set: the search goes up.
    EXPECT_TRUE(Form->Up()->Checked());
    D.CloseDialog();
    EXPECT_EQ(FindFormUp(), nullptr);
}
