// controls/entry/ovcedpara.cpp: the editor's text store: paragraphs, word wrap, limits,
// bookmarks, the changes and their undo.
#include "controls/entry/ovcedpara.h"

#include "controls/entry/ovcedcols.h"

#include "controls/entry/ovcsrmgr.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/screen.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

// A new paragraph; no memory for one raises EOutOfMemory with the library's message.
TParaNode* CreatePara(std::string_view Text)
{
    try {
        return new TParaNode(Text);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory(LibraryString(30197));
    }
}

} // namespace

Word EditorErrorMessageId(Word Code)
{
    switch (Code) {
    case oeOutOfMemory:
        return 30197;
    case oeRegionTooBig:
        return 30186;
    case oeTooManyParas:
        return 30198;
    case oeCannotJoin:
        return 30199;
    case oeOutOfSpace:
        return 30200;
    case oeParaTooLong:
        return 30201;
    default:
        return 30168;
    }
}

// ---- TParaNode

TParaNode::TParaNode(std::string_view Text) : FText(Text), FUtf8(IsValidUtf8(FText))
{
    FRefs = 1;
}

int TParaNode::LineOfOffset(int Offset) const
{
    const auto It = std::upper_bound(FStarts.begin(), FStarts.end(), Offset);
    return std::max(0, static_cast<int>(It - FStarts.begin()) - 1);
}

int TParaNode::NextLineStart(int Start, int Column, int TabSize) const
{
    const int Len = Length();
    // The break falls where the line's width first reaches the column, after a whole character.
    const int Break = OffsetReachingColumn(
        std::string_view(FText).substr(static_cast<std::size_t>(Start)), Column, TabSize, FUtf8);
    if (Len - Start <= Break)
        return -1;
    const int At = Start + Break;
    int NextStart = -1;
    for (int I = At; I >= Start && NextStart < 0; --I) {
        const char C = FText[static_cast<std::size_t>(I)];
        // Blanks may hang past the column; a hyphen must fit within it.
        if (IsBlank(C))
            NextStart = I;
        else if (C == '-' && I < At)
            NextStart = I + 1;
    }
    if (NextStart < 0)
        NextStart = At;
    else
        while (NextStart < Len && IsBlank(FText[static_cast<std::size_t>(NextStart)]))
            ++NextStart;
    return NextStart >= Len ? -1 : NextStart;
}

void TParaNode::Wrap(int Column, int TabSize)
{
    FStarts.assign(1, 0);
    FUtf8 = IsValidUtf8(FText);
    if (Column <= 0)
        return;
    for (int Start = NextLineStart(0, Column, TabSize); Start >= 0;
         Start = NextLineStart(Start, Column, TabSize))
        FStarts.push_back(static_cast<Word>(Start));
}

void TParaNode::Rewrap(int Column, int TabSize, int Offset, int OldLen, int NewLen, bool HadTab,
                       int& First, int& Last)
{
    const int OldLines = LineCount();
    const bool HasTab = FText.find('\t') != std::string::npos;
    const bool WasUtf8 = FUtf8;
    if (Column <= 0 || HasTab != HadTab || IsValidUtf8(FText) != WasUtf8) {
        // Without wrap there is one line; a first tab or the last one, or the text turning
        // valid or invalid UTF-8, changes every break.
        Wrap(Column, TabSize);
        First = 0;
        Last = LineCount() != OldLines ? INT_MAX : LineCount() - 1;
        return;
    }
    const std::vector<Word> Old = FStarts;
    // Back up while an earlier line's break looked at characters the change reached. Without
    // tabs the reach grows with the line, so the first line that stops short ends the search;
    // with tabs every earlier line is asked.
    int K = 0;
    for (int L = LineOfOffset(Offset); L > 0; --L) {
        const int Start = Old[static_cast<std::size_t>(L - 1)];
        const int Break =
            OffsetReachingColumn(std::string_view(FText).substr(static_cast<std::size_t>(Start)),
                                 Column, TabSize, FUtf8);
        const int Reach = std::max<int>(Start + Break, Old[static_cast<std::size_t>(L)]);
        if (Reach >= Offset)
            K = 0;
        else if (K == 0)
            K = L;
        if (Reach < Offset && !HasTab)
            break;
    }
    const int Delta = NewLen - OldLen;
    FStarts.assign(Old.begin(), Old.begin() + K + 1);
    Last = -1;
    for (int Start = Old[static_cast<std::size_t>(K)];;) {
        const int NextStart = NextLineStart(Start, Column, TabSize);
        if (NextStart < 0)
            break;
        if (NextStart >= Offset + NewLen) {
            // Past the change the text is the old one shifted: once a break falls where an old
            // one did, the rest follow as before.
            const auto It = std::lower_bound(Old.begin(), Old.end(), NextStart - Delta);
            if (It != Old.end() && *It == NextStart - Delta) {
                Last = LineCount() - 1;
                for (auto I = It; I != Old.end(); ++I)
                    FStarts.push_back(static_cast<Word>(*I + Delta));
                break;
            }
        }
        FStarts.push_back(static_cast<Word>(NextStart));
        Start = NextStart;
    }
    First = K;
    if (LineCount() != OldLines)
        Last = INT_MAX;
    else if (Last < 0)
        Last = LineCount() - 1;
}

