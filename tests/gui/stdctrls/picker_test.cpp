// The date-time pickers on the X server: the calendar dropped down by a click on the button,
// a day picked in it by the pointer, fields typed and stepped by the keyboard, an up-down
// button held, and the page and the calendar against their reference pictures.
#include "tests/gui/stdctrls/controlsfixture.h"

#include "platform/rtl/clock.h"
#include "platform/stdctrls/datetimepicker.h"
#include "platform/stdctrls/datetimepickwindow.h"
#include "platform/stdctrls/monthcalwindow.h"
#include "platform/ui/displaydriver.h"

namespace guitest {

namespace {

class PickerPage : public ControlsPageTest<&BuildPickerPage> {
protected:
    void SetUp() override
    {
        SavedSettings = FormatSettings;
        FormatSettings = TFormatSettings::EnglishUS();
        SetNowSource([] { return EncodeDate(2026, 3, 15) + EncodeTime(12, 0, 0, 0); });
        ControlsPageTest<&BuildPickerPage>::SetUp();
    }
    void TearDown() override
    {
        ControlsPageTest<&BuildPickerPage>::TearDown();
        SetNowSource({});
        FormatSettings = SavedSettings;
    }

    static std::string Text(TDateTimePicker* P) { return GetWindowText(P->Handle()); }

    // The centre of a rectangle of the picker's client area.
    static TPoint Centre(const TRect& R)
    {
        return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    }

    // The screen point of the calendar's Day in the month it shows.
    static bool DayOnScreen(HWND Cal, int Day, TPoint& Point)
    {
        TRect R;
        GetClientRect(Cal, R);
        for (int Y = 0; Y < R.Bottom; Y += 2)
            for (int X = 0; X < R.Right; X += 2) {
                MCHITTESTINFO Hit;
                Hit.pt = TPoint{X, Y};
                SendMessage(Cal, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit));
                if (Hit.uHit == MCHT_CALENDARDATE && Hit.st.wDay == Day) {
                    Point = TPoint{X + 2, Y + 2};
                    ClientToScreen(Cal, Point);
                    return true;
                }
            }
        return false;
    }

    // Compares the pop-up's window, as the server shows it, with its reference picture.
    void ExpectPopupLooksLike(HWND Popup, const std::string& Name)
    {
        std::string PopupId = std::to_string(DisplayDriver().NativeId(Popup));
        std::swap(Id, PopupId);
        ExpectLooksLike(Name);
        std::swap(Id, PopupId);
    }

    TFormatSettings SavedSettings;
};

} // namespace

TEST_F(PickerPage, PicksADayInTheDroppedDownCalendar)
{
    TDateTimePicker* P = Demo().DatePicker;
    ExpectLooksLike("picker-page");
    ClickAt(P, Centre(DateTimePickButtonRect(P->Handle())));
    ASSERT_TRUE(PumpUntil([&] { return P->DroppedDown(); }));
    const HWND Popup = DateTimePickDropDownWindow(P->Handle());
    const HWND Cal = static_cast<HWND>(P->Perform(DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(Popup, HWND(0));
    ASSERT_NE(Cal, HWND(0));
    ASSERT_TRUE(PumpUntil([&] { return !GetUpdateRect(Cal, nullptr); }));
    Pump(200);
    ExpectPopupLooksLike(Popup, "picker-calendar");

    TPoint Day;
    ASSERT_TRUE(DayOnScreen(Cal, 20, Day));
    MoveToScreen(Day);
    ASSERT_EQ(RunTool(Display, {"xdotool", "click", "1"}).Status, 0);
    ASSERT_TRUE(PumpUntil([&] { return !P->DroppedDown(); }));
    EXPECT_EQ(P->Date(), EncodeDate(2026, 3, 20));
    EXPECT_EQ(Text(P), "3/20/2026");
    EXPECT_TRUE(P->Focused());
}

TEST_F(PickerPage, ClosesTheCalendarOnAClickOutside)
{
    TDateTimePicker* P = Demo().DatePicker;
    ClickAt(P, Centre(DateTimePickButtonRect(P->Handle())));
    ASSERT_TRUE(PumpUntil([&] { return P->DroppedDown(); }));
    ClickAt(Form, TPoint{PageWidth - 20, PageHeight - 20});
    ASSERT_TRUE(PumpUntil([&] { return !P->DroppedDown(); }));
    EXPECT_EQ(P->Date(), EncodeDate(2026, 3, 15));
}

TEST_F(PickerPage, TypesIntoTheFields)
{
    TDateTimePicker* P = Demo().DatePicker;
    const TRect Month = DateTimePickFieldRect(P->Handle(), 0);
    ClickAt(P, Centre(Month));
    ASSERT_TRUE(PumpUntil([&] { return P->Focused(); }));
    Keys({"4", "2", "5"});
    ASSERT_TRUE(PumpUntil([&] { return Text(P) == "4/25/2026"; })) << Text(P);
    EXPECT_EQ(P->Date(), EncodeDate(2026, 4, 25));
    Keys({"Right", "Up"});
    ASSERT_TRUE(PumpUntil([&] { return Text(P) == "4/25/2027"; })) << Text(P);

    TDateTimePicker* T = Demo().TimePicker;
    ClickAt(T, Centre(DateTimePickFieldRect(T->Handle(), 2))); // the minutes
    ASSERT_TRUE(PumpUntil([&] { return T->Focused(); }));
    Keys({"Down", "Down", "5"});
    ASSERT_TRUE(PumpUntil([&] { return Text(T) == "10:05:45 AM"; })) << Text(T);
    Keys({"Right", "Right", "p"});
    ASSERT_TRUE(PumpUntil([&] { return Text(T) == "10:05:45 PM"; })) << Text(T);
}

TEST_F(PickerPage, HoldingTheUpButtonRepeats)
{
    TDateTimePicker* T = Demo().TimePicker;
    int Steps = 0;
    T->OnChange = [&Steps](TObject*) { ++Steps; };
    const TRect B = DateTimePickButtonRect(T->Handle());
    MoveTo(T, TPoint{(B.Left + B.Right) / 2, B.Top + 3});
    ASSERT_EQ(RunTool(Display, {"xdotool", "mousedown", "1"}).Status, 0);
    Pump(900);
    ASSERT_EQ(RunTool(Display, {"xdotool", "mouseup", "1"}).Status, 0);
    ASSERT_TRUE(PumpUntil([&] { return GetCapture() == 0; }));
    EXPECT_GE(Steps, 3); // one step on the press, then the repeats
    const int Held = Steps;
    Pump(300);
    EXPECT_EQ(Steps, Held); // no more once released
}

} // namespace guitest
