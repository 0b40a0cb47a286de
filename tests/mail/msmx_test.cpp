#include "mail/msmx.h"

#include "mail/mailerrors.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/ttimer.h"
#include "platform/ui/virtualtime.h"
#include "tests/mail/timing.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using TestSupport::ThreadCpuSeconds;
using TestSupport::TLater;

namespace {

// Hand-built packets.

std::string W16(unsigned Value)
{
    return {static_cast<char>(Value >> 8 & 0xFF), static_cast<char>(Value & 0xFF)};
}

std::string W32(std::uint32_t Value)
{
    return W16(Value >> 16) + W16(Value & 0xFFFF);
}

std::string Labels(std::initializer_list<std::string> Parts, bool Ended = true)
{
    std::string Wire;
    for (const std::string& Part : Parts)
        Wire += static_cast<char>(Part.size()) + Part;
    return Ended ? Wire + '\0' : Wire;
}

std::string Pointer(unsigned Offset)
{
    return W16(0xC000 | Offset);
}

constexpr unsigned Id = 0x4242;
constexpr unsigned Answer = 0x8180; // QR, RD, RA
const std::string MailTest = Labels({"mail", "test"});
constexpr unsigned AtQuestion = 12;

std::string Header(unsigned Flags, unsigned Answers, unsigned Questions = 1, unsigned PacketId = Id)
{
    return W16(PacketId) + W16(Flags) + W16(Questions) + W16(Answers) + W16(0) + W16(0);
}

std::string Question(const std::string& Name = MailTest, unsigned Type = 15)
{
    return Name + W16(Type) + W16(1);
}

std::string Record(const std::string& Owner, unsigned Type, const std::string& Data)
{
    return Owner + W16(Type) + W16(1) + W32(300) + W16(static_cast<unsigned>(Data.size())) + Data;
}

std::string Mx(unsigned Preference, const std::string& Exchange)
{
    return Record(Pointer(AtQuestion), 15, W16(Preference) + Exchange);
}

// The MX answers as "<preference> <exchange>".
std::vector<std::string> Listed(const TMXList& List)
{
    std::vector<std::string> Lines;
    for (int I = 0; I < List.Count(); ++I)
        Lines.push_back(std::to_string(List.Items(I)->Preference) + " " + List.Items(I)->Exchange);
    return Lines;
}

std::vector<std::string> Lines(const TStrings& Strings)
{
    std::vector<std::string> Result;
    for (int I = 0; I < Strings.Count(); ++I)
        Result.push_back(Strings.Strings(I));
    return Result;
}

enum TOutcome { Ignored, Answered, Raised };

struct TReplyCase {
    const char* Behaviour;
    std::string Reply;
    TOutcome Outcome;
    std::vector<std::string> Answers; // in the list afterwards, also after a failure
    std::string Message = "";
    int RCode = -1;
};

const char* const InvalidReply = "Server returned invalid reply";

std::vector<TReplyCase> ReplyCases()
{
    const std::string Q = Header(Answer, 3) + Question();
    // A name placed past offset 255 by a long record that precedes it.
    const std::string Filler = Record(Pointer(AtQuestion), 16, std::string(260, 'x'));
    const std::string FarName = Labels({"far", "example"});
    const std::size_t FarOffset = (Header(Answer, 3) + Question() + Filler).size() + 12 + 2;
    // An MX answer whose exchange "mx" goes on through a chain of pointers, each pointing at
    // the one before it, the first at the question name: Hops pointers followed in all.
    auto Chained = [](int Hops) {
        const unsigned ChainStart = AtQuestion + 15 + 12;
        std::string Chain = Pointer(AtQuestion);
        for (int I = 1; I <= Hops - 2; ++I)
            Chain += Pointer(ChainStart + 2 * static_cast<unsigned>(I - 1));
        return Header(Answer, 2) + Question() + Record(Pointer(AtQuestion), 16, Chain) +
               Mx(1, Labels({"mx"}, false) +
                         Pointer(static_cast<unsigned>(ChainStart + Chain.size() - 2)));
    };
    return {
        {"answers come out by ascending preference, ties in answer order",
         Q + Mx(20, Labels({"b", "x"})) + Mx(10, Labels({"a", "x"})) + Mx(20, Labels({"c", "x"})),
         Answered,
         {"10 a.x.", "20 b.x.", "20 c.x."}},
        {"a CNAME before the MX answers is skipped",
         Header(Answer, 2) + Question() +
             Record(Pointer(AtQuestion), 5, Labels({"other", "test"})) +
             Mx(5, Labels({"mx", "other", "test"})),
         Answered,
         {"5 mx.other.test."}},
        {"an exchange compressed onto the question name",
         Header(Answer, 1) + Question() + Mx(10, Labels({"mx1"}, false) + Pointer(AtQuestion)),
         Answered,
         {"10 mx1.mail.test."}},
        {"a pointer to an offset above 255 is followed",
         Header(Answer, 3) + Question() + Filler + Mx(10, FarName) +
             Mx(20, Labels({"mx"}, false) + Pointer(static_cast<unsigned>(FarOffset))),
         Answered,
         {"10 far.example.", "20 mx.far.example."}},
        {"the null MX reads as the root",
         Header(Answer, 1) + Question() + Mx(0, std::string(1, '\0')),
         Answered,
         {"0 ."}},
        {"no answers (the name has no MX records)", Header(Answer, 0) + Question(), Answered, {}},
        {"the question is compared without regard to case",
         Header(Answer, 1) + Question(Labels({"MAIL", "Test"})) + Mx(1, Labels({"m"})),
         Answered,
         {"1 m."}},
        {"a truncated reply keeps the answers that arrived whole",
         Header(Answer | 0x0200, 2) + Question() + Mx(10, Labels({"a"})) +
             Mx(20, Labels({"b"})).substr(0, 9),
         Answered,
         {"10 a."}},
        {"another identifier is ignored", Header(Answer, 0, 1, Id + 1) + Question(), Ignored, {}},
        {"another name in the question is ignored",
         Header(Answer, 1) + Question(Labels({"mail", "tesT", "x"})) + Mx(1, Labels({"m"})),
         Ignored,
         {}},
        {"another type in the question is ignored",
         Header(Answer, 0) + Question(MailTest, 1),
         Ignored,
         {}},
        {"a reply cut inside the question is ignored",
         (Header(Answer, 0) + Question()).substr(0, 20),
         Ignored,
         {}},
        {"a datagram shorter than a header is ignored", W16(Id) + W16(Answer), Ignored, {}},
        {"a successful reply without the question is ignored", Header(Answer, 0, 0), Ignored, {}},
        {"two questions are not an answer to ours",
         Header(Answer, 0, 2) + Question() + Question(),
         Ignored,
         {}},
        {"a query is not a response",
         Header(0x0100, 0) + Question(),
         Raised,
         {},
         "This is not a response"},
        {"an error reply may leave out the question",
         Header(Answer | 3, 0, 0),
         Raised,
         {},
         "Domain name does not exist",
         3},
        {"an answer cut short",
         Header(Answer, 2) + Question() + Mx(10, Labels({"a"})) +
             Mx(20, Labels({"b"})).substr(0, 9),
         Raised,
         {"10 a."},
         InvalidReply},
        {"fewer answers than announced",
         Header(Answer, 2) + Question() + Mx(10, Labels({"a"})),
         Raised,
         {"10 a."},
         InvalidReply},
        {"an exchange running past its record",
         Header(Answer, 1) + Question() +
             Record(Pointer(AtQuestion), 15, W16(1) + Labels({"a"}, false)) + Labels({"b"}),
         Raised,
         {},
         InvalidReply},
        {"a pointer forward to a later name",
         Header(Answer, 2) + Question() + Mx(1, Pointer(AtQuestion + 15 + 16 + 14)) +
             Mx(2, Labels({"b"})),
         Raised,
         {},
         InvalidReply},
        {"a pointer to itself",
         Header(Answer, 1) + Question() + Mx(1, Pointer(AtQuestion + 15 + 12 + 2)),
         Raised,
         {},
         InvalidReply},
        {"a pointer into the header",
         Header(Answer, 1) + Question() + Mx(1, Pointer(4)),
         Raised,
         {},
         InvalidReply},
        {"a pointer beyond the datagram",
         Header(Answer, 1) + Question() + Mx(1, Pointer(0x3FFF)),
         Raised,
         {},
         InvalidReply},
        {"a pointer cut in half",
         Header(Answer, 1) + Question() + Pointer(AtQuestion).substr(0, 1),
         Raised,
         {},
         InvalidReply},
        {"a loop through a label and a pointer back to it",
         Header(Answer, 1) + Question() +
             Record(Pointer(AtQuestion), 15,
                    W16(1) + Labels({"x"}, false) + Pointer(AtQuestion + 15 + 12 + 2)),
         Raised,
         {},
         InvalidReply},
        {"a chain of pointers within the hop limit",
         Chained(msmxcls::MaxPointerHops - 1),
         Answered,
         {"1 mx.mail.test."}},
        {"a chain of pointers longer than the hop limit",
         Chained(msmxcls::MaxPointerHops + 1),
         Raised,
         {},
         InvalidReply},
        {"a label of a reserved type",
         Header(Answer, 1) + Question() + Mx(1, std::string(1, '\x41') + "x"),
         Raised,
         {},
         InvalidReply},
        {"a name longer than 255 bytes",
         Header(Answer, 1) + Question() +
             Mx(1, Labels({std::string(63, 'a'), std::string(63, 'b'), std::string(63, 'c'),
                           std::string(63, 'd')})),
         Raised,
         {},
         InvalidReply},
    };
}

TEST(MXReplyParser, ReadsEachReplyAsItsTableSays)
{
    for (const TReplyCase& Case : ReplyCases()) {
        SCOPED_TRACE(Case.Behaviour);
        TMXList List;
        TOutcome Outcome = Raised;
        try {
            Outcome = msmxcls::ParseMXReply(Case.Reply, Id, MailTest, List) ? Answered : Ignored;
            EXPECT_EQ(Outcome, Case.Outcome);
        } catch (const EResolverError& E) {
            EXPECT_EQ(Case.Outcome, Raised);
            EXPECT_EQ(E.Message(), Case.Message);
            EXPECT_EQ(E.RCode, Case.RCode);
        }
        EXPECT_EQ(Listed(List), Case.Answers);
    }
}

TEST(MXReplyParser, EveryResponseCodeIsReportedWithItsText)
{
    const std::vector<std::pair<int, std::string>> Codes = {
        {1, "Domain server was unable to interpret a query"},
        {2, "Domain server failure"},
        {3, "Domain name does not exist"},
        {4, "Not implemented"},
        {5, "Domain server refused to return the information"},
        {9, "Domain server Error #9"},
    };
    for (const auto& [Code, Text] : Codes) {
        TMXList List;
        TStringList Log;
        try {
            msmxcls::ParseMXReply(Header(Answer | static_cast<unsigned>(Code), 0) + Question(), Id,
                                  MailTest, List, &Log);
            ADD_FAILURE() << "no error for " << Code;
        } catch (const EResolverError& E) {
            EXPECT_EQ(E.Message(), Text);
            EXPECT_EQ(E.RCode, Code);
        }
        EXPECT_EQ(Lines(Log), (std::vector<std::string>{"Recursion available",
                                                        "Error code " + std::to_string(Code)}));
    }
}

TEST(MXReplyParser, ManyAnswersAreAllReadAndSorted)
{
    std::string Reply = Header(Answer | 0x0400 | 0x0200, 3000) + Question();
    for (unsigned I = 0; I < 3000; ++I)
        Reply += Mx((I * 7919) % 3000, Pointer(AtQuestion));
    TMXList List;
    TStringList Log;
    ASSERT_TRUE(msmxcls::ParseMXReply(Reply, Id, MailTest, List, &Log));
    ASSERT_EQ(List.Count(), 3000);
    for (int I = 0; I < List.Count(); ++I)
        ASSERT_EQ(List.Items(I)->Preference, I);
    EXPECT_EQ(List.Items(0)->Exchange, "mail.test.");
    EXPECT_EQ(Lines(Log), (std::vector<std::string>{"Authoritative Answer", "Response truncated",
                                                    "Recursion available"}));
}

TEST(MXQuery, TheDatagramIsTheHeaderAndOneMXQuestion)
{
    const std::string Expected =
        std::string("\x12\x34\x01\x00\x00\x01\x00\x00\x00\x00\x00\x00", 12) +
        std::string("\x01"
                    "a\x01"
                    "b\x00\x00\x0F\x00\x01",
                    9);
    EXPECT_EQ(msmxcls::BuildMXQuery(0x1234, msmxcls::EncodeDomainName("a.b")), Expected);
}

TEST(MXQuery, DomainNamesAreCheckedBeforeAnythingIsSent)
{
    const std::string Label63(63, 'l');
    // 3 labels of 63 and one of 61: 253 characters of text, 255 bytes on the wire.
    const std::string Longest =
        Label63 + "." + Label63 + "." + Label63 + "." + std::string(61, 'm');
    struct TCase {
        std::string Domain;
        bool Valid;
        std::string Wire = "";
    };
    const std::vector<TCase> Cases = {
        {"a.b", true, Labels({"a", "b"})},
        {"a.b.", true, Labels({"a", "b"})},
        {"Mail-1.Example_x.com", true, Labels({"Mail-1", "Example_x", "com"})},
        {"localhost", true, Labels({"localhost"})},
        {Label63 + ".com", true, Labels({Label63, "com"})},
        {Longest, true, Labels({Label63, Label63, Label63, std::string(61, 'm')})},
        {Longest + ".", true, Labels({Label63, Label63, Label63, std::string(61, 'm')})},
        {Longest + "m", false},
        {Label63 + "l.com", false},
        {"", false},
        {".", false},
        {"a.b..", false},
        {".a.b", false},
        {"a..b", false},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE("\"" + Case.Domain + "\"");
        if (Case.Valid) {
            EXPECT_EQ(msmxcls::EncodeDomainName(Case.Domain), Case.Wire);
        } else {
            try {
                msmxcls::EncodeDomainName(Case.Domain);
                ADD_FAILURE() << "accepted";
            } catch (const EResolverError& E) {
                EXPECT_EQ(E.Message(), "Invalid domain name \"" + Case.Domain + "\"");
                EXPECT_EQ(E.RCode, -1);
            }
        }
    }
}

TEST(MXQuery, FlagAccessorsSetTheirOwnBitsOnly)
{
    TQuerySpec Spec;
    Spec.SetRD(true);
    EXPECT_EQ(Spec.Flags, msmxcls::QueryFlags);
    Spec.SetOPCODE(2);
    Spec.SetOPCODE(1);
    Spec.SetRCODE(15);
    Spec.SetRCODE(3);
    Spec.SetQR(true);
    Spec.SetTC(true);
    EXPECT_EQ(Spec.Flags, 0x8000 | 1 << 11 | 0x0200 | 0x0100 | 3);
    EXPECT_TRUE(Spec.QR() && Spec.TC() && Spec.RD());
    EXPECT_FALSE(Spec.AA() || Spec.RA());
    EXPECT_EQ(Spec.OPCODE(), 1);
    EXPECT_EQ(Spec.RCODE(), 3);
}

TEST(DefaultDNSAddress, IsTheFirstIPv4NameServerOrTheEnvironmentsChoice)
{
    const std::vector<std::pair<std::string, std::string>> Cases = {
        {"nameserver 192.0.2.1\nnameserver 192.0.2.2\n", "192.0.2.1"},
        {"# nameserver 192.0.2.9\nsearch example\nnameserver ::1\n\tnameserver  192.0.2.3 \n",
         "192.0.2.3"},
        {"; comment\nnameserver fe80::1%eth0\n", ""},
        {"", ""},
    };
    for (const auto& [Text, Server] : Cases)
        EXPECT_EQ(msmx::FirstIPv4NameServer(Text), Server) << Text;

    ::setenv("TARNWICK_DNS_SERVER", "192.0.2.77", 1);
    ZevMXResolver Resolver(nullptr);
    ::unsetenv("TARNWICK_DNS_SERVER");
    EXPECT_EQ(Resolver.DNSAddress(), "192.0.2.77");
    EXPECT_EQ(Resolver.Port(), 53);
    EXPECT_EQ(Resolver.TimeOut(), 60);
}

// A loopback UDP server whose script runs on a thread of its own: it gets each query and
// answers through Reply (Other: from a second socket, that is another port).
class TUdpServer {
public:
    using TReply = std::function<void(const std::string& Data, bool Other)>;
    using TScript = std::function<void(const std::string& Query, const TReply& Reply)>;

