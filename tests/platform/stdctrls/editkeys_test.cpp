// The edit's keys: the caret steps over whole UTF-8 characters (an invalid byte is one), by
// words with Ctrl, Shift extends; typing assembles a character's bytes before inserting it.
#include "tests/platform/stdctrls/edittest.h"

#include <vector>

namespace {

struct TKeyStep {
    int Key;
    std::vector<int> Held;
};

} // namespace

TEST_F(EditTest, CaretStepsOverWholeCharactersAndInvalidBytes)
{
    // "a", "é" (2 bytes), an invalid 0xFF, "€" (3 bytes), a lone continuation byte, "😀" (4).
    const std::string Text = "a\xC3\xA9\xFF\xE2\x82\xAC\x80\xF0\x9F\x98\x80";
    TEdit* Edit = MakeEdit(Text);
    Edit->SetSelStart(0);
    const std::vector<int> Right = {1, 3, 4, 7, 8, 12, 12};
    for (int Expected : Right) {
        PressKey(VK_RIGHT);
        EXPECT_EQ(Edit->SelStart(), Expected);
    }
    const std::vector<int> Left = {8, 7, 4, 3, 1, 0, 0};
    for (int Expected : Left) {
        PressKey(VK_LEFT);
        EXPECT_EQ(Edit->SelStart(), Expected);
    }
}

TEST_F(EditTest, CtrlArrowsStepByWordsAndShiftExtends)
{
    TEdit* Edit = MakeEdit("one two  th\xC3\xA9\xC3\xA9 four");
    Edit->SetSelStart(0);
    struct TCase {
        TKeyStep Step;
        int SelStart;
        int SelLength;
    };
    const std::vector<TCase> Cases = {
        {{VK_RIGHT, {VK_CONTROL}}, 4, 0},
        {{VK_RIGHT, {VK_CONTROL}}, 9, 0},
        {{VK_RIGHT, {VK_CONTROL, VK_SHIFT}}, 9, 7},
        {{VK_LEFT, {VK_SHIFT}}, 9, 6}, // back over the two-byte character
        {{VK_LEFT, {}}, 9, 0},
        {{VK_LEFT, {VK_CONTROL}}, 4, 0},
        {{VK_END, {VK_SHIFT}}, 4, 16},
        {{VK_HOME, {}}, 0, 0},
        {{VK_END, {}}, 20, 0},
        {{VK_LEFT, {VK_CONTROL}}, 16, 0},
    };
    for (std::size_t I = 0; I < Cases.size(); ++I) {
        PressKey(Cases[I].Step.Key, Cases[I].Step.Held);
        EXPECT_EQ(Edit->SelStart(), Cases[I].SelStart) << "step " << I;
        EXPECT_EQ(Edit->SelLength(), Cases[I].SelLength) << "step " << I;
    }
}

