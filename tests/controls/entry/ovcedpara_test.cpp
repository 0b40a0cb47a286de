// The editor's text store: paragraphs and their count, limits, word wrap (incremental equal to
// full), line positions, bookmarks that follow edits and the notifications views receive.
#include "controls/entry/ovcedpara.h"

#include "tests/controls/entry/edstoremodel.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// A view that writes down each notification; views link into a ring.
class TRecordingView : public TOvcEditView {
public:
    void ParaInserted(TOvcEditView*, int Para, int Pos) override
    {
        Log.push_back("para inserted " + std::to_string(Para) + "," + std::to_string(Pos));
    }
    void ParaDeleted(TOvcEditView*, int Para) override
    {
        Log.push_back("para deleted " + std::to_string(Para));
    }
    void TextInserted(TOvcEditView*, int Para, int Pos, int Count) override
    {
        Log.push_back("text inserted " + std::to_string(Para) + "," + std::to_string(Pos) + "," +
                      std::to_string(Count));
    }
    void TextDeleted(TOvcEditView*, int Para, int Pos, int Count) override
    {
        Log.push_back("text deleted " + std::to_string(Para) + "," + std::to_string(Pos) + "," +
                      std::to_string(Count));
    }
    void ParasJoined(TOvcEditView*, int Para, int Pos) override
    {
        Log.push_back("joined " + std::to_string(Para) + "," + std::to_string(Pos));
    }
    TOvcEditView* NextView() const override { return Next; }

    TOvcEditView* Next = nullptr;
    std::vector<std::string> Log;
};

std::vector<std::string> Lines(TOvcParaList& Store)
{
    std::vector<std::string> Result;
    for (int L = 1; L <= Store.LineCount(); ++L)
        Result.emplace_back(Store.LineText(L));
    return Result;
}

} // namespace

TEST(OvcEdPara, NewStoreHoldsOneEmptyParagraph)
{
    TOvcParaList Store(nullptr, 8192);
    EXPECT_EQ(Store.ParaCount(), 1);
    EXPECT_EQ(Store.LineCount(), 1);
    EXPECT_EQ(Store.TextSize(), 0);
    EXPECT_EQ(Store.ParaText(1), "");
    EXPECT_FALSE(Store.Modified());
}

TEST(OvcEdPara, ThreeAppendedLinesGiveFourParagraphsTheLastEmpty)
{
    TOvcParaList Store(nullptr, 8192);
    for (const char* Line : {"one", "two  ", "three"})
        ASSERT_EQ(Store.AppendPara(Line, true), 0);
    EXPECT_EQ(Store.ParaCount(), 4);
    EXPECT_EQ(Store.LineCount(), 4);
    EXPECT_EQ(Lines(Store), (std::vector<std::string>{"one", "two", "three", ""}));
    EXPECT_EQ(Store.TextSize(), 3 + 2 + 3 + 2 + 5 + 2);
    EXPECT_FALSE(Store.Modified());
}

TEST(OvcEdPara, ParaLimitThreeRefusesTheFourthLine)
{
    TOvcParaList Store(nullptr, 8192);
    Store.SetParaLimit(3);
    EXPECT_EQ(Store.AppendPara("a", false), 0);
    EXPECT_EQ(Store.AppendPara("b", false), 0);
    EXPECT_EQ(Store.AppendPara("c", false), 0);
    EXPECT_EQ(Store.AppendPara("d", false), oeTooManyParas);
    EXPECT_EQ(Store.ParaCount(), 4);
}

TEST(OvcEdPara, LimitsRefuseAndLeaveTheTextAsItWas)
{
    struct TCase {
        const char* Name;
        int ParaLengthLimit, TextLimit;
        int Pos;
        std::string Text;
        Word Expected;
    };
    // The paragraph holds "abc" (text size 3).
    const std::vector<TCase> Cases = {
        {"fits the paragraph length", 10, INT_MAX, 4, "defghij", 0},
        {"one over the paragraph length", 10, INT_MAX, 4, "defghijk", oeParaTooLong},
        {"padding counts toward the length", 10, INT_MAX, 11, "x", oeParaTooLong},
        {"padding up to the limit fits", 10, INT_MAX, 10, "x", 0},
        {"text size limit", 32767, 5, 4, "xyz", oeOutOfSpace},
        {"padding counts toward the text size", 32767, 8, 9, "x", oeOutOfSpace},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TOvcParaList Store(nullptr, 8192);
        ASSERT_EQ(Store.InsertText(nullptr, 1, 1, "abc"), 0);
        Store.SetParaLengthLimit(Case.ParaLengthLimit);
        Store.SetTextLimit(Case.TextLimit);
        EXPECT_EQ(Store.InsertText(nullptr, 1, Case.Pos, Case.Text), Case.Expected);
        if (Case.Expected != 0) {
            EXPECT_EQ(Store.ParaText(1), "abc");
        }
    }
}

