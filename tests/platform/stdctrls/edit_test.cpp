// The edit window's messages and the TCustomEdit properties over them: selection, lines and
// positions, change notifications, the modified flag, AutoSelect, the selection's colours, and
// a megabyte of invalid UTF-8 that comes back byte for byte, fast.
#include "tests/platform/stdctrls/edittest.h"

#include "platform/rtl/strings.h"
#include "platform/ui/backbuffer.h"
#include "platform/ui/paint.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace {

LRESULT Send(TWinControl* Control, UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0)
{
    return SendMessage(Control->Handle(), Msg, WParam, LParam);
}

// 1 MB of bytes that form no UTF-8 (continuation bytes, bytes that never start a character,
// truncated sequences), without NUL.
std::string InvalidUtf8Megabyte()
{
    std::string S;
    S.reserve(1 << 20);
    const char Pieces[][4] = {"\x80", "\xFF", "\xC3", "\xE2\x82", "\xF0\x9F", "\xC0", "a\xBF"};
    for (std::size_t I = 0; S.size() < (1u << 20); ++I)
        S += Pieces[I % 7];
    S.resize(1 << 20);
    return S;
}

// The time a megabyte may take: a second in an optimised build; sanitizers slow every memory
// access down, so they get more.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr double MegabyteSeconds = 30.0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr double MegabyteSeconds = 30.0;
#else
constexpr double MegabyteSeconds = 1.0;
#endif
#else
constexpr double MegabyteSeconds = 1.0;
#endif

} // namespace

TEST_F(EditTest, SelectionMessagesSnapToCharacterBoundaries)
{
    TEdit* Edit = MakeEdit("a\xC3\xA9z\xE2\x82\xAC");
    struct TCase {
        int Start;
        int End;
        DWORD GotStart;
        DWORD GotEnd;
    };
    const std::vector<TCase> Cases = {
        {0, -1, 0, 7},                // all
        {1, 3, 1, 3},   {2, 2, 1, 1}, // inside é: back to its start
        {5, 6, 4, 4},                 // inside €
        {3, 100, 3, 7}, {7, 0, 0, 7}, // the anchor may follow the caret
    };
    for (const TCase& Case : Cases) {
        Send(Edit, EM_SETSEL, static_cast<WPARAM>(Case.Start), Case.End);
        DWORD Start = 99;
        DWORD End = 99;
        Send(Edit, EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
        EXPECT_EQ(Start, Case.GotStart) << Case.Start << ".." << Case.End;
        EXPECT_EQ(End, Case.GotEnd) << Case.Start << ".." << Case.End;
    }
}

TEST_F(EditTest, LineMessagesOfAMultiLineEdit)
{
    TMemo* Memo = MakeMemo("first\r\nsecond line\r\n\r\nlast");
    struct TCase {
        UINT Msg;
        WPARAM WParam;
        LRESULT Result;
    };
    const std::vector<TCase> Cases = {
        {EM_GETLINECOUNT, 0, 4}, {EM_LINEINDEX, 0, 0},     {EM_LINEINDEX, 1, 7},
        {EM_LINEINDEX, 2, 20},   {EM_LINEINDEX, 3, 22},    {EM_LINEINDEX, 4, -1},
        {EM_LINELENGTH, 0, 5},   {EM_LINELENGTH, 9, 11},   {EM_LINELENGTH, 20, 0},
        {EM_LINELENGTH, 23, 4},  {EM_LINEFROMCHAR, 0, 0},  {EM_LINEFROMCHAR, 6, 0},
        {EM_LINEFROMCHAR, 7, 1}, {EM_LINEFROMCHAR, 25, 3},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(Send(Memo, Case.Msg, Case.WParam), Case.Result)
            << "message " << Case.Msg << " with " << Case.WParam;
    char Buffer[32] = {};
    const std::uint16_t Size = sizeof Buffer;
    std::memcpy(Buffer, &Size, sizeof Size);
    ASSERT_EQ(Send(Memo, EM_GETLINE, 1, reinterpret_cast<LPARAM>(Buffer)), 11);
    EXPECT_EQ(std::string(Buffer, 11), "second line");
}

TEST_F(EditTest, CharFromPosAndPosFromCharRoundTrip)
{
    TMemo* Memo = MakeMemo("one\r\nt\xC3\xA9o\r\nthree");
    const std::vector<int> Positions = {0, 1, 3, 5, 6, 8, 9, 11, 15};
    for (int Pos : Positions) {
        const LRESULT At = Send(Memo, EM_POSFROMCHAR, static_cast<WPARAM>(Pos));
        ASSERT_NE(At, -1) << Pos;
        const LRESULT Back =
            Send(Memo, EM_CHARFROMPOS, 0, MakeLParam(GetXLParam(At), GetYLParam(At)));
        EXPECT_EQ(static_cast<int>(LoWord(static_cast<std::uintptr_t>(Back))), Pos);
        EXPECT_EQ(static_cast<int>(HiWord(static_cast<std::uintptr_t>(Back))),
                  Send(Memo, EM_LINEFROMCHAR, static_cast<WPARAM>(Pos)));
    }
    EXPECT_EQ(Send(Memo, EM_POSFROMCHAR, 20), -1);
}

TEST_F(EditTest, FormattingRectangleAndMarginsPlaceTheText)
{
    TEdit* Edit = MakeEdit("abc");
    Send(Edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MakeLParam(7, 3));
    EXPECT_EQ(Send(Edit, EM_GETMARGINS), MakeLParam(7, 3));
    TRect R;
    Send(Edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&R));
    EXPECT_EQ(R.Left, 7);
    EXPECT_EQ(R.Right, Edit->ClientWidth() - 3);
    EXPECT_EQ(GetXLParam(Send(Edit, EM_POSFROMCHAR, 0)), 7);
    const TRect Wanted = Rect(20, 4, 150, 18);
    Send(Edit, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&Wanted));
    Send(Edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&R));
    EXPECT_EQ(R, Wanted);
    const LRESULT At = Send(Edit, EM_POSFROMCHAR, 0);
    EXPECT_EQ(GetXLParam(At), 20);
    EXPECT_EQ(GetYLParam(At), 4);
}

