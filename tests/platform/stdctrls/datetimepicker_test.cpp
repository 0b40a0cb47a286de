// The date-time picker: its fields typed and stepped one at a time, the up-down buttons held on
// virtual time, the drop-down calendar opened and closed every way, the notifications, the
// limits, and its look against golden pictures.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/rtl/clock.h"
#include "platform/stdctrls/datetimepicker.h"
#include "platform/stdctrls/datetimepickfields.h"
#include "platform/stdctrls/datetimepickwindow.h"
#include "platform/stdctrls/monthcalwindow.h"
#include "platform/ui/queue.h"

namespace {

class DateTimePicker : public ListTest {
protected:
    void SetUp() override
    {
        SavedSettings = FormatSettings;
        FormatSettings = TFormatSettings::EnglishUS();
        SetNowSource([] { return EncodeDate(2026, 3, 15) + EncodeTime(10, 30, 45, 0); });
        ListTest::SetUp();
    }
    void TearDown() override
    {
        ListTest::TearDown();
        SetNowSource({});
        FormatSettings = SavedSettings;
    }

    TDateTimePicker* Picker(TDateTimeKind Kind = dtkDate, TDTDateMode Mode = dmComboBox)
    {
        auto* P = new TDateTimePicker(Form);
        P->SetParent(Form);
        P->SetKind(Kind);
        P->SetDateMode(Mode);
        P->SetBounds(20, 20, 200, 0);
        P->OnChange = [this](TObject*) { Events.push_back("change"); };
        P->OnDropDown = [this](TObject*) { Events.push_back("dropdown"); };
        P->OnCloseUp = [this](TObject*) { Events.push_back("closeup"); };
        P->HandleNeeded();
        return P;
    }
    static std::string Text(TDateTimePicker* P) { return GetWindowText(P->Handle()); }

    // Keys as a script: < > Left/Right, ^ _ Up/Down, { } Home/End, anything else typed.
    static void Script(const std::string& Keys)
    {
        for (char C : Keys) {
            switch (C) {
            case '<':
                InjectKeyPress(VK_LEFT);
                break;
            case '>':
                InjectKeyPress(VK_RIGHT);
                break;
            case '^':
                InjectKeyPress(VK_UP);
                break;
            case '_':
                InjectKeyPress(VK_DOWN);
                break;
            case '{':
                InjectKeyPress(VK_HOME);
                break;
            case '}':
                InjectKeyPress(VK_END);
                break;
            default: {
                const char Upper = static_cast<char>(C >= 'a' && C <= 'z' ? C - 32 : C);
                InjectKeyPress(C >= '0' && C <= '9'   ? C
                               : C == '/' || C == ':' ? 0xBF
                                                      : static_cast<unsigned char>(Upper),
                               std::string(1, C));
                break;
            }
            }
            Pump();
        }
    }

    static void AltDown()
    {
        InjectKeyDown(VK_MENU);
        InjectKeyPress(VK_DOWN);
        InjectKeyUp(VK_MENU);
        Pump();
    }

    TFormatSettings SavedSettings;
    std::vector<std::string> Events;
};

TDateTime At(int Y, int M, int D, int H = 0, int N = 0, int S = 0)
{
    return EncodeDate(static_cast<Word>(Y), static_cast<Word>(M), static_cast<Word>(D)) +
           EncodeTime(static_cast<Word>(H), static_cast<Word>(N), static_cast<Word>(S), 0);
}

} // namespace

