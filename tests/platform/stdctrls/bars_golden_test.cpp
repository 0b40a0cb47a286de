// The look of the status bar, progress bar, scroll bar and scroll box in their states, drawn
// headless and compared exactly with tests/fixtures/stdctrls/ (a sheet per control, a cell per
// state, left to right); TARNWICK_UPDATE_GOLDEN=1 writes them anew.
#include "tests/platform/stdctrls/controlsheet.h"
#include "tests/platform/stdctrls/stdctrlstest.h"
#include "tests/support/golden.h"

#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/progressbar.h"
#include "platform/stdctrls/scrollbar.h"
#include "platform/stdctrls/scrollbox.h"
#include "platform/stdctrls/statusbar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// Cells one under another (the bars are wide) or side by side, each a control with a margin of
// its form around it (none for a bar aligned to the form's edge).
class TBarSheet : public TControlSheet {
public:
    TBarSheet(TApplication* App, bool Across, int Margin = 3)
        : TControlSheet(App, 460, 200, Across, Margin)
    {
    }
};

TStatusBar* PanelsBar(TForm* Form)
{
    auto* Bar = new TStatusBar(Form);
    Bar->SetParent(Form);
    TStatusPanel* First = Bar->Panels()->Add();
    First->SetWidth(300);
    First->SetText("Right click for more options, double click to mark");
    Bar->Panels()->Add()->SetWidth(80);
    Bar->Panels()->Items(1)->SetText("3 new");
    return Bar;
}

} // namespace

TEST(BarsLook, StatusBars)
{
    TDeterministicFonts Fonts;
    TTestApplication App;
    TBarSheet Sheet(&App, false, 0);
    Sheet.Add([](TForm* Form) { return PanelsBar(Form); });
    Sheet.Add([](TForm* Form) {
        TStatusBar* Bar = PanelsBar(Form);
        Bar->Panels()->Items(1)->SetBevel(pbRaised);
        Bar->Panels()->Items(1)->SetAlignment(taRightJustify);
        TStatusPanel* Drawn = Bar->Panels()->Add();
        Drawn->SetStyle(psOwnerDraw);
        Bar->OnDrawPanel = [](TStatusBar* Sender, TStatusPanel*, const TRect& Rect) {
            Sender->Canvas()->Brush()->SetColor(clGreen);
            TRect R = Rect;
            InflateRect(R, -2, -2);
            Sender->Canvas()->FillRect(R);
        };
        return Bar;
    });
    Sheet.Add([](TForm* Form) {
        TStatusBar* Bar = PanelsBar(Form);
        Bar->Panels()->Items(0)->SetBevel(pbNone);
        Bar->Panels()->Items(1)->SetAlignment(taCenter);
        Bar->SetSizeGrip(false);
        return Bar;
    });
    Sheet.Add([](TForm* Form) {
        TStatusBar* Bar = PanelsBar(Form);
        Bar->SetSimpleText("Checking mail");
        Bar->SetSimplePanel(true);
        return Bar;
    });
    Sheet.ExpectMatches("statusbar.png");
}

TEST(BarsLook, ProgressBars)
{
    TTestApplication App;
    TBarSheet Sheet(&App, false);
    struct TCase {
        int Min, Max, Position;
        bool Smooth;
    };
    const std::vector<TCase> Cases = {
        {0, 100, 0, false},   {0, 100, 40, false}, {0, 100, 40, true},
        {0, 100, 100, false}, {0, 0, 0, false},    {0, 0, 0, true},
    };
    for (const TCase& Case : Cases)
        Sheet.Add([&](TForm* Form) {
            auto* Bar = Place<TProgressBar>(Form, 10, 10, 150, 16);
            Bar->SetSmooth(Case.Smooth);
            Bar->SetMin(Case.Min);
            Bar->SetMax(Case.Max);
            Bar->SetPosition(Case.Position);
            return Bar;
        });
    Sheet.ExpectMatches("progressbar.png");
    TBarSheet Upright(&App, true);
    for (int Position : {0, 60})
        Upright.Add([&](TForm* Form) {
            auto* Bar = Place<TProgressBar>(Form, 10, 10, 150, 16);
            Bar->SetOrientation(pbVertical);
            Bar->SetPosition(Position);
            return Bar;
        });
    Upright.ExpectMatches("progressbar_vertical.png");
}

TEST(BarsLook, ScrollBars)
{
    TTestApplication App;
    TBarSheet Sheet(&App, true);
    Sheet.Add([](TForm* Form) {
        auto* Bar = Place<TScrollBar>(Form, 10, 10, 150, 16);
        Bar->SetPosition(30);
        return Bar;
    });
    Sheet.Add([](TForm* Form) {
        auto* Bar = Place<TScrollBar>(Form, 10, 10, 150, 16);
        Bar->SetPageSize(40);
        Bar->SetPosition(61);
        return Bar;
    });
    Sheet.Add([](TForm* Form) {
        auto* Bar = Place<TScrollBar>(Form, 10, 10, 150, 16);
        Bar->SetKind(sbVertical);
        Bar->SetPosition(50);
        return Bar;
    });
    Sheet.Add([](TForm* Form) {
        auto* Bar = Place<TScrollBar>(Form, 10, 10, 150, 16);
        Bar->SetEnabled(false);
        return Bar;
    });
    Sheet.ExpectMatches("scrollbar.png");
}

TEST(BarsLook, ScrollBoxes)
{
    TDeterministicFonts Fonts;
    TTestApplication App;
    TBarSheet Sheet(&App, true);
    for (int Scrolled : {0, 60})
        Sheet.Add([&](TForm* Form) {
            auto* Box = Place<TScrollBox>(Form, 10, 10, 160, 100);
            for (int I = 0; I < 4; ++I) {
                auto* Button = Place<TButton>(Box, 10 + I * 60, 10 + I * 30, 75, 25);
                Button->SetCaption("B" + std::to_string(I + 1));
            }
            Box->VertScrollBar()->SetPosition(Scrolled);
            Box->HorzScrollBar()->SetPosition(Scrolled);
            return Box;
        });
    Sheet.Add([](TForm* Form) {
        auto* Box = Place<TScrollBox>(Form, 10, 10, 160, 100);
        Place<TButton>(Box, 10, 10, 75, 25)->SetCaption("Fits");
        return Box;
    });
    Sheet.ExpectMatches("scrollbox.png");
}
