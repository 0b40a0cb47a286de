// platform/stdctrls/inplaceedit.cpp: TInplaceEdit, the grid's cell editor.
#include "platform/stdctrls/inplaceedit.h"

#include "platform/stdctrls/editwindow.h"
#include "platform/stdctrls/grids.h"
#include "platform/ui/input.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/sound.h"

const TMessageMap& TInplaceEdit::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TInplaceEdit::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TInplaceEdit::WMPaste>(WM_PASTE),
        OnMessage<&TInplaceEdit::WMCut>(WM_CUT),
        OnMessage<&TInplaceEdit::WMClear>(WM_CLEAR),
        OnMessage<&TInplaceEdit::CMShowingChanged>(CM_SHOWINGCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomMaskEdit::ClassMessageMap};
    return Map;
}

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    SetParentCtl3D(false);
    SetCtl3D(false);
    SetTabStop(false);
    SetBorderStyle(bsNone);
    SetAutoSize(false);
    SetDoubleBuffered(false);
}

// Multi-line, so that Enter and Escape reach it; created hidden, shown by Move.
void TInplaceEdit::CreateParams(TCreateParams& Params)
{
    TCustomMaskEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE;
    Params.Style &= ~WS_VISIBLE;
}

// The window shows and hides with the cell, not with the Visible property.
void TInplaceEdit::CMShowingChanged(TMessage&) {}

void TInplaceEdit::WMGetDlgCode(TMessage& Message)
{
    Inherited(Message);
    if (FGrid != nullptr && FGrid->Options().Contains(goTabs))
        Message.Result |= DLGC_WANTTAB;
}

void TInplaceEdit::WMPaste(TMessage& Message)
{
    if (EditCanModify())
        Inherited(Message);
}

void TInplaceEdit::WMCut(TMessage& Message)
{
    if (EditCanModify())
        Inherited(Message);
}

void TInplaceEdit::WMClear(TMessage& Message)
{
    if (EditCanModify())
        Inherited(Message);
}

// The focus in the editor is the grid's as far as the form is concerned; a press on the editor
// soon after the one on the grid that showed it is a double click.
void TInplaceEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETFOCUS: {
        TCustomForm* Form = GetParentForm(this);
        if (Form == nullptr || FGrid == nullptr || Form->SetFocusedControl(FGrid))
            Dispatch(Message);
        return;
    }
    case WM_LBUTTONDOWN:
        if (FClickTime != 0 && GetMessageTime() - FClickTime < GetDoubleClickTime())
            Message.Msg = WM_LBUTTONDBLCLK;
        FClickTime = 0;
        break;
    default:
        break;
    }
    TCustomMaskEdit::WndProc(Message);
}

void TInplaceEdit::DblClick()
{
    if (FGrid != nullptr)
        FGrid->DblClick();
}

bool TInplaceEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    return FGrid != nullptr && FGrid->DoMouseWheel(Shift, WheelDelta, MousePos);
}

bool TInplaceEdit::EditCanModify()
{
    return FGrid == nullptr || FGrid->CanEditModify();
}

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (FGrid == nullptr) {
        TCustomMaskEdit::KeyDown(Key, Shift);
        return;
    }
    auto SendToParent = [&] {
        FGrid->KeyDown(Key, Shift);
        Key = 0;
    };
    auto ParentEvent = [&] {
        if (FGrid->OnKeyDown)
            FGrid->OnKeyDown(FGrid, Key, Shift);
    };
    // Left and Right leave the cell only while the editor stays up from cell to cell.
    const bool ForwardMovement = FGrid->Options().Contains(goAlwaysShowEditor);
    const bool Ctrl = Shift.Contains(ssCtrl);
    const int Start = SelStart();
    const int Stop = Start + SelLength();
    const int Len = static_cast<int>(EditText().size());
    // With a mask the caret shows as its first position selected.
    const bool LeftSide = Start == 0 && (Stop == 0 || Stop == Len || (IsMasked() && Stop == 1));
    const bool RightSide = (Start == 0 || Stop == Start) && Stop == Len;
    switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE:
        SendToParent();
        break;
    case VK_INSERT:
        if (Shift.Empty())
            SendToParent();
        else if (Shift == TShiftState{ssShift} && !FGrid->CanEditModify())
            Key = 0;
        break;
    case VK_LEFT:
    case VK_HOME:
        if (ForwardMovement && (Ctrl || LeftSide))
            SendToParent();
        break;
    case VK_RIGHT:
    case VK_END:
        if (ForwardMovement && (Ctrl || RightSide))
            SendToParent();
        break;
    case VK_F2:
        ParentEvent();
        if (Key == VK_F2) {
            Deselect();
            return;
        }
        break;
    case VK_TAB:
        if (!Shift.Contains(ssAlt))
            SendToParent();
        break;
    case VK_DELETE:
        if (Ctrl)
            SendToParent();
        else if (!FGrid->CanEditModify())
            Key = 0;
        break;
    default:
        break;
    }
    if (Key != 0) {
        ParentEvent();
        TCustomMaskEdit::KeyDown(Key, Shift);
    }
}

