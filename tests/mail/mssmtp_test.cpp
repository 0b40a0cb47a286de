// tests/mail/mssmtp_test.cpp: the SMTP session against a scripted server on the loopback
// interface.
#include "mail/mssmtp.h"

#include "mail/msmsg.h"
#include "tests/mail/scriptserver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

// Answers one session: the greeting, then the scripted reply for each command: the reply for
// the whole line, else the one for its first word and a space; "500 unknown" otherwise.
class TScriptedSmtpServer {
public:
    TScriptedSmtpServer(std::string AGreeting, std::map<std::string, std::string> AReplies)
        : Greeting(std::move(AGreeting)), Replies(std::move(AReplies))
    {
        const TestSupport::TLoopbackListener Listening = TestSupport::ListenOnLoopback(1);
        Listener = Listening.Fd;
        Port = Listening.Port;
        Thread = std::thread([this] { Serve(); });
    }
    ~TScriptedSmtpServer()
    {
        ::shutdown(Listener, SHUT_RDWR);
        Thread.join();
        ::close(Listener);
    }

    std::string Server() const { return "127.0.0.1:" + std::to_string(Port); }
    std::vector<std::string> Commands() const
    {
        std::lock_guard<std::mutex> Lock(Mutex);
        return Received;
    }

private:
    void Serve()
    {
        const int Fd = ::accept4(Listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (Fd < 0)
            return;
        Send(Fd, Greeting);
        std::string Pending;
        for (;;) {
            const std::size_t End = Pending.find("\r\n");
            if (End == std::string::npos) {
                char Buffer[1024];
                pollfd Poll = {Fd, POLLIN, 0};
                if (::poll(&Poll, 1, 10000) <= 0)
                    break;
                const ssize_t Count = ::recv(Fd, Buffer, sizeof Buffer, 0);
                if (Count <= 0)
                    break;
                Pending.append(Buffer, static_cast<std::size_t>(Count));
                continue;
            }
            const std::string Line = Pending.substr(0, End);
            Pending.erase(0, End + 2);
            {
                std::lock_guard<std::mutex> Lock(Mutex);
                Received.push_back(Line);
            }
            auto Reply = Replies.find(Line);
            if (Reply == Replies.end())
                Reply = Replies.find(Line.substr(0, Line.find(' ') + 1));
            Send(Fd, Reply == Replies.end() ? "500 unknown\r\n" : Reply->second);
            if (Line == "QUIT")
                break;
        }
        ::close(Fd);
    }

    static void Send(int Fd, const std::string& Data)
    {
        ::send(Fd, Data.data(), Data.size(), MSG_NOSIGNAL);
    }

    std::string Greeting;
    std::map<std::string, std::string> Replies;
    int Listener = -1;
    int Port = 0;
    std::thread Thread;
    mutable std::mutex Mutex;
    std::vector<std::string> Received;
};

} // namespace

TEST(SmtpSession, DefaultsOfTheComponent)
{
    ZevSMTP Smtp(nullptr);
    EXPECT_EQ(Smtp.DefaultPort(), 25);
    EXPECT_EQ(Smtp.ServiceName(), "smtp");
    EXPECT_EQ(Smtp.MailMessage(), nullptr);
}

TEST(SmtpSession, MessageReferenceIsClearedWhenTheMessageGoes)
{
    ZevSMTP Smtp(nullptr);
    auto Message = std::make_unique<ZevMessage>(nullptr);
    Smtp.SetMailMessage(Message.get());
    EXPECT_EQ(Smtp.MailMessage(), Message.get());
    Message.reset();
    EXPECT_EQ(Smtp.MailMessage(), nullptr);
}

TEST(SmtpSession, EmptyServerIsRefused)
{
    ZevSMTP Smtp(nullptr);
    std::string Reported;
    Smtp.OnError = [&](TObject*, std::string& Msg) { Reported = Msg; };
    EXPECT_THROW(Smtp.Connect(), ESocketError);
    EXPECT_EQ(Reported, "Server property is required");
}

TEST(SmtpSession, MultiLineGreetingHeloFallbackAndBareFinalLine)
{
    // The HELO with a host name is refused; HELO alone is answered by a bare "250".
    TScriptedSmtpServer Server(
        "220-mail.example.org ready\r\n220-second line\r\n220 last\r\n",
        {{"HELO ", "501 syntax\r\n"}, {"HELO", "250\r\n"}, {"QUIT", "221-bye\r\n221\r\n"}});
    ZevSMTP Smtp(nullptr);
    Smtp.SetServer(Server.Server());
    Smtp.SetTimeOut(5);
    Smtp.OpenSession();
    EXPECT_TRUE(Smtp.GetConnected());
    Smtp.CloseSession();
    EXPECT_FALSE(Smtp.GetConnected());
    const std::vector<std::string> Commands = Server.Commands();
    ASSERT_EQ(Commands.size(), 3u);
    EXPECT_EQ(Commands[0], "HELO " + Smtp.LocalHost());
    EXPECT_EQ(Commands[1], "HELO");
    EXPECT_EQ(Commands[2], "QUIT");
}

TEST(SmtpSession, RefusalsRaiseTheServerReply)
{
    struct Case {
        const char* Name;
        std::string Greeting;
        std::map<std::string, std::string> Replies;
        std::string Reply; // of the EServerError
        bool LoggedIn;
    };
    const std::vector<Case> Cases = {
        {"greeting", "554 no service\r\n", {}, "554 no service", false},
        {"both HELOs",
         "220 ok\r\n",
         {{"HELO ", "501 a\r\n"}, {"HELO", "502 b\r\n"}},
         "502 b",
         false},
        {"QUIT", "220 ok\r\n", {{"HELO ", "250 hi\r\n"}, {"QUIT", "500 no\r\n"}}, "500 no", true},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        TScriptedSmtpServer Server(C.Greeting, C.Replies);
        ZevSMTP Smtp(nullptr);
        Smtp.SetServer(Server.Server());
        Smtp.SetTimeOut(5);
        std::string Message;
        try {
            Smtp.OpenSession();
            EXPECT_TRUE(C.LoggedIn);
            Smtp.CloseSession();
        } catch (const EServerError& E) {
            Message = E.Message();
        }
        EXPECT_EQ(Message, C.Reply);
        EXPECT_FALSE(Smtp.GetConnected()); // no half-open session is left
    }
}
