// Check boxes and radio buttons: three-state cycling, radio exclusivity per parent, arrow keys,
// and a check box descendant drawn by its owner through CN_DRAWITEM.
#include "tests/platform/stdctrls/stdctrlstest.h"

#include "platform/stdctrls/checkbox.h"
#include "platform/stdctrls/radiobutton.h"
#include "platform/ui/ownerdraw.h"

#include <gtest/gtest.h>

namespace {

// A check box drawn by itself: BS_OWNERDRAW, painted on CN_DRAWITEM; it records what it got.
class TOwnerDrawnCheckBox : public TCustomCheckBox {
public:
    explicit TOwnerDrawnCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
    std::vector<TDrawItemStruct> Drawn;
    bool PaintedChecked = false;

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TCustomCheckBox::CreateParams(Params);
        Params.Style = (Params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
    }
    void CNDrawItem(TMessage& Message)
    {
        const auto& Item = *reinterpret_cast<const TDrawItemStruct*>(Message.LParam);
        Drawn.push_back(Item);
        PaintedChecked = Checked();
        Item.hDC->Brush()->SetColor(Checked() ? clRed : clBlue);
        Item.hDC->FillRect(Item.rcItem);
        Message.Result = 1;
    }
    TW_MESSAGE_MAP();
};

const TMessageMap& TOwnerDrawnCheckBox::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TOwnerDrawnCheckBox::CNDrawItem>(CN_DRAWITEM),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomCheckBox::ClassMessageMap};
    return Map;
}

} // namespace

TEST(CheckBoxes, ClicksCycleTwoOrThreeStatesAndTellOnClick)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    struct TCase {
        const char* Name;
        bool AllowGrayed;
        std::vector<TCheckBoxState> States;
    };
    const std::vector<TCase> Cases = {
        {"two states", false, {cbChecked, cbUnchecked, cbChecked}},
        {"three states", true, {cbGrayed, cbChecked, cbUnchecked, cbGrayed}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto* Check = Place<TCheckBox>(Form, 10, 10, 120, 17);
        Check->SetAllowGrayed(Case.AllowGrayed);
        int Clicks = 0;
        Check->OnClick = [&](TObject*) { ++Clicks; };
        Pump();
        for (std::size_t I = 0; I < Case.States.size(); ++I) {
            if (I % 2 == 0)
                ClickCentre(Check);
            else {
                Check->SetFocus();
                InjectKeyPress(VK_SPACE, " ");
                Pump();
            }
            EXPECT_EQ(Check->State(), Case.States[I]);
            EXPECT_EQ(SendMessage(Check->Handle(), BM_GETCHECK, 0, 0),
                      static_cast<LRESULT>(Case.States[I]));
            EXPECT_EQ(Clicks, static_cast<int>(I) + 1);
        }
        // The form lets go of the focused control it loses.
        ASSERT_EQ(Form->ActiveControl(), Check);
        delete Check;
        EXPECT_EQ(Form->ActiveControl(), nullptr);
    }
}

TEST(RadioButtons, CheckingIsExclusivePerParentAndArrowsMoveTheCheck)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Box = Place<TTestBox>(Form, 150, 10, 140, 100);
    Box->SetControlStyle(Box->ControlStyle() + TControlStyle{csAcceptsControls});
    TRadioButton* A = Place<TRadioButton>(Form, 10, 10, 100, 17);
    TRadioButton* B = Place<TRadioButton>(Form, 10, 30, 100, 17);
    TRadioButton* C = Place<TRadioButton>(Form, 10, 50, 100, 17);
    TRadioButton* X = Place<TRadioButton>(Box, 10, 10, 100, 17);
    A->SetCaption("&Alpha");
    B->SetCaption("&Beta");
    C->SetCaption("&Gamma");
    X->SetChecked(true);
    Pump();
    auto Checks = [&] {
        return std::vector<bool>{A->Checked(), B->Checked(), C->Checked(), X->Checked()};
    };
    ClickCentre(B);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, true, false, true}));
    InjectKeyPress(VK_DOWN);
    Pump();
    EXPECT_TRUE(C->Focused());
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, true, true}));
    InjectKeyPress(VK_UP);
    InjectKeyPress(VK_UP);
    Pump();
    EXPECT_EQ(Checks(), (std::vector<bool>{true, false, false, true}));
    AltKey('G');
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, true, true}));
    EXPECT_TRUE(C->Focused());
    // Only the checked one is a tab stop; the window keeps the check the control has.
    EXPECT_EQ(std::vector<bool>({A->TabStop(), B->TabStop(), C->TabStop()}),
              (std::vector<bool>{false, false, true}));
    EXPECT_EQ(SendMessage(C->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessage(A->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST(CheckBoxes, AnOwnerDrawnDescendantDrawsThroughCnDrawItemWithItsRectangleAndState)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Check = Place<TOwnerDrawnCheckBox>(Form, 20, 30, 100, 20);
    auto* Other = Place<TCheckBox>(Form, 20, 80, 100, 20);
    Pump();
    ASSERT_FALSE(Check->Drawn.empty());
    const TDrawItemStruct First = Check->Drawn.back();
    EXPECT_EQ(First.CtlType, ODT_BUTTON);
    EXPECT_EQ(First.hwndItem, Check->Handle());
    EXPECT_EQ(First.rcItem, Rect(0, 0, 100, 20));
    EXPECT_EQ(First.itemAction, ODA_DRAWENTIRE);
    EXPECT_EQ(First.itemState, 0u);

    struct TCase {
        const char* Name;
        std::function<void()> Act;
        UINT State;
        bool Checked;
    };
    const std::vector<TCase> Cases = {
        {"pressed",
         [&] {
             InjectMouseMove(Form->Handle(), 30, 40);
             InjectMouseButton(Form->Handle(), 0, true, 30, 40);
         },
         ODS_SELECTED | ODS_FOCUS, false},
        {"released: checked", [&] { InjectMouseButton(Form->Handle(), 0, false, 30, 40); },
         ODS_FOCUS, true},
        {"focus elsewhere", [&] { Other->SetFocus(); }, 0, true},
        {"disabled", [&] { Check->SetEnabled(false); }, ODS_DISABLED, true},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Check->Drawn.clear();
        Case.Act();
        Pump();
        ASSERT_FALSE(Check->Drawn.empty());
        EXPECT_EQ(Check->Drawn.back().itemState & ~static_cast<UINT>(ODS_CHECKED), Case.State);
        EXPECT_EQ(Check->Drawn.back().rcItem, Rect(0, 0, 100, 20));
        EXPECT_EQ(Check->PaintedChecked, Case.Checked);
        EXPECT_EQ(Check->Checked(), Case.Checked);
    }
    // What it drew is what the form shows.
    const TRasterDevice& Raster = WindowBackBuffer(Form->Handle())->Raster();
    EXPECT_EQ(Raster.Pixel(25, 35) & 0xFFFFFF, static_cast<TColor>(clRed) & 0xFFFFFF);
}
