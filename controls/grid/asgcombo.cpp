// controls/grid/asgcombo.cpp: TASGCustomCombo, the combo box that draws its own flat border and
// button over the window's painting.
#include "controls/grid/asgcombo.h"

#include "platform/forms/form.h"
#include "platform/stdctrls/comboboxdroppedwidth.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/windowdc.h"

TASGCustomCombo::TASGCustomCombo(TComponent* AOwner)
    : TCustomComboBox(AOwner), FButtonWidth(GetSystemMetrics(SM_CXVSCROLL) + 2)
{
    SetCtl3D(false);
}

TASGCustomCombo::~TASGCustomCombo() = default;

void TASGCustomCombo::SetButtonWidth(int Value)
{
    if (Value < 14 || Value > 32 || Value == FButtonWidth)
        return;
    FButtonWidth = Value;
    Invalidate();
}

void TASGCustomCombo::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    SetCtl3D(!Value);
    Invalidate();
}

void TASGCustomCombo::SetEtched(bool Value)
{
    if (Value == FEtched)
        return;
    FEtched = Value;
    Invalidate();
}

void TASGCustomCombo::SetFocusBorder(bool Value)
{
    if (Value == FFocusBorder)
        return;
    FFocusBorder = Value;
    Invalidate();
}

void TASGCustomCombo::SetDropWidth(int Value)
{
    FDropWidth = Value;
    ApplyDropWidth();
}

void TASGCustomCombo::ApplyDropWidth()
{
    if (FDropWidth > 0 && HandleAllocated())
        SendMessage(Handle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(FDropWidth), 0);
}

void TASGCustomCombo::CreateWnd()
{
    TCustomComboBox::CreateWnd();
    ApplyDropWidth();
}

bool TASGCustomCombo::Hot() const
{
    if (FMouseInControl && Enabled())
        return true;
    const TCustomForm* Form = GetParentForm(this);
    return Form != nullptr && Form->ActiveControl() == this;
}

TRect TASGCustomCombo::ButtonRect() const
{
    TRect R = Rect(ClientWidth() - FButtonWidth, 0, ClientWidth(), ClientHeight());
    InflateRect(R, -2, -2);
    return R;
}

void TASGCustomCombo::InvalidateButton()
{
    if (!HandleAllocated())
        return;
    const TRect R = ButtonRect();
    InvalidateRect(Handle(), &R, false);
}

void TASGCustomCombo::DropDown()
{
    TCustomComboBox::DropDown();
    InvalidateButton();
}

void TASGCustomCombo::CloseUp()
{
    TCustomComboBox::CloseUp();
    InvalidateButton();
}

void TASGCustomCombo::DrawFlat(TCanvas* Canvas)
{
    const bool IsHot = Hot();
    if (Style() != csSimple) {
        TRect Btn = ButtonRect();
        Canvas->DrawFrameControl(Btn, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
        if (IsHot || (ComponentState().Contains(csDesigning) && Enabled())) {
            unsigned Flags = BF_RECT;
            if (DroppedDown())
                Flags |= BF_FLAT;
            Canvas->DrawEdge(Btn, FEtched ? EDGE_ETCHED : EDGE_RAISED, Flags);
        } else {
            Canvas->Brush()->SetColor(clBtnFace);
            Canvas->FrameRect(Btn);
        }
        const TRect Done = ButtonRect();
        Canvas->ExcludeClipRect(Done.Left, Done.Top, Done.Right, Done.Bottom);
    }
    TRect R = ClientRect();
    const TColor ParentBrush = Parent() != nullptr ? Parent()->Color() : clBtnFace;
    Canvas->Brush()->SetStyle(bsSolid);
    if (IsHot && FFocusBorder) {
        TRect Edge = R;
        Canvas->DrawEdge(Edge, BDR_SUNKENOUTER, BF_RECT);
        InflateRect(R, -1, -1);
        Canvas->Brush()->SetColor(ParentBrush);
        Canvas->FrameRect(R);
    } else {
        Canvas->Brush()->SetColor(ParentBrush);
        Canvas->FrameRect(R);
        InflateRect(R, -1, -1);
        Canvas->FrameRect(R);
    }
    InflateRect(R, -1, -1);
    Canvas->Brush()->SetColor(Color());
    Canvas->FrameRect(R);
}

void TASGCustomCombo::WMPaint(TMessage& Message)
{
    Inherited(Message);
    if (!FFlat)
        return;
    if (Message.WParam != 0) {
        DrawFlat(reinterpret_cast<HDC>(Message.WParam));
        return;
    }
    const HDC DC = GetDC(Handle());
    if (DC == nullptr)
        return;
    DrawFlat(DC);
    ReleaseDC(Handle(), DC);
}

void TASGCustomCombo::CMMouseEnter(TMessage& Message)
{
    Inherited(Message);
    if (!Enabled())
        return;
    FMouseInControl = true;
    if (FAutoFocus && CanFocus() && !Focused())
        SetFocus();
    Invalidate();
}

void TASGCustomCombo::CMMouseLeave(TMessage& Message)
{
    Inherited(Message);
    FMouseInControl = false;
    Invalidate();
}

void TASGCustomCombo::CMEnter(TMessage& Message)
{
    Inherited(Message);
    Invalidate();
}

void TASGCustomCombo::CMExit(TMessage& Message)
{
    Inherited(Message);
    Invalidate();
}

// A disabled flat combo takes its parent's colour and gets its own back when enabled.
void TASGCustomCombo::CMEnabledChanged(TMessage& Message)
{
    if (FFlat) {
        if (!Enabled() && !FDisabledLook) {
            FOldColor = Color();
            FOldParentColor = ParentColor();
            FDisabledLook = true;
            if (Parent() != nullptr)
                SetColor(Parent()->Color());
        } else if (Enabled() && FDisabledLook) {
            FDisabledLook = false;
            SetColor(FOldColor);
            SetParentColor(FOldParentColor);
        }
    }
    Inherited(Message);
}

void TASGCustomCombo::CMCtl3DChanged(TMessage& Message)
{
    if (Ctl3D() == FFlat) {
        SetCtl3D(!FFlat);
        return;
    }
    Inherited(Message);
}

const TMessageMap& TASGCustomCombo::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TASGCustomCombo::WMPaint>(WM_PAINT),
        OnMessage<&TASGCustomCombo::CMMouseEnter>(CM_MOUSEENTER),
        OnMessage<&TASGCustomCombo::CMMouseLeave>(CM_MOUSELEAVE),
        OnMessage<&TASGCustomCombo::CMEnter>(CM_ENTER),
        OnMessage<&TASGCustomCombo::CMExit>(CM_EXIT),
        OnMessage<&TASGCustomCombo::CMEnabledChanged>(CM_ENABLEDCHANGED),
        OnMessage<&TASGCustomCombo::CMCtl3DChanged>(CM_CTL3DCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomComboBox::ClassMessageMap};
    return Map;
}
