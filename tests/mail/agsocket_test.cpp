#include "mail/agsocket.h"

#include "mail/agRasCmp.h"
#include "platform/net/errors.h"
#include "platform/net/lookup.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/ttimer.h"
#include "platform/ui/virtualtime.h"
#include "platform/ui/wait.h"
#include "platform/ui/window.h"
#include "tests/mail/scriptserver.h"
#include "tests/mail/timing.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

using TestSupport::SecondsSince;
using TestSupport::ThreadCpuSeconds;
using TestSupport::TLater;
using TestSupport::TPeer;
using TestSupport::TScriptServer;

namespace {

// The transfer calls are the protocol layers'; the tests call them as one.
class TTestSocket : public TagSocket {
public:
    TTestSocket() : TagSocket(nullptr) {}
    using TagSocket::ConnectSocket;
    using TagSocket::ReadLine;
    using TagSocket::ReadMultiLine;
    using TagSocket::ReceiveCount;
    using TagSocket::ReceiveToTerminator;
    using TagSocket::SendLine;
    using TagSocket::SendStream;

    void Open(const std::string& Address)
    {
        SetServer(Address);
        Connect();
        ConnectSocket();
    }
    // The events in the order they fired; the error with its text.
    void Record(std::vector<std::string>& Events)
    {
        OnCancel = [&Events](TObject*) { Events.push_back("Cancel"); };
        OnClosing = [&Events](TObject*) { Events.push_back("Closing"); };
        OnClosed = [&Events](TObject*) { Events.push_back("Closed"); };
        OnError = [&Events](TObject*, std::string& Msg) { Events.push_back("Error " + Msg); };
    }
};

std::string Text(TMemoryStream& Stream)
{
    return std::string(static_cast<const char*>(Stream.Memory()),
                       static_cast<std::size_t>(Stream.Size()));
}

// Counts the polls of the loop's waits while it lives, passing each on to the system.
class TPollCounter {
public:
    TPollCounter()
    {
        SetPollFunction([this](pollfd* Fds, nfds_t Count, int TimeoutMs) {
            ++Calls;
            return ::poll(Fds, Count, TimeoutMs);
        });
    }
    ~TPollCounter() { SetPollFunction(nullptr); }
    TPollCounter(const TPollCounter&) = delete;
    TPollCounter& operator=(const TPollCounter&) = delete;

    int Calls = 0;
};

} // namespace

TEST(TagSocket, LinesAndBlocksKeepTheBytesPastALineEndForTheNextRead)
{
    TestSupport::TTempFolder Folder;
    std::string Got;
    TScriptServer Server([&](TPeer& Peer) {
        Peer.Send("+OK hello\r\nsecond\r\r\n");
        Got = Peer.ReadLine();
        Peer.SendPieces({"line1\r\n..stuffed\r\n", "\r", "\n.", "\r\n+OK after\r\n"});
        Peer.Send(".\r\n0123456789+OK count\r\n");
        Got += "|" + Peer.ReadBytes(5000);
        Peer.Send("+OK stored\r\n");
    });
    {
        TTestSocket Socket;
        Socket.SetLogFileName(Folder.Path() + "log/socket.log");
        Socket.Open(Server.Address());
        std::string Line;
        EXPECT_EQ(Socket.ReadLine(Line), -1); // "+OK" is no three-digit code
        EXPECT_EQ(Line, "+OK hello");
        Socket.ReadLine(Line);
        EXPECT_EQ(Line, "second");
        Socket.SendLine("USER me");

        TMemoryStream Data;
        EXPECT_TRUE(Socket.ReceiveToTerminator(&Data, -1));
        EXPECT_EQ(Text(Data), "line1\r\n..stuffed\r\n\r\n.\r\n");
        Socket.ReadLine(Line);
        EXPECT_EQ(Line, "+OK after");

        TMemoryStream Empty;
        EXPECT_TRUE(Socket.ReceiveToTerminator(&Empty, -1));
        EXPECT_EQ(Text(Empty), ".\r\n");
        TMemoryStream Block;
        Socket.ReceiveCount(&Block, 10);
        EXPECT_EQ(Text(Block), "0123456789");
        Socket.ReadLine(Line);
        EXPECT_EQ(Line, "+OK count");

        TMemoryStream Out;
        const std::string Body(5000, 'b');
        Out.WriteBuffer(Body.data(), Body.size());
        Socket.SendStream(&Out);
        Socket.ReadLine(Line);
        EXPECT_EQ(Line, "+OK stored");
        Socket.Close();
    }
    EXPECT_EQ(Got, "USER me|" + std::string(5000, 'b'));
    const std::string Log = TestSupport::ReadAll(Folder.Path() + "log/socket.log");
    EXPECT_NE(Log.find("USER me"), std::string::npos);
    EXPECT_NE(Log.find("+OK hello"), std::string::npos);
    EXPECT_NE(Log.find("Suppressing the message body"), std::string::npos);
}

