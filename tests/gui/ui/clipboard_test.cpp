// The clipboard on a private X server against xclip: a bitmap and HTML copied here read back in
// xclip under their targets (large ones in parts), and what xclip copies is pasted here.
#include "tests/gui/xserver.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/pngformat.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/shelldata.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

using guitest::PumpUntil;
using guitest::RunTool;

std::unique_ptr<TBitmap> Noise(int Width, int Height)
{
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(Width, Height);
    std::uint32_t Seed = 12345;
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) {
            Seed = Seed * 1103515245u + 12345u;
            B->Canvas()->SetPixels(X, Y, static_cast<TColor>((Seed >> 8) & 0xFFFFFF));
        }
    return B;
}

void ExpectSamePixels(const TDibImage& A, const TDibImage& B)
{
    ASSERT_EQ(A.Width, B.Width);
    ASSERT_EQ(A.Height, B.Height);
    int Different = 0;
    for (int Y = 0; Y < A.Height; ++Y)
        for (int X = 0; X < A.Width; ++X)
            Different += A.Pixel(X, Y) != B.Pixel(X, Y);
    EXPECT_EQ(Different, 0);
}

TDibImage Decode(const std::string& Png)
{
    return ReadPng(reinterpret_cast<const std::uint8_t*>(Png.data()), Png.size());
}

class ClipboardX11 : public guitest::XServerTest {
protected:
    void TearDown() override
    {
        Clipboard()->Clear();
        if (!FFile.empty())
            std::remove(FFile.c_str());
        XServerTest::TearDown();
    }

    std::string TempFile(const std::string& Bytes)
    {
        FFile = testing::TempDir() + "clipboard_x11_" + std::to_string(getpid());
        std::ofstream(FFile, std::ios::binary) << Bytes;
        return FFile;
    }

    std::string FFile;
};

TEST_F(ClipboardX11, ABitmapAndHtmlCopiedHereReadBackInXclip)
{
    auto B = Noise(40, 30);
    const UINT Html = RegisterClipboardFormat("HTML Format");
    const std::string Block = BuildHtmlFormat("<html><body><b>bold</b> text</body></html>");
    Clipboard()->Open();
    Clipboard()->Assign(B.get());
    Clipboard()->SetBuffer(Html, Block.c_str(), Block.size() + 1);
    Clipboard()->Close();

    const auto Targets =
        RunTool(Display, {"xclip", "-selection", "clipboard", "-t", "TARGETS", "-o"});
    EXPECT_EQ(Targets.Status, 0);
    EXPECT_NE(Targets.Output.find("image/png\n"), std::string::npos) << Targets.Output;
    EXPECT_NE(Targets.Output.find("text/html\n"), std::string::npos) << Targets.Output;

    const auto Png =
        RunTool(Display, {"xclip", "-selection", "clipboard", "-t", "image/png", "-o"});
    EXPECT_EQ(Png.Status, 0);
    ExpectSamePixels(Decode(Png.Output), *B->Image());

    const auto Page =
        RunTool(Display, {"xclip", "-selection", "clipboard", "-t", "text/html", "-o"});
    EXPECT_EQ(Page.Status, 0);
    EXPECT_EQ(Page.Output,
              "<html><body><!--StartFragment--><b>bold</b> text<!--EndFragment--></body></html>")
        << "the description block stays behind";
}

TEST_F(ClipboardX11, ALargeBitmapGoesInParts)
{
    auto B = Noise(400, 300); // a PNG of about 360 KB: more than one part
    Clipboard()->Assign(B.get());
    const auto Png =
        RunTool(Display, {"xclip", "-selection", "clipboard", "-t", "image/png", "-o"});
    EXPECT_EQ(Png.Status, 0);
    EXPECT_GT(Png.Output.size(), std::size_t(256) << 10);
    ExpectSamePixels(Decode(Png.Output), *B->Image());
}

TEST_F(ClipboardX11, APictureCopiedInXclipIsPasted)
{
    auto B = Noise(30, 20);
    const std::string File = TempFile(WritePng(*B->Image()));
    // Two conversions: CF_BITMAP and CF_DIB (the target list is asked for besides).
    const pid_t Tool = guitest::StartTool(Display,
                                          {"xclip", "-i", "-selection", "clipboard", "-t",
                                           "image/png", "-quiet", "-loops", "2", File},
                                          "");
    ASSERT_NE(Tool, 0);
    ASSERT_TRUE(PumpUntil([] { return IsClipboardFormatAvailable(CF_BITMAP) != 0; }));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT)) << "xclip offers the picture alone";

    Clipboard()->Open();
    const auto Bitmap = reinterpret_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_TRUE(IsBitmap(Bitmap));
    ExpectSamePixels(*Bitmap, *B->Image());
    TBitmap FromDib;
    FromDib.LoadFromClipboardFormat(CF_DIB, GetClipboardData(CF_DIB), nullptr);
    ExpectSamePixels(*FromDib.Image(), *B->Image());
    Clipboard()->Close();
    EXPECT_EQ(guitest::EndTool(Tool), 0);
}

TEST_F(ClipboardX11, HtmlCopiedInXclipIsPastedWithItsDescriptionBlock)
{
    const UINT Html = RegisterClipboardFormat("HTML Format");
    const pid_t Tool = guitest::StartTool(
        Display,
        {"xclip", "-i", "-selection", "clipboard", "-t", "text/html", "-quiet", "-loops", "1"},
        "<p>pasted <i>page</i></p>");
    ASSERT_NE(Tool, 0);
    ASSERT_TRUE(PumpUntil([&] { return IsClipboardFormatAvailable(Html) != 0; }));
    Clipboard()->Open();
    const HANDLE Data = GetClipboardData(Html);
    ASSERT_NE(Data, 0u);
    const auto* Bytes = static_cast<const char*>(GlobalLock(Data));
    THtmlFormat Read;
    EXPECT_TRUE(ParseHtmlFormat(std::string(Bytes, GlobalSize(Data)), Read));
    GlobalUnlock(Data);
    Clipboard()->Close();
    EXPECT_EQ(Read.Fragment, "<p>pasted <i>page</i></p>");
    EXPECT_EQ(guitest::EndTool(Tool), 0);
}

} // namespace
