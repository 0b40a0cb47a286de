// The editor's undo buffer: records and their extension, groups, room made by discarding whole
// groups, the saved modified flags, and paragraphs shared by the text and the records.
#include "controls/entry/ovcedundo.h"

#include "controls/entry/ovcedpara.h"
#include "tests/controls/entry/edstoremodel.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

void Load(TOvcParaList& Store, const std::vector<std::string>& Lines)
{
    for (const std::string& Line : Lines)
        Store.AppendPara(Line, false);
}

bool UndoOnce(TOvcParaList& Store)
{
    TParaPos At;
    return Store.Undo(nullptr, At);
}

} // namespace

TEST(OvcEdUndo, ThreeTypedCharactersMakeOneRecord)
{
    TOvcParaList Store(nullptr, 8192);
    Store.InsertText(nullptr, 1, 1, "a");
    Store.InsertText(nullptr, 1, 2, "b");
    Store.InsertText(nullptr, 1, 3, "c");
    ASSERT_EQ(Store.UndoBuffer().UndoCount(), 1);
    EXPECT_EQ(Store.UndoBuffer().Newest().Kind(), ukInsertText);
    EXPECT_EQ(Store.UndoBuffer().Newest().Text(), "abc");
    TParaPos At;
    EXPECT_FALSE(Store.Undo(nullptr, At));
    EXPECT_EQ(Store.ParaText(1), "");
    EXPECT_EQ(At, (TParaPos{1, 1}));
    Store.Redo(nullptr, At);
    EXPECT_EQ(Store.ParaText(1), "abc");
    EXPECT_TRUE(Store.Modified());
}

TEST(OvcEdUndo, RepeatedDeletionsMakeOneRecordInTextOrder)
{
    struct TCase {
        const char* Name;
        std::vector<int> Positions;
        std::string Record;
        int RecordPos;
    };
    const std::vector<TCase> Cases = {
        {"Backspace", {5, 4, 3}, "cde", 3},
        {"Delete", {2, 2, 2}, "bcd", 2},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TOvcParaList Store(nullptr, 8192);
        Load(Store, {"abcdef"});
        for (int Pos : Case.Positions)
            Store.DeleteText(nullptr, 1, Pos, 1);
        ASSERT_EQ(Store.UndoBuffer().UndoCount(), 1);
        const TUndoNode Record = Store.UndoBuffer().Newest();
        EXPECT_EQ(Record.Kind(), ukDeleteText);
        EXPECT_EQ(Record.Text(), Case.Record);
        EXPECT_EQ(Record.Pos(), Case.RecordPos);
        UndoOnce(Store);
        EXPECT_EQ(Store.ParaText(1), "abcdef");
    }
}

TEST(OvcEdUndo, ChangeLargerThanTheBufferEmptiesIt)
{
    TOvcParaList Store(nullptr, 100);
    Store.InsertText(nullptr, 1, 1, "ab");
    Store.SplitPara(nullptr, 1, 2);
    ASSERT_EQ(Store.UndoBuffer().UndoCount(), 5);
    UndoOnce(Store);
    ASSERT_EQ(Store.UndoBuffer().RedoCount(), 4);
    Store.InsertText(nullptr, 1, 3, std::string(100, 'x'));
    EXPECT_EQ(Store.UndoBuffer().UndoCount(), 0);
    EXPECT_EQ(Store.UndoBuffer().RedoCount(), 0);
    EXPECT_EQ(Store.UndoBuffer().BufAvail(), 100);
    UndoOnce(Store);
    EXPECT_EQ(Store.ParaText(1), "ab" + std::string(100, 'x'));
}

TEST(OvcEdUndo, ReplaceOfTwoLongestParagraphsIsNotWrittenWithAWrappedLength)
{
    TOvcParaList Store(nullptr, 65535);
    const std::string Old(32767, 'o'), New(32767, 'n');
    Store.InsertText(nullptr, 1, 1, "x");
    Store.SplitPara(nullptr, 1, 2);
    Store.InsertText(nullptr, 2, 1, Old);
    ASSERT_EQ(Store.UndoBuffer().Newest().DataLen(), 32767);
    EXPECT_EQ(Store.ReplaceText(nullptr, 2, 1, 32767, New), 0);
    EXPECT_EQ(Store.ParaText(2), New);
    EXPECT_EQ(Store.UndoBuffer().UndoCount(), 0);
    UndoOnce(Store);
    EXPECT_EQ(Store.ParaText(2), New);
    // The buffer still records what follows.
    Store.ReplaceText(nullptr, 2, 1, 2, "ab");
    UndoOnce(Store);
    EXPECT_EQ(Store.ParaText(2), New);
}

