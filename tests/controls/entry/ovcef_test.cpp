// The entry field's base: options and their rules, range texts, value access, validation with
// its posted report, the focus cycle through the queue, keys and the character gate, the
// clipboard, EM_ selection messages and the context menu. A small field whose edit engine
// appends typed characters and reads its text as a LongInt drives it.
#include "controls/entry/ovcef.h"

#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcexcpt.h"
#include "controls/entry/ovcmsgs.h"
#include "controls/entry/ovcsrmgr.h"
#include "platform/forms/menus.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/format.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/messages.h"
#include "platform/ui/sound.h"
#include "platform/ui/sysmetrics.h"
#include "tests/platform/stdctrls/stdctrlstest.h"
#include "tests/support/golden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// Appends typed characters, removes the last on Backspace, replaces the text on a paste and
// restores on ccRestore; the text reads as a LongInt range text checked against the range.
class TTestField : public TOvcBaseEntryField {
public:
    explicit TTestField(TComponent* AOwner) : TOvcBaseEntryField(AOwner) { SetType(fidLongInt); }

    void SetType(Byte Type, Byte FieldClass = fcSimple)
    {
        FFieldClass = FieldClass;
        FType = static_cast<Byte>(Type | (FieldClass == fcNumeric ? fsubNumeric : 0) |
                                  (FieldClass == fcPicture ? fsubPicture : 0));
        FDataSize = 0;
        DefaultRange(Type, FRangeLo, FRangeHi);
        if (FieldClass == fcNumeric)
            FState.Include(esNumericClass);
        else
            FState.Exclude(esNumericClass);
    }
    void SetText(const std::string& Text) { SetEditText(Text); }
    bool InErrorState() const { return FState.Contains(esErrorState); }
    bool Correcting() const { return FState.Contains(esCorrecting); }
    std::unique_ptr<TPopupMenu> ContextMenu()
    {
        return std::unique_ptr<TPopupMenu>(CreateContextMenu(nullptr));
    }

    std::vector<Word> Commands;

    void EditCommand(TMessage& Msg, Word Cmd) override
    {
        Commands.push_back(Cmd);
        switch (Cmd) {
        case ccChar:
            SetEditText(FEditText + static_cast<char>(Msg.WParam & 0xFF));
            SetModified(true);
            break;
        case ccBack:
            if (!FEditText.empty())
                SetEditText(FEditText.substr(0, FEditText.size() - 1));
            SetModified(true);
            break;
        case ccPaste:
            SetEditText(reinterpret_cast<const char*>(Msg.LParam));
            SetModified(true);
            break;
        case ccCut:
            SetEditText(FEditText.substr(0, static_cast<std::size_t>(SelStart())) +
                        FEditText.substr(static_cast<std::size_t>(ClippedSelEnd())));
            SetModified(true);
            break;
        case ccRestore:
            DoRestore();
            break;
        case ccCopy:
            CopySelection();
            break;
        default:
            break;
        }
        FCaretPos = static_cast<int>(FEditText.size());
        FState.Exclude(esTakeNextChar);
        PlaceCaret(true);
    }
    Word CheckEditText() override
    {
        const std::optional<TRangeType> Raw =
            RangeTextToRaw(fidLongInt, FEditText, std::string(), 0, *FIntlSup);
        if (!Raw)
            return oeInvalidNumber;
        const std::int32_t V = Raw->AsLong();
        if (V < FRangeLo.AsLong() || V > FRangeHi.AsLong())
            return oeRangeError;
        FValue = V;
        return 0;
    }
    Word TransferValue(void* Data, int Mode) override
    {
        if (Mode == 1)
            std::memcpy(Data, &FValue, DataSize());
        else if (Mode == 2) {
            std::int32_t V = 0;
            std::memcpy(&V, Data, std::min<Word>(DataSize(), 4));
            if (DataType() == fidShortInt)
                V = static_cast<std::int8_t>(V);
            FEditText = DataType() == fidString ? std::string(static_cast<const char*>(Data))
                                                : std::to_string(V);
        }
        return TOvcBaseEntryField::TransferValue(Data, Mode);
    }
    void StepValue(bool, double) override {}

private:
    std::int32_t FValue = 0;
};

