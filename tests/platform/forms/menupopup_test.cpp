// Pop-up menus: modal until closed with OnClick after, keyboard navigation and sub-menus, the
// mouse, owner-drawn items, TrackPopupMenu, and the form's menu bar (layout, hit test, keys).
#include "platform/forms/menudraw.h"
#include "platform/gfx/textlayout.h"
#include "tests/platform/forms/menutest.h"

#include <gtest/gtest.h>

namespace {

// File-like menu: Open, separator, disabled Print, Recent >, Exit.
struct TSampleMenu {
    TMenuFixture F;
    TPopupMenu* Menu;
    std::vector<std::string> Clicks;
    TSampleMenu() : Menu(new TPopupMenu(F.Form))
    {
        AddItem(F.Form, Menu->Items(), "&Open", &Clicks);
        AddItem(F.Form, Menu->Items(), "-");
        AddItem(F.Form, Menu->Items(), "&Print", &Clicks)->SetEnabled(false);
        TMenuItem* Recent = AddItem(F.Form, Menu->Items(), "&Recent");
        AddItem(F.Form, Recent, "One", &Clicks);
        AddItem(F.Form, Recent, "&Two", &Clicks);
        AddItem(F.Form, Menu->Items(), "E&xit", &Clicks);
    }
};

std::function<void()> Key(int VirtualKey, const std::string& Text = {})
{
    return [VirtualKey, Text] { InjectKeyPress(VirtualKey, Text); };
}

TEST(Menus, PopupIsModalAndTheItemsClickComesAfterItCloses)
{
    TSampleMenu S;
    std::vector<std::string> Events;
    S.Menu->OnPopup = [&](TObject*) { Events.push_back("popup"); };
    S.Menu->Items()->Items(0)->OnClick = [&](TObject*) {
        Events.push_back(MenuWindows().empty() ? "click, menu closed" : "click, menu open");
    };
    TMenuScript Script(
        {[&] { Events.push_back(MenuWindows().size() == 1 ? "shown" : "not shown"); }, Key(VK_DOWN),
         Key(VK_RETURN)});
    S.Menu->Popup(200, 150);
    Events.push_back("returned");
    EXPECT_EQ(Events,
              (std::vector<std::string>{"popup", "shown", "click, menu closed", "returned"}));
    EXPECT_EQ(S.Menu->PopupPoint(), (TPoint{200, 150}));
    EXPECT_TRUE(MenuWindows().empty());
    EXPECT_EQ(GetCapture(), 0u);
}

TEST(Menus, KeyboardNavigationSkipsSeparatorsAndDisabledItems)
{
    struct TCase {
        const char* Name;
        std::vector<std::function<void()>> Keys;
        std::vector<std::string> Clicks;
    };
    const std::vector<TCase> Cases = {
        {"down twice passes the separator and the disabled item",
         {Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN)},
         {"E&xit"}},
        {"up from nothing wraps to the last", {Key(VK_UP), Key(VK_RETURN)}, {"E&xit"}},
        {"down past the last wraps to the first",
         {Key(VK_END), Key(VK_DOWN), Key(VK_RETURN)},
         {"&Open"}},
        {"right opens the sub-menu at its first item",
         {Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT), Key(VK_DOWN), Key(VK_RETURN)},
         {"&Two"}},
        {"left closes the sub-menu only",
         {Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT), Key(VK_LEFT), Key(VK_DOWN), Key(VK_RETURN)},
         {"E&xit"}},
        {"escape closes the sub-menu, then the menu",
         {Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT), Key(VK_ESCAPE), Key(VK_ESCAPE)},
         {}},
        {"an accelerator letter chooses its item", {Key('X', "x")}, {"E&xit"}},
        {"an accelerator of a disabled item does nothing", {Key('P', "p"), Key(VK_ESCAPE)}, {}},
        {"an accelerator opens a sub-menu", {Key('R', "r"), Key('T', "t")}, {"&Two"}},
        {"enter on nothing selected keeps the menu", {Key(VK_RETURN), Key(VK_ESCAPE)}, {}},
    };
    for (const TCase& Case : Cases) {
        TSampleMenu S;
        std::size_t Deepest = 0;
        std::vector<std::function<void()>> Steps;
        for (const auto& Step : Case.Keys)
            Steps.push_back([&Deepest, Step] {
                Deepest = std::max(Deepest, MenuWindows().size());
                Step();
            });
        TMenuScript Script(Steps);
        S.Menu->Popup(100, 100);
        EXPECT_EQ(S.Clicks, Case.Clicks) << Case.Name;
        EXPECT_TRUE(Script.Finished()) << Case.Name;
        EXPECT_TRUE(MenuWindows().empty()) << Case.Name;
    }
}