// The grid sees each character first (Enter ends the edit there); then its CanEditAcceptKey
// and CanEditModify decide, and the masked edit types what is left.
void TInplaceEdit::KeyPress(char& Key)
{
    if (FGrid == nullptr) {
        TCustomMaskEdit::KeyPress(Key);
        return;
    }
    FGrid->KeyPress(Key);
    const auto Ch = static_cast<unsigned char>(Key);
    if (Ch >= 32 && !FGrid->CanEditAcceptKey(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    switch (static_cast<unsigned char>(Key)) {
    case 0:
        return;
    case 9:
    case 27:
        Key = 0;
        break;
    case 13:
        if (SelStart() == 0 && SelLength() == static_cast<int>(EditText().size()))
            Deselect();
        else
            SelectAll();
        Key = 0;
        break;
    case 8:
    case 22:
    case 24:
        if (!FGrid->CanEditModify())
            Key = 0;
        break;
    default:
        if (static_cast<unsigned char>(Key) >= 32 && !FGrid->CanEditModify())
            Key = 0;
        break;
    }
    if (Key != 0)
        TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::KeyUp(Word& Key, TShiftState Shift)
{
    if (FGrid != nullptr)
        FGrid->KeyUp(Key, Shift);
    else
        TCustomMaskEdit::KeyUp(Key, Shift);
}

void TInplaceEdit::Deselect()
{
    if (HandleAllocated())
        SendToEdit(EM_SETSEL, 0x7FFFFFFF, static_cast<LPARAM>(0x7FFFFFFF));
}

bool TInplaceEdit::Visible() const
{
    return HandleAllocated() && IsWindowVisible(WindowHandle());
}

void TInplaceEdit::Hide()
{
    if (!HandleAllocated() || !IsWindowVisible(WindowHandle()))
        return;
    Invalidate();
    const bool HadFocus = Focused();
    SetWindowPos(WindowHandle(), 0, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOREDRAW);
    if (HadFocus && FGrid != nullptr)
        ::SetFocus(FGrid->Handle());
}

void TInplaceEdit::Invalidate()
{
    if (!HandleAllocated())
        return;
    const HWND Wnd = WindowHandle();
    ValidateRect(Wnd, nullptr);
    InvalidateRect(Wnd, nullptr, true);
    if (FGrid == nullptr || !FGrid->HandleAllocated())
        return;
    TRect Cur;
    GetWindowRect(Wnd, Cur);
    TPoint TopLeft{Cur.Left, Cur.Top};
    TPoint BottomRight{Cur.Right, Cur.Bottom};
    ::ScreenToClient(FGrid->Handle(), TopLeft);
    ::ScreenToClient(FGrid->Handle(), BottomRight);
    const TRect InGrid{TopLeft.X, TopLeft.Y, BottomRight.X, BottomRight.Y};
    ValidateRect(FGrid->Handle(), &InGrid);
    InvalidateRect(FGrid->Handle(), &InGrid, false);
}

void TInplaceEdit::InternalMove(const TRect& Loc, bool Redraw)
{
    if (IsRectEmpty(Loc)) {
        Hide();
        return;
    }
    const HWND Wnd = Handle();
    Redraw = Redraw || !IsWindowVisible(Wnd);
    Invalidate();
    SetWindowPos(Wnd, HWND_TOP, Loc.Left, Loc.Top, Loc.Width(), Loc.Height(),
                 SWP_SHOWWINDOW | SWP_NOREDRAW);
    BoundsChanged();
    if (Redraw)
        Invalidate();
    if (FGrid != nullptr && FGrid->Focused())
        ::SetFocus(Wnd);
}

void TInplaceEdit::Move(const TRect& Loc)
{
    InternalMove(Loc, true);
}

void TInplaceEdit::UpdateLoc(const TRect& Loc)
{
    InternalMove(Loc, false);
}

bool TInplaceEdit::PosEqual(const TRect& Rect) const
{
    if (!HandleAllocated())
        return false;
    TRect Cur;
    GetWindowRect(WindowHandle(), Cur);
    return Cur.Width() == Rect.Width() && Cur.Height() == Rect.Height() && Left() == Rect.Left &&
           Top() == Rect.Top;
}

void TInplaceEdit::SetFocus()
{
    if (Visible())
        ::SetFocus(WindowHandle());
}

void TInplaceEdit::BoundsChanged()
{
    TRect R{2, 2, Width() - 2, Height()};
    SendToEdit(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&R));
    SendToEdit(EM_SCROLLCARET, 0, 0);
}

void TInplaceEdit::UpdateContents()
{
    if (FGrid == nullptr)
        return;
    SetText("");
    SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
    SetText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
    // A mask limits the text to its own length unless the grid asks for less.
    const int Limit = FGrid->GetEditLimit();
    if (!IsMasked() || (Limit > 0 && Limit < MaxLength()))
        SetMaxLength(Limit);
}
