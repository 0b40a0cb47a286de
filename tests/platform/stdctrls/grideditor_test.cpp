// The grid's in-place editor: F2, Enter and typing show it over the current cell, Escape puts
// the cell back, moving commits, the keys that leave the cell go to the grid, it follows the
// grid's scrolling, takes its mask and limit per cell, and the grid's hooks are asked where
// they decide.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/stdctrls/grids.h"
#include "platform/stdctrls/inplaceedit.h"

#include <algorithm>
#include <cctype>

namespace {

// A string grid that records its editor hooks and answers some per cell.
class TEditProbeGrid : public TStringGrid {
public:
    explicit TEditProbeGrid(TComponent* AOwner) : TStringGrid(AOwner) {}
    using TCustomGrid::InplaceEditor;
    using TCustomGrid::InvalidateEditor;

    std::vector<std::string> Calls;
    std::vector<TGridCoord> DrawnFocused;
    std::vector<TGridCoord> Drawn;
    int MaskCol = -1;
    std::string Mask;
    int LimitCol = -1;
    int Limit = 0;
    bool Modifiable = true;
    bool RefuseDigits = false;

    bool HasCall(const std::string& Name) const
    {
        return std::find(Calls.begin(), Calls.end(), Name) != Calls.end();
    }

protected:
    std::string GetEditMask(int ACol, int ARow) override
    {
        Calls.push_back("GetEditMask");
        return ACol == MaskCol ? Mask : TStringGrid::GetEditMask(ACol, ARow);
    }
    std::string GetEditText(int ACol, int ARow) override
    {
        Calls.push_back("GetEditText");
        return TStringGrid::GetEditText(ACol, ARow);
    }
    void SetEditText(int ACol, int ARow, const std::string& Value) override
    {
        Calls.push_back("SetEditText " + std::to_string(ACol) + "," + std::to_string(ARow) + " " +
                        Value);
        TStringGrid::SetEditText(ACol, ARow, Value);
    }
    int GetEditLimit() override
    {
        Calls.push_back("GetEditLimit");
        return Col() == LimitCol ? Limit : TStringGrid::GetEditLimit();
    }
    bool CanEditShow() override
    {
        Calls.push_back("CanEditShow");
        return TStringGrid::CanEditShow();
    }
    bool CanEditModify() override
    {
        Calls.push_back("CanEditModify");
        return Modifiable && TStringGrid::CanEditModify();
    }
    bool CanEditAcceptKey(char Key) override
    {
        Calls.push_back(std::string("CanEditAcceptKey ") + Key);
        return !(RefuseDigits && std::isdigit(static_cast<unsigned char>(Key)));
    }
    TInplaceEdit* CreateEditor() override
    {
        Calls.push_back("CreateEditor");
        return TStringGrid::CreateEditor();
    }
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override
    {
        Drawn.push_back(TGridCoord{ACol, ARow});
        if (AState.Contains(gdFocused))
            DrawnFocused.push_back(TGridCoord{ACol, ARow});
        TStringGrid::DrawCell(ACol, ARow, ARect, AState);
    }
};

class GridEditorTest : public ListTest {
protected:
    // A 5 x 5 grid with one fixed row and column, cells 64 x 24 with 1-pixel lines (column C
    // starts at 65 * C, row R at 25 * R), every cell holding "C,R", focused.
    TEditProbeGrid* NewGrid(TGridOptions Extra = {}, int Rows = 5)
    {
        TEditProbeGrid* G = Place<TEditProbeGrid>(0, 0, 330, 130);
        G->SetScrollBars(ssNone);
        G->SetRowCount(Rows);
        for (int R = 0; R < Rows; ++R)
            for (int C = 0; C < 5; ++C)
                G->SetCells(C, R, std::to_string(C) + "," + std::to_string(R));
        TGridOptions Options = G->Options();
        Options.Include(goEditing);
        for (TGridOption O : {goTabs, goAlwaysShowEditor, goRowSelect})
            if (Extra.Contains(O))
                Options.Include(O);
        G->SetOptions(Options);
        G->SetFocus();
        Pump();
        G->Calls.clear();
        return G;
    }
    static bool Shown(TEditProbeGrid* G)
    {
        return G->InplaceEditor() != nullptr && G->InplaceEditor()->Visible();
    }
    static TRect EditorBounds(TEditProbeGrid* G)
    {
        TInplaceEdit* E = G->InplaceEditor();
        return TRect{E->Left(), E->Top(), E->Left() + E->Width(), E->Top() + E->Height()};
    }
};

} // namespace