struct TFieldForm {
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    TOvcController* Controller = new TOvcController(Form);
    std::vector<std::string> Reports;

    TFieldForm()
    {
        Controller->OnError = [this](TObject*, Word Code, const std::string& Msg) {
            Reports.push_back(std::to_string(Code) + " " + Msg);
        };
    }
    TTestField* Field(int Top, const std::string& Range = {})
    {
        auto* F = Place<TTestField>(Form, 10, Top, 120, 22);
        F->HandleNeeded();
        if (!Range.empty()) {
            const std::size_t Dots = Range.find("..");
            F->SetRangeLo(Range.substr(0, Dots));
            F->SetRangeHi(Range.substr(Dots + 2));
        }
        return F;
    }
};

void Type(const std::string& Text)
{
    for (char C : Text)
        InjectKeyPress(C >= 'a' && C <= 'z' ? C - 32 : C, std::string(1, C));
    Pump();
}

void Press(int Key)
{
    InjectKeyPress(Key);
    Pump();
}

void CtrlKey(int Key, const std::string& Text)
{
    InjectKeyDown(VK_CONTROL);
    InjectKeyPress(Key, Text);
    InjectKeyUp(VK_CONTROL);
    Pump();
}

} // namespace

TEST(OvcEntryField, StartsWithTheDefaultsOfTheClass)
{
    TFieldForm F;
    auto* Field = new TTestField(F.Form);
    EXPECT_EQ(Field->Width(), 130);
    EXPECT_EQ(Field->Height(), 25);
    EXPECT_TRUE(Field->TabStop());
    EXPECT_EQ(Field->MaxLength(), 15);
    EXPECT_EQ(EntryFieldOptionsToWord(Field->Options()), 2050);
    EXPECT_EQ(Field->PadChar(), ' ');
    EXPECT_EQ(Field->TextMargin(), 2);
    EXPECT_EQ(Field->CaretIns()->Shape(), csVertLine);
    EXPECT_EQ(Field->CaretOvr()->Shape(), csBlock);
    Field->SetTextMargin(1);
    EXPECT_EQ(Field->TextMargin(), 2);
    EXPECT_EQ(EntryFieldOptionsFromWord(2050), DefaultEntryFieldOptions());
}

TEST(OvcEntryField, OptionsFollowTheRulesOfClassAndType)
{
    using O = TOvcEntryFieldOptions;
    struct TCase {
        Byte FieldClass;
        Byte Type;
        O Given;
        O Kept;
    };
    const std::vector<TCase> Cases = {
        {fcSimple, fidLongInt, {efoForceInsert, efoForceOvertype}, {efoForceInsert}},
        {fcSimple, fidString, {efoRightJustify, efoStripLiterals}, {efoTrimBlanks}},
        {fcSimple, fidChar, {efoCaretToEnd, efoForceInsert, efoReadOnly}, {efoReadOnly}},
        {fcSimple, fidDouble, {efoTrimBlanks, efoRightJustify, efoRightAlign}, {efoRightAlign}},
        {fcPicture, fidLongInt, {efoRightJustify, efoStripLiterals}, {efoRightJustify}},
        {fcPicture, fidDate, {efoRightJustify, efoInputRequired}, {efoInputRequired}},
        {fcPicture,
         fidString,
         {efoRightJustify, efoStripLiterals},
         {efoRightJustify, efoStripLiterals, efoTrimBlanks}},
        {fcNumeric,
         fidLongInt,
         {efoCaretToEnd, efoForceInsert, efoTrimBlanks, efoRightAlign, efoArrowIncDec},
         {efoArrowIncDec}},
    };
    TFieldForm F;
    auto* Field = new TTestField(F.Form);
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::to_string(Case.FieldClass) + "/" + std::to_string(Case.Type));
        Field->SetType(Case.Type, Case.FieldClass);
        Field->SetOptions(Case.Given);
        EXPECT_EQ(EntryFieldOptionsToWord(Field->Options()), EntryFieldOptionsToWord(Case.Kept));
    }
}

