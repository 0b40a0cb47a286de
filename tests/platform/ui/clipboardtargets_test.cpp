// Tests of the clipboard as other programs see it: what it offers after a copy and the bytes of
// each target, and what another program's copy reads as. The headless driver plays the other
// program.
#include "platform/ui/clipboard.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/bmpformat.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/pngformat.h"
#include "platform/ui/clipboardpicture.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/headless/headlessdriver.h"
#include "platform/ui/shelldata.h"
#include "tests/support/globalblocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using TestSupport::TextOf;

THeadlessDriver& Headless()
{
    return dynamic_cast<THeadlessDriver&>(DisplayDriver());
}

std::unique_ptr<TBitmap> Picture()
{
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(5, 4);
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 5; ++X)
            B->Canvas()->SetPixels(X, Y, RGB(X * 50, Y * 60, 200 - X * 10));
    return B;
}

void ExpectSamePixels(const TDibImage& A, const TDibImage& B)
{
    ASSERT_EQ(A.Width, B.Width);
    ASSERT_EQ(A.Height, B.Height);
    for (int Y = 0; Y < A.Height; ++Y)
        for (int X = 0; X < A.Width; ++X)
            EXPECT_EQ(A.Pixel(X, Y), B.Pixel(X, Y)) << X << "," << Y;
}

std::string Offered(const std::string& Target)
{
    std::string Data;
    EXPECT_TRUE(Headless().ReadOffered(Target, Data)) << Target;
    return Data;
}

bool IsOffered(const std::string& Target)
{
    const auto& Targets = Headless().OfferedTargets();
    return std::find(Targets.begin(), Targets.end(), Target) != Targets.end();
}

std::string BlockBytes(HANDLE Mem)
{
    const auto* Bytes = static_cast<const char*>(GlobalLock(Mem));
    std::string Result = Bytes ? std::string(Bytes, GlobalSize(Mem)) : std::string();
    GlobalUnlock(Mem);
    return Result;
}

class ClipboardTargetsTest : public TestSupport::TGlobalBlocksTest {
protected:
    void SetUp() override
    {
        while (CloseClipboard()) {
        }
        Clipboard()->Clear();
        TGlobalBlocksTest::SetUp();
    }
    void TearDown() override
    {
        while (CloseClipboard()) {
        }
        Clipboard()->Clear();
        TGlobalBlocksTest::TearDown();
    }
    const UINT Html = RegisterClipboardFormat("HTML Format");
    const UINT Rtf = RegisterClipboardFormat("Rich Text Format");
};

TEST_F(ClipboardTargetsTest, ACopyOffersEachFormatUnderItsTargets)
{
    const UINT Column = RegisterClipboardFormat("Grid Column");
    const std::string HtmlBlock = BuildHtmlFormat("<html><body><b>bold</b></body></html>");
    const std::string DropBlock = BuildDropFiles({"/tmp/a b.csv"});
    const std::int32_t Index = 3;
    auto B = Picture();
    Clipboard()->Open();
    Clipboard()->SetAsText("caf\xc3\xa9 \xe2\x82\xac");
    Clipboard()->SetBuffer(Html, HtmlBlock.c_str(), HtmlBlock.size() + 1);
    Clipboard()->SetBuffer(Rtf, "{\\rtf1 x}", 10);
    Clipboard()->SetBuffer(CF_HDROP, DropBlock.data(), DropBlock.size());
    Clipboard()->SetBuffer(Column, &Index, sizeof Index);
    Clipboard()->Assign(B.get());
    Clipboard()->Close();

    for (const char* Target :
         {"UTF8_STRING", "STRING", "TEXT", "text/plain;charset=utf-8", "image/png", "text/html",
          "text/rtf", "text/uri-list", "application/x-tarnwick-Grid Column"})
        EXPECT_TRUE(IsOffered(Target)) << Target;
    EXPECT_EQ(Offered("UTF8_STRING"), "caf\xc3\xa9 \xe2\x82\xac");
    EXPECT_EQ(Offered("STRING"), "caf\xe9 ?") << "Latin-1, with what it lacks as '?'";
    EXPECT_EQ(Offered("text/html"), "<html><body><!--StartFragment--><b>bold</b><!--EndFragment-->"
                                    "</body></html>")
        << "the description block taken off";
    EXPECT_EQ(Offered("text/rtf"), "{\\rtf1 x}") << "without the NUL";
    EXPECT_EQ(Offered("text/uri-list"), "file:///tmp/a%20b.csv\r\n");
    EXPECT_EQ(Offered("application/x-tarnwick-Grid Column"),
              std::string(reinterpret_cast<const char*>(&Index), sizeof Index));
    const std::string Png = Offered("image/png");
    ExpectSamePixels(ReadPng(reinterpret_cast<const std::uint8_t*>(Png.data()), Png.size()),
                     *B->Image());
}

