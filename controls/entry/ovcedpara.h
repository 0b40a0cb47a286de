// controls/entry/ovcedpara.h: the editor's text store: a list of paragraphs wrapped into screen
// lines, its limits and error codes, ten bookmarks, and the undo buffer its changes go to.
#pragma once

#include "controls/entry/ovcedundo.h"
#include "platform/rtl/types.h"

#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Error codes of the store's operations (0 is success).
enum : Word {
    oeOutOfMemory = 263,  // "insufficient memory for requested operation"
    oeRegionTooBig = 264, // "Region is too large (> 64K)"
    oeTooManyParas = 265, // the paragraph limit
    oeCannotJoin = 266,   // the joined paragraph would be too long
    oeOutOfSpace = 267,   // the text-size limit
    oeParaTooLong = 268,  // the paragraph-length limit
};

// The library message that words an error code of the store.
Word EditorErrorMessageId(Word Code);

// The store's side of an editor view. Every view showing a store receives each change of the
// text after it is made and moves its caret, selection and top line to match. The views of one
// text form a ring through NextView, starting at the store's owner (nil or the owner itself ends
// the ring). Sender is the view that asked for the change.
class TOvcEditView {
public:
    virtual ~TOvcEditView() = default;
    // Paragraph Para was split at Pos: the text from Pos on is now paragraph Para + 1 (Pos 1:
    // a paragraph was inserted before Para).
    virtual void ParaInserted(TOvcEditView* Sender, int Para, int Pos) = 0;
    // Paragraph Para was removed; those after it moved up by one.
    virtual void ParaDeleted(TOvcEditView* Sender, int Para) = 0;
    // Count characters were inserted at Pos of paragraph Para.
    virtual void TextInserted(TOvcEditView* Sender, int Para, int Pos, int Count) = 0;
    // Count characters from Pos of paragraph Para were deleted.
    virtual void TextDeleted(TOvcEditView* Sender, int Para, int Pos, int Count) = 0;
    // Paragraph Para + 1 was appended to paragraph Para at Pos.
    virtual void ParasJoined(TOvcEditView* Sender, int Para, int Pos) = 0;
    virtual TOvcEditView* NextView() const { return nullptr; }
};

// A paragraph position; (0, 0) is no position.
struct TParaPos {
    int Para = 0;
    int Pos = 0;
    bool operator==(const TParaPos& O) const { return Para == O.Para && Pos == O.Pos; }
};

// One paragraph: its bytes and the offsets at which its screen lines start. It is shared by the
// list and by the undo records that name it, and freed by the last of them to let go.
class TParaNode {
public:
    explicit TParaNode(std::string_view Text);
    TParaNode(const TParaNode&) = delete;
    TParaNode& operator=(const TParaNode&) = delete;

    void AddRef() { ++FRefs; }
    void Release()
    {
        if (--FRefs == 0)
            delete this;
    }

    const std::string& Text() const { return FText; }
    int Length() const { return static_cast<int>(FText.size()); }
    int LineCount() const { return static_cast<int>(FStarts.size()); }
    int LineStart(int Index) const { return FStarts[static_cast<std::size_t>(Index)]; }
    int LineEnd(int Index) const
    {
        return Index + 1 < LineCount() ? LineStart(Index + 1) : Length();
    }
    // Valid UTF-8 as of the last wrap: one column per character, else one per byte.
    bool Utf8() const { return FUtf8; }
    // The index of the screen line holding character offset Offset (0-based).
    int LineOfOffset(int Offset) const;

    // Word wrap at Column with tab stops every TabSize; Column 0 keeps one line. A break never
    // falls inside a character of a valid UTF-8 paragraph.
    void Wrap(int Column, int TabSize);
    // The same after OldLen characters at Offset were replaced by NewLen others (HadTab: the
    // text held a tab before), recomputing
    // only from the lines the change can reach. First and Last: the range of lines whose text
    // or start changed (Last = INT_MAX when the line count changed).
    void Rewrap(int Column, int TabSize, int Offset, int OldLen, int NewLen, bool HadTab,
                int& First, int& Last);

