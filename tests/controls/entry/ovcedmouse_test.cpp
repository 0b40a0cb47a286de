// The editor and the mouse: clicks place the caret or extend the selection, the margin selects
// whole paragraphs, a drag below the window scrolls at a pace set by the distance (on virtual
// time, across the tick counter's wrap too), and double clicks select a word or a paragraph.
#include "controls/entry/ovcedit.h"

#include "platform/rtl/clock.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/sysmetrics.h"
#include "tests/controls/entry/edtestfixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

class EditorMouseTest : public EditorViewTest {
protected:
    void Click(TPoint P, bool Shift = false)
    {
        if (Shift)
            InjectKeyDown(VK_SHIFT);
        ClickAt(Ed, P.X, P.Y);
        if (Shift)
            InjectKeyUp(VK_SHIFT);
        Pump();
    }
    void DoubleClick(TPoint P)
    {
        ClickAt(Ed, P.X, P.Y);
        ClickAt(Ed, P.X, P.Y);
        Pump();
    }
    TPoint Margin(int Row) const { return TPoint{3, (Row - 1) * Ed->LineHeight() + 2}; }
};

} // namespace

TEST_F(EditorMouseTest, AClickPlacesTheCaretAtTheNearestCharacterBoundary)
{
    SetText(Joined({"hello world", "ab", "third line"}));
    const int CW = Ed->CharWidth();
    struct TCase {
        TPoint At;
        int Line, Pos;
    };
    const std::vector<TCase> Cases = {
        {Cell(1, 4), 1, 4},
        {TPoint{Cell(1, 4).X + CW - 2, Cell(1, 4).Y}, 1, 5}, // the right half of a character
        {Cell(2, 9), 2, 3},                                  // past the end of the line
        {Cell(3, 1), 3, 1},
        {TPoint{Ed->ClientWidth() - 2, Cell(1, 1).Y}, 1, 12}, // right of the text area
        {TPoint{Cell(1, 2).X, Ed->ClientHeight() - 2}, 3, 2}, // below the text
    };
    for (const TCase& Case : Cases) {
        Click(Case.At);
        EXPECT_EQ(Ed->CaretLine(), Case.Line) << Case.At.X << "," << Case.At.Y;
        EXPECT_EQ(Ed->CaretLinePos(), Case.Pos) << Case.At.X << "," << Case.At.Y;
        EXPECT_FALSE(Ed->HasSelection());
    }
}

TEST_F(EditorMouseTest, ShiftClickExtendsTheSelection)
{
    SetText(Joined({"hello world", "second"}));
    Click(Cell(1, 7));
    Click(Cell(2, 4), true);
    EXPECT_EQ(Ed->SelectedText(), "world\r\nsec");
}

TEST_F(EditorMouseTest, TheMarginSelectsWholeParagraphs)
{
    SetText(Joined({"one", "two", "three", "four"}));
    Click(Margin(2));
    EXPECT_EQ(Ed->SelectedText(), "two\r\n");
    Click(Margin(4), true);
    EXPECT_EQ(Ed->SelectedText(), "two\r\nthree\r\nfour");
    Click(Margin(1), true);
    EXPECT_EQ(Ed->SelectedText(), "one\r\ntwo\r\n");
}

TEST_F(EditorMouseTest, ADoubleClickSelectsAWordAndTheBlanksAfterIt)
{
    SetText(Joined({"alpha beta  gamma", "x"}));
    struct TCase {
        int Col;
        const char* Word;
    };
    const std::vector<TCase> Cases = {{1, "alpha "}, {8, "beta  "}, {17, "gamma"}};
    for (const TCase& Case : Cases) {
        Time.Advance(1000);
        DoubleClick(Cell(1, Case.Col));
        EXPECT_EQ(Ed->SelectedText(), Case.Word) << Case.Col;
    }
    Time.Advance(1000);
    DoubleClick(Margin(2));
    EXPECT_EQ(Ed->SelectedText(), "x");
}

TEST_F(EditorMouseTest, AClickInAnEmptyTextOnlyTakesTheFocus)
{
    auto* Other = new TOvcEditor(Form);
    Other->SetParent(Form);
    Other->SetBounds(10, 220, 100, 50);
    Other->SetFocus();
    Pump();
    Click(Cell(1, 3));
    EXPECT_TRUE(Ed->Focused());
    EXPECT_EQ(GetCapture(), HWND{});
    EXPECT_EQ(Ed->CaretLine(), 1);
}