TEST(OvcEdPara, TypingBeyondAnEmptyParagraphsLimitGives268)
{
    TOvcParaList Store(nullptr, 8192);
    Store.SetParaLengthLimit(10);
    EXPECT_EQ(Store.InsertText(nullptr, 1, 11, "x"), oeParaTooLong);
    EXPECT_EQ(Store.ParaText(1), "");
    EXPECT_EQ(Store.TextSize(), 0);
}

TEST(OvcEdPara, JoiningTooLongAParagraphGives266)
{
    TOvcParaList Store(nullptr, 8192);
    Store.AppendPara("abcdef", false);
    Store.AppendPara("ghijk", false);
    Store.SetParaLengthLimit(10);
    EXPECT_EQ(Store.JoinParas(nullptr, 1, 7), oeCannotJoin);
    EXPECT_EQ(Store.ParaCount(), 3);
    Store.SetParaLengthLimit(11);
    EXPECT_EQ(Store.JoinParas(nullptr, 1, 7), 0);
    EXPECT_EQ(Store.ParaText(1), "abcdefghijk");
}

TEST(OvcEdPara, AnIndentThatMakesTheNewParagraphTooLongGives268)
{
    TOvcParaList Store(nullptr, 8192);
    Store.InsertText(nullptr, 1, 1, "abc defgh");
    Store.SetParaLengthLimit(9);
    EXPECT_EQ(Store.SplitPara(nullptr, 1, 5, 5, 0), oeParaTooLong);
    EXPECT_EQ(Store.ParaCount(), 1);
    EXPECT_EQ(Store.SplitPara(nullptr, 1, 5, 4, 0), 0);
    EXPECT_EQ(Store.ParaText(2), "    defgh");
}

TEST(OvcEdPara, ErrorCodesNameTheirLibraryMessages)
{
    const std::vector<std::pair<Word, Word>> Cases = {
        {oeOutOfMemory, 30197},
        {oeRegionTooBig, 30186},
        {oeTooManyParas, 30198},
        {oeCannotJoin, 30199},
        {oeOutOfSpace, 30200},
        {oeParaTooLong, 30201},
        {0, 30168},
        {999, 30168},
    };
    for (const auto& [Code, Id] : Cases)
        EXPECT_EQ(EditorErrorMessageId(Code), Id) << Code;
}

TEST(OvcEdPara, InsertingBeyondTheEndPadsWithSpaces)
{
    TOvcParaList Store(nullptr, 8192);
    Store.InsertText(nullptr, 1, 1, "abc");
    Store.InsertText(nullptr, 1, 8, "x");
    EXPECT_EQ(Store.ParaText(1), "abc    x");
}

