// Forms: start-up through CreateForm and Run, closing with its events, the modal loop, the
// minimum tracking size, freeing on close.
#include "tests/platform/forms/formstest.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Events;

class TMainForm : public TForm {
public:
    explicit TMainForm(TComponent* AOwner) : TForm(AOwner)
    {
        SetCaption("Main");
        OnCreate = [](TObject*) {
            Events.push_back(std::string("create main, main form set: ") +
                             (Application->MainForm() != nullptr ? "yes" : "no"));
        };
        OnShow = [](TObject*) { Events.push_back("show main"); };
    }
};

class TOtherForm : public TForm {
public:
    explicit TOtherForm(TComponent* AOwner) : TForm(AOwner)
    {
        OnCreate = [](TObject*) { Events.push_back("create other"); };
    }
};

class TModalForm : public TForm {
public:
    explicit TModalForm(TComponent* AOwner) : TForm(AOwner)
    {
        SetBorderStyle(bsDialog);
        Ok = Place<TTestButton>(this, 10, 10, 75, 25);
        Ok->Default = true;
        Ok->ModalResult = mrOk;
    }
    TTestButton* Ok;
};

// Frees itself on close and tells when it is gone.
class TFreeingForm : public TForm {
public:
    TFreeingForm(TComponent* AOwner, bool& Gone) : TForm(AOwner), FGone(Gone)
    {
        OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
    }
    ~TFreeingForm() override { FGone = true; }

private:
    bool& FGone;
};

// Keeps its tracking width at 300 or more, after the default handling.
class TMinSizeForm : public TForm {
public:
    using TForm::TForm;

protected:
    void WMGetMinMaxInfo(TMessage& Message)
    {
        Inherited(Message);
        reinterpret_cast<TMinMaxInfo*>(Message.LParam)->ptMinTrackSize.X = 300;
    }
    TW_MESSAGE_MAP();
};

const TMessageMap& TMinSizeForm::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TMinSizeForm::WMGetMinMaxInfo>(WM_GETMINMAXINFO),
    });
    static constexpr TMessageMap Map{Handlers, &TForm::ClassMessageMap};
    return Map;
}

} // namespace

TEST(Forms, CreateFormMakesTheFirstFormMainAndRunShowsItUntilItCloses)
{
    Events.clear();
    TTestApplication App;
    TMainForm* Main = nullptr;
    TOtherForm* Other = nullptr;
    CreateForm(&App, Main);
    CreateForm(&App, Other);
    EXPECT_EQ(App.MainForm(), Main);
    EXPECT_FALSE(Main->Visible());
    EXPECT_EQ(Screen->FormCount(), 2);
    PostMessage(Main->Handle(), WM_CLOSE, 0, 0);
    App.Run();
    EXPECT_TRUE(App.Terminated());
    const std::vector<std::string> Expected = {"create main, main form set: no", "create other",
                                               "show main"};
    EXPECT_EQ(Events, Expected);
}

TEST(Forms, WithoutShowMainFormRunLeavesTheMainFormHidden)
{
    Events.clear();
    TTestApplication App;
    TMainForm* Main = nullptr;
    CreateForm(&App, Main);
    App.SetShowMainForm(false);
    App.Terminate();
    App.Run();
    EXPECT_FALSE(Main->Visible());
    EXPECT_EQ(Events, std::vector<std::string>{"create main, main form set: no"});
}

TEST(Forms, OnCloseQueryCanVetoAndOnCloseChoosesTheAction)
{
    TTestApplication App;
    TForm* Main = nullptr;
    CreateForm(&App, Main);
    TForm* Form = new TForm(&App);
    bool Allow = false;
    TCloseAction Choice = caHide;
    int Closes = 0;
    Form->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = Allow; };
    Form->OnClose = [&](TObject*, TCloseAction& Action) {
        ++Closes;
        EXPECT_EQ(Action, caHide);
        Action = Choice;
    };
    Form->Show();
    Form->Close();
    EXPECT_TRUE(Form->Visible());
    EXPECT_EQ(Closes, 0);
    Allow = true;
    Choice = caNone;
    Form->Close();
    EXPECT_TRUE(Form->Visible());
    Choice = caMinimize;
    Form->Close();
    EXPECT_EQ(Form->WindowState(), wsMinimized);
    Choice = caHide;
    Form->Close();
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(Closes, 3);
    EXPECT_FALSE(App.Terminated());
}

