#include "platform/rtl/exceptions.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/stringlist.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const TStrings& Strings)
{
    Lines Result;
    for (int I = 0; I < Strings.Count(); ++I)
        Result.push_back(Strings.Strings(I));
    return Result;
}

void Fill(TStrings& Strings, const Lines& Items)
{
    Strings.Clear();
    for (const std::string& S : Items)
        Strings.Add(S);
}

std::string ListErrorOf(const std::function<void()>& Action)
{
    try {
        Action();
    } catch (const EStringListError& E) {
        return E.Message();
    }
    return "no exception";
}

const char* const SortedError = "Operation not allowed on sorted string list";

struct TSplitCase {
    const char* Name;
    std::string Input;
    Lines Expected;
};

const std::vector<TSplitCase> SplitCases = {
    {"empty input", "", {}},
    {"one line, no end", "abc", {"abc"}},
    {"CR LF", "a\r\nb\r\n", {"a", "b"}},
    {"LF", "a\nb\n", {"a", "b"}},
    {"CR", "a\rb\r", {"a", "b"}},
    {"mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
    {"last line without an end", "a\r\nb", {"a", "b"}},
    {"empty lines", "\r\n\r\na\r\n\r\n", {"", "", "a", ""}},
    {"LF CR is two ends", "a\n\rb", {"a", "", "b"}},
    {"a lone CR at the end", "a\r", {"a"}},
    {"only a CR", "\r", {""}},
    {"only a CR LF", "\r\n", {""}},
    {"blanks are kept", "  a \t\r\n", {"  a \t"}},
    {"NUL is text", std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}},
};

class TEventCounter {
public:
    explicit TEventCounter(TStringList& List)
    {
        List.OnChanging = [this](TObject* Sender) {
            EXPECT_NE(Sender, nullptr);
            ++Changing;
        };
        List.OnChange = [this](TObject*) { ++Change; };
    }
    int Changing = 0;
    int Change = 0;
};

class TTag : public TObject {};

} // namespace

TEST(StringList, TextSetterSplitsAtEveryKindOfLineEnd)
{
    for (const TSplitCase& C : SplitCases) {
        TStringList List;
        List.Add("old");
        List.SetText(C.Input);
        EXPECT_EQ(LinesOf(List), C.Expected) << C.Name;
    }
}

TEST(StringList, LoadFromStreamSplitsAsTheTextSetterDoes)
{
    for (const TSplitCase& C : SplitCases) {
        TStringStream Stream("skip" + C.Input);
        Stream.SetPosition(4); // from the position on
        TStringList List;
        List.LoadFromStream(&Stream);
        EXPECT_EQ(LinesOf(List), C.Expected) << C.Name;
    }
}

TEST(StringList, LoadFromStreamSplitsLinesThatCrossItsReadingChunks)
{
    // The stream is read in 64 KiB pieces: a line end or a line may straddle them.
    const std::size_t Chunk = 64 * 1024;
    struct TCase {
        const char* Name;
        std::size_t Before; // bytes of the first line before the line end
        const char* LineEnd;
    };
    const std::vector<TCase> Cases = {
        {"CR LF split between pieces", Chunk - 1, "\r\n"},
        {"CR ends a piece, a new line follows", Chunk - 1, "\r"},
        {"LF starts a piece", Chunk, "\n"},
        {"a line longer than a piece", 3 * Chunk + 5, "\r\n"},
    };
    for (const TCase& C : Cases) {
        const std::string Text = std::string(C.Before, 'a') + C.LineEnd + "b\r\n\r\nc";
        TStringStream Stream(Text);
        TStringList Loaded;
        Loaded.LoadFromStream(&Stream);
        TStringList Split;
        Split.SetText(Text);
        EXPECT_EQ(LinesOf(Loaded), LinesOf(Split)) << C.Name;
        EXPECT_EQ(Loaded.Count(), 4) << C.Name;
    }
}

TEST(StringList, TextEndsEveryLineWithCrLf)
{
    TStringList List;
    EXPECT_EQ(List.Text(), "");
    Fill(List, {"a", "", "b c"});
    EXPECT_EQ(List.Text(), "a\r\n\r\nb c\r\n");
    List.SetText(List.Text());
    EXPECT_EQ(LinesOf(List), (Lines{"a", "", "b c"}));

    TStringStream Stream;
    List.SaveToStream(&Stream);
    EXPECT_EQ(Stream.DataString(), "a\r\n\r\nb c\r\n");
}