TEST_F(GridEditorTest, F2ShowsTheEditorOverTheCellAndEnterCommits)
{
    TEditProbeGrid* G = NewGrid();
    EXPECT_EQ(G->InplaceEditor(), nullptr);
    Key(VK_F2);
    ASSERT_TRUE(Shown(G));
    EXPECT_TRUE(G->EditorMode());
    EXPECT_EQ(G->InplaceEditor()->Owner(), G);
    EXPECT_EQ(G->InplaceEditor()->Parent(), G);
    EXPECT_EQ(EditorBounds(G), G->CellRect(1, 1));
    EXPECT_EQ(G->InplaceEditor()->Text(), "1,1");
    EXPECT_TRUE(G->InplaceEditor()->Focused());
    // F2 leaves the caret at the end: typing appends, and each change reaches the cell.
    Type("x");
    EXPECT_EQ(G->Cells(1, 1), "1,1x");
    Key(VK_RETURN);
    EXPECT_FALSE(Shown(G));
    EXPECT_FALSE(G->EditorMode());
    EXPECT_TRUE(G->Focused());
    EXPECT_EQ(G->Cells(1, 1), "1,1x");
    // Enter on the grid shows the editor again, this time with the text selected.
    Key(VK_RETURN);
    ASSERT_TRUE(Shown(G));
    Type("y");
    EXPECT_EQ(G->Cells(1, 1), "y");
}

TEST_F(GridEditorTest, TypingStartsEditingWithThatCharacter)
{
    struct TCase {
        const char* Typed;
        const char* Cell;
    };
    const std::vector<TCase> Cases = {
        {"q", "q"},
        {"ab", "ab"},
        {"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"}, // whole UTF-8 characters
    };
    for (const TCase& C : Cases) {
        TEditProbeGrid* G = NewGrid();
        const std::string Typed = C.Typed;
        for (char Ch : Typed)
            InjectKeyPress(0, std::string(1, Ch));
        Pump();
        EXPECT_TRUE(Shown(G)) << C.Typed;
        EXPECT_EQ(G->Cells(1, 1), C.Cell) << C.Typed;
        delete G;
    }
}

TEST_F(GridEditorTest, EscapePutsBackTheTextTheEditorWasLoadedWith)
{
    for (bool Always : {false, true}) {
        TEditProbeGrid* G = NewGrid(Always ? TGridOptions{goAlwaysShowEditor} : TGridOptions{});
        Key(VK_F2);
        Type("zz");
        EXPECT_EQ(G->Cells(1, 1), "1,1zz");
        G->Calls.clear();
        Key(VK_ESCAPE);
        EXPECT_EQ(G->Cells(1, 1), "1,1") << Always;
        EXPECT_TRUE(G->HasCall("SetEditText 1,1 1,1")) << Always;
        // Only goAlwaysShowEditor keeps the editor up.
        EXPECT_EQ(Shown(G), Always);
        if (Always) {
            EXPECT_EQ(G->InplaceEditor()->Text(), "1,1");
        } else {
            EXPECT_TRUE(G->Focused());
        }
        // Escape with nothing changed writes nothing.
        Key(VK_F2);
        G->Calls.clear();
        Key(VK_ESCAPE);
        EXPECT_FALSE(G->HasCall("SetEditText 1,1 1,1")) << Always;
        delete G;
    }
}

TEST_F(GridEditorTest, KeysThatLeaveTheCellGoToTheGridAndCommit)
{
    struct TCase {
        const char* Name;
        TGridOptions Extra;
        int Key;
        std::vector<int> Held;
        int Col;
        int Row;
        bool Shown;
    };
    const std::vector<TCase> Cases = {
        {"down", {}, VK_DOWN, {}, 2, 3, false},
        {"up", {}, VK_UP, {}, 2, 1, false},
        {"page down", {}, VK_NEXT, {}, 2, 4, false},
        {"page up", {}, VK_PRIOR, {}, 2, 1, false},
        {"tab", {goTabs}, VK_TAB, {}, 3, 2, false},
        {"shift tab", {goTabs}, VK_TAB, {VK_SHIFT}, 1, 2, false},
        {"down, always shown", {goAlwaysShowEditor}, VK_DOWN, {}, 2, 3, true},
        {"tab, always shown", {goTabs, goAlwaysShowEditor}, VK_TAB, {}, 3, 2, true},
        // Left and Right at the caret's end leave the cell only while the editor always shows.
        {"right at the end", {}, VK_RIGHT, {}, 2, 2, true},
        {"right at the end, always shown", {goAlwaysShowEditor}, VK_RIGHT, {}, 3, 2, true},
        {"end, always shown", {goAlwaysShowEditor}, VK_END, {}, 4, 2, true},
        {"ctrl left, always shown", {goAlwaysShowEditor}, VK_LEFT, {VK_CONTROL}, 1, 2, true},
    };
    for (const TCase& C : Cases) {
        TEditProbeGrid* G = NewGrid(C.Extra);
        G->SetCol(2);
        G->SetRow(2);
        Key(VK_F2); // the caret at the end
        ASSERT_TRUE(Shown(G)) << C.Name;
        Type("k");
        Key(C.Key, C.Held);
        EXPECT_EQ(G->Col(), C.Col) << C.Name;
        EXPECT_EQ(G->Row(), C.Row) << C.Name;
        EXPECT_EQ(G->Cells(2, 2), "2,2k") << C.Name;
        EXPECT_EQ(Shown(G), C.Shown) << C.Name;
        if (C.Shown && Shown(G)) {
            EXPECT_EQ(EditorBounds(G), G->CellRect(G->Col(), G->Row())) << C.Name;
        }
        delete G;
    }
}

