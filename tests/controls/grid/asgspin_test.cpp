// The spin edit's four types (typing, limits, stepping by the field under the caret, reading
// what does not convert), the spin button's layout and keys, and the repeat of a held button on
// virtual time.
#include "controls/grid/asgspin.h"

#include "platform/rtl/clock.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/sound.h"
#include "platform/ui/sysmetrics.h"
#include "tests/platform/stdctrls/stdctrlstest.h"
#include "tests/support/locales.h"

#include <gtest/gtest.h>

namespace {

// A shown form with a spin edit and a plain edit to move the focus to; FormatSettings are
// pinned and given back.
class SpinEdit : public ::testing::Test {
protected:
    void SetUp() override
    {
        FormatSettings = TFormatSettings::EnglishUS();
        Form = ShownForm(&App);
        Spin = Place<TAsgSpinEdit>(Form, 10, 10, 100, 24);
        Other = Place<TEdit>(Form, 10, 60, 100, 24);
        Pump();
    }
    void TearDown() override { FormatSettings = Saved; }

    // Puts Text in the field with the caret (or selection) given.
    void Show(const std::string& Text, int SelStart, int SelLength = 0)
    {
        Spin->SetText(Text);
        Spin->SetSelStart(SelStart);
        Spin->SetSelLength(SelLength);
    }
    static void Type(const std::string& Text)
    {
        for (char C : Text)
            InjectKeyPress('A', std::string(1, C));
        Pump();
    }

    const TFormatSettings Saved = FormatSettings;
    TDeterministicFonts Fonts;
    TTestApplication App;
    TForm* Form = nullptr;
    TAsgSpinEdit* Spin = nullptr;
    TEdit* Other = nullptr;
};

} // namespace

TEST_F(SpinEdit, IsValidCharFollowsTheTypeTheTextAndTheSelection)
{
    struct TCase {
        const char* Name;
        TAsgSpinType Type;
        int Precision;
        bool EditorEnabled;
        const char* Text;
        int SelStart;
        int SelLength;
        char Key;
        bool Valid;
        char KeyAfter;
    };
    const std::vector<TCase> Cases = {
        {"digit", sptNormal, 0, true, "12", 2, 0, '5', true, '5'},
        {"sign", sptNormal, 0, true, "", 0, 0, '-', true, '-'},
        {"letter", sptNormal, 0, true, "12", 2, 0, 'a', false, 'a'},
        {"date separator outside dates", sptNormal, 0, true, "12", 2, 0, '/', false, '/'},
        {"date separator in a date", sptDate, 0, true, "1", 1, 0, '/', true, '/'},
        {"time separator outside times", sptNormal, 0, true, "12", 2, 0, ':', false, ':'},
        {"first time separator", sptTime, 0, true, "12", 2, 0, ':', true, ':'},
        {"second time separator (seconds)", sptTime, 0, true, "12:30", 5, 0, ':', true, ':'},
        {"third time separator", sptTime, 0, true, "12:30:00", 8, 0, ':', false, ':'},
        {"thousands separator becomes the decimal one", sptFloat, 0, true, "12", 2, 0, ',', true,
         '.'},
        {"second decimal separator", sptFloat, 0, true, "1.5", 3, 0, '.', false, '.'},
        {"decimal separator over the selected one", sptFloat, 0, true, "1.5", 1, 1, '.', true, '.'},
        {"third decimal at the end", sptFloat, 2, true, "1.25", 4, 0, '7', false, '7'},
        {"third decimal over a selection", sptFloat, 2, true, "1.25", 3, 1, '7', true, '7'},
        {"digit before the decimal separator", sptFloat, 2, true, "1.25", 0, 0, '7', true, '7'},
        {"Enter", sptNormal, 0, true, "1", 1, 0, '\r', false, '\r'},
        {"Backspace", sptNormal, 0, true, "1", 1, 0, '\b', true, '\b'},
        {"Escape in a decimal field", sptFloat, 2, true, "1.25", 4, 0, 27, true, 27},
        {"a byte of a multibyte character", sptNormal, 0, true, "1", 1, 0, '\xC3', false, '\xC3'},
        {"digit with the editor off", sptNormal, 0, false, "1", 1, 0, '5', false, '5'},
        {"Backspace with the editor off", sptNormal, 0, false, "1", 1, 0, '\b', false, '\b'},
        {"full stop with the editor off", sptFloat, 0, false, "1", 1, 0, '.', false, '.'},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Spin->SetSpinType(sptNormal);
        Spin->SetPrecision(Case.Precision);
        Spin->SetSpinType(Case.Type);
        Spin->SetEditorEnabled(Case.EditorEnabled);
        Show(Case.Text, Case.SelStart, Case.SelLength);
        char Key = Case.Key;
        EXPECT_EQ(Spin->IsValidChar(Key), Case.Valid);
        EXPECT_EQ(Key, Case.KeyAfter);
    }
}

