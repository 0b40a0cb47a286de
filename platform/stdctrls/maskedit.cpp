// platform/stdctrls/maskedit.cpp: TCustomMaskEdit over the edit window.
#include "platform/stdctrls/maskedit.h"

#include "platform/stdctrls/edittext.h"
#include "platform/ui/application.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/input.h"
#include "platform/ui/sound.h"

#include <algorithm>

namespace {

const char* const SMaskEditErr = "Invalid input value.  Use escape key to abandon changes";

// The byte offset of character Pos in S (its size past the end).
std::size_t ByteOfPosition(const std::string& S, int Pos)
{
    std::size_t Byte = 0;
    for (int I = 0; I < Pos && Byte < S.size(); ++I)
        Byte = EditText::NextChar(S, Byte, false);
    return Byte;
}

int PositionOfByte(const std::string& S, std::size_t Byte)
{
    int Pos = 0;
    for (std::size_t I = 0; I < S.size() && I < Byte; I = EditText::NextChar(S, I, false))
        ++Pos;
    return Pos;
}

std::size_t SequenceLength(unsigned char Lead)
{
    if (Lead >= 0xC2 && Lead <= 0xDF)
        return 2;
    if (Lead >= 0xE0 && Lead <= 0xEF)
        return 3;
    if (Lead >= 0xF0 && Lead <= 0xF4)
        return 4;
    return 1;
}

} // namespace

const TMessageMap& TCustomMaskEdit::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCustomMaskEdit::WMCut>(WM_CUT),
        OnMessage<&TCustomMaskEdit::WMPaste>(WM_PASTE),
        OnMessage<&TCustomMaskEdit::WMClear>(WM_CLEAR),
        OnMessage<&TCustomMaskEdit::WMUndo>(WM_UNDO),
        OnMessage<&TCustomMaskEdit::WMLButtonUp>(WM_LBUTTONUP),
        OnMessage<&TCustomMaskEdit::CMWantSpecialKey>(CM_WANTSPECIALKEY),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomEdit::ClassMessageMap};
    return Map;
}

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

TCustomMaskEdit::~TCustomMaskEdit() = default;

// ---- properties

void TCustomMaskEdit::SetEditMask(const std::string& Value)
{
    // The typed characters carry over to the new mask's input positions.
    const bool WasMasked = IsMasked();
    const std::string OldValue = GetText();
    const std::string Old = WasMasked ? EditMask::InputsOf(FMask, EditText()) : GetText();
    FEditMask = Value;
    FMask = EditMask::ParseMask(Value);
    SetMaxLength(PositionCount());
    if (IsMasked()) {
        EditMask::TParsedMask Inputs = FMask;
        Inputs.SaveLiterals = Inputs.SaveLiterals && !WasMasked;
        SetRawText(EditMask::FormatValue(Inputs, Old, FMask.Blank));
    } else {
        SetRawText(OldValue);
    }
    FOldValue = EditText();
}

std::string TCustomMaskEdit::EditText() const
{
    return TCustomEdit::GetText();
}

void TCustomMaskEdit::SetEditText(const std::string& Value)
{
    SetRawText(IsMasked() ? EditMask::ConformEditText(FMask, Value) : Value);
    FOldValue = EditText();
}

std::string TCustomMaskEdit::GetText() const
{
    if (!IsMasked())
        return TCustomEdit::GetText();
    return EditMask::ValueOf(FMask, EditText());
}

void TCustomMaskEdit::SetTextBuf(const std::string& Value)
{
    if (!IsMasked()) {
        TCustomEdit::SetTextBuf(Value);
        return;
    }
    SetRawText(EditMask::FormatValue(FMask, Value, FMask.Blank));
    FOldValue = EditText();
}

void TCustomMaskEdit::SetRawText(const std::string& Value)
{
    TCustomEdit::SetTextBuf(Value);
}

// ---- positions

bool TCustomMaskEdit::IsInput(int Pos) const
{
    return Pos >= 0 && Pos < PositionCount() && !FMask.Positions[Pos].Literal;
}

int TCustomMaskEdit::NextInput(int Pos) const
{
    Pos = std::max(Pos, 0);
    while (Pos < PositionCount() && !IsInput(Pos))
        ++Pos;
    return std::min(Pos, PositionCount());
}

int TCustomMaskEdit::PrevInput(int Pos) const
{
    Pos = std::min(Pos, PositionCount()) - 1;
    while (Pos >= 0 && !IsInput(Pos))
        --Pos;
    return Pos;
}

void TCustomMaskEdit::GetSelPositions(int& Start, int& Stop) const
{
    const std::string Text = EditText();
    const auto Begin = static_cast<std::size_t>(SelStart());
    Start = PositionOfByte(Text, Begin);
    Stop = PositionOfByte(Text, Begin + static_cast<std::size_t>(SelLength()));
}