TEST(OvcEdUndo, OvertypingMakesOneReplaceRecord)
{
    TOvcParaList Store(nullptr, 8192);
    Load(Store, {"abcdef"});
    Store.ReplaceText(nullptr, 1, 2, 1, "X");
    Store.ReplaceText(nullptr, 1, 3, 1, "Y");
    Store.ReplaceText(nullptr, 1, 4, 1, "Z");
    EXPECT_EQ(Store.ParaText(1), "aXYZef");
    ASSERT_EQ(Store.UndoBuffer().UndoCount(), 1);
    EXPECT_EQ(Store.UndoBuffer().Newest().OldText(), "bcd");
    EXPECT_EQ(Store.UndoBuffer().Newest().NewText(), "XYZ");
    UndoOnce(Store);
    EXPECT_EQ(Store.ParaText(1), "abcdef");
}

TEST(OvcEdUndo, CompoundChangesUndoAsOneGroup)
{
    struct TCase {
        const char* Name;
        std::function<void(TOvcParaList&)> Change;
        std::vector<std::string> After;
    };
    const std::vector<TCase> Cases = {
        {"split with indent",
         [](TOvcParaList& S) { S.SplitPara(nullptr, 1, 7, 6, 4); },
         {"hello", "\t  world", "line two", "end", ""}},
        {"join",
         [](TOvcParaList& S) { S.JoinParas(nullptr, 1, 14); },
         {"hello world  line two", "end", ""}},
        {"range delete",
         [](TOvcParaList& S) {
             S.DeleteRange(nullptr, TParaPos{1, 3}, TParaPos{3, 2});
         },
         {"hend", ""}},
        {"paste",
         [](TOvcParaList& S) {
             TParaPos At{2, 5};
             S.InsertBlock(nullptr, At, "A\r\nB\nC");
         },
         {"hello world", "lineA", "B", "C two", "end", ""}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TOvcParaList Store(nullptr, 8192);
        Load(Store, {"hello world", "line two", "end"});
        const std::vector<std::string> Before = StoreParas(Store);
        Case.Change(Store);
        EXPECT_EQ(StoreParas(Store), Case.After);
        UndoOnce(Store);
        EXPECT_EQ(StoreParas(Store), Before);
        EXPECT_EQ(Store.UndoBuffer().UndoCount(), 0);
        TParaPos At;
        Store.Redo(nullptr, At);
        EXPECT_EQ(StoreParas(Store), Case.After);
        EXPECT_EQ(Store.UndoBuffer().RedoCount(), 0);
    }
}

TEST(OvcEdUndo, UndoPastASaveMarksTheTextModified)
{
    TOvcParaList Store(nullptr, 8192);
    Store.InsertText(nullptr, 1, 1, "abc");
    EXPECT_TRUE(Store.Modified());
    EXPECT_FALSE(UndoOnce(Store));
    TParaPos At;
    Store.Redo(nullptr, At);
    Store.SetModified(false); // saved
    Store.SplitPara(nullptr, 1, 2);
    EXPECT_FALSE(UndoOnce(Store)); // back to the saved text
    EXPECT_TRUE(UndoOnce(Store));  // and past it
    EXPECT_TRUE(Store.Modified());
    Store.Redo(nullptr, At);
    EXPECT_TRUE(Store.Modified());
}

TEST(OvcEdUndo, RedoneChangeUndoneAgainRestoresItsFlag)
{
    TOvcParaList Store(nullptr, 8192);
    Store.InsertText(nullptr, 1, 1, "abc");
    Store.SetModified(false);
    Store.SplitPara(nullptr, 1, 2);
    TParaPos At;
    Store.Undo(nullptr, At);
    Store.SetModified(false);
    Store.Redo(nullptr, At);
    EXPECT_TRUE(Store.Modified());
    EXPECT_FALSE(UndoOnce(Store));
}

TEST(OvcEdUndo, RoomIsMadeByDiscardingWholeOldestGroups)
{
    TOvcParaList Store(nullptr, 200);
    Load(Store, {"one two three", "four five"});
    Store.SplitPara(nullptr, 1, 5); // a group of four records
    ASSERT_EQ(Store.UndoBuffer().UndoCount(), 4);
    for (int I = 0; I < 10; ++I) {
        Store.InsertText(nullptr, 3, 1, "xxxxxxxx");
        Store.SplitPara(nullptr, 3, 1);
    }
    ASSERT_GT(Store.UndoBuffer().UndoCount(), 0);
    // The split's group went whole: undoing everything left leaves it done.
    while (Store.UndoBuffer().UndoCount() > 0)
        UndoOnce(Store);
    EXPECT_EQ(Store.ParaText(1), "one");
    EXPECT_EQ(Store.ParaText(2), "two three");
}

TEST(OvcEdUndo, ExtensionThatWouldDiscardItsOwnRecordStartsANewOne)
{
    TOvcParaList Store(nullptr, 64);
    for (int I = 1; I <= 50; ++I)
        Store.InsertText(nullptr, 1, I, "a");
    ASSERT_EQ(Store.UndoBuffer().BufAvail(), 0);
    Store.InsertText(nullptr, 1, 51, "b");
    ASSERT_EQ(Store.UndoBuffer().UndoCount(), 1);
    EXPECT_EQ(Store.UndoBuffer().Newest().Text(), "b");
    UndoOnce(Store);
    EXPECT_EQ(Store.ParaText(1), std::string(50, 'a'));
}

// Paragraph objects named by records stay alive while either the text or a record uses them.
TEST(OvcEdUndo, ParagraphsSharedWithRecordsAreNeverFreedWhileInUse)
{
    // A joined paragraph put back by Undo outlives its record when that is discarded.
    {
        TOvcParaList Store(nullptr, 120);
        Load(Store, {"abc", "def"});
        Store.JoinParas(nullptr, 1, 4);
        UndoOnce(Store);
        ASSERT_EQ(StoreParas(Store), (std::vector<std::string>{"abc", "def", ""}));
        for (int I = 0; I < 20; ++I) {
            Store.InsertText(nullptr, 3, 1, "zzzzzzzzzz");
            Store.DeleteText(nullptr, 3, 1, 10);
        }
        EXPECT_EQ(Store.ParaText(2), "def");
        Store.InsertText(nullptr, 2, 4, "g");
        EXPECT_EQ(Store.ParaText(2), "defg");
    }
    // A split's new paragraph, undone and redone, survives the buffer being replaced.
    {
        TOvcParaList Store(nullptr, 8192);
        Load(Store, {"abc def"});
        Store.SplitPara(nullptr, 1, 5);
        UndoOnce(Store);
        TParaPos At;
        Store.Redo(nullptr, At);
        Store.SetUndoSize(4096);
        EXPECT_EQ(StoreParas(Store), (std::vector<std::string>{"abc", "def", ""}));
        Store.DeleteText(nullptr, 2, 1, 1);
        EXPECT_EQ(Store.ParaText(2), "ef");
    }
    // A paragraph only a redo record holds goes with that record (LeakSanitizer watches).
    {
        TOvcParaList Store(nullptr, 8192);
        Store.SplitPara(nullptr, 1, 1);
        UndoOnce(Store);
        Store.InsertText(nullptr, 1, 1, "new");
        EXPECT_EQ(Store.UndoBuffer().RedoCount(), 0);
        EXPECT_EQ(Store.ParaCount(), 1);
    }
    // With recording off (a group that overflowed) a deleted paragraph goes at once.
    {
        TOvcParaList Store(nullptr, 16);
        Load(Store, {"abc", "def"});
        const bool Group = Store.BeginGroup();
        Store.InsertText(nullptr, 1, 1, "0123456789");
        EXPECT_TRUE(Store.UndoBuffer().GroupOverflow());
        Store.JoinParas(nullptr, 1, 14);
        Store.EndGroup(Group);
        EXPECT_FALSE(Store.UndoBuffer().GroupOverflow());
        EXPECT_EQ(StoreParas(Store), (std::vector<std::string>{"0123456789abcdef", ""}));
    }
}

// Random edits, undone to the start and redone to the end: each undo goes back to a state the
// text had, undoing everything gives the start and redoing everything the end.
TEST(OvcEdUndo, UndoAndRedoBackToTheStartEqualTheModel)
{
    std::mt19937 Random(424242u);
    auto Pick = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Random); };
    auto Text = [&](int MaxLen) {
        static const char Alphabet[] = "xyz -\t";
        std::string S(static_cast<std::size_t>(Pick(0, MaxLen)), ' ');
        for (char& C : S)
            C = Alphabet[Pick(0, static_cast<int>(sizeof Alphabet) - 2)];
        return S;
    };
    for (int Round = 0; Round < 20; ++Round) {
        SCOPED_TRACE("round " + std::to_string(Round));
        TOvcParaList Store(nullptr, 65535);
        Store.SetWrapColumn(9);
        Store.SetWordWrap(Round % 2 == 0);
        Load(Store, {"start one", "start two"});
        TStoreModel Model;
        Model.Paras = {"start one", "start two", ""};
        std::vector<std::vector<std::string>> History{Model.Paras};
        for (int Step = 0; Step < 150; ++Step) {
            const int P = Pick(1, Model.Count());
            const int Len = Model.Len(P);
            switch (Pick(0, 6)) {
            case 0: {
                const int Q = Pick(1, Len + 3);
                const std::string S = Text(4);
                Store.InsertText(nullptr, P, Q, S);
                Model.Insert(P, Q, S);
                break;
            }
            case 1: {
                const int Q = Pick(1, Len + 1), N = Pick(1, 3);
                Store.DeleteText(nullptr, P, Q, N);
                Model.Delete(P, Q, N);
                break;
            }
            case 2: {
                const int Q = Pick(1, Len + 2), N = Pick(0, 3);
                const std::string S = Text(3);
                Store.ReplaceText(nullptr, P, Q, N, S);
                Model.Replace(P, Q, N, S);
                break;
            }
            case 3: {
                const int Q = Pick(1, Len + 1), Indent = Pick(0, 5);
                Store.SplitPara(nullptr, P, Q, Indent, 4);
                Model.Split(P, Q, Indent, 4);
                break;
            }
            case 4: {
                const int Q = Len + 1 + Pick(0, 2);
                Store.JoinParas(nullptr, P, Q);
                Model.Join(P, Q);
                break;
            }
            case 5: {
                if (Model.Count() < 2)
                    break;
                const int P1 = Pick(1, Model.Count() - 1), P2 = Pick(P1 + 1, Model.Count());
                const TParaPos From{P1, Pick(1, Model.Len(P1) + 1)};
                const TParaPos To{P2, Pick(1, Model.Len(P2) + 1)};
                Store.DeleteRange(nullptr, From, To);
                Model.DeleteRange(From, To);
                break;
            }
            default: {
                std::string Block = Text(3) + "\n" + Text(3);
                TParaPos At{P, Pick(1, Len + 1)}, ModelAt = At;
                Store.InsertBlock(nullptr, At, Block);
                Model.InsertBlock(ModelAt, Block);
                break;
            }
            }
            ASSERT_EQ(StoreDifference(Store, Model, false), "") << "step " << Step;
            History.push_back(Model.Paras);
        }
        const std::vector<std::string> End = Model.Paras;
        std::size_t Back = History.size() - 1;
        while (Store.UndoBuffer().UndoCount() > 0) {
            UndoOnce(Store);
            const std::vector<std::string> Now = StoreParas(Store);
            while (Back > 0 && History[Back] != Now)
                --Back;
            ASSERT_EQ(History[Back], Now) << "an undo reached a text that never was";
        }
        TStoreModel Start;
        Start.Paras = History.front();
        EXPECT_EQ(StoreDifference(Store, Start, false), "");
        EXPECT_FALSE(Store.Modified());
        TParaPos At;
        while (Store.UndoBuffer().RedoCount() > 0)
            Store.Redo(nullptr, At);
        TStoreModel Final;
        Final.Paras = End;
        EXPECT_EQ(StoreDifference(Store, Final, false), "");
    }
}
