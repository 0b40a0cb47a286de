// The spinner: its properties, the button layouts and hit test, stepping an edit once per click
// and with accelerated repeat while held (on virtual time), and its look.
#include "controls/entry/ovcsc.h"

#include "controls/entry/ovccmd.h"
#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcef.h"
#include "controls/entry/ovcmsgs.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/properties.h"
#include "platform/stdctrls/edit.h"
#include "platform/ui/messages.h"
#include "platform/ui/ttimer.h"
#include "tests/platform/stdctrls/stdctrlstest.h"
#include "tests/support/golden.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using S = TOvcSpinState;

// Opens up the state the spinner keeps while a button is held, and what it repaints.
class TProbeSpinner : public TOvcSpinner {
public:
    using TOvcSpinner::CurrentState;
    using TOvcSpinner::Pressed;
    using TOvcSpinner::Regions;
    using TOvcSpinner::TOvcSpinner;
    std::vector<TRect> PaintClips;

protected:
    void Paint() override
    {
        PaintClips.push_back(Canvas()->ClipRect());
        TOvcSpinner::Paint();
    }
};

// An entry field that only records what the spinner asks of it.
class TStepField : public TOvcBaseEntryField {
public:
    using TOvcBaseEntryField::SetBounds;
    using TOvcBaseEntryField::TOvcBaseEntryField;
    std::vector<std::string> Calls;

    void StepValue(bool Wrap, double Delta) override
    {
        Calls.push_back("step " + std::to_string(static_cast<int>(Delta)) + (Wrap ? " wrap" : ""));
    }
    void EditCommand(TMessage&, Word Cmd) override
    {
        if (Cmd == ccLeft || Cmd == ccRight)
            Calls.push_back(Cmd == ccLeft ? "left" : "right");
    }
    Word CheckEditText() override { return 0; }
};

struct TClickRecord {
    S State;
    double Delta;
    bool Wrap;
    std::uint32_t Tick;
};

class SpinnerTest : public ::testing::Test {
protected:
    explicit SpinnerTest(std::uint32_t StartTicks = 1000000) : Time(StartTicks) {}

    void SetUp() override
    {
        Form = ShownForm(&App);
        Edit = Place<TEdit>(Form, 10, 20, 80, 21);
        Edit->SetText("5");
        Spinner = new TProbeSpinner(Form);
        Spinner->SetParent(Form);
        Spinner->SetLeft(90);
        Spinner->SetTop(18);
        Spinner->SetFocusedControl(Edit);
        Spinner->OnClick = [this](TObject*, S State, double Delta, bool Wrap) {
            Clicks.push_back(TClickRecord{State, Delta, Wrap, GetTickCount()});
        };
        Pump();
    }

    // Runs Action once, Ms milliseconds from now, from inside whatever loop is pumping then.
    void After(int Ms, std::function<void()> Action)
    {
        auto* Timer = new TTimer(Form);
        Timer->SetInterval(Ms);
        Timer->OnTimer = [Timer, Action](TObject*) {
            Timer->SetEnabled(false);
            Action();
        };
    }

    void Press(int X, int Y) { MouseButtonAt(Spinner, X, Y, true); }
    void ReleaseAfter(int Ms, int X, int Y)
    {
        After(Ms, [this, X, Y] {
            const TPoint P = InFormOf(Spinner, X, Y);
            InjectMouseButton(Form->Handle(), 0, false, P.X, P.Y);
        });
    }
    void MoveAfter(int Ms, int X, int Y)
    {
        After(Ms, [this, X, Y] {
            const TPoint P = InFormOf(Spinner, X, Y);
            InjectMouseMove(Form->Handle(), P.X, P.Y);
        });
    }

    std::vector<int> Pauses() const
    {
        std::vector<int> Result;
        for (std::size_t I = 1; I < Clicks.size(); ++I)
            Result.push_back(static_cast<int>(Clicks[I].Tick - Clicks[I - 1].Tick));
        return Result;
    }

    // The pauses a held button gives with the defaults, up to the release at 2805 ms.
    static std::vector<int> DefaultPauses()
    {
        return {500, 450, 400, 350, 300, 250, 200, 150, 100, 50, 10, 10, 10, 10, 10};
    }

    TTestApplication App;
    TVirtualTime Time;
    TForm* Form = nullptr;
    TEdit* Edit = nullptr;
    TProbeSpinner* Spinner = nullptr;
    std::vector<TClickRecord> Clicks;
};

// The up button of the default 16 x 25 spinner, and the down button.
constexpr int UpX = 8, UpY = 5, DownX = 8, DownY = 20;

} // namespace

