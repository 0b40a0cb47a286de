// controls/entry/ovcedundo.cpp: the editor's undo buffer.
#include "controls/entry/ovcedundo.h"

#include "controls/entry/ovcedpara.h"

#include <algorithm>
#include <cstring>
#include <new>

// A replace record's data starts with the old text's length, because the texts themselves may
// hold zero bytes.
namespace {
constexpr int ReplaceLenSize = 2;
}

std::uint32_t TUndoNode::Get32(int At) const
{
    std::uint32_t V;
    std::memcpy(&V, FBlock + FOffset + At, sizeof V);
    return V;
}

void TUndoNode::Put32(int At, std::uint32_t V)
{
    std::memcpy(FBlock + FOffset + At, &V, sizeof V);
}

Word TUndoNode::Get16(int At) const
{
    Word V;
    std::memcpy(&V, FBlock + FOffset + At, sizeof V);
    return V;
}

void TUndoNode::Put16(int At, Word V)
{
    std::memcpy(FBlock + FOffset + At, &V, sizeof V);
}

std::string_view TUndoNode::OldText() const
{
    Word OldLen;
    std::memcpy(&OldLen, Data(), sizeof OldLen);
    return std::string_view(reinterpret_cast<const char*>(Data()) + ReplaceLenSize, OldLen);
}

std::string_view TUndoNode::NewText() const
{
    const std::size_t OldLen = OldText().size();
    return std::string_view(reinterpret_cast<const char*>(Data()) + ReplaceLenSize + OldLen,
                            DataLen() - ReplaceLenSize - OldLen);
}

TParaNode* TUndoNode::ParaNode() const
{
    TParaNode* Node;
    std::memcpy(&Node, Data(), sizeof Node);
    return Node;
}

TOvcUndoBuffer::TOvcUndoBuffer(TOvcParaList* Owner, Word Size) : FOwner(Owner)
{
    unsigned Want = Size;
    while (Want > 0) {
        FBlock.reset(new (std::nothrow) Byte[Want]);
        if (FBlock)
            break;
        Want = Want > TUndoNode::HeaderSize ? Want / 2 : 0;
    }
    FSize = FBlock ? static_cast<Word>(Want) : 0;
}

TOvcUndoBuffer::~TOvcUndoBuffer()
{
    Clear();
}

void TOvcUndoBuffer::Release(const TUndoNode& Node)
{
    const Byte Kind = Node.Kind();
    if (Kind == ukInsertBefore || Kind == ukInsertAfter || Kind == ukDeletePara)
        Node.ParaNode()->Release();
}

void TOvcUndoBuffer::Clear()
{
    for (int At = 0; At < FUsed;) {
        const TUndoNode Node(FBlock.get(), At);
        Release(Node);
        At += Node.Size();
    }
    FUsed = 0;
    FNewest = -1;
    FUndoCount = 0;
    FRedoCount = 0;
}

bool TOvcUndoBuffer::BeginGroup()
{
    const bool Previous = FInGroup;
    if (!FInGroup) {
        FInGroup = true;
        NextGroup();
    }
    return Previous;
}

void TOvcUndoBuffer::EndGroup(bool Previous)
{
    FInGroup = Previous;
    if (!Previous)
        FOverflow = false;
}

Byte TOvcUndoBuffer::NextGroup()
{
    ++FGroup;
    // After 256 groups the counter comes round; it must never repeat the newest record's group,
    // or two changes would be undone as one.
    if (FUndoCount > 0 && Newest().Group() == FGroup)
        ++FGroup;
    return FGroup;
}

TUndoNode TOvcUndoBuffer::NextRedo() const
{
    const int At = FNewest >= 0 ? FNewest + Newest().Size() : 0;
    return TUndoNode(FBlock.get(), At);
}

void TOvcUndoBuffer::StepBack()
{
    const Word Back = Newest().Back();
    --FUndoCount;
    ++FRedoCount;
    FNewest = FUndoCount > 0 ? FNewest - Back : -1;
}

