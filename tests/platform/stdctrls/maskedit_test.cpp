// The masked edit: typing through injected keys fills only what each position takes, literals
// are skipped, deleting leaves blanks, the clipboard goes through the mask, ValidateEdit puts
// the caret on the first incomplete position, and Escape goes back to the last commit.
#include "platform/stdctrls/maskedit.h"
#include "tests/platform/stdctrls/edittest.h"
#include "tests/support/golden.h"

#include "platform/ui/backbuffer.h"

#include <string>
#include <vector>

namespace {

const char* const PhoneMask = "!\\(999\\)000-0000;0;_";

class MaskEditTest : public EditTest {
protected:
    TMaskEdit* MakeMaskEdit(const std::string& Mask, const std::string& Text = {})
    {
        TMaskEdit* Edit = Make<TMaskEdit>(10, 10, 200, 21);
        Edit->SetEditMask(Mask);
        Edit->SetText(Text);
        Edit->SetAutoSelect(false);
        Focus(Edit);
        PressKey(VK_HOME);
        Changes = 0;
        return Edit;
    }
};

} // namespace

TEST_F(MaskEditTest, PropertiesFollowTheMask)
{
    TMaskEdit* Edit = MakeMaskEdit(PhoneMask, "5551234");
    EXPECT_TRUE(Edit->IsMasked());
    EXPECT_EQ(Edit->MaxLength(), 13);
    // "!" aligns the value to the end.
    EXPECT_EQ(Edit->EditText(), "(___)555-1234");
    EXPECT_EQ(Edit->Text(), "5551234");
    Edit->SetEditMask("(999)000-0000;1;_");
    EXPECT_EQ(Edit->Text(), "(   )555-1234");
    Edit->SetEditText("(12)");
    EXPECT_EQ(Edit->EditText(), "(12_)___-____");
    Edit->SetEditMask("");
    EXPECT_FALSE(Edit->IsMasked());
    EXPECT_EQ(Edit->MaxLength(), 0);
}

TEST_F(MaskEditTest, TypingFillsInputPositionsSkipsLiteralsAndForcesCase)
{
    struct TCase {
        const char* Mask;
        const char* Typed;
        const char* EditText;
    };
    const std::vector<TCase> Cases = {
        {"(999)000-0000;0;_", "5551234567", "(555)123-4567"},
        {"(999)000-0000;0;_", "55x5-12", "(555)12_-____"}, // refused keys change nothing
        {">LL<ll;1;*", "abCD", "ABcd"},
        {"00:00;1;_", "1230", "12:30"},
        {"LL;0;_", "ab\xC3\xA9", "ab"}, // the mask is full
        {"l0;0;_",
         "\xC3\xA9"
         "7",
         "\xC3\xA9"
         "7"},
    };
    for (const TCase& Case : Cases) {
        TMaskEdit* Edit = MakeMaskEdit(Case.Mask);
        TypeText(Case.Typed);
        EXPECT_EQ(Edit->EditText(), Case.EditText) << Case.Mask << " " << Case.Typed;
        EXPECT_TRUE(Edit->Modified());
        delete Edit;
    }
}

TEST_F(MaskEditTest, ArrowsHomeAndEndSkipLiterals)
{
    TMaskEdit* Edit = MakeMaskEdit("(999)000-0000;0;_", "5551234567");
    EXPECT_EQ(Edit->SelStart(), 1); // Home: the first input position, selected for overwrite
    EXPECT_EQ(Edit->SelLength(), 1);
    struct TCase {
        int Key;
        int SelStart;
    };
    const std::vector<TCase> Cases = {
        {VK_RIGHT, 2}, {VK_RIGHT, 3}, {VK_RIGHT, 5}, {VK_LEFT, 3},
        {VK_END, 13},  {VK_LEFT, 12}, {VK_HOME, 1},  {VK_LEFT, 1},
    };
    for (std::size_t I = 0; I < Cases.size(); ++I) {
        PressKey(Cases[I].Key);
        EXPECT_EQ(Edit->SelStart(), Cases[I].SelStart) << "step " << I;
    }
    // Typing over the selected character overwrites it and moves past the literal.
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
    TypeText("9");
    EXPECT_EQ(Edit->EditText(), "(559)123-4567");
    EXPECT_EQ(Edit->SelStart(), 5);
}

