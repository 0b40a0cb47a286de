#include "platform/stdctrls/datetimepickwindow.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/rtl/clock.h"
#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/controlpaint.h"
#include "platform/stdctrls/datetimepickstate.h"
#include "platform/stdctrls/monthcalwindow.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/timers.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uintptr_t SpinTimer = 1;
constexpr UINT SpinDelay = 500;  // before a held up-down button repeats
constexpr UINT SpinRepeat = 100; // between the repeats
constexpr int CheckSize = 13;
constexpr int TextLeft = 2;

TWindowStates<TDateTimePickWindow>& Pickers()
{
    static TWindowStates<TDateTimePickWindow> States;
    return States;
}

} // namespace

TDateTimePickWindow* FindDateTimePick(HWND Wnd)
{
    return Pickers().Find(Wnd);
}

TDateTimePickWindow::TDateTimePickWindow(HWND AWnd)
    : Wnd(AWnd),
      Font(std::make_unique<TFont>()), CalColors{clWindow,      clWindowText, clActiveCaption,
                                                 clCaptionText, clWindow,     clGrayText}
{
}

// ---- format and text

std::string TDateTimePickWindow::StyleFormat() const
{
    const DWORD S = Style();
    if ((S & DTS_TIMEFORMAT) == DTS_TIMEFORMAT)
        return DateTimePickFormatFromLocale(FormatSettings.LongTimeFormat);
    if (S & DTS_LONGDATEFORMAT)
        return DateTimePickFormatFromLocale(FormatSettings.LongDateFormat);
    return DateTimePickFormatFromLocale(FormatSettings.ShortDateFormat);
}

std::string TDateTimePickWindow::WholeText() const
{
    std::string Text;
    for (std::size_t I = 0; I < Fields.Fields().size(); ++I)
        Text += Fields.Text(static_cast<int>(I), FormatSettings);
    return Text;
}

// ---- layout

TRect TDateTimePickWindow::ButtonRect() const
{
    TRect R;
    GetClientRect(Wnd, R);
    return Rect(std::max(0, R.Right - GetSystemMetrics(SM_CXVSCROLL)), 0, R.Right, R.Bottom);
}

TRect TDateTimePickWindow::CheckRect() const
{
    if (!ShowNone())
        return Rect(0, 0, 0, 0);
    TRect R;
    GetClientRect(Wnd, R);
    const int Top = (R.Height() - CheckSize) / 2;
    return Rect(TextLeft, Top, TextLeft + CheckSize, Top + CheckSize);
}

std::vector<TRect> TDateTimePickWindow::FieldRects() const
{
    TRasterDevice Device(1, 1);
    TCanvas Canvas(&Device);
    Canvas.SetFont(Font.get());
    TRect R;
    GetClientRect(Wnd, R);
    std::vector<TRect> Rects;
    int X = ShowNone() ? CheckRect().Right + 3 : TextLeft;
    const int H = Canvas.TextHeight("0");
    const int Y = (R.Height() - H) / 2;
    for (std::size_t I = 0; I < Fields.Fields().size(); ++I) {
        const int W = Canvas.TextWidth(Fields.Text(static_cast<int>(I), FormatSettings));
        Rects.push_back(Rect(X, Y, X + W, Y + H));
        X += W;
    }
    return Rects;
}

int TDateTimePickWindow::FieldAt(int X, int Y) const
{
    const std::vector<TRect> Rects = FieldRects();
    int Best = -1;
    int BestDistance = 0;
    for (std::size_t I = 0; I < Rects.size(); ++I) {
        if (Fields.Fields()[I].Kind == dfkLiteral)
            continue;
        const TRect& F = Rects[I];
        if (PtInRect(F, TPoint{X, Y}))
            return static_cast<int>(I);
        // Elsewhere (a separator, the margins) the nearest field counts.
        const int D = X < F.Left ? F.Left - X : X - F.Right;
        if (Best < 0 || D < BestDistance) {
            Best = static_cast<int>(I);
            BestDistance = D;
        }
    }
    return Best;
}

// ---- changes

void TDateTimePickWindow::NotifyChange() const
{
    NMDATETIMECHANGE Change;
    Change.dwFlags = None ? GDT_NONE : GDT_VALID;
    Change.st = Fields.Value();
    SendNotify(Wnd, DTN_DATETIMECHANGE, Change.nmhdr);
}

void TDateTimePickWindow::Edited(bool ValueChanged)
{
    Changed();
    if (ValueChanged)
        NotifyChange();
}

void TDateTimePickWindow::SetChecked(bool Value)
{
    if (None == !Value)
        return;
    None = !Value;
    Changed();
    NotifyChange();
}

