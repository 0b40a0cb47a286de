// The editor driven by keys through the queue with the "Default" and "WordStar" tables: command
// rows, caret rules, Tab by its type, auto indent, overwrite, paste, lines and shared views.
#include "controls/entry/ovcedit.h"

#include "controls/entry/ovccmd.h"
#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcexcpt.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/input.h"
#include "platform/ui/sound.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// A key with its modifiers and the text it types.
struct TKey {
    TKey(int AKey, bool ACtrl = false, bool AShift = false, std::string AText = {})
        : Key(AKey), Ctrl(ACtrl), Shift(AShift), Text(std::move(AText))
    {
    }
    int Key;
    bool Ctrl;
    bool Shift;
    std::string Text;
};

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = ShownForm(&App, 400, 300);
        Controller = new TOvcController(Form);
        Ed = NewEditor(10);
        Ed->SetFocus();
        Pump();
    }

    TOvcEditor* NewEditor(int Top)
    {
        auto* E = new TOvcEditor(Form);
        E->SetParent(Form);
        E->SetBounds(10, Top, 300, 120);
        return E;
    }

    static void Press(const TKey& K)
    {
        if (K.Ctrl)
            InjectKeyDown(VK_CONTROL);
        if (K.Shift)
            InjectKeyDown(VK_SHIFT);
        InjectKeyPress(K.Key, K.Text);
        if (K.Shift)
            InjectKeyUp(VK_SHIFT);
        if (K.Ctrl)
            InjectKeyUp(VK_CONTROL);
        Pump();
    }
    static void Type(const std::string& Text)
    {
        for (char C : Text) {
            const int Key = C >= 'a' && C <= 'z' ? C - 'a' + 'A'
                            : C == ' '           ? int(VK_SPACE)
                                                 : int(C);
            InjectKeyPress(Key, std::string(1, C));
            Pump();
        }
    }
    void SetText(const std::string& Text)
    {
        Ed->InsertString(Text);
        Ed->SetCaretPosition(1, 1);
    }
    std::string Text() const
    {
        std::string S;
        for (int P = 1; P <= Ed->ParaCount(); ++P)
            S += (P > 1 ? "|" : "") + Ed->GetPara(P);
        return S;
    }
    void UseWordStar()
    {
        Controller->EntryCommands()->GetCommandTableByName("WordStar")->SetActive(true);
    }

    TDeterministicFonts Fonts;
    TTestApplication App;
    TSoundRecorder Sounds;
    TForm* Form = nullptr;
    TOvcController* Controller = nullptr;
    TOvcEditor* Ed = nullptr;
};

} // namespace

TEST_F(EditorTest, CommandRowsOfBothTablesEditAndMoveAsTheirCommandsSay)
{
    struct TCase {
        const char* Name;
        bool WordStar;
        int Line, Pos; // caret before the keys
        std::vector<TKey> Keys;
        std::string Text;
        int CaretLine, CaretPos;
    };
    const std::vector<TCase> Cases = {
        {"End", false, 1, 1, {{VK_END}}, "one two|three", 1, 8},
        {"Home", false, 1, 5, {{VK_HOME}}, "one two|three", 1, 1},
        {"Right at the end goes to the next line",
         false,
         1,
         8,
         {{VK_RIGHT}},
         "one two|three",
         2,
         1},
        {"Left at the start goes to the line before",
         false,
         2,
         1,
         {{VK_LEFT}},
         "one two|three",
         1,
         8},
        {"Ctrl+Right skips the word", false, 1, 1, {{VK_RIGHT, true}}, "one two|three", 1, 5},
        {"Ctrl+Left goes to the word start", false, 1, 7, {{VK_LEFT, true}}, "one two|three", 1, 5},
        {"Delete", false, 1, 1, {{VK_DELETE}}, "ne two|three", 1, 1},
        {"Delete at the end joins", false, 1, 8, {{VK_DELETE}}, "one twothree", 1, 8},
        {"Backspace", false, 1, 3, {{VK_BACK}}, "oe two|three", 1, 2},
        {"Backspace at the start joins", false, 2, 1, {{VK_BACK}}, "one twothree", 1, 8},
        {"Ctrl+End", false, 1, 1, {{VK_END, true}}, "one two|three", 2, 6},
        {"Shift+End then Delete",
         false,
         1,
         4,
         {{VK_END, false, true}, {VK_DELETE}},
         "one|three",
         1,
         4},
        {"Down keeps the column", false, 1, 7, {{VK_DOWN}}, "one two|three", 2, 6},
        {"Ctrl+Z undoes", false, 1, 1, {{VK_DELETE}, {'Z', true}}, "one two|three", 1, 1},
        {"WordStar Ctrl+Q S goes home",
         true,
         1,
         5,
         {{'Q', true}, {'S', false, false, "s"}},
         "one two|three",
         1,
         1},
        {"WordStar Ctrl+Q Ctrl+S goes home",
         true,
         1,
         5,
         {{'Q', true}, {'S', true}},
         "one two|three",
         1,
         1},
        {"WordStar Ctrl+Q D goes to the end",
         true,
         2,
         1,
         {{'Q', true}, {'D', false, false, "d"}},
         "one two|three",
         2,
         6},
        {"WordStar Ctrl+Y deletes the line", true, 1, 3, {{'Y', true}}, "three", 1, 1},
        {"WordStar Ctrl+T deletes the word", true, 1, 1, {{'T', true}}, "two|three", 1, 1},
        {"WordStar Ctrl+Q Y deletes to the end",
         true,
         1,
         4,
         {{'Q', true}, {'Y', false, false, "y"}},
         "one|three",
         1,
         4},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        delete Ed;
        Ed = NewEditor(10);
        Ed->SetFocus();
        Pump();
        Controller->EntryCommands()->GetCommandTableByName("WordStar")->SetActive(Case.WordStar);
        SetText("one two\r\nthree");
        Ed->SetCaretPosition(Case.Line, Case.Pos);
        for (const TKey& K : Case.Keys)
            Press(K);
        EXPECT_EQ(Text(), Case.Text);
        EXPECT_EQ(Ed->CaretLine(), Case.CaretLine);
        EXPECT_EQ(Ed->CaretLinePos(), Case.CaretPos);
    }
}

