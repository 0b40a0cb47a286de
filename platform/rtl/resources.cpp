#include "platform/rtl/resources.h"

#include <algorithm>
#include <cstring>

namespace {

std::string UpperAscii(std::string S)
{
    for (char& C : S)
        if (C >= 'a' && C <= 'z')
            C = static_cast<char>(C - 'a' + 'A');
    return S;
}

const TEmbeddedResource* TableEnd()
{
    return EmbeddedResources + EmbeddedResourceCount;
}

// Before (Type, Name) in the table's order; names in the table are upper case.
bool Precedes(const TEmbeddedResource& Entry, TResType Type, const char* Name)
{
    if (Entry.Type != Type)
        return Entry.Type < Type;
    return std::strcmp(Entry.Name, Name) < 0;
}

} // namespace

std::optional<std::string_view> FindResource(TResType Type, const std::string& Name)
{
    std::string Key = UpperAscii(Name);
    if (Key.find('\0') != std::string::npos)
        return std::nullopt;
    const TEmbeddedResource* Found =
        std::lower_bound(EmbeddedResources, TableEnd(), Key,
                         [Type](const TEmbeddedResource& Entry, const std::string& K) {
                             return Precedes(Entry, Type, K.c_str());
                         });
    if (Found == TableEnd() || Found->Type != Type || Key != Found->Name)
        return std::nullopt;
    return std::string_view(reinterpret_cast<const char*>(Found->Data), Found->Size);
}

std::string LoadResourceBytes(TResType Type, const std::string& Name)
{
    std::optional<std::string_view> Data = FindResource(Type, Name);
    if (!Data)
        throw EResNotFound("Resource " + Name + " not found");
    return std::string(*Data);
}

std::string LoadStr(int Id)
{
    if (Id < 0)
        return std::string();
    std::optional<std::string_view> Text = FindResource(RT_STRING, std::to_string(Id));
    return Text ? std::string(*Text) : std::string();
}

std::vector<std::string> ResourceNames(TResType Type)
{
    std::vector<std::string> Names;
    for (const TEmbeddedResource* Entry = EmbeddedResources; Entry != TableEnd(); ++Entry)
        if (Entry->Type == Type)
            Names.emplace_back(Entry->Name);
    return Names;
}

// TResourceStream

TResourceStream::TResourceStream(TResType Type, const std::string& Name)
{
    std::optional<std::string_view> Data = FindResource(Type, Name);
    if (!Data)
        throw EResNotFound("Resource " + Name + " not found");
    FData = *Data;
}

int64_t TResourceStream::Read(void* Buffer, int64_t Count)
{
    int64_t Available = Size() - FPosition;
    if (Count <= 0 || Available <= 0)
        return 0;
    int64_t N = std::min(Count, Available);
    std::memcpy(Buffer, FData.data() + FPosition, static_cast<std::size_t>(N));
    FPosition += N;
    return N;
}

int64_t TResourceStream::Write(const void*, int64_t)
{
    throw EStreamError("Can't write to a read-only resource stream");
}

int64_t TResourceStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    int64_t Base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPosition : Size();
    int64_t Result = 0;
    if (__builtin_add_overflow(Base, Offset, &Result) || Result < 0)
        throw EStreamError("Invalid stream position");
    FPosition = Result;
    return Result;
}

void TResourceStream::SetSize(int64_t)
{
    throw EStreamError("Can't write to a read-only resource stream");
}
