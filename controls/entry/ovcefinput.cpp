// controls/entry/ovcefinput.cpp: the entry field towards the user: keys through the controller's
// command tables, the character gate, commands with the read-only refusals, the mouse, the
// clipboard, the EM_ messages, gaining and losing the focus, and the built-in context menu.
#include "controls/entry/ovcef.h"

#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcmisc.h"
#include "controls/entry/ovcmsgs.h"
#include "controls/entry/ovcsrmgr.h"
#include "platform/forms/menus.h"
#include "platform/ui/application.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"

#include <algorithm>

namespace {

bool RefusedWhenReadOnly(Word Cmd)
{
    switch (Cmd) {
    case ccBack:
    case ccCtrlChar:
    case ccCut:
    case ccDec:
    case ccDel:
    case ccDelBol:
    case ccDelEol:
    case ccDelLine:
    case ccDelWord:
    case ccInc:
    case ccPaste:
    case ccRestore:
    case ccChar:
        return true;
    default:
        return false;
    }
}

} // namespace

const TMessageMap& TOvcBaseEntryField::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TOvcBaseEntryField::WMKeyDown>(WM_KEYDOWN),
        OnMessage<&TOvcBaseEntryField::WMSysKeyDown>(WM_SYSKEYDOWN),
        OnMessage<&TOvcBaseEntryField::WMChar>(WM_CHAR),
        OnMessage<&TOvcBaseEntryField::WMCut>(WM_CUT),
        OnMessage<&TOvcBaseEntryField::WMCopy>(WM_COPY),
        OnMessage<&TOvcBaseEntryField::WMClear>(WM_CLEAR),
        OnMessage<&TOvcBaseEntryField::WMPaste>(WM_PASTE),
        OnMessage<&TOvcBaseEntryField::WMSetText>(WM_SETTEXT),
        OnMessage<&TOvcBaseEntryField::EMGetSel>(EM_GETSEL),
        OnMessage<&TOvcBaseEntryField::EMSetSel>(EM_SETSEL),
        OnMessage<&TOvcBaseEntryField::EMGetModify>(EM_GETMODIFY),
        OnMessage<&TOvcBaseEntryField::EMSetModify>(EM_SETMODIFY),
        OnMessage<&TOvcBaseEntryField::WMLButtonDown>(WM_LBUTTONDOWN),
        OnMessage<&TOvcBaseEntryField::WMLButtonDblClk>(WM_LBUTTONDBLCLK),
        OnMessage<&TOvcBaseEntryField::WMMouseMove>(WM_MOUSEMOVE),
        OnMessage<&TOvcBaseEntryField::WMRButtonUp>(WM_RBUTTONUP),
        OnMessage<&TOvcBaseEntryField::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TOvcBaseEntryField::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessage<&TOvcBaseEntryField::WMSetFont>(WM_SETFONT),
        OnMessage<&TOvcBaseEntryField::WMSize>(WM_SIZE),
        OnMessage<&TOvcBaseEntryField::WMSetFocus>(WM_SETFOCUS),
        OnMessage<&TOvcBaseEntryField::WMKillFocus>(WM_KILLFOCUS),
        OnMessage<&TOvcBaseEntryField::OMReportError>(OM_REPORTERROR),
        OnMessage<&TOvcBaseEntryField::OMErrorReported>(OM_ERRORREPORTED),
        OnMessage<&TOvcBaseEntryField::OMGetDataSize>(OM_GETDATASIZE),
        OnMessage<&TOvcBaseEntryField::CMDialogChar>(CM_DIALOGCHAR),
        OnMessage<&TOvcBaseEntryField::CMCtl3DChanged>(CM_CTL3DCHANGED),
        OnMessage<&TOvcBaseEntryField::CMEnabledChanged>(CM_ENABLEDCHANGED),
        OnMessage<&TOvcBaseEntryField::CMFontChanged>(CM_FONTCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TOvcCustomControlEx::ClassMessageMap};
    return Map;
}

// Commands -------------------------------------------------------------------------------------

void TOvcBaseEntryField::DoCommand(TMessage& Msg, Word Cmd)
{
    HandleNeeded();
    if (!HandleAllocated() || (Cmd == ccChar && (Msg.WParam & 0xFF) == 0))
        return;
    if (IsReadOnly() && RefusedWhenReadOnly(Cmd)) {
        ErrorBeep();
        return;
    }
    if (Cmd >= ccUser) {
        DoOnUserCommand(Cmd);
        Cmd = ccNoMatch;
    }
    EditCommand(Msg, Cmd);
}

