// tests/gui/grid/rulegrids_test.cpp: the four rule grids loaded from their files, with a flat
// combo box, an edit with a button and a spin edit, on a private X server: the server shows what
// the form drew, the form looks like its golden picture, and over time only the blinking HTML
// cell changes.
#include "tests/gui/formfixture.h"

#include "controls/grid/advgrid.h"
#include "controls/grid/asgcombo.h"
#include "controls/grid/asgedit.h"
#include "controls/grid/asgspin.h"
#include "platform/ui/timers.h"

#include <chrono>
#include <string>

namespace {

using guitest::PumpUntil;

class TRuleGridsForm : public TForm {
public:
    explicit TRuleGridsForm(TComponent* AOwner)
        : TForm(AOwner), Subjects(Grid("subj.lst", 8, 8)), Headers(Grid("header.lst", 392, 8)),
          Senders(Grid("from.lst", 8, 150)), Exceptions(Grid("except.lst", 392, 150)),
          Combo(new TASGComboBox(this)), EditBtn(new TAsgEditBtn(this)),
          Spin(new TAsgSpinEdit(this))
    {
        SetCaption("Rule lists");
        SetClientWidth(776);
        SetClientHeight(330);
        // The white list keeps each rule's number in a column the user never sees.
        Exceptions->HideColumn(6);

        Combo->SetParent(this);
        Combo->SetBounds(8, 296, 150, 24);
        Combo->Items()->Add("contains");
        Combo->Items()->Add("starts with");
        Combo->SetItemIndex(0);
        EditBtn->SetParent(this);
        EditBtn->SetBounds(176, 296, 150, 24);
        EditBtn->SetText("spam@example.org");
        Spin->SetParent(this);
        Spin->SetBounds(344, 296, 80, 24);
        Spin->SetValue(15);
    }

    TAdvStringGrid* Subjects;
    TAdvStringGrid* Headers;
    TAdvStringGrid* Senders;
    TAdvStringGrid* Exceptions;
    TASGComboBox* Combo;
    TAsgEditBtn* EditBtn;
    TAsgSpinEdit* Spin;

private:
    TAdvStringGrid* Grid(const std::string& File, int Left, int Top)
    {
        auto* G = new TAdvStringGrid(this);
        G->SetParent(this);
        G->SetBounds(Left, Top, 376, 134);
        G->SetFixedCols(0);
        G->LoadFromFile(std::string(TARNWICK_FIXTURES) + "/grid/" + File);
        G->Bands()->SetActive(true);
        return G;
    }
};

class RuleGridsX11 : public guitest::FormScreenTest<TRuleGridsForm> {
protected:
    TRuleGridsForm* MakeForm() override { return new TRuleGridsForm(App.get()); }

    // Shows the form with the focus on a grid, which has no caret to blink.
    void SetUp() override
    {
        guitest::FormScreenTest<TRuleGridsForm>::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Form->Subjects->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return Form->Subjects->Focused() && Painted(); }));
    }

    TDibImage PaintedShot()
    {
        EXPECT_TRUE(PumpUntil([&] { return Painted(); }));
        // What was painted reaches the server in the next turn.
        guitest::Turn();
        return Screenshot();
    }
};

TEST_F(RuleGridsX11, TheServerShowsTheGridsAsDrawnAndAsTheirGoldenPicture)
{
    ExpectScreenShowsBackBuffer();
    ExpectLooksLike("rulegrids");
}

TEST_F(RuleGridsX11, OverTimeOnlyTheBlinkingCellChanges)
{
    TAdvStringGrid* Grid = Form->Subjects;
    // A rule added since the last check: its mark blinks.
    Grid->SetCells(2, 1, "<BLINK>new</BLINK> " + Grid->Cells(2, 1));
    // Two shots 600 ms apart, one tick of the grid's 500 ms timer or more in between. The
    // timer stands still while a shot is painted and taken, so that a loaded machine cannot
    // let a tick slip in between the two.
    KillTimer(Grid->Handle(), TAdvStringGrid::TimerID);
    const TDibImage Before = PaintedShot();
    const bool Phase = Grid->BlinkOn();
    SetTimer(Grid->Handle(), TAdvStringGrid::TimerID, 500);
    const auto Until = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
    ASSERT_TRUE(PumpUntil([&] { return std::chrono::steady_clock::now() >= Until; }));
    ASSERT_TRUE(PumpUntil([&] { return Grid->BlinkOn() != Phase; }));
    KillTimer(Grid->Handle(), TAdvStringGrid::TimerID);
    const TDibImage After = PaintedShot();
    ASSERT_EQ(Before.Width, After.Width);
    ASSERT_EQ(Before.Height, After.Height);

    // Where the blinking cell is in the screenshot of the form's window.
    TRect Window{};
    GetWindowRect(Form->Handle(), Window);
    const TRect Cell = Grid->CellRect(2, 1);
    const TPoint TopLeft = OnScreen(Grid, TPoint{Cell.Left, Cell.Top});
    const TPoint BottomRight = OnScreen(Grid, TPoint{Cell.Right, Cell.Bottom});
    const TRect InShot{TopLeft.X - Window.Left, TopLeft.Y - Window.Top, BottomRight.X - Window.Left,
                       BottomRight.Y - Window.Top};

    int Inside = 0;
    int Outside = 0;
    for (int Y = 0; Y < Before.Height; ++Y)
        for (int X = 0; X < Before.Width; ++X)
            if (Before.Pixel(X, Y) != After.Pixel(X, Y)) {
                const bool In =
                    X >= InShot.Left && X < InShot.Right && Y >= InShot.Top && Y < InShot.Bottom;
                ++(In ? Inside : Outside);
            }
    EXPECT_GT(Inside, 0) << "the blinking text did not change";
    EXPECT_EQ(Outside, 0) << "pixels changed outside the blinking cell";
}

} // namespace
