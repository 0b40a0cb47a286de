// Tests of the data file lists and web pages travel in: file-drop blocks, uri-lists and the
// "HTML Format" description block, above all with data another program got wrong.
#include "platform/ui/shelldata.h"

#include "tests/support/globalblocks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using TFiles = std::vector<std::string>;

std::string Le32(std::uint32_t Value)
{
    std::string Out;
    for (int I = 0; I < 4; ++I)
        Out += static_cast<char>((Value >> (8 * I)) & 0xFF);
    return Out;
}

// A header with the given offset and width flag.
std::string Header(std::uint32_t Files, bool Wide)
{
    return Le32(Files) + Le32(0) + Le32(0) + Le32(0) + Le32(Wide ? 1 : 0);
}

TEST(ShellData, DropFilesRoundTripInBothWidths)
{
    const TFiles Files = {"/tmp/a.csv", "/home/u/Gr\xc3\xbc\xc3\x9f \xf0\x9f\x98\x80.xls"};
    for (bool Wide : {false, true}) {
        SCOPED_TRACE(Wide ? "wide" : "ansi");
        const std::string Bytes = BuildDropFiles(Files, Wide, TPoint{7, 9});
        EXPECT_EQ(Bytes.substr(0, 4), Le32(20));
        EXPECT_EQ(Bytes.substr(16, 4), Le32(Wide ? 1 : 0));
        EXPECT_EQ(Bytes.substr(Bytes.size() - (Wide ? 4 : 2)), std::string(Wide ? 4 : 2, '\0'))
            << "the list ends in an empty name";
        EXPECT_EQ(ReadDropFiles(Bytes.data(), Bytes.size()), Files);
    }
}