TEST(OvcEdPara, WordWrapAtColumnTen)
{
    struct TCase {
        std::string Text;
        std::vector<std::string> Lines;
    };
    const std::vector<TCase> Cases = {
        {"abcd efgh ijkl", {"abcd efgh ", "ijkl"}},
        {"abcdefghijklmn", {"abcdefghij", "klmn"}},
        {"abcd-efghijkl", {"abcd-", "efghijkl"}},
        {"abcdefghij", {"abcdefghij"}},
        {"abcdefghij   ", {"abcdefghij   "}},
        {"abcdefghij   k", {"abcdefghij   ", "k"}},
        {"abcd- efghijkl", {"abcd- ", "efghijkl"}},
        {"abcdefghij-kl", {"abcdefghij", "-kl"}},
        {"a\tb\tcdefgh", {"a\tb\t", "cdefgh"}},
        {"abc defghijklmnopqrstuvwxyz", {"abc ", "defghijklm", "nopqrstuvw", "xyz"}},
        {"", {""}},
        // A valid UTF-8 paragraph counts characters: twelve 'ü' of two bytes each.
        {"üüüüüüüüüüüü", {"üüüüüüüüüü", "üü"}},
        {"äöü ß€ 𝄞𝄞𝄞𝄞 x", {"äöü ß€ ", "𝄞𝄞𝄞𝄞 x"}},
        {"ü-üüüüüüüüüüü", {"ü-", "üüüüüüüüüü", "ü"}},
        {"ü\tü\tüüüüüü", {"ü\tü\t", "üüüüüü"}},
        // Any invalid byte makes the paragraph count bytes.
        {"\xFC"
         "bcdefghijk",
         {"\xFC"
          "bcdefghij",
          "k"}},
        {"ü\xFF"
         "abcdefghi",
         {"ü\xFF"
          "abcdefg",
          "hi"}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE("'" + Case.Text + "'");
        TOvcParaList Store(nullptr, 8192);
        Store.SetTabSize(4);
        Store.SetWrapColumn(10);
        Store.SetWordWrap(true);
        Store.AppendPara(Case.Text, false);
        std::vector<std::string> Want = Case.Lines;
        Want.emplace_back();
        EXPECT_EQ(Lines(Store), Want);
    }
}

TEST(OvcEdPara, TurningWrapOffAndOnRewrapsEveryParagraph)
{
    TOvcParaList Store(nullptr, 8192);
    Store.AppendPara("abcd efgh ijkl", false);
    Store.AppendPara("mnop", false);
    EXPECT_EQ(Store.LineCount(), 3);
    Store.SetWrapColumn(10);
    Store.SetWordWrap(true);
    EXPECT_EQ(Store.LineCount(), 4);
    EXPECT_EQ(Store.LineText(3), "mnop");
    Store.SetWrapColumn(5);
    EXPECT_EQ(Lines(Store), (std::vector<std::string>{"abcd ", "efgh ", "ijkl", "mnop", ""}));
    Store.SetWordWrap(false);
    EXPECT_EQ(Store.LineCount(), 3);
}

TEST(OvcEdPara, LinePositionsCountDisplayColumns)
{
    TOvcParaList Store(nullptr, 8192);
    Store.SetWrapColumn(10);
    Store.SetWordWrap(true);
    Store.AppendPara("a\tbc defghij", false); // lines "a\tbc " and "defghij"
    struct TCase {
        int Pos, Line, Col;
    };
    const std::vector<TCase> Cases = {
        {1, 1, 1}, {2, 1, 2}, {3, 1, 9}, {5, 1, 11}, {6, 2, 1}, {12, 2, 7}, {13, 2, 8}, {15, 2, 10},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Pos);
        int Line, Col;
        Store.ParaToLine(1, Case.Pos, Line, Col);
        EXPECT_EQ(Line, Case.Line);
        EXPECT_EQ(Col, Case.Col);
        EXPECT_EQ(Store.LineToPara(Case.Line, Case.Col), (TParaPos{1, Case.Pos}));
    }
    // A column inside a tab's run is the tab.
    EXPECT_EQ(Store.LineToPara(1, 5), (TParaPos{1, 2}));
    EXPECT_EQ(Store.LineToPara(3, 1), (TParaPos{2, 1}));
}

TEST(OvcEdPara, ChangedRangeCoversTheEditedLinesOrRunsToTheEnd)
{
    TOvcParaList Store(nullptr, 8192);
    Store.SetWrapColumn(10);
    Store.SetWordWrap(true);
    Store.AppendPara("first", false);
    Store.AppendPara("abcd efgh ijkl mnop", false); // lines 2 and 3
    Store.AppendPara("last", false);
    Store.InsertText(nullptr, 2, 17, "x"); // within line 3, no new line
    EXPECT_LE(Store.ChangedFirst(), 3);
    EXPECT_GE(Store.ChangedFirst(), 2);
    EXPECT_EQ(Store.ChangedLast(), 3);
    Store.InsertText(nullptr, 2, 1, "zzzzzz "); // the paragraph gets a third line
    EXPECT_EQ(Store.ChangedFirst(), 2);
    EXPECT_EQ(Store.ChangedLast(), INT_MAX);
    Store.SplitPara(nullptr, 4, 3);
    EXPECT_EQ(Store.ChangedLast(), INT_MAX);
}

