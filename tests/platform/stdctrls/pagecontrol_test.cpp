// The page control: Ctrl+Tab and Ctrl+Shift+Tab from anywhere in the form, wrapping round and
// passing sheets without a tab, OnChanging refusing, the sheets' accelerators, the focus
// carried into the new sheet, index errors, and the look against a golden picture.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/rtl/exceptions.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/pagecontrol.h"

namespace {

class PageControlTest : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        Pages = Place<TPageControl>(10, 10, 300, 200);
        for (const char* Caption : {"&Alpha", "&Bravo", "&Charlie", "&Delta"}) {
            auto* Sheet = new TTabSheet(Form);
            Sheet->SetPageControl(Pages);
            Sheet->SetCaption(Caption);
            auto* Box = new TEdit(Form);
            Box->SetParent(Sheet);
            Box->SetBounds(10, 10, 100, 22);
            Edits.push_back(Box);
        }
        Pages->OnChange = [this](TObject*) { ++Changes; };
        Pump();
    }
    static void CtrlTab(bool Shift)
    {
        if (Shift)
            Key(VK_TAB, {VK_CONTROL, VK_SHIFT});
        else
            Key(VK_TAB, {VK_CONTROL});
    }
    static void Alt(char Letter) { Key(Letter, {VK_MENU}); }

    TPageControl* Pages = nullptr;
    std::vector<TEdit*> Edits;
    int Changes = 0;
};

} // namespace

TEST_F(PageControlTest, TheFirstSheetIsActiveAndAloneShown)
{
    EXPECT_EQ(Pages->PageCount(), 4);
    EXPECT_EQ(Pages->ActivePageIndex(), 0);
    EXPECT_EQ(Pages->TabIndex(), 0);
    EXPECT_EQ(Pages->Tabs()->Count(), 4);
    for (int I = 0; I < 4; ++I)
        EXPECT_EQ(Pages->Pages(I)->Visible(), I == 0) << I;
    // The sheet fills the page frame.
    const TRect Display = Pages->DisplayRect();
    EXPECT_EQ(Pages->Pages(0)->BoundsRect(), Display);
}

TEST_F(PageControlTest, CtrlTabWrapsAndPassesSheetsWithoutATab)
{
    Pages->Pages(2)->SetTabVisible(false);
    EXPECT_EQ(Pages->Tabs()->Count(), 3);
    EXPECT_EQ(Pages->Pages(2)->TabIndex(), -1);
    EXPECT_EQ(Pages->Pages(3)->TabIndex(), 2);
    Edits[0]->SetFocus(); // anywhere in the form: the key starts in an edit
    struct TStep {
        bool Shift;
        int WantPage;
    };
    const std::vector<TStep> Steps = {
        {false, 1}, {false, 3}, {false, 0}, {true, 3}, {true, 1}, {true, 0}, {true, 3},
    };
    int Expected = 0;
    for (const TStep& S : Steps) {
        CtrlTab(S.Shift);
        EXPECT_EQ(Pages->ActivePageIndex(), S.WantPage) << "after " << Expected;
        EXPECT_EQ(Pages->TabIndex(), Pages->ActivePage()->TabIndex());
        EXPECT_EQ(Changes, ++Expected);
        EXPECT_TRUE(Pages->ActivePage()->Visible());
    }
}

TEST_F(PageControlTest, CtrlTabWorksWithTheTabsFocusedAndKeepsThemFocused)
{
    Pages->SetFocus();
    CtrlTab(false);
    EXPECT_EQ(Pages->ActivePageIndex(), 1);
    EXPECT_TRUE(Pages->Focused());
}

TEST_F(PageControlTest, TheFocusFollowsIntoTheNewSheet)
{
    Edits[0]->SetFocus();
    CtrlTab(false);
    EXPECT_TRUE(Edits[1]->Focused());
    EXPECT_FALSE(Pages->Pages(0)->Visible());
    Alt('D');
    EXPECT_EQ(Pages->ActivePageIndex(), 3);
    EXPECT_TRUE(Edits[3]->Focused());
}

TEST_F(PageControlTest, OnChangingRefusesEveryWayOfChanging)
{
    Edits[0]->SetFocus();
    bool Allow = false;
    int Asked = 0;
    Pages->OnChanging = [&](TObject*, bool& AllowChange) {
        ++Asked;
        AllowChange = Allow;
    };
    CtrlTab(false);
    CtrlTab(true);
    Alt('C');
    const TRect Tab = Pages->TabRect(2);
    Click(Pages, Tab.Left + 5, Tab.Top + 5);
    EXPECT_EQ(Asked, 4);
    EXPECT_EQ(Pages->ActivePageIndex(), 0);
    EXPECT_EQ(Changes, 0);
    EXPECT_TRUE(Pages->Pages(0)->Visible());
    Allow = true;
    Click(Pages, Tab.Left + 5, Tab.Top + 5);
    EXPECT_EQ(Pages->ActivePageIndex(), 2);
    EXPECT_EQ(Changes, 1);
}

