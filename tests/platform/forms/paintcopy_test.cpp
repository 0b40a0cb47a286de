// The ways a windowed control paints besides the plain one: double-buffered without erasing the
// window, onto another canvas with csPaintCopy, and transparent over its parent's picture.
#include "tests/platform/forms/formstest.h"

#include "platform/gfx/bitmap.h"
#include "platform/ui/windowdc.h"
#include "platform/ui/windowstyles.h"

#include <gtest/gtest.h>

namespace {

// Paints a red square at its top-left corner and nothing else; notes whether it was painting a
// copy and, if asked, what its window shows at (Probe) while it paints.
class TCornerBox : public TCustomControl {
public:
    explicit TCornerBox(TComponent* AOwner) : TCustomControl(AOwner) {}
    bool Transparent = false;
    std::vector<bool> PaintCopies;
    bool ReadWindow = false;
    TColor SeenInWindow = clNone;
    TPoint Probe{30, 15};

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TCustomControl::CreateParams(Params);
        if (Transparent)
            Params.ExStyle |= WS_EX_TRANSPARENT;
    }
    void Paint() override
    {
        PaintCopies.push_back(ControlState().Contains(csPaintCopy));
        if (ReadWindow) {
            const HDC DC = GetDC(Handle());
            SeenInWindow = DC->Pixels(Probe.X, Probe.Y);
            ReleaseDC(Handle(), DC);
        }
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(Rect(0, 0, 5, 5));
    }
};

// What Control's window shows at a point of its client area.
TColor PixelOf(TWinControl* Control, int X, int Y)
{
    const HDC DC = GetDC(Control->Handle());
    const TColor C = DC->Pixels(X, Y);
    ReleaseDC(Control->Handle(), DC);
    return C;
}

} // namespace

TEST(DoubleBuffered, PaintsIntoABitmapWithoutErasingTheWindowFirst)
{
    TTestApplication App;
    TForm* Form = new TForm(&App);
    Form->SetBounds(0, 0, 200, 150);
    TCornerBox* Box = Place<TCornerBox>(Form, 10, 10, 60, 30);
    Box->SetColor(clYellow);
    Box->SetDoubleBuffered(true);
    Form->Show();
    Pump();
    ASSERT_EQ(PixelOf(Box, 30, 15), ColorToRGB(clYellow));
    // Something else on the window where the box erases; while the box paints, the window still
    // shows it: the only erase went into the bitmap.
    HDC DC = GetDC(Box->Handle());
    DC->Brush()->SetColor(clBlue);
    DC->FillRect(Rect(0, 0, 60, 30));
    ReleaseDC(Box->Handle(), DC);
    std::vector<std::pair<bool, LRESULT>> Erases; // (into the bitmap, answer)
    Intercept(Box, [&](TMessage& M) {
        if (M.Msg != WM_ERASEBKGND)
            return false;
        TMessage Copy = M;
        Box->WndProc(Copy);
        M.Result = Copy.Result;
        Erases.emplace_back(M.WParam == static_cast<WPARAM>(M.LParam), M.Result);
        return true;
    });
    Box->ReadWindow = true;
    Box->Invalidate();
    Pump();
    EXPECT_EQ(Box->SeenInWindow, ColorToRGB(clBlue));
    EXPECT_EQ(Erases, (std::vector<std::pair<bool, LRESULT>>{{false, 1}, {true, 1}}));
    EXPECT_EQ(PixelOf(Box, 30, 15), ColorToRGB(clYellow));
    EXPECT_EQ(PixelOf(Box, 2, 2), ColorToRGB(clRed));
}

TEST(DoubleBuffered, AControlWithoutItErasesTheWindowBeforeItPaints)
{
    TTestApplication App;
    TForm* Form = new TForm(&App);
    Form->SetBounds(0, 0, 200, 150);
    TCornerBox* Box = Place<TCornerBox>(Form, 10, 10, 60, 30);
    Box->SetColor(clYellow);
    Form->Show();
    Pump();
    HDC DC = GetDC(Box->Handle());
    DC->Brush()->SetColor(clBlue);
    DC->FillRect(Rect(0, 0, 60, 30));
    ReleaseDC(Box->Handle(), DC);
    Box->ReadWindow = true;
    Box->Invalidate();
    Pump();
    EXPECT_EQ(Box->SeenInWindow, ColorToRGB(clYellow));
}

