// The form's menu bar in its non-client area: the band above the client area (its height with the
// rows the width wraps the items onto), hit-testing, clicks and the hot item under the mouse, its
// painting, and menus closing when their form moves or loses the activation.
#include "platform/forms/menudraw.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/ui/windowdc.h"
#include "tests/platform/forms/menutest.h"
#include "tests/support/golden.h"

#include <gtest/gtest.h>

namespace {

std::function<void()> Key(int VirtualKey, const std::string& Text = {})
{
    return [VirtualKey, Text] { InjectKeyPress(VirtualKey, Text); };
}

struct TBar : TBarForm {
    TBar() { Pump(); }
    // The centre of a bar item, in the form's client coordinates (above the client area).
    TPoint ItemCentre(int Index) const
    {
        const TRect Bar = MenuBarScreenRect(F.Form);
        const TRect R = LayoutMenuBar(Menu, Bar.Width()).ItemRects[static_cast<std::size_t>(Index)];
        return F.Form->ScreenToClient(
            TPoint{Bar.Left + (R.Left + R.Right) / 2, Bar.Top + (R.Top + R.Bottom) / 2});
    }
    void Click(TPoint P) const
    {
        InjectMouseMove(F.Form->Handle(), P.X, P.Y);
        InjectMouseButton(F.Form->Handle(), 0, true, P.X, P.Y);
        InjectMouseButton(F.Form->Handle(), 0, false, P.X, P.Y);
    }
};

int RowHeight()
{
    return MenuMeasureCanvas().TextHeight("Wg") + 6;
}

TEST(MenuBar, TakesABandAboveTheClientAreaThatHitTestsAsTheMenu)
{
    TBar B;
    const int Band = RowHeight() + 1;
    TForm* Form = B.F.Form;
    EXPECT_EQ(Form->Height(), 200);
    EXPECT_EQ(Form->ClientHeight(), 200 - Band);
    EXPECT_EQ(Form->ClientOrigin(), (TPoint{100, 100 + Band}));
    EXPECT_EQ(MenuBarScreenRect(Form), Rect(100, 100, 400, 100 + Band));
    struct TCase {
        TPoint Screen;
        LRESULT Hit;
    };
    const std::vector<TCase> Cases = {
        {{101, 101}, HTMENU},
        {{399, 100 + Band - 1}, HTMENU},
        {{250, 100 + Band}, HTCLIENT},
        {{250, 299}, HTCLIENT},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(
            SendMessage(Form->Handle(), WM_NCHITTEST, 0, MakeLParam(Case.Screen.X, Case.Screen.Y)),
            Case.Hit)
            << Case.Screen.X << "," << Case.Screen.Y;

    // Without the menu the band goes and the client area is the whole window again.
    Form->SetMenu(nullptr);
    EXPECT_EQ(Form->ClientHeight(), 200);
    EXPECT_EQ(Form->ClientOrigin(), (TPoint{100, 100}));
}

TEST(MenuBar, AFormWithAMenuKeepsTheClientHeightItWasGiven)
{
    struct TCase {
        const char* Name;
        bool Shown; // the window exists when ClientHeight is set
    };
    for (const TCase Case : {TCase{"before the window", false}, TCase{"shown", true}}) {
        TTestApplication App;
        auto* Form = new TForm(&App);
        auto* Menu = new TMainMenu(Form);
        AddItem(Form, Menu->Items(), "&File");
        Form->SetMenu(Menu);
        if (Case.Shown) {
            Form->Show();
            Pump();
        }
        Form->SetClientHeight(150);
        Form->SetClientWidth(260);
        Form->Show();
        Pump();
        EXPECT_EQ(Form->ClientHeight(), 150) << Case.Name;
        EXPECT_EQ(Form->ClientWidth(), 260) << Case.Name;
        EXPECT_EQ(Form->Height(), 150 + RowHeight() + 1) << Case.Name;
    }
}

TEST(MenuBar, ItemsWrappingOntoASecondRowShrinkTheClientAreaAndRealignItsChildren)
{
    TBar B;
    TForm* Form = B.F.Form;
    TTestBox* Fill = Place<TTestBox>(Form, 0, 0, 10, 10);
    Fill->SetAlign(alClient);
    AddItem(Form, B.Menu->Items(), "&Tools and options");
    Pump();
    const int Row = RowHeight();
    EXPECT_EQ(Fill->Height(), 200 - Row - 1);
    // A narrower window wraps the items.
    const TMenuBarLayout Wide = LayoutMenuBar(B.Menu, 300);
    ASSERT_EQ(Wide.Height, Row + 1);
    Form->SetWidth(Wide.ItemRects[3].Right - 1);
    ASSERT_EQ(Form->Width(), Wide.ItemRects[3].Right - 1);
    Pump();
    EXPECT_EQ(Form->ClientHeight(), 200 - 2 * Row - 1);
    EXPECT_EQ(Fill->Height(), Form->ClientHeight());
    EXPECT_EQ(MenuBarScreenRect(Form).Height(), 2 * Row + 1);
    // Wide again, then an item too many for one row: the window keeps its size, the client
    // area loses a row, and the aligned child follows.
    Form->SetWidth(300);
    Pump();
    EXPECT_EQ(Fill->Height(), 200 - Row - 1);
    AddItem(Form, B.Menu->Items(), "&Window with a long caption");
    Pump();
    EXPECT_EQ(Form->Height(), 200);
    EXPECT_EQ(Form->ClientHeight(), 200 - 2 * Row - 1);
    EXPECT_EQ(Fill->Height(), Form->ClientHeight());
    EXPECT_EQ(Fill->Top(), 0);
}

TEST(MenuBar, AClickOnAnItemDropsItsMenuUnderItAndAClickInTheMenuChooses)
{
    TBar B;
    std::vector<TRect> Shown;
    const TRect Item1 = [&] {
        const TRect Bar = MenuBarScreenRect(B.F.Form);
        TRect R = LayoutMenuBar(B.Menu, Bar.Width()).ItemRects[1];
        OffsetRect(R, Bar.Left, Bar.Top);
        return R;
    }();
    TMenuScript Script({[&] {
                            for (HWND Wnd : MenuWindows()) {
                                TRect R;
                                GetWindowRect(Wnd, R);
                                Shown.push_back(R);
                            }
                            EXPECT_EQ(B.Menu->HotIndex(), 1);
                            EXPECT_TRUE(B.Menu->DroppedDown());
                        },
                        Key(VK_DOWN), Key(VK_RETURN)});
    B.Click(B.ItemCentre(1));
    Pump();
    EXPECT_TRUE(Script.Finished());
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0].Left, Item1.Left);
    EXPECT_EQ(Shown[0].Top, Item1.Bottom);
    EXPECT_EQ(B.Clicks, (std::vector<std::string>{"&Paste"}));
    EXPECT_EQ(B.Menu->HotIndex(), -1);
    EXPECT_TRUE(MenuWindows().empty());