TPoint CentreOf(const TRect& R)
{
    return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
}

TPoint EntryCentre(TMenuItem* Parent, int Index)
{
    const TMenuPopupLayout Layout = LayoutMenuPopup(Parent, &MenuMeasureCanvas(), 0);
    return CentreOf(Layout.Entries[static_cast<std::size_t>(Index)].Rect);
}

TEST(Menus, BreaksStartColumnsAndABarBreakDrawsALineBetween)
{
    TSampleMenu S;
    S.Menu->Items()->Items(2)->SetBreak(mbBreak);    // Print starts column 2
    S.Menu->Items()->Items(4)->SetBreak(mbBarBreak); // Exit starts column 3, after a line
    const TMenuPopupLayout Layout = LayoutMenuPopup(S.Menu->Items(), &MenuMeasureCanvas(), 0);
    ASSERT_EQ(Layout.Entries.size(), 5u);
    const auto At = [&](int I) { return Layout.Entries[static_cast<std::size_t>(I)].Rect; };
    EXPECT_EQ(At(2).Top, At(0).Top);
    EXPECT_EQ(At(2).Left, At(1).Right);
    EXPECT_EQ(At(3).Top, At(2).Bottom);
    EXPECT_EQ(At(4).Top, At(0).Top);
    ASSERT_EQ(Layout.BarBreaks.size(), 1u);
    EXPECT_GT(Layout.BarBreaks[0], At(3).Right - 1);
    EXPECT_LT(Layout.BarBreaks[0], At(4).Left);
    EXPECT_EQ(Layout.Size.cx, At(4).Right + 3);
}

TEST(Menus, TheSelectedItemsHintBecomesTheApplicationsHint)
{
    TSampleMenu S;
    S.Menu->Items()->Items(0)->SetHint("Open|Opens a file");
    std::string Seen;
    TMenuScript Script({Key(VK_DOWN), [&] { Seen = Application->Hint(); }, Key(VK_ESCAPE)});
    S.Menu->Popup(100, 100);
    EXPECT_EQ(Seen, "Opens a file");
}

TEST(Menus, TheMouseOpensSubMenusAndChooses)
{
    TSampleMenu S;
    TMenuItem* Recent = S.Menu->Items()->Items(3);
    HWND Root = 0;
    std::size_t Open = 0;
    TMenuScript Script({
        [&] {
            Root = MenuWindows().front();
            const TPoint P = EntryCentre(S.Menu->Items(), 3); // Recent
            InjectMouseMove(Root, P.X, P.Y);
        },
        [&] {
            Open = MenuWindows().size();
            const HWND Sub =
                MenuWindows().front() != Root ? MenuWindows().front() : MenuWindows().back();
            const TPoint P = EntryCentre(Recent, 1);
            InjectMouseButton(Sub, 0, true, P.X, P.Y);
            InjectMouseButton(Sub, 0, false, P.X, P.Y);
        },
    });
    S.Menu->Popup(100, 100);
    EXPECT_EQ(Open, 2u);
    EXPECT_EQ(S.Clicks, std::vector<std::string>{"&Two"});
}

