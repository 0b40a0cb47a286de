// The text-file editor: files come back byte for byte, line ends become CR LF, long lines become
// paragraphs, the backup, and failures that lose nothing.
#include "controls/entry/ovctfedit.h"

#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcexcpt.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/files.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

class TextFileEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char Template[] = "/tmp/tfeditXXXXXX";
        Dir = ::mkdtemp(Template);
        Form = ShownForm(&App, 400, 300);
        new TOvcController(Form);
        Ed = new TOvcTextFileEditor(Form);
        Ed->SetParent(Form);
        Ed->SetBounds(10, 10, 300, 200);
        Pump();
    }
    void TearDown() override
    {
        delete Form;
        std::system(("rm -rf " + Dir).c_str());
    }

    std::string Path(const std::string& Name) const { return Dir + "/" + Name; }
    static void Write(const std::string& File, const std::string& Bytes)
    {
        std::ofstream(File, std::ios::binary) << Bytes;
    }
    static std::string Read(const std::string& File)
    {
        std::ifstream In(File, std::ios::binary);
        std::ostringstream S;
        S << In.rdbuf();
        return S.str();
    }
    std::string RoundTrip(const std::string& Bytes)
    {
        Write(Path("t.txt"), Bytes);
        Ed->LoadFromFile(Path("t.txt"));
        Ed->SaveToFile(Path("t.txt"));
        return Read(Path("t.txt"));
    }

    TDeterministicFonts Fonts;
    TTestApplication App;
    std::string Dir;
    TForm* Form = nullptr;
    TOvcTextFileEditor* Ed = nullptr;
};

} // namespace

TEST_F(TextFileEditorTest, CrLfFilesComeBackByteForByte)
{
    Ed->SetTrimWhiteSpace(false);
    const std::vector<std::string> Files = {
        "a\r\nb\r\nc\r\n",
        "\tindented\r\nmid\ttab \r\n\r\n",
        "8-bit \xE9\xFF\x80 bytes\r\n\xC3\xA9t\xC3\xA9\r\n",
        std::string(32767, 'x') + "\r\nnext\r\n",
        "",
    };
    for (const std::string& File : Files) {
        SCOPED_TRACE(File.substr(0, 20));
        EXPECT_EQ(RoundTrip(File), File);
        EXPECT_TRUE(Ed->IsOpen());
        EXPECT_FALSE(Ed->Modified());
    }
}

TEST_F(TextFileEditorTest, OtherLineEndsComeBackAsCrLf)
{
    EXPECT_EQ(RoundTrip("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(RoundTrip("a\rb\r"), "a\r\nb\r\n");
    EXPECT_EQ(RoundTrip("a\nb"), "a\r\nb\r\n");
}

TEST_F(TextFileEditorTest, ThreeLinesGiveFourScreenLines)
{
    Write(Path("three.txt"), "a\r\nb\r\nc\r\n");
    Ed->LoadFromFile(Path("three.txt"));
    EXPECT_EQ(Ed->LineCount(), 4);
    EXPECT_EQ(Ed->Lines(4), "");
    EXPECT_THROW(Ed->Lines(5), EInvalidLineOrPara);
}

TEST_F(TextFileEditorTest, LongLinesAreCutIntoParagraphsNothingSkipped)
{
    Ed->SetParaLengthLimit(10);
    Write(Path("w.txt"), "abcd efgh ijkl\r\n");
    Ed->LoadFromFile(Path("w.txt"));
    EXPECT_EQ(Ed->GetPara(1), "abcd efgh");
    EXPECT_EQ(Ed->GetPara(2), "ijkl");

    Ed->SetParaLengthLimit(32767);
    const std::string Long = std::string(32767, 'a') + std::string(100, 'b');
    Write(Path("long.txt"), Long + "\r\n");
    Ed->LoadFromFile(Path("long.txt"));
    EXPECT_EQ(Ed->GetPara(1), std::string(32767, 'a'));
    EXPECT_EQ(Ed->GetPara(2), std::string(100, 'b'));
}

TEST_F(TextFileEditorTest, SavingKeepsTabsAndBlanksControlBytes)
{
    Ed->SetTrimWhiteSpace(false);
    Write(Path("c.txt"), std::string("a\tb\x01\x08\x0Bz\r\n", 9));
    Ed->LoadFromFile(Path("c.txt"));
    Ed->SaveToFile(Path("c.txt"));
    EXPECT_EQ(Read(Path("c.txt")), std::string("a\tb  \x0Bz\r\n", 9));
}

TEST_F(TextFileEditorTest, MakeBackupKeepsThePreviousFile)
{
    Write(Path("list.txt"), "old\r\n");
    Write(Path("list.BAK"), "older\r\n");
    Ed->SetMakeBackup(true);
    Ed->LoadFromFile(Path("list.txt"));
    Ed->InsertString("new ");
    Ed->SaveToFile(Path("list.txt"));
    EXPECT_EQ(Read(Path("list.txt")), "new old\r\n");
    EXPECT_EQ(Read(Path("list.BAK")), "old\r\n");
    EXPECT_FALSE(FileExists(Path("list.BAK.old~")));
    Ed->SetMakeBackup(false);
    Ed->InsertString("x");
    Ed->SaveToFile(Path("list.txt"));
    EXPECT_EQ(Read(Path("list.BAK")), "old\r\n");
}

TEST_F(TextFileEditorTest, AnUnreadableFileRaisesAndClosesTheEditor)
{
    EXPECT_THROW(Ed->LoadFromFile(Path("missing.txt")), EInOutError);
    EXPECT_FALSE(Ed->IsOpen());
    EXPECT_THROW(Ed->LoadFromFile(Dir), EInOutError);
}

TEST_F(TextFileEditorTest, AFailedSaveLosesNothing)
{
    Write(Path("keep.txt"), "keep\r\n");
    Write(Path("keep.BAK"), "backup\r\n");
    Ed->SetMakeBackup(true);
    Ed->LoadFromFile(Path("keep.txt"));
    Ed->InsertString("changed ");
    ASSERT_TRUE(Ed->Modified());
    EXPECT_THROW(Ed->SaveToFile(Path("nofolder/keep.txt")), EInOutError);
    // A folder where the file should be cannot be replaced by a file.
    ForceDirectories(Path("adir.txt"));
    EXPECT_THROW(Ed->SaveToFile(Path("adir.txt")), EInOutError);
    EXPECT_TRUE(Ed->Modified());
    EXPECT_EQ(Ed->GetPara(1), "changed keep");
    EXPECT_EQ(Read(Path("keep.txt")), "keep\r\n");
    EXPECT_EQ(Read(Path("keep.BAK")), "backup\r\n");
}

TEST_F(TextFileEditorTest, FileNameChangesCloseWithoutTouchingTheText)
{
    Write(Path("a.txt"), "text\r\n");
    Ed->SetFileName(Path("a.txt"));
    Ed->SetIsOpen(true);
    EXPECT_TRUE(Ed->IsOpen());
    Ed->SetFileName(Path("A.TXT"));
    EXPECT_TRUE(Ed->IsOpen());
    Ed->SetFileName(Path("b.txt."));
    EXPECT_FALSE(Ed->IsOpen());
    EXPECT_EQ(Ed->FileName(), Path("b.txt"));
    EXPECT_EQ(Ed->GetPara(1), "text");
}
