#include "platform/forms/wincontrol.h"

#include "platform/forms/alignment.h"
#include "platform/forms/controlcanvas.h"
#include "platform/forms/form.h"
#include "platform/ui/application.h"
#include "platform/ui/helpservice.h"
#include "platform/ui/input.h"
#include "platform/ui/notify.h"
#include "platform/ui/ownerdraw.h"
#include "platform/ui/paint.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <unordered_map>

namespace {

std::unordered_map<HWND, TWinControl*>& ControlsByHandle()
{
    static std::unordered_map<HWND, TWinControl*> Map;
    return Map;
}

// Sets bounds on behalf of the parent (alignment, anchors): no new anchor rules, no new
// alignment request.
class TAnchoringScope {
public:
    explicit TAnchoringScope(bool& Flag) : FFlag(Flag), FOld(Flag) { FFlag = true; }
    ~TAnchoringScope() { FFlag = FOld; }
    TAnchoringScope(const TAnchoringScope&) = delete;
    TAnchoringScope& operator=(const TAnchoringScope&) = delete;

private:
    bool& FFlag;
    bool FOld;
};

// Hands a child window's notification to its control as the CN_ message; false when the window
// is no control of ours. A control's ID is its window handle, as the class library sets it.
bool DoControlMsg(const TWinControl* Self, HWND Child, TMessage& Message)
{
    TWinControl* Control = FindControl(Child);
    if (Control == nullptr || Control == Self)
        return false;
    Message.Result = Control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return true;
}

} // namespace

void PaintControlOn(HDC DC, TControl* Control)
{
    const int Saved = DC->SaveDC();
    DC->OffsetViewportOrgEx(Control->Left(), Control->Top());
    DC->IntersectClipRect(0, 0, Control->Width(), Control->Height());
    try {
        Control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    } catch (...) {
        DC->RestoreDC(Saved);
        throw;
    }
    DC->RestoreDC(Saved);
}

LRESULT ControlInitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_NCCREATE && LParam != 0) {
        const auto* Create = reinterpret_cast<const TCreateStruct*>(LParam);
        if (auto* Control = reinterpret_cast<TWinControl*>(Create->CreateParams)) {
            Control->FHandle = Wnd;
            ControlsByHandle()[Wnd] = Control;
            SetWindowProc(Wnd, [Control](HWND, UINT M, WPARAM W, LPARAM L) {
                return Control->MainWndProc(M, W, L);
            });
            return Control->MainWndProc(Msg, WParam, LParam);
        }
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

TWinControl* FindControl(HWND Wnd)
{
    auto Found = ControlsByHandle().find(Wnd);
    return Found != ControlsByHandle().end() ? Found->second : nullptr;
}

const TMessageMap& TWinControl::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TWinControl::WMPaint>(WM_PAINT),
        OnMessage<&TWinControl::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessage<&TWinControl::WMWindowPosChanged>(WM_WINDOWPOSCHANGED),
        OnMessage<&TWinControl::WMSetFocus>(WM_SETFOCUS),
        OnMessage<&TWinControl::WMKillFocus>(WM_KILLFOCUS),
        OnMessage<&TWinControl::WMSetText>(WM_SETTEXT),
        OnMessage<&TWinControl::WMKeyDown>(WM_KEYDOWN),
        OnMessage<&TWinControl::WMSysKeyDown>(WM_SYSKEYDOWN),
        OnMessage<&TWinControl::WMKeyUp>(WM_KEYUP),
        OnMessage<&TWinControl::WMSysKeyUp>(WM_SYSKEYUP),
        OnMessage<&TWinControl::WMChar>(WM_CHAR),
        OnMessage<&TWinControl::WMHelp>(WM_HELP),
        OnMessage<&TWinControl::CNKeyDown>(CN_KEYDOWN),
        OnMessage<&TWinControl::CNKeyDown>(CN_SYSKEYDOWN),
        OnMessage<&TWinControl::CNChar>(CN_CHAR),
        OnMessage<&TWinControl::CNSysChar>(CN_SYSCHAR),
        OnMessage<&TWinControl::CMDialogKey>(CM_DIALOGKEY),
        OnMessage<&TWinControl::CMDialogChar>(CM_DIALOGCHAR),
        OnMessage<&TWinControl::CMFocusChanged>(CM_FOCUSCHANGED),
        OnMessage<&TWinControl::CMEnter>(CM_ENTER),
        OnMessage<&TWinControl::CMExit>(CM_EXIT),
        OnMessage<&TWinControl::CMFontChanged>(CM_FONTCHANGED),
        OnMessage<&TWinControl::CMColorChanged>(CM_COLORCHANGED),
        OnMessage<&TWinControl::CMVisibleChanged>(CM_VISIBLECHANGED),
        OnMessage<&TWinControl::WMCommand>(WM_COMMAND),
        OnMessage<&TWinControl::WMDrawItem>(WM_DRAWITEM),
        OnMessage<&TWinControl::WMMeasureItem>(WM_MEASUREITEM),
        OnMessage<&TWinControl::WMNotify>(WM_NOTIFY),
        OnMessages<&TWinControl::WMScroll>(WM_HSCROLL, WM_VSCROLL),
        OnMessage<&TWinControl::CMChildKey>(CM_CHILDKEY),
        OnMessage<&TWinControl::CMRecreateWnd>(CM_RECREATEWND),
        OnMessage<&TWinControl::CMCtl3DChanged>(CM_CTL3DCHANGED),
        OnMessage<&TWinControl::CMParentCtl3DChanged>(CM_PARENTCTL3DCHANGED),
        OnMessage<&TWinControl::WMContextMenu>(WM_CONTEXTMENU),
        OnMessages<&TWinControl::WMCtlColor>(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC),
        OnMessage<&TWinControl::WMSetCursor>(WM_SETCURSOR),
    });
    static constexpr TMessageMap Map{Handlers, &TControl::ClassMessageMap};
    return Map;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    Destroying();
    // Leaves the parent while still a TWinControl, so that the parent's tab order and the
    // form's focus forget it.
    if (TWinControl* Up = Parent())
        Up->RemoveControl(this);
    DestroyHandle();
    while (!FControls.empty()) {
        TControl* Child = FControls.back();
        RemoveControl(Child);
        delete Child;
    }
    // Leave the parent while still a windowed control, so that the form forgets it as its
    // active control and the tab order drops it (TControl's destructor no longer can tell).
    if (Parent() != nullptr)
        Parent()->RemoveControl(this);
}