TEST(OvcEdPara, EveryViewOfTheRingHearsEachChange)
{
    TRecordingView First, Second;
    First.Next = &Second;
    Second.Next = &First;
    TOvcParaList Store(&First, 8192);
    Store.InsertText(&First, 1, 1, "abc def");
    Store.SplitPara(&Second, 1, 5);
    Store.DeleteText(&First, 2, 1, 2);
    Store.JoinParas(&First, 1, 4);
    const std::vector<std::string> Want = {"text inserted 1,1,7", "para inserted 1,5",
                                           "text deleted 2,1,2", "joined 1,4"};
    EXPECT_EQ(First.Log, Want);
    EXPECT_EQ(Second.Log, Want);
    EXPECT_EQ(Store.ParaText(1), "abcf");
}

TEST(OvcEdPara, SplitWithIndentWritesTabsAndSpaces)
{
    TOvcParaList Store(nullptr, 8192);
    Store.InsertText(nullptr, 1, 1, "abc   def");
    EXPECT_EQ(Store.SplitPara(nullptr, 1, 7, 10, 4), 0);
    EXPECT_EQ(Store.ParaText(1), "abc");
    EXPECT_EQ(Store.ParaText(2), "\t\t  def");
    EXPECT_EQ(Store.SplitPara(nullptr, 2, 1, 10, 4), 0);
    EXPECT_EQ(Store.ParaText(2), "");
    EXPECT_EQ(Store.ParaText(3), "\t\t  def");
}

TEST(OvcEdPara, BookmarksFollowSplitsJoinsAndDeletions)
{
    TOvcParaList Store(nullptr, 8192);
    Store.AppendPara("hello world", false);
    Store.AppendPara("second", false);
    Store.SetMarker(0, 1, 9); // the 'r' of world
    Store.SetMarker(1, 2, 3); // the 'c' of second
    Store.SetMarker(2, 1, 2); // the 'e' of hello
    Store.SplitPara(nullptr, 1, 7);
    EXPECT_EQ(Store.Marker(0), (TParaPos{2, 3}));
    EXPECT_EQ(Store.Marker(1), (TParaPos{3, 3}));
    Store.JoinParas(nullptr, 1, 6);
    EXPECT_EQ(Store.Marker(0), (TParaPos{1, 8}));
    EXPECT_EQ(Store.Marker(1), (TParaPos{2, 3}));
    Store.DeleteText(nullptr, 1, 1, 3); // "hel" goes, and the bookmark in it
    EXPECT_EQ(Store.Marker(2), TParaPos());
    EXPECT_EQ(Store.Marker(0), (TParaPos{1, 5}));
    Store.DeleteRange(nullptr, TParaPos{1, 1}, TParaPos{2, 1});
    EXPECT_EQ(Store.Marker(0), TParaPos());
    EXPECT_EQ(Store.Marker(1), (TParaPos{1, 3}));
}