TEST(Menus, AClickOutsideClosesTheMenuWithoutAChoice)
{
    TSampleMenu S;
    TMenuScript Script({[&] {
        const HWND Menu = MenuWindows().front();
        InjectMouseButton(Menu, 0, true, -40, -40);
        InjectMouseButton(Menu, 0, false, -40, -40);
    }});
    S.Menu->Popup(300, 300);
    EXPECT_TRUE(S.Clicks.empty());
    EXPECT_TRUE(Script.Finished());
}

TEST(Menus, ASubMenuWithoutRoomOnTheRightOpensOnTheLeft)
{
    TSampleMenu S;
    TRect RootRect;
    TRect SubRect;
    TMenuScript Script({Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT),
                        [&] {
                            GetWindowRect(MenuWindows().back(), RootRect);
                            GetWindowRect(MenuWindows().front(), SubRect);
                        },
                        Key(VK_ESCAPE), Key(VK_ESCAPE)});
    S.Menu->Popup(1024 - 10, 100); // the root itself moves left of the point
    EXPECT_LE(RootRect.Right, 1024);
    EXPECT_LT(SubRect.Left, RootRect.Left);
    EXPECT_LE(SubRect.Right, RootRect.Left + 6); // overlapping the frames only
}

TEST(Menus, ShowControlPopupMenuSetsThePopupComponentAndTheKeyboardPoint)
{
    TSampleMenu S;
    auto* Box = Place<TTestBox>(S.F.Form, 20, 30, 50, 20);
    EXPECT_FALSE(ShowControlPopupMenu(Box, TPoint{-1, -1})); // no menu yet
    Box->SetPopupMenu(S.Menu);
    TMenuScript Script({Key(VK_ESCAPE), Key(VK_ESCAPE)});
    EXPECT_TRUE(ShowControlPopupMenu(Box, TPoint{-1, -1}));
    EXPECT_EQ(S.Menu->PopupComponent(), Box);
    EXPECT_EQ(S.Menu->PopupPoint(), Box->ClientToScreen(TPoint{0, 0}));
    S.Menu->SetAutoPopup(false);
    EXPECT_FALSE(ShowControlPopupMenu(Box, TPoint{5, 5}));
    delete Box;
    EXPECT_EQ(S.Menu->PopupComponent(), nullptr);
}

TEST(Menus, OwnerDrawnItemsGetTheirRectangleAndState)
{
    TSampleMenu S;
    S.Menu->SetOwnerDraw(true);
    TMenuItem* Open = S.Menu->Items()->Items(0);
    Open->SetDefault(true);
    Open->SetChecked(true);
    struct TDrawn {
        std::string Caption;
        TRect Rect;
        TOwnerDrawState State;
    };
    std::vector<TDrawn> Drawn;
    for (int I = 0; I < S.Menu->Items()->Count(); ++I) {
        TMenuItem* Item = S.Menu->Items()->Items(I);
        Item->OnMeasureItem = [](TObject*, TCanvas*, int& W, int& H) {
            W = 120;
            H = H == 8 ? 6 : 24; // separators stay thin
        };
        Item->OnAdvancedDrawItem = [&Drawn](TObject* Sender, TCanvas* Canvas, const TRect& R,
                                            TOwnerDrawState State) {
            EXPECT_NE(Canvas, nullptr);
            Drawn.push_back({static_cast<TMenuItem*>(Sender)->Caption(), R, State});
        };
    }
    std::vector<TDrawn> FirstPaint;
    TMenuScript Script({[&] {
                            FirstPaint = Drawn;
                            Drawn.clear();
                        },
                        Key(VK_DOWN), [] {}, Key(VK_ESCAPE)});
    S.Menu->Popup(100, 100);
    ASSERT_EQ(FirstPaint.size(), 5u);
    const int Frame = 3;
    int Y = Frame;
    for (const TDrawn& D : FirstPaint) {
        const int H = D.Caption == "-" ? 6 : 24;
        EXPECT_EQ(D.Rect, Rect(Frame, Y, Frame + 120, Y + H)) << D.Caption;
        Y += H;
    }
    EXPECT_EQ(FirstPaint[0].State, (TOwnerDrawState{odChecked, odDefault}));
    EXPECT_EQ(FirstPaint[2].State, (TOwnerDrawState{odDisabled, odGrayed}));
    // After Down the first item is drawn selected.
    bool SawSelected = false;
    for (const TDrawn& D : Drawn)
        if (D.Caption == "&Open")
            SawSelected = SawSelected || D.State.Contains(odSelected);
    EXPECT_TRUE(SawSelected);
}

