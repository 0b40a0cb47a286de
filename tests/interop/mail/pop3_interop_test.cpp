// tests/interop/mail/pop3_interop_test.cpp: the POP3 client against Dovecot, checked against
// what an independent client (Python's poplib) sees of the same mailbox.
#include "mail/mspop3.h"

#include "tests/interop/mail/childprocess.h"
#include "tests/interop/mail/dovecot.h"
#include "tests/support/tempfolder.h"

#include "platform/rtl/stream.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using TestSupport::GeneratedMessage;
using TestSupport::RunProgram;
using TestSupport::TDovecot;

namespace {

// One message as the independent client lists it.
struct TListed {
    int Size = 0;
    std::string Uidl;
    std::vector<std::string> Headers;
};

const char* const PythonPrologue = R"(
import poplib, sys
p = poplib.POP3('127.0.0.1', int(sys.argv[1]))
p.user(sys.argv[2])
p.pass_(sys.argv[3])
out = sys.stdout.buffer
)";

// Runs Script after the prologue's login; the Python client's output, or a test failure.
std::string Python(const TDovecot& Server, const std::string& Script,
                   std::vector<std::string> Args = {})
{
    std::vector<std::string> Argv = {"python3",
                                     "-c",
                                     std::string(PythonPrologue) + Script,
                                     std::to_string(Server.Port()),
                                     TDovecot::UserName,
                                     TDovecot::Password};
    Argv.insert(Argv.end(), Args.begin(), Args.end());
    TestSupport::TProgramResult Result = RunProgram(Argv);
    EXPECT_EQ(Result.ExitCode, 0) << Result.Errors;
    return Result.Output;
}

std::vector<TListed> PythonListing(const TDovecot& Server)
{
    const std::string Output = Python(Server, R"(
for n in range(1, p.stat()[0] + 1):
    size = p.list(n).split()[2]
    uid = p.uidl(n).split()[2]
    out.write(b'M ' + size + b' ' + uid + b'\n')
    for line in p.top(n, 0)[1]:
        if line == b'':
            break
        out.write(b'H ' + line + b'\n')
p.quit()
)");
    std::vector<TListed> Result;
    std::istringstream Lines(Output);
    std::string Line;
    while (std::getline(Lines, Line)) {
        if (Line.rfind("M ", 0) == 0) {
            std::istringstream Words(Line.substr(2));
            Result.emplace_back();
            Words >> Result.back().Size >> Result.back().Uidl;
        } else if (Line.rfind("H ", 0) == 0 && !Result.empty()) {
            Result.back().Headers.push_back(Line.substr(2));
        }
    }
    return Result;
}

std::vector<std::string> Subjects(const std::vector<TListed>& Listing)
{
    std::vector<std::string> Result;
    for (const TListed& Message : Listing)
        for (const std::string& Header : Message.Headers)
            if (Header.rfind("Subject: ", 0) == 0)
                Result.push_back(Header.substr(9));
    return Result;
}

std::vector<std::string> GeneratedSubjects(const std::vector<int>& Numbers)
{
    std::vector<std::string> Result;
    for (int Number : Numbers)
        Result.push_back("Message " + std::to_string(Number));
    return Result;
}

std::vector<std::string> GeneratedMailbox(int Count)
{
    std::vector<std::string> Messages;
    for (int I = 1; I <= Count; ++I)
        Messages.push_back(GeneratedMessage(I, 150 * I));
    return Messages;
}

class Pop3Interop : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        try {
            Server = new TDovecot;
        } catch (const std::exception& E) {
            StartError = E.what();
        }
    }
    static void TearDownTestSuite()
    {
        delete Server;
        Server = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(Server, nullptr)
            << "Dovecot did not start (scripts/setup --test installs it): " << StartError;
        Pop->SetServer(Server->Server());
        Pop->SetUserName(TDovecot::UserName);
        Pop->SetPassword(TDovecot::Password);
        Pop->SetTimeOut(20);
    }

    static TDovecot* Server;
    static std::string StartError;
    std::unique_ptr<ZevRemotePOP> Pop = std::make_unique<ZevRemotePOP>(nullptr);
};

TDovecot* Pop3Interop::Server = nullptr;
std::string Pop3Interop::StartError;

} // namespace

TEST_F(Pop3Interop, UpdateInfoListsWhatAnIndependentClientSees)
{
    Server->WriteMailbox(GeneratedMailbox(25));
    Pop->UpdateInfo();
    const std::vector<TListed> Expected = PythonListing(*Server);

    ASSERT_EQ(Expected.size(), 25u) << Server->Log();
    ASSERT_EQ(Pop->RemoteInfo()->GetCount(), 25);
    EXPECT_EQ(Pop->MessageCount(), 25);
    for (int I = 0; I < 25; ++I) {
        SCOPED_TRACE("message " + std::to_string(I + 1));
        const ZevRemoteInfoItem* Item = Pop->RemoteInfo()->GetItem(I);
        EXPECT_EQ(Item->Size, Expected[I].Size);
        EXPECT_EQ(Item->UIDL, Expected[I].Uidl);
        std::vector<std::string> Headers;
        for (int L = 0; L < Item->Headers()->Count(); ++L)
            Headers.push_back(Item->Headers()->Strings(L));
        EXPECT_EQ(Headers, Expected[I].Headers);
    }
    EXPECT_FALSE(Pop->GetConnected());
}