TEST(DateTimePickFields, ShowTheValueInEachFormat)
{
    const TFormatSettings S = TFormatSettings::EnglishUS();
    TSystemTime V;
    DateTimeToSystemTime(At(2026, 3, 5, 14, 7, 9), V);
    struct TCase {
        const char* Format;
        const char* Text;
    };
    const std::vector<TCase> Cases = {
        {"M/d/yyyy", "3/5/2026"},
        {"MM/dd/yy", "03/05/26"},
        {"dddd, MMMM dd, yyyy", "Thursday, March 05, 2026"},
        {"ddd d MMM y", "Thu 5 Mar 6"},
        {"h:mm:ss tt", "2:07:09 PM"},
        {"hh:mm t", "02:07 P"},
        {"HH:mm:ss", "14:07:09"},
        {"'Day' d 'o''clock'", "Day 5 o'clock"},
    };
    for (const TCase& Case : Cases) {
        std::string Text;
        for (const TDTField& F : ParseDateTimePickFormat(Case.Format))
            Text += DateTimePickFieldText(F, V, S);
        EXPECT_EQ(Text, Case.Text) << Case.Format;
    }
}

TEST(DateTimePickFields, TakeTheLocaleFormats)
{
    TFormatSettings S = TFormatSettings::EnglishUS();
    S.DateSeparator = '.';
    struct TCase {
        const char* Locale;
        const char* Picker;
    };
    const std::vector<TCase> Cases = {
        {"M/d/yyyy", "M'.'d'.'yyyy"},       {"dddd, MMMM dd, yyyy", "dddd, MMMM dd, yyyy"},
        {"h:mm:ss AMPM", "h':'mm':'ss tt"}, {"hh:nn", "HH':'mm"},
        {"d. mmmm yyyy", "d. MMMM yyyy"},   {"h:mm am/pm", "h':'mm tt"},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(DateTimePickFormatFromLocale(Case.Locale, S), Case.Picker) << Case.Locale;
}

TEST_F(DateTimePicker, TypesAndStepsEachField)
{
    struct TCase {
        const char* Format;
        TDateTime Start;
        const char* Keys;
        const char* Text;
    };
    const std::vector<TCase> Cases = {
        // Two digits fill a field and move on; a digit that cannot start two moves on at once.
        {"M/d/yyyy", At(2026, 3, 15), "12", "12/15/2026"},
        {"M/d/yyyy", At(2026, 3, 15), "47", "4/7/2026"},
        {"M/d/yyyy", At(2026, 3, 15), "1/5", "1/5/2026"},
        {"M/d/yyyy", At(2026, 3, 15), ">05", "3/5/2026"},
        // A day the month has not: clamped to its last day.
        {"M/d/yyyy", At(2026, 3, 15), "231", "2/28/2026"},
        {"M/d/yyyy", At(2024, 3, 31), "2", "2/29/2024"},
        {"M/d/yyyy", At(2026, 3, 15), ">0<", "3/1/2026"},
        // Years: four digits as typed, one or two by the century window.
        {"M/d/yyyy", At(2026, 3, 15), ">>1999", "3/15/1999"},
        {"M/d/yyyy", At(2026, 3, 15), ">>99<", "3/15/1999"},
        {"M/d/yyyy", At(2026, 3, 15), ">>25<", "3/15/2025"},
        {"M/d/yy", At(2026, 3, 15), ">>07", "3/15/07"},
        // Up and Down wrap within the field; the day follows the month's length.
        {"M/d/yyyy", At(2026, 12, 15), "^", "1/15/2026"},
        {"M/d/yyyy", At(2026, 1, 15), "_", "12/15/2026"},
        {"M/d/yyyy", At(2026, 3, 31), ">^", "3/1/2026"},
        {"M/d/yyyy", At(2026, 3, 1), ">_", "3/31/2026"},
        {"M/d/yyyy", At(2026, 1, 31), "^", "2/28/2026"},
        {"M/d/yyyy", At(2024, 2, 29), ">>^", "2/28/2025"},
        {"M/d/yyyy", At(2026, 3, 15), ">>}", "3/15/9999"},
        {"M/d/yyyy", At(2026, 3, 15), ">}", "3/31/2026"},
        {"M/d/yyyy", At(2026, 3, 15), ">{", "3/1/2026"},
        // A day name steps the date a day at a time; Home and End go to the week's ends.
        {"ddd M/d/yyyy", At(2026, 3, 31), "^", "Wed 4/1/2026"},
        {"ddd M/d/yyyy", At(2026, 3, 15), "}", "Sat 3/21/2026"},
        {"ddd M/d/yyyy", At(2026, 3, 18), "{", "Sun 3/15/2026"},
        // Letters pick month names.
        {"MMMM d, yyyy", At(2026, 3, 15), "j", "June 15, 2026"},
        {"MMMM d, yyyy", At(2026, 3, 15), "jj", "July 15, 2026"},
        {"MMMM d, yyyy", At(2026, 3, 15), "d", "December 15, 2026"},
        {"MMM d", At(2026, 3, 31), "a", "Apr 30"},
        // Times: hours of the 12-hour clock keep the half of the day; A and P switch it.
        {"h:mm:ss tt", At(2026, 3, 15, 10, 30, 45), "12", "12:30:45 AM"},
        {"h:mm:ss tt", At(2026, 3, 15, 22, 30, 45), "3", "3:30:45 PM"},
        {"h:mm:ss tt", At(2026, 3, 15, 10, 30, 45), "345", "3:45:45 AM"},
        {"h:mm:ss tt", At(2026, 3, 15, 10, 30, 45), ">>>p", "10:30:45 PM"},
        {"h:mm:ss tt", At(2026, 3, 15, 22, 30, 45), ">>>a", "10:30:45 AM"},
        {"h:mm:ss tt", At(2026, 3, 15, 10, 30, 45), ">>>^", "10:30:45 PM"},
        {"h:mm:ss tt", At(2026, 3, 15, 11, 30, 45), "^", "12:30:45 AM"},
        {"h:mm:ss tt", At(2026, 3, 15, 0, 30, 45), "_", "11:30:45 AM"},
        {"h:mm:ss tt", At(2026, 3, 15, 10, 59, 45), ">^", "10:00:45 AM"},
        {"h:mm:ss tt", At(2026, 3, 15, 10, 0, 45), ">_", "10:59:45 AM"},
        {"h:mm:ss tt", At(2026, 3, 15, 10, 30, 0), ">>_", "10:30:59 AM"},
        {"h:mm:ss tt", At(2026, 3, 15, 10, 30, 45), ">>>}", "10:30:45 PM"},
        {"HH:mm", At(2026, 3, 15, 10, 30), "23", "23:30"},
        {"HH:mm", At(2026, 3, 15, 10, 30), "25", "05:30"},
        {"HH:mm", At(2026, 3, 15, 0, 30), "_", "23:30"},
        {"HH:mm", At(2026, 3, 15, 10, 30), ">7", "10:07"},
        {"HH:mm", At(2026, 3, 15, 10, 30), "}>{", "23:00"},
        // Field movement stops at the ends.
        {"HH:mm", At(2026, 3, 15, 10, 30), "<<^", "11:30"},
        {"HH:mm", At(2026, 3, 15, 10, 30), ">>>^", "10:31"},
        // Letters and signs that mean nothing here change nothing.
        {"M/d/yyyy", At(2026, 3, 15), "x-", "3/15/2026"},
    };
    Place<TDateTimePicker>(20, 100, 150, 0); // where Tab goes
    TDateTimePicker* P = Picker();
    for (const TCase& Case : Cases) {
        P->SetFormat(Case.Format);
        P->SetDateTime(Case.Start);
        P->SetFocus();
        Pump();
        Script(Case.Keys);
        InjectKeyPress(VK_TAB); // leaving the picker takes what is being typed
        Pump();
        EXPECT_EQ(Text(P), Case.Text) << Case.Format << " with " << Case.Keys;
        TSystemTime Shown;
        ASSERT_EQ(P->Perform(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&Shown)), GDT_VALID);
        EXPECT_EQ(SystemTimeToDateTime(Shown), P->DateTime()) << Case.Keys;
        P->SetFormat("");
    }
}