// ---- TOvcParaList

TOvcParaList::TOvcParaList(TOvcEditView* Owner, Word UndoSize)
    : FOwner(Owner), FUndo(std::make_unique<TOvcUndoBuffer>(this, UndoSize))
{
    auto* Node = CreatePara(std::string_view());
    Link(Node, nullptr);
    FParaCount = 1;
    FLineCount = 1;
    ResetCache();
}

TOvcParaList::~TOvcParaList()
{
    FUndo.reset();
    for (TParaNode* Node = FFirst; Node;) {
        TParaNode* Next = Node->Next;
        Node->Next = Node->Prev = nullptr;
        Node->Release();
        Node = Next;
    }
}

void TOvcParaList::Link(TParaNode* Node, TParaNode* Before)
{
    Node->Next = Before;
    Node->Prev = Before ? Before->Prev : FLast;
    if (Node->Prev)
        Node->Prev->Next = Node;
    else
        FFirst = Node;
    if (Before)
        Before->Prev = Node;
    else
        FLast = Node;
}

void TOvcParaList::Unlink(TParaNode* Node)
{
    if (Node->Prev)
        Node->Prev->Next = Node->Next;
    else
        FFirst = Node->Next;
    if (Node->Next)
        Node->Next->Prev = Node->Prev;
    else
        FLast = Node->Prev;
    Node->Next = Node->Prev = nullptr;
}

void TOvcParaList::SetCache(TParaNode* Node, int Para, int FirstLine)
{
    FCacheNode = Node;
    FCachePara = Para;
    FCacheLine = FirstLine;
}

void TOvcParaList::ResetCache()
{
    SetCache(FFirst, 1, 1);
}

TParaNode* TOvcParaList::ParaNode(int Para)
{
    if (Para < 1 || Para > FParaCount)
        return nullptr;
    // Walk from whichever known paragraph is nearest: the first, the cached one or the last.
    TParaNode* Node = FFirst;
    int At = 1, Line = 1;
    if (std::abs(Para - FCachePara) < Para - At) {
        Node = FCacheNode;
        At = FCachePara;
        Line = FCacheLine;
    }
    if (FParaCount - Para < std::abs(Para - At)) {
        Node = FLast;
        At = FParaCount;
        Line = FLineCount - FLast->LineCount() + 1;
    }
    for (; At < Para; ++At) {
        Line += Node->LineCount();
        Node = Node->Next;
    }
    for (; At > Para; --At) {
        Node = Node->Prev;
        Line -= Node->LineCount();
    }
    SetCache(Node, Para, Line);
    return Node;
}

TParaNode* TOvcParaList::NodeOfLine(int Line, int& Para, int& FirstLine)
{
    Line = std::clamp(Line, 1, FLineCount);
    TParaNode* Node = FFirst;
    Para = 1;
    FirstLine = 1;
    if (std::abs(Line - FCacheLine) < Line - FirstLine) {
        Node = FCacheNode;
        Para = FCachePara;
        FirstLine = FCacheLine;
    }
    const int LastFirst = FLineCount - FLast->LineCount() + 1;
    if (std::abs(Line - LastFirst) < std::abs(Line - FirstLine)) {
        Node = FLast;
        Para = FParaCount;
        FirstLine = LastFirst;
    }
    while (Line >= FirstLine + Node->LineCount()) {
        FirstLine += Node->LineCount();
        Node = Node->Next;
        ++Para;
    }
    while (Line < FirstLine) {
        Node = Node->Prev;
        --Para;
        FirstLine -= Node->LineCount();
    }
    SetCache(Node, Para, FirstLine);
    return Node;
}

int TOvcParaList::FirstLineOf(int Para, TParaNode* Node)
{
    if (FCacheNode != Node || FCachePara != Para)
        ParaNode(Para);
    return FCacheLine;
}

void TOvcParaList::MarkChanged(int First, int Last)
{
    if (FChangedLast == 0) {
        FChangedFirst = First;
        FChangedLast = Last;
        return;
    }
    FChangedFirst = std::min(FChangedFirst, First);
    FChangedLast = std::max(FChangedLast, Last);
}

void TOvcParaList::BeginOperation()
{
    FChangedFirst = 0;
    FChangedLast = 0;
}

void TOvcParaList::Rewrapped(int Para, TParaNode* Node, int OldLines, int First, int Last)
{
    FLineCount += Node->LineCount() - OldLines;
    const int FirstLine = FirstLineOf(Para, Node);
    MarkChanged(FirstLine + First, Last == INT_MAX ? INT_MAX : FirstLine + Last);
}

