#include "controls/entry/ovcsrmgr.h"

#include "platform/rtl/format.h"
#include "platform/rtl/resources.h"

#include <memory>

namespace {

std::int32_t ReadInt32(std::string_view Bytes, std::size_t At)
{
    std::uint32_t Value = 0;
    for (int K = 3; K >= 0; --K)
        Value = (Value << 8) | static_cast<unsigned char>(Bytes[At + static_cast<std::size_t>(K)]);
    return static_cast<std::int32_t>(Value);
}

struct TEntry {
    std::int32_t Id;
    std::int32_t Offset;
    std::int32_t Length;
};

TEntry EntryAt(std::string_view Table, std::int32_t Index)
{
    const std::size_t At = 8 + 12 * static_cast<std::size_t>(Index);
    return TEntry{ReadInt32(Table, At), ReadInt32(Table, At + 4), ReadInt32(Table, At + 8)};
}

std::int32_t EntryCount(std::string_view Table)
{
    return ReadInt32(Table, 4);
}

// The signature, then every index entry against the size: ids strictly ascending, each text
// inside the table behind the index. Lookups rely on this and check nothing more.
bool ValidTable(std::string_view Table)
{
    if (Table.size() < 8 || Table.substr(0, 4) != "STR0")
        return false;
    const std::int32_t Count = EntryCount(Table);
    const std::uint64_t Size = Table.size();
    if (Count < 0 || 8 + 12 * static_cast<std::uint64_t>(Count) > Size)
        return false;
    const std::uint64_t TextStart = 8 + 12 * static_cast<std::uint64_t>(Count);
    for (std::int32_t I = 0; I < Count; ++I) {
        const TEntry Entry = EntryAt(Table, I);
        if (I > 0 && EntryAt(Table, I - 1).Id >= Entry.Id)
            return false;
        if (Entry.Offset < 0 || Entry.Length < 0 ||
            static_cast<std::uint64_t>(Entry.Offset) < TextStart ||
            static_cast<std::uint64_t>(Entry.Offset) +
                    2 * static_cast<std::uint64_t>(Entry.Length) >
                Size)
            return false;
    }
    return true;
}

void AppendUtf8(std::string& Out, std::uint32_t Code)
{
    if (Code < 0x80) {
        Out += static_cast<char>(Code);
    } else if (Code < 0x800) {
        Out += static_cast<char>(0xC0 | (Code >> 6));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else if (Code < 0x10000) {
        Out += static_cast<char>(0xE0 | (Code >> 12));
        Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (Code >> 18));
        Out += static_cast<char>(0x80 | ((Code >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    }
}

// UTF-16LE to our strings' code page (UTF-8); a surrogate without its partner has no character
// there and becomes the default character "?".
std::string Utf16ToString(std::string_view Units, std::size_t Count)
{
    auto Unit = [&](std::size_t I) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(Units[2 * I]) |
                                          (static_cast<unsigned char>(Units[2 * I + 1]) << 8));
    };
    std::string Result;
    Result.reserve(Count);
    for (std::size_t I = 0; I < Count; ++I) {
        const std::uint32_t U = Unit(I);
        if (U >= 0xD800 && U <= 0xDBFF && I + 1 < Count && Unit(I + 1) >= 0xDC00 &&
            Unit(I + 1) <= 0xDFFF) {
            AppendUtf8(Result, 0x10000 + ((U - 0xD800) << 10) + (Unit(I + 1) - 0xDC00));
            ++I;
        } else if (U >= 0xD800 && U <= 0xDFFF) {
            Result += '?';
        } else {
            AppendUtf8(Result, U);
        }
    }
    return Result;
}

// Until OVCSRMGR_STRINGS is open the reader words its failures itself (opening that table).
const char* const BuiltInMessages[] = {"",
                                       "String not found: %d",
                                       "Cannot lock resource",
                                       "String resource not found: %s",
                                       "Unable to open string resource: %s",
                                       "Invalid TPString resource"};

} // namespace

TOvcStringResource* SrMgrStrings = nullptr;
TOvcStringResource* LibraryStrings = nullptr;

TResourceModule HInstance()
{
    return [](const std::string& Name) { return FindResource(RT_RCDATA, Name); };
}

TOvcStringResource::TOvcStringResource(const TResourceModule& Module,
                                       const std::string& ResourceName)
{
    SelectTable(Module, ResourceName);
}

TOvcStringResource::~TOvcStringResource()
{
    CloseTable();
}

void TOvcStringResource::SelectTable(const TResourceModule& Module, const std::string& ResourceName)
{
    CloseTable();
    if (!ResourceName.empty())
        OpenTable(Module, ResourceName);
}

void TOvcStringResource::OpenTable(const TResourceModule& Module, const std::string& ResourceName)
{
    const std::string Name = ResourceName.substr(0, 255);
    std::optional<std::string_view> Found = Module ? Module(Name) : std::nullopt;
    if (!Found)
        Found = FindResource(RT_RCDATA, Name);
    if (!Found)
        throw ETpsStringResourceError(Format(ReaderMessage(3), Name));
    if (!ValidTable(*Found))
        throw ETpsStringResourceError(ReaderMessage(5));
    FTable = Found;
}

void TOvcStringResource::CloseTable()
{
    FTable.reset();
}

std::int32_t TOvcStringResource::FindEntry(std::int32_t Id) const
{
    const std::int32_t Index = Search(Id);
    if (Index < 0 && RaiseOnMissing)
        throw ETpsStringResourceError(Format(ReaderMessage(1), Id));
    return Index;
}

std::int32_t TOvcStringResource::Search(std::int32_t Id) const
{
    std::int32_t Lo = 0;
    std::int32_t Hi = EntryCount(*FTable) - 1;
    while (Hi >= Lo) {
        const std::int32_t Mid = static_cast<std::int32_t>(
            (static_cast<std::uint32_t>(Lo) + static_cast<std::uint32_t>(Hi)) / 2);
        const std::int32_t MidId = EntryAt(*FTable, Mid).Id;
        if (MidId == Id)
            return Mid;
        if (MidId < Id)
            Lo = Mid + 1;
        else
            Hi = Mid - 1;
    }
    return -1;
}

std::string TOvcStringResource::GetString(std::int32_t Id) const
{
    if (!FTable)
        throw ETpsStringResourceError(ReaderMessage(2));
    return Text(FindEntry(Id));
}

std::string TOvcStringResource::Text(std::int32_t Index) const
{
    if (Index < 0)
        return std::string();
    const TEntry Entry = EntryAt(*FTable, Index);
    return Utf16ToString(FTable->substr(static_cast<std::size_t>(Entry.Offset)),
                         static_cast<std::size_t>(Entry.Length));
}

std::string TOvcStringResource::ReaderMessage(int Id)
{
    std::string Text;
    if (SrMgrStrings != nullptr && SrMgrStrings->FTable)
        Text = SrMgrStrings->Text(SrMgrStrings->Search(Id));
    return Text.empty() ? BuiltInMessages[Id] : Text;
}

std::string LibraryString(std::uint16_t Id)
{
    std::string Text = LibraryStrings->GetString(Id);
    return Text.empty() ? "Unknown" : Text;
}

namespace {

// The two global readers live from before main until after it, SrMgrStrings first.
struct TLibraryTables {
    std::unique_ptr<TOvcStringResource> SrMgr;
    std::unique_ptr<TOvcStringResource> Library;

    TLibraryTables()
    {
        SrMgr = std::make_unique<TOvcStringResource>(HInstance(), "OVCSRMGR_STRINGS");
        SrMgrStrings = SrMgr.get();
        Library = std::make_unique<TOvcStringResource>(HInstance(), "PELIDOR3_STRINGS_ENGLISH");
        LibraryStrings = Library.get();
    }
    ~TLibraryTables()
    {
        LibraryStrings = nullptr;
        Library.reset();
        SrMgrStrings = nullptr;
        SrMgr.reset();
    }
};

TLibraryTables LibraryTables;

} // namespace
