// A memo's scroll bars: range, page and position follow the lines, the first visible line and
// the horizontal offset; a thumb drag scrolls the text.
#include "tests/platform/stdctrls/edittest.h"

#include "platform/ui/scrollbars.h"
#include "platform/ui/sysmetrics.h"

#include <string>

namespace {

class MemoScrollBars : public EditTest {
protected:
    static TScrollInfo BarOf(HWND Wnd, int Bar)
    {
        TScrollInfo Info;
        Info.fMask = SIF_ALL;
        GetScrollInfo(Wnd, Bar, Info);
        return Info;
    }
    static WPARAM ThumbTrack(int Pos)
    {
        return MakeWParam(SB_THUMBTRACK, static_cast<unsigned>(Pos));
    }
};

} // namespace

TEST_F(MemoScrollBars, TheVerticalBarFollowsTheLinesAndTheThumbScrollsThem)
{
    TMemo* Memo = MakeMemo();
    Memo->SetScrollBars(ssVertical);
    std::string Text;
    for (int I = 0; I < 30; ++I)
        Text += "line " + std::to_string(I) + "\r\n";
    Memo->SetText(Text); // 31 lines, the last one empty
    ASSERT_TRUE((GetWindowLong(Memo->Handle(), GWL_STYLE) & WS_VSCROLL) != 0);
    TScrollInfo Info = BarOf(Memo->Handle(), SB_VERT);
    const int Lines = static_cast<int>(SendMessage(Memo->Handle(), EM_GETLINECOUNT, 0, 0));
    EXPECT_EQ(Lines, 31);
    EXPECT_EQ(Info.nMax, Lines - 1);
    EXPECT_GT(Info.nPage, 1u); // the whole lines the memo shows
    EXPECT_LT(static_cast<int>(Info.nPage), Lines);
    SendMessage(Memo->Handle(), WM_VSCROLL, ThumbTrack(12), 0);
    EXPECT_EQ(SendMessage(Memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 12);
    EXPECT_EQ(BarOf(Memo->Handle(), SB_VERT).nPos, 12);
    // The caret sent to the end brings the last page into view, and the bar with it.
    PressKey(VK_END, {VK_CONTROL});
    const int First = static_cast<int>(SendMessage(Memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(First, 12);
    EXPECT_EQ(BarOf(Memo->Handle(), SB_VERT).nPos, First);
}

TEST_F(MemoScrollBars, AShortTextLeavesTheBarShownButNothingToScroll)
{
    TMemo* Memo = MakeMemo("one line");
    Memo->SetScrollBars(ssVertical);
    const int Width = Memo->ClientWidth();
    EXPECT_TRUE((GetWindowLong(Memo->Handle(), GWL_STYLE) & WS_VSCROLL) != 0);
    EXPECT_EQ(Width, Memo->Width() - 4 - GetSystemMetrics(SM_CXVSCROLL));
    const TScrollInfo Info = BarOf(Memo->Handle(), SB_VERT);
    EXPECT_EQ(Info.nMax, 0);
    EXPECT_EQ(Info.nPos, 0);
}

TEST_F(MemoScrollBars, TheHorizontalBarCoversTheWidestLineAndTheThumbScrollsIt)
{
    TMemo* Memo = MakeMemo();
    Memo->SetWordWrap(false);
    Memo->SetScrollBars(ssBoth);
    Memo->SetText("short\r\n" + std::string(100, 'w') + "\r\nshort");
    ASSERT_TRUE((GetWindowLong(Memo->Handle(), GWL_STYLE) & WS_HSCROLL) != 0);
    TRect Format;
    SendMessage(Memo->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&Format));
    TScrollInfo Info = BarOf(Memo->Handle(), SB_HORZ);
    EXPECT_GT(Info.nMax, 100 * 4); // a hundred characters, each several pixels wide
    EXPECT_EQ(static_cast<int>(Info.nPage), Format.Width());
    const LRESULT At = SendMessage(Memo->Handle(), EM_POSFROMCHAR, 8, 0);
    SendMessage(Memo->Handle(), WM_HSCROLL, ThumbTrack(60), 0);
    EXPECT_EQ(BarOf(Memo->Handle(), SB_HORZ).nPos, 60);
    const LRESULT Moved = SendMessage(Memo->Handle(), EM_POSFROMCHAR, 8, 0);
    EXPECT_EQ(GetXLParam(static_cast<LPARAM>(Moved)), GetXLParam(static_cast<LPARAM>(At)) - 60);
}
