// controls/entry/ovceditcmd.cpp: what the editor's commands do: the command table, caret
// movement with selection and scrolling, typing, Tab, new line and the deletions.
#include "controls/entry/ovccmd.h"
#include "controls/entry/ovcedcols.h"
#include "controls/entry/ovcedit.h"
#include "platform/ui/queue.h"

#include <algorithm>

namespace {

bool IsBlankChar(char C)
{
    return C == ' ' || C == '\t';
}

} // namespace

bool TOvcCustomEditor::IsCommandChangingText(Word Cmd) const
{
    switch (Cmd) {
    case ccBack:
    case ccCut:
    case ccDel:
    case ccDelBol:
    case ccDelEol:
    case ccDelLine:
    case ccDelWord:
    case ccPaste:
    case ccRedo:
    case ccTab:
    case ccUndo:
    case ccChar:
        return true;
    default:
        return false;
    }
}

bool TOvcCustomEditor::ProcessCommand(Word Cmd, char Ch)
{
    if (Cmd >= ccUser) {
        DoOnUserCommand(Cmd);
        return true;
    }
    const bool Edit = !ReadOnly();
    bool Changed = false;
    switch (Cmd) {
    case ccBack:
        DoBackspace();
        break;
    case ccDel:
        if (Edit)
            DoDelete();
        break;
    case ccDelBol:
        if (Edit)
            DoDelBol();
        break;
    case ccDelEol:
        if (Edit)
            DoDelEol();
        break;
    case ccDelLine:
        if (Edit)
            DoDelLine();
        break;
    case ccDelWord:
        if (Edit)
            DoDelWord();
        break;
    case ccLeft:
    case ccExtendLeft:
        CaretLeft(Cmd == ccExtendLeft);
        break;
    case ccRight:
    case ccExtendRight:
        CaretRight(Cmd == ccExtendRight);
        break;
    case ccUp:
    case ccExtendUp:
        MoveCaret(-1, 0, Cmd == ccExtendUp, false);
        break;
    case ccDown:
    case ccExtendDown:
        MoveCaret(1, 0, Cmd == ccExtendDown, false);
        break;
    case ccHome:
    case ccExtendHome:
        MoveCaretTo(FCaretLine, 1, Cmd == ccExtendHome, false);
        break;
    case ccEnd:
    case ccExtendEnd:
        MoveCaretTo(FCaretLine, LineLen(FCaretLine) + 1, Cmd == ccExtendEnd, false);
        break;
    case ccWordLeft:
    case ccExtWordLeft:
        CaretWordLeft(Cmd == ccExtWordLeft);
        break;
    case ccWordRight:
    case ccExtWordRight:
        CaretWordRight(Cmd == ccExtWordRight);
        break;
    case ccPrevPage:
    case ccExtendPgUp:
        CaretPage(-1, Cmd == ccExtendPgUp);
        break;
    case ccNextPage:
    case ccExtendPgDn:
        CaretPage(1, Cmd == ccExtendPgDn);
        break;
    case ccFirstPage:
    case ccExtFirstPage:
        MoveCaretTo(1, 1, Cmd == ccExtFirstPage, false);
        break;
    case ccLastPage:
    case ccExtLastPage:
        MoveCaretTo(LineCount(), LineLen(LineCount()) + 1, Cmd == ccExtLastPage, false);
        break;
    case ccTopOfPage:
    case ccExtTopOfPage:
        CaretTopOrBottomOfPage(false, Cmd == ccExtTopOfPage);
        break;
    case ccBotOfPage:
    case ccExtBotOfPage:
        CaretTopOrBottomOfPage(true, Cmd == ccExtBotOfPage);
        break;
    case ccCopy:
        CopyToClipboard();
        break;
    case ccCut:
        CutToClipboard();
        break;
    case ccPaste:
        PasteFromClipboard();
        break;
    case ccUndo:
        Undo();
        break;
    case ccRedo:
        Redo();
        break;
    case ccIns:
        SetInsertMode(!FInsertMode);
        break;
    case ccNewLine:
        Changed = DoNewLine();
        break;
    case ccTab:
        if (Edit)
            DoTab();
        break;
    case ccScrollDown:
        ScrollLines(FWheelDelta);
        break;
    case ccScrollUp:
        ScrollLines(-FWheelDelta);
        break;
    case ccCtrlChar:
        break;
    case ccChar:
        if (Edit)
            TypeChar(Ch);
        break;
    default:
        if (Cmd >= ccSetMarker0 && Cmd <= ccSetMarker9) {
            SetMarker(Cmd - ccSetMarker0);
            break;
        }
        if (Cmd >= ccGotoMarker0 && Cmd <= ccGotoMarker9) {
            GotoMarker(Cmd - ccGotoMarker0);
            break;
        }
        return false;
    }
    if (Changed || IsCommandChangingText(Cmd))
        DoOnChange();
    return true;
}