TEST_F(ClipboardTargetsTest, DataThatCannotBeReadIsNotOffered)
{
    struct TCase {
        const char* Name;
        UINT Format;
        std::string Bytes;
        const char* Target;
    };
    const std::vector<TCase> Cases = {
        {"HTML block pointing past its end", Html,
         "Version:0.9\r\nStartHTML:0000000105\r\nEndHTML:0000099999\r\n"
         "StartFragment:0000000105\r\nEndFragment:0000000106\r\nx",
         "text/html"},
        {"file drop with its offset past the end", CF_HDROP, std::string(20, '\xff'),
         "text/uri-list"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Clipboard()->SetBuffer(Case.Format, Case.Bytes.data(), Case.Bytes.size());
        EXPECT_FALSE(IsOffered(Case.Target));
    }
    // A DIB that does not decode is offered (its format says picture) but refused when read.
    Clipboard()->SetBuffer(CF_DIB, "garbage", 7);
    std::string Data;
    EXPECT_FALSE(Headless().ReadOffered("image/png", Data));
}

TEST_F(ClipboardTargetsTest, ADibOnTheClipboardIsOfferedAsPng)
{
    auto B = Picture();
    const std::string Dib = WritePackedDib(*B->Image());
    Clipboard()->SetBuffer(CF_DIB, Dib.data(), Dib.size());
    const std::string Png = Offered("image/png");
    ExpectSamePixels(ReadPng(reinterpret_cast<const std::uint8_t*>(Png.data()), Png.size()),
                     *B->Image());
}

TEST_F(ClipboardTargetsTest, AnotherProgramsCopyReadsAsOurFormats)
{
    auto B = Picture();
    const UINT Column = RegisterClipboardFormat("Grid Column");
    Headless().SetForeignClipboard({
        {"TARGETS", ""},
        {"image/png", WritePng(*B->Image())},
        {"text/html", "<p>para</p>"},
        {"text/rtf", "{\\rtf1 y}"},
        {"text/uri-list", "# c\r\nfile:///tmp/x%20y\r\nhttp://no/\r\n"},
        {"UTF8_STRING", "pasted \xc3\xb6"},
        {"application/x-tarnwick-grid column", std::string("\x05\0\0\0", 4)},
    });
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));
    EXPECT_TRUE(Clipboard()->HasFormat(Html));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_ENHMETAFILE));

    Clipboard()->Open();
    EXPECT_EQ(TextOf(GetClipboardData(CF_TEXT)), "pasted \xc3\xb6");
    const std::string Wide = BlockBytes(GetClipboardData(CF_UNICODETEXT));
    EXPECT_EQ(Wide, Utf8ToUtf16Le("pasted \xc3\xb6") + std::string(2, '\0'));

    THtmlFormat Read;
    ASSERT_TRUE(ParseHtmlFormat(BlockBytes(GetClipboardData(Html)), Read))
        << "a description block is added";
    EXPECT_EQ(Read.Fragment, "<p>para</p>");
    EXPECT_EQ(TextOf(GetClipboardData(Rtf)), "{\\rtf1 y}");

    const HDROP Drop = GetClipboardData(CF_HDROP);
    ASSERT_EQ(DragQueryFile(Drop, 0xFFFFFFFFu, nullptr, 0), 1u);
    char Name[64];
    DragQueryFile(Drop, 0, Name, sizeof Name);
    EXPECT_STREQ(Name, "/tmp/x y");

    EXPECT_EQ(BlockBytes(GetClipboardData(Column)), std::string("\x05\0\0\0", 4))
        << "registered names match without regard to case";

    const std::string Dib = BlockBytes(GetClipboardData(CF_DIB));
    ExpectSamePixels(ReadPackedDib(reinterpret_cast<const std::uint8_t*>(Dib.data()), Dib.size()),
                     *B->Image());
    Clipboard()->Close();

    TBitmap Pasted;
    Pasted.Assign(Clipboard());
    ExpectSamePixels(*Pasted.Image(), *B->Image());
}