TEST_F(DateTimePicker, ReportsEachChangeOnce)
{
    TDateTimePicker* P = Picker();
    P->SetFocus();
    Pump();
    Events.clear();
    Script("^");
    EXPECT_EQ(Events, std::vector<std::string>{"change"});
    EXPECT_EQ(P->Date(), At(2026, 4, 15));
    Events.clear();
    Script("1"); // a first digit waits for the second
    EXPECT_TRUE(Events.empty());
    Script("1");
    EXPECT_EQ(Events, std::vector<std::string>{"change"});
    EXPECT_EQ(P->Date(), At(2026, 11, 15));
    Events.clear();
    Script("1>"); // the day's digit is taken when the field is left
    EXPECT_EQ(Events, std::vector<std::string>{"change"});
    EXPECT_EQ(P->Date(), At(2026, 11, 1));
    EXPECT_NEAR(P->Time(), EncodeTime(10, 30, 45, 0), 1e-9); // the time of day stays
}

TEST_F(DateTimePicker, KeepsWithinItsLimits)
{
    TDateTimePicker* P = Picker();
    P->SetMinDate(At(2026, 3, 10));
    P->SetMaxDate(At(2026, 3, 20));
    P->SetFocus();
    Pump();
    Script(">}");
    EXPECT_EQ(Text(P), "3/20/2026");
    Script("{");
    EXPECT_EQ(Text(P), "3/10/2026");
    Script("^^^^^^^^^^^^^^^^");
    EXPECT_EQ(Text(P), "3/20/2026");
    Script("<^"); // April is past the maximum
    EXPECT_EQ(Text(P), "3/20/2026");
    EXPECT_EQ(P->Date(), At(2026, 3, 20));

    struct TCase {
        TDateTime Value;
        const char* Message;
    };
    const std::vector<TCase> Cases = {
        {At(2026, 3, 21), "Date exceeds maximum of 3/20/2026"},
        {At(2026, 3, 9, 23, 59), "Date is less than minimum of 3/10/2026"},
    };
    for (const TCase& Case : Cases) {
        try {
            P->SetDate(Case.Value);
            ADD_FAILURE() << Case.Message;
        } catch (const EDateTimeError& E) {
            EXPECT_EQ(E.Message(), Case.Message);
        }
        EXPECT_EQ(P->Date(), At(2026, 3, 20)); // unchanged
    }
    P->SetDate(At(2026, 3, 20, 23, 0)); // the last day counts whole
    EXPECT_THROW(P->SetMinDate(At(2026, 4, 1)), EDateTimeError);
}