TEST_F(GridEditorTest, LeftAndRightInsideTheTextStayInTheEditor)
{
    TEditProbeGrid* G = NewGrid(TGridOptions{goAlwaysShowEditor});
    G->SetCol(2);
    Key(VK_F2);
    Key(VK_LEFT);
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->InplaceEditor()->SelStart(), 2);
    Key(VK_RIGHT);
    EXPECT_EQ(G->Col(), 2);
    Key(VK_RIGHT); // now at the end
    EXPECT_EQ(G->Col(), 3);
    // The new cell's text is selected: Left there is at no end and stays.
    EXPECT_EQ(G->InplaceEditor()->Text(), "3,1");
}

TEST_F(GridEditorTest, MovingWithThePointerCommitsAndAPressOnTheCurrentCellEdits)
{
    TEditProbeGrid* G = NewGrid();
    Click(G, 65 + 10, 25 + 10); // the current cell
    ASSERT_TRUE(Shown(G));
    Type("m");
    Click(G, 130 + 10, 50 + 10); // another cell: it becomes current, the edit is written
    EXPECT_EQ(G->Cells(1, 1), "m");
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 2);
    EXPECT_FALSE(Shown(G));
}

TEST_F(GridEditorTest, ASecondPressOnTheEditorIsTheGridsDoubleClick)
{
    TEditProbeGrid* G = NewGrid();
    int DblClicks = 0;
    G->OnDblClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, G);
        ++DblClicks;
    };
    Click(G, 75, 35);
    ASSERT_TRUE(Shown(G));
    Click(G->InplaceEditor(), 5, 5);
    EXPECT_EQ(DblClicks, 1);
    // Long after, a press is a press.
    Time.Advance(2000);
    Click(G->InplaceEditor(), 5, 5);
    Click(G, 75, 35);
    Time.Advance(2000);
    Click(G->InplaceEditor(), 5, 5);
    EXPECT_EQ(DblClicks, 1);
}

TEST_F(GridEditorTest, TheEditorFollowsScrollingAndHidesWhenItsCellGoesOutOfView)
{
    TEditProbeGrid* G = NewGrid(TGridOptions{goAlwaysShowEditor}, 20);
    G->SetRow(2);
    Pump();
    ASSERT_TRUE(Shown(G));
    struct TCase {
        int TopRow;
        bool Shown;
    };
    // Four rows fit: 1..4, 2..5, 3..6.
    const std::vector<TCase> Cases = {{2, true}, {3, false}, {1, true}, {2, true}};
    for (const TCase& C : Cases) {
        G->SetTopRow(C.TopRow);
        Pump();
        EXPECT_EQ(Shown(G), C.Shown) << C.TopRow;
        if (C.Shown) {
            EXPECT_EQ(EditorBounds(G), G->CellRect(1, 2)) << C.TopRow;
        }
    }
    // A wider column moves and widens the editor.
    G->SetColWidths(1, 90);
    Pump();
    EXPECT_EQ(EditorBounds(G), G->CellRect(1, 2));
    EXPECT_EQ(G->InplaceEditor()->Width(), 90);
}

