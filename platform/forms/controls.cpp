#include "platform/forms/controls.h"

#include "platform/forms/form.h"
#include "platform/forms/windowdc.h"
#include "platform/rtl/strings.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

namespace {

TControl* CaptureControl = nullptr;
TControl* MouseControl = nullptr; // the control under the mouse, for CM_MOUSEENTER/LEAVE

std::unordered_map<HWND, TWinControl*>& ControlsByHandle()
{
    static std::unordered_map<HWND, TWinControl*> Map;
    return Map;
}

std::vector<TControlCanvas*>& HeldCanvases()
{
    static std::vector<TControlCanvas*> List;
    return List;
}

bool IsMouseMessage(UINT Msg)
{
    return Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST && Msg != WM_MOUSEWHEEL;
}

TShiftState MouseShift(WPARAM Keys)
{
    TShiftState Shift;
    if (Keys & MK_SHIFT)
        Shift.Include(ssShift);
    if (Keys & MK_CONTROL)
        Shift.Include(ssCtrl);
    if (Keys & MK_LBUTTON)
        Shift.Include(ssLeft);
    if (Keys & MK_RBUTTON)
        Shift.Include(ssRight);
    if (Keys & MK_MBUTTON)
        Shift.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0)
        Shift.Include(ssAlt);
    return Shift;
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

} // namespace

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

TShiftState KeyDataToShiftState(LPARAM KeyData)
{
    TShiftState Shift;
    if (GetKeyState(VK_SHIFT) < 0)
        Shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        Shift.Include(ssCtrl);
    if (KeyData & (1 << 29))
        Shift.Include(ssAlt);
    return Shift;
}

TShiftState KeyboardStateToShiftState()
{
    TShiftState Shift;
    if (GetKeyState(VK_SHIFT) < 0)
        Shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        Shift.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0)
        Shift.Include(ssAlt);
    return Shift;
}

bool IsAccel(unsigned Key, const std::string& Caption)
{
    for (std::size_t I = 0; I + 1 < Caption.size(); ++I) {
        if (Caption[I] != '&')
            continue;
        if (Caption[I + 1] == '&') {
            ++I;
            continue;
        }
        return std::toupper(static_cast<unsigned char>(Caption[I + 1])) ==
               std::toupper(static_cast<int>(Key & 0xFF));
    }
    return false;
}

TControl* GetCaptureControl()
{
    return CaptureControl;
}

void SetCaptureControl(TControl* Control)
{
    CaptureControl = nullptr;
    if (Control == nullptr) {
        ReleaseCapture();
        return;
    }
    if (auto* Win = dynamic_cast<TWinControl*>(Control)) {
        if (Win->HandleAllocated())
            SetCapture(Win->Handle());
        return;
    }
    if (Control->Parent() != nullptr && Control->Parent()->HandleAllocated()) {
        CaptureControl = Control;
        SetCapture(Control->Parent()->Handle());
    }
}

TWinControl* FindControl(HWND Wnd)
{
    auto Found = ControlsByHandle().find(Wnd);
    return Found != ControlsByHandle().end() ? Found->second : nullptr;
}

void FreeDeviceContexts()
{
    const auto Held = HeldCanvases();
    for (TControlCanvas* Canvas : Held)
        Canvas->FreeHandle();
}

// ---- TSizeConstraints

void TSizeConstraints::SetMinWidth(int Value)
{
    FMinWidth = std::max(Value, 0);
    Changed();
}
void TSizeConstraints::SetMinHeight(int Value)
{
    FMinHeight = std::max(Value, 0);
    Changed();
}
void TSizeConstraints::SetMaxWidth(int Value)
{
    FMaxWidth = std::max(Value, 0);
    Changed();
}
void TSizeConstraints::SetMaxHeight(int Value)
{
    FMaxHeight = std::max(Value, 0);
    Changed();
}

