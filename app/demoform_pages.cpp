// app/demoform_pages.cpp: the demonstration form's pages of buttons and checks, and of pictures
// and shapes.
#include "app/demoform.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/color.h"
#include "platform/stdctrls/bevel.h"
#include "platform/stdctrls/bitbtn.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/checkbox.h"
#include "platform/stdctrls/groupbox.h"
#include "platform/stdctrls/image.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/paintbox.h"
#include "platform/stdctrls/panel.h"
#include "platform/stdctrls/radiobutton.h"
#include "platform/stdctrls/radiogroup.h"
#include "platform/stdctrls/shape.h"
#include "platform/stdctrls/speedbutton.h"
#include "platform/stdctrls/splitter.h"

#include <string>

namespace {

// A control of class T owned by the form and placed on Parent.
template <class T>
T* Place(TDemoForm* Form, TWinControl* Parent, int Left, int Top, int Width, int Height)
{
    auto* Control = new T(Form);
    Control->SetParent(Parent);
    Control->SetBounds(Left, Top, Width, Height);
    return Control;
}

} // namespace

void BuildButtonsPage(TDemoForm* Form, TPanel* Page)
{
    struct TKindCase {
        TBitBtnKind Kind;
        int Left, Top;
    };
    const TKindCase Kinds[] = {{bkOK, 12, 12},  {bkCancel, 104, 12}, {bkAbort, 196, 12},
                               {bkYes, 12, 48}, {bkNo, 104, 48},     {bkClose, 196, 48}};
    for (const TKindCase& K : Kinds) {
        auto* Bit = Place<TBitBtn>(Form, Page, K.Left, K.Top, 84, 28);
        Bit->SetKind(K.Kind);
    }
    auto* Disabled = Place<TButton>(Form, Page, 12, 84, 176, 26);
    Disabled->SetCaption("A disabled button");
    Disabled->SetEnabled(false);

    // Flat speed buttons of one group: one of them is always down.
    const char* const Aligns[] = {"Left", "Center", "Right"};
    for (int I = 0; I < 3; ++I) {
        auto* Speed = Place<TSpeedButton>(Form, Page, 12 + I * 60, 120, 60, 24);
        Speed->SetCaption(Aligns[I]);
        Speed->SetFlat(true);
        Speed->SetGroupIndex(2);
        Speed->SetDown(I == 0);
        Speed->SetHint("A flat speed button of a group");
    }
    auto* Toggle = Place<TSpeedButton>(Form, Page, 196, 120, 84, 24);
    Toggle->SetCaption("Toggle");
    Toggle->SetGroupIndex(3);
    Toggle->SetAllowAllUp(true);

    const struct {
        const char* Caption;
        TCheckBoxState State;
    } Checks[] = {{"&Unchecked", cbUnchecked}, {"Chec&ked", cbChecked}, {"&Grayed", cbGrayed}};
    for (int I = 0; I < 3; ++I) {
        auto* Check = Place<TCheckBox>(Form, Page, 12, 156 + I * 24, 150, 20);
        Check->SetCaption(Checks[I].Caption);
        Check->SetAllowGrayed(true);
        Check->SetState(Checks[I].State);
    }
    Page->Controls(0)->SetHint("Bit buttons by kind");

    auto* Box = Place<TGroupBox>(Form, Page, 296, 8, 196, 104);
    Box->SetCaption("Group box");
    const char* const Radios[] = {"&One", "T&wo", "Th&ree"};
    for (int I = 0; I < 3; ++I) {
        auto* Radio = Place<TRadioButton>(Form, Box, 12, 20 + I * 26, 150, 20);
        Radio->SetCaption(Radios[I]);
        Radio->SetChecked(I == 1);
    }

    auto* Group = Place<TRadioGroup>(Form, Page, 296, 120, 196, 112);
    Group->SetCaption("Radio group");
    Group->SetColumns(2);
    Group->Items()->SetCommaText("Spam,Ham,Unsure,Unread");
    Group->SetItemIndex(0);
    Group->SetHint("A radio group of two columns");
}