    explicit TUdpServer(TScript Script, int Queries = 1)
    {
        FSocket = Bound();
        FOther = Bound();
        sockaddr_in A{};
        socklen_t Length = sizeof A;
        ::getsockname(FSocket, reinterpret_cast<sockaddr*>(&A), &Length);
        FPort = ntohs(A.sin_port);
        FThread = std::thread([this, Script = std::move(Script), Queries] {
            for (int I = 0; I < Queries; ++I) {
                pollfd P{FSocket, POLLIN, 0};
                if (::poll(&P, 1, 10000) <= 0)
                    return;
                char Buffer[1024];
                sockaddr_in From{};
                socklen_t FromLength = sizeof From;
                const ssize_t Got = ::recvfrom(FSocket, Buffer, sizeof Buffer, 0,
                                               reinterpret_cast<sockaddr*>(&From), &FromLength);
                if (Got < 0)
                    return;
                FReceived.emplace_back(Buffer, static_cast<std::size_t>(Got));
                Script(FReceived.back(), [&](const std::string& Data, bool Other) {
                    ::sendto(Other ? FOther : FSocket, Data.data(), Data.size(), 0,
                             reinterpret_cast<const sockaddr*>(&From), FromLength);
                });
            }
        });
    }
    ~TUdpServer()
    {
        Join();
        ::close(FSocket);
        ::close(FOther);
    }