TEST(StringList, CommaTextQuotesWhatWouldNotSurviveSplitting)
{
    struct Case {
        Lines Items;
        std::string Expected;
    };
    std::vector<Case> Cases = {
        {{}, ""},
        {{""}, "\"\""},
        {{"a", "b"}, "a,b"},
        {{"a b"}, "\"a b\""},
        {{"a,b", "c"}, "\"a,b\",c"},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {{"\"q"}, "\"\"\"q\""},
        {{"tab\there"}, "\"tab\there\""},
        {{"a", "", "b"}, "a,,b"},
        {{"", "a"}, ",a"},
        {{"a", ""}, "a,"},
        {{"x=1", "y=2"}, "x=1,y=2"},
        {{"Grüße"}, "Grüße"},
    };
    for (const Case& C : Cases) {
        TStringList List;
        Fill(List, C.Items);
        EXPECT_EQ(List.CommaText(), C.Expected);
        // And back again.
        TStringList Back;
        Back.SetCommaText(C.Expected);
        EXPECT_EQ(LinesOf(Back), C.Items) << C.Expected;
    }
}

TEST(StringList, CommaTextSetterSplitsAtCommasAndBlanksOutsideQuotes)
{
    struct Case {
        std::string Input;
        Lines Expected;
    };
    std::vector<Case> Cases = {
        {"", {}},
        {"   ", {}},
        {"a b,c", {"a", "b", "c"}},
        {"  a ,  b  ", {"a", "b"}},
        {"\"a b\" c", {"a b", "c"}},
        {"\"a \"\"b\"\"\",c", {"a \"b\"", "c"}},
        {"\"unterminated, still", {"unterminated, still"}},
        {"\"ab\"cd", {"ab", "cd"}},
        {",,", {"", "", ""}},
        {"a, ", {"a"}},
        {"a\r\nb", {"a", "b"}},
    };
    for (const Case& C : Cases) {
        TStringList List;
        List.Add("old");
        List.SetCommaText(C.Input);
        EXPECT_EQ(LinesOf(List), C.Expected) << C.Input;
    }
}

TEST(StringList, DelimitedTextUsesTheDelimiterAndQuoteChar)
{
    TStringList List;
    List.SetDelimiter(';');
    List.SetQuoteChar('\'');
    Fill(List, {"a,b", "it's", "c d", "e"});
    EXPECT_EQ(List.DelimitedText(), "a,b;'it''s';'c d';e");
    EXPECT_EQ(List.CommaText(), "\"a,b\",it's,\"c d\",e"); // unaffected by the two

    TStringList Back;
    Back.SetDelimiter(';');
    Back.SetQuoteChar('\'');
    Back.SetDelimitedText(List.DelimitedText());
    EXPECT_EQ(LinesOf(Back), LinesOf(List));
}

TEST(StringList, NamesAndValues)
{
    TStringList List;
    Fill(List, {"Host=mail.example.com", "no separator", "Port=110", "Empty=", "Eq=a=b"});
    EXPECT_EQ(List.Names(0), "Host");
    EXPECT_EQ(List.Names(1), "");
    EXPECT_EQ(List.Values("host"), "mail.example.com"); // names ignore case
    EXPECT_EQ(List.Values("Eq"), "a=b");
    EXPECT_EQ(List.Values("Empty"), "");
    EXPECT_EQ(List.Values("missing"), "");
    EXPECT_EQ(List.IndexOfName("PORT"), 2);
    EXPECT_EQ(List.IndexOfName("no separator"), -1);
    EXPECT_EQ(List.ValueFromIndex(2), "110");
    EXPECT_EQ(List.ValueFromIndex(1), ""); // no separator, no value
    EXPECT_EQ(List.ValueFromIndex(-1), "");

    List.SetValues("Port", "995"); // replaced in place
    List.SetValues("User", "joe"); // added at the end
    List.SetValues("Host", "");    // deleted
    List.SetValues("absent", "");  // nothing
    EXPECT_EQ(LinesOf(List), (Lines{"no separator", "Port=995", "Empty=", "Eq=a=b", "User=joe"}));

    List.SetNameValueSeparator(':');
    List.Add("Subject: hi");
    EXPECT_EQ(List.Values("subject"), " hi");
    EXPECT_EQ(List.IndexOfName("Port"), -1);
}

