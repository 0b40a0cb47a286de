// In-cell editing of the string grid, driven by keys: validation when a cell is left, the
// characters each editor type lets through, the length limit, pasting, Enter moving on and
// lookup completion.
#include "controls/grid/advgrid.h"
#include "controls/grid/advinplaceedit.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/sound.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TEditingGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::FEditPending;
    using TAdvStringGrid::TAdvStringGrid;
};

class GridEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = ShownForm(&App, 600, 400);
        Grid = new TEditingGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 560, 360);
        Grid->SetColCount(4);
        Grid->SetRowCount(5);
        TGridOptions Options = Grid->Options();
        Options.Include(goEditing);
        Grid->SetOptions(Options);
        Grid->SetFocus();
        Pump();
    }
    void TearDown() override { Clipboard()->Clear(); }

    // Opens the editor on a cell holding Text, the caret after the text.
    TAdvInplaceEdit* Edit(int ACol, int ARow, const std::string& Text)
    {
        Grid->SetCells(ACol, ARow, Text);
        Grid->SetCol(ACol);
        Grid->SetRow(ARow);
        Grid->SetFocus();
        Pump();
        InjectKeyPress(VK_F2);
        Pump();
        return Editor();
    }
    TAdvInplaceEdit* Editor() const
    {
        return dynamic_cast<TAdvInplaceEdit*>(Grid->InplaceEditor());
    }
    bool EditorShown() const { return Editor() != nullptr && Editor()->Visible(); }
    static void Type(const std::string& Text)
    {
        for (char C : Text)
            InjectKeyPress(C == '-' ? int{VK_OEM_MINUS} : int{'A'}, std::string(1, C));
        Pump();
    }
    static void Press(int Key)
    {
        InjectKeyPress(Key);
        Pump();
    }

    TDeterministicFonts Fonts;
    TTestApplication App;
    TForm* Form = nullptr;
    TEditingGrid* Grid = nullptr;
};

TEST_F(GridEditing, LeavingACellWithItsTextUnchangedRaisesNoValidation)
{
    int Calls = 0;
    Grid->OnCellValidate = [&](TObject*, int, int, std::string&, bool&) { ++Calls; };
    Edit(1, 1, "abc");
    Press(VK_DOWN);
    EXPECT_EQ(Grid->Row(), 2);
    // Retyped identically: still no change.
    TAdvInplaceEdit* E = Edit(1, 1, "abc");
    E->SelectAll();
    Type("abc");
    Press(VK_DOWN);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Calls, 0);
    // A changed text is validated once, with the real cell and the new text.
    std::string Seen;
    Grid->OnCellValidate = [&](TObject*, int Col, int Row, std::string& Value, bool&) {
        ++Calls;
        Seen = std::to_string(Col) + "," + std::to_string(Row) + " " + Value;
    };
    Edit(1, 1, "abc");
    Type("d");
    Press(VK_DOWN);
    EXPECT_EQ(Calls, 1);
    EXPECT_EQ(Seen, "1,1 abcd");
    EXPECT_EQ(Grid->Cells(1, 1), "abcd");
}

TEST_F(GridEditing, ARefusedValueReplacedByTheHandlerStaysInTheOpenCell)
{
    Grid->OnCellValidate = [](TObject*, int, int, std::string& Value, bool& Valid) {
        if (Value == "12a") {
            Valid = false;
            Value = "0";
        }
    };
    TAdvInplaceEdit* E = Edit(1, 1, "");
    Type("12a");
    Press(VK_DOWN);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->Cells(1, 1), "0");
    EXPECT_TRUE(EditorShown());
    EXPECT_EQ(E->Text(), "0");
    EXPECT_TRUE(Grid->FEditPending);
}

TEST_F(GridEditing, ARefusedValueLeftAsItWasBringsTheStartingTextBack)
{
    Grid->OnCellValidate = [](TObject*, int, int, std::string& Value, bool& Valid) {
        Valid = Value.find('a') == std::string::npos;
    };
    Edit(1, 1, "7");
    Type("12a");
    Press(VK_RETURN);
    EXPECT_EQ(Grid->Cells(1, 1), "7");
    EXPECT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Text(), "7");
}

