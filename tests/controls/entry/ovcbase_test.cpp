// The library's base controls: the link to the form's controller, the attached label that
// follows its control, enter and exit events after the focus has moved, and the wheel.
#include "controls/entry/ovcbase.h"

#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcexcpt.h"
#include "controls/entry/ovcmisc.h"
#include "platform/rtl/classregistry.h"
#include "platform/rtl/properties.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TTestOvcControl : public TOvcCustomControlEx {
public:
    explicit TTestOvcControl(TComponent* AOwner) : TOvcCustomControlEx(AOwner) { SetTabStop(true); }
};

TTestOvcControl* Field(TForm* Form, const std::string& Name, int L, int T)
{
    auto* Control = Place<TTestOvcControl>(Form, L, T, 100, 21);
    Control->SetName(Name);
    return Control;
}

} // namespace

TEST(OvcBaseControls, AControlTakesTheFirstControllerOfItsForm)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* First = new TOvcController(Form);
    auto* Second = new TOvcController(Form);
    auto* Plain = Field(Form, "nMinutes", 10, 30);
    Plain->HandleNeeded();
    EXPECT_EQ(Plain->Controller(), First);

    auto* Explicit = new TTestOvcControl(Form);
    Explicit->SetController(Second);
    Explicit->SetParent(Form);
    Explicit->HandleNeeded();
    EXPECT_EQ(Explicit->Controller(), Second);
}

TEST(OvcBaseControls, RemovingTheControllerUnlinksEveryControl)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Controller = new TOvcController(Form);
    auto* A = Field(Form, "nSmaller", 10, 30);
    auto* B = Field(Form, "nLarger", 10, 60);
    A->HandleNeeded();
    B->HandleNeeded();
    ASSERT_EQ(A->Controller(), Controller);
    ASSERT_EQ(B->Controller(), Controller);
    delete Controller;
    EXPECT_EQ(A->Controller(), nullptr);
    EXPECT_EQ(B->Controller(), nullptr);
    // A controller put on the form later is taken by the controls without one.
    auto* Next = new TOvcController(Form);
    EXPECT_EQ(A->Controller(), Next);
    EXPECT_EQ(B->Controller(), Next);
}

TEST(OvcBaseControls, AFormWithoutControllerRefusesTheControlsWindow)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Control = new TTestOvcControl(Form);
    try {
        Control->SetParent(Form);
        Control->HandleNeeded();
        FAIL() << "no exception";
    } catch (const ENoControllerAssigned& E) {
        EXPECT_EQ(E.Message(), "No Controller assigned");
    }
    EXPECT_FALSE(Control->HandleAllocated());
    // Not on a form, a control needs no controller.
    TTestOvcControl Loose(nullptr);
    EXPECT_EQ(Loose.Controller(), nullptr);
}

TEST(OvcBaseControls, UniqueComponentNameCountsUpFromOne)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    EXPECT_EQ(UniqueComponentName(Form, "nMinutesLabel"), "nMinutesLabel1");
    auto* Taken = new TLabel(Form);
    Taken->SetName("nMinutesLabel1");
    EXPECT_EQ(UniqueComponentName(Form, "nMinutesLabel"), "nMinutesLabel2");
    EXPECT_EQ(UniqueComponentName(Form, "NMINUTESLABEL"), "NMINUTESLABEL2");
    for (const char* Bad : {"", "1abc", "n Minutes", "n-Minutes"}) {
        SCOPED_TRACE(Bad);
        try {
            UniqueComponentName(Form, Bad);
            ADD_FAILURE() << "no exception";
        } catch (const EComponentError& E) {
            EXPECT_EQ(E.Message(), "'" + std::string(Bad) + "' is not a valid component name");
        }
    }
}

