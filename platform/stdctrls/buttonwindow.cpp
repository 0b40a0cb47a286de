#include "platform/stdctrls/buttonwindow.h"

#include "platform/gfx/canvas.h"
#include "platform/stdctrls/controlclass.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/ownerdraw.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/window.h"
#include "platform/ui/windowdc.h"

#include <unordered_map>

namespace {

constexpr int CheckSize = 13;

struct TButtonWindowState {
    UINT Check = BST_UNCHECKED;
    bool Pushed = false;
    bool Focus = false;
    bool Tracking = false; // the left button went down on it and holds the capture
    bool SpaceDown = false;
    const TFont* Font = nullptr;
};

std::unordered_map<HWND, TButtonWindowState>& States()
{
    static std::unordered_map<HWND, TButtonWindowState> Map;
    return Map;
}

TButtonWindowState* StateOf(HWND Wnd)
{
    auto Found = States().find(Wnd);
    return Found != States().end() ? &Found->second : nullptr;
}

DWORD ButtonType(HWND Wnd)
{
    return static_cast<DWORD>(GetWindowLong(Wnd, GWL_STYLE)) & BS_TYPEMASK;
}

bool IsCheckType(DWORD Type)
{
    return Type == BS_CHECKBOX || Type == BS_AUTOCHECKBOX || Type == BS_3STATE ||
           Type == BS_AUTO3STATE;
}

bool IsRadioType(DWORD Type)
{
    return Type == BS_RADIOBUTTON || Type == BS_AUTORADIOBUTTON;
}

bool IsPushType(DWORD Type)
{
    return Type == BS_PUSHBUTTON || Type == BS_DEFPUSHBUTTON || Type == BS_OWNERDRAW;
}

void Redraw(HWND Wnd)
{
    InvalidateRect(Wnd, nullptr, true);
}

void Notify(HWND Wnd, UINT Code)
{
    const HWND Parent = GetParent(Wnd);
    if (Parent != 0)
        SendMessage(Parent, WM_COMMAND,
                    MakeWParam(static_cast<unsigned>(GetWindowLong(Wnd, GWL_ID)), Code),
                    static_cast<LPARAM>(Wnd));
}

// The auto styles change their own check before the parent hears of the click.
void Click(HWND Wnd)
{
    TButtonWindowState* S = StateOf(Wnd);
    if (S == nullptr)
        return;
    switch (ButtonType(Wnd)) {
    case BS_AUTOCHECKBOX:
        S->Check = S->Check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        Redraw(Wnd);
        break;
    case BS_AUTO3STATE:
        S->Check = (S->Check + 1) % 3;
        Redraw(Wnd);
        break;
    case BS_AUTORADIOBUTTON:
        if (const HWND Parent = GetParent(Wnd))
            for (HWND Sibling : GetChildWindows(Parent))
                if (Sibling != Wnd && ButtonType(Sibling) == BS_AUTORADIOBUTTON)
                    if (TButtonWindowState* Other = StateOf(Sibling); Other && Other->Check) {
                        Other->Check = BST_UNCHECKED;
                        Redraw(Sibling);
                    }
        S->Check = BST_CHECKED;
        Redraw(Wnd);
        break;
    default:
        break;
    }
    Notify(Wnd, BN_CLICKED);
}

void SetPushed(HWND Wnd, TButtonWindowState& S, bool Value)
{
    if (S.Pushed == Value)
        return;
    S.Pushed = Value;
    Redraw(Wnd);
}

void PaintPush(TCanvas* C, const TRect& Client, DWORD Style, const TButtonWindowState& S,
               const std::string& Text, bool Enabled)
{
    TRect R = Client;
    C->Brush()->SetColor(clBtnFace);
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(R);
    if ((Style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        C->Brush()->SetColor(clWindowFrame);
        C->FrameRect(R);
        InflateRect(R, -1, -1);
    }
    if (S.Pushed && (Style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        C->Brush()->SetColor(clBtnShadow);
        C->FrameRect(R);
    } else {
        C->DrawFrameControl(R, DFC_BUTTON, DFCS_BUTTONPUSH | (S.Pushed ? DFCS_PUSHED : 0u));
    }
    TRect T = Client;
    InflateRect(T, -4, -4);
    if (S.Pushed)
        OffsetRect(T, 1, 1);
    C->Brush()->SetStyle(bsClear);
    DrawButtonText(C, Text, T, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Enabled);
    if (S.Focus) {
        TRect F = Client;
        InflateRect(F, -4, -4);
        C->Brush()->SetStyle(bsSolid);
        C->DrawFocusRect(F);
    }
}

void PaintCheck(TCanvas* C, const TRect& Client, DWORD Style, const TButtonWindowState& S,
                const std::string& Text, bool Enabled)
{
    const DWORD Type = Style & BS_TYPEMASK;
    const bool LeftText = Style & BS_LEFTTEXT;
    const int Top = (Client.Height() - CheckSize) / 2;
    const TRect Box = LeftText ? Bounds(Client.Right - CheckSize, Top, CheckSize, CheckSize)
                               : Bounds(Client.Left, Top, CheckSize, CheckSize);
    unsigned State = IsRadioType(Type) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    // Grayed: a gray mark on the face colour, as a disabled check box shows its mark.
    if (S.Check == BST_INDETERMINATE)
        State = DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE;
    else if (S.Check == BST_CHECKED)
        State |= DFCS_CHECKED;
    if (S.Pushed)
        State |= DFCS_PUSHED;
    if (!Enabled)
        State |= DFCS_INACTIVE;
    C->DrawFrameControl(Box, DFC_BUTTON, State);
    TRect T = LeftText ? Rect(Client.Left, Client.Top, Box.Left - 4, Client.Bottom)
                       : Rect(Box.Right + 4, Client.Top, Client.Right, Client.Bottom);
    const unsigned Flags = (Style & BS_MULTILINE) ? DT_WORDBREAK | (LeftText ? DT_RIGHT : DT_LEFT)
                                                  : DT_SINGLELINE | (LeftText ? DT_RIGHT : DT_LEFT);
    // The text's own rectangle, centred in the height, is where the focus frame goes.
    TRect Calc = T;
    C->DrawText(Text, Calc, Flags | DT_CALCRECT);
    const int Shift = (T.Height() - Calc.Height()) / 2;
    TRect Placed = Rect(LeftText ? T.Right - Calc.Width() : T.Left, T.Top + Shift,
                        LeftText ? T.Right : T.Left + Calc.Width(), T.Top + Shift + Calc.Height());
    C->Brush()->SetStyle(bsClear);
    TRect Draw = Placed;
    DrawButtonText(C, Text, Draw, Flags, Enabled);
    if (S.Focus && !Text.empty()) {
        InflateRect(Placed, 1, 1);
        C->Brush()->SetStyle(bsSolid);
        C->DrawFocusRect(Placed);
    }
}

void PaintGroup(TCanvas* C, const TRect& Client, const std::string& Text, bool Enabled)
{
    const int Half = C->TextHeight("0") / 2;
    TRect Caption;
    if (!Text.empty()) {
        Caption = Rect(8, 0, Client.Right - 8, Client.Bottom);
        C->DrawText(Text, Caption, DT_SINGLELINE | DT_CALCRECT);
        Caption.Right += 2;
    }
    C->SaveDC();
    if (!Text.empty())
        C->ExcludeClipRect(Caption.Left - 2, Caption.Top, Caption.Right, Caption.Bottom);
    TRect Frame = Rect(Client.Left, Client.Top + Half, Client.Right, Client.Bottom);
    C->DrawEdge(Frame, EDGE_ETCHED, BF_RECT);
    C->RestoreDC(-1);
    if (!Text.empty()) {
        C->Brush()->SetStyle(bsClear);
        TRect T = Caption;
        DrawButtonText(C, Text, T, DT_SINGLELINE | DT_LEFT, Enabled);
    }
}

void OwnerDraw(HWND Wnd, TCanvas* C, const TRect& Client, const TButtonWindowState& S)
{
    TDrawItemStruct Item;
    Item.CtlType = ODT_BUTTON;
    Item.CtlID = static_cast<UINT>(GetWindowLong(Wnd, GWL_ID));
    Item.itemAction = ODA_DRAWENTIRE;
    if (S.Pushed)
        Item.itemState |= ODS_SELECTED;
    if (S.Focus)
        Item.itemState |= ODS_FOCUS;
    if (!IsWindowEnabled(Wnd))
        Item.itemState |= ODS_DISABLED;
    if (S.Check == BST_CHECKED)
        Item.itemState |= ODS_CHECKED;
    Item.hwndItem = Wnd;
    Item.hDC = C;
    Item.rcItem = Client;
    if (const HWND Parent = GetParent(Wnd))
        SendMessage(Parent, WM_DRAWITEM, Item.CtlID, reinterpret_cast<LPARAM>(&Item));
}

void Paint(HWND Wnd, TCanvas* C)
{
    TButtonWindowState* S = StateOf(Wnd);
    if (S == nullptr || C == nullptr)
        return;
    const TButtonWindowState Now = *S; // drawing may call out; work on a copy
    TRect Client;
    GetClientRect(Wnd, Client);
    const DWORD Style = static_cast<DWORD>(GetWindowLong(Wnd, GWL_STYLE));
    const DWORD Type = Style & BS_TYPEMASK;
    if (Type == BS_OWNERDRAW) {
        OwnerDraw(Wnd, C, Client, Now);
        return;
    }
    C->SaveDC();
    if (Now.Font != nullptr)
        C->SetFont(Now.Font);
    const std::string Text = GetWindowText(Wnd);
    const bool Enabled = IsWindowEnabled(Wnd);
    if (Type == BS_GROUPBOX)
        PaintGroup(C, Client, Text, Enabled);
    else if (IsCheckType(Type) || IsRadioType(Type))
        PaintCheck(C, Client, Style, Now, Text, Enabled);
    else
        PaintPush(C, Client, Style, Now, Text, Enabled);
    C->RestoreDC(-1);
}

LRESULT SetCheck(HWND Wnd, TButtonWindowState& S, WPARAM Value)
{
    const DWORD Type = ButtonType(Wnd);
    UINT Check = static_cast<UINT>(Value) & 3;
    if (Check == BST_INDETERMINATE && Type != BS_3STATE && Type != BS_AUTO3STATE &&
        Type != BS_OWNERDRAW)
        Check = BST_CHECKED;
    if (Check != S.Check) {
        S.Check = Check;
        Redraw(Wnd);
    }
    return 0;
}

UINT DialogCode(HWND Wnd)
{
    const DWORD Type = ButtonType(Wnd);
    if (Type == BS_GROUPBOX)
        return DLGC_STATIC;
    if (IsRadioType(Type))
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    if (Type == BS_DEFPUSHBUTTON)
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    if (IsPushType(Type))
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    return DLGC_BUTTON;
}

bool ArrowKeyDown()
{
    return GetKeyState(VK_LEFT) < 0 || GetKeyState(VK_RIGHT) < 0 || GetKeyState(VK_UP) < 0 ||
           GetKeyState(VK_DOWN) < 0;
}

} // namespace

void DrawButtonText(TCanvas* Canvas, const std::string& Text, TRect& R, unsigned Flags,
                    bool Enabled)
{
    if (Text.empty())
        return;
    if (Enabled) {
        Canvas->DrawText(Text, R, Flags);
        return;
    }
    const TColor Old = Canvas->Font()->Color();
    TRect Shadow = R;
    OffsetRect(Shadow, 1, 1);
    Canvas->Font()->SetColor(clBtnHighlight);
    Canvas->DrawText(Text, Shadow, Flags);
    Canvas->Font()->SetColor(clGrayText);
    Canvas->DrawText(Text, R, Flags);
    Canvas->Font()->SetColor(Old);
}

void RegisterButtonClass()
{
    RegisterControlClass(ButtonClassName, CS_DBLCLKS | CS_PARENTDC, ButtonWndProc);
}

LRESULT ButtonWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_NCCREATE)
        States()[Wnd];
    TButtonWindowState* S = StateOf(Wnd);
    if (S == nullptr || Msg == WM_NCDESTROY) {
        States().erase(Wnd);
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    const DWORD Type = ButtonType(Wnd);
    switch (Msg) {
    case WM_PAINT: {
        if (WParam != 0) {
            Paint(Wnd, reinterpret_cast<TCanvas*>(WParam));
            return 0;
        }
        TPaintStruct PS;
        TCanvas* DC = BeginPaint(Wnd, PS);
        Paint(Wnd, DC);
        EndPaint(Wnd, PS);
        return 0;
    }
    case WM_SETFONT:
        S->Font = reinterpret_cast<const TFont*>(WParam);
        if (LParam != 0)
            Redraw(Wnd);
        return 0;
    case WM_GETDLGCODE:
        return DialogCode(Wnd);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (Type == BS_GROUPBOX)
            break;
        S->Tracking = true;
        if (GetFocus() != Wnd)
            SetFocus(Wnd);
        if ((S = StateOf(Wnd)) == nullptr || !S->Tracking)
            return 0;
        SetCapture(Wnd);
        SetPushed(Wnd, *S, true);
        return 0;
    case WM_MOUSEMOVE:
        if (S->Tracking) {
            TRect Client;
            GetClientRect(Wnd, Client);
            SetPushed(Wnd, *S, PtInRect(Client, TPoint{GetXLParam(LParam), GetYLParam(LParam)}));
        }
        return 0;
    case WM_LBUTTONUP: {
        if (!S->Tracking)
            return 0;
        const bool Clicked = S->Pushed;
        S->Tracking = false;
        SetPushed(Wnd, *S, false);
        if (GetCapture() == Wnd)
            ReleaseCapture();
        if (Clicked)
            Click(Wnd);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (S->Tracking && static_cast<HWND>(LParam) != Wnd) {
            S->Tracking = false;
            SetPushed(Wnd, *S, false);
        }
        return 0;
    case WM_KEYDOWN:
        if (WParam == VK_SPACE && Type != BS_GROUPBOX) {
            S->SpaceDown = true;
            SetPushed(Wnd, *S, true);
            return 0;
        }
        break;
    case WM_KEYUP:
        if (WParam == VK_SPACE && S->SpaceDown) {
            S->SpaceDown = false;
            const bool Clicked = S->Pushed;
            SetPushed(Wnd, *S, false);
            if (Clicked)
                Click(Wnd);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        S->Focus = true;
        Redraw(Wnd);
        // Arrow keys moving through radio buttons check the one they reach.
        if (IsRadioType(Type) && S->Check == BST_UNCHECKED && !S->Tracking && ArrowKeyDown())
            Click(Wnd);
        return 0;
    case WM_KILLFOCUS:
        S->Focus = false;
        S->SpaceDown = false;
        if (!S->Tracking)
            S->Pushed = false;
        Redraw(Wnd);
        return 0;
    case WM_ENABLE:
        Redraw(Wnd);
        break;
    case WM_SETTEXT: {
        const LRESULT Result = DefWindowProc(Wnd, Msg, WParam, LParam);
        Redraw(Wnd);
        return Result;
    }
    case BM_GETCHECK:
        return IsPushType(Type) && Type != BS_OWNERDRAW ? 0 : static_cast<LRESULT>(S->Check);
    case BM_SETCHECK:
        if (IsCheckType(Type) || IsRadioType(Type) || Type == BS_OWNERDRAW)
            return SetCheck(Wnd, *S, WParam);
        return 0;
    case BM_GETSTATE:
        return static_cast<LRESULT>(S->Check | (S->Pushed ? BST_PUSHED : 0u) |
                                    (S->Focus ? BST_FOCUS : 0u));
    case BM_SETSTATE:
        SetPushed(Wnd, *S, WParam != 0);
        return 0;
    case BM_SETSTYLE: {
        SetControlStyleBits(Wnd, static_cast<DWORD>(WParam));
        if (LParam != 0)
            Redraw(Wnd);
        return 0;
    }
    case BM_CLICK:
        if (Type != BS_GROUPBOX && IsWindowEnabled(Wnd))
            Click(Wnd);
        return 0;
    default:
        break;
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}
