#include "platform/stdctrls/speedbutton.h"

#include "platform/forms/wincontrol.h"

#include <algorithm>

const TMessageMap& TSpeedButton::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TSpeedButton::CMButtonPressed>(CM_BUTTONPRESSED),
        OnMessage<&TSpeedButton::CMDialogChar>(CM_DIALOGCHAR),
        OnMessage<&TSpeedButton::CMEnabledChanged>(CM_ENABLEDCHANGED),
        OnMessage<&TSpeedButton::CMMouseEnter>(CM_MOUSEENTER),
        OnMessage<&TSpeedButton::CMMouseLeave>(CM_MOUSELEAVE),
        OnMessage<&TSpeedButton::CMTextChanged>(CM_TEXTCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TGraphicControl::ClassMessageMap};
    return Map;
}

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    SetControlStyle(TControlStyle{csCaptureMouse, csDoubleClicks});
    SetColor(clBtnFace);
    SetParentColor(false);
    SetBounds(0, 0, 23, 22);
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton()
{
    FGlyph->OnChange = nullptr;
}

void TSpeedButton::SetAllowAllUp(bool Value)
{
    if (Value != FAllowAllUp) {
        FAllowAllUp = Value;
        UpdateExclusive();
    }
}

void TSpeedButton::SetGroupIndex(int Value)
{
    if (Value != FGroupIndex) {
        FGroupIndex = Value;
        UpdateExclusive();
    }
}

void TSpeedButton::SetDown(bool Value)
{
    if (FGroupIndex == 0)
        Value = false;
    if (Value == FDown)
        return;
    if (FDown && !FAllowAllUp)
        return;
    FDown = Value;
    FState = Value ? bsExclusive : bsUp;
    Invalidate();
    if (Value)
        UpdateExclusive();
}

void TSpeedButton::SetFlat(bool Value)
{
    if (Value != FFlat) {
        FFlat = Value;
        Invalidate();
    }
}

void TSpeedButton::SetGlyph(const TBitmap* Value)
{
    FGlyph->Assign(Value);
    if (!FGlyph->Empty() && FGlyph->Height() > 0 && FGlyph->Width() % FGlyph->Height() == 0) {
        const int Count = FGlyph->Width() / FGlyph->Height();
        if (Count >= 1 && Count <= 4)
            FNumGlyphs = Count;
    }
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs Value)
{
    Value = std::clamp(Value, 1, 4);
    if (Value != FNumGlyphs) {
        FNumGlyphs = Value;
        Invalidate();
    }
}

void TSpeedButton::SetLayout(TButtonLayout Value)
{
    if (Value != FLayout) {
        FLayout = Value;
        Invalidate();
    }
}

void TSpeedButton::SetMargin(int Value)
{
    if (Value != FMargin && Value >= -1) {
        FMargin = Value;
        Invalidate();
    }
}

void TSpeedButton::SetSpacing(int Value)
{
    if (Value != FSpacing && Value >= -1) {
        FSpacing = Value;
        Invalidate();
    }
}

void TSpeedButton::Click()
{
    TGraphicControl::Click();
}

// The other buttons of the group hear that this one went down (and its AllowAllUp).
void TSpeedButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || Parent() == nullptr)
        return;
    TMessage Message{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex),
                     reinterpret_cast<LPARAM>(this), 0};
    for (int I = 0; I < Parent()->ControlCount(); ++I)
        Parent()->Controls(I)->WindowProc(Message);
}

void TSpeedButton::CMButtonPressed(TMessage& Message)
{
    auto* Sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
    if (Message.WParam != static_cast<WPARAM>(FGroupIndex) || Sender == this || Sender == nullptr)
        return;
    if (Sender->FDown && FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
    }
    FAllowAllUp = Sender->FAllowAllUp;
}

bool TSpeedButton::Inside(int X, int Y) const
{
    return X >= 0 && X < Width() && Y >= 0 && Y <= Height();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging)
        return;
    TButtonState New = FDown ? bsExclusive : bsUp;
    if (Inside(X, Y))
        New = FDown ? bsExclusive : bsDown;
    if (New != FState) {
        FState = New;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging)
        return;
    FDragging = false;
    const bool DoClick = Inside(X, Y);
    if (FGroupIndex == 0) {
        FState = bsUp;
        Invalidate();
    } else if (DoClick) {
        SetDown(!FDown);
        if (FDown)
            FState = bsExclusive;
        Invalidate();
    } else {
        FState = FDown ? bsExclusive : bsUp;
        Invalidate();
    }
    if (DoClick)
        Click();
}

void TSpeedButton::Paint()
{
    TCanvas* C = Canvas();
    if (!Enabled())
        FState = bsDisabled;
    else if (FState == bsDisabled)
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    TRect R = ClientRect();
    C->Brush()->SetColor(Color());
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(R);
    const bool Pressed = FState == bsDown || FState == bsExclusive;
    if (FFlat) {
        if (Pressed || (FMouseInControl && FState != bsDisabled)) {
            TRect Edge = R;
            C->DrawEdge(Edge, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
    } else {
        C->DrawFrameControl(R, DFC_BUTTON, DFCS_BUTTONPUSH | (Pressed ? DFCS_PUSHED : 0u));
    }
    // A button that stays down shows a checkered face.
    if (FState == bsExclusive && !(FFlat && FMouseInControl)) {
        TRect Face = R;
        InflateRect(Face, -2, -2);
        const TColor Light = ColorToRGB(clBtnHighlight);
        for (int Y = Face.Top; Y < Face.Bottom; ++Y)
            for (int X = Face.Left + (Y + Face.Left) % 2; X < Face.Right; X += 2)
                C->SetPixels(X, Y, Light);
    }
    C->SetFont(Font());
    TRect Content = R;
    InflateRect(Content, -1, -1);
    DrawButtonGlyph(C, Content, Pressed ? TPoint{1, 1} : TPoint{0, 0}, Caption(), FLayout, FMargin,
                    FSpacing, FGlyph.get(), FNumGlyphs, FState);
}

void TSpeedButton::CMDialogChar(TMessage& Message)
{
    if (IsAccel(static_cast<unsigned>(Message.WParam), Caption()) && Enabled() && Visible() &&
        Parent() != nullptr && Parent()->Showing()) {
        Click();
        Message.Result = 1;
        return;
    }
    Inherited(Message);
}

void TSpeedButton::CMEnabledChanged(TMessage& Message)
{
    Inherited(Message);
    Invalidate();
}

void TSpeedButton::CMMouseEnter(TMessage& Message)
{
    Inherited(Message);
    if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        if (FFlat)
            Invalidate();
    }
}

void TSpeedButton::CMMouseLeave(TMessage& Message)
{
    Inherited(Message);
    if (FMouseInControl) {
        FMouseInControl = false;
        if (FFlat)
            Invalidate();
    }
}

void TSpeedButton::CMTextChanged(TMessage&)
{
    Invalidate();
}
