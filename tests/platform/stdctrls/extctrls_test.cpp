// Panels, group boxes, radio groups, splitters, images and bitmap buttons: their layout and
// behaviour through injected input.
#include "tests/platform/stdctrls/stdctrlstest.h"

#include "platform/stdctrls/bitbtn.h"
#include "platform/stdctrls/checkbox.h"
#include "platform/stdctrls/groupbox.h"
#include "platform/stdctrls/image.h"
#include "platform/stdctrls/paintbox.h"
#include "platform/stdctrls/panel.h"
#include "platform/stdctrls/radiobutton.h"
#include "platform/stdctrls/radiogroup.h"
#include "platform/stdctrls/splitter.h"

#include <gtest/gtest.h>

TEST(Panels, BevelsAndBorderNarrowWhereAlignedChildrenGo)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Panel = Place<TPanel>(Form, 0, 0, 200, 100);
    auto* Child = new TPanel(Form);
    Child->SetParent(Panel);
    Child->SetAlign(alClient);
    struct TCase {
        TBevelCut Inner, Outer;
        int BevelWidth, BorderWidth;
        int Inset;
    };
    const std::vector<TCase> Cases = {
        {bvNone, bvRaised, 1, 0, 1},
        {bvLowered, bvRaised, 1, 0, 2},
        {bvLowered, bvRaised, 2, 3, 7},
        {bvNone, bvNone, 1, 4, 4},
    };
    for (const TCase& Case : Cases) {
        Panel->SetBevelInner(Case.Inner);
        Panel->SetBevelOuter(Case.Outer);
        Panel->SetBevelWidth(Case.BevelWidth);
        Panel->SetBorderWidth(Case.BorderWidth);
        EXPECT_EQ(Child->BoundsRect(),
                  Rect(Case.Inset, Case.Inset, 200 - Case.Inset, 100 - Case.Inset));
    }
}

TEST(RadioGroups, ItemsMakeButtonsInColumnsAndItemIndexFollowsTheChecks)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App, 400, 300);
    auto* Group = Place<TRadioGroup>(Form, 10, 10, 210, 110);
    Group->SetCaption("&Verdict");
    int Clicks = 0;
    Group->OnClick = [&](TObject*) { ++Clicks; };
    Group->Items()->Add("Spam");
    Group->Items()->Add("Ham");
    Group->Items()->Add("Unsure");
    Group->SetColumns(2);
    Pump();
    ASSERT_EQ(Group->ControlCount(), 3);
    EXPECT_EQ(Group->Buttons(1)->Caption(), "Ham");
    // Two columns: the third button starts the second one.
    EXPECT_EQ(Group->Buttons(0)->Left(), Group->Buttons(1)->Left());
    EXPECT_GT(Group->Buttons(2)->Left(), Group->Buttons(0)->Left());
    EXPECT_EQ(Group->Buttons(2)->Top(), Group->Buttons(0)->Top());
    EXPECT_EQ(Group->ItemIndex(), -1);

    ClickCentre(Group->Buttons(1));
    EXPECT_EQ(Group->ItemIndex(), 1);
    EXPECT_EQ(Clicks, 1);
    InjectKeyPress(VK_DOWN);
    Pump();
    EXPECT_EQ(Group->ItemIndex(), 2);
    EXPECT_EQ(Clicks, 2);
    Group->SetItemIndex(0);
    EXPECT_TRUE(Group->Buttons(0)->Checked());
    EXPECT_FALSE(Group->Buttons(2)->Checked());
    Group->SetItemIndex(-1);
    EXPECT_FALSE(Group->Buttons(0)->Checked());
    EXPECT_EQ(Group->ItemIndex(), -1);
    Group->SetItemIndex(7); // past the end: the last
    EXPECT_EQ(Group->ItemIndex(), 2);
    Group->Items()->Delete(2);
    EXPECT_EQ(Group->ControlCount(), 2);
    EXPECT_EQ(Group->ItemIndex(), -1);
}

