// The numeric field driven by keys through the queue: calculator entry, the range check on
// leaving with its report and the focus coming back, stepping with wrap and clamp, restore,
// paste, the zero display and the sign styles of its masks.
#include "controls/entry/ovcnf.h"

#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcexcpt.h"
#include "controls/entry/ovcintl.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/input.h"
#include "platform/ui/sound.h"
#include "tests/platform/stdctrls/stdctrlstest.h"
#include "tests/support/locales.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

class NumericFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = ShownForm(&App, 400, 200);
        Controller = new TOvcController(Form);
        First = Field("nFirst", 10);
        Minutes = Field("nMinutes", 40);
        Minutes->SetRangeLo("2");
        Minutes->SetRangeHi("600");
        Minutes->SetIntegerValue(15);
        Last = Field("nLast", 70);
        Pump();
    }

    TOvcNumericField* Field(const std::string& Name, int Top)
    {
        auto* F = new TOvcNumericField(Form);
        F->SetParent(Form);
        // The entry field keeps SetBounds and SetName protected; the control's are public.
        static_cast<TControl*>(F)->SetBounds(10, Top, 120, 21);
        static_cast<TComponent*>(F)->SetName(Name);
        F->SetPictureMask("##########");
        return F;
    }

    static void Type(const std::string& Text)
    {
        for (char C : Text) {
            const int Key = C == '-'   ? int(VK_OEM_MINUS)
                            : C == '.' ? int(VK_OEM_PERIOD)
                            : C == ',' ? int(VK_OEM_COMMA)
                                       : int(C);
            InjectKeyPress(Key, std::string(1, C));
            Pump();
        }
    }
    static void Press(int Key, bool Ctrl = false, const std::string& Text = {})
    {
        if (Ctrl)
            InjectKeyDown(VK_CONTROL);
        InjectKeyPress(Key, Text);
        if (Ctrl)
            InjectKeyUp(VK_CONTROL);
        Pump();
    }
    void Enter(TOvcNumericField* F)
    {
        F->SetFocus();
        Pump();
    }
    std::size_t Beeps() const { return Sounds.Entries().size(); }

    TDeterministicFonts Fonts;
    TTestApplication App;
    TScriptedDialogs Dialogs;
    TSoundRecorder Sounds;
    TForm* Form = nullptr;
    TOvcController* Controller = nullptr;
    TOvcNumericField* First = nullptr;
    TOvcNumericField* Minutes = nullptr;
    TOvcNumericField* Last = nullptr;
};

} // namespace

TEST_F(NumericFieldTest, ANewFieldIsALongIntWithTheFullRange)
{
    TOvcNumericField Loose(nullptr);
    EXPECT_EQ(Loose.DataType(), nftLongInt);
    EXPECT_EQ(Loose.TypeCode(), 132);
    EXPECT_EQ(Loose.PictureMask(), "iiiiiiiiiii");
    EXPECT_EQ(Loose.MaxLength(), 11);
    EXPECT_EQ(Loose.RangeHi(), "2147483647");
    EXPECT_EQ(Loose.RangeLo(), "-2147483648");
    EXPECT_THROW(Loose.SetDataType(static_cast<TNumericDataType>(10)), EOvcException);
}

TEST_F(NumericFieldTest, EachDataTypeTakesItsMaskAndRange)
{
    struct TCase {
        TNumericDataType Type;
        std::string Mask;
        std::string Lo;
        std::string Hi;
    };
    const std::vector<TCase> Cases = {
        {nftWord, "99999", "0", "65535"},
        {nftInteger, "iiiiii", "-32768", "32767"},
        {nftByte, "999", "0", "255"},
        {nftShortInt, "iiii", "-128", "127"},
        {nftComp, "iiiiiiiiii", "", ""},
        {nftDouble, "##########", "", ""},
        {nftLongInt, "iiiiiiiiiii", "-2147483648", "2147483647"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Mask);
        First->SetDataType(Case.Type);
        EXPECT_EQ(First->PictureMask(), Case.Mask);
        EXPECT_EQ(First->MaxLength(), Case.Mask.size());
        if (!Case.Lo.empty()) {
            EXPECT_EQ(First->RangeLo(), Case.Lo);
            EXPECT_EQ(First->RangeHi(), Case.Hi);
        }
    }
}

