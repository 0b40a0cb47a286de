// tests/gui/grid/wheel_test.cpp: the mouse wheel over a grid on a private X server: turning it
// towards the user moves the current row down by the wheel's lines, away moves it up, and with
// Ctrl held it zooms the grid instead.
#include "tests/gui/formfixture.h"

#include "controls/grid/advgrid.h"

#include <string>

namespace {

using guitest::PumpUntil;

class TWheelForm : public TForm {
public:
    explicit TWheelForm(TComponent* AOwner) : TForm(AOwner), Grid(new TAdvStringGrid(this))
    {
        SetCaption("Wheel");
        SetClientWidth(400);
        SetClientHeight(300);
        Grid->SetParent(this);
        Grid->SetBounds(8, 8, 384, 284);
        Grid->SetRowCount(40);
        for (int R = 1; R < 40; ++R)
            Grid->SetCells(1, R, "row " + std::to_string(R));
    }

    TAdvStringGrid* Grid;
};

class WheelX11 : public guitest::FormScreenTest<TWheelForm> {
protected:
    TWheelForm* MakeForm() override { return new TWheelForm(App.get()); }

    void SetUp() override
    {
        guitest::FormScreenTest<TWheelForm>::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Form->Grid->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return Form->Grid->Focused() && Painted(); }));
        MoveTo(Form->Grid, Middle(Form->Grid));
    }

    // Turns the wheel once: button 4 away from the user, 5 towards.
    void Turn(const std::string& Button, bool Ctrl = false)
    {
        std::vector<std::string> Command = {"xdotool"};
        if (Ctrl)
            Command.insert(Command.end(), {"keydown", "ctrl"});
        Command.insert(Command.end(), {"click", Button});
        if (Ctrl)
            Command.insert(Command.end(), {"keyup", "ctrl"});
        ASSERT_EQ(guitest::RunTool(Display, Command).Status, 0);
    }
};

TEST_F(WheelX11, TheWheelMovesTheCurrentRowByItsLines)
{
    ASSERT_EQ(Form->Grid->Row(), 1);
    Turn("5");
    ASSERT_TRUE(PumpUntil([&] { return Form->Grid->Row() == 4; })) << Form->Grid->Row();
    Turn("5");
    ASSERT_TRUE(PumpUntil([&] { return Form->Grid->Row() == 7; })) << Form->Grid->Row();
    Turn("4");
    ASSERT_TRUE(PumpUntil([&] { return Form->Grid->Row() == 4; })) << Form->Grid->Row();
    EXPECT_EQ(Form->Grid->ZoomFactor(), 0);
}

TEST_F(WheelX11, CtrlWheelZoomsWithoutMovingTheRow)
{
    const int Width = Form->Grid->ColWidths(1);
    Turn("5", true);
    ASSERT_TRUE(PumpUntil([&] { return Form->Grid->ZoomFactor() == 3; }))
        << Form->Grid->ZoomFactor();
    EXPECT_EQ(Form->Grid->ColWidths(1), Width + 3);
    Turn("4", true);
    ASSERT_TRUE(PumpUntil([&] { return Form->Grid->ZoomFactor() == 0; }))
        << Form->Grid->ZoomFactor();
    EXPECT_EQ(Form->Grid->ColWidths(1), Width);
    EXPECT_EQ(Form->Grid->Row(), 1);
}

} // namespace
