// The pointer's shape over the standard controls: the edit's I-beam, the splitter's, the column
// header's dividers and the status bar's size grip.
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/listview.h"
#include "platform/stdctrls/listviewwindow.h"
#include "platform/stdctrls/panel.h"
#include "platform/stdctrls/splitter.h"
#include "platform/stdctrls/statusbar.h"
#include "platform/ui/headless/headlessdriver.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int Shown()
{
    return dynamic_cast<THeadlessDriver&>(DisplayDriver()).Pointer();
}

struct TControlsForm {
    TTestApplication App;
    TForm* Form = nullptr;
    TPanel* Neighbour = nullptr;
    TSplitter* Splitter = nullptr;
    TEdit* Edit = nullptr;
    TListView* List = nullptr;
    TStatusBar* Bar = nullptr;
    HWND Header = 0;

    TControlsForm()
    {
        Form = ShownForm(&App, 500, 320);
        Neighbour = new TPanel(Form);
        Neighbour->SetParent(Form);
        Neighbour->SetBounds(0, 0, 100, 100);
        Neighbour->SetAlign(alLeft);
        Splitter = new TSplitter(Form);
        Splitter->SetParent(Form);
        Splitter->SetAlign(alLeft);
        Splitter->SetLeft(150); // beyond the neighbour, so that it aligns next to it
        Edit = Place<TEdit>(Form, 150, 10, 120, 24);
        List = Place<TListView>(Form, 150, 50, 300, 150);
        List->SetViewStyle(vsReport);
        for (const char* Caption : {"Subject", "Sender"}) {
            TListColumn* Column = List->Columns()->Add();
            Column->SetCaption(Caption);
            Column->SetWidth(90);
        }
        Bar = new TStatusBar(Form);
        Bar->SetParent(Form);
        Bar->Panels()->Add()->SetWidth(200);
        Pump();
        Header = static_cast<HWND>(List->Perform(LVM_GETHEADER, 0, 0));
    }
    // Moves the pointer to a point of Control's client area.
    void MoveTo(TControl* Control, int X, int Y)
    {
        const TPoint P = Form->ScreenToClient(Control->ClientToScreen(TPoint{X, Y}));
        InjectMouseMove(Form->Handle(), P.X, P.Y);
        Pump();
    }
    void MoveInHeader(int X, int Y)
    {
        InjectMouseMove(Header, X, Y);
        Pump();
    }
};

} // namespace

TEST(PointerShape, EachControlShowsItsOwnShape)
{
    TControlsForm F;
    ASSERT_NE(F.Header, HWND(0));
    ASSERT_EQ(F.Splitter->Left(), 100);
    struct TCase {
        const char* What;
        TControl* Control; // null: the header, in its own coordinates
        TPoint At;
        TCursor Shape;
    };
    const int BarRight = F.Bar->ClientWidth();
    const int BarBottom = F.Bar->ClientHeight();
    const std::vector<TCase> Cases = {
        {"the edit", F.Edit, {20, 10}, crIBeam},
        {"the splitter", F.Splitter, {1, 50}, crHSplit},
        {"the panel beside it", F.Neighbour, {50, 50}, crArrow},
        {"a column's caption", nullptr, {40, 5}, crArrow},
        {"the divider after the first column", nullptr, {90, 5}, crHSplit},
        {"just beside that divider", nullptr, {92, 5}, crHSplit},
        {"the rows", F.List, {40, 100}, crArrow},
        {"a status panel", F.Bar, {20, 5}, crArrow},
        {"the size grip", F.Bar, {BarRight - 3, BarBottom - 3}, crSizeNWSE},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.What);
        ::SetCursor(crNo);
        if (Case.Control != nullptr)
            F.MoveTo(Case.Control, Case.At.X, Case.At.Y);
        else
            F.MoveInHeader(Case.At.X, Case.At.Y);
        EXPECT_EQ(Shown(), Case.Shape);
    }
}

TEST(PointerShape, ADividerDragKeepsTheSizingShapeAndTheScreensCursorWins)
{
    TControlsForm F;
    F.MoveInHeader(90, 5);
    InjectMouseButton(F.Header, 0, true, 90, 5);
    Pump();
    F.MoveInHeader(30, 5); // over a caption, the divider still held
    EXPECT_EQ(Shown(), crHSplit);
    InjectMouseButton(F.Header, 0, false, 30, 5);
    Pump();
    EXPECT_EQ(F.List->Columns()->Items(0)->Width(), 30);
    F.MoveInHeader(60, 5);
    EXPECT_EQ(Shown(), crArrow);

    Screen->SetCursor(crHourGlass);
    F.MoveInHeader(30, 5);
    EXPECT_EQ(Shown(), crHourGlass);
    F.MoveTo(F.Bar, F.Bar->ClientWidth() - 3, F.Bar->ClientHeight() - 3);
    EXPECT_EQ(Shown(), crHourGlass);
    F.MoveTo(F.Edit, 20, 10);
    EXPECT_EQ(Shown(), crHourGlass);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(Shown(), crIBeam);
}
