// controls/entry/ovcedmouse.cpp: the editor and the mouse: the margin cursor, a point as a text
// position, clicks and drags that move the caret or select (whole paragraphs from the margin)
// with scrolling while the mouse is outside, and double clicks that select a word or paragraph.
#include "controls/entry/ovcedcols.h"
#include "controls/entry/ovcedit.h"
#include "controls/entry/ovcedres.h"
#include "controls/entry/ovcmisc.h"
#include "platform/rtl/clock.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/screen.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/wait.h"

#include <algorithm>
#include <cstdint>

namespace {

// The shortest pause between two scrolling steps while the mouse is outside.
constexpr int MinTrackPause = 10;

bool PrimaryButtonHeld()
{
    return (GetAsyncKeyState(PrimaryButtonKey()) & 0x8000) != 0;
}

TPoint MessagePoint(const TMessage& Message)
{
    const auto L = static_cast<std::uintptr_t>(Message.LParam);
    return TPoint{static_cast<short>(LoWord(L)), static_cast<short>(HiWord(L))};
}

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

} // namespace

bool TOvcCustomEditor::OverMargin(TPoint P) const
{
    return P.X >= 0 && P.X <= FLeftMargin && P.Y >= 0 && P.Y < ClientHeight() &&
           P.X < ClientWidth();
}

void TOvcCustomEditor::PointToLinePos(TPoint P, int& Line, int& Pos)
{
    if (P.Y < 0) {
        Line = FTopLine - 1;
    } else if (P.Y >= ClientHeight()) {
        Line = FTopLine + FVisibleLines;
    } else {
        const int Row = P.Y / FLineHeight;
        // The partial row at the bottom belongs to the last whole one.
        Line = FTopLine + std::min(Row, FVisibleLines - 1);
    }
    Line = std::clamp(Line, 1, LineCount());
    int Col = (P.X + FCharWidth / 2 - FLeftMargin) / FCharWidth + FLeftCol + 1;
    if (P.X >= FLeftMargin + FVisibleCols * FCharWidth)
        Col = FLeftCol + FVisibleCols;
    Col = std::max(1, Col);
    const std::string_view Text = FParas->LineText(Line);
    const bool Utf8 = ParaIsUtf8(LineStart(Line).Para);
    Pos = OffsetOfColumn(Text, Col - 1, TabSize(), Utf8) + 1;
    if (!FScrollPastEnd)
        Pos = std::min(Pos, static_cast<int>(Text.size()) + 1);
}

void TOvcCustomEditor::SelectParagraphs(int FromPara, int ToPara)
{
    const int Last = ParaCount();
    FromPara = std::clamp(FromPara, 1, Last);
    ToPara = std::clamp(ToPara, 1, Last);
    const auto After = [this, Last](int Para) {
        return Para < Last ? TParaPos{Para + 1, 1} : TParaPos{Para, FParas->ParaLength(Para) + 1};
    };
    TParaPos Caret;
    if (ToPara >= FromPara) {
        FAnchor = TParaPos{FromPara, 1};
        Caret = After(ToPara);
    } else {
        FAnchor = After(FromPara);
        Caret = TParaPos{ToPara, 1};
    }
    SetCaretFromPara(Caret);
    CaretMoved(false, 0);
    Invalidate();
}

void TOvcCustomEditor::MouseMovedTo(TPoint P, bool Extend, bool Margin)
{
    int Line = 1, Pos = 1;
    PointToLinePos(P, Line, Pos);
    if (Margin)
        SelectParagraphs(FMarginAnchor, LineStart(Line).Para);
    else
        MoveCaretTo(Line, Pos, Extend, false);
}

void TOvcCustomEditor::WMLButtonDown(TMessage& Message)
{
    Inherited(Message);
    if (!FFocused && CanFocus())
        SetFocus();
    if (ParaCount() == 1 && FParas->ParaLength(1) == 0)
        return;
    const TPoint P = MessagePoint(Message);
    const bool Shift = (Message.WParam & MK_SHIFT) != 0;
    const bool Margin = OverMargin(P);
    SetCapture(Handle());
    if (Margin) {
        int Line = 1, Pos = 1;
        PointToLinePos(P, Line, Pos);
        const int Para = LineStart(Line).Para;
        FMarginAnchor = Shift && HasSelection() ? FAnchor.Para : Para;
        SelectParagraphs(FMarginAnchor, Para);
    } else {
        MouseMovedTo(P, Shift, false);
    }
    TrackMouse(Margin);
    if (HandleAllocated() && GetCapture() == Handle())
        ReleaseCapture();
}