TEST(TagSocket, TheLogFileNeverHoldsThePassword)
{
    TestSupport::TTempFolder Folder;
    std::string Got;
    {
        TScriptServer Server([&](TPeer& Peer) { Got = Peer.ReadLine(); });
        TTestSocket Socket; // goes first, writing its log; then the server ends
        Socket.SetLogFileName(Folder.Path() + "socket.log");
        Socket.Open(Server.Address());
        Socket.SendLine("PASS secret");
    }
    EXPECT_EQ(Got, "PASS secret"); // the server still gets it
    const std::string Log = TestSupport::ReadAll(Folder.Path() + "socket.log");
    EXPECT_NE(Log.find("PASS ********"), std::string::npos) << Log;
    EXPECT_EQ(Log.find("secret"), std::string::npos) << Log;
}

TEST(TagSocket, MultiLineRepliesReadToTheLineWithASpaceAfterTheCode)
{
    TScriptServer Server(
        [](TPeer& Peer) { Peer.Send("250-first\r\n250-second\r\n250 last\r\n220 next\r\n"); });
    TTestSocket Socket;
    Socket.Open(Server.Address());
    EXPECT_EQ(Socket.ReadMultiLine(), 250);
    EXPECT_EQ(Socket.LastReply, "250 last");
    std::string Line;
    EXPECT_EQ(Socket.ReadLine(Line), 220);
}

TEST(TagSocket, AFinalLineWithNoTextEndsAMultiLineReply)
{
    TScriptServer Server([](TPeer& Peer) { Peer.Send("250-first\r\n250\r\n221 next\r\n"); });
    TTestSocket Socket;
    Socket.Open(Server.Address());
    EXPECT_EQ(Socket.ReadMultiLine(), 250);
    EXPECT_EQ(Socket.LastReply, "250");
    std::string Line;
    EXPECT_EQ(Socket.ReadLine(Line), 221);
}

TEST(TagSocket, DataOverTheBudgetIsDroppedAndTheConnectionStaysInStep)
{
    const std::string Body = std::string(3000, 'x') + "\r\n";
    TScriptServer Server([&](TPeer& Peer) { Peer.Send(Body + ".\r\n+OK synced\r\n"); });
    TTestSocket Socket;
    Socket.Open(Server.Address());
    TMemoryStream Data;
    EXPECT_FALSE(Socket.ReceiveToTerminator(&Data, -1, 1000));
    EXPECT_EQ(Text(Data), Body.substr(0, 1000));
    std::string Line;
    Socket.ReadLine(Line);
    EXPECT_EQ(Line, "+OK synced");
}

