// Feeds arbitrary bytes to the STR0 reader as a table: it either refuses them at opening with
// its "Invalid TPString resource" or reads every id it is asked for without straying outside.
#include "controls/entry/ovcsrmgr.h"
#include "fuzz/fuzzinput.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Table = InputText(Data, Size);
    const TResourceModule Module = [&](const std::string& Name) -> std::optional<std::string_view> {
        if (Name == "FUZZ")
            return std::string_view(Table);
        return std::nullopt;
    };
    try {
        TOvcStringResource Reader(Module, "FUZZ");
        Check(Size >= 8);
        // The ids the index names, and their neighbours.
        const std::size_t Count = (Size - 8) / 12;
        for (std::size_t I = 0; I < Count && I < 64; ++I) {
            std::int32_t Id = 0;
            for (int K = 3; K >= 0; --K)
                Id = static_cast<std::int32_t>((static_cast<std::uint32_t>(Id) << 8) |
                                               Data[8 + 12 * I + static_cast<std::size_t>(K)]);
            Reader.GetString(Id);
            if (Id > INT32_MIN)
                Reader.GetString(Id - 1);
        }
        Reader.RaiseOnMissing = true;
        try {
            Reader.GetString(INT32_MIN);
        } catch (const ETpsStringResourceError& E) {
            Check(E.Message() == "String not found: -2147483648");
        }
    } catch (const ETpsStringResourceError& E) {
        Check(E.Message() == "Invalid TPString resource");
    }
    return 0;
}
