// The tray icon on virtual time with a recording notification area: tip, states and animation,
// clicks told from double clicks, enter and exit, the timer multiplexer across the tick wrap,
// the pop-up menu, and the hiding and showing of the application and its forms.
#include "desktop/pgappwnd.h"
#include "desktop/pghide32.h"
#include "desktop/pgtray95.h"
#include "desktop/pgtray95tip.h"

#include "platform/forms/form.h"
#include "platform/forms/menus.h"
#include "platform/rtl/clock.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/screen.h"
#include "platform/ui/shellnotify.h"
#include "platform/ui/virtualtime.h"
#include "platform/ui/window.h"
#include "tests/platform/forms/menutest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class TrayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        App = std::make_unique<TApplication>(nullptr);
        Application = App.get();
        Main = new TForm(App.get());
        Main->SetCaption("Main");
        Main->SetBounds(100, 100, 300, 200);
        App->SetMainForm(Main);
        Tray = new TPGTrayIcon95(Main);
    }

    void TearDown() override
    {
        App.reset();
        PGAppWndFinalize();
    }

    // Lets Milliseconds of virtual time pass in steps of 5, handling what comes due.
    void Pass(int Milliseconds)
    {
        App->ProcessMessages();
        for (int Done = 0; Done < Milliseconds; Done += 5) {
            Clock.Advance(5);
            App->ProcessMessages();
        }
    }

    // The shell's callback for Mouse on the tray icon.
    void Callback(UINT Mouse)
    {
        SendMessage(Tray->IconData().Wnd, WM_TRAYICON, TrayIconID, static_cast<LPARAM>(Mouse));
    }

    // Puts the pointer at X, Y of the screen, as GetCursorPos reads it.
    void PointerAt(int X, int Y)
    {
        TPoint P{X, Y};
        ScreenToClient(Main->Handle(), P);
        InjectMouseMove(Main->Handle(), P.X, P.Y);
    }

    TVirtualTime Clock;
    TNotifyAreaRecorder Shell;
    std::unique_ptr<TApplication> App;
    TForm* Main = nullptr;
    TPGTrayIcon95* Tray = nullptr;
    std::vector<std::string> Events;
};

TEST_F(TrayTest, OnlyAFormMayOwnTheTrayIcon)
{
    TComponent Plain(nullptr);
    try {
        TPGTrayIcon95 Wrong(&Plain);
        FAIL() << "no exception";
    } catch (const EInvalidOperation& E) {
        EXPECT_EQ(E.Message(), "TrayIcons must be owned by a Form !");
    }
}

