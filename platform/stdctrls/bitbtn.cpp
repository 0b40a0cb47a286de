#include "platform/stdctrls/bitbtn.h"

#include "platform/ui/application.h"

#include <algorithm>

namespace {

struct TKindInfo {
    const char* Caption;
    TModalResult Result;
};

TKindInfo KindInfo(TBitBtnKind Kind)
{
    switch (Kind) {
    case bkOK:
        return {"OK", mrOk};
    case bkCancel:
        return {"Cancel", mrCancel};
    case bkHelp:
        return {"&Help", mrNone};
    case bkYes:
        return {"&Yes", mrYes};
    case bkNo:
        return {"&No", mrNo};
    case bkClose:
        return {"&Close", mrNone};
    case bkAbort:
        return {"Abort", mrAbort};
    case bkRetry:
        return {"&Retry", mrRetry};
    case bkIgnore:
        return {"&Ignore", mrIgnore};
    case bkAll:
        return {"&All", mrAll};
    case bkCustom:
        break;
    }
    return {"", mrNone};
}

void Tick(TCanvas* C, int X, int Y, TColor Colour)
{
    C->Pen()->SetColor(Colour);
    for (int I = 0; I < 3; ++I) {
        C->MoveTo(X, Y + 5 + I);
        C->LineTo(X + 4, Y + 9 + I);
        C->LineTo(X + 12, Y + 1 + I);
    }
}

void Cross(TCanvas* C, int X, int Y, int Size, TColor Colour)
{
    C->Pen()->SetColor(Colour);
    for (int I = 0; I < 2; ++I) {
        C->MoveTo(X + I, Y);
        C->LineTo(X + Size + I, Y + Size);
        C->MoveTo(X + Size - 1 + I, Y);
        C->LineTo(X - 1 + I, Y + Size);
    }
}

} // namespace

std::string BitBtnCaption(TBitBtnKind Kind)
{
    return KindInfo(Kind).Caption;
}

void MakeBitBtnGlyph(TBitBtnKind Kind, TBitmap& Glyph)
{
    if (Kind == bkCustom) {
        Glyph.SetSize(0, 0);
        return;
    }
    Glyph.SetPixelFormat(pf24bit);
    Glyph.SetSize(18, 18);
    TCanvas* C = Glyph.Canvas();
    C->Brush()->SetColor(clOlive);
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(Rect(0, 0, 18, 18));
    C->Pen()->SetWidth(1);
    switch (Kind) {
    case bkOK:
    case bkYes:
        Tick(C, 2, 3, clGreen);
        break;
    case bkAll:
        Tick(C, 1, 1, clGreen);
        Tick(C, 4, 6, clGreen);
        break;
    case bkCancel:
        Cross(C, 3, 3, 12, clMaroon);
        break;
    case bkNo:
        C->Pen()->SetColor(clRed);
        C->Pen()->SetWidth(2);
        C->Brush()->SetStyle(bsClear);
        C->Ellipse(3, 3, 16, 16);
        C->MoveTo(5, 13);
        C->LineTo(14, 5);
        break;
    case bkAbort:
        C->Pen()->SetColor(clMaroon);
        C->Brush()->SetColor(clRed);
        C->Ellipse(1, 1, 17, 17);
        Cross(C, 5, 5, 8, clWhite);
        break;
    case bkHelp:
        C->Pen()->SetColor(clNavy);
        C->Pen()->SetWidth(2);
        C->Polyline({{5, 5}, {7, 3}, {11, 3}, {13, 5}, {13, 7}, {9, 10}, {9, 12}});
        C->Pen()->SetWidth(1);
        C->Brush()->SetColor(clNavy);
        C->FillRect(Rect(8, 14, 11, 17));
        break;
    case bkClose:
        C->Pen()->SetColor(clBlack);
        C->Brush()->SetColor(clTeal);
        C->Rectangle(4, 1, 14, 17);
        C->Brush()->SetColor(clYellow);
        C->FillRect(Rect(10, 8, 12, 10));
        break;
    case bkRetry:
        C->Pen()->SetColor(clGreen);
        C->Pen()->SetWidth(2);
        // Three quarters of a circle, from the top round to the right, ending in a head.
        C->Arc(3, 3, 15, 15, 9, 3, 15, 9);
        C->Pen()->SetWidth(1);
        C->Brush()->SetColor(clGreen);
        C->Polygon({{12, 10}, {17, 10}, {14, 6}});
        break;
    case bkIgnore:
        C->Pen()->SetColor(clNavy);
        C->Pen()->SetWidth(2);
        C->MoveTo(2, 12);
        C->LineTo(14, 12);
        C->Pen()->SetWidth(1);
        C->Brush()->SetColor(clNavy);
        C->Polygon({{12, 8}, {16, 12}, {12, 16}});
        C->Ellipse(3, 3, 8, 8);
        break;
    case bkCustom:
        break;
    }
}

const TMessageMap& TBitBtn::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TBitBtn::CNDrawItem>(CN_DRAWITEM),
        OnMessage<&TBitBtn::CMEnabledChanged>(CM_ENABLEDCHANGED),
        OnMessage<&TBitBtn::CMFontChanged>(CM_FONTCHANGED),
        OnMessage<&TBitBtn::CMTextChanged>(CM_TEXTCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TButton::ClassMessageMap};
    return Map;
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    FGlyph->OnChange = [this](TObject*) {
        FModifiedGlyph = true;
        Invalidate();
    };
}