TEST_F(DateTimePicker, UpDownButtonsRepeatWhileHeld)
{
    TDateTimePicker* P = Picker(dtkTime);
    P->SetFormat("HH:mm");
    P->SetFocus();
    Pump();
    const TRect B = DateTimePickButtonRect(P->Handle());
    Events.clear();
    InjectMouseButton(P->Handle(), 0, true, B.Left + 3, B.Top + 2); // up: the hour
    Pump();
    EXPECT_EQ(Text(P), "11:30");
    Time.Advance(499);
    Pump();
    EXPECT_EQ(Text(P), "11:30"); // not yet repeating
    for (int I = 0; I < 4; ++I) {
        Time.Advance(I == 0 ? 1 : 100);
        Pump();
    }
    EXPECT_EQ(Text(P), "15:30");
    InjectMouseButton(P->Handle(), 0, false, B.Left + 3, B.Top + 2);
    Pump();
    Time.Advance(1000);
    Pump();
    EXPECT_EQ(Text(P), "15:30");
    EXPECT_EQ(Events.size(), 5u);
    // The lower button steps down, and past midnight wraps.
    P->SetTime(EncodeTime(0, 30, 0, 0));
    InjectMouseButton(P->Handle(), 0, true, B.Left + 3, B.Bottom - 2);
    InjectMouseButton(P->Handle(), 0, false, B.Left + 3, B.Bottom - 2);
    Pump();
    EXPECT_EQ(Text(P), "23:30");
    EXPECT_EQ(GetCapture(), HWND(0));
}