TEST(StringList, SettingValuesOnASortedListKeepsItSorted)
{
    TStringList List;
    List.SetSorted(true);
    List.SetValues("b", "2");
    List.SetValues("a", "1");
    List.SetValues("c", "3");
    List.SetValues("a", "9");
    EXPECT_EQ(LinesOf(List), (Lines{"a=9", "b=2", "c=3"}));
    List.SetValues("b", "");
    EXPECT_EQ(LinesOf(List), (Lines{"a=9", "c=3"}));
}

TEST(StringList, ObjectsTravelWithTheirLines)
{
    TTag One, Two;
    TStringList List;
    List.AddObject("one", &One);
    List.Add("none");
    List.InsertObject(0, "two", &Two);
    EXPECT_EQ(List.Objects(0), &Two);
    EXPECT_EQ(List.Objects(2), nullptr);
    EXPECT_EQ(List.IndexOfObject(&One), 1);
    List.Move(0, 2);
    EXPECT_EQ(LinesOf(List), (Lines{"one", "none", "two"}));
    EXPECT_EQ(List.Objects(2), &Two);
    List.Exchange(0, 2);
    EXPECT_EQ(List.Objects(0), &Two);
    EXPECT_EQ(List.Objects(2), &One);
    List.SetObjects(1, &One);
    EXPECT_EQ(List.IndexOfObject(&One), 1);
    List.SetStrings(1, "renamed");
    EXPECT_EQ(List.Objects(1), &One);
    EXPECT_EQ(List.Strings(1), "renamed");
}

TEST(StringList, IndexOutOfRangeRaisesAndChangesNothing)
{
    struct Case {
        const char* Name;
        std::function<void(TStringList&)> Action;
        std::string Message;
    };
    std::vector<Case> Cases = {
        {"Get", [](TStringList& L) { L.Strings(3); }, "List index out of bounds (3)"},
        {"Get(-1)", [](TStringList& L) { L.Strings(-1); }, "List index out of bounds (-1)"},
        {"Put", [](TStringList& L) { L.SetStrings(3, "x"); }, "List index out of bounds (3)"},
        {"Objects", [](TStringList& L) { L.Objects(4); }, "List index out of bounds (4)"},
        {"SetObjects", [](TStringList& L) { L.SetObjects(-1, nullptr); },
         "List index out of bounds (-1)"},
        {"Insert", [](TStringList& L) { L.Insert(4, "x"); }, "List index out of bounds (4)"},
        {"Delete", [](TStringList& L) { L.Delete(3); }, "List index out of bounds (3)"},
        {"Exchange", [](TStringList& L) { L.Exchange(0, 3); }, "List index out of bounds (3)"},
        {"Move to", [](TStringList& L) { L.Move(0, 3); }, "List index out of bounds (3)"},
        {"Move from", [](TStringList& L) { L.Move(5, 0); }, "List index out of bounds (5)"},
        {"Names", [](TStringList& L) { L.Names(3); }, "List index out of bounds (3)"},
    };
    for (const Case& C : Cases) {
        TStringList List;
        Fill(List, {"a", "b", "c"});
        EXPECT_EQ(ListErrorOf([&] { C.Action(List); }), C.Message) << C.Name;
        EXPECT_EQ(LinesOf(List), (Lines{"a", "b", "c"})) << C.Name;
    }
}

TEST(StringList, MoveOnTheBaseClassChecksBeforeItDeletes)
{
    // A TStrings that relies on the base class's Move: a bad target must not lose the line.
    class TPlainStrings : public TStrings {
    public:
        int Count() const override { return static_cast<int>(Items.size()); }
        std::string Get(int Index) const override { return Items.at(Index); }
        void Insert(int Index, const std::string& S) override
        {
            Items.insert(Items.begin() + Index, S);
        }
        void Delete(int Index) override { Items.erase(Items.begin() + Index); }
        void Clear() override { Items.clear(); }
        Lines Items;
    };
    TPlainStrings Plain;
    Plain.Items = {"a", "b", "c"};
    EXPECT_THROW(Plain.Move(0, 3), EStringListError);
    EXPECT_EQ(Plain.Items, (Lines{"a", "b", "c"}));
    Plain.Move(0, 2);
    EXPECT_EQ(Plain.Items, (Lines{"b", "c", "a"}));
    Plain.Exchange(0, 2);
    EXPECT_EQ(Plain.Items, (Lines{"a", "c", "b"}));
}