// A window whose procedure records WM_COMMAND and lets menu items measure and draw themselves.
struct TCommandWindow {
    std::vector<UINT> Commands;
    int DrawItems = 0;
    HWND Wnd = AllocateHWnd([this](TMessage& Message) {
        if (Message.Msg == WM_COMMAND)
            Commands.push_back(LoWord(Message.WParam));
        else if (Message.Msg == WM_DRAWITEM && DefMenuOwnerDraw(Message.Msg, Message.LParam))
            ++DrawItems;
        else if (!DefMenuOwnerDraw(Message.Msg, Message.LParam))
            Message.Result = DefWindowProc(Wnd, Message.Msg, Message.WParam, Message.LParam);
    });
    ~TCommandWindow() { DeallocateHWnd(Wnd); }
};

TEST(Menus, TrackPopupMenuAnswersWithWmCommandOrReturnsTheCommand)
{
    TSampleMenu S;
    TCommandWindow Target;
    TMenuItem* Exit = S.Menu->Items()->Items(4);
    {
        TMenuScript Script({Key('X', "x")});
        EXPECT_EQ(TrackPopupMenu(S.Menu->Items(), TPM_LEFTALIGN, 50, 50, 0, Target.Wnd), 1u);
        EXPECT_TRUE(Target.Commands.empty()); // posted: it comes after the menu has closed
        EXPECT_TRUE(S.Clicks.empty());        // the item itself is not clicked
        Pump();
        EXPECT_EQ(Target.Commands, std::vector<UINT>{Exit->Command()});
    }
    {
        TMenuScript Script({Key('O', "o")});
        EXPECT_EQ(TrackPopupMenu(S.Menu, TPM_RETURNCMD, 50, 50, Target.Wnd),
                  S.Menu->Items()->Items(0)->Command());
        Pump();
        EXPECT_EQ(Target.Commands.size(), 1u);
    }
    {
        TMenuScript Script({Key(VK_ESCAPE)});
        EXPECT_EQ(TrackPopupMenu(S.Menu, TPM_RETURNCMD, 50, 50, Target.Wnd), 0u);
    }
    {
        // Owner-drawn items are drawn through the window's WM_DRAWITEM.
        S.Menu->SetOwnerDraw(true);
        int Drawn = 0;
        S.Menu->Items()->Items(0)->OnDrawItem = [&](TObject*, TCanvas*, const TRect&, bool) {
            ++Drawn;
        };
        TMenuScript Script({[] {}, Key(VK_ESCAPE)});
        TrackPopupMenu(S.Menu, TPM_RETURNCMD, 50, 50, Target.Wnd);
        EXPECT_GT(Drawn, 0);
        EXPECT_GE(Target.DrawItems, 5);
    }
}

// ---- the menu bar