TEST_F(TrayTest, AddingSendsTheRecordAndRemovingTakesItAway)
{
    Tray->SetHint("Spam filter");
    Tray->SetActive(true);
    ASSERT_EQ(Shell.Icons().size(), 1u);
    const TNotifyIcon& Icon = Shell.Icons()[0];
    EXPECT_EQ(Icon.Wnd, Tray->MsgWindow()->Handle());
    EXPECT_EQ(Icon.ID, 42u);
    EXPECT_EQ(Icon.Callback, 1124u);
    EXPECT_EQ(Icon.Flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(Icon.Tip, "Spam filter");
    EXPECT_EQ(Tray->IconData().cbSize, 88u);
    EXPECT_TRUE(Tray->Docked());
    Tray->SetActive(false);
    EXPECT_TRUE(Shell.Icons().empty());
    EXPECT_EQ(Shell.Entries().back().Message, static_cast<DWORD>(NIM_DELETE));
}

TEST_F(TrayTest, TheTipIsTheHintCutTo63BytesAtAWholeCharacter)
{
    struct TCase {
        const char* Name;
        std::string Hint;
        bool ShowHint;
        std::string Tip;
    };
    const std::vector<TCase> Cases = {
        {"long", std::string(300, 'h'), true, std::string(63, 'h')},
        {"short", "ten chars!", true, "ten chars!"},
        {"a two-byte character across byte 63", std::string(62, 'a') + "\xC3\xA9" + "z", true,
         std::string(62, 'a')},
        {"a three-byte character ending at byte 63", std::string(60, 'a') + "\xE2\x82\xAC" + "z",
         true, std::string(60, 'a') + "\xE2\x82\xAC"},
        {"off", "hidden", false, ""},
    };
    Tray->SetActive(true);
    for (const TCase& Case : Cases) {
        Tray->SetShowHint(Case.ShowHint);
        Tray->SetHint(Case.Hint);
        EXPECT_EQ(std::string(Tray->IconData().szTip), Case.Tip) << Case.Name;
        EXPECT_EQ(Shell.Icons()[0].Tip, Case.Tip) << Case.Name;
    }
    // With ShowHint off a new hint leaves the tip alone.
    const std::size_t Calls = Shell.Entries().size();
    Tray->SetHint("changed");
    EXPECT_EQ(Shell.Entries().size(), Calls);
    EXPECT_EQ(std::string(Tray->IconData().szTip), "");
}

TEST_F(TrayTest, AStateSetWhileInactiveIsOnlyStoredAndTheAnimationStartsWithTheIcon)
{
    int Animations = 0;
    Tray->OnAnimation = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Tray);
        ++Animations;
    };
    auto Names = std::make_unique<TStringList>();
    Names->Add("/no/such/frame0.ico");
    Names->Add("/no/such/frame1.ico");
    Tray->Animation()->SetIcons(Names.get());
    Tray->SetState(tsAnimated);
    EXPECT_EQ(Animations, 0);
    EXPECT_TRUE(Shell.Entries().empty());
    Tray->SetActive(true);
    EXPECT_EQ(Animations, 1) << "frame 0 at once";
    EXPECT_EQ(Tray->Animation()->Frame(), 1);
    Pass(990);
    EXPECT_EQ(Animations, 1);
    Pass(160);
    EXPECT_EQ(Animations, 2);
    EXPECT_EQ(Tray->Animation()->Frame(), 0) << "back to the first after the last";
    Tray->SetState(tsEnabled);
    Pass(3000);
    EXPECT_EQ(Animations, 2);
}

TEST_F(TrayTest, AStateChangingHandlerMayCancelButNotAssignTheState)
{
    Tray->SetActive(true);
    Tray->OnStateChanging = [&](TObject*, TPGTrayIconState& NewState) { NewState = tsEnabled; };
    Tray->SetState(tsDisabled);
    EXPECT_EQ(Tray->State(), tsEnabled);

    Tray->OnStateChanging = [&](TObject*, TPGTrayIconState&) { Tray->SetState(tsAnimated); };
    try {
        Tray->SetState(tsDisabled);
        FAIL() << "no exception";
    } catch (const EInvalidOperation& E) {
        EXPECT_EQ(E.Message(),
                  "You cannot modify the state property in the OnStateChanging event !!!");
    }
    Tray->OnStateChanging = nullptr;
    Tray->SetState(tsDisabled);
    EXPECT_EQ(Tray->State(), tsDisabled) << "later changes work";
}

TEST_F(TrayTest, WithoutOnDblClickEveryPressIsAClick)
{
    Tray->OnClick = [&](TObject*) { Events.push_back("click"); };
    Callback(WM_LBUTTONDOWN);
    EXPECT_TRUE(Events.empty()) << "the click is deferred";
    App->ProcessMessages();
    // A double click asks for OnDblClick, which nobody handles; the press after it is a click.
    Callback(WM_LBUTTONDBLCLK);
    Callback(WM_LBUTTONUP);
    App->ProcessMessages();
    EXPECT_EQ(Events, (std::vector<std::string>{"click"}));
    Callback(WM_RBUTTONDOWN);
    App->ProcessMessages();
    EXPECT_EQ(Events, (std::vector<std::string>{"click", "click"}));
}

TEST_F(TrayTest, WithOnDblClickASingleClickWaits400msAndADoubleClickIsOnlyThat)
{
    Tray->OnClick = [&](TObject*) { Events.push_back("click@" + std::to_string(GetTickCount())); };
    Tray->OnDblClick = [&](TObject*) { Events.push_back("double"); };
    const std::uint32_t Pressed = GetTickCount();
    Callback(WM_LBUTTONDOWN);
    Pass(390);
    EXPECT_TRUE(Events.empty());
    Pass(160);
    ASSERT_EQ(Events.size(), 1u);
    const int Late = std::stoi(Events[0].substr(6)) - static_cast<int>(Pressed);
    EXPECT_GE(Late, 400);
    EXPECT_LE(Late, 400 + 150) << "within one tick of the timer";

    Events.clear();
    Callback(WM_LBUTTONDOWN);
    Pass(100);
    Callback(WM_LBUTTONDBLCLK);
    Pass(1000);
    EXPECT_EQ(Events, (std::vector<std::string>{"double"}));
}