void TOvcParaList::RewrapAll()
{
    // A large text takes a moment: the hourglass shows meanwhile.
    struct THourGlass {
        explicit THourGlass(bool On) : Shown(On && Screen)
        {
            if (Shown) {
                Saved = Screen->Cursor();
                Screen->SetCursor(crHourGlass);
            }
        }
        ~THourGlass()
        {
            if (Shown)
                Screen->SetCursor(Saved);
        }
        bool Shown;
        TCursor Saved = crDefault;
    } HourGlass(FTextSize > 10000);
    FLineCount = 0;
    for (TParaNode* Node = FFirst; Node; Node = Node->Next) {
        Node->Wrap(EffectiveColumn(), FTabSize);
        FLineCount += Node->LineCount();
    }
    ResetCache();
    BeginOperation();
    MarkChanged(1, INT_MAX);
}

// ---- limits and settings

Word TOvcParaList::CheckLimits(int Para, int NewParas, int NewBytes)
{
    if (NewParas != 0 || Para > FParaLimit) {
        long long Allowed = FParaLimit;
        if (Para <= FParaLimit && FLast->Length() == 0 && FParaLimit != MaxValue)
            ++Allowed;
        if (Allowed < static_cast<long long>(NewParas) + FParaCount)
            return oeTooManyParas;
    }
    if (static_cast<long long>(NewBytes) + FTextSize > FTextLimit)
        return oeOutOfSpace;
    if (Para == 0 || NewParas != 0)
        return 0;
    if (static_cast<long long>(NewBytes) + ParaLength(Para) > FParaLengthLimit)
        return oeParaTooLong;
    return 0;
}

void TOvcParaList::SetParaLengthLimit(int V)
{
    if (V >= 1 && V <= MaxParaLength)
        FParaLengthLimit = V;
}

void TOvcParaList::SetWordWrap(bool V)
{
    if (V != FWordWrap) {
        FWordWrap = V;
        RewrapAll();
    }
}

void TOvcParaList::SetWrapColumn(int V)
{
    if (V > 0 && V != FWrapColumn) {
        FWrapColumn = std::min(V, MaxParaLength);
        RewrapAll();
    }
}

void TOvcParaList::SetTabSize(Byte V)
{
    if (V > 0 && V != FTabSize) {
        FTabSize = V;
        RewrapAll();
    }
}

void TOvcParaList::SetUndoSize(Word V)
{
    FUndo.reset();
    FUndo = std::make_unique<TOvcUndoBuffer>(this, V);
}

void TOvcParaList::SetModified(bool V)
{
    FModified = V;
    if (!V)
        FUndo->SetAllSavedModified();
}

// ---- access

int TOvcParaList::ParaLength(int Para)
{
    TParaNode* Node = ParaNode(Para);
    return Node ? Node->Length() : 0;
}

std::string_view TOvcParaList::ParaText(int Para)
{
    TParaNode* Node = ParaNode(Para);
    return Node ? std::string_view(Node->Text()) : std::string_view();
}

std::string_view TOvcParaList::LineText(int Line)
{
    if (Line < 1 || Line > FLineCount)
        return std::string_view();
    int Para, FirstLine;
    TParaNode* Node = NodeOfLine(Line, Para, FirstLine);
    const int Index = Line - FirstLine;
    return std::string_view(Node->Text())
        .substr(static_cast<std::size_t>(Node->LineStart(Index)),
                static_cast<std::size_t>(Node->LineEnd(Index) - Node->LineStart(Index)));
}

int TOvcParaList::LineLength(int Line)
{
    return static_cast<int>(LineText(Line).size());
}

TParaPos TOvcParaList::LineToPara(int Line, int Col)
{
    int Para, FirstLine;
    TParaNode* Node = NodeOfLine(Line, Para, FirstLine);
    const int Index = std::clamp(Line, 1, FLineCount) - FirstLine;
    const std::string_view Text = LineText(FirstLine + Index);
    return TParaPos{Para, Node->LineStart(Index) + 1 +
                              OffsetOfColumn(Text, std::max(Col, 1) - 1, FTabSize, Node->Utf8())};
}

void TOvcParaList::ParaToLine(int Para, int Pos, int& Line, int& Col)
{
    TParaNode* Node = ParaNode(std::clamp(Para, 1, FParaCount));
    const int FirstLine = FCacheLine;
    const int Offset = std::max(Pos, 1) - 1;
    const int Index = Node->LineOfOffset(std::min(Offset, Node->Length()));
    const int Start = Node->LineStart(Index), End = Node->LineEnd(Index);
    const std::string_view Text =
        std::string_view(Node->Text())
            .substr(static_cast<std::size_t>(Start),
                    static_cast<std::size_t>(std::min(Offset, End) - Start));
    Line = FirstLine + Index;
    Col = ColumnOfOffset(Text, static_cast<int>(Text.size()), FTabSize, Node->Utf8()) + 1 +
          std::max(0, Offset - End);
}