// Caret movement ---------------------------------------------------------------------------------

void TOvcCustomEditor::MoveCaret(int LineDelta, int PosDelta, bool Extend, bool KeepRow)
{
    const int Column = CaretColumn() - 1;
    const int Line = std::clamp(FCaretLine + LineDelta, 1, LineCount());
    const TParaPos Start = LineStart(Line);
    const int Pos =
        OffsetOfColumn(FParas->LineText(Line), Column, TabSize(), ParaIsUtf8(Start.Para)) + 1;
    MoveCaretTo(Line, Pos + PosDelta, Extend, KeepRow);
}

void TOvcCustomEditor::MoveCaretTo(int Line, int Pos, bool Extend, bool KeepRow)
{
    const int OldRow = FCaretLine - FTopLine;
    Line = std::clamp(Line, 1, LineCount());
    const std::string_view Text = FParas->LineText(Line);
    int Max = static_cast<int>(Text.size()) + 1;
    if (FScrollPastEnd) {
        Max = ParaLengthLimit() + 1;
        const bool Utf8 = ParaIsUtf8(LineStart(Line).Para);
        Max = std::min(Max, OffsetOfColumn(Text, ParaLengthLimit(), TabSize(), Utf8) + 1);
    }
    Pos = std::clamp(Pos, 1, std::max(1, Max));
    const TParaPos Start = LineStart(Line);
    FCaret = TParaPos{Start.Para, Start.Pos + Pos - 1};
    FCaretLine = Line;
    if (!Extend)
        FAnchor = ClippedCaret();
    CaretMoved(KeepRow, OldRow);
    Invalidate();
}

void TOvcCustomEditor::CaretMoved(bool KeepRow, int OldRow)
{
    if (KeepRow)
        SetTopLineInternal(std::max(1, FCaretLine - OldRow));
    else if (FCaretLine < FTopLine)
        SetTopLineInternal(FCaretLine);
    else if (FCaretLine >= FTopLine + FVisibleLines)
        SetTopLineInternal(FCaretLine - FVisibleLines + 1);
    const int Col = CaretColumn();
    if (Col <= FLeftCol) {
        FLeftCol = Col <= 2 ? 0 : Col - 1;
        Invalidate();
    } else if (Col > FLeftCol + FVisibleCols) {
        FLeftCol = Col - FVisibleCols;
        Invalidate();
    }
    if (FFocused)
        PlaceCaret();
    if (HandleAllocated())
        PostMessage(Handle(), OM_SHOWSTATUS, static_cast<WPARAM>(Col),
                    static_cast<LPARAM>(FCaretLine));
}

void TOvcCustomEditor::CaretLeft(bool Extend)
{
    const int Pos = CaretLinePos();
    if (FCaret.Pos <= 1) {
        if (FWrapAtLeft && FCaretLine > 1)
            MoveCaretTo(FCaretLine - 1, LineLen(FCaretLine - 1) + 1, Extend, false);
        else
            MoveCaretTo(FCaretLine, 1, Extend, false);
        return;
    }
    const bool Utf8 = ParaIsUtf8(FCaret.Para);
    if (Pos <= 1) {
        // The start of a wrapped line: the last character of the line before.
        const std::string_view Prev = FParas->LineText(FCaretLine - 1);
        const int P = PrevCharOffset(Prev, static_cast<int>(Prev.size()), Utf8);
        MoveCaretTo(FCaretLine - 1, P + 1, Extend, false);
        return;
    }
    MoveCaretTo(FCaretLine, PrevCharOffset(FParas->LineText(FCaretLine), Pos - 1, Utf8) + 1, Extend,
                false);
}

void TOvcCustomEditor::CaretRight(bool Extend)
{
    const int Pos = CaretLinePos();
    const std::string_view Text = FParas->LineText(FCaretLine);
    const int Len = static_cast<int>(Text.size());
    if (Pos <= Len || FScrollPastEnd) {
        const bool Utf8 = ParaIsUtf8(FCaret.Para);
        MoveCaretTo(FCaretLine, NextCharOffset(Text, Pos - 1, Utf8) + 1, Extend, false);
    } else if (FCaretLine < LineCount())
        MoveCaretTo(FCaretLine + 1, 1, Extend, false);
}