TEST(StringList, SortedListsKeepOrderAndRefusePositionalChanges)
{
    TStringList List;
    Fill(List, {"pear", "Apple", "fig"});
    List.SetSorted(true);
    EXPECT_EQ(LinesOf(List), (Lines{"Apple", "fig", "pear"}));
    EXPECT_EQ(List.Add("banana"), 1);
    EXPECT_EQ(LinesOf(List), (Lines{"Apple", "banana", "fig", "pear"}));

    std::vector<std::function<void()>> Refused = {
        [&] { List.Insert(0, "x"); },     [&] { List.InsertObject(0, "x", nullptr); },
        [&] { List.SetStrings(0, "x"); }, [&] { List.Exchange(0, 1); },
        [&] { List.Move(0, 1); },
    };
    for (std::size_t I = 0; I < Refused.size(); ++I) {
        EXPECT_EQ(ListErrorOf(Refused[I]), SortedError) << "case " << I;
        EXPECT_EQ(LinesOf(List), (Lines{"Apple", "banana", "fig", "pear"})) << "case " << I;
    }
    List.Delete(0); // allowed
    List.SetSorted(false);
    List.Insert(0, "zz"); // allowed again
    EXPECT_EQ(List.Strings(0), "zz");
}

TEST(StringList, FindReportsTheMatchOrTheInsertionPoint)
{
    struct Case {
        std::string Sought;
        bool Found;
        int Index;
    };
    std::vector<Case> Cases = {
        {"a", false, 0}, {"b", true, 0}, {"B", true, 0},  {"c", false, 1},
        {"d", true, 1},  {"f", true, 2}, {"g", false, 3},
    };
    TStringList List;
    List.SetSorted(true);
    Fill(List, {"f", "b", "d"});
    for (const Case& C : Cases) {
        int Index = -1;
        EXPECT_EQ(List.Find(C.Sought, Index), C.Found) << C.Sought;
        EXPECT_EQ(Index, C.Index) << C.Sought;
        EXPECT_EQ(List.IndexOf(C.Sought), C.Found ? C.Index : -1) << C.Sought;
    }
}

TEST(StringList, DuplicatesDecideWhatAddingAnExistingLineDoes)
{
    struct Case {
        TDuplicates Mode;
        bool CaseSensitive;
        std::string Added;
        Lines Expected;
        std::string Error;
    };
    std::vector<Case> Cases = {
        {dupIgnore, false, "b", {"a", "b", "c"}, ""},
        {dupIgnore, false, "B", {"a", "b", "c"}, ""},
        {dupIgnore, true, "B", {"B", "a", "b", "c"}, ""},
        {dupAccept, false, "B", {"a", "B", "b", "c"}, ""},
        {dupError, false, "b", {"a", "b", "c"}, "String list does not allow duplicates"},
        {dupError, false, "B", {"a", "b", "c"}, "String list does not allow duplicates"},
        {dupError, true, "B", {"B", "a", "b", "c"}, ""},
        {dupError, false, "d", {"a", "b", "c", "d"}, ""},
    };
    for (const Case& C : Cases) {
        TStringList List;
        List.SetCaseSensitive(C.CaseSensitive);
        List.SetSorted(true);
        List.SetDuplicates(C.Mode);
        Fill(List, {"c", "a", "b"});
        std::string Error = ListErrorOf([&] { List.Add(C.Added); });
        EXPECT_EQ(Error, C.Error.empty() ? "no exception" : C.Error) << C.Added;
        EXPECT_EQ(LinesOf(List), C.Expected) << C.Added << " mode " << C.Mode;
    }

    // dupIgnore answers with the index of the line that is already there.
    TStringList List;
    List.SetSorted(true);
    Fill(List, {"x", "y"});
    EXPECT_EQ(List.Add("Y"), 1);
}