TEST(OvcEntryField, ARangeTextTheTypeCannotHoldRaisesWithTheTypesLimits)
{
    TFieldForm F;
    auto* Field = F.Field(10);
    Field->SetType(fidWord);
    try {
        Field->SetRangeHi("70000");
        FAIL() << "no exception";
    } catch (const EInvalidRangeValue& E) {
        EXPECT_EQ(E.Message(), Format(LibraryString(30203), 0, 65535));
    }
    EXPECT_EQ(Field->RangeHi(), "65535");
    Field->SetRangeHi("600");
    EXPECT_EQ(Field->RangeHi(), "600");

    Field->SetType(fidChar);
    Field->SetRangeLo("#65");
    EXPECT_EQ(Field->RawRangeLo().AsChar(), 'A');
    Field->SetRawRangeHi(TRangeType::FromChar('\t'));
    EXPECT_EQ(Field->RangeHi(), "#9");
}

TEST(OvcEntryField, IntegerValuesReadAndWriteInTheirTypesWidth)
{
    TFieldForm F;
    auto* Field = F.Field(10);
    Field->SetText("-2147483648");
    EXPECT_EQ(Field->GetIntegerValue(), INT32_MIN);
    EXPECT_EQ(Field->LastError(), 0);

    Field->SetText("abc");
    EXPECT_EQ(Field->GetIntegerValue(), 0);
    EXPECT_EQ(Field->LastError(), oeInvalidNumber);

    Field->SetRangeLo("2");
    Field->SetRangeHi("600");
    Field->SetText("700");
    EXPECT_EQ(Field->GetIntegerValue(), 0);
    EXPECT_EQ(Field->LastError(), oeRangeError);

    Field->SetType(fidWord);
    Field->SetText("65535");
    EXPECT_EQ(Field->GetIntegerValue(), 65535);
    Field->SetType(fidShortInt);
    Field->SetIntegerValue(0x17F); // only the low eight bits: 127
    EXPECT_EQ(Field->GetEditText(), "127");
    EXPECT_FALSE(Field->Modified());

    Field->SetType(fidDouble);
    try {
        Field->GetIntegerValue();
        FAIL() << "no exception";
    } catch (const EInvalidDataType& E) {
        EXPECT_EQ(E.Message(), "Invalid data type for this field");
    }
    EXPECT_THROW(Field->SetIntegerValue(1), EInvalidDataType);
}

TEST(OvcEntryField, AssignFromStringConvertsAsARangeText)
{
    TFieldForm F;
    auto* Field = F.Field(10);
    Field->AssignFromString(" 42 ");
    EXPECT_EQ(Field->GetEditText(), "42");
    try {
        Field->AssignFromString("4x2");
        FAIL() << "no exception";
    } catch (const EEntryFieldError& E) {
        EXPECT_EQ(E.Message(), "Value is not valid for this field type");
    }
    Field->SetType(fidString);
    Field->SetMaxLength(255);
    Field->AssignFromString(std::string(300, 'x'));
    EXPECT_EQ(Field->GetEditText().size(), 255u);
    // Text written into the field never exceeds the field's length.
    Field->SetMaxLength(20);
    Field->SetText(std::string(300, 'y'));
    EXPECT_EQ(Field->GetEditText().size(), 20u);
    EXPECT_LE(Field->GetDisplayText(1000).size(), 255u);
}

