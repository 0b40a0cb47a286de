// platform/ui/clipboard.h: the in-process clipboard with its global memory handles, and the
// class library's TClipboard over it. Text (CF_TEXT) is bytes followed by a NUL.
#pragma once

#include "platform/rtl/object.h"
#include "platform/ui/wintypes.h"

#include <cstddef>
#include <string>

// A handle to data on the clipboard: a global memory block, or a bitmap, palette or metafile
// handle of the graphics layer.
using HANDLE = std::uintptr_t;
using HGLOBAL = HANDLE;

enum : UINT {
    CF_TEXT = 1,
    CF_BITMAP = 2,
    CF_METAFILEPICT = 3,
    CF_DIB = 8,
    CF_PALETTE = 9,
    CF_UNICODETEXT = 13,
    CF_ENHMETAFILE = 14,
    CF_HDROP = 15,
    CF_LOCALE = 16,
};

enum : UINT {
    GMEM_FIXED = 0x0000,
    GMEM_MOVEABLE = 0x0002,
    GMEM_ZEROINIT = 0x0040,
    GMEM_MODIFY = 0x0080,
    GMEM_DDESHARE = 0x2000,
    GHND = GMEM_MOVEABLE | GMEM_ZEROINIT,
};

// Global memory blocks. Handles are numbers, never pointers; a block's address is valid while
// it is locked. Every call checks its handle: a stale or foreign one fails.
HGLOBAL GlobalAlloc(UINT Flags, std::size_t Bytes); // 0 when it fails
void* GlobalLock(HGLOBAL Mem);                      // nullptr for a bad handle
BOOL GlobalUnlock(HGLOBAL Mem);                     // nonzero while still locked
std::size_t GlobalSize(HGLOBAL Mem);                // 0 for a bad handle
// 0 when freed; Mem itself when it cannot be: a bad handle, or a block the clipboard owns.
HGLOBAL GlobalFree(HGLOBAL Mem);
// Resizes in place (growth zeroed with GMEM_ZEROINIT); with GMEM_MODIFY changes only the flags.
// A locked block is not resized. Returns Mem, or 0 when it fails.
HGLOBAL GlobalReAlloc(HGLOBAL Mem, std::size_t Bytes, UINT Flags);
// The number of live blocks, for leak checks.
std::size_t GlobalBlockCount();

// The clipboard. One window at a time has it open (opening it again from that window is
// allowed); reading and writing need it open. Data set into it belongs to it: memory blocks are
// freed when replaced or emptied. Memory formats take only live global handles; CF_BITMAP,
// CF_PALETTE, CF_METAFILEPICT and CF_ENHMETAFILE take the graphics layer's handles as given.
BOOL OpenClipboard(HWND NewOwner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
HANDLE SetClipboardData(UINT Format, HANDLE Mem); // Mem, or 0 when refused
HANDLE GetClipboardData(UINT Format);             // 0 when absent or the clipboard is closed
BOOL IsClipboardFormatAvailable(UINT Format);
// The format after Format in the order they were set (0 starts; 0 at the end).
UINT EnumClipboardFormats(UINT Format);
int CountClipboardFormats();
// The same name (ASCII case ignored) gives the same id, from 0xC000 up; 0 for an empty name.
UINT RegisterClipboardFormat(const std::string& Name);

// How the clipboard frees the data of a handle format (CF_BITMAP, CF_PALETTE, CF_METAFILEPICT,
// CF_ENHMETAFILE) when it is replaced or emptied: the graphics layer registers its deletion.
// Without one the handle is left alone.
using TClipboardHandleRelease = void (*)(HANDLE Data);
void SetClipboardHandleRelease(UINT Format, TClipboardHandleRelease Release);

// The clipboard as the class library shows it. Open and Close nest; the clipboard is emptied
// once, by the first data set while it is open, so several formats can go in together.
class TClipboard : public TPersistent {
public:
    ~TClipboard() override;

    // Raises Exception "Cannot open clipboard" when another window has it open.
    void Open();
    void Close();
    void Clear();

    std::string AsText();
    void SetAsText(const std::string& Value);
    // Up to BufSize - 1 bytes of the text and a NUL into Buffer; returns the bytes copied.
    int GetTextBuf(char* Buffer, int BufSize);
    void SetTextBuf(const char* Buffer);
    // Puts a copy of Size bytes under Format.
    void SetBuffer(UINT Format, const void* Buffer, std::size_t Size);

    HANDLE GetAsHandle(UINT Format);
    // The clipboard takes Value over.
    void SetAsHandle(UINT Format, HANDLE Value);

    bool HasFormat(UINT Format);
    int FormatCount();
    // Raises EListError "List index out of bounds (N)" for an index outside 0 .. FormatCount - 1.
    UINT Formats(int Index);

private:
    void Adding();

    int FOpenRefCount = 0;
    bool FEmptied = false;
};

// The program's clipboard object.
TClipboard* Clipboard();