TEST(TagSocket, APeerClosingEarlyEndsEveryReceiveAtOnce)
{
    struct TCase {
        const char* Name;
        std::string Sent;
        std::function<void(TTestSocket&)> Receive;
    };
    const std::vector<TCase> Cases = {
        {"line", "+OK no line end",
         [](TTestSocket& S) {
             std::string Line;
             S.ReadLine(Line);
         }},
        {"terminator", "data\r\n",
         [](TTestSocket& S) {
             TMemoryStream Stream;
             S.ReceiveToTerminator(&Stream, -1);
         }},
        {"count", "ten bytes!",
         [](TTestSocket& S) {
             TMemoryStream Stream;
             S.ReceiveCount(&Stream, 100);
         }},
    };
    for (const auto& C : Cases) {
        TScriptServer Server([&](TPeer& Peer) { Peer.Send(C.Sent); });
        TTestSocket Socket;
        Socket.SetTimeOut(60);
        Socket.Open(Server.Address());
        const auto Start = std::chrono::steady_clock::now();
        EXPECT_THROW(C.Receive(Socket), ESocketError) << C.Name;
        EXPECT_LT(SecondsSince(Start), 5.0) << C.Name;
        EXPECT_FALSE(Socket.GetConnected()) << C.Name;
        EXPECT_EQ(Socket.ErrorCode(), WSAEDISCON) << C.Name;
    }
}

TEST(TagSocket, ReceivingUntilThePeerClosesCompletesAndFiresOnClosed)
{
    TScriptServer Server([](TPeer& Peer) { Peer.Send("all of it"); });
    TTestSocket Socket;
    Socket.Open(Server.Address());
    int Closed = 0;
    Socket.OnClosed = [&](TObject*) { ++Closed; };
    TMemoryStream Stream;
    Socket.ReceiveCount(&Stream, -1);
    EXPECT_EQ(Text(Stream), "all of it");
    EXPECT_EQ(Closed, 1);
}

TEST(TagSocket, AStatusLineOverTheLimitIsAnErrorThatClosesTheConnection)
{
    struct TCase {
        std::size_t Length;
        bool Accepted;
    };
    const std::vector<TCase> Cases = {{MaxReplyLine, true}, {MaxReplyLine + 1, false}};
    for (const auto& C : Cases) {
        TScriptServer Server([&](TPeer& Peer) {
            Peer.Send(std::string(C.Length, 'x') + "\r\n");
            Peer.WaitForClose();
        });
        TTestSocket Socket;
        Socket.Open(Server.Address());
        std::string Line;
        if (C.Accepted) {
            Socket.ReadLine(Line);
            EXPECT_EQ(Line.size(), C.Length);
            Socket.Close();
        } else {
            EXPECT_THROW(Socket.ReadLine(Line), ESocketError);
            EXPECT_FALSE(Socket.GetConnected());
        }
    }
}

TEST(TagSocket, AStallTimesOutAfterTheIdleSecondsAndClosesTheSocket)
{
    bool ServerSawClose = false;
    auto Server = std::make_unique<TScriptServer>([&](TPeer& Peer) {
        Peer.Send("+OK hello\r\n+OK "); // one write: the part line is in before the stall
        ServerSawClose = Peer.WaitForClose();
    });
    TTestSocket Socket;
    Socket.SetTimeOut(10);
    Socket.Open(Server->Address());
    std::string Greeting;
    Socket.ReadLine(Greeting);
    std::vector<std::string> Events;
    Socket.Record(Events);
    Socket.OnError = [&](TObject*, std::string& Msg) {
        Events.push_back("Error " + Msg);
        Msg = "not used for a time-out";
    };
    {
        TVirtualTime Clock;
        std::string Line;
        try {
            Socket.ReadLine(Line);
            ADD_FAILURE() << "no time-out";
        } catch (const ETimedOutError& E) {
            EXPECT_EQ(E.Message(), "Operation timed out");
        }
        EXPECT_GE(Clock.Skipped(), 10000u);
        EXPECT_LT(Clock.Skipped(), 11000u);
    }
    EXPECT_FALSE(Socket.GetConnected());
    const std::vector<std::string> Expected = {"Error Operation timed out", "Closing", "Closed"};
    EXPECT_EQ(Events, Expected);
    Server.reset();
    EXPECT_TRUE(ServerSawClose);
}