TEST(OvcEntryField, ARequiredEmptyFieldReportsCode258)
{
    TFieldForm F;
    auto* Field = F.Field(10);
    Field->SetOptions({efoInputRequired});
    Field->SetText("");
    EXPECT_FALSE(Field->ValidateContents(true));
    EXPECT_EQ(Field->LastError(), oeRequiredField);
    EXPECT_TRUE(F.Reports.empty()); // posted, not yet run
    Pump();
    EXPECT_EQ(F.Reports, std::vector<std::string>{"258 A value is required in this field"});
    EXPECT_EQ(F.Controller->LastErrorText(), "A value is required in this field");
    EXPECT_TRUE(Field->Focused()); // the focus went back to the field
}

TEST(OvcEntryField, TwoFailingFieldsPostOneReport)
{
    TFieldForm F;
    auto* A = F.Field(10, "2..600");
    auto* B = F.Field(40, "2..600");
    A->SetText("700");
    B->SetText("x");
    EXPECT_FALSE(A->ValidateContents(true));
    EXPECT_FALSE(B->ValidateContents(true));
    Pump();
    EXPECT_EQ(F.Reports, std::vector<std::string>{"256 Value is not within required range"});
}

TEST(OvcEntryField, SoftValidationAcceptsAndColoursTheField)
{
    TFieldForm F;
    TDeterministicFonts Fonts;
    auto* Field = F.Field(10, "2..600");
    Field->SetOptions({efoSoftValidation});
    Field->SetText("700");
    EXPECT_TRUE(Field->ValidateContents(true));
    EXPECT_EQ(Field->LastError(), oeRangeError);
    EXPECT_TRUE(Field->InErrorState());
    Pump();
    EXPECT_TRUE(F.Reports.empty());

    TBitmap Picture;
    Picture.SetSize(Field->Width(), Field->Height());
    Field->PaintTo(Picture.Canvas()->Handle(), 0, 0);
    EXPECT_EQ(Picture.Canvas()->Pixels(Field->Width() - 6, Field->Height() / 2), clRed);

    Field->SetText("7");
    EXPECT_TRUE(Field->ValidateContents(true));
    EXPECT_FALSE(Field->InErrorState());
}

TEST(OvcEntryField, LeavingWithAnErrorReportsAndTakesTheFocusBack)
{
    TFieldForm F;
    auto* Minutes = F.Field(10, "2..600");
    auto* Next = Place<TTestButton>(F.Form, 10, 40, 75, 25);
    Minutes->SetFocus();
    Pump();
    Type("700");
    EXPECT_EQ(Minutes->GetEditText(), "0700");
    Press(VK_TAB);
    EXPECT_EQ(F.Reports, std::vector<std::string>{"256 Value is not within required range"});
    EXPECT_TRUE(Minutes->Focused());
    EXPECT_FALSE(Next->Focused());

    Press(VK_TAB);
    EXPECT_EQ(F.Reports.size(), 2u);
    EXPECT_TRUE(Minutes->Focused());

    for (int I = 0; I < 4; ++I)
        Press(VK_BACK);
    Type("60");
    Press(VK_TAB);
    EXPECT_EQ(F.Reports.size(), 2u);
    EXPECT_TRUE(Next->Focused());
    EXPECT_EQ(Minutes->GetIntegerValue(), 60);
}

TEST(OvcEntryField, OnceTheReportHasRunLeavingValidatesAgain)
{
    TFieldForm F;
    auto* Minutes = F.Field(10, "2..600");
    auto* Ok = Place<TTestButton>(F.Form, 10, 40, 75, 25);
    Ok->SetFocus();
    Pump();
    Minutes->SetText("700");
    // Checked by the program (an OK button's handler): the field comes back correcting.
    EXPECT_FALSE(Minutes->ValidateContents(true));
    Pump();
    ASSERT_EQ(F.Reports.size(), 1u);
    ASSERT_TRUE(Minutes->Focused());
    // The report (OnError) took no focus; leaving the still wrong field reports again.
    Press(VK_TAB);
    EXPECT_EQ(F.Reports.size(), 2u);
    EXPECT_TRUE(Minutes->Focused());
    EXPECT_FALSE(Ok->Focused());
}