TEST(Forms, CaFreeFreesTheFormAfterTheCurrentMessage)
{
    TTestApplication App;
    bool Gone = false;
    auto* Form = new TFreeingForm(&App, Gone);
    TTestBox* Box = Place<TTestBox>(Form, 0, 0, 10, 10);
    Form->Show();
    Box->SetFocus();
    const int Before = Screen->FormCount();
    PostMessage(Form->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(Gone);
    EXPECT_EQ(Screen->FormCount(), Before - 1);
    EXPECT_EQ(Screen->ActiveControl(), nullptr);
    EXPECT_EQ(GetFocus(), 0u);
}

TEST(Forms, ShowModalDisablesTheOtherWindowsAndGivesTheModalResult)
{
    TTestApplication App;
    TForm* Main = nullptr;
    CreateForm(&App, Main);
    Main->Show();
    TModalForm* Dialog = new TModalForm(&App);
    bool MainEnabledDuring = true;
    Dialog->OnActivate = [&](TObject*) {
        MainEnabledDuring = IsWindowEnabled(Main->Handle());
        InjectKeyPress(VK_RETURN); // the default button ends the loop
    };
    EXPECT_EQ(Dialog->ShowModal(), mrOk);
    EXPECT_FALSE(MainEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
    EXPECT_FALSE(Dialog->Visible());
    EXPECT_EQ(Dialog->Ok->Clicks, 1);
    EXPECT_EQ(GetActiveWindow(), Main->Handle());

    // Closing the dialog (the window's close box) gives mrCancel.
    Dialog->OnActivate = [&](TObject*) { PostMessage(Dialog->Handle(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(Dialog->ShowModal(), mrCancel);
    // A visible form cannot become modal.
    Dialog->Show();
    EXPECT_THROW(Dialog->ShowModal(), EInvalidOperation);
}

TEST(Forms, AnExceptionLeavingShowModalEnablesTheOtherWindowsAgain)
{
    TTestApplication App;
    TForm* Main = nullptr;
    CreateForm(&App, Main);
    Main->Show();
    TModalForm* Dialog = new TModalForm(&App);
    Dialog->OnShow = [](TObject*) { throw EConvertError("bad settings"); };
    EXPECT_THROW(Dialog->ShowModal(), EConvertError);
    EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
    EXPECT_FALSE(Dialog->Modal());
    EXPECT_FALSE(Dialog->Visible());
    // It can be shown modally again.
    Dialog->OnShow = nullptr;
    Dialog->OnActivate = [&](TObject*) { Dialog->SetModalResult(mrNo); };
    EXPECT_EQ(Dialog->ShowModal(), mrNo);
}

TEST(Forms, MinMaxInfoAndConstraintsLimitTheSize)
{
    TTestApplication App;
    auto* Form = new TMinSizeForm(&App);
    Form->SetBounds(0, 0, 400, 300);
    Form->Show();
    Form->Constraints()->SetMaxHeight(350);
    struct TCase {
        int Width, Height;
        TSize Expected;
    };
    const std::vector<TCase> Cases = {
        {200, 100, TSize{300, 100}}, {500, 500, TSize{500, 350}}, {320, 200, TSize{320, 200}}};
    for (const TCase& Case : Cases) {
        Form->SetBounds(0, 0, Case.Width, Case.Height);
        EXPECT_EQ(Form->Width(), Case.Expected.cx);
        EXPECT_EQ(Form->Height(), Case.Expected.cy);
        TRect R;
        GetWindowRect(Form->Handle(), R);
        EXPECT_EQ(R.Width(), Case.Expected.cx);
    }
    // A resize from outside (the window manager) is held to the same limits.
    SetWindowPos(Form->Handle(), 0, 0, 0, 100, 100, SWP_NOZORDER);
    EXPECT_EQ(Form->Width(), 300);
}