TEST_F(EditorTest, AWordStarBookmarkKeyTypesNothing)
{
    UseWordStar();
    SetText("abc\r\ndef");
    Ed->SetCaretPosition(2, 3);
    Press({'K', true});
    Press({'5', false, false, "5"});
    EXPECT_EQ(Text(), "abc|def");
    EXPECT_EQ(Ed->Marker(5), (TParaPos{2, 3}));
    Ed->SetCaretPosition(1, 1);
    Press({'Q', true});
    Press({'5', false, false, "5"});
    EXPECT_EQ(Text(), "abc|def");
    EXPECT_EQ(Ed->CaretLine(), 2);
    EXPECT_EQ(Ed->CaretLinePos(), 3);
    // After a command key an ordinary key types again.
    Type("x");
    EXPECT_EQ(Text(), "abc|dexf");
}

TEST_F(EditorTest, TheCaretStaysWithinTheTextUnlessScrollPastEnd)
{
    SetText("ab\r\nabcdef");
    Ed->SetCaretPosition(2, 7);
    Press({VK_UP});
    EXPECT_EQ(Ed->CaretLinePos(), 3);
    Press({VK_RIGHT});
    EXPECT_EQ(Ed->CaretLine(), 2);
    EXPECT_EQ(Ed->CaretLinePos(), 1);
    Ed->SetScrollPastEnd(true);
    Ed->SetCaretPosition(1, 3);
    Press({VK_RIGHT});
    Press({VK_RIGHT});
    EXPECT_EQ(Ed->CaretLine(), 1);
    EXPECT_EQ(Ed->CaretLinePos(), 5);
    Type("z");
    EXPECT_EQ(Ed->GetPara(1), "ab  z");
}

TEST_F(EditorTest, TheCaretStepsWholeUtf8Characters)
{
    SetText("\xC3\xA9t\xC3\xA9");
    Press({VK_RIGHT});
    EXPECT_EQ(Ed->CaretLinePos(), 3);
    EXPECT_EQ(Ed->CaretColumn(), 2);
    Press({VK_END});
    Press({VK_BACK});
    EXPECT_EQ(Ed->GetPara(1), "\xC3\xA9t");
    // Invalid UTF-8 steps byte by byte and keeps its bytes.
    Ed->SetCaretPosition(1, 1);
    Ed->InsertString("\xFF\xC3");
    EXPECT_EQ(Ed->GetPara(1), "\xFF\xC3\xC3\xA9t");
}

TEST_F(EditorTest, TabFollowsTheTabType)
{
    struct TCase {
        TTabType Type;
        std::string Before; // the second line; the first is "ab    cd"
        int Pos;
        std::string After;
    };
    const std::vector<TCase> Cases = {
        {ttReal, "xy", 2, "x\ty"},      {ttFixed, "xy", 2, "x       y"},
        {ttFixed, "xy", 9, "xy      "}, // the caret past the end pads nothing here: clipped
        {ttSmart, "xy", 1, "      xy"}, {ttSmart, "xy", 3, "xy    "},
    };
    Ed->SetWantTab(true);
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.After);
        Ed->SetCaretPosition(1, 1);
        Press({VK_END, true, true});
        Ed->InsertString("ab    cd\r\n" + Case.Before);
        Ed->SetTabType(Case.Type);
        Ed->SetCaretPosition(2, Case.Pos);
        Press({VK_TAB});
        EXPECT_EQ(Ed->GetPara(2), Case.After);
    }
}

TEST_F(EditorTest, AutoIndentStartsTheNewParagraphLikeTheLine)
{
    Ed->SetAutoIndent(true);
    SetText("    abc");
    Press({VK_END});
    Press({VK_RETURN});
    Type("d");
    EXPECT_EQ(Text(), "    abc|    d");
    Ed->SetTabType(ttReal);
    Ed->SetCaretPosition(1, 1);
    Press({VK_END, true, true});
    Ed->InsertString("\t  x");
    Press({VK_RETURN});
    EXPECT_EQ(Ed->GetPara(2), "\t  ");
    Ed->SetAutoIndent(false);
    Press({VK_RETURN});
    EXPECT_EQ(Ed->GetPara(3), "");
}