TEST_F(NumericFieldTest, SevenHundredMinutesIsReportedAndTheFocusComesBack)
{
    Minutes->SetIntegerValue(15);
    Enter(First);
    Press(VK_TAB);
    ASSERT_EQ(Form->ActiveControl(), Minutes);
    EXPECT_GT(Minutes->SelectionLength(), 0);
    Type("700");
    EXPECT_EQ(Minutes->GetDisplayText(), "700");

    Dialogs.Answer(IDOK);
    Press(VK_TAB);
    ASSERT_EQ(Dialogs.Calls().size(), 1u);
    EXPECT_EQ(Dialogs.Calls()[0].Text, "Value is not within required range");
    EXPECT_EQ(Form->ActiveControl(), Minutes);
    EXPECT_TRUE(Minutes->Focused());
    EXPECT_EQ(Minutes->GetIntegerValue(), 0);
    EXPECT_EQ(Minutes->LastError(), 256);
}

TEST_F(NumericFieldTest, SetIntegerValueShowsTheNumberRightAligned)
{
    Minutes->SetIntegerValue(15);
    EXPECT_EQ(Minutes->GetEditText(), "        15");
    EXPECT_EQ(Minutes->GetDisplayText(), "15");
    EXPECT_EQ(Minutes->GetIntegerValue(), 15);
    EXPECT_EQ(Minutes->LastError(), 0);
}

TEST_F(NumericFieldTest, StepsWrapAtTheEndsOfTheRange)
{
    Minutes->SetIntegerValue(600);
    Enter(Minutes);
    Minutes->StepValueUp(true, 1);
    EXPECT_EQ(Minutes->GetIntegerValue(), 2);
    Minutes->StepValueDown(true, 1);
    EXPECT_EQ(Minutes->GetIntegerValue(), 600);
    Minutes->StepValueUp(false, 1);
    EXPECT_EQ(Minutes->GetIntegerValue(), 600);
}

TEST_F(NumericFieldTest, StepsClampBeforeTheyWrap)
{
    struct TCase {
        std::string Lo;
        std::string Hi;
        std::int32_t Start;
        double Delta;
        std::int32_t Once;
        std::int32_t Twice;
    };
    const std::vector<TCase> Cases = {
        {"0", "99999999", 99999950, 100, 99999999, 0},
        {"-2147483648", "2147483647", 2147483600, 100, 2147483647, -2147483647 - 1},
        {"-2147483648", "2147483647", -2147483600, -100, -2147483647 - 1, 2147483647},
        {"0", "100000", 5, 1e30, 100000, 0},
    };
    Last->SetPictureMask("iiiiiiiiiii");
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Start);
        Last->SetRangeLo(Case.Lo);
        Last->SetRangeHi(Case.Hi);
        Last->SetIntegerValue(Case.Start);
        Enter(Last);
        Last->StepValueUp(true, Case.Delta);
        EXPECT_EQ(Last->GetIntegerValue(), Case.Once);
        Last->StepValueUp(true, Case.Delta);
        EXPECT_EQ(Last->GetIntegerValue(), Case.Twice);
    }
}

TEST_F(NumericFieldTest, TheArrowKeysStepWithArrowIncDec)
{
    Minutes->SetOptions(Minutes->Options() + TOvcEntryFieldOptions{efoArrowIncDec});
    Minutes->SetIntegerValue(10);
    Enter(Minutes);
    Press(VK_UP);
    EXPECT_EQ(Minutes->GetDisplayText(), "11");
    Press(VK_DOWN);
    Press(VK_DOWN);
    EXPECT_EQ(Minutes->GetDisplayText(), "9");
}

TEST_F(NumericFieldTest, TheSignTogglesAndLeavesNineDigits)
{
    Enter(Minutes);
    const std::size_t Before = Beeps();
    Type("-123456789");
    EXPECT_EQ(Minutes->GetDisplayText(), "-123456789");
    Type("1");
    EXPECT_EQ(Minutes->GetDisplayText(), "-123456789");
    EXPECT_EQ(Beeps(), Before + 1);
    Type("-");
    EXPECT_EQ(Minutes->GetDisplayText(), "123456789");
    Type("0");
    EXPECT_EQ(Minutes->GetDisplayText(), "1234567890");
    Type("-");
    EXPECT_EQ(Minutes->GetDisplayText(), "1234567890");
    EXPECT_EQ(Beeps(), Before + 2);
    Press(VK_BACK);
    Press(VK_BACK);
    EXPECT_EQ(Minutes->GetDisplayText(), "12345678");
}

TEST_F(NumericFieldTest, AZeroTypedIntoAnEmptyFieldIsNotStored)
{
    Minutes->SetIntegerValue(0);
    Enter(Minutes);
    Type("0");
    EXPECT_EQ(Minutes->GetDisplayText(), "0");
    Type("05");
    EXPECT_EQ(Minutes->GetDisplayText(), "5");
    Press(VK_BACK);
    EXPECT_EQ(Minutes->GetDisplayText(), "0");
}