TEST(StringList, CaseSensitivityAppliesToUtf8Names)
{
    TStringList List;
    List.SetSorted(true);
    Fill(List, {"Ärger", "Öl", "über", "Zug"});
    int Index = -1;
    EXPECT_TRUE(List.Find("ärger", Index));
    EXPECT_EQ(List.Strings(Index), "Ärger");
    EXPECT_TRUE(List.Find("ÜBER", Index));
    EXPECT_EQ(List.Strings(Index), "über");
    EXPECT_EQ(List.IndexOf("öl"), List.IndexOf("Öl"));
    List.SetDuplicates(dupError);
    EXPECT_THROW(List.Add("öL"), EStringListError);

    List.SetCaseSensitive(true);
    EXPECT_FALSE(List.Find("ärger", Index));
    EXPECT_TRUE(List.Find("Ärger", Index));
    EXPECT_EQ(List.Strings(Index), "Ärger");
    List.Add("öL");
    EXPECT_EQ(List.Count(), 5);

    TStringList Values;
    Values.Add("Größe=10");
    EXPECT_EQ(Values.Values("GRÖßE"), "10");
}

TEST(StringList, ChangingCaseSensitivityResortsSoThatFindStillWorks)
{
    TStringList List;
    List.SetSorted(true);
    Fill(List, {"b", "B", "a", "A", "c"});
    List.SetDuplicates(dupAccept);
    List.SetCaseSensitive(true);
    for (int I = 0; I < List.Count(); ++I) {
        int Index = -1;
        EXPECT_TRUE(List.Find(List.Strings(I), Index)) << List.Strings(I);
        EXPECT_EQ(List.Strings(Index), List.Strings(I));
    }
}

TEST(StringList, CustomSortIsStableAndSortIsIdleOnASortedList)
{
    TStringList List;
    Fill(List, {"ccc", "a", "bb", "d", "ee"});
    List.CustomSort([](TStringList* L, int A, int B) {
        return static_cast<int>(L->Strings(A).size()) - static_cast<int>(L->Strings(B).size());
    });
    EXPECT_EQ(LinesOf(List), (Lines{"a", "d", "bb", "ee", "ccc"}));
    List.Sort();
    EXPECT_EQ(LinesOf(List), (Lines{"a", "bb", "ccc", "d", "ee"}));

    List.SetSorted(true);
    List.CustomSort([](TStringList*, int A, int B) { return B - A; });
    EXPECT_EQ(LinesOf(List), (Lines{"a", "bb", "ccc", "d", "ee"}));

    TStringList Raising;
    Fill(Raising, {"b", "a"});
    EXPECT_THROW(
        Raising.CustomSort([](TStringList*, int, int) -> int { throw EListError("stop"); }),
        EListError);
    EXPECT_EQ(LinesOf(Raising), (Lines{"b", "a"}));
}

TEST(StringList, ChangeEventsFireOncePerChangeOrOnceAroundAnUpdate)
{
    struct Case {
        const char* Name;
        std::function<void(TStringList&)> Action;
        int Events; // OnChanging and OnChange each
    };
    std::vector<Case> Cases = {
        {"Add", [](TStringList& L) { L.Add("x"); }, 1},
        {"AddObject", [](TStringList& L) { L.AddObject("x", nullptr); }, 1},
        {"InsertObject", [](TStringList& L) { L.InsertObject(0, "x", nullptr); }, 1},
        {"Put", [](TStringList& L) { L.SetStrings(0, "x"); }, 1},
        {"Delete", [](TStringList& L) { L.Delete(0); }, 1},
        {"Move", [](TStringList& L) { L.Move(0, 1); }, 1},
        {"Clear", [](TStringList& L) { L.Clear(); }, 1},
        {"Clear twice",
         [](TStringList& L) {
             L.Clear();
             L.Clear();
         },
         1},
        {"SetText", [](TStringList& L) { L.SetText("1\n2\n3"); }, 1},
        {"SetCommaText", [](TStringList& L) { L.SetCommaText("1,2,3"); }, 1},
        {"Sort", [](TStringList& L) { L.Sort(); }, 1},
        {"Values", [](TStringList& L) { L.SetValues("k", "v"); }, 1},
        {"nested updates",
         [](TStringList& L) {
             L.BeginUpdate();
             L.Add("1");
             L.BeginUpdate();
             L.Delete(0);
             L.EndUpdate();
             L.Add("2");
             L.EndUpdate();
         },
         1},
        {"empty update",
         [](TStringList& L) {
             L.BeginUpdate();
             L.EndUpdate();
         },
         1},
        {"unbalanced EndUpdate", [](TStringList& L) { L.EndUpdate(); }, 0},
        {"Delete out of range", [](TStringList& L) { EXPECT_ANY_THROW(L.Delete(9)); }, 0},
    };
    for (const Case& C : Cases) {
        TStringList List;
        Fill(List, {"b", "a"});
        TEventCounter Counter(List);
        C.Action(List);
        EXPECT_EQ(Counter.Changing, C.Events) << C.Name;
        EXPECT_EQ(Counter.Change, C.Events) << C.Name;
        EXPECT_EQ(List.UpdateCount(), 0) << C.Name;
    }
}