TEST(TagSocket, CancelFromAHandlerDuringAWaitEndsItWithTheEventsInOrder)
{
    TScriptServer Server([](TPeer& Peer) { Peer.WaitForClose(); });
    TTestSocket Socket;
    Socket.Open(Server.Address());
    std::vector<std::string> Events;
    Socket.Record(Events);
    TLater Cancel(300, [&] { Socket.Cancel(); });
    std::string Line;
    const double CpuBefore = ThreadCpuSeconds();
    try {
        Socket.ReadLine(Line);
        ADD_FAILURE() << "not canceled";
    } catch (const ECanceledError& E) {
        EXPECT_EQ(E.Message(), "Operation has been canceled");
    }
    // The wait slept in poll() rather than spinning.
    EXPECT_LT(ThreadCpuSeconds() - CpuBefore, 0.1);
    const std::vector<std::string> Expected = {"Cancel", "Closing", "Closed",
                                               "Error Operation has been canceled"};
    EXPECT_EQ(Events, Expected);
    EXPECT_FALSE(Socket.GetConnected());
}

TEST(TagSocket, AReplyCostsOneWaitAndDataThatHasComeIsReadWithoutOne)
{
    std::promise<void> StatusRead;
    std::promise<void> DataThere;
    std::future<void> StatusReadSignal = StatusRead.get_future();
    std::future<void> DataThereSignal = DataThere.get_future();
    TScriptServer Server([&](TPeer& Peer) {
        Peer.Send("+OK hello\r\n");
        Peer.ReadLine();
        Peer.Send("+OK\r\n");
        StatusReadSignal.wait_for(std::chrono::seconds(10));
        Peer.Send("line\r\n..dot\r\n.\r\n");
        Peer.WaitUntilDelivered();
        DataThere.set_value();
        Peer.WaitForClose();
    });
    TTestSocket Socket;
    Socket.Open(Server.Address());
    std::string Line;
    Socket.ReadLine(Line);

    TPollCounter Polls;
    Socket.SendLine("TOP 1 1");
    Socket.ReadLine(Line);
    EXPECT_EQ(Line, "+OK");
    EXPECT_EQ(Polls.Calls, 1); // the wait for the reply, and no look at the loop besides

    StatusRead.set_value();
    ASSERT_EQ(DataThereSignal.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    Polls.Calls = 0;
    TMemoryStream Data;
    EXPECT_TRUE(Socket.ReceiveToTerminator(&Data, -1));
    EXPECT_EQ(Text(Data), "line\r\n..dot\r\n.\r\n");
    EXPECT_EQ(Polls.Calls, 0); // the data had come: read at once
    Socket.Close();
}

TEST(TagSocket, RepliesSplitAnywhereAcrossSegmentsReadTheSame)
{
    const std::string Reply = "+OK two\r\ndata\r\n..dot\r\n.\r\n+OK next\r\n";
    const std::vector<std::vector<std::size_t>> Splits = {{},   {2},          {7, 8}, {9, 10, 16},
                                                          {24}, {25, 26, 27}, {29}};
    for (const auto& Split : Splits) {
        std::vector<std::string> Pieces;
        std::size_t Start = 0;
        for (std::size_t At : Split) {
            Pieces.push_back(Reply.substr(Start, At - Start));
            Start = At;
        }
        Pieces.push_back(Reply.substr(Start));
        TScriptServer Server([&](TPeer& Peer) {
            Peer.ReadLine();
            Peer.SendPieces(Pieces);
            Peer.WaitForClose();
        });
        TTestSocket Socket;
        Socket.Open(Server.Address());
        Socket.SendLine("RETR 1");
        std::string Line;
        Socket.ReadLine(Line);
        EXPECT_EQ(Line, "+OK two") << Split.size();
        TMemoryStream Data;
        EXPECT_TRUE(Socket.ReceiveToTerminator(&Data, -1));
        EXPECT_EQ(Text(Data), "data\r\n..dot\r\n.\r\n") << Split.size();
        Socket.ReadLine(Line);
        EXPECT_EQ(Line, "+OK next") << Split.size();
        Socket.Close();
    }
}

TEST(TagSocket, ALongTransferDispatchesMessagesAndACancelFromOneEndsItMidway)
{
    const std::string Chunk = std::string(1022, 'x') + "\r\n";
    constexpr int Chunks = 8192; // 8 MiB: far more than the socket buffers hold
    TScriptServer Server([&](TPeer& Peer) {
        Peer.Send("+OK\r\n");
        for (int I = 0; I < Chunks; ++I)
            Peer.Send(Chunk); // fails at once after the cancel
        Peer.Send(".\r\n");
    });
    TTestSocket Socket;
    Socket.Open(Server.Address());
    std::string Line;
    Socket.ReadLine(Line);
    bool Dispatched = false;
    const HWND Window = AllocateHWnd([&](TMessage& Message) {
        if (Message.Msg == WM_USER + 1) {
            Dispatched = true;
            Socket.Cancel();
        }
    });
    PostMessage(Window, WM_USER + 1, 0, 0);
    TMemoryStream Data;
    EXPECT_THROW(Socket.ReceiveToTerminator(&Data, -1), ECanceledError);
    EXPECT_TRUE(Dispatched);
    EXPECT_LT(Data.Size(), static_cast<std::int64_t>(Chunk.size()) * Chunks);
    EXPECT_FALSE(Socket.GetConnected());
    DeallocateHWnd(Window);
}

TEST(TagSocket, ATimerDueAgainAfterEveryTickDoesNotKeepAWaitFromItsSocket)
{
    TScriptServer Server([](TPeer& Peer) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        Peer.Send("+OK late\r\n");
        Peer.WaitForClose();
    });
    TTestSocket Socket;
    Socket.SetTimeOut(5);
    Socket.Open(Server.Address());
    int Ticks = 0;
    TTimer Busy(nullptr);
    Busy.SetInterval(1);
    // Each tick outlasts the interval, so the timer is due whenever the wait looks at it.
    Busy.OnTimer = [&](TObject*) {
        ++Ticks;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    };
    Busy.SetEnabled(true);
    std::string Line;
    Socket.ReadLine(Line);
    Busy.SetEnabled(false);
    EXPECT_EQ(Line, "+OK late");
    EXPECT_GT(Ticks, 10);
    Socket.Close();
}

