// platform/ui/clipboard.h: the in-process clipboard and the class library's TClipboard over it.
// Its data are global memory blocks (platform/rtl/globalmemory.h) or, for CF_BITMAP and
// CF_PALETTE, the graphics layer's handles. Text (CF_TEXT) is bytes followed by a NUL.
#pragma once

#include "platform/rtl/clipformats.h"
#include "platform/rtl/globalmemory.h"
#include "platform/rtl/object.h"
#include "platform/ui/wintypes.h"

#include <cstddef>
#include <string>

// The clipboard. One window at a time has it open (opening it again from that window is
// allowed); reading and writing need it open. Data set into it belongs to it: memory blocks are
// freed when replaced or emptied, and so are bitmap and palette handles. Memory formats take only
// live global handles; CF_BITMAP, CF_PALETTE and CF_METAFILEPICT take the graphics layer's
// handles as given (old-style metafiles have no handle form, so those are left alone).
// CF_ENHMETAFILE is a memory block holding a TMetafile as it saves itself.
//
// The desktop shares it (platform/ui/clipboardtargets.h): closing the clipboard after a change
// offers its contents to other programs; while another program holds the desktop's clipboard,
// reading shows that program's formats, each fetched when first asked for.
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
// The name Format was registered under, as first given: up to MaxCount - 1 bytes and a NUL into
// Name; returns the bytes copied, 0 for a format that is not a registered one.
int GetClipboardFormatName(UINT Format, char* Name, int MaxCount);

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

    // A picture (TPicture or TGraphic) goes on the clipboard in its own formats; see
    // platform/ui/clipboardpicture.h.
    void Assign(const TPersistent* Source) override;

    bool HasFormat(UINT Format);
    int FormatCount();
    // Raises EListError "List index out of bounds (N)" for an index outside 0 .. FormatCount - 1.
    UINT Formats(int Index);

protected:
    // Into a TPicture or TGraphic: the clipboard's picture.
    void AssignTo(TPersistent* Dest) const override;

private:
    void Adding();

    int FOpenRefCount = 0;
    bool FEmptied = false;
};

// The program's clipboard object.
TClipboard* Clipboard();