    // A bar item without a drop-down is a command.
    B.Click(B.ItemCentre(2));
    Pump();
    EXPECT_EQ(B.Clicks, (std::vector<std::string>{"&Paste", "&Help"}));
    EXPECT_EQ(B.Menu->HotIndex(), -1);
}

TEST(MenuBar, TheItemUnderTheMouseIsHotUntilTheMouseLeavesTheBar)
{
    struct TCase {
        const char* Name;
        std::function<void(TBar&)> Leave;
    };
    const std::vector<TCase> Cases = {
        {"into the client area", [](TBar& B) { InjectMouseMove(B.F.Form->Handle(), 20, 20); }},
        {"into a child control",
         [](TBar& B) {
             TTestBox* Box = Place<TTestBox>(B.F.Form, 0, 0, 100, 100);
             Pump();
             InjectMouseMove(Box->Handle(), 5, 5);
         }},
        {"out of the window", [](TBar& B) { B.F.Form->Perform(WM_MOUSELEAVE, 0, 0); }},
    };
    for (const TCase& Case : Cases) {
        TBar B;
        const TPoint P = B.ItemCentre(0);
        InjectMouseMove(B.F.Form->Handle(), P.X, P.Y);
        Pump();
        EXPECT_EQ(B.Menu->HotIndex(), 0) << Case.Name;
        EXPECT_FALSE(B.Menu->DroppedDown()) << Case.Name;
        const TPoint Q = B.ItemCentre(1);
        InjectMouseMove(B.F.Form->Handle(), Q.X, Q.Y);
        Pump();
        EXPECT_EQ(B.Menu->HotIndex(), 1) << Case.Name;
        Case.Leave(B);
        Pump();
        EXPECT_EQ(B.Menu->HotIndex(), -1) << Case.Name;
    }
}

