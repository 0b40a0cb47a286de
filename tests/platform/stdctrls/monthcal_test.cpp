// The month calendar window: keys moving the selection (month ends, leap years, years, limits),
// every region of the hit test and what a click there does, ranges in multi-select mode, the
// limits, the bold days asked of the parent, the scroll buttons' auto-repeat, and its pictures.
#include "tests/platform/stdctrls/monthcaltest.h"

namespace {

struct TKeyCase {
    const char* Start;
    int Key;
    std::vector<int> Modifiers;
    const char* Expected;
};

TSystemTime Parse(const std::string& S)
{
    return Day(std::stoi(S.substr(0, 4)), std::stoi(S.substr(5, 2)), std::stoi(S.substr(8, 2)));
}

} // namespace

TEST_F(MonthCalTest, KeysMoveTheSelectionByDaysWeeksMonthsAndYears)
{
    auto* C = MakeCalendar(200, 180);
    C->SetFocus();
    Pump();
    const std::vector<TKeyCase> Cases = {
        {"2005-01-31", VK_RIGHT, {}, "2005-02-01"},
        {"2005-03-01", VK_LEFT, {}, "2005-02-28"},
        {"2005-03-15", VK_UP, {}, "2005-03-08"},
        {"2005-03-29", VK_DOWN, {}, "2005-04-05"},
        {"2005-01-31", VK_NEXT, {}, "2005-02-28"},
        {"2004-01-31", VK_NEXT, {}, "2004-02-29"},
        {"2004-12-15", VK_NEXT, {}, "2005-01-15"},
        {"2005-03-31", VK_PRIOR, {}, "2005-02-28"},
        {"2005-03-15", VK_PRIOR, {VK_CONTROL}, "2004-03-15"},
        {"2004-02-29", VK_NEXT, {VK_CONTROL}, "2005-02-28"},
        {"2005-03-15", VK_HOME, {}, "2005-03-01"},
        {"2005-02-10", VK_END, {}, "2005-02-28"},
    };
    for (const TKeyCase& Case : Cases) {
        const TSystemTime Start = Parse(Case.Start);
        ASSERT_EQ(C->Perform(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&Start)), 1);
        Notices.clear();
        Key(Case.Key, Case.Modifiers);
        EXPECT_EQ(Sel(C), Case.Expected) << Case.Start << " key " << Case.Key;
        // The view follows the selection, and the parent hears of the move.
        const std::string Month = std::string(Case.Expected).substr(0, 8);
        EXPECT_EQ(Shown(C).substr(0, 8), Month) << Case.Start << " key " << Case.Key;
        ASSERT_FALSE(Notices.empty()) << Case.Start;
        EXPECT_EQ(Notices.back().Code, MCN_SELCHANGE);
        EXPECT_EQ(Notices.back().Start, Case.Expected);
    }
}

TEST_F(MonthCalTest, LimitsStopKeyMoves)
{
    auto* C = MakeCalendar(200, 180);
    const TSystemTime Limits[2] = {Day(2005, 3, 10), Day(2005, 4, 20)};
    ASSERT_EQ(C->Perform(MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(Limits)), 1);
    C->SetFocus();
    Pump();
    const std::vector<TKeyCase> Cases = {
        {"2005-03-12", VK_UP, {}, "2005-03-10"},
        {"2005-03-10", VK_LEFT, {}, "2005-03-10"},
        {"2005-03-31", VK_NEXT, {}, "2005-04-20"},
        {"2005-04-15", VK_NEXT, {VK_CONTROL}, "2005-04-20"},
        {"2005-04-15", VK_PRIOR, {}, "2005-03-15"},
        {"2005-03-15", VK_PRIOR, {}, "2005-03-10"},
        {"2005-04-18", VK_DOWN, {}, "2005-04-20"},
    };
    for (const TKeyCase& Case : Cases) {
        const TSystemTime Start = Parse(Case.Start);
        ASSERT_EQ(C->Perform(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&Start)), 1);
        Key(Case.Key, Case.Modifiers);
        EXPECT_EQ(Sel(C), Case.Expected) << Case.Start << " key " << Case.Key;
    }
    TSystemTime Got[2];
    EXPECT_EQ(C->Perform(MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(Got)), GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(Ymd(Got[0]), "2005-03-10");
    EXPECT_EQ(Ymd(Got[1]), "2005-04-20");
    const TSystemTime Outside = Day(2005, 5, 1);
    EXPECT_EQ(C->Perform(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&Outside)), 0);
    const TSystemTime Crossed[2] = {Day(2005, 5, 1), Day(2005, 4, 1)};
    EXPECT_EQ(C->Perform(MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(Crossed)), 0);
}

