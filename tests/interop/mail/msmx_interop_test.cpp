// tests/interop/mail/msmx_interop_test.cpp: the MX resolver against dnsmasq, which answers MX
// records unsorted, names compressed, and NXDOMAIN, REFUSED and empty answers as real servers do.
#include "mail/msmx.h"

#include "mail/mailerrors.h"
#include "tests/interop/mail/dnsmasq.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

using TestSupport::TDnsmasq;

namespace {

const std::vector<std::string> MailTestHosts = {"10 mx1.mail.test.", "20 mx2.mail.test.",
                                                "30 mx3.mail.test."};

class MXResolverInterop : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Given out of order, and answered so.
        Server = new TDnsmasq(
            {"--mx-host=mail.test,mx2.mail.test,20", "--mx-host=mail.test,mx1.mail.test,10",
             "--mx-host=mail.test,mx3.mail.test,30", "--cname=alias.test,mail.test",
             "--host-record=plain.test,127.0.0.9", "--local=/test/"});
    }
    static void TearDownTestSuite()
    {
        delete Server;
        Server = nullptr;
    }

    // A resolver asking the server at Port of Address.
    static std::unique_ptr<ZevMXResolver> Resolver(const std::string& Domain,
                                                   const std::string& Address, int Port)
    {
        auto Result = std::make_unique<ZevMXResolver>(nullptr);
        Result->SetDNSAddress(Address);
        Result->SetPort(static_cast<Word>(Port));
        Result->SetTimeOut(10);
        Result->SetDomain(Domain);
        return Result;
    }
    static std::unique_ptr<ZevMXResolver> Resolver(const std::string& Domain)
    {
        return Resolver(Domain, Server->Address(), Server->Port());
    }

    static std::vector<std::string> Listed(const ZevMXResolver& Resolver)
    {
        std::vector<std::string> Lines;
        const TMXList& List = *Resolver.MXList();
        for (int I = 0; I < List.Count(); ++I)
            Lines.push_back(std::to_string(List.Items(I)->Preference) + " " +
                            List.Items(I)->Exchange);
        return Lines;
    }

    static TDnsmasq* Server;
};

TDnsmasq* MXResolverInterop::Server = nullptr;

// Passes one query from the resolver on to the server and the server's reply back, keeping
// both.
class TRelay {
public:
    explicit TRelay(const TDnsmasq& Server)
    {
        FFront = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        FBack = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in A{};
        A.sin_family = AF_INET;
        A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(FFront, reinterpret_cast<sockaddr*>(&A), sizeof A);
        socklen_t Length = sizeof A;
        ::getsockname(FFront, reinterpret_cast<sockaddr*>(&A), &Length);
        FPort = ntohs(A.sin_port);
        sockaddr_in To{};
        To.sin_family = AF_INET;
        To.sin_port = htons(Server.Port());
        ::inet_pton(AF_INET, Server.Address().c_str(), &To.sin_addr);
        FThread = std::thread([this, To] {
            sockaddr_in Client{};
            socklen_t ClientLength = sizeof Client;
            FQuery = ReceiveFrom(FFront, &Client, &ClientLength);
            if (FQuery.empty())
                return;
            ::sendto(FBack, FQuery.data(), FQuery.size(), 0, reinterpret_cast<const sockaddr*>(&To),
                     sizeof To);
            FReply = ReceiveFrom(FBack, nullptr, nullptr);
            ::sendto(FFront, FReply.data(), FReply.size(), 0,
                     reinterpret_cast<const sockaddr*>(&Client), ClientLength);
        });
    }
    ~TRelay()
    {
        Join();
        ::close(FFront);
        ::close(FBack);
    }

    int Port() const { return FPort; }

    // What went through, once the relay has ended (after one exchange, or 10 s of silence).
    const std::string& Query()
    {
        Join();
        return FQuery;
    }
    const std::string& Reply()
    {
        Join();
        return FReply;
    }

private:
    void Join()
    {
        if (FThread.joinable())
            FThread.join();
    }

    static std::string ReceiveFrom(int Fd, sockaddr_in* From, socklen_t* Length)
    {
        pollfd P{Fd, POLLIN, 0};
        if (::poll(&P, 1, 10000) <= 0)
            return "";
        char Buffer[4096];
        const ssize_t Got =
            ::recvfrom(Fd, Buffer, sizeof Buffer, 0, reinterpret_cast<sockaddr*>(From), Length);
        return std::string(Buffer, Got > 0 ? static_cast<std::size_t>(Got) : 0);
    }

    int FFront = -1;
    int FBack = -1;
    int FPort = 0;
    std::string FQuery;
    std::string FReply;
    std::thread FThread;
};

// The preferences of the MX answers for the question name, in the order the reply gives them.
std::vector<int> AnsweredPreferences(const std::string& Reply)
{
    // dnsmasq writes each answer's owner as a pointer to the question name at offset 12.
    const std::string Owner("\xC0\x0C\x00\x0F\x00\x01", 6);
    std::vector<int> Preferences;
    for (std::size_t At = Reply.find(Owner); At != std::string::npos && At + 14 <= Reply.size();
         At = Reply.find(Owner, At + 1))
        Preferences.push_back(static_cast<unsigned char>(Reply[At + 12]) << 8 |
                              static_cast<unsigned char>(Reply[At + 13]));
    return Preferences;
}

TEST_F(MXResolverInterop, TheQueryOnTheWireIsOneMXQuestionWithRecursionDesired)
{
    TRelay Relay(*Server);
    auto R = Resolver("mail.test", "127.0.0.1", Relay.Port());
    R->Resolve();

    const std::string Expected("\x00\x00\x01\x00\x00\x01\x00\x00\x00\x00\x00\x00"
                               "\x04mail\x04test\x00"
                               "\x00\x0F\x00\x01",
                               27);
    std::string Query = Relay.Query();
    ASSERT_GE(Query.size(), 2u);
    Query[0] = Query[1] = 0; // the random identifier
    EXPECT_EQ(Query, Expected);
    // The server gave them in another order than the list keeps.
    EXPECT_EQ(AnsweredPreferences(Relay.Reply()), (std::vector<int>{30, 10, 20})) << Server->Log();
    EXPECT_EQ(Listed(*R), MailTestHosts);
}

TEST_F(MXResolverInterop, EachDomainIsReportedAsTheServerAnswersIt)
{
    struct TCase {
        std::string Domain;
        std::vector<std::string> Hosts; // on success
        std::string Error = "";         // the message of an EResolverError
        int RCode = -1;
    };
    const std::vector<TCase> Cases = {
        {"mail.test", MailTestHosts},
        {"MAIL.Test.", MailTestHosts},
        // The CNAME record comes first; only the MX records of its target are kept.
        {"alias.test", MailTestHosts},
        // An address but no MX records: no error, no hosts.
        {"plain.test", {}},
        {"nothere.test", {}, "Domain name does not exist", dnsNXDomain},
        {"outside.example", {}, "Domain server refused to return the information", dnsRefused},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Domain);
        auto R = Resolver(Case.Domain);
        try {
            R->Resolve();
            EXPECT_TRUE(Case.Error.empty()) << "no error";
            EXPECT_EQ(Listed(*R), Case.Hosts);
        } catch (const EResolverError& E) {
            EXPECT_EQ(E.Message(), Case.Error);
            EXPECT_EQ(E.RCode, Case.RCode);
        }
        EXPECT_EQ(R->Domain(), Case.Domain);
    }
}

} // namespace