TEST(PaintTo, PaintsTheControlAndItsChildrenOntoAnotherCanvasAsACopy)
{
    TTestApplication App;
    TForm* Form = new TForm(&App);
    Form->SetBounds(0, 0, 200, 150);
    TTestBox* Outer = Place<TTestBox>(Form, 10, 10, 100, 60);
    Outer->SetColor(clYellow);
    TCornerBox* Inner = Place<TCornerBox>(Outer, 20, 10, 40, 30);
    Inner->SetColor(clLime);
    TTestShape* Shape = Place<TTestShape>(Outer, 70, 30, 20, 20);
    Form->Show();
    Pump();
    Inner->PaintCopies.clear();
    const int ShapePaints = Shape->Paints;

    TBitmap Copy;
    Copy.SetSize(150, 100);
    Copy.Canvas()->Brush()->SetColor(clWhite);
    Copy.Canvas()->FillRect(Rect(0, 0, 150, 100));
    Outer->PaintTo(Copy.Canvas(), 5, 7);

    EXPECT_EQ(Inner->PaintCopies, std::vector<bool>{true});
    EXPECT_FALSE(Inner->ControlState().Contains(csPaintCopy));
    EXPECT_FALSE(Outer->ControlState().Contains(csPaintCopy));
    EXPECT_EQ(Shape->Paints, ShapePaints + 1);
    TCanvas* C = Copy.Canvas();
    EXPECT_EQ(C->Pixels(5 + 2, 7 + 40), ColorToRGB(clYellow));          // the outer box
    EXPECT_EQ(C->Pixels(5 + 20 + 2, 7 + 10 + 2), ColorToRGB(clRed));    // the inner's corner
    EXPECT_EQ(C->Pixels(5 + 20 + 30, 7 + 10 + 20), ColorToRGB(clLime)); // the inner's erase
    EXPECT_EQ(C->Pixels(5 + 70, 7 + 30 + 5), ColorToRGB(clBlack));      // the shape's frame
    EXPECT_EQ(C->Pixels(2, 2), ColorToRGB(clWhite));                    // outside: untouched
    EXPECT_EQ(C->Pixels(5 + 100 + 2, 7 + 5), ColorToRGB(clWhite));
}

TEST(Transparent, TheParentShowsUnderAControlThatDoesNotErase)
{
    struct TCase {
        const char* Name;
        bool Transparent;
        TColor Middle; // under the box, away from its corner and the shape
        TColor Frame;  // where the parent's shape has its frame
    };
    const std::vector<TCase> Cases = {
        {"transparent", true, clYellow, clBlack},
        {"opaque", false, clLime, clLime},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TTestApplication App;
        TForm* Form = new TForm(&App);
        Form->SetBounds(0, 0, 200, 150);
        TTestBox* Parent = Place<TTestBox>(Form, 10, 10, 150, 100);
        Parent->SetColor(clYellow);
        Place<TTestShape>(Parent, 60, 30, 30, 30);
        auto* Box = new TCornerBox(Form);
        Box->Transparent = Case.Transparent;
        Box->SetColor(clLime);
        Box->SetParent(Parent);
        Box->SetBounds(20, 20, 100, 60);
        Form->Show();
        Pump();
        // The box at (20, 20) in the parent; the shape's left edge at 60 in the parent.
        EXPECT_EQ(PixelOf(Box, 2, 2), ColorToRGB(clRed));
        EXPECT_EQ(PixelOf(Box, 20, 45), ColorToRGB(Case.Middle));
        EXPECT_EQ(PixelOf(Box, 60 - 20, 45 - 20), ColorToRGB(Case.Frame));
    }
}
