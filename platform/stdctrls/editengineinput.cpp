// platform/stdctrls/editengineinput.cpp: the edit's keys and mouse: caret steps by whole
// characters and words, Shift extending the selection, the clipboard keys, typing assembled
// from the keyboard's UTF-8 bytes, click, drag and double click.
#include "platform/stdctrls/editengine.h"

#include "platform/stdctrls/editwindow.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/sound.h"

#include <algorithm>

namespace {

bool KeyDown(int VirtualKey)
{
    return GetKeyState(VirtualKey) < 0;
}

// The bytes a UTF-8 sequence with this first byte has (0: not a first byte).
std::size_t SequenceLength(unsigned char Lead)
{
    if (Lead >= 0xC2 && Lead <= 0xDF)
        return 2;
    if (Lead >= 0xE0 && Lead <= 0xEF)
        return 3;
    if (Lead >= 0xF0 && Lead <= 0xF4)
        return 4;
    return 0;
}

} // namespace

void TEditEngine::MoveCaret(std::size_t Pos, bool Extend)
{
    Pos = Snap(Pos);
    SetSelection(Extend ? FAnchor : Pos, Pos);
    ScrollCaret();
    UpdateCaret();
}

void TEditEngine::VerticalMove(int Delta, bool Extend)
{
    const auto& L = Lines();
    const int Line = EditText::LineOfPos(L, FCaret);
    const int Target = std::clamp(Line + Delta, 0, static_cast<int>(L.size()) - 1);
    if (FGoalX < 0)
        FGoalX = XInLine(L[Line], FCaret) + AlignOffset(L[Line]);
    const int Goal = FGoalX;
    const EditText::TLine& To = L[Target];
    MoveCaret(PosInLine(To, Goal - AlignOffset(To)), Extend);
    FGoalX = Goal;
}

void TEditEngine::WMKeyDown(TMessage& Message)
{
    FlushPending();
    const bool Shift = KeyDown(VK_SHIFT);
    const bool Ctrl = KeyDown(VK_CONTROL);
    const bool Multi = MultiLine();
    const auto& L = Lines();
    const EditText::TLine& Line = L[EditText::LineOfPos(L, FCaret)];
    const int Key = static_cast<int>(Message.WParam);
    if (Key != VK_UP && Key != VK_DOWN && Key != VK_PRIOR && Key != VK_NEXT)
        FGoalX = -1;
    switch (Key) {
    case VK_LEFT:
        if (!Shift && SelMin() != SelMax() && !Ctrl)
            MoveCaret(SelMin(), false);
        else
            MoveCaret(Ctrl ? EditText::PrevWord(FText, FCaret, Multi)
                           : EditText::PrevChar(FText, FCaret, Multi),
                      Shift);
        break;
    case VK_RIGHT:
        if (!Shift && SelMin() != SelMax() && !Ctrl)
            MoveCaret(SelMax(), false);
        else
            MoveCaret(Ctrl ? EditText::NextWord(FText, FCaret, Multi)
                           : EditText::NextChar(FText, FCaret, Multi),
                      Shift);
        break;
    case VK_HOME:
        MoveCaret(Ctrl || !Multi ? 0 : Line.Start, Shift);
        break;
    case VK_END:
        MoveCaret(Ctrl || !Multi ? FText.size() : Line.End, Shift);
        break;
    case VK_UP:
        if (Multi)
            VerticalMove(-1, Shift);
        else
            MoveCaret(EditText::PrevChar(FText, FCaret, false), Shift);
        break;
    case VK_DOWN:
        if (Multi)
            VerticalMove(1, Shift);
        else
            MoveCaret(EditText::NextChar(FText, FCaret, false), Shift);
        break;
    case VK_PRIOR:
        if (Multi) {
            ScrollLines(-VisibleLines());
            VerticalMove(-VisibleLines(), Shift);
        }
        break;
    case VK_NEXT:
        if (Multi) {
            ScrollLines(VisibleLines());
            VerticalMove(VisibleLines(), Shift);
        }
        break;
    case VK_DELETE:
        if (ReadOnly())
            break;
        if (Shift) {
            TMessage Cut{WM_CUT, 0, 0, 0};
            WMCut(Cut);
        } else if (SelMin() != SelMax()) {
            ClearSelection(TUndo::ukOther);
        } else if (FCaret < FText.size()) {
            const std::size_t End = Ctrl ? EditText::NextWord(FText, FCaret, Multi)
                                         : EditText::NextChar(FText, FCaret, Multi);
            Replace(FCaret, End, std::string(), false, TUndo::ukDelete, true);
        }
        break;
    case VK_INSERT:
        if (Ctrl)
            CopySelection();
        else if (Shift)
            PasteText();
        break;
    default:
        Message.Result = DefWindowProc(FWnd, Message.Msg, Message.WParam, Message.LParam);
        break;
    }
}