void TSizeConstraints::Assign(const TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TSizeConstraints*>(Source)) {
        FMinWidth = Other->FMinWidth;
        FMinHeight = Other->FMinHeight;
        FMaxWidth = Other->FMaxWidth;
        FMaxHeight = Other->FMaxHeight;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TSizeConstraints::Changed()
{
    if (OnChange)
        OnChange(this);
}

// ---- TControlCanvas

TControlCanvas::TControlCanvas()
{
    OnChange = [this](TObject*) { Drawn(); };
}

TControlCanvas::~TControlCanvas()
{
    FreeHandle();
}

void TControlCanvas::SetControl(TControl* Value)
{
    FreeHandle();
    FControl = Value;
}

void TControlCanvas::SetHandle(HDC DC)
{
    FreeHandle();
    FPainting = DC != nullptr;
    SetDevice(DC != nullptr ? DC->Device() : nullptr);
    if (DC == nullptr)
        return;
    TRegion Clip;
    if (DC->GetClipRgn(Clip) == 1)
        SelectClipRgn(&Clip);
    if (DC->MapMode() == MM_TEXT) {
        SetWindowOrgEx(DC->WindowOrg().X, DC->WindowOrg().Y);
        SetViewportOrgEx(DC->ViewportOrg().X, DC->ViewportOrg().Y);
    }
}

void TControlCanvas::Prepare()
{
    if (FPainting || FOwnDC != nullptr || FControl == nullptr)
        return;
    if (auto* Win = dynamic_cast<TWinControl*>(FControl)) {
        if (!Win->HandleAllocated())
            return;
        FOwnDC = GetDC(Win->Handle());
        if (FOwnDC != nullptr)
            SetDevice(FOwnDC->Device());
    } else if (FControl->Parent() != nullptr && FControl->Parent()->HandleAllocated()) {
        FOwnDC = GetDC(FControl->Parent()->Handle());
        if (FOwnDC != nullptr)
            FSubDC = GetSubDC(FOwnDC, FControl->BoundsRect());
        if (FSubDC != nullptr)
            SetDevice(FSubDC->Device());
    }
    if (Device() == nullptr) {
        FreeHandle();
        return;
    }
    TRegion Clip;
    if ((FSubDC != nullptr ? FSubDC : FOwnDC)->GetClipRgn(Clip) == 1)
        SelectClipRgn(&Clip);
    HeldCanvases().push_back(this);
}

void TControlCanvas::FreeHandle()
{
    if (FOwnDC == nullptr && !FPainting)
        return;
    auto& Held = HeldCanvases();
    Held.erase(std::remove(Held.begin(), Held.end(), this), Held.end());
    SetDevice(nullptr);
    FPainting = false;
    if (FSubDC != nullptr)
        ReleaseDC(0, FSubDC);
    if (FOwnDC != nullptr)
        ReleaseDC(0, FOwnDC);
    FSubDC = nullptr;
    FOwnDC = nullptr;
}

void TControlCanvas::Drawn()
{
    if (FOwnDC != nullptr)
        FlushDC(FOwnDC);
}

// ---- TControl

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
    if (CaptureControl == this)
        SetCaptureControl(nullptr);
    if (MouseControl == this)
        MouseControl = nullptr;
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
    if (FConstraints->MinWidth() > 0)
        AWidth = std::max(AWidth, FConstraints->MinWidth());
    if (FConstraints->MaxWidth() > 0)
        AWidth = std::min(AWidth, FConstraints->MaxWidth());
    if (FConstraints->MinHeight() > 0)
        AHeight = std::max(AHeight, FConstraints->MinHeight());
    if (FConstraints->MaxHeight() > 0)
        AHeight = std::min(AHeight, FConstraints->MaxHeight());
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    ApplyConstraints(AWidth, AHeight);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    const TRect Old = BoundsRect();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
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
    if (FParent != nullptr && FAlign != alNone)
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
    if (auto* Form = dynamic_cast<TCustomForm*>(this)) {
        Form->SetVisibleState(Value);
        return;
    }
    if (Value == FVisible)
        return;
    VisibleChanging();
    FVisible = Value;
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
    if (auto* Win = dynamic_cast<TWinControl*>(this)) {
        if (!Value)
            if (TCustomForm* Form = ParentForm())
                Form->DefocusControl(Win);
        if (Win->HandleAllocated())
            ShowWindow(Win->FHandle, Value ? SW_SHOWNA : SW_HIDE);
    } else if (FParent != nullptr && FParent->HandleAllocated()) {
        const TRect R = BoundsRect();
        InvalidateRect(FParent->Handle(), &R, true);
    }
    if (FParent != nullptr && FAlign != alNone)
        FParent->Realign();
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
    auto* Win = dynamic_cast<TWinControl*>(this);
    if (Win != nullptr && Win->HandleAllocated()) {
        SetWindowText(Win->FHandle, Value); // WM_SETTEXT keeps FText and tells CM_TEXTCHANGED
        return;
    }
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

void TControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FControlStyle.Contains(csCaptureMouse))
            SetMouseCapture(true);
        if (FControlStyle.Contains(csClickEvents))
            FControlState.Include(csClicked);
        FControlState.Include(csLButtonDown);
        break;
    case WM_LBUTTONUP:
        FControlState.Exclude(csLButtonDown);
        break;
    default:
        break;
    }
    Dispatch(Message);
}