void TOvcBaseEntryField::DispatchCommand(TMessage& Msg, Word Cmd)
{
    if (Cmd == ccUndo)
        Cmd = ccRestore;
    switch (Cmd) {
    case ccNone:
        return;
    case ccIns:
        if (FOptions.Contains(efoForceInsert) || FOptions.Contains(efoForceOvertype))
            return;
        break;
    case ccCopy:
        WMCopy(Msg);
        return;
    case ccCut:
        WMCut(Msg);
        return;
    case ccPaste:
        WMPaste(Msg);
        return;
    default:
        break;
    }
    DoCommand(Msg, Cmd);
}

void TOvcBaseEntryField::WMKeyDown(TMessage& Message)
{
    Inherited(Message);
    const Word Key = static_cast<Word>(Message.WParam);
    if (Key == 0 || Key == VK_SHIFT || Controller() == nullptr)
        return;
    const Word Cmd = Controller()->EntryCommands()->Translate(Message);
    if (Cmd == ccShortCut)
        FState.Include(esKeyNotCommand);
    else
        FState.Exclude(esKeyNotCommand);
    DispatchCommand(Message, Cmd);
}

void TOvcBaseEntryField::WMSysKeyDown(TMessage& Message)
{
    Inherited(Message);
    const Word Key = static_cast<Word>(Message.WParam);
    if (Key == 0 || Key == VK_TAB || Key == VK_MENU || Controller() == nullptr)
        return;
    const Word Cmd =
        Controller()->EntryCommands()->TranslateKeyState(Key, CurrentShiftFlags() | ss_Alt);
    if (Cmd == ccShortCut)
        FState.Include(esKeyNotCommand);
    else
        FState.Exclude(esKeyNotCommand);
    DispatchCommand(Message, Cmd);
    // Alt and a keypad digit type a character by its code.
    if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9)
        FState.Include(esTakeNextChar);
}

void TOvcBaseEntryField::WMChar(TMessage& Message)
{
    Inherited(Message);
    // The edit engine clears the permission after each command it runs.
    if (FState.Contains(esKeyNotCommand) || FState.Contains(esTakeNextChar))
        DoCommand(Message, ccChar);
}

// Clipboard ------------------------------------------------------------------------------------

void TOvcBaseEntryField::CopySelection()
{
    const int Start = std::min(FSelStart, static_cast<int>(FEditText.size()));
    const int End = ClippedSelEnd();
    if (End <= Start)
        return;
    std::string Text = GetDisplayText(255);
    Text.resize(std::max(Text.size(), static_cast<std::size_t>(End)), ' ');
    // Control characters go back as themselves, not as the letters they are shown as.
    for (int I = Start; I < End; ++I)
        if (static_cast<Byte>(FEditText[static_cast<std::size_t>(I)]) < ' ')
            Text[static_cast<std::size_t>(I)] = FEditText[static_cast<std::size_t>(I)];
    Clipboard()->SetAsText(
        Text.substr(static_cast<std::size_t>(Start), static_cast<std::size_t>(End - Start)));
}

void TOvcBaseEntryField::WMCut(TMessage& Message)
{
    CopySelection();
    DoCommand(Message, ccCut);
}

void TOvcBaseEntryField::WMCopy(TMessage& Message)
{
    // The edit engine copies (CopySelection) on ccCopy.
    DoCommand(Message, ccCopy);
}

void TOvcBaseEntryField::WMClear(TMessage& Message)
{
    DoCommand(Message, ccCut);
}

void TOvcBaseEntryField::WMPaste(TMessage& Message)
{
    if (!Clipboard()->HasFormat(CF_TEXT))
        return;
    const std::string Text = Clipboard()->AsText();
    TMessage Paste = Message;
    Paste.LParam = reinterpret_cast<LPARAM>(Text.c_str());
    DoCommand(Paste, ccPaste);
}

void TOvcBaseEntryField::WMSetText(TMessage& Message)
{
    if (!HandleAllocated() || Message.LParam == 0)
        return;
    SelectAll();
    DoCommand(Message, ccPaste);
    Message.Result = 1;
}