TEST_F(TrayTest, EnterThenExitWithin70msOfThePointerLeaving)
{
    Main->Show();
    std::uint32_t ExitAt = 0;
    Tray->OnMouseEnter = [&](TObject*, TShiftState, int X, int Y) {
        Events.push_back("enter " + std::to_string(X) + "," + std::to_string(Y));
    };
    Tray->OnMouseExit = [&](TObject*, TShiftState, int X, int Y) {
        ExitAt = GetTickCount();
        Events.push_back("exit " + std::to_string(X) + "," + std::to_string(Y));
    };
    Tray->OnMouseMove = [&](TObject*, TShiftState, int, int) { Events.push_back("move"); };
    PointerAt(150, 150);
    Callback(WM_MOUSEMOVE);
    Callback(WM_MOUSEMOVE);
    Pass(300);
    EXPECT_EQ(Events, (std::vector<std::string>{"enter 150,150", "move"}));
    PointerAt(152, 148); // within two pixels: still over the icon
    Pass(300);
    EXPECT_EQ(Events.size(), 2u);
    PointerAt(160, 150);
    const std::uint32_t Left = GetTickCount();
    Pass(200);
    EXPECT_EQ(Events.back(), "exit 150,150");
    EXPECT_LE(ExitAt - Left, 70u);
    EXPECT_FALSE(Tray->MsgWindow()->Inside());
}

TEST_F(TrayTest, MovesStaySilentWhileAClickWaits)
{
    Tray->OnDblClick = [&](TObject*) {};
    Tray->OnMouseMove = [&](TObject*, TShiftState, int, int) { Events.push_back("move"); };
    Callback(WM_LBUTTONDOWN);
    Callback(WM_MOUSEMOVE);
    EXPECT_TRUE(Events.empty());
    Pass(600);
    Callback(WM_MOUSEMOVE);
    EXPECT_EQ(Events, (std::vector<std::string>{"move"}));
}

TEST_F(TrayTest, TheTimerManagerTicksAtTheSmallestIntervalAndFiresAcrossTheWrap)
{
    TPGTimerManager* M = Tray->TimerManager();
    std::vector<std::uint32_t> Fired;
    TPGTimerItem* Item = M->AddItem(true, 100, [&](TObject*) { Fired.push_back(GetTickCount()); });
    EXPECT_EQ(M->TimerInterval(), 100u);
    Item->SetInterval(1000);
    EXPECT_EQ(M->TimerInterval(), 150u) << "never longer than 150 ms";
    Item->SetInterval(10);
    EXPECT_EQ(Item->Interval(), 55);
    Item->SetInterval(1000);
    // Up to just before the tick count wraps, then across it.
    Item->SetEnabled(false);
    Clock.Advance(0xFFFFFFFFu - GetTickCount() - 500);
    Item->SetEnabled(true);
    Pass(2100);
    ASSERT_EQ(Fired.size(), 2u) << "once a second, not at every tick after the wrap";
    EXPECT_LT(Fired[0], 1000u) << "the first firing comes after the wrap";
    EXPECT_GE(Fired[1] - Fired[0], 1000u);
    delete Item;
    Pass(2000);
    EXPECT_EQ(Fired.size(), 2u);
}

TEST_F(TrayTest, ARightClickOpensTheMenuAtThePointerAndAnItemRuns)
{
    Main->Show();
    auto* Menu = new TPopupMenu(Main);
    auto* Item = new TMenuItem(Menu);
    Item->SetCaption("Main screen");
    Item->OnClick = [&](TObject*) { Events.push_back("item"); };
    Menu->Items()->Add(Item);
    Tray->SetPopupMenu(Menu);
    Tray->SetAutoPopup(true);
    Tray->OnClick = [&](TObject*) { Events.push_back("click"); };
    PointerAt(200, 180);
    TMenuScript Script({[] { InjectKeyPress(VK_DOWN); }, [] { InjectKeyPress(VK_RETURN); }});
    Callback(WM_RBUTTONDOWN);
    App->ProcessMessages();
    EXPECT_EQ(Events, (std::vector<std::string>{"item"}));
    EXPECT_EQ(Menu->PopupPoint(), (TPoint{200, 180}));

    // A destroyed menu is forgotten: the press is a click then.
    delete Menu;
    EXPECT_EQ(Tray->PopupMenu(), nullptr);
    Callback(WM_RBUTTONDOWN);
    App->ProcessMessages();
    EXPECT_EQ(Events.back(), "click");
}

