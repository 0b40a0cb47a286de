#include "platform/forms/control.h"

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/menus.h"
#include "platform/ui/windowdc.h"

#include <algorithm>

const TMessageMap& TControl::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessages<&TControl::WMMouse>(WM_MOUSEFIRST, WM_MBUTTONDBLCLK),
        OnMessage<&TControl::CMEnabledChanged>(CM_ENABLEDCHANGED),
        OnMessage<&TControl::CMVisibleChanged>(CM_VISIBLECHANGED),
        OnMessage<&TControl::CMColorChanged>(CM_COLORCHANGED),
        OnMessage<&TControl::CMFontChanged>(CM_FONTCHANGED),
        OnMessage<&TControl::CMTextChanged>(CM_TEXTCHANGED),
        OnMessage<&TControl::CMParentFontChanged>(CM_PARENTFONTCHANGED),
        OnMessage<&TControl::CMParentColorChanged>(CM_PARENTCOLORCHANGED),
        OnMessage<&TControl::CMMouseEnter>(CM_MOUSEENTER),
        OnMessage<&TControl::CMMouseLeave>(CM_MOUSELEAVE),
        OnMessage<&TControl::WMMouseWheel>(WM_MOUSEWHEEL),
        OnMessage<&TControl::CMMouseWheel>(CM_MOUSEWHEEL),
        OnMessage<&TControl::WMContextMenu>(WM_CONTEXTMENU),
        OnMessage<&TControl::CMCursorChanged>(CM_CURSORCHANGED),
        OnMessage<&TControl::CMDrag>(CM_DRAG),
    });
    static constexpr TMessageMap Map{Handlers, nullptr};
    return Map;
}

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), FConstraints(std::make_unique<TSizeConstraints>()),
      FFont(std::make_unique<TFont>())
{
    WindowProc = [this](TMessage& Message) { WndProc(Message); };
    FFont->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
}

TControl::~TControl()
{
    Destroying();
    DragControlGone(this);
    ForgetMouseControl(this);
    if (FParent != nullptr)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent)
        return;
    if (AParent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent != nullptr)
        FParent->RemoveControl(this);
    if (AParent != nullptr)
        AParent->InsertControl(this);
}

void TControl::ApplyConstraints(int& AWidth, int& AHeight) const
{
    FConstraints->Apply(AWidth, AHeight);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    ApplyConstraints(AWidth, AHeight);
    UpdateBoundsRect(Bounds(ALeft, ATop, AWidth, AHeight));
}

void TControl::UpdateBoundsRect(const TRect& R)
{
    if (R == BoundsRect())
        return;
    const TRect Old = BoundsRect();
    FLeft = R.Left;
    FTop = R.Top;
    FWidth = R.Width();
    FHeight = R.Height();
    BoundsChanged(Old, !FAnchoring);
}

void TControl::BoundsChanged(const TRect& Old, bool FromUser)
{
    if (!IsWindowed()) {
        if (auto* Held = dynamic_cast<TGraphicControl*>(this))
            static_cast<TControlCanvas*>(Held->Canvas())->FreeHandle();
        if (FParent != nullptr && FParent->HandleAllocated() && FVisible) {
            const TRect New = BoundsRect();
            InvalidateRect(FParent->Handle(), &Old, true);
            InvalidateRect(FParent->Handle(), &New, true);
        }
    }
    if (FromUser)
        UpdateAnchorRules();
    const bool Sized = Old.Width() != FWidth || Old.Height() != FHeight;
    if (Sized) {
        if (auto* Win = dynamic_cast<TWinControl*>(this))
            Win->Realign();
        Resize();
    }
    if (FromUser)
        RequestAlign();
}

void TControl::RequestAlign()
{
    if (FParent != nullptr && (FAlign != alNone || FParent->RealignsOnEveryChild()))
        FParent->Realign();
}

void TControl::UpdateAnchorRules()
{
    FAnchorOrigin = BoundsRect();
    if (FParent != nullptr) {
        const TRect R = FParent->ClientRect();
        FAnchorParentSize = TSize{R.Width(), R.Height()};
    } else {
        FAnchorParentSize = TSize{};
    }
}

