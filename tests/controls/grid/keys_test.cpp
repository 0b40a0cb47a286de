// The grid's keys: clipboard shortcuts, inserting and deleting rows, the keypad's decimal key,
// the disjunct row selection keys, Tab past the right fixed columns and accelerators.
#include "tests/controls/grid/interactionfixture.h"

#include "platform/rtl/formatsettings.h"
#include "platform/stdctrls/inplaceedit.h"
#include "platform/ui/messages.h"

namespace {

struct TShortcutCase {
    bool ShortCuts;
    int Key;
    std::vector<int> Held;
    std::string Event; // "" when no clipboard event fires
};

TEST_F(GridInteraction, ClipboardShortcutsAskTheirEventOnlyWhenAllowed)
{
    const std::vector<TShortcutCase> Cases = {
        {true, 'C', {VK_CONTROL}, "copy"},  {true, VK_INSERT, {VK_CONTROL}, "copy"},
        {true, 'X', {VK_CONTROL}, "cut"},   {true, VK_DELETE, {VK_SHIFT}, "cut"},
        {true, 'V', {VK_CONTROL}, "paste"}, {true, VK_INSERT, {VK_SHIFT}, "paste"},
        {false, 'C', {VK_CONTROL}, ""},     {false, 'V', {VK_CONTROL}, ""},
        {false, VK_DELETE, {VK_SHIFT}, ""},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(std::to_string(Case.Key) + (Case.ShortCuts ? " on" : " off"));
        Grid->Navigation()->AllowClipboardShortCuts = Case.ShortCuts;
        std::string Fired;
        int KeyDowns = 0;
        Grid->OnClipboardCopy = [&](TObject*, bool&) { Fired += "copy"; };
        Grid->OnClipboardCut = [&](TObject*, bool&) { Fired += "cut"; };
        Grid->OnClipboardPaste = [&](TObject*, bool&) { Fired += "paste"; };
        Grid->OnKeyDown = [&](TObject*, Word& K, TShiftState) { KeyDowns += K == Case.Key; };
        Press(Case.Key, Case.Held);
        EXPECT_EQ(Fired, Case.Event);
        // Either way the key reached the grid's ordinary key handling.
        EXPECT_EQ(KeyDowns, 1);
    }
}

TEST_F(GridInteraction, ShiftDeleteWithShortcutsCutsAndDeletesNoRow)
{
    Grid->Navigation()->AllowClipboardShortCuts = true;
    Grid->Navigation()->AllowDeleteRow = true;
    bool Deleted = false;
    Grid->OnAutoDeleteRow = [&](TObject*, int) { Deleted = true; };
    Press(VK_DELETE, {VK_SHIFT});
    EXPECT_FALSE(Deleted);
    EXPECT_EQ(Grid->RowCount(), 6);
}

TEST_F(GridInteraction, DeleteOnTheOnlyDataRowClearsItAndStillReports)
{
    Grid->SetRowCount(2);
    Grid->Navigation()->AllowDeleteRow = true;
    std::vector<int> Reported;
    Grid->OnAutoDeleteRow = [&](TObject*, int ARow) { Reported.push_back(ARow); };
    Grid->SetRow(1);
    Press(VK_DELETE);
    EXPECT_EQ(Grid->RowCount(), 2);
    EXPECT_EQ(Reported, std::vector<int>{1});
    EXPECT_EQ(Grid->Cells(2, 1), "");
    EXPECT_EQ(Grid->Cells(2, 0), "2:0");
}

TEST_F(GridInteraction, DeleteRemovesTheCurrentRowUnlessVetoed)
{
    Grid->Navigation()->AllowDeleteRow = true;
    bool Veto = true;
    Grid->OnCanDeleteRow = [&](TObject*, int ARow, bool& CanDelete) {
        EXPECT_EQ(ARow, 3);
        CanDelete = !Veto;
    };
    Grid->SetRow(3);
    Press(VK_DELETE);
    EXPECT_EQ(Grid->RowCount(), 6);
    Veto = false;
    Press(VK_DELETE);
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_EQ(Grid->Cells(1, 3), "1:4");
}

struct TInsertCase {
    TInsertPosition Position;
    int Reported;
    int RowAfter;
};

TEST_F(GridInteraction, InsertAddsARowBeforeOrAfterTheCurrentOne)
{
    const std::vector<TInsertCase> Cases = {{pInsertAfter, 4, 4}, {pInsertBefore, 3, 3}};
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Reported);
        Grid->SetRowCount(6);
        Grid->Navigation()->AllowInsertRow = true;
        Grid->Navigation()->InsertPosition = Case.Position;
        std::vector<int> Reported;
        Grid->OnAutoInsertRow = [&](TObject*, int ARow) { Reported.push_back(ARow); };
        Grid->SetRow(3);
        Press(VK_INSERT);
        EXPECT_EQ(Grid->RowCount(), 7);
        EXPECT_EQ(Reported, std::vector<int>{Case.Reported});
        EXPECT_EQ(Grid->Row(), Case.RowAfter);
        EXPECT_EQ(Grid->Cells(1, Case.Reported), "");
    }
}

