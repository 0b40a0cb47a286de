// The text-file editor's search and replace against GNU grep, sed and cmp on generated texts and
// on a licence text of the system: the counts of lines holding a text and of its occurrences
// (also ignoring case, and as whole words on ASCII text), replace-all saved to a file against
// sed's substitution byte for byte, and a load and save against the file itself.
#include "controls/entry/ovcedit.h"
#include "controls/entry/ovctfedit.h"

#include "controls/entry/ovccontroller.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string Licence = "/usr/share/common-licenses/GPL-3";

struct TPipeCloser {
    void operator()(FILE* F) const { ::pclose(F); }
};

std::string Run(const std::string& Command)
{
    std::unique_ptr<FILE, TPipeCloser> Pipe(::popen(Command.c_str(), "r"));
    std::string Out;
    if (!Pipe)
        return Out;
    char Buffer[4096];
    for (std::size_t N; (N = std::fread(Buffer, 1, sizeof Buffer, Pipe.get())) > 0;)
        Out.append(Buffer, N);
    return Out;
}

int RunNumber(const std::string& Command)
{
    const std::string Out = Run(Command);
    return Out.empty() ? -1 : std::atoi(Out.c_str());
}

std::string Quote(const std::string& S)
{
    std::string Q = "'";
    for (char C : S)
        Q += C == '\'' ? std::string("'\\''") : std::string(1, C);
    return Q + "'";
}

// A literal text as sed's pattern (basic regular expression) or replacement, between slashes.
std::string SedPattern(const std::string& S)
{
    std::string R;
    for (char C : S) {
        if (std::string_view("\\/.*[]^$").find(C) != std::string_view::npos)
            R += '\\';
        R += C;
    }
    return R;
}

std::string SedReplacement(const std::string& S)
{
    std::string R;
    for (char C : S) {
        if (C == '\\' || C == '/' || C == '&')
            R += '\\';
        R += C;
    }
    return R;
}

std::string ReadFile(const std::string& Name)
{
    std::ifstream In(Name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// Lines of words, some of them spam in any case, joined with spaces, punctuation and tabs;
// with Bytes8 also bytes above 127. Lines end in CR LF.
std::string GeneratedText(bool Bytes8)
{
    const std::vector<std::string> Words = {
        "spam",     "Spam",   "SPAM",   "spammer", "ham",  "eggs",     "a_spam", "sPaM", "x",
        "spamspam", "o'spam", "(spam)", "spam.",   "mail", "Spammers", "spa",    "m"};
    const std::vector<std::string> Gaps = {" ", "  ", "\t", ", ", "-", "/", "."};
    std::uint32_t Seed = 12345;
    const auto Next = [&Seed](std::uint32_t N) {
        Seed = Seed * 1103515245u + 12345u;
        return (Seed >> 16) % N;
    };
    std::string Text;
    for (int Line = 0; Line < 1500; ++Line) {
        const std::uint32_t Count = Next(12);
        for (std::uint32_t W = 0; W < Count; ++W) {
            if (W > 0)
                Text += Gaps[Next(static_cast<std::uint32_t>(Gaps.size()))];
            Text += Words[Next(static_cast<std::uint32_t>(Words.size()))];
            if (Bytes8 && Next(7) == 0)
                Text += static_cast<char>(0xC0 + Next(60));
        }
        Text += "\r\n";
    }
    return Text;
}

struct TCounts {
    int Lines = 0;
    int Occurrences = 0;
};

class EditorSearchInteropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char Template[] = "/tmp/tarnwick-edsearch-XXXXXX";
        ASSERT_NE(::mkdtemp(Template), nullptr);
        Dir = Template;
        Form = ShownForm(&App, 700, 500);
        new TOvcController(Form);
        Ed = new TOvcTextFileEditor(Form);
        Ed->SetParent(Form);
        Ed->SetBounds(10, 10, 600, 400);
        Ed->SetTrimWhiteSpace(false);
        Ed->SetWrapColumn(80);
        Ed->SetWordWrap(true);
        Pump();
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }

    std::string Write(const std::string& Name, const std::string& Text)
    {
        const std::string Path = Dir + "/" + Name;
        std::ofstream(Path, std::ios::binary) << Text;
        return Path;
    }

    static TCounts GrepCounts(const std::string& File, const std::string& Find,
                              const std::string& Flags)
    {
        const std::string Args = " -F " + Flags + " -e " + Quote(Find) + " " + Quote(File);
        return TCounts{RunNumber("LC_ALL=C grep -c" + Args),
                       RunNumber("LC_ALL=C grep -o" + Args + " | wc -l")};
    }

    // Finds every occurrence from the start of the text, one after the other.
    TCounts EditorCounts(const std::string& Find, Word Options)
    {
        Ed->SetCaretPosition(1, 1);
        std::set<int> Paras;
        TCounts Counts;
        while (Ed->Search(Find, "", Options) == 0) {
            ++Counts.Occurrences;
            Paras.insert(Ed->SelStart().Para);
        }
        Counts.Lines = static_cast<int>(Paras.size());
        return Counts;
    }

    // Our counts and grep's agree for each find text, with and without case; Words adds the
    // whole-word counts.
    void ExpectGrepsCounts(const std::string& File, const std::vector<std::string>& Finds,
                           bool Words)
    {
        struct TMode {
            Word Options;
            const char* Flags;
        };
        std::vector<TMode> Modes = {{soMatchCase, ""}, {0, "-i"}};
        if (Words) {
            Modes.push_back({soMatchCase | soWholeWord, "-w"});
            Modes.push_back({soWholeWord, "-i -w"});
        }
        for (const std::string& Find : Finds)
            for (const TMode& Mode : Modes) {
                SCOPED_TRACE(Find + " " + Mode.Flags);
                Ed->LoadFromFile(File);
                const TCounts Peer = GrepCounts(File, Find, Mode.Flags);
                const TCounts Ours = EditorCounts(Find, Mode.Options);
                EXPECT_GT(Peer.Occurrences, 0);
                EXPECT_EQ(Ours.Lines, Peer.Lines);
                EXPECT_EQ(Ours.Occurrences, Peer.Occurrences);
                // Replacing each by the find text counts them too.
                EXPECT_EQ(Ed->Search(Find, Find, Mode.Options | soReplaceAll | soGlobal),
                          Peer.Occurrences);
            }
    }

    // Replace-all saved through the editor equals sed's substitution of the CR LF text.
    void ExpectSedsReplacement(const std::string& File, const std::string& CrLfFile,
                               const std::string& Find, const std::string& Replacement,
                               bool IgnoreCase)
    {
        SCOPED_TRACE(Find + " -> " + Replacement);
        Ed->LoadFromFile(File);
        const int Count =
            Ed->Search(Find, Replacement, soReplaceAll | soGlobal | (IgnoreCase ? 0 : soMatchCase));
        EXPECT_EQ(Count, GrepCounts(File, Find, IgnoreCase ? "-i" : "").Occurrences);
        const std::string Ours = Dir + "/ours.txt";
        Ed->SaveToFile(Ours);
        const std::string Theirs = Dir + "/sed.txt";
        const std::string Script = "s/" + SedPattern(Find) + "/" + SedReplacement(Replacement) +
                                   "/g" + (IgnoreCase ? "I" : "");
        ASSERT_EQ(std::system(("LC_ALL=C sed -e " + Quote(Script) + " " + Quote(CrLfFile) + " > " +
                               Quote(Theirs))
                                  .c_str()),
                  0);
        EXPECT_EQ(std::system(("cmp " + Quote(Ours) + " " + Quote(Theirs)).c_str()), 0);
    }

    TDeterministicFonts Fonts;
    TTestApplication App;
    TForm* Form = nullptr;
    TOvcTextFileEditor* Ed = nullptr;
    std::string Dir;
};

} // namespace

