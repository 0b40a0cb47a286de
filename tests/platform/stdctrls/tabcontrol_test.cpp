// The tab control: tabs chosen by clicks and arrow keys, OnChanging refusing, the tabs' place
// and rows, the scroll arrows of an overflowing row, index errors, and the look against golden
// pictures.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/rtl/exceptions.h"
#include "platform/stdctrls/tabcontrol.h"
#include "platform/stdctrls/tabcontrolwindow.h"

namespace {

class TabControlTest : public ListTest {
protected:
    TTabControl* MakeTabs(std::vector<std::string> Names, int W = 300, int H = 120)
    {
        auto* T = Place<TTabControl>(10, 10, W, H);
        for (const auto& N : Names)
            T->Tabs()->Add(N);
        T->SetTabIndex(0);
        T->OnChange = [this](TObject*) { ++Changes; };
        Pump();
        return T;
    }
    static void ClickTab(TTabControl* T, int Index)
    {
        const TRect R = T->TabRect(Index);
        Click(T, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    int Changes = 0;
};

// Records the notifications that come back to the control.
class TRecordingTabs : public TTabControl {
public:
    using TTabControl::TTabControl;
    std::vector<UINT> Codes;
    Word LastKey = 0;

protected:
    void CNNotify(TMessage& Message)
    {
        const auto* Header = reinterpret_cast<const NMHDR*>(Message.LParam);
        Codes.push_back(Header->code);
        if (Header->code == TCN_KEYDOWN)
            LastKey = reinterpret_cast<const NMTCKEYDOWN*>(Message.LParam)->wVKey;
        Inherited(Message);
    }
    TW_MESSAGE_MAP();
};

const TMessageMap& TRecordingTabs::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TRecordingTabs::CNNotify>(CN_NOTIFY),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomTabControl::ClassMessageMap};
    return Map;
}

// A tab control with window styles of the class beyond what the properties give.
class TStyledTabs : public TTabControl {
public:
    TStyledTabs(TComponent* AOwner, DWORD AStyle) : TTabControl(AOwner), Extra(AStyle) {}

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TTabControl::CreateParams(Params);
        Params.Style |= Extra;
    }

private:
    DWORD Extra;
};

} // namespace

TEST_F(TabControlTest, StylesOfTheWindowClass)
{
    struct TCase {
        const char* Name;
        DWORD Style;
        bool TakesFocus;
        bool Frame; // the page frame's white top edge under the tabs
    };
    const std::vector<TCase> Cases = {
        {"tabs", 0, true, true},
        {"never focused", TCS_FOCUSNEVER, false, true},
        {"buttons", TCS_BUTTONS, true, false},
    };
    for (const TCase& C : Cases) {
        Form->SetFocus();
        auto* T = new TStyledTabs(Form, C.Style);
        T->SetParent(Form);
        T->SetBounds(10, 10, 200, 80);
        T->Tabs()->Add("One");
        T->Tabs()->Add("Two");
        Pump();
        const TRect Tab = T->TabRect(1);
        Click(T, Tab.Left + 4, Tab.Top + 4);
        EXPECT_EQ(T->TabIndex(), 1) << C.Name;
        EXPECT_EQ(T->Focused(), C.TakesFocus) << C.Name;
        TRasterDevice Device(T->Width(), T->Height());
        CopyWindowPicture(T->Handle(), Device, 0, 0);
        const int FrameTop = T->TabRect(0).Bottom;
        bool White = false;
        for (int Y = FrameTop - 1; Y <= FrameTop + 1; ++Y)
            White = White || Device.Pixel(T->Width() - 10, Y) == ColorToRGB(clBtnHighlight);
        EXPECT_EQ(White, C.Frame) << C.Name;
        delete T;
    }
}

TEST_F(TabControlTest, HotTrackingColoursTheTabUnderThePointer)
{
    auto* T = MakeTabs({"One", "Two"});
    T->SetHotTrack(true);
    const TRect Tab = T->TabRect(1);
    const TPoint Middle{(Tab.Left + Tab.Right) / 2, (Tab.Top + Tab.Bottom) / 2 + 1};
    auto LabelColour = [&] {
        Pump();
        TRasterDevice Device(T->Width(), T->Height());
        CopyWindowPicture(T->Handle(), Device, 0, 0);
        return Device.Pixel(Middle.X, Middle.Y);
    };
    EXPECT_EQ(LabelColour(), ColorToRGB(clBtnText));
    InjectMouseMove(T->Handle(), Middle.X, Middle.Y);
    EXPECT_EQ(LabelColour(), ColorToRGB(clHotLight));
    InjectMouseMove(T->Handle(), 5, T->Height() - 5); // on the page: no tab
    EXPECT_EQ(LabelColour(), ColorToRGB(clBtnText));
}

