// controls/entry/ovcedundo.h: the editor's undo buffer: variable-length records of the text
// store's changes kept back to back in one block, undone and redone in groups.
#pragma once

#include "platform/rtl/types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

class TParaNode;
class TOvcParaList;

// The kinds of change a record holds; the top bit of the kind byte is the saved modified flag.
enum : Byte {
    ukCaretMark = 0,    // no data: only the caret position
    ukInsertText = 1,   // the inserted characters
    ukInsertBefore = 2, // the paragraph inserted before the recorded one
    ukInsertAfter = 3,  // the paragraph inserted after the recorded one
    ukDeleteText = 4,   // the deleted characters, in text order
    ukDeletePara = 5,   // the deleted paragraph
    ukReplaceText = 6,  // the old text, a zero byte, the new text, a zero byte
};

// Reads and writes the record that starts at Offset of a block.
class TUndoNode {
public:
    static constexpr int HeaderSize = 14;

    TUndoNode(Byte* Block, int Offset) : FBlock(Block), FOffset(Offset) {}

    int Offset() const { return FOffset; }
    std::uint32_t Para() const { return Get32(0); }
    void SetPara(std::uint32_t V) { Put32(0, V); }
    std::int32_t Pos() const { return static_cast<std::int32_t>(Get32(4)); }
    void SetPos(std::int32_t V) { Put32(4, static_cast<std::uint32_t>(V)); }
    Word DataLen() const { return Get16(8); }
    void SetDataLen(Word V) { Put16(8, V); }
    Word Back() const { return Get16(10); }
    void SetBack(Word V) { Put16(10, V); }
    Byte Kind() const { return FBlock[FOffset + 12] & 0x7F; }
    bool SavedModified() const { return (FBlock[FOffset + 12] & 0x80) != 0; }
    void SetKind(Byte Kind, bool SavedModified)
    {
        FBlock[FOffset + 12] = static_cast<Byte>((Kind & 0x7F) | (SavedModified ? 0x80 : 0));
    }
    void SetSavedModified(bool V) { SetKind(Kind(), V); }
    Byte Group() const { return FBlock[FOffset + 13]; }
    void SetGroup(Byte V) { FBlock[FOffset + 13] = V; }
    Byte* Data() const { return FBlock + FOffset + HeaderSize; }
    int Size() const { return HeaderSize + DataLen(); }
    // The data as text (kinds 1 and 4).
    std::string_view Text() const
    {
        return std::string_view(reinterpret_cast<const char*>(Data()), DataLen());
    }
    // The old and the new text of a replace record.
    std::string_view OldText() const;
    std::string_view NewText() const;
    // The paragraph a record of kind 2, 3 or 5 names.
    TParaNode* ParaNode() const;

private:
    std::uint32_t Get32(int At) const;
    void Put32(int At, std::uint32_t V);
    Word Get16(int At) const;
    void Put16(int At, Word V);

    Byte* FBlock;
    int FOffset;
};

class TOvcUndoBuffer {
public:
    // A block of Size bytes, halved while it cannot be had (down to nothing).
    TOvcUndoBuffer(TOvcParaList* Owner, Word Size);
    ~TOvcUndoBuffer();
    TOvcUndoBuffer(const TOvcUndoBuffer&) = delete;
    TOvcUndoBuffer& operator=(const TOvcUndoBuffer&) = delete;

    TOvcParaList* Owner() const { return FOwner; }
    Word BufSize() const { return FSize; }
    Word BufAvail() const { return static_cast<Word>(FSize - FUsed); }
    Word UndoCount() const { return FUndoCount; }
    Word RedoCount() const { return FRedoCount; }
    bool InGroup() const { return FInGroup; }
    bool GroupOverflow() const { return FOverflow; }

    // Forgets every record (the paragraphs they name are released).
    void Clear();
    // Starts a group unless one is open; returns the state for EndGroup.
    bool BeginGroup();
    void EndGroup(bool Previous);

    // Record a change; each takes the store's modified flag as it was before the change.
    void AppendMark(int Para, int Pos, bool Modified);
    void AppendText(Byte Kind, int Para, int Pos, std::string_view Text, bool Modified);
    void AppendReplace(int Para, int Pos, std::string_view Old, std::string_view New,
                       bool Modified);
    // Kinds 2, 3 and 5; a written record holds a reference to Node. False when not written.
    bool AppendPara(Byte Kind, int Para, int Pos, TParaNode* Node, bool Modified);

    // Every record remembers the text as modified, so undoing past a save marks it modified.
    void SetAllSavedModified();

    // Replay access: the newest record (UndoCount > 0), and the next one to redo (RedoCount > 0).
    TUndoNode Newest() const { return TUndoNode(FBlock.get(), FNewest); }
    TUndoNode NextRedo() const;
    // Move one record from the undo side to the redo side, and back.
    void StepBack();
    void StepForward();

private:
    bool CanExtend(Byte Kind, int Para, int Pos, std::size_t Len) const;
    // Room for Bytes more bytes; false when the change is not to be recorded.
    bool MakeRoom(std::size_t Bytes);
    // A new record; Data nil leaves its data for the caller to fill. False when not written.
    bool Write(Byte Kind, int Para, int Pos, const Byte* Data, std::size_t Len, bool Modified);
    void DropRedo();
    void DiscardOldestGroup();
    void Release(const TUndoNode& Node);
    Byte NextGroup();

    TOvcParaList* FOwner;
    std::unique_ptr<Byte[]> FBlock;
    Word FSize = 0;
    int FUsed = 0;    // bytes in use, redo records included
    int FNewest = -1; // start of the newest record that can be undone
    Word FUndoCount = 0;
    Word FRedoCount = 0;
    Byte FGroup = 0;
    bool FInGroup = false;
    bool FOverflow = false;
};