TEST_F(TrayTest, HideApplicationHidesTheMainFormAndClosesTheOthersLastFirst)
{
    Tray->SetActive(true);
    Main->Show();
    std::vector<TForm*> Others;
    for (const char* Name : {"first", "second"}) {
        auto* Form = new TForm(App.get());
        Form->SetCaption(Name);
        Form->OnClose = [&, Name](TObject*, TCloseAction&) {
            Events.push_back(std::string("close ") + Name);
        };
        Form->Show();
        Others.push_back(Form);
    }
    Main->OnHide = [&](TObject*) { Events.push_back("hide main"); };
    // The screen lists its forms front first: the last of the list goes first.
    std::vector<std::string> Expected;
    for (int I = Screen->FormCount() - 1; I >= 0; --I)
        Expected.push_back(Screen->Forms(I) == Main ? "hide main"
                                                    : "close " + Screen->Forms(I)->Caption());
    ASSERT_EQ(Expected.size(), 3u);
    ASSERT_EQ(Expected.front(), "hide main") << "the main form was shown first";
    Tray->HideApplication();
    EXPECT_EQ(Events, Expected);
    App->ProcessMessages();
    for (int I = 0; I < Screen->FormCount(); ++I)
        EXPECT_FALSE(IsWindowVisible(Screen->Forms(I)->Handle())) << Screen->Forms(I)->Caption();
    EXPECT_FALSE(IsWindowVisible(App->Handle()));
    EXPECT_EQ(GetParent(App->Handle()), 0u) << "back at the top level, hidden";
    EXPECT_EQ(TPGTrayIcon95::UpdateLockCount(), 0);
}

TEST_F(TrayTest, AShowPostedBeforeAnImmediateHideWins)
{
    // The program lives in the tray: no form is up to post a hiding of its own.
    Tray->SetActive(true);
    Tray->ShowApplication();
    Tray->HideApplication();
    EXPECT_FALSE(Main->Visible());
    App->ProcessMessages();
    EXPECT_TRUE(Main->Visible());
    EXPECT_TRUE(IsWindowVisible(Main->Handle()));
    EXPECT_TRUE(IsWindowVisible(App->Handle())) << "the application window carries the entry";
}

TEST_F(TrayTest, ShowApplicationWithoutTheTaskbarIconLeavesTheApplicationWindowHidden)
{
    Tray->SetActive(true);
    Tray->SetOptions(Tray->Options() + TPGTrayIconOptions{toHideTaskBarIconOnShowApp});
    Tray->ShowApplication();
    App->ProcessMessages();
    EXPECT_TRUE(IsWindowVisible(Main->Handle()));
    EXPECT_FALSE(IsWindowVisible(App->Handle()));
    EXPECT_EQ(GetParent(App->Handle()), 0u);
}

TEST_F(TrayTest, ShowModalFormInsideOnShowRaisesAndWorksAfterwards)
{
    Tray->SetActive(true);
    auto* Dialog = new TForm(App.get());
    auto* Other = new TForm(App.get());
    std::string Raised;
    Dialog->OnShow = [&](TObject*) {
        Events.push_back("own show");
        try {
            Tray->ShowModalForm(Other);
        } catch (const EInvalidOperation& E) {
            Raised = E.Message();
        }
        PostMessage(Dialog->Handle(), WM_CLOSE, 0, 0);
    };
    Dialog->OnClose = [&](TObject*, TCloseAction&) { Events.push_back("own close"); };
    Tray->ShowModalForm(Dialog);
    EXPECT_EQ(Raised, "You cant call ShowForm or ShowModalForm in the OnShow event of a form !");
    EXPECT_EQ(Events, (std::vector<std::string>{"own show", "own close"}));
    EXPECT_EQ(TPGTrayIcon95::UpdateLockCount(), 0);
    EXPECT_FALSE(static_cast<bool>(Dialog->OnShow) && Events.size() > 2);

    Other->OnShow = [&](TObject*) { PostMessage(Other->Handle(), WM_CLOSE, 0, 0); };
    Other->OnClose = [&](TObject*, TCloseAction&) { Events.push_back("other close"); };
    Tray->ShowModalForm(Other);
    EXPECT_EQ(Events.back(), "other close");
    App->ProcessMessages();
    EXPECT_FALSE(IsWindowVisible(App->Handle())) << "a hidden program stays hidden";

    try {
        Tray->ShowModalForm(nullptr);
        FAIL() << "no exception";
    } catch (const EInvalidOperation& E) {
        EXPECT_EQ(E.Message(), "You cant show a \"nil\" form !");
    }
}

