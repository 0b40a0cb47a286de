#include "platform/stdctrls/label.h"

const TMessageMap& TCustomLabel::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCustomLabel::CMTextChanged>(CM_TEXTCHANGED),
        OnMessage<&TCustomLabel::CMFontChanged>(CM_FONTCHANGED),
        OnMessage<&TCustomLabel::CMDialogChar>(CM_DIALOGCHAR),
    });
    static constexpr TMessageMap Map{Handlers, &TGraphicControl::ClassMessageMap};
    return Map;
}

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    SetColor(clBtnFace);
    SetParentColor(true);
    SetBounds(0, 0, 65, 17);
}

TCustomLabel::~TCustomLabel()
{
    SetFocusControl(nullptr);
}

void TCustomLabel::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value)
{
    if (Value == FLayout)
        return;
    FLayout = Value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value)
{
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value)
{
    if (Value == FWordWrap)
        return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool Value)
{
    if (Value == FTransparent)
        return;
    FTransparent = Value;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value)
{
    if (Value == FShowAccelChar)
        return;
    FShowAccelChar = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value)
{
    if (Value == FFocusControl)
        return;
    if (FFocusControl != nullptr)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

std::string TCustomLabel::GetLabelText() const
{
    return Caption();
}

TCanvas* TCustomLabel::DrawCanvas() const
{
    return FMeasure != nullptr ? FMeasure.get() : Canvas();
}

void TCustomLabel::DoDrawText(TRect& Rect, unsigned Flags)
{
    std::string Text = GetLabelText();
    // An empty text (or a lone "&") still measures one line high.
    if ((Flags & DT_CALCRECT) && (Text.empty() || (FShowAccelChar && Text == "&")))
        Text += ' ';
    if (!FShowAccelChar)
        Flags |= DT_NOPREFIX;
    TCanvas* C = DrawCanvas();
    C->SetFont(Font());
    if (Enabled() || (Flags & DT_CALCRECT)) {
        C->DrawText(Text, Rect, Flags);
        return;
    }
    OffsetRect(Rect, 1, 1);
    C->Font()->SetColor(clBtnHighlight);
    C->DrawText(Text, Rect, Flags);
    OffsetRect(Rect, -1, -1);
    C->Font()->SetColor(clBtnShadow);
    C->DrawText(Text, Rect, Flags);
}

void TCustomLabel::Paint()
{
    TCanvas* C = Canvas();
    if (!FTransparent) {
        C->Brush()->SetColor(Color());
        C->Brush()->SetStyle(bsSolid);
        C->FillRect(ClientRect());
    }
    C->Brush()->SetStyle(bsClear);
    TRect R = ClientRect();
    const unsigned Align = FAlignment == taRightJustify ? DT_RIGHT
                           : FAlignment == taCenter     ? DT_CENTER
                                                        : DT_LEFT;
    const unsigned Style = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0u) | Align;
    if (FLayout != tlTop) {
        TRect Calc = R;
        DoDrawText(Calc, Style | DT_CALCRECT);
        const int Spare = Height() - Calc.Bottom;
        OffsetRect(R, 0, FLayout == tlBottom ? Spare : Spare / 2);
    }
    DoDrawText(R, Style);
}

void TCustomLabel::AdjustBounds()
{
    if (!FAutoSize || ComponentState().Contains(csLoading))
        return;
    FMeasure = std::make_unique<TCanvas>();
    TRect R = ClientRect();
    try {
        DoDrawText(R, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0u));
    } catch (...) {
        FMeasure.reset();
        throw;
    }
    FMeasure.reset();
    int X = Left();
    if (FAlignment == taRightJustify)
        X += Width() - R.Right;
    SetBounds(X, Top(), R.Right, R.Bottom);
}

void TCustomLabel::CMTextChanged(TMessage&)
{
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& Message)
{
    Inherited(Message);
    AdjustBounds();
}

void TCustomLabel::CMDialogChar(TMessage& Message)
{
    if (FFocusControl != nullptr && Enabled() && FShowAccelChar &&
        IsAccel(static_cast<unsigned>(Message.WParam), GetLabelText()) &&
        FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        Message.Result = 1;
        return;
    }
    Inherited(Message);
}
