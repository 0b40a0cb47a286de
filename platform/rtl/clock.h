// platform/rtl/clock.h: the clock, the millisecond tick count and the random numbers, each
// behind an injection point so that tests can pin them.
#pragma once

#include "platform/rtl/types.h"

#include <cstdint>
#include <functional>

// The local date and time now.
TDateTime Now();
// Replaces the clock; an empty function restores the system clock.
void SetNowSource(std::function<TDateTime()> Source);

// Milliseconds since an arbitrary start, wrapping at 2^32 like the classic tick count.
// Differences between two readings are taken modulo 2^32 (uint32_t subtraction).
std::uint32_t GetTickCount();
// Replaces the tick count; an empty function restores the monotonic system clock.
void SetTickSource(std::function<std::uint32_t()> Source);

// The classic linear congruential generator: RandSeed = RandSeed * 0x08088405 + 1, so a given
// seed always yields the same sequence.
extern std::uint32_t RandSeed;
// Seeds the generator from the clock.
void Randomize();
// A whole number in [0, Range); 0 when Range <= 0.
int Random(int Range);
// A real number in [0, 1).
double Random();