TEST(Menus, TheBarLaysItsItemsOutInRowsAndHitTestsThem)
{
    TBarForm B;
    TCanvas& Canvas = MenuMeasureCanvas();
    std::vector<int> Widths;
    for (int I = 0; I < 3; ++I) {
        TRect R = Rect(0, 0, 0, 0);
        Canvas.DrawText(B.Menu->Items()->Items(I)->Caption(), R, DT_SINGLELINE | DT_CALCRECT);
        Widths.push_back(R.Width() + 12);
    }
    const int Row = Canvas.TextHeight("Wg") + 6;
    const TMenuBarLayout Wide = LayoutMenuBar(B.Menu, 400);
    EXPECT_EQ(Wide.Height, Row + 1);
    EXPECT_EQ(Wide.ItemRects[0], Rect(0, 0, Widths[0], Row));
    EXPECT_EQ(Wide.ItemRects[2].Left, Widths[0] + Widths[1]);
    // Too narrow for all three: the third goes to a second row.
    const TMenuBarLayout Narrow = LayoutMenuBar(B.Menu, Widths[0] + Widths[1] + 1);
    EXPECT_EQ(Narrow.Height, 2 * Row + 1);
    EXPECT_EQ(Narrow.ItemRects[2], Rect(0, Row, Widths[2], 2 * Row));
    struct TCase {
        TPoint P;
        int Item;
    };
    const std::vector<TCase> Cases = {
        {{1, 1}, 0},       {{Widths[0] - 1, Row - 1}, 0},        {{Widths[0], 0}, 1},
        {{2, Row + 2}, 2}, {{Widths[0] + Widths[1] + 5, 3}, -1}, {{2, 2 * Row + 3}, -1},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(Narrow.ItemAtPos(Case.P), Case.Item) << Case.P.X << "," << Case.P.Y;
    // A hidden item takes no room.
    B.Menu->Items()->Items(1)->SetVisible(false);
    const TMenuBarLayout Hidden = LayoutMenuBar(B.Menu, 400);
    EXPECT_TRUE(IsRectEmpty(Hidden.ItemRects[1]));
    EXPECT_EQ(Hidden.ItemRects[2].Left, Widths[0]);
    EXPECT_EQ(MenuBarHeight(B.F.Form, 400), Row + 1);
}

TEST(Menus, AltLetterAndF10OpenTheBarFromTheKeyboard)
{
    struct TCase {
        const char* Name;
        std::function<void()> Open; // typed into the form
        std::vector<std::function<void()>> InMenu;
        std::vector<std::string> Clicks;
    };
    const auto AltLetter = [](int Letter, const char* Text) {
        return [Letter, Text] {
            InjectKeyDown(VK_MENU);
            InjectKeyPress(Letter, Text);
            InjectKeyUp(VK_MENU);
        };
    };
    const auto AltAlone = [] {
        InjectKeyDown(VK_MENU);
        InjectKeyUp(VK_MENU);
    };
    const std::vector<TCase> Cases = {
        {"Alt+E opens Edit at its first item", AltLetter('E', "e"), {Key(VK_RETURN)}, {"&Copy"}},
        {"Alt+F, Down", AltLetter('F', "f"), {Key(VK_DOWN), Key(VK_RETURN)}, {"&Save"}},
        {"Alt+F, Right moves to Edit's drop-down",
         AltLetter('F', "f"),
         {Key(VK_RIGHT), Key(VK_DOWN), Key(VK_RETURN)},
         {"&Paste"}},
        {"F10 selects File; Right, Down opens Edit",
         Key(VK_F10),
         {Key(VK_RIGHT), Key(VK_DOWN), Key(VK_RETURN)},
         {"&Copy"}},
        {"Alt alone, then a letter no bar item has, then Escape",
         AltAlone,
         {Key('S', "s"), Key(VK_ESCAPE)},
         {}},
        {"Alt alone, then H chooses Help", AltAlone, {Key('H', "h")}, {"&Help"}},
        {"Escape twice leaves", AltLetter('F', "f"), {Key(VK_ESCAPE), Key(VK_ESCAPE)}, {}},
        {"Alt+letter without a bar item does nothing", AltLetter('Q', "q"), {}, {}},
    };
    for (const TCase& Case : Cases) {
        TBarForm B;
        TMenuScript Script(Case.InMenu);
        Case.Open();
        Pump();
        EXPECT_EQ(B.Clicks, Case.Clicks) << Case.Name;
        EXPECT_EQ(B.Menu->HotIndex(), -1) << Case.Name;
        EXPECT_TRUE(MenuWindows().empty()) << Case.Name;
    }
}

} // namespace