TEST_F(MonthCalTest, EveryRegionHitsAndAClickThereDoesItsPart)
{
    auto* C = MakeCalendar(200, 180, [](TMonthCalendar* M) { M->SetWeekNumbers(true); });
    const TSystemTime Start = Day(2005, 3, 15);
    C->Perform(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&Start));
    C->Perform(MCM_SETFIRSTDAYOFWEEK, 0, 6); // Sunday: 1 March 2005 is a Tuesday
    struct TCase {
        const char* Name;
        UINT Hit;
        std::string Date; // of the hit (title: the month shown)
        std::string Selection;
        std::string ShownFrom;
        std::vector<UINT> Sent;
    };
    const std::vector<TCase> Cases = {
        {"title month", MCHT_TITLEMONTH, "2005-03-01", "2005-03-15", "2005-03-01", {}},
        {"title year", MCHT_TITLEYEAR, "2005-03-01", "2005-03-15", "2005-03-01", {}},
        {"a day",
         MCHT_CALENDARDATE,
         "2005-03-24",
         "2005-03-24",
         "2005-03-01",
         {MCN_SELCHANGE, MCN_SELECT}},
        {"a trailing day before",
         MCHT_CALENDARDATEPREV,
         "2005-02-27",
         "2005-02-27",
         "2005-02-01",
         {MCN_SELCHANGE, MCN_SELECT}},
        {"a trailing day after",
         MCHT_CALENDARDATENEXT,
         "2005-03-05",
         "2005-03-05",
         "2005-03-01",
         {MCN_SELCHANGE, MCN_SELECT}},
        {"next button", MCHT_TITLEBTNNEXT, "", "2005-04-05", "2005-04-01", {MCN_SELCHANGE}},
        {"previous button", MCHT_TITLEBTNPREV, "", "2005-03-05", "2005-03-01", {MCN_SELCHANGE}},
        {"today link",
         MCHT_TODAYLINK,
         "2005-03-15",
         "2005-03-15",
         "2005-03-01",
         {MCN_SELCHANGE, MCN_SELECT}},
        {"week number", MCHT_CALENDARWEEKNUM, "", "2005-03-15", "2005-03-01", {}},
        {"weekday initials", MCHT_CALENDARDAY, "", "2005-03-15", "2005-03-01", {}},
    };
    for (const TCase& Case : Cases) {
        const std::optional<TPoint> P = Find(C, Case.Hit, Case.Date);
        ASSERT_TRUE(P.has_value()) << Case.Name;
        Notices.clear();
        Click(C, P->X, P->Y);
        EXPECT_EQ(Sel(C), Case.Selection) << Case.Name;
        EXPECT_EQ(Shown(C).substr(0, 10), Case.ShownFrom) << Case.Name;
        std::vector<UINT> Sent;
        for (UINT Code : Codes(Notices))
            if (Code != MCN_GETDAYSTATE)
                Sent.push_back(Code);
        EXPECT_EQ(Sent, Case.Sent) << Case.Name;
    }
}