TEST_F(EditorTest, OverwriteReplacesAndAppendsAtTheEnd)
{
    SetText("abc");
    Press({VK_INSERT});
    EXPECT_FALSE(Ed->InsertMode());
    Type("xy");
    EXPECT_EQ(Ed->GetPara(1), "xyc");
    Type("zw");
    EXPECT_EQ(Ed->GetPara(1), "xyzw");
}

TEST_F(EditorTest, PasteTakesCrLfTextAndLongTextInPieces)
{
    Clipboard()->SetAsText("one\r\ntwo\r\nthree");
    SetText("<>");
    Ed->SetCaretPosition(1, 2);
    Press({'V', true});
    EXPECT_EQ(Text(), "<one|two|three>");
    EXPECT_EQ(Ed->CaretLine(), 3);
    EXPECT_EQ(Ed->CaretLinePos(), 6);
    // One undo takes the whole paste back.
    Press({'Z', true});
    EXPECT_EQ(Text(), "<>");

    std::string Long;
    for (int I = 0; I < 3000; ++I)
        Long += std::string(29, static_cast<char>('a' + I % 26)) + "\r\n";
    ASSERT_GT(Long.size(), 61440u);
    Clipboard()->SetAsText(Long);
    Ed->SetCaretPosition(1, 1);
    Press({VK_END, true, true});
    Press({VK_DELETE});
    Press({'V', true});
    EXPECT_EQ(Ed->ParaCount(), 3001);
    for (int P = 1; P <= 3000; ++P)
        ASSERT_EQ(Ed->GetPara(P), std::string(29, static_cast<char>('a' + (P - 1) % 26)));
    EXPECT_EQ(Ed->CaretLine(), 3001);
}

TEST_F(EditorTest, CopyKeepsTabsAndBlanksControlBytes)
{
    SetText(std::string("a\tb\x01", 4) + "\r\nc");
    Press({VK_END, true, true});
    Press({'C', true});
    EXPECT_EQ(Clipboard()->AsText(), "a\tb \r\nc");
}

TEST_F(EditorTest, LinesOutsideTheTextRaise)
{
    SetText("a\tb\r\nc");
    EXPECT_EQ(Ed->LineCount(), 2);
    EXPECT_EQ(Ed->Lines(1), "a       b");
    EXPECT_THROW(Ed->Lines(0), EInvalidLineOrPara);
    EXPECT_THROW(Ed->Lines(3), EInvalidLineOrPara);
    EXPECT_THROW(Ed->SetTopLine(3), EInvalidLineOrPara);
    EXPECT_THROW(Ed->SetMarkerAt(1, 1, 0), EInvalidLineOrCol);
}

TEST_F(EditorTest, StoreErrorsGoToOnErrorOrRaise)
{
    Ed->SetParaLengthLimit(3);
    Type("abc");
    EXPECT_THROW(Ed->ProcessCommand(ccChar, 'd'), EEditorError);
    Word Seen = 0;
    Ed->OnError = [&Seen](TObject*, Word& Code) { Seen = Code; };
    Type("d");
    EXPECT_EQ(Seen, oeParaTooLong);
    EXPECT_EQ(Ed->GetPara(1), "abc");
}

TEST_F(EditorTest, TwoViewsFollowEachOthersEdits)
{
    TOvcEditor* Other = NewEditor(150);
    Pump();
    Other->Attach(Ed);
    SetText("first\r\nsecond");
    Other->SetCaretPosition(2, 4);
    Ed->SetCaretPosition(1, 1);
    Press({VK_RETURN});
    EXPECT_EQ(Other->GetPara(1), "");
    EXPECT_EQ(Other->CaretLine(), 3);
    EXPECT_EQ(Other->CaretLinePos(), 4);
    Other->InsertString("X");
    EXPECT_EQ(Ed->GetPara(3), "secXond");
    // A third view that shares another text leaves it first.
    TOvcEditor* Third = NewEditor(200);
    TOvcEditor* Fourth = NewEditor(220);
    Fourth->Attach(Third);
    Third->Attach(Ed);
    EXPECT_EQ(Third->GetPara(3), "secXond");
    Fourth->InsertString("alone");
    EXPECT_EQ(Fourth->GetPara(1), "alone");
    EXPECT_EQ(Ed->ParaCount(), 3);
    delete Ed;
    Ed = nullptr;
    EXPECT_EQ(Other->GetPara(3), "secXond");
    Third->InsertString("!");
    EXPECT_EQ(Other->GetPara(1), "!");
    Ed = Other;
}

TEST_F(EditorTest, ReadOnlyRefusesEditsAndUndoBeeps)
{
    SetText("abc");
    Ed->SetReadOnly(true);
    Type("x");
    Press({VK_DELETE});
    EXPECT_EQ(Ed->GetPara(1), "abc");
    Press({'Z', true});
    EXPECT_FALSE(Sounds.Entries().empty());
}