TEST_F(DateTimePicker, ClickingAFieldMakesItCurrent)
{
    TDateTimePicker* P = Picker();
    const TRect Year = DateTimePickFieldRect(P->Handle(), 4);
    Click(P, Year.Left + 2, Year.Top + 2);
    EXPECT_TRUE(P->Focused());
    Script("^");
    EXPECT_EQ(Text(P), "3/15/2027");
    const TRect Day = DateTimePickFieldRect(P->Handle(), 2);
    Click(P, Day.Left + 1, Day.Top + 2);
    Script("^");
    EXPECT_EQ(Text(P), "3/16/2027");
}

TEST_F(DateTimePicker, CheckBoxClearsAndRestoresTheValue)
{
    TDateTimePicker* P = Picker();
    P->SetShowCheckbox(true);
    P->SetFocus();
    Pump();
    Events.clear();
    Script(" ");
    EXPECT_FALSE(P->Checked());
    EXPECT_EQ(P->Perform(DTM_GETSYSTEMTIME, 0, 0), GDT_NONE);
    Script("^"); // a cleared picker takes no edits
    EXPECT_EQ(P->Date(), At(2026, 3, 15));
    const TRect Box = DateTimePickCheckRect(P->Handle());
    Click(P, Box.Left + 3, Box.Top + 3);
    EXPECT_TRUE(P->Checked());
    EXPECT_EQ(Events, (std::vector<std::string>{"change", "change"}));
}

// ---- the drop-down calendar

namespace {

// The point of the open calendar (in the pop-up's client area) that shows Day of the month shown.
bool DayPoint(HWND Popup, HWND Cal, int Day, TPoint& Point)
{
    TRect R;
    GetClientRect(Cal, R);
    for (int Y = 0; Y < R.Bottom; Y += 2)
        for (int X = 0; X < R.Right; X += 2) {
            MCHITTESTINFO Hit;
            Hit.pt = TPoint{X, Y};
            SendMessage(Cal, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit));
            if (Hit.uHit == MCHT_CALENDARDATE && Hit.st.wDay == Day) {
                Point = TPoint{X, Y};
                ClientToScreen(Cal, Point);
                ScreenToClient(Popup, Point);
                return true;
            }
        }
    return false;
}

} // namespace

