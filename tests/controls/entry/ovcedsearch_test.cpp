// The editor's search and replace: directions, scopes, whole words, case, replacing one or all,
// and how it ends on a replacement holding the find text or on a store error.
#include "controls/entry/ovcedit.h"

#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcedpara.h"
#include "controls/entry/ovcexcpt.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class EditorSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = ShownForm(&App, 400, 300);
        new TOvcController(Form);
        Ed = new TOvcEditor(Form);
        Ed->SetParent(Form);
        Ed->SetBounds(10, 10, 300, 120);
        Pump();
    }

    // Puts Text in and selects from (P1, Pos1) to (P2, Pos2), the caret at the second.
    void Start(const std::string& Text, int P1, int Pos1, int P2, int Pos2)
    {
        Ed->InsertString(Text);
        Ed->SetSelection(P1, Pos1, P2, Pos2);
    }
    // Replaces the whole text by Text, the caret at its end.
    void Replace(const std::string& Text)
    {
        Ed->SetSelection(1, 1, Ed->LineCount(), 1 << 30);
        Ed->InsertString(Text);
    }
    std::string Text() const
    {
        std::string S;
        for (int P = 1; P <= Ed->ParaCount(); ++P)
            S += (P > 1 ? "|" : "") + Ed->GetPara(P);
        return S;
    }

    TDeterministicFonts Fonts;
    TTestApplication App;
    TForm* Form = nullptr;
    TOvcEditor* Ed = nullptr;
};

} // namespace

TEST_F(EditorSearchTest, BackwardsSelectsTheNearerMatchWithTheCaretAtItsStart)
{
    Start("one two one two one\r\nx one", 1, 13, 1, 13);
    EXPECT_EQ(Ed->Search("one", "", soBackward), 0);
    EXPECT_EQ(Ed->SelStart(), (TParaPos{1, 9}));
    EXPECT_EQ(Ed->SelEnd(), (TParaPos{1, 12}));
    EXPECT_EQ(Ed->CaretPara(), (TParaPos{1, 9}));
    EXPECT_EQ(Ed->Search("one", "", soBackward), 0);
    EXPECT_EQ(Ed->SelStart(), (TParaPos{1, 1}));
    EXPECT_EQ(Ed->Search("one", "", soBackward), -1);
    EXPECT_EQ(Ed->SelStart(), (TParaPos{1, 1}));

    // From the end of the text it goes through the paragraphs from their ends.
    Ed->SetCaretPosition(2, 6);
    EXPECT_EQ(Ed->Search("one", "", soBackward), 0);
    EXPECT_EQ(Ed->SelStart(), (TParaPos{2, 3}));
    EXPECT_EQ(Ed->Search("one", "", soBackward), 0);
    EXPECT_EQ(Ed->SelStart(), (TParaPos{1, 17}));
}

TEST_F(EditorSearchTest, ReplaceAllWithAReplacementHoldingTheFindTextEndsBothWays)
{
    for (const Word Direction : {Word(0), Word(soBackward)}) {
        SCOPED_TRACE(Direction);
        Replace("a ab\r\naa\r\n");
        Ed->SetCaretPosition(1, 1);
        EXPECT_EQ(Ed->Search("a", "aXa", Direction | soReplaceAll | soGlobal), 4);
        EXPECT_EQ(Text(), "aXa aXab|aXaaXa|");
        EXPECT_FALSE(Ed->HasSelection());
        // A selection holding the find text is replaced first, and not searched again.
        Ed->SetSelection(1, 1, 1, 4);
        EXPECT_EQ(Ed->Search("aXa", "aXaXa", Direction | soReplaceAll | soGlobal), 4);
        EXPECT_EQ(Text(), "aXaXa aXaXab|aXaXaaXaXa|");
    }
}

TEST_F(EditorSearchTest, AMatchTouchingTheSelectionEndIsFoundOnlyWhenInsideIt)
{
    for (const Word Direction : {Word(0), Word(soBackward)}) {
        SCOPED_TRACE(Direction);
        Replace("abc abc");
        Ed->SetSelection(1, 2, 1, 7);
        EXPECT_EQ(Ed->Search("abc", "", Direction | soSelText), -1);
        Ed->SetSelection(1, 2, 1, 8);
        EXPECT_EQ(Ed->Search("abc", "", Direction | soSelText), 0);
        EXPECT_EQ(Ed->SelStart(), (TParaPos{1, 5}));
        EXPECT_EQ(Ed->SelEnd(), (TParaPos{1, 8}));
    }
}

TEST_F(EditorSearchTest, AnEmptyFindTextGivesZeroAndChangesNothing)
{
    Start("abc abc", 1, 2, 1, 4);
    const int Records = Ed->ParaList()->UndoBuffer().UndoCount();
    for (const Word Options : {Word(0), Word(soReplaceAll | soGlobal), Word(soReplace)}) {
        EXPECT_EQ(Ed->Search("", "x", Options), 0);
        EXPECT_EQ(Text(), "abc abc");
        EXPECT_EQ(Ed->SelStart(), (TParaPos{1, 2}));
        EXPECT_EQ(Ed->SelEnd(), (TParaPos{1, 4}));
        EXPECT_EQ(Ed->ParaList()->UndoBuffer().UndoCount(), Records);
    }
}