TEST(OvcEntryField, AnErrorBoxReturnsTheFocusToTheField)
{
    TFieldForm F;
    TScriptedDialogs Dialogs;
    F.Controller->OnError = nullptr;
    auto* Minutes = F.Field(10, "2..600");
    auto* Next = F.Field(40);
    Minutes->SetFocus();
    Pump();
    Type("1");
    Dialogs.Answer(IDOK);
    Press(VK_TAB);
    ASSERT_EQ(Dialogs.Calls().size(), 1u);
    EXPECT_EQ(Dialogs.Calls()[0].Text, "Value is not within required range");
    EXPECT_TRUE(Minutes->Focused());
    Type("5");
    Press(VK_TAB);
    EXPECT_TRUE(Next->Focused());
    EXPECT_EQ(Dialogs.Calls().size(), 1u);
}

TEST(OvcEntryField, ASpecialTargetLeavesTheFieldWithoutReport)
{
    TFieldForm F;
    auto* Minutes = F.Field(10, "2..600");
    auto* Cancel = Place<TTestButton>(F.Form, 10, 40, 75, 25);
    F.Controller->OnIsSpecialControl = [&](TObject*, TWinControl* Control, bool& Special) {
        Special = Control == Cancel;
    };
    Minutes->SetFocus();
    Pump();
    Type("1");
    Press(VK_TAB);
    EXPECT_TRUE(Cancel->Focused());
    EXPECT_TRUE(F.Reports.empty());
    EXPECT_EQ(Minutes->LastError(), oeRangeError);
}

TEST(OvcEntryField, EnteringSavesTheTextAndLeavingNotifiesTheController)
{
    TFieldForm F;
    auto* A = F.Field(10);
    auto* B = F.Field(40);
    std::vector<std::string> Log;
    F.Controller->OnPreEdit = [&](TObject* Sender, TWinControl*) {
        Log.push_back(Sender == A ? "pre A" : "pre B");
    };
    F.Controller->OnPostEdit = [&](TObject* Sender, TWinControl* Gaining) {
        Log.push_back(std::string(Sender == A ? "post A" : "post B") +
                      (Gaining == B ? " to B" : ""));
    };
    A->SetFocus();
    Pump();
    Type("12");
    EXPECT_TRUE(A->Modified());
    // Ctrl+Z of the default table restores the text of the entry.
    CtrlKey('Z', "\x1a");
    EXPECT_EQ(A->GetEditText(), "0");
    Press(VK_TAB);
    EXPECT_EQ(Log, (std::vector<std::string>{"pre A", "post A to B", "pre B"}));
}

TEST(OvcEntryField, CtrlVPastesOnceAndItsCharacterIsDropped)
{
    TFieldForm F;
    auto* Field = F.Field(10);
    Field->SetFocus();
    Pump();
    Clipboard()->SetAsText("42");
    Field->Commands.clear();
    CtrlKey('V', "\x16");
    EXPECT_EQ(Field->GetEditText(), "42");
    // The key-downs of Ctrl and of V are commands (252 none, then the paste); no character.
    EXPECT_EQ(Field->Commands, (std::vector<Word>{ccShortCut, ccPaste}));
    Type("1");
    EXPECT_EQ(Field->GetEditText(), "421");
}

TEST(OvcEntryField, AReadOnlyFieldRefusesEditingWithABeep)
{
    TFieldForm F;
    TSoundRecorder Sounds;
    F.Controller->SetEntryOptions({efoBeepOnError});
    auto* Field = F.Field(10);
    Field->SetOptions({efoReadOnly});
    Field->SetFocus();
    Pump();
    Field->Commands.clear();
    Type("5");
    Press(VK_BACK);
    EXPECT_EQ(Field->GetEditText(), "0");
    EXPECT_EQ(std::count(Field->Commands.begin(), Field->Commands.end(), ccChar), 0);
    EXPECT_EQ(std::count(Field->Commands.begin(), Field->Commands.end(), ccBack), 0);
    EXPECT_EQ(Sounds.Entries().size(), 2u);
}