TEST(ShellData, MalformedDropFilesReadOnlyWhatLiesInside)
{
    struct TCase {
        const char* Name;
        std::string Bytes;
        TFiles Expected;
    };
    const std::vector<TCase> Cases = {
        {"empty", "", {}},
        {"header cut short", Header(20, false).substr(0, 19), {}},
        {"offset past the data", Header(400, false) + std::string("/a\0\0", 4), {}},
        {"offset just past the end", Header(25, false) + std::string("/a\0\0", 4), {}},
        {"offset inside the header", Header(4, false) + std::string("/a\0\0", 4), {}},
        {"offset at the very end", Header(24, false) + std::string("/a\0\0", 4), {}},
        {"no names", Header(20, false) + std::string(1, '\0'), {}},
        {"name without its NUL", Header(20, false) + "/a", {}},
        {"second name unterminated", Header(20, false) + std::string("/a\0/b", 5), {"/a"}},
        {"list without its end", Header(20, false) + std::string("/a\0/b\0", 6), {"/a", "/b"}},
        {"wide name of an odd length", Header(20, true) + std::string("/\0a", 3), {}},
        {"wide lone surrogate",
         Header(20, true) + std::string("/\0\x00\xD8\0\0\0\0", 8),
         {"/\xef\xbf\xbd"}},
        {"names start later", Header(24, false) + "junk" + std::string("/c\0\0", 4), {"/c"}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_EQ(ReadDropFiles(Case.Bytes.data(), Case.Bytes.size()), Case.Expected);
    }
}

class DragQueryTest : public TestSupport::TGlobalBlocksTest {};

TEST_F(DragQueryTest, DragQueryFileCountsCopiesAndCutsNames)
{
    const HDROP Drop = CreateDropFiles({"/tmp/one", "/tmp/\xc3\xa4two"});
    ASSERT_NE(Drop, 0u);
    EXPECT_EQ(DragQueryFile(Drop, 0xFFFFFFFFu, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFile(Drop, 1, nullptr, 0), 10u) << "bytes of UTF-8, without the NUL";
    char Buffer[64];
    EXPECT_EQ(DragQueryFile(Drop, 1, Buffer, sizeof Buffer), 10u);
    EXPECT_STREQ(Buffer, "/tmp/\xc3\xa4two");
    EXPECT_EQ(DragQueryFile(Drop, 0, Buffer, 5), 4u);
    EXPECT_STREQ(Buffer, "/tmp");
    EXPECT_EQ(DragQueryFile(Drop, 2, Buffer, sizeof Buffer), 0u);
    TPoint Point{1, 1};
    EXPECT_TRUE(DragQueryPoint(Drop, &Point));
    EXPECT_EQ(Point.X, 0);
    DragFinish(Drop);
    EXPECT_EQ(DragQueryFile(Drop, 0xFFFFFFFFu, nullptr, 0), 0u) << "a freed block";
}

TEST(ShellData, UriListGivesLocalFilePaths)
{
    struct TCase {
        const char* Name;
        std::string Text;
        TFiles Expected;
    };
    const std::vector<TCase> Cases = {
        {"plain, CRLF", "file:///tmp/a.txt\r\nfile:///tmp/b.txt\r\n", {"/tmp/a.txt", "/tmp/b.txt"}},
        {"LF and no last end", "file:///tmp/a\nfile:///tmp/b", {"/tmp/a", "/tmp/b"}},
        {"percent-decoded",
         "file:///tmp/with%20space/%C3%A4%25.txt",
         {"/tmp/with space/\xc3\xa4%.txt"}},
        {"localhost", "file://localhost/etc/hosts\r\n", {"/etc/hosts"}},
        {"scheme case", "FILE:///x\r\n", {"/x"}},
        {"single slash", "file:/x/y\r\n", {"/x/y"}},
        {"comments skipped", "# a comment\r\nfile:///x\r\n#file:///y\r\n", {"/x"}},
        {"other schemes ignored",
         "http://example.org/a\r\nsmb://host/share\r\nfile:///z\r\n",
         {"/z"}},
        {"another host ignored", "file://elsewhere.example/etc/passwd\r\n", {}},
        {"bad escape ignored", "file:///a%zz\r\nfile:///a%4\r\nfile:///ok\r\n", {"/ok"}},
        {"encoded NUL ignored", "file:///a%00b\r\n", {}},
        {"raw NUL ignored", std::string("file:///a\0b\r\nfile:///c\r\n", 24), {"/c"}},
        {"relative path ignored", "file:relative\r\n", {}},
        {"no path", "file://\r\nfile://host\r\n", {}},
        {"fragment cut", "file:///a/b#frag\r\n", {"/a/b"}},
        {"blank lines and spaces", "\r\n  file:///s  \r\n\r\n", {"/s"}},
        {"empty", "", {}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_EQ(ParseUriList(Case.Text), Case.Expected);
    }
}

TEST(ShellData, UriListBuildsEscapedFileUris)
{
    const TFiles Paths = {"/tmp/a b/\xc3\xa4#%.txt", "relative/skipped", "/plain-._~"};
    const std::string Text = BuildUriList(Paths);
    EXPECT_EQ(Text, "file:///tmp/a%20b/%C3%A4%23%25.txt\r\nfile:///plain-._~\r\n");
    EXPECT_EQ(ParseUriList(Text), (TFiles{Paths[0], Paths[2]}));
}

TEST(ShellData, HtmlFormatBlockOffsetsPointAtDocumentAndFragment)
{
    struct TCase {
        const char* Name;
        std::string Html;
        std::string Fragment;
    };
    const std::vector<TCase> Cases = {
        {"bare fragment", "<b>bold</b>", "<b>bold</b>"},
        {"document", "<html><BODY class=x><p>one</p></body></html>", "<p>one</p>"},
        {"marked", "<html><body>x<!--StartFragment--><i>y</i><!--EndFragment--></body></html>",
         "<i>y</i>"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const std::string Block = BuildHtmlFormat(Case.Html, "http://a.example/\r\nx");
        ASSERT_EQ(Block.rfind("Version:0.9\r\nStartHTML:", 0), 0u);
        THtmlFormat Read;
        ASSERT_TRUE(ParseHtmlFormat(Block + '\0' + "trailing junk", Read));
        EXPECT_EQ(Read.Fragment, Case.Fragment);
        EXPECT_NE(Read.Html.find(Case.Fragment), std::string::npos);
        EXPECT_EQ(Read.Html.rfind("<", 0), 0u) << "the document starts right after the block";
        EXPECT_EQ(Read.SourceURL, "http://a.example/x") << "no line breaks in the block";
        // Taken off and put on again, the document stays the same.
        THtmlFormat Again;
        ASSERT_TRUE(ParseHtmlFormat(BuildHtmlFormat(Read.Html), Again));
        EXPECT_EQ(Again.Html, Read.Html);
    }
}

TEST(ShellData, HtmlFormatBlockWithBadOffsetsIsRefused)
{
    const auto Block = [](const std::string& Values, const std::string& Body) {
        return "Version:0.9\r\n" + Values + Body;
    };
    // The block is 105 bytes long with four ten-digit values; the document 27.
    const std::string Doc = "<html><body>x</body></html>";
    struct TCase {
        const char* Name;
        std::string Data;
        bool Valid;
    };
    const std::vector<TCase> Cases = {
        {"good",
         Block("StartHTML:0000000105\r\nEndHTML:0000000132\r\nStartFragment:0000000117\r\n"
               "EndFragment:0000000118\r\n",
               Doc),
         true},
        {"end past the data",
         Block("StartHTML:0000000105\r\nEndHTML:0000999999\r\nStartFragment:0000000117\r\n"
               "EndFragment:0000000118\r\n",
               Doc),
         false},
        {"fragment past the data",
         Block("StartHTML:0000000105\r\nEndHTML:0000000132\r\nStartFragment:0000000117\r\n"
               "EndFragment:0000000133\r\n",
               Doc),
         false},
        {"end before start",
         Block("StartHTML:0000000105\r\nEndHTML:0000000132\r\nStartFragment:0000000118\r\n"
               "EndFragment:0000000117\r\n",
               Doc),
         false},
        {"inside the block",
         Block("StartHTML:0000000000\r\nEndHTML:0000000132\r\nStartFragment:0000000117\r\n"
               "EndFragment:0000000118\r\n",
               Doc),
         false},
        {"negative fragment",
         Block("StartHTML:-1\r\nEndHTML:-1\r\nStartFragment:-5\r\nEndFragment:0000000118\r\n", Doc),
         false},
        {"huge number",
         Block(
             "StartHTML:0000000105\r\nEndHTML:99999999999999999999\r\nStartFragment:0000000117\r\n"
             "EndFragment:0000000118\r\n",
             Doc),
         false},
        {"not a number",
         Block("StartHTML:00000000x9\r\nEndHTML:0000000132\r\nStartFragment:0000000117\r\n"
               "EndFragment:0000000118\r\n",
               Doc),
         false},
        {"no fragment", Block("StartHTML:0000000105\r\nEndHTML:0000000132\r\n", Doc), false},
        {"cut at a NUL",
         Block("StartHTML:0000000105\r\nEndHTML:0000000132\r\nStartFragment:0000000117\r\n"
               "EndFragment:0000000118\r\n",
               std::string("<html>\0<body>x</body></html>", 28)),
         false},
        {"empty", "", false},
        {"text only", "just some text", false},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        THtmlFormat Read;
        Read.Html = "untouched";
        EXPECT_EQ(ParseHtmlFormat(Case.Data, Read), Case.Valid);
        if (Case.Valid)
            EXPECT_EQ(Read.Html, Doc);
        else
            EXPECT_EQ(Read.Html, "untouched");
    }
}

TEST(ShellData, HtmlFormatWithoutDocumentOffsetsGivesTheFragment)
{
    const std::string Data =
        "Version:1.0\r\nStartHTML:-1\r\nEndHTML:-1\r\nStartFragment:0000000089\r\n"
        "EndFragment:0000000098\r\n<b>hi</b>";
    THtmlFormat Read;
    ASSERT_TRUE(ParseHtmlFormat(Data, Read));
    EXPECT_EQ(Read.Fragment, "<b>hi</b>");
    EXPECT_EQ(Read.Html, Read.Fragment);
}

TEST(ShellData, Utf16ConversionsKeepEveryCharacter)
{
    const std::string Text = "a\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80";
    const std::string Wide = Utf8ToUtf16Le(Text);
    EXPECT_EQ(Wide.size(), 2u * 5);
    EXPECT_EQ(Utf16LeToUtf8(Wide.data(), Wide.size()), Text);
    EXPECT_EQ(Utf8ToUtf16Le("\xff"), std::string("\xfd\xff", 2)) << "an invalid byte";
}

} // namespace