namespace {

// A small picture made here: a colour ramp with a dark frame.
void PaintRamp(TBitmap* Bitmap)
{
    Bitmap->SetSize(64, 48);
    TCanvas* C = Bitmap->Canvas();
    for (int Y = 0; Y < 48; ++Y)
        for (int X = 0; X < 64; ++X)
            C->SetPixels(X, Y, RGB(X * 4, Y * 5, 255 - X * 2));
    C->Brush()->SetColor(clNavy);
    C->FrameRect(TRect{0, 0, 64, 48});
}

} // namespace

void BuildPicturesPage(TDemoForm* Form, TPanel* Page)
{
    auto* Image = Place<TImage>(Form, Page, 12, 12, 64, 48);
    PaintRamp(Image->Picture()->Bitmap());
    Image->SetHint("A picture");
    auto* Stretched = Place<TImage>(Form, Page, 84, 12, 96, 48);
    Stretched->SetPicture(Image->Picture());
    Stretched->SetStretch(true);

    const TShapeType Shapes[] = {stRectangle, stRoundRect, stEllipse, stCircle};
    const TColor Fills[] = {clYellow, clLime, clAqua, clFuchsia};
    for (int I = 0; I < 4; ++I) {
        auto* Shape = Place<TShape>(Form, Page, 12 + I * 56, 72, 48, 36);
        Shape->SetShape(Shapes[I]);
        Shape->Brush()->SetColor(Fills[I]);
    }

    auto* Paint = Place<TPaintBox>(Form, Page, 196, 12, 96, 96);
    Paint->SetHint("A paint box drawn by its OnPaint");
    Paint->OnPaint = [Paint](TObject*) {
        TCanvas* C = Paint->Canvas();
        C->Pen()->SetColor(clMaroon);
        for (int I = 0; I <= 96; I += 12) {
            C->MoveTo(0, I);
            C->LineTo(96 - I, 96);
        }
    };

    const TBevelShape Bevels[] = {bsBox, bsFrame, bsTopLine};
    for (int I = 0; I < 3; ++I) {
        auto* Bevel = Place<TBevel>(Form, Page, 304 + I * 64, 12, 56, 40);
        Bevel->SetShape(Bevels[I]);
    }
    const TBevelCut Cuts[] = {bvRaised, bvLowered, bvSpace};
    for (int I = 0; I < 3; ++I) {
        auto* Panel = Place<TPanel>(Form, Page, 304 + I * 64, 60, 56, 40);
        Panel->SetBevelOuter(Cuts[I]);
        Panel->SetBevelInner(I == 2 ? bvLowered : bvNone);
        Panel->SetCaption(I == 0 ? "Up" : I == 1 ? "In" : "Both");
    }

    // Two panels with a splitter between them: dragging it resizes the left one.
    auto* Split = Place<TPanel>(Form, Page, 12, 120, 280, 60);
    Split->SetBevelOuter(bvLowered);
    auto* Left = Place<TPanel>(Form, Split, 0, 0, 100, 60);
    Left->SetAlign(alLeft);
    Left->SetCaption("Left");
    auto* Splitter = Place<TSplitter>(Form, Split, 100, 0, 4, 60);
    Splitter->SetAlign(alLeft);
    auto* Right = Place<TPanel>(Form, Split, 104, 0, 100, 60);
    Right->SetAlign(alClient);
    Right->SetCaption("Right");

    const struct {
        const char* Caption;
        TAlignment Alignment;
    } Labels[] = {
        {"Left aligned", taLeftJustify}, {"Centred", taCenter}, {"Right aligned", taRightJustify}};
    for (int I = 0; I < 3; ++I) {
        auto* Label = Place<TLabel>(Form, Page, 304, 112 + I * 20, 184, 18);
        Label->SetAutoSize(false);
        Label->SetAlignment(Labels[I].Alignment);
        Label->SetCaption(Labels[I].Caption);
        Label->SetColor(clInfoBk);
        Label->SetTransparent(false);
    }
    auto* Wrapped = Place<TLabel>(Form, Page, 12, 192, 480, 60);
    Wrapped->SetAutoSize(false);
    Wrapped->SetWordWrap(true);
    Wrapped->SetCaption("A label with WordWrap breaks its caption between words when a line "
                        "would be wider than the label, as this one does on the demonstration "
                        "form's pictures page.");
}