TEST_F(MaskEditTest, ShiftArrowsExtendTheSelectionOverLiterals)
{
    TMaskEdit* Edit = MakeMaskEdit("(999) 000-0000;0;_", "5551234567");
    // From the first input position; the selection reaches the next input position, taking
    // the literals in between, and comes back the same way.
    struct TCase {
        int Key;
        int SelStart;
        int SelLength;
    };
    const std::vector<TCase> Cases = {
        {VK_RIGHT, 1, 1}, {VK_RIGHT, 1, 2}, {VK_RIGHT, 1, 5}, {VK_RIGHT, 1, 6},
        {VK_LEFT, 1, 5},  {VK_LEFT, 1, 2},  {VK_LEFT, 1, 1},  {VK_LEFT, 1, 1},
    };
    for (std::size_t I = 0; I < Cases.size(); ++I) {
        PressKey(Cases[I].Key, {VK_SHIFT});
        EXPECT_EQ(Edit->SelStart(), Cases[I].SelStart) << "step " << I;
        EXPECT_EQ(Edit->SelLength(), Cases[I].SelLength) << "step " << I;
    }
    // Backwards from an input position past literals: the selection starts at the input
    // position before them.
    PressKey(VK_END);
    PressKey(VK_LEFT);
    PressKey(VK_LEFT);
    PressKey(VK_LEFT);
    PressKey(VK_LEFT);
    EXPECT_EQ(Edit->SelStart(), 10);
    PressKey(VK_LEFT, {VK_SHIFT});
    EXPECT_EQ(Edit->SelStart(), 8);
    EXPECT_EQ(Edit->SelLength(), 2);
    PressKey(VK_LEFT, {VK_SHIFT});
    EXPECT_EQ(Edit->SelStart(), 7);
    EXPECT_EQ(Edit->SelLength(), 3);
    // Typing replaces the whole selection, literals kept.
    TypeText("9");
    EXPECT_EQ(Edit->EditText(), "(555) 19_-4567");
}

TEST_F(MaskEditTest, BackspaceDeleteAndSelectionLeaveBlanks)
{
    TMaskEdit* Edit = MakeMaskEdit("(999)000-0000;0;_", "5551234567");
    PressKey(VK_END);
    PressKey(VK_BACK);
    EXPECT_EQ(Edit->EditText(), "(555)123-456_");
    PressKey(VK_BACK);
    PressKey(VK_BACK);
    PressKey(VK_BACK);
    EXPECT_EQ(Edit->EditText(), "(555)123-____");
    PressKey(VK_BACK); // over the literal
    EXPECT_EQ(Edit->EditText(), "(555)12_-____");
    EXPECT_EQ(Edit->SelStart(), 7);
    PressKey(VK_HOME);
    PressKey(VK_DELETE);
    EXPECT_EQ(Edit->EditText(), "(_55)12_-____");
    EXPECT_EQ(Edit->SelStart(), 1);
    Edit->SetSelStart(2);
    Edit->SetSelLength(4);
    PressKey(VK_DELETE);
    EXPECT_EQ(Edit->EditText(), "(___)_2_-____");
    EXPECT_EQ(Edit->Text(), "    2");
}

TEST_F(MaskEditTest, ClipboardGoesThroughTheMask)
{
    TMaskEdit* Edit = MakeMaskEdit("(999)000-0000;0;_");
    struct TCase {
        const char* Pasted;
        const char* EditText;
    };
    const std::vector<TCase> Cases = {
        {"5551234567", "(555)123-4567"},
        {"(555)123-4567", "(555)123-4567"},
        {"55a5 12", "(555)12_-____"}, // refused characters are dropped
        {"12345678901234", "(123)456-7890"},
    };
    for (const TCase& Case : Cases) {
        Edit->SetText("");
        PressKey(VK_HOME);
        Clipboard()->SetAsText(Case.Pasted);
        PressKey('V', {VK_CONTROL});
        EXPECT_EQ(Edit->EditText(), Case.EditText) << Case.Pasted;
    }
    // Cut copies the selection as shown and leaves blanks.
    Edit->SetSelStart(1);
    Edit->SetSelLength(4);
    PressKey('X', {VK_CONTROL});
    EXPECT_EQ(Clipboard()->AsText(), "123)");
    EXPECT_EQ(Edit->EditText(), "(___)456-7890");
    // Shift+Insert pastes at the caret.
    Clipboard()->SetAsText("98");
    PressKey(VK_INSERT, {VK_SHIFT});
    EXPECT_EQ(Edit->EditText(), "(98_)456-7890");
}

TEST_F(MaskEditTest, ReadOnlyRefusesTypingAndPasting)
{
    TMaskEdit* Edit = MakeMaskEdit("000;0;_", "12");
    Edit->SetReadOnly(true);
    TypeText("9");
    PressKey(VK_DELETE);
    Clipboard()->SetAsText("7");
    PressKey('V', {VK_CONTROL});
    EXPECT_EQ(Edit->EditText(), "12_");
}