TEST(TagSocket, CancelDuringAHostLookUpAbandonsItWithoutALeak)
{
    std::mutex Lock;
    std::condition_variable Changed;
    bool Release = false;
    SetLookupHook([&] {
        std::unique_lock<std::mutex> Guard(Lock);
        Changed.wait(Guard, [&] { return Release; });
    });
    TTestSocket Socket;
    Socket.SetServer("localhost:110");
    TLater Cancel(50, [&] { Socket.Cancel(); });
    EXPECT_THROW(Socket.Connect(), ECanceledError);
    EXPECT_EQ(RunningLookups(), 1);
    {
        std::lock_guard<std::mutex> Guard(Lock);
        Release = true;
    }
    Changed.notify_all();
    EXPECT_EQ(WaitUntil([] { return RunningLookups() == 0; }, 60000), prDone);
    SetLookupHook(nullptr);
}

TEST(TagSocket, ARefusedConnectionFailsAtOnceWithItsWording)
{
    std::uint16_t Port = 0;
    {
        TScriptServer Probe([](TPeer&) {});
        Port = Probe.Port();
        TTestSocket Wake;
        Wake.Open(Probe.Address()); // lets the probe's thread end
    }
    TTestSocket Socket;
    std::vector<std::string> Events;
    Socket.Record(Events);
    try {
        Socket.Open("127.0.0.1:" + std::to_string(Port));
        ADD_FAILURE() << "connected";
    } catch (const ESocketError& E) {
        EXPECT_EQ(E.Message(), "Connection refused");
    }
    EXPECT_EQ(Socket.ErrorCode(), WSAECONNREFUSED);
    ASSERT_FALSE(Events.empty());
    EXPECT_EQ(Events.front(), "Error Connection refused");

    // The handler's wording is the one the exception carries.
    Socket.OnError = [](TObject*, std::string& Msg) { Msg = "No server at " + Msg; };
    try {
        Socket.Open("127.0.0.1:" + std::to_string(Port));
        ADD_FAILURE() << "connected";
    } catch (const ESocketError& E) {
        EXPECT_EQ(E.Message(), "No server at Connection refused");
    }
}