TEST_F(EditTest, ChangesAreToldOncePerEditAsOnChange)
{
    TEdit* Edit = MakeEdit("abc");
    struct TCase {
        const char* What;
        std::function<void()> Act;
        int Changes; // OnChange calls it makes
    };
    const std::vector<TCase> Cases = {
        {"typing a character", [] { TypeText("x"); }, 1},
        {"typing a two-byte character", [] { TypeText("\xC3\xA9"); }, 1},
        {"setting the text", [Edit] { Edit->SetText("new"); }, 1},
        {"the same text again", [Edit] { Edit->SetText("new"); }, 0},
        {"moving the caret", [] { PressKey(VK_LEFT); }, 0},
        {"replacing the selection", [Edit] { Edit->SetSelText("!"); }, 1},
        {"undo of what SelText did", [Edit] { Edit->Undo(); }, 0}, // not undoable
        {"typing again", [] { TypeText("y"); }, 1},
        {"undo", [Edit] { Edit->Undo(); }, 1},
        {"selecting all", [Edit] { Edit->SelectAll(); }, 0},
        {"clearing the selection", [Edit] { Edit->ClearSelection(); }, 1},
        {"clearing nothing", [Edit] { Edit->ClearSelection(); }, 0},
    };
    for (const TCase& Case : Cases) {
        Changes = 0;
        Case.Act();
        EXPECT_EQ(Changes, Case.Changes) << Case.What;
    }
}

TEST_F(EditTest, ModifiedFollowsUserEditsAndSurvivesANewWindow)
{
    TEdit* Edit = MakeEdit("text");
    EXPECT_FALSE(Edit->Modified());
    TypeText("x");
    EXPECT_TRUE(Edit->Modified());
    Edit->SetModified(false);
    EXPECT_FALSE(Edit->Modified());
    Edit->SetSelText("y");
    EXPECT_TRUE(Edit->Modified());
    const std::string Before = Edit->Text();
    Edit->SetCharCase(ecUpperCase); // the window is made anew
    EXPECT_TRUE(Edit->Modified());
    EXPECT_EQ(Edit->Text(), AnsiUpperCase(Before));
    Edit->SetText("set");
    EXPECT_FALSE(Edit->Modified());
}

TEST_F(EditTest, AutoSelectSelectsAllWhenTabbedInto)
{
    TEdit* First = MakeEdit("first");
    TEdit* Second = Make<TEdit>(10, 40, 200, 21);
    Second->SetText("second");
    Second->SetAutoSelect(true);
    PressKey(VK_TAB);
    ASSERT_TRUE(Second->Focused());
    EXPECT_EQ(Second->SelText(), "second");
    First->SetAutoSelect(false);
    First->SetSelStart(2);
    PressKey(VK_TAB, {VK_SHIFT});
    ASSERT_TRUE(First->Focused());
    EXPECT_EQ(First->SelLength(), 0);
}

