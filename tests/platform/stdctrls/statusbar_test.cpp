// The status bar: panels become the window's parts and texts, a panel's new text repaints that
// panel only, the simple text, owner-drawn panels, index errors, bottom alignment and the size
// grip.
#include "tests/platform/stdctrls/stdctrlstest.h"

#include "platform/rtl/exceptions.h"
#include "platform/stdctrls/statusbar.h"
#include "platform/stdctrls/statusbarwindow.h"
#include "platform/ui/paint.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

std::string PartText(TStatusBar* Bar, UINT Part, UINT* Flags = nullptr)
{
    const LRESULT Length = Bar->Perform(SB_GETTEXTLENGTH, Part, 0);
    std::string Text(static_cast<std::size_t>(LoWord(static_cast<WPARAM>(Length))) + 1, '\0');
    const LRESULT Got = Bar->Perform(SB_GETTEXT, Part, reinterpret_cast<LPARAM>(Text.data()));
    if (Flags != nullptr)
        *Flags = HiWord(static_cast<WPARAM>(Got));
    Text.resize(LoWord(static_cast<WPARAM>(Got)));
    return Text;
}

TRect PartRect(TStatusBar* Bar, UINT Part)
{
    TRect R;
    Bar->Perform(SB_GETRECT, Part, reinterpret_cast<LPARAM>(&R));
    return R;
}

TStatusBar* MainWindowBar(TForm* Form)
{
    auto* Bar = new TStatusBar(Form);
    Bar->SetParent(Form);
    TStatusPanel* First = Bar->Panels()->Add();
    First->SetWidth(300);
    First->SetText("Right click for more options, double click to mark");
    Bar->Panels()->Add()->SetWidth(50);
    return Bar;
}

} // namespace

TEST(StatusBars, PanelsBecomeThePartsTextsAndLookOfTheWindow)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App, 500, 200);
    TStatusBar* Bar = MainWindowBar(Form);
    struct TCase {
        const char* Text;
        TAlignment Alignment;
        TStatusPanelBevel Bevel;
        std::string WindowText;
        UINT Flags;
    };
    const std::vector<TCase> Cases = {
        {"Ready", taLeftJustify, pbLowered, "Ready", 0},
        {"12 new", taCenter, pbLowered, "\t12 new", 0},
        {"3 of 9", taRightJustify, pbNone, "\t\t3 of 9", SBT_NOBORDERS},
        {"", taLeftJustify, pbRaised, "", SBT_POPOUT},
    };
    for (const TCase& Case : Cases) {
        TStatusPanel* Panel = Bar->Panels()->Items(1);
        Panel->SetText(Case.Text);
        Panel->SetAlignment(Case.Alignment);
        Panel->SetBevel(Case.Bevel);
        UINT Flags = 0;
        EXPECT_EQ(PartText(Bar, 1, &Flags), Case.WindowText) << Case.Text;
        EXPECT_EQ(Flags, Case.Flags) << Case.Text;
    }
    EXPECT_EQ(PartText(Bar, 0), "Right click for more options, double click to mark");
    std::array<int, 4> Edges{};
    ASSERT_EQ(Bar->Perform(SB_GETPARTS, Edges.size(), reinterpret_cast<LPARAM>(Edges.data())), 2);
    EXPECT_EQ(Edges[0], 300);
    EXPECT_EQ(Edges[1], -1) << "the last panel reaches the end";
    EXPECT_EQ(PartRect(Bar, 1).Left, 302);

    // A wider first panel moves the second.
    Bar->Panels()->Items(0)->SetWidth(250);
    EXPECT_EQ(PartRect(Bar, 1).Left, 252);
    delete Form;
}

TEST(StatusBars, ANewPanelTextRepaintsThatPanelOnly)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App, 500, 200);
    TStatusBar* Bar = MainWindowBar(Form);
    Pump();
    ASSERT_FALSE(GetUpdateRect(Bar->Handle(), nullptr));
    Bar->Panels()->Items(1)->SetText("Checking mail 3 of 12");
    TRect Update;
    ASSERT_TRUE(GetUpdateRect(Bar->Handle(), &Update));
    EXPECT_EQ(Update, PartRect(Bar, 1));
    Pump();
    Bar->Panels()->Items(1)->SetText("Checking mail 3 of 12");
    EXPECT_FALSE(GetUpdateRect(Bar->Handle(), nullptr)) << "the same text again changes nothing";
    delete Form;
}

