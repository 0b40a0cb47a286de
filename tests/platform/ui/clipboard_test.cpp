// Tests of the clipboard's ownership of its data and of TClipboard (the global memory blocks
// themselves: tests/platform/rtl/globalmemory_test.cpp).
#include "platform/ui/clipboard.h"

#include "platform/rtl/exceptions.h"
#include "tests/support/globalblocks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using TestSupport::TextBlock;
using TestSupport::TextOf;

// Every test starts from an empty, closed clipboard and must leave no block behind.
class ClipboardTest : public TestSupport::TGlobalBlocksTest {
protected:
    void SetUp() override
    {
        while (CloseClipboard()) {
        }
        OpenClipboard(0);
        EmptyClipboard();
        CloseClipboard();
        TGlobalBlocksTest::SetUp();
    }
    void TearDown() override
    {
        while (CloseClipboard()) {
        }
        Clipboard()->Clear();
        TGlobalBlocksTest::TearDown();
    }
};

TEST_F(ClipboardTest, ClipboardNeedsToBeOpenAndKeepsOneOpener)
{
    HGLOBAL Mem = TextBlock("x");
    EXPECT_EQ(SetClipboardData(CF_TEXT, Mem), 0u);
    EXPECT_EQ(GetClipboardData(CF_TEXT), 0u);
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_FALSE(CloseClipboard());

    ASSERT_TRUE(OpenClipboard(7));
    EXPECT_FALSE(OpenClipboard(8));
    EXPECT_TRUE(OpenClipboard(7));
    EXPECT_THROW(Clipboard()->AsText(), Exception);
    EXPECT_EQ(SetClipboardData(CF_TEXT, Mem), Mem);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(Clipboard()->AsText(), "x");
}

TEST_F(ClipboardTest, DataSetIntoTheClipboardBelongsToIt)
{
    const std::size_t Before = GlobalBlockCount();
    ASSERT_TRUE(OpenClipboard(0));
    HGLOBAL First = TextBlock("first");
    HGLOBAL Second = TextBlock("second");
    ASSERT_EQ(SetClipboardData(CF_TEXT, First), First);
    EXPECT_EQ(GlobalFree(First), First) << "the clipboard owns it";
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, First), 0u) << "one block, one format";
    ASSERT_EQ(SetClipboardData(CF_TEXT, Second), Second); // the first block is freed
    EXPECT_EQ(GlobalLock(First), nullptr);
    EXPECT_EQ(TextOf(GetClipboardData(CF_TEXT)), "second");
    EXPECT_EQ(SetClipboardData(CF_TEXT, 999999), 0u) << "not a memory block";
    EXPECT_EQ(SetClipboardData(CF_BITMAP, 999999), 999999u) << "bitmaps are the graphics layer's";
    EXPECT_EQ(GlobalBlockCount(), Before + 1);
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GlobalBlockCount(), Before);
    EXPECT_EQ(CountClipboardFormats(), 0);
    CloseClipboard();
}

TEST_F(ClipboardTest, FormatsEnumerateInTheOrderSet)
{
    const UINT Rtf = RegisterClipboardFormat("Rich Text Format");
    ASSERT_TRUE(OpenClipboard(0));
    SetClipboardData(CF_TEXT, TextBlock("a"));
    SetClipboardData(Rtf, TextBlock("{\\rtf1 a}"));
    SetClipboardData(CF_LOCALE, GlobalAlloc(GHND, 4));
    std::vector<UINT> Seen;
    for (UINT Format = EnumClipboardFormats(0); Format != 0; Format = EnumClipboardFormats(Format))
        Seen.push_back(Format);
    EXPECT_EQ(Seen, (std::vector<UINT>{CF_TEXT, Rtf, CF_LOCALE}));
    EXPECT_EQ(CountClipboardFormats(), 3);
    CloseClipboard();

    EXPECT_EQ(Clipboard()->FormatCount(), 3);
    EXPECT_EQ(Clipboard()->Formats(1), Rtf);
    EXPECT_THROW(Clipboard()->Formats(3), EListError);
    EXPECT_THROW(Clipboard()->Formats(-1), EListError);
}

