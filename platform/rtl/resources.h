// platform/rtl/resources.h: the resources embedded in the program at build time (pictures,
// icons, cursors, sounds, raw data and the string table), looked up by type and name.
#pragma once

#include "platform/rtl/exceptions.h"
#include "platform/rtl/stream.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

TW_DECLARE_EXCEPTION(EResNotFound, Exception);

// The folders of resources/ (STRINGS/*.txt make RT_STRING, named by the decimal string id).
// The build step sorts its table in this order: keep cmake/rescomp.cpp in step.
enum TResType { RT_BITMAP, RT_ICON, RT_CURSOR, RT_WAVE, RT_RCDATA, RT_STRING };

// The bytes of a resource (they live as long as the program), or nothing. Names compare
// without regard to ASCII case; a resource is named by its file's base name.
std::optional<std::string_view> FindResource(TResType Type, const std::string& Name);
// A copy of the bytes; raises EResNotFound "Resource <Name> not found".
std::string LoadResourceBytes(TResType Type, const std::string& Name);
// The text of string Id in the program's string table; "" when there is none.
std::string LoadStr(int Id);
// The names of every resource of Type, in upper case and sorted.
std::vector<std::string> ResourceNames(TResType Type);

// A read-only stream over a resource; raises EResNotFound when there is none.
class TResourceStream : public TStream {
public:
    TResourceStream(TResType Type, const std::string& Name);

    int64_t Read(void* Buffer, int64_t Count) override;
    // Raises EStreamError: a resource cannot change.
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }
    void SetSize(int64_t NewSize) override;

    const void* Memory() const { return FData.data(); }

private:
    std::string_view FData;
    int64_t FPosition = 0;
};

// The table the build step generates from resources/, sorted by type, then name.
struct TEmbeddedResource {
    TResType Type;
    const char* Name;
    const unsigned char* Data;
    std::size_t Size;
};
extern const TEmbeddedResource EmbeddedResources[];
extern const std::size_t EmbeddedResourceCount;
