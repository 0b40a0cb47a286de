// The editor's display: selection runs, the margin and its bookmark glyph, clipping at the right
// margin, HideSelection, OnDrawLine, repainting only changed lines, the scaled vertical bar of a
// long text, scroll messages, page keys and the wheel.
#include "controls/entry/ovcedit.h"

#include "platform/gfx/recordingdevice.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/scrollbars.h"
#include "tests/controls/entry/edtestfixture.h"
#include "tests/support/golden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace {

// The texts drawn, in order, with whether each was drawn in the selection colours.
struct TRun {
    std::string Text;
    bool Selected;
    bool operator==(const TRun& O) const { return Text == O.Text && Selected == O.Selected; }
};

std::ostream& operator<<(std::ostream& S, const TRun& R)
{
    return S << '"' << R.Text << '"' << (R.Selected ? " selected" : "");
}

class EditorDisplayTest : public EditorViewTest {
protected:
    std::vector<TRecordingDevice::TCall> PaintCalls()
    {
        TRecordingDevice Device(Ed->ClientWidth(), Ed->ClientHeight());
        TCanvas Canvas(&Device);
        Ed->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Canvas.Handle()), 0);
        return Device.Calls();
    }
    std::vector<TRun> Runs()
    {
        std::vector<TRun> Result;
        for (const auto& Call : PaintCalls())
            if (Call.Name == "TextOut")
                Result.push_back(
                    TRun{Call.Text, Call.State.TextColor == ColorToRGB(clHighlightText)});
        return Result;
    }
};

} // namespace

TEST_F(EditorDisplayTest, DrawsTheSelectionAsItsOwnRunOfEachLine)
{
    SetText(Joined({"hello world", "second line", "third"}));
    Ed->SetSelection(1, 7, 2, 7);
    EXPECT_EQ(Runs(), (std::vector<TRun>{{"hello ", false},
                                         {"world", true},
                                         {"second", true},
                                         {" line", false},
                                         {"third", false}}));
}

TEST_F(EditorDisplayTest, HideSelectionShowsTheSelectionOnlyWithTheFocus)
{
    auto* Other = new TOvcEditor(Form);
    Other->SetParent(Form);
    Other->SetBounds(10, 220, 100, 50);
    SetText("hello world");
    Ed->SetSelection(1, 1, 1, 6);
    const std::vector<TRun> Shown{{"hello", true}, {" world", false}};
    const std::vector<TRun> Hidden{{"hello world", false}};
    EXPECT_EQ(Runs(), Shown);
    Other->SetFocus();
    Pump();
    EXPECT_EQ(Runs(), Hidden);
    Ed->SetHideSelection(false);
    EXPECT_EQ(Runs(), Shown);
    Ed->SetHideSelection(true);
    Ed->SetFocus();
    Pump();
    EXPECT_EQ(Runs(), Shown);
}

TEST_F(EditorDisplayTest, ALongLineIsClippedAtTheTextAreaAndTheRightMarginStaysEmpty)
{
    SetText(std::string(200, 'x'));
    const int Right = Ed->LeftMargin() + Ed->VisibleColumns() * Ed->CharWidth();
    ASSERT_LE(Right, Ed->ClientWidth() - Ed->RightMargin());
    int Texts = 0;
    for (const auto& Call : PaintCalls()) {
        if (Call.Name != "TextOut")
            continue;
        ++Texts;
        EXPECT_EQ(Call.Text, std::string(static_cast<std::size_t>(Ed->VisibleColumns()), 'x'));
        EXPECT_TRUE(Call.DeviceText.Options & ETO_CLIPPED);
        EXPECT_EQ(Call.DeviceText.Rect.Right, Right);
    }
    EXPECT_EQ(Texts, 1);
}

TEST_F(EditorDisplayTest, DrawsTheFirstBookmarkOfALineAtTheMarginsEdgeCentredInItsRow)
{
    SetText(Joined({"one", "two", "three"}));
    Ed->SetMarkerAt(4, 2, 1);
    Ed->SetMarkerAt(7, 2, 2);
    std::vector<TRecordingDevice::TCall> Glyphs;
    for (const auto& Call : PaintCalls())
        if (Call.Name == "StretchBlt")
            Glyphs.push_back(Call);
    ASSERT_EQ(Glyphs.size(), 1u);
    const int Top = Ed->LineHeight() + (Ed->LineHeight() - 12) / 2;
    EXPECT_EQ(Glyphs[0].Points[0], (TPoint{1, Top}));
    EXPECT_EQ(Glyphs[0].Src.Left, 4 * 12);
    Ed->SetShowBookmarks(false);
    for (const auto& Call : PaintCalls())
        EXPECT_NE(Call.Name, "StretchBlt");
}

