// platform/ui/clipboard.cpp: the clipboard and TClipboard.
#include "platform/ui/clipboard.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"
#include "platform/ui/clipboardpicture.h"
#include "platform/ui/clipboardtargets.h"
#include "platform/ui/displaydriver.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

namespace {

struct TClipEntry {
    UINT Format;
    HANDLE Data; // 0 while another program's data waits to be fetched
};

struct TClipboardState {
    std::recursive_mutex Mutex;
    bool Open = false;
    HWND OpenedBy = 0;
    std::vector<TClipEntry> Entries;        // in the order they were set
    std::map<std::string, UINT> Registered; // by upper-cased name
    std::map<UINT, std::string> Names;      // as first registered
    UINT NextFormat = 0xC000;
    bool Changed = false; // since opened: the desktop is offered the contents on closing
    // Another program's clipboard is shown: its targets once asked for, and the formats whose
    // fetching failed (not asked again until the next look).
    bool Foreign = false;
    bool TargetsKnown = false;
    std::vector<std::string> ForeignTargets;
    std::set<UINT> Failed;
    bool Synced = false; // while open: the desktop has been looked at
};

TClipboardState& State()
{
    static TClipboardState S;
    return S;
}

// Handle formats hold the graphics layer's handles; the others hold global memory.
bool IsHandleFormat(UINT Format)
{
    return Format == CF_BITMAP || Format == CF_PALETTE || Format == CF_METAFILEPICT;
}

void Release(const TClipEntry& Entry)
{
    if (Entry.Data == 0)
        return;
    if (IsHandleFormat(Entry.Format))
        ReleaseClipboardGraphic(Entry.Format, Entry.Data);
    else
        GlobalFreeClaimed(Entry.Data);
}

void ReleaseAll(TClipboardState& S)
{
    for (const TClipEntry& Entry : S.Entries)
        Release(Entry);
    S.Entries.clear();
}

std::vector<TClipEntry>::iterator Find(TClipboardState& S, UINT Format)
{
    return std::find_if(S.Entries.begin(), S.Entries.end(),
                        [&](const TClipEntry& Entry) { return Entry.Format == Format; });
}

// When another program holds the desktop's clipboard, its contents replace what this process
// had; they are fetched format by format when asked for.
void LookAtDesktop(TClipboardState& S)
{
    if (!DisplayDriver().ForeignClipboardHeld())
        return;
    ReleaseAll(S);
    S.Foreign = true;
    S.TargetsKnown = false;
    S.ForeignTargets.clear();
    S.Failed.clear();
}

// Once per open clipboard (on every call while it is closed).
void Sync(TClipboardState& S)
{
    if (S.Open && S.Synced)
        return;
    S.Synced = S.Open;
    LookAtDesktop(S);
}

// Lists the other program's formats, to be fetched when asked for. When it does not tell them,
// text is tried.
void KnowForeignFormats(TClipboardState& S)
{
    if (!S.Foreign || S.TargetsKnown)
        return;
    S.TargetsKnown = true;
    std::vector<UINT> Formats{CF_TEXT, CF_UNICODETEXT};
    if (DisplayDriver().ForeignClipboardTargets(S.ForeignTargets))
        Formats = FormatsOfTargets(S.ForeignTargets);
    else
        S.ForeignTargets = TargetsForFormat(CF_TEXT, nullptr);
    for (UINT Format : Formats)
        if (Find(S, Format) == S.Entries.end() && S.Failed.count(Format) == 0)
            S.Entries.push_back(TClipEntry{Format, 0});
}

// The data of Format, fetched from the other program when it is still waiting; 0 when absent or
// when the other program's data does not make it.
HANDLE Fetch(TClipboardState& S, UINT Format)
{
    auto It = Find(S, Format);
    if (It != S.Entries.end() && It->Data != 0)
        return It->Data;
    if (!S.Foreign || S.Failed.count(Format) != 0)
        return 0;
    // Text is asked for straight away (a program may answer a single request only); other
    // formats are looked for among the targets.
    if (Format != CF_TEXT && Format != CF_UNICODETEXT)
        KnowForeignFormats(S);
    for (const std::string& Target :
         TargetsForFormat(Format, S.TargetsKnown ? &S.ForeignTargets : nullptr)) {
        std::string Bytes;
        if (!DisplayDriver().ForeignClipboardData(Target, Bytes))
            continue;
        const HANDLE Data = ImportTarget(Format, Target, Bytes);
        if (Data == 0)
            continue;
        if (!IsHandleFormat(Format))
            GlobalClaim(Data);
        It = Find(S, Format); // the wait may have changed the list
        if (It != S.Entries.end())
            It->Data = Data;
        else
            S.Entries.push_back(TClipEntry{Format, Data});
        return Data;
    }
    S.Failed.insert(Format);
    It = Find(S, Format);
    if (It != S.Entries.end() && It->Data == 0)
        S.Entries.erase(It);
    return 0;
}

// What the desktop is offered when the clipboard closes after a change.
void Offer(TClipboardState& S)
{
    auto Snapshot = std::make_shared<TClipboardSnapshot>();
    auto Palette = Find(S, CF_PALETTE);
    for (const TClipEntry& Entry : S.Entries)
        if (Entry.Data != 0)
            AddToSnapshot(*Snapshot, Entry.Format, Entry.Data,
                          Palette != S.Entries.end() ? Palette->Data : 0);
    std::vector<std::string> Targets = SnapshotTargets(*Snapshot);
    DisplayDriver().OfferClipboard(Targets,
                                   [Snapshot](const std::string& Target, std::string& Data) {
                                       return RenderTarget(*Snapshot, Target, Data);
                                   });
}

// The process's own contents count from now on.
void Owning(TClipboardState& S)
{
    S.Foreign = false;
    S.Synced = S.Open;
    S.Changed = true;
}

} // namespace