void TControl::HandleMouse(TMessage& Message)
{
    const int X = GetXLParam(Message.LParam);
    const int Y = GetYLParam(Message.LParam);
    const TShiftState Shift = MouseShift(Message.WParam);
    switch (Message.Msg) {
    case WM_MOUSEMOVE:
        MouseMove(Shift, X, Y);
        break;
    case WM_LBUTTONDOWN:
        MouseDown(mbLeft, Shift, X, Y);
        break;
    case WM_RBUTTONDOWN:
        MouseDown(mbRight, Shift, X, Y);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(mbMiddle, Shift, X, Y);
        break;
    case WM_LBUTTONDBLCLK:
        if (FControlStyle.Contains(csClickEvents))
            DblClick();
        MouseDown(mbLeft, Shift + TShiftState{ssDouble}, X, Y);
        break;
    case WM_RBUTTONDBLCLK:
        MouseDown(mbRight, Shift + TShiftState{ssDouble}, X, Y);
        break;
    case WM_MBUTTONDBLCLK:
        MouseDown(mbMiddle, Shift + TShiftState{ssDouble}, X, Y);
        break;
    case WM_LBUTTONUP: {
        if (FControlStyle.Contains(csCaptureMouse))
            SetMouseCapture(false);
        const bool Clicked = FControlState.Contains(csClicked);
        FControlState.Exclude(csClicked);
        if (Clicked && PtInRect(ClientRect(), TPoint{X, Y}))
            Click();
        MouseUp(mbLeft, Shift, X, Y);
        break;
    }
    case WM_RBUTTONUP:
        MouseUp(mbRight, Shift, X, Y);
        break;
    case WM_MBUTTONUP:
        MouseUp(mbMiddle, Shift, X, Y);
        break;
    default:
        break;
    }
}

void TControl::Dispatch(TMessage& Message)
{
    if (IsMouseMessage(Message.Msg)) {
        HandleMouse(Message);
        return;
    }
    switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    case CM_FONTCHANGED:
        Invalidate();
        break;
    case CM_PARENTFONTCHANGED:
        ParentFontChanged();
        break;
    case CM_PARENTCOLORCHANGED:
        ParentColorChanged();
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (FParent != nullptr)
            FParent->Perform(Message.Msg, 0, reinterpret_cast<LPARAM>(this));
        break;
    default:
        DefaultHandler(Message);
        break;
    }
}

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

bool TControl::MouseCapture() const
{
    if (auto* Win = dynamic_cast<const TWinControl*>(this))
        return Win->HandleAllocated() && GetCapture() == Win->FHandle;
    return CaptureControl == this;
}

void TControl::SetMouseCapture(bool Value)
{
    if (MouseCapture() == Value)
        return;
    SetCaptureControl(Value ? this : nullptr);
}

TCustomForm* TControl::ParentForm() const
{
    return GetParentForm(this);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

// ---- TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    Destroying();
    DestroyHandle();
    while (!FControls.empty()) {
        TControl* Child = FControls.back();
        RemoveControl(Child);
        delete Child;
    }
}

