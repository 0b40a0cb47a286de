// Tests of global memory blocks: handle checks, resizing, and a keeper's claim on a block.
#include "platform/rtl/globalmemory.h"
#include "tests/support/globalblocks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using TestSupport::TextBlock;
using GlobalMemoryTest = TestSupport::TGlobalBlocksTest;

TEST_F(GlobalMemoryTest, GlobalMemoryChecksItsHandles)
{
    HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, 4);
    ASSERT_NE(Mem, 0u);
    EXPECT_EQ(GlobalSize(Mem), 4u);
    auto* Bytes = static_cast<unsigned char*>(GlobalLock(Mem));
    ASSERT_NE(Bytes, nullptr);
    EXPECT_EQ(Bytes[0] | Bytes[1] | Bytes[2] | Bytes[3], 0);
    EXPECT_EQ(GlobalLock(Mem), Bytes); // locks nest, the address stays
    EXPECT_TRUE(GlobalUnlock(Mem));
    EXPECT_FALSE(GlobalUnlock(Mem));
    EXPECT_FALSE(GlobalUnlock(Mem)); // not locked any more

    EXPECT_EQ(GlobalFree(Mem), 0u);
    EXPECT_EQ(GlobalFree(Mem), Mem); // twice: refused
    EXPECT_EQ(GlobalLock(Mem), nullptr);
    EXPECT_EQ(GlobalSize(Mem), 0u);
    EXPECT_EQ(GlobalReAlloc(Mem, 8, GMEM_MOVEABLE), 0u);
    EXPECT_EQ(GlobalLock(12345), nullptr);

    HGLOBAL Empty = GlobalAlloc(GHND, 0);
    EXPECT_NE(GlobalLock(Empty), nullptr);
    GlobalUnlock(Empty);
    EXPECT_EQ(GlobalFree(Empty), 0u);
}

TEST_F(GlobalMemoryTest, ReAllocKeepsTheBytesAndZeroesTheGrowth)
{
    HGLOBAL Mem = TextBlock("abcdef");
    ASSERT_EQ(GlobalReAlloc(Mem, 3, GMEM_MOVEABLE), Mem);
    ASSERT_EQ(GlobalReAlloc(Mem, 10, GMEM_MOVEABLE | GMEM_ZEROINIT), Mem);
    EXPECT_EQ(GlobalSize(Mem), 10u);
    auto* Bytes = static_cast<const char*>(GlobalLock(Mem));
    EXPECT_EQ(std::string(Bytes, 10), std::string("abc") + std::string(7, '\0'));
    EXPECT_EQ(GlobalReAlloc(Mem, 20, GMEM_MOVEABLE), 0u) << "a locked block does not move";
    EXPECT_EQ(GlobalReAlloc(Mem, 0, GMEM_MODIFY), Mem);
    EXPECT_EQ(GlobalSize(Mem), 10u);
    GlobalUnlock(Mem);
    EXPECT_EQ(GlobalFree(Mem), 0u);
}

TEST_F(GlobalMemoryTest, AClaimedBlockIsFreedOnlyByItsKeeper)
{
    HGLOBAL Mem = TextBlock("kept");
    ASSERT_TRUE(GlobalClaim(Mem));
    EXPECT_FALSE(GlobalClaim(Mem)) << "one keeper";
    EXPECT_EQ(GlobalFree(Mem), Mem) << "the keeper owns it";
    EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(Mem))), "kept");
    GlobalUnlock(Mem);
    GlobalFreeClaimed(Mem);
    EXPECT_EQ(GlobalLock(Mem), nullptr);
    EXPECT_FALSE(GlobalClaim(Mem)) << "a freed block is no block";
    EXPECT_FALSE(GlobalClaim(0));
    GlobalFreeClaimed(Mem); // twice: nothing happens
}

} // namespace
