#include "platform/stdctrls/comboboxwindow.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/graphicsobjects.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/strings.h"
#include "platform/stdctrls/comboboxdroppedwidth.h"
#include "platform/stdctrls/comboeditpart.h"
#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/controlpaint.h"
#include "platform/stdctrls/dropdownplace.h"
#include "platform/stdctrls/listboxwindow.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/ownerdraw.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/window.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr std::uint32_t TypeAheadPause = 1000;

class TComboBoxWindow {
public:
    explicit TComboBoxWindow(HWND AWnd) : Font(std::make_unique<TFont>()), Wnd(AWnd) {}

    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);
    LRESULT ListProc(UINT Msg, WPARAM WParam, LPARAM LParam); // -2: the list's own answer

    HWND List = 0;
    int DropDownCount = 8;
    int DroppedWidth = 0; // the list's least width (CB_SETDROPPEDWIDTH); 0: the combo's
    TColor Back = clWindow;
    TColor Fore = clWindowText;
    std::unique_ptr<TFont> Font;

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLong(Wnd, GWL_STYLE)); }
    DWORD Kind() const { return Style() & 3; }
    bool Simple() const { return Kind() == CBS_SIMPLE; }
    bool ListKind() const { return Kind() == CBS_DROPDOWNLIST; }
    bool OwnerDraw() const { return (Style() & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0; }
    UINT CtlID() const
    {
        const LONG_PTR Id = GetWindowLong(Wnd, GWL_ID);
        return static_cast<UINT>(Id != 0 ? static_cast<HWND>(Id) : Wnd);
    }
    LRESULT ToList(UINT Msg, WPARAM WParam, LPARAM LParam) const
    {
        return List != 0 ? SendMessage(List, Msg, WParam, LParam) : LB_ERR;
    }
    int Count() const { return static_cast<int>(ToList(LB_GETCOUNT, 0, 0)); }
    bool Valid(int Index) const { return Index >= 0 && Index < Count(); }
    std::string ItemText(int Index) const;
    int FontHeight() const;
    int EditItemHeight() const { return EditHeight > 0 ? EditHeight : FontHeight(); }
    int ButtonWidth() const { return Simple() ? 0 : GetSystemMetrics(SM_CXVSCROLL); }
    TRect ClientArea() const
    {
        TRect R;
        GetClientRect(Wnd, R);
        return R;
    }
    TRect EditRect() const;
    void Notify(UINT Code) const
    {
        SendMessage(GetParent(Wnd), WM_COMMAND, MakeWParam(CtlID(), Code),
                    static_cast<LPARAM>(Wnd));
    }
    void Changed() const { InvalidateRect(Wnd, nullptr, true); }

    void CreateList();
    void PlaceSimpleList();
    void ShowText(int Index);
    void Select(int Index);    // a choice by the user while the list is closed
    void Highlight(int Index); // a move in the dropped-down list
    void DropDown();
    void CloseUp(bool Accept);
    void EditChanged();
    void KeyDown(WPARAM Key);
    void Char(unsigned char Value);
    void TypeAhead(unsigned char Value);
    int CharAt(int X) const;
    void Paint(HDC DC);
    void ForwardOwnerDraw(UINT Msg, LPARAM LParam) const;

    HWND Wnd;
    TComboEditPart Edit;
    int Cur = -1;
    int EditHeight = 0;
    bool Dropped = false;
    bool Focused = false;
    bool ButtonDown = false;
    std::string SavedText; // the edit text when the list dropped down
    std::string Typed;
    std::string Pending;
    std::uint32_t TypedAt = 0;
};

TWindowStates<TComboBoxWindow>& Combos()
{
    static TWindowStates<TComboBoxWindow> States;
    return States;
}

TComboBoxWindow& ComboOf(HWND Wnd)
{
    return Combos().Of(Wnd);
}

// ---- layout and items

int TComboBoxWindow::FontHeight() const
{
    TRasterDevice Device(1, 1);
    TCanvas Canvas(&Device);
    Canvas.SetFont(Font.get());
    TTextMetric Metrics{};
    Canvas.GetTextMetrics(Metrics);
    return std::max(1, Metrics.tmHeight);
}