TEST(OvcEntryField, EmSetSelSelectsAndClipsToTheText)
{
    struct TCase {
        Byte FieldClass;
        unsigned Start;
        unsigned End;
        int SelStart;
        int SelEnd;
    };
    const std::vector<TCase> Cases = {
        {fcSimple, 0, 0xFFFF, 0, 5}, {fcSimple, 2, 4, 2, 4},       {fcSimple, 4, 2, 0, 5},
        {fcSimple, 3, 255, 3, 5},    {fcNumeric, 0, 0xFFFF, 0, 5}, {fcNumeric, 2, 4, 0, 5},
        {fcSimple, 0xFFFF, 0, 0, 0},
    };
    TFieldForm F;
    auto* Field = F.Field(10);
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::to_string(Case.Start) + ".." + std::to_string(Case.End));
        Field->SetType(fidLongInt, Case.FieldClass);
        Field->SetText("12345");
        Field->SelectAll();
        Field->SetCaretPosition(5);
        SendMessage(Field->Handle(), EM_SETSEL, 0, MakeLParam(Case.Start, Case.End));
        EXPECT_EQ(Field->SelStart(), Case.SelStart);
        EXPECT_EQ(Field->SelEnd(), Case.SelEnd);
    }
    Field->SetType(fidLongInt);
    Field->SelectAll();
    std::int32_t Start = -1;
    std::int32_t End = -1;
    const LRESULT Both = SendMessage(Field->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start),
                                     reinterpret_cast<LPARAM>(&End));
    EXPECT_EQ(Start, 0);
    EXPECT_EQ(End, 5);
    EXPECT_EQ(Both, MakeLParam(0, 5));
}

TEST(OvcEntryField, TheContextMenuEnablesWhatTheFieldAllows)
{
    struct TCase {
        bool ReadOnly;
        bool Modified;
        bool Selected;
        std::vector<bool> Enabled; // Restore, Cut, Copy, Paste, Delete, Select All
    };
    const std::vector<TCase> Cases = {
        {true, true, true, {true, false, true, false, false, false}},
        {true, false, false, {false, false, false, false, false, true}},
        {false, false, true, {false, true, true, true, true, false}},
        {false, true, false, {true, false, false, true, false, true}},
    };
    TFieldForm F;
    auto* Field = F.Field(10);
    Clipboard()->SetAsText("7");
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::to_string(Case.ReadOnly) + std::to_string(Case.Modified) +
                     std::to_string(Case.Selected));
        Field->SetOptions(Case.ReadOnly ? TOvcEntryFieldOptions{efoReadOnly}
                                        : TOvcEntryFieldOptions{});
        Field->SetText("123");
        Field->SetModified(Case.Modified);
        Field->SetSelection(0, Case.Selected ? 255 : 0);
        const std::unique_ptr<TPopupMenu> Menu = Field->ContextMenu();
        TMenuItem* Items = Menu->Items();
        ASSERT_EQ(Items->Count(), 8);
        EXPECT_EQ(Items->Items(0)->Caption(), "&Restore");
        EXPECT_EQ(Items->Items(7)->Caption(), "Select &All");
        const std::vector<bool> Enabled = {Items->Items(0)->Enabled(), Items->Items(2)->Enabled(),
                                           Items->Items(3)->Enabled(), Items->Items(4)->Enabled(),
                                           Items->Items(5)->Enabled(), Items->Items(7)->Enabled()};
        EXPECT_EQ(Enabled, Case.Enabled);
    }
}