TEST_F(GridEditing, EachEditorTypeLetsItsOwnCharactersThrough)
{
    struct TCase {
        TEditorType Type;
        std::string Text;
        bool SelectAll;
        std::string Typed;
        std::string Expected;
        std::size_t Beeps;
    };
    const std::vector<TCase> Cases = {
        {etSignedInteger, "1", false, "-", "1", 1},
        {etSignedInteger, "12", false, "x", "12", 1},
        {etSignedInteger, "-5", false, "-", "-5", 1},
        {etUnsignedInteger, "", false, "4a-2", "42", 2},
        {etDecimal, "1.5", false, ",", "1.5", 0},
        {etDecimal, "1.5", true, ",", ",", 0},
        {etDecimal, "1", false, "a.5.", "1.5", 0},
        {etDecimal, "1", false, "-", "1", 1},
        {etUpperTyped, "", false, "ab", "AB", 0},
        {etUpperCase, "", false, "xY", "XY", 0},
        {etLowerCase, "", false, "AbC", "abc", 0},
        {etWordCaps, "", false, "john smith", "John Smith", 0},
        {etNormal, "", false, "a-1", "a-1", 0},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::to_string(Case.Type) + " " + Case.Text + " + " + Case.Typed);
        Grid->OnGetEditorType = [&](TObject*, int, int, TEditorType& Type) { Type = Case.Type; };
        TAdvInplaceEdit* E = Edit(2, 2, Case.Text);
        ASSERT_NE(E, nullptr);
        if (Case.SelectAll)
            E->SelectAll();
        TSoundRecorder Sounds;
        Type(Case.Typed);
        EXPECT_EQ(E->Text(), Case.Expected);
        EXPECT_EQ(Sounds.Entries().size(), Case.Beeps);
        Press(VK_ESCAPE);
    }
}

TEST_F(GridEditing, AMinusGoesInFrontOfANumberAtTheStartOnly)
{
    Grid->OnGetEditorType = [](TObject*, int, int, TEditorType& Type) { Type = etSignedInteger; };
    TAdvInplaceEdit* E = Edit(1, 1, "12");
    E->SetSelStart(0);
    E->SetSelLength(0);
    Type("-");
    EXPECT_EQ(E->Text(), "-12");
}

TEST_F(GridEditing, TheKeypadDecimalKeyTypesTheLocaleSeparator)
{
    const char Saved = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = ',';
    Grid->SetExcelStyleDecimalSeparator(true);
    TAdvInplaceEdit* E = Edit(1, 1, "1");
    InjectKeyPress(VK_DECIMAL, ".");
    InjectKeyPress(VK_OEM_PERIOD, ".");
    Pump();
    FormatSettings.DecimalSeparator = Saved;
    EXPECT_EQ(E->Text(), "1,.");
}

TEST_F(GridEditing, AFullEditorTakesOnlyBackspaceAndEnterWhenEnterMovesOn)
{
    Grid->SetMaxEditLength(3);
    TAdvInplaceEdit* E = Edit(1, 1, "abc");
    EXPECT_EQ(E->LengthLimit(), 3);
    Type("d");
    EXPECT_EQ(E->Text(), "abc");
    Press(VK_RETURN);
    EXPECT_TRUE(EditorShown()) << "Enter is dropped while it does not move on";
    Press(VK_BACK);
    EXPECT_EQ(E->Text(), "ab");
    Type("c");
    Grid->Navigation()->AdvanceOnEnter = true;
    Press(VK_RETURN);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Cells(1, 1), "abc");
}

TEST_F(GridEditing, PastingKeepsToTheCellsKindOfText)
{
    struct TCase {
        TEditorType Type;
        std::string Pasted;
        std::string Expected;
    };
    const std::vector<TCase> Cases = {
        {etUnsignedInteger, "12a", "5"}, {etUnsignedInteger, "12", "512"},
        {etDecimal, ".25", "5.25"},      {etSignedInteger, "x", "5"},
        {etUpperCase, "ab", "5AB"},      {etWordCaps, " mary ann", "5 Mary Ann"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Pasted);
        Grid->OnGetEditorType = [&](TObject*, int, int, TEditorType& Type) { Type = Case.Type; };
        TAdvInplaceEdit* E = Edit(1, 1, "5");
        Clipboard()->SetAsText(Case.Pasted);
        InjectKeyPress('V', "\x16");
        Pump();
        EXPECT_EQ(E->Text(), Case.Expected);
        Press(VK_ESCAPE);
    }
}

TEST_F(GridEditing, TheClipboardEventsMayForbidPasteAndCopy)
{
    TObject* Sender = nullptr;
    Grid->OnClipboardPaste = [&](TObject* S, bool& Allow) {
        Sender = S;
        Allow = false;
    };
    Grid->OnClipboardCopy = [](TObject*, bool& Allow) { Allow = false; };
    TAdvInplaceEdit* E = Edit(1, 1, "keep");
    Clipboard()->SetAsText("other");
    E->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(E->Text(), "keep");
    EXPECT_EQ(Sender, E);
    E->SelectAll();
    E->Perform(WM_COPY, 0, 0);
    EXPECT_EQ(Clipboard()->AsText(), "other");
}

