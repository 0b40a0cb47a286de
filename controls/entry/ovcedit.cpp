// controls/entry/ovcedit.cpp: the editor's view of its text: properties, the ring of views of
// one store and their notifications, lines and bookmarks, the clipboard, undo, errors, keys and
// focus.
#include "controls/entry/ovcedit.h"

#include "controls/entry/ovccmd.h"
#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcedcols.h"
#include "controls/entry/ovcexcpt.h"
#include "controls/entry/ovcsrmgr.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/cursors.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/sound.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::string_view Delimiters = "\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*";

enum { nkParaInserted, nkParaDeleted, nkTextInserted, nkTextDeleted, nkJoined };

} // namespace

bool IsEditorDelimiter(char C)
{
    return Delimiters.find(C) != std::string_view::npos;
}

TOvcCustomEditor::TOvcCustomEditor(TComponent* AOwner)
    : TOvcEditBase(AOwner), FBorders(std::make_unique<TOvcBorders>()),
      FCaretPair(std::make_unique<TOvcCaretPair>(this)),
      FFixedFont(std::make_unique<TOvcFixedFont>()),
      FHighlightColors(std::make_unique<TOvcColors>(clHighlightText, clHighlight))
{
    FParas = new TOvcParaList(this, 8192);
    SetBounds(Left(), Top(), 200, 150);
    SetTabStop(true);
    SetCursor(crIBeam);
    FFixedFont->OnChange = [this] {
        ComputeMetrics();
        Invalidate();
    };
    FHighlightColors->OnColorChange = [this] { Invalidate(); };
}

TOvcCustomEditor::~TOvcCustomEditor()
{
    LeaveRing();
}

void TOvcCustomEditor::LeaveRing()
{
    if (FParas == nullptr)
        return;
    if (FNextView == this || FNextView == nullptr) {
        delete FParas;
    } else {
        TOvcCustomEditor* Prev = FNextView;
        while (Prev->FNextView != this)
            Prev = Prev->FNextView;
        Prev->FNextView = FNextView;
        if (FParas->Owner() == this)
            FParas->SetOwner(FNextView);
    }
    FParas = nullptr;
    FNextView = this;
}

// Lines and paragraphs ---------------------------------------------------------------------------

std::string TOvcCustomEditor::Lines(int Index) const
{
    if (Index < 1 || Index > LineCount())
        throw EInvalidLineOrPara();
    return ExpandTabs(FParas->LineText(Index), TabSize(), ParaIsUtf8(LineStart(Index).Para));
}

std::string TOvcCustomEditor::GetPara(int Para) const
{
    if (Para < 1 || Para > ParaCount())
        throw EInvalidLineOrPara();
    return std::string(FParas->ParaText(Para));
}

int TOvcCustomEditor::ParaLength(int Para) const
{
    if (Para < 1 || Para > ParaCount())
        throw EInvalidLineOrPara();
    return FParas->ParaLength(Para);
}

void TOvcCustomEditor::SetModified(bool Value)
{
    FParas->SetModified(Value);
    for (TOvcCustomEditor* V = this;;) {
        V->Invalidate();
        V = V->FNextView;
        if (V == this || V == nullptr)
            break;
    }
}

TParaPos TOvcCustomEditor::LineStart(int Line) const
{
    return FParas->LineToPara(std::clamp(Line, 1, LineCount()), 1);
}

int TOvcCustomEditor::LineLen(int Line) const
{
    return FParas->LineLength(Line);
}

int TOvcCustomEditor::CaretLinePos() const
{
    return FCaret.Pos - LineStart(FCaretLine).Pos + 1;
}

int TOvcCustomEditor::CaretColumn() const
{
    const TParaPos Start = LineStart(FCaretLine);
    return ColumnOfOffset(FParas->LineText(FCaretLine), FCaret.Pos - Start.Pos, TabSize(),
                          ParaIsUtf8(FCaret.Para)) +
           1;
}

TParaPos TOvcCustomEditor::ClippedCaret() const
{
    return TParaPos{FCaret.Para, std::min(FCaret.Pos, FParas->ParaLength(FCaret.Para) + 1)};
}

bool TOvcCustomEditor::HasSelection() const
{
    return !(ClippedCaret() == FAnchor);
}

namespace {

bool Before(TParaPos A, TParaPos B)
{
    return A.Para < B.Para || (A.Para == B.Para && A.Pos < B.Pos);
}

} // namespace

