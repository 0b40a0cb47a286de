// Up-down controls: the associated edit beside them showing the position, clicks with and
// without wrapping, OnChanging refusing a step, auto-repeat and acceleration on virtual time,
// the edit's arrow keys, and the look in its states.
#include "tests/platform/stdctrls/stdctrlstest.h"
#include "tests/support/golden.h"

#include "platform/gfx/rasterdevice.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/updown.h"
#include "platform/stdctrls/updownwindow.h"
#include "platform/ui/virtualtime.h"

#include <gtest/gtest.h>

namespace {

class UpDowns : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = ShownForm(&App, 320, 240);
        Edit = Place<TEdit>(Form, 10, 10, 80, 21);
        Up = Place<TUpDown>(Form, 200, 10, 16, 24);
        Up->SetAssociate(Edit);
        Up->OnClick = [this](TObject*, TUDBtnType Button) { Clicks.push_back(Button); };
        Pump();
    }

    void Spend(int Ms) { ::Spend(Time, Ms); }
    void Mouse(int X, int Y, bool Down) { MouseButtonAt(Up, X, Y, Down); }
    void MoveTo(int X, int Y) { MouseMoveAt(Up, X, Y); }
    TPoint UpArrow() const { return TPoint{Up->Width() / 2, 3}; }
    TPoint DownArrow() const { return TPoint{Up->Width() / 2, Up->Height() - 3}; }
    void ClickArrow(TPoint P) { ClickAt(Up, P.X, P.Y); }

    TVirtualTime Time;
    TTestApplication App;
    TForm* Form = nullptr;
    TEdit* Edit = nullptr;
    TUpDown* Up = nullptr;
    std::vector<TUDBtnType> Clicks;
};

} // namespace