TEST_F(GridEditing, AdvanceCellMovesToTheNextEditableCell)
{
    Grid->Navigation()->AdvanceInsert = true;
    int AddedAt = -1;
    Grid->OnCanAddRow = [](TObject*, bool& CanAdd) { CanAdd = true; };
    Grid->OnAutoAddRow = [&](TObject*, int ARow) { AddedAt = ARow; };
    Grid->SetCol(3);
    Grid->SetRow(4);
    Grid->AdvanceCell(3, 4, true, false, true);
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(AddedAt, 5);

    Grid->Navigation()->AdvanceDirection = adTopBottom;
    Grid->SetCol(2);
    Grid->SetRow(3);
    Grid->AdvanceCell(2, 3, false, false, true);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Grid->Col(), 2);

    // Cells that may not be edited are passed over.
    Grid->Navigation()->AdvanceDirection = adLeftRight;
    Grid->OnCanEditCell = [](TObject*, int, int ACol, bool& CanEdit) { CanEdit = ACol != 2; };
    Grid->SetCol(1);
    Grid->SetRow(1);
    Grid->AdvanceCell(1, 1, true, false, true);
    EXPECT_EQ(Grid->Col(), 3);
}

TEST_F(GridEditing, AdvanceCellOverAGridWithNothingEditableEndsAndAddsOneRowAtMost)
{
    Grid->Navigation()->AdvanceInsert = true;
    int Asked = 0;
    Grid->OnCanAddRow = [&](TObject*, bool&) { ++Asked; };
    Grid->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
    Grid->AdvanceCell(1, 1, true, false, true);
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_EQ(Asked, 1);
    EXPECT_EQ(Grid->Row(), 1);

    Grid->Navigation()->AdvanceDirection = adTopBottom;
    Grid->AdvanceCell(1, 1, true, false, true);
    EXPECT_EQ(Grid->ColCount(), 5);
    // Without AdvanceInsert the search goes round once and ends.
    Grid->Navigation()->AdvanceInsert = false;
    Grid->AdvanceCell(1, 1, false, false, true);
    EXPECT_EQ(Grid->ColCount(), 5);
    EXPECT_EQ(Grid->RowCount(), 6);
}

TEST_F(GridEditing, EditingComesBackAfterSeveralCellsThatMayNotBeEdited)
{
    Grid->OnCanEditCell = [](TObject*, int ARow, int, bool& CanEdit) { CanEdit = ARow >= 3; };
    Grid->SetRow(1);
    Grid->SetRow(2);
    EXPECT_FALSE(Grid->Options().Contains(goEditing));
    Grid->SetRow(3);
    EXPECT_TRUE(Grid->Options().Contains(goEditing));
}

TEST_F(GridEditing, LookupCompletesFromTheFirstItemThatStartsWithTheTypedText)
{
    Grid->SetLookup(true);
    Grid->LookupItems()->Add("Apple");
    Grid->LookupItems()->Add("Apricot");
    TAdvInplaceEdit* E = Edit(1, 1, "");
    Type("ap");
    EXPECT_EQ(E->Text(), "apple");
    EXPECT_EQ(E->SelStart(), 2);
    EXPECT_EQ(E->SelText(), "ple");
    Type("r");
    EXPECT_EQ(E->Text(), "apricot");
    EXPECT_EQ(E->SelText(), "icot");
}

TEST_F(GridEditing, EscapeBringsTheCellTextBack)
{
    Edit(1, 1, "old");
    Type("new");
    EXPECT_EQ(Grid->Cells(1, 1), "oldnew");
    Press(VK_ESCAPE);
    EXPECT_EQ(Grid->Cells(1, 1), "old");
}

TEST_F(GridEditing, TypingOnAGridThatDoesNotEditFindsTheRow)
{
    TGridOptions Options = Grid->Options();
    Options.Exclude(goEditing);
    Grid->SetOptions(Options);
    Grid->Navigation()->AutoGotoWhenSorted = true;
    Grid->Navigation()->AutoGotoIncremental = true;
    const std::vector<std::string> Names = {"", "apple", "banana", "blueberry", "cherry"};
    for (int R = 1; R < 5; ++R)
        Grid->SetCells(1, R, Names[R]);
    Grid->SetFocus();
    Pump();
    Type("bl");
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->FindRowByPrefix("CH"), 4);
    EXPECT_EQ(Grid->FindRowByPrefix("X"), -1);
}

} // namespace