// Test glyphs cover their whole cells, so a letter's cell shows the text's colour and a
// space's cell the colour under the text.
TEST_F(EditTest, ASelectionShowsInTheHighlightColoursWhileFocusedOrKept)
{
    struct TCase {
        const char* Name;
        bool HideSelection;
        bool Focused;
        TColor Letter;
        TColor Space;
    };
    const std::vector<TCase> Cases = {
        {"focused", true, true, clHighlightText, clHighlight},
        {"unfocused", true, false, clWindowText, clWindow},
        {"unfocused, ES_NOHIDESEL", false, false, clHighlightText, clHighlight},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TEdit* Other = Make<TEdit>(10, 100, 100, 21);
        TEdit* Edit = Make<TEdit>(10, 10, 200, 21);
        Edit->SetHideSelection(Case.HideSelection);
        Edit->SetText("ab cd");
        Focus(Case.Focused ? Edit : Other);
        Edit->SelectAll();
        Form->Invalidate();
        PumpEdits();
        const TBackBuffer* Buffer = WindowBackBuffer(Form->Handle());
        ASSERT_NE(Buffer, nullptr);
        TRect Top;
        GetWindowRect(Form->Handle(), Top);
        // The colour in the middle of character Index's cell.
        auto CellColour = [&](int Index) {
            const LRESULT At = Send(Edit, EM_POSFROMCHAR, static_cast<WPARAM>(Index));
            TPoint P{GetXLParam(At) + 2, GetYLParam(At) + 4};
            ClientToScreen(Edit->Handle(), P);
            return Buffer->Raster().Pixel(P.X - Top.Left, P.Y - Top.Top) & 0xFFFFFF;
        };
        EXPECT_EQ(CellColour(0), ColorToRGB(Case.Letter) & 0xFFFFFF);
        EXPECT_EQ(CellColour(2), ColorToRGB(Case.Space) & 0xFFFFFF);
        EXPECT_EQ(CellColour(4), ColorToRGB(Case.Letter) & 0xFFFFFF);
        delete Edit;
        delete Other;
    }
}

TEST_F(EditTest, PasswordTextIsNeitherCopiedNorCut)
{
    TEdit* Edit = MakeEdit("secret");
    Edit->SetPasswordChar('*');
    Clipboard()->SetAsText("before");
    Edit->SelectAll();
    PressKey('C', {VK_CONTROL});
    EXPECT_EQ(Clipboard()->AsText(), "before");
    PressKey('X', {VK_CONTROL});
    EXPECT_EQ(Clipboard()->AsText(), "before");
    EXPECT_EQ(Edit->Text(), "secret");
    EXPECT_EQ(Edit->SelText(), "secret");
}

TEST_F(EditTest, AMegabyteOfInvalidUtf8ComesBackWholeAndQuickly)
{
    const std::string Data = InvalidUtf8Megabyte();
    struct TCase {
        const char* How;
        bool Memo;
        std::function<void(TCustomEdit*)> Put;
    };
    const std::vector<TCase> Cases = {
        {"pasted", false,
         [&](TCustomEdit*) {
             Clipboard()->SetAsText(Data);
             PressKey('V', {VK_CONTROL});
         }},
        {"replacing the selection", false, [&](TCustomEdit* E) { E->SetSelText(Data); }},
        {"as the text", false, [&](TCustomEdit* E) { E->SetText(Data); }},
        {"pasted into a wrapping memo", true,
         [&](TCustomEdit*) {
             Clipboard()->SetAsText(Data);
             PressKey('V', {VK_CONTROL});
         }},
    };
    for (const TCase& Case : Cases) {
        TCustomEdit* Edit = Case.Memo ? static_cast<TCustomEdit*>(MakeMemo())
                                      : static_cast<TCustomEdit*>(MakeEdit());
        const auto Start = std::chrono::steady_clock::now();
        Case.Put(Edit);
        Edit->Repaint();
        PressKey(VK_END, {VK_CONTROL});
        TypeText("z"); // one more keystroke at the end
        const double Seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
        EXPECT_LT(Seconds, MegabyteSeconds) << Case.How;
        const std::string Back = GetWindowText(Edit->Handle());
        EXPECT_EQ(Back.size(), Data.size() + 1) << Case.How;
        EXPECT_TRUE(Back.compare(0, Data.size(), Data) == 0) << Case.How;
        EXPECT_EQ(Back.back(), 'z') << Case.How;
        delete Edit;
    }
}