TParaPos TOvcCustomEditor::SelStart() const
{
    const TParaPos C = ClippedCaret();
    return Before(C, FAnchor) ? C : FAnchor;
}

TParaPos TOvcCustomEditor::SelEnd() const
{
    const TParaPos C = ClippedCaret();
    return Before(C, FAnchor) ? FAnchor : C;
}

std::string TOvcCustomEditor::SelectedText() const
{
    const TParaPos S = SelStart();
    const TParaPos E = SelEnd();
    std::string Text;
    for (int P = S.Para; P <= E.Para; ++P) {
        const std::string_view T = FParas->ParaText(P);
        const int From = P == S.Para ? S.Pos - 1 : 0;
        const int To = P == E.Para ? E.Pos - 1 : static_cast<int>(T.size());
        if (To > From)
            Text.append(
                T.substr(static_cast<std::size_t>(From), static_cast<std::size_t>(To - From)));
        if (P != E.Para)
            Text += "\r\n";
    }
    return Text;
}

void TOvcCustomEditor::SetCaretFromPara(TParaPos P)
{
    P.Para = std::clamp(P.Para, 1, ParaCount());
    P.Pos = std::max(P.Pos, 1);
    int Line = 1, Col = 1;
    FParas->ParaToLine(P.Para, P.Pos, Line, Col);
    FCaret = P;
    FCaretLine = Line;
}

void TOvcCustomEditor::SetCaretPosition(int Line, int Pos)
{
    MoveCaretTo(Line, Pos, false, false);
}

void TOvcCustomEditor::SetSelection(int Line1, int Col1, int Line2, int Col2, bool CaretAtEnd)
{
    if (!CaretAtEnd) {
        std::swap(Line1, Line2);
        std::swap(Col1, Col2);
    }
    MoveCaretTo(Line1, Col1, false, false);
    MoveCaretTo(Line2, Col2, true, false);
}

// Views ------------------------------------------------------------------------------------------

void TOvcCustomEditor::AdjustPos(TParaPos& P, int Kind, int Para, int Pos, int Count) const
{
    switch (Kind) {
    case nkParaInserted:
        if (P.Para > Para)
            ++P.Para;
        else if (P.Para == Para) {
            if (Pos <= 1)
                ++P.Para;
            else if (P.Pos >= Pos)
                P = TParaPos{Para + 1, P.Pos - Pos + 1};
        }
        break;
    case nkParaDeleted:
        if (P.Para > Para)
            --P.Para;
        else if (P.Para == Para)
            P.Pos = 1;
        break;
    case nkTextInserted:
        if (P.Para == Para && P.Pos >= Pos)
            P.Pos += Count;
        break;
    case nkTextDeleted:
        if (P.Para == Para) {
            if (P.Pos >= Pos + Count)
                P.Pos -= Count;
            else if (P.Pos > Pos)
                P.Pos = Pos;
        }
        break;
    case nkJoined:
        if (P.Para == Para + 1)
            P = TParaPos{Para, P.Pos + Pos - 1};
        else if (P.Para > Para + 1)
            --P.Para;
        break;
    default:
        break;
    }
    P.Para = std::clamp(P.Para, 1, FParas->ParaCount());
    P.Pos = std::max(P.Pos, 1);
}

void TOvcCustomEditor::AdjustAll(TOvcEditView* Sender, int Kind, int Para, int Pos, int Count)
{
    AdjustPos(FCaret, Kind, Para, Pos, Count);
    AdjustPos(FAnchor, Kind, Para, Pos, Count);
    AdjustPos(FTopPara, Kind, Para, Pos, Count);
    FAnchor.Pos = std::min(FAnchor.Pos, FParas->ParaLength(FAnchor.Para) + 1);
    SetCaretFromPara(FCaret);
    int Line = 1, Col = 1;
    FParas->ParaToLine(FTopPara.Para, FTopPara.Pos, Line, Col);
    Line = std::clamp(Line, 1, LineCount());
    FTopPara = LineStart(Line);
    // The editing view repaints only the lines it changed (TextChanged); the others all.
    if (Line != FTopLine || Sender != this) {
        FTopLine = Line;
        Invalidate();
    }
    FScrollBarsPending = true;
}

void TOvcCustomEditor::ParaInserted(TOvcEditView* Sender, int Para, int Pos)
{
    AdjustAll(Sender, nkParaInserted, Para, Pos, 0);
}

void TOvcCustomEditor::ParaDeleted(TOvcEditView* Sender, int Para)
{
    AdjustAll(Sender, nkParaDeleted, Para, 0, 0);
}