TEST(OvcEdPara, PastedBlocksSplitAtLineEnds)
{
    struct TCase {
        const char* Name;
        std::string Start;
        TParaPos At;
        std::string Block;
        std::vector<std::string> Paras;
        TParaPos End;
    };
    const std::vector<TCase> Cases = {
        {"no line end", "abcd", {1, 3}, "XY", {"abXYcd"}, {1, 5}},
        {"CR LF lines", "abcd", {1, 3}, "X\r\nY\r\nZ", {"abX", "Y", "Zcd"}, {3, 2}},
        {"lines at a paragraph start", "abcd", {1, 1}, "X\nY\n", {"X", "Y", "abcd"}, {3, 1}},
        {"beyond the end", "ab", {1, 5}, "X\nY", {"ab  X", "Y"}, {2, 2}},
        {"only a line end", "abcd", {1, 3}, "\n", {"ab", "cd"}, {2, 1}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TOvcParaList Store(nullptr, 8192);
        Store.InsertText(nullptr, 1, 1, Case.Start);
        TParaPos At = Case.At;
        EXPECT_EQ(Store.InsertBlock(nullptr, At, Case.Block), 0);
        std::vector<std::string> Paras;
        for (int P = 1; P <= Store.ParaCount(); ++P)
            Paras.emplace_back(Store.ParaText(P));
        EXPECT_EQ(Paras, Case.Paras);
        EXPECT_EQ(At, Case.End);
    }
}

// Random edits of a wrapped text with tabs, hyphens, blanks and UTF-8: after every step the text
// and the bookmarks equal a plain model's, and every paragraph is wrapped as a full rewrap would.
TEST(OvcEdPara, RandomEditsKeepWrapTextAndBookmarksLikeAModel)
{
    for (const int Column : {7, 12}) {
        SCOPED_TRACE("wrap column " + std::to_string(Column));
        std::mt19937 Random(20261211u + static_cast<unsigned>(Column));
        auto Pick = [&](int Lo, int Hi) {
            return std::uniform_int_distribution<int>(Lo, Hi)(Random);
        };
        auto Text = [&](int MaxLen) {
            // Multi-byte characters, the halves of one and an invalid byte, so that paragraphs
            // turn from valid UTF-8 to invalid and back.
            static const std::vector<std::string> Alphabet = {"a", "b", "c",    "d",    "e",
                                                              " ", " ", "-",    "\t",   "ü",
                                                              "€", "𝄞", "\xC3", "\xBC", "\xFF"};
            std::string S;
            for (int I = Pick(0, MaxLen); I > 0; --I)
                S += Alphabet[static_cast<std::size_t>(
                    Pick(0, static_cast<int>(Alphabet.size()) - 1))];
            return S;
        };
        TOvcParaList Store(nullptr, 8192);
        Store.SetTabSize(4);
        Store.SetWrapColumn(Column);
        Store.SetWordWrap(true);
        TStoreModel Model;
        for (int Step = 0; Step < 3000; ++Step) {
            const int P = Pick(1, Model.Count());
            const int Len = Model.Len(P);
            std::string What;
            switch (Pick(0, 9)) {
            case 0:
            case 1: {
                const int Q = Pick(1, Len + 4);
                const std::string S = Text(8);
                What = "insert";
                ASSERT_EQ(Store.InsertText(nullptr, P, Q, S), 0);
                Model.Insert(P, Q, S);
                break;
            }
            case 2: {
                const int Q = Pick(1, Len + 2), N = Pick(0, 6);
                What = "delete";
                Store.DeleteText(nullptr, P, Q, N);
                Model.Delete(P, Q, N);
                break;
            }
            case 3: {
                const int Q = Pick(1, Len + 3), N = Pick(0, 4);
                const std::string S = Text(4);
                What = "replace";
                ASSERT_EQ(Store.ReplaceText(nullptr, P, Q, N, S), 0);
                Model.Replace(P, Q, N, S);
                break;
            }
            case 4: {
                const int Q = Pick(1, Len + 2), Indent = Pick(0, 1) * Pick(0, 9);
                What = "split";
                ASSERT_EQ(Store.SplitPara(nullptr, P, Q, Indent, 4), 0);
                Model.Split(P, Q, Indent, 4);
                break;
            }
            case 5: {
                const int Q = Len + 1 + Pick(0, 1) * Pick(0, 3);
                What = "join";
                ASSERT_EQ(Store.JoinParas(nullptr, P, Q), 0);
                Model.Join(P, Q);
                break;
            }
            case 6: {
                if (Model.Count() < 2)
                    break;
                const int P1 = Pick(1, Model.Count() - 1), P2 = Pick(P1 + 1, Model.Count());
                const TParaPos From{P1, Pick(1, Model.Len(P1) + 1)};
                const TParaPos To{P2, Pick(1, Model.Len(P2) + 1)};
                What = "delete range";
                ASSERT_EQ(Store.DeleteRange(nullptr, From, To), 0);
                Model.DeleteRange(From, To);
                break;
            }
            case 7: {
                std::string Block = Text(5);
                for (int I = Pick(0, 3); I > 0; --I)
                    Block += (Pick(0, 1) ? "\r\n" : "\n") + Text(6);
                TParaPos At{P, Pick(1, Len + 3)}, ModelAt = At;
                What = "paste";
                ASSERT_EQ(Store.InsertBlock(nullptr, At, Block), 0);
                Model.InsertBlock(ModelAt, Block);
                ASSERT_EQ(At, ModelAt);
                break;
            }
            case 8: {
                const int N = Pick(0, 9), Q = Pick(1, Len + 2);
                Store.SetMarker(N, P, Q);
                Model.Marks[static_cast<std::size_t>(N)] = TParaPos{P, Q};
                break;
            }
            default: {
                const int N = Pick(0, 9);
                Store.ClearMarker(N);
                Model.Marks[static_cast<std::size_t>(N)] = TParaPos();
                break;
            }
            }
            const std::string Difference = StoreDifference(Store, Model);
            ASSERT_EQ(Difference, "") << "step " << Step << " (" << What << ")";
        }
    }
}

TEST(OvcEdPara, LinePositionsCountCharactersOfValidUtf8)
{
    TOvcParaList Store(nullptr, 8192);
    Store.AppendPara("äb\tü €", false); // bytes: ä 1-2, b 3, tab 4, ü 5-6, blank 7, € 8-10
    Store.AppendPara("\xFFü", false);   // invalid: every byte a column
    struct TCase {
        int Para, Pos, Col;
    };
    const std::vector<TCase> Cases = {
        {1, 1, 1},   {1, 3, 2},   {1, 4, 3}, {1, 5, 9}, {1, 7, 10}, {1, 8, 11},
        {1, 11, 12}, {1, 13, 14}, {2, 1, 1}, {2, 2, 2}, {2, 3, 3},  {2, 4, 4},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::to_string(Case.Para) + "," + std::to_string(Case.Pos));
        int Line, Col;
        Store.ParaToLine(Case.Para, Case.Pos, Line, Col);
        EXPECT_EQ(Line, Case.Para);
        EXPECT_EQ(Col, Case.Col);
        EXPECT_EQ(Store.LineToPara(Case.Para, Case.Col), (TParaPos{Case.Para, Case.Pos}));
    }
    // A column inside the tab's run is the tab.
    EXPECT_EQ(Store.LineToPara(1, 6), (TParaPos{1, 4}));
}