void TOvcBaseEntryField::CutToClipboard()
{
    Perform(WM_CUT, 0, 0);
}

void TOvcBaseEntryField::CopyToClipboard()
{
    Perform(WM_COPY, 0, 0);
}

void TOvcBaseEntryField::PasteFromClipboard()
{
    Perform(WM_PASTE, 0, 0);
}

void TOvcBaseEntryField::ClearSelection()
{
    Perform(WM_CLEAR, 0, 0);
}

void TOvcBaseEntryField::SelectAll()
{
    SetSelection(0, 255);
}

void TOvcBaseEntryField::PerformCut()
{
    TMessage Message{};
    WMCut(Message);
}

void TOvcBaseEntryField::PerformPaste()
{
    TMessage Message{};
    WMPaste(Message);
}

// Selection and modification -------------------------------------------------------------------

void TOvcBaseEntryField::EMGetSel(TMessage& Message)
{
    const int End = ClippedSelEnd();
    if (Message.WParam != 0)
        *reinterpret_cast<std::int32_t*>(Message.WParam) = FSelStart;
    if (Message.LParam != 0)
        *reinterpret_cast<std::int32_t*>(Message.LParam) = End;
    Message.Result = MakeLParam(FSelStart, End);
}

void TOvcBaseEntryField::EMSetSel(TMessage& Message)
{
    const unsigned Start = LoWord(static_cast<std::uintptr_t>(Message.LParam));
    const unsigned End = HiWord(static_cast<std::uintptr_t>(Message.LParam));
    if (Start == 0xFFFF) {
        FSelStart = FSelEnd = std::min(FCaretPos, static_cast<int>(FEditText.size()));
    } else if (Start == 0 && End == 0xFFFF)
        SelectAll();
    else if (End >= Start)
        SetSelection(static_cast<int>(Start), static_cast<int>(End));
    Invalidate();
}

void TOvcBaseEntryField::EMGetModify(TMessage& Message)
{
    Message.Result = Modified() ? 1 : 0;
}

void TOvcBaseEntryField::EMSetModify(TMessage& Message)
{
    SetModified(static_cast<std::intptr_t>(Message.WParam) > 0);
}

// Mouse ----------------------------------------------------------------------------------------

void TOvcBaseEntryField::WMLButtonDown(TMessage& Message)
{
    if (!FState.Contains(esFocused)) {
        FState.Include(esMouseEntry);
        FSelStart = FSelEnd = 0;
        if (CanFocus())
            SetFocus();
        Inherited(Message);
        return;
    }
    Inherited(Message);
    DoCommand(Message, ccMouse);
}

void TOvcBaseEntryField::WMLButtonDblClk(TMessage& Message)
{
    if (FState.Contains(esFocused))
        DoCommand(Message, ccDblClk);
    Inherited(Message);
}

void TOvcBaseEntryField::WMMouseMove(TMessage& Message)
{
    Inherited(Message);
    if (MouseCapture() && (GetAsyncKeyState(PrimaryButtonKey()) & 0x8000) != 0)
        DoCommand(Message, ccMouseMove);
}

void TOvcBaseEntryField::WMRButtonUp(TMessage& Message)
{
    if (PopupMenu() != nullptr) {
        Inherited(Message);
        return;
    }
    if (!FState.Contains(esFocused) && CanFocus())
        SetFocus();
    const TPoint At =
        ClientToScreen(TPoint{static_cast<int>(static_cast<std::int16_t>(
                                  LoWord(static_cast<std::uintptr_t>(Message.LParam)))),
                              static_cast<int>(static_cast<std::int16_t>(
                                  HiWord(static_cast<std::uintptr_t>(Message.LParam))))});
    ShowContextMenu(At.X, At.Y);
}