std::string TComboBoxWindow::ItemText(int Index) const
{
    const LRESULT Length = ToList(LB_GETTEXTLEN, static_cast<WPARAM>(Index), 0);
    if (Length < 0)
        return {};
    std::string Text(static_cast<std::size_t>(Length) + 1, '\0');
    ToList(LB_GETTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(Text.data()));
    Text.resize(static_cast<std::size_t>(Length));
    return Text;
}

TRect TComboBoxWindow::EditRect() const
{
    const TRect R = ClientArea();
    if (Simple())
        return Rect(0, 0, R.Right, std::min(R.Bottom, EditItemHeight() + 6));
    return Rect(0, 0, std::max(0, R.Right - ButtonWidth()), R.Bottom);
}

void TComboBoxWindow::CreateList()
{
    RegisterListBoxClass();
    DWORD ListStyle = DWORD(WS_VSCROLL) | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    const DWORD S = Style();
    if (S & CBS_SORT)
        ListStyle |= LBS_SORT;
    if (S & CBS_HASSTRINGS)
        ListStyle |= LBS_HASSTRINGS;
    if (S & CBS_OWNERDRAWFIXED)
        ListStyle |= LBS_OWNERDRAWFIXED;
    if (S & CBS_OWNERDRAWVARIABLE)
        ListStyle |= LBS_OWNERDRAWVARIABLE;
    if (Simple()) {
        const TRect E = EditRect();
        const TRect R = ClientArea();
        List = CreateWindowEx(WS_EX_CLIENTEDGE, ListBoxClassName, "",
                              WS_CHILD | WS_VISIBLE | ListStyle, 0, E.Bottom, R.Width(),
                              std::max(0, R.Height() - E.Bottom), Wnd);
    } else {
        List = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, ListBoxClassName, "",
                              WS_POPUP | WS_BORDER | ListStyle, 0, 0, 100, 100,
                              GetTopLevelWindow(Wnd));
    }
    if (List == 0)
        return;
    SetListBoxNotifyWindow(List, Wnd);
    const HWND Combo = Wnd;
    TWndProc Inner = GetWindowProc(List);
    SetWindowProc(List, [Combo, Inner](HWND L, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
        TComboBoxWindow* Found = Combos().Find(Combo);
        if (Found != nullptr && Found->List == L) {
            const LRESULT Answer = Found->ListProc(Msg, WParam, LParam);
            if (Answer != -2)
                return Answer;
        }
        return CallWindowProc(Inner, L, Msg, WParam, LParam);
    });
}

void TComboBoxWindow::PlaceSimpleList()
{
    if (!Simple() || List == 0)
        return;
    const TRect E = EditRect();
    const TRect R = ClientArea();
    MoveWindow(List, 0, E.Bottom, R.Width(), std::max(0, R.Height() - E.Bottom));
}

void TComboBoxWindow::ShowText(int Index)
{
    Edit.SetText(Valid(Index) ? ItemText(Index) : std::string());
    if (!ListKind())
        Edit.SelectAll();
    DefWindowProc(Wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Edit.Text().c_str()));
    Changed();
}

void TComboBoxWindow::Select(int Index)
{
    if (Count() == 0)
        return;
    Index = std::clamp(Index, 0, Count() - 1);
    if (Index == Cur)
        return;
    Cur = Index;
    ToList(LB_SETCURSEL, static_cast<WPARAM>(Index), 0);
    ShowText(Index);
    Notify(CBN_SELCHANGE);
}

void TComboBoxWindow::Highlight(int Index)
{
    if (Count() == 0)
        return;
    Index = std::clamp(Index, 0, Count() - 1);
    ToList(LB_SETCURSEL, static_cast<WPARAM>(Index), 0);
    if (!ListKind())
        ShowText(Index);
    Changed();
}

// ---- dropping down and closing up

