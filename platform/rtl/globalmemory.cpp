// platform/rtl/globalmemory.cpp: the table of global memory blocks.
#include "platform/rtl/globalmemory.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace {

struct TBlock {
    std::vector<unsigned char> Data; // at least one byte, so a locked block has an address
    std::size_t Size = 0;
    UINT Flags = 0;
    int Locks = 0;
    bool Claimed = false;
};

// The one table of the process: a handle is valid in every unit that receives it.
struct TBlockTable {
    std::mutex Mutex;
    std::unordered_map<HGLOBAL, std::unique_ptr<TBlock>> Blocks;
    HGLOBAL NextHandle = 0x1000;
};

TBlockTable& Table()
{
    static TBlockTable T;
    return T;
}

TBlock* FindBlock(TBlockTable& T, HGLOBAL Mem)
{
    auto It = T.Blocks.find(Mem);
    return It == T.Blocks.end() ? nullptr : It->second.get();
}

} // namespace

HGLOBAL GlobalAlloc(UINT Flags, std::size_t Bytes)
{
    auto Block = std::make_unique<TBlock>();
    try {
        Block->Data.assign(std::max<std::size_t>(Bytes, 1), 0); // zeroed whatever the flags
    } catch (const std::bad_alloc&) {
        return 0;
    } catch (const std::length_error&) {
        return 0;
    }
    Block->Size = Bytes;
    Block->Flags = Flags & ~GMEM_MODIFY;
    TBlockTable& T = Table();
    std::lock_guard<std::mutex> Lock(T.Mutex);
    const HGLOBAL Handle = T.NextHandle;
    T.NextHandle += 8;
    T.Blocks.emplace(Handle, std::move(Block));
    return Handle;
}

void* GlobalLock(HGLOBAL Mem)
{
    TBlockTable& T = Table();
    std::lock_guard<std::mutex> Lock(T.Mutex);
    TBlock* Block = FindBlock(T, Mem);
    if (!Block)
        return nullptr;
    ++Block->Locks;
    return Block->Data.data();
}

BOOL GlobalUnlock(HGLOBAL Mem)
{
    TBlockTable& T = Table();
    std::lock_guard<std::mutex> Lock(T.Mutex);
    TBlock* Block = FindBlock(T, Mem);
    if (!Block || Block->Locks == 0)
        return 0;
    return --Block->Locks > 0;
}

std::size_t GlobalSize(HGLOBAL Mem)
{
    TBlockTable& T = Table();
    std::lock_guard<std::mutex> Lock(T.Mutex);
    TBlock* Block = FindBlock(T, Mem);
    return Block ? Block->Size : 0;
}

HGLOBAL GlobalFree(HGLOBAL Mem)
{
    TBlockTable& T = Table();
    std::lock_guard<std::mutex> Lock(T.Mutex);
    TBlock* Block = FindBlock(T, Mem);
    if (!Block || Block->Claimed)
        return Mem;
    T.Blocks.erase(Mem);
    return 0;
}

HGLOBAL GlobalReAlloc(HGLOBAL Mem, std::size_t Bytes, UINT Flags)
{
    TBlockTable& T = Table();
    std::lock_guard<std::mutex> Lock(T.Mutex);
    TBlock* Block = FindBlock(T, Mem);
    if (!Block)
        return 0;
    if (Flags & GMEM_MODIFY) {
        Block->Flags = (Block->Flags & ~GMEM_MOVEABLE) | (Flags & GMEM_MOVEABLE);
        return Mem;
    }
    if (Block->Locks > 0 && Bytes != Block->Size)
        return 0; // its address was handed out
    try {
        if (Bytes > Block->Size) {
            const std::size_t Kept = std::min(Block->Size, Block->Data.size());
            std::fill(Block->Data.begin() + static_cast<std::ptrdiff_t>(Kept), Block->Data.end(),
                      0);
        }
        Block->Data.resize(std::max<std::size_t>(Bytes, 1), 0);
        Block->Size = Bytes;
    } catch (const std::bad_alloc&) {
        return 0;
    } catch (const std::length_error&) {
        return 0;
    }
    return Mem;
}

std::size_t GlobalBlockCount()
{
    TBlockTable& T = Table();
    std::lock_guard<std::mutex> Lock(T.Mutex);
    return T.Blocks.size();
}

bool GlobalClaim(HGLOBAL Mem)
{
    TBlockTable& T = Table();
    std::lock_guard<std::mutex> Lock(T.Mutex);
    TBlock* Block = FindBlock(T, Mem);
    if (!Block || Block->Claimed)
        return false;
    Block->Claimed = true;
    return true;
}

void GlobalFreeClaimed(HGLOBAL Mem)
{
    TBlockTable& T = Table();
    std::lock_guard<std::mutex> Lock(T.Mutex);
    T.Blocks.erase(Mem);
}
