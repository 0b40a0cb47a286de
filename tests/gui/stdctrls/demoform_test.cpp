// The demonstration form of the second set of standard controls on an X server: Ctrl+Tab and
// Ctrl+Shift+Tab switch its pages round the ends, a click on a tab and Alt with a page's letter
// choose that page, and each page looks like its reference picture.
#include "tests/gui/formfixture.h"
#include "tests/gui/stdctrls/controlsdemoform.h"

#include "platform/stdctrls/animate.h"
#include "platform/stdctrls/pagecontrol.h"

#include <string>
#include <vector>

namespace {

using guitest::PumpUntil;
using guitest::TControlsDemoForm;

class ControlsDemoForm : public guitest::FormScreenTest<TControlsDemoForm> {
protected:
    TControlsDemoForm* MakeForm() override { return new TControlsDemoForm(App.get()); }

    TPageControl* Pages() const { return Form->Pages; }
    bool Shows(TTabSheet* Sheet)
    {
        return PumpUntil([&] { return Pages()->ActivePage() == Sheet && Painted(); });
    }
};

} // namespace

TEST_F(ControlsDemoForm, EverySheetIsAsBigAsAPage)
{
    ASSERT_EQ(Pages()->PageCount(), 6);
    for (int I = 0; I < Pages()->PageCount(); ++I) {
        EXPECT_EQ(Pages()->Pages(I)->ClientWidth(), guitest::PageWidth) << I;
        EXPECT_EQ(Pages()->Pages(I)->ClientHeight(), guitest::PageHeight) << I;
    }
    EXPECT_NE(Form->Demo.TabControl, nullptr);
    ASSERT_NE(Form->Demo.Animate, nullptr);
    EXPECT_TRUE(Form->Demo.Animate->Active());
}

TEST_F(ControlsDemoForm, CtrlTabAndCtrlShiftTabSwitchPagesRoundTheEnds)
{
    struct TStep {
        const char* Keys;
        TTabSheet* TControlsDemoForm::*Want;
    };
    const std::vector<TStep> Steps = {
        {"ctrl+Tab", &TControlsDemoForm::BarsSheet},
        {"ctrl+Tab", &TControlsDemoForm::RangesSheet},
        {"ctrl+shift+Tab", &TControlsDemoForm::BarsSheet},
        {"ctrl+shift+Tab", &TControlsDemoForm::ListSheet},
        {"ctrl+shift+Tab", &TControlsDemoForm::TabsSheet},
        {"ctrl+Tab", &TControlsDemoForm::ListSheet},
    };
    for (const TStep& S : Steps) {
        Keys({S.Keys});
        EXPECT_TRUE(Shows(Form->*S.Want)) << S.Keys << " left " << Pages()->ActivePageIndex();
    }
}

TEST_F(ControlsDemoForm, AClickOnATabChoosesItsPage)
{
    for (int Index : {3, 5, 0}) {
        const TRect Tab = Pages()->TabRect(Index);
        ClickAt(Pages(), TPoint{(Tab.Left + Tab.Right) / 2, (Tab.Top + Tab.Bottom) / 2});
        EXPECT_TRUE(Shows(Pages()->Pages(Index))) << Index;
    }
}

TEST_F(ControlsDemoForm, AltWithAPagesLetterChoosesIt)
{
    struct TStep {
        const char* Keys;
        TTabSheet* TControlsDemoForm::*Want;
    };
    for (const TStep& S : {TStep{"alt+p", &TControlsDemoForm::PickerSheet},
                           TStep{"alt+c", &TControlsDemoForm::CalendarSheet},
                           TStep{"alt+l", &TControlsDemoForm::ListSheet}}) {
        Keys({S.Keys});
        EXPECT_TRUE(Shows(Form->*S.Want)) << S.Keys;
    }
}

TEST_F(ControlsDemoForm, EachPageLooksLikeItsReference)
{
    // The animation holds still on its first frame for the picture.
    Form->Demo.Animate->Seek(1);
    const std::vector<std::pair<TTabSheet*, const char*>> Sheets = {
        {Form->ListSheet, "controlsdemo_list"},     {Form->BarsSheet, "controlsdemo_bars"},
        {Form->RangesSheet, "controlsdemo_ranges"}, {Form->CalendarSheet, "controlsdemo_calendar"},
        {Form->PickerSheet, "controlsdemo_picker"}, {Form->TabsSheet, "controlsdemo_tabs"},
    };
    for (const auto& [Sheet, Name] : Sheets) {
        Pages()->SetActivePage(Sheet);
        ASSERT_TRUE(Shows(Sheet)) << Name;
        ExpectLooksLike(Name);
    }
}