TEST_F(DateTimePicker, DropsDownBelowAndPicksADay)
{
    TDateTimePicker* P = Picker();
    P->SetFocus();
    Pump();
    Events.clear();
    const TRect B = DateTimePickButtonRect(P->Handle());
    Click(P, B.Left + 3, B.Top + 3);
    ASSERT_TRUE(P->DroppedDown());
    const HWND Popup = DateTimePickDropDownWindow(P->Handle());
    const HWND Cal = static_cast<HWND>(P->Perform(DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(Popup, HWND(0));
    ASSERT_NE(Cal, HWND(0));
    EXPECT_TRUE(IsWindowVisible(Popup));
    EXPECT_EQ(GetCapture(), Popup);
    TRect PickerRect, PopupRect;
    GetWindowRect(P->Handle(), PickerRect);
    GetWindowRect(Popup, PopupRect);
    EXPECT_EQ(PopupRect.Top, PickerRect.Bottom);
    EXPECT_EQ(PopupRect.Left, PickerRect.Left);
    TSystemTime Shown;
    SendMessage(Cal, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&Shown));
    EXPECT_EQ(Shown.wDay, 15);
    EXPECT_EQ(Events, std::vector<std::string>{"dropdown"});

    TPoint Day;
    ASSERT_TRUE(DayPoint(Popup, Cal, 20, Day));
    InjectMouseButton(Popup, 0, true, Day.X, Day.Y);
    InjectMouseButton(Popup, 0, false, Day.X, Day.Y);
    Pump();
    EXPECT_FALSE(P->DroppedDown());
    EXPECT_FALSE(IsWindowVisible(Popup));
    EXPECT_EQ(P->DateTime(), At(2026, 3, 20, 10, 30, 45));
    EXPECT_EQ(Text(P), "3/20/2026");
    EXPECT_EQ(Events, (std::vector<std::string>{"dropdown", "change", "closeup"}));
    EXPECT_EQ(GetCapture(), HWND(0));
    EXPECT_TRUE(P->Focused());
}

TEST_F(DateTimePicker, ClosesUpWithoutAChange)
{
    auto* Other = Place<TDateTimePicker>(20, 100, 150, 0);
    struct TCase {
        const char* Name;
        std::function<void(TDateTimePicker*)> Close;
    };
    const std::vector<TCase> Cases = {
        {"Escape", [](TDateTimePicker*) { InjectKeyPress(VK_ESCAPE); }},
        {"F4 again keeps the calendar's day", [](TDateTimePicker*) { InjectKeyPress(VK_F4); }},
        {"a click outside",
         [](TDateTimePicker* P) {
             const HWND Popup = DateTimePickDropDownWindow(P->Handle());
             InjectMouseButton(Popup, 0, true, -30, -60);
             InjectMouseButton(Popup, 0, false, -30, -60);
         }},
        {"the button again",
         [](TDateTimePicker* P) {
             const TRect B = DateTimePickButtonRect(P->Handle());
             TPoint At{B.Left + 3, B.Top + 3};
             ClientToScreen(P->Handle(), At);
             const HWND Popup = DateTimePickDropDownWindow(P->Handle());
             ScreenToClient(Popup, At);
             InjectMouseButton(Popup, 0, true, At.X, At.Y);
             InjectMouseButton(Popup, 0, false, At.X, At.Y);
         }},
        {"the focus going", [Other](TDateTimePicker*) { Other->SetFocus(); }},
        {"the form moving",
         [](TDateTimePicker* P) {
             InjectWindowBounds(P->ParentForm()->Handle(), Rect(150, 120, 550, 420));
         }},
        {"another window activated",
         [this](TDateTimePicker*) {
             auto* Second = new TForm(&App);
             Second->SetBounds(500, 400, 200, 100);
             Second->Show();
             Pump();
             delete Second;
             SetActiveWindow(Form->Handle());
         }},
    };
    for (const TCase& Case : Cases) {
        TDateTimePicker* P = Picker();
        P->SetFocus();
        Pump();
        AltDown();
        ASSERT_TRUE(P->DroppedDown()) << Case.Name;
        const HWND Cal = static_cast<HWND>(P->Perform(DTM_GETMONTHCAL, 0, 0));
        ASSERT_NE(Cal, HWND(0));
        Script(">"); // moves the calendar's day, not the picker's
        Events.clear();
        Case.Close(P);
        Pump();
        EXPECT_FALSE(P->DroppedDown()) << Case.Name;
        EXPECT_EQ(P->Perform(DTM_GETMONTHCAL, 0, 0), 0) << Case.Name;
        EXPECT_EQ(GetCapture(), HWND(0)) << Case.Name;
        if (std::string(Case.Name).rfind("F4", 0) == 0) {
            EXPECT_EQ(Events, (std::vector<std::string>{"change", "closeup"})) << Case.Name;
            EXPECT_EQ(P->Date(), At(2026, 3, 16));
        } else {
            EXPECT_EQ(Events, std::vector<std::string>{"closeup"}) << Case.Name;
            EXPECT_EQ(P->Date(), At(2026, 3, 15)) << Case.Name;
        }
        delete P;
        Form->SetBounds(100, 100, 400, 300);
        Pump();
    }
}

TEST_F(DateTimePicker, DropsDownAboveWithNoRoomBelow)
{
    Form->SetBounds(100, 700, 400, 60);
    Pump();
    TDateTimePicker* P = Picker();
    P->SetFocus();
    InjectKeyPress(VK_F4);
    Pump();
    const HWND Popup = DateTimePickDropDownWindow(P->Handle());
    ASSERT_NE(Popup, HWND(0));
    TRect PickerRect, PopupRect;
    GetWindowRect(P->Handle(), PickerRect);
    GetWindowRect(Popup, PopupRect);
    EXPECT_EQ(PopupRect.Bottom, PickerRect.Top);
    InjectKeyPress(VK_ESCAPE);
    Pump();
}

TEST_F(DateTimePicker, UpDownAndTimePickersHaveNoCalendar)
{
    for (TDateTimeKind Kind : {dtkDate, dtkTime}) {
        TDateTimePicker* P = Picker(Kind, dmUpDown);
        P->SetFocus();
        Pump();
        InjectKeyPress(VK_F4);
        AltDown();
        EXPECT_FALSE(P->DroppedDown());
        delete P;
    }
}

// ---- the look

TEST_F(DateTimePicker, LooksLikeItsGoldenPictures)
{
    SetDeterministicFontMetrics(false); // the pictures show real letters
    struct TCase {
        const char* File;
        TDateTimeKind Kind;
        TDTDateMode Mode;
        TDTDateFormat DateFormat;
        bool Focus;
        bool Enabled;
        bool Check;
        bool Drop;
    };
    const std::vector<TCase> Cases = {
        {"datetimepicker_date.png", dtkDate, dmComboBox, dfShort, false, true, false, false},
        {"datetimepicker_longdate.png", dtkDate, dmComboBox, dfLong, false, true, false, false},
        {"datetimepicker_time_updown.png", dtkTime, dmUpDown, dfShort, false, true, false, false},
        {"datetimepicker_focused.png", dtkDate, dmUpDown, dfShort, true, true, true, false},
        {"datetimepicker_disabled.png", dtkDate, dmComboBox, dfShort, false, false, false, false},
        {"datetimepicker_dropped.png", dtkDate, dmComboBox, dfShort, true, true, false, true},
    };
    for (const TCase& Case : Cases) {
        TDateTimePicker* P = Picker(Case.Kind, Case.Mode);
        P->SetDateFormat(Case.DateFormat);
        P->SetShowCheckbox(Case.Check);
        P->SetBounds(20, 20, 230, 0);
        P->SetEnabled(Case.Enabled);
        if (Case.Focus) {
            P->SetFocus();
            Pump();
            Script(">");
        }
        if (Case.Drop)
            InjectKeyPress(VK_F4);
        Pump();
        const HWND Popup = DateTimePickDropDownWindow(P->Handle());
        TRect PopupRect;
        if (Popup != 0)
            GetWindowRect(Popup, PopupRect);
        const int Width = std::max(P->Width(), Popup != 0 ? PopupRect.Width() : 0);
        const int Height = P->Height() + (Popup != 0 ? PopupRect.Height() : 0);
        TRasterDevice Device(Width, Height, clBtnFace);
        CopyWindowPicture(P->Handle(), Device, 0, 0);
        if (Popup != 0)
            CopyWindowPicture(Popup, Device, 0, P->Height());
        ExpectMatchesGolden(Device, Case.File);
        if (Case.Drop)
            InjectKeyPress(VK_ESCAPE);
        Pump();
        delete P;
    }
}

// ---- text typed for the program to parse

namespace {

// A picker whose program reads dates typed as text (DTS_APPCANPARSE).
class TParsingPicker : public TDateTimePicker {
public:
    using TDateTimePicker::TDateTimePicker;
    std::vector<std::string> Parsed;

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TDateTimePicker::CreateParams(Params);
        Params.Style |= DTS_APPCANPARSE;
    }
    void CNNotify(TMessage& Message)
    {
        auto* Header = reinterpret_cast<NMHDR*>(Message.LParam);
        if (Header->code != DTN_USERSTRING) {
            TDateTimePicker::CNNotify(Message);
            return;
        }
        auto* Parse = reinterpret_cast<NMDATETIMESTRING*>(Message.LParam);
        Parsed.push_back(Parse->pszUserString);
        TDateTime Value;
        if (TryStrToDate(Parse->pszUserString, Value))
            DateTimeToSystemTime(Value, Parse->st);
        else
            Parse->dwFlags = GDT_ERROR;
    }
    TW_MESSAGE_MAP();
};

const TMessageMap& TParsingPicker::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TParsingPicker::CNNotify>(CN_NOTIFY),
    });
    static constexpr TMessageMap Map{Handlers, &TDateTimePicker::ClassMessageMap};
    return Map;
}

} // namespace

