// Speed buttons: plain clicks, groups with one button down, AllowAllUp, and the flat look
// following the mouse.
#include "tests/platform/stdctrls/stdctrlstest.h"

#include "platform/stdctrls/speedbutton.h"

#include <gtest/gtest.h>

TEST(SpeedButtons, GroupsKeepOneDownAndAllowAllUpLetsItGoUp)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    std::vector<TSpeedButton*> B;
    int Clicks = 0;
    for (int I = 0; I < 3; ++I) {
        B.push_back(Place<TSpeedButton>(Form, 10 + I * 30, 10, 23, 22));
        B.back()->SetGroupIndex(1);
        B.back()->OnClick = [&](TObject*) { ++Clicks; };
    }
    TSpeedButton* Plain = Place<TSpeedButton>(Form, 200, 10, 23, 22);
    Plain->OnClick = [&](TObject*) { ++Clicks; };
    Pump();
    auto Downs = [&] { return std::vector<bool>{B[0]->Down(), B[1]->Down(), B[2]->Down()}; };
    struct TCase {
        const char* Name;
        std::function<void()> Act;
        std::vector<bool> Down;
        int Clicks;
    };
    const std::vector<TCase> Cases = {
        {"first goes down", [&] { ClickCentre(B[0]); }, {true, false, false}, 1},
        {"second takes over", [&] { ClickCentre(B[1]); }, {false, true, false}, 2},
        {"clicking the down one keeps it down",
         [&] { ClickCentre(B[1]); },
         {false, true, false},
         3},
        {"with AllowAllUp it goes up",
         [&] {
             B[0]->SetAllowAllUp(true);
             ClickCentre(B[1]);
         },
         {false, false, false},
         4},
        {"down in code releases the others",
         [&] {
             B[2]->SetDown(true);
             B[0]->SetDown(true);
         },
         {true, false, false},
         4},
        {"a plain button never stays down",
         [&] {
             ClickCentre(Plain);
             Plain->SetDown(true);
         },
         {true, false, false},
         5},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Case.Act();
        EXPECT_EQ(Downs(), Case.Down);
        EXPECT_EQ(Clicks, Case.Clicks);
        EXPECT_FALSE(Plain->Down());
    }
    // A press that leaves the button before the release is no click.
    InjectMouseButton(Form->Handle(), 0, true, 211, 20);
    InjectMouseMove(Form->Handle(), 150, 150);
    InjectMouseButton(Form->Handle(), 0, false, 150, 150);
    Pump();
    EXPECT_EQ(Clicks, 5);
}

TEST(SpeedButtons, AFlatButtonKnowsWhenTheMouseIsOverIt)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    TSpeedButton* Button = Place<TSpeedButton>(Form, 10, 10, 23, 22);
    Button->SetFlat(true);
    Pump();
    InjectMouseMove(Form->Handle(), 20, 20);
    Pump();
    EXPECT_TRUE(Button->MouseInControl());
    InjectMouseMove(Form->Handle(), 150, 150);
    Pump();
    EXPECT_FALSE(Button->MouseInControl());
}
