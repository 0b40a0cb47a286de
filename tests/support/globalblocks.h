// Test helpers for global memory blocks: a block holding a text, the text a block holds, and a
// fixture that fails a test which leaves a block behind.
#pragma once

#include "platform/rtl/globalmemory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace TestSupport {

// A movable block with Text and its NUL, unlocked.
inline HGLOBAL TextBlock(const std::string& Text)
{
    HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Text.size() + 1);
    std::memcpy(GlobalLock(Mem), Text.c_str(), Text.size() + 1);
    GlobalUnlock(Mem);
    return Mem;
}

inline std::string TextOf(HANDLE Mem)
{
    const char* Bytes = static_cast<const char*>(GlobalLock(Mem));
    std::string Result = Bytes ? Bytes : "<bad handle>";
    GlobalUnlock(Mem);
    return Result;
}

// Counts the live blocks before a test and checks the count after it. Derived fixtures that
// set up more call these first / last.
class TGlobalBlocksTest : public testing::Test {
protected:
    void SetUp() override { FBlocks = GlobalBlockCount(); }
    void TearDown() override { EXPECT_EQ(GlobalBlockCount(), FBlocks) << "a block was leaked"; }

private:
    std::size_t FBlocks = 0;
};

} // namespace TestSupport