TEST_F(DateTimePicker, HandsTypedTextToTheProgram)
{
    struct TCase {
        const char* Keys;
        int Finish; // VK_RETURN or VK_ESCAPE
        TDateTime Date;
        std::vector<std::string> Parsed;
        std::vector<std::string> Events;
    };
    const std::vector<TCase> Cases = {
        {"12/25/2026", VK_RETURN, At(2026, 12, 25), {"12/25/2026"}, {"change"}},
        {"garbage", VK_RETURN, At(2026, 3, 15), {"garbage"}, {}},
        {"1/1/2027", VK_ESCAPE, At(2026, 3, 15), {}, {}},
    };
    for (const TCase& Case : Cases) {
        auto* P = new TParsingPicker(Form);
        P->SetParent(Form);
        P->SetBounds(20, 20, 200, 0);
        P->OnChange = [this](TObject*) { Events.push_back("change"); };
        P->SetFocus();
        Pump();
        Events.clear();
        InjectKeyPress(VK_F2);
        for (char C : std::string(Case.Keys))
            InjectKeyPress(C >= 'a' && C <= 'z' ? C - 32 : C == '/' ? 0xBF : C, std::string(1, C));
        Pump();
        EXPECT_EQ(Text(P), "3/15/2026"); // the fields' text while typing
        InjectKeyPress(Case.Finish);
        Pump();
        EXPECT_EQ(P->Parsed, Case.Parsed) << Case.Keys;
        EXPECT_EQ(P->Date(), Case.Date) << Case.Keys;
        EXPECT_EQ(Events, Case.Events) << Case.Keys;
        delete P;
    }
}