TEST_F(Pop3Interop, RetrievedMessageFileIsByteIdenticalToTheMessageSent)
{
    Server->WriteMailbox(GeneratedMailbox(4));
    TestSupport::TTempFolder Folder;
    Pop->SetMessageDirectory(Folder.Path());
    // The application's save handler: the message as msg_<n>.eml in the program folder.
    Pop->OnUserMessageSave = [&](TObject*, int Num, TMemoryStream* Contents) {
        Contents->SaveToFile(Pop->MessageDirectory() + "msg_" + std::to_string(Num) + ".eml");
    };
    Pop->UpdateInfo();
    Pop->MarkRetrieve(1);
    Pop->MarkRetrieve(3);
    Pop->ProcessMarked();

    for (int Num : {1, 3}) {
        const std::string Sent = Python(*Server, R"(
out.write(b''.join(line + b'\r\n' for line in p.retr(int(sys.argv[4]))[1]))
p.quit()
)",
                                        {std::to_string(Num + 1)});
        ASSERT_FALSE(Sent.empty());
        EXPECT_EQ(TestSupport::ReadAll(Folder.Path() + "msg_" + std::to_string(Num) + ".eml"),
                  Sent);
    }
    EXPECT_FALSE(std::ifstream(Folder.Path() + "msg_0.eml").good());
    // Nothing was deleted by retrieving.
    EXPECT_EQ(PythonListing(*Server).size(), 4u);
}

TEST_F(Pop3Interop, ProcessMarkedDeletesExactlyTheMarkedMessages)
{
    Server->WriteMailbox(GeneratedMailbox(10));
    Pop->UpdateInfo();
    std::vector<int> Deleting;
    Pop->OnDeleting = [&](TObject*, int Num) { Deleting.push_back(Num); };
    for (int Index : {0, 3, 4, 9})
        Pop->MarkDelete(Index);
    Pop->ProcessMarked();

    EXPECT_EQ(Deleting, (std::vector<int>{0, 3, 4, 9}));
    EXPECT_FALSE(Pop->GetConnected());
    EXPECT_EQ(Subjects(PythonListing(*Server)), GeneratedSubjects({2, 3, 6, 7, 8, 9}))
        << Server->Log();
}

TEST_F(Pop3Interop, MarkedMessagesGoByTheirIdsAfterAnotherClientDeletedSome)
{
    Server->WriteMailbox(GeneratedMailbox(12));
    Pop->UpdateInfo();
    ASSERT_EQ(Pop->RemoteInfo()->GetCount(), 12);
    const std::vector<TListed> Before = PythonListing(*Server);
    ASSERT_EQ(Before.size(), 12u) << Server->Log();

    // Another client deletes messages 1 and 5 between our listing and our deletion: the marked
    // messages 3, 7 and 12 are now numbers 2, 5 and 10, and the marked message 5 is gone.
    Python(*Server, "p.dele(1)\np.dele(5)\np.quit()\n");
    std::vector<std::string> Events;
    Pop->OnRetrieving = [&](TObject*, int Num) {
        Events.push_back("Retrieving " + std::to_string(Num));
    };
    Pop->OnUserMessageSave = [&](TObject*, int Num, TMemoryStream* Contents) {
        ZevHeaders Headers;
        Headers.SetText(std::string(static_cast<const char*>(Contents->Memory()),
                                    static_cast<std::size_t>(Contents->Size())));
        Events.push_back("Saved " + std::to_string(Num) + " " + Headers.GetFieldValue("Subject"));
    };
    Pop->OnRetrieved = [&](TObject*, int Num) {
        Events.push_back("Retrieved " + std::to_string(Num));
    };
    Pop->OnDeleting = [&](TObject*, int Num) {
        Events.push_back("Deleting " + std::to_string(Num));
    };
    for (int Index : {2, 4, 6, 11})
        Pop->MarkDelete(Index);
    Pop->MarkRetrieve(6);
    Pop->ProcessMarked();

    // The events give the indexes of the listing, as the host's rows are numbered.
    const std::vector<std::string> Expected = {"Deleting 2",  "Retrieving 6", "Saved 6 Message 7",
                                               "Retrieved 6", "Deleting 6",   "Deleting 11"};
    EXPECT_EQ(Events, Expected);
    EXPECT_EQ(Pop->RemoteInfo()->GetItem(2)->Flags, rfDelete);
    EXPECT_EQ(Pop->RemoteInfo()->GetItem(4)->Flags, 0);
    EXPECT_EQ(Pop->RemoteInfo()->GetItem(6)->Flags, rfRetrieve | rfDelete);
    EXPECT_EQ(Pop->RemoteInfo()->GetItem(11)->Flags, rfDelete);
    EXPECT_FALSE(Pop->GetConnected());

    const std::vector<TListed> After = PythonListing(*Server);
    EXPECT_EQ(Subjects(After), GeneratedSubjects({2, 4, 6, 8, 9, 10, 11})) << Server->Log();
    std::vector<std::string> Ids, ExpectedIds;
    for (const TListed& Message : After)
        Ids.push_back(Message.Uidl);
    for (int Number : {2, 4, 6, 8, 9, 10, 11})
        ExpectedIds.push_back(Before[static_cast<std::size_t>(Number - 1)].Uidl);
    EXPECT_EQ(Ids, ExpectedIds);
}

TEST_F(Pop3Interop, WrongPasswordRaisesServerErrorWithTheServersLine)
{
    Server->WriteMailbox(GeneratedMailbox(1));
    // The server's own words (a second failed login from the same address would be delayed
    // by its penalty, so no independent client tries the same here).
    Pop->SetPassword("wrong");
    try {
        Pop->UpdateInfo();
        ADD_FAILURE() << "no exception";
    } catch (const EServerError& E) {
        EXPECT_EQ(E.Message(), "-ERR [AUTH] Authentication failed.");
    }
    EXPECT_FALSE(Pop->GetConnected());
    EXPECT_EQ(Pop->RemoteInfo()->GetCount(), 0);
}