TEST_F(EditorSearchInteropTest, CountsMatchGrepOnGeneratedText)
{
    const std::string Ascii = Write("ascii.txt", GeneratedText(false));
    ExpectGrepsCounts(Ascii, {"spam", "Spam", "spa", "m", "spam.", "spamspam", "o'spam"}, true);
    const std::string Bytes8 = Write("bytes8.txt", GeneratedText(true));
    ExpectGrepsCounts(Bytes8, {"spam", "SPAM", "eggs", "m\t"}, false);
}

TEST_F(EditorSearchInteropTest, CountsMatchGrepOnALicenceText)
{
    ExpectGrepsCounts(Licence, {"the", "License", "software", "of the", "a", "GNU"}, true);
}

TEST_F(EditorSearchInteropTest, ReplaceAllSavedEqualsSedsSubstitution)
{
    const std::string Generated = Write("generated.txt", GeneratedText(true));
    ExpectSedsReplacement(Generated, Generated, "spam", "[spam&/\\1]", false);
    ExpectSedsReplacement(Generated, Generated, "SPAM", "eggs", true);
    ExpectSedsReplacement(Generated, Generated, "a_spam", "", false);
    ExpectSedsReplacement(Generated, Generated, "(spam).", "^$*.[", false);

    const std::string CrLf = Dir + "/licence-crlf.txt";
    ASSERT_EQ(std::system(("sed -e 's/$/\\r/' " + Quote(Licence) + " > " + Quote(CrLf)).c_str()),
              0);
    ExpectSedsReplacement(Licence, CrLf, "the", "the the", false);
    ExpectSedsReplacement(Licence, CrLf, "program", "Program/work", true);
}

TEST_F(EditorSearchInteropTest, LoadAndSaveGiveTheBytesCmpExpects)
{
    const std::string Generated = Write("generated.txt", GeneratedText(true));
    Ed->LoadFromFile(Generated);
    Ed->SaveToFile(Dir + "/saved.txt");
    EXPECT_EQ(std::system(("cmp " + Quote(Generated) + " " + Quote(Dir + "/saved.txt")).c_str()),
              0);

    // A licence with LF line ends comes back with CR LF.
    const std::string CrLf = Dir + "/licence-crlf.txt";
    ASSERT_EQ(std::system(("sed -e 's/$/\\r/' " + Quote(Licence) + " > " + Quote(CrLf)).c_str()),
              0);
    Ed->LoadFromFile(Licence);
    Ed->SaveToFile(Dir + "/licence.txt");
    EXPECT_EQ(std::system(("cmp " + Quote(CrLf) + " " + Quote(Dir + "/licence.txt")).c_str()), 0);
    EXPECT_EQ(ReadFile(CrLf).size(), ReadFile(Dir + "/licence.txt").size());
}