TEST_F(ClipboardTargetsTest, UndecodableForeignDataReadsAsAbsent)
{
    Headless().SetForeignClipboard({
        {"image/png", "\x89PNG\r\n\x1a\n broken"},
        {"text/uri-list", "http://only.example/remote\r\n"},
    });
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP)) << "offered, until read";
    Clipboard()->Open();
    EXPECT_EQ(GetClipboardData(CF_BITMAP), 0u);
    EXPECT_EQ(GetClipboardData(CF_DIB), 0u);
    EXPECT_EQ(GetClipboardData(CF_HDROP), 0u) << "no local file in the list";
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP)) << "a failed format is gone";
    Clipboard()->Close();
    TBitmap B;
    EXPECT_THROW(B.Assign(Clipboard()), EInvalidGraphic);
}

TEST_F(ClipboardTargetsTest, Latin1TextFromAnOldProgramBecomesUtf8)
{
    Headless().SetForeignClipboard({{"STRING", "caf\xe9"}});
    EXPECT_EQ(Clipboard()->AsText(), "caf\xc3\xa9");
}

TEST_F(ClipboardTargetsTest, CopyingTakesTheClipboardBackFromTheOtherProgram)
{
    Headless().SetForeignClipboard({{"UTF8_STRING", "theirs"}});
    EXPECT_EQ(Clipboard()->AsText(), "theirs");
    Clipboard()->SetAsText("ours");
    EXPECT_FALSE(Headless().ForeignClipboardHeld());
    EXPECT_EQ(Offered("UTF8_STRING"), "ours");
    EXPECT_EQ(Clipboard()->AsText(), "ours");
    Clipboard()->Clear();
    EXPECT_TRUE(Headless().OfferedTargets().empty()) << "an empty clipboard withdraws the offer";
}

TEST_F(ClipboardTargetsTest, AMetafileGoesOnAndComesBack)
{
    TMetafile Meta;
    {
        TMetafileCanvas Canvas(&Meta, 0);
        Canvas.Brush()->SetColor(clRed);
        Canvas.FillRect(TRect{0, 0, 20, 10});
    }
    ASSERT_FALSE(Meta.Empty());
    Clipboard()->Assign(&Meta);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_ENHMETAFILE));

    TMetafile Back;
    Back.Assign(Clipboard());
    EXPECT_EQ(Back.Records().size(), Meta.Records().size());
    EXPECT_EQ(Back.Width(), Meta.Width());

    TPicture Picture;
    Picture.Assign(Clipboard());
    EXPECT_NE(dynamic_cast<TMetafile*>(Picture.Graphic()), nullptr);

    Clipboard()->Clear(); // the block is freed: the fixture counts
}

TEST_F(ClipboardTargetsTest, FormatNamesReadBackAsRegistered)
{
    const UINT Format = RegisterClipboardFormat("Grid Column");
    char Name[8];
    EXPECT_EQ(GetClipboardFormatName(Format, Name, sizeof Name), 7);
    EXPECT_STREQ(Name, "Grid Co");
    EXPECT_EQ(GetClipboardFormatName(CF_TEXT, Name, sizeof Name), 0);
}

} // namespace
