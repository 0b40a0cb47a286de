// tests/gui/entry/numericfield_test.cpp: numeric fields and a spinner on a private X server, typed
// into and clicked with xdotool: an amount shown right-aligned as the screen shows it, the range
// error box as a real window that Enter closes, and the spinner stepping once per click and a
// few times while held.
#include "tests/gui/formfixture.h"

#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcnf.h"
#include "controls/entry/ovcsc.h"
#include "platform/dialogs/formdialogs.h"
#include "platform/dialogs/messageform.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/label.h"
#include "platform/ui/screen.h"
#include "platform/ui/windowdc.h"

#include <sstream>
#include <string>
#include <vector>

namespace {

using guitest::PumpUntil;
using guitest::RunTool;

class TEntryForm : public TForm {
public:
    explicit TEntryForm(TComponent* AOwner)
        : TForm(AOwner), Controller(new TOvcController(this)), Minutes(Field("nMinutes", 16)),
          Spinner(new TOvcSpinner(this)), Amount(Field("nAmount", 56)), Button(new TButton(this))
    {
        SetCaption("Entry fields");
        SetClientWidth(240);
        SetClientHeight(140);
        Minutes->SetPictureMask("##########");
        Minutes->SetRangeLo("2");
        Minutes->SetRangeHi("600");
        Minutes->SetIntegerValue(15);
        Spinner->SetParent(this);
        Spinner->SetLeft(140);
        Spinner->SetTop(14);
        Spinner->SetFocusedControl(Minutes);
        Spinner->SetDelta(1);
        Amount->SetDataType(nftDouble);
        Amount->SetPictureMask("###,###.##");
        Button->SetParent(this);
        Button->SetBounds(20, 96, 75, 25);
        Button->SetCaption("OK");
    }

    TOvcController* Controller;
    TOvcNumericField* Minutes;
    TOvcSpinner* Spinner;
    TOvcNumericField* Amount;
    TButton* Button;

private:
    TOvcNumericField* Field(const std::string& Name, int Top)
    {
        auto* F = new TOvcNumericField(this);
        F->SetParent(this);
        // The entry field keeps SetBounds protected; the control's is public.
        static_cast<TControl*>(F)->SetBounds(20, Top, 120, 21);
        F->SetName(Name);
        return F;
    }
};

class EntryFieldsX11 : public guitest::FormScreenTest<TEntryForm> {
protected:
    TEntryForm* MakeForm() override { return new TEntryForm(App.get()); }

    void SetUp() override
    {
        FPrevious = SetDialogService(&FDialogs);
        guitest::FormScreenTest<TEntryForm>::SetUp();
    }

    void TearDown() override
    {
        if (App)
            App->OnIdle = nullptr;
        SetDialogService(FPrevious);
        guitest::FormScreenTest<TEntryForm>::TearDown();
    }

    // Where a control's client area lies in the form's screenshot.
    TRect InShot(TControl* Control)
    {
        TPoint Origin{0, 0};
        ClientToScreen(Form->Handle(), Origin);
        const TPoint At = OnScreen(Control, TPoint{0, 0});
        const TRect Client = Control->ClientRect();
        return Bounds(At.X - Origin.X, At.Y - Origin.Y, Client.Width(), Client.Height());
    }

    // Focuses F by a click and waits until it has the focus.
    void ClickInto(TOvcNumericField* F)
    {
        ClickAt(F, Middle(F));
        ASSERT_TRUE(PumpUntil([&] { return F->Focused(); })) << F->Name();
    }

    // The visible windows whose title is Title, as the desktop finds them.
    std::vector<std::string> WindowsTitled(const std::string& Title)
    {
        const auto Found =
            RunTool(Display, {"xdotool", "search", "--onlyvisible", "--name", "^" + Title + "$"});
        std::vector<std::string> Ids;
        std::istringstream Lines(Found.Output);
        for (std::string Line; std::getline(Lines, Line);)
            if (!Line.empty())
                Ids.push_back(Line);
        return Ids;
    }

    // Runs the xdotool commands on the spinner's up button; the steps it made meanwhile.
    int StepsDuring(const std::vector<std::string>& PressAndRelease)
    {
        int Steps = 0;
        Form->Spinner->OnClick = [&](TObject*, TOvcSpinState State, double, bool) {
            EXPECT_EQ(State, TOvcSpinState::ssUpBtn);
            ++Steps;
        };
        MoveTo(Form->Spinner, TPoint{8, 5});
        std::vector<std::string> Args = {"xdotool"};
        Args.insert(Args.end(), PressAndRelease.begin(), PressAndRelease.end());
        EXPECT_EQ(RunTool(Display, Args).Status, 0);
        // The release has come in once the button reads as up; a moment more lets a step
        // that should not come show.
        EXPECT_TRUE(PumpUntil([&] { return !(GetAsyncKeyState(VK_LBUTTON) & 0x8000); }));
        guitest::Pump(100);
        Form->Spinner->OnClick = nullptr;
        return Steps;
    }

private:
    TFormDialogs FDialogs;
    IDialogService* FPrevious = nullptr;
};

} // namespace