TEST_F(SpinEdit, ARefusedKeyIsDroppedWithABeep)
{
    TSoundRecorder Sounds;
    Spin->SetSpinType(sptFloat);
    Spin->SetPrecision(2);
    Spin->SetFocus();
    Pump();
    Show("1.25", 4);
    Type("7");
    EXPECT_EQ(Spin->Text(), "1.25");
    EXPECT_EQ(Sounds.Entries().size(), 1u);
    Show("1.25", 3, 1);
    Type("7");
    EXPECT_EQ(Spin->Text(), "1.27");
    Show("1", 1);
    Type(",5");
    EXPECT_EQ(Spin->Text(), "1.5");
    EXPECT_EQ(Sounds.Entries().size(), 1u);
}

TEST_F(SpinEdit, LeavingTheFieldKeepsTheValueWithinItsLimits)
{
    struct TCase {
        const char* Name;
        int Min, Max;
        const char* Typed;
        const char* After;
    };
    const std::vector<TCase> Cases = {
        {"above", 0, 100, "150", "100"},
        {"below", 10, 100, "5", "10"},
        {"inside", 0, 100, "42", "42"},
        {"equal limits: none", 0, 0, "150", "150"},
        {"negative without limits", 0, 0, "-7000", "-7000"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Spin->SetMinValue(Case.Min);
        Spin->SetMaxValue(Case.Max);
        Spin->SetFocus();
        Pump();
        Show("", 0);
        Type(Case.Typed);
        EXPECT_EQ(Spin->Text(), Case.Typed);
        Other->SetFocus();
        Pump();
        EXPECT_EQ(Spin->Text(), Case.After);
    }
    // Setting a value clamps it at once.
    Spin->SetMinValue(0);
    Spin->SetMaxValue(100);
    Spin->SetValue(500);
    EXPECT_EQ(Spin->Text(), "100");
    Spin->SetFloatValue(-3);
    EXPECT_EQ(Spin->Text(), "0");
}

TEST_F(SpinEdit, ReadingATextThatDoesNotConvertGivesTheLowerLimit)
{
    SetNowSource([] { return EncodeDate(2026, 3, 14) + 0.5; });
    Spin->SetMinValue(3);
    Spin->SetMinFloatValue(1.5);
    Spin->SetMinDateValue(EncodeDate(2020, 1, 1));
    Spin->SetText("q1");
    EXPECT_EQ(Spin->Value(), 3);
    EXPECT_DOUBLE_EQ(Spin->FloatValue(), 1.5);
    EXPECT_DOUBLE_EQ(Spin->DateValue(), EncodeDate(2020, 1, 1));
    EXPECT_DOUBLE_EQ(Spin->TimeValue(), 0);
    for (const char* Today : {"0", ""}) {
        Spin->SetText(Today);
        EXPECT_DOUBLE_EQ(Spin->DateValue(), EncodeDate(2026, 3, 14));
    }
    SetNowSource({});
}

TEST_F(SpinEdit, NumbersStepByTheirIncrementAndAReadOnlyFieldOnlyBeeps)
{
    TSoundRecorder Sounds;
    Spin->SetIncrement(5);
    Spin->SetValue(10);
    Spin->UpClick(nullptr);
    EXPECT_EQ(Spin->Text(), "15");
    Spin->SetFocus();
    Pump();
    InjectKeyPress(VK_DOWN);
    InjectKeyPress(VK_DOWN);
    Pump();
    EXPECT_EQ(Spin->Text(), "5");
    Spin->SetSpinType(sptFloat);
    Spin->SetPrecision(2);
    EXPECT_EQ(Spin->Text(), "5.00");
    Spin->SetIncrementFloat(0.25);
    Spin->UpClick(nullptr);
    EXPECT_EQ(Spin->Text(), "5.25");
    Spin->SetPrecision(1);
    EXPECT_EQ(Spin->Text(), "5.3");
    Spin->SetPrecision(0);
    Spin->SetFloatValue(2.5);
    EXPECT_EQ(Spin->Text(), "2.5");
    Spin->SetReadOnly(true);
    Spin->UpClick(nullptr);
    EXPECT_EQ(Spin->Text(), "2.5");
    EXPECT_EQ(Sounds.Entries().size(), 1u);
}

TEST_F(SpinEdit, DatesStepTheFieldUnderTheCaret)
{
    struct TCase {
        const char* Name;
        TFormatSettings Settings;
        const char* Text;
        int Caret;
        int Sign;
        const char* After;
    };
    const TFormatSettings Dmy = TestSupport::DotsAndComma(); // dd.MM.yyyy
    const TFormatSettings Us = TFormatSettings::EnglishUS(); // M/d/yyyy
    const std::vector<TCase> Cases = {
        {"day", Dmy, "31.01.2026", 0, 1, "01.02.2026"},
        {"day at its separator", Dmy, "31.01.2026", 2, 1, "01.02.2026"},
        {"month keeps within the shorter month", Dmy, "31.01.2026", 3, 1, "28.02.2026"},
        {"month back", Dmy, "31.03.2026", 4, -1, "28.02.2026"},
        {"year", Dmy, "31.01.2026", 8, 1, "31.01.2027"},
        {"year back", Dmy, "15.06.2026", 10, -1, "15.06.2025"},
        {"month first in a month-day-year format", Us, "1/31/2026", 0, 1, "2/28/2026"},
        {"day second in a month-day-year format", Us, "1/31/2026", 3, 1, "2/1/2026"},
    };
    Spin->SetSpinType(sptDate);
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        FormatSettings = Case.Settings;
        Show(Case.Text, Case.Caret);
        if (Case.Sign > 0)
            Spin->UpClick(nullptr);
        else
            Spin->DownClick(nullptr);
        EXPECT_EQ(Spin->Text(), Case.After);
        EXPECT_EQ(Spin->SelStart(), Case.Caret); // the caret stays in its field
    }
}