TEST_F(EditorSearchTest, OptionsChooseDirectionCaseWordsScopeAndReplacement)
{
    const std::string Sample = "Word word WORD sword\r\nword-end words";
    struct TCase {
        const char* Name;
        TParaPos From, To; // the selection before, the caret at To
        std::string Find, Replacement;
        Word Options;
        int Result;
        std::string Text;                 // empty: unchanged
        TParaPos SelStart, SelEnd, Caret; // SelStart (0, 0): no selection after
    };
    const std::vector<TCase> Cases = {
        {"forwards ignoring case", {1, 1}, {1, 1}, "word", "", 0, 0, "", {1, 1}, {1, 5}, {1, 5}},
        {"match case", {1, 1}, {1, 1}, "word", "", soMatchCase, 0, "", {1, 6}, {1, 10}, {1, 10}},
        {"whole words skip a word inside another",
         {1, 11},
         {1, 11},
         "word",
         "",
         soMatchCase | soWholeWord,
         0,
         "",
         {2, 1},
         {2, 5},
         {2, 5}},
        {"whole words backwards",
         {2, 15},
         {2, 15},
         "word",
         "",
         soWholeWord | soBackward,
         0,
         "",
         {2, 1},
         {2, 5},
         {2, 1}},
        {"entire scope backwards starts at the end",
         {1, 1},
         {1, 1},
         "WORD",
         "",
         soMatchCase | soBackward | soGlobal,
         0,
         "",
         {1, 11},
         {1, 15},
         {1, 11}},
        {"nothing found leaves the selection",
         {1, 2},
         {1, 4},
         "xyz",
         "",
         soGlobal,
         -1,
         "",
         {1, 2},
         {1, 4},
         {1, 4}},
        {"replace all in the entire scope",
         {1, 3},
         {1, 3},
         "word",
         "X",
         soReplaceAll | soGlobal,
         6,
         "X X X sX|X-end Xs",
         {0, 0},
         {0, 0},
         {0, 0}},
        {"replace all whole words with case",
         {1, 1},
         {1, 1},
         "word",
         "w",
         soReplaceAll | soGlobal | soWholeWord | soMatchCase,
         2,
         "Word w WORD sword|w-end words",
         {0, 0},
         {0, 0},
         {0, 0}},
        {"replace all in the selection keeps the adjusted selection",
         {1, 6},
         {1, 20},
         "word",
         "__",
         soReplaceAll | soSelText,
         2,
         "Word __ __ sword|word-end words",
         {1, 6},
         {1, 16},
         {1, 16}},
        {"replace all backwards from the caret",
         {1, 10},
         {1, 10},
         "word",
         "[word]",
         soReplaceAll | soBackward,
         2,
         "[word] [word] WORD sword|word-end words",
         {0, 0},
         {0, 0},
         {0, 0}},
        {"replace puts the replacement in the selection and selects the next match",
         {1, 11},
         {1, 15},
         "word",
         "Q",
         soReplace,
         1,
         "Word word Q sword|word-end words",
         {1, 14},
         {1, 18},
         {1, 18}},
        {"replace without the find text selected only selects",
         {1, 1},
         {1, 1},
         "word",
         "Q",
         soReplace | soMatchCase,
         0,
         "",
         {1, 6},
         {1, 10},
         {1, 10}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Replace(Sample);
        Ed->SetSelection(Case.From.Para, Case.From.Pos, Case.To.Para, Case.To.Pos);
        EXPECT_EQ(Ed->Search(Case.Find, Case.Replacement, Case.Options), Case.Result);
        EXPECT_EQ(Text(), Case.Text.empty() ? "Word word WORD sword|word-end words" : Case.Text);
        if (Case.SelStart.Para == 0) {
            EXPECT_FALSE(Ed->HasSelection());
            continue;
        }
        EXPECT_EQ(Ed->SelStart(), Case.SelStart);
        EXPECT_EQ(Ed->SelEnd(), Case.SelEnd);
        EXPECT_EQ(Ed->CaretPara(), Case.Caret);
    }
}

TEST_F(EditorSearchTest, AStoreErrorIsReportedAndReturnedNegatedNeverAsACount)
{
    Ed->SetParaLengthLimit(12);
    Start("ab ab", 1, 1, 1, 1);
    Word Reported = 0;
    Ed->OnError = [&Reported](TObject*, Word& Code) { Reported = Code; };
    EXPECT_EQ(Ed->Search("ab", "abcdefgh", soReplaceAll | soGlobal), -int(oeParaTooLong));
    EXPECT_EQ(Reported, oeParaTooLong);
    EXPECT_EQ(Text(), "abcdefgh ab");
    // One undo takes back what the search changed.
    Ed->Undo();
    EXPECT_EQ(Text(), "ab ab");

    Ed->OnError = nullptr;
    EXPECT_THROW(Ed->Search("ab", "abcdefgh", soReplaceAll | soGlobal), EEditorError);
}

TEST_F(EditorSearchTest, TextsAreCutAt255Characters)
{
    const std::string Long(300, 'x');
    Start(std::string(255, 'x') + "y", 1, 1, 1, 1);
    EXPECT_EQ(Ed->Search(Long, "", soGlobal), 0);
    EXPECT_EQ(Ed->SelEnd(), (TParaPos{1, 256}));
}

TEST_F(EditorSearchTest, AReadOnlyEditorOnlyFindsAndAFindRecordsNoUndo)
{
    Start("ab ab", 1, 1, 1, 3);
    const int Records = Ed->ParaList()->UndoBuffer().UndoCount();
    Ed->SetReadOnly(true);
    EXPECT_EQ(Ed->Search("ab", "x", soReplaceAll | soGlobal), 0);
    EXPECT_EQ(Ed->Search("ab", "x", soReplace), 0);
    EXPECT_EQ(Text(), "ab ab");
    EXPECT_EQ(Ed->SelStart(), (TParaPos{1, 4}));
    EXPECT_EQ(Ed->ParaList()->UndoBuffer().UndoCount(), Records);
}