void TOvcCustomEditor::CaretWordLeft(bool Extend)
{
    TParaPos P = ClippedCaret();
    if (P.Pos <= 1) {
        if (P.Para > 1)
            MoveCaretTo(FCaretLine - 1, LineLen(FCaretLine - 1) + 1, Extend, false);
        return;
    }
    const std::string_view T = FParas->ParaText(P.Para);
    int I = P.Pos - 1;
    while (I > 0 && IsEditorDelimiter(T[static_cast<std::size_t>(I - 1)]))
        --I;
    while (I > 0 && !IsEditorDelimiter(T[static_cast<std::size_t>(I - 1)]))
        --I;
    SetCaretFromPara(TParaPos{P.Para, I + 1});
    MoveCaretTo(FCaretLine, CaretLinePos(), Extend, false);
}

void TOvcCustomEditor::CaretWordRight(bool Extend)
{
    TParaPos P = ClippedCaret();
    const std::string_view T = FParas->ParaText(P.Para);
    const int Len = static_cast<int>(T.size());
    int I = P.Pos - 1;
    if (I >= Len) {
        if (P.Para < ParaCount()) {
            SetCaretFromPara(TParaPos{P.Para + 1, 1});
            MoveCaretTo(FCaretLine, 1, Extend, false);
        }
        return;
    }
    while (I < Len && !IsEditorDelimiter(T[static_cast<std::size_t>(I)]))
        ++I;
    while (I < Len && IsEditorDelimiter(T[static_cast<std::size_t>(I)]))
        ++I;
    SetCaretFromPara(TParaPos{P.Para, I + 1});
    MoveCaretTo(FCaretLine, CaretLinePos(), Extend, false);
}

void TOvcCustomEditor::CaretPage(int Direction, bool Extend)
{
    MoveCaret(Direction * std::max(1, FVisibleLines - 1), 0, Extend, true);
}

void TOvcCustomEditor::CaretTopOrBottomOfPage(bool Bottom, bool Extend)
{
    const bool Visible = FCaretLine >= FTopLine && FCaretLine < FTopLine + FVisibleLines;
    if (!Visible) {
        if (!Extend)
            SetTopLineInternal(Bottom ? FCaretLine - FVisibleLines + 1 : FCaretLine);
        return;
    }
    const int Target = Bottom ? std::min(LineCount(), FTopLine + FVisibleLines - 1) : FTopLine;
    MoveCaret(Target - FCaretLine, 0, Extend, false);
}

// Edits ------------------------------------------------------------------------------------------

bool TOvcCustomEditor::DeleteSelection()
{
    if (!HasSelection())
        return false;
    const TParaPos S = SelStart();
    const TParaPos E = SelEnd();
    Word Error = 0;
    if (S.Para == E.Para)
        Error = FParas->DeleteText(this, S.Para, S.Pos, E.Pos - S.Pos);
    else
        Error = FParas->DeleteRange(this, S, E);
    SetCaretFromPara(S);
    FAnchor = ClippedCaret();
    DoOnError(Error);
    return true;
}

void TOvcCustomEditor::TypeChar(char Ch)
{
    const int OldLines = LineCount();
    const int OldLine = FCaretLine;
    Word Error = 0;
    TParaPos At = FCaret;
    if (HasSelection()) {
        const bool Group = FParas->BeginGroup();
        DeleteSelection();
        At = ClippedCaret();
        Error = FParas->InsertText(this, At.Para, At.Pos, std::string_view(&Ch, 1));
        FParas->EndGroup(Group);
    } else if (FInsertMode || At.Pos > FParas->ParaLength(At.Para) ||
               (static_cast<unsigned char>(Ch) & 0xC0) == 0x80) {
        Error = FParas->InsertText(this, At.Para, At.Pos, std::string_view(&Ch, 1));
    } else {
        const std::string_view T = FParas->ParaText(At.Para);
        const int Next = NextCharOffset(T, At.Pos - 1, IsValidUtf8(T));
        Error = FParas->ReplaceText(this, At.Para, At.Pos, Next - (At.Pos - 1),
                                    std::string_view(&Ch, 1));
    }
    if (Error != 0) {
        SetCaretFromPara(FCaret);
        DoOnError(Error);
        return;
    }
    SetCaretFromPara(TParaPos{At.Para, At.Pos + 1});
    FAnchor = ClippedCaret();
    if (FCaretLine > OldLine)
        FLeftCol = 0;
    CaretMoved(false, 0);
    TextChanged(OldLines);
}

