// The edit with a button (its button, F4, the focus, the editor switch, the layout) and the unit
// edit (its menu of units and the unit drawn beside the value).
#include "controls/grid/asgedit.h"

#include "platform/gfx/recordingdevice.h"
#include "platform/stdctrls/editwindow.h"
#include "tests/platform/forms/menutest.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

namespace {

std::function<void()> Key(int VirtualKey)
{
    return [VirtualKey] { InjectKeyPress(VirtualKey); };
}

class EditBtn : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = ShownForm(&App);
        Edit = Place<TAsgEditBtn>(Form, 10, 10, 120, 24);
        Other = Place<TEdit>(Form, 10, 60, 100, 24);
        Edit->OnClickBtn = [this](TObject* Sender) {
            EXPECT_EQ(Sender, Edit);
            ++Clicks;
        };
        Pump();
    }

    TDeterministicFonts Fonts;
    TTestApplication App;
    TForm* Form = nullptr;
    TAsgEditBtn* Edit = nullptr;
    TEdit* Other = nullptr;
    int Clicks = 0;
};

} // namespace

TEST_F(EditBtn, TheButtonAndF4ClickAndTheFocusGoesToTheEdit)
{
    EXPECT_EQ(Edit->Text(), "0");
    Other->SetFocus();
    Pump();
    TAsgEditButton* B = Edit->Button();
    ClickAt(B, B->Width() / 2, B->Height() / 2);
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(Edit->Focused());
    InjectKeyPress(VK_F4);
    Pump();
    EXPECT_EQ(Clicks, 2);
    // A right click is no click of the button; the edit's context menu it opens is closed.
    TMenuScript CloseMenu({[] { InjectKeyPress(VK_ESCAPE); }});
    const TPoint P = InFormOf(B, 3, 3);
    InjectMouseButton(Form->Handle(), 1, true, P.X, P.Y);
    InjectMouseButton(Form->Handle(), 1, false, P.X, P.Y);
    Pump();
    EXPECT_EQ(Clicks, 2);
}

TEST_F(EditBtn, TheValueStaysOnOneLineAndTheEditorSwitchStopsTyping)
{
    Edit->SetFocus();
    Pump();
    Edit->SetText("12");
    Edit->SetSelStart(2);
    InjectKeyPress(VK_RETURN, "\r");
    InjectKeyPress('3', "3");
    Pump();
    EXPECT_EQ(Edit->Text(), "123");
    Edit->SetEditorEnabled(false);
    InjectKeyPress('4', "4");
    InjectKeyPress(VK_BACK, "\b");
    InjectKeyPress(VK_HOME);
    InjectKeyPress(VK_DELETE);
    Pump();
    EXPECT_EQ(Edit->Text(), "123");
    Edit->SelectAll();
    Edit->CutToClipboard();
    EXPECT_EQ(Edit->Text(), "123");
}

TEST_F(EditBtn, EnteringByKeyboardSelectsAllButAClickDoesNot)
{
    Edit->SetText("hello");
    Other->SetFocus();
    Pump();
    InjectKeyPress(VK_TAB);
    Pump();
    ASSERT_TRUE(Edit->Focused());
    EXPECT_EQ(Edit->SelLength(), 5);
    Other->SetFocus();
    Pump();
    ClickAt(Edit, 10, 8);
    EXPECT_TRUE(Edit->Focused());
    EXPECT_EQ(Edit->SelLength(), 0);
}

TEST_F(EditBtn, LayoutLeavesRoomForTheButton)
{
    TAsgEditButton* B = Edit->Button();
    EXPECT_EQ(B->Width(), 15);
    EXPECT_EQ(B->BoundsRect(), Rect(120 - 15 - 5, 0, 120 - 5, 24 - 5));
    TRect Loc;
    SendMessage(Edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&Loc));
    EXPECT_EQ(Loc.Left, 1);
    EXPECT_EQ(Loc.Right, Edit->ClientWidth() - 15 - 3);
    Edit->SetHeight(3);
    EXPECT_EQ(Edit->Height(), Edit->MinHeight());
    Edit->SetCtl3D(false);
    Edit->SetHeight(30);
    EXPECT_EQ(B->BoundsRect(), Rect(120 - 15, 1, 120, 30 - 2));
    // Right alignment makes the window again with its style.
    Edit->SetText("abc");
    Edit->SetRightAlign(true);
    EXPECT_NE(GetWindowLong(Edit->Handle(), GWL_STYLE) & ES_RIGHT, 0);
    EXPECT_EQ(Edit->Text(), "abc");
}

TEST(EditButton, FillsItselfWithItsButtonAndKeepsAMinimumHeight)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* B = new TAsgEditButton(Form);
    B->SetParent(Form);
    EXPECT_EQ(B->BoundsRect(), Rect(0, 0, 20, 25));
    B->SetHeight(10);
    EXPECT_EQ(B->Height(), 15);
    EXPECT_EQ(B->Button()->BoundsRect(), Rect(0, 0, 20, 15));
    B->SetButtonCaption("...");
    EXPECT_EQ(B->Button()->Caption(), "...");
}

// ---- the unit edit

TEST_F(EditBtn, TheUnitMenuSetsTheChosenUnit)
{
    auto* Unit = Place<TAsgUnitEditBtn>(Form, 150, 10, 120, 24);
    Pump();
    EXPECT_TRUE(Unit->RightAlign());
    EXPECT_EQ(Unit->UnitSpace(), 20);
    Unit->Units()->Add("mm");
    Unit->Units()->Add("cm");
    struct TCase {
        std::vector<std::function<void()>> Keys;
        const char* UnitID;
    };
    const std::vector<TCase> Cases = {
        {{Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN)}, "cm"},
        {{Key(VK_DOWN), Key(VK_RETURN)}, "mm"},
        {{Key(VK_ESCAPE)}, "mm"},
    };
    for (const TCase& Case : Cases) {
        TMenuScript Script(Case.Keys);
        Unit->ClickBtn();
        EXPECT_EQ(Unit->UnitID(), std::string(Case.UnitID));
    }
    // The unit is drawn left of the button.
    Unit->SetUnitID("cm");
    TRecordingDevice Device(200, 50);
    TCanvas Canvas(&Device);
    Unit->PaintTo(Canvas.Handle(), 0, 0);
    bool Drawn = false;
    for (const auto& Call : Device.Calls())
        if (Call.Text == "cm") {
            Drawn = true;
            const int ButtonLeft = Unit->Button()->Left();
            EXPECT_LT(Call.Points.at(0).X, ButtonLeft);
            EXPECT_GE(Call.Points.at(0).X, ButtonLeft - 20 - 3);
        }
    EXPECT_TRUE(Drawn);
    TRect Loc;
    SendMessage(Unit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&Loc));
    EXPECT_EQ(Loc.Right, Unit->ClientWidth() - 15 - 20 - 3);
    Unit->SetUnitSpace(30);
    SendMessage(Unit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&Loc));
    EXPECT_EQ(Loc.Right, Unit->ClientWidth() - 15 - 30 - 3);
}