// ---- bookmarks

void TOvcParaList::SetMarker(int N, int Para, int Pos)
{
    if (N >= 0 && N <= 9)
        FMarkers[N] = TParaPos{Para, Pos};
}

void TOvcParaList::ClearMarker(int N)
{
    if (N >= 0 && N <= 9)
        FMarkers[N] = TParaPos();
}

// ---- notifications

template <typename F>
void TOvcParaList::ForEachView(F Call)
{
    if (!FNotify)
        return;
    for (TOvcEditView* View = FOwner; View;) {
        Call(View);
        View = View->NextView();
        if (View == FOwner)
            break;
    }
}

void TOvcParaList::SendParaInserted(TOvcEditView* Ed, int Para, int Pos)
{
    ForEachView([&](TOvcEditView* V) { V->ParaInserted(Ed, Para, Pos); });
}

void TOvcParaList::SendParaDeleted(TOvcEditView* Ed, int Para)
{
    ForEachView([&](TOvcEditView* V) { V->ParaDeleted(Ed, Para); });
}

void TOvcParaList::SendTextInserted(TOvcEditView* Ed, int Para, int Pos, int Count)
{
    ForEachView([&](TOvcEditView* V) { V->TextInserted(Ed, Para, Pos, Count); });
}

void TOvcParaList::SendTextDeleted(TOvcEditView* Ed, int Para, int Pos, int Count)
{
    ForEachView([&](TOvcEditView* V) { V->TextDeleted(Ed, Para, Pos, Count); });
}

void TOvcParaList::SendParasJoined(TOvcEditView* Ed, int Para, int Pos)
{
    ForEachView([&](TOvcEditView* V) { V->ParasJoined(Ed, Para, Pos); });
}

// ---- the steps of every change

Word TOvcParaList::DoInsertText(TOvcEditView* Ed, int Para, int Pos, std::string_view Text)
{
    TParaNode* Node = ParaNode(Para);
    if (!Node)
        return 0;
    const int Len = Node->Length();
    const int Start = std::min(Pos - 1, Len);
    const int Pad = std::max(0, Pos - 1 - Len);
    if (Pad + Text.size() == 0)
        return 0;
    const bool HadTab = Node->Text().find('\t') != std::string::npos;
    try {
        std::string& S = Node->MutableText();
        S.reserve((S.size() + static_cast<std::size_t>(Pad) + Text.size() + 15) / 16 * 16);
        S.append(static_cast<std::size_t>(Pad), ' ');
        S.insert(static_cast<std::size_t>(Start + Pad), Text);
    } catch (const std::bad_alloc&) {
        Node->MutableText().resize(static_cast<std::size_t>(Len));
        return oeOutOfMemory;
    }
    const int Count = Pad + static_cast<int>(Text.size());
    if (!FReplaying)
        FUndo->AppendText(
            ukInsertText, Para, Start + 1,
            std::string_view(Node->Text())
                .substr(static_cast<std::size_t>(Start), static_cast<std::size_t>(Count)),
            FModified);
    FModified = true;
    FTextSize += Count;
    const int OldLines = Node->LineCount();
    int First, Last;
    Node->Rewrap(EffectiveColumn(), FTabSize, Start, 0, Count, HadTab, First, Last);
    Rewrapped(Para, Node, OldLines, First, Last);
    // Padding fills space the positions already had: only what stood at Pos on moves.
    const int Moved = static_cast<int>(Text.size());
    for (TParaPos& M : FMarkers)
        if (M.Para == Para && M.Pos >= Pos)
            M.Pos += Moved;
    if (Moved > 0)
        SendTextInserted(Ed, Para, Pos, Moved);
    return 0;
}

void TOvcParaList::DoDeleteText(TOvcEditView* Ed, int Para, int Pos, int Count)
{
    TParaNode* Node = ParaNode(Para);
    if (!Node || Pos < 1 || Pos > Node->Length() || Count <= 0)
        return;
    Count = std::min(Count, Node->Length() - Pos + 1);
    const bool HadTab = Node->Text().find('\t') != std::string::npos;
    if (!FReplaying)
        FUndo->AppendText(
            ukDeleteText, Para, Pos,
            std::string_view(Node->Text())
                .substr(static_cast<std::size_t>(Pos - 1), static_cast<std::size_t>(Count)),
            FModified);
    Node->MutableText().erase(static_cast<std::size_t>(Pos - 1), static_cast<std::size_t>(Count));
    FModified = true;
    FTextSize -= Count;
    const int OldLines = Node->LineCount();
    int First, Last;
    Node->Rewrap(EffectiveColumn(), FTabSize, Pos - 1, Count, 0, HadTab, First, Last);
    Rewrapped(Para, Node, OldLines, First, Last);
    for (TParaPos& M : FMarkers)
        if (M.Para == Para && M.Pos >= Pos + Count)
            M.Pos -= Count;
        else if (M.Para == Para && M.Pos >= Pos)
            M = TParaPos();
    SendTextDeleted(Ed, Para, Pos, Count);
}

