// tests/mail/msutils_test.cpp: quotes, tokens, header parameters, media types, saving lines and
// the coders' message pump.
#include "mail/msutils.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/window.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

TEST(MailStrings, UnquoteTrimsAndDropsOuterQuotes)
{
    EXPECT_EQ(Unquote("  \"John Doe\"  "), "John Doe");
    EXPECT_EQ(Unquote("\"\"a\"b\"\""), "a\"b");
    EXPECT_EQ(Unquote("\" spaced \""), " spaced ");
    EXPECT_EQ(Unquote("\"\"\""), "");
    EXPECT_EQ(Unquote(""), "");
}

TEST(MailStrings, GetTokenSkipsSpaceSeparatedWords)
{
    struct Case {
        std::string Text;
        int Skip;
        bool FirstOnly;
        std::string Token;
    };
    const std::vector<Case> Cases = {
        {"+OK 1 abc-uid", 2, true, "abc-uid"},
        {"+OK 1 abc def", 2, false, "abc def"},
        {"+OK  1   abc", 2, true, "abc"},
        {"HTTP/1.0 200 OK", 1, true, "200"},
        {"one", 1, true, ""},
        {"one two", 0, true, "one"},
        {"", 0, false, ""},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(GetToken(C.Text, C.Skip, C.FirstOnly), C.Token) << C.Text;
    EXPECT_EQ(GetTokenInt("HTTP/1.0 404 Not Found", 1), 404);
    EXPECT_EQ(GetTokenInt("HTTP/1.0 abc", 1), -1);
    EXPECT_EQ(GetTokenInt("HTTP/1.0", 1), -1);
}

TEST(MailStrings, GetParamValueReadsWholeParameterNames)
{
    struct Case {
        std::string Name;
        std::string Text;
        std::string Value;
    };
    const std::vector<Case> Cases = {
        {"boundary", "multipart/mixed; boundary=\"----=_Part 1\"", "----=_Part 1"},
        {"Boundary", "multipart/mixed; BOUNDARY=abc", "abc"},
        {"charset", "text/plain; charset=us-ascii; format=flowed", "us-ascii"},
        {"charset", "text/plain; charset=us-ascii;format=flowed", "us-ascii"},
        {"charset", "text/plain; charset = \"iso-8859-1\" ", "iso-8859-1"},
        {"name", "application/pdf; name=\"a b.pdf\"", "a b.pdf"},
        {"name", "attachment; filename=\"x.pdf\"", ""}, // not inside another name
        {"filename", "attachment; filename=\"x.pdf\"", "x.pdf"},
        {"name", "application/pdf; name=\"unclosed", "unclosed"},
        {"name", "text/plain", ""},
        {"name", "text/plain; name=", ""},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(GetParamValue(C.Name, C.Text), C.Value) << C.Name << " in " << C.Text;
}

TEST(MailStrings, FirstWordIsTheMediaType)
{
    EXPECT_EQ(FirstWord("text/plain; charset=x"), "text/plain");
    EXPECT_EQ(FirstWord("text/html;charset=x"), "text/html");
    EXPECT_EQ(FirstWord("  image/gif name=x"), "image/gif");
    EXPECT_EQ(FirstWord(""), "");
}

class MimeTypes : public TestSupport::TempFolderTest {
protected:
    void SetUp() override { ::setenv("TARNWICK_REGISTRY", Folder.c_str(), 1); }
    void TearDown() override { ::unsetenv("TARNWICK_REGISTRY"); }
};

TEST_F(MimeTypes, ComeFromTheBuiltInTableUnlessTheStoreSaysOtherwise)
{
    struct Case {
        std::string FileName;
        std::string Type;
    };
    const std::vector<Case> Cases = {
        {"report.pdf", "application/pdf"},
        {"/tmp/PICTURE.JPG", "image/jpeg"},
        {"page.htm", "text/html"},
        {"notes.txt", "text/plain"},
        {"archive.tar.gz", "application/x-gzip"},
        {"unknown.zzz", "application/octet-stream"},
        {"noextension", "application/octet-stream"},
        {".profile", "application/octet-stream"},
        {"", "application/octet-stream"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(GetMimeType(C.FileName), C.Type) << C.FileName;

    TRegistry Registry;
    Registry.SetRootKey(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(Registry.OpenKey("\\.pdf", true));
    Registry.WriteString("Content Type", "application/x-own-pdf");
    ASSERT_TRUE(Registry.OpenKey("\\.own", true));
    Registry.WriteString("Content Type", "text/x-own");
    ASSERT_TRUE(Registry.OpenKey("\\.empty", true));
    Registry.WriteString("Content Type", "");
    ASSERT_TRUE(Registry.OpenKey("\\.number", true));
    Registry.WriteInteger("Content Type", 5);
    EXPECT_EQ(GetMimeType("a.pdf"), "application/x-own-pdf");
    EXPECT_EQ(GetMimeType("a.OWN"), "text/x-own");
    EXPECT_EQ(GetMimeType("a.empty"), "application/octet-stream");
    EXPECT_EQ(GetMimeType("a.number"), "application/octet-stream");
}

using SaveStrings = TestSupport::TempFolderTest;

TEST_F(SaveStrings, CreatesTheFolderAndEndsEveryLineWithCrLf)
{
    TStringList List;
    List.Add("first");
    List.Add("");
    List.Add("last");
    const std::string FileName = Folder + "a/b/log.txt";
    SaveStringsToFile(&List, FileName);
    EXPECT_EQ(TestSupport::ReadAll(FileName), "first\r\n\r\nlast\r\n");
    List.Clear();
    SaveStringsToFile(&List, FileName);
    EXPECT_EQ(TestSupport::ReadAll(FileName), "");
}

TEST_F(SaveStrings, RaisesAnIOErrorWhenTheFileCannotBeWritten)
{
    TestSupport::WriteAll(Folder + "plain", "x");
    TStringList List;
    List.Add("x");
    EXPECT_THROW(SaveStringsToFile(&List, Folder + "plain/sub/log.txt"), EInOutError);
    EXPECT_THROW(SaveStringsToFile(&List, Folder + "plain/log.txt"), EInOutError);
}

TEST(MessagePump, HandlesWhatIsWaitingOnlyWhenThereIsAnApplication)
{
    TWndClass Class;
    if (!GetClassInfo("TPumpProbe", Class)) {
        Class.ClassName = "TPumpProbe";
        RegisterClass(Class);
    }
    const HWND Wnd = CreateWindowEx(0, "TPumpProbe", "", WS_POPUP, 0, 0, 10, 10, 0);
    int Handled = 0;
    SetWindowProc(Wnd, [&](HWND W, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
        if (Msg == WM_USER)
            ++Handled;
        return DefWindowProc(W, Msg, WParam, LParam);
    });
    ASSERT_EQ(Application, nullptr);
    PostMessage(Wnd, WM_USER, 0, 0);
    PostMessage(Wnd, WM_USER, 1, 0);
    PumpMessages();
    EXPECT_EQ(Handled, 0);
    {
        TApplication App(nullptr);
        Application = &App; // the program's; the destructor clears it
        PumpMessages();
        EXPECT_EQ(Handled, 2);
    }
    DestroyWindow(Wnd);
}