TEST(StatusBars, SimpleTextShowsAcrossTheBarInsteadOfThePanels)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App, 500, 200);
    TStatusBar* Bar = MainWindowBar(Form);
    Bar->SetSimpleText("Connecting");
    EXPECT_EQ(Bar->Perform(SB_ISSIMPLE, 0, 0), 0);
    Bar->SetSimplePanel(true);
    EXPECT_EQ(Bar->Perform(SB_ISSIMPLE, 0, 0), 1);
    EXPECT_EQ(PartText(Bar, SB_SIMPLEID), "Connecting");
    EXPECT_EQ(PartRect(Bar, 0).Left, 0);
    EXPECT_EQ(PartRect(Bar, 0).Right, Bar->ClientWidth() - 12) << "up to the size grip";
    Bar->SetSimplePanel(false);
    EXPECT_EQ(PartText(Bar, 0), "Right click for more options, double click to mark")
        << "the panels come back as they were";
    delete Form;
}

TEST(StatusBars, APanelIndexOutOfRangeRaisesTheListError)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App, 500, 200);
    TStatusBar* Bar = MainWindowBar(Form);
    for (int Index : {-1, 2, 100}) {
        try {
            Bar->Panels()->Items(Index);
            ADD_FAILURE() << Index;
        } catch (const EListError& E) {
            EXPECT_EQ(E.Message(), "List index out of bounds (" + std::to_string(Index) + ")");
        }
    }
    delete Form;
}

TEST(StatusBars, OwnerDrawnPanelsAreDrawnByOnDrawPanel)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App, 500, 200);
    TStatusBar* Bar = MainWindowBar(Form);
    TStatusPanel* Drawn = Bar->Panels()->Add();
    Drawn->SetStyle(psOwnerDraw);
    Bar->Panels()->Items(1)->SetWidth(60);
    std::vector<std::pair<TStatusPanel*, TRect>> Calls;
    Bar->OnDrawPanel = [&](TStatusBar* Sender, TStatusPanel* Panel, const TRect& Rect) {
        EXPECT_EQ(Sender, Bar);
        Calls.emplace_back(Panel, Rect);
        Sender->Canvas()->Brush()->SetColor(clRed);
        Sender->Canvas()->FillRect(Rect);
    };
    Bar->Invalidate();
    Pump();
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].first, Drawn);
    TRect Inside = PartRect(Bar, 2);
    InflateRect(Inside, -1, -1);
    EXPECT_EQ(Calls[0].second, Inside) << "inside the panel's bevel";
    delete Form;
}

TEST(StatusBars, TheBarKeepsToTheBottomAndItsGripSizesTheForm)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App, 400, 300);
    TStatusBar* Bar = MainWindowBar(Form);
    Pump();
    EXPECT_EQ(Bar->Align(), alBottom);
    EXPECT_EQ(Bar->Top() + Bar->Height(), Form->ClientHeight());
    EXPECT_EQ(Bar->Width(), Form->ClientWidth());

    const int Width = Form->Width();
    const int Height = Form->Height();
    const TPoint Grip{Bar->ClientWidth() - 4, Bar->ClientHeight() - 4};
    InjectMouseMove(Bar->Handle(), Grip.X, Grip.Y);
    InjectMouseButton(Bar->Handle(), 0, true, Grip.X, Grip.Y);
    InjectMouseMove(Bar->Handle(), Grip.X + 30, Grip.Y + 20);
    Pump();
    InjectMouseButton(Bar->Handle(), 0, false, Grip.X + 30, Grip.Y + 20);
    Pump();
    EXPECT_EQ(Form->Width(), Width + 30);
    EXPECT_EQ(Form->Height(), Height + 20);
    EXPECT_EQ(Bar->Top() + Bar->Height(), Form->ClientHeight()) << "still at the bottom";

    Bar->SetSizeGrip(false);
    InjectMouseButton(Bar->Handle(), 0, true, Bar->ClientWidth() - 4, 10);
    InjectMouseMove(Bar->Handle(), Bar->ClientWidth() + 20, 30);
    InjectMouseButton(Bar->Handle(), 0, false, Bar->ClientWidth() + 20, 30);
    Pump();
    EXPECT_EQ(Form->Width(), Width + 30) << "no grip, no sizing";
    delete Form;
}

TEST(StatusBars, AMinimumHeightGrowsTheBarUpwards)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App, 400, 300);
    auto* Bar = Place<TStatusBar>(Form, 0, 200, 400, 19);
    Bar->SetAlign(alNone);
    Bar->SetBounds(0, 200, 400, 19);
    Bar->Perform(SB_SETMINHEIGHT, 30, 0);
    EXPECT_EQ(Bar->Height(), 34);
    EXPECT_EQ(Bar->Top() + Bar->Height(), 219);
    delete Form;
}