TBitBtn::~TBitBtn()
{
    FGlyph->OnChange = nullptr;
}

void TBitBtn::SetGlyph(const TBitmap* Value)
{
    FGlyph->Assign(Value);
    FModifiedGlyph = true;
    // A picture of several glyphs side by side tells their number by its shape.
    if (!FGlyph->Empty() && FGlyph->Height() > 0 && FGlyph->Width() % FGlyph->Height() == 0) {
        const int Count = FGlyph->Width() / FGlyph->Height();
        if (Count >= 1 && Count <= 4)
            FNumGlyphs = Count;
    }
    Invalidate();
}

void TBitBtn::SetNumGlyphs(TNumGlyphs Value)
{
    Value = std::clamp(Value, 1, 4);
    if (Value != FNumGlyphs) {
        FNumGlyphs = Value;
        Invalidate();
    }
}

TBitBtnKind TBitBtn::Kind() const
{
    if (FKind == bkCustom)
        return bkCustom;
    const bool WantsDefault = FKind == bkOK || FKind == bkYes;
    const bool WantsCancel = FKind == bkCancel || FKind == bkNo;
    if (WantsDefault != Default() || WantsCancel != Cancel() ||
        ModalResult() != KindInfo(FKind).Result || FModifiedGlyph)
        return bkCustom;
    return FKind;
}

void TBitBtn::SetKind(TBitBtnKind Value)
{
    FKind = Value;
    if (Value == bkCustom)
        return;
    SetDefault(Value == bkOK || Value == bkYes);
    SetCancel(Value == bkCancel || Value == bkNo);
    SetModalResult(KindInfo(Value).Result);
    SetCaption(KindInfo(Value).Caption);
    MakeBitBtnGlyph(Value, *FGlyph);
    FNumGlyphs = 1;
    FModifiedGlyph = false;
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout Value)
{
    if (Value != FLayout) {
        FLayout = Value;
        Invalidate();
    }
}

void TBitBtn::SetMargin(int Value)
{
    if (Value != FMargin && Value >= -1) {
        FMargin = Value;
        Invalidate();
    }
}

void TBitBtn::SetSpacing(int Value)
{
    if (Value != FSpacing && Value >= -1) {
        FSpacing = Value;
        Invalidate();
    }
}

void TBitBtn::Click()
{
    switch (FKind) {
    case bkClose:
        if (TCustomForm* Form = GetParentForm(this)) {
            Form->Close();
            return;
        }
        break;
    case bkHelp:
        if (Application != nullptr) {
            int Context = 0;
            for (const TControl* C = this; C != nullptr && Context == 0; C = C->Parent())
                Context = C->HelpContext();
            Application->HelpContext(Context);
            return;
        }
        break;
    default:
        break;
    }
    TButton::Click();
}

void TBitBtn::CreateParams(TCreateParams& Params)
{
    TButton::CreateParams(Params);
    Params.Style = (Params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
    FIsFocused = Active();
}

// The window stays owner-drawn: the default frame is the button's own drawing.
void TBitBtn::SetButtonStyle(bool ADefault)
{
    if (ADefault != FIsFocused) {
        FIsFocused = ADefault;
        Invalidate();
    }
}

void TBitBtn::CNDrawItem(TMessage& Message)
{
    DrawItem(*reinterpret_cast<const TDrawItemStruct*>(Message.LParam));
    Message.Result = 1;
}

void TBitBtn::DrawItem(const TDrawItemStruct& Item)
{
    TCanvas* C = Item.hDC;
    TRect R = Item.rcItem;
    const bool IsDown = Item.itemState & ODS_SELECTED;
    const bool HasFocus = Item.itemState & ODS_FOCUS;
    C->SaveDC();
    C->Brush()->SetColor(clBtnFace);
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(R);
    if (FIsFocused || HasFocus) {
        C->Brush()->SetColor(clWindowFrame);
        C->FrameRect(R);
        InflateRect(R, -1, -1);
    }
    if (IsDown) {
        C->Brush()->SetColor(clBtnShadow);
        C->FrameRect(R);
    } else {
        C->DrawFrameControl(R, DFC_BUTTON, DFCS_BUTTONPUSH);
    }
    TRect Content = Item.rcItem;
    InflateRect(Content, -2, -2);
    C->SetFont(Font());
    TButtonState State = bsUp;
    if (!Enabled())
        State = bsDisabled;
    else if (IsDown)
        State = bsDown;
    DrawButtonGlyph(C, Content, IsDown ? TPoint{1, 1} : TPoint{0, 0}, Caption(), FLayout, FMargin,
                    FSpacing, FGlyph.get(), FNumGlyphs, State);
    if (HasFocus) {
        TRect F = Item.rcItem;
        InflateRect(F, -4, -4);
        C->Brush()->SetStyle(bsSolid);
        C->DrawFocusRect(F);
    }
    C->RestoreDC(-1);
}

void TBitBtn::CMEnabledChanged(TMessage& Message)
{
    Inherited(Message);
    Invalidate();
}

void TBitBtn::CMFontChanged(TMessage& Message)
{
    Inherited(Message);
    Invalidate();
}

void TBitBtn::CMTextChanged(TMessage& Message)
{
    Inherited(Message);
    Invalidate();
}