    std::string& MutableText() { return FText; }

    TParaNode* Next = nullptr;
    TParaNode* Prev = nullptr;

private:
    ~TParaNode() = default;
    int NextLineStart(int Start, int Column, int TabSize) const;

    std::string FText;
    std::vector<Word> FStarts{0};
    bool FUtf8 = true;
    int FRefs = 0;
};

class TOvcParaList {
public:
    static constexpr int MaxValue = INT_MAX;
    static constexpr int MaxParaLength = 32767;

    TOvcParaList(TOvcEditView* Owner, Word UndoSize);
    ~TOvcParaList();
    TOvcParaList(const TOvcParaList&) = delete;
    TOvcParaList& operator=(const TOvcParaList&) = delete;

    TOvcEditView* Owner() const { return FOwner; }
    void SetOwner(TOvcEditView* V) { FOwner = V; }

    // Limits, checked in this order: paragraphs (NewParas added, or paragraph Para above the
    // limit), text size (NewBytes), and the length of paragraph Para (when no paragraph is
    // added).
    Word CheckLimits(int Para, int NewParas, int NewBytes);

    // Loading: a paragraph in front of the trailing empty one, not recorded for undo.
    Word AppendPara(std::string_view Text, bool Trim);
    Word InsertText(TOvcEditView* Ed, int Para, int Pos, std::string_view Text);
    Word DeleteText(TOvcEditView* Ed, int Para, int Pos, int Count);
    Word ReplaceText(TOvcEditView* Ed, int Para, int Pos, int OldLen, std::string_view Text);
    // Enter: Indent columns of indent (TabSize 0: spaces only) start the new paragraph.
    Word SplitPara(TOvcEditView* Ed, int Para, int Pos, int Indent = 0, int TabSize = 0);
    Word JoinParas(TOvcEditView* Ed, int Para, int Pos);
    Word DeleteRange(TOvcEditView* Ed, TParaPos From, TParaPos To);
    // Paste: text that may hold line ends; At becomes the position after the insertion. A block
    // breaking a limit is refused whole.
    Word InsertBlock(TOvcEditView* Ed, TParaPos& At, std::string_view Text);

    // Undo and Redo replay one group, put the caret position in At and return the modified
    // flag the store now has.
    bool Undo(TOvcEditView* Ed, TParaPos& At);
    bool Redo(TOvcEditView* Ed, TParaPos& At);
    bool BeginGroup() { return FUndo->BeginGroup(); }
    void EndGroup(bool Previous) { FUndo->EndGroup(Previous); }
    TOvcUndoBuffer& UndoBuffer() { return *FUndo; }

    int ParaCount() const { return FParaCount; }
    int LineCount() const { return FLineCount; }
    int TextSize() const { return FTextSize; }
    int ParaLength(int Para);
    std::string_view ParaText(int Para);
    int LineLength(int Line);
    std::string_view LineText(int Line);
    // Screen line (Line, Col: display column) to paragraph position and back.
    TParaPos LineToPara(int Line, int Col);
    void ParaToLine(int Para, int Pos, int& Line, int& Col);
    // Paragraph Para's node (nil outside 1..ParaCount).
    TParaNode* ParaNode(int Para);

    // Bookmarks 0 to 9; (0, 0) is not set.
    void SetMarker(int N, int Para, int Pos);
    void ClearMarker(int N);
    TParaPos Marker(int N) const { return FMarkers[static_cast<std::size_t>(N)]; }

    bool Modified() const { return FModified; }
    // Clearing marks every undo record, so undoing past this point marks the text modified.
    void SetModified(bool V);
    bool Notify() const { return FNotify; }
    void SetNotify(bool V) { FNotify = V; }