TEST_F(GridInteraction, InsertWithModifiersOrWithoutPermissionAddsNothing)
{
    Grid->Navigation()->AllowInsertRow = true;
    Grid->OnCanInsertRow = [](TObject*, int, bool& CanInsert) { CanInsert = false; };
    Press(VK_INSERT);
    Grid->OnCanInsertRow = nullptr;
    Press(VK_INSERT, {VK_MENU});
    EXPECT_EQ(Grid->RowCount(), 6);
}

struct TDecimalCase {
    bool ExcelStyle;
    int ScanCode;
    std::string Typed;
};

TEST_F(GridInteraction, TheKeypadDecimalKeyTypesTheDecimalSeparator)
{
    const char OldSeparator = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = ',';
    const std::vector<TDecimalCase> Cases = {
        {true, 0x53, ","}, // the keypad's key
        {true, 0x34, "."}, // the main keyboard's "."
        {false, 0x53, "."},
    };
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.ScanCode);
        Grid->SetExcelStyleDecimalSeparator(Case.ExcelStyle);
        Grid->SetFocus();
        Grid->SetCol(2);
        Grid->SetRow(2);
        Grid->SetEditorMode(false);
        Pump();
        Grid->Perform(WM_CHAR, '.', static_cast<LPARAM>((Case.ScanCode << 16) | 1));
        Pump();
        ASSERT_NE(Grid->InplaceEditor(), nullptr);
        EXPECT_EQ(Grid->InplaceEditor()->Text(), Case.Typed);
    }
    FormatSettings.DecimalSeparator = OldSeparator;
}

TEST_F(GridInteraction, DisjunctRowSelectKeysFlagRows)
{
    Grid->MouseActions()->DisjunctRowSelect = true;
    Grid->SetRow(1);
    Press(VK_DOWN);
    EXPECT_TRUE(Grid->RowSelected(2));
    EXPECT_FALSE(Grid->RowSelected(1));
    Press(VK_DOWN, {VK_SHIFT});
    EXPECT_TRUE(Grid->RowSelected(2));
    EXPECT_TRUE(Grid->RowSelected(3));
    Press(VK_SPACE);
    EXPECT_FALSE(Grid->RowSelected(3));
    Press(VK_DOWN);
    EXPECT_FALSE(Grid->RowSelected(2));
    EXPECT_TRUE(Grid->RowSelected(4));
}

TEST_F(GridInteraction, TabFromTheLastColumnBeforeRightFixedColumnsGoesToTheNextRow)
{
    Grid->SetOptions(Grid->Options() + TGridOptions{goTabs});
    Grid->SetFixedRightCols(1);
    Grid->SetCol(3);
    Grid->SetRow(2);
    Press(VK_TAB);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 3);
    // From the last data row it goes round to the first.
    Grid->SetCol(3);
    Grid->SetRow(5);
    Press(VK_TAB);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(GridInteraction, TypedCharactersAreNoAcceleratorsWithoutAlt)
{
    // The form asks the grid before a character is typed: the grid claims none, so the
    // character reaches the grid's own key handling.
    EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, 'a', 0), 0);
    std::string Typed;
    Grid->OnKeyPress = [&](TObject*, char& Key) { Typed += Key; };
    Grid->SetFocus();
    Pump();
    InjectKeyPress('A', "a");
    Pump();
    EXPECT_EQ(Typed, "a");
}

} // namespace