void TOvcCustomEditor::InsertSpaces(int Count)
{
    const int OldLines = LineCount();
    const bool Group = FParas->BeginGroup();
    DeleteSelection();
    TParaPos At = FCaret;
    if (!FInsertMode) {
        const int Len = FParas->ParaLength(At.Para);
        if (At.Pos <= Len)
            FParas->DeleteText(this, At.Para, At.Pos, std::min(Count, Len - At.Pos + 1));
    }
    Word Error = FParas->CheckLimits(At.Para, 0, Count);
    if (Error == 0)
        Error = FParas->InsertText(this, At.Para, At.Pos, std::string(Count, ' '));
    FParas->EndGroup(Group);
    if (Error != 0) {
        SetCaretFromPara(FCaret);
        DoOnError(Error);
        return;
    }
    SetCaretFromPara(TParaPos{At.Para, At.Pos + Count});
    FAnchor = ClippedCaret();
    CaretMoved(false, 0);
    TextChanged(OldLines);
}

void TOvcCustomEditor::DoTab()
{
    if (FTabType == ttReal) {
        TypeChar('\t');
        return;
    }
    const bool Group = FParas->BeginGroup();
    DeleteSelection();
    const int T = TabSize();
    const int C = CaretLinePos();
    int Count = T * ((C - 1) / T + 1) - C + 1;
    if (FTabType == ttSmart && FCaret.Para > 1) {
        const int Column = CaretColumn() - 1;
        int Found = -1;
        for (int Line : {FCaretLine - 1, FCaretLine + 1}) {
            if (Line < 1 || Line > LineCount() || (Line > FCaretLine && FCaretLine == LineCount()))
                continue;
            const std::string Text = Lines(Line);
            const int Len = static_cast<int>(Text.size());
            if (Len == 0)
                continue;
            int I = Column;
            if (I < Len && Text[static_cast<std::size_t>(I)] != ' ')
                while (I < Len && Text[static_cast<std::size_t>(I)] != ' ')
                    ++I;
            while (I < Len && Text[static_cast<std::size_t>(I)] == ' ')
                ++I;
            if (I < Len)
                Found = I;
            break;
        }
        if (Found > Column)
            Count = Found - Column;
    }
    InsertSpaces(Count);
    FParas->EndGroup(Group);
}

bool TOvcCustomEditor::DoNewLine()
{
    const int OldLines = LineCount();
    const bool Group = FParas->BeginGroup();
    bool Changed = false;
    if (!ReadOnly())
        Changed = DeleteSelection();
    TParaPos At = FCaret;
    Word Error = 0;
    if (FInsertMode && !ReadOnly()) {
        At.Pos = std::min(At.Pos, FParas->ParaLength(At.Para) + 1);
        int Indent = 0;
        int IndentBytes = 0;
        if (FAutoIndent) {
            const std::string_view Text = FParas->LineText(FCaretLine);
            const int Upto = std::min(CaretLinePos() - 1, static_cast<int>(Text.size()));
            int K = 0;
            while (K < Upto && IsBlankChar(Text[static_cast<std::size_t>(K)]))
                ++K;
            Indent = ColumnOfOffset(Text, K, TabSize(), false);
            IndentBytes = FTabType == ttReal ? Indent / TabSize() + Indent % TabSize() : Indent;
        }
        Error = FParas->CheckLimits(At.Para, 1, IndentBytes + 2);
        if (Error == 0)
            Error = FParas->SplitPara(this, At.Para, At.Pos, Indent,
                                      FTabType == ttReal ? TabSize() : 0);
        if (Error == 0) {
            Changed = true;
            At = At.Pos <= 1 ? TParaPos{At.Para + 1, 1} : TParaPos{At.Para + 1, IndentBytes + 1};
        }
    } else if (At.Para < ParaCount())
        At = TParaPos{At.Para + 1, 1};
    else
        At = TParaPos{At.Para, FParas->ParaLength(At.Para) + 1};
    FParas->EndGroup(Group);
    if (Error != 0) {
        SetCaretFromPara(FCaret);
        DoOnError(Error);
        return Changed;
    }
    SetCaretFromPara(At);
    FAnchor = ClippedCaret();
    FLeftCol = 0;
    CaretMoved(false, 0);
    TextChanged(OldLines);
    return Changed;
}

