// TMonthCalendar: its properties reaching the window (selection, limits, styles, colours, first
// day of the week), the date read back from the user's clicks with OnClick, bold days from
// OnGetMonthInfo drawn bold, the bare "SysMonthCal32" class, and the common controls' version.
#include "tests/platform/stdctrls/monthcaltest.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/fontengine.h"
#include "platform/gfx/recordingdevice.h"
#include "platform/stdctrls/commctrl.h"
#include "platform/stdctrls/datetimepickwindow.h"
#include "platform/stdctrls/headerwindow.h"
#include "platform/stdctrls/listviewwindow.h"
#include "platform/stdctrls/progressbarwindow.h"
#include "platform/stdctrls/statusbarwindow.h"
#include "platform/stdctrls/tabcontrolwindow.h"
#include "platform/stdctrls/trackbarwindow.h"
#include "platform/stdctrls/updownwindow.h"
#include "platform/ui/queue.h"

using MonthCalendarTest = MonthCalTest;

TEST_F(MonthCalendarTest, DateGoesToTheWindowAndLimitsRaise)
{
    auto* C = MakeCalendar(200, 180);
    C->SetDate(EncodeDate(2005, 6, 7) + 0.25);
    EXPECT_EQ(Sel(C), "2005-06-07");
    EXPECT_EQ(Shown(C), "2005-06-01..2005-06-30");
    C->SetMaxDate(EncodeDate(2005, 6, 20));
    C->SetMinDate(EncodeDate(2005, 6, 1));
    struct TCase {
        std::function<void()> Call;
        std::string Message;
    };
    const std::vector<TCase> Cases = {
        {[&] { C->SetDate(EncodeDate(2005, 6, 21)); }, "Date exceeds maximum of 6/20/2005"},
        {[&] { C->SetDate(EncodeDate(2005, 5, 31)); }, "Date is less than minimum of 6/1/2005"},
        {[&] { C->SetMinDate(EncodeDate(2005, 7, 1)); }, "Date exceeds maximum of 6/20/2005"},
        {[&] { C->SetMaxDate(EncodeDate(2005, 5, 1)); }, "Date is less than minimum of 6/1/2005"},
    };
    for (const TCase& Case : Cases) {
        try {
            Case.Call();
            ADD_FAILURE() << "no error: " << Case.Message;
        } catch (const ECommonCalendarError& E) {
            EXPECT_EQ(E.Message(), Case.Message);
        }
    }
    EXPECT_EQ(Sel(C), "2005-06-07");
    EXPECT_DOUBLE_EQ(C->Date(), EncodeDate(2005, 6, 7) + 0.25);
    TSystemTime Limits[2];
    EXPECT_EQ(C->Perform(MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(Limits)), GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(Ymd(Limits[0]), "2005-06-01");
    EXPECT_EQ(Ymd(Limits[1]), "2005-06-20");
}

TEST_F(MonthCalendarTest, ClicksAndKeysSetTheDateAndFireOnClick)
{
    auto* C = MakeCalendar(200, 180);
    C->SetDate(EncodeDate(2005, 3, 15) + 0.5);
    int Clicks = 0;
    C->OnClick = [&](TObject*) { ++Clicks; };
    const auto P = Find(C, MCHT_CALENDARDATE, "2005-03-22");
    ASSERT_TRUE(P.has_value());
    Click(C, P->X, P->Y);
    EXPECT_DOUBLE_EQ(C->Date(), EncodeDate(2005, 3, 22) + 0.5); // the time of day kept
    EXPECT_EQ(Clicks, 1);
    Click(C, P->X, P->Y); // the same day again: no change
    EXPECT_EQ(Clicks, 1);
    C->SetFocus();
    Key(VK_NEXT);
    EXPECT_DOUBLE_EQ(C->Date(), EncodeDate(2005, 4, 22) + 0.5);
    EXPECT_EQ(Clicks, 2);
}

TEST_F(MonthCalendarTest, MultiSelectKeepsARangeWithinMaxSelectRange)
{
    auto* C = MakeCalendar(200, 180, [](TMonthCalendar* M) {
        M->SetMultiSelect(true);
        M->SetMaxSelectRange(5);
    });
    C->SetDate(EncodeDate(2005, 3, 7));
    C->SetEndDate(EncodeDate(2005, 3, 10));
    EXPECT_EQ(Range(C), "2005-03-07..2005-03-10");
    EXPECT_THROW(C->SetEndDate(EncodeDate(2005, 3, 12)), ECommonCalendarError);
    const auto From = Find(C, MCHT_CALENDARDATE, "2005-03-14");
    const auto To = Find(C, MCHT_CALENDARDATE, "2005-03-30");
    ASSERT_TRUE(From && To);
    Drag(C, *From, *To);
    EXPECT_DOUBLE_EQ(C->Date(), EncodeDate(2005, 3, 14));
    EXPECT_DOUBLE_EQ(C->EndDate(), EncodeDate(2005, 3, 18));
}

TEST_F(MonthCalendarTest, PropertiesBecomeTheWindowsStyles)
{
    struct TCase {
        const char* Name;
        std::function<void(TMonthCalendar*)> Set;
        DWORD Style;
    };
    const std::vector<TCase> Cases = {
        {"multi-select", [](TMonthCalendar* C) { C->SetMultiSelect(true); }, MCS_MULTISELECT},
        {"week numbers", [](TMonthCalendar* C) { C->SetWeekNumbers(true); }, MCS_WEEKNUMBERS},
        {"no today", [](TMonthCalendar* C) { C->SetShowToday(false); }, MCS_NOTODAY},
        {"no circle", [](TMonthCalendar* C) { C->SetShowTodayCircle(false); }, MCS_NOTODAYCIRCLE},
    };
    for (const TCase& Case : Cases) {
        auto* C = MakeCalendar(200, 180);
        const DWORD Before = static_cast<DWORD>(GetWindowLong(C->Handle(), GWL_STYLE));
        EXPECT_EQ(Before & Case.Style, 0u) << Case.Name;
        Case.Set(C);
        Pump();
        const DWORD After = static_cast<DWORD>(GetWindowLong(C->Handle(), GWL_STYLE));
        EXPECT_EQ(After & Case.Style, Case.Style) << Case.Name;
        EXPECT_EQ(Sel(C) == "none", Case.Style == MCS_MULTISELECT) << Case.Name;
        delete C;
    }
    // Without the today line the calendar needs less height.
    auto* C = MakeCalendar(200, 180);
    TRect With, Without;
    C->Perform(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&With));
    C->SetShowToday(false);
    C->Perform(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&Without));
    EXPECT_LT(Without.Height(), With.Height());
}

