// Client areas inside frames: a control's client origin and its screen conversions come from its
// window (inside a parent's border and client edge), and a client area that changes while the
// window keeps its size (a scroll bar shown or hidden) realigns the children.
#include "platform/ui/nonclient.h"
#include "platform/ui/scrollbars.h"
#include "platform/ui/sysmetrics.h"
#include "tests/platform/forms/menutest.h"

#include <gtest/gtest.h>

namespace {

// A box with a border and a sunken client edge around its client area.
class TFramedBox : public TTestBox {
public:
    explicit TFramedBox(TComponent* AOwner) : TTestBox(AOwner) {}

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TTestBox::CreateParams(Params);
        Params.Style |= WS_BORDER;
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    }
};

TEST(ClientOrigin, ComesFromTheWindowInsideItsParentsFrame)
{
    TMenuFixture F;
    TFramedBox* Frame = Place<TFramedBox>(F.Form, 20, 30, 200, 120);
    TTestBox* Inner = Place<TTestBox>(Frame, 10, 15, 60, 40);
    TTestShape* Shape = Place<TTestShape>(Frame, 5, 6, 20, 20);
    Pump();
    const int Edge = GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXEDGE);
    const TPoint Form = F.Form->ClientOrigin();
    EXPECT_EQ(Form, (TPoint{100, 100}));
    struct TCase {
        const char* Name;
        TControl* Control;
        TPoint Origin;
    };
    const std::vector<TCase> Cases = {
        {"the framed parent", Frame, {Form.X + 20 + Edge, Form.Y + 30 + Edge}},
        {"a window inside the frame", Inner, {Form.X + 20 + Edge + 10, Form.Y + 30 + Edge + 15}},
        {"a control without a window", Shape, {Form.X + 20 + Edge + 5, Form.Y + 30 + Edge + 6}},
    };
    for (const TCase& Case : Cases) {
        EXPECT_EQ(Case.Control->ClientOrigin(), Case.Origin) << Case.Name;
        const TPoint P = Case.Control->ClientToScreen(TPoint{3, 4});
        EXPECT_EQ(P, (TPoint{Case.Origin.X + 3, Case.Origin.Y + 4})) << Case.Name;
        EXPECT_EQ(Case.Control->ScreenToClient(P), (TPoint{3, 4})) << Case.Name;
    }
    // What the window system says of the same point.
    TPoint Native{0, 0};
    ClientToScreen(Inner->Handle(), Native);
    EXPECT_EQ(Inner->ClientOrigin(), Native);

    // A pop-up placed at a control's corner opens there.
    TPopupMenu* Popup = new TPopupMenu(F.Form);
    AddItem(F.Form, Popup->Items(), "&Open");
    TRect Shown;
    TMenuScript Script({[&] {
                            if (!MenuWindows().empty())
                                GetWindowRect(MenuWindows().front(), Shown);
                        },
                        [] { InjectKeyPress(VK_ESCAPE); }});
    const TPoint Corner = Inner->ClientToScreen(TPoint{0, Inner->Height()});
    Popup->Popup(Corner.X, Corner.Y);
    EXPECT_EQ(Shown.TopLeft(), Corner);
}

TEST(ClientArea, AScrollBarShownOrHiddenRealignsTheChildren)
{
    TMenuFixture F;
    TTestBox* Fill = Place<TTestBox>(F.Form, 0, 0, 10, 10);
    Fill->SetAlign(alClient);
    TTestBox* Bottom = Place<TTestBox>(F.Form, 0, 0, 10, 30);
    Bottom->SetAlign(alBottom);
    Pump();
    const int Bar = GetSystemMetrics(SM_CXVSCROLL);
    struct TCase {
        int Which;
        bool Show;
        TSize Client;
    };
    const std::vector<TCase> Cases = {
        {SB_VERT, true, {300 - Bar, 200}},
        {SB_HORZ, true, {300 - Bar, 200 - GetSystemMetrics(SM_CYHSCROLL)}},
        {SB_BOTH, false, {300, 200}},
    };
    for (const TCase& Case : Cases) {
        ShowScrollBar(F.Form->Handle(), Case.Which, Case.Show);
        Pump();
        EXPECT_EQ(F.Form->Width(), 300);
        EXPECT_EQ(F.Form->ClientWidth(), Case.Client.cx);
        EXPECT_EQ(Fill->BoundsRect(), Rect(0, 0, Case.Client.cx, Case.Client.cy - 30));
        EXPECT_EQ(Bottom->BoundsRect(),
                  Rect(0, Case.Client.cy - 30, Case.Client.cx, Case.Client.cy));
    }
}

} // namespace
