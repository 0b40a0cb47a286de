// The memo: Lines read and written through the window, word wrap at blanks, Up and Down keeping
// their column, and the keys a memo wants from the dialog (WantReturns, WantTabs).
#include "tests/platform/stdctrls/edittest.h"

#include "platform/rtl/stringlist.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace {

LRESULT Send(TWinControl* Control, UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0)
{
    return SendMessage(Control->Handle(), Msg, WParam, LParam);
}

} // namespace

TEST_F(EditTest, MemoLinesAddInsertDeleteAndPutRoundTripThroughTheText)
{
    TMemo* Memo = MakeMemo();
    TStrings* Lines = Memo->Lines();
    struct TCase {
        const char* What;
        std::function<void()> Act;
        std::string Text;
        int Count;
    };
    const std::vector<TCase> Cases = {
        {"add to an empty memo", [&] { Lines->Add("one"); }, "one\r\n", 1},
        {"add", [&] { Lines->Add("thr\xC3\xA9\xFF"); }, "one\r\nthr\xC3\xA9\xFF\r\n", 2},
        {"insert between", [&] { Lines->Insert(1, "two"); }, "one\r\ntwo\r\nthr\xC3\xA9\xFF\r\n",
         3},
        {"insert first", [&] { Lines->Insert(0, "zero"); },
         "zero\r\none\r\ntwo\r\nthr\xC3\xA9\xFF\r\n", 4},
        {"put", [&] { Lines->SetStrings(1, "ONE"); }, "zero\r\nONE\r\ntwo\r\nthr\xC3\xA9\xFF\r\n",
         4},
        {"delete the last", [&] { Lines->Delete(3); }, "zero\r\nONE\r\ntwo\r\n", 3},
        {"delete the first", [&] { Lines->Delete(0); }, "ONE\r\ntwo\r\n", 2},
        {"a text without a last break", [&] { Memo->SetText("a\r\nb"); }, "a\r\nb", 2},
        {"add after it", [&] { Lines->Add("c"); }, "a\r\nb\r\nc", 3},
        {"clear", [&] { Lines->Clear(); }, "", 0},
    };
    for (const TCase& Case : Cases) {
        Case.Act();
        EXPECT_EQ(Memo->Text(), Case.Text) << Case.What;
        EXPECT_EQ(Lines->Count(), Case.Count) << Case.What;
    }
    Memo->SetText("x\r\n\xC3\xA9\xC3\xA9\r\n\r\nlast");
    const std::vector<std::string> Expected = {"x", "\xC3\xA9\xC3\xA9", "", "last"};
    ASSERT_EQ(Lines->Count(), 4);
    for (int I = 0; I < 4; ++I)
        EXPECT_EQ(Lines->Strings(I), Expected[static_cast<std::size_t>(I)]);
}

TEST_F(EditTest, MemoWrapsAtBlanksAndNotWithoutWordWrap)
{
    TMemo* Memo = MakeMemo();
    const std::string Words = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda";
    Memo->SetText(Words);
    const auto Count = static_cast<int>(Send(Memo, EM_GETLINECOUNT));
    ASSERT_GT(Count, 1);
    TRect R;
    Send(Memo, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&R));
    for (int Line = 1; Line < Count; ++Line) {
        const auto Start =
            static_cast<std::size_t>(Send(Memo, EM_LINEINDEX, static_cast<WPARAM>(Line)));
        EXPECT_EQ(Words[Start - 1], ' ') << "line " << Line << " starts inside a word";
        // No line runs past the right edge (its last character ends inside).
        const auto Prev =
            static_cast<std::size_t>(Send(Memo, EM_LINEINDEX, static_cast<WPARAM>(Line - 1)));
        const LRESULT LastChar = Send(Memo, EM_POSFROMCHAR, Start - 2);
        EXPECT_LT(GetXLParam(LastChar), R.Right) << "line " << Line - 1 << " from " << Prev;
    }
    // Lines are the shown lines; the text keeps no break of its own.
    EXPECT_EQ(Memo->Text(), Words);
    EXPECT_EQ(Memo->Lines()->Count(), Count);
    Memo->SetWordWrap(false);
    EXPECT_EQ(Send(Memo, EM_GETLINECOUNT), 1);
    EXPECT_EQ(Memo->Text(), Words);
}