TEST(GroupBoxes, TheAcceleratorFocusesTheFirstControlInside)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Outside = Place<TButton>(Form, 200, 10, 75, 25);
    auto* Box = Place<TGroupBox>(Form, 10, 10, 150, 100);
    Box->SetCaption("&Server");
    auto* First = Place<TButton>(Box, 10, 20, 75, 25);
    Place<TButton>(Box, 10, 50, 75, 25);
    Outside->SetFocus();
    Pump();
    AltKey('S');
    EXPECT_TRUE(First->Focused());
    // The frame and caption are not part of the client area children see.
    auto* Filler = new TPanel(Form);
    Filler->SetParent(Box);
    Filler->SetAlign(alClient);
    EXPECT_GT(Filler->Top(), 2);
    EXPECT_EQ(Filler->Left(), 2);
    EXPECT_EQ(Filler->Width(), 150 - 4);
}

TEST(Splitters, DraggingResizesTheNeighbourWithinTheLimits)
{
    TTestApplication App;
    struct TCase {
        const char* Name;
        TAlign Align;
        TResizeStyle Style;
        int Drag; // along the splitter's axis
        int Size;
    };
    // The form's client is 300 by 200; the neighbour starts at 100; MinSize 30.
    const std::vector<TCase> Cases = {
        {"left, wider", alLeft, rsPattern, 40, 140},
        {"left, live", alLeft, rsUpdate, -30, 70},
        {"left, not below MinSize", alLeft, rsLine, -90, 30},
        {"left, leaves MinSize to the rest", alLeft, rsPattern, 300, 300 - 3 - 30},
        {"right, moving left widens", alRight, rsPattern, -50, 150},
        {"top, lower", alTop, rsUpdate, 20, 120},
        {"bottom, higher", alBottom, rsPattern, -20, 120},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TForm* Form = ShownForm(&App);
        Form->SetClientWidth(300);
        Form->SetClientHeight(200);
        auto* Neighbour = new TPanel(Form);
        Neighbour->SetParent(Form);
        Neighbour->SetBounds(0, 0, 100, 100);
        Neighbour->SetAlign(Case.Align);
        auto* Splitter = new TSplitter(Form);
        Splitter->SetParent(Form);
        Splitter->SetAlign(Case.Align);
        const bool Across = Case.Align == alLeft || Case.Align == alRight;
        if (!Across)
            Splitter->SetHeight(3);
        // Placed beyond the neighbour so that it aligns next to it.
        if (Case.Align == alLeft)
            Splitter->SetLeft(150);
        else if (Case.Align == alRight)
            Splitter->SetLeft(0);
        else if (Case.Align == alTop)
            Splitter->SetTop(150);
        else
            Splitter->SetTop(0);
        Splitter->SetResizeStyle(Case.Style);
        int Moved = 0;
        Splitter->OnMoved = [&](TObject*) { ++Moved; };
        Pump();
        const TRect S = Splitter->BoundsRect();
        const TPoint Start{S.Left + 1, S.Top + 1};
        const TPoint End =
            Across ? TPoint{Start.X + Case.Drag, Start.Y} : TPoint{Start.X, Start.Y + Case.Drag};
        InjectMouseMove(Form->Handle(), Start.X, Start.Y);
        InjectMouseButton(Form->Handle(), 0, true, Start.X, Start.Y);
        Pump(); // the capture holds from here on
        InjectMouseMove(Form->Handle(), (Start.X + End.X) / 2, (Start.Y + End.Y) / 2);
        InjectMouseMove(Form->Handle(), End.X, End.Y);
        InjectMouseButton(Form->Handle(), 0, false, End.X, End.Y);
        Pump();
        EXPECT_EQ(Across ? Neighbour->Width() : Neighbour->Height(), Case.Size);
        EXPECT_EQ(Moved, 1);
        EXPECT_EQ(Splitter->Cursor(), Across ? crHSplit : crVSplit);
        // The splitter stays against the neighbour's edge.
        switch (Case.Align) {
        case alLeft:
            EXPECT_EQ(Splitter->Left(), Neighbour->Left() + Neighbour->Width());
            break;
        case alRight:
            EXPECT_EQ(Splitter->Left() + Splitter->Width(), Neighbour->Left());
            break;
        case alTop:
            EXPECT_EQ(Splitter->Top(), Neighbour->Top() + Neighbour->Height());
            break;
        default:
            EXPECT_EQ(Splitter->Top() + Splitter->Height(), Neighbour->Top());
            break;
        }
        delete Form;
    }
}

