// Where a form opens, by its Position, on a screen other than the usual one: centred on the
// screen, on the main form or on its owner, kept on the work area, and placed by the system.
#include "tests/platform/forms/formstest.h"

#include "platform/ui/displaydriver.h"
#include "platform/ui/headless/headlessdriver.h"
#include "platform/ui/sysmetrics.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The headless driver on a 1920 x 1080 screen with a panel along the top and a dock on the
// left, and an application whose main form stands near the bottom right corner.
class Placement : public ::testing::Test {
protected:
    void SetUp() override
    {
        Saved = Driver().NativeScreen();
        Driver().SetNativeScreen(TNativeScreen{1920, 1080, Work, 96});
        App = std::make_unique<TTestApplication>();
        CreateForm(App.get(), Main);
        Main->SetBounds(1500, 700, 400, 300);
        Main->Show();
    }
    void TearDown() override
    {
        App.reset();
        Driver().SetNativeScreen(Saved);
    }

    static THeadlessDriver& Driver() { return dynamic_cast<THeadlessDriver&>(DisplayDriver()); }

    // A form of the application, owned by Owner, shown at Designed with Position.
    TForm* ShowForm(TPosition Position, const TRect& Designed, TComponent* Owner = nullptr)
    {
        TForm* Form = new TForm(Owner != nullptr ? Owner : App.get());
        Form->SetBoundsRect(Designed);
        Form->SetPosition(Position);
        Form->Show();
        return Form;
    }

    const TRect Work = Rect(48, 32, 1920, 1080);
    TNativeScreen Saved;
    std::unique_ptr<TTestApplication> App;
    TForm* Main = nullptr;
};

TEST_F(Placement, PositionPlacesTheFormAtItsFirstShow)
{
    struct TCase {
        const char* Name;
        TPosition Position;
        TRect Designed;
        TRect Expected;
    };
    const std::vector<TCase> Cases = {
        {"screen centre", poScreenCenter, Bounds(0, 0, 200, 100), Bounds(860, 490, 200, 100)},
        {"desktop centre", poDesktopCenter, Bounds(0, 0, 200, 100), Bounds(860, 490, 200, 100)},
        {"larger than the work area", poScreenCenter, Bounds(0, 0, 2000, 1200),
         Bounds(48, 32, 2000, 1200)},
        {"main form centre", poMainFormCenter, Bounds(0, 0, 200, 100), Bounds(1600, 800, 200, 100)},
        {"main form centre, past the screen's corner", poMainFormCenter, Bounds(0, 0, 600, 500),
         Bounds(1320, 580, 600, 500)},
        {"designed", poDesigned, Bounds(-20, 5, 200, 100), Bounds(-20, 5, 200, 100)},
        {"default size only", poDefaultSizeOnly, Bounds(300, 200, 200, 100),
         Bounds(300, 200, 1404, 786)},
    };
    for (const TCase& Case : Cases) {
        TForm* Form = ShowForm(Case.Position, Case.Designed);
        EXPECT_EQ(Form->BoundsRect(), Case.Expected) << Case.Name;
        TRect Native;
        GetWindowRect(Form->Handle(), Native);
        EXPECT_EQ(Native, Case.Expected) << Case.Name;
        // Later shows keep the place the user gave it.
        Form->Hide();
        Form->SetBounds(10, 20, 200, 100);
        Form->Show();
        EXPECT_EQ(Form->BoundsRect(), Bounds(10, 20, 200, 100)) << Case.Name;
        delete Form;
    }
}

TEST_F(Placement, OwnerFormCenterCentresOnTheOwningForm)
{
    TForm* Owner = ShowForm(poDesigned, Bounds(100, 100, 600, 400));
    TForm* Owned = ShowForm(poOwnerFormCenter, Bounds(0, 0, 200, 100), Owner);
    EXPECT_EQ(Owned->BoundsRect(), Bounds(300, 250, 200, 100));
    // Owned by no form, it is centred on the screen.
    TForm* Alone = ShowForm(poOwnerFormCenter, Bounds(0, 0, 200, 100));
    EXPECT_EQ(Alone->BoundsRect(), Bounds(860, 490, 200, 100));
}

TEST_F(Placement, SystemPlacedFormsCascadeFromTheWorkAreaCorner)
{
    TForm* First = ShowForm(poDefault, Bounds(500, 500, 200, 100));
    EXPECT_EQ(First->BoundsRect(), Bounds(48, 32, 1404, 786));
    TForm* Second = ShowForm(poDefaultPosOnly, Bounds(500, 500, 300, 200));
    TForm* Third = ShowForm(poDefaultPosOnly, Bounds(500, 500, 300, 200));
    const int Step = Second->Left() - First->Left();
    EXPECT_GT(Step, 0);
    EXPECT_EQ(Second->BoundsRect(), Bounds(48 + Step, 32 + Step, 300, 200));
    EXPECT_EQ(Third->BoundsRect(), Bounds(48 + 2 * Step, 32 + 2 * Step, 300, 200));

    // A place left free is taken again; a form too tall for the next step starts at the corner.
    Second->Hide();
    EXPECT_EQ(ShowForm(poDefaultPosOnly, Bounds(0, 0, 300, 200))->BoundsRect(),
              Bounds(48 + Step, 32 + Step, 300, 200));
    EXPECT_EQ(ShowForm(poDefaultPosOnly, Bounds(0, 0, 300, 1048))->BoundsRect(),
              Bounds(48, 32, 300, 1048));
}

} // namespace