TEST_F(EditTest, MemoUpAndDownKeepTheColumn)
{
    TMemo* Memo = MakeMemo("abcdef\r\nab\r\nabcdefgh\r\n\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
    Memo->SetCaretPos(TPoint{5, 0});
    struct TCase {
        int Key;
        TPoint Caret;
    };
    const std::vector<TCase> Cases = {
        {VK_DOWN, {2, 1}}, // a short line: its end
        {VK_DOWN, {5, 2}}, // the column comes back
        {VK_DOWN, {8, 3}}, // four two-byte characters: the fifth position is the end
        {VK_UP, {5, 2}},    {VK_HOME, {0, 2}}, {VK_END, {8, 2}},
        {VK_PRIOR, {6, 0}}, // a page up from the end of line 2: the first line, its end
    };
    for (std::size_t I = 0; I < Cases.size(); ++I) {
        PressKey(Cases[I].Key);
        EXPECT_EQ(Memo->CaretPos(), Cases[I].Caret) << "step " << I;
    }
}

TEST_F(EditTest, MemoReturnsAndTabsAsWantReturnsAndWantTabsSay)
{
    struct TCase {
        bool WantReturns;
        bool WantTabs;
        UINT DlgCode; // what the memo asks of the dialog
        std::string AfterEnter;
        std::string AfterTab;
        bool KeepsFocusOnTab;
    };
    const std::vector<TCase> Cases = {
        {true, false, DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS, "a\r\n",
         "a\r\n", false},
        {false, false, DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS, "a", "a", false},
        {true, true,
         DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS | DLGC_WANTTAB,
         "a\r\n", "a\r\n\t", true},
    };
    for (const TCase& Case : Cases) {
        TMemo* Memo = Make<TMemo>(10, 40, 200, 120);
        TEdit* Other = Make<TEdit>(10, 200, 100, 21);
        Memo->SetWantReturns(Case.WantReturns);
        Memo->SetWantTabs(Case.WantTabs);
        Memo->SetText("a");
        Focus(Memo);
        Memo->SetSelStart(1);
        EXPECT_EQ(static_cast<UINT>(Send(Memo, WM_GETDLGCODE)), Case.DlgCode);
        PressKey(VK_RETURN);
        EXPECT_EQ(Memo->Text(), Case.AfterEnter) << Case.WantReturns;
        PressKey(VK_TAB);
        EXPECT_EQ(Memo->Text(), Case.AfterTab) << Case.WantTabs;
        EXPECT_EQ(Memo->Focused(), Case.KeepsFocusOnTab);
        // Ctrl+Enter breaks the line whatever WantReturns says.
        Focus(Memo);
        Memo->SetText("b");
        Memo->SetSelStart(1);
        PressKey(VK_RETURN, {VK_CONTROL});
        EXPECT_EQ(Memo->Text(), "b\r\n");
        delete Memo;
        delete Other;
    }
}

TEST_F(EditTest, SingleLineEditIgnoresReturnAndTab)
{
    TEdit* Edit = MakeEdit("x");
    Edit->SetSelStart(1);
    PressKey(VK_RETURN);
    EXPECT_EQ(Edit->Text(), "x");
    EXPECT_EQ(Send(Edit, WM_GETDLGCODE), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
}

TEST_F(EditTest, TheCaretStaysInSightAsItMoves)
{
    TMemo* Memo = MakeMemo();
    std::string Text;
    for (int I = 0; I < 40; ++I)
        Text += "line " + std::to_string(I) + "\r\n";
    Memo->SetText(Text);
    TRect R;
    Send(Memo, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&R));
    const auto CaretInSight = [&](const char* When) {
        DWORD Caret = 0;
        Send(Memo, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&Caret));
        const LRESULT At = Send(Memo, EM_POSFROMCHAR, Caret);
        if (At == -1)
            return; // the end of the text has no character to place
        EXPECT_GE(GetYLParam(At), R.Top) << When;
        EXPECT_LE(GetYLParam(At), R.Bottom - 1) << When;
    };
    struct TCase {
        int Key;
        std::vector<int> Held;
        bool Scrolled; // the top line is no longer the first
    };
    const std::vector<TCase> Cases = {
        {VK_END, {VK_CONTROL}, true}, {VK_UP, {}, true},     {VK_HOME, {VK_CONTROL}, false},
        {VK_NEXT, {}, true},          {VK_PRIOR, {}, false},
    };
    for (const TCase& Case : Cases) {
        PressKey(Case.Key, Case.Held);
        EXPECT_EQ(Send(Memo, EM_GETFIRSTVISIBLELINE) > 0, Case.Scrolled) << "key " << Case.Key;
        CaretInSight("after a key");
    }
    // EM_LINESCROLL moves the view, not the caret.
    Send(Memo, EM_LINESCROLL, 0, 5);
    EXPECT_EQ(Send(Memo, EM_GETFIRSTVISIBLELINE), 5);
    EXPECT_EQ(Memo->CaretPos().Y, 0);
    Send(Memo, EM_SCROLLCARET);
    EXPECT_EQ(Send(Memo, EM_GETFIRSTVISIBLELINE), 0);

    // A single-line edit scrolls sideways as the text grows past its width.
    TEdit* Edit = MakeEdit();
    TypeText(std::string(60, 'w'));
    Send(Edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&R));
    EXPECT_GT(Send(Edit, EM_GETFIRSTVISIBLELINE), 0);
    const LRESULT Last = Send(Edit, EM_POSFROMCHAR, 59);
    EXPECT_GE(GetXLParam(Last), R.Left);
    EXPECT_LT(GetXLParam(Last), R.Right);
    PressKey(VK_HOME);
    EXPECT_EQ(Send(Edit, EM_GETFIRSTVISIBLELINE), 0);
}

