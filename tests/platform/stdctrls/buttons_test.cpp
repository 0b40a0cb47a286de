// Push buttons through injected input and messages: clicks, Space, Enter and Escape with Default
// and Cancel, accelerators, ModalResult ending ShowModal, and the window class's BM_ messages.
#include "tests/platform/stdctrls/stdctrlstest.h"

#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/buttonwindow.h"
#include "platform/stdctrls/checkbox.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct TButtonForm {
    TForm* Form;
    TButton* Ok;
    TButton* Cancel;
    TButton* Other;
    TCheckBox* Check;
    int OkClicks = 0, CancelClicks = 0, OtherClicks = 0;

    explicit TButtonForm(TApplication* App) : Form(ShownForm(App))
    {
        Ok = Place<TButton>(Form, 10, 10, 75, 25);
        Ok->SetCaption("&OK");
        Ok->SetDefault(true);
        Ok->SetModalResult(mrOk);
        Cancel = Place<TButton>(Form, 90, 10, 75, 25);
        Cancel->SetCaption("Cancel");
        Cancel->SetCancel(true);
        Cancel->SetModalResult(mrCancel);
        Other = Place<TButton>(Form, 170, 10, 75, 25);
        Other->SetCaption("&More");
        Check = Place<TCheckBox>(Form, 10, 50, 120, 17);
        Check->SetCaption("&Remember");
        Ok->OnClick = [this](TObject*) { ++OkClicks; };
        Cancel->OnClick = [this](TObject*) { ++CancelClicks; };
        Other->OnClick = [this](TObject*) { ++OtherClicks; };
        Pump();
    }
};

} // namespace

TEST(Buttons, MouseSpaceAndBmClickClickAndAPressLeftOutsideDoesNot)
{
    TTestApplication App;
    TButtonForm F(&App);
    struct TCase {
        const char* Name;
        std::function<void()> Act;
        int Clicks;
    };
    const std::vector<TCase> Cases = {
        {"click", [&] { ClickCentre(F.Other); }, 1},
        {"press inside, release outside",
         [&] {
             InjectMouseButton(F.Form->Handle(), 0, true, 200, 20);
             InjectMouseMove(F.Form->Handle(), 200, 120);
             InjectMouseButton(F.Form->Handle(), 0, false, 200, 120);
             Pump();
         },
         1},
        {"Space on the focused button",
         [&] {
             F.Other->SetFocus();
             InjectKeyPress(VK_SPACE, " ");
             Pump();
         },
         2},
        {"BM_CLICK", [&] { SendMessage(F.Other->Handle(), BM_CLICK, 0, 0); }, 3},
        {"disabled",
         [&] {
             F.Other->SetEnabled(false);
             ClickCentre(F.Other);
             SendMessage(F.Other->Handle(), BM_CLICK, 0, 0);
             F.Other->SetEnabled(true);
         },
         3},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Case.Act();
        EXPECT_EQ(F.OtherClicks, Case.Clicks);
        EXPECT_EQ(F.OkClicks, 0);
    }
}