TEST_F(UpDowns, AssociatedEditGivesUpRoomAndShowsThePosition)
{
    EXPECT_EQ(Edit->Width(), 64);
    EXPECT_EQ(Up->Left(), Edit->Left() + Edit->Width());
    EXPECT_EQ(Up->Top(), Edit->Top());
    EXPECT_EQ(Up->Height(), Edit->Height());
    EXPECT_EQ(Edit->Text(), "0");
    // Told again, the edit does not give up more room.
    Up->Perform(UDM_SETBUDDY, reinterpret_cast<WPARAM>(Edit->Handle()), 0);
    EXPECT_EQ(Edit->Width(), 64);

    // At the left, the edit moves over.
    auto* Other = Place<TEdit>(Form, 10, 60, 80, 21);
    auto* Left = Place<TUpDown>(Form, 200, 60, 16, 24);
    Left->SetAlignButton(udLeft);
    Left->SetAssociate(Other);
    EXPECT_EQ(Left->Left(), 10);
    EXPECT_EQ(Other->Left(), 26);
    EXPECT_EQ(Other->Width(), 64);

    Up->SetMax(100000);
    struct TCase {
        const char* Name;
        std::function<void()> Act;
        int Position;
        const char* Text;
    };
    const std::vector<TCase> Cases = {
        {"set in code", [&] { Up->SetPosition(1234); }, 1234, "1,234"},
        {"no thousands separator", [&] { Up->SetThousands(false); }, 1234, "1234"},
        {"typed text read back", [&] { Edit->SetText("57"); }, 57, "57"},
        {"typed with separators", [&] { Edit->SetText("2,500"); }, 2500, "2,500"},
        {"typed past Max", [&] { Edit->SetText("900000"); }, 100000, "900000"},
        {"no number keeps the last", [&] { Edit->SetText("abc"); }, 100000, "abc"},
        {"a step rewrites a text that was no number", [&] { ClickArrow(DownArrow()); }, 99999,
         "99999"},
        {"hexadecimal", [&] { Up->Perform(UDM_SETBASE, 16, 0); }, 99999, "0x1869F"},
        {"hexadecimal typed", [&] { Edit->SetText("0x1F"); }, 31, "0x1F"},
        {"back to decimal", [&] { Up->Perform(UDM_SETBASE, 10, 0); }, 31, "31"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Case.Act();
        EXPECT_EQ(Up->Position(), Case.Position);
        EXPECT_EQ(Edit->Text(), Case.Text);
    }
}

TEST_F(UpDowns, ClicksStepWithinTheRangeAndWrapWhenAsked)
{
    Up->SetMax(3);
    struct TCase {
        const char* Name;
        bool Wrap;
        bool UpArrowClicked;
        int Position;
        bool Clicked;
    };
    const std::vector<TCase> Cases = {
        {"up", false, true, 1, true},          {"up", false, true, 2, true},
        {"up to Max", false, true, 3, true},   {"held at Max", false, true, 3, false},
        {"wraps to Min", true, true, 0, true}, {"wraps back to Max", true, false, 3, true},
        {"down", true, false, 2, true},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Up->SetWrap(Case.Wrap);
        Clicks.clear();
        ClickArrow(Case.UpArrowClicked ? UpArrow() : DownArrow());
        EXPECT_EQ(Up->Position(), Case.Position);
        EXPECT_EQ(Edit->Text(), std::to_string(Case.Position));
        if (Case.Clicked)
            EXPECT_EQ(Clicks, std::vector<TUDBtnType>{Case.UpArrowClicked ? btNext : btPrev});
        else
            EXPECT_TRUE(Clicks.empty());
    }
    EXPECT_TRUE(Edit->Focused()); // a click on the arrows puts the focus in the edit
}

TEST_F(UpDowns, OnChangingRefusesAStep)
{
    Up->SetPosition(5);
    int Asked = 0;
    Up->OnChanging = [&](TObject*, bool& Allow) {
        ++Asked;
        Allow = Up->Position() < 6;
    };
    ClickArrow(UpArrow());
    ClickArrow(UpArrow());
    ClickArrow(UpArrow());
    EXPECT_EQ(Asked, 3);
    EXPECT_EQ(Up->Position(), 6);
    EXPECT_EQ(Edit->Text(), "6");
    EXPECT_EQ(Clicks, std::vector<TUDBtnType>{btNext});
}

TEST_F(UpDowns, HoldingAnArrowRepeatsAfterADelayAndSpeedsUp)
{
    Up->SetMax(1000);
    Mouse(UpArrow().X, UpArrow().Y, true);
    struct TStep {
        int Wait;
        int Position;
    };
    // One step at once, the next after the delay, then every repeat; from two seconds on, five
    // at a time, as the default acceleration has it.
    const std::vector<TStep> Steps = {
        {0, 1}, {490, 1}, {10, 2}, {100, 3}, {1300, 16}, {100, 21}, {100, 26},
    };
    for (const TStep& Step : Steps) {
        Spend(Step.Wait);
        EXPECT_EQ(Up->Position(), Step.Position) << "after " << Step.Wait << " ms more";
    }
    // Off the arrow it waits; back on it goes on.
    MoveTo(UpArrow().X, Up->Height() + 20);
    Spend(500);
    EXPECT_EQ(Up->Position(), 26);
    MoveTo(UpArrow().X, UpArrow().Y);
    Spend(100);
    EXPECT_EQ(Up->Position(), 31);
    Mouse(UpArrow().X, UpArrow().Y, false);
    Spend(1000);
    EXPECT_EQ(Up->Position(), 31);
    EXPECT_EQ(Edit->Text(), "31");
}

TEST_F(UpDowns, IncrementAndItsOwnAccelerationTable)
{
    Up->SetMax(1000);
    Up->SetIncrement(2);
    ClickArrow(UpArrow());
    EXPECT_EQ(Up->Position(), 2);
    const UDACCEL Table[] = {{0, 3}, {1, 10}};
    Up->Perform(UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(Table));
    Mouse(UpArrow().X, UpArrow().Y, true); // 5
    Spend(500);                            // 8
    Spend(400);                            // 20 (12 ... 20: at 600, 700, 800, 900)
    Spend(100);                            // a second held: 30
    Mouse(UpArrow().X, UpArrow().Y, false);
    EXPECT_EQ(Up->Position(), 30);
    UDACCEL Back[3];
    EXPECT_EQ(Up->Perform(UDM_GETACCEL, 3, reinterpret_cast<LPARAM>(Back)), 2);
    EXPECT_EQ(Back[1].nInc, 10u);
}

TEST_F(UpDowns, ArrowKeysInTheEditStepWhenAllowed)
{
    Up->SetPosition(10);
    Edit->SetFocus();
    InjectKeyPress(VK_UP);
    InjectKeyPress(VK_UP);
    InjectKeyPress(VK_DOWN);
    Pump();
    EXPECT_EQ(Up->Position(), 11);
    EXPECT_EQ(Edit->Text(), "11");
    EXPECT_EQ(Clicks, (std::vector<TUDBtnType>{btNext, btNext, btPrev}));
    Up->SetArrowKeys(false);
    InjectKeyPress(VK_UP);
    Pump();
    EXPECT_EQ(Up->Position(), 11);
}

TEST_F(UpDowns, AHorizontalUpDownStepsUpWithItsRightArrow)
{
    Up->SetOrientation(udHorizontal);
    EXPECT_GT(Up->Width(), Up->Height());
    ClickAt(Up, Up->Width() - 3, Up->Height() / 2);
    ClickAt(Up, Up->Width() - 3, Up->Height() / 2);
    ClickAt(Up, 3, Up->Height() / 2);
    EXPECT_EQ(Up->Position(), 1);
    EXPECT_EQ(Clicks, (std::vector<TUDBtnType>{btNext, btNext, btPrev}));
}

TEST_F(UpDowns, AnAssociateThatGoesIsLetGo)
{
    delete Edit;
    Pump();
    EXPECT_EQ(Up->Associate(), nullptr);
    EXPECT_EQ(Up->Perform(UDM_GETBUDDY, 0, 0), 0);
    ClickArrow(UpArrow());
    EXPECT_EQ(Up->Position(), 1);
}

TEST_F(UpDowns, LookLikeTheirGoldenPictures)
{
    struct TCase {
        const char* File;
        std::function<void(TUpDown*)> Set;
        bool Hold;
    };
    const std::vector<TCase> Cases = {
        {"updown_normal.png", [](TUpDown*) {}, false},
        {"updown_pressed.png", [](TUpDown*) {}, true},
        {"updown_disabled.png", [](TUpDown* U) { U->SetEnabled(false); }, false},
        {"updown_horizontal.png", [](TUpDown* U) { U->SetOrientation(udHorizontal); }, false},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.File);
        auto* U = Place<TUpDown>(Form, 250, 100, 17, 26);
        Case.Set(U);
        Pump();
        if (Case.Hold) {
            const TPoint P = Form->ScreenToClient(U->ClientToScreen(TPoint{8, 3}));
            InjectMouseMove(Form->Handle(), P.X, P.Y);
            InjectMouseButton(Form->Handle(), 0, true, P.X, P.Y);
            Pump();
        }
        TRasterDevice Device(U->Width(), U->Height());
        CopyWindowPicture(U->Handle(), Device, 0, 0);
        ExpectMatchesGoldenPng(Device, std::string("stdctrls/") + Case.File);
        delete U;
        Pump();
    }
}
