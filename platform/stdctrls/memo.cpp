// platform/stdctrls/memo.cpp: TCustomMemo.
#include "platform/stdctrls/memo.h"

#include "platform/stdctrls/editwindow.h"
#include "platform/stdctrls/memostrings.h"
#include "platform/ui/queue.h"

const TMessageMap& TCustomMemo::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCustomMemo::WMGetDlgCode>(WM_GETDLGCODE),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomEdit::ClassMessageMap};
    return Map;
}

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this))
{
    SetBounds(Left(), Top(), 185, 89);
    SetAutoSize(false);
    SetControlStyle(ControlStyle() - TControlStyle{csFixedHeight});
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& Params)
{
    TCustomEdit::CreateParams(Params);
    Params.Style &= ~DWORD{ES_AUTOHSCROLL | ES_AUTOVSCROLL};
    Params.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
    if (!FWordWrap)
        Params.Style |= ES_AUTOHSCROLL;
    if (FWantReturns)
        Params.Style |= ES_WANTRETURN;
    if (FAlignment == taCenter)
        Params.Style |= ES_CENTER;
    else if (FAlignment == taRightJustify)
        Params.Style |= ES_RIGHT;
    // Word wrap has no horizontal scroll bar.
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        Params.Style |= WS_VSCROLL;
    if ((FScrollBars == ssHorizontal || FScrollBars == ssBoth) && !FWordWrap)
        Params.Style |= WS_HSCROLL;
}

void TCustomMemo::SetLines(const TStrings* Value)
{
    FLines->Assign(Value);
}

void TCustomMemo::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value)
{
    if (Value == FScrollBars)
        return;
    FScrollBars = Value;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value)
{
    if (Value == FWordWrap)
        return;
    FWordWrap = Value;
    RecreateWnd();
}

TPoint TCustomMemo::CaretPos() const
{
    DWORD Start = 0;
    DWORD End = 0;
    SendToEdit(EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
    const auto Line = static_cast<int>(SendToEdit(EM_LINEFROMCHAR, End, 0));
    const auto LineStart = static_cast<int>(SendToEdit(EM_LINEINDEX, static_cast<WPARAM>(Line), 0));
    return TPoint{static_cast<int>(End) - LineStart, Line};
}

void TCustomMemo::SetCaretPos(const TPoint& Value)
{
    const LRESULT LineStart = SendToEdit(EM_LINEINDEX, static_cast<WPARAM>(Value.Y), 0);
    if (LineStart < 0)
        return;
    const LRESULT Pos = LineStart + Value.X;
    SendToEdit(EM_SETSEL, static_cast<WPARAM>(Pos), Pos);
}

// Without WantReturns Enter goes to the form (the default button), without WantTabs Tab moves
// the focus.
void TCustomMemo::WMGetDlgCode(TMessage& Message)
{
    Inherited(Message);
    if (FWantTabs)
        Message.Result |= DLGC_WANTTAB;
    else
        Message.Result &= ~LRESULT{DLGC_WANTTAB};
    if (!FWantReturns)
        Message.Result &= ~LRESULT{DLGC_WANTALLKEYS};
}

void TCustomMemo::KeyPress(char& Key)
{
    TCustomEdit::KeyPress(Key);
    if (Key == '\r' && !FWantReturns)
        Key = 0;
}
