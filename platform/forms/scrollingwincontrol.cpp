// platform/forms/scrollingwincontrol.cpp: TScrollingWinControl and its TControlScrollBar.
#include "platform/forms/scrollingwincontrol.h"

#include "platform/ui/scrollbars.h"

#include <algorithm>

namespace {

// Lines one wheel notch scrolls.
constexpr int WheelLines = 3;

} // namespace

// ---- TControlScrollBar

TControlScrollBar::TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind)
    : FControl(Control), FKind(Kind)
{
}

void TControlScrollBar::Assign(const TPersistent* Source)
{
    const auto* Bar = dynamic_cast<const TControlScrollBar*>(Source);
    if (Bar == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FIncrement = Bar->FIncrement;
    FMargin = Bar->FMargin;
    FTracking = Bar->FTracking;
    FVisible = Bar->FVisible;
    SetRange(Bar->FRange);
    SetPosition(Bar->FPosition);
}

int TControlScrollBar::ControlSize() const
{
    const TRect R = FControl->ClientRect();
    return FKind == sbHorizontal ? R.Width() : R.Height();
}

bool TControlScrollBar::IsScrollBarVisible() const
{
    return FVisible && FRange > ControlSize();
}

int TControlScrollBar::MaxPosition() const
{
    return std::max(0, FRange - ControlSize());
}

void TControlScrollBar::SetRange(int Value)
{
    FControl->FAutoScroll = false;
    SetCalcRange(Value);
}

void TControlScrollBar::SetCalcRange(int Value)
{
    Value = std::max(0, Value);
    if (FRange == Value)
        return;
    FRange = Value;
    FControl->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int Value)
{
    Value = std::clamp(Value, 0, MaxPosition());
    if (Value == FPosition)
        return;
    const int Delta = FPosition - Value;
    FPosition = Value;
    if (FKind == sbHorizontal)
        FControl->ScrollBy(Delta, 0);
    else
        FControl->ScrollBy(0, Delta);
    Update();
}

void TControlScrollBar::SetIncrement(int Value)
{
    FIncrement = std::max(1, Value);
}

void TControlScrollBar::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    FVisible = Value;
    FControl->UpdateScrollBars();
}

void TControlScrollBar::SetMargin(int Value)
{
    if (FMargin == Value)
        return;
    FMargin = Value;
    FControl->Realign();
}

void TControlScrollBar::Update()
{
    if (!FControl->HandleAllocated())
        return;
    TScrollInfo Info;
    Info.fMask = SIF_ALL;
    if (IsScrollBarVisible()) {
        Info.nMax = FRange - 1;
        Info.nPage = static_cast<UINT>(ControlSize());
        Info.nPos = FPosition;
    }
    SetScrollInfo(FControl->Handle(), FKind == sbHorizontal ? SB_HORZ : SB_VERT, Info, true);
}

void TControlScrollBar::ScrollMessage(UINT Code)
{
    const int Page = std::max(1, ControlSize());
    switch (Code) {
    case SB_LINEUP:
        SetPosition(FPosition - FIncrement);
        break;
    case SB_LINEDOWN:
        SetPosition(FPosition + FIncrement);
        break;
    case SB_PAGEUP:
        SetPosition(FPosition - Page);
        break;
    case SB_PAGEDOWN:
        SetPosition(FPosition + Page);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        if (Code == SB_THUMBPOSITION || FTracking) {
            TScrollInfo Info;
            Info.fMask = SIF_TRACKPOS;
            GetScrollInfo(FControl->Handle(), FKind == sbHorizontal ? SB_HORZ : SB_VERT, Info);
            SetPosition(Info.nTrackPos);
        }
        break;
    case SB_TOP:
        SetPosition(0);
        break;
    case SB_BOTTOM:
        SetPosition(MaxPosition());
        break;
    default:
        break;
    }
}

// ---- TScrollingWinControl

const TMessageMap& TScrollingWinControl::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TScrollingWinControl::WMHScroll>(WM_HSCROLL),
        OnMessage<&TScrollingWinControl::WMVScroll>(WM_VSCROLL),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner), FHorzScrollBar(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      FVertScrollBar(std::make_unique<TControlScrollBar>(this, sbVertical))
{
}

TScrollingWinControl::~TScrollingWinControl()
{
    Destroying();
    DestroyHandle();
}

void TScrollingWinControl::SetAutoScroll(bool Value)
{
    if (FAutoScroll == Value)
        return;
    FAutoScroll = Value;
    if (Value)
        CalcAutoRange();
    else {
        FHorzScrollBar->SetCalcRange(0);
        FVertScrollBar->SetCalcRange(0);
    }
}

void TScrollingWinControl::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateScrollBars();
}

