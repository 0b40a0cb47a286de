// platform/rtl/types.h: the small scalar types every unit shares.
#pragma once

#include <cstdint>

// Days since 30 December 1899 in the integer part, the time of day in the fraction.
using TDateTime = double;

using Byte = std::uint8_t;
using Word = std::uint16_t;
using Cardinal = std::uint32_t;
using Int64 = std::int64_t;