// ---- the notifications as the parent gets them

namespace {

class TRecordingPicker : public TDateTimePicker {
public:
    using TDateTimePicker::TDateTimePicker;
    std::vector<UINT> Codes;
    TSystemTime LastChange;
    DWORD LastFlags = GDT_ERROR;

protected:
    void CNNotify(TMessage& Message)
    {
        const auto* Header = reinterpret_cast<const NMHDR*>(Message.LParam);
        EXPECT_EQ(Header->hwndFrom, Handle());
        Codes.push_back(Header->code);
        if (Header->code == DTN_DATETIMECHANGE) {
            const auto* Change = reinterpret_cast<const NMDATETIMECHANGE*>(Message.LParam);
            LastChange = Change->st;
            LastFlags = Change->dwFlags;
        }
        TDateTimePicker::CNNotify(Message);
    }
    TW_MESSAGE_MAP();
};

const TMessageMap& TRecordingPicker::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TRecordingPicker::CNNotify>(CN_NOTIFY),
    });
    static constexpr TMessageMap Map{Handlers, &TDateTimePicker::ClassMessageMap};
    return Map;
}

} // namespace

TEST_F(DateTimePicker, SendsItsNotificationsInOrder)
{
    auto* Other = Place<TDateTimePicker>(20, 100, 150, 0);
    auto* P = Place<TRecordingPicker>(20, 20, 200, 0);
    P->SetFocus();
    Pump();
    Script(">^");
    EXPECT_EQ(P->LastFlags, GDT_VALID);
    EXPECT_EQ(P->LastChange.wDay, 16);
    EXPECT_EQ(P->LastChange.wDayOfWeek, 1); // a Monday
    EXPECT_EQ(P->LastChange.wHour, 10);
    InjectKeyPress(VK_F4);
    Pump();
    InjectKeyPress(VK_ESCAPE);
    Pump();
    Other->SetFocus();
    Pump();
    EXPECT_EQ(P->Codes, (std::vector<UINT>{NM_SETFOCUS, DTN_DATETIMECHANGE, DTN_DROPDOWN,
                                           DTN_CLOSEUP, NM_KILLFOCUS}));
}
