#include "platform/rtl/exceptions.h"
#include "platform/rtl/textfile.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>

namespace {

using TestSupport::ReadAll;
using TestSupport::WriteAll;

class TextFileTest : public TestSupport::TempFolderTest {
protected:
    static std::vector<std::string> ReadLines(const std::string& FileName)
    {
        TTextFile F;
        F.AssignFile(FileName);
        F.Reset();
        std::vector<std::string> Lines;
        while (!F.Eof()) {
            Lines.emplace_back();
            F.ReadLn(Lines.back());
        }
        F.CloseFile();
        return Lines;
    }
};

// Runs Action and expects EInOutError with Message and Code.
void ExpectInOutError(const std::function<void()>& Action, const std::string& Message, int Code)
{
    try {
        Action();
        ADD_FAILURE() << "no exception";
    } catch (const EInOutError& E) {
        EXPECT_EQ(E.Message(), Message);
        EXPECT_EQ(E.ErrorCode, Code);
    }
}

} // namespace

TEST_F(TextFileTest, ReaderSplitsAtCrLfCrOrLf)
{
    const std::string Long(64 * 1024 - 1, 'x'); // its CR LF straddles the first read
    struct Case {
        std::string Bytes;
        std::vector<std::string> Lines;
    };
    std::vector<Case> Cases = {
        {"", {}},
        {"one", {"one"}},
        {"one\r\ntwo\r\n", {"one", "two"}},
        {"a\nb\rc\r\n\r\nd", {"a", "b", "c", "", "d"}},
        {"\r\r\n\n", {"", "", ""}},
        {"a\n\r", {"a", ""}},
        {"a\r", {"a"}},
        {"tab\there \x01\xff\r\n", {"tab\there \x01\xff"}},
        {Long + "\r\nnext\r\n", {Long, "next"}},
        {Long + "yz\r\n", {Long + "yz"}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Bytes.substr(0, 20));
        WriteAll(Folder + "in.txt", C.Bytes);
        EXPECT_EQ(ReadLines(Folder + "in.txt"), C.Lines);
    }
}

TEST_F(TextFileTest, ReadLnAtTheEndGivesAnEmptyLine)
{
    WriteAll(Folder + "in.txt", "only\r\n");
    TTextFile F;
    F.AssignFile(Folder + "in.txt");
    F.Reset();
    std::string S = "stale";
    F.ReadLn(S);
    EXPECT_EQ(S, "only");
    EXPECT_TRUE(F.Eof());
    F.ReadLn(S);
    EXPECT_EQ(S, "");
    EXPECT_TRUE(F.Eof());
}

TEST_F(TextFileTest, RewriteEndsLinesWithCrLfAndReplacesTheFileAtClose)
{
    const std::string Name = Folder + "known.lst";
    WriteAll(Name, "old\r\n");
    std::string Expected;
    {
        TTextFile F;
        F.AssignFile(Name);
        F.Rewrite();
        for (int I = 0; I < 20000; ++I) { // more than one buffer
            F.WriteLn("spammer" + std::to_string(I) + "@example.com");
            Expected += "spammer" + std::to_string(I) + "@example.com\r\n";
        }
        F.WriteLn();
        Expected += "\r\n";
        EXPECT_EQ(ReadAll(Name), "old\r\n") << "the old file stays until the close";
        F.CloseFile();
        EXPECT_FALSE(F.IsOpen());
    }
    EXPECT_EQ(ReadAll(Name), Expected);

    {
        TTextFile F;
        F.AssignFile(Name);
        F.Rewrite();
        F.WriteLn("never closed");
    }
    EXPECT_EQ(ReadAll(Name), Expected) << "a rewrite that is not closed changes nothing";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder), {}), 1);
}

TEST_F(TextFileTest, AppendAddsLinesAtTheEndOnClose)
{
    const std::string Name = Folder + "logfile.txt";
    WriteAll(Name, "MAIL CHECK 1 msg(s)\r\n");
    TTextFile Log;
    Log.AssignFile(Name);
    Log.Append();
    Log.WriteLn("DELETE SPAM on Mon 1/2/2006 10:00 AM");
    Log.WriteLn("   Server:  pop.example.com Mailbox: user");
    EXPECT_EQ(ReadAll(Name), "MAIL CHECK 1 msg(s)\r\n") << "lines are buffered until the close";
    Log.CloseFile();
    EXPECT_EQ(ReadAll(Name), "MAIL CHECK 1 msg(s)\r\nDELETE SPAM on Mon 1/2/2006 10:00 AM\r\n"
                             "   Server:  pop.example.com Mailbox: user\r\n");

    {
        TTextFile Again;
        Again.AssignFile(Name);
        Again.Append();
        Again.WriteLn("Automatic mode enabled");
    }
    EXPECT_EQ(ReadLines(Name).back(), "Automatic mode enabled")
        << "an appender that goes away keeps its lines";
}

TEST_F(TextFileTest, FailuresRaiseInOutErrorWithErrno)
{
    ::mkdir((Folder + "sub").c_str(), 0777);
    WriteAll(Folder + "in.txt", "x\r\n");
    struct Case {
        const char* What;
        std::function<void(TTextFile&)> Action;
        std::string Message;
        int Code;
    };
    std::vector<Case> Cases = {
        {"reset of a missing file",
         [&](TTextFile& F) {
             F.AssignFile(Folder + "none.txt");
             F.Reset();
         },
         "Cannot open file \"" + Folder + "none.txt\". No such file or directory", ENOENT},
        {"append to a missing file",
         [&](TTextFile& F) {
             F.AssignFile(Folder + "none.txt");
             F.Append();
         },
         "Cannot open file \"" + Folder + "none.txt\". No such file or directory", ENOENT},
        {"rewrite in a missing folder",
         [&](TTextFile& F) {
             F.AssignFile(Folder + "no/new.txt");
             F.Rewrite();
         },
         "Cannot create file \"" + Folder + "no/new.txt\". No such file or directory", ENOENT},
        {"reset of a folder",
         [&](TTextFile& F) {
             F.AssignFile(Folder + "sub");
             F.Reset();
         },
         "Cannot open file \"" + Folder + "sub\". Is a directory", EISDIR},
        {"append to a full device",
         [](TTextFile& F) {
             F.AssignFile("/dev/full");
             F.Append();
             F.WriteLn("lost");
             F.CloseFile();
         },
         "Cannot write file \"/dev/full\". No space left on device", ENOSPC},
        {"read when closed",
         [](TTextFile& F) {
             std::string S;
             F.ReadLn(S);
         },
         "File not open", EBADF},
        {"write when closed", [](TTextFile& F) { F.WriteLn("x"); }, "File not open", EBADF},
        {"write to a reader",
         [&](TTextFile& F) {
             F.AssignFile(Folder + "in.txt");
             F.Reset();
             F.WriteLn("x");
         },
         "File not open for output", EBADF},
        {"read from a writer",
         [&](TTextFile& F) {
             F.AssignFile(Folder + "out.txt");
             F.Rewrite();
             F.Eof();
         },
         "File not open for input", EBADF},
        {"assign while open",
         [&](TTextFile& F) {
             F.AssignFile(Folder + "in.txt");
             F.Reset();
             F.AssignFile(Folder + "other.txt");
         },
         "File already open", EBUSY},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.What);
        TTextFile F;
        ExpectInOutError([&] { C.Action(F); }, C.Message, C.Code);
    }
    EXPECT_FALSE(std::filesystem::exists(Folder + "out.txt"));
}