TEST_F(MonthCalTest, EveryDayOfTheMonthHasItsCell)
{
    auto* C = MakeCalendar(200, 180);
    const TSystemTime Start = Day(2004, 2, 10);
    C->Perform(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&Start));
    for (int D = 1; D <= 29; ++D) {
        const std::string Date = Ymd(Day(2004, 2, D));
        const std::optional<TPoint> P = Find(C, MCHT_CALENDARDATE, Date);
        ASSERT_TRUE(P.has_value()) << Date;
        EXPECT_EQ(Ymd(Hit(C, *P).st), Date);
    }
    EXPECT_FALSE(Find(C, MCHT_CALENDARDATE, "2004-03-01").has_value());
}

TEST_F(MonthCalTest, MultiSelectRangesKeepToTheMaximumCount)
{
    auto* C = MakeCalendar(200, 180, [](TMonthCalendar* M) { M->SetMultiSelect(true); });
    EXPECT_EQ(C->Perform(MCM_SETMAXSELCOUNT, 7, 0), 1);
    EXPECT_EQ(Sel(C), "none"); // a single selection is not asked of a range
    struct TCase {
        const char* Name;
        std::string From;
        std::string To;
        std::string Expected;
    };
    const std::vector<TCase> Drags = {
        {"forward", "2005-03-03", "2005-03-06", "2005-03-03..2005-03-06"},
        {"backward", "2005-03-20", "2005-03-16", "2005-03-16..2005-03-20"},
        {"cut to seven days", "2005-03-03", "2005-03-24", "2005-03-03..2005-03-09"},
    };
    for (const TCase& Case : Drags) {
        const auto From = Find(C, MCHT_CALENDARDATE, Case.From);
        const auto To = Find(C, MCHT_CALENDARDATE, Case.To);
        ASSERT_TRUE(From && To) << Case.Name;
        Drag(C, *From, *To);
        EXPECT_EQ(Range(C), Case.Expected) << Case.Name;
    }
    C->SetFocus();
    const TSystemTime Start[2] = {Day(2005, 3, 10), Day(2005, 3, 10)};
    ASSERT_EQ(C->Perform(MCM_SETSELRANGE, 0, reinterpret_cast<LPARAM>(Start)), 1);
    Key(VK_RIGHT, {VK_SHIFT});
    Key(VK_RIGHT, {VK_SHIFT});
    EXPECT_EQ(Range(C), "2005-03-10..2005-03-12");
    Key(VK_DOWN, {VK_SHIFT});
    EXPECT_EQ(Range(C), "2005-03-10..2005-03-16");
    Key(VK_LEFT);
    EXPECT_EQ(Range(C), "2005-03-15..2005-03-15");
    const TSystemTime TooLong[2] = {Day(2005, 3, 1), Day(2005, 3, 8)};
    EXPECT_EQ(C->Perform(MCM_SETSELRANGE, 0, reinterpret_cast<LPARAM>(TooLong)), 0);
    const TSystemTime Reversed[2] = {Day(2005, 3, 7), Day(2005, 3, 1)};
    EXPECT_EQ(C->Perform(MCM_SETSELRANGE, 0, reinterpret_cast<LPARAM>(Reversed)), 1);
    EXPECT_EQ(Range(C), "2005-03-01..2005-03-07");
    EXPECT_EQ(C->Perform(MCM_SETMAXSELCOUNT, 3, 0), 1);
    EXPECT_EQ(Range(C), "2005-03-01..2005-03-03");
}

TEST_F(MonthCalTest, DaysOutsideTheLimitsCannotBePicked)
{
    auto* C = MakeCalendar(200, 180);
    const TSystemTime Limits[2] = {Day(2005, 3, 10), Day(2005, 3, 25)};
    C->Perform(MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(Limits));
    Notices.clear();
    for (const char* Outside : {"2005-03-05", "2005-03-28"}) {
        const auto P = Find(C, MCHT_CALENDARDATE, Outside);
        ASSERT_TRUE(P.has_value());
        Click(C, P->X, P->Y);
        EXPECT_EQ(Sel(C), "2005-03-15") << Outside;
    }
    EXPECT_TRUE(Notices.empty());
    // Neither scroll button leaves the only month the limits allow.
    for (UINT Button : {MCHT_TITLEBTNPREV, MCHT_TITLEBTNNEXT}) {
        const auto P = Find(C, Button);
        ASSERT_TRUE(P.has_value());
        Click(C, P->X, P->Y);
        EXPECT_EQ(Shown(C), "2005-03-01..2005-03-31");
    }
}