void TComboBoxWindow::DropDown()
{
    if (Dropped || Simple() || List == 0)
        return;
    Notify(CBN_DROPDOWN); // the program may fill the list now
    if (!IsWindow(Wnd) || List == 0)
        return;
    SavedText = Edit.Text();
    ToList(LB_SETCURSEL, static_cast<WPARAM>(Cur), 0);
    int Height = 0;
    const int Rows = std::clamp(Count(), 1, std::max(1, DropDownCount));
    const int First = static_cast<int>(ToList(LB_GETTOPINDEX, 0, 0));
    for (int I = 0; I < Rows; ++I) {
        const LRESULT H =
            ToList(LB_GETITEMHEIGHT, static_cast<WPARAM>(Count() > 0 ? First + I : 0), 0);
        Height += H > 0 ? static_cast<int>(H) : FontHeight();
        if (First + I + 1 >= Count())
            break;
    }
    Height += 2; // the border
    TRect R;
    GetWindowRect(Wnd, R);
    const TRect Place = DropDownRect(Wnd, std::max(R.Width(), DroppedWidth), Height);
    MoveWindow(List, Place.Left, Place.Top, Place.Width(), Place.Height());
    ToList(LB_SETCURSEL, static_cast<WPARAM>(Cur), 0); // in view at the new size
    ShowWindow(List, SW_SHOWNA);
    Dropped = true;
    SetCapture(List);
    Changed();
}

// Accept: the highlighted item becomes the choice (Enter, a click on an item); otherwise the
// choice and the text stay what they were when the list dropped down.
void TComboBoxWindow::CloseUp(bool Accept)
{
    if (!Dropped)
        return;
    Dropped = false;
    ButtonDown = false;
    if (GetCapture() == List)
        ReleaseCapture();
    ShowWindow(List, SW_HIDE);
    const int Picked = static_cast<int>(ToList(LB_GETCURSEL, 0, 0));
    const bool Change = Accept && Valid(Picked) && Picked != Cur;
    if (Accept) {
        Notify(CBN_SELENDOK);
    } else {
        Notify(CBN_SELENDCANCEL);
        ToList(LB_SETCURSEL, static_cast<WPARAM>(Cur), 0);
        if (Edit.Text() != SavedText) {
            Edit.SetText(SavedText);
            if (!ListKind())
                Edit.SelectAll();
        }
    }
    if (Change) {
        Cur = Picked;
        ShowText(Picked);
    }
    Changed();
    Notify(CBN_CLOSEUP);
    if (Change)
        Notify(CBN_SELCHANGE);
}

