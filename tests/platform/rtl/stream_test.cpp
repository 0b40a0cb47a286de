#include "platform/rtl/exceptions.h"
#include "platform/rtl/stream.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sys/stat.h>

namespace {

using StreamTest = TestSupport::TempFolderTest;
using TestSupport::ReadAll;
using TestSupport::WriteAll;

std::string Bytes(TStream& Stream)
{
    std::string Result(static_cast<size_t>(Stream.Size()), '\0');
    Stream.SetPosition(0);
    Stream.ReadBuffer(Result.data(), static_cast<int64_t>(Result.size()));
    return Result;
}

// Each kind of stream, made over the contents "abcdef".
struct StreamKind {
    const char* Name;
    std::function<std::unique_ptr<TStream>(const std::string& Folder)> Make;
};

std::vector<StreamKind> Kinds()
{
    return {
        {"memory",
         [](const std::string&) {
             auto S = std::make_unique<TMemoryStream>();
             S->WriteBuffer("abcdef", 6);
             return std::unique_ptr<TStream>(std::move(S));
         }},
        {"string",
         [](const std::string&) { return std::unique_ptr<TStream>(new TStringStream("abcdef")); }},
        {"file",
         [](const std::string& Folder) {
             auto S = std::make_unique<TFileStream>(Folder + "kind.bin", fmCreate);
             S->WriteBuffer("abcdef", 6);
             return std::unique_ptr<TStream>(std::move(S));
         }},
    };
}

} // namespace

TEST_F(StreamTest, EveryKindFollowsTheSamePositionRules)
{
    struct Case {
        int64_t Offset;
        TSeekOrigin Origin;
        int64_t Position; // -1: raises EStreamError
        int64_t Read;     // bytes a read of 4 returns there
    };
    // Each seek starts from position 2.
    std::vector<Case> Cases = {
        {0, soBeginning, 0, 4}, {1, soCurrent, 3, 3},     {-2, soCurrent, 0, 4},
        {-1, soEnd, 5, 1},      {0, soEnd, 6, 0},         {10, soBeginning, 10, 0},
        {4, soEnd, 10, 0},      {-1, soBeginning, -1, 0}, {-3, soCurrent, -1, 0},
        {-7, soEnd, -1, 0},
    };
    for (const auto& Kind : Kinds()) {
        for (const auto& C : Cases) {
            SCOPED_TRACE(std::string(Kind.Name) + " offset " + std::to_string(C.Offset) +
                         " origin " + std::to_string(C.Origin));
            auto Stream = Kind.Make(Folder);
            Stream->SetPosition(2);
            if (C.Position < 0) {
                EXPECT_THROW(Stream->Seek(C.Offset, C.Origin), EStreamError);
                continue;
            }
            EXPECT_EQ(Stream->Seek(C.Offset, C.Origin), C.Position);
            char Buffer[4];
            EXPECT_EQ(Stream->Read(Buffer, 4), C.Read);
            EXPECT_EQ(Stream->Position(), C.Position + C.Read);
            EXPECT_EQ(Stream->Size(), 6);
        }
    }
}

TEST_F(StreamTest, EveryKindFillsAGapWithZerosAndResizes)
{
    for (const auto& Kind : Kinds()) {
        SCOPED_TRACE(Kind.Name);
        auto Stream = Kind.Make(Folder);
        Stream->Seek(2, soEnd);
        Stream->WriteBuffer("xy", 2);
        EXPECT_EQ(Bytes(*Stream), std::string("abcdef\0\0xy", 10));

        Stream->SetPosition(1);
        Stream->WriteBuffer("Z", 1);
        EXPECT_EQ(Stream->Position(), 2);
        EXPECT_EQ(Bytes(*Stream), std::string("aZcdef\0\0xy", 10));

        Stream->SetPosition(9);
        Stream->SetSize(3);
        EXPECT_EQ(Stream->Position(), 3) << "a position past the new end moves to it";
        Stream->SetPosition(1);
        Stream->SetSize(5);
        EXPECT_EQ(Stream->Position(), 1);
        EXPECT_EQ(Bytes(*Stream), std::string("aZc\0\0", 5));
    }
}

TEST_F(StreamTest, ShortReadsAndWritesRaiseFromTheBufferCalls)
{
    TMemoryStream Stream;
    Stream.WriteBuffer("abc", 3);
    Stream.SetPosition(1);
    char Buffer[8];
    try {
        Stream.ReadBuffer(Buffer, 3);
        FAIL() << "no exception";
    } catch (const EReadError& E) {
        EXPECT_EQ(E.Message(), "Stream read error");
    }
    Stream.SetPosition(0);
    EXPECT_NO_THROW(Stream.ReadBuffer(Buffer, 3));
    EXPECT_NO_THROW(Stream.ReadBuffer(Buffer, 0));

    // A device that is always full.
    TFileStream Full("/dev/full", fmOpenWrite);
    try {
        Full.WriteBuffer("abc", 3);
        FAIL() << "no exception";
    } catch (const EWriteError& E) {
        EXPECT_EQ(E.Message(), "Stream write error. No space left on device");
    }
}