TPopupMenu* TOvcBaseEntryField::CreateContextMenu(TComponent* Owner)
{
    auto* Menu = new TPopupMenu(Owner);
    const bool HasSelection = ClippedSelEnd() > std::min(FSelStart, ClippedSelEnd());
    const bool ReadOnly = IsReadOnly();
    const auto Add = [Menu](std::uint16_t Id, bool Enabled, std::function<void()> Action) {
        auto* Item = new TMenuItem(Menu);
        Item->SetCaption(Id == 0 ? std::string("-") : LibraryString(Id));
        Item->SetEnabled(Enabled);
        if (Action)
            Item->OnClick = [Action](TObject*) { Action(); };
        Menu->Items()->Add(Item);
    };
    Add(30287, Modified(), [this] { DoRestore(); });
    Add(0, true, nullptr);
    Add(30288, HasSelection && !ReadOnly, [this] { CutToClipboard(); });
    Add(30289, HasSelection, [this] { CopyToClipboard(); });
    Add(30290, !ReadOnly && Clipboard()->HasFormat(CF_TEXT), [this] { PasteFromClipboard(); });
    Add(30291, HasSelection && !ReadOnly, [this] { ClearSelection(); });
    Add(0, true, nullptr);
    Add(30292,
        ClippedSelEnd() - std::min(FSelStart, ClippedSelEnd()) < static_cast<int>(FEditText.size()),
        [this] { SelectAll(); });
    return Menu;
}

void TOvcBaseEntryField::ShowContextMenu(int X, int Y)
{
    std::unique_ptr<TPopupMenu> Menu(CreateContextMenu(nullptr));
    Menu->SetPopupComponent(this);
    Menu->Popup(X, Y);
    // The chosen item runs from the queue; the menu lives until it has.
    if (Application != nullptr)
        Application->ProcessMessages();
}

// Window answers -------------------------------------------------------------------------------

void TOvcBaseEntryField::WMGetDlgCode(TMessage& Message)
{
    if (Designing()) {
        Message.Result = DLGC_STATIC;
        return;
    }
    Inherited(Message);
    Message.Result |= DLGC_WANTCHARS | DLGC_WANTARROWS;
}

void TOvcBaseEntryField::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

void TOvcBaseEntryField::WMSetFont(TMessage& Message)
{
    Inherited(Message);
    Canvas()->Font()->Assign(Font());
}

void TOvcBaseEntryField::WMSize(TMessage& Message)
{
    Inherited(Message);
    Invalidate();
}

void TOvcBaseEntryField::CMDialogChar(TMessage& Message)
{
    // Alt+Backspace restores the text; it is no accelerator of the dialog.
    if ((Message.WParam & 0xFF) == VK_BACK && (GetKeyState(VK_MENU) & 0x8000) != 0) {
        Message.Result = 1;
        return;
    }
    Inherited(Message);
}

void TOvcBaseEntryField::CMCtl3DChanged(TMessage& Message)
{
    Inherited(Message);
    if (HandleAllocated()) {
        if (FBorderStyle == bsSingle && !Loading()) {
            RecreateWnd();
            AdjustHeight();
        }
        ComputeTextTop();
    }
}

void TOvcBaseEntryField::CMEnabledChanged(TMessage& Message)
{
    Inherited(Message);
    Invalidate();
}

void TOvcBaseEntryField::CMFontChanged(TMessage& Message)
{
    Inherited(Message);
    if (Loading() || !HandleAllocated())
        return;
    Canvas()->Font()->Assign(Font());
    AdjustHeight();
    ComputeTextTop();
    if (FState.Contains(esFocused))
        PlaceCaret(false);
}

// Focus ----------------------------------------------------------------------------------------