LRESULT TComboBoxWindow::ListProc(UINT Msg, WPARAM, LPARAM LParam)
{
    if (Simple()) {
        if (Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONDBLCLK)
            if (GetFocus() != Wnd)
                SetFocus(Wnd);
        return -2;
    }
    TRect R;
    GetClientRect(List, R);
    const TPoint P{GetXLParam(LParam), GetYLParam(LParam)};
    const bool Inside = PtInRect(R, P);
    auto ItemAt = [&]() {
        const LRESULT Hit = SendMessage(List, LB_ITEMFROMPOINT, 0, LParam);
        return HiWord(static_cast<std::uintptr_t>(Hit)) == 0
                   ? static_cast<int>(LoWord(static_cast<std::uintptr_t>(Hit)))
                   : -1;
    };
    switch (Msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
        if (Dropped && Inside) {
            const int Item = ItemAt();
            if (Item >= 0 && Item != ToList(LB_GETCURSEL, 0, 0)) {
                ToList(LB_SETCURSEL, static_cast<WPARAM>(Item), 0);
            }
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (!Inside) {
            CloseUp(false); // a press anywhere else closes the list
            return 0;
        }
        if (Msg != WM_RBUTTONDOWN && Msg != WM_MBUTTONDOWN && ItemAt() >= 0)
            ToList(LB_SETCURSEL, static_cast<WPARAM>(ItemAt()), 0);
        return 0;
    case WM_LBUTTONUP:
        if (Dropped && Inside && ItemAt() >= 0) {
            ToList(LB_SETCURSEL, static_cast<WPARAM>(ItemAt()), 0);
            CloseUp(true);
        }
        return 0;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        return 0;
    case WM_CAPTURECHANGED:
        if (Dropped && static_cast<HWND>(LParam) != List)
            CloseUp(false);
        return 0;
    default:
        return -2;
    }
}

// ---- keys and typing

void TComboBoxWindow::EditChanged()
{
    Notify(CBN_EDITUPDATE);
    Cur = -1;
    if (Dropped) { // the list follows what is typed
        const LRESULT Found = ToList(LB_FINDSTRING, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(Edit.Text().c_str()));
        if (Found >= 0)
            ToList(LB_SETCURSEL, static_cast<WPARAM>(Found), 0);
    } else {
        ToList(LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
    DefWindowProc(Wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Edit.Text().c_str()));
    Changed();
    Notify(CBN_EDITCHANGE);
}

void TComboBoxWindow::KeyDown(WPARAM Key)
{
    const bool Shift = GetKeyState(VK_SHIFT) < 0;
    const bool Ctrl = GetKeyState(VK_CONTROL) < 0;
    if (Key == VK_F4 && !Simple()) {
        if (Dropped)
            CloseUp(true);
        else
            DropDown();
        return;
    }
    const int Page = std::max(1, DropDownCount - 1);
    const int From = Dropped ? static_cast<int>(ToList(LB_GETCURSEL, 0, 0)) : Cur;
    int To = -2;
    switch (Key) {
    case VK_UP:
        To = From < 0 ? 0 : From - 1;
        break;
    case VK_DOWN:
        To = From + 1;
        break;
    case VK_PRIOR:
        To = From < 0 ? 0 : From - Page;
        break;
    case VK_NEXT:
        To = std::max(From, 0) + Page;
        break;
    case VK_LEFT:
    case VK_RIGHT:
        if (ListKind())
            To = Key == VK_LEFT ? (From < 0 ? 0 : From - 1) : From + 1;
        break;
    case VK_HOME:
    case VK_END:
        if (ListKind() || Dropped)
            To = Key == VK_HOME ? 0 : Count() - 1;
        break;
    case VK_RETURN:
        CloseUp(true);
        return;
    case VK_ESCAPE:
        CloseUp(false);
        return;
    default:
        break;
    }
    if (To != -2) {
        if (Dropped)
            Highlight(To);
        else
            Select(To);
        return;
    }
    if (!ListKind() && Edit.KeyDown(Key, Shift, Ctrl))
        EditChanged();
    else
        Changed();
}

// The list styles look up what is typed among the items as the list box does: a letter on its
// own steps on to the next item with it, more letters extend the prefix.
void TComboBoxWindow::TypeAhead(unsigned char Value)
{
    if (Value < 0x20 || (OwnerDraw() && !(Style() & CBS_HASSTRINGS)))
        return;
    if (Pending.empty() && Value >= 0x80 && Value < 0xC0)
        return;
    Pending += static_cast<char>(Value);
    const unsigned char Lead = static_cast<unsigned char>(Pending[0]);
    const std::size_t Needed = Lead < 0xC0 ? 1 : Lead < 0xE0 ? 2 : Lead < 0xF0 ? 3 : 4;
    if (Pending.size() < Needed)
        return;
    const std::string Letter = Pending;
    Pending.clear();
    const std::uint32_t Now = GetTickCount();
    if (Now - TypedAt > TypeAheadPause)
        Typed.clear();
    TypedAt = Now;
    const bool Fresh = Typed.empty() || AnsiLowerCase(Typed) == AnsiLowerCase(Letter);
    if (Fresh)
        Typed = Letter;
    else
        Typed += Letter;
    const int From = Dropped ? static_cast<int>(ToList(LB_GETCURSEL, 0, 0)) : Cur;
    const int After = Fresh ? From : From - 1;
    const LRESULT Found = ToList(LB_FINDSTRING, static_cast<WPARAM>(After < 0 ? -1 : After),
                                 reinterpret_cast<LPARAM>(Typed.c_str()));
    if (Found < 0)
        return;
    if (Dropped)
        Highlight(static_cast<int>(Found));
    else
        Select(static_cast<int>(Found));
}

void TComboBoxWindow::Char(unsigned char Value)
{
    if (Value == 13 || Value == 27 || Value == 9)
        return;
    if (ListKind()) {
        TypeAhead(Value);
        return;
    }
    if (Edit.Char(Value))
        EditChanged();
}

int TComboBoxWindow::CharAt(int X) const
{
    TRasterDevice Device(1, 1);
    TCanvas Canvas(&Device);
    Canvas.SetFont(Font.get());
    const std::string& Text = Edit.Text();
    int Best = 0;
    int BestDistance = std::abs(X - 3);
    for (std::size_t I = 1; I <= Text.size(); ++I) {
        const int Width = 3 + Canvas.TextWidth(Text.substr(0, I));
        if (std::abs(X - Width) < BestDistance) {
            BestDistance = std::abs(X - Width);
            Best = static_cast<int>(I);
        }
    }
    return Best;
}

// ---- drawing

void TComboBoxWindow::ForwardOwnerDraw(UINT Msg, LPARAM LParam) const
{
    if (Msg == WM_DRAWITEM) {
        TDrawItemStruct Draw = *reinterpret_cast<const TDrawItemStruct*>(LParam);
        Draw.CtlType = ODT_COMBOBOX;
        Draw.CtlID = CtlID();
        Draw.hwndItem = Wnd;
        SendMessage(GetParent(Wnd), WM_DRAWITEM, Draw.CtlID, reinterpret_cast<LPARAM>(&Draw));
        return;
    }
    auto* Measure = reinterpret_cast<TMeasureItemStruct*>(LParam);
    Measure->CtlType = ODT_COMBOBOX;
    Measure->CtlID = CtlID();
    SendMessage(GetParent(Wnd), WM_MEASUREITEM, Measure->CtlID, LParam);
}

void TComboBoxWindow::Paint(HDC DC)
{
    const bool Enabled = IsWindowEnabled(Wnd);
    const TRect E = EditRect();
    DC->SetFont(Font.get());
    DC->Brush()->SetStyle(bsSolid);
    DC->Brush()->SetColor(Enabled ? Back : clBtnFace);
    DC->FillRect(E);
    TRect Inner = E;
    InflateRect(Inner, -2, -2);
    const int TextY = E.Top + (E.Height() - FontHeight()) / 2;
    if (ListKind() || OwnerDraw()) {
        const bool Hot = Focused && !Dropped && ListKind();
        if (OwnerDraw()) {
            TDrawItemStruct Draw{};
            Draw.CtlType = ODT_COMBOBOX;
            Draw.CtlID = CtlID();
            Draw.itemID = static_cast<UINT>(Cur);
            Draw.itemAction = ODA_DRAWENTIRE;
            Draw.itemState = ODS_COMBOBOXEDIT | (Hot ? UINT(ODS_SELECTED | ODS_FOCUS) : 0u) |
                             (Enabled ? 0u : UINT(ODS_DISABLED));
            Draw.hwndItem = Wnd;
            Draw.hDC = DC;
            Draw.rcItem = Inner;
            Draw.itemData =
                Valid(Cur)
                    ? static_cast<WPARAM>(ToList(LB_GETITEMDATA, static_cast<WPARAM>(Cur), 0))
                    : 0;
            SendMessage(GetParent(Wnd), WM_DRAWITEM, Draw.CtlID, reinterpret_cast<LPARAM>(&Draw));
            DC->SetFont(Font.get());
        } else {
            DC->Brush()->SetColor(Hot ? clHighlight : Enabled ? Back : clBtnFace);
            DC->Font()->SetColor(!Enabled ? clGrayText : Hot ? clHighlightText : Fore);
            DC->TextRect(Inner, Inner.Left + 1, TextY, Edit.Text());
            if (Hot)
                DC->DrawFocusRect(Inner);
        }
    } else {
        // The edit field: text, the selection while focused, the caret.
        const std::string& Text = Edit.Text();
        const int X0 = E.Left + 3;
        const TRect Clip = Rect(E.Left + 1, E.Top, E.Right - 1, E.Bottom);
        DC->Font()->SetColor(Enabled ? Fore : clGrayText);
        DC->Brush()->SetColor(Enabled ? Back : clBtnFace);
        DC->TextRect(Clip, X0, TextY, Text);
        if (Focused && Edit.SelLength() > 0) {
            const int SX = X0 + DC->TextWidth(Text.substr(0, Edit.SelStart()));
            const std::string Sel = Edit.SelText();
            DC->Brush()->SetColor(clHighlight);
            DC->Font()->SetColor(clHighlightText);
            DC->TextRect(Rect(SX, TextY, std::min(Clip.Right, SX + DC->TextWidth(Sel)),
                              TextY + FontHeight()),
                         SX, TextY, Sel);
        } else if (Focused) {
            const int CX = X0 + DC->TextWidth(Text.substr(0, Edit.Caret()));
            DC->Pen()->SetColor(Fore);
            DC->MoveTo(CX, TextY);
            DC->LineTo(CX, TextY + FontHeight());
        }
    }
    if (!Simple()) {
        const TRect R = ClientArea();
        const TRect Button = Rect(R.Right - ButtonWidth(), R.Top, R.Right, R.Bottom);
        DC->DrawFrameControl(Button, DFC_SCROLL,
                             DFCS_SCROLLCOMBOBOX |
                                 (ButtonDown && Dropped ? UINT(DFCS_PUSHED) : 0u) |
                                 (Enabled ? 0u : UINT(DFCS_INACTIVE)));
    }
}

// ---- the procedure

LRESULT TComboBoxWindow::Handle(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    const int Index = static_cast<int>(static_cast<LPARAM>(WParam));
    switch (Msg) {
    case WM_CREATE:
        if (Style() & CBS_UPPERCASE)
            Edit.CharCase = TComboEditPart::ecUpperCase;
        else if (Style() & CBS_LOWERCASE)
            Edit.CharCase = TComboEditPart::ecLowerCase;
        CreateList();
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_DESTROY:
        if (Dropped)
            CloseUp(false);
        if (List != 0 && IsWindow(List) && !Simple())
            DestroyWindow(List);
        List = 0;
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_PAINT:
        return HandlePaint(Wnd, WParam, [this](HDC DC) { Paint(DC); });
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        PlaceSimpleList();
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_ENABLE:
        if (List != 0 && Simple())
            EnableWindow(List, WParam != 0);
        Changed();
        return 0;
    case WM_SETFOCUS:
        Focused = true;
        if (!ListKind())
            Edit.SelectAll();
        Changed();
        Notify(CBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        if (Dropped)
            CloseUp(false);
        Focused = false;
        Changed();
        Notify(CBN_KILLFOCUS);
        return 0;
    case WM_CANCELMODE:
        CloseUp(false);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (Dropped ? UINT(DLGC_WANTALLKEYS) : 0u);
    case WM_KEYDOWN:
        KeyDown(WParam);
        return 0;
    case WM_SYSKEYDOWN:
        if ((WParam == VK_DOWN || WParam == VK_UP) && !Simple()) { // Alt+Down, Alt+Up
            if (Dropped)
                CloseUp(true);
            else
                DropDown();
            return 0;
        }
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_CHAR:
        Char(static_cast<unsigned char>(WParam & 0xFF));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (GetFocus() != Wnd)
            SetFocus(Wnd);
        const TPoint P{GetXLParam(LParam), GetYLParam(LParam)};
        if (!Simple() && (ListKind() || !PtInRect(EditRect(), P))) {
            ButtonDown = true;
            DropDown();
        } else if (!ListKind() && PtInRect(EditRect(), P)) {
            const int At = CharAt(P.X);
            if (WParam & MK_SHIFT)
                Edit.SetSel(Edit.Caret() == Edit.SelStart() ? Edit.SelStart() + Edit.SelLength()
                                                            : Edit.SelStart(),
                            At);
            else
                Edit.SetSel(At, At);
            Changed();
        }
        return 0;
    }
    case WM_LBUTTONUP:
        ButtonDown = false;
        Changed();
        return 0;
    case WM_COMMAND:
        if (static_cast<HWND>(LParam) == List && Simple()) {
            if (HiWord(WParam) == LBN_SELCHANGE) {
                const int Picked = static_cast<int>(ToList(LB_GETCURSEL, 0, 0));
                if (Picked != Cur) {
                    Cur = Picked;
                    ShowText(Picked);
                    Notify(CBN_SELCHANGE);
                }
            } else if (HiWord(WParam) == LBN_DBLCLK) {
                Notify(CBN_DBLCLK);
            }
        }
        return 0;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        ForwardOwnerDraw(Msg, LParam);
        return 1;
    case WM_SETTEXT: {
        const std::string Text = LParam != 0 ? reinterpret_cast<const char*>(LParam) : "";
        if (ListKind()) {
            const LRESULT Found = ToList(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(Text.c_str()));
            if (Found < 0)
                return CB_ERR;
            Cur = static_cast<int>(Found);
            ToList(LB_SETCURSEL, static_cast<WPARAM>(Cur), 0);
        }
        Edit.SetText(Text);
        Changed();
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    case WM_GETTEXT: {
        if (WParam == 0 || LParam == 0)
            return 0;
        const std::size_t N = std::min<std::size_t>(Edit.Text().size(), WParam - 1);
        std::memcpy(reinterpret_cast<char*>(LParam), Edit.Text().data(), N);
        reinterpret_cast<char*>(LParam)[N] = '\0';
        return static_cast<LRESULT>(N);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(Edit.Text().size());

    case CB_ADDSTRING:
    case CB_INSERTSTRING: {
        const LRESULT At =
            ToList(Msg == CB_ADDSTRING ? LB_ADDSTRING : LB_INSERTSTRING, WParam, LParam);
        if (At >= 0 && At <= Cur)
            ++Cur;
        return At;
    }
    case CB_DELETESTRING: {
        const LRESULT Left = ToList(LB_DELETESTRING, WParam, LParam);
        if (Left >= 0) {
            if (Index == Cur)
                Cur = -1;
            else if (Index < Cur)
                --Cur;
        }
        return Left;
    }
    case CB_RESETCONTENT:
        ToList(LB_RESETCONTENT, 0, 0);
        Cur = -1;
        Edit.SetText("");
        Changed();
        return CB_OKAY;
    case CB_GETCOUNT:
        return Count();
    case CB_GETLBTEXT:
        return ToList(LB_GETTEXT, WParam, LParam);
    case CB_GETLBTEXTLEN:
        return ToList(LB_GETTEXTLEN, WParam, LParam);
    case CB_FINDSTRING:
        return ToList(LB_FINDSTRING, WParam, LParam);
    case CB_FINDSTRINGEXACT:
        return ToList(LB_FINDSTRINGEXACT, WParam, LParam);
    case CB_SETITEMDATA:
        return ToList(LB_SETITEMDATA, WParam, LParam);
    case CB_GETITEMDATA:
        return ToList(LB_GETITEMDATA, WParam, LParam);
    case CB_GETTOPINDEX:
        return ToList(LB_GETTOPINDEX, 0, 0);
    case CB_SETTOPINDEX:
        return ToList(LB_SETTOPINDEX, WParam, 0);
    case CB_SETCURSEL:
        Cur = Valid(Index) ? Index : -1;
        ToList(LB_SETCURSEL, static_cast<WPARAM>(Cur), 0);
        ShowText(Cur);
        return Cur >= 0 ? Cur : CB_ERR;
    case CB_GETCURSEL:
        return Cur >= 0 ? Cur : CB_ERR;
    case CB_SELECTSTRING: {
        const LRESULT Found = ToList(LB_FINDSTRING, WParam, LParam);
        if (Found >= 0) {
            Cur = static_cast<int>(Found);
            ToList(LB_SETCURSEL, static_cast<WPARAM>(Cur), 0);
            ShowText(Cur);
        }
        return Found;
    }
    case CB_SHOWDROPDOWN:
        if (WParam != 0)
            DropDown();
        else
            CloseUp(false);
        return 1;
    case CB_GETDROPPEDSTATE:
        return Dropped ? 1 : 0;
    case CB_SETDROPPEDWIDTH:
        DroppedWidth = std::max(0, static_cast<int>(WParam));
        return DroppedWidth;
    case CB_GETDROPPEDWIDTH: {
        TRect R;
        GetWindowRect(Wnd, R);
        return std::max(R.Width(), DroppedWidth);
    }
    case CB_GETDROPPEDCONTROLRECT: {
        TRect R;
        if (Simple() || List == 0 || !Dropped)
            GetWindowRect(Wnd, R);
        else
            GetWindowRect(List, R);
        *reinterpret_cast<TRect*>(LParam) = R;
        return 1;
    }
    case CB_SETITEMHEIGHT:
        if (Index == -1) {
            EditHeight = std::max(1, static_cast<int>(LParam & 0xFFFF));
            PlaceSimpleList();
            Changed();
            return CB_OKAY;
        }
        return ToList(LB_SETITEMHEIGHT, WParam, LParam);
    case CB_GETITEMHEIGHT:
        if (Index == -1)
            return EditItemHeight();
        return ToList(LB_GETITEMHEIGHT, WParam, 0);
    case CB_LIMITTEXT:
        Edit.MaxLength = static_cast<int>(WParam);
        return 1;
    case CB_GETEDITSEL: {
        const DWORD Start = static_cast<DWORD>(Edit.SelStart());
        const DWORD End = static_cast<DWORD>(Edit.SelStart() + Edit.SelLength());
        if (WParam != 0)
            *reinterpret_cast<DWORD*>(WParam) = Start;
        if (LParam != 0)
            *reinterpret_cast<DWORD*>(LParam) = End;
        return static_cast<LRESULT>(MakeLParam(static_cast<int>(Start), static_cast<int>(End)) &
                                    0xFFFFFFFF);
    }
    case CB_SETEDITSEL:
        if (ListKind())
            return CB_ERR;
        Edit.SetSel(GetXLParam(LParam), GetYLParam(LParam));
        Changed();
        return 1;
    default:
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
}

} // namespace

void RegisterComboBoxClass()
{
    RegisterControlClass(ComboBoxClassName, CS_DBLCLKS, ComboBoxWndProc);
}

LRESULT ComboBoxWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_NCCREATE) {
        // The scroll bar styles are meant for the list: the box itself shows none.
        const auto Style = static_cast<DWORD>(GetWindowLong(Wnd, GWL_STYLE));
        SetWindowLong(Wnd, GWL_STYLE,
                      static_cast<LONG_PTR>(Style & ~DWORD(WS_VSCROLL | WS_HSCROLL)));
    }
    return Combos().Handle(Wnd, Msg, WParam, LParam);
}

HWND ComboBoxListWindow(HWND Combo)
{
    const TComboBoxWindow* Found = Combos().Find(Combo);
    return Found != nullptr ? Found->List : 0;
}

void SetComboBoxDropDownCount(HWND Combo, int Value)
{
    ComboOf(Combo).DropDownCount = std::max(1, Value);
}

void SetComboBoxColors(HWND Combo, TColor Back, TColor Text)
{
    TComboBoxWindow& C = ComboOf(Combo);
    C.Back = Back;
    C.Fore = Text;
    if (C.List != 0)
        SetListBoxColors(C.List, Back, Text);
    InvalidateRect(Combo, nullptr, true);
}

void SetComboBoxFont(HWND Combo, const TFont* Font)
{
    TComboBoxWindow& C = ComboOf(Combo);
    C.Font->Assign(Font);
    if (C.List != 0)
        SetListBoxFont(C.List, Font);
    InvalidateRect(Combo, nullptr, true);
}