BOOL OpenClipboard(HWND NewOwner)
{
    TClipboardState& S = State();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    if (S.Open && S.OpenedBy != NewOwner)
        return 0;
    if (!S.Open)
        S.Synced = false;
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
    S.Synced = false;
    if (S.Changed) {
        S.Changed = false;
        Offer(S);
    }
    return 1;
}

BOOL EmptyClipboard()
{
    TClipboardState& S = State();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    if (!S.Open)
        return 0;
    const bool Changes = S.Changed || !S.Entries.empty() || S.Foreign;
    ReleaseAll(S);
    Owning(S);
    S.Changed = Changes;
    return 1;
}

HANDLE SetClipboardData(UINT Format, HANDLE Mem)
{
    TClipboardState& S = State();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    if (!S.Open || Format == 0 || Mem == 0)
        return 0;
    if (S.Foreign) // setting data without emptying first still replaces the other program's
        ReleaseAll(S);
    auto It = Find(S, Format);
    // A memory block must be live and serve one format only: emptying would otherwise free it
    // twice. Setting a format's own block again keeps it.
    if (!IsHandleFormat(Format) && (It == S.Entries.end() || It->Data != Mem) && !GlobalClaim(Mem))
        return 0;
    Owning(S);
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
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    if (!S.Open)
        return 0;
    Sync(S);
    return Fetch(S, Format);
}

BOOL IsClipboardFormatAvailable(UINT Format)
{
    TClipboardState& S = State();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    Sync(S);
    KnowForeignFormats(S);
    return Find(S, Format) != S.Entries.end();
}

UINT EnumClipboardFormats(UINT Format)
{
    TClipboardState& S = State();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    if (!S.Open)
        return 0;
    Sync(S);
    KnowForeignFormats(S);
    if (S.Entries.empty())
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
    Sync(S);
    KnowForeignFormats(S);
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
    S.Names.emplace(S.NextFormat, Name);
    return S.NextFormat++;
}

int GetClipboardFormatName(UINT Format, char* Name, int MaxCount)
{
    if (Name == nullptr || MaxCount <= 0)
        return 0;
    TClipboardState& S = State();
    std::lock_guard<std::recursive_mutex> Lock(S.Mutex);
    auto Found = S.Names.find(Format);
    const std::string Text = Found != S.Names.end() ? Found->second : std::string();
    const std::size_t Count = std::min(Text.size(), static_cast<std::size_t>(MaxCount - 1));
    std::memcpy(Name, Text.data(), Count);
    Name[Count] = '\0';
    return static_cast<int>(Count);
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