// ---- keys and the mouse

void TDateTimePickWindow::KeyDown(WPARAM Key)
{
    if (Dropped) {
        switch (Key) {
        case VK_ESCAPE:
            CloseUp(false);
            return;
        case VK_RETURN:
        case VK_F4:
            CloseUp(true);
            return;
        default:
            if (Cal != 0) // the calendar takes the arrows and Page keys
                SendMessage(Cal, WM_KEYDOWN, Key, 0);
            return;
        }
    }
    if (Parsing) {
        UserStringKey(Key);
        return;
    }
    if (Key == VK_F2 && (Style() & DTS_APPCANPARSE) != 0) {
        StartUserString();
        return;
    }
    if (None && Key != VK_F4)
        return;
    switch (Key) {
    case VK_LEFT:
        Edited(Fields.Move(-1));
        break;
    case VK_RIGHT:
        Edited(Fields.Move(1));
        break;
    case VK_UP:
        Edited(Fields.Step(1));
        break;
    case VK_DOWN:
        Edited(Fields.Step(-1));
        break;
    case VK_HOME:
        Edited(Fields.Extreme(false));
        break;
    case VK_END:
        Edited(Fields.Extreme(true));
        break;
    case VK_F4:
        DropDown();
        break;
    default:
        break;
    }
}

void TDateTimePickWindow::MouseDown(int X, int Y)
{
    if (GetFocus() != Wnd)
        SetFocus(Wnd);
    EndUserString(true);
    const TPoint P{X, Y};
    if (ShowNone() && PtInRect(CheckRect(), P)) {
        Edited(Fields.Commit());
        SetChecked(None);
        return;
    }
    const TRect B = ButtonRect();
    if (PtInRect(B, P)) {
        if (UpDown()) {
            if (None)
                return;
            Spin = Y < B.Top + B.Height() / 2 ? 1 : -1;
            Edited(Fields.Step(Spin));
            SetCapture(Wnd);
            SetTimer(Wnd, SpinTimer, SpinDelay);
        } else if (Dropped) {
            CloseUp(false);
        } else {
            ButtonDown = true;
            DropDown();
        }
        return;
    }
    const int Field = FieldAt(X, Y);
    if (Field >= 0 && !None) {
        const bool Changed = Fields.Commit();
        Fields.SetCurrent(Field);
        Edited(Changed);
    }
}

void TDateTimePickWindow::StopSpin()
{
    if (Spin == 0)
        return;
    Spin = 0;
    KillTimer(Wnd, SpinTimer);
    if (GetCapture() == Wnd)
        ReleaseCapture();
    Changed();
}

// ---- drawing

void TDateTimePickWindow::Paint(HDC DC)
{
    const bool Enabled = IsWindowEnabled(Wnd);
    TRect R;
    GetClientRect(Wnd, R);
    DC->SetFont(Font.get());
    DC->Brush()->SetStyle(bsSolid);
    DC->Brush()->SetColor(Enabled ? Back : clBtnFace);
    DC->FillRect(R);
    if (ShowNone())
        DC->DrawFrameControl(CheckRect(), DFC_BUTTON,
                             DFCS_BUTTONCHECK | (None ? 0u : UINT(DFCS_CHECKED)) |
                                 (Enabled ? 0u : UINT(DFCS_INACTIVE)));
    const TRect B = ButtonRect();
    const std::vector<TRect> Rects = FieldRects();
    const TRect Clip = Rect(R.Left, R.Top, B.Left, R.Bottom);
    if (Parsing) {
        // The typed text with the caret after it.
        const int X = ShowNone() ? CheckRect().Right + 3 : TextLeft;
        const int H = DC->TextHeight("0");
        const int Y = (R.Height() - H) / 2;
        DC->Brush()->SetColor(Back);
        DC->Font()->SetColor(Fore);
        DC->TextRect(Clip, X, Y, UserText);
        const int CaretX = std::min(Clip.Right - 1, X + DC->TextWidth(UserText));
        DC->Pen()->SetColor(Fore);
        DC->MoveTo(CaretX, Y);
        DC->LineTo(CaretX, Y + H);
    }
    for (std::size_t I = 0; I < Rects.size() && !Parsing; ++I) {
        const bool Current = Focused && !None && Enabled && static_cast<int>(I) == Fields.Current();
        DC->Brush()->SetColor(Current ? clHighlight : Enabled ? Back : clBtnFace);
        DC->Font()->SetColor(!Enabled || None ? clGrayText : Current ? clHighlightText : Fore);
        TRect Cell = Rects[I];
        Cell.Right = std::min(Cell.Right, Clip.Right);
        if (Cell.Right > Cell.Left)
            DC->TextRect(Cell, Rects[I].Left, Rects[I].Top,
                         Fields.Text(static_cast<int>(I), FormatSettings));
    }
    if (UpDown()) {
        const int Half = B.Top + B.Height() / 2;
        DC->DrawFrameControl(Rect(B.Left, B.Top, B.Right, Half), DFC_SCROLL,
                             DFCS_SCROLLUP | (Spin > 0 ? UINT(DFCS_PUSHED) : 0u) |
                                 (Enabled ? 0u : UINT(DFCS_INACTIVE)));
        DC->DrawFrameControl(Rect(B.Left, Half, B.Right, B.Bottom), DFC_SCROLL,
                             DFCS_SCROLLDOWN | (Spin < 0 ? UINT(DFCS_PUSHED) : 0u) |
                                 (Enabled ? 0u : UINT(DFCS_INACTIVE)));
    } else {
        DC->DrawFrameControl(B, DFC_SCROLL,
                             DFCS_SCROLLCOMBOBOX |
                                 (ButtonDown && Dropped ? UINT(DFCS_PUSHED) : 0u) |
                                 (Enabled ? 0u : UINT(DFCS_INACTIVE)));
    }
}