TEST_F(SpinnerTest, StartsWithTheDefaultProperties)
{
    EXPECT_EQ(Spinner->Acceleration(), 5);
    EXPECT_TRUE(Spinner->AutoRepeat());
    EXPECT_EQ(Spinner->Delta(), 1.0);
    EXPECT_EQ(Spinner->DelayTime(), 500);
    EXPECT_TRUE(Spinner->ShowArrows());
    EXPECT_EQ(Spinner->Style(), stNormalVertical);
    EXPECT_TRUE(Spinner->WrapMode());
    EXPECT_EQ(Spinner->Width(), 16);
    EXPECT_EQ(Spinner->Height(), 25);
    EXPECT_FALSE(Spinner->TabStop());
    for (const char* Name : {"Acceleration", "AutoRepeat", "Delta", "DelayTime", "FocusedControl",
                             "ShowArrows", "Style", "WrapMode", "OnClick"})
        EXPECT_TRUE(IsPublishedProp(Spinner, Name)) << Name;
}

TEST_F(SpinnerTest, AccelerationAboveTenIsIgnored)
{
    struct TCase {
        int Value;
        int Expected;
    };
    const std::vector<TCase> Cases = {{10, 10}, {11, 10}, {0, 0}, {100, 0}, {3, 3}};
    for (const TCase& Case : Cases) {
        Spinner->SetAcceleration(Case.Value);
        EXPECT_EQ(Spinner->Acceleration(), Case.Expected) << Case.Value;
    }
}

TEST_F(SpinnerTest, ForgetsTheFocusedControlWhenItIsDestroyed)
{
    ASSERT_EQ(Spinner->FocusedControl(), Edit);
    delete Edit;
    EXPECT_EQ(Spinner->FocusedControl(), nullptr);
}

TEST_F(SpinnerTest, AnswersTheDialogCodeQueryAsAStaticControl)
{
    EXPECT_EQ(SendMessage(Spinner->Handle(), WM_GETDLGCODE, 0, 0), LRESULT(DLGC_STATIC));
}

TEST_F(SpinnerTest, RecreatesItsWindowOnTheLibraryMessageAndOnANewStyle)
{
    const HWND First = Spinner->Handle();
    SendMessage(First, OM_RECREATEWND, 0, 0);
    const HWND Second = Spinner->Handle();
    EXPECT_NE(Second, First);
    EXPECT_TRUE(IsWindow(Second));

    Spinner->SetStyle(stStar);
    EXPECT_NE(Spinner->Handle(), Second);
    EXPECT_FALSE(Spinner->Regions()[4].Empty()) << "the star has a centre button";
}

TEST(SpinnerRegions, HitTestFindsTheButtonOfEachStyle)
{
    struct TCase {
        TOvcSpinnerStyle Style;
        int W, H;
        TPoint P;
        S Expected;
    };
    const std::vector<TCase> Cases = {
        {stNormalVertical, 16, 25, {8, 0}, S::ssUpBtn},
        {stNormalVertical, 16, 25, {8, 12}, S::ssUpBtn},
        {stNormalVertical, 16, 25, {8, 13}, S::ssDownBtn},
        {stNormalVertical, 16, 25, {15, 24}, S::ssDownBtn},
        {stNormalVertical, 16, 25, {-1, 5}, S::ssOutOfControl},
        {stNormalVertical, 16, 25, {16, 5}, S::ssOutOfControl},
        {stNormalVertical, 16, 25, {3, 25}, S::ssOutOfControl},
        {stNormalHorizontal, 25, 16, {12, 8}, S::ssRightBtn},
        {stNormalHorizontal, 25, 16, {24, 8}, S::ssRightBtn},
        {stNormalHorizontal, 25, 16, {11, 8}, S::ssLeftBtn},
        {stFourWay, 24, 24, {12, 2}, S::ssUpBtn},
        {stFourWay, 24, 24, {12, 21}, S::ssDownBtn},
        {stFourWay, 24, 24, {2, 12}, S::ssLeftBtn},
        {stFourWay, 24, 24, {21, 12}, S::ssRightBtn},
        {stFourWay, 24, 24, {0, 0}, S::ssUpBtn}, // corners go to the first region holding them
        {stStar, 24, 24, {12, 3}, S::ssUpBtn},
        {stStar, 24, 24, {12, 20}, S::ssDownBtn},
        {stStar, 24, 24, {3, 12}, S::ssLeftBtn},
        {stStar, 24, 24, {20, 12}, S::ssRightBtn},
        {stStar, 24, 24, {12, 12}, S::ssCenterBtn},
        {stStar, 24, 24, {1, 1}, S::ssNormal},
        {stDiagonalVertical, 16, 25, {1, 1}, S::ssUpBtn},
        {stDiagonalVertical, 16, 25, {14, 23}, S::ssDownBtn},
        {stDiagonalHorizontal, 16, 25, {1, 1}, S::ssLeftBtn},
        {stDiagonalHorizontal, 16, 25, {14, 23}, S::ssRightBtn},
        {stDiagonalFourWay, 24, 24, {2, 12}, S::ssLeftBtn},
        {stDiagonalFourWay, 24, 24, {21, 12}, S::ssRightBtn},
        {stDiagonalFourWay, 24, 24, {8, 2}, S::ssUpBtn},
        {stDiagonalFourWay, 24, 24, {16, 21}, S::ssDownBtn},
        {stPlainStar, 24, 24, {12, 3}, S::ssUpBtn},
        {stPlainStar, 24, 24, {12, 20}, S::ssDownBtn},
        {stPlainStar, 24, 24, {3, 12}, S::ssLeftBtn},
        {stPlainStar, 24, 24, {20, 12}, S::ssRightBtn},
        {stPlainStar, 24, 24, {12, 12}, S::ssUpBtn}, // the centre is a corner of all four
        {stPlainStar, 24, 24, {1, 1}, S::ssNormal},
    };
    for (const TCase& C : Cases) {
        const TSpinRegions R = SpinnerRegions(C.Style, C.W, C.H);
        EXPECT_EQ(SpinnerHitTest(C.Style, R, C.W, C.H, C.P, true), C.Expected)
            << "style " << C.Style << " at " << C.P.X << "," << C.P.Y;
        // Before a button went down on the control, inside counts as no button.
        if (C.Expected != S::ssOutOfControl) {
            EXPECT_EQ(SpinnerHitTest(C.Style, R, C.W, C.H, C.P, false), S::ssNormal);
        }
    }
}

