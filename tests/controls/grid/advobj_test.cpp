// The arrow windows' shapes and the pop-up caption window.
#include "controls/grid/advobj.h"

#include "platform/gfx/recordingdevice.h"
#include "platform/gfx/region.h"
#include "platform/ui/window.h"
#include "platform/ui/windowstyles.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

TEST(ArrowWindow, IsAHiddenLimePopupShapedAsItsArrow)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    struct TCase {
        int Direction;
        TPoint Inside;  // a point of the arrow
        TPoint Outside; // a point of the box that is not
        TRect Box;
    };
    const std::vector<TCase> Cases = {
        {0, TPoint{5, 2}, TPoint{1, 8}, Rect(0, 0, 9, 9)},
        {1, TPoint{5, 6}, TPoint{1, 1}, Rect(1, 0, 8, 8)},
        {2, TPoint{6, 5}, TPoint{1, 1}, Rect(0, 1, 8, 9)},
        {3, TPoint{2, 5}, TPoint{7, 1}, Rect(0, 1, 8, 9)},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Direction);
        auto* Arrow = new TArrowWindow(Form, Case.Direction);
        EXPECT_EQ(Arrow->Parent(), Form);
        EXPECT_FALSE(Arrow->Visible());
        EXPECT_EQ(Arrow->Color(), clLime);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLong(Arrow->Handle(), GWL_STYLE)) & WS_POPUP,
                  static_cast<DWORD>(WS_POPUP));
        HRGN Shape = CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(GetWindowRgn(Arrow->Handle(), Shape), RGN_ERROR);
        EXPECT_TRUE(PtInRegion(Shape, Case.Inside.X, Case.Inside.Y));
        EXPECT_FALSE(PtInRegion(Shape, Case.Outside.X, Case.Outside.Y));
        TRect Box;
        GetRgnBox(Shape, Box);
        EXPECT_EQ(Box, Case.Box);
        // The same shape as the seven corners filled with the winding rule.
        const auto Points = TArrowWindow::ArrowPoints(Case.Direction);
        HRGN Expected = CreatePolygonRgn(Points.data(), 7, WINDING);
        EXPECT_TRUE(EqualRgn(Shape, Expected));
        DeleteObject(Expected);
        DeleteObject(Shape);
    }
}

TEST(PopupButton, IsATopmostBorderedPopupWithItsCaptionCentred)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Popup = new TPopupButton(Form);
    Popup->SetParentWindow(Form->Handle());
    Popup->SetBounds(0, 0, 80, 20);
    Popup->SetCaption("Column 3");
    const DWORD Style = static_cast<DWORD>(GetWindowLong(Popup->Handle(), GWL_STYLE));
    EXPECT_EQ(Style & (WS_POPUP | WS_BORDER), static_cast<DWORD>(WS_POPUP | WS_BORDER));
    EXPECT_NE(GetWindowLong(Popup->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(Popup->Color(), clBtnFace);
    struct TCase {
        bool Flat;
        bool Frame;
    };
    for (const TCase& Case : {TCase{false, true}, TCase{true, false}}) {
        Popup->SetFlat(Case.Flat);
        TRecordingDevice Device(100, 40);
        TCanvas Canvas(&Device);
        Popup->PaintTo(Canvas.Handle(), 0, 0);
        bool Caption = false;
        bool White = false;
        for (const auto& Call : Device.Calls()) {
            if (Call.Text == "Column 3") {
                Caption = true;
                EXPECT_GT(Call.Points.at(0).X, 0);
            }
            if (Call.Name == "Polyline" && Call.State.Pen.Color == clWhite)
                White = true;
        }
        EXPECT_TRUE(Caption);
        EXPECT_EQ(White, Case.Frame);
    }
}