Word TOvcParaList::DoReplaceText(TOvcEditView* Ed, int Para, int Pos, int OldLen,
                                 std::string_view Text)
{
    TParaNode* Node = ParaNode(Para);
    if (!Node || Pos < 1)
        return 0;
    if (Pos > Node->Length() + 1)
        if (const Word Error = DoInsertText(Ed, Para, Pos, std::string_view()))
            return Error;
    OldLen = std::clamp(OldLen, 0, Node->Length() - Pos + 1);
    const int NewLen = static_cast<int>(Text.size());
    if (OldLen + NewLen == 0)
        return 0;
    const bool HadTab = Node->Text().find('\t') != std::string::npos;
    const std::string Old =
        Node->Text().substr(static_cast<std::size_t>(Pos - 1), static_cast<std::size_t>(OldLen));
    try {
        Node->MutableText().replace(static_cast<std::size_t>(Pos - 1),
                                    static_cast<std::size_t>(OldLen), Text);
    } catch (const std::bad_alloc&) {
        return oeOutOfMemory;
    }
    if (!FReplaying)
        FUndo->AppendReplace(Para, Pos, Old, Text, FModified);
    FModified = true;
    FTextSize += NewLen - OldLen;
    const int OldLines = Node->LineCount();
    int First, Last;
    Node->Rewrap(EffectiveColumn(), FTabSize, Pos - 1, OldLen, NewLen, HadTab, First, Last);
    Rewrapped(Para, Node, OldLines, First, Last);
    for (TParaPos& M : FMarkers)
        if (M.Para == Para && M.Pos >= Pos + OldLen)
            M.Pos += NewLen - OldLen;
        else if (M.Para == Para && M.Pos >= Pos + NewLen)
            M = TParaPos();
    if (OldLen > 0)
        SendTextDeleted(Ed, Para, Pos, OldLen);
    if (NewLen > 0)
        SendTextInserted(Ed, Para, Pos, NewLen);
    return 0;
}

void TOvcParaList::DoInsertPara(TOvcEditView* Ed, int Para, TParaNode* Node, Byte Kind,
                                int RecordPara)
{
    const bool AtEnd = Para > FParaCount;
    TParaNode* Before = AtEnd ? nullptr : ParaNode(Para);
    const int FirstLine = AtEnd ? FLineCount + 1 : FirstLineOf(Para, Before);
    Node->AddRef();
    if (!FReplaying)
        FUndo->AppendPara(Kind, RecordPara, 1, Node, FModified);
    Node->Wrap(EffectiveColumn(), FTabSize);
    Link(Node, Before);
    ++FParaCount;
    FTextSize += Node->Length() + 2;
    FLineCount += Node->LineCount();
    FModified = true;
    if (FCachePara >= Para)
        ResetCache();
    MarkChanged(FirstLine, INT_MAX);
    for (TParaPos& M : FMarkers)
        if (M.Para >= Para)
            ++M.Para;
    SendParaInserted(Ed, Para, 1);
}

void TOvcParaList::DoDeletePara(TOvcEditView* Ed, int Para)
{
    TParaNode* Node = ParaNode(Para);
    if (!Node || FParaCount <= 1)
        return;
    const int FirstLine = FirstLineOf(Para, Node);
    if (!FReplaying)
        FUndo->AppendPara(ukDeletePara, Para, 1, Node, FModified);
    Unlink(Node);
    --FParaCount;
    FTextSize -= Node->Length() + 2;
    FLineCount -= Node->LineCount();
    FModified = true;
    ResetCache();
    MarkChanged(FirstLine, INT_MAX);
    for (TParaPos& M : FMarkers)
        if (M.Para == Para)
            M = TParaPos();
        else if (M.Para > Para)
            --M.Para;
    SendParaDeleted(Ed, Para);
    Node->Release(); // the list's hold; an undo record naming it keeps it alive
}

// ---- operations

Word TOvcParaList::AppendPara(std::string_view Text, bool Trim)
{
    BeginOperation();
    if (Trim)
        while (!Text.empty() && IsBlank(Text.back()))
            Text.remove_suffix(1);
    if (Text.size() > static_cast<std::size_t>(FParaLengthLimit))
        return oeParaTooLong;
    const int Len = static_cast<int>(Text.size());
    if (const Word Error = CheckLimits(0, 1, Len + 2))
        return Error;
    auto* Node = CreatePara(Text);
    Node->Wrap(EffectiveColumn(), FTabSize);
    const int FirstLine = FLineCount - FLast->LineCount() + 1;
    Link(Node, FLast);
    ++FParaCount;
    FTextSize += Len + 2;
    FLineCount += Node->LineCount();
    if (FCacheNode == FLast)
        ResetCache();
    MarkChanged(FirstLine, INT_MAX);
    for (TParaPos& M : FMarkers)
        if (M.Para == FParaCount - 1)
            ++M.Para;
    return 0;
}