    int ParaLimit() const { return FParaLimit; }
    void SetParaLimit(int V) { FParaLimit = V; }
    int TextLimit() const { return FTextLimit; }
    void SetTextLimit(int V) { FTextLimit = V; }
    int ParaLengthLimit() const { return FParaLengthLimit; }
    // Taken only within 1..32767.
    void SetParaLengthLimit(int V);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool V);
    int WrapColumn() const { return FWrapColumn; }
    void SetWrapColumn(int V);
    int TabSize() const { return FTabSize; }
    void SetTabSize(Byte V);
    Word UndoSize() const { return FUndo->BufSize(); }
    void SetUndoSize(Word V);

    // Screen lines changed by the last operation; Last = INT_MAX runs to the end of the text.
    int ChangedFirst() const { return FChangedFirst; }
    int ChangedLast() const { return FChangedLast; }

private:
    int EffectiveColumn() const { return FWordWrap ? FWrapColumn : 0; }
    // The first screen line of paragraph Para (its node given).
    int FirstLineOf(int Para, TParaNode* Node);
    // The paragraph holding screen line Line, and its first line.
    TParaNode* NodeOfLine(int Line, int& Para, int& FirstLine);
    void SetCache(TParaNode* Node, int Para, int FirstLine);
    void ResetCache();
    // The limits a paste of Text at At would break (0: none), checked before any of it is made.
    Word CheckBlock(TParaPos At, std::string_view Text);
    void Rewrapped(int Para, TParaNode* Node, int OldLines, int First, int Last);
    void MarkChanged(int First, int Last);
    void BeginOperation();
    void RewrapAll();
    Word Insert(TOvcEditView* Ed, int Para, int Pos, std::string_view Text);
    Word Split(TOvcEditView* Ed, int Para, int Pos, int Indent, int TabSize);
    Word Join(TOvcEditView* Ed, int Para, int Pos);

    // The steps every change is made of: each records itself unless replaying, keeps the
    // counts, the bookmarks and the changed range, and notifies the views.
    Word DoInsertText(TOvcEditView* Ed, int Para, int Pos, std::string_view Text);
    void DoDeleteText(TOvcEditView* Ed, int Para, int Pos, int Count);
    Word DoReplaceText(TOvcEditView* Ed, int Para, int Pos, int OldLen, std::string_view Text);
    // Links Node in as paragraph Para (before the one now there, or last).
    void DoInsertPara(TOvcEditView* Ed, int Para, TParaNode* Node, Byte Kind, int RecordPara);
    void DoDeletePara(TOvcEditView* Ed, int Para);
    void Link(TParaNode* Node, TParaNode* Before);
    void Unlink(TParaNode* Node);
    void Replay(TOvcEditView* Ed, const TUndoNode& Rec, bool Forward);
    void SendParaInserted(TOvcEditView* Ed, int Para, int Pos);
    void SendParaDeleted(TOvcEditView* Ed, int Para);
    void SendTextInserted(TOvcEditView* Ed, int Para, int Pos, int Count);
    void SendTextDeleted(TOvcEditView* Ed, int Para, int Pos, int Count);
    void SendParasJoined(TOvcEditView* Ed, int Para, int Pos);
    template <typename F>
    void ForEachView(F Call);

    TOvcEditView* FOwner;
    TParaNode* FFirst = nullptr;
    TParaNode* FLast = nullptr;
    TParaNode* FCacheNode = nullptr;
    int FCachePara = 0;
    int FCacheLine = 0;
    int FParaCount = 0;
    int FTextSize = 0;
    int FLineCount = 0;
    int FParaLimit = MaxValue;
    int FTextLimit = MaxValue;
    int FParaLengthLimit = MaxParaLength;
    bool FWordWrap = false;
    int FWrapColumn = 80;
    int FTabSize = 8;
    bool FModified = false;
    bool FNotify = true;
    TParaPos FMarkers[10];
    std::unique_ptr<TOvcUndoBuffer> FUndo;
    bool FReplaying = false;
    int FChangedFirst = 0;
    int FChangedLast = 0;
};
