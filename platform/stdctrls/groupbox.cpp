#include "platform/stdctrls/groupbox.h"

#include "platform/stdctrls/buttonwindow.h"

const TMessageMap& TCustomGroupBox::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCustomGroupBox::CMDialogChar>(CM_DIALOGCHAR),
        OnMessage<&TCustomGroupBox::CMTextChanged>(CM_TEXTCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomControl::ClassMessageMap};
    return Map;
}

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                  csDoubleClicks, csReplicatable});
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect)
{
    TCustomControl::AdjustClientRect(Rect);
    TCanvas Measure;
    Measure.SetFont(Font());
    Rect.Top += Measure.TextHeight("0");
    InflateRect(Rect, -2, -2);
}

void TCustomGroupBox::Paint()
{
    TCanvas* C = Canvas();
    C->SetFont(Font());
    const int H = C->TextHeight("0");
    TRect Frame = Rect(0, H / 2 - 1, Width(), Height());
    C->DrawEdge(Frame, EDGE_ETCHED, BF_RECT);
    const std::string Text = Caption();
    if (Text.empty())
        return;
    TRect R = Rect(8, 0, Width() - 8, H);
    C->DrawText(Text, R, DT_SINGLELINE | DT_CALCRECT);
    // The caption's background breaks the frame.
    C->Brush()->SetColor(Color());
    C->Brush()->SetStyle(bsSolid);
    TRect Gap = R;
    InflateRect(Gap, 1, 0);
    C->FillRect(Gap);
    C->Brush()->SetStyle(bsClear);
    DrawButtonText(C, Text, R, DT_SINGLELINE | DT_LEFT, Enabled());
}

void TCustomGroupBox::CMDialogChar(TMessage& Message)
{
    if (IsAccel(static_cast<unsigned>(Message.WParam), Caption()) && CanFocus()) {
        SelectNext(nullptr, true, true);
        Message.Result = 1;
        return;
    }
    Inherited(Message);
}

void TCustomGroupBox::CMTextChanged(TMessage&)
{
    Invalidate();
    Realign();
}