Word TOvcParaList::Insert(TOvcEditView* Ed, int Para, int Pos, std::string_view Text)
{
    if (Para < 1 || Para > FParaCount || Pos < 1)
        return 0;
    const int Pad = std::max(0, Pos - 1 - ParaLength(Para));
    if (const Word Error = CheckLimits(Para, 0, Pad + static_cast<int>(Text.size())))
        return Error;
    return DoInsertText(Ed, Para, Pos, Text);
}

Word TOvcParaList::InsertText(TOvcEditView* Ed, int Para, int Pos, std::string_view Text)
{
    BeginOperation();
    return Insert(Ed, Para, Pos, Text);
}

Word TOvcParaList::DeleteText(TOvcEditView* Ed, int Para, int Pos, int Count)
{
    BeginOperation();
    DoDeleteText(Ed, Para, Pos, Count);
    return 0;
}

Word TOvcParaList::ReplaceText(TOvcEditView* Ed, int Para, int Pos, int OldLen,
                               std::string_view Text)
{
    BeginOperation();
    if (Para < 1 || Para > FParaCount || Pos < 1)
        return 0;
    const int Len = ParaLength(Para);
    const int Pad = std::max(0, Pos - 1 - Len);
    const int Replaced = std::clamp(OldLen, 0, std::max(0, Len - Pos + 1));
    if (const Word Error = CheckLimits(Para, 0, Pad + static_cast<int>(Text.size()) - Replaced))
        return Error;
    const bool Group = Pad > 0 ? BeginGroup() : false;
    const Word Error = DoReplaceText(Ed, Para, Pos, OldLen, Text);
    if (Pad > 0)
        EndGroup(Group);
    return Error;
}

Word TOvcParaList::Split(TOvcEditView* Ed, int Para, int Pos, int Indent, int TabSize)
{
    TParaNode* Node = ParaNode(Para);
    if (!Node)
        return 0;
    const int Len = Node->Length();
    Pos = std::clamp(Pos, 1, Len + 1);
    Indent = Pos == 1 ? 0 : std::max(Indent, 0);
    const int Tabs = TabSize > 0 ? Indent / TabSize : 0;
    const int Spaces = TabSize > 0 ? Indent % TabSize : Indent;
    if (const Word Error = CheckLimits(Para, 1, 2 + Tabs + Spaces))
        return Error;
    if (Len - (Pos - 1) + Tabs + Spaces > FParaLengthLimit)
        return oeParaTooLong; // the indent would make the new paragraph too long
    if (Pos == 1) {
        auto* Fresh = CreatePara(std::string_view());
        DoInsertPara(Ed, Para, Fresh, ukInsertBefore, Para);
        Fresh->Release();
        return 0;
    }
    const bool Group = BeginGroup();
    const bool Notify = FNotify;
    FNotify = false;
    if (!FReplaying)
        FUndo->AppendMark(Para, Pos, FModified);
    auto* Tail =
        CreatePara(std::string_view(Node->Text()).substr(static_cast<std::size_t>(Pos - 1)));
    DoInsertPara(Ed, Para + 1, Tail, ukInsertAfter, Para);
    Tail->Release();
    for (TParaPos& M : FMarkers)
        if (M.Para == Para && M.Pos >= Pos)
            M = TParaPos{Para + 1, M.Pos - Pos + 1};
    int Cut = Pos - 1;
    while (Cut > 0 && IsBlank(Node->Text()[static_cast<std::size_t>(Cut - 1)]))
        --Cut;
    DoDeleteText(Ed, Para, Cut + 1, Len - Cut);
    Word Error = 0;
    if (Tabs + Spaces > 0)
        Error = DoInsertText(Ed, Para + 1, 1,
                             std::string(static_cast<std::size_t>(Tabs), '\t') +
                                 std::string(static_cast<std::size_t>(Spaces), ' '));
    if (!FReplaying)
        FUndo->AppendMark(Para + 1, Tabs + Spaces + 1, FModified);
    FNotify = Notify;
    EndGroup(Group);
    SendParaInserted(Ed, Para, Pos);
    return Error;
}

Word TOvcParaList::SplitPara(TOvcEditView* Ed, int Para, int Pos, int Indent, int TabSize)
{
    BeginOperation();
    return Split(Ed, Para, Pos, Indent, TabSize);
}

