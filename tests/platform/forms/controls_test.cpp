// The control base classes: alignment and anchors on resize, focus in tab order, dialog keys,
// accelerators and mouse clicks reaching the right control at the right point.
#include "tests/platform/forms/formstest.h"

#include "platform/ui/wait.h"

#include <gtest/gtest.h>

TEST(Controls, AlignedChildrenFillTheirSidesAfterAResize)
{
    TTestApplication App;
    TForm* Form = new TForm(&App);
    Form->SetBounds(0, 0, 300, 200);
    struct TChild {
        TAlign Align;
        TRect Start;
        TRect After; // once the form is 400 x 300
    };
    const std::vector<TChild> Table = {
        {alTop, Bounds(0, 0, 10, 20), Bounds(0, 0, 400, 20)},
        {alBottom, Bounds(0, 0, 10, 30), Bounds(0, 270, 400, 30)},
        {alLeft, Bounds(0, 0, 40, 10), Bounds(0, 20, 40, 250)},
        {alRight, Bounds(0, 0, 50, 10), Bounds(350, 20, 50, 250)},
        {alClient, Bounds(0, 0, 10, 10), Bounds(40, 20, 310, 250)},
    };
    std::vector<TControl*> Children;
    for (const TChild& Row : Table) {
        TControl* C = Place<TTestBox>(Form, Row.Start.Left, Row.Start.Top, Row.Start.Width(),
                                      Row.Start.Height());
        C->SetAlign(Row.Align);
        Children.push_back(C);
    }
    EXPECT_EQ(Children[4]->BoundsRect(), Bounds(40, 20, 210, 150));
    Form->Show();
    Form->SetBounds(0, 0, 400, 300);
    for (std::size_t I = 0; I < Table.size(); ++I)
        EXPECT_EQ(Children[I]->BoundsRect(), Table[I].After) << "child " << I;
    // A hidden aligned child gives its room to the others.
    Children[0]->Hide();
    EXPECT_EQ(Children[4]->BoundsRect(), Bounds(40, 0, 310, 270));
}

TEST(Controls, AnchoredChildrenKeepTheirDistancesAfterAResize)
{
    TTestApplication App;
    TForm* Form = new TForm(&App);
    Form->SetBounds(0, 0, 400, 300);
    struct TChild {
        TAnchors Anchors;
        TRect Start;
        TRect After; // once the form is 500 x 400
    };
    const std::vector<TChild> Table = {
        {{akLeft, akTop}, Bounds(10, 10, 50, 20), Bounds(10, 10, 50, 20)},
        {{akRight, akTop}, Bounds(340, 10, 50, 20), Bounds(440, 10, 50, 20)},
        {{akLeft, akTop, akRight}, Bounds(10, 50, 380, 20), Bounds(10, 50, 480, 20)},
        {{akRight, akBottom}, Bounds(340, 270, 50, 20), Bounds(440, 370, 50, 20)},
        {{akLeft, akTop, akBottom}, Bounds(10, 100, 50, 100), Bounds(10, 100, 50, 200)},
        {{}, Bounds(100, 100, 50, 50), Bounds(150, 150, 50, 50)},
    };
    std::vector<TControl*> Children;
    for (const TChild& Row : Table) {
        TControl* C = Row.Anchors.Contains(akLeft) && Row.Anchors.Contains(akTop)
                          ? static_cast<TControl*>(new TTestBox(Form))
                          : static_cast<TControl*>(new TTestShape(Form));
        C->SetParent(Form);
        C->SetBoundsRect(Row.Start);
        C->SetAnchors(Row.Anchors);
        Children.push_back(C);
    }
    Form->SetBounds(0, 0, 500, 400);
    for (std::size_t I = 0; I < Table.size(); ++I)
        EXPECT_EQ(Children[I]->BoundsRect(), Table[I].After) << "child " << I;
    // Back to the first size: back to the first bounds, nothing drifts.
    Form->SetBounds(0, 0, 400, 300);
    for (std::size_t I = 0; I < Table.size(); ++I)
        EXPECT_EQ(Children[I]->BoundsRect(), Table[I].Start) << "child " << I;
}