void TOvcCustomEditor::TextInserted(TOvcEditView* Sender, int Para, int Pos, int Count)
{
    AdjustAll(Sender, nkTextInserted, Para, Pos, Count);
}

void TOvcCustomEditor::TextDeleted(TOvcEditView* Sender, int Para, int Pos, int Count)
{
    AdjustAll(Sender, nkTextDeleted, Para, Pos, Count);
}

void TOvcCustomEditor::ParasJoined(TOvcEditView* Sender, int Para, int Pos)
{
    AdjustAll(Sender, nkJoined, Para, Pos, 0);
}

void TOvcCustomEditor::Attach(TOvcCustomEditor* Other)
{
    if (Other == nullptr || Other == this || Other->FParas == FParas)
        return;
    LeaveRing();
    FParas = Other->FParas;
    FNextView = Other->FNextView;
    Other->FNextView = this;
    FCaret = FAnchor = FTopPara = TParaPos{1, 1};
    FCaretLine = FTopLine = 1;
    FLeftCol = 0;
    Refresh();
}

void TOvcCustomEditor::Clear()
{
    TOvcParaList* Old = FParas;
    auto* Store = new TOvcParaList(this, Old->UndoSize());
    Store->SetParaLimit(Old->ParaLimit());
    Store->SetTextLimit(Old->TextLimit());
    Store->SetParaLengthLimit(Old->ParaLengthLimit());
    Store->SetTabSize(static_cast<Byte>(Old->TabSize()));
    Store->SetWrapColumn(Old->WrapColumn());
    Store->SetWordWrap(Old->WordWrap());
    LeaveRing();
    FParas = Store;
    FCaret = FAnchor = FTopPara = TParaPos{1, 1};
    FCaretLine = FTopLine = 1;
    FLeftCol = 0;
    Refresh();
}

void TOvcCustomEditor::Refresh()
{
    FRepaintPending = true;
    FScrollBarsPending = true;
    Invalidate();
    if (FFocused)
        PlaceCaret();
}

// Undo, clipboard, bookmarks ---------------------------------------------------------------------

bool TOvcCustomEditor::CanUndo() const
{
    return !ReadOnly() && FParas->UndoBuffer().UndoCount() > 0;
}

bool TOvcCustomEditor::CanRedo() const
{
    return !ReadOnly() && FParas->UndoBuffer().RedoCount() > 0;
}

void TOvcCustomEditor::Undo()
{
    if (!CanUndo()) {
        MessageBeep(0);
        return;
    }
    TParaPos At = FCaret;
    FParas->Undo(this, At);
    SetCaretFromPara(At);
    FAnchor = ClippedCaret();
    CaretMoved(false, 0);
    Refresh();
}

void TOvcCustomEditor::Redo()
{
    if (!CanRedo()) {
        MessageBeep(0);
        return;
    }
    TParaPos At = FCaret;
    FParas->Redo(this, At);
    SetCaretFromPara(At);
    FAnchor = ClippedCaret();
    CaretMoved(false, 0);
    Refresh();
}

void TOvcCustomEditor::InsertString(const std::string& Text)
{
    if (ReadOnly())
        return;
    const bool Group = FParas->BeginGroup();
    DeleteSelection();
    TParaPos At = ClippedCaret();
    const Word Error = FParas->InsertBlock(this, At, Text);
    FParas->EndGroup(Group);
    SetCaretFromPara(At);
    FAnchor = ClippedCaret();
    CaretMoved(false, 0);
    Refresh();
    DoOnError(Error);
}

void TOvcCustomEditor::CopyToClipboard()
{
    if (!HasSelection())
        return;
    std::string Text = SelectedText();
    // Control bytes would cut or garble the text elsewhere; tabs stay tabs.
    for (char& C : Text)
        if (static_cast<unsigned char>(C) <= 8)
            C = ' ';
    try {
        Clipboard()->SetAsText(Text);
    } catch (const std::bad_alloc&) {
        DoOnError(oeOutOfMemory);
    }
}

void TOvcCustomEditor::CutToClipboard()
{
    if (!HasSelection() || ReadOnly())
        return;
    CopyToClipboard();
    const int OldLines = LineCount();
    DeleteSelection();
    CaretMoved(false, 0);
    TextChanged(OldLines);
}