TEST_F(MonthCalTest, DayStateIsAskedForEveryMonthThatShows)
{
    auto* C = MakeCalendar(200, 180);
    const TSystemTime Start = Day(2004, 12, 15);
    Notices.clear();
    C->Perform(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&Start));
    Pump();
    ASSERT_FALSE(Notices.empty());
    EXPECT_EQ(Notices.back().Code, MCN_GETDAYSTATE);
    EXPECT_EQ(Notices.back().Start, "2004-11-01");
    EXPECT_EQ(Notices.back().Months, 3);
    TSystemTime Range[2];
    EXPECT_EQ(C->Perform(MCM_GETMONTHRANGE, GMR_DAYSTATE, reinterpret_cast<LPARAM>(Range)), 3);
    Notices.clear();
    const auto Next = Find(C, MCHT_TITLEBTNNEXT);
    ASSERT_TRUE(Next.has_value());
    Click(C, Next->X, Next->Y);
    ASSERT_GE(Notices.size(), 1u);
    EXPECT_EQ(Notices.front().Code, MCN_GETDAYSTATE);
    EXPECT_EQ(Notices.front().Start, "2004-12-01");
    // Two months side by side: the month before, both, and the month after.
    auto* Wide = MakeCalendar(380, 180);
    EXPECT_EQ(Wide->Perform(MCM_GETMONTHRANGE, GMR_VISIBLE, 0), 2);
    EXPECT_EQ(Wide->Perform(MCM_GETMONTHRANGE, GMR_DAYSTATE, 0), 4);
    const MONTHDAYSTATE Wrong[2] = {1, 2};
    EXPECT_EQ(Wide->Perform(MCM_SETDAYSTATE, 2, reinterpret_cast<LPARAM>(Wrong)), 0);
}

TEST_F(MonthCalTest, AHeldScrollButtonRepeatsOnTheTimer)
{
    auto* C = MakeCalendar(200, 180);
    const auto Next = Find(C, MCHT_TITLEBTNNEXT);
    ASSERT_TRUE(Next.has_value());
    InjectMouseButton(C->Handle(), 0, true, Next->X, Next->Y);
    Pump();
    EXPECT_EQ(Shown(C).substr(0, 7), "2005-04");
    Time.Advance(499);
    Pump();
    EXPECT_EQ(Shown(C).substr(0, 7), "2005-04");
    Time.Advance(1);
    Pump();
    EXPECT_EQ(Shown(C).substr(0, 7), "2005-05");
    Time.Advance(250);
    Pump();
    EXPECT_EQ(Shown(C).substr(0, 7), "2005-06");
    InjectMouseButton(C->Handle(), 0, false, Next->X, Next->Y);
    Pump();
    Time.Advance(1000);
    Pump();
    EXPECT_EQ(Shown(C).substr(0, 7), "2005-06");
    EXPECT_EQ(Sel(C).substr(0, 7), "2005-06"); // the selection kept in view
    // A month delta of 3 steps three months per click.
    EXPECT_EQ(C->Perform(MCM_SETMONTHDELTA, 3, 0), 1);
    Click(C, Next->X, Next->Y);
    EXPECT_EQ(Shown(C).substr(0, 7), "2005-09");
}