HWND TWinControl::Handle()
{
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded()
{
    if (FHandle != 0)
        return;
    if (FParent != nullptr)
        FParent->HandleNeeded();
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
    if (FHandle == 0)
        return;
    const bool WasVisible = IsWindowVisible(FHandle);
    DestroyHandle();
    HandleNeeded();
    if (FParent == nullptr && WasVisible)
        ShowWindow(FHandle, SW_SHOW);
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
    AControl->UpdateAnchorRules();
    if (AControl->Align() != alNone)
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
    if (CaptureControl == AControl)
        SetCaptureControl(nullptr);
    if (MouseControl == AControl)
        MouseControl = nullptr;
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
    AControl->FParent = nullptr;
    if (AControl->Align() != alNone)
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
    static const TAlign Order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign Kind : Order) {
        std::vector<TControl*> List;
        for (TControl* C : FControls)
            if (C->Align() == Kind && C->Visible())
                List.push_back(C);
        // Controls of one side keep the order they stand in along that side.
        std::stable_sort(List.begin(), List.end(), [Kind](const TControl* A, const TControl* B) {
            switch (Kind) {
            case alTop:
                return A->Top() < B->Top();
            case alBottom:
                return A->Top() + A->Height() > B->Top() + B->Height();
            case alLeft:
                return A->Left() < B->Left();
            case alRight:
                return A->Left() + A->Width() > B->Left() + B->Width();
            default:
                return false;
            }
        });
        for (TControl* C : List) {
            TAnchoringScope Scope(C->FAnchoring);
            const int W = std::max(Rect.Width(), 0);
            const int H = std::max(Rect.Height(), 0);
            switch (Kind) {
            case alTop:
                C->SetBounds(Rect.Left, Rect.Top, W, C->Height());
                Rect.Top += C->Height();
                break;
            case alBottom:
                C->SetBounds(Rect.Left, Rect.Bottom - C->Height(), W, C->Height());
                Rect.Bottom -= C->Height();
                break;
            case alLeft:
                C->SetBounds(Rect.Left, Rect.Top, C->Width(), H);
                Rect.Left += C->Width();
                break;
            case alRight:
                C->SetBounds(Rect.Right - C->Width(), Rect.Top, C->Width(), H);
                Rect.Right -= C->Width();
                break;
            default:
                C->SetBounds(Rect.Left, Rect.Top, W, H);
                break;
            }
        }
    }
    AnchorChildren();
}

void TWinControl::AnchorChildren()
{
    const TRect Client = ClientRect();
    const TSize Now{Client.Width(), Client.Height()};
    for (TControl* C : std::vector<TControl*>(FControls)) {
        if (C->Align() != alNone)
            continue;
        const TAnchors A = C->Anchors();
        if (C->FAnchorParentSize == TSize{} || A == TAnchors{akLeft, akTop}) {
            if (!C->FAnchoring)
                C->UpdateAnchorRules();
            continue;
        }
        const TRect O = C->FAnchorOrigin;
        const int DX = Now.cx - C->FAnchorParentSize.cx;
        const int DY = Now.cy - C->FAnchorParentSize.cy;
        auto Place = [](bool Near, bool Far, int Start, int Size, int Delta, int& NewStart,
                        int& NewSize) {
            NewStart = Start;
            NewSize = Size;
            if (Near && Far)
                NewSize = Size + Delta;
            else if (Far)
                NewStart = Start + Delta;
            else if (!Near)
                NewStart = Start + Delta / 2;
        };
        int L, W, T, H;
        Place(A.Contains(akLeft), A.Contains(akRight), O.Left, O.Width(), DX, L, W);
        Place(A.Contains(akTop), A.Contains(akBottom), O.Top, O.Height(), DY, T, H);
        TAnchoringScope Scope(C->FAnchoring);
        C->SetBounds(L, T, std::max(W, 0), std::max(H, 0));
    }
}

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
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
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
            TRect P;
            GetWindowRect(Up, P);
            R = Bounds(R.Left - P.Left, R.Top - P.Top, R.Width(), R.Height());
        }
        if (R != BoundsRect()) {
            const TRect Old = BoundsRect();
            FLeft = R.Left;
            FTop = R.Top;
            FWidth = R.Width();
            FHeight = R.Height();
            BoundsChanged(Old, !FAnchoring);
        }
    }
    DefaultHandler(Message);
}

