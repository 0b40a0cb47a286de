// The route of a key before the focused control sees it: the form's shortcuts, CM_CHILDKEY up
// the parents, then the dialog keys the control does not want; and CM_CANCELMODE telling the
// active control that something else was pressed, the form moved or lost the focus.
#include "tests/platform/forms/formstest.h"

#include <gtest/gtest.h>

namespace {

// A form with OK (default) and Cancel buttons and a holder with two focusable boxes; the first
// has the focus. Every stop of a key on its way is logged.
struct TKeyForm {
    explicit TKeyForm(TApplication* App) : Form(new TForm(App))
    {
        Form->SetBounds(100, 100, 300, 200);
        Holder = Place<TTestBox>(Form, 10, 10, 200, 100);
        Target = Place<TTestBox>(Holder, 10, 10, 60, 20);
        Next = Place<TTestBox>(Holder, 10, 40, 60, 20);
        Ok = Place<TTestButton>(Form, 10, 150, 75, 25);
        Cancel = Place<TTestButton>(Form, 100, 150, 75, 25);
        Target->SetTabStop(true);
        Next->SetTabStop(true);
        Ok->Default = true;
        Cancel->Cancel = true;
        Form->OnShortCut = [this](TWMKey& Msg, bool& Handled) {
            Log.push_back("shortcut " + std::to_string(Msg.CharCode));
            Handled = Msg.CharCode == ShortCutKey;
        };
        Intercept(Holder, [this](TMessage& M) {
            if (M.Msg != CM_CHILDKEY)
                return false;
            Log.push_back(std::string("childkey ") + std::to_string(M.WParam) +
                          (M.LParam == reinterpret_cast<LPARAM>(Target) ? " from target" : ""));
            M.Result = M.WParam == HolderKey ? 1 : 0;
            return M.Result != 0;
        });
        Intercept(Target, [this](TMessage& M) {
            if (M.Msg != WM_GETDLGCODE)
                return false;
            M.Result = DlgCode;
            return true;
        });
        Intercept(Form, [this](TMessage& M) {
            if (M.Msg == CM_DIALOGKEY)
                Log.push_back("dialogkey " + std::to_string(M.WParam));
            return false;
        });
        Target->OnKeyDown = [this](TObject*, Word& Key, TShiftState) {
            Log.push_back("target " + std::to_string(Key));
        };
        Form->Show();
        Target->SetFocus();
        Pump();
    }
    TForm* Form;
    TTestBox* Holder;
    TTestBox* Target;
    TTestBox* Next;
    TTestButton* Ok;
    TTestButton* Cancel;
    std::vector<std::string> Log;
    unsigned DlgCode = 0;
    WPARAM HolderKey = 0;
    Word ShortCutKey = 0;
};

std::string N(int Key)
{
    return std::to_string(Key);
}

} // namespace