TEST(TagSocket, AHostThatDoesNotExistFailsWithTheLookUpError)
{
    TTestSocket Socket;
    Socket.SetServer("no-such-host.invalid:110");
    try {
        Socket.Connect();
        ADD_FAILURE() << "resolved";
    } catch (const ESocketError& E) {
        EXPECT_GE(Socket.ErrorCode(), WSAHOST_NOT_FOUND);
        EXPECT_LE(Socket.ErrorCode(), WSANO_DATA);
        EXPECT_EQ(E.Message(), WinsockErrorText(Socket.ErrorCode()));
    }
    EXPECT_FALSE(Socket.GetConnected());
}

TEST(TagSocket, ThePortComesFromTheServerTextOrElseFromTheService)
{
    struct TCase {
        std::string Server;
        std::string Service;
        int Port; // -1: refused
    };
    const std::vector<TCase> Cases = {
        {"127.0.0.1:995", "pop3", 995},  {"127.0.0.1:65535", "pop3", 65535},
        {"127.0.0.1:65536", "pop3", -1}, {"127.0.0.1:99999999999999999999", "pop3", -1},
        {"127.0.0.1:0", "pop3", 110},    {"127.0.0.1:abc", "pop3", 110},
        {"127.0.0.1", "whois", 43},      {"127.0.0.1", "no-such-service", 2110}, // the default port
        {"localhost:25", "", 25},
    };
    for (const auto& C : Cases) {
        TTestSocket Socket;
        Socket.SetServer(C.Server);
        Socket.SetServiceName(C.Service);
        Socket.SetDefaultPort(2110);
        if (C.Port < 0) {
            EXPECT_THROW(Socket.Connect(), ESocketError) << C.Server;
            continue;
        }
        Socket.Connect();
        EXPECT_EQ(Socket.Port(), C.Port) << C.Server;
        EXPECT_EQ(Socket.RemoteAddressText().substr(0, 4), "127.") << C.Server;
        EXPECT_TRUE(Socket.GetConnected()); // prepared: the socket exists
        Socket.Close();
        EXPECT_FALSE(Socket.GetConnected());
    }
}

TEST(TagSocket, PreconditionsAreSocketErrorsWithTheProgramsTexts)
{
    struct TCase {
        std::string Server;
        std::string Service;
        std::string Message;
    };
    const std::vector<TCase> Cases = {
        {"", "pop3", "Server property is required"},
        {"127.0.0.1", "", "Service name is required"},
    };
    for (const auto& C : Cases) {
        TTestSocket Socket;
        Socket.SetServer(C.Server);
        Socket.SetServiceName(C.Service);
        try {
            Socket.Connect();
            ADD_FAILURE() << C.Message;
        } catch (const ESocketError& E) {
            EXPECT_EQ(E.Message(), C.Message);
        }
    }
    TTestSocket Socket;
    std::string Line;
    try {
        Socket.ReadLine(Line);
        ADD_FAILURE() << "read without a connection";
    } catch (const ESocketError& E) {
        EXPECT_EQ(E.Message(), "You have to connect to the server first");
    }
}

TEST(TagSocket, TheDialUpComponentIsAskedAroundTheConnectionAndForgottenWhenFreed)
{
    class TCountingRas : public TagRas {
    public:
        TCountingRas() : TagRas(nullptr) {}
        void Dial() override { ++Dials; }
        void EndDial() override { ++Ends; }
        int Dials = 0;
        int Ends = 0;
    };
    TScriptServer Server([](TPeer& Peer) { Peer.WaitForClose(); });
    auto Ras = std::make_unique<TCountingRas>();
    TTestSocket Socket;
    Socket.SetRAS(Ras.get());
    Socket.Open(Server.Address());
    Socket.Close();
    EXPECT_EQ(Ras->Dials, 1);
    EXPECT_EQ(Ras->Ends, 1);
    Ras.reset();
    EXPECT_EQ(Socket.RAS(), nullptr);
    Socket.Close(); // safe on a closed component without a dial-up component
}
