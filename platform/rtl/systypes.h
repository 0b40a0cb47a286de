// platform/rtl/systypes.h: the scalar types of the system calls that every layer passes along
// (flags, results, opaque handles).
#pragma once

#include <cstdint>

using UINT = unsigned int;
using DWORD = std::uint32_t;
using BOOL = int;
// An opaque handle: a global memory block, or a bitmap or palette handle of the graphics layer.
using HANDLE = std::uintptr_t;