TEST(KeyRoute, EachStopCanTakeTheKeyBeforeTheControlSeesIt)
{
    struct TCase {
        const char* Name;
        int Key;
        unsigned DlgCode;
        WPARAM HolderKey;
        Word ShortCutKey;
        std::vector<std::string> Log;
        int Ok, Cancel;
        bool FocusOnNext;
    };
    const std::string S = "shortcut ", C = "childkey ", D = "dialogkey ", T = "target ";
    const std::string From = " from target";
    const std::vector<TCase> Cases = {
        {"Tab moves the focus",
         VK_TAB,
         0,
         0,
         0,
         {S + N(VK_TAB), C + N(VK_TAB) + From, D + N(VK_TAB)},
         0,
         0,
         true},
        {"Tab wanted",
         VK_TAB,
         DLGC_WANTTAB,
         0,
         0,
         {S + N(VK_TAB), C + N(VK_TAB) + From, T + N(VK_TAB)},
         0,
         0,
         false},
        {"Enter clicks the default",
         VK_RETURN,
         0,
         0,
         0,
         {S + N(VK_RETURN), C + N(VK_RETURN) + From, D + N(VK_RETURN)},
         1,
         0,
         false},
        {"Enter wanted",
         VK_RETURN,
         DLGC_WANTALLKEYS,
         0,
         0,
         {S + N(VK_RETURN), C + N(VK_RETURN) + From, T + N(VK_RETURN)},
         0,
         0,
         false},
        {"Escape clicks cancel",
         VK_ESCAPE,
         0,
         0,
         0,
         {S + N(VK_ESCAPE), C + N(VK_ESCAPE) + From, D + N(VK_ESCAPE)},
         0,
         1,
         false},
        {"Escape wanted",
         VK_ESCAPE,
         DLGC_WANTALLKEYS,
         0,
         0,
         {S + N(VK_ESCAPE), C + N(VK_ESCAPE) + From, T + N(VK_ESCAPE)},
         0,
         0,
         false},
        {"Down moves within the parent",
         VK_DOWN,
         0,
         0,
         0,
         {S + N(VK_DOWN), C + N(VK_DOWN) + From, D + N(VK_DOWN)},
         0,
         0,
         true},
        {"Down wanted",
         VK_DOWN,
         DLGC_WANTARROWS,
         0,
         0,
         {S + N(VK_DOWN), C + N(VK_DOWN) + From, T + N(VK_DOWN)},
         0,
         0,
         false},
        {"Down with only Tab wanted",
         VK_DOWN,
         DLGC_WANTTAB,
         0,
         0,
         {S + N(VK_DOWN), C + N(VK_DOWN) + From, D + N(VK_DOWN)},
         0,
         0,
         true},
        // Nobody answers Execute as a dialog key: the control gets it after the form was asked.
        {"Execute is a dialog key",
         VK_EXECUTE,
         0,
         0,
         0,
         {S + N(VK_EXECUTE), C + N(VK_EXECUTE) + From, D + N(VK_EXECUTE), T + N(VK_EXECUTE)},
         0,
         0,
         false},
        {"Execute wanted",
         VK_EXECUTE,
         DLGC_WANTALLKEYS,
         0,
         0,
         {S + N(VK_EXECUTE), C + N(VK_EXECUTE) + From, T + N(VK_EXECUTE)},
         0,
         0,
         false},
        {"a letter is no dialog key",
         'W',
         0,
         0,
         0,
         {S + N('W'), C + N('W') + From, T + N('W')},
         0,
         0,
         false},
        {"the parent takes a letter", 'Q', 0, 'Q', 0, {S + N('Q'), C + N('Q') + From}, 0, 0, false},
        {"the parent takes Enter before the default button",
         VK_RETURN,
         0,
         VK_RETURN,
         0,
         {S + N(VK_RETURN), C + N(VK_RETURN) + From},
         0,
         0,
         false},
        {"the parent takes Tab",
         VK_TAB,
         0,
         VK_TAB,
         0,
         {S + N(VK_TAB), C + N(VK_TAB) + From},
         0,
         0,
         false},
        {"the form's shortcut comes first", VK_F5, 0, VK_F5, VK_F5, {S + N(VK_F5)}, 0, 0, false},
        {"a shortcut of Enter",
         VK_RETURN,
         DLGC_WANTALLKEYS,
         0,
         VK_RETURN,
         {S + N(VK_RETURN)},
         0,
         0,
         false},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TTestApplication App;
        TKeyForm F(&App);
        ASSERT_TRUE(F.Target->Focused());
        F.DlgCode = Case.DlgCode;
        F.HolderKey = Case.HolderKey;
        F.ShortCutKey = Case.ShortCutKey;
        InjectKeyDown(Case.Key);
        Pump();
        InjectKeyUp(Case.Key);
        Pump();
        EXPECT_EQ(F.Log, Case.Log);
        EXPECT_EQ(F.Ok->Clicks, Case.Ok);
        EXPECT_EQ(F.Cancel->Clicks, Case.Cancel);
        EXPECT_EQ(F.Next->Focused(), Case.FocusOnNext);
    }
}

