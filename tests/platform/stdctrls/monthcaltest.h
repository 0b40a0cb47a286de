// tests/platform/stdctrls/monthcaltest.h: what the month calendar's tests share: a fixed clock,
// a calendar on a shown form whose notifications are recorded, dates written as "yyyy-mm-dd",
// and the points of the calendar's regions found through its own hit test.
#pragma once

#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/rtl/clock.h"
#include "platform/rtl/datetime.h"
#include "platform/stdctrls/monthcalendar.h"
#include "platform/stdctrls/monthcalwindow.h"
#include "platform/ui/messages.h"
#include "platform/ui/notify.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

inline std::string Ymd(const TSystemTime& T)
{
    char Text[32];
    std::snprintf(Text, sizeof Text, "%04u-%02u-%02u", T.wYear, T.wMonth, T.wDay);
    return Text;
}

inline TSystemTime Day(int Y, int M, int D)
{
    TSystemTime T;
    DateTimeToSystemTime(
        EncodeDate(static_cast<Word>(Y), static_cast<Word>(M), static_cast<Word>(D)), T);
    return T;
}

struct TNotice {
    UINT Code = 0;
    std::string Start; // NMSELCHANGE: the selection; NMDAYSTATE: the first month asked
    std::string End;   // NMSELCHANGE only
    int Months = 0;    // NMDAYSTATE only
};

class MonthCalTest : public ListTest {
protected:
    void SetUp() override
    {
        SetNowSource([] { return EncodeDate(2005, 3, 15) + 0.5; });
        ListTest::SetUp();
    }
    void TearDown() override
    {
        ListTest::TearDown();
        SetNowSource({});
    }

    // A calendar at (10, 10) of the given size; its notifications land in Notices.
    TMonthCalendar* MakeCalendar(int Width, int Height,
                                 std::function<void(TMonthCalendar*)> Setup = {})
    {
        auto* C = Place<TMonthCalendar>(10, 10, Width, Height);
        if (Setup)
            Setup(C);
        TWndMethod Old = C->WindowProc;
        C->WindowProc = [this, Old](TMessage& M) {
            if (M.Msg == CN_NOTIFY) {
                const auto* H = reinterpret_cast<const NMHDR*>(M.LParam);
                TNotice N;
                N.Code = H->code;
                if (H->code == MCN_SELCHANGE || H->code == MCN_SELECT) {
                    const auto* S = reinterpret_cast<const NMSELCHANGE*>(H);
                    N.Start = Ymd(S->stSelStart);
                    N.End = Ymd(S->stSelEnd);
                } else if (H->code == MCN_GETDAYSTATE) {
                    const auto* D = reinterpret_cast<const NMDAYSTATE*>(H);
                    N.Start = Ymd(D->stStart);
                    N.Months = D->cDayState;
                }
                Notices.push_back(N);
            }
            Old(M);
        };
        C->HandleNeeded();
        Pump();
        return C;
    }

    static std::string Sel(TWinControl* C)
    {
        TSystemTime T;
        if (C->Perform(MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&T)) == 0)
            return "none";
        return Ymd(T);
    }
    static std::string Range(TWinControl* C)
    {
        TSystemTime T[2];
        if (C->Perform(MCM_GETSELRANGE, 0, reinterpret_cast<LPARAM>(T)) == 0)
            return "none";
        return Ymd(T[0]) + ".." + Ymd(T[1]);
    }
    // The first and last fully shown days.
    static std::string Shown(TWinControl* C)
    {
        TSystemTime T[2];
        C->Perform(MCM_GETMONTHRANGE, GMR_VISIBLE, reinterpret_cast<LPARAM>(T));
        return Ymd(T[0]) + ".." + Ymd(T[1]);
    }
    static MCHITTESTINFO Hit(TWinControl* C, TPoint P)
    {
        MCHITTESTINFO Info;
        Info.pt = P;
        C->Perform(MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&Info));
        return Info;
    }
    // The centre of the region the hit test calls Code (and, given a date, of that date).
    static std::optional<TPoint> Find(TWinControl* C, UINT Code, const std::string& Date = {})
    {
        int L = 1 << 30, T = 1 << 30, R = -1, B = -1;
        for (int Y = 0; Y < C->ClientHeight(); Y += 2)
            for (int X = 0; X < C->ClientWidth(); X += 2) {
                const MCHITTESTINFO Info = Hit(C, TPoint{X, Y});
                if (Info.uHit != Code || (!Date.empty() && Ymd(Info.st) != Date))
                    continue;
                L = std::min(L, X);
                T = std::min(T, Y);
                R = std::max(R, X);
                B = std::max(B, Y);
            }
        if (R < 0)
            return std::nullopt;
        return TPoint{(L + R) / 2, (T + B) / 2};
    }
    static std::vector<UINT> Codes(const std::vector<TNotice>& Log)
    {
        std::vector<UINT> Result;
        for (const TNotice& N : Log)
            Result.push_back(N.Code);
        return Result;
    }
    void Drag(TWinControl* C, TPoint From, TPoint To)
    {
        InjectMouseButton(C->Handle(), 0, true, From.X, From.Y);
        InjectMouseMove(C->Handle(), To.X, To.Y);
        InjectMouseButton(C->Handle(), 0, false, To.X, To.Y);
        Pump();
    }

    std::vector<TNotice> Notices;
};
