// tests/mail/mspop3_test.cpp: the POP3 client against a scripted server: listing, marks,
// deletion safety, and the faults a real server does not produce.
#include "mail/mspop3.h"

#include "tests/mail/pop3faultserver.h"
#include "tests/support/tempfolder.h"

#include "platform/ui/ttimer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using TestSupport::TPop3Connection;
using TestSupport::TPop3FaultServer;

namespace {

std::string Message(int Number, const std::string& ExtraHeader = "")
{
    const std::string N = std::to_string(Number);
    return "From: sender" + N + "@example.org\r\nSubject: Message " + N + "\r\n" + ExtraHeader +
           "\r\nBody of " + N + "\r\n.line with a leading dot\r\n";
}

std::vector<std::string> Messages(int Count)
{
    std::vector<std::string> Result;
    for (int I = 1; I <= Count; ++I)
        Result.push_back(Message(I));
    return Result;
}

std::vector<std::string> HeaderLines(const ZevRemoteInfoItem* Item)
{
    std::vector<std::string> Lines;
    for (int I = 0; I < Item->Headers()->Count(); ++I)
        Lines.push_back(Item->Headers()->Strings(I));
    return Lines;
}

class Pop3Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        Pop->SetServer(Server.Server());
        Pop->SetUserName("user");
        Pop->SetPassword("secret");
        Pop->SetTimeOut(10);
    }

    // Records the component's events by name, in order.
    void RecordEvents()
    {
        Pop->OnUpdatingInfo = [this](TObject*) { Events.push_back("UpdatingInfo"); };
        Pop->OnNextInfoUpdated = [this](TObject*, int Num) {
            Events.push_back("NextInfoUpdated " + std::to_string(Num));
        };
        Pop->OnInfoUpdated = [this](TObject*) { Events.push_back("InfoUpdated"); };
        Pop->OnCancel = [this](TObject*) { Events.push_back("Cancel"); };
        Pop->OnClosing = [this](TObject*) { Events.push_back("Closing"); };
        Pop->OnClosed = [this](TObject*) { Events.push_back("Closed"); };
        Pop->OnError = [this](TObject*, std::string& Msg) { Events.push_back("Error " + Msg); };
        Pop->OnDeleting = [this](TObject*, int Num) {
            Events.push_back("Deleting " + std::to_string(Num));
        };
    }

    TPop3FaultServer Server{Messages(3)};
    std::unique_ptr<ZevRemotePOP> Pop = std::make_unique<ZevRemotePOP>(nullptr);
    std::vector<std::string> Events;
};

} // namespace