TEST_F(MaskEditTest, ValidateEditRaisesWithTheCaretOnTheFirstIncompletePosition)
{
    TMaskEdit* Edit = MakeMaskEdit("(999)000-0000;0;_");
    // Unmodified text is not checked.
    EXPECT_NO_THROW(Edit->ValidateEdit());
    TypeText("5551");
    try {
        Edit->ValidateEdit();
        FAIL() << "no exception";
    } catch (const EDBEditError& E) {
        EXPECT_EQ(E.Message(), "Invalid input value.  Use escape key to abandon changes");
    }
    EXPECT_EQ(Edit->SelStart(), 6);
    TypeText("234567");
    EXPECT_NO_THROW(Edit->ValidateEdit());
}

TEST_F(MaskEditTest, LeavingAnIncompleteEntryReportsTheErrorAndKeepsTheFocus)
{
    TEdit* Other = Make<TEdit>(10, 100, 100, 21);
    TMaskEdit* Edit = MakeMaskEdit("000-000;1;_");
    std::vector<std::string> Reported;
    App.OnException = [&Reported](TObject*, const Exception& E) {
        Reported.push_back(E.Message());
    };
    TypeText("12");
    Other->SetFocus();
    PumpEdits();
    App.OnException = nullptr;
    ASSERT_EQ(Reported.size(), 1u);
    EXPECT_EQ(Reported[0], "Invalid input value.  Use escape key to abandon changes");
    EXPECT_TRUE(Edit->Focused());
    EXPECT_EQ(Edit->SelStart(), 2);
    // Abandoned with Escape, the entry lets the focus go.
    PressKey(VK_ESCAPE);
    Other->SetFocus();
    PumpEdits();
    EXPECT_TRUE(Other->Focused());
}

TEST_F(MaskEditTest, EscapeGoesBackToTheTextOfTheLastCommit)
{
    TMaskEdit* Edit = MakeMaskEdit("000-000;1;_", "123-456");
    TypeText("98");
    EXPECT_EQ(Edit->EditText(), "983-456");
    PressKey(VK_ESCAPE);
    EXPECT_EQ(Edit->EditText(), "123-456");
    EXPECT_FALSE(Edit->Modified());
}

namespace {

// A descendant's KeyPress runs before the mask sees the key.
class TUpperFirstEdit : public TMaskEdit {
public:
    using TMaskEdit::TMaskEdit;

protected:
    void KeyPress(char& Key) override
    {
        if (Key == '1')
            Key = '7';
        TMaskEdit::KeyPress(Key);
    }
};

} // namespace

TEST_F(MaskEditTest, DescendantKeyPressRunsFirstAndOnKeyPressCanSwallow)
{
    auto* Edit = Make<TUpperFirstEdit>(10, 40, 200, 21);
    Edit->SetEditMask("000;1;_");
    Edit->OnKeyPress = [](TObject*, char& Key) {
        if (Key == '2')
            Key = 0;
    };
    Focus(Edit);
    PressKey(VK_HOME);
    TypeText("123");
    EXPECT_EQ(Edit->EditText(), "73_");
}

namespace {

class MaskEditGolden : public MaskEditTest {
protected:
    void SetUp() override
    {
        MaskEditTest::SetUp();
        SetDeterministicFontMetrics(false); // the real faces, as a person sees them
        if (!FontFamilyInstalled("Liberation Sans") && !FontFamilyInstalled("DejaVu Sans"))
            GTEST_SKIP() << "no fonts";
        Form->SetColor(clBtnFace);
    }
};

} // namespace

// A phone number half typed: the literals in place, blanks where digits are still missing, and
// the next input position selected for overwrite.
TEST_F(MaskEditGolden, PhoneMaskHalfTyped)
{
    TMaskEdit* Edit = MakeMaskEdit("(999)000-0000;0;_");
    Edit->SetWidth(160);
    TypeText("555123");
    ASSERT_EQ(Edit->EditText(), "(555)123-____");
    Form->Invalidate();
    Edit->Invalidate();
    PumpEdits();
    TBackBuffer* Buffer = WindowBackBuffer(Form->Handle());
    ASSERT_NE(Buffer, nullptr);
    ExpectMatchesGoldenPng(Buffer->Raster(), WindowAreaInBackBuffer(Edit->Handle()),
                           "stdctrls/maskedit-phone-half-typed.png", TGoldenTolerance{8, 4});
}
