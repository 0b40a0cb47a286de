// platform/ui/clipboard.cpp: the clipboard and TClipboard.
#include "platform/ui/clipboard.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"
#include "platform/ui/clipboardpicture.h"
#include "platform/ui/displaydriver.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace {

struct TClipEntry {
    UINT Format;
    HANDLE Data;
};

struct TClipboardState {
    std::recursive_mutex Mutex;
    bool Open = false;
    HWND OpenedBy = 0;
    std::vector<TClipEntry> Entries;        // in the order they were set
    std::map<std::string, UINT> Registered; // by upper-cased name
    UINT NextFormat = 0xC000;
    bool TextChanged = false; // since opened: the desktop is offered the text on closing
};

TClipboardState& State()
{
    static TClipboardState S;
    return S;
}

// Handle formats hold the graphics layer's handles; the others hold global memory.
bool IsHandleFormat(UINT Format)
{
    return Format == CF_BITMAP || Format == CF_PALETTE || Format == CF_METAFILEPICT ||
           Format == CF_ENHMETAFILE;
}

void Release(const TClipEntry& Entry)
{
    if (IsHandleFormat(Entry.Format))
        ReleaseClipboardGraphic(Entry.Format, Entry.Data);
    else
        GlobalFreeClaimed(Entry.Data);
}

// The text of CF_TEXT up to its NUL; empty when there is none.
std::string EntryText(TClipboardState& S)
{
    for (const TClipEntry& Entry : S.Entries) {
        if (Entry.Format != CF_TEXT)
            continue;
        const auto* Text = static_cast<const char*>(GlobalLock(Entry.Data));
        if (Text == nullptr)
            return {};
        std::string Result(Text, strnlen(Text, GlobalSize(Entry.Data)));
        GlobalUnlock(Entry.Data);
        return Result;
    }
    return {};
}

// When another program holds the desktop's clipboard, its text (or nothing, when it offers none)
// replaces what this process had.
void ImportForeignText()
{
    std::string Text;
    if (!DisplayDriver().ForeignClipboardText(Text))
        return;
    TClipboardState& S = State();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    for (const TClipEntry& Entry : S.Entries)
        Release(Entry);
    S.Entries.clear();
    if (Text.empty())
        return;
    const HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
    if (Mem == 0)
        return;
    std::memcpy(GlobalLock(Mem), Text.c_str(), Text.size() + 1);
    GlobalUnlock(Mem);
    GlobalClaim(Mem);
    S.Entries.push_back(TClipEntry{CF_TEXT, Mem});
}

} // namespace

BOOL OpenClipboard(HWND NewOwner)
{
    TClipboardState& S = State();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    if (S.Open && S.OpenedBy != NewOwner)
        return 0;
    S.Open = true;
    S.OpenedBy = NewOwner;
    return 1;
}

BOOL CloseClipboard()
{
    TClipboardState& S = State();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    if (!S.Open)
        return 0;
    S.Open = false;
    S.OpenedBy = 0;
    if (S.TextChanged) {
        S.TextChanged = false;
        DisplayDriver().OfferClipboardText(EntryText(S));
    }
    return 1;
}

BOOL EmptyClipboard()
{
    TClipboardState& S = State();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    if (!S.Open)
        return 0;
    for (const TClipEntry& Entry : S.Entries)
        Release(Entry);
    S.TextChanged = S.TextChanged || !S.Entries.empty();
    S.Entries.clear();
    return 1;
}

HANDLE SetClipboardData(UINT Format, HANDLE Mem)
{
    TClipboardState& S = State();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    if (!S.Open || Format == 0 || Mem == 0)
        return 0;
    auto It = std::find_if(S.Entries.begin(), S.Entries.end(),
                           [&](const TClipEntry& Entry) { return Entry.Format == Format; });
    // A memory block must be live and serve one format only: emptying would otherwise free it
    // twice. Setting a format's own block again keeps it.
    if (!IsHandleFormat(Format) && (It == S.Entries.end() || It->Data != Mem) && !GlobalClaim(Mem))
        return 0;
    S.TextChanged = S.TextChanged || Format == CF_TEXT;
    if (It != S.Entries.end()) {
        if (It->Data != Mem)
            Release(*It);
        It->Data = Mem;
    } else {
        S.Entries.push_back(TClipEntry{Format, Mem});
    }
    return Mem;
}

HANDLE GetClipboardData(UINT Format)
{
    TClipboardState& S = State();
    if (Format == CF_TEXT && S.Open)
        ImportForeignText();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    if (!S.Open)
        return 0;
    for (const TClipEntry& Entry : S.Entries)
        if (Entry.Format == Format)
            return Entry.Data;
    return 0;
}