TEST_F(EditorDisplayTest, OnDrawLineGetsEachRowAndTheSelectionAndMayDrawItself)
{
    SetText(Joined({"ab\tc", "xyz"}));
    Ed->SetTabSize(4);
    Ed->SetSelection(1, 2, 2, 3);
    struct TSeen {
        std::string S;
        int Line, HBLine, HBCol, HELine, HECol;
    };
    std::vector<TSeen> Seen;
    Ed->OnDrawLine = [&](TObject*, TCanvas*, const TRect&, const std::string& S, int Len, int Line,
                         int Pos, int Count, int HBLine, int HBCol, int HELine, int HECol,
                         bool& WasDrawn) {
        EXPECT_EQ(Len, static_cast<int>(S.size()));
        EXPECT_EQ(Pos, 0);
        EXPECT_EQ(Count, Ed->VisibleColumns());
        Seen.push_back(TSeen{S, Line, HBLine, HBCol, HELine, HECol});
        WasDrawn = Line == 1;
    };
    const std::vector<TRun> Drawn = Runs();
    ASSERT_GE(Seen.size(), 3u);
    EXPECT_EQ(Seen[0].S, "ab  c");
    EXPECT_EQ(Seen[1].S, "xyz");
    EXPECT_EQ(Seen[2].S, "");
    EXPECT_EQ(Seen[0].HBLine, 1);
    EXPECT_EQ(Seen[0].HBCol, 2);
    EXPECT_EQ(Seen[0].HELine, 2);
    EXPECT_EQ(Seen[0].HECol, 3);
    // The first row was the handler's; the editor drew the second.
    EXPECT_EQ(Drawn, (std::vector<TRun>{{"xy", true}, {"z", false}}));
}

TEST_F(EditorDisplayTest, TypingRepaintsOnlyTheChangedLine)
{
    NumberedLines(8);
    Ed->SetCaretPosition(3, 1);
    Pump();
    Ed->PaintClips.clear();
    InjectKeyPress('Q', "q");
    Pump();
    ASSERT_FALSE(Ed->PaintClips.empty());
    for (const TRect& Clip : Ed->PaintClips) {
        EXPECT_EQ(Clip.Top, 2 * Ed->LineHeight());
        EXPECT_EQ(Clip.Bottom, 3 * Ed->LineHeight());
    }
    EXPECT_EQ(Ed->Lines(3), "qline 3");
}

TEST_F(EditorDisplayTest, ReplacingAllRepaintsEveryLineItChanged)
{
    NumberedLines(8);
    Ed->SetCaretPosition(1, 1);
    Pump();
    Ed->PaintClips.clear();
    ASSERT_EQ(Ed->Search("line 2", "LINE 2", soReplace | soReplaceAll | soGlobal), 1);
    ASSERT_EQ(Ed->Search("line", "row", soReplace | soReplaceAll | soGlobal | soMatchCase), 7);
    Pump();
    int Top = INT_MAX, Bottom = 0;
    for (const TRect& Clip : Ed->PaintClips) {
        Top = std::min(Top, Clip.Top);
        Bottom = std::max(Bottom, Clip.Bottom);
    }
    EXPECT_LE(Top, 0);
    EXPECT_GE(Bottom, 8 * Ed->LineHeight());
    EXPECT_EQ(Ed->Lines(1), "row 1");
    EXPECT_EQ(Ed->Lines(2), "LINE 2");
}

TEST_F(EditorDisplayTest, LooksLikeItsGoldenPicture)
{
    SetText(Joined({"The quick brown fox", "\tjumps over",
                    "the lazy dog, and a line long enough "
                    "to run past the right margin",
                    "", "end"}));
    Ed->SetMarginColor(clBtnFace);
    Ed->SetMarkerAt(1, 2, 1);
    Ed->SetSelection(1, 5, 3, 5);
    Pump();
    TRasterDevice Device(Ed->Width(), Ed->Height(), clWhite);
    CopyWindowPicture(Ed->Handle(), Device, 0, 0);
    ExpectMatchesGoldenPng(Device, "entry/editor_display.png");
}

