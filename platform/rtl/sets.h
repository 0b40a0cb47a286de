// platform/rtl/sets.h: TSet, a set of members of an enumeration held as a bit set, for the
// option and state sets of the units (ordinals 0 to 63).
#pragma once

#include "platform/rtl/exceptions.h"

#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <class E>
class TSet {
    static_assert(std::is_enum_v<E>, "a TSet holds members of an enumeration");

public:
    using Element = E;

    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> Items)
    {
        for (E Item : Items)
            Include(Item);
    }

    constexpr bool Contains(E Item) const { return (FBits & Bit(Item)) != 0; }
    constexpr TSet& Include(E Item)
    {
        FBits |= Bit(Item);
        return *this;
    }
    constexpr TSet& Exclude(E Item)
    {
        FBits &= ~Bit(Item);
        return *this;
    }
    constexpr bool Empty() const { return FBits == 0; }

    // Bit n stands for the member of ordinal n.
    constexpr std::uint64_t Bits() const { return FBits; }
    static constexpr TSet FromBits(std::uint64_t Bits)
    {
        TSet Result;
        Result.FBits = Bits;
        return Result;
    }

    friend constexpr TSet operator+(TSet A, TSet B) { return FromBits(A.FBits | B.FBits); }
    friend constexpr TSet operator-(TSet A, TSet B) { return FromBits(A.FBits & ~B.FBits); }
    friend constexpr TSet operator*(TSet A, TSet B) { return FromBits(A.FBits & B.FBits); }
    friend constexpr bool operator==(TSet A, TSet B) { return A.FBits == B.FBits; }
    constexpr TSet& operator+=(TSet Other) { return *this = *this + Other; }
    constexpr TSet& operator-=(TSet Other) { return *this = *this - Other; }

private:
    static constexpr std::uint64_t Bit(E Item)
    {
        auto Ordinal = static_cast<long long>(Item);
        if (Ordinal < 0 || Ordinal > 63)
            throw ERangeError("Set member out of range");
        return std::uint64_t{1} << Ordinal;
    }

    std::uint64_t FBits = 0;
};