TEST(SpinnerRegions, StarButtonsSpanTheReferencePoints)
{
    const TSpinRegions R = SpinnerRegions(stStar, 30, 30);
    // Up: the top middle and the two upper inner points; centre: the inner square.
    EXPECT_EQ(R[0].Bounds(), Rect(10, 0, 21, 11));
    EXPECT_EQ(R[4].Bounds(), Rect(10, 10, 21, 21));
}

TEST_F(SpinnerTest, AClickStepsTheEditOnce)
{
    Edit->SetFocus();
    Pump();
    ClickAt(Spinner, UpX, UpY);
    Spend(Time, 2000);
    EXPECT_EQ(Edit->Text(), "6");
    ASSERT_EQ(Clicks.size(), 1u);
    EXPECT_EQ(Clicks[0].State, S::ssUpBtn);
    EXPECT_EQ(Clicks[0].Delta, 1.0);
    EXPECT_TRUE(Clicks[0].Wrap);
    EXPECT_FALSE(Spinner->Pressed());
    EXPECT_EQ(Spinner->CurrentState(), S::ssNormal);

    Spinner->SetDelta(2.5);
    ClickAt(Spinner, DownX, DownY);
    EXPECT_EQ(Edit->Text(), "3.5");
}

TEST_F(SpinnerTest, StepsAnEntryFieldAndMovesItsCaretOnlyWhileItHasTheFocus)
{
    new TOvcController(Form);
    auto* Field = Place<TStepField>(Form, 10, 100, 80, 21);
    Spinner->SetFocusedControl(Field);
    Spinner->SetStyle(stFourWay);
    Spinner->SetBounds(90, 18, 30, 30);
    Field->SetFocus();
    Pump();
    struct TCase {
        int X, Y;
        bool Wrap;
        double Delta;
        const char* Expected;
    };
    const std::vector<TCase> Cases = {
        {15, 3, true, 1, "step 1 wrap"},
        {15, 26, false, 100, "step -100"},
        {3, 15, true, 1, "left"},
        {26, 15, true, 1, "right"},
    };
    for (const TCase& Case : Cases) {
        Field->Calls.clear();
        Spinner->SetWrapMode(Case.Wrap);
        Spinner->SetDelta(Case.Delta);
        ClickAt(Spinner, Case.X, Case.Y);
        EXPECT_EQ(Field->Calls, std::vector<std::string>{Case.Expected}) << Case.Expected;
    }
    // Without the focus the caret buttons leave the field alone; the spinner takes the focus
    // for the field first, so it is taken away again while the button is held.
    Field->Calls.clear();
    After(50, [this] { Edit->SetFocus(); });
    ReleaseAfter(2000, 3, 15);
    Press(3, 15);
    EXPECT_EQ(Field->Calls, std::vector<std::string>{"left"});
}