TEST_F(MonthCalendarTest, ColoursAndFirstDayOfWeekReachTheWindow)
{
    auto* C = MakeCalendar(200, 180);
    C->CalColors()->SetTitleBackColor(clGreen);
    C->CalColors()->SetTrailingTextColor(clRed);
    EXPECT_EQ(C->Perform(MCM_GETCOLOR, MCSC_TITLEBK, 0), clGreen);
    EXPECT_EQ(C->Perform(MCM_GETCOLOR, MCSC_TRAILINGTEXT, 0), clRed);
    C->RecreateWnd(); // a new window gets them too
    EXPECT_EQ(C->Perform(MCM_GETCOLOR, MCSC_TITLEBK, 0), clGreen);
    auto* Other = MakeCalendar(200, 180);
    Other->SetCalColors(C->CalColors());
    EXPECT_EQ(Other->Perform(MCM_GETCOLOR, MCSC_TRAILINGTEXT, 0), clRed);
    EXPECT_THROW(Other->CalColors()->Assign(nullptr), EConvertError);
    const std::vector<std::pair<TCalDayOfWeek, LRESULT>> Days = {
        {dowMonday, 0}, {dowWednesday, 2}, {dowSunday, 6}, {dowLocaleDefault, 6}};
    for (const auto& Day : Days) {
        C->SetFirstDayOfWeek(Day.first);
        EXPECT_EQ(C->Perform(MCM_GETFIRSTDAYOFWEEK, 0, 0), Day.second);
    }
}