TEST_F(SpinEdit, TheYearOf29FebruaryIntoACommonYearFailsAndKeepsTheDate)
{
    FormatSettings = TestSupport::DotsAndComma();
    Spin->SetSpinType(sptDate);
    Show("29.02.2024", 8);
    EXPECT_THROW(Spin->UpClick(nullptr), EConvertError);
    EXPECT_EQ(Spin->Text(), "29.02.2024");
}

TEST_F(SpinEdit, TimesStepTheFieldUnderTheCaretAndWrapRoundMidnight)
{
    FormatSettings.LongTimeFormat = "hh:mm:ss";
    struct TCase {
        const char* Name;
        const char* Text;
        int Caret;
        int Sign;
        const char* After;
    };
    const std::vector<TCase> Cases = {
        {"hour", "10:30:15", 0, 1, "11:30:15"},
        {"minute", "10:30:15", 4, 1, "10:31:15"},
        {"second", "10:30:15", 7, -1, "10:30:14"},
        {"hour back over midnight", "00:30:00", 1, -1, "23:30:00"},
        {"second over midnight", "23:59:59", 8, 1, "00:00:00"},
    };
    Spin->SetSpinType(sptTime);
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Show(Case.Text, Case.Caret);
        if (Case.Sign > 0)
            Spin->UpClick(nullptr);
        else
            Spin->DownClick(nullptr);
        EXPECT_EQ(Spin->Text(), Case.After);
    }
}