TEST_F(EntryFieldsX11, AnAmountTypedShowsWithItsSeparatorsRightAligned)
{
    ClickInto(Form->Amount);
    Type("1234.5");
    ASSERT_TRUE(PumpUntil([&] { return Form->Amount->GetDisplayText() == "1,234.50"; }))
        << Form->Amount->GetDisplayText();
    const TDibImage Shot = ExpectScreenShowsBackBuffer();

    // The ink of the number sits at the right end of the field.
    const TRect Field = InShot(Form->Amount);
    int Left = Field.Right, Right = Field.Left;
    for (int Y = Field.Top + 2; Y < Field.Bottom - 2; ++Y)
        for (int X = Field.Left + 2; X < Field.Right - 2; ++X) {
            const TColor C = Shot.Pixel(X, Y);
            if (GetRValue(C) + GetGValue(C) + GetBValue(C) < 3 * 128) {
                Left = std::min(Left, X);
                Right = std::max(Right, X);
            }
        }
    ASSERT_LT(Left, Right) << "no text in the field";
    EXPECT_LE(Field.Right - Right, 8) << "the number ends at the right edge";
    EXPECT_GT(Left - Field.Left, Field.Width() / 3) << "and starts well inside";

    double Value = 0;
    EXPECT_EQ(Form->Amount->ReadValue(&Value), 0);
    EXPECT_DOUBLE_EQ(Value, 1234.5);
}

TEST_F(EntryFieldsX11, AMinuteOutOfRangeBringsTheErrorBoxAndTheFieldBack)
{
    ClickInto(Form->Minutes);
    // Whether the click selected the text or not, three Backspaces leave zero.
    Keys({"BackSpace", "BackSpace", "BackSpace"});
    Type("700");
    ASSERT_TRUE(PumpUntil([&] { return Form->Minutes->GetDisplayText() == "700"; }))
        << Form->Minutes->GetDisplayText();

    // While the box waits, the desktop finds it among its windows and presses Enter on it.
    std::string Text;
    bool Found = false, Acted = false;
    App->OnIdle = [&](TObject*, bool& Done) {
        auto* Box = dynamic_cast<TMessageForm*>(Screen->ActiveForm());
        if (Acted || Box == nullptr)
            return;
        Acted = true;
        Done = false;
        Text = Box->Message()->Caption();
        const std::string BoxId = std::to_string(DisplayDriver().NativeId(Box->Handle()));
        for (const std::string& Window : WindowsTitled(Box->Caption()))
            Found = Found || Window == BoxId;
        // Should a tool fail, the box is taken down so that the test ends.
        if (RunTool(Display, {"xdotool", "windowfocus", "--sync", BoxId}).Status != 0 ||
            RunTool(Display, {"xdotool", "key", "Return"}).Status != 0) {
            ADD_FAILURE() << "xdotool failed";
            Box->SetModalResult(mrCancel);
        }
    };
    Keys({"Tab"});
    ASSERT_TRUE(PumpUntil([&] { return Acted && Form->Minutes->Focused(); }));
    App->OnIdle = nullptr;
    EXPECT_TRUE(Found) << "the box is a window of its own on the server";
    EXPECT_EQ(Text, "Value is not within required range");
    EXPECT_EQ(Form->Minutes->LastError(), 256);

    Keys({"BackSpace", "BackSpace", "BackSpace"});
    Type("42");
    EXPECT_TRUE(PumpUntil([&] { return Form->Minutes->GetDisplayText() == "42"; }))
        << Form->Minutes->GetDisplayText();
    Keys({"Tab"});
    ASSERT_TRUE(PumpUntil([&] { return Form->Amount->Focused(); }));
    EXPECT_EQ(Form->Minutes->GetIntegerValue(), 42);
    EXPECT_EQ(Form->Minutes->LastError(), 0);
}

TEST_F(EntryFieldsX11, TheSpinnerStepsOncePerClickAndAFewTimesWhileHeld)
{
    ClickInto(Form->Minutes);
    ASSERT_EQ(Form->Minutes->GetIntegerValue(), 15);

    EXPECT_EQ(StepsDuring({"click", "1"}), 1);
    EXPECT_EQ(Form->Minutes->GetIntegerValue(), 16);
    EXPECT_TRUE(Form->Minutes->Focused());

    // Held 1.5 s: steps at 0, 500, 950 and 1350 ms, give or take a loaded machine's delays;
    // a repeat that spun would give hundreds.
    const int Held = StepsDuring({"mousedown", "1", "sleep", "1.5", "mouseup", "1"});
    EXPECT_GT(Held, 2);
    EXPECT_LT(Held, 15);
    EXPECT_EQ(Form->Minutes->GetIntegerValue(), 16 + Held);
}