Word TOvcParaList::Join(TOvcEditView* Ed, int Para, int Pos)
{
    if (Para < 1 || Para >= FParaCount)
        return 0;
    TParaNode* Node = ParaNode(Para);
    Pos = std::max(Pos, Node->Length() + 1);
    const int NextLen = Node->Next->Length();
    if (Pos > 1 && CheckLimits(Para, 0, NextLen + Pos - 1 - Node->Length()) != 0)
        return oeCannotJoin;
    const bool Group = BeginGroup();
    const bool Notify = FNotify;
    FNotify = false;
    Word Error = 0;
    if (Pos == 1) {
        DoDeletePara(Ed, Para);
    } else {
        const std::string Text = Node->Next->Text();
        Error = DoInsertText(Ed, Para, Pos, Text);
        if (!Error) {
            for (TParaPos& M : FMarkers)
                if (M.Para == Para + 1)
                    M = TParaPos{Para, M.Pos + Pos - 1};
            DoDeletePara(Ed, Para + 1);
            if (!FReplaying)
                FUndo->AppendMark(Para, Pos, FModified);
        }
    }
    FNotify = Notify;
    EndGroup(Group);
    if (!Error)
        SendParasJoined(Ed, Para, Pos);
    return Error;
}

Word TOvcParaList::JoinParas(TOvcEditView* Ed, int Para, int Pos)
{
    BeginOperation();
    return Join(Ed, Para, Pos);
}

Word TOvcParaList::DeleteRange(TOvcEditView* Ed, TParaPos From, TParaPos To)
{
    BeginOperation();
    if (To.Para < From.Para || (To.Para == From.Para && To.Pos < From.Pos))
        std::swap(From, To);
    From.Para = std::clamp(From.Para, 1, FParaCount);
    To.Para = std::clamp(To.Para, 1, FParaCount);
    From.Pos = std::max(From.Pos, 1);
    To.Pos = std::max(To.Pos, 1);
    if (From.Para == To.Para) {
        DoDeleteText(Ed, From.Para, From.Pos, To.Pos - From.Pos);
        return 0;
    }
    const bool Group = BeginGroup();
    Word Error = 0;
    if (From.Pos == 1 && To.Pos == 1) {
        for (int I = From.Para; I < To.Para; ++I)
            DoDeletePara(Ed, From.Para);
    } else {
        DoDeleteText(Ed, From.Para, From.Pos, ParaLength(From.Para) - From.Pos + 1);
        DoDeleteText(Ed, To.Para, 1, To.Pos - 1);
        for (int I = From.Para + 1; I < To.Para; ++I)
            DoDeletePara(Ed, From.Para + 1);
        Error = Join(Ed, From.Para, From.Pos);
    }
    EndGroup(Group);
    return Error;
}

Word TOvcParaList::CheckBlock(TParaPos At, std::string_view Text)
{
    // The lines of the block, CR LF or LF ended; the first joins the text before At, the last
    // the text after it.
    std::vector<int> Lengths;
    for (std::size_t From = 0;;) {
        const std::size_t End = Text.find('\n', From);
        std::size_t Stop = End == std::string_view::npos ? Text.size() : End;
        if (End != std::string_view::npos)
            while (Stop > From && Text[Stop - 1] == '\r')
                --Stop;
        Lengths.push_back(static_cast<int>(Stop - From));
        if (End == std::string_view::npos)
            break;
        From = End + 1;
    }
    const int Lines = static_cast<int>(Lengths.size()) - 1;
    const int Len = ParaLength(At.Para);
    const int Before = At.Pos - 1; // with the blanks padding it to At
    const int After = Len - std::min(Len, Before);
    long long Bytes = 2LL * Lines + std::max(0, At.Pos - 1 - Len);
    for (const int L : Lengths)
        Bytes += L;
    if (Bytes > INT_MAX)
        return oeOutOfSpace;
    if (const Word Error = CheckLimits(At.Para, Lines, static_cast<int>(Bytes)))
        return Error;
    for (int I = 0; I <= Lines; ++I) {
        const long long Whole = 0LL + Lengths[static_cast<std::size_t>(I)] + (I == 0 ? Before : 0) +
                                (I == Lines ? After : 0);
        if (Whole > FParaLengthLimit)
            return oeParaTooLong;
    }
    return 0;
}