void TOvcCustomEditor::PasteFromClipboard()
{
    if (ReadOnly())
        return;
    const std::string Text = Clipboard()->AsText();
    const int OldLines = LineCount();
    const bool Group = FParas->BeginGroup();
    Word Error = 0;
    if (HasSelection())
        DeleteSelection();
    TParaPos At = ClippedCaret();
    constexpr std::size_t PieceSize = 61440;
    constexpr std::size_t MaxExtra = 4080;
    std::size_t Done = 0;
    while (Error == 0 && Done < Text.size()) {
        std::size_t End = std::min(Text.size(), Done + PieceSize);
        const std::size_t Limit = std::min(Text.size(), End + MaxExtra);
        // A line end is never cut in two.
        while (End < Limit && (Text[End] == '\r' || Text[End] == '\n'))
            ++End;
        Error = FParas->InsertBlock(this, At, std::string_view(Text).substr(Done, End - Done));
        Done = End;
    }
    FParas->EndGroup(Group);
    SetCaretFromPara(At);
    FAnchor = ClippedCaret();
    CaretMoved(false, 0);
    TextChanged(OldLines);
    DoOnError(Error);
}

void TOvcCustomEditor::SetMarker(int N)
{
    const TParaPos P = ClippedCaret();
    FParas->SetMarker(N, P.Para, P.Pos);
    Invalidate();
}

void TOvcCustomEditor::SetMarkerAt(int N, int Line, int Col)
{
    if (Line < 1 || Line > LineCount() || Col < 1)
        throw EInvalidLineOrCol();
    const TParaPos Start = LineStart(Line);
    FParas->SetMarker(N, Start.Para, Start.Pos + Col - 1);
    Invalidate();
}

void TOvcCustomEditor::ClearMarker(int N)
{
    FParas->ClearMarker(N);
    Invalidate();
}

void TOvcCustomEditor::GotoMarker(int N)
{
    if (N < 0 || N > 9)
        return;
    const TParaPos M = FParas->Marker(N);
    if (M.Para == 0)
        return;
    int Line = 1, Col = 1;
    FParas->ParaToLine(M.Para, M.Pos, Line, Col);
    const TParaPos Start = LineStart(Line);
    MoveCaretTo(Line, M.Pos - Start.Pos + 1, false, false);
}

// Events -----------------------------------------------------------------------------------------

void TOvcCustomEditor::DoOnChange()
{
    if (OnChange)
        OnChange(this);
}

void TOvcCustomEditor::DoOnError(Word ErrorCode)
{
    if (ErrorCode == 0)
        return;
    if (OnError) {
        OnError(this, ErrorCode);
        return;
    }
    throw EEditorError(LibraryString(EditorErrorMessageId(ErrorCode)), ErrorCode);
}

void TOvcCustomEditor::DoOnShowStatus(int LineNum, int ColNum)
{
    if (OnShowStatus)
        OnShowStatus(this, LineNum, ColNum);
}

void TOvcCustomEditor::DoOnTopLineChanged(int Line)
{
    if (OnTopLineChanged)
        OnTopLineChanged(this, Line);
}

void TOvcCustomEditor::DoOnUserCommand(Word Command)
{
    if (OnUserCommand)
        OnUserCommand(this, Command);
}

// Properties -------------------------------------------------------------------------------------

void TOvcCustomEditor::SetBorderStyle(TBorderStyle Value)
{
    if (Value != FBorderStyle) {
        FBorderStyle = Value;
        RecreateWnd();
    }
}

void TOvcCustomEditor::SetByteLimit(int Value)
{
    if (Value >= 0)
        FParas->SetTextLimit(Value);
}

void TOvcCustomEditor::SetHideSelection(bool Value)
{
    FHideSelection = Value;
    Invalidate();
}

void TOvcCustomEditor::SetInsertMode(bool Value)
{
    FInsertMode = Value;
    FCaretPair->SetInsertMode(Value);
}

void TOvcCustomEditor::SetLeftMargin(int Value)
{
    if (Value >= 0) {
        FLeftMargin = Value;
        ComputeMetrics();
        Invalidate();
    }
}

void TOvcCustomEditor::SetRightMargin(int Value)
{
    if (Value >= 0) {
        FRightMargin = Value;
        ComputeMetrics();
        Invalidate();
    }
}

void TOvcCustomEditor::SetMarginColor(TColor Value)
{
    FMarginColor = Value;
    Invalidate();
}

void TOvcCustomEditor::SetParaLengthLimit(int Value)
{
    FParas->SetParaLengthLimit(Value);
}