TEST_F(EditTest, PropertiesBecomeWindowStyles)
{
    struct TCase {
        const char* What;
        std::function<void(TMemo*)> Set;
        LONG_PTR StyleOn;
        LONG_PTR StyleOff;
        LONG_PTR ExStyleOn;
    };
    const std::vector<TCase> Cases = {
        {"defaults", [](TMemo*) {}, ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
         LONG_PTR{ES_AUTOHSCROLL} | WS_HSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE},
        {"no border", [](TMemo* M) { M->SetBorderStyle(bsNone); }, ES_MULTILINE, 0, 0},
        {"vertical bar", [](TMemo* M) { M->SetScrollBars(ssVertical); }, WS_VSCROLL, WS_HSCROLL,
         WS_EX_CLIENTEDGE},
        {"both bars, wrapping", [](TMemo* M) { M->SetScrollBars(ssBoth); }, WS_VSCROLL, WS_HSCROLL,
         0},
        {"both bars, no wrap",
         [](TMemo* M) {
             M->SetWordWrap(false);
             M->SetScrollBars(ssBoth);
         },
         LONG_PTR{WS_VSCROLL} | WS_HSCROLL | ES_AUTOHSCROLL, 0, 0},
        {"centred, read-only",
         [](TMemo* M) {
             M->SetAlignment(taCenter);
             M->SetReadOnly(true);
         },
         ES_CENTER | ES_READONLY, ES_RIGHT, 0},
        {"upper case, selection kept",
         [](TMemo* M) {
             M->SetCharCase(ecUpperCase);
             M->SetHideSelection(false);
         },
         ES_UPPERCASE | ES_NOHIDESEL, ES_LOWERCASE, 0},
    };
    for (const TCase& Case : Cases) {
        TMemo* Memo = Make<TMemo>(10, 40, 200, 120);
        Case.Set(Memo);
        const LONG_PTR Style = GetWindowLong(Memo->Handle(), GWL_STYLE);
        const LONG_PTR ExStyle = GetWindowLong(Memo->Handle(), GWL_EXSTYLE);
        EXPECT_EQ(Style & Case.StyleOn, Case.StyleOn) << Case.What;
        EXPECT_EQ(Style & Case.StyleOff, 0) << Case.What;
        EXPECT_EQ(ExStyle & Case.ExStyleOn, Case.ExStyleOn) << Case.What;
        delete Memo;
    }
}

TEST_F(EditTest, TheCaretIsTheFocusedEditsAndFollowsTheSelection)
{
    TEdit* Edit = MakeEdit("caret");
    TEdit* Other = Make<TEdit>(10, 100, 100, 21);
    Edit->SetSelStart(3);
    TCaretState Caret = GetCaretState();
    EXPECT_EQ(Caret.Owner, Edit->Handle());
    const LRESULT At = SendMessage(Edit->Handle(), EM_POSFROMCHAR, 3, 0);
    EXPECT_EQ(Caret.Pos, (TPoint{GetXLParam(At), GetYLParam(At)}));
    EXPECT_GT(Caret.Height, 0);
    Focus(Other);
    EXPECT_EQ(GetCaretState().Owner, Other->Handle());
}

TEST_F(EditTest, MemoTakesManyLinesAtOnceAsOneChange)
{
    TMemo* Memo = MakeMemo("old");
    std::string Text;
    for (int I = 0; I < 20000; ++I)
        Text += "line number " + std::to_string(I) + "\r\n";
    const auto Start = std::chrono::steady_clock::now();
    Memo->Lines()->SetText(Text);
    const double Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    EXPECT_LT(Seconds, 5.0);
    EXPECT_EQ(Memo->Text(), Text);
    EXPECT_EQ(Memo->Lines()->Count(), 20000);
    EXPECT_EQ(Memo->Lines()->Strings(12345), "line number 12345");
    EXPECT_EQ(Changes, 2); // cleared, then filled
    // As setting the text does: the caret at the start, the first line in view.
    EXPECT_EQ(Memo->SelStart(), 0);
    EXPECT_EQ(Send(Memo, EM_GETFIRSTVISIBLELINE), 0);

    TStringList Other;
    Other.Add("a");
    Other.Add("b");
    Memo->Lines()->Assign(&Other);
    EXPECT_EQ(Memo->Text(), "a\r\nb\r\n");
    Memo->Lines()->BeginUpdate();
    Memo->Lines()->Add("c");
    EXPECT_EQ(Memo->Lines()->Strings(2), "c"); // asked during the update: already there
    Memo->Lines()->Add("d");
    Memo->Lines()->EndUpdate();
    EXPECT_EQ(Memo->Text(), "a\r\nb\r\nc\r\nd\r\n");
}