TEST_F(ClipboardTest, RegisteredNamesKeepTheirIds)
{
    const UINT Html = RegisterClipboardFormat("HTML Format");
    EXPECT_GE(Html, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat("html format"), Html);
    const UINT Gif = RegisterClipboardFormat("GIF Image");
    EXPECT_NE(Gif, Html);
    EXPECT_GE(Gif, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat(""), 0u);
}

TEST_F(ClipboardTest, TextRoundTripsAsBytesWithANul)
{
    struct TCase {
        std::string Set;
        std::string Read;
    };
    const std::vector<TCase> Cases = {
        {"plain", "plain"},
        {"", ""},
        {"rows\r\nwith\ttabs\r\n", "rows\r\nwith\ttabs\r\n"},
        {"caf\xc3\xa9 \xe9", "caf\xc3\xa9 \xe9"},
        {std::string("cut\0here", 8), "cut"},
    };
    for (const TCase& Case : Cases) {
        Clipboard()->SetAsText(Case.Set);
        EXPECT_EQ(Clipboard()->AsText(), Case.Read);
        EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
        OpenClipboard(0);
        HANDLE Mem = GetClipboardData(CF_TEXT);
        EXPECT_EQ(GlobalSize(Mem), Case.Read.size() + 1);
        CloseClipboard();
    }
}

TEST_F(ClipboardTest, TextWithoutNulIsReadUpToTheBlockEnd)
{
    HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, 3);
    std::memcpy(GlobalLock(Mem), "abc", 3);
    GlobalUnlock(Mem);
    Clipboard()->SetAsHandle(CF_TEXT, Mem);
    EXPECT_EQ(Clipboard()->AsText(), "abc");
}

TEST_F(ClipboardTest, NestedOpenPutsSeveralFormatsTogether)
{
    Clipboard()->SetAsText("old");
    const UINT Rtf = RegisterClipboardFormat("Rich Text Format");
    Clipboard()->Open();
    Clipboard()->SetAsText("cell");
    Clipboard()->SetBuffer(Rtf, "{\\rtf1 cell}", 13);
    Clipboard()->Close();
    EXPECT_EQ(Clipboard()->FormatCount(), 2);
    EXPECT_EQ(Clipboard()->AsText(), "cell");
    EXPECT_EQ(TextOf(Clipboard()->GetAsHandle(Rtf)), "{\\rtf1 cell}");

    Clipboard()->SetAsText("alone"); // outside an Open: replaces everything
    EXPECT_EQ(Clipboard()->FormatCount(), 1);
    EXPECT_FALSE(Clipboard()->HasFormat(Rtf));
}

TEST_F(ClipboardTest, TextBufferIsCutToItsSize)
{
    Clipboard()->SetTextBuf("Hello, world");
    char Buffer[6];
    EXPECT_EQ(Clipboard()->GetTextBuf(Buffer, sizeof Buffer), 5);
    EXPECT_STREQ(Buffer, "Hello");
    char Big[32];
    EXPECT_EQ(Clipboard()->GetTextBuf(Big, sizeof Big), 12);
    EXPECT_STREQ(Big, "Hello, world");
    EXPECT_EQ(Clipboard()->GetTextBuf(Big, 0), 0);
}

TEST_F(ClipboardTest, OpenFailsWhileAnotherWindowHasTheClipboard)
{
    ASSERT_TRUE(OpenClipboard(42));
    try {
        Clipboard()->SetAsText("x");
        FAIL() << "no exception";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Cannot open clipboard");
    }
    CloseClipboard();
    Clipboard()->SetAsText("x");
    EXPECT_EQ(Clipboard()->AsText(), "x");
}

} // namespace