TEST(OvcEdPara, AnEditThatMakesAParagraphInvalidRewrapsItByBytes)
{
    TOvcParaList Store(nullptr, 8192);
    Store.SetWrapColumn(4);
    Store.SetWordWrap(true);
    Store.AppendPara("üüüüüü", false);
    EXPECT_EQ(Lines(Store), (std::vector<std::string>{"üüüü", "üü", ""}));
    Store.InsertText(nullptr, 1, 13, "\xFF");
    EXPECT_EQ(Lines(Store), (std::vector<std::string>{"üü", "üü", "üü", "\xFF", ""}));
    Store.DeleteText(nullptr, 1, 13, 1);
    EXPECT_EQ(Lines(Store), (std::vector<std::string>{"üüüü", "üü", ""}));
}

TEST(OvcEdPara, APastedBlockBreakingALimitIsRefusedWhole)
{
    struct TCase {
        const char* Name;
        int ParaLimit, TextLimit, LengthLimit;
        std::string Block;
        Word Error;
    };
    const std::vector<TCase> Cases = {
        {"too many lines", 3, INT_MAX, 100, "a\nb\nc\nd", oeTooManyParas},
        {"too much text", INT_MAX, 20, 100, "abc\r\ndefghijkl\nmn", oeOutOfSpace},
        {"a middle line too long", INT_MAX, INT_MAX, 8, "x\n123456789\ny", oeParaTooLong},
        {"the last line and the tail too long", INT_MAX, INT_MAX, 8, "x\n1234567", oeParaTooLong},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TOvcParaList Store(nullptr, 8192);
        Store.AppendPara("abcd", false);
        Store.SetParaLimit(Case.ParaLimit);
        Store.SetTextLimit(Case.TextLimit);
        Store.SetParaLengthLimit(Case.LengthLimit);
        TParaPos At{1, 3};
        EXPECT_EQ(Store.InsertBlock(nullptr, At, Case.Block), Case.Error);
        EXPECT_EQ(Lines(Store), (std::vector<std::string>{"abcd", ""}));
        EXPECT_EQ(Store.UndoBuffer().UndoCount(), 0);
        EXPECT_EQ(Store.ParaLimit(), Case.ParaLimit);
        EXPECT_EQ(Store.ParaLengthLimit(), Case.LengthLimit);
    }
}