Word TOvcParaList::InsertBlock(TOvcEditView* Ed, TParaPos& At, std::string_view Text)
{
    BeginOperation();
    At.Para = std::clamp(At.Para, 1, FParaCount);
    At.Pos = std::max(At.Pos, 1);
    if (Text.find('\n') == std::string_view::npos) {
        const Word Error = Insert(Ed, At.Para, At.Pos, Text);
        if (!Error)
            At.Pos += static_cast<int>(Text.size());
        return Error;
    }
    if (const Word Error = CheckBlock(At, Text))
        return Error;
    // The block fits as a whole: its steps run without limits so that none of them can stop
    // it half made.
    struct TLimits {
        TOvcParaList& L;
        int Paras = L.FParaLimit, Size = L.FTextLimit, Length = L.FParaLengthLimit;
        ~TLimits()
        {
            L.FParaLimit = Paras;
            L.FTextLimit = Size;
            L.FParaLengthLimit = Length;
        }
    } Saved{*this};
    FParaLimit = FTextLimit = MaxValue;
    FParaLengthLimit = MaxParaLength;
    int StartLine, StartCol;
    ParaToLine(At.Para, At.Pos, StartLine, StartCol);
    const bool Group = BeginGroup();
    Word Error = 0;
    while (!Error) {
        const std::size_t End = Text.find('\n');
        std::string_view Piece = Text.substr(0, End);
        if (End == std::string_view::npos) {
            if (!Piece.empty()) {
                Error = Insert(Ed, At.Para, At.Pos, Piece);
                if (!Error)
                    At.Pos += static_cast<int>(Piece.size());
            }
            break;
        }
        Text.remove_prefix(End + 1);
        while (!Piece.empty() && Piece.back() == '\r')
            Piece.remove_suffix(1);
        if (At.Pos == 1) {
            // A whole line before the current paragraph becomes a paragraph of its own.
            if (Piece.size() > static_cast<std::size_t>(FParaLengthLimit))
                Error = oeParaTooLong;
            if (!Error)
                Error = CheckLimits(At.Para, 1, static_cast<int>(Piece.size()) + 2);
            if (!Error) {
                auto* Node = CreatePara(Piece);
                DoInsertPara(Ed, At.Para, Node, ukInsertBefore, At.Para);
                Node->Release();
                ++At.Para;
            }
            continue;
        }
        if (!Piece.empty())
            Error = Insert(Ed, At.Para, At.Pos, Piece);
        if (!Error) {
            At.Pos += static_cast<int>(Piece.size());
            Error = Split(Ed, At.Para, At.Pos, 0, 0);
        }
        if (!Error)
            At = TParaPos{At.Para + 1, 1};
    }
    EndGroup(Group);
    BeginOperation();
    MarkChanged(std::max(1, StartLine - 1), INT_MAX);
    return Error;
}

// ---- undo and redo

void TOvcParaList::Replay(TOvcEditView* Ed, const TUndoNode& Rec, bool Forward)
{
    const int Para = static_cast<int>(Rec.Para());
    const int Pos = Rec.Pos();
    switch (Rec.Kind()) {
    case ukInsertText:
    case ukDeleteText:
        if (Forward == (Rec.Kind() == ukInsertText))
            DoInsertText(Ed, Para, Pos, Rec.Text());
        else
            DoDeleteText(Ed, Para, Pos, Rec.DataLen());
        break;
    case ukInsertBefore:
    case ukInsertAfter: {
        const int At = Rec.Kind() == ukInsertBefore ? Para : Para + 1;
        if (Forward)
            DoInsertPara(Ed, At, Rec.ParaNode(), Rec.Kind(), Para);
        else
            DoDeletePara(Ed, At);
        break;
    }
    case ukDeletePara:
        if (Forward)
            DoDeletePara(Ed, Para);
        else
            DoInsertPara(Ed, Para, Rec.ParaNode(), ukDeletePara, Para);
        break;
    case ukReplaceText:
        if (Forward)
            DoReplaceText(Ed, Para, Pos, static_cast<int>(Rec.OldText().size()), Rec.NewText());
        else
            DoReplaceText(Ed, Para, Pos, static_cast<int>(Rec.NewText().size()), Rec.OldText());
        break;
    default:
        break;
    }
}

bool TOvcParaList::Undo(TOvcEditView* Ed, TParaPos& At)
{
    if (FUndo->UndoCount() == 0)
        return FModified;
    BeginOperation();
    FReplaying = true;
    const Byte Group = FUndo->Newest().Group();
    bool Saved = FModified;
    do {
        const TUndoNode Rec = FUndo->Newest();
        Replay(Ed, Rec, false);
        Saved = Rec.SavedModified();
        At = TParaPos{static_cast<int>(Rec.Para()), Rec.Pos()};
        FUndo->StepBack();
    } while (FUndo->UndoCount() > 0 && FUndo->Newest().Group() == Group);
    FReplaying = false;
    FModified = Saved;
    return FModified;
}

bool TOvcParaList::Redo(TOvcEditView* Ed, TParaPos& At)
{
    if (FUndo->RedoCount() == 0)
        return FModified;
    BeginOperation();
    FReplaying = true;
    const Byte Group = FUndo->NextRedo().Group();
    do {
        TUndoNode Rec = FUndo->NextRedo();
        Rec.SetSavedModified(FModified);
        Replay(Ed, Rec, true);
        At = TParaPos{static_cast<int>(Rec.Para()), Rec.Pos()};
        FUndo->StepForward();
    } while (FUndo->RedoCount() > 0 && FUndo->NextRedo().Group() == Group);
    FReplaying = false;
    return FModified;
}