TEST_F(SpinnerTest, APressTakesTheFocusForTheFocusedControl)
{
    auto* Other = Place<TEdit>(Form, 10, 60, 80, 21);
    Other->SetFocus();
    Pump();
    std::vector<std::string> Entered;
    Spinner->OnEnter = [&](TObject*) { Entered.push_back("spinner"); };
    Edit->OnEnter = [&](TObject*) { Entered.push_back("edit"); };
    ReleaseAfter(100, UpX, UpY);
    Press(UpX, UpY);
    Pump();
    EXPECT_EQ(Entered, (std::vector<std::string>{"spinner", "edit"}));
    EXPECT_TRUE(Edit->Focused());
    EXPECT_EQ(Edit->Text(), "6");
    EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(SpinnerTest, AControlThatKeepsTheFocusStopsThePress)
{
    auto* Other = Place<TEdit>(Form, 10, 60, 80, 21);
    Other->SetFocus();
    Pump();
    // Validation refuses to let go: the focus goes straight back.
    Other->OnExit = [Other](TObject*) { PostMessage(Other->Handle(), WM_SETFOCUS, 0, 0); };
    Spinner->OnEnter = [Other](TObject*) { Other->SetFocus(); };
    ReleaseAfter(100, UpX, UpY);
    Press(UpX, UpY);
    Pump();
    EXPECT_TRUE(Other->Focused());
    EXPECT_EQ(Edit->Text(), "5");
    EXPECT_TRUE(Clicks.empty());
}

TEST_F(SpinnerTest, HoldingRepeatsFasterAndFasterUntilReleased)
{
    Edit->SetFocus();
    Pump();
    ReleaseAfter(2805, UpX, UpY);
    Press(UpX, UpY);
    EXPECT_EQ(Pauses(), DefaultPauses());
    EXPECT_EQ(Edit->Text(), "21");
    EXPECT_FALSE(Spinner->Pressed());
    // Nothing more once released.
    Spend(Time, 1000);
    EXPECT_EQ(Clicks.size(), 16u);
}

class SpinnerAcrossTheTickWrap : public SpinnerTest {
protected:
    SpinnerAcrossTheTickWrap() : SpinnerTest(0xFFFFFFFFu - 1500) {}
};

TEST_F(SpinnerAcrossTheTickWrap, RepeatsAtTheSamePaces)
{
    Edit->SetFocus();
    Pump();
    const std::uint32_t Start = GetTickCount();
    // The mouse trembles inside the button all along: every wake-up must find the step not due.
    auto* Tremble = new TTimer(Form);
    Tremble->SetInterval(7);
    Tremble->OnTimer = [this](TObject*) {
        const TPoint P = InFormOf(Spinner, UpX, UpY + static_cast<int>(GetTickCount() % 2));
        InjectMouseMove(Form->Handle(), P.X, P.Y);
    };
    ReleaseAfter(2805, UpX, UpY);
    Press(UpX, UpY);
    EXPECT_GT(Start, Clicks.back().Tick) << "the count wrapped meanwhile";
    EXPECT_EQ(Pauses(), DefaultPauses());
    EXPECT_EQ(Edit->Text(), "21");
}

TEST_F(SpinnerTest, MovingOntoTheDownButtonReversesTheSteps)
{
    Edit->SetFocus();
    Pump();
    MoveAfter(1000, DownX, DownY);
    ReleaseAfter(2000, DownX, DownY);
    Press(UpX, UpY);
    // Up at 0, 500 and 950; down from the next due time on: 1350, 1700, 2000.
    std::vector<S> States;
    for (const TClickRecord& C : Clicks)
        States.push_back(C.State);
    EXPECT_EQ(States, (std::vector<S>{S::ssUpBtn, S::ssUpBtn, S::ssUpBtn, S::ssDownBtn,
                                      S::ssDownBtn, S::ssDownBtn}));
    EXPECT_EQ(Edit->Text(), "5");
}

TEST_F(SpinnerTest, LeavingTheControlWhileHeldPausesTheSteps)
{
    Edit->SetFocus();
    Pump();
    MoveAfter(1000, 30, UpY); // beside the spinner
    MoveAfter(2000, UpX, UpY);
    ReleaseAfter(2500, UpX, UpY);
    const std::uint32_t Start = GetTickCount();
    Press(UpX, UpY);
    // Back on the button the overdue step comes at once, then the pauses go on.
    std::vector<int> Ticks;
    for (const TClickRecord& C : Clicks)
        Ticks.push_back(static_cast<int>(C.Tick - Start));
    EXPECT_EQ(Ticks, (std::vector<int>{0, 500, 950, 2000, 2350}));
}

TEST_F(SpinnerTest, AQuickSecondClickStepsAgain)
{
    Edit->SetFocus();
    Pump();
    ClickAt(Spinner, UpX, UpY);
    ClickAt(Spinner, UpX, UpY);
    EXPECT_EQ(Edit->Text(), "7");
}

TEST_F(SpinnerTest, LeavesAnEditWithoutANumberAlone)
{
    Edit->SetText("abc");
    Edit->SetFocus();
    Pump();
    ReleaseAfter(600, UpX, UpY);
    Press(UpX, UpY);
    EXPECT_EQ(Edit->Text(), "abc");
    EXPECT_EQ(Clicks.size(), 2u) << "OnClick still hears of each step";
}

TEST_F(SpinnerTest, WithoutAutoRepeatAHeldButtonStepsOnce)
{
    Spinner->SetAutoRepeat(false);
    Edit->SetFocus();
    Pump();
    ReleaseAfter(3000, UpX, UpY);
    Press(UpX, UpY);
    EXPECT_EQ(Edit->Text(), "6");
    EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(SpinnerTest, AFailingStepStillReleasesTheButton)
{
    std::vector<std::string> Errors;
    App.OnException = [&](TObject*, const Exception& E) { Errors.push_back(E.Message()); };
    Spinner->OnClick = [](TObject*, S, double, bool) { throw Exception("no more"); };
    Edit->SetFocus();
    Pump();
    ReleaseAfter(100, UpX, UpY);
    Press(UpX, UpY);
    Pump();
    EXPECT_EQ(Errors, (std::vector<std::string>{"no more"}));
    EXPECT_FALSE(Spinner->Pressed());
    EXPECT_EQ(Spinner->CurrentState(), S::ssNormal);
}

TEST_F(SpinnerTest, RepaintsOnlyTheButtonsWhoseStateChanged)
{
    Spinner->SetStyle(stStar);
    Spinner->SetBounds(90, 18, 30, 30);
    Edit->SetFocus();
    Pump();
    Spinner->PaintClips.clear();
    ReleaseAfter(100, 15, 4);
    Press(15, 4);
    Pump();
    const TRect Up = Spinner->Regions()[0].Bounds();
    ASSERT_FALSE(Spinner->PaintClips.empty());
    for (const TRect& Clip : Spinner->PaintClips)
        EXPECT_EQ(Clip, Up);
}

TEST_F(SpinnerTest, LooksLikeItsGoldenPictures)
{
    struct TCase {
        const char* File;
        TOvcSpinnerStyle Style;
        int W, H;
        int PressX, PressY; // -1: not pressed
    };
    const std::vector<TCase> Cases = {
        {"spinner_normalvertical.png", stNormalVertical, 16, 25, -1, -1},
        {"spinner_normalvertical_up.png", stNormalVertical, 16, 25, UpX, UpY},
        {"spinner_normalhorizontal.png", stNormalHorizontal, 25, 16, -1, -1},
        {"spinner_fourway.png", stFourWay, 30, 30, -1, -1},
        {"spinner_fourway_left.png", stFourWay, 30, 30, 3, 15},
        {"spinner_star.png", stStar, 30, 30, -1, -1},
        {"spinner_diagonalvertical.png", stDiagonalVertical, 16, 25, -1, -1},
        {"spinner_diagonalhorizontal.png", stDiagonalHorizontal, 25, 16, -1, -1},
        {"spinner_diagonalfourway.png", stDiagonalFourWay, 30, 30, -1, -1},
        {"spinner_plainstar.png", stPlainStar, 30, 30, -1, -1},
    };
    Edit->SetFocus();
    for (const TCase& Case : Cases) {
        Spinner->SetStyle(Case.Style);
        Spinner->SetBounds(90, 18, Case.W, Case.H);
        Pump();
        TRasterDevice Device(Case.W, Case.H, clWhite);
        if (Case.PressX < 0) {
            CopyWindowPicture(Spinner->Handle(), Device, 0, 0);
        } else {
            After(50, [&] {
                UpdateWindow(Spinner->Handle());
                CopyWindowPicture(Spinner->Handle(), Device, 0, 0);
            });
            ReleaseAfter(100, Case.PressX, Case.PressY);
            Press(Case.PressX, Case.PressY);
        }
        ExpectMatchesGoldenPng(Device, std::string("entry/") + Case.File);
    }
}