TEST(StringList, OnChangeSeesTheListAfterTheChange)
{
    TStringList List;
    std::vector<int> Counts;
    List.OnChanging = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &List);
        Counts.push_back(-List.Count());
    };
    List.OnChange = [&](TObject*) { Counts.push_back(List.Count()); };
    List.Add("a");
    EXPECT_EQ(Counts, (std::vector<int>{0, 1}));
}

TEST(StringList, AssignAddStringsAndEquals)
{
    TTag Tag;
    TStringList Source;
    Source.AddObject("one", &Tag);
    Source.Add("two");

    TStringList Target;
    Target.Add("old");
    TEventCounter Counter(Target);
    Target.Assign(&Source);
    EXPECT_EQ(LinesOf(Target), (Lines{"one", "two"}));
    EXPECT_EQ(Target.Objects(0), &Tag);
    EXPECT_TRUE(Target.Equals(&Source));
    EXPECT_EQ(Counter.Change, 1);

    Target.Assign(&Target);
    EXPECT_EQ(LinesOf(Target), (Lines{"one", "two"}));

    Target.AddStrings(&Target);
    EXPECT_EQ(LinesOf(Target), (Lines{"one", "two", "one", "two"}));
    EXPECT_EQ(Target.Objects(2), &Tag);
    EXPECT_FALSE(Target.Equals(&Source));

    TStringList Upper;
    Fill(Upper, {"ONE", "TWO"});
    EXPECT_FALSE(Upper.Equals(&Source)); // Equals compares exactly

    class TOtherPersistent : public TPersistent {};
    TOtherPersistent Other;
    EXPECT_THROW(Target.Assign(&Other), EConvertError);
}

using StringListFileTest = TestSupport::TempFolderTest;
using TestSupport::ReadAll;

TEST_F(StringListFileTest, SaveToFileWritesCrLfLinesAndLoadFromFileReadsThemBack)
{
    TStringList List;
    Fill(List, {"first", "", "Grüße, \"quoted\""});
    std::string FileName = Folder + "lines.txt";
    List.SaveToFile(FileName);
    EXPECT_EQ(ReadAll(FileName), "first\r\n\r\nGrüße, \"quoted\"\r\n");

    TStringList Back;
    Back.Add("old");
    Back.LoadFromFile(FileName);
    EXPECT_EQ(LinesOf(Back), LinesOf(List));

    // Saving again replaces the whole file.
    Fill(List, {"short"});
    List.SaveToFile(FileName);
    EXPECT_EQ(ReadAll(FileName), "short\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder), {}), 1);
}

TEST_F(StringListFileTest, LoadingAnEmptyFileGivesNoLinesAndAMissingFileRaises)
{
    std::string FileName = Folder + "empty.txt";
    std::ofstream(FileName, std::ios::binary).close();
    TStringList List;
    List.Add("old");
    List.LoadFromFile(FileName);
    EXPECT_EQ(List.Count(), 0);

    List.Add("kept");
    EXPECT_THROW(List.LoadFromFile(Folder + "missing.txt"), EFOpenError);
    EXPECT_EQ(LinesOf(List), (Lines{"kept"}));
}

TEST_F(StringListFileTest, SavingIntoAMissingFolderRaisesAndLeavesNothing)
{
    TStringList List;
    List.Add("x");
    EXPECT_THROW(List.SaveToFile(Folder + "no/such/folder/x.txt"), EFCreateError);
}
