// fuzz/fuzzinput.h: what the fuzz targets share: a check that stops the run where a promise
// fails, so that the fuzzer keeps the input, and the input as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

inline void Check(bool Condition)
{
    if (!Condition)
        std::abort();
}

inline std::string InputText(const std::uint8_t* Data, std::size_t Size)
{
    return std::string(reinterpret_cast<const char*>(Data), Size);
}