void TOvcCustomEditor::TrackMouse(bool Margin)
{
    TPoint Last = ScreenToClient(GetCursorPos());
    std::uint32_t LastStep = GetTickCount();
    const int Pace = 3 * GetSystemMetrics(SM_CYHSCROLL);
    while (PrimaryButtonHeld() && !Application->Terminated() && HandleAllocated()) {
        Application->ProcessMessages();
        if (!PrimaryButtonHeld() || !HandleAllocated())
            break;
        const TPoint P = ScreenToClient(GetCursorPos());
        const int H = ClientHeight();
        const int Outside = P.Y < 0 ? -P.Y : P.Y >= H ? P.Y - H + 1 : 0;
        int Timeout = -1;
        if (Outside > 0) {
            // The farther outside, the faster the text scrolls.
            const int Pause = std::max(MinTrackPause, Pace - Outside);
            const auto Elapsed = static_cast<std::int32_t>(GetTickCount() - LastStep);
            if (Elapsed >= Pause) {
                MouseMovedTo(P, true, Margin);
                LastStep = GetTickCount();
                Last = P;
                Timeout = Pause;
            } else {
                Timeout = Pause - Elapsed;
            }
        } else if (P != Last) {
            MouseMovedTo(P, true, Margin);
            Last = P;
        }
        // Sleeps until input comes or the next step is due.
        WaitMessage(Timeout);
    }
}

void TOvcCustomEditor::WMLButtonDblClk(TMessage& Message)
{
    Inherited(Message);
    if (ParaCount() == 1 && FParas->ParaLength(1) == 0)
        return;
    const TPoint P = MessagePoint(Message);
    const bool Extend = (Message.WParam & MK_SHIFT) != 0 && HasSelection();
    int Line = 1, Pos = 1;
    PointToLinePos(P, Line, Pos);
    const TParaPos Start = LineStart(Line);
    const int Para = Start.Para;
    if (OverMargin(P)) {
        FMarginAnchor = Extend ? FAnchor.Para : Para;
        SelectParagraphs(FMarginAnchor, Para);
        return;
    }
    const std::string_view Text = FParas->ParaText(Para);
    const int Size = static_cast<int>(Text.size());
    const int At = std::min(Start.Pos + Pos - 2, Size);
    int From = At;
    while (From > 0 && !IsEditorDelimiter(Text[static_cast<std::size_t>(From - 1)]))
        --From;
    int To = At;
    while (To < Size && !IsEditorDelimiter(Text[static_cast<std::size_t>(To)]))
        ++To;
    while (To < Size && IsBlank(Text[static_cast<std::size_t>(To)]))
        ++To;
    const TParaPos WordStart{Para, From + 1};
    const TParaPos WordEnd{Para, To + 1};
    TParaPos Caret = WordEnd;
    if (!Extend)
        FAnchor = WordStart;
    else if (WordStart.Para < FAnchor.Para ||
             (WordStart.Para == FAnchor.Para && WordStart.Pos < FAnchor.Pos))
        Caret = WordStart;
    SetCaretFromPara(Caret);
    CaretMoved(false, 0);
    Invalidate();
}

void TOvcCustomEditor::WMSetCursor(TMessage& Message)
{
    if (!Designing() && HandleAllocated() && reinterpret_cast<HWND>(Message.WParam) == Handle() &&
        LoWord(static_cast<std::uintptr_t>(Message.LParam)) == HTCLIENT &&
        OverMargin(ScreenToClient(GetCursorPos()))) {
        if (Screen->Cursors(crOvcMargin) == nullptr) {
            if (HCURSOR Cursor = LoadLibraryCursor(OvcMarginCursorName))
                Screen->SetCursors(crOvcMargin, Cursor);
        }
        ::SetCursor(Screen->Cursors(crOvcMargin) != nullptr ? crOvcMargin : crArrow);
        Message.Result = 1;
        return;
    }
    Inherited(Message);
}
