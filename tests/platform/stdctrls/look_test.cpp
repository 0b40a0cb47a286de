// The look of each control in each state, drawn headless and compared exactly with the golden
// pictures in tests/fixtures/stdctrls/ (one sheet per control, a cell per state, left to right);
// TARNWICK_UPDATE_GOLDEN=1 writes them anew. Text is drawn with the deterministic font metrics,
// so glyphs are solid cells.
#include "tests/platform/stdctrls/controlsheet.h"
#include "tests/platform/stdctrls/stdctrlstest.h"
#include "tests/support/golden.h"

#include "platform/stdctrls/bevel.h"
#include "platform/stdctrls/bitbtn.h"
#include "platform/stdctrls/checkbox.h"
#include "platform/stdctrls/groupbox.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/panel.h"
#include "platform/stdctrls/radiobutton.h"
#include "platform/stdctrls/radiogroup.h"
#include "platform/stdctrls/shape.h"
#include "platform/stdctrls/speedbutton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

// Cells side by side; each one is a control with a margin of its form around it.
class TSheet : public TControlSheet {
public:
    explicit TSheet(TApplication* App) : TControlSheet(App, 260, 160) {}
};

template <class T>
T* Make(TForm* Form, int W, int H, const std::string& Caption = {})
{
    T* Control = Place<T>(Form, 10, 10, W, H);
    if (!Caption.empty())
        Control->SetCaption(Caption);
    return Control;
}

} // namespace

class Look : public ::testing::Test {
protected:
    TDeterministicFonts Fonts;
    TTestApplication App;
};

TEST_F(Look, Buttons)
{
    TSheet Sheet(&App);
    auto Button = [](TForm* F) { return Make<TButton>(F, 75, 25, "&Check"); };
    Sheet.Add([&](TForm* F) { return Button(F); });
    Sheet.Add([&](TForm* F) {
        TButton* B = Button(F);
        B->SetFocus();
        return B;
    });
    Sheet.Add([&](TForm* F) {
        TButton* B = Button(F);
        B->SetFocus();
        SendMessage(B->Handle(), BM_SETSTATE, 1, 0);
        return B;
    });
    Sheet.Add([&](TForm* F) {
        TButton* B = Button(F);
        B->SetDefault(true);
        return B;
    });
    Sheet.Add([&](TForm* F) {
        TButton* B = Button(F);
        B->SetEnabled(false);
        return B;
    });
    Sheet.ExpectMatches("button.png");
}

TEST_F(Look, CheckBoxes)
{
    TSheet Sheet(&App);
    auto Check = [](TForm* F, TCheckBoxState State) {
        auto* C = Make<TCheckBox>(F, 90, 17, "&Remember");
        C->SetAllowGrayed(true);
        C->SetState(State);
        return C;
    };
    Sheet.Add([&](TForm* F) { return Check(F, cbUnchecked); });
    Sheet.Add([&](TForm* F) { return Check(F, cbChecked); });
    Sheet.Add([&](TForm* F) { return Check(F, cbGrayed); });
    Sheet.Add([&](TForm* F) {
        TCheckBox* C = Check(F, cbChecked);
        C->SetFocus();
        return C;
    });
    Sheet.Add([&](TForm* F) {
        TCheckBox* C = Check(F, cbUnchecked);
        C->SetFocus();
        SendMessage(C->Handle(), BM_SETSTATE, 1, 0);
        return C;
    });
    Sheet.Add([&](TForm* F) {
        TCheckBox* C = Check(F, cbChecked);
        C->SetEnabled(false);
        return C;
    });
    Sheet.Add([&](TForm* F) {
        TCheckBox* C = Check(F, cbChecked);
        C->SetAlignment(taLeftJustify);
        return C;
    });
    Sheet.ExpectMatches("checkbox.png");
}

TEST_F(Look, RadioButtons)
{
    TSheet Sheet(&App);
    auto Radio = [](TForm* F, bool Checked) {
        auto* R = Make<TRadioButton>(F, 80, 17, "&Spam");
        R->SetChecked(Checked);
        return R;
    };
    Sheet.Add([&](TForm* F) { return Radio(F, false); });
    Sheet.Add([&](TForm* F) { return Radio(F, true); });
    Sheet.Add([&](TForm* F) {
        TRadioButton* R = Radio(F, true);
        R->SetFocus();
        return R;
    });
    Sheet.Add([&](TForm* F) {
        TRadioButton* R = Radio(F, false);
        SendMessage(R->Handle(), BM_SETSTATE, 1, 0);
        return R;
    });
    Sheet.Add([&](TForm* F) {
        TRadioButton* R = Radio(F, true);
        R->SetEnabled(false);
        return R;
    });
    Sheet.ExpectMatches("radiobutton.png");
}