TEST(OvcEntryField, CopyPutsTheSelectedTextOnTheClipboard)
{
    TFieldForm F;
    auto* Field = F.Field(10);
    Field->SetType(fidString);
    Field->SetText(std::string("ab\x01"
                               "cd"));
    Field->SetSelection(1, 255);
    Field->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "b\x01"
                                     "cd");
    EXPECT_EQ(Field->GetDisplayText(), "abAcd");
}

namespace {

// The first and last columns of the field's picture holding a pixel other than the background.
std::pair<int, int> InkColumns(TTestField* Field)
{
    TBitmap Picture;
    Picture.SetSize(Field->Width(), Field->Height());
    Field->PaintTo(Picture.Canvas()->Handle(), 0, 0);
    int First = -1;
    int Last = -1;
    // Inside the client edge only.
    for (int X = 3; X < Field->Width() - 3; ++X)
        for (int Y = 3; Y < Field->Height() - 3; ++Y)
            if (Picture.Canvas()->Pixels(X, Y) != Field->Color()) {
                if (First < 0)
                    First = X;
                Last = X;
                break;
            }
    return {First, Last};
}

} // namespace

TEST(OvcEntryField, NumericFieldsDrawRightAlignedOthersLeft)
{
    TDeterministicFonts Fonts;
    TFieldForm F;
    auto* Plain = F.Field(10);
    Plain->SetText("42");
    auto* Numeric = F.Field(40);
    Numeric->SetType(fidLongInt, fcNumeric);
    Numeric->SetText("42");
    const auto [PlainFirst, PlainLast] = InkColumns(Plain);
    const auto [NumFirst, NumLast] = InkColumns(Numeric);
    ASSERT_GE(PlainFirst, 0);
    ASSERT_GE(NumFirst, 0);
    EXPECT_LT(PlainFirst, 10);
    EXPECT_GT(NumLast, Numeric->Width() - 12);
    EXPECT_EQ(PlainLast - PlainFirst, NumLast - NumFirst);
}

TEST(OvcEntryField, ZeroDisplayHidesAZeroOnlyWithoutTheFocus)
{
    struct TCase {
        TZeroDisplay Mode;
        bool EverModified;
        bool Focused;
        std::string Shown;
    };
    const std::vector<TCase> Cases = {
        {zdShow, false, false, "0"},
        {zdHide, false, false, " "},
        {zdHide, true, false, " "},
        {zdHide, false, true, "0"},
        {zdHideUntilModified, false, false, " "},
        {zdHideUntilModified, true, false, "0"},
    };
    TFieldForm F;
    auto* Field = F.Field(10);
    auto* Other = F.Field(40);
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::to_string(Case.Mode) + std::to_string(Case.EverModified) +
                     std::to_string(Case.Focused));
        Field->SetZeroDisplay(Case.Mode);
        Other->SetFocus();
        Pump();
        Field->SetIntegerValue(0); // clears modified and ever-modified
        if (Case.EverModified)
            Field->SetModified(true);
        if (Case.Focused) {
            Field->SetFocus();
            Pump();
        }
        EXPECT_EQ(Field->GetDisplayText(), Case.Shown);
    }
}

TEST(OvcEntryField, TheCaretScrollsTheTextOfANarrowField)
{
    TDeterministicFonts Fonts;
    TFieldForm F;
    auto* Field = F.Field(10);
    Field->SetType(fidString);
    Field->SetMaxLength(60);
    Field->SetText("");
    Field->SetWidth(60);
    Field->SetFocus();
    Pump();
    Type(std::string(30, 'x'));
    EXPECT_EQ(Field->CaretPosition(), 30);
    EXPECT_GT(Field->HorizontalOffset(), 0);
    EXPECT_LT(Field->CaretPair()->X(), Field->ClientWidth());
    EXPECT_GT(Field->CaretPair()->X(), Field->ClientWidth() / 2);
    Field->SetCaretPosition(0);
    EXPECT_EQ(Field->HorizontalOffset(), 0);
}