TEST(MenuBar, IsPaintedInTheBandWithTheKeyboardsHotAndPressedItem)
{
    TBar B;
    TForm* Form = B.F.Form;
    Form->SetColor(clWhite);
    TRasterDevice Device(Form->Width(), Form->Height(), clBlack);
    SetWindowDevice(Form->Handle(), &Device);
    RedrawWindow(Form->Handle(), nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    Pump();
    const TRect Item0 = LayoutMenuBar(B.Menu, Form->ClientWidth()).ItemRects[0];
    const int Band = RowHeight() + 1;
    EXPECT_EQ(Device.Pixel(Form->Width() - 2, 2), ColorToRGB(clMenu)) << "the bar's ground";
    EXPECT_EQ(Device.Pixel(Form->Width() - 2, Band - 1), ColorToRGB(clBtnHighlight))
        << "the line under the bar";
    EXPECT_EQ(Device.Pixel(5, Band + 5), clWhite) << "the client area under it";
    std::vector<TColor> Corners;
    const auto Corner = [&] { Corners.push_back(Device.Pixel(Item0.Left, Item0.Top)); };
    TMenuScript Script({Corner, Key(VK_DOWN), Corner, Key(VK_ESCAPE), Key(VK_ESCAPE)});
    InjectKeyPress(VK_F10);
    Pump();
    SetWindowDevice(Form->Handle(), nullptr);
    ASSERT_EQ(Corners.size(), 2u);
    EXPECT_EQ(Corners[0], ColorToRGB(clBtnHighlight)) << "raised while selected";
    EXPECT_EQ(Corners[1], ColorToRGB(clBtnShadow)) << "sunken while dropped down";
}

TEST(MenuBar, AnOpenMenuClosesWhenItsFormMovesOrLosesTheActivation)
{
    struct TCase {
        const char* Name;
        bool Bar;  // the bar's loop (F10) rather than a pop-up
        bool Move; // else another form is activated
    };
    const std::vector<TCase> Cases = {
        {"a pop-up, the form moved", false, true},
        {"a pop-up, another form activated", false, false},
        {"the bar, the form moved", true, true},
        {"the bar, another form activated", true, false},
    };
    for (const TCase& Case : Cases) {
        TBar B;
        TForm* Other = new TForm(&B.F.App);
        Other->SetBounds(500, 400, 100, 100);
        TPopupMenu* Popup = new TPopupMenu(B.F.Form);
        AddItem(B.F.Form, Popup->Items(), "&Open", &B.Clicks);
        bool WasOpen = false;
        TMenuScript Script({[&] {
            WasOpen = TMenuLoop::Current() != nullptr;
            if (Case.Move)
                InjectWindowBounds(B.F.Form->Handle(), Rect(150, 120, 450, 320));
            else
                Other->Show();
        }});
        if (Case.Bar)
            InjectKeyPress(VK_F10);
        else
            Popup->Popup(120, 150);
        Pump();
        EXPECT_TRUE(Script.Finished()) << Case.Name;
        EXPECT_TRUE(WasOpen) << Case.Name;
        EXPECT_EQ(TMenuLoop::Current(), nullptr) << Case.Name;
        EXPECT_TRUE(B.Clicks.empty()) << Case.Name;
        EXPECT_TRUE(MenuWindows().empty()) << Case.Name;
        EXPECT_EQ(B.Menu->HotIndex(), -1) << Case.Name;
    }
}

TEST(MenuBar, TheWholeWindowWithAHotItemMatchesItsGoldenPicture)
{
    TBar B;
    TForm* Form = B.F.Form;
    Form->SetBounds(100, 100, 240, 90);
    B.Menu->Items()->Items(2)->SetEnabled(false);
    TTestBox* Box = Place<TTestBox>(Form, 10, 10, 100, 30);
    Box->SetColor(clWindow);
    Box->SetCaption("client");
    Pump();
    TRasterDevice Device(Form->Width(), Form->Height(), clBlack);
    SetWindowDevice(Form->Handle(), &Device);
    const TPoint P = B.ItemCentre(1);
    InjectMouseMove(Form->Handle(), P.X, P.Y);
    RedrawWindow(Form->Handle(), nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
    Pump();
    SetWindowDevice(Form->Handle(), nullptr);
    EXPECT_EQ(B.Menu->HotIndex(), 1);
    ExpectMatchesGoldenPng(Device, Rect(0, 0, Device.Width(), Device.Height()),
                           "forms/menu_bar_window.png");
}

} // namespace