void TOvcUndoBuffer::StepForward()
{
    FNewest = NextRedo().Offset();
    ++FUndoCount;
    --FRedoCount;
}

void TOvcUndoBuffer::DropRedo()
{
    const int End = FNewest >= 0 ? FNewest + Newest().Size() : 0;
    for (int At = End; At < FUsed;) {
        const TUndoNode Node(FBlock.get(), At);
        Release(Node);
        At += Node.Size();
    }
    FUsed = End;
    FRedoCount = 0;
}

void TOvcUndoBuffer::DiscardOldestGroup()
{
    const Byte Group = TUndoNode(FBlock.get(), 0).Group();
    int Bytes = 0, Count = 0;
    while (Bytes < FUsed && TUndoNode(FBlock.get(), Bytes).Group() == Group) {
        const TUndoNode Node(FBlock.get(), Bytes);
        Release(Node);
        Bytes += Node.Size();
        ++Count;
    }
    std::memmove(FBlock.get(), FBlock.get() + Bytes, static_cast<std::size_t>(FUsed - Bytes));
    FUsed -= Bytes;
    FUndoCount = static_cast<Word>(FUndoCount - Count);
    FNewest = FUndoCount > 0 ? FNewest - Bytes : -1;
    if (FUsed > 0)
        TUndoNode(FBlock.get(), 0).SetBack(0);
}

bool TOvcUndoBuffer::MakeRoom(std::size_t Bytes)
{
    if (FOverflow || FSize == 0)
        return false;
    if (Bytes > FSize) {
        Clear();
        if (FInGroup)
            FOverflow = true;
        return false;
    }
    DropRedo();
    if (static_cast<std::size_t>(FSize - FUsed) >= Bytes)
        return true;
    const std::size_t Need = std::max<std::size_t>(FSize / 16, Bytes);
    while (FUsed > 0 && static_cast<std::size_t>(FSize - FUsed) < Need)
        DiscardOldestGroup();
    if (FUsed == 0) {
        Clear();
        if (FInGroup) {
            FOverflow = true;
            return false;
        }
    }
    return true;
}

bool TOvcUndoBuffer::Write(Byte Kind, int Para, int Pos, const Byte* Data, std::size_t Len,
                           bool Modified)
{
    const std::size_t Bytes = TUndoNode::HeaderSize + Len;
    if (!MakeRoom(Bytes))
        return false;
    const Byte Group = FInGroup ? FGroup : NextGroup();
    TUndoNode Node(FBlock.get(), FUsed);
    Node.SetPara(static_cast<std::uint32_t>(Para));
    Node.SetPos(Pos);
    Node.SetDataLen(static_cast<Word>(Len));
    Node.SetBack(static_cast<Word>(FNewest >= 0 ? FUsed - FNewest : 0));
    Node.SetKind(Kind, Modified);
    Node.SetGroup(Group);
    if (Data && Len > 0)
        std::memcpy(Node.Data(), Data, Len);
    FNewest = FUsed;
    FUsed += static_cast<int>(Bytes);
    ++FUndoCount;
    FRedoCount = 0;
    return true;
}

bool TOvcUndoBuffer::CanExtend(Byte Kind, int Para, int Pos, std::size_t Len) const
{
    if (FInGroup || FUndoCount == 0)
        return false;
    const TUndoNode Last = Newest();
    if (Last.Kind() != Kind || Last.Para() != static_cast<std::uint32_t>(Para))
        return false;
    switch (Kind) {
    case ukInsertText:
        return Pos == Last.Pos() + Last.DataLen();
    case ukDeleteText:
        return Pos == Last.Pos() || Pos + static_cast<int>(Len) == Last.Pos();
    case ukReplaceText:
        // Overtyping goes on just after the text the record put in (for equal lengths that is
        // also just after the text it took out).
        return Pos == Last.Pos() + static_cast<int>(Last.NewText().size());
    default:
        return false;
    }
}