TEST(Pop3Replies, ListSizeIsTheNumberAfterTheMessageNumber)
{
    struct Case {
        const char* Reply;
        int Size;
    };
    const std::vector<Case> Cases = {
        {"+OK 3 1200", 1200},     {"+OK 3 1200 octets, and more words", 1200},
        {"+OK  3   1200", 1200},  {"+OK 3", 0},
        {"+OK 3 12x", 0},         {"+OK 3 -5", 0},
        {"+OK 3 99999999999", 0}, {"+OK", 0},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(mspop3::ParseListSize(C.Reply), C.Size) << C.Reply;
}

TEST(Pop3Replies, StatGivesCountAndSizeAndRejectsWhatIsNoNumber)
{
    int Count = 7, Size = 7;
    EXPECT_TRUE(mspop3::ParseStat("+OK 5 1024", Count, Size));
    EXPECT_EQ(Count, 5);
    EXPECT_EQ(Size, 1024);
    EXPECT_TRUE(mspop3::ParseStat("+OK 5", Count, Size));
    EXPECT_EQ(Count, 5);
    EXPECT_EQ(Size, -1);
    EXPECT_FALSE(mspop3::ParseStat("+OK", Count, Size));
    EXPECT_THROW(mspop3::ParseStat("+OK five 1024", Count, Size), EConvertError);
    EXPECT_THROW(mspop3::ParseStat("+OK 5 $400", Count, Size), EConvertError);
}

TEST(Pop3Replies, UidlListingMapsNumbersToIds)
{
    std::map<int, std::string> Ids;
    mspop3::ParseUidlList("1 abc\r\n2  def extra\r\ngarbage\r\nx y\r\n3\r\n10 z", Ids);
    const std::map<int, std::string> Expected = {{1, "abc"}, {2, "def"}, {10, "z"}};
    EXPECT_EQ(Ids, Expected);
}

TEST(Pop3Replies, AnIdIsOneToSeventyPrintableCharactersOrTheMessageHasNone)
{
    struct Case {
        std::string Line; // after the message number
        std::string Id;   // empty: the message has no id
    };
    const std::vector<Case> Cases = {
        {"!~", "!~"}, // the first and the last printable character
        {std::string(70, 'x'), std::string(70, 'x')},
        {"id more words", "id"},
        {std::string(71, 'x'), ""},
        {"\r\x82", ""}, // a carriage return inside the line
        {"ab\rcd", ""},
        {"abc\r", ""}, // a second CR before the line end
        {"a\tb", ""},
        {"caf\xc3\xa9", ""},
        {"del\x7f", ""},
        {std::string("nul\0", 4), ""},
        {"", ""},
        {"   ", ""},
    };
    for (const Case& C : Cases) {
        std::map<int, std::string> Ids;
        mspop3::ParseUidlList("7 " + C.Line + "\r\n", Ids);
        std::map<int, std::string> Expected;
        if (!C.Id.empty())
            Expected[7] = C.Id;
        EXPECT_EQ(Ids, Expected) << "7 " << C.Line;
    }
    // The lines around a bad one keep their ids.
    std::map<int, std::string> Ids;
    mspop3::ParseUidlList("1 a\r\n2 \r\x82\r\n3 c\r\n", Ids);
    EXPECT_EQ(Ids, (std::map<int, std::string>{{1, "a"}, {3, "c"}}));
}

TEST(Pop3Replies, UnstuffingRestoresTheMessageAndDropsTheEndLine)
{
    struct Case {
        std::string Data, Message;
    };
    const std::vector<Case> Cases = {
        {"a\r\n.\r\n", "a\r\n"},
        {".\r\n", ""},
        {"..x\r\n...\r\n..\r\n.\r\n", ".x\r\n..\r\n.\r\n"},
        {"a\r\nb\r\n", "a\r\nb\r\n"},             // cut short: no end line to drop
        {"a\r\n..b", "a\r\n.b"},                  // cut inside a line
        {"a\nb\r\n.\r\n", "a\nb\r\n"},            // a bare LF stays as it came
        {"x\r\n.\r\n\r\n.\r\n", "x\r\n\r\n\r\n"}, // only the last "." line ends the data
    };
    for (const Case& C : Cases)
        EXPECT_EQ(mspop3::Unstuff(C.Data), C.Message) << C.Data;
}

TEST(Pop3Replies, TheHeaderBlockHoldsTheLinesBeforeTheFirstEmptyOneWhateverTheLineEnds)
{
    struct Case {
        std::string Data;
        std::size_t Length;
    };
    const std::vector<Case> Cases = {
        {"From: a\r\nSubject: b\r\n\r\nbody\r\n", 21},
        {"", 0},
        {"\r\nbody\r\n", 0},
        {"a\r\nb", 4}, // no empty line: all of it
        {"a\nb\n\nc\n", 4},
        {"a\rb\r\rc", 4},
        {"a\r\r\nb", 2}, // a CR, then CR LF as an empty line of its own
        {"a\n\rb", 2},
        {"a\rb\r\nc", 6},
        {"a\r\n\r", 3},
        {"a\r", 2},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(mspop3::HeaderBlockLength(C.Data), C.Length) << C.Data;
        ZevHeaders Whole;
        Whole.SetText(C.Data);
        Whole.StripBody();
        ZevHeaders Block;
        Block.SetText(C.Data.substr(0, mspop3::HeaderBlockLength(C.Data)));
        EXPECT_EQ(Block.Text(), Whole.Text()) << C.Data;
    }
}

TEST_F(Pop3Test, ListingGivesSizesIdsAndHeaderLinesInServerOrder)
{
    Server.SetUidls({"id-a", "id-b", "id-c"});
    RecordEvents();
    Pop->UpdateInfo();

    ASSERT_EQ(Pop->RemoteInfo()->GetCount(), 3);
    for (int I = 0; I < 3; ++I) {
        const ZevRemoteInfoItem* Item = Pop->RemoteInfo()->GetItem(I);
        const std::string N = std::to_string(I + 1);
        EXPECT_EQ(Item->Size, static_cast<int>(Message(I + 1).size()));
        EXPECT_EQ(Item->UIDL, std::string("id-") + static_cast<char>('a' + I));
        EXPECT_EQ(HeaderLines(Item), (std::vector<std::string>{"From: sender" + N + "@example.org",
                                                               "Subject: Message " + N}));
        EXPECT_EQ(Item->Flags, 0);
    }
    EXPECT_EQ(Pop->MessageCount(), 3);
    EXPECT_FALSE(Pop->GetConnected());
    const std::vector<std::string> Expected = {
        "UpdatingInfo", "NextInfoUpdated 0", "NextInfoUpdated 1", "NextInfoUpdated 2", "Closing",
        "Closed",       "InfoUpdated"};
    EXPECT_EQ(Events, Expected);
    const std::vector<std::string> Commands = {"USER user", "PASS secret", "STAT",   "UIDL",
                                               "LIST 1",    "TOP 1 1",     "LIST 2", "TOP 2 1",
                                               "LIST 3",    "TOP 3 1",     "QUIT"};
    EXPECT_EQ(Server.Commands(), Commands);
    EXPECT_THROW(Pop->RemoteInfo()->GetItem(3), EListError);
}

TEST_F(Pop3Test, AnEmptyMailboxListsNothingAndEndsTheSession)
{
    Server.SetMessages({});
    Server.SetUidls({"unused"});
    RecordEvents();
    Pop->UpdateInfo();
    EXPECT_EQ(Pop->RemoteInfo()->GetCount(), 0);
    EXPECT_EQ(Events,
              (std::vector<std::string>{"UpdatingInfo", "Closing", "Closed", "InfoUpdated"}));
    EXPECT_EQ(Server.Commands(),
              (std::vector<std::string>{"USER user", "PASS secret", "STAT", "QUIT"}));
}

TEST_F(Pop3Test, ListReplyWithWordsAfterTheSizeKeepsTheSize)
{
    Server.SetOverride([](const std::string& Command, TPop3Connection& Client) {
        if (Command.rfind("LIST ", 0) != 0)
            return false;
        Client.Write("+OK " + Command.substr(5) + " 4321 octets (and some words)\r\n");
        return true;
    });
    Pop->UpdateInfo();
    ASSERT_EQ(Pop->RemoteInfo()->GetCount(), 3);
    for (int I = 0; I < 3; ++I)
        EXPECT_EQ(Pop->RemoteInfo()->GetItem(I)->Size, 4321);
}

TEST_F(Pop3Test, HugeHeaderDataIsBoundedButTheMessageStaysListed)
{
    const std::string LongLine = "X-Long: " + std::string(1024 * 1024, 'l');
    std::string Flood;
    for (int I = 0; I < 9; ++I)
        Flood += "X-Flood-" + std::to_string(I) + ": " + std::string(1024 * 1024, 'f') + "\r\n";
    Server.SetMessages({Message(1, LongLine + "\r\n"), Message(2, Flood), Message(3)});
    Pop->UpdateInfo();

    ASSERT_EQ(Pop->RemoteInfo()->GetCount(), 3);
    // A 1 MB line within the limit is kept whole.
    EXPECT_EQ(HeaderLines(Pop->RemoteInfo()->GetItem(0)).back(), LongLine);
    // Beyond the limit the rest is dropped, and the session stays in step.
    const ZevRemoteInfoItem* Flooded = Pop->RemoteInfo()->GetItem(1);
    EXPECT_LE(Flooded->Headers()->Text().size(), static_cast<std::size_t>(MaxMessageData) + 4);
    EXPECT_GE(Flooded->Headers()->Count(), 8);
    EXPECT_EQ(Flooded->Size, static_cast<int>(Message(2, Flood).size()));
    EXPECT_EQ(Pop->RemoteInfo()->GetItem(2)->Headers()->GetFieldValue("Subject"), "Message 3");
}

TEST_F(Pop3Test, AStalledServerTimesOutAfterTheIdleSecondsWithTheSocketClosed)
{
    Pop->SetTimeOut(1);
    Server.SetOverride([](const std::string& Command, TPop3Connection& Client) {
        if (Command != "TOP 2 1")
            return false;
        Client.Stall();
        return true;
    });
    RecordEvents();
    const auto Start = std::chrono::steady_clock::now();
    EXPECT_THROW(Pop->UpdateInfo(), ETimedOutError);
    const double Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    EXPECT_GE(Seconds, 0.9);
    EXPECT_LT(Seconds, 5.0);
    EXPECT_FALSE(Pop->GetConnected());
    EXPECT_EQ(Pop->RemoteInfo()->GetCount(), 1);
    EXPECT_EQ(Events.back(), "Closed");
    EXPECT_NE(std::find(Events.begin(), Events.end(), "Error Operation timed out"), Events.end());
}

TEST_F(Pop3Test, CancelDuringAWaitFiresTheEventsInOrderAndRaises)
{
    Server.SetOverride([](const std::string& Command, TPop3Connection& Client) {
        if (Command != "TOP 2 1")
            return false;
        Client.Stall();
        return true;
    });
    TTimer CancelButton(nullptr);
    CancelButton.SetInterval(100);
    CancelButton.OnTimer = [&](TObject*) {
        CancelButton.SetEnabled(false);
        Pop->Cancel();
    };
    RecordEvents();
    EXPECT_THROW(Pop->UpdateInfo(), ECanceledError);
    const std::vector<std::string> Expected = {"UpdatingInfo", "NextInfoUpdated 0",
                                               "Cancel",       "Closing",
                                               "Closed",       "Error Operation has been canceled"};
    EXPECT_EQ(Events, Expected);
    EXPECT_FALSE(Pop->GetConnected());

    // The component works again afterwards.
    Server.SetOverride({});
    Events.clear();
    Pop->UpdateInfo();
    EXPECT_EQ(Pop->RemoteInfo()->GetCount(), 3);
}

TEST_F(Pop3Test, CancelFromAHandlerBetweenTwoMessagesStopsTheListing)
{
    Pop->OnNextInfoUpdated = [this](TObject*, int) { Pop->Cancel(); };
    EXPECT_THROW(Pop->UpdateInfo(), ECanceledError);
    EXPECT_EQ(Pop->RemoteInfo()->GetCount(), 1);
    EXPECT_FALSE(Pop->GetConnected());
}

TEST_F(Pop3Test, BrokenRepliesEndWithAClearErrorAndNoOpenConnection)
{
    struct Case {
        const char* Name;
        std::string Command; // the command answered badly
        std::function<void(TPop3Connection&)> Answer;
        std::string Error; // the exception's message
        bool SessionLeftOpen;
    };
    const std::vector<Case> Cases = {
        {"reset in the middle of TOP", "TOP 2 1",
         [](TPop3Connection& C) {
             C.Write("+OK\r\nFrom: x@example.org\r\nSubj");
             std::this_thread::sleep_for(std::chrono::milliseconds(50));
             C.Reset();
         },
         "", false},
        {"garbage status line", "STAT", [](TPop3Connection& C) { C.Write("\x01\x02garbage\r\n"); },
         "\x01\x02garbage", false},
        {"garbage STAT numbers", "STAT", [](TPop3Connection& C) { C.Write("+OK lots\r\n"); },
         "'lots' is not a valid integer value", false},
        {"over-long status line", "LIST 1",
         [](TPop3Connection& C) { C.Write("+OK 1 " + std::string(10000, '9') + "\r\n"); },
         "Reply line is too long", false},
        {"negative LIST", "LIST 2", [](TPop3Connection& C) { C.Write("-ERR no such message\r\n"); },
         "-ERR no such message", true},
        {"wrong password", "PASS secret",
         [](TPop3Connection& C) { C.Write("-ERR [AUTH] Authentication failed.\r\n"); },
         "-ERR [AUTH] Authentication failed.", false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Server.SetOverride([&C](const std::string& Command, TPop3Connection& Client) {
            if (Command != C.Command)
                return false;
            C.Answer(Client);
            return true;
        });
        std::string Error;
        try {
            Pop->UpdateInfo();
            ADD_FAILURE() << "no exception";
        } catch (const Exception& E) {
            Error = E.Message();
        }
        if (!C.Error.empty())
            EXPECT_EQ(Error, C.Error);
        else
            EXPECT_FALSE(Error.empty());
        EXPECT_EQ(Pop->GetConnected(), C.SessionLeftOpen);
        Pop->Cancel(); // as the application does after a failure
        EXPECT_FALSE(Pop->GetConnected());
    }
}

TEST_F(Pop3Test, ATerminatorSplitOverSeveralWritesEndsTheData)
{
    Server.SetOverride([](const std::string& Command, TPop3Connection& Client) {
        if (Command != "TOP 1 1")
            return false;
        Client.WriteInPieces({"+OK\r\nSubject: split\r\n\r", "\n", "body\r", "\n.", "\r", "\n"});
        return true;
    });
    Pop->UpdateInfo();
    ASSERT_EQ(Pop->RemoteInfo()->GetCount(), 3);
    EXPECT_EQ(HeaderLines(Pop->RemoteInfo()->GetItem(0)),
              (std::vector<std::string>{"Subject: split"}));
    EXPECT_EQ(Pop->RemoteInfo()->GetItem(1)->Headers()->GetFieldValue("Subject"), "Message 2");
}

TEST_F(Pop3Test, LoginAndLogoutFailuresCloseTheConnection)
{
    Server.SetOverride([](const std::string& Command, TPop3Connection& Client) {
        if (Command != "QUIT")
            return false;
        Client.Write("-ERR some deleted messages not removed\r\n");
        return true;
    });
    RecordEvents();
    try {
        Pop->UpdateInfo();
        ADD_FAILURE() << "no exception";
    } catch (const EServerError& E) {
        EXPECT_EQ(E.Message(), "-ERR some deleted messages not removed");
    }
    EXPECT_FALSE(Pop->GetConnected());
    EXPECT_EQ(Events.back(), "Closed");

    // Missing credentials stop before any connection.
    Pop->SetPassword("");
    EXPECT_THROW(Pop->UpdateInfo(), ESocketError);
    EXPECT_EQ(Server.Sessions(), 1);
}

TEST_F(Pop3Test, NegativeDeleReplyClearsTheMarkAndTheRunGoesOn)
{
    Server.SetOverride([](const std::string& Command, TPop3Connection& Client) {
        if (Command != "DELE 2")
            return false;
        Client.Write("-ERR message is locked\r\n");
        return true;
    });
    Server.SetUidls({"a", "b", "c"});
    Pop->UpdateInfo();
    for (int I = 0; I < 3; ++I)
        Pop->MarkDelete(I);
    RecordEvents();
    Pop->ProcessMarked();

    const std::vector<std::string> Deletions = {"Deleting 0", "Deleting 2"};
    std::vector<std::string> Seen;
    for (const std::string& Event : Events)
        if (Event.rfind("Deleting", 0) == 0)
            Seen.push_back(Event);
    EXPECT_EQ(Seen, Deletions);
    EXPECT_EQ(Pop->RemoteInfo()->GetItem(0)->Flags, rfDelete);
    EXPECT_EQ(Pop->RemoteInfo()->GetItem(1)->Flags, 0);
    EXPECT_EQ(Pop->RemoteInfo()->GetItem(2)->Flags, rfDelete);
    EXPECT_EQ(Server.Deleted(), (std::vector<int>{1, 3}));
    EXPECT_FALSE(Pop->GetConnected());
}

TEST_F(Pop3Test, MarkedMessagesAreFoundByTheirIdsElseCheckedAtTheirNumber)
{
    // Four messages; 1 is marked for deletion, 3 for retrieval and deletion. Between the listing
    // and the deletion another client may delete one, and the ids may change.
    struct Case {
        const char* Name;
        int GoneMeanwhile; // the message another client deleted (1-based), 0 for none
        std::vector<std::string> UidlsBefore, UidlsAfter; // empty: the server has no UIDL
        std::string ListedId;                             // the listed id of message 3
        std::vector<int> Deleted;                         // DELE numbers
        std::vector<std::string> Events;
    };
    const std::vector<std::string> BothGo = {"Deleting 0", "Retrieving 2", "Saved 2 Message 3",
                                             "Retrieved 2", "Deleting 2"};
    const std::vector<std::string> OnlyTheFirstGoes = {"Deleting 0"};
    const std::vector<Case> Cases = {
        {"found by its id", 2, {"a", "b", "c", "d"}, {"a", "c", "d"}, "c", {1, 2}, BothGo},
        {"its id is gone", 3, {"a", "b", "c", "d"}, {"a", "b", "d"}, "c", {1}, OnlyTheFirstGoes},
        // Numbers moved, so the message now at 3 is the old 4: not the one listed.
        {"no ids", 2, {}, {}, "", {1}, OnlyTheFirstGoes},
        {"ids at the listing only", 2, {"a", "b", "c", "d"}, {}, "c", {1}, OnlyTheFirstGoes},
        // An id that two messages have is no id; the check at the same number decides.
        {"repeated at first", 0, {"a", "x", "x", "d"}, {"a", "x", "x", "d"}, "", {1, 3}, BothGo},
        {"repeated later", 0, {"a", "b", "c", "d"}, {"a", "c", "c", "d"}, "c", {1, 3}, BothGo},
    };
    RecordEvents();
    Pop->OnRetrieving = [this](TObject*, int Num) {
        Events.push_back("Retrieving " + std::to_string(Num));
    };
    Pop->OnRetrieved = [this](TObject*, int Num) {
        Events.push_back("Retrieved " + std::to_string(Num));
    };
    Pop->OnUserMessageSave = [this](TObject*, int Num, TMemoryStream* Contents) {
        ZevHeaders Headers;
        Headers.SetText(std::string(static_cast<const char*>(Contents->Memory()),
                                    static_cast<std::size_t>(Contents->Size())));
        Events.push_back("Saved " + std::to_string(Num) + " " + Headers.GetFieldValue("Subject"));
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        TPop3FaultServer Peer(Messages(4));
        Pop->SetServer(Peer.Server());
        Peer.SetUidls(C.UidlsBefore);
        Pop->UpdateInfo();
        ASSERT_EQ(Pop->RemoteInfo()->GetCount(), 4);
        EXPECT_EQ(Pop->RemoteInfo()->GetItem(2)->UIDL, C.ListedId);

        std::vector<std::string> Remaining = Messages(4);
        if (C.GoneMeanwhile > 0)
            Remaining.erase(Remaining.begin() + (C.GoneMeanwhile - 1));
        Peer.SetMessages(Remaining);
        Peer.SetUidls(C.UidlsAfter);
        Pop->MarkDelete(0);
        Pop->MarkRetrieve(2);
        Pop->MarkDelete(2);
        Events.clear();
        Pop->ProcessMarked();

        EXPECT_EQ(Peer.Deleted(), C.Deleted);
        std::vector<std::string> Seen;
        for (const std::string& Event : Events)
            if (Event.rfind("Closing", 0) != 0 && Event.rfind("Closed", 0) != 0)
                Seen.push_back(Event);
        EXPECT_EQ(Seen, C.Events);
        // A mark stays where it was carried out and goes where the message was not found.
        EXPECT_EQ(Pop->RemoteInfo()->GetItem(0)->Flags, rfDelete);
        EXPECT_EQ(Pop->RemoteInfo()->GetItem(2)->Flags,
                  C.Events == BothGo ? rfRetrieve | rfDelete : 0);
    }
}

TEST_F(Pop3Test, AMessageFoundTwiceIsActedOnOnce)
{
    // Messages 2 and 3 are the same mail delivered twice; 2 has an id another message repeats,
    // so it has none. Once another client deletes 1, message 3's id and message 2's headers both
    // lead to number 2: it is retrieved and deleted once, and the other item loses its marks.
    const std::vector<std::string> Listed = {Message(1), Message(7), Message(7)};
    TPop3FaultServer Peer(Listed);
    Pop->SetServer(Peer.Server());
    Peer.SetUidls({"x", "x", "c"});
    Pop->UpdateInfo();
    ASSERT_EQ(Pop->RemoteInfo()->GetCount(), 3);
    ASSERT_EQ(Pop->RemoteInfo()->GetItem(1)->UIDL, "");

    Peer.SetMessages({Message(7), Message(7)});
    Peer.SetUidls({"x", "c"});
    for (int I : {1, 2}) {
        Pop->MarkRetrieve(I);
        Pop->MarkDelete(I);
    }
    int Saved = 0;
    Pop->OnUserMessageSave = [&](TObject*, int, TMemoryStream*) { ++Saved; };
    Pop->ProcessMarked();

    EXPECT_EQ(Peer.Deleted(), std::vector<int>{2});
    EXPECT_EQ(Saved, 1);
    EXPECT_EQ(Pop->RemoteInfo()->GetItem(1)->Flags, rfRetrieve | rfDelete);
    EXPECT_EQ(Pop->RemoteInfo()->GetItem(2)->Flags, 0);
}

TEST_F(Pop3Test, AnIdListingCutAtTheLimitGivesNoIdFromItsCutLine)
{
    // The limit falls inside the line of message 3, four bytes into it ("3 lo").
    const std::string Head = "1 id-a\r\n2 id-b\r\n";
    const auto Listing = std::make_shared<const std::string>(
        "+OK\r\n" + Head + "9 " +
        std::string(static_cast<std::size_t>(MaxMessageData) - Head.size() - 8, 'f') +
        "\r\n3 long-id-c\r\n.\r\n");
    Server.SetUidls({"id-a", "id-b", "long-id-c"});
    Server.SetOverride([Listing](const std::string& Command, TPop3Connection& Client) {
        if (Command != "UIDL")
            return false;
        Client.Write(*Listing);
        return true;
    });
    Pop->UpdateInfo();
    ASSERT_EQ(Pop->RemoteInfo()->GetCount(), 3);
    EXPECT_EQ(Pop->RemoteInfo()->GetItem(0)->UIDL, "id-a");
    EXPECT_EQ(Pop->RemoteInfo()->GetItem(1)->UIDL, "id-b");
    EXPECT_EQ(Pop->RemoteInfo()->GetItem(2)->UIDL, "");
}

TEST_F(Pop3Test, RetrievedMessageIsSavedUnstuffedWithItsLineEnds)
{
    TestSupport::TTempFolder Folder;
    Server.SetUidls({"a", "b", "c"});
    Pop->SetMessageDirectory(Folder.Path().substr(0, Folder.Path().size() - 1));
    EXPECT_EQ(Pop->MessageDirectory(), Folder.Path());
    Pop->KeepConnection = true;
    Pop->UpdateInfo();
    EXPECT_TRUE(Pop->GetConnected());
    Pop->MarkRetrieve(1);
    std::vector<std::string> Order;
    Pop->OnRetrieving = [&](TObject*, int Num) {
        Order.push_back("Retrieving " + std::to_string(Num));
    };
    Pop->OnRetrieved = [&](TObject*, int Num) {
        Order.push_back("Retrieved " + std::to_string(Num));
    };
    Pop->ProcessMarked();

    EXPECT_EQ(TestSupport::ReadAll(Folder.Path() + "msg_1.eml"), Message(2));
    EXPECT_EQ(Order, (std::vector<std::string>{"Retrieving 1", "Retrieved 1"}));
    EXPECT_EQ(Server.Sessions(), 1); // one login for listing and processing
    EXPECT_FALSE(Pop->GetConnected());

    // A save handler takes the place of the file.
    std::string Saved;
    int SavedNum = -1;
    Pop->OnUserMessageSave = [&](TObject*, int Num, TMemoryStream* Contents) {
        SavedNum = Num;
        Saved.assign(static_cast<const char*>(Contents->Memory()),
                     static_cast<std::size_t>(Contents->Size()));
    };
    Pop->Unmark(1);
    Pop->MarkRetrieve(2);
    Pop->ProcessMarked();
    EXPECT_EQ(SavedNum, 2);
    EXPECT_EQ(Saved, Message(3));
}

TEST_F(Pop3Test, AMessageBeyondTheLimitIsNotSavedAndTheSessionStaysInStep)
{
    std::string Big =
        Message(2) + std::string(static_cast<std::size_t>(MaxMessageData), 'b') + "\r\n";
    Server.SetMessages({Message(1), Big, Message(3)});
    Pop->KeepConnection = true;
    Pop->UpdateInfo();
    Pop->MarkRetrieve(1);
    bool Saved = false;
    Pop->OnUserMessageSave = [&](TObject*, int, TMemoryStream*) { Saved = true; };
    EXPECT_THROW(Pop->ProcessMarked(), ESocketError);
    EXPECT_FALSE(Saved);
    // The next exchange on the same session gets its own reply.
    Pop->Unmark(1);
    Pop->MarkRetrieve(2);
    Pop->ProcessMarked();
    EXPECT_TRUE(Saved);
}