// ---- the window

HWND TWinControl::Handle()
{
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded()
{
    if (FHandle != 0)
        return;
    if (Parent() != nullptr)
        Parent()->HandleNeeded();
    CreateHandle();
}

void TWinControl::CreateHandle()
{
    if (FHandle == 0)
        CreateWnd();
    for (TControl* Child : std::vector<TControl*>(FControls))
        if (auto* Win = dynamic_cast<TWinControl*>(Child))
            Win->HandleNeeded();
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Caption = FText;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls))
        Params.Style |= WS_CLIPCHILDREN;
    if (FVisible)
        Params.Style |= WS_VISIBLE;
    if (!FEnabled)
        Params.Style |= WS_DISABLED;
    if (FTabStop)
        Params.Style |= WS_TABSTOP;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    if (FParent != nullptr)
        Params.WndParent = FParent->Handle();
    else
        Params.WndParent = FParentWindow;
    Params.WindowClass.Style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    Params.WinClassName = ClassName();
}

void TWinControl::CreateWnd()
{
    TCreateParams Params;
    CreateParams(Params);
    if ((Params.Style & WS_CHILD) && Params.WndParent == 0)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    TWndClass Class;
    if (!GetClassInfo(Params.WinClassName, Class)) {
        Class = Params.WindowClass;
        Class.ClassName = Params.WinClassName;
        Class.WndProc = ControlInitWndProc;
        RegisterClass(Class);
    }
    const HWND Wnd = CreateWindowEx(Params.ExStyle, Params.WinClassName, Params.Caption,
                                    Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                                    Params.WndParent, reinterpret_cast<LPARAM>(this));
    if (Wnd == 0)
        throw EInvalidOperation("Error creating window of '" + Name() + "'");
    FLastClientSize = TSize{ClientRect().Width(), ClientRect().Height()};
}

void TWinControl::DestroyWnd()
{
    if (FHandle != 0)
        DestroyWindow(FHandle);
    FHandle = 0;
}