BOOL IsClipboardFormatAvailable(UINT Format)
{
    TClipboardState& S = State();
    if (Format == CF_TEXT)
        ImportForeignText();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    return std::any_of(S.Entries.begin(), S.Entries.end(),
                       [&](const TClipEntry& Entry) { return Entry.Format == Format; });
}

UINT EnumClipboardFormats(UINT Format)
{
    TClipboardState& S = State();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    if (!S.Open || S.Entries.empty())
        return 0;
    if (Format == 0)
        return S.Entries.front().Format;
    for (std::size_t I = 0; I + 1 < S.Entries.size(); ++I)
        if (S.Entries[I].Format == Format)
            return S.Entries[I + 1].Format;
    return 0;
}

int CountClipboardFormats()
{
    TClipboardState& S = State();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    return static_cast<int>(S.Entries.size());
}

UINT RegisterClipboardFormat(const std::string& Name)
{
    if (Name.empty())
        return 0;
    TClipboardState& S = State();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    auto Found = S.Registered.find(UpperCase(Name));
    if (Found != S.Registered.end())
        return Found->second;
    if (S.NextFormat > 0xFFFF)
        return 0; // the range is used up
    S.Registered.emplace(UpperCase(Name), S.NextFormat);
    return S.NextFormat++;
}

TClipboard::~TClipboard()
{
    if (FOpenRefCount > 0)
        CloseClipboard();
}

void TClipboard::Open()
{
    if (FOpenRefCount == 0) {
        if (!OpenClipboard(0))
            throw Exception("Cannot open clipboard");
        FEmptied = false;
    }
    ++FOpenRefCount;
}

void TClipboard::Close()
{
    if (FOpenRefCount == 0)
        return;
    if (--FOpenRefCount == 0)
        CloseClipboard();
}

void TClipboard::Clear()
{
    Open();
    EmptyClipboard();
    Close();
}

void TClipboard::Adding()
{
    if (!FEmptied) {
        EmptyClipboard();
        FEmptied = true;
    }
}

std::string TClipboard::AsText()
{
    Open();
    std::string Result;
    HANDLE Data = GetClipboardData(CF_TEXT);
    if (const auto* Bytes = static_cast<const char*>(Data ? GlobalLock(Data) : nullptr)) {
        // Up to the NUL, and never past the block when the NUL is missing.
        std::size_t Size = GlobalSize(Data);
        Result.assign(Bytes, strnlen(Bytes, Size));
        GlobalUnlock(Data);
    }
    Close();
    return Result;
}

void TClipboard::SetAsText(const std::string& Value)
{
    // Text stops at its first NUL, as readers see it.
    SetBuffer(CF_TEXT, Value.c_str(), strlen(Value.c_str()) + 1);
}

int TClipboard::GetTextBuf(char* Buffer, int BufSize)
{
    if (!Buffer || BufSize <= 0)
        return 0;
    std::string Text = AsText();
    std::size_t Count = std::min(Text.size(), static_cast<std::size_t>(BufSize - 1));
    std::memcpy(Buffer, Text.data(), Count);
    Buffer[Count] = '\0';
    return static_cast<int>(Count);
}

void TClipboard::SetTextBuf(const char* Buffer)
{
    SetAsText(Buffer ? Buffer : "");
}

void TClipboard::SetBuffer(UINT Format, const void* Buffer, std::size_t Size)
{
    Open();
    HGLOBAL Data = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Size);
    if (!Data) {
        Close();
        throw EOutOfMemory("Out of memory");
    }
    if (Size > 0) {
        std::memcpy(GlobalLock(Data), Buffer, Size);
        GlobalUnlock(Data);
    }
    Adding();
    // A handle format takes no memory block: the block is not set, and freed.
    if (IsHandleFormat(Format) || !SetClipboardData(Format, Data))
        GlobalFree(Data);
    Close();
}

HANDLE TClipboard::GetAsHandle(UINT Format)
{
    Open();
    HANDLE Result = GetClipboardData(Format);
    Close();
    return Result;
}

void TClipboard::SetAsHandle(UINT Format, HANDLE Value)
{
    Open();
    Adding();
    SetClipboardData(Format, Value);
    Close();
}

bool TClipboard::HasFormat(UINT Format)
{
    return IsClipboardFormatAvailable(Format) != 0;
}

int TClipboard::FormatCount()
{
    return CountClipboardFormats();
}

UINT TClipboard::Formats(int Index)
{
    Open();
    UINT Format = 0;
    for (int I = 0; I <= Index && Index >= 0; ++I) {
        Format = EnumClipboardFormats(Format);
        if (Format == 0)
            break;
    }
    Close();
    if (Format == 0)
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return Format;
}

TClipboard* Clipboard()
{
    static TClipboard Instance;
    return &Instance;
}