TEST(OvcEntryField, AutoSizeFollowsTheFontsHeight)
{
    TDeterministicFonts Fonts;
    TFieldForm F;
    auto* Field = new TTestField(F.Form);
    Field->SetParent(F.Form);
    Field->HandleNeeded();
    TCanvas Measure;
    Measure.Font()->Assign(Field->Font());
    TTextMetric Metrics;
    Measure.GetTextMetrics(Metrics);
    EXPECT_TRUE(Field->AutoSize());
    EXPECT_EQ(Field->Height(), Metrics.tmHeight + GetSystemMetrics(SM_CYBORDER) * 8);
    Field->SetHeight(40);
    EXPECT_FALSE(Field->AutoSize());
}

TEST(OvcEntryField, AutoSelectSelectsTheTextOnEntry)
{
    TFieldForm F;
    F.Controller->SetEntryOptions({efoAutoSelect});
    auto* Field = F.Field(10);
    F.Field(40)->SetFocus();
    Pump();
    Field->SetText("123");
    Field->SetFocus();
    Pump();
    EXPECT_EQ(Field->SelStart(), 0);
    EXPECT_EQ(Field->SelEnd(), 3);
}

TEST(OvcEntryField, AFocusedFieldIsDestroyedWithoutValidation)
{
    TFieldForm F;
    auto* Field = F.Field(10, "2..600");
    Field->SetFocus();
    Pump();
    Type("9999");
    delete Field;
    Pump();
    EXPECT_TRUE(F.Reports.empty());
    EXPECT_FALSE(F.Controller->ErrorPending());
}

TEST(OvcEntryField, LooksAsItsStateSays)
{
    TDeterministicFonts Fonts;
    TFieldForm F;
    F.Form->SetBounds(0, 0, 300, 260);
    std::vector<TTestField*> Fields;
    for (int I = 0; I < 6; ++I)
        Fields.push_back(F.Field(10 + I * 30));
    TTestField* Plain = Fields[0];
    TTestField* Selected = Fields[1];
    TTestField* Numeric = Fields[2];
    TTestField* Error = Fields[3];
    TTestField* Disabled = Fields[4];
    TTestField* Control = Fields[5];
    Plain->SetText("12345");
    Numeric->SetType(fidLongInt, fcNumeric);
    Numeric->SetText("-42");
    Error->SetOptions({efoSoftValidation});
    Error->SetText("abc");
    Error->ValidateContents(true);
    Disabled->SetText("678");
    Disabled->SetEnabled(false);
    Control->SetType(fidString);
    Control->SetText(std::string("tab\t") + "end");
    Selected->SetType(fidString);
    Selected->SetText("selected");
    Selected->SetFocus();
    Pump();
    Selected->SetSelection(2, 5);
    Pump();
    TRasterDevice Device(130, 6 * 30);
    for (std::size_t I = 0; I < Fields.size(); ++I)
        CopyWindowPicture(Fields[I]->Handle(), Device, 0, static_cast<int>(I) * 30);
    ExpectMatchesGoldenPng(Device, "entry/entryfield_states.png");
}

TEST(OvcEntryField, WindowTextAndModifyMessagesReachTheField)
{
    TFieldForm F;
    auto* Field = F.Field(10);
    SendMessage(Field->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("77"));
    EXPECT_EQ(Field->GetEditText(), "77");
    EXPECT_EQ(SendMessage(Field->Handle(), EM_GETMODIFY, 0, 0), 1);
    SendMessage(Field->Handle(), EM_SETMODIFY, 0, 0);
    EXPECT_FALSE(Field->Modified());
    EXPECT_EQ(SendMessage(Field->Handle(), OM_GETDATASIZE, 0, 0), 4);
}

TEST(OvcEntryField, ARecreatedWindowKeepsTheText)
{
    TFieldForm F;
    auto* Field = F.Field(10);
    Field->SetText("123");
    Field->SetBorderStyle(bsNone);
    Field->HandleNeeded();
    EXPECT_EQ(Field->GetEditText(), "123");
}