TEST(OvcBaseControls, TheAttachedLabelSitsAboveItsControlAndFollowsIt)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    new TOvcController(Form);
    auto* Control = Field(Form, "nMinutes", 40, 50);
    Pump();
    EXPECT_THROW(Control->AttachedLabel(), Exception);

    Control->LabelInfo()->SetVisible(true);
    Pump();
    TOvcAttachedLabel* Label = Control->AttachedLabel();
    ASSERT_NE(Label, nullptr);
    EXPECT_EQ(Label->Name(), "nMinutesLabel1");
    EXPECT_EQ(Label->Caption(), "nMinutesLabel1");
    EXPECT_EQ(Label->Owner(), Form);
    EXPECT_EQ(Label->Parent(), Form);
    EXPECT_EQ(Label->Control(), Control);
    EXPECT_EQ(Label->FocusControl(), Control);
    EXPECT_TRUE(Label->AutoSize());
    EXPECT_FALSE(Label->Transparent());
    const int H = Label->Height();
    const int W = Label->Width();

    struct TStep {
        const char* Name;
        std::function<void()> Act;
        int LabelLeft;
        int LabelBottom;
    };
    const std::vector<TStep> Steps = {
        {"created at offsets 0", [] {}, 40, 50},
        {"control moved", [&] { Control->SetBounds(70, 90, 100, 21); }, 70, 90},
        {"offsets set", [&] { Control->LabelInfo()->SetOffsets(5, -2); }, 75, 88},
        {"label moved by hand", [&] { Label->SetBounds(60, 60, W, H); }, 60, 60 + H},
        {"control moved again", [&] { Control->SetLeft(100); }, 90, 60 + H},
    };
    for (const TStep& Step : Steps) {
        SCOPED_TRACE(Step.Name);
        Step.Act();
        Pump();
        EXPECT_EQ(Label->Left(), Step.LabelLeft);
        EXPECT_EQ(Label->Top() + Label->Height(), Step.LabelBottom);
        EXPECT_EQ(Label->Width(), W);
    }
    EXPECT_EQ(Control->LabelInfo()->OffsetX(), -10);
    EXPECT_EQ(Control->LabelInfo()->OffsetY(), 60 + H - 90);

    Control->Hide();
    EXPECT_FALSE(Label->Visible());
    Control->Show();
    EXPECT_TRUE(Label->Visible());
}

TEST(OvcBaseControls, ALabelFreedOrHiddenLeavesTheControlWithoutOne)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    new TOvcController(Form);
    auto* Control = Field(Form, "nMinutes", 40, 50);
    Control->LabelInfo()->SetVisible(true);
    delete Control->AttachedLabel();
    EXPECT_FALSE(Control->LabelInfo()->Visible());
    EXPECT_THROW(Control->AttachedLabel(), Exception);

    // Shown again: a new label with the next free name; hidden: it is freed.
    auto* Keep = new TLabel(Form);
    Keep->SetName("nMinutesLabel1");
    Control->LabelInfo()->SetVisible(true);
    EXPECT_EQ(Control->AttachedLabel()->Name(), "nMinutesLabel2");
    Control->LabelInfo()->SetVisible(false);
    EXPECT_EQ(Form->FindComponent("nMinutesLabel2"), nullptr);
    EXPECT_NE(Form->FindComponent("nMinutesLabel1"), nullptr);
}

TEST(OvcBaseControls, ALabelMadeForAControlAnnouncesItself)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    new TOvcController(Form);
    auto* Control = Field(Form, "nLarger", 40, 50);
    auto* Label = new TOvcAttachedLabel(Form, Control);
    Label->SetParent(Form);
    Label->SetCaption("Larger");
    Label->SetBounds(45, 20, Label->Width(), Label->Height());
    Pump();
    EXPECT_TRUE(Control->LabelInfo()->Visible());
    EXPECT_EQ(Control->AttachedLabel(), Label);
    EXPECT_EQ(Control->LabelInfo()->OffsetX(), 5);
    EXPECT_EQ(Control->LabelInfo()->OffsetY(), 20 + Label->Height() - 50);
    Control->SetTop(80);
    Pump();
    EXPECT_EQ(Label->Top() + Label->Height(), 80 + Control->LabelInfo()->OffsetY());
    // Freeing the control frees its label too.
    const int Count = Form->ComponentCount();
    delete Control;
    EXPECT_EQ(Form->ComponentCount(), Count - 2);
}