void TOvcCustomEditor::DoBackspace()
{
    if (ReadOnly()) {
        CaretLeft(false);
        return;
    }
    const int OldLines = LineCount();
    if (DeleteSelection()) {
        CaretMoved(false, 0);
        TextChanged(OldLines);
        return;
    }
    const TParaPos P = FCaret;
    const std::string_view T = FParas->ParaText(P.Para);
    const int Len = static_cast<int>(T.size());
    Word Error = 0;
    if (P.Pos > Len + 1) {
        CaretLeft(false);
        return;
    }
    TParaPos At = P;
    if (P.Pos > 1) {
        const int Prev = PrevCharOffset(T, P.Pos - 1, IsValidUtf8(T));
        Error = FParas->DeleteText(this, P.Para, Prev + 1, P.Pos - 1 - Prev);
        At = TParaPos{P.Para, Prev + 1};
    } else if (P.Para > 1) {
        const int PrevLen = FParas->ParaLength(P.Para - 1);
        Error = FParas->JoinParas(this, P.Para - 1, PrevLen + 1);
        At = TParaPos{P.Para - 1, PrevLen + 1};
    } else
        return;
    if (Error != 0) {
        SetCaretFromPara(FCaret);
        DoOnError(Error);
        return;
    }
    SetCaretFromPara(At);
    FAnchor = ClippedCaret();
    CaretMoved(false, 0);
    TextChanged(OldLines);
}

void TOvcCustomEditor::DoDelete()
{
    const int OldLines = LineCount();
    if (!DeleteSelection()) {
        const TParaPos P = FCaret;
        const std::string_view T = FParas->ParaText(P.Para);
        const int Len = static_cast<int>(T.size());
        Word Error = 0;
        if (P.Pos <= Len) {
            const int Next = NextCharOffset(T, P.Pos - 1, IsValidUtf8(T));
            Error = FParas->DeleteText(this, P.Para, P.Pos, Next - (P.Pos - 1));
        } else if (P.Para < ParaCount())
            Error = FParas->JoinParas(this, P.Para, P.Pos);
        SetCaretFromPara(P);
        FAnchor = ClippedCaret();
        DoOnError(Error);
    }
    CaretMoved(false, 0);
    TextChanged(OldLines);
}

void TOvcCustomEditor::DoDelBol()
{
    const int OldLines = LineCount();
    const TParaPos Start = LineStart(FCaretLine);
    const TParaPos P = ClippedCaret();
    if (P.Pos > Start.Pos)
        DoOnError(FParas->DeleteText(this, P.Para, Start.Pos, P.Pos - Start.Pos));
    SetCaretFromPara(Start);
    FAnchor = ClippedCaret();
    CaretMoved(false, 0);
    TextChanged(OldLines);
}

void TOvcCustomEditor::DoDelEol()
{
    const int OldLines = LineCount();
    const TParaPos Start = LineStart(FCaretLine);
    const TParaPos P = FCaret;
    const int End = Start.Pos + LineLen(FCaretLine);
    if (End > P.Pos)
        DoOnError(FParas->DeleteText(this, P.Para, P.Pos, End - P.Pos));
    SetCaretFromPara(P);
    FAnchor = ClippedCaret();
    CaretMoved(false, 0);
    TextChanged(OldLines);
}

void TOvcCustomEditor::DoDelLine()
{
    const int OldLines = LineCount();
    const TParaPos Start = LineStart(FCaretLine);
    TParaNode* Node = FParas->ParaNode(Start.Para);
    Word Error = 0;
    if (Node->LineCount() == 1 && Start.Para < ParaCount())
        Error = FParas->DeleteRange(this, TParaPos{Start.Para, 1}, TParaPos{Start.Para + 1, 1});
    else if (LineLen(FCaretLine) > 0)
        Error = FParas->DeleteText(this, Start.Para, Start.Pos, LineLen(FCaretLine));
    SetCaretFromPara(Start);
    FAnchor = ClippedCaret();
    DoOnError(Error);
    CaretMoved(false, 0);
    TextChanged(OldLines);
}

void TOvcCustomEditor::DoDelWord()
{
    const int OldLines = LineCount();
    if (!DeleteSelection()) {
        const TParaPos P = FCaret;
        const std::string_view T = FParas->ParaText(P.Para);
        const int Len = static_cast<int>(T.size());
        if (P.Pos > Len) {
            DoDelete();
            return;
        }
        int I = P.Pos - 1;
        const char C = T[static_cast<std::size_t>(I)];
        if (IsBlankChar(C)) {
            while (I < Len && IsBlankChar(T[static_cast<std::size_t>(I)]))
                ++I;
        } else if (IsEditorDelimiter(C))
            ++I;
        else {
            while (I < Len && !IsEditorDelimiter(T[static_cast<std::size_t>(I)]))
                ++I;
            while (I < Len && IsBlankChar(T[static_cast<std::size_t>(I)]))
                ++I;
        }
        DoOnError(FParas->DeleteText(this, P.Para, P.Pos, I - (P.Pos - 1)));
        SetCaretFromPara(P);
        FAnchor = ClippedCaret();
    }
    CaretMoved(false, 0);
    TextChanged(OldLines);
}