TEST_F(NumericFieldTest, TenNinesInALongIntFieldDoNotConvert)
{
    First->SetPictureMask("iiiiiiiiiii");
    Enter(First);
    Type("9999999999");
    EXPECT_EQ(First->GetDisplayText(), "9999999999");
    EXPECT_EQ(First->GetIntegerValue(), 0);
    EXPECT_EQ(First->LastError(), 257);
    Dialogs.Answer(IDOK);
    Press(VK_TAB);
    ASSERT_EQ(Dialogs.Calls().size(), 1u);
    EXPECT_EQ(Dialogs.Calls()[0].Text, "Value is not valid for this field type");
    EXPECT_EQ(Form->ActiveControl(), First);
}

TEST_F(NumericFieldTest, OnUserValidationSeesTheCodeAndMayChangeIt)
{
    std::vector<Word> Seen;
    Minutes->OnUserValidation = [&](TObject* Sender, Word& Code) {
        EXPECT_EQ(Sender, Minutes);
        Seen.push_back(Code);
        if (Code == 256)
            Code = 0;
        else if (Minutes->GetEditText().find("13") != std::string::npos)
            Code = oeCustomError;
    };
    Enter(Minutes);
    Type("700");
    Press(VK_TAB);
    EXPECT_EQ(Seen, std::vector<Word>{256});
    EXPECT_EQ(Form->ActiveControl(), Last);
    EXPECT_TRUE(Dialogs.Calls().empty());

    Enter(Minutes);
    Type("13");
    Dialogs.Answer(IDOK);
    Press(VK_TAB);
    EXPECT_EQ(Seen.back(), 0);
    EXPECT_EQ(Form->ActiveControl(), Minutes);
    EXPECT_EQ(Dialogs.Calls().size(), 1u);
}

TEST_F(NumericFieldTest, SoftValidationLetsTheFocusGo)
{
    Minutes->SetOptions(Minutes->Options() + TOvcEntryFieldOptions{efoSoftValidation});
    Enter(Minutes);
    Type("700");
    Press(VK_TAB);
    EXPECT_TRUE(Dialogs.Calls().empty());
    EXPECT_EQ(Form->ActiveControl(), Last);
    EXPECT_EQ(Minutes->GetIntegerValue(), 0);
    EXPECT_EQ(Minutes->LastError(), 256);
}

TEST_F(NumericFieldTest, CtrlZRestoresTheTextOfEntry)
{
    Minutes->SetIntegerValue(15);
    Enter(Minutes);
    Type("42");
    EXPECT_EQ(Minutes->GetDisplayText(), "42");
    Press('Z', true, "\x1A");
    EXPECT_EQ(Minutes->GetDisplayText(), "15");
    Type("7");
    EXPECT_EQ(Minutes->GetDisplayText(), "157");
}

TEST_F(NumericFieldTest, CtrlVPastesOnce)
{
    Clipboard()->SetAsText("42");
    Minutes->SetIntegerValue(15);
    Enter(Minutes);
    const std::size_t Before = Beeps();
    Press('V', true, "\x16");
    EXPECT_EQ(Minutes->GetDisplayText(), "42");
    // The character Ctrl+V makes never reaches the engine, which would refuse it with a beep.
    EXPECT_EQ(Beeps(), Before);
    EXPECT_EQ(Minutes->GetIntegerValue(), 42);
}

TEST_F(NumericFieldTest, PasteTakesWhatTheMaskHolds)
{
    struct TCase {
        std::string Mask;
        std::string Pasted;
        std::string Shown;
    };
    const std::vector<TCase> Cases = {
        {"##########", "12x34", "1234"}, {"#####", "1234567", "12345"}, {"#####p", "(12)", "(12)"},
        {"#####g", "-12", "12-"},        {"#####", "--5", "-5"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Mask + " " + Case.Pasted);
        First->SetPictureMask(Case.Mask);
        Clipboard()->SetAsText(Case.Pasted);
        Enter(First);
        First->PasteFromClipboard();
        Pump();
        EXPECT_EQ(First->GetDisplayText(), Case.Shown);
    }
}

TEST_F(NumericFieldTest, ZeroDisplayHidesZeroOnlyWithoutTheFocus)
{
    Minutes->SetZeroDisplay(zdHide);
    Minutes->SetIntegerValue(0);
    EXPECT_EQ(Minutes->GetDisplayText(), "");
    Enter(Minutes);
    EXPECT_EQ(Minutes->GetDisplayText(), "0");
}