void TCustomMaskEdit::SetCursor(int Pos)
{
    if (WindowHandle() == 0)
        return;
    const std::string Text = EditText();
    Pos = NextInput(Pos);
    if (Pos >= PositionCount())
        Pos = PrevInput(PositionCount()) + 1; // past the last input position
    Pos = std::max(Pos, 0);
    const std::size_t Start = ByteOfPosition(Text, Pos);
    const std::size_t Stop = ByteOfPosition(Text, Pos + 1);
    const bool Select = IsInput(Pos);
    SendToEdit(EM_SETSEL, Select ? Stop : Start, static_cast<LPARAM>(Start));
    SendToEdit(EM_SCROLLCARET, 0, 0);
}

void TCustomMaskEdit::CheckCursor()
{
    if (WindowHandle() == 0 || !IsMasked())
        return;
    int Start = 0;
    int Stop = 0;
    GetSelPositions(Start, Stop);
    if (Start == Stop)
        SetCursor(Start);
}

// ---- editing

bool TCustomMaskEdit::EditCanModify()
{
    return true;
}

bool TCustomMaskEdit::CanEdit()
{
    if (ReadOnly() || !EditCanModify()) {
        MessageBeep(0);
        return false;
    }
    return true;
}

std::string TCustomMaskEdit::Blanked(int Start, int Stop) const
{
    return EditMask::BlankRange(FMask, EditText(), Start, Stop);
}

void TCustomMaskEdit::ApplyEdit(const std::string& Text, int Pos)
{
    if (Text != EditText())
        SetRawText(Text);
    SetModified(true);
    SetCursor(Pos);
}

void TCustomMaskEdit::InputChar(const std::string& Ch)
{
    if (!CanEdit())
        return;
    int Start = 0;
    int Stop = 0;
    GetSelPositions(Start, Stop);
    std::string Text = EditText();
    int Caret = 0;
    if (!EditMask::TypeInto(FMask, Text, Start, Stop, Ch, Caret)) {
        MessageBeep(0);
        return;
    }
    ApplyEdit(Text, Caret);
}

void TCustomMaskEdit::DeleteKeys(bool Backspace)
{
    if (!CanEdit())
        return;
    int Start = 0;
    int Stop = 0;
    GetSelPositions(Start, Stop);
    if (Stop - Start > 1 || (Stop - Start == 1 && !Backspace)) {
        ApplyEdit(Blanked(Start, Stop), Start);
        return;
    }
    if (Backspace) {
        const int Pos = PrevInput(Start);
        if (Pos < 0) {
            MessageBeep(0);
            return;
        }
        ApplyEdit(Blanked(Pos, Pos + 1), Pos);
        return;
    }
    const int Pos = NextInput(Start);
    if (Pos >= PositionCount())
        return;
    ApplyEdit(Blanked(Pos, Pos + 1), Pos);
}

void TCustomMaskEdit::PasteText(const std::string& Value)
{
    if (!CanEdit())
        return;
    int Start = 0;
    int Stop = 0;
    GetSelPositions(Start, Stop);
    int Caret = 0;
    bool Refused = false;
    const std::string Text =
        EditMask::PasteInto(FMask, EditText(), Start, Stop, Value, Caret, Refused);
    if (Refused)
        MessageBeep(0);
    ApplyEdit(Text, Caret);
}

// ---- keys

void TCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (!IsMasked() || Key == 0)
        return;
    FPending.clear();
    const bool Plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl);
    int Start = 0;
    int Stop = 0;
    GetSelPositions(Start, Stop);
    switch (Key) {
    case VK_HOME:
        if (Plain) {
            SetCursor(0);
            Key = 0;
        }
        break;
    case VK_END:
        if (Plain) {
            SetCursor(PositionCount());
            Key = 0;
        }
        break;
    case VK_LEFT:
        if (Plain) {
            const int Pos = PrevInput(Start);
            SetCursor(Pos >= 0 ? Pos : Start);
            Key = 0;
        } else if (Shift == TShiftState{ssShift}) {
            ExtendSelection(false);
            Key = 0;
        }
        break;
    case VK_RIGHT:
        if (Plain) {
            SetCursor(Stop > Start ? Start + 1 : Start);
            if (Stop > Start && NextInput(Start + 1) >= PositionCount())
                SetCursor(PositionCount());
            Key = 0;
        } else if (Shift == TShiftState{ssShift}) {
            ExtendSelection(true);
            Key = 0;
        }
        break;
    case VK_DELETE:
        if (Shift.Contains(ssShift))
            CutToClipboard();
        else
            DeleteKeys(false);
        Key = 0;
        break;
    case VK_INSERT:
        if (Shift.Contains(ssShift)) {
            PasteFromClipboard();
            Key = 0;
        }
        break;
    default:
        break;
    }
}