TEST_F(TabControlTest, ChildrenFillThePageInsideTheFrame)
{
    auto* T = MakeTabs({"&All", "&Searched"});
    T->SetTabPosition(tpBottom);
    auto* Child = new TTabControl(Form); // any control will do
    Child->SetParent(T);
    Child->SetAlign(alClient);
    Pump();
    EXPECT_EQ(Child->BoundsRect(), T->DisplayRect());
    EXPECT_LT(T->DisplayRect().Bottom, T->TabRect(0).Top);
}

TEST_F(TabControlTest, TheParentHearsKeysThenTheChangeAskedThenDone)
{
    auto* T = Place<TRecordingTabs>(10, 10, 300, 100);
    T->Tabs()->Add("One");
    T->Tabs()->Add("Two");
    T->SetTabIndex(0);
    T->SetFocus();
    Pump();
    Key(VK_RIGHT);
    EXPECT_EQ(T->Codes, (std::vector<UINT>{TCN_KEYDOWN, TCN_SELCHANGING, TCN_SELCHANGE}));
    EXPECT_EQ(T->LastKey, VK_RIGHT);
    T->Codes.clear();
    Key(VK_RIGHT); // already at the end: only the key
    Key(VK_HOME);
    EXPECT_EQ(T->Codes, (std::vector<UINT>{TCN_KEYDOWN, TCN_KEYDOWN}));
    EXPECT_EQ(T->LastKey, VK_HOME);
}

TEST_F(TabControlTest, ClicksAndArrowsChooseTabs)
{
    struct TStep {
        const char* Name;
        int ClickOn; // -1: press Key instead
        int Key;
        int Want;
        int WantChanges; // OnChange calls so far
    };
    const std::vector<TStep> Steps = {
        {"click the third tab", 2, 0, 2, 1},
        {"click the chosen tab again", 2, 0, 2, 1},
        {"left arrow", -1, VK_LEFT, 1, 2},
        {"up arrow", -1, VK_UP, 0, 3},
        {"left arrow at the first tab", -1, VK_LEFT, 0, 3},
        {"right arrow", -1, VK_RIGHT, 1, 4},
        {"down arrow", -1, VK_DOWN, 2, 5},
        {"right arrow at the last tab", -1, VK_RIGHT, 2, 5},
        {"click the first tab", 0, 0, 0, 6},
    };
    auto* T = MakeTabs({"One", "Two", "Three"});
    for (const TStep& S : Steps) {
        if (S.ClickOn >= 0)
            ClickTab(T, S.ClickOn);
        else
            Key(S.Key);
        EXPECT_EQ(T->TabIndex(), S.Want) << S.Name;
        EXPECT_EQ(Changes, S.WantChanges) << S.Name;
        EXPECT_TRUE(T->Focused()) << S.Name;
    }
}

TEST_F(TabControlTest, OnChangingRefusingKeepsTheTab)
{
    auto* T = MakeTabs({"One", "Two", "Three"});
    int Asked = 0;
    bool Allow = false;
    T->OnChanging = [&](TObject* Sender, bool& AllowChange) {
        EXPECT_EQ(Sender, T);
        EXPECT_EQ(T->TabIndex(), 0); // still the old tab while asked
        ++Asked;
        AllowChange = Allow;
    };
    ClickTab(T, 1);
    Key(VK_RIGHT);
    EXPECT_EQ(Asked, 2);
    EXPECT_EQ(T->TabIndex(), 0);
    EXPECT_EQ(Changes, 0);
    Allow = true;
    ClickTab(T, 2);
    EXPECT_EQ(T->TabIndex(), 2);
    EXPECT_EQ(Changes, 1);
}

TEST_F(TabControlTest, SettingTabIndexSendsNoEvents)
{
    auto* T = MakeTabs({"One", "Two"});
    bool Asked = false;
    T->OnChanging = [&](TObject*, bool&) { Asked = true; };
    T->SetTabIndex(1);
    T->SetTabIndex(-1);
    EXPECT_EQ(T->TabIndex(), -1);
    EXPECT_FALSE(Asked);
    EXPECT_EQ(Changes, 0);
}

TEST_F(TabControlTest, TabIndexOutOfRangeRaisesTheListError)
{
    auto* T = MakeTabs({"One", "Two"});
    for (int Bad : {2, -2, 100}) {
        try {
            T->SetTabIndex(Bad);
            ADD_FAILURE() << Bad << " was taken";
        } catch (const EListError& E) {
            EXPECT_EQ(E.Message(), "List index out of bounds (" + std::to_string(Bad) + ")");
        }
        EXPECT_EQ(T->TabIndex(), 0);
    }
}