// Scroll bars and scrolling ---------------------------------------------------------------------

namespace {

class EditorScrollTest : public EditorViewTest {
protected:
    void VScroll(int Code, int Pos = 0)
    {
        Ed->Perform(WM_VSCROLL, static_cast<WPARAM>((Pos << 16) | Code), 0);
    }
    TScrollInfo VBar()
    {
        TScrollInfo Info;
        Info.fMask = SIF_ALL;
        GetScrollInfo(Ed->Handle(), SB_VERT, Info);
        return Info;
    }
};

} // namespace

TEST_F(EditorScrollTest, TheThumbOfAHundredThousandLinesStepsSixLinesAndReachesTheLastLine)
{
    NumberedLines(100000);
    ASSERT_EQ(Ed->LineCount(), 100000);
    EXPECT_EQ(Ed->VerticalScale(), 6);
    const TScrollInfo Info = VBar();
    EXPECT_EQ(Info.nMax, 100000 / 6);
    for (int P : {2, 7, 1000, 16000}) {
        VScroll(SB_THUMBTRACK, P);
        EXPECT_EQ(Ed->TopLine(), 6 * P) << P;
        VScroll(SB_THUMBPOSITION, P);
        EXPECT_EQ(Ed->TopLine(), 6 * P) << P;
    }
    VScroll(SB_THUMBPOSITION, 1);
    EXPECT_EQ(Ed->TopLine(), 1);
    // The bottom of the bar's own range shows the last page.
    const int Bottom = Info.nMax - static_cast<int>(Info.nPage) + 1;
    VScroll(SB_THUMBPOSITION, Bottom);
    EXPECT_EQ(Ed->TopLine() + Ed->VisibleLines() - 1, 100000);
    EXPECT_EQ(GetScrollPos(Ed->Handle(), SB_VERT), Bottom);
}

TEST_F(EditorScrollTest, TheBottomThumbShowsTheLastPageAtEveryHeight)
{
    NumberedLines(100000);
    for (int Height = 60; Height <= 400; Height += 37) {
        Ed->SetHeight(Height);
        Pump();
        const TScrollInfo Info = VBar();
        VScroll(SB_THUMBPOSITION, Info.nMax - static_cast<int>(Info.nPage) + 1);
        EXPECT_EQ(Ed->TopLine() + Ed->VisibleLines() - 1, 100000) << Height;
    }
}

TEST_F(EditorScrollTest, LineAndPageRequestsMoveTheTopLineWithinTheText)
{
    NumberedLines(50);
    const int Page = Ed->VisibleLines();
    const int Last = 50 - Page + 1;
    struct TCase {
        int Code, From, Expected;
    };
    const std::vector<TCase> Cases = {
        {SB_LINEDOWN, 1, 2},        {SB_LINEUP, 5, 4},          {SB_LINEUP, 1, 1},
        {SB_PAGEDOWN, 1, 1 + Page}, {SB_PAGEUP, 20, 20 - Page}, {SB_PAGEDOWN, Last, Last},
        {SB_PAGEUP, 2, 1},
    };
    for (const TCase& Case : Cases) {
        Ed->SetTopLine(Case.From);
        VScroll(Case.Code);
        EXPECT_EQ(Ed->TopLine(), Case.Expected) << Case.Code << " from " << Case.From;
        EXPECT_EQ(GetScrollPos(Ed->Handle(), SB_VERT), Ed->TopLine());
    }
}