class TDialogForm : public TForm {
public:
    explicit TDialogForm(TComponent* AOwner) : TForm(AOwner)
    {
        SetBounds(100, 100, 300, 200);
        Edit = Place<TTestBox>(this, 10, 10, 100, 20);
        Edit->SetTabStop(true);
        Ok = Place<TTestButton>(this, 10, 150, 75, 25);
        Ok->SetCaption("&OK");
        Ok->Default = true;
        Cancel = Place<TTestButton>(this, 100, 150, 75, 25);
        Cancel->SetCaption("Cancel");
        Cancel->Cancel = true;
        Check = Place<TTestButton>(this, 200, 150, 75, 25);
        Check->SetCaption("&Check e-mail");
        for (TWinControl* C : std::vector<TWinControl*>{Edit, Ok, Cancel, Check}) {
            C->OnEnter = [this, C](TObject*) { Log.push_back("enter " + C->Caption()); };
            C->OnExit = [this, C](TObject*) { Log.push_back("exit " + C->Caption()); };
        }
        Edit->SetCaption("edit");
    }
    TTestBox* Edit;
    TTestButton* Ok;
    TTestButton* Cancel;
    TTestButton* Check;
    std::vector<std::string> Log;
};

TEST(Controls, TabMovesTheFocusInTabOrderAndSkipsWhatCannotTakeIt)
{
    TTestApplication App;
    TDialogForm* Form = new TDialogForm(&App);
    Form->Check->SetTabOrder(0); // now: Check, Edit, OK, Cancel
    Form->Show();
    Pump();
    EXPECT_EQ(Form->ActiveControl(), Form->Check); // the first in tab order
    EXPECT_TRUE(Form->Check->Focused());
    EXPECT_EQ(Screen->ActiveForm(), Form);

    Form->Ok->SetEnabled(false);
    struct TStep {
        bool Shift;
        TWinControl* Expected;
    };
    const std::vector<TStep> Steps = {{false, Form->Edit},
                                      {false, Form->Cancel},
                                      {false, Form->Check},
                                      {true, Form->Cancel},
                                      {true, Form->Edit}};
    for (const TStep& Step : Steps) {
        if (Step.Shift)
            InjectKeyDown(VK_SHIFT);
        InjectKeyPress(VK_TAB);
        if (Step.Shift)
            InjectKeyUp(VK_SHIFT);
        Pump();
        EXPECT_EQ(Form->ActiveControl(), Step.Expected) << Step.Expected->Caption();
        EXPECT_TRUE(Step.Expected->Focused());
        EXPECT_EQ(Screen->ActiveControl(), Step.Expected);
    }
    const std::vector<std::string> Expected = {
        "enter &Check e-mail", "exit &Check e-mail", "enter edit",          "exit edit",
        "enter Cancel",        "exit Cancel",        "enter &Check e-mail", "exit &Check e-mail",
        "enter Cancel",        "exit Cancel",        "enter edit"};
    EXPECT_EQ(Form->Log, Expected);
    // The tab key never reached the controls as a character.
    EXPECT_EQ(Form->Ok->Clicks + Form->Cancel->Clicks + Form->Check->Clicks, 0);
}