TEST_F(NumericFieldTest, MasksShowSignsCurrencyAndRadix)
{
    struct TCase {
        TNumericDataType Type;
        std::string Mask;
        std::int32_t Value;
        std::string Shown;
    };
    const std::vector<TCase> Cases = {
        {nftWord, "KKKK", 255, "00FF"},          {nftWord, "OOOOOO", 8, "000010"},
        {nftByte, "bbbbbbbb", 5, "00000101"},    {nftLongInt, "#####p", -12, "(12)"},
        {nftLongInt, "#####p", 12, "12"},        {nftLongInt, "#####g", -12, "12-"},
        {nftLongInt, "$##,###", 1234, "$1,234"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Mask);
        First->SetDataType(Case.Type);
        First->SetPictureMask(Case.Mask);
        First->SetIntegerValue(Case.Value);
        EXPECT_EQ(First->GetDisplayText(), Case.Shown);
        EXPECT_EQ(First->GetIntegerValue(), Case.Value);
    }
}

TEST_F(NumericFieldTest, ADoubleFieldTakesDecimalsLikeACalculator)
{
    First->SetDataType(nftDouble);
    First->SetPictureMask("###,###.##");
    Enter(First);
    Type("1234.5");
    EXPECT_EQ(First->GetDisplayText(), "1,234.50");
    Type(".6");
    EXPECT_EQ(First->GetDisplayText(), "1,234.56");
    double Value = 0;
    EXPECT_EQ(First->ReadValue(&Value), 0);
    EXPECT_DOUBLE_EQ(Value, 1234.56);
}

TEST_F(NumericFieldTest, CtrlCCopiesTheShownNumber)
{
    Clipboard()->SetAsText("before");
    Minutes->SetIntegerValue(15);
    Enter(Minutes);
    Press('C', true, "\x03");
    EXPECT_EQ(Clipboard()->AsText(), "15");
    EXPECT_EQ(Minutes->GetDisplayText(), "15");
}

TEST_F(NumericFieldTest, AFullFieldAdvancesWithAutoAdvanceChar)
{
    Controller->SetEntryOptions(Controller->EntryOptions() +
                                TOvcBaseEFOptions{efoAutoAdvanceChar, efoAutoAdvanceLeftRight});
    First->SetPictureMask("###");
    Enter(First);
    Type("12");
    EXPECT_EQ(Form->ActiveControl(), First);
    Type("3");
    EXPECT_EQ(Form->ActiveControl(), Minutes);
    EXPECT_EQ(First->GetDisplayText(), "123");
    Press(VK_LEFT);
    EXPECT_EQ(Form->ActiveControl(), First);
    Press(VK_RIGHT);
    EXPECT_EQ(Form->ActiveControl(), Minutes);
}

TEST_F(NumericFieldTest, ANewMaskKeepsTheValue)
{
    First->SetIntegerValue(1234);
    First->SetPictureMask("##,###p");
    EXPECT_EQ(First->MaxLength(), 6);
    EXPECT_EQ(First->GetDisplayText(), "1,234");
    First->SetIntegerValue(-1234);
    EXPECT_EQ(First->GetDisplayText(), "(1,234)");
    EXPECT_EQ(First->GetIntegerValue(), -1234);
}

TEST_F(NumericFieldTest, GermanSettingsTakeTheCommaAsDecimalPoint)
{
    const TFormatSettings Saved = FormatSettings;
    FormatSettings = TestSupport::German();
    TOvcIntlSup German;
    FormatSettings = Saved;
    First->SetIntlSupport(&German);
    First->SetDataType(nftDouble);
    First->SetPictureMask("###,###.##");
    Enter(First);
    const std::size_t Before = Beeps();
    Type("1234.");
    EXPECT_EQ(Beeps(), Before + 1);
    Type(",5");
    EXPECT_EQ(First->GetDisplayText(), "1.234,50");
    double Value = 0;
    EXPECT_EQ(First->ReadValue(&Value), 0);
    EXPECT_DOUBLE_EQ(Value, 1234.5);
    First->SetIntlSupport(nullptr);
}

TEST_F(NumericFieldTest, AHexFieldTakesLettersAndFillsWithZeros)
{
    First->SetDataType(nftWord);
    First->SetPictureMask("KKKK");
    First->SetIntegerValue(0);
    Enter(First);
    Type("1f");
    EXPECT_EQ(First->GetDisplayText(), "001F");
    Type("g");
    EXPECT_EQ(First->GetDisplayText(), "001F");
    Press(VK_TAB);
    EXPECT_EQ(Form->ActiveControl(), Minutes);
    EXPECT_EQ(First->GetIntegerValue(), 31);
}

TEST_F(NumericFieldTest, AnUninitializedFieldShowsNothingUntilFocused)
{
    Minutes->SetUninitialized(true);
    EXPECT_EQ(Minutes->GetDisplayText(), "");
    Enter(Minutes);
    EXPECT_EQ(Minutes->GetDisplayText(), "15");
}