TRect TControl::ClientRect() const
{
    return Rect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(int Value)
{
    SetWidth(FWidth - ClientWidth() + Value);
}

void TControl::SetClientHeight(int Value)
{
    SetHeight(FHeight - ClientHeight() + Value);
}

TPoint TControl::ClientOrigin() const
{
    // A window knows where its client area lies, inside its border, edge and menu bar; a
    // control without one sits in its parent's client area.
    if (const auto* Win = dynamic_cast<const TWinControl*>(this); Win && Win->HandleAllocated()) {
        TPoint P{0, 0};
        ::ClientToScreen(Win->WindowHandle(), P);
        return P;
    }
    if (FParent == nullptr)
        return TPoint{FLeft, FTop};
    const TPoint P = FParent->ClientOrigin();
    return TPoint{P.X + FLeft, P.Y + FTop};
}

TPoint TControl::ClientToScreen(const TPoint& P) const
{
    const TPoint O = ClientOrigin();
    return TPoint{P.X + O.X, P.Y + O.Y};
}

TPoint TControl::ScreenToClient(const TPoint& P) const
{
    const TPoint O = ClientOrigin();
    return TPoint{P.X - O.X, P.Y - O.Y};
}

void TControl::SetAlign(TAlign Value)
{
    if (Value == FAlign)
        return;
    const TAlign Old = FAlign;
    FAlign = Value;
    if (FParent != nullptr) {
        if (Value == alNone && Old != alNone)
            UpdateAnchorRules();
        FParent->Realign();
    }
}

void TControl::SetAnchors(TAnchors Value)
{
    FAnchors = Value;
    UpdateAnchorRules();
}

void TControl::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    VisibleChanging();
    FVisible = Value;
    // The handlers show or hide the window, or repaint the parent under a control without one.
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
    RequestAlign();
}

void TControl::CMVisibleChanged(TMessage&)
{
    if (FParent != nullptr && FParent->HandleAllocated()) {
        const TRect R = BoundsRect();
        InvalidateRect(FParent->Handle(), &R, true);
    }
}

void TControl::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

bool TControl::Showing() const
{
    return FVisible && FParent != nullptr && FParent->Showing();
}

void TControl::FontChanged(TObject*)
{
    if (!FSettingFont)
        FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value)
{
    FParentFont = Value;
    if (Value && FParent != nullptr)
        ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!FParentFont || FParent == nullptr)
        return;
    FSettingFont = true;
    FFont->Assign(FParent->Font());
    FSettingFont = false;
}

void TControl::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    FParentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value)
{
    FParentColor = Value;
    if (Value && FParent != nullptr)
        ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (!FParentColor || FParent == nullptr || FParent->Color() == FColor)
        return;
    FColor = FParent->Color();
    Perform(CM_COLORCHANGED, 0, 0);
}

std::string TControl::GetText() const
{
    return FText;
}

void TControl::SetText(const std::string& Value)
{
    if (Value == GetText())
        return;
    SetTextBuf(Value);
}

void TControl::SetTextBuf(const std::string& Value)
{
    FText = Value;
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value)
{
    if (Value == FCursor)
        return;
    FCursor = Value;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::Invalidate()
{
    if (FParent != nullptr && FParent->HandleAllocated() && FVisible) {
        const TRect R = BoundsRect();
        InvalidateRect(FParent->Handle(), &R, !FControlStyle.Contains(csOpaque));
    }
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::Update()
{
    if (FParent != nullptr)
        FParent->Update();
}

void TControl::BringToFront()
{
    if (FParent == nullptr)
        return;
    auto& List = FParent->FControls;
    List.erase(std::remove(List.begin(), List.end(), this), List.end());
    List.push_back(this);
    if (auto* Win = dynamic_cast<TWinControl*>(this); Win != nullptr && Win->HandleAllocated())
        SetWindowPos(Win->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack()
{
    if (FParent == nullptr)
        return;
    auto& List = FParent->FControls;
    List.erase(std::remove(List.begin(), List.end(), this), List.end());
    List.insert(List.begin(), this);
    if (auto* Win = dynamic_cast<TWinControl*>(this); Win != nullptr && Win->HandleAllocated())
        SetWindowPos(Win->FHandle, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage Message{Msg, WParam, LParam, 0};
    WindowProc(Message);
    return Message.Result;
}

void TControl::Dispatch(TMessage& Message)
{
    if (!MessageMap().Dispatch(this, Message))
        DefaultHandler(Message);
}

void TControl::InheritedMessage(const TMessageMap* From, TMessage& Message)
{
    if (From == nullptr || !From->Dispatch(this, Message))
        DefaultHandler(Message);
}

// What a window's default procedure does for a control without one.
void TControl::DefaultHandler(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETTEXTLENGTH:
        Message.Result = static_cast<LRESULT>(FText.size());
        break;
    case WM_SETTEXT:
        FText = Message.LParam != 0 ? reinterpret_cast<const char*>(Message.LParam) : "";
        Perform(CM_TEXTCHANGED, 0, 0);
        Message.Result = 1;
        break;
    default:
        break;
    }
}

void TControl::CMEnabledChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMColorChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMFontChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMTextChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMParentFontChanged(TMessage&)
{
    ParentFontChanged();
}

void TControl::CMParentColorChanged(TMessage&)
{
    ParentColorChanged();
}

TCustomForm* TControl::ParentForm() const
{
    return GetParentForm(this);
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

void TControl::SetPopupMenu(TPopupMenu* Value)
{
    if (Value == FPopupMenu)
        return;
    if (FPopupMenu != nullptr)
        RemoveFreeNotification(static_cast<TComponent*>(FPopupMenu));
    FPopupMenu = Value;
    if (Value != nullptr)
        FreeNotification(Value);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == static_cast<TComponent*>(FPopupMenu))
        FPopupMenu = nullptr;
}
