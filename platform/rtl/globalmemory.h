// platform/rtl/globalmemory.h: global memory blocks, the movable memory that clipboard data and
// pictures travel in. Handles are numbers, never pointers; a block's address is valid while it is
// locked. Every call checks its handle: a stale or foreign one fails.
#pragma once

#include "platform/rtl/systypes.h"

#include <cstddef>

using HGLOBAL = HANDLE;

enum : UINT {
    GMEM_FIXED = 0x0000,
    GMEM_MOVEABLE = 0x0002,
    GMEM_ZEROINIT = 0x0040,
    GMEM_MODIFY = 0x0080,
    GMEM_DDESHARE = 0x2000,
    GHND = GMEM_MOVEABLE | GMEM_ZEROINIT,
};

HGLOBAL GlobalAlloc(UINT Flags, std::size_t Bytes); // 0 when it fails
void* GlobalLock(HGLOBAL Mem);                      // nullptr for a bad handle
BOOL GlobalUnlock(HGLOBAL Mem);                     // nonzero while still locked
std::size_t GlobalSize(HGLOBAL Mem);                // 0 for a bad handle
// 0 when freed; Mem itself when it cannot be: a bad handle, or a block claimed by a keeper.
HGLOBAL GlobalFree(HGLOBAL Mem);
// Resizes in place (growth zeroed with GMEM_ZEROINIT); with GMEM_MODIFY changes only the flags.
// A locked block is not resized. Returns Mem, or 0 when it fails.
HGLOBAL GlobalReAlloc(HGLOBAL Mem, std::size_t Bytes, UINT Flags);
// The number of live blocks, for leak checks.
std::size_t GlobalBlockCount();

// A keeper (the clipboard) takes a block over: GlobalFree refuses it from then on, so that the
// caller who handed it over cannot free it twice. False for a bad handle or a block claimed
// already (one block serves one keeper's entry).
bool GlobalClaim(HGLOBAL Mem);
// The keeper frees a block it claimed (or any live block); nothing for a bad handle.
void GlobalFreeClaimed(HGLOBAL Mem);