TEST(Images, AutoSizeTakesThePicturesSizeAndStretchFillsTheControl)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Image = Place<TImage>(Form, 10, 10, 50, 40);
    TBitmap Picture;
    Picture.SetSize(8, 6);
    Picture.Canvas()->Brush()->SetColor(clRed);
    Picture.Canvas()->FillRect(Rect(0, 0, 8, 6));
    Image->Picture()->SetBitmap(&Picture);
    Pump();
    const TRasterDevice& Raster = WindowBackBuffer(Form->Handle())->Raster();
    auto At = [&](int X, int Y) { return Raster.Pixel(X, Y) & 0xFFFFFF; };
    const TColor Red = static_cast<TColor>(clRed);
    EXPECT_EQ(At(10, 10), Red);
    EXPECT_NE(At(30, 30), Red);
    Image->SetStretch(true);
    Pump();
    EXPECT_EQ(At(58, 48), Red);
    Image->SetStretch(false);
    Image->SetCenter(true);
    Pump();
    EXPECT_EQ(At(35, 30), Red);
    EXPECT_NE(At(10, 10), Red);
    Image->SetAutoSize(true);
    EXPECT_EQ(Image->BoundsRect(), Bounds(10, 10, 8, 6));
}

TEST(BitBtns, KindsGiveCaptionResultAndDefaultAndEndShowModal)
{
    TTestApplication App;
    struct TCase {
        TBitBtnKind Kind;
        const char* Caption;
        TModalResult Result;
        bool Default, Cancel;
    };
    const std::vector<TCase> Cases = {
        {bkOK, "OK", mrOk, true, false},
        {bkCancel, "Cancel", mrCancel, false, true},
        {bkYes, "&Yes", mrYes, true, false},
        {bkNo, "&No", mrNo, false, true},
        {bkAbort, "Abort", mrAbort, false, false},
        {bkRetry, "&Retry", mrRetry, false, false},
        {bkIgnore, "&Ignore", mrIgnore, false, false},
        {bkAll, "&All", mrAll, false, false},
        {bkHelp, "&Help", mrNone, false, false},
        {bkClose, "&Close", mrNone, false, false},
    };
    TForm* Form = ShownForm(&App);
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Caption);
        auto* Button = Place<TBitBtn>(Form, 10, 10, 75, 25);
        Button->SetKind(Case.Kind);
        EXPECT_EQ(Button->Kind(), Case.Kind);
        EXPECT_EQ(Button->Caption(), Case.Caption);
        EXPECT_EQ(Button->ModalResult(), Case.Result);
        EXPECT_EQ(Button->Default(), Case.Default);
        EXPECT_EQ(Button->Cancel(), Case.Cancel);
        EXPECT_FALSE(Button->Glyph()->Empty());
        Button->SetModalResult(mrIgnore + 100);
        EXPECT_EQ(Button->Kind(), bkCustom);
        delete Button;
    }
    // Enter and Escape through the dialog keys, the window owner-drawn all along.
    for (int Key : {VK_RETURN, VK_ESCAPE}) {
        TForm* Dialog = new TForm(&App);
        Dialog->SetBounds(0, 0, 300, 100);
        auto* Ok = Place<TBitBtn>(Dialog, 10, 10, 75, 25);
        Ok->SetKind(bkOK);
        auto* Cancel = Place<TBitBtn>(Dialog, 100, 10, 75, 25);
        Cancel->SetKind(bkCancel);
        auto* Check = Place<TCheckBox>(Dialog, 10, 50, 100, 17);
        Dialog->OnActivate = [&](TObject*) {
            Check->SetFocus();
            InjectKeyPress(Key);
        };
        EXPECT_EQ(Dialog->ShowModal(), Key == VK_RETURN ? mrOk : mrCancel);
        EXPECT_EQ(GetWindowLong(Ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
        delete Dialog;
    }
    // bkClose closes the form it is on.
    auto* Close = Place<TBitBtn>(Form, 100, 50, 75, 25);
    Close->SetKind(bkClose);
    SendMessage(Close->Handle(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(Form->Visible());
}

TEST(BitBtns, EachStateShowsItsPictureOfTheGlyphStrip)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    // Four 10 by 10 pictures side by side (up, disabled, down, exclusive), each one colour on
    // an olive ground whose bottom-left pixel makes it transparent.
    const TColor Colours[] = {clRed, clBlue, clLime, clFuchsia};
    TBitmap Strip;
    Strip.SetPixelFormat(pf24bit);
    Strip.SetSize(40, 10);
    Strip.Canvas()->Brush()->SetColor(clOlive);
    Strip.Canvas()->FillRect(Rect(0, 0, 40, 10));
    for (int I = 0; I < 4; ++I) {
        Strip.Canvas()->Brush()->SetColor(Colours[I]);
        Strip.Canvas()->FillRect(Rect(I * 10 + 2, 2, I * 10 + 8, 8));
    }
    auto* Button = Place<TBitBtn>(Form, 10, 10, 60, 30);
    Button->SetGlyph(&Strip);
    EXPECT_EQ(Button->NumGlyphs(), 4);
    Pump();
    // No caption: the glyph is centred, its middle at the button's.
    const TRasterDevice& Raster = WindowBackBuffer(Form->Handle())->Raster();
    auto Middle = [&](int Shift) { return Raster.Pixel(40 + Shift, 25 + Shift) & 0xFFFFFF; };
    auto Plain = [](TColor C) { return ColorToRGB(C) & 0xFFFFFF; };
    EXPECT_EQ(Middle(0), Plain(clRed));
    EXPECT_EQ(Raster.Pixel(40 - 4, 25 - 4) & 0xFFFFFF, Plain(clBtnFace)); // transparent ground
    SendMessage(Button->Handle(), BM_SETSTATE, 1, 0);
    Pump();
    EXPECT_EQ(Middle(1), Plain(clLime)); // pressed: moved one pixel
    SendMessage(Button->Handle(), BM_SETSTATE, 0, 0);
    Button->SetEnabled(false);
    Pump();
    EXPECT_EQ(Middle(0), Plain(clBlue));
}

TEST(PaintBoxes, OnPaintDrawsOnTheParentInTheBoxsCoordinates)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Box = Place<TPaintBox>(Form, 30, 20, 40, 30);
    int Paints = 0;
    Box->OnPaint = [&](TObject*) {
        ++Paints;
        Box->Canvas()->Brush()->SetColor(clNavy);
        Box->Canvas()->FillRect(Rect(0, 0, 100, 100)); // clipped to the box
    };
    Pump();
    EXPECT_GE(Paints, 1);
    const TRasterDevice& Raster = WindowBackBuffer(Form->Handle())->Raster();
    EXPECT_EQ(Raster.Pixel(30, 20) & 0xFFFFFF, static_cast<TColor>(clNavy));
    EXPECT_EQ(Raster.Pixel(69, 49) & 0xFFFFFF, static_cast<TColor>(clNavy));
    EXPECT_NE(Raster.Pixel(70, 50) & 0xFFFFFF, static_cast<TColor>(clNavy));
    EXPECT_NE(Raster.Pixel(29, 20) & 0xFFFFFF, static_cast<TColor>(clNavy));
}
