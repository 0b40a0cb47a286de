// The state a windowed control hands down or is told about: Ctl3D taken from the parent,
// CM_SHOWINGCHANGED when it starts or stops showing, and its window made again by
// CM_RECREATEWND.
#include "tests/platform/forms/formstest.h"

#include <gtest/gtest.h>

TEST(Ctl3D, AChildWithParentCtl3DTakesItsParentsUntilItSetsItsOwn)
{
    TTestApplication App;
    TForm* Form = new TForm(&App);
    TTestBox* Parent = Place<TTestBox>(Form, 0, 0, 100, 100);
    TTestBox* Child = Place<TTestBox>(Parent, 0, 0, 50, 50);
    TTestBox* Grandchild = Place<TTestBox>(Child, 0, 0, 20, 20);
    EXPECT_TRUE(Child->Ctl3D());
    EXPECT_TRUE(Child->ParentCtl3D());

    Parent->SetCtl3D(false);
    EXPECT_FALSE(Parent->ParentCtl3D());
    EXPECT_FALSE(Child->Ctl3D());
    EXPECT_FALSE(Grandchild->Ctl3D());
    EXPECT_TRUE(Child->ParentCtl3D());

    Child->SetCtl3D(true);
    EXPECT_FALSE(Child->ParentCtl3D());
    EXPECT_TRUE(Grandchild->Ctl3D());
    Parent->SetCtl3D(true);
    Parent->SetCtl3D(false);
    EXPECT_TRUE(Child->Ctl3D()); // its own now

    Child->SetParentCtl3D(true);
    EXPECT_FALSE(Child->Ctl3D());
    EXPECT_FALSE(Grandchild->Ctl3D());

    // A control put on a parent takes the parent's.
    auto* Late = new TTestBox(Form);
    Late->SetParent(Parent);
    EXPECT_FALSE(Late->Ctl3D());
}

TEST(Ctl3D, CtlChangedIsToldOnlyOnAChange)
{
    TTestApplication App;
    TForm* Form = new TForm(&App);
    TTestBox* Box = Place<TTestBox>(Form, 0, 0, 100, 100);
    int Told = 0;
    Intercept(Box, [&](TMessage& M) {
        Told += M.Msg == CM_CTL3DCHANGED ? 1 : 0;
        return false;
    });
    Box->SetCtl3D(true);
    EXPECT_EQ(Told, 0);
    Form->SetCtl3D(false);
    Box->SetCtl3D(false);
    Box->SetCtl3D(true);
    EXPECT_EQ(Told, 2);
}

TEST(ShowingChanged, IsSentWhenAControlOrAParentIsShownOrHidden)
{
    TTestApplication App;
    TForm* Form = new TForm(&App);
    TTestBox* Panel = Place<TTestBox>(Form, 0, 0, 100, 100);
    TTestBox* Box = Place<TTestBox>(Panel, 0, 0, 50, 50);
    std::vector<std::string> Seen;
    for (TTestBox* C : {Panel, Box}) {
        const std::string Name = C == Panel ? "panel " : "box ";
        Intercept(C, [&Seen, C, Name](TMessage& M) {
            if (M.Msg == CM_SHOWINGCHANGED)
                Seen.push_back(Name + (C->Showing() ? "on" : "off"));
            return false;
        });
    }
    struct TStep {
        const char* Name;
        std::function<void()> Do;
        std::vector<std::string> Seen;
    };
    const std::vector<TStep> Steps = {
        {"form shown", [&] { Form->Show(); }, {"panel on", "box on"}},
        {"box hidden", [&] { Box->Hide(); }, {"box off"}},
        {"panel hidden", [&] { Panel->Hide(); }, {"panel off"}},
        {"box shown in a hidden panel", [&] { Box->Show(); }, {}},
        {"panel shown", [&] { Panel->Show(); }, {"panel on", "box on"}},
        {"form hidden", [&] { Form->Hide(); }, {"panel off", "box off"}},
        {"box taken off while hidden", [&] { Box->SetParent(nullptr); }, {}},
        {"form shown again", [&] { Form->Show(); }, {"panel on"}},
        {"box put back", [&] { Box->SetParent(Panel); }, {"box on"}},
    };
    for (const TStep& Step : Steps) {
        SCOPED_TRACE(Step.Name);
        Seen.clear();
        Step.Do();
        Pump();
        EXPECT_EQ(Seen, Step.Seen);
    }
}

TEST(RecreateWnd, APostedRecreateMakesTheWindowAgainKeepingFocusAndPlace)
{
    TTestApplication App;
    TForm* Form = new TForm(&App);
    Form->SetBounds(100, 100, 300, 200);
    TTestBox* Box = Place<TTestBox>(Form, 10, 20, 80, 30);
    Box->SetTabStop(true);
    Box->SetCaption("text");
    Form->Show();
    Box->SetFocus();
    Pump();
    const HWND Old = Box->Handle();
    // Posted from inside one of the window's own messages, it comes after that message.
    Intercept(Box, [&](TMessage& M) {
        if (M.Msg == WM_USER) {
            PostMessage(Box->Handle(), CM_RECREATEWND, 0, 0);
            EXPECT_EQ(Box->Handle(), Old);
        }
        return false;
    });
    SendMessage(Box->Handle(), WM_USER, 0, 0);
    EXPECT_EQ(Box->Handle(), Old);
    Pump();
    EXPECT_NE(Box->Handle(), Old);
    EXPECT_FALSE(IsWindow(Old));
    EXPECT_TRUE(Box->Focused());
    EXPECT_EQ(Box->BoundsRect(), Bounds(10, 20, 80, 30));
    EXPECT_EQ(Box->Caption(), "text");
    EXPECT_TRUE(IsWindowVisible(Box->Handle()));
}