void TWinControl::RouteMouse(TMessage& Message)
{
    const TPoint P{GetXLParam(Message.LParam), GetYLParam(Message.LParam)};
    TControl* Target = nullptr;
    if (CaptureControl != nullptr && CaptureControl->Parent() == this) {
        Target = CaptureControl;
    } else if (GetCapture() != FHandle) {
        // Without the capture, a control without a window under the point takes the message.
        TControl* At = ControlAtPos(P, false);
        if (At != nullptr && !At->IsWindowed())
            Target = At;
    }
    if (Message.Msg == WM_MOUSEMOVE)
        TrackMouseControl(Target != nullptr ? Target : this);
    if (Target == nullptr) {
        TControl::WndProc(Message);
        return;
    }
    TMessage Moved = Message;
    Moved.LParam = MakeLParam(P.X - Target->Left(), P.Y - Target->Top());
    Target->WindowProc(Moved);
    Message.Result = Moved.Result;
}

void TWinControl::TrackMouseControl(TControl* Control)
{
    if (Control == MouseControl)
        return;
    TControl* Old = MouseControl;
    MouseControl = Control;
    if (Old != nullptr)
        Old->Perform(CM_MOUSELEAVE, 0, 0);
    if (Control != nullptr && MouseControl == Control)
        Control->Perform(CM_MOUSEENTER, 0, 0);
}

void TWinControl::WndProc(TMessage& Message)
{
    if (IsMouseMessage(Message.Msg)) {
        RouteMouse(Message);
        return;
    }
    if (Message.Msg == WM_MOUSELEAVE) {
        if (MouseControl != nullptr && (MouseControl == this || MouseControl->Parent() == this))
            TrackMouseControl(nullptr);
        return;
    }
    if (Message.Msg == WM_SETFOCUS) {
        if (TCustomForm* Form = GetParentForm(this))
            if (!Form->SetFocusedControl(this))
                return;
    }
    TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        WMPaint(Message);
        return;
    case WM_ERASEBKGND:
        WMEraseBkgnd(Message);
        return;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(Message);
        return;
    case WM_SETFOCUS:
        WMSetFocus(Message);
        return;
    case WM_KILLFOCUS:
        WMKillFocus(Message);
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!DoKeyDown(Message))
            DefaultHandler(Message);
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (!DoKeyUp(Message))
            DefaultHandler(Message);
        return;
    case WM_CHAR:
        if (!DoKeyPress(Message))
            DefaultHandler(Message);
        return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        CNKeyDown(Message);
        return;
    case CN_CHAR:
        CNChar(Message);
        return;
    case CN_SYSCHAR:
        CNSysChar(Message);
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
        Broadcast(Message);
        return;
    case CM_ENTER:
        DoEnter();
        return;
    case CM_EXIT:
        DoExit();
        return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
        for (TControl* C : std::vector<TControl*>(FControls))
            C->Perform(Message.Msg == CM_FONTCHANGED ? CM_PARENTFONTCHANGED : CM_PARENTCOLORCHANGED,
                       0, 0);
        Invalidate();
        return;
    case WM_SETTEXT:
        DefaultHandler(Message);
        FText = Message.LParam != 0 ? reinterpret_cast<const char*>(Message.LParam) : "";
        Perform(CM_TEXTCHANGED, 0, 0);
        return;
    default:
        TControl::Dispatch(Message);
        return;
    }
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    if (FHandle != 0)
        Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
    else
        TControl::DefaultHandler(Message);
}

void TWinControl::Broadcast(TMessage& Message)
{
    for (TControl* C : std::vector<TControl*>(FControls)) {
        C->WindowProc(Message);
        if (Message.Result != 0)
            return;
    }
}

void TWinControl::WMPaint(TMessage& Message)
{
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
        const HDC Sub = GetSubDC(DC, C->BoundsRect());
        if (Sub == nullptr)
            continue;
        struct TRelease {
            HDC DC;
            ~TRelease() { ReleaseDC(0, DC); }
        } Release{Sub};
        C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Sub), 0);
    }
}

