#include "platform/stdctrls/updown.h"

#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/updownwindow.h"

#include <algorithm>
#include <vector>

const TMessageMap& TUpDown::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TUpDown::WMPaint>(WM_PAINT),
        OnMessage<&TUpDown::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessages<&TUpDown::WMMouse>(WM_MOUSEFIRST, WM_MBUTTONDBLCLK),
        OnMessage<&TUpDown::CNNotify>(CN_NOTIFY),
        OnMessage<&TUpDown::CNScroll>(CN_HSCROLL),
        OnMessage<&TUpDown::CNScroll>(CN_VSCROLL),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(Left(), Top(), 16, 24);
    SetColor(clBtnFace);
}

TUpDown::~TUpDown()
{
    DestroyHandle();
}

DWORD TUpDown::StyleBits() const
{
    DWORD Style = UDS_SETBUDDYINT;
    Style |= FAlignButton == udRight ? UDS_ALIGNRIGHT : UDS_ALIGNLEFT;
    if (FOrientation == udHorizontal)
        Style |= UDS_HORZ;
    if (FArrowKeys)
        Style |= UDS_ARROWKEYS;
    if (FWrap)
        Style |= UDS_WRAP;
    if (!FThousands)
        Style |= UDS_NOTHOUSANDS;
    return Style;
}

void TUpDown::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    RegisterUpDownClass();
    Params.Style |= StyleBits();
    Params.WindowClass.Style &= ~(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
}

void TUpDown::CreateWnd()
{
    TWinControl::CreateWnd();
    Perform(UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    Perform(UDM_SETPOS32, 0, FPosition);
    UpdateAccel();
    if (FAssociate != nullptr)
        Perform(UDM_SETBUDDY, reinterpret_cast<WPARAM>(FAssociate->Handle()), 0);
}

void TUpDown::DefaultHandler(TMessage& Message)
{
    if (WindowHandle() != 0)
        Message.Result = UpDownWndProc(WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
    else
        TWinControl::DefaultHandler(Message);
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FAssociate) {
        FAssociate = nullptr;
        if (HandleAllocated())
            Perform(UDM_SETBUDDY, 0, 0);
    }
}

// Style bits take effect at once; the buddy keeps its place.
void TUpDown::UpdateStyle()
{
    if (!HandleAllocated())
        return;
    SetControlStyleBits(WindowHandle(), StyleBits());
    Invalidate();
}

// The first entry of the window's acceleration table is the Increment; the longer holds keep
// their own steps, at least as large.
void TUpDown::UpdateAccel()
{
    if (!HandleAllocated())
        return;
    std::vector<UDACCEL> Table(static_cast<std::size_t>(Perform(UDM_GETACCEL, 0, 0)));
    if (Table.empty())
        Table.resize(1);
    else
        Perform(UDM_GETACCEL, Table.size(), reinterpret_cast<LPARAM>(Table.data()));
    Table.front().nInc = static_cast<UINT>(std::max(1, FIncrement));
    for (UDACCEL& Entry : Table)
        Entry.nInc = std::max(Entry.nInc, Table.front().nInc);
    Perform(UDM_SETACCEL, Table.size(), reinterpret_cast<LPARAM>(Table.data()));
}

// ---- properties

void TUpDown::SetAssociate(TWinControl* Value)
{
    if (Value == FAssociate || Value == this)
        return;
    if (FAssociate != nullptr) {
        FAssociate->RemoveFreeNotification(this);
        if (HandleAllocated())
            Perform(UDM_SETBUDDY, 0, 0);
    }
    FAssociate = Value;
    if (FAssociate == nullptr)
        return;
    FAssociate->FreeNotification(this);
    if (HandleAllocated())
        Perform(UDM_SETBUDDY, reinterpret_cast<WPARAM>(FAssociate->Handle()), 0);
}

void TUpDown::SetAlignButton(TUDAlignButton Value)
{
    if (Value == FAlignButton)
        return;
    FAlignButton = Value;
    UpdateStyle();
}

void TUpDown::SetMin(int Value)
{
    FMin = Value;
    if (HandleAllocated())
        Perform(UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    FPosition = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
}

void TUpDown::SetMax(int Value)
{
    FMax = Value;
    if (HandleAllocated())
        Perform(UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    FPosition = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
}

int TUpDown::Position()
{
    if (HandleAllocated())
        FPosition = static_cast<int>(Perform(UDM_GETPOS32, 0, 0));
    return FPosition;
}

void TUpDown::SetPosition(int Value)
{
    FPosition = std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
    if (HandleAllocated())
        Perform(UDM_SETPOS32, 0, FPosition);
}

void TUpDown::SetIncrement(int Value)
{
    if (Value == FIncrement)
        return;
    FIncrement = Value;
    UpdateAccel();
}

void TUpDown::SetWrap(bool Value)
{
    if (Value == FWrap)
        return;
    FWrap = Value;
    UpdateStyle();
}

void TUpDown::SetArrowKeys(bool Value)
{
    if (Value == FArrowKeys)
        return;
    FArrowKeys = Value;
    UpdateStyle();
}

void TUpDown::SetThousands(bool Value)
{
    if (Value == FThousands)
        return;
    FThousands = Value;
    UpdateStyle();
    if (HandleAllocated())
        Perform(UDM_SETPOS32, 0, Position()); // the buddy's text in the new form
}

void TUpDown::SetOrientation(TUDOrientation Value)
{
    if (Value == FOrientation)
        return;
    FOrientation = Value;
    if (!ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
    UpdateStyle();
}

// ---- events

bool TUpDown::CanChange()
{
    bool Allow = true;
    if (OnChanging)
        OnChanging(this, Allow);
    return Allow;
}

void TUpDown::Click(TUDBtnType Button)
{
    if (OnClick)
        OnClick(this, Button);
}

// ---- messages

void TUpDown::WMPaint(TMessage& Message)
{
    DefaultHandler(Message);
}

void TUpDown::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

void TUpDown::WMMouse(TMessage& Message)
{
    DefaultHandler(Message);
    Inherited(Message);
}

void TUpDown::CNNotify(TMessage& Message)
{
    const auto* Header = reinterpret_cast<const NMHDR*>(Message.LParam);
    if (Header == nullptr || Header->code != UDN_DELTAPOS) {
        Message.Result = 0;
        return;
    }
    const auto* Request = reinterpret_cast<const NMUPDOWN*>(Message.LParam);
    FPendingButton = (Request->iDelta > 0) == (FMax >= FMin) ? btNext : btPrev;
    Message.Result = CanChange() ? 0 : 1;
}

void TUpDown::CNScroll(TMessage& Message)
{
    Message.Result = 0;
    if (LoWord(Message.WParam) != SB_THUMBPOSITION)
        return;
    Position();
    Click(FPendingButton);
}