TEST(Controls, EnterEscapeAndAcceleratorsClickTheirButtons)
{
    TTestApplication App;
    TDialogForm* Form = new TDialogForm(&App);
    Form->Show();
    Form->Edit->SetFocus();
    Pump();
    ASSERT_TRUE(Form->Edit->Focused());
    struct TCase {
        const char* Name;
        std::function<void()> Keys;
        int Ok, Cancel, Check;
    };
    const std::vector<TCase> Cases = {
        {"Enter", [] { InjectKeyPress(VK_RETURN); }, 1, 0, 0},
        {"Escape", [] { InjectKeyPress(VK_ESCAPE); }, 1, 1, 0},
        {"letter", [] { InjectKeyPress('C', "c"); }, 1, 1, 1},
        {"Alt+letter",
         [] {
             InjectKeyDown(VK_MENU);
             InjectKeyPress('O');
             InjectKeyUp(VK_MENU);
         },
         2, 1, 1},
        {"letter of no button", [] { InjectKeyPress('Z', "z"); }, 2, 1, 1},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Case.Keys();
        Pump();
        EXPECT_EQ(Form->Ok->Clicks, Case.Ok);
        EXPECT_EQ(Form->Cancel->Clicks, Case.Cancel);
        EXPECT_EQ(Form->Check->Clicks, Case.Check);
    }
}

TEST(Controls, DialogKeysWorkWhileAUnitWaits)
{
    // A network wait pumps messages itself: the default button must still take Enter there.
    TTestApplication App;
    TDialogForm* Form = new TDialogForm(&App);
    Form->Show();
    Form->Edit->SetFocus();
    Pump();
    InjectKeyPress(VK_RETURN);
    EXPECT_EQ(WaitUntil([&] { return Form->Ok->Clicks > 0; }, 1000), prDone);
    EXPECT_EQ(Form->Ok->Clicks, 1);
}

TEST(Controls, KeyPreviewShowsKeysToTheFormFirst)
{
    TTestApplication App;
    TDialogForm* Form = new TDialogForm(&App);
    std::vector<std::string> Seen;
    Form->SetKeyPreview(true);
    Form->OnKeyDown = [&](TObject*, Word& Key, TShiftState) {
        Seen.push_back("form " + std::to_string(Key));
        if (Key == 'X')
            Key = 0;
    };
    Form->Edit->OnKeyDown = [&](TObject*, Word& Key, TShiftState) {
        Seen.push_back("edit " + std::to_string(Key));
    };
    Form->Show();
    Form->Edit->SetFocus();
    InjectKeyPress('A', "a");
    InjectKeyPress('X', "x");
    Pump();
    const std::vector<std::string> Expected = {"form 65", "edit 65", "form 88"};
    EXPECT_EQ(Seen, Expected);
}

TEST(Controls, AClickReachesTheControlUnderThePointInItsOwnCoordinates)
{
    TTestApplication App;
    TForm* Form = new TForm(&App);
    Form->SetBounds(50, 50, 300, 200);
    TTestBox* Box = Place<TTestBox>(Form, 30, 40, 60, 30);
    TTestShape* Shape = Place<TTestShape>(Form, 100, 100, 40, 30);
    std::vector<std::string> Seen;
    auto Watch = [&](TControl* C, const std::string& Name) {
        C->OnMouseDown = [&Seen, Name](TObject*, TMouseButton B, TShiftState, int X, int Y) {
            Seen.push_back(Name + " down " + std::to_string(B) + " " + std::to_string(X) + "," +
                           std::to_string(Y));
        };
        C->OnClick = [&Seen, Name](TObject*) { Seen.push_back(Name + " click"); };
    };
    Watch(Box, "box");
    Watch(Shape, "shape");
    Watch(Form, "form");
    Form->Show();
    Pump();
    auto Click = [&](int X, int Y) {
        InjectMouseButton(Form->Handle(), 0, true, X, Y);
        Pump();
        InjectMouseButton(Form->Handle(), 0, false, X, Y);
        Pump();
    };
    Click(35, 47);
    Click(105, 110);
    Click(200, 20);
    // Pressed on the box, released outside it: no click.
    InjectMouseButton(Form->Handle(), 0, true, 40, 50);
    Pump();
    InjectMouseButton(Form->Handle(), 0, false, 250, 150);
    Pump();
    const std::vector<std::string> Expected = {
        "box down 0 5,7",     "box click",  "shape down 0 5,10", "shape click",
        "form down 0 200,20", "form click", "box down 0 10,10"};
    EXPECT_EQ(Seen, Expected);
    EXPECT_EQ(GetCapture(), 0u);
}