void TWinControl::WMEraseBkgnd(TMessage& Message)
{
    const HDC DC = reinterpret_cast<HDC>(Message.WParam);
    if (DC != nullptr) {
        DC->Brush()->SetColor(Color());
        DC->Brush()->SetStyle(bsSolid);
        DC->FillRect(ClientRect());
    }
    Message.Result = 1;
}

void TWinControl::WMSetFocus(TMessage& Message)
{
    DefaultHandler(Message);
}

void TWinControl::WMKillFocus(TMessage& Message)
{
    DefaultHandler(Message);
}

void TWinControl::CNKeyDown(TMessage& Message)
{
    Message.Result = 1;
    UINT Mask = 0;
    switch (Message.WParam) {
    case VK_TAB:
        Mask = DLGC_WANTTAB;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        Mask = DLGC_WANTARROWS;
        break;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL:
        Mask = DLGC_WANTALLKEYS;
        break;
    default:
        break;
    }
    if (Mask != 0 && Perform(CM_WANTSPECIALKEY, Message.WParam, Message.LParam) == 0 &&
        (Perform(WM_GETDLGCODE, 0, 0) & Mask) == 0) {
        if (TCustomForm* Form = GetParentForm(this))
            if (Form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0)
                return;
    }
    Message.Result = 0;
}

void TWinControl::CNChar(TMessage& Message)
{
    Message.Result = 1;
    if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0)
        if (TCustomForm* Form = GetParentForm(this))
            if (Form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
                return;
    Message.Result = 0;
}

void TWinControl::CNSysChar(TMessage& Message)
{
    Message.Result = 0;
    if (Message.WParam != VK_SPACE)
        if (TCustomForm* Form = GetParentForm(this))
            Message.Result = Form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
}

bool TWinControl::DoKeyDown(TMessage& Message)
{
    TCustomForm* Form = GetParentForm(this);
    if (Form != nullptr && Form != this && Form->KeyPreview() && Form->DoKeyDown(Message))
        return true;
    if (FControlStyle.Contains(csNoStdEvents))
        return false;
    Word Key = static_cast<Word>(Message.WParam);
    KeyDown(Key, KeyDataToShiftState(Message.LParam));
    Message.WParam = Key;
    return Key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message)
{
    TCustomForm* Form = GetParentForm(this);
    if (Form != nullptr && Form != this && Form->KeyPreview() && Form->DoKeyUp(Message))
        return true;
    if (FControlStyle.Contains(csNoStdEvents))
        return false;
    Word Key = static_cast<Word>(Message.WParam);
    KeyUp(Key, KeyDataToShiftState(Message.LParam));
    Message.WParam = Key;
    return Key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message)
{
    TCustomForm* Form = GetParentForm(this);
    if (Form != nullptr && Form != this && Form->KeyPreview() && Form->DoKeyPress(Message))
        return true;
    if (FControlStyle.Contains(csNoStdEvents))
        return false;
    char Key = static_cast<char>(Message.WParam & 0xFF);
    KeyPress(Key);
    Message.WParam = static_cast<unsigned char>(Key);
    return Key == 0;
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
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

// ---- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>())
{
    FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl()
{
    FCanvas->FreeHandle();
}

TCanvas* TGraphicControl::Canvas() const
{
    FCanvas->Prepare();
    return FCanvas.get();
}

void TGraphicControl::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_PAINT && Message.WParam != 0) {
        TControlCanvas::TPaintScope Scope(FCanvas.get(), reinterpret_cast<HDC>(Message.WParam));
        Paint();
        return;
    }
    TControl::Dispatch(Message);
}

// ---- TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>())
{
    FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl()
{
    FCanvas->FreeHandle();
    DestroyHandle();
}

TCanvas* TCustomControl::Canvas() const
{
    FCanvas->Prepare();
    return FCanvas.get();
}

void TCustomControl::Paint()
{
    if (OnPaint)
        OnPaint(this);
}

void TCustomControl::PaintWindow(HDC DC)
{
    TControlCanvas::TPaintScope Scope(FCanvas.get(), DC);
    Paint();
}
