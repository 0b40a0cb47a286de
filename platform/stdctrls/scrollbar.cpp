// platform/stdctrls/scrollbar.cpp: TScrollBar.
#include "platform/stdctrls/scrollbar.h"

#include "platform/rtl/exceptions.h"
#include "platform/stdctrls/scrollbarwindow.h"

#include <algorithm>

const TMessageMap& TScrollBar::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TScrollBar::WMPaint>(WM_PAINT),
        OnMessage<&TScrollBar::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessage<&TScrollBar::WMLButtonDown>(WM_LBUTTONDOWN),
        OnMessage<&TScrollBar::WMLButtonDown>(WM_LBUTTONDBLCLK),
        OnMessage<&TScrollBar::CNHScroll>(CN_HSCROLL),
        OnMessage<&TScrollBar::CNVScroll>(CN_VSCROLL),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner)
{
    // The bar runs its own mouse loop; the control does not capture the mouse.
    SetControlStyle(TControlStyle{csFramed, csDoubleClicks, csOpaque});
    SetBounds(Left(), Top(), 121, 16);
    SetTabStop(true);
}

TScrollBar::~TScrollBar()
{
    Destroying();
    DestroyHandle();
}

void TScrollBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    RegisterScrollBarClass();
    if (FKind == sbVertical)
        Params.Style |= SBS_VERT;
    Params.WindowClass.Style &= ~(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
}

void TScrollBar::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateBar();
}

void TScrollBar::DefaultHandler(TMessage& Message)
{
    if (WindowHandle() != 0)
        Message.Result =
            ScrollBarWndProc(WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
    else
        TWinControl::DefaultHandler(Message);
}

void TScrollBar::WMPaint(TMessage& Message)
{
    DefaultHandler(Message);
}

void TScrollBar::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

void TScrollBar::WMLButtonDown(TMessage& Message)
{
    DefaultHandler(Message);
}

void TScrollBar::UpdateBar()
{
    if (!HandleAllocated())
        return;
    TScrollInfo Info;
    Info.fMask = SIF_ALL;
    Info.nMin = FMin;
    Info.nMax = FMax;
    Info.nPage = static_cast<UINT>(FPageSize);
    Info.nPos = FPosition;
    Perform(SBM_SETSCROLLINFO, 1, reinterpret_cast<LPARAM>(&Info));
}

void TScrollBar::SetKind(TScrollBarKind Value)
{
    if (FKind == Value)
        return;
    FKind = Value;
    if (!ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

int TScrollBar::MaxPosition() const
{
    return FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax;
}

void TScrollBar::SetPageSize(int Value)
{
    Value = std::clamp(Value, 0, std::max(0, FMax - FMin + 1));
    if (FPageSize == Value)
        return;
    FPageSize = Value;
    SetParams(FPosition, FMin, FMax);
    UpdateBar();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    if (AMax < AMin)
        throw EInvalidOperation("Scroll bar property out of range");
    const bool RangeChanged = AMin != FMin || AMax != FMax;
    FMin = AMin;
    FMax = AMax;
    if (FPageSize > FMax - FMin + 1)
        FPageSize = FMax - FMin + 1;
    APosition = std::clamp(APosition, FMin, MaxPosition());
    const bool Moved = APosition != FPosition;
    FPosition = APosition;
    if (RangeChanged || Moved)
        UpdateBar();
    if (Moved)
        Change();
}

void TScrollBar::Change()
{
    if (OnChange)
        OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos)
{
    if (OnScroll)
        OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::DoScroll(TMessage& Message)
{
    const UINT Code = LoWord(Message.WParam);
    if (Code > SB_ENDSCROLL)
        return;
    int ScrollPos = FPosition;
    switch (Code) {
    case SB_LINEUP:
        ScrollPos -= FSmallChange;
        break;
    case SB_LINEDOWN:
        ScrollPos += FSmallChange;
        break;
    case SB_PAGEUP:
        ScrollPos -= FLargeChange;
        break;
    case SB_PAGEDOWN:
        ScrollPos += FLargeChange;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        // The 32-bit position being dragged to, not the 16 bits of the message.
        TScrollInfo Info;
        Info.fMask = SIF_TRACKPOS;
        Perform(SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&Info));
        ScrollPos = Info.nTrackPos;
        break;
    }
    case SB_TOP:
        ScrollPos = FMin;
        break;
    case SB_BOTTOM:
        ScrollPos = MaxPosition();
        break;
    default:
        break;
    }
    ScrollPos = std::clamp(ScrollPos, FMin, MaxPosition());
    Scroll(static_cast<TScrollCode>(Code), ScrollPos);
    SetPosition(ScrollPos);
}

void TScrollBar::CNHScroll(TMessage& Message)
{
    DoScroll(Message);
}

void TScrollBar::CNVScroll(TMessage& Message)
{
    DoScroll(Message);
}