// The selection's moving end goes from input position to input position as the plain arrows
// go, taking the literals between into the selection.
void TCustomMaskEdit::ExtendSelection(bool Forward)
{
    int Start = 0;
    int Stop = 0;
    GetSelPositions(Start, Stop);
    int Anchor = Start;
    int Caret = Start;
    if (FExtending && std::min(FExtendAnchor, FExtendCaret) == Start &&
        std::max(FExtendAnchor, FExtendCaret) == Stop) {
        Anchor = FExtendAnchor;
        Caret = FExtendCaret;
    } else if (Stop - Start > 1) {
        Anchor = Forward ? Start : Stop;
        Caret = Forward ? Stop : Start;
    }
    const int End = PrevInput(PositionCount()) + 1; // past the last input position
    if (Forward) {
        if (Caret < End)
            Caret = std::min(NextInput(Caret + 1), End);
    } else if (const int Pos = PrevInput(Caret); Pos >= 0) {
        Caret = Pos;
    }
    if (Caret == Anchor) {
        FExtending = false;
        SetCursor(Caret);
        return;
    }
    const std::string Text = EditText();
    FExtending = true;
    FExtendAnchor = Anchor;
    FExtendCaret = Caret;
    SendToEdit(EM_SETSEL, ByteOfPosition(Text, Anchor),
               static_cast<LPARAM>(ByteOfPosition(Text, Caret)));
    SendToEdit(EM_SCROLLCARET, 0, 0);
}

// OnKeyPress (and a descendant's override before it calls this) sees the key first.
void TCustomMaskEdit::KeyPress(char& Key)
{
    TCustomEdit::KeyPress(Key);
    if (!IsMasked() || Key == 0)
        return;
    const auto Ch = static_cast<unsigned char>(Key);
    switch (Ch) {
    case 3: // Ctrl+C: the window copies
        return;
    case 22: // Ctrl+V
        PasteFromClipboard();
        break;
    case 24: // Ctrl+X
        CutToClipboard();
        break;
    case 8:
        DeleteKeys(true);
        break;
    case 27:
        Reset();
        break;
    case 13:
    case 9:
        return;
    default:
        if (Ch < 0x20 || Ch == 0x7F)
            break;
        if (!FPending.empty() && (Ch & 0xC0) == 0x80) {
            FPending += static_cast<char>(Ch);
        } else {
            FPending.assign(1, static_cast<char>(Ch));
        }
        if (FPending.size() >= SequenceLength(static_cast<unsigned char>(FPending[0]))) {
            std::string Typed;
            Typed.swap(FPending);
            InputChar(Typed);
        }
        break;
    }
    Key = 0;
}

// ---- commit and check

void TCustomMaskEdit::DoEnter()
{
    FOldValue = EditText();
    TCustomEdit::DoEnter();
    if (IsMasked() && !AutoSelect())
        CheckCursor();
}

void TCustomMaskEdit::DoExit()
{
    try {
        ValidateEdit();
    } catch (const EDBEditError&) {
        // The entry stays where it can be completed or abandoned with Escape.
        SetFocus();
        if (Application != nullptr)
            Application->HandleException(this);
    }
    TCustomEdit::DoExit();
}

void TCustomMaskEdit::Reset()
{
    if (!Modified())
        return;
    SetRawText(FOldValue);
    SetModified(false);
    SetCursor(0);
}

void TCustomMaskEdit::ValidateEdit()
{
    if (!IsMasked() || !Modified())
        return;
    const int Pos = EditMask::FirstIncomplete(FMask, EditText());
    if (Pos < 0)
        return;
    SetCursor(Pos);
    ValidateError();
}

void TCustomMaskEdit::ValidateError()
{
    MessageBeep(0);
    throw EDBEditError(SMaskEditErr);
}

// ---- messages

void TCustomMaskEdit::WMCut(TMessage& Message)
{
    if (!IsMasked()) {
        Inherited(Message);
        return;
    }
    CopyToClipboard();
    DeleteKeys(false);
}

void TCustomMaskEdit::WMPaste(TMessage& Message)
{
    if (!IsMasked()) {
        Inherited(Message);
        return;
    }
    PasteText(Clipboard()->AsText());
}

void TCustomMaskEdit::WMClear(TMessage& Message)
{
    if (!IsMasked()) {
        Inherited(Message);
        return;
    }
    DeleteKeys(false);
}

// The window's undo knows nothing of the mask.
void TCustomMaskEdit::WMUndo(TMessage& Message)
{
    if (!IsMasked())
        Inherited(Message);
}

void TCustomMaskEdit::WMLButtonUp(TMessage& Message)
{
    Inherited(Message);
    CheckCursor();
}

// Escape undoes a modified masked entry before a dialog's Cancel sees it.
void TCustomMaskEdit::CMWantSpecialKey(TMessage& Message)
{
    Inherited(Message);
    if (Message.WParam == VK_ESCAPE && IsMasked() && Modified())
        Message.Result = 1;
}