// ---- the procedure

LRESULT TDateTimePickWindow::Handle(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_CREATE: {
        Fields.SetFormat(StyleFormat());
        TSystemTime Today;
        DateTimeToSystemTime(Now(), Today);
        Today.wMilliseconds = 0;
        Fields.SetValue(Today);
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    case WM_DESTROY:
        Parsing = false;
        StopSpin();
        if (Dropped)
            CloseUp(false);
        if (Popup != 0 && IsWindow(Popup))
            DestroyWindow(Popup);
        Popup = Cal = 0;
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_PAINT:
        return HandlePaint(Wnd, WParam, [this](HDC DC) { Paint(DC); });
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
        if (WParam == 0) {
            StopSpin();
            CloseUp(false);
        }
        Changed();
        return 0;
    case WM_SETFONT:
        if (WParam != 0)
            Font->Assign(reinterpret_cast<const TFont*>(WParam));
        Changed();
        return 0;
    case WM_SETFOCUS: {
        Focused = true;
        Changed();
        NMHDR Header;
        SendNotify(Wnd, NM_SETFOCUS, Header);
        return 0;
    }
    case WM_KILLFOCUS: {
        EndUserString(true);
        Edited(Fields.Commit());
        if (Dropped)
            CloseUp(false);
        StopSpin();
        Focused = false;
        Changed();
        NMHDR Header;
        SendNotify(Wnd, NM_KILLFOCUS, Header);
        return 0;
    }
    case WM_CANCELMODE:
        StopSpin();
        CloseUp(false);
        return 0;
    case WM_CAPTURECHANGED:
        if (static_cast<HWND>(LParam) != Wnd)
            StopSpin();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS |
               (Dropped || Parsing ? UINT(DLGC_WANTALLKEYS) : 0u);
    case WM_KEYDOWN:
        KeyDown(WParam);
        return 0;
    case WM_SYSKEYDOWN:
        if ((WParam == VK_DOWN || WParam == VK_UP) && !UpDown()) { // Alt+Down, Alt+Up
            if (Dropped)
                CloseUp(true);
            else
                DropDown();
            return 0;
        }
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_CHAR: {
        const auto C = static_cast<unsigned char>(WParam & 0xFF);
        if (Dropped || C == 13 || C == 27 || C == 9)
            return 0;
        if (Parsing) {
            if (C != 8)
                UserStringChar(C);
            return 0;
        }
        if (C == ' ' && ShowNone()) {
            SetChecked(None);
            return 0;
        }
        if (!None)
            Edited(Fields.Char(C, FormatSettings));
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseDown(GetXLParam(LParam), GetYLParam(LParam));
        return 0;
    case WM_LBUTTONUP:
        StopSpin();
        ButtonDown = false;
        Changed();
        return 0;
    case WM_TIMER:
        if (WParam == SpinTimer && Spin != 0) {
            SetTimer(Wnd, SpinTimer, SpinRepeat);
            Edited(Fields.Step(Spin));
        }
        return 0;
    case WM_GETTEXT: {
        if (WParam == 0 || LParam == 0)
            return 0;
        const std::string Text = WholeText();
        const std::size_t N = std::min<std::size_t>(Text.size(), WParam - 1);
        std::memcpy(reinterpret_cast<char*>(LParam), Text.data(), N);
        reinterpret_cast<char*>(LParam)[N] = '\0';
        return static_cast<LRESULT>(N);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(WholeText().size());

    case DTM_GETSYSTEMTIME:
        if (None)
            return GDT_NONE;
        if (LParam != 0)
            *reinterpret_cast<TSystemTime*>(LParam) = Fields.Value();
        return GDT_VALID;
    case DTM_SETSYSTEMTIME:
        if (WParam == GDT_NONE) {
            if (!ShowNone())
                return 0;
            None = true;
        } else {
            if (LParam == 0 || !Fields.SetValue(*reinterpret_cast<const TSystemTime*>(LParam)))
                return 0;
            None = false;
        }
        Changed();
        return 1;
    case DTM_GETRANGE: {
        auto* Range = reinterpret_cast<TSystemTime*>(LParam);
        if (Range != nullptr) {
            Range[0] = Fields.HasMin() ? Fields.Min() : TSystemTime{};
            Range[1] = Fields.HasMax() ? Fields.Max() : TSystemTime{};
        }
        return (Fields.HasMin() ? GDTR_MIN : 0u) | (Fields.HasMax() ? GDTR_MAX : 0u);
    }
    case DTM_SETRANGE: {
        const auto* Range = reinterpret_cast<const TSystemTime*>(LParam);
        const bool HasMin = (WParam & GDTR_MIN) != 0 && Range != nullptr;
        const bool HasMax = (WParam & GDTR_MAX) != 0 && Range != nullptr;
        Fields.SetRange(HasMin, HasMin ? Range[0] : TSystemTime{}, HasMax,
                        HasMax ? Range[1] : TSystemTime{});
        if (Cal != 0)
            SendMessage(Cal, MCM_SETRANGE, WParam, LParam);
        Changed();
        return 1;
    }
    case DTM_SETFORMAT:
        HasCustomFormat = LParam != 0;
        CustomFormat = HasCustomFormat ? reinterpret_cast<const char*>(LParam) : "";
        Fields.SetFormat(HasCustomFormat ? CustomFormat : StyleFormat());
        Changed();
        return 1;
    case DTM_SETMCCOLOR: {
        if (WParam >= CalColors.size())
            return static_cast<LRESULT>(-1);
        const TColor Old = CalColors[WParam];
        CalColors[WParam] = static_cast<TColor>(LParam);
        CalColorSet[WParam] = true;
        if (Cal != 0)
            SendMessage(Cal, MCM_SETCOLOR, WParam, LParam);
        return static_cast<LRESULT>(Old);
    }
    case DTM_GETMCCOLOR:
        return WParam < CalColors.size() ? static_cast<LRESULT>(CalColors[WParam])
                                         : static_cast<LRESULT>(-1);
    case DTM_GETMONTHCAL:
        return Dropped ? static_cast<LRESULT>(Cal) : 0;
    case DTM_SETMCFONT:
        if (WParam != 0) {
            if (!CalFont)
                CalFont = std::make_unique<TFont>();
            CalFont->Assign(reinterpret_cast<const TFont*>(WParam));
            if (Cal != 0)
                SendMessage(Cal, WM_SETFONT, WParam, LParam);
        }
        return 0;
    case DTM_GETMCFONT:
        return reinterpret_cast<LRESULT>(CalFont.get());
    default:
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
}

void RegisterDateTimePickClass()
{
    RegisterControlClass(DateTimePickClassName, CS_DBLCLKS, DateTimePickWndProc);
}

LRESULT DateTimePickWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_NCDESTROY) {
        Pickers().Erase(Wnd);
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    return Pickers().Of(Wnd).Handle(Msg, WParam, LParam);
}

void SetDateTimePickColors(HWND Picker, TColor Back, TColor Text)
{
    TDateTimePickWindow& P = Pickers().Of(Picker);
    P.Back = Back;
    P.Fore = Text;
    InvalidateRect(Picker, nullptr, true);
}

HWND DateTimePickDropDownWindow(HWND Picker)
{
    const TDateTimePickWindow* P = Pickers().Find(Picker);
    return P != nullptr && P->Dropped ? P->Popup : 0;
}

int DateTimePickFieldAt(HWND Picker, int X, int Y)
{
    return Pickers().Of(Picker).FieldAt(X, Y);
}

TRect DateTimePickFieldRect(HWND Picker, int Index)
{
    const std::vector<TRect> Rects = Pickers().Of(Picker).FieldRects();
    return Index >= 0 && Index < static_cast<int>(Rects.size())
               ? Rects[static_cast<std::size_t>(Index)]
               : Rect(0, 0, 0, 0);
}

TRect DateTimePickButtonRect(HWND Picker)
{
    return Pickers().Of(Picker).ButtonRect();
}

TRect DateTimePickCheckRect(HWND Picker)
{
    return Pickers().Of(Picker).CheckRect();
}