void TOvcCustomEditor::SetParaLimit(int Value)
{
    if (Value > 0)
        FParas->SetParaLimit(Value);
}

void TOvcCustomEditor::SetScrollBars(TScrollStyle Value)
{
    if (Value == FScrollBars)
        return;
    FScrollBars = Value;
    if (Value == ssNone)
        FScrollBarsAlways = false;
    FScrollBarsPending = true;
    RecreateWnd();
}

void TOvcCustomEditor::SetScrollBarsAlways(bool Value)
{
    FScrollBarsAlways = Value && FScrollBars != ssNone;
    UpdateScrollBars();
}

void TOvcCustomEditor::SetScrollPastEnd(bool Value)
{
    FScrollPastEnd = Value;
    if (Value)
        SetWordWrap(false);
}

void TOvcCustomEditor::SetShowBookmarks(bool Value)
{
    FShowBookmarks = Value;
    Invalidate();
}

void TOvcCustomEditor::SetTabSize(int Value)
{
    if (Value > 0 && Value <= 255) {
        FParas->SetTabSize(static_cast<Byte>(Value));
        SetCaretFromPara(FCaret);
        Refresh();
    }
}

void TOvcCustomEditor::SetWordWrap(bool Value)
{
    if (Value) {
        FWrapAtLeft = true;
        FScrollPastEnd = false;
        FCaret = ClippedCaret();
    }
    FParas->SetWordWrap(Value);
    SetCaretFromPara(FCaret);
    SetTopLineInternal(std::min(FTopLine, LineCount()));
    Refresh();
}

void TOvcCustomEditor::SetWrapAtLeft(bool Value)
{
    FWrapAtLeft = Value || WordWrap();
}

void TOvcCustomEditor::SetWrapColumn(int Value)
{
    if (Value > 0) {
        FParas->SetWrapColumn(Value);
        SetCaretFromPara(FCaret);
        Refresh();
    }
}

void TOvcCustomEditor::SetWrapToWindow(bool Value)
{
    FWrapToWindow = Value;
    ComputeMetrics();
}

void TOvcCustomEditor::SetTopLine(int Line)
{
    if (Line < 1 || Line > LineCount())
        throw EInvalidLineOrPara();
    SetTopLineInternal(Line);
}

void TOvcCustomEditor::SetTopLineInternal(int Line)
{
    Line = std::clamp(Line, 1, LineCount());
    FTopPara = LineStart(Line);
    if (Line == FTopLine)
        return;
    FTopLine = Line;
    FRepaintPending = true;
    Invalidate();
    UpdateScrollBars();
    if (FFocused)
        PlaceCaret();
    DoOnTopLineChanged(Line);
}

// Window -----------------------------------------------------------------------------------------

void TOvcCustomEditor::CreateParams(TCreateParams& Params)
{
    TOvcEditBase::CreateParams(Params);
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        Params.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        Params.Style |= WS_HSCROLL;
    if (FBorderStyle == bsSingle) {
        if (Ctl3D())
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
}

void TOvcCustomEditor::CreateWnd()
{
    TOvcEditBase::CreateWnd();
    ComputeMetrics();
    FScrollBarsPending = true;
}

void TOvcCustomEditor::ReportAfterEdit(Word Error)
{
    DoOnError(Error);
}

// Messages ---------------------------------------------------------------------------------------

const TMessageMap& TOvcCustomEditor::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TOvcCustomEditor::WMKeyDown>(WM_KEYDOWN),
        OnMessage<&TOvcCustomEditor::WMSysKeyDown>(WM_SYSKEYDOWN),
        OnMessage<&TOvcCustomEditor::WMChar>(WM_CHAR),
        OnMessage<&TOvcCustomEditor::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TOvcCustomEditor::WMSetFocus>(WM_SETFOCUS),
        OnMessage<&TOvcCustomEditor::WMKillFocus>(WM_KILLFOCUS),
        OnMessage<&TOvcCustomEditor::WMSize>(WM_SIZE),
        OnMessage<&TOvcCustomEditor::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessage<&TOvcCustomEditor::WMLButtonDown>(WM_LBUTTONDOWN),
        OnMessage<&TOvcCustomEditor::WMLButtonDblClk>(WM_LBUTTONDBLCLK),
        OnMessage<&TOvcCustomEditor::WMSetCursor>(WM_SETCURSOR),
        OnMessage<&TOvcCustomEditor::WMVScroll>(WM_VSCROLL),
        OnMessage<&TOvcCustomEditor::WMHScroll>(WM_HSCROLL),
        OnMessage<&TOvcCustomEditor::CMCtl3DChanged>(CM_CTL3DCHANGED),
        OnMessage<&TOvcCustomEditor::WMCopy>(WM_COPY),
        OnMessage<&TOvcCustomEditor::WMCut>(WM_CUT),
        OnMessage<&TOvcCustomEditor::WMPaste>(WM_PASTE),
        OnMessage<&TOvcCustomEditor::CMDialogChar>(CM_DIALOGCHAR),
        OnMessage<&TOvcCustomEditor::OMShowStatus>(OM_SHOWSTATUS),
    });
    static constexpr TMessageMap Map{Handlers, &TOvcEditBase::ClassMessageMap};
    return Map;
}