TEST(KeyRoute, KeyPreviewSeesWhatTheRouteLeavesAndNothingItTook)
{
    TTestApplication App;
    TKeyForm F(&App);
    F.HolderKey = 'Q';
    F.Form->SetKeyPreview(true);
    F.Form->OnKeyDown = [&](TObject*, Word& Key, TShiftState) {
        F.Log.push_back("form " + std::to_string(Key));
        if (Key == 'X')
            Key = 0;
    };
    for (int Key : {'A', 'Q', 'X'}) {
        InjectKeyDown(Key);
        InjectKeyUp(Key);
    }
    Pump();
    const std::string S = "shortcut ", C = "childkey ", From = " from target";
    const std::vector<std::string> Expected = {
        S + N('A'),        C + N('A') + From, "form " + N('A'),  "target " + N('A'), S + N('Q'),
        C + N('Q') + From, S + N('X'),        C + N('X') + From, "form " + N('X')};
    EXPECT_EQ(F.Log, Expected);
}

TEST(KeyRoute, ChildKeyGoesUpEveryParentToTheForm)
{
    TTestApplication App;
    TKeyForm F(&App);
    std::vector<std::string> Seen;
    Intercept(F.Form, [&](TMessage& M) {
        if (M.Msg == CM_CHILDKEY)
            Seen.push_back("form " + std::to_string(M.WParam) +
                           (M.LParam == reinterpret_cast<LPARAM>(F.Target) ? " from target" : ""));
        return false;
    });
    InjectKeyPress('W');
    Pump();
    EXPECT_EQ(Seen, std::vector<std::string>{"form " + N('W') + " from target"});
}

namespace {

// Notes each CM_CANCELMODE Control gets, with the control pressed (WParam and LParam alike).
struct TCancelLog {
    std::vector<const TControl*> Senders;
    void Watch(TControl* Control)
    {
        Intercept(Control, [this](TMessage& M) {
            if (M.Msg == CM_CANCELMODE) {
                EXPECT_EQ(static_cast<LPARAM>(M.WParam), M.LParam);
                Senders.push_back(reinterpret_cast<const TControl*>(M.LParam));
            }
            return false;
        });
    }
};

} // namespace

TEST(CancelMode, ThePressedControlIsToldToTheFormsActiveControl)
{
    TTestApplication App;
    TKeyForm F(&App);
    TTestShape* Shape = Place<TTestShape>(F.Form, 220, 10, 40, 30);
    TCancelLog Active, Other;
    Active.Watch(F.Target);
    Other.Watch(F.Next);
    auto Press = [&](HWND Wnd, int X, int Y) {
        InjectMouseButton(Wnd, 0, true, X, Y);
        InjectMouseButton(Wnd, 0, false, X, Y);
        Pump();
    };
    Press(F.Next->Handle(), 5, 5);    // another windowed control
    Press(F.Form->Handle(), 225, 15); // a control without a window
    Press(F.Form->Handle(), 5, 140);  // the form itself
    Press(F.Target->Handle(), 5, 5);  // the active control itself: it tells the sender apart
    const std::vector<const TControl*> Expected = {F.Next, Shape, F.Form, F.Target};
    EXPECT_EQ(Active.Senders, Expected);
    EXPECT_TRUE(Other.Senders.empty());
}

