// tests/gui/grid/editing_test.cpp: editing a cell of the string grid from the keyboard of a
// private X server: typed text and Enter edit the cell and move on; a value the validation
// refuses keeps the editor open on the cell.
#include "tests/gui/formfixture.h"

#include "controls/grid/advgrid.h"
#include "platform/stdctrls/inplaceedit.h"

#include <string>

namespace {

using guitest::PumpUntil;

class TEditingForm : public TForm {
public:
    explicit TEditingForm(TComponent* AOwner) : TForm(AOwner), Grid(new TAdvStringGrid(this))
    {
        SetCaption("Editing");
        SetClientWidth(420);
        SetClientHeight(200);
        Grid->SetParent(this);
        Grid->SetBounds(8, 8, 400, 180);
        Grid->SetColCount(4);
        Grid->SetRowCount(5);
        TGridOptions Options = Grid->Options();
        Options.Include(goEditing);
        Grid->SetOptions(Options);
        Grid->Navigation()->AdvanceOnEnter = true;
    }
    TAdvStringGrid* Grid;
};

class GridEditingX11 : public guitest::FormScreenTest<TEditingForm> {
protected:
    TEditingForm* MakeForm() override { return new TEditingForm(App.get()); }

    void SetUp() override
    {
        guitest::FormScreenTest<TEditingForm>::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Form->Grid->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return Form->Grid->Focused() && Painted(); }));
    }
    bool EditorShown() const
    {
        TInplaceEdit* E = Form->Grid->InplaceEditor();
        return E != nullptr && E->Visible();
    }
};

TEST_F(GridEditingX11, TypingAndEnterEditTheCellAndMoveOn)
{
    TAdvStringGrid* Grid = Form->Grid;
    Type("spam");
    ASSERT_TRUE(PumpUntil([&] { return Grid->Cells(1, 1) == "spam"; }));
    Keys({"Return"});
    ASSERT_TRUE(PumpUntil([&] { return Grid->Col() == 2; }));
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->Cells(1, 1), "spam");
}

TEST_F(GridEditingX11, ARefusedValueKeepsTheEditorOpen)
{
    TAdvStringGrid* Grid = Form->Grid;
    int Refused = 0;
    Grid->OnCellValidate = [&](TObject*, int, int, std::string& Value, bool& Valid) {
        Valid = Value != "12a";
        Refused += Valid ? 0 : 1;
    };
    Type("12a");
    ASSERT_TRUE(PumpUntil([&] { return Grid->Cells(1, 1) == "12a"; }));
    Keys({"Return"});
    ASSERT_TRUE(PumpUntil([&] { return Refused == 1; }));
    guitest::Turn();
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_TRUE(EditorShown());
    EXPECT_EQ(Grid->Cells(1, 1), "");
    // A value it takes moves on.
    Type("12");
    Keys({"Return"});
    ASSERT_TRUE(PumpUntil([&] { return Grid->Col() == 2; }));
    EXPECT_EQ(Grid->Cells(1, 1), "12");
}

} // namespace