void TOvcCustomEditor::WMKeyDown(TMessage& Message)
{
    // The characters of the previous key have passed by now.
    FIgnoreChar = false;
    Inherited(Message);
    const Word Key = static_cast<Word>(Message.WParam);
    if (Key == 0 || Controller() == nullptr)
        return;
    const Word Cmd = Controller()->EntryCommands()->Translate(Message);
    bool Handled = ProcessCommand(Cmd, 0);
    if (!Handled && Key == VK_TAB && FWantTab)
        Handled = ProcessCommand(ccTab, 0);
    else if (!Handled && Key == VK_RETURN && FWantEnter)
        Handled = ProcessCommand(ccNewLine, 0);
    // A key taken as a command, or as the first of two, types nothing.
    if (Handled || Cmd == ccPartial || Cmd == ccNoMatch || Key == VK_BACK)
        FIgnoreChar = true;
}

void TOvcCustomEditor::WMSysKeyDown(TMessage& Message)
{
    FIgnoreChar = false;
    Inherited(Message);
    const Word Key = static_cast<Word>(Message.WParam);
    if (Key == 0 || Key == VK_TAB || Key == VK_MENU || Controller() == nullptr)
        return;
    const Word Cmd = Controller()->EntryCommands()->TranslateKeyState(Key, ss_Alt);
    if (Cmd != ccNone && ProcessCommand(Cmd, 0))
        FIgnoreChar = true;
}

void TOvcCustomEditor::WMChar(TMessage& Message)
{
    Inherited(Message);
    if (FIgnoreChar)
        return;
    const auto Ch = static_cast<unsigned char>(Message.WParam & 0xFF);
    if (Ch >= 32)
        ProcessCommand(ccChar, static_cast<char>(Ch));
}

void TOvcCustomEditor::WMGetDlgCode(TMessage& Message)
{
    if (Designing()) {
        Message.Result = DLGC_STATIC;
        return;
    }
    Inherited(Message);
    Message.Result |= DLGC_WANTARROWS | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    if (FWantTab)
        Message.Result |= DLGC_WANTTAB;
}

void TOvcCustomEditor::WMSetFocus(TMessage& Message)
{
    Inherited(Message);
    FFocused = true;
    if (Controller() != nullptr) {
        Controller()->EntryCommands()->ResetCommandProcessor();
        SetInsertMode(Controller()->InsertMode());
    }
    FCaretPair->SetInsertMode(FInsertMode);
    FCaretPair->SetLinked(true);
    FCaretPair->SetVisible(true);
    PlaceCaret();
    Invalidate();
}

void TOvcCustomEditor::WMKillFocus(TMessage& Message)
{
    FFocused = false;
    FCaretPair->SetLinked(false);
    Inherited(Message);
    if (ComponentState().Contains(csDestroying))
        return;
    if (Controller() != nullptr)
        Controller()->SetInsertMode(FInsertMode);
    if (FHideSelection)
        Invalidate();
}

void TOvcCustomEditor::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

void TOvcCustomEditor::WMCopy(TMessage&)
{
    CopyToClipboard();
}

void TOvcCustomEditor::WMCut(TMessage&)
{
    CutToClipboard();
}

void TOvcCustomEditor::WMPaste(TMessage&)
{
    PasteFromClipboard();
}

void TOvcCustomEditor::CMDialogChar(TMessage& Message)
{
    if ((Message.WParam & 0xFF) == VK_BACK && (GetKeyState(VK_MENU) & 0x8000) != 0) {
        Message.Result = 1;
        return;
    }
    Inherited(Message);
}

void TOvcCustomEditor::OMShowStatus(TMessage& Message)
{
    DoOnShowStatus(static_cast<int>(Message.LParam), static_cast<int>(Message.WParam));
}