TEST_F(SpinEdit, EnterMovesOnWithReturnIsTabAndDeleteNeedsTheEditor)
{
    Spin->SetReturnIsTab(true);
    Spin->SetFocus();
    Pump();
    InjectKeyPress(VK_RETURN, "\r");
    Pump();
    EXPECT_TRUE(Other->Focused());
    EXPECT_EQ(Spin->Text(), "0");

    Spin->SetEditorEnabled(false);
    Spin->SetFocus();
    Pump();
    Show("123", 0);
    InjectKeyPress(VK_DELETE);
    Type("5");
    EXPECT_EQ(Spin->Text(), "123");
}

TEST_F(SpinEdit, HeightAndButtonFollowTheFontAndTheBorder)
{
    Spin->SetHeight(5);
    EXPECT_GT(Spin->Height(), 5);
    const int Least = Spin->Height();
    Spin->SetHeight(40);
    EXPECT_EQ(Spin->Height(), 40);
    const TAsgSpinButton* B = Spin->Button();
    EXPECT_EQ(B->Width(), 15);
    EXPECT_EQ(B->BoundsRect(), Rect(100 - 15 - 5, 0, 100 - 5, 40 - 5));
    Spin->SetBorderStyle(bsNone);
    Spin->SetHeight(40);
    EXPECT_EQ(B->BoundsRect(), Rect(100 - 15 - 1, 0, 100 - 1, 40 - 1));
    Spin->SetHeight(Least - 1 - 4 * GetSystemMetrics(SM_CYBORDER));
    EXPECT_EQ(Spin->Height(), Least - 4 * GetSystemMetrics(SM_CYBORDER));
}

// ---- the spin button

namespace {

class SpinButton : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = ShownForm(&App);
        Spin = Place<TAsgSpinButton>(Form, 10, 10, 15, 25);
        Spin->OnUpClick = [this](TObject* Sender) {
            EXPECT_EQ(Sender, Spin);
            ++Ups;
        };
        Spin->OnDownClick = [this](TObject*) { ++Downs; };
        Pump();
    }

    TTestApplication App;
    TForm* Form = nullptr;
    TAsgSpinButton* Spin = nullptr;
    int Ups = 0;
    int Downs = 0;
};

} // namespace

TEST_F(SpinButton, LaysItsButtonsOutByDirection)
{
    EXPECT_EQ(Spin->UpButton()->BoundsRect(), Rect(0, 0, 15, 12));
    EXPECT_EQ(Spin->DownButton()->BoundsRect(), Rect(0, 11, 15, 25));
    EXPECT_EQ(Spin->UpButton()->Glyph()->Width(), 7); // the built-in arrow
    EXPECT_EQ(Spin->UpButton()->Arrow(), 2);
    Spin->SetWidth(5);
    EXPECT_EQ(Spin->Width(), 15);

    Spin->SetDirection(spHorizontal);
    EXPECT_EQ(Spin->Width(), 20);
    EXPECT_EQ(Spin->DownButton()->BoundsRect(), Rect(0, 0, 10, 25));
    EXPECT_EQ(Spin->UpButton()->BoundsRect(), Rect(10, 0, 20, 25));
    EXPECT_EQ(Spin->DownButton()->Arrow(), 0);
    EXPECT_EQ(Spin->UpButton()->Arrow(), 1);
    Spin->SetWidth(12);
    EXPECT_EQ(Spin->Width(), 20);
    Spin->SetDirection(spVertical);
    EXPECT_EQ(Spin->Width(), 15);

    Spin->SetUpNumGlyphs(2);
    Spin->SetUpGlyph(nullptr);
    EXPECT_EQ(Spin->UpNumGlyphs(), 1);
}