void TEditEngine::WMChar(TMessage& Message)
{
    const auto Ch = static_cast<unsigned char>(Message.WParam & 0xFF);
    switch (Ch) {
    case 3: // Ctrl+C
        FlushPending();
        CopySelection();
        return;
    case 22: // Ctrl+V
        PasteText();
        return;
    case 24: { // Ctrl+X
        FlushPending();
        TMessage Cut{WM_CUT, 0, 0, 0};
        WMCut(Cut);
        return;
    }
    case 26: // Ctrl+Z
        FlushPending();
        if (!ReadOnly())
            Undo();
        return;
    case 8: // Backspace
        FlushPending();
        if (ReadOnly())
            return;
        if (SelMin() != SelMax())
            ClearSelection(TUndo::ukBackspace);
        else if (FCaret > 0)
            Replace(EditText::PrevChar(FText, FCaret, MultiLine()), FCaret, std::string(), false,
                    TUndo::ukBackspace, true);
        return;
    case 13:
    case 10:
        FlushPending();
        if (MultiLine() && ((Style() & ES_WANTRETURN) || KeyDown(VK_CONTROL) || Ch == 10))
            InsertTyped("\r\n");
        return;
    case 9:
        FlushPending();
        if (MultiLine())
            InsertTyped("\t");
        return;
    default:
        break;
    }
    if (Ch < 0x20 || Ch == 0x7F) {
        FlushPending();
        return;
    }
    TypeChar(Ch);
}

// The keyboard delivers a character's bytes one WM_CHAR at a time: gather them, and insert the
// character whole. A byte that cannot continue what was gathered ends it as it is.
void TEditEngine::TypeChar(unsigned char Ch)
{
    const bool Continues = (Ch & 0xC0) == 0x80;
    if (!FPending.empty() && !Continues)
        FlushPending();
    if (FPending.empty()) {
        if (SequenceLength(Ch) == 0) {
            InsertTyped(std::string(1, static_cast<char>(Ch)));
            return;
        }
        FPending.assign(1, static_cast<char>(Ch));
        return;
    }
    FPending += static_cast<char>(Ch);
    if (FPending.size() >= SequenceLength(static_cast<unsigned char>(FPending[0])))
        FlushPending();
}

void TEditEngine::FlushPending()
{
    if (FPending.empty())
        return;
    std::string Chars;
    Chars.swap(FPending);
    InsertTyped(Chars);
}

void TEditEngine::InsertTyped(const std::string& Chars)
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    // A character that does not fit whole is refused (Replace cuts at a boundary).
    Replace(SelMin(), SelMax(), Chars, true, TUndo::ukTyping, true);
}

// ---- mouse

void TEditEngine::WMLButtonDown(TMessage& Message)
{
    FlushPending();
    if (GetFocus() != FWnd)
        SetFocus(FWnd);
    const std::size_t Pos = ClientToPos(GetXLParam(Message.LParam), GetYLParam(Message.LParam));
    FGoalX = -1;
    MoveCaret(Pos, (Message.WParam & MK_SHIFT) != 0);
    FSelecting = true;
    FSelectingWords = false;
    SetCapture(FWnd);
}

void TEditEngine::WMLButtonDblClk(TMessage& Message)
{
    std::size_t Start = 0;
    std::size_t End = 0;
    const std::size_t Pos = ClientToPos(GetXLParam(Message.LParam), GetYLParam(Message.LParam));
    EditText::WordAt(FText, Pos, MultiLine(), Start, End);
    SetSelection(Start, End);
    ScrollCaret();
    UpdateCaret();
    FWordStart = Start;
    FWordEnd = End;
    FSelecting = true;
    FSelectingWords = true;
    SetCapture(FWnd);
}

void TEditEngine::WMMouseMove(TMessage& Message)
{
    if (!FSelecting || GetCapture() != FWnd) {
        Message.Result = DefWindowProc(FWnd, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    const std::size_t Pos = ClientToPos(GetXLParam(Message.LParam), GetYLParam(Message.LParam));
    if (!FSelectingWords) {
        MoveCaret(Pos, true);
        return;
    }
    // Whole words from the double-clicked one to the one under the mouse.
    std::size_t Start = 0;
    std::size_t End = 0;
    EditText::WordAt(FText, Pos, MultiLine(), Start, End);
    if (Pos < FWordStart)
        SetSelection(FWordEnd, Start);
    else
        SetSelection(FWordStart, std::max(End, FWordEnd));
    ScrollCaret();
    UpdateCaret();
}

void TEditEngine::WMLButtonUp(TMessage&)
{
    FSelectingWords = false;
    if (FSelecting) {
        FSelecting = false;
        if (GetCapture() == FWnd)
            ReleaseCapture();
    }
}

void TEditEngine::WMCaptureChanged(TMessage&)
{
    FSelecting = false;
    FSelectingWords = false;
}