void TOvcBaseEntryField::WMSetFocus(TMessage& Message)
{
    if (Loading() || Designing()) {
        Inherited(Message);
        return;
    }
    TOvcController* C = Controller();
    const HWND Lost = reinterpret_cast<HWND>(Message.WParam);
    FState.Include(esFocused);
    if (C != nullptr)
        C->EntryCommands()->ResetCommandProcessor();
    if (FState.Contains(esRefocusPending)) {
        // A button held down in the window that had the focus must not stay pressed.
        if (Lost != 0 && IsWindow(Lost)) {
            SendMessage(Lost, WM_CANCELMODE, 0, 0);
            TPoint P = GetCursorPos();
            ::ScreenToClient(Lost, P);
            SendMessage(Lost, WM_LBUTTONUP, 0, MakeLParam(P.X, P.Y));
        }
        Show();
        if (TCustomForm* Form = GetParentForm(this);
            Form != nullptr && Form->ActiveControl() != this)
            Form->SetActiveControl(this);
    }
    if (!FOptions.Contains(efoForceInsert) && !FOptions.Contains(efoForceOvertype) &&
        C != nullptr) {
        if (C->InsertMode())
            FState.Include(esInsertMode);
        else
            FState.Exclude(esInsertMode);
    }
    bool Moved = false;
    bool SelectText = false;
    bool Correcting = FState.Contains(esCorrecting);
    if (!FState.Contains(esLeftForm)) {
        Correcting = C != nullptr && C->ErrorPending() && FLastError != 0;
        if (!Correcting) {
            if (!FState.Contains(esRefocusPending))
                FState.Exclude(esModified);
            if (C != nullptr)
                C->PostPreEdit(this, FindControl(Lost));
            FSavedEditText = FEditText;
        }
        if (!FState.Contains(esMouseEntry)) {
            PlaceCaretOnEntry();
            Moved = true;
            SelectText = !Correcting;
        }
    }
    if (Correcting && !FOptions.Contains(efoSoftValidation))
        FState.Include(esCorrecting);
    else
        FState.Exclude(esCorrecting);
    for (TEntryState S : {esErrorPosted, esLeftForm, esMouseEntry, esRefocusPending})
        FState.Exclude(S);
    if (!Correcting && C != nullptr)
        C->SetErrorPending(false);
    Inherited(Message);
    if (FOptions.Contains(efoForceInsert))
        FState.Include(esInsertMode);
    else if (FOptions.Contains(efoForceOvertype))
        FState.Exclude(esInsertMode);
    FCaretPair->SetInsertMode(FState.Contains(esInsertMode));
    FCaretPair->SetLinked(true);
    FCaretPair->SetVisible(true);
    PlaceCaret(Moved);
    if (SelectText && C != nullptr && C->EntryOptions().Contains(efoAutoSelect))
        SelectAll();
    Invalidate();
}

void TOvcBaseEntryField::WMKillFocus(TMessage& Message)
{
    if (ComponentState().Contains(csDestroying)) {
        FCaretPair->SetLinked(false);
        Inherited(Message);
        return;
    }
    if (Loading() || Designing()) {
        Inherited(Message);
        return;
    }
    TOvcController* C = Controller();
    HWND Target = reinterpret_cast<HWND>(Message.WParam);
    TWinControl* TargetControl = Target != 0 ? FindControl(Target) : nullptr;
    const TCustomForm* Form = GetParentForm(this);
    if (Target == Handle() || TargetControl == nullptr || GetParentForm(TargetControl) != Form) {
        Target = 0;
        TargetControl = nullptr;
        FState.Include(esLeftForm);
    } else
        FState.Exclude(esLeftForm);
    FCaretPair->SetLinked(false);
    if (MouseCapture())
        SetMouseCapture(false);
    Inherited(Message);
    if (!FOptions.Contains(efoForceInsert) && !FOptions.Contains(efoForceOvertype) && C != nullptr)
        C->SetInsertMode(FState.Contains(esInsertMode));
    const bool WasCorrecting = FState.Contains(esCorrecting);
    if (FState.Contains(esErrorPosted) || WasCorrecting) {
        if (FState.Contains(esErrorPosted))
            FState.Include(esRefocusPending);
        else
            FState.Exclude(esRefocusPending);
    } else {
        FState.Include(esRefocusPending);
        if (Target != 0) {
            if (Modified())
                FUninitialized = false;
            if (C != nullptr && C->IsSpecialControl(Target)) {
                const bool WasModified = Modified();
                FLastError = CheckEditText();
                SetModified(WasModified);
            } else {
                ValidateContents(true);
                if (FState.Contains(esErrorPosted))
                    FState.Include(esRefocusPending);
                else
                    FState.Exclude(esRefocusPending);
            }
        }
    }
    FState.Exclude(esFocused);
    if (TargetControl != nullptr && !WasCorrecting && C != nullptr)
        C->PostPostEdit(this, TargetControl);
    FState.Exclude(esCorrecting);
    if (!FState.Contains(esLeftForm))
        CaretToStart();
    Invalidate();
}

void TOvcBaseEntryField::OMErrorReported(TMessage&)
{
    // As when the report's box hands the focus back: the next leave validates again.
    if (!FState.Contains(esFocused) || !FState.Contains(esCorrecting))
        return;
    FState.Exclude(esCorrecting);
    if (Controller() != nullptr)
        Controller()->SetErrorPending(false);
}
