// platform/ui/shellfolders.cpp: item ID lists over paths, the shell allocator, the special
// folders and the folder-browse call through the dialog service.
#include "platform/ui/shellfolders.h"

#include "platform/ui/dialogservice.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <unordered_map>
#include <vector>

const IID IID_IMalloc{0x00000002, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace {

// One allocator for the process; it knows its blocks, so that GetSize and DidAlloc answer.
class TShellMalloc : public IMalloc {
public:
    HRESULT QueryInterface(const IID& Iid, void** Object) override
    {
        if (Object == nullptr)
            return E_POINTER;
        *Object = nullptr;
        if (!(Iid == IID_IUnknown) && !(Iid == IID_IMalloc))
            return E_NOINTERFACE;
        *Object = static_cast<IMalloc*>(this);
        return S_OK;
    }
    // Lives as long as the process: the count is kept only for show.
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }

    void* Alloc(std::size_t Size) override
    {
        void* Block = std::malloc(Size == 0 ? 1 : Size);
        if (Block != nullptr) {
            std::lock_guard<std::mutex> Guard(FLock);
            FBlocks[Block] = Size;
        }
        return Block;
    }
    void* Realloc(void* Block, std::size_t Size) override
    {
        if (Block == nullptr)
            return Alloc(Size);
        if (Size == 0) {
            Free(Block);
            return nullptr;
        }
        std::lock_guard<std::mutex> Guard(FLock);
        auto It = FBlocks.find(Block);
        if (It == FBlocks.end())
            return nullptr;
        void* Moved = std::realloc(Block, Size);
        if (Moved == nullptr)
            return nullptr;
        FBlocks.erase(It);
        FBlocks[Moved] = Size;
        return Moved;
    }
    void Free(void* Block) override
    {
        if (Block == nullptr)
            return;
        std::lock_guard<std::mutex> Guard(FLock);
        // A block not ours is left alone rather than handed to free().
        if (FBlocks.erase(Block) != 0)
            std::free(Block);
    }
    std::size_t GetSize(void* Block) override
    {
        std::lock_guard<std::mutex> Guard(FLock);
        auto It = FBlocks.find(Block);
        return It != FBlocks.end() ? It->second : static_cast<std::size_t>(-1);
    }
    int DidAlloc(void* Block) override
    {
        std::lock_guard<std::mutex> Guard(FLock);
        return FBlocks.count(Block) != 0 ? 1 : 0;
    }
    void HeapMinimize() override {}

    std::size_t Blocks()
    {
        std::lock_guard<std::mutex> Guard(FLock);
        return FBlocks.size();
    }

private:
    std::mutex FLock;
    std::unordered_map<void*, std::size_t> FBlocks;
};

TShellMalloc& Allocator()
{
    static TShellMalloc* Instance = new TShellMalloc; // outlives every static that frees
    return *Instance;
}

std::string Env(const char* Name)
{
    const char* Value = std::getenv(Name);
    return Value != nullptr ? std::string(Value) : std::string();
}

std::string Home()
{
    return Env("HOME");
}

// $XDG_<Which>_HOME, else $HOME/<Default>.
std::string XdgHome(const char* Variable, const char* Default)
{
    const std::string Value = Env(Variable);
    if (!Value.empty() && Value.front() == '/')
        return Value;
    return Home() + "/" + Default;
}

std::string DataHome()
{
    return XdgHome("XDG_DATA_HOME", ".local/share");
}

std::string ConfigHome()
{
    return XdgHome("XDG_CONFIG_HOME", ".config");
}

// The value of a user-dirs.dirs line: "…" with $HOME or ${HOME} expanded and backslash escapes
// taken; anything else as written.
std::string UserDirValue(const std::string& Raw)
{
    std::string Text = Raw;
    if (Text.size() >= 2 && Text.front() == '"' && Text.back() == '"')
        Text = Text.substr(1, Text.size() - 2);
    std::string Result;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] == '\\' && I + 1 < Text.size()) {
            Result += Text[++I];
            continue;
        }
        if (Text.compare(I, 7, "${HOME}") == 0) {
            Result += Home();
            I += 6;
            continue;
        }
        if (Text.compare(I, 5, "$HOME") == 0) {
            Result += Home();
            I += 4;
            continue;
        }
        Result += Text[I];
    }
    return Result;
}