TEST_F(MonthCalTest, SizeDecidesHowManyMonthsShow)
{
    auto* C = MakeCalendar(100, 100);
    TRect Min;
    ASSERT_EQ(C->Perform(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&Min)), 1);
    EXPECT_GE(C->ClientWidth(), Min.Width()); // grown to one month and the today line
    EXPECT_GE(C->ClientHeight(), Min.Height());
    struct TCase {
        int Cols;
        int Rows;
        LRESULT Months;
    };
    for (const TCase& Case : std::vector<TCase>{{1, 1, 1}, {2, 1, 2}, {2, 2, 4}, {3, 1, 3}}) {
        C->SetBounds(0, 0, Min.Width() * Case.Cols + 4, Min.Height() * Case.Rows + 4);
        Pump();
        EXPECT_EQ(C->Perform(MCM_GETMONTHRANGE, GMR_VISIBLE, 0), Case.Months) << Case.Cols;
    }
}

TEST_F(MonthCalTest, ColoursTodayAndFirstDayAreKept)
{
    auto* C = MakeCalendar(200, 180);
    EXPECT_EQ(C->Perform(MCM_SETCOLOR, MCSC_TITLEBK, clGreen), clActiveCaption);
    EXPECT_EQ(C->Perform(MCM_GETCOLOR, MCSC_TITLEBK, 0), clGreen);
    EXPECT_EQ(C->Perform(MCM_GETCOLOR, 9, 0), -1);
    TSystemTime Today;
    C->Perform(MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(&Today));
    EXPECT_EQ(Ymd(Today), "2005-03-15"); // the clock's
    const TSystemTime Other = Day(2006, 1, 2);
    C->Perform(MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(&Other));
    C->Perform(MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(&Today));
    EXPECT_EQ(Ymd(Today), "2006-01-02");
    C->Perform(MCM_SETTODAY, 0, 0);
    C->Perform(MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(&Today));
    EXPECT_EQ(Ymd(Today), "2005-03-15");
    EXPECT_EQ(C->Perform(MCM_SETFIRSTDAYOFWEEK, 0, 0), 6);
    EXPECT_EQ(C->Perform(MCM_GETFIRSTDAYOFWEEK, 0, 0), 0);
    EXPECT_GT(C->Perform(MCM_GETMAXTODAYWIDTH, 0, 0), 0);
}

TEST_F(MonthCalTest, LooksLikeItsGoldenPictures)
{
    struct TCase {
        const char* Name;
        int Width;
        std::function<void(TMonthCalendar*)> Setup;
        bool Focus;
    };
    const std::vector<TCase> Cases = {
        {"monthcal_one", 200, [](TMonthCalendar*) {}, false},
        {"monthcal_two", 380, [](TMonthCalendar*) {}, false},
        {"monthcal_range", 200,
         [](TMonthCalendar* C) {
             C->SetMultiSelect(true);
             C->SetDate(EncodeDate(2005, 3, 8));
             C->SetEndDate(EncodeDate(2005, 3, 12));
         },
         false},
        {"monthcal_weeknumbers", 200, [](TMonthCalendar* C) { C->SetWeekNumbers(true); }, false},
        {"monthcal_limits", 200,
         [](TMonthCalendar* C) {
             C->SetMinDate(EncodeDate(2005, 3, 7));
             C->SetMaxDate(EncodeDate(2005, 3, 24));
         },
         false},
        {"monthcal_focused", 200, [](TMonthCalendar*) {}, true},
    };
    for (const TCase& Case : Cases) {
        auto* C = MakeCalendar(Case.Width, 180, [&](TMonthCalendar* M) {
            M->SetFirstDayOfWeek(dowSunday);
            Case.Setup(M);
        });
        C->OnGetMonthInfo = [](TObject*, unsigned Month, unsigned& Bold) {
            if (Month == 3)
                Bold = (1u << 0) | (1u << 16); // 1 and 17 March
        };
        C->RecreateWnd();
        if (Case.Focus)
            C->SetFocus();
        Pump();
        TRasterDevice Picture(C->Width(), C->Height());
        CopyWindowPicture(C->Handle(), Picture, 0, 0);
        ExpectMatchesGolden(Picture, std::string(Case.Name) + ".png");
        delete C;
        Pump();
    }
}