TEST_F(Look, BitBtns)
{
    TSheet Sheet(&App);
    auto Bit = [](TForm* F, TBitBtnKind Kind) {
        auto* B = Make<TBitBtn>(F, 80, 28);
        B->SetKind(Kind);
        return B;
    };
    for (TBitBtnKind Kind :
         {bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll})
        Sheet.Add([&](TForm* F) { return Bit(F, Kind); });
    Sheet.Add([&](TForm* F) {
        TBitBtn* B = Bit(F, bkCancel);
        B->SetFocus();
        return B;
    });
    Sheet.Add([&](TForm* F) {
        TBitBtn* B = Bit(F, bkCancel);
        B->SetFocus();
        SendMessage(B->Handle(), BM_SETSTATE, 1, 0);
        return B;
    });
    Sheet.Add([&](TForm* F) {
        TBitBtn* B = Bit(F, bkOK);
        B->SetEnabled(false);
        return B;
    });
    for (TButtonLayout Layout : {blGlyphRight, blGlyphTop, blGlyphBottom})
        Sheet.Add([&](TForm* F) {
            TBitBtn* B = Bit(F, bkRetry);
            B->SetHeight(48);
            B->SetLayout(Layout);
            return B;
        });
    Sheet.Add([&](TForm* F) {
        TBitBtn* B = Bit(F, bkYes);
        B->SetMargin(4);
        B->SetSpacing(-1);
        return B;
    });
    Sheet.ExpectMatches("bitbtn.png");
}

TEST_F(Look, SpeedButtons)
{
    TSheet Sheet(&App);
    auto Speed = [](TForm* F, bool Flat) {
        auto* B = Make<TSpeedButton>(F, 40, 24, "&B");
        TBitmap Glyph;
        MakeBitBtnGlyph(bkOK, Glyph);
        B->SetGlyph(&Glyph);
        B->SetFlat(Flat);
        B->SetGroupIndex(1);
        B->SetAllowAllUp(true);
        return B;
    };
    for (bool Flat : {false, true}) {
        Sheet.Add([&](TForm* F) { return Speed(F, Flat); });
        Sheet.Add([&](TForm* F) {
            TSpeedButton* B = Speed(F, Flat);
            B->SetDown(true);
            return B;
        });
        Sheet.Add([&](TForm* F) {
            TSpeedButton* B = Speed(F, Flat);
            InjectMouseMove(F->Handle(), 20, 20);
            InjectMouseButton(F->Handle(), 0, true, 20, 20);
            return B;
        });
        Sheet.Add([&](TForm* F) {
            TSpeedButton* B = Speed(F, Flat);
            InjectMouseMove(F->Handle(), 20, 20);
            return B;
        });
        Sheet.Add([&](TForm* F) {
            TSpeedButton* B = Speed(F, Flat);
            B->SetEnabled(false);
            return B;
        });
    }
    Sheet.ExpectMatches("speedbutton.png");
}

TEST_F(Look, LabelsPanelsAndGroups)
{
    TSheet Sheet(&App);
    Sheet.Add([](TForm* F) { return Make<TLabel>(F, 0, 0, "&Name:"); });
    Sheet.Add([](TForm* F) {
        TLabel* L = Make<TLabel>(F, 0, 0, "&Name:");
        L->SetEnabled(false);
        return L;
    });
    Sheet.Add([](TForm* F) {
        TLabel* L = Make<TLabel>(F, 0, 0);
        L->SetAutoSize(false);
        L->SetBounds(10, 10, 60, 40);
        L->SetColor(clWindow);
        L->SetAlignment(taCenter);
        L->SetLayout(tlCenter);
        L->SetCaption("Mid");
        return L;
    });
    Sheet.Add([](TForm* F) { return Make<TPanel>(F, 80, 40, "Panel"); });
    Sheet.Add([](TForm* F) {
        TPanel* P = Make<TPanel>(F, 80, 40, "Left");
        P->SetBevelInner(bvLowered);
        P->SetBevelWidth(2);
        P->SetAlignment(taLeftJustify);
        return P;
    });
    Sheet.Add([](TForm* F) {
        TGroupBox* G = Make<TGroupBox>(F, 90, 50, "&Server");
        Place<TButton>(G, 10, 20, 60, 22)->SetCaption("Test");
        return G;
    });
    Sheet.Add([](TForm* F) {
        TGroupBox* G = Make<TGroupBox>(F, 90, 50, "&Server");
        G->SetEnabled(false);
        return G;
    });
    Sheet.Add([](TForm* F) {
        TRadioGroup* G = Make<TRadioGroup>(F, 150, 70, "&Verdict");
        G->Items()->Add("Spam");
        G->Items()->Add("Ham");
        G->Items()->Add("Unsure");
        G->SetColumns(2);
        G->SetItemIndex(1);
        return G;
    });
    Sheet.ExpectMatches("containers.png");
}

TEST_F(Look, BevelsAndShapes)
{
    TSheet Sheet(&App);
    for (TBevelShape Shape : {bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine})
        for (TBevelStyle Style : {bsLowered, bsRaised})
            Sheet.Add([&](TForm* F) {
                TBevel* B = Make<TBevel>(F, 30, 30);
                B->SetShape(Shape);
                B->SetStyle(Style);
                return B;
            });
    for (TShapeType Type : {stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle})
        Sheet.Add([&](TForm* F) {
            TShape* S = Make<TShape>(F, 44, 30);
            S->SetShape(Type);
            S->Brush()->SetColor(clYellow);
            S->Pen()->SetColor(clNavy);
            S->Pen()->SetWidth(2);
            return S;
        });
    Sheet.ExpectMatches("shapes.png");
}
