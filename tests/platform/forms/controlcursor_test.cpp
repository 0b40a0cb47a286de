// The pointer's shape over controls: each control's Cursor, the window class's cursor, the
// screen's cursor over all, and a shape that follows a change under the resting pointer.
#include "tests/platform/forms/formstest.h"

#include "platform/ui/headless/headlessdriver.h"

#include <gtest/gtest.h>

namespace {

int Shown()
{
    return dynamic_cast<THeadlessDriver&>(DisplayDriver()).Pointer();
}

// A windowed control whose window class shows the I-beam, as a text box's does.
class TTextBox : public TTestBox {
public:
    using TTestBox::TTestBox;

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TTestBox::CreateParams(Params);
        Params.WindowClass.Cursor = crIBeam;
    }
};

// A form with one control of each kind; the points are in the form's client area.
struct TCursorForm {
    TTestApplication App;
    TForm* Form = nullptr;
    TTextBox* Text = nullptr;       // 10,10 .. 90,40
    TTestShape* Bar = nullptr;      // 100,10 .. 110,90: a splitter's own cursor
    TTestBox* Link = nullptr;       // 120,10 .. 180,40: a windowed control's own cursor
    TTestShape* Off = nullptr;      // 120,50 .. 160,80: disabled, its cursor not shown
    TTestBox* Chooser = nullptr;    // 190,10 .. 290,90: chooses for the windows in it
    TTextBox* ChosenText = nullptr; // in Chooser at 10,10 .. 60,40

    TCursorForm()
    {
        Form = new TForm(&App);
        Form->SetBounds(50, 50, 320, 200);
        Text = Place<TTextBox>(Form, 10, 10, 80, 30);
        Bar = Place<TTestShape>(Form, 100, 10, 10, 80);
        Bar->SetCursor(crHSplit);
        Link = Place<TTestBox>(Form, 120, 10, 60, 30);
        Link->SetCursor(crHandPoint);
        Off = Place<TTestShape>(Form, 120, 50, 40, 30);
        Off->SetCursor(crHelp);
        Off->SetEnabled(false);
        Chooser = Place<TTestBox>(Form, 190, 10, 100, 80);
        ChosenText = Place<TTextBox>(Chooser, 10, 10, 50, 30);
        Intercept(Chooser, [this](TMessage& Message) {
            if (Message.Msg != WM_SETCURSOR ||
                static_cast<HWND>(Message.WParam) == Chooser->Handle())
                return false;
            ::SetCursor(crCross);
            Message.Result = 1;
            return true;
        });
        Form->Show();
        Pump();
    }
    void MoveTo(int X, int Y)
    {
        InjectMouseMove(Form->Handle(), X, Y);
        Pump();
    }
};

} // namespace

TEST(ControlCursor, ThePointerTakesTheShapeOfTheControlUnderIt)
{
    TCursorForm F;
    struct TCase {
        const char* What;
        int X, Y;
        TCursor Shape;
    };
    const std::vector<TCase> Cases = {
        {"a window whose class shows the I-beam", 20, 20, crIBeam},
        {"a control without a window with its own cursor", 105, 50, crHSplit},
        {"a windowed control with its own cursor", 130, 20, crHandPoint},
        {"a disabled control: its parent's", 130, 60, crArrow},
        {"the form itself", 20, 150, crArrow},
        {"a window in a parent that chooses for it", 210, 30, crCross},
        {"that parent, which leaves its own area to its class", 270, 80, crArrow},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.What);
        ::SetCursor(crNo);
        F.MoveTo(Case.X, Case.Y);
        EXPECT_EQ(Shown(), Case.Shape);
    }

    // The form's own cursor shows where no child has one.
    F.Form->SetCursor(crSizeAll);
    F.MoveTo(20, 151);
    EXPECT_EQ(Shown(), crSizeAll);
    F.MoveTo(20, 20);
    EXPECT_EQ(Shown(), crIBeam);
}

TEST(ControlCursor, TheScreensCursorWinsEverywhereUntilItIsDefaultAgain)
{
    TCursorForm F;
    F.MoveTo(20, 20);
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(Shown(), crHourGlass);
    for (const TPoint P :
         {TPoint{20, 20}, TPoint{105, 50}, TPoint{130, 20}, TPoint{210, 30}, TPoint{20, 150}}) {
        SCOPED_TRACE(std::to_string(P.X) + "," + std::to_string(P.Y));
        F.MoveTo(P.X, P.Y);
        EXPECT_EQ(Shown(), crHourGlass);
    }
    // Back to default, the control under the resting pointer shows its own at once.
    F.MoveTo(105, 50);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(Shown(), crHSplit);
}

TEST(ControlCursor, ACursorChangedUnderThePointerShowsWithoutAMove)
{
    TCursorForm F;
    F.MoveTo(105, 50);
    ASSERT_EQ(Shown(), crHSplit);
    F.Bar->SetCursor(crVSplit);
    EXPECT_EQ(Shown(), crVSplit);
    // A control away from the pointer changes nothing.
    F.Link->SetCursor(crDrag);
    EXPECT_EQ(Shown(), crVSplit);

    F.MoveTo(130, 20);
    ASSERT_EQ(Shown(), crDrag);
    F.Link->SetCursor(crDefault);
    EXPECT_EQ(Shown(), crArrow);
}

TEST(ControlCursor, ADragKeepsTheShapeOfTheControlHoldingTheMouse)
{
    TCursorForm F;
    F.MoveTo(105, 50);
    InjectMouseButton(F.Form->Handle(), 0, true, 105, 50);
    Pump();
    ASSERT_EQ(GetCaptureControl(), F.Bar);
    F.MoveTo(20, 20); // over the I-beam window
    EXPECT_EQ(Shown(), crHSplit);
    F.MoveTo(130, 20); // over the hand
    EXPECT_EQ(Shown(), crHSplit);
    InjectMouseButton(F.Form->Handle(), 0, false, 130, 20);
    Pump();
    F.MoveTo(131, 20);
    EXPECT_EQ(Shown(), crHandPoint);
}