TEST_F(StreamTest, CopyFromTakesCountBytesOrTheWholeSource)
{
    TStringStream Source("0123456789");
    struct Case {
        int64_t SourcePosition;
        int64_t Count;
        std::string Copied;
    };
    std::vector<Case> Cases = {
        {3, 4, "3456"},
        {7, 0, "0123456789"}, // 0: all of it, from its start
        {5, -1, "0123456789"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Count);
        TMemoryStream Dest;
        Dest.WriteBuffer(">", 1);
        Source.SetPosition(C.SourcePosition);
        EXPECT_EQ(Dest.CopyFrom(&Source, C.Count), static_cast<int64_t>(C.Copied.size()));
        EXPECT_EQ(Bytes(Dest), ">" + C.Copied);
    }

    TMemoryStream Dest;
    Source.SetPosition(8);
    EXPECT_THROW(Dest.CopyFrom(&Source, 5), EReadError);

    // Larger than the copy buffer.
    std::string Big(200000, '\0');
    for (size_t I = 0; I < Big.size(); ++I)
        Big[I] = static_cast<char>(I * 7);
    TStringStream BigSource(Big);
    TFileStream File(Folder + "big.bin", fmCreate);
    File.CopyFrom(&BigSource, 0);
    EXPECT_EQ(ReadAll(Folder + "big.bin"), Big);
}

TEST_F(StreamTest, StringStreamReadsAndOverwritesItsString)
{
    TStringStream Stream("Hello, world");
    EXPECT_EQ(Stream.ReadString(5), "Hello");
    EXPECT_EQ(Stream.ReadString(100), ", world");
    EXPECT_EQ(Stream.ReadString(1), "");
    Stream.SetPosition(7);
    Stream.WriteString("W");
    EXPECT_EQ(Stream.DataString(), "Hello, World") << "a write in the middle keeps the rest";
    Stream.Seek(0, soEnd);
    Stream.WriteString("!\n");
    EXPECT_EQ(Stream.DataString(), "Hello, World!\n");
    EXPECT_EQ(Stream.Position(), 14);
}

TEST_F(StreamTest, MemoryStreamRoundTripsThroughFilesAndStreams)
{
    const std::string Data("bin\0ary\r\n\xff", 11);
    TMemoryStream Stream;
    Stream.WriteBuffer(Data.data(), static_cast<int64_t>(Data.size()));
    Stream.SaveToFile(Folder + "data.bin");
    EXPECT_EQ(ReadAll(Folder + "data.bin"), Data);

    TMemoryStream Loaded;
    Loaded.WriteBuffer("old contents that are longer", 28);
    Loaded.LoadFromFile(Folder + "data.bin");
    EXPECT_EQ(Loaded.Position(), 0);
    EXPECT_EQ(std::string(static_cast<const char*>(Loaded.Memory()), Loaded.Size()), Data);

    TStringStream Text("prefix:");
    Text.Seek(0, soEnd);
    Loaded.SetPosition(4);
    Loaded.SaveToStream(&Text);
    EXPECT_EQ(Text.DataString(), "prefix:" + Data) << "saves all of it, whatever the position";

    Text.SetPosition(3);
    TMemoryStream FromText;
    FromText.LoadFromStream(&Text);
    EXPECT_EQ(Bytes(FromText), "prefix:" + Data);

    FromText.Clear();
    EXPECT_EQ(FromText.Size(), 0);
    EXPECT_EQ(FromText.Position(), 0);
}

TEST_F(StreamTest, FileStreamModesOpenCreateAndKeepContents)
{
    const std::string Name = Folder + "modes.txt";
    {
        TFileStream Create(Name, fmCreate | fmShareExclusive);
        Create.WriteBuffer("first version", 13);
        EXPECT_EQ(Create.FileName(), Name);
    }
    {
        TFileStream Edit(Name, fmOpenReadWrite | fmShareDenyWrite);
        EXPECT_EQ(Edit.Size(), 13);
        Edit.WriteBuffer("FIRST", 5);
    }
    EXPECT_EQ(ReadAll(Name), "FIRST version");
    {
        TFileStream Read(Name, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(Bytes(Read), "FIRST version");
        EXPECT_THROW(Read.WriteBuffer("x", 1), EWriteError);
    }
    {
        TFileStream Write(Name, fmOpenWrite);
        char C;
        EXPECT_THROW(Write.Read(&C, 1), EReadError);
    }
    {
        TFileStream Again(Name, fmCreate);
        EXPECT_EQ(Again.Size(), 0) << "fmCreate empties an existing file";
    }
}

TEST_F(StreamTest, FileStreamErrorsNameTheFileAndTheReason)
{
    ::mkdir((Folder + "sub").c_str(), 0777);
    WriteAll(Folder + "locked.txt", "x");
    ::chmod((Folder + "locked.txt").c_str(), 0444);
    bool Root = ::geteuid() == 0;

    struct Case {
        std::string Name;
        unsigned Mode;
        bool Create; // EFCreateError rather than EFOpenError
        std::string Reason;
    };
    std::vector<Case> Cases = {
        {"missing.txt", fmOpenRead | fmShareDenyWrite, false, "No such file or directory"},
        {"missing.txt", fmOpenReadWrite, false, "No such file or directory"},
        {"nofolder/new.txt", fmCreate, true, "No such file or directory"},
        {"sub", fmOpenRead, false, "Is a directory"},
        {"sub", fmCreate, true, "Is a directory"},
        {"locked.txt", fmOpenWrite, false, "Permission denied"},
    };
    for (const auto& C : Cases) {
        if (Root && C.Reason == "Permission denied")
            continue;
        SCOPED_TRACE(C.Name);
        std::string Expected = std::string(C.Create ? "Cannot create file" : "Cannot open file") +
                               " \"" + Folder + C.Name + "\". " + C.Reason;
        try {
            TFileStream Stream(Folder + C.Name, C.Mode);
            ADD_FAILURE() << "no exception";
        } catch (const EFCreateError& E) {
            EXPECT_TRUE(C.Create);
            EXPECT_EQ(E.Message(), Expected);
        } catch (const EFOpenError& E) {
            EXPECT_FALSE(C.Create);
            EXPECT_EQ(E.Message(), Expected);
        }
    }
}