TEST(OvcBaseControls, LabelInfoHooksFireOnlyOnChange)
{
    TOvcLabelInfo Info;
    int Moves = 0;
    int Shows = 0;
    Info.OnPositionChange = [&] { ++Moves; };
    Info.OnVisibleChange = [&] { ++Shows; };
    struct TCase {
        const char* Name;
        std::function<void()> Act;
        int Moves;
        int Shows;
    };
    const std::vector<TCase> Cases = {
        {"same offsets", [&] { Info.SetOffsets(0, 0); }, 0, 0},
        {"both offsets", [&] { Info.SetOffsets(3, 4); }, 1, 0},
        {"one offset", [&] { Info.SetOffsetX(5); }, 2, 0},
        {"same X", [&] { Info.SetOffsetX(5); }, 2, 0},
        {"Y", [&] { Info.SetOffsetY(-1); }, 3, 0},
        {"visible", [&] { Info.SetVisible(true); }, 3, 1},
        {"visible again", [&] { Info.SetVisible(true); }, 3, 1},
        {"hidden", [&] { Info.SetVisible(false); }, 3, 2},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Case.Act();
        EXPECT_EQ(Moves, Case.Moves);
        EXPECT_EQ(Shows, Case.Shows);
    }
    EXPECT_EQ(Info.OffsetX(), 5);
    EXPECT_EQ(Info.OffsetY(), -1);
}

TEST(OvcBaseControls, AfterEnterAndAfterExitRunOnceTheFocusHasMoved)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    new TOvcController(Form);
    auto* A = Field(Form, "A", 10, 10);
    auto* B = Field(Form, "B", 10, 40);
    std::vector<std::string> Log;
    A->AfterExit = [&](TObject*) {
        Log.push_back(std::string("A exit, B focused ") + (B->Focused() ? "yes" : "no"));
    };
    B->AfterEnter = [&](TObject*) { Log.push_back("B enter"); };
    A->SetFocus();
    Pump();
    B->SetFocus();
    EXPECT_TRUE(Log.empty());
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string>{"A exit, B focused yes", "B enter"}));
}

TEST(OvcBaseControls, TheWheelReachesOnMouseWheelWithKeysDeltaAndPosition)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    new TOvcController(Form);
    auto* A = Field(Form, "A", 10, 10);
    std::vector<std::string> Seen;
    A->OnMouseWheel = [&](TObject*, TShiftState Shift, Word Delta, Word X, Word Y) {
        Seen.push_back(std::string(Shift.Contains(ssCtrl) ? "ctrl " : "") +
                       std::to_string(static_cast<std::int16_t>(Delta)) + " " + std::to_string(X) +
                       "," + std::to_string(Y));
    };
    A->Perform(WM_MOUSEWHEEL, MakeWParam(MK_CONTROL, static_cast<Word>(-120)), MakeLParam(30, 40));
    EXPECT_EQ(Seen, std::vector<std::string>{"ctrl -120 30,40"});
}

TEST(OvcBaseControls, PublishesTheControllerTheLabelAndTheEvents)
{
    TTestOvcControl Control(nullptr);
    for (const char* Name : {"About", "Controller", "LabelInfo", "AfterEnter", "AfterExit"})
        EXPECT_TRUE(IsPublishedProp(&Control, Name)) << Name;
    SetOrdProp(Control.LabelInfo(), "OffsetX", 4);
    EXPECT_EQ(Control.LabelInfo()->OffsetX(), 4);
    EXPECT_NE(GetClass("TOvcAttachedLabel"), nullptr);
}