TEST_F(TrayTest, ShowModalFormOnAVisibleFormReturnsZero)
{
    Main->Show();
    EXPECT_EQ(Tray->ShowModalForm(Main), 0);
}

TEST_F(TrayTest, WithoutATrayTheHiddenStartShowsTheMainFormAndHidingMinimises)
{
    Shell.TrayPresent = false;
    Tray->SetActive(true);
    EXPECT_TRUE(Tray->Active()) << "a failed shell call keeps Active";
    EXPECT_FALSE(Tray->Docked());
    PostQuitMessage(0);
    RunApplicationHidden();
    EXPECT_TRUE(Main->Visible());
    EXPECT_TRUE(IsWindowVisible(Main->Handle()));
    Tray->HideApplication();
    App->ProcessMessages();
    EXPECT_TRUE(Main->Visible()) << "the program stays reachable";
    EXPECT_TRUE(IsIconic(Main->Handle()));
}

TEST_F(TrayTest, WithATrayTheHiddenStartShowsNoForm)
{
    Tray->SetActive(true);
    PostQuitMessage(0);
    RunApplicationHidden();
    EXPECT_FALSE(Main->Visible());
}

TEST_F(TrayTest, TheSessionEndingRemovesTheIcon)
{
    Tray->SetActive(true);
    EXPECT_EQ(SendMessage(Tray->MsgWindow()->Handle(), WM_QUERYENDSESSION, 0, 0), 1);
    SendMessage(Tray->MsgWindow()->Handle(), WM_ENDSESSION, 0, 0);
    EXPECT_TRUE(Tray->Active());
    SendMessage(Tray->MsgWindow()->Handle(), WM_ENDSESSION, 1, 0);
    EXPECT_FALSE(Tray->Active());
    EXPECT_TRUE(Shell.Icons().empty());
}

TEST_F(TrayTest, TheTipShowsAfterTheHintPauseAndGoesWithThePointer)
{
    TNotifyTipHooks& Hooks = NotifyTipHooks();
    ASSERT_TRUE(static_cast<bool>(Hooks.Enter));
    Hooks.Enter("Spam filter", TPoint{300, 700});
    Pass(App->HintPause() - 20);
    EXPECT_FALSE(Tray->Tip()->Showing());
    Pass(60);
    EXPECT_TRUE(Tray->Tip()->Showing());
    Hooks.Leave();
    EXPECT_FALSE(Tray->Tip()->Showing());
}

TEST(TrayOwnerWindow, TheHookParksTheApplicationWindowAndTheTrayTakesItOut)
{
    PGHide32Initialize();
    ASSERT_TRUE(OwnerWindowExists());
    const HWND Owner = GetOwnerWindow();
    EXPECT_EQ(GetClassName(Owner), "TPGApplication");
    EXPECT_FALSE(IsWindowVisible(Owner));
    {
        TApplication App(nullptr);
        Application = &App;
        EXPECT_EQ(GetParent(App.Handle()), Owner) << "parked at its creation";
        auto* Form = new TForm(&App);
        new TPGTrayIcon95(Form);
        EXPECT_EQ(GetParent(App.Handle()), 0u);
        EXPECT_FALSE(IsWindowVisible(App.Handle()));
        // The hook went with its first catch.
        HWND Later = CreateWindowEx(0, "TApplication", "", WS_POPUP, 0, 0, 10, 10, 0);
        EXPECT_EQ(GetParent(Later), 0u);
        DestroyWindow(Later);
    }
    Application = nullptr;
    PGHide32Finalize();
    PGAppWndFinalize();
    EXPECT_FALSE(OwnerWindowExists());
}

} // namespace
