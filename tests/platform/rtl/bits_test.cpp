#include "platform/rtl/bits.h"
#include "platform/rtl/exceptions.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

TEST(Bits, SettingBeyondTheSizeGrowsWithFalseBits)
{
    TBits Bits;
    EXPECT_EQ(Bits.Size(), 0);
    Bits.SetBits(70, true);
    EXPECT_EQ(Bits.Size(), 71);
    EXPECT_TRUE(Bits.Bits(70));
    for (int I = 0; I < 70; ++I)
        EXPECT_FALSE(Bits.Bits(I)) << I;
    Bits.SetBits(3, false);
    EXPECT_EQ(Bits.Size(), 71);
}

TEST(Bits, SizeCutsAndExtends)
{
    TBits Bits;
    Bits.SetBits(9, true);
    Bits.SetSize(5);
    EXPECT_EQ(Bits.Size(), 5);
    Bits.SetSize(20);
    EXPECT_FALSE(Bits.Bits(9)); // cut bits come back false
}

TEST(Bits, OpenBitIsTheFirstFalseBitOrTheSize)
{
    struct Case {
        std::vector<int> Set;
        int Size;
        int Expected;
    };
    std::vector<Case> Cases = {
        {{}, 0, 0},        {{}, 10, 0},        {{0, 1, 2}, 3, 3},
        {{0, 1, 3}, 4, 2}, {{0, 1, 2}, 64, 3}, {{1}, 2, 0},
    };
    for (const Case& C : Cases) {
        TBits Bits;
        Bits.SetSize(C.Size);
        for (int I : C.Set)
            Bits.SetBits(I, true);
        EXPECT_EQ(Bits.OpenBit(), C.Expected) << "size " << C.Size;
    }

    // An allocation map: take the open bit, free one, it is taken again first.
    TBits Map;
    for (int I = 0; I < 5; ++I)
        Map.SetBits(Map.OpenBit(), true);
    Map.SetBits(2, false);
    EXPECT_EQ(Map.OpenBit(), 2);
}

TEST(Bits, BadIndexRaisesBitsIndexOutOfRange)
{
    std::vector<std::function<void(TBits&)>> Actions = {
        [](TBits& B) { B.Bits(-1); },
        [](TBits& B) { B.SetBits(-1, true); },
        [](TBits& B) { B.Bits(8); }, // reading at the size
        [](TBits& B) { B.SetSize(-3); },
    };
    for (std::size_t I = 0; I < Actions.size(); ++I) {
        TBits Bits;
        Bits.SetSize(8);
        try {
            Actions[I](Bits);
            ADD_FAILURE() << "case " << I << ": no exception";
        } catch (const EBitsError& E) {
            EXPECT_EQ(E.Message(), "Bits index out of range") << "case " << I;
        }
        EXPECT_EQ(Bits.Size(), 8) << "case " << I;
    }
}