TEST_F(GridEditorTest, MaskAndLimitComeFromTheCell)
{
    TEditProbeGrid* G = NewGrid(TGridOptions{goAlwaysShowEditor});
    G->MaskCol = 2;
    G->Mask = "000;1;_";
    G->LimitCol = 3;
    G->Limit = 3;
    G->SetCells(2, 1, "42");
    struct TCase {
        int Col;
        std::string Mask;
        int MaxLength;
        const char* Typed;
        const char* Cell;
    };
    const std::vector<TCase> Cases = {
        {2, "000;1;_", 3, "7x8", "78 "}, // the value form: blanks as spaces
        {3, "", 3, "abcd", "abc"},
        {1, "", 0, "abcd", "abcd"},
    };
    for (const TCase& C : Cases) {
        G->SetCol(C.Col);
        Pump();
        ASSERT_TRUE(Shown(G)) << C.Col;
        TInplaceEdit* E = G->InplaceEditor();
        EXPECT_EQ(E->EditMask(), C.Mask) << C.Col;
        EXPECT_EQ(E->MaxLength(), C.MaxLength) << C.Col;
        Type(C.Typed);
        EXPECT_EQ(G->Cells(C.Col, 1), C.Cell) << C.Col;
    }
}

TEST_F(GridEditorTest, TheHooksAreAskedWhereTheyDecide)
{
    TEditProbeGrid* G = NewGrid();
    Key(VK_F2);
    // Made once, asked whether it may show, loaded from the cell.
    const std::vector<std::string> Shown = {"CanEditShow", "CreateEditor", "GetEditMask",
                                            "GetEditText", "GetEditLimit"};
    std::vector<std::string> First(G->Calls.begin(),
                                   G->Calls.begin() + std::min(G->Calls.size(), Shown.size()));
    EXPECT_EQ(First, Shown);
    G->Calls.clear();
    Type("a");
    const std::vector<std::string> Typed = {"CanEditAcceptKey a", "CanEditModify",
                                            "SetEditText 1,1 1,1a"};
    EXPECT_EQ(G->Calls, Typed);

    struct TCase {
        const char* Name;
        bool Modifiable;
        bool RefuseDigits;
        const char* Typed;
        const char* Cell;
    };
    const std::vector<TCase> Cases = {
        {"modifiable, takes all", true, false, "7b", "1,1a7b"},
        {"refused digits", true, true, "7b", "1,1ab"},
        {"not modifiable", false, false, "7b", "1,1a"},
    };
    for (const TCase& C : Cases) {
        G->SetCells(1, 1, "1,1a");
        G->InvalidateEditor();
        G->InplaceEditor()->Deselect();
        G->Modifiable = C.Modifiable;
        G->RefuseDigits = C.RefuseDigits;
        Type(C.Typed);
        EXPECT_EQ(G->Cells(1, 1), C.Cell) << C.Name;
        // Neither can a paste or Delete change a cell that may not be modified.
        if (!C.Modifiable) {
            Key(VK_HOME);
            Key(VK_DELETE);
            EXPECT_EQ(G->InplaceEditor()->Text(), "1,1a") << C.Name;
        }
    }
}

TEST_F(GridEditorTest, TheGridSeesTheEditorsCharactersFirst)
{
    TEditProbeGrid* G = NewGrid();
    G->OnKeyPress = [](TObject*, char& Key) {
        Key = static_cast<char>(std::toupper(static_cast<unsigned char>(Key)));
    };
    Key(VK_F2);
    Type("ab");
    EXPECT_EQ(G->Cells(1, 1), "1,1AB");
}

TEST_F(GridEditorTest, TheEditorsFocusIsTheGridsAndTheGridLeavesItsCellToTheEditor)
{
    TEditProbeGrid* G = NewGrid();
    Key(VK_F2);
    ASSERT_TRUE(G->InplaceEditor()->Focused());
    EXPECT_FALSE(G->Focused());
    EXPECT_EQ(Form->ActiveControl(), G);
    // Without goAlwaysShowEditor the editor still may show: its focus counts as the grid's.
    G->InvalidateEditor();
    EXPECT_TRUE(Shown(G));
    G->Drawn.clear();
    G->DrawnFocused.clear();
    G->Invalidate();
    Pump();
    auto Has = [](const std::vector<TGridCoord>& Cells, TGridCoord Cell) {
        return std::find(Cells.begin(), Cells.end(), Cell) != Cells.end();
    };
    EXPECT_FALSE(Has(G->Drawn, TGridCoord{1, 1}));
    EXPECT_TRUE(Has(G->Drawn, TGridCoord{2, 1}));
    // The edit ends: the grid draws its current cell, focused.
    Key(VK_RETURN);
    G->Drawn.clear();
    G->DrawnFocused.clear();
    G->Invalidate();
    Pump();
    EXPECT_EQ(G->DrawnFocused, (std::vector<TGridCoord>{TGridCoord{1, 1}}));
    // No editor on a row-select grid, nor on a grid without goEditing.
    G->SetOptions(G->Options() + TGridOptions{goRowSelect});
    Key(VK_F2);
    EXPECT_FALSE(Shown(G));
}