void Split(const std::string& Path, std::vector<std::string>& Parts)
{
    std::size_t Start = 0;
    while (Start <= Path.size()) {
        const std::size_t Slash = Path.find('/', Start);
        const std::size_t End = Slash == std::string::npos ? Path.size() : Slash;
        const std::string Part = Path.substr(Start, End - Start);
        if (!Part.empty() && Part != ".") {
            if (Part == "..") {
                if (!Parts.empty())
                    Parts.pop_back();
            } else {
                Parts.push_back(Part);
            }
        }
        if (Slash == std::string::npos)
            break;
        Start = Slash + 1;
    }
}

} // namespace

HRESULT SHGetMalloc(IMalloc** Malloc)
{
    if (Malloc == nullptr)
        return E_INVALIDARG;
    *Malloc = &Allocator();
    (*Malloc)->AddRef();
    return S_OK;
}

std::size_t ShellAllocatorBlocks()
{
    return Allocator().Blocks();
}

std::string XdgUserDir(const std::string& Name)
{
    std::string Result = Name == "DESKTOP" ? Home() + "/Desktop" : Home();
    std::ifstream In(ConfigHome() + "/user-dirs.dirs");
    const std::string Key = "XDG_" + Name + "_DIR=";
    std::string Line;
    while (std::getline(In, Line)) {
        const std::size_t First = Line.find_first_not_of(" \t");
        if (First == std::string::npos || Line[First] == '#')
            continue;
        if (Line.compare(First, Key.size(), Key) != 0)
            continue;
        std::string Value = Line.substr(First + Key.size());
        while (!Value.empty() &&
               (Value.back() == ' ' || Value.back() == '\t' || Value.back() == '\r'))
            Value.pop_back();
        Result = UserDirValue(Value); // the last assignment wins, as in the shell
    }
    return Result;
}

std::string SpecialFolderPath(int Csidl)
{
    switch (Csidl) {
    case CSIDL_DESKTOP:
    case CSIDL_DRIVES:
    case 0xFEFE:
        return "/";
    case CSIDL_PERSONAL:
        return XdgUserDir("DOCUMENTS");
    case CSIDL_DESKTOPDIRECTORY:
        return XdgUserDir("DESKTOP");
    case CSIDL_TEMPLATES:
        return XdgUserDir("TEMPLATES");
    case CSIDL_FONTS:
        return DataHome() + "/fonts";
    case CSIDL_PROGRAMS:
    case CSIDL_STARTMENU:
        return DataHome() + "/applications";
    case CSIDL_BITBUCKET:
        return DataHome() + "/Trash/files";
    case CSIDL_STARTUP:
        return ConfigHome() + "/autostart";
    case CSIDL_APPDATA:
        return ConfigHome();
    case CSIDL_COMMON_STARTMENU:
    case CSIDL_COMMON_PROGRAMS:
        return "/usr/share/applications";
    case CSIDL_COMMON_STARTUP:
        return "/etc/xdg/autostart";
    default:
        return std::string();
    }
}

UINT ILGetSize(LPCITEMIDLIST List)
{
    if (List == nullptr)
        return 0;
    const auto* Bytes = reinterpret_cast<const std::uint8_t*>(List);
    UINT Size = 0;
    for (;;) {
        std::uint16_t Cb;
        std::memcpy(&Cb, Bytes + Size, sizeof Cb);
        if (Cb == 0)
            return Size + 2;
        Size += Cb;
    }
}

LPITEMIDLIST ILClone(LPCITEMIDLIST List)
{
    if (List == nullptr)
        return nullptr;
    const UINT Size = ILGetSize(List);
    void* Copy = Allocator().Alloc(Size);
    if (Copy != nullptr)
        std::memcpy(Copy, List, Size);
    return static_cast<LPITEMIDLIST>(Copy);
}