    std::uint16_t Port() const { return FPort; }
    // The queries received, once the server has taken all it was told to take (or waited 10 s
    // for the next in vain).
    const std::vector<std::string>& Received()
    {
        Join();
        return FReceived;
    }

private:
    void Join()
    {
        if (FThread.joinable())
            FThread.join();
    }

    static int Bound()
    {
        const int Fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in A{};
        A.sin_family = AF_INET;
        A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(Fd, reinterpret_cast<sockaddr*>(&A), sizeof A);
        return Fd;
    }

    int FSocket = -1;
    int FOther = -1;
    std::uint16_t FPort = 0;
    std::vector<std::string> FReceived;
    std::thread FThread;
};

// The reply to Query with the given flags and records after its own header and question.
std::string ReplyTo(const std::string& Query, unsigned Flags, unsigned Answers,
                    const std::string& Records, int IdChange = 0)
{
    const unsigned QueryId =
        static_cast<unsigned char>(Query[0]) << 8 | static_cast<unsigned char>(Query[1]);
    return Header(Flags, Answers, 1, (QueryId + static_cast<unsigned>(IdChange)) & 0xFFFF) +
           Query.substr(12) + Records;
}

class TResolver : public ZevMXResolver {
public:
    explicit TResolver(std::uint16_t Port, int Seconds = 5) : ZevMXResolver(nullptr)
    {
        SetDNSAddress("127.0.0.1");
        SetPort(Port);
        SetTimeOut(Seconds);
        SetDomain("Mail.Test");
        OnSendingQuery = [this](TObject*) { Events.push_back("Sending"); };
        OnWaitingForResponse = [this](TObject*) { Events.push_back("Waiting"); };
        OnClosingConnection = [this](TObject*) { Events.push_back("Closing"); };
    }
    std::vector<std::string> Events;
};

const std::vector<std::string> AllEvents = {"Sending", "Waiting", "Closing"};

TEST(ZevMXResolver, SendsOneQueryAndKeepsTheDomainAsSet)
{
    TUdpServer Server([](const std::string& Query, const TUdpServer::TReply& Reply) {
        Reply(ReplyTo(Query, Answer, 2, Mx(20, Labels({"b"})) + Mx(10, Labels({"a"}))), false);
    });
    TResolver Resolver(Server.Port());
    Resolver.Resolve();
    EXPECT_EQ(Listed(*Resolver.MXList()), (std::vector<std::string>{"10 a.", "20 b."}));
    EXPECT_EQ(Resolver.Domain(), "Mail.Test");
    EXPECT_EQ(Resolver.Events, AllEvents);
    EXPECT_EQ(Lines(*Resolver.LogLines()),
              (std::vector<std::string>{"Opening connection", "Constructing query", "Sending query",
                                        "Recursion available"}));
    ASSERT_EQ(Server.Received().size(), 1u);
    std::string Query = Server.Received()[0];
    Query[0] = Query[1] = 0;
    EXPECT_EQ(Query, Header(0x0100, 0, 1, 0) + Question(Labels({"Mail", "Test"})));
}

TEST(ZevMXResolver, QueryIdentifiersDifferFromLookUpToLookUp)
{
    TUdpServer Server(
        [](const std::string& Query, const TUdpServer::TReply& Reply) {
            Reply(ReplyTo(Query, Answer, 0, ""), false);
        },
        8);
    TResolver Resolver(Server.Port());
    for (int I = 0; I < 8; ++I)
        Resolver.Resolve();
    ASSERT_EQ(Server.Received().size(), 8u);
    int Distinct = 0;
    for (std::size_t I = 1; I < Server.Received().size(); ++I)
        Distinct += Server.Received()[I].substr(0, 2) != Server.Received()[0].substr(0, 2);
    EXPECT_GE(Distinct, 6);
}

TEST(ZevMXResolver, RepliesToOtherQueriesOrFromOtherPortsAreIgnored)
{
    TUdpServer Server([](const std::string& Query, const TUdpServer::TReply& Reply) {
        const std::string Good = ReplyTo(Query, Answer, 1, Mx(10, Labels({"right"})));
        Reply(ReplyTo(Query, Answer | 3, 0, "", 1), false);
        Reply(ReplyTo(Query, Answer | 3, 0, "").replace(13, 4, "mall"), false);
        Reply(Good, true);
        Reply("garbage", false);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        Reply(Good, false);
    });
    TResolver Resolver(Server.Port());
    Resolver.Resolve();
    EXPECT_EQ(Listed(*Resolver.MXList()), std::vector<std::string>{"10 right."});
}

TEST(ZevMXResolver, TheResponseCodeTravelsWithTheError)
{
    TUdpServer Server([](const std::string& Query, const TUdpServer::TReply& Reply) {
        Reply(ReplyTo(Query, Answer | 2, 0, ""), false);
    });
    TResolver Resolver(Server.Port());
    try {
        Resolver.Resolve();
        ADD_FAILURE() << "no error";
    } catch (const EResolverError& E) {
        EXPECT_EQ(E.Message(), "Domain server failure");
        EXPECT_EQ(E.RCode, dnsServFail);
    }
    EXPECT_EQ(Resolver.Events, AllEvents);
}

TEST(ZevMXResolver, ASilentServerTimesOutAfterTheIdleSeconds)
{
    TUdpServer Server([](const std::string&, const TUdpServer::TReply& Reply) {
        // A reply to another query does not restart the count.
        Reply(std::string(12, '\0'), false);
    });
    TResolver Resolver(Server.Port(), 60);
    {
        TVirtualTime Clock;
        try {
            Resolver.Resolve();
            ADD_FAILURE() << "no time-out";
        } catch (const ETimedOutError& E) {
            EXPECT_EQ(E.Message(), "Operation timed out");
        }
        EXPECT_GE(Clock.Skipped(), 60000u);
        EXPECT_LT(Clock.Skipped(), 61000u);
    }
    EXPECT_EQ(Resolver.Events, AllEvents);
}

TEST(ZevMXResolver, CancelFromAHandlerEndsTheWait)
{
    TUdpServer Server([](const std::string&, const TUdpServer::TReply&) {});
    TResolver Resolver(Server.Port(), 60);
    TLater Cancel(300, [&] { Resolver.Cancel(); });
    const double CpuBefore = ThreadCpuSeconds();
    const auto Start = std::chrono::steady_clock::now();
    try {
        Resolver.Resolve();
        ADD_FAILURE() << "not canceled";
    } catch (const ECanceledError& E) {
        EXPECT_EQ(E.Message(), "Operation has been canceled");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(5));
    // The wait slept in poll() rather than spinning.
    EXPECT_LT(ThreadCpuSeconds() - CpuBefore, 0.1);
    EXPECT_EQ(Resolver.Events, AllEvents);
}

TEST(ZevMXResolver, NothingIsSentForANameOrServerThatCannotBeAsked)
{
    TResolver Resolver(53);
    Resolver.SetDomain("a..b");
    EXPECT_THROW(Resolver.Resolve(), EResolverError);
    Resolver.SetDomain("a.b");
    Resolver.SetDNSAddress("dns.example");
    EXPECT_THROW(Resolver.Resolve(), ESocketError);
    EXPECT_TRUE(Resolver.Events.empty());
}

} // namespace