TEST(Buttons, EnterClicksTheFocusedOrDefaultButtonAndEscapeTheCancelButton)
{
    TTestApplication App;
    TButtonForm F(&App);
    struct TCase {
        const char* Name;
        TWinControl* Focus;
        int Key;
        int Ok, Cancel, Other;
    };
    const std::vector<TCase> Cases = {
        {"Enter on a check box: the default", F.Check, VK_RETURN, 1, 0, 0},
        {"Enter on another button: that one", F.Other, VK_RETURN, 1, 0, 1},
        {"Escape: the cancel button", F.Other, VK_ESCAPE, 1, 1, 1},
        {"Enter on the cancel button", F.Cancel, VK_RETURN, 1, 2, 1},
        {"Enter back on the check box", F.Check, VK_RETURN, 2, 2, 1},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Case.Focus->SetFocus();
        Pump();
        InjectKeyPress(Case.Key);
        Pump();
        EXPECT_EQ(F.OkClicks, Case.Ok);
        EXPECT_EQ(F.CancelClicks, Case.Cancel);
        EXPECT_EQ(F.OtherClicks, Case.Other);
    }
    // The button Enter would click wears the default frame.
    F.Other->SetFocus();
    Pump();
    EXPECT_EQ(GetWindowLong(F.Other->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLong(F.Ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    F.Check->SetFocus();
    Pump();
    EXPECT_EQ(GetWindowLong(F.Other->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(GetWindowLong(F.Ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

TEST(Buttons, AcceleratorsClickWithAltAndAsPlainLettersWhereNoCharsAreWanted)
{
    TTestApplication App;
    TButtonForm F(&App);
    F.Check->SetFocus();
    Pump();
    AltKey('M');
    EXPECT_EQ(F.OtherClicks, 1);
    InjectKeyPress('M', "m");
    Pump();
    EXPECT_EQ(F.OtherClicks, 2);
    InjectKeyPress('Z', "z");
    Pump();
    EXPECT_EQ(F.OtherClicks + F.OkClicks + F.CancelClicks, 2);
    // The check box's own accelerator toggles it.
    AltKey('R');
    EXPECT_TRUE(F.Check->Checked());
}

TEST(Buttons, ModalResultOfTheClickedButtonEndsShowModal)
{
    TTestApplication App;
    struct TCase {
        const char* Name;
        int Key;
        TModalResult Result;
    };
    const std::vector<TCase> Cases = {
        {"Enter", VK_RETURN, mrOk},
        {"Escape", VK_ESCAPE, mrCancel},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TButtonForm F(&App);
        F.Form->Hide();
        F.Form->OnActivate = [&](TObject*) {
            F.Check->SetFocus();
            InjectKeyPress(Case.Key);
        };
        EXPECT_EQ(F.Form->ShowModal(), Case.Result);
        EXPECT_FALSE(F.Form->Visible());
        delete F.Form;
    }
    TButtonForm F(&App);
    F.Form->Hide();
    F.Form->OnActivate = [&](TObject*) { PostMessage(F.Other->Handle(), BM_CLICK, 0, 0); };
    F.Other->SetModalResult(mrRetry);
    EXPECT_EQ(F.Form->ShowModal(), mrRetry);
}

TEST(Buttons, TheButtonClassChecksByItsStyleAndTellsTheParent)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    std::vector<std::pair<HWND, unsigned>> Commands;
    const TWndMethod Old = Form->WindowProc;
    Form->WindowProc = [&](TMessage& Message) {
        if (Message.Msg == WM_COMMAND)
            Commands.emplace_back(static_cast<HWND>(Message.LParam), HiWord(Message.WParam));
        Old(Message);
    };
    RegisterButtonClass();
    auto Make = [&](DWORD Style, int Y) {
        return CreateWindowEx(0, ButtonClassName, "b", WS_CHILD | WS_VISIBLE | Style, 0, Y, 80, 20,
                              Form->Handle());
    };
    struct TCase {
        const char* Name;
        DWORD Style;
        std::vector<LRESULT> Checks; // after each of three clicks
    };
    const std::vector<TCase> Cases = {
        {"push", BS_PUSHBUTTON, {0, 0, 0}},
        {"check", BS_CHECKBOX, {0, 0, 0}},
        {"auto check", BS_AUTOCHECKBOX, {1, 0, 1}},
        {"auto three states", BS_AUTO3STATE, {1, 2, 0}},
        {"auto radio", BS_AUTORADIOBUTTON, {1, 1, 1}},
    };
    int Y = 0;
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const HWND Button = Make(Case.Style, Y += 20);
        for (LRESULT Check : Case.Checks) {
            Commands.clear();
            SendMessage(Button, BM_CLICK, 0, 0);
            EXPECT_EQ(SendMessage(Button, BM_GETCHECK, 0, 0), Check);
            ASSERT_EQ(Commands.size(), 1u);
            EXPECT_EQ(Commands[0], std::make_pair(Button, static_cast<unsigned>(BN_CLICKED)));
        }
        DestroyWindow(Button);
    }
    // Auto radio buttons of one parent turn each other off.
    const HWND A = Make(BS_AUTORADIOBUTTON, 0);
    const HWND B = Make(BS_AUTORADIOBUTTON, 20);
    SendMessage(A, BM_CLICK, 0, 0);
    SendMessage(B, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessage(A, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessage(B, BM_GETCHECK, 0, 0), BST_CHECKED);
    // BM_SETSTATE shows the press; BM_SETSTYLE changes the kind.
    SendMessage(A, BM_SETSTATE, 1, 0);
    EXPECT_EQ(SendMessage(A, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    SendMessage(A, BM_SETSTYLE, BS_DEFPUSHBUTTON, 0);
    EXPECT_EQ(GetWindowLong(A, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_NE(GetWindowLong(A, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(SendMessage(A, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    // A group box is no button: no click, no focus, drawn as a frame.
    const HWND Group = Make(BS_GROUPBOX, 60);
    Commands.clear();
    SendMessage(Group, BM_CLICK, 0, 0);
    EXPECT_TRUE(Commands.empty());
    EXPECT_EQ(SendMessage(Group, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    Pump();
    Form->WindowProc = Old;
}

TEST(Buttons, ADeletedButtonLeavesTheTabOrderAndTheFocus)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    TButton* A = Place<TButton>(Form, 10, 10, 75, 25);
    TButton* B = Place<TButton>(Form, 10, 40, 75, 25);
    TButton* C = Place<TButton>(Form, 10, 70, 75, 25);
    B->SetFocus();
    Pump();
    delete B;
    EXPECT_EQ(Form->ActiveControl(), nullptr);
    EXPECT_EQ(Form->FindNextControl(A, true, true, false), C);
    A->SetFocus();
    InjectKeyPress(VK_TAB);
    Pump();
    EXPECT_TRUE(C->Focused());
}