void TScrollingWinControl::AdjustClientRect(TRect& Rect)
{
    // Aligned children lie on the scrolled area.
    OffsetRect(Rect, -FHorzScrollBar->Position(), -FVertScrollBar->Position());
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect)
{
    TWinControl::AlignControls(AControl, Rect);
    CalcAutoRange();
}

void TScrollingWinControl::CalcAutoRange()
{
    if (!FAutoScroll)
        return;
    int Right = 0;
    int Bottom = 0;
    for (int I = 0; I < ControlCount(); ++I) {
        const TControl* C = Controls(I);
        if (!C->Visible() || C->Align() == alClient)
            continue;
        if (C->Align() != alTop && C->Align() != alBottom)
            Right = std::max(Right, C->Left() + C->Width() + FHorzScrollBar->Position());
        if (C->Align() != alLeft && C->Align() != alRight)
            Bottom = std::max(Bottom, C->Top() + C->Height() + FVertScrollBar->Position());
    }
    FHorzScrollBar->FRange = Right > 0 ? Right + FHorzScrollBar->Margin() : 0;
    FVertScrollBar->FRange = Bottom > 0 ? Bottom + FVertScrollBar->Margin() : 0;
    UpdateScrollBars();
}

void TScrollingWinControl::UpdateScrollBars()
{
    if (FUpdatingScrollBars || !HandleAllocated())
        return;
    FUpdatingScrollBars = true;
    // Showing one bar narrows the room of the other: twice settles it.
    for (int Pass = 0; Pass < 2; ++Pass) {
        FHorzScrollBar->Update();
        FVertScrollBar->Update();
    }
    FUpdatingScrollBars = false;
    // A larger client area may leave the positions beyond the range.
    FHorzScrollBar->SetPosition(FHorzScrollBar->Position());
    FVertScrollBar->SetPosition(FVertScrollBar->Position());
}

void TScrollingWinControl::ScrollBy(int DeltaX, int DeltaY)
{
    if (DeltaX == 0 && DeltaY == 0)
        return;
    DisableAlign();
    for (int I = 0; I < ControlCount(); ++I) {
        TControl* C = Controls(I);
        C->SetBounds(C->Left() + DeltaX, C->Top() + DeltaY, C->Width(), C->Height());
    }
    FUpdatingScrollBars = true; // the children moved, not the range
    EnableAlign();
    FUpdatingScrollBars = false;
    Invalidate();
}

void TScrollingWinControl::ScrollInView(TControl* AControl)
{
    if (AControl == nullptr || !ContainsControl(AControl))
        return;
    TRect R = AControl->BoundsRect();
    for (TWinControl* P = AControl->Parent(); P != nullptr && P != this; P = P->Parent())
        OffsetRect(R, P->Left(), P->Top());
    const TRect Client = ClientRect();
    auto Needed = [](int Start, int End, int Size) {
        if (Start < 0 || End - Start > Size)
            return Start;
        if (End > Size)
            return End - Size;
        return 0;
    };
    FHorzScrollBar->SetPosition(FHorzScrollBar->Position() +
                                Needed(R.Left, R.Right, Client.Width()));
    FVertScrollBar->SetPosition(FVertScrollBar->Position() +
                                Needed(R.Top, R.Bottom, Client.Height()));
}

bool TScrollingWinControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (TWinControl::DoMouseWheelDown(Shift, MousePos))
        return true;
    TControlScrollBar* Bar =
        FVertScrollBar->IsScrollBarVisible() ? FVertScrollBar.get() : FHorzScrollBar.get();
    if (!Bar->IsScrollBarVisible())
        return false;
    Bar->SetPosition(Bar->Position() + WheelLines * Bar->Increment());
    return true;
}

bool TScrollingWinControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (TWinControl::DoMouseWheelUp(Shift, MousePos))
        return true;
    TControlScrollBar* Bar =
        FVertScrollBar->IsScrollBarVisible() ? FVertScrollBar.get() : FHorzScrollBar.get();
    if (!Bar->IsScrollBarVisible())
        return false;
    Bar->SetPosition(Bar->Position() - WheelLines * Bar->Increment());
    return true;
}

void TScrollingWinControl::WMHScroll(TMessage& Message)
{
    if (Message.LParam != 0)
        TWinControl::WMScroll(Message); // a scroll bar control's, for that control
    else
        FHorzScrollBar->ScrollMessage(LoWord(Message.WParam));
}

void TScrollingWinControl::WMVScroll(TMessage& Message)
{
    if (Message.LParam != 0)
        TWinControl::WMScroll(Message);
    else
        FVertScrollBar->ScrollMessage(LoWord(Message.WParam));
}