TEST(CancelMode, AFormThatMovesOrLosesTheFocusClosesWhatIsOpen)
{
    TTestApplication App;
    TKeyForm F(&App);
    TCancelLog Active;
    Active.Watch(F.Target);
    std::vector<UINT> HolderGot;
    Intercept(F.Holder, [&](TMessage& M) {
        if (M.Msg == WM_CANCELMODE)
            HolderGot.push_back(M.Msg);
        return false;
    });
    // A drop-down holding the mouse hears WM_CANCELMODE and lets it go.
    SetCapture(F.Holder->Handle());
    InjectWindowBounds(F.Form->Handle(), Bounds(140, 120, F.Form->Width(), F.Form->Height()));
    Pump();
    EXPECT_EQ(Active.Senders, std::vector<const TControl*>{nullptr});
    EXPECT_EQ(HolderGot, std::vector<UINT>{WM_CANCELMODE});
    EXPECT_EQ(GetCapture(), 0u);

    TForm* Other = new TForm(&App);
    Other->Show();
    Pump();
    ASSERT_FALSE(F.Form->Active());
    EXPECT_EQ(Active.Senders, (std::vector<const TControl*>{nullptr, nullptr}));
    // An inactive form has no active control to tell.
    InjectMouseButton(Other->Handle(), 0, true, 5, 5);
    InjectMouseButton(Other->Handle(), 0, false, 5, 5);
    Pump();
    EXPECT_EQ(Active.Senders.size(), 2u);
}

TEST(FormMoves, TheDesktopMovingAFormSendsMovingAndMoveAndTheBoundsFollow)
{
    TTestApplication App;
    TForm* Form = new TForm(&App);
    Form->SetBounds(100, 100, 200, 150);
    Form->Show();
    Pump();
    std::vector<std::string> Seen;
    Intercept(Form, [&](TMessage& M) {
        if (M.Msg == WM_MOVING) {
            const auto* R = reinterpret_cast<const TRect*>(M.LParam);
            Seen.push_back("moving " + std::to_string(R->Left) + "," + std::to_string(R->Top));
        } else if (M.Msg == WM_MOVE) {
            Seen.push_back("move");
        }
        return false;
    });
    InjectWindowBounds(Form->Handle(), Bounds(130, 90, 200, 150));
    Pump();
    EXPECT_EQ(Seen, (std::vector<std::string>{"moving 130,90", "move"}));
    EXPECT_EQ(Form->Left(), 130);
    EXPECT_EQ(Form->Top(), 90);
    // Only resized: no WM_MOVING.
    Seen.clear();
    InjectWindowBounds(Form->Handle(), Bounds(130, 90, 220, 150));
    Pump();
    EXPECT_TRUE(Seen.empty());
    EXPECT_EQ(Form->Width(), 220);
}

TEST(CancelMode, AClickOnAPopUpThatDoesNotActivateLeavesTheFormsDropDownOpen)
{
    struct TCase {
        const char* Name;
        LRESULT MouseActivate;
        bool FormStaysActive;
    };
    const std::vector<TCase> Cases = {
        {"no activation", MA_NOACTIVATE, true},
        {"activation", MA_ACTIVATE, false},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TTestApplication App;
        TKeyForm F(&App);
        TCancelLog Active;
        Active.Watch(F.Target);
        TWndClass Class;
        if (!GetClassInfo("TKeyRoutePopUp", Class)) {
            Class.ClassName = "TKeyRoutePopUp";
            RegisterClass(Class);
        }
        const HWND PopUp = CreateWindowEx(0, "TKeyRoutePopUp", "", WS_POPUP, 120, 250, 80, 60, 0);
        const LRESULT Answer = Case.MouseActivate;
        SetWindowProc(PopUp, [Answer](HWND W, UINT Msg, WPARAM WP, LPARAM LP) -> LRESULT {
            return Msg == WM_MOUSEACTIVATE ? Answer : DefWindowProc(W, Msg, WP, LP);
        });
        ShowWindow(PopUp, SW_SHOWNA);
        Pump();
        ASSERT_TRUE(F.Form->Active());
        InjectMouseButton(PopUp, 0, true, 5, 5);
        InjectMouseButton(PopUp, 0, false, 5, 5);
        Pump();
        EXPECT_EQ(F.Form->Active(), Case.FormStaysActive);
        EXPECT_EQ(Active.Senders.empty(), Case.FormStaysActive);
        DestroyWindow(PopUp);
    }
}