TEST_F(EditorScrollTest, HorizontalRequestsMoveTheLeftColumn)
{
    SetText(std::string(300, 'x'));
    Ed->Perform(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(Ed->LeftColumn(), 1);
    Ed->Perform(WM_HSCROLL, SB_PAGERIGHT, 0);
    EXPECT_EQ(Ed->LeftColumn(), Ed->VisibleColumns());
    Ed->Perform(WM_HSCROLL, static_cast<WPARAM>((40 << 16) | SB_THUMBPOSITION), 0);
    EXPECT_EQ(Ed->LeftColumn(), 40);
    EXPECT_EQ(GetScrollPos(Ed->Handle(), SB_HORZ), 40);
    Ed->Perform(WM_HSCROLL, SB_PAGELEFT, 0);
    Ed->Perform(WM_HSCROLL, SB_PAGELEFT, 0);
    EXPECT_EQ(Ed->LeftColumn(), 0);
}

TEST_F(EditorScrollTest, PageKeysAndTheWheelScrollAndTellTheTopLine)
{
    NumberedLines(200);
    Ed->SetWheelDelta(3);
    std::vector<int> Told;
    Ed->OnTopLineChanged = [&](TObject*, int Line) { Told.push_back(Line); };
    // A page key keeps one line of the old page in view.
    const int Page = Ed->VisibleLines() - 1;
    InjectKeyPress(VK_NEXT);
    Pump();
    EXPECT_EQ(Ed->TopLine(), 1 + Page);
    const TPoint P = InFormOf(Ed, 50, 50);
    InjectMouseWheel(Form->Handle(), -WHEEL_DELTA, P.X, P.Y);
    Pump();
    EXPECT_EQ(Ed->TopLine(), 4 + Page);
    InjectMouseWheel(Form->Handle(), 2 * WHEEL_DELTA, P.X, P.Y);
    Pump();
    EXPECT_EQ(Ed->TopLine(), Page - 2);
    EXPECT_EQ(Told, (std::vector<int>{1 + Page, 4 + Page, 1 + Page, Page - 2}));
    InjectKeyPress(VK_PRIOR);
    Pump();
    EXPECT_EQ(Ed->TopLine(), 1);
}

TEST_F(EditorScrollTest, ScrollingByLinesRepaintsOnlyTheUncoveredRows)
{
    NumberedLines(100);
    Pump();
    Ed->PaintClips.clear();
    VScroll(SB_LINEDOWN);
    Pump();
    ASSERT_FALSE(Ed->PaintClips.empty());
    for (const TRect& Clip : Ed->PaintClips)
        EXPECT_GE(Clip.Top, (Ed->VisibleLines() - 1) * Ed->LineHeight());
}

TEST_F(EditorDisplayTest, ADisabledEditorDrawsGreyTextAndNoSelection)
{
    SetText("hello world");
    Ed->SetSelection(1, 1, 1, 6);
    Ed->SetEnabled(false);
    const auto Calls = PaintCalls();
    int Texts = 0;
    for (const auto& Call : Calls) {
        if (Call.Name != "TextOut")
            continue;
        ++Texts;
        EXPECT_EQ(Call.Text, "hello world");
        EXPECT_EQ(Call.State.TextColor, ColorToRGB(clGrayText));
    }
    EXPECT_EQ(Texts, 1);
}

TEST_F(EditorDisplayTest, AViewSharingTheTextRepaintsWhatTheOtherChanged)
{
    SetText(Joined({"one", "two"}));
    auto* Other = new TProbeEditor(Form);
    Other->SetParent(Form);
    Other->SetBounds(10, 220, 200, 60);
    Other->Attach(Ed);
    Pump();
    Other->PaintClips.clear();
    InjectKeyPress('Q', "q");
    Pump();
    EXPECT_FALSE(Other->PaintClips.empty());
    EXPECT_EQ(Other->Lines(1), "qone");
}

TEST_F(EditorDisplayTest, WrapToWindowWrapsTwoColumnsBeforeTheRightEdge)
{
    Ed->SetWordWrap(true);
    Ed->SetWrapToWindow(true);
    EXPECT_EQ(Ed->WrapColumn(), Ed->VisibleColumns() - 2);
    Ed->SetWidth(Ed->Width() - 10 * Ed->CharWidth());
    Pump();
    EXPECT_EQ(Ed->WrapColumn(), Ed->VisibleColumns() - 2);
}

TEST_F(EditorDisplayTest, GrowingUntilTheTextFitsShowsItFromTheTop)
{
    NumberedLines(15);
    Ed->SetHeight(5 * Ed->LineHeight());
    Pump();
    Ed->SetTopLine(8);
    Ed->SetHeight(20 * Ed->LineHeight());
    Pump();
    EXPECT_EQ(Ed->TopLine(), 1);
}

TEST_F(EditorDisplayTest, ACtl3DChangeSwapsTheSunkenEdgeForASingleBorder)
{
    EXPECT_TRUE(GetWindowLong(Ed->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    Ed->SetCtl3D(false);
    Pump();
    EXPECT_FALSE(GetWindowLong(Ed->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(GetWindowLong(Ed->Handle(), GWL_STYLE) & WS_BORDER);
}