void TWinControl::DestroyHandle()
{
    if (FHandle == 0)
        return;
    FreeDeviceContexts();
    FControlState.Include(csDestroyingHandle);
    DestroyWnd();
    FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::RecreateWnd()
{
    if (FHandle != 0)
        Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&)
{
    if (FHandle == 0)
        return;
    const bool WasVisible = IsWindowVisible(FHandle);
    // The focus may sit in this window or in one of its children: both are made anew, and the
    // control that held it takes it back (only the pointer is kept; it is looked up again).
    const HWND Focus = GetFocus();
    TWinControl* Focused = nullptr;
    if (Focus != 0 && (Focus == FHandle || IsChild(FHandle, Focus)))
        Focused = FindControl(Focus);
    DestroyHandle();
    HandleNeeded();
    if (FParent == nullptr && WasVisible)
        ShowWindow(FHandle, SW_SHOW);
    if (Focused != nullptr && (Focused == this || ContainsControl(Focused)) &&
        Focused->HandleAllocated())
        ::SetFocus(Focused->Handle());
}

void TWinControl::SetParentWindow(HWND Value)
{
    if (Value == FParentWindow)
        return;
    FParentWindow = Value;
    if (FParent == nullptr && FHandle != 0)
        RecreateWnd();
}

LRESULT TWinControl::MainWndProc(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage Message{Msg, WParam, LParam, 0};
    const HWND Wnd = FHandle;
    try {
        WindowProc(Message);
    } catch (const Exception&) {
        if (Application == nullptr)
            throw;
        Application->HandleException(this);
    }
    if (Msg == WM_NCDESTROY) {
        ControlsByHandle().erase(Wnd);
        if (FindControl(Wnd) == nullptr && FHandle == Wnd)
            FHandle = 0;
    }
    return Message.Result;
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    if (FHandle != 0)
        Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
    else
        TControl::DefaultHandler(Message);
}

void TWinControl::SetTextBuf(const std::string& Value)
{
    if (FHandle == 0) {
        TControl::SetTextBuf(Value);
        return;
    }
    SetWindowText(FHandle, Value); // WMSetText keeps the text and tells CM_TEXTCHANGED
}

void TWinControl::WMSetText(TMessage& Message)
{
    Inherited(Message);
    FText = Message.LParam != 0 ? reinterpret_cast<const char*>(Message.LParam) : "";
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TWinControl::CMVisibleChanged(TMessage&)
{
    if (!FVisible)
        if (TCustomForm* Form = ParentForm())
            Form->DefocusControl(this);
    if (FHandle != 0)
        ShowWindow(FHandle, FVisible ? SW_SHOWNA : SW_HIDE);
    UpdateShowing();
}

void TWinControl::UpdateShowing()
{
    const bool Now = Showing();
    if (Now != FShowing) {
        FShowing = Now;
        Perform(CM_SHOWINGCHANGED, 0, 0);
    }
    for (TControl* C : std::vector<TControl*>(FControls))
        if (auto* Win = dynamic_cast<TWinControl*>(C))
            Win->UpdateShowing();
}

void TWinControl::SetCtl3D(bool Value)
{
    if (Value == FCtl3D)
        return;
    FCtl3D = Value;
    FParentCtl3D = false;
    Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool Value)
{
    if (Value == FParentCtl3D)
        return;
    FParentCtl3D = Value;
    if (Value)
        Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::CMCtl3DChanged(TMessage&)
{
    for (TControl* C : std::vector<TControl*>(FControls))
        C->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
    Invalidate();
}

// WParam non-zero: LParam is the value to take; else the parent's.
void TWinControl::CMParentCtl3DChanged(TMessage& Message)
{
    if (!FParentCtl3D || (Message.WParam == 0 && FParent == nullptr))
        return;
    SetCtl3D(Message.WParam != 0 ? Message.LParam != 0 : FParent->FCtl3D);
    FParentCtl3D = true;
}

// ---- children

void TWinControl::InsertControl(TControl* AControl)
{
    AControl->FParent = this;
    FControls.push_back(AControl);
    if (auto* Win = dynamic_cast<TWinControl*>(AControl)) {
        FTabList.push_back(Win);
        if (FHandle != 0)
            Win->HandleNeeded();
    }
    AControl->ParentFontChanged();
    AControl->ParentColorChanged();
    if (auto* Win = dynamic_cast<TWinControl*>(AControl)) {
        Win->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
        Win->UpdateShowing();
    }
    AControl->UpdateAnchorRules();
    if (AControl->Align() != alNone || RealignsOnEveryChild())
        Realign();
    AControl->Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl)
{
    if (auto* Win = dynamic_cast<TWinControl*>(AControl))
        if (TCustomForm* Form = GetParentForm(this))
            Form->DefocusControl(Win);
    if (auto* Win = dynamic_cast<TWinControl*>(AControl)) {
        Win->DestroyHandle();
        FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), Win), FTabList.end());
    } else {
        AControl->Invalidate();
    }
    ForgetMouseControl(AControl);
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
    AControl->FParent = nullptr;
    if (auto* Win = dynamic_cast<TWinControl*>(AControl);
        Win != nullptr && !ComponentState().Contains(csDestroying))
        Win->UpdateShowing();
    if (AControl->Align() != alNone || RealignsOnEveryChild())
        Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const
{
    for (const TControl* C = Control; C != nullptr; C = C->Parent())
        if (C == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled) const
{
    for (auto It = FControls.rbegin(); It != FControls.rend(); ++It) {
        TControl* C = *It;
        if (C->Visible() && (AllowDisabled || C->Enabled()) && PtInRect(C->BoundsRect(), Pos))
            return C;
    }
    return nullptr;
}

// ---- focus and tab order

int TWinControl::TabOrder() const
{
    if (FParent == nullptr)
        return -1;
    const auto& List = FParent->FTabList;
    return static_cast<int>(std::find(List.begin(), List.end(), this) - List.begin());
}

void TWinControl::SetTabOrder(int Value)
{
    if (FParent == nullptr)
        return;
    auto& List = FParent->FTabList;
    List.erase(std::remove(List.begin(), List.end(), this), List.end());
    const int Index = std::clamp(Value, 0, static_cast<int>(List.size()));
    List.insert(List.begin() + Index, this);
}

void TWinControl::SetTabStop(bool Value)
{
    if (Value == FTabStop)
        return;
    FTabStop = Value;
    if (FHandle != 0) {
        const LONG_PTR Style = GetWindowLong(FHandle, GWL_STYLE);
        SetWindowLong(FHandle, GWL_STYLE, Value ? Style | WS_TABSTOP : Style & ~WS_TABSTOP);
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const
{
    for (TWinControl* Child : FTabList) {
        List.push_back(Child);
        Child->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) const
{
    std::vector<TWinControl*> List;
    GetTabOrderList(List);
    if (List.empty())
        return nullptr;
    const int Count = static_cast<int>(List.size());
    int Start = static_cast<int>(std::find(List.begin(), List.end(), CurControl) - List.begin());
    if (Start == Count)
        Start = GoForward ? Count - 1 : 0;
    int I = Start;
    for (int Step = 0; Step < Count; ++Step) {
        I = GoForward ? (I + 1) % Count : (I + Count - 1) % Count;
        TWinControl* C = List[static_cast<std::size_t>(I)];
        if (C == CurControl)
            break;
        if ((!CheckTabStop || C->TabStop()) && (!CheckParent || C->Parent() == this) &&
            C->CanFocus())
            return C;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop)
{
    if (TWinControl* Next = FindNextControl(CurControl, GoForward, CheckTabStop, false))
        Next->SetFocus();
}

bool TWinControl::CanFocus() const
{
    const TCustomForm* Form = GetParentForm(this);
    if (Form == nullptr)
        return false;
    for (const TControl* C = this; C != Form && C != nullptr; C = C->Parent())
        if (!C->Visible() || !C->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const
{
    return FHandle != 0 && GetFocus() == FHandle;
}

void TWinControl::SetFocus()
{
    if (TCustomForm* Form = GetParentForm(this))
        Form->FocusControl(this);
    else
        ::SetFocus(Handle());
}

void TWinControl::WMSetFocus(TMessage& Message)
{
    Inherited(Message);
}

void TWinControl::WMKillFocus(TMessage& Message)
{
    Inherited(Message);
}

void TWinControl::CMFocusChanged(TMessage& Message)
{
    Broadcast(Message);
}

void TWinControl::CMEnter(TMessage&)
{
    DoEnter();
}

void TWinControl::CMExit(TMessage&)
{
    DoExit();
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TWinControl::Broadcast(TMessage& Message)
{
    for (TControl* C : std::vector<TControl*>(FControls)) {
        C->WindowProc(Message);
        if (Message.Result != 0)
            return;
    }
}

// ---- alignment

void TWinControl::EnableAlign()
{
    if (FAlignLevel > 0 && --FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded))
        Realign();
}

void TWinControl::Realign()
{
    if (FAlignLevel > 0 || FAligning) {
        if (FAlignLevel > 0)
            FControlState.Include(csAlignmentNeeded);
        return;
    }
    FControlState.Exclude(csAlignmentNeeded);
    AlignChildren();
}

void TWinControl::AlignChildren()
{
    FAligning = true;
    try {
        TRect R = ClientRect();
        AdjustClientRect(R);
        AlignControls(nullptr, R);
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
    const TRect Client = ClientRect();
    FLastClientSize = TSize{Client.Width(), Client.Height()};
}

void TWinControl::AlignControls(TControl*, TRect& Rect)
{
    const std::vector<TControl*> Children(FControls);
    std::vector<TAlignItem> Items;
    Items.reserve(Children.size());
    for (const TControl* C : Children) {
        TAlignItem Item;
        Item.Align = C->FAlign;
        Item.Anchors = C->FAnchors;
        Item.Visible = C->FVisible;
        Item.Bounds = C->BoundsRect();
        Item.AnchorOrigin = C->FAnchorOrigin;
        Item.AnchorParentSize = C->FAnchorParentSize;
        Item.MinWidth = C->FConstraints->MinWidth();
        Item.MinHeight = C->FConstraints->MinHeight();
        Item.MaxWidth = C->FConstraints->MaxWidth();
        Item.MaxHeight = C->FConstraints->MaxHeight();
        Items.push_back(Item);
    }
    const TRect Client = ClientRect();
    const TAlignResult Result = AlignBounds(Rect, TSize{Client.Width(), Client.Height()}, Items);
    Rect = Result.Remaining;
    for (std::size_t I = 0; I < Children.size(); ++I) {
        TControl* C = Children[I];
        const TAlignItem& Item = Items[I];
        // A child that stays where it is measures its anchors from here on.
        if (Item.Align == alNone &&
            (Item.AnchorParentSize == TSize{} || Item.Anchors == TAnchors{akLeft, akTop})) {
            if (!C->FAnchoring)
                C->UpdateAnchorRules();
            continue;
        }
        if (Result.Bounds[I] != C->BoundsRect()) {
            TAnchoringScope Scope(C->FAnchoring);
            C->SetBoundsRect(Result.Bounds[I]);
        }
    }
}

// ---- bounds and painting

void TWinControl::Invalidate()
{
    if (FHandle != 0)
        InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update()
{
    if (FHandle != 0)
        UpdateWindow(FHandle);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    ApplyConstraints(AWidth, AHeight);
    if (Bounds(ALeft, ATop, AWidth, AHeight) == BoundsRect())
        return;
    if (FHandle != 0 && !IsIconic(FHandle)) {
        // The window answers with WM_WINDOWPOSCHANGED, which takes the bounds it really got.
        SetWindowPos(FHandle, 0, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

TRect TWinControl::ClientRect() const
{
    if (FHandle != 0) {
        TRect R;
        GetClientRect(FHandle, R);
        return R;
    }
    return TControl::ClientRect();
}

bool TWinControl::Showing() const
{
    if (!FVisible)
        return false;
    if (FParent != nullptr)
        return FParent->Showing();
    return FHandle != 0 && IsWindowVisible(FHandle);
}

void TWinControl::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    if (FHandle != 0)
        EnableWindow(FHandle, Value);
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TWinControl::WMWindowPosChanged(TMessage& Message)
{
    FreeDeviceContexts();
    TRect R;
    if (FHandle != 0 && GetWindowRect(FHandle, R)) {
        const HWND Up = GetParent(FHandle);
        if (Up != 0 && (GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD)) {
            // In the parent's client coordinates, inside its border and scroll bars.
            TPoint P{0, 0};
            ::ClientToScreen(Up, P);
            R = Bounds(R.Left - P.X, R.Top - P.Y, R.Width(), R.Height());
        }
        UpdateBoundsRect(R);
    }
    Inherited(Message);
    // The client area may change with the window's size unchanged (a scroll bar shown or hidden,
    // a menu bar wrapping onto another row): the aligned children follow it.
    if (FHandle != 0) {
        const TRect Client = ClientRect();
        if (!(TSize{Client.Width(), Client.Height()} == FLastClientSize))
            Realign();
    }
}

void TWinControl::CMFontChanged(TMessage&)
{
    for (TControl* C : std::vector<TControl*>(FControls))
        C->Perform(CM_PARENTFONTCHANGED, 0, 0);
    Invalidate();
}

void TWinControl::CMColorChanged(TMessage&)
{
    for (TControl* C : std::vector<TControl*>(FControls))
        C->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    Invalidate();
}

void TWinControl::WMPaint(TMessage& Message)
{
    if (Message.WParam == 0 && FDoubleBuffered) {
        FreeDeviceContexts();
        PaintBuffered();
        return;
    }
    if (Message.WParam != 0) {
        const HDC DC = reinterpret_cast<HDC>(Message.WParam);
        PaintWindow(DC);
        PaintControls(DC, nullptr);
        return;
    }
    FreeDeviceContexts();
    PaintHandler(Message);
}

void TWinControl::PaintHandler(TMessage&)
{
    TPaintStruct Paint;
    const HDC DC = BeginPaint(FHandle, Paint);
    if (DC == nullptr)
        return;
    struct TEnd {
        HWND Wnd;
        TPaintStruct& Paint;
        ~TEnd() { EndPaint(Wnd, Paint); }
    } End{FHandle, Paint};
    PaintWindow(DC);
    PaintControls(DC, nullptr);
}

void TWinControl::PaintControls(HDC DC, TControl* First)
{
    auto It =
        First != nullptr ? std::find(FControls.begin(), FControls.end(), First) : FControls.begin();
    const TRect Clip = DC->ClipRect();
    for (; It != FControls.end(); ++It) {
        TControl* C = *It;
        TRect Overlap;
        if (C->IsWindowed() || !C->Visible() || !IntersectRect(Overlap, C->BoundsRect(), Clip))
            continue;
        // A window's own canvas hands out a part of it; any other (a bitmap, a canvas moved to
        // another origin) is moved and clipped for the control.
        const HDC Sub = DC->WindowOrg() == TPoint{} && DC->ViewportOrg() == TPoint{}
                            ? GetSubDC(DC, C->BoundsRect())
                            : nullptr;
        if (Sub == nullptr) {
            PaintControlOn(DC, C);
            continue;
        }
        struct TRelease {
            HDC DC;
            ~TRelease() { ReleaseDC(0, DC); }
        } Release{Sub};
        C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Sub), 0);
    }
}

// A double-buffered control erases only its bitmap (WParam == LParam); a transparent one shows its
// parent instead.
void TWinControl::WMEraseBkgnd(TMessage& Message)
{
    const HDC DC = reinterpret_cast<HDC>(Message.WParam);
    Message.Result = 1;
    if (FDoubleBuffered && Message.WParam != static_cast<WPARAM>(Message.LParam))
        return;
    if (DC != nullptr && FHandle != 0 &&
        (GetWindowLong(FHandle, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) {
        PaintParentBackground(DC);
        return;
    }
    if (DC != nullptr) {
        DC->Brush()->SetColor(Color());
        DC->Brush()->SetStyle(bsSolid);
        DC->FillRect(ClientRect());
    }
    Message.Result = 1;
}

void TWinControl::WMCommand(TMessage& Message)
{
    if (!DoControlMsg(this, static_cast<HWND>(Message.LParam), Message))
        Inherited(Message);
}

void TWinControl::WMCtlColor(TMessage& Message)
{
    if (!DoControlMsg(this, static_cast<HWND>(Message.LParam), Message))
        Inherited(Message);
}

void TWinControl::WMDrawItem(TMessage& Message)
{
    const auto* Draw = reinterpret_cast<const TDrawItemStruct*>(Message.LParam);
    if (Draw == nullptr || Draw->CtlType == ODT_MENU ||
        !DoControlMsg(this, Draw->hwndItem, Message))
        Inherited(Message);
}

void TWinControl::WMNotify(TMessage& Message)
{
    const auto* Header = reinterpret_cast<const NMHDR*>(Message.LParam);
    if (Header == nullptr || !DoControlMsg(this, Header->hwndFrom, Message))
        Inherited(Message);
}

// Only a scroll bar control names itself in LParam; the window's own bars leave it 0.
void TWinControl::WMScroll(TMessage& Message)
{
    if (Message.LParam == 0 || !DoControlMsg(this, static_cast<HWND>(Message.LParam), Message))
        Inherited(Message);
}

void TWinControl::WMMeasureItem(TMessage& Message)
{
    const auto* Measure = reinterpret_cast<const TMeasureItemStruct*>(Message.LParam);
    if (Measure == nullptr || Measure->CtlType == ODT_MENU ||
        !DoControlMsg(this, static_cast<HWND>(Measure->CtlID), Message))
        Inherited(Message);
}