TEST_F(MonthCalendarTest, BoldDaysComeFromOnGetMonthInfoAndDrawBold)
{
    std::vector<unsigned> Asked;
    auto* C = MakeCalendar(200, 180, [&](TMonthCalendar* M) {
        M->SetDate(EncodeDate(2004, 12, 1));
        M->OnGetMonthInfo = [&](TObject*, unsigned Month, unsigned& Bold) {
            Asked.push_back(Month);
            if (Month == 12)
                Bold = 1u << 16; // 17 December
        };
    });
    Asked.clear();
    C->RecreateWnd();
    Pump();
    EXPECT_EQ(Asked, (std::vector<unsigned>{11, 12, 1}));
    TRecordingDevice Device(C->ClientWidth(), C->ClientHeight());
    TCanvas Canvas(&Device);
    C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Canvas.Handle()), 0);
    std::vector<std::pair<std::string, bool>> Days;
    for (const auto& Call : Device.Calls())
        if (Call.Name == "TextOut" && (Call.Text == "16" || Call.Text == "17"))
            Days.emplace_back(Call.Text, Call.State.Font.Weight >= FW_BOLD);
    // 16 and 17 of November show as trailing days; the 17th of December alone is bold.
    const std::vector<std::pair<std::string, bool>> Expected = {{"16", false}, {"17", true}};
    EXPECT_EQ(Days, Expected);
}

TEST(CommonControls, EachFamilyFlagRegistersItsClasses)
{
    const std::vector<std::pair<DWORD, std::vector<const char*>>> Families = {
        {ICC_LISTVIEW_CLASSES, {ListViewClassName, HeaderClassName}},
        {ICC_BAR_CLASSES, {StatusBarClassName, TrackBarClassName}},
        {ICC_TAB_CLASSES, {TabControlClassName}},
        {ICC_UPDOWN_CLASS, {UpDownClassName}},
        {ICC_PROGRESS_CLASS, {ProgressBarClassName}},
        {ICC_DATE_CLASSES, {MonthCalClassName, DateTimePickClassName}},
    };
    for (const auto& [Flag, Names] : Families) {
        INITCOMMONCONTROLSEX Init;
        Init.dwICC = Flag;
        EXPECT_TRUE(InitCommonControlsEx(&Init));
        for (const char* Name : Names) {
            TWndClass Class;
            EXPECT_TRUE(GetClassInfo(Name, Class)) << Name;
        }
    }
}

TEST_F(MonthCalendarTest, TheBareClassTalksToAnyParentWindow)
{
    INITCOMMONCONTROLSEX Init;
    Init.dwICC = ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES | 0x40000000;
    EXPECT_TRUE(InitCommonControlsEx(&Init));
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
    TWndClass Class;
    EXPECT_TRUE(GetClassInfo(MonthCalClassName, Class));
    const HWND Wnd = CreateWindowEx(0, MonthCalClassName, "", WS_CHILD | WS_VISIBLE, 5, 5, 200, 180,
                                    Form->Handle());
    ASSERT_NE(Wnd, 0);
    const TSystemTime Day1 = Day(2007, 8, 9);
    EXPECT_EQ(SendMessage(Wnd, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&Day1)), 1);
    TSystemTime Got;
    EXPECT_EQ(SendMessage(Wnd, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&Got)), 1);
    EXPECT_EQ(Ymd(Got), "2007-08-09");
    Pump();
    DestroyWindow(Wnd);
    Pump();
}

TEST_F(MonthCalendarTest, CommonControlsAreVersionSix)
{
    EXPECT_EQ(GetComCtlVersion().Major, 6u);
    EXPECT_EQ(GetComCtlVersion().Minor, 0u);
    struct TCase {
        DWORD Major;
        DWORD Minor;
        bool AtLeast;
    };
    for (const TCase& Case : std::vector<TCase>{
             {4, 70, true}, {4, 71, true}, {5, 80, true}, {6, 0, true}, {6, 1, false}})
        EXPECT_EQ(ComCtlVersionAtLeast(Case.Major, Case.Minor), Case.AtLeast)
            << Case.Major << "." << Case.Minor;
}