TEST_F(SpinButton, ClicksAndKeysFireUpAndDown)
{
    ClickAt(Spin, 7, 4);
    ClickAt(Spin, 7, 20);
    EXPECT_EQ(Ups, 1);
    EXPECT_EQ(Downs, 1);
    EXPECT_EQ(Spin->FocusedButton(), Spin->DownButton());
    EXPECT_TRUE(Spin->Focused()); // no FocusControl: the button takes the focus
    struct TCase {
        int Key;
        int Ups, Downs;
    };
    const std::vector<TCase> Cases = {
        {VK_SPACE, 1, 2}, {VK_UP, 2, 2}, {VK_SPACE, 3, 2}, {VK_DOWN, 3, 3}};
    for (const TCase& Case : Cases) {
        InjectKeyPress(Case.Key);
        Pump();
        EXPECT_EQ(Ups, Case.Ups);
        EXPECT_EQ(Downs, Case.Downs);
    }
    EXPECT_TRUE(Spin->DownButton()->TimeBtnState().Contains(tbFocusRect));
    EXPECT_FALSE(Spin->UpButton()->TimeBtnState().Contains(tbFocusRect));
}

TEST_F(SpinButton, APressFocusesTheFocusControl)
{
    TEdit* Edit = Place<TEdit>(Form, 50, 10, 80, 24);
    Spin->SetFocusControl(Edit);
    ClickAt(Spin, 7, 4);
    EXPECT_TRUE(Edit->Focused());
    delete Edit; // the reference goes with it
    EXPECT_EQ(Spin->FocusControl(), nullptr);
}

TEST_F(SpinButton, AHeldButtonRepeatsAfter400MsThenEvery100MsUntilReleased)
{
    TVirtualTime Time;
    MouseButtonAt(Spin, 7, 4, true);
    EXPECT_TRUE(Spin->UpButton()->Repeating());
    struct TStep {
        int Ms;
        int Ups;
    };
    const std::vector<TStep> Steps = {{390, 0}, {20, 1}, {80, 1}, {20, 2}, {100, 3}, {100, 4}};
    for (const TStep& Step : Steps) {
        Spend(Time, Step.Ms);
        EXPECT_EQ(Ups, Step.Ups);
    }
    MouseButtonAt(Spin, 7, 4, false, false);
    const int AtRelease = Ups; // the release itself is a click
    EXPECT_EQ(AtRelease, 5);
    EXPECT_FALSE(Spin->UpButton()->Repeating());
    Spend(Time, 1000);
    EXPECT_EQ(Ups, AtRelease);
    EXPECT_EQ(Downs, 0);
}

TEST_F(SpinButton, AnErrorDuringTheRepeatStopsItAndReachesTheApplication)
{
    TVirtualTime Time;
    std::vector<std::string> Errors;
    App.OnException = [&](TObject*, const Exception& E) { Errors.push_back(E.Message()); };
    Spin->OnUpClick = [](TObject*) { throw EConvertError("no step"); };
    MouseButtonAt(Spin, 7, 4, true);
    Spend(Time, 450);
    EXPECT_EQ(Errors, std::vector<std::string>{"no step"});
    EXPECT_FALSE(Spin->UpButton()->Repeating());
    Spend(Time, 500);
    EXPECT_EQ(Errors.size(), 1u);
    Spin->OnUpClick = nullptr;
    MouseButtonAt(Spin, 7, 4, false, false);
}
