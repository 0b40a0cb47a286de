// platform/stdctrls/edit.cpp: TCustomEdit over the "EDIT" window.
#include "platform/stdctrls/edit.h"

#include "platform/forms/menus.h"
#include "platform/gfx/canvas.h"
#include "platform/stdctrls/editwindow.h"
#include "platform/ui/queue.h"

#include <algorithm>
#include <vector>

const TMessageMap& TCustomEdit::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCustomEdit::WMPaint>(WM_PAINT),
        OnMessage<&TCustomEdit::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessages<&TCustomEdit::WMMouse>(WM_MOUSEMOVE, WM_MBUTTONDBLCLK),
        OnMessage<&TCustomEdit::WMContextMenu>(WM_CONTEXTMENU),
        OnMessage<&TCustomEdit::CNCommand>(CN_COMMAND),
        OnMessage<&TCustomEdit::CNCtlColor>(CN_CTLCOLOREDIT),
        OnMessage<&TCustomEdit::CNCtlColor>(CN_CTLCOLORSTATIC),
        OnMessage<&TCustomEdit::CMFontChanged>(CM_FONTCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    SetControlStyle(TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight});
    SetBounds(0, 0, 121, 25);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    RegisterEditClass();
    TWndClass EditClass;
    GetClassInfo(EditClassName, EditClass);
    FDefWndProc = EditClass.WndProc;
    Params.WindowClass.Style = EditClass.Style;
    Params.WindowClass.Cursor = EditClass.Cursor;
    Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (FCharCase == ecUpperCase)
        Params.Style |= ES_UPPERCASE;
    else if (FCharCase == ecLowerCase)
        Params.Style |= ES_LOWERCASE;
    if (!FHideSelection)
        Params.Style |= ES_NOHIDESEL;
    if (FReadOnly)
        Params.Style |= ES_READONLY;
    // The sunken border is the window's non-client edge, not drawn in the client area.
    if (FBorderStyle == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd()
{
    FCreating = true;
    struct TDone {
        bool& Flag;
        ~TDone() { Flag = false; }
    } Done{FCreating};
    TWinControl::CreateWnd();
    const HWND Wnd = WindowHandle();
    SendMessage(Wnd, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
    SendMessage(Wnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), 0);
    if (FPasswordChar != 0)
        SendMessage(Wnd, EM_SETPASSWORDCHAR, static_cast<unsigned char>(FPasswordChar), 0);
    SendMessage(Wnd, EM_SETMODIFY, FModified ? 1 : 0, 0);
    if (FAutoSize)
        AdjustHeight();
}

void TCustomEdit::DestroyWnd()
{
    const HWND Wnd = WindowHandle();
    if (Wnd != 0) {
        // The text and modified flag outlive the window (RecreateWnd).
        FModified = SendMessage(Wnd, EM_GETMODIFY, 0, 0) != 0;
        const std::string Kept = GetWindowText(Wnd);
        TWinControl::DestroyWnd();
        TControl::SetTextBuf(Kept);
        return;
    }
    TWinControl::DestroyWnd();
}

void TCustomEdit::DefaultHandler(TMessage& Message)
{
    const HWND Wnd = WindowHandle();
    if (Wnd != 0 && FDefWndProc) {
        Message.Result =
            CallWindowProc(FDefWndProc, Wnd, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    TWinControl::DefaultHandler(Message);
}

std::string TCustomEdit::GetText() const
{
    const HWND Wnd = WindowHandle();
    return Wnd != 0 ? GetWindowText(Wnd) : TControl::GetText();
}

LRESULT TCustomEdit::SendToEdit(UINT Msg, WPARAM WParam, LPARAM LParam) const
{
    return SendMessage(const_cast<TCustomEdit*>(this)->Handle(), Msg, WParam, LParam);
}

// ---- properties

void TCustomEdit::SetAutoSize(bool Value)
{
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    if (Value)
        AdjustHeight();
}

// The height the font needs, with room for the border.
void TCustomEdit::AdjustHeight()
{
    TCanvas Measure;
    Measure.SetFont(Font());
    TTextMetric Metrics{};
    Measure.GetTextMetrics(Metrics);
    const int Extra = FBorderStyle == bsSingle ? 8 : 2;
    SetHeight(static_cast<int>(Metrics.tmHeight) + Extra);
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value)
{
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase Value)
{
    if (Value == FCharCase)
        return;
    FCharCase = Value;
    RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool Value)
{
    if (Value == FHideSelection)
        return;
    FHideSelection = Value;
    RecreateWnd();
}

void TCustomEdit::SetMaxLength(int Value)
{
    FMaxLength = std::max(0, Value);
    if (WindowHandle() != 0)
        SendMessage(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

bool TCustomEdit::Modified() const
{
    const HWND Wnd = WindowHandle();
    return Wnd != 0 ? SendMessage(Wnd, EM_GETMODIFY, 0, 0) != 0 : FModified;
}

void TCustomEdit::SetModified(bool Value)
{
    FModified = Value;
    if (WindowHandle() != 0)
        SendMessage(WindowHandle(), EM_SETMODIFY, Value ? 1 : 0, 0);
}

void TCustomEdit::SetPasswordChar(char Value)
{
    if (Value == FPasswordChar)
        return;
    FPasswordChar = Value;
    if (WindowHandle() != 0)
        SendMessage(WindowHandle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(Value), 0);
}

void TCustomEdit::SetReadOnly(bool Value)
{
    if (Value == FReadOnly)
        return;
    FReadOnly = Value;
    if (WindowHandle() != 0)
        SendMessage(WindowHandle(), EM_SETREADONLY, Value ? 1 : 0, 0);
}

// ---- selection

int TCustomEdit::SelStart() const
{
    DWORD Start = 0;
    SendToEdit(EM_GETSEL, reinterpret_cast<WPARAM>(&Start), 0);
    return static_cast<int>(Start);
}

void TCustomEdit::SetSelStart(int Value)
{
    SendToEdit(EM_SETSEL, static_cast<WPARAM>(Value), Value);
}

int TCustomEdit::SelLength() const
{
    DWORD Start = 0;
    DWORD End = 0;
    SendToEdit(EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
    return static_cast<int>(End - Start);
}

void TCustomEdit::SetSelLength(int Value)
{
    DWORD Start = 0;
    SendToEdit(EM_GETSEL, reinterpret_cast<WPARAM>(&Start), 0);
    SendToEdit(EM_SETSEL, Start, static_cast<LPARAM>(Start) + Value);
    SendToEdit(EM_SCROLLCARET, 0, 0);
}

std::string TCustomEdit::SelText() const
{
    DWORD Start = 0;
    DWORD End = 0;
    SendToEdit(EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
    return GetText().substr(Start, End - Start);
}

void TCustomEdit::SetSelText(const std::string& Value)
{
    SendToEdit(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

int TCustomEdit::GetSelTextBuf(char* Buffer, int BufSize) const
{
    if (Buffer == nullptr || BufSize <= 0)
        return 0;
    const std::string Sel = SelText();
    const std::size_t Count =
        std::min<std::size_t>(Sel.size(), static_cast<std::size_t>(BufSize) - 1);
    std::copy_n(Sel.data(), Count, Buffer);
    Buffer[Count] = '\0';
    return static_cast<int>(Count);
}

void TCustomEdit::SelectAll()
{
    SendToEdit(EM_SETSEL, 0, -1);
}

void TCustomEdit::ClearSelection()
{
    SendToEdit(WM_CLEAR, 0, 0);
}

void TCustomEdit::CopyToClipboard()
{
    SendToEdit(WM_COPY, 0, 0);
}

void TCustomEdit::CutToClipboard()
{
    SendToEdit(WM_CUT, 0, 0);
}

void TCustomEdit::PasteFromClipboard()
{
    SendToEdit(WM_PASTE, 0, 0);
}

void TCustomEdit::Undo()
{
    SendToEdit(WM_UNDO, 0, 0);
}

bool TCustomEdit::CanUndo() const
{
    return SendToEdit(EM_CANUNDO, 0, 0) != 0;
}

void TCustomEdit::ClearUndo()
{
    SendToEdit(EM_EMPTYUNDOBUFFER, 0, 0);
}

void TCustomEdit::Clear()
{
    SetText(std::string());
}

// ---- events and messages

void TCustomEdit::Change()
{
    Changed();
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::DoEnter()
{
    // Entering by the keyboard selects the whole text of a single-line edit.
    if (FAutoSelect && !ControlState().Contains(csLButtonDown) && WindowHandle() != 0 &&
        !(GetWindowLong(WindowHandle(), GWL_STYLE) & ES_MULTILINE))
        SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::WMPaint(TMessage& Message)
{
    DefaultHandler(Message);
}

void TCustomEdit::WMEraseBkgnd(TMessage& Message)
{
    DefaultHandler(Message);
}

// The window takes the mouse first (caret, selection), then the control's mouse events.
void TCustomEdit::WMMouse(TMessage& Message)
{
    DefaultHandler(Message);
    Inherited(Message);
}

void TCustomEdit::CNCommand(TMessage& Message)
{
    if (HiWord(Message.WParam) == EN_CHANGE && !FCreating)
        Change();
}

void TCustomEdit::CNCtlColor(TMessage& Message)
{
    auto* Canvas = reinterpret_cast<TCanvas*>(Message.WParam);
    if (Canvas == nullptr)
        return;
    Canvas->Brush()->SetColor(Color());
    Canvas->SetTextColor(Font()->Color());
    Message.Result = 1;
}

void TCustomEdit::CMFontChanged(TMessage& Message)
{
    Inherited(Message);
    if (WindowHandle() != 0)
        SendMessage(WindowHandle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), 1);
    if (FAutoSize)
        AdjustHeight();
}

// OnContextPopup and the PopupMenu come first; when neither takes the message, the window shows
// its own menu instead of passing it to the parent.
void TCustomEdit::WMContextMenu(TMessage& Message)
{
    if (Message.Result != 0)
        return;
    const TPoint At{GetXLParam(Message.LParam), GetYLParam(Message.LParam)};
    bool Handled = false;
    DoContextPopup(At == TPoint{-1, -1} ? At : ScreenToClient(At), Handled);
    if (Handled || ShowControlPopupMenu(this, At)) {
        Message.Result = 1;
        return;
    }
    DefaultHandler(Message);
}