TEST_F(TabControlTest, DeletingTheChosenTabLeavesNoneChosen)
{
    auto* T = MakeTabs({"One", "Two", "Three"});
    T->SetTabIndex(2);
    T->Tabs()->Delete(2);
    EXPECT_EQ(T->TabIndex(), -1);
    EXPECT_EQ(T->Perform(TCM_GETITEMCOUNT, 0, 0), 2);
    T->Tabs()->Add("Four");
    T->SetTabIndex(2);
    TCITEM Item;
    char Text[8] = {};
    Item.mask = TCIF_TEXT;
    Item.pszText = Text;
    Item.cchTextMax = sizeof Text;
    ASSERT_EQ(T->Perform(TCM_GETITEM, 2, reinterpret_cast<LPARAM>(&Item)), 1);
    EXPECT_STREQ(Text, "Four");
}

TEST_F(TabControlTest, TabsSitAboveOrBelowThePage)
{
    auto* T = MakeTabs({"One", "Two"});
    for (TTabPosition Position : {tpTop, tpBottom, tpTop}) {
        T->SetTabPosition(Position);
        Pump();
        const TRect Tab = T->TabRect(1);
        const TRect Page = T->DisplayRect();
        if (Position == tpTop) {
            EXPECT_LE(Tab.Bottom, Page.Top);
            EXPECT_GT(Tab.Top, 0);
        } else {
            EXPECT_GE(Tab.Top, Page.Bottom);
            EXPECT_LE(Tab.Bottom, T->ClientHeight());
        }
        EXPECT_EQ(T->IndexOfTabAt(Tab.Left + 4, Tab.Top + 6), 1);
        EXPECT_EQ(T->IndexOfTabAt(Page.Left + 4, Page.Top + 4), -1);
        ClickTab(T, 1);
        EXPECT_EQ(T->TabIndex(), 1);
        T->SetTabIndex(0);
    }
}

TEST_F(TabControlTest, MultiLineTabsBringTheChosenRowToThePage)
{
    auto* T = MakeTabs({"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot"}, 160, 140);
    EXPECT_EQ(T->RowCount(), 1); // one row that scrolls
    T->SetMultiLine(true);
    Pump();
    const int Rows = T->RowCount();
    ASSERT_GE(Rows, 2);
    const int PageTop = T->DisplayRect().Top;
    // The chosen tab's row touches the page frame; every row fills the width.
    EXPECT_GE(T->TabRect(0).Bottom, PageTop - 6);
    const int Last = T->Tabs()->Count() - 1;
    EXPECT_LT(T->TabRect(Last).Bottom, PageTop - 6);
    ClickTab(T, Last);
    EXPECT_EQ(T->TabIndex(), Last);
    EXPECT_GE(T->TabRect(Last).Bottom, PageTop - 6);
    EXPECT_LT(T->TabRect(0).Bottom, PageTop - 6);
    EXPECT_EQ(T->TabRect(Last).Right, T->ClientWidth() - 2);
}

TEST_F(TabControlTest, AnOverflowingRowScrollsByItsArrows)
{
    auto* T = MakeTabs({"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot"}, 160, 100);
    const TRect First = T->TabRect(0);
    const int ArrowY = First.Top + 6;
    Click(T, T->ClientWidth() - 8, ArrowY); // the right arrow
    EXPECT_EQ(T->TabIndex(), 0);            // scrolling chooses nothing
    EXPECT_TRUE(IsRectEmpty(T->TabRect(0)));
    EXPECT_EQ(T->TabRect(1).Left, First.Left);
    Click(T, T->ClientWidth() - 24, ArrowY); // the left arrow
    EXPECT_EQ(T->TabRect(0), First);
    // Choosing the last tab by keys brings it into sight, left of the arrows.
    T->SetFocus();
    for (int I = 0; I < 5; ++I)
        Key(VK_RIGHT);
    EXPECT_EQ(T->TabIndex(), 5);
    EXPECT_FALSE(IsRectEmpty(T->TabRect(5)));
    EXPECT_LE(T->TabRect(5).Right, T->ClientWidth() - 32);
}

TEST_F(TabControlTest, LooksAsTheClassicTabs)
{
    struct TCase {
        const char* File;
        TTabPosition Position;
        bool MultiLine;
        bool Focus;
        int Width;
    };
    const std::vector<TCase> Cases = {
        {"tabcontrol_top.png", tpTop, false, false, 220},
        {"tabcontrol_bottom.png", tpBottom, false, false, 220},
        {"tabcontrol_focused.png", tpTop, false, true, 220},
        {"tabcontrol_multiline.png", tpTop, true, false, 150},
        {"tabcontrol_scrolling.png", tpTop, false, false, 150},
    };
    for (const TCase& Case : Cases) {
        auto* T = MakeTabs({"General", "Mail", "Filters", "Log"}, Case.Width, 90);
        T->SetTabPosition(Case.Position);
        T->SetMultiLine(Case.MultiLine);
        T->SetTabIndex(1);
        if (Case.Focus)
            T->SetFocus();
        Pump();
        TRasterDevice Device(T->Width(), T->Height());
        CopyWindowPicture(T->Handle(), Device, 0, 0);
        ExpectMatchesGolden(Device, Case.File);
        delete T;
    }
}
