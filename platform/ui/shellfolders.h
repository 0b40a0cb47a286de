// platform/ui/shellfolders.h: the shell's folder calls: item ID lists (a path's components, each
// after its 16-bit size, a zero size last), the shell allocator, the special folders by CSIDL
// number on the freedesktop.org folders, and the folder-browse dialog with its callback.
#pragma once

#include "platform/rtl/systypes.h"
#include "platform/ui/ole.h"
#include "platform/ui/wintypes.h"

#include <cstddef>
#include <cstdint>
#include <string>

// One item: its size (the two size bytes included), then its bytes: here a path component.
struct SHITEMID {
    std::uint16_t cb;
    std::uint8_t abID[1];
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = LPITEMIDLIST;

constexpr int MAX_PATH = 260;

// The shell's task allocator: every item ID list the shell hands out comes from it.
extern const IID IID_IMalloc;
class IMalloc : public IUnknown {
public:
    virtual void* Alloc(std::size_t Size) = 0;
    virtual void* Realloc(void* Block, std::size_t Size) = 0;
    virtual void Free(void* Block) = 0;
    virtual std::size_t GetSize(void* Block) = 0; // (size_t)-1 for a block not ours
    virtual int DidAlloc(void* Block) = 0;        // 1 ours, 0 not, -1 unknown
    virtual void HeapMinimize() = 0;
    static const IID& Id() { return IID_IMalloc; }
};

// The allocator, with a reference for the caller to release.
HRESULT SHGetMalloc(IMalloc** Malloc);
// Blocks of the allocator not yet freed (for tests that check ownership).
std::size_t ShellAllocatorBlocks();

// Special folders by CSIDL number.
enum : int {
    CSIDL_DESKTOP = 0,
    CSIDL_INTERNET = 1,
    CSIDL_PROGRAMS = 2,
    CSIDL_CONTROLS = 3,
    CSIDL_PRINTERS = 4,
    CSIDL_PERSONAL = 5,
    CSIDL_FAVORITES = 6,
    CSIDL_STARTUP = 7,
    CSIDL_RECENT = 8,
    CSIDL_SENDTO = 9,
    CSIDL_BITBUCKET = 10,
    CSIDL_STARTMENU = 11,
    CSIDL_DESKTOPDIRECTORY = 16,
    CSIDL_DRIVES = 17,
    CSIDL_NETWORK = 18,
    CSIDL_NETHOOD = 19,
    CSIDL_FONTS = 20,
    CSIDL_TEMPLATES = 21,
    CSIDL_COMMON_STARTMENU = 22,
    CSIDL_COMMON_PROGRAMS = 23,
    CSIDL_COMMON_STARTUP = 24,
    CSIDL_COMMON_DESKTOPDIRECTORY = 25,
    CSIDL_APPDATA = 26,
    CSIDL_PRINTHOOD = 27,
};

// The folder a CSIDL number stands for ("/" for the desktop, the drives and $FEFE); empty for
// the ones without a folder here.
std::string SpecialFolderPath(int Csidl);
// A user folder of user-dirs.dirs by its name ("DOCUMENTS", "DESKTOP", "TEMPLATES"), read as
// xdg-user-dir reads it: unset, the desktop is $HOME/Desktop and the others $HOME.
std::string XdgUserDir(const std::string& Name);

// The item ID list of a special folder (free it with the allocator); E_INVALIDARG and a null
// list for a number without a folder.
HRESULT SHGetSpecialFolderLocation(HWND Owner, int Csidl, LPITEMIDLIST* List);
// The path of a list into Path (MAX_PATH bytes): "/" for the empty list. False (and Path
// empty) for a null list or a path that does not fit.
BOOL SHGetPathFromIDList(LPCITEMIDLIST List, char* Path);

// Item ID lists: the size including the terminating zero; a copy from the allocator; a list of
// an absolute path from the allocator (null for a relative one); the path of a list.
UINT ILGetSize(LPCITEMIDLIST List);
LPITEMIDLIST ILClone(LPCITEMIDLIST List);
LPITEMIDLIST ILCreateFromPath(const std::string& Path);
std::string PathFromIDList(LPCITEMIDLIST List);
// Frees a list (or any block) of the allocator; null is ignored.
void ILFree(LPITEMIDLIST List);

// The browse dialog's flags.
enum : UINT {
    BIF_RETURNONLYFSDIRS = 0x0001,
    BIF_DONTGOBELOWDOMAIN = 0x0002,
    BIF_STATUSTEXT = 0x0004,
    BIF_RETURNFSANCESTORS = 0x0008,
    BIF_BROWSEFORCOMPUTER = 0x1000,
    BIF_BROWSEFORPRINTER = 0x2000,
    BIF_BROWSEINCLUDEFILES = 0x4000,
};

// What the dialog tells its callback (the dialog's window, the message, the list of the
// highlighted folder for BFFM_SELCHANGED, the caller's data), and the messages the callback
// may send the dialog's window.
enum : UINT {
    BFFM_INITIALIZED = 1,
    BFFM_SELCHANGED = 2,
    BFFM_SETSTATUSTEXT = 0x0400 + 100, // LParam: the text (const char*)
    BFFM_ENABLEOK = 0x0400 + 101,      // LParam: enable
    BFFM_SETSELECTION = 0x0400 + 102,  // WParam true: LParam a path (const char*); else a list
};
using BFFCALLBACK = int (*)(HWND Wnd, UINT Msg, LPARAM LParam, LPARAM Data);

// The control identifier of the dialog's status line (its OK button is IDOK).
constexpr int IDC_BROWSE_STATUS = 14147;

struct BROWSEINFO {
    HWND hwndOwner = 0;
    LPCITEMIDLIST pidlRoot = nullptr; // null: the desktop
    char* pszDisplayName = nullptr;   // MAX_PATH bytes: the chosen folder's name
    const char* lpszTitle = nullptr;  // the text above the tree
    UINT ulFlags = 0;
    BFFCALLBACK lpfn = nullptr;
    LPARAM lParam = 0;
    int iImage = 0; // the chosen folder's image index
};

// Runs the dialog through the dialog service; the chosen folder's list (free it with the
// allocator), or null when cancelled.
LPITEMIDLIST SHBrowseForFolder(BROWSEINFO* Info);
// The image index the dialog reports for a folder.
constexpr int FolderImageIndex = 3;