TEST_F(PageControlTest, AltWithASheetsLetterChoosesIt)
{
    Pages->Pages(1)->SetTabVisible(false);
    auto* Button = new TButton(Form); // outside the pages, with a letter of its own
    Button->SetParent(Form);
    Button->SetBounds(320, 10, 60, 24);
    Button->SetCaption("&Go");
    int Clicked = 0;
    Button->OnClick = [&](TObject*) { ++Clicked; };
    Edits[0]->SetFocus();
    struct TStep {
        char Letter;
        int WantPage;
        int WantClicks;
    };
    const std::vector<TStep> Steps = {
        {'C', 2, 0}, {'A', 0, 0}, {'B', 0, 0}, // no tab, no letter
        {'D', 3, 0}, {'G', 3, 1},
    };
    for (const TStep& S : Steps) {
        Alt(S.Letter);
        EXPECT_EQ(Pages->ActivePageIndex(), S.WantPage) << S.Letter;
        EXPECT_EQ(Clicked, S.WantClicks) << S.Letter;
    }
}

TEST_F(PageControlTest, IndexesOutsideTheSheetsRaiseTheListError)
{
    const std::vector<std::function<void()>> Calls = {
        [&] { Pages->Pages(4); },
        [&] { Pages->Pages(-1); },
        [&] { Pages->SetActivePageIndex(7); },
        [&] { Pages->SetTabIndex(4); },
        [&] { Pages->Pages(0)->SetPageIndex(4); },
    };
    for (std::size_t I = 0; I < Calls.size(); ++I) {
        EXPECT_THROW(Calls[I](), EListError) << I;
        EXPECT_EQ(Pages->ActivePageIndex(), 0) << I;
    }
    try {
        Pages->Pages(9);
    } catch (const EListError& E) {
        EXPECT_EQ(E.Message(), "List index out of bounds (9)");
    }
}

TEST_F(PageControlTest, SheetsMoveHideAndGo)
{
    Pages->SetActivePageIndex(1);
    TTabSheet* Bravo = Pages->ActivePage();
    Bravo->SetPageIndex(3);
    EXPECT_EQ(Pages->Pages(3), Bravo);
    EXPECT_EQ(Pages->TabIndex(), 3);
    EXPECT_EQ(Pages->Tabs()->Get(3), "&Bravo");
    // The active sheet losing its tab gives way to the next one (round the end).
    Bravo->SetTabVisible(false);
    EXPECT_EQ(Pages->ActivePageIndex(), 0);
    EXPECT_FALSE(Bravo->Visible());
    // A sheet destroyed leaves the control; the active one gives way.
    TTabSheet* Alpha = Pages->Pages(0);
    delete Alpha;
    EXPECT_EQ(Pages->PageCount(), 3);
    EXPECT_EQ(Pages->ActivePage(), Pages->Pages(0));
    EXPECT_EQ(Pages->ActivePage()->Caption(), "&Charlie");
    // A sheet renamed renames its tab.
    Pages->ActivePage()->SetCaption("&Echo");
    EXPECT_EQ(Pages->Tabs()->Get(0), "&Echo");
}

TEST_F(PageControlTest, TabsAtTheBottomLeaveThePageAbove)
{
    Pages->SetTabPosition(tpBottom);
    Pump();
    const TRect Display = Pages->DisplayRect();
    EXPECT_EQ(Pages->ActivePage()->BoundsRect(), Display);
    EXPECT_GE(Pages->TabRect(0).Top, Display.Bottom);
    const TRect Tab = Pages->TabRect(3);
    Click(Pages, Tab.Left + 5, Tab.Top + 6);
    EXPECT_EQ(Pages->ActivePageIndex(), 3);
}

TEST_F(PageControlTest, LooksAsTheClassicPages)
{
    auto* Label = new TButton(Form);
    Label->SetParent(Pages->Pages(1));
    Label->SetBounds(20, 50, 90, 25);
    Label->SetCaption("Button");
    Pages->SetActivePageIndex(1);
    Pages->SetFocus();
    Pump();
    TRasterDevice Device(Pages->Width(), Pages->Height());
    CopyWindowPicture(Pages->Handle(), Device, 0, 0);
    ExpectMatchesGolden(Device, "pagecontrol.png");
}

TEST_F(PageControlTest, SheetsMovedIntoAnotherPageControlFollowItsLast)
{
    auto* Host = Place<TPageControl>(10, 220, 300, 70);
    for (const char* Caption : {"Style", "Position"}) {
        auto* Sheet = new TTabSheet(Form);
        Sheet->SetPageControl(Host);
        Sheet->SetCaption(Caption);
    }
    Pages->SetActivePageIndex(2);
    // Always the first sheet left, as an editor embedding another's sheets does.
    while (Pages->PageCount() > 0)
        Pages->Pages(0)->SetPageControl(Host);
    EXPECT_EQ(Pages->ActivePage(), nullptr);
    EXPECT_EQ(Pages->Tabs()->Count(), 0);
    ASSERT_EQ(Host->PageCount(), 6);
    const std::vector<std::string> Want = {"Style",  "Position", "&Alpha",
                                           "&Bravo", "&Charlie", "&Delta"};
    for (int I = 0; I < 6; ++I) {
        EXPECT_EQ(Host->Pages(I)->Caption(), Want[static_cast<std::size_t>(I)]);
        EXPECT_EQ(Host->Pages(I)->Parent(), Host);
        EXPECT_EQ(Host->Pages(I)->Visible(), I == 0) << I;
    }
    EXPECT_EQ(Host->ActivePageIndex(), 0);
    Host->SetActivePageIndex(4);
    EXPECT_EQ(Host->ActivePage()->Caption(), "&Charlie");
    EXPECT_EQ(Host->TabIndex(), 4);
}