TEST_F(EditTest, TypingAssemblesMultiByteCharactersAndBackspaceRemovesThemWhole)
{
    TEdit* Edit = MakeEdit();
    TypeText("a\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(Edit->Text(), "a\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(Changes, 3); // one per character, not per byte
    PressKey(VK_BACK);
    EXPECT_EQ(Edit->Text(), "a\xC3\xA9");
    PressKey(VK_BACK);
    EXPECT_EQ(Edit->Text(), "a");
    // A lone invalid byte is typed and kept as it is.
    TypeText("\xFF");
    EXPECT_EQ(Edit->Text(), "a\xFF");
}

TEST_F(EditTest, MaxLengthNeverSplitsACharacterWhenTypingOrPasting)
{
    struct TCase {
        int MaxLength;
        std::string Start;
        std::string Typed;  // typed after Start
        std::string Pasted; // pasted after that
        std::string Result;
    };
    const std::vector<TCase> Cases = {
        {4, "ab", "\xC3\xA9", "", "ab\xC3\xA9"},
        {4, "abc", "\xC3\xA9", "", "abc"}, // é needs 2 bytes, 1 is left: refused
        {5, "ab", "",
         "\xE2\x82\xAC"
         "x",
         "ab\xE2\x82\xAC"},                  // € fits whole, x does not
        {4, "ab", "", "\xE2\x82\xAC", "ab"}, // € needs 3, 2 are left
        {6, "", "", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", "\xC3\xA9\xC3\xA9\xC3\xA9"},
        {3, "", "", "a\xFF\xFE\xFD", "a\xFF\xFE"}, // invalid bytes are one byte each
    };
    for (const TCase& Case : Cases) {
        TEdit* Edit = MakeEdit(Case.Start);
        Edit->SetMaxLength(Case.MaxLength);
        int Full = 0; // EN_MAXTEXT told to the parent
        const TWndMethod Old = Edit->WindowProc;
        Edit->WindowProc = [&Full, Old](TMessage& Message) {
            if (Message.Msg == CN_COMMAND && HiWord(Message.WParam) == EN_MAXTEXT)
                ++Full;
            Old(Message);
        };
        Edit->SetSelStart(static_cast<int>(Case.Start.size()));
        TypeText(Case.Typed);
        if (!Case.Pasted.empty()) {
            Clipboard()->SetAsText(Case.Pasted);
            PressKey('V', {VK_CONTROL});
        }
        EXPECT_EQ(Edit->Text(), Case.Result) << "limit " << Case.MaxLength;
        EXPECT_LE(static_cast<int>(Edit->Text().size()), Case.MaxLength);
        const bool Cut = Case.Result != Case.Start + Case.Typed + Case.Pasted;
        EXPECT_EQ(Full > 0, Cut) << "limit " << Case.MaxLength;
        Edit->WindowProc = Old;
        delete Edit;
    }
}

TEST_F(EditTest, ClipboardKeysCutCopyAndPaste)
{
    TEdit* Edit = MakeEdit("hello world");
    struct TCase {
        TKeyStep Step;
        std::string Text;
        std::string Clip;
    };
    Edit->SetSelStart(0);
    Edit->SetSelLength(5);
    const std::vector<TCase> Cases = {
        {{'C', {VK_CONTROL}}, "hello world", "hello"},
        {{VK_END, {}}, "hello world", "hello"},
        {{'V', {VK_CONTROL}}, "hello worldhello", "hello"},
        {{VK_LEFT, {VK_SHIFT}}, "hello worldhello", "hello"},
        {{VK_INSERT, {VK_CONTROL}}, "hello worldhello", "o"},
        {{'X', {VK_CONTROL}}, "hello worldhell", "o"},
        {{VK_INSERT, {VK_SHIFT}}, "hello worldhello", "o"},
        {{VK_HOME, {VK_SHIFT}}, "hello worldhello", "o"},
        {{VK_DELETE, {VK_SHIFT}}, "", "hello worldhello"},
    };
    for (std::size_t I = 0; I < Cases.size(); ++I) {
        PressKey(Cases[I].Step.Key, Cases[I].Step.Held);
        EXPECT_EQ(Edit->Text(), Cases[I].Text) << "step " << I;
        EXPECT_EQ(Clipboard()->AsText(), Cases[I].Clip) << "step " << I;
    }
}

TEST_F(EditTest, UndoTakesBackTheLastChangeAndUndoingTheUndoRedoesIt)
{
    TEdit* Edit = MakeEdit("start");
    Edit->SetSelStart(5);
    EXPECT_FALSE(Edit->CanUndo());
    TypeText(" more");
    EXPECT_TRUE(Edit->CanUndo());
    const std::vector<std::string> Expected = {"start", "start more", "start"};
    for (const std::string& Text : Expected) {
        PressKey('Z', {VK_CONTROL});
        EXPECT_EQ(Edit->Text(), Text);
    }
    // A deletion is undone as one change too, and the text comes back selected.
    Edit->SetSelStart(0);
    Edit->SetSelLength(2);
    PressKey(VK_DELETE);
    EXPECT_EQ(Edit->Text(), "art");
    Edit->Undo();
    EXPECT_EQ(Edit->Text(), "start");
    EXPECT_EQ(Edit->SelText(), "st");
    Edit->ClearUndo();
    EXPECT_FALSE(Edit->CanUndo());
}

TEST_F(EditTest, DoubleClickSelectsAWordAndDragsSelect)
{
    TEdit* Edit = MakeEdit("alpha beta gamma");
    const LRESULT At6 = SendMessage(Edit->Handle(), EM_POSFROMCHAR, 6, 0);
    const LRESULT At7 = SendMessage(Edit->Handle(), EM_POSFROMCHAR, 7, 0);
    const int CharW = GetXLParam(At7) - GetXLParam(At6);
    ASSERT_GT(CharW, 0);
    const int Y = GetYLParam(At6) + 2;
    InjectMouseButton(Edit->Handle(), 0, true, GetXLParam(At7), Y);
    InjectMouseButton(Edit->Handle(), 0, false, GetXLParam(At7), Y);
    InjectMouseButton(Edit->Handle(), 0, true, GetXLParam(At7), Y);
    InjectMouseButton(Edit->Handle(), 0, false, GetXLParam(At7), Y);
    PumpEdits();
    EXPECT_EQ(Edit->SelText(), "beta");
    // Held after the double click, the mouse extends by whole words.
    const int X14 = GetXLParam(SendMessage(Edit->Handle(), EM_POSFROMCHAR, 14, 0));
    InjectMouseButton(Edit->Handle(), 0, true, GetXLParam(At7), Y);
    InjectMouseButton(Edit->Handle(), 0, false, GetXLParam(At7), Y);
    InjectMouseButton(Edit->Handle(), 0, true, GetXLParam(At7), Y);
    InjectMouseMove(Edit->Handle(), X14, Y);
    InjectMouseButton(Edit->Handle(), 0, false, X14, Y);
    PumpEdits();
    EXPECT_EQ(Edit->SelText(), "beta gamma");
    SetDoubleClickTime(1);
    InjectMouseButton(Edit->Handle(), 0, true, 0, Y); // a later press is a single click again
    InjectMouseButton(Edit->Handle(), 0, false, 0, Y);
    PumpEdits();
    SetDoubleClickTime(0);
    // Press at "alpha|", drag to the middle of "gamma".
    const int X5 = GetXLParam(SendMessage(Edit->Handle(), EM_POSFROMCHAR, 5, 0));
    const int X13 = GetXLParam(SendMessage(Edit->Handle(), EM_POSFROMCHAR, 13, 0));
    SetDoubleClickTime(1);
    InjectMouseButton(Edit->Handle(), 0, true, X5, Y);
    InjectMouseMove(Edit->Handle(), X13, Y);
    InjectMouseButton(Edit->Handle(), 0, false, X13, Y);
    PumpEdits();
    SetDoubleClickTime(0);
    EXPECT_EQ(Edit->SelText(), " beta ga");
}

TEST_F(EditTest, ReadOnlyRefusesEditsButSelectsAndCopies)
{
    TEdit* Edit = MakeEdit("fixed");
    Edit->SetReadOnly(true);
    Clipboard()->SetAsText("zz");
    Edit->SetSelStart(0);
    TypeText("x");
    PressKey(VK_DELETE);
    PressKey(VK_BACK);
    PressKey('V', {VK_CONTROL});
    PressKey('X', {VK_CONTROL});
    PressKey(VK_END, {VK_SHIFT});
    EXPECT_EQ(Edit->Text(), "fixed");
    EXPECT_EQ(Edit->SelLength(), 5);
    PressKey('C', {VK_CONTROL});
    EXPECT_EQ(Clipboard()->AsText(), "fixed");
    EXPECT_EQ(Changes, 0);
}

TEST_F(EditTest, CharCaseFoldsTypedPastedAndSetText)
{
    struct TCase {
        TEditCharCase Case;
        std::string Result;
    };
    const std::vector<TCase> Cases = {
        {ecNormal, "Ab\xC3\xA9\xC3\x89\xFF"
                   "Cd"},
        {ecUpperCase, "AB\xC3\x89\xC3\x89\xFF"
                      "CD"},
        {ecLowerCase, "ab\xC3\xA9\xC3\xA9\xFF"
                      "cd"},
    };
    for (const TCase& Case : Cases) {
        TEdit* Edit = Make<TEdit>(10, 10, 200, 21);
        Edit->SetCharCase(Case.Case);
        Focus(Edit);
        TypeText("Ab\xC3\xA9");
        Clipboard()->SetAsText("\xC3\x89\xFF"
                               "Cd"); // the invalid byte stays as it is
        PressKey('V', {VK_CONTROL});
        EXPECT_EQ(Edit->Text(), Case.Result) << "case " << Case.Case;
        delete Edit;
    }
}