void TOvcUndoBuffer::AppendMark(int Para, int Pos, bool Modified)
{
    Write(ukCaretMark, Para, Pos, nullptr, 0, Modified);
}

void TOvcUndoBuffer::AppendText(Byte Kind, int Para, int Pos, std::string_view Text, bool Modified)
{
    const auto* Bytes = reinterpret_cast<const Byte*>(Text.data());
    if (CanExtend(Kind, Para, Pos, Text.size())) {
        if (!MakeRoom(Text.size()))
            return;
        // Room made by discarding whole groups may have taken the record itself: then the
        // change starts a record of its own.
        if (FUndoCount > 0) {
            TUndoNode Last = Newest();
            Byte* Data = Last.Data();
            const Word Len = Last.DataLen();
            if (Kind == ukDeleteText && Pos + static_cast<int>(Text.size()) == Last.Pos() &&
                Pos != Last.Pos()) {
                std::memmove(Data + Text.size(), Data, Len);
                std::memcpy(Data, Bytes, Text.size());
                Last.SetPos(Pos);
            } else {
                std::memcpy(Data + Len, Bytes, Text.size());
            }
            Last.SetDataLen(static_cast<Word>(Len + Text.size()));
            FUsed += static_cast<int>(Text.size());
            return;
        }
    }
    Write(Kind, Para, Pos, Bytes, Text.size(), Modified);
}

void TOvcUndoBuffer::AppendReplace(int Para, int Pos, std::string_view Old, std::string_view New,
                                   bool Modified)
{
    if (CanExtend(ukReplaceText, Para, Pos, 0)) {
        if (!MakeRoom(Old.size() + New.size()))
            return;
        if (FUndoCount > 0) {
            TUndoNode Last = Newest();
            const std::size_t OldLen = Last.OldText().size(), NewLen = Last.NewText().size();
            if (OldLen + Old.size() <= 0xFFFF) {
                Byte* Data = Last.Data();
                Byte* NewAt = Data + ReplaceLenSize + OldLen;
                std::memmove(NewAt + Old.size(), NewAt, NewLen);
                std::memcpy(NewAt, Old.data(), Old.size());
                std::memcpy(NewAt + Old.size() + NewLen, New.data(), New.size());
                const Word Total = static_cast<Word>(OldLen + Old.size());
                std::memcpy(Data, &Total, sizeof Total);
                Last.SetDataLen(static_cast<Word>(Last.DataLen() + Old.size() + New.size()));
                FUsed += static_cast<int>(Old.size() + New.size());
                return;
            }
        }
    }
    // Sizes are counted in full: a record larger than the block empties it and is not written.
    const std::size_t Len = ReplaceLenSize + Old.size() + New.size();
    if (!Write(ukReplaceText, Para, Pos, nullptr, Len, Modified))
        return;
    Byte* Data = Newest().Data();
    const Word OldLen = static_cast<Word>(Old.size());
    std::memcpy(Data, &OldLen, sizeof OldLen);
    std::memcpy(Data + ReplaceLenSize, Old.data(), Old.size());
    std::memcpy(Data + ReplaceLenSize + Old.size(), New.data(), New.size());
}

bool TOvcUndoBuffer::AppendPara(Byte Kind, int Para, int Pos, TParaNode* Node, bool Modified)
{
    Byte Data[sizeof Node];
    std::memcpy(Data, &Node, sizeof Node);
    if (!Write(Kind, Para, Pos, Data, sizeof Data, Modified))
        return false;
    Node->AddRef();
    return true;
}

void TOvcUndoBuffer::SetAllSavedModified()
{
    for (int At = 0; At < FUsed;) {
        TUndoNode Node(FBlock.get(), At);
        Node.SetSavedModified(true);
        At += Node.Size();
    }
}
