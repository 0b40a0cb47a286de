// controls/grid/advgridio.cpp: reading a whole file, leading numbers and load progress.
#include "controls/grid/advgridio.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/stream.h"
#include "platform/ui/application.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>

namespace AdvGridIO {

std::string ReadWholeFile(const std::string& FileName)
{
    std::unique_ptr<TFileStream> Stream;
    try {
        Stream = std::make_unique<TFileStream>(FileName, fmOpenRead);
    } catch (const EStreamError&) {
        throw EAdvGridError("Cannot open file " + FileName);
    }
    try {
        std::string Data;
        char Buffer[1 << 16];
        for (;;) {
            const std::int64_t N = Stream->Read(Buffer, sizeof Buffer);
            if (N <= 0)
                break;
            Data.append(Buffer, std::size_t(N));
        }
        return Data;
    } catch (const EStreamError& E) {
        throw EInOutError(E.Message(), 5);
    }
}

std::int64_t LeadingNumber(const std::string& Text, bool& Overflow)
{
    Int64 Value = 0;
    int Code = 0;
    Val(Text, Value, Code);
    Overflow = false;
    if (Code > 0 && std::size_t(Code) <= Text.size()) {
        // Val stops at a digit only when one more would leave the range.
        const unsigned char C = static_cast<unsigned char>(Text[std::size_t(Code) - 1]);
        Overflow = std::isxdigit(C) != 0 &&
                   (std::isdigit(C) != 0 || Text.find_first_of("$xX") != std::string::npos);
    }
    return Value;
}

int LeadingIndex(const std::string& Text)
{
    bool Overflow = false;
    const std::int64_t Value = LeadingNumber(Text, Overflow);
    if (Overflow || Value < INT_MIN || Value > INT_MAX)
        return INT_MIN;
    return int(Value);
}

void TProgress::Report(std::int64_t Part, std::int64_t Whole)
{
    const double Ratio = double(Part) * 100.0 / double(std::max<std::int64_t>(1, Whole));
    const int Percent = int(std::clamp<double>(double(Round(Ratio)), 0.0, 100.0));
    if (Percent == FLast)
        return;
    FLast = Percent;
    if (FEvent)
        FEvent(FGrid, short(Percent));
    if (Application != nullptr)
        Application->ProcessMessages();
}

} // namespace AdvGridIO
