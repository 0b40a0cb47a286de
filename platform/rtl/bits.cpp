#include "platform/rtl/bits.h"

#include "platform/rtl/exceptions.h"

#include <algorithm>

namespace {

// As large as a wild index may make the array before it is refused (256 MB of flags).
constexpr int MaxBitFlags = 0x7FFFFFFF - 31;

[[noreturn]] void BitsError()
{
    throw EBitsError("Bits index out of range");
}

} // namespace

void TBits::SetSize(int Value)
{
    if (Value < 0 || Value > MaxBitFlags)
        BitsError();
    FBits.resize(static_cast<std::size_t>(Value), false);
}

bool TBits::Bits(int Index) const
{
    if (Index < 0 || Index >= Size())
        BitsError();
    return FBits[static_cast<std::size_t>(Index)];
}

void TBits::SetBits(int Index, bool Value)
{
    if (Index < 0 || Index >= MaxBitFlags)
        BitsError();
    if (Index >= Size())
        SetSize(Index + 1);
    FBits[static_cast<std::size_t>(Index)] = Value;
}

int TBits::OpenBit() const
{
    return static_cast<int>(std::find(FBits.begin(), FBits.end(), false) - FBits.begin());
}