LPITEMIDLIST ILCreateFromPath(const std::string& Path)
{
    if (Path.empty() || Path.front() != '/')
        return nullptr;
    std::vector<std::string> Parts;
    Split(Path, Parts);
    std::size_t Size = 2;
    for (const std::string& Part : Parts)
        Size += 2 + Part.size();
    auto* Bytes = static_cast<std::uint8_t*>(Allocator().Alloc(Size));
    if (Bytes == nullptr)
        return nullptr;
    std::size_t At = 0;
    for (const std::string& Part : Parts) {
        const auto Cb = static_cast<std::uint16_t>(2 + Part.size());
        std::memcpy(Bytes + At, &Cb, 2);
        std::memcpy(Bytes + At + 2, Part.data(), Part.size());
        At += Cb;
    }
    const std::uint16_t End = 0;
    std::memcpy(Bytes + At, &End, 2);
    return reinterpret_cast<LPITEMIDLIST>(Bytes);
}

std::string PathFromIDList(LPCITEMIDLIST List)
{
    if (List == nullptr)
        return std::string();
    const auto* Bytes = reinterpret_cast<const std::uint8_t*>(List);
    std::string Path;
    std::size_t At = 0;
    for (;;) {
        std::uint16_t Cb;
        std::memcpy(&Cb, Bytes + At, sizeof Cb);
        if (Cb == 0)
            break;
        Path += '/';
        if (Cb > 2)
            Path.append(reinterpret_cast<const char*>(Bytes + At + 2), Cb - 2);
        At += Cb;
    }
    return Path.empty() ? std::string("/") : Path;
}

void ILFree(LPITEMIDLIST List)
{
    Allocator().Free(List);
}

HRESULT SHGetSpecialFolderLocation(HWND, int Csidl, LPITEMIDLIST* List)
{
    if (List == nullptr)
        return E_INVALIDARG;
    *List = nullptr;
    const std::string Path = SpecialFolderPath(Csidl);
    if (Path.empty())
        return E_INVALIDARG;
    *List = ILCreateFromPath(Path);
    return *List != nullptr ? S_OK : E_OUTOFMEMORY;
}

BOOL SHGetPathFromIDList(LPCITEMIDLIST List, char* Path)
{
    if (Path == nullptr)
        return false;
    Path[0] = '\0';
    if (List == nullptr)
        return false;
    const std::string Text = PathFromIDList(List);
    if (Text.size() >= static_cast<std::size_t>(MAX_PATH))
        return false;
    std::memcpy(Path, Text.c_str(), Text.size() + 1);
    return true;
}

LPITEMIDLIST SHBrowseForFolder(BROWSEINFO* Info)
{
    if (Info == nullptr)
        return nullptr;
    TDialogRequest Request;
    Request.Kind = TDialogKind::BrowseFolder;
    Request.Caption = "Browse for Folder";
    Request.Text = Info->lpszTitle != nullptr ? Info->lpszTitle : "";
    Request.Value = Info->pidlRoot != nullptr ? PathFromIDList(Info->pidlRoot) : "/";
    Request.Options = Info->ulFlags;
    const BFFCALLBACK Callback = Info->lpfn;
    const LPARAM Data = Info->lParam;
    if (Callback != nullptr)
        Request.OnBrowse = [Callback, Data](HWND Wnd, UINT Msg, const std::string& Path) {
            if (Msg != BFFM_SELCHANGED) {
                Callback(Wnd, Msg, 0, Data);
                return;
            }
            // The list lives for the call only, as the dialog's own item does.
            struct TOwned {
                LPITEMIDLIST List;
                ~TOwned() { ILFree(List); }
            } Item{ILCreateFromPath(Path)};
            Callback(Wnd, Msg, reinterpret_cast<LPARAM>(Item.List), Data);
        };
    const TDialogAnswer Answer = DialogService().Show(Request);
    if (Answer.Result != mrOk || Answer.Value.empty())
        return nullptr;
    LPITEMIDLIST Chosen = ILCreateFromPath(Answer.Value);
    if (Chosen == nullptr)
        return nullptr;
    if (Info->pszDisplayName != nullptr) {
        std::string Name = Answer.Value;
        while (Name.size() > 1 && Name.back() == '/')
            Name.pop_back();
        const std::size_t Slash = Name.rfind('/');
        if (Slash != std::string::npos && Name.size() > 1)
            Name = Name.substr(Slash + 1);
        Name = Name.substr(0, MAX_PATH - 1);
        std::memcpy(Info->pszDisplayName, Name.c_str(), Name.size() + 1);
    }
    Info->iImage = FolderImageIndex;
    return Chosen;
}