namespace {

// A drag from the first line to Below pixels under the window, released after HoldMs.
struct TDragRun {
    std::vector<std::uint32_t> Steps; // the ticks of the top line's changes
    int TopLine = 0;
};

class EditorDragTest : public EditorViewTest {
protected:
    void SetUp() override
    {
        EditorViewTest::SetUp();
        NumberedLines(300);
    }
    TDragRun Drag(int Below, int HoldMs)
    {
        Ed->SetCaretPosition(1, 1);
        Ed->SetTopLine(1);
        Pump();
        TDragRun Run;
        Ed->OnTopLineChanged = [&Run](TObject*, int) { Run.Steps.push_back(GetTickCount()); };
        const TPoint Start = InFormOf(Ed, Cell(1, 3).X, Cell(1, 3).Y);
        const TPoint Outside = InFormOf(Ed, Cell(1, 3).X, Ed->ClientHeight() - 1 + Below);
        After(20, [this, Outside] { InjectMouseMove(Form->Handle(), Outside.X, Outside.Y); });
        After(20 + HoldMs, [this, Outside] {
            InjectMouseButton(Form->Handle(), 0, false, Outside.X, Outside.Y);
        });
        InjectMouseMove(Form->Handle(), Start.X, Start.Y);
        InjectMouseButton(Form->Handle(), 0, true, Start.X, Start.Y);
        Pump();
        Run.TopLine = Ed->TopLine();
        Ed->OnTopLineChanged = nullptr;
        return Run;
    }
};

class EditorDragAcrossTheTickWrap : public EditorDragTest {
protected:
    EditorDragAcrossTheTickWrap() { Time.Advance(0xFFFFFFFFu - Time.Now() - 300); }
};

void ExpectPace(const TDragRun& Run, int Pause, int HoldMs)
{
    ASSERT_GE(Run.Steps.size(), 3u);
    for (std::size_t I = 1; I < Run.Steps.size(); ++I)
        EXPECT_EQ(static_cast<int>(Run.Steps[I] - Run.Steps[I - 1]), Pause) << I;
    EXPECT_NEAR(static_cast<int>(Run.Steps.size()), HoldMs / Pause, 2);
}

} // namespace

TEST_F(EditorDragTest, DraggingBelowTheWindowSelectsAndScrollsFasterFartherOut)
{
    const int Bar = GetSystemMetrics(SM_CYHSCROLL);
    struct TCase {
        int Below;
        int Pause;
    };
    // 3 x the bar's height less the distance, never below 10 ms.
    const std::vector<TCase> Cases = {{5, 3 * Bar - 5}, {20, 3 * Bar - 20}, {500, 10}};
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Below);
        const TDragRun Run = Drag(Case.Below, 600);
        ExpectPace(Run, Case.Pause, 600);
        EXPECT_GT(Run.TopLine, 1);
        EXPECT_EQ(Ed->CaretLine(), Ed->TopLine() + Ed->VisibleLines() - 1);
        EXPECT_EQ(Ed->SelStart().Para, 1);
        EXPECT_EQ(Ed->SelStart().Pos, 3);
        EXPECT_EQ(GetCapture(), HWND{});
    }
}

TEST_F(EditorDragAcrossTheTickWrap, KeepsItsPace)
{
    const int Pause = 3 * GetSystemMetrics(SM_CYHSCROLL) - 20;
    const TDragRun Run = Drag(20, 600);
    ExpectPace(Run, Pause, 600);
}

TEST_F(EditorMouseTest, TheMarginShowsItsOwnCursor)
{
    SetText("text");
    MouseMoveAt(Ed, 3, 5);
    EXPECT_EQ(GetCursor(), crOvcMargin);
    MouseMoveAt(Ed, Cell(1, 3).X, 5);
    EXPECT_EQ(GetCursor(), crIBeam);
}

TEST_F(EditorMouseTest, AShiftDoubleClickExtendsTheSelectionToTheWord)
{
    SetText(Joined({"alpha beta  gamma", "x"}));
    Click(Cell(1, 7));
    Time.Advance(1000);
    InjectKeyDown(VK_SHIFT);
    DoubleClick(Cell(1, 14));
    InjectKeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(Ed->SelectedText(), "beta  gamma");
    Time.Advance(1000);
    Click(Margin(1));
    Time.Advance(1000);
    InjectKeyDown(VK_SHIFT);
    DoubleClick(Margin(2));
    InjectKeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(Ed->SelectedText(), "alpha beta  gamma\r\nx");
}
