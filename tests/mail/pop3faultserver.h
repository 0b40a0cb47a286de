// tests/mail/pop3faultserver.h: a small scripted POP3 server on a free loopback port, run on a
// thread of its own, for the faults a real server does not produce: stalls, resets, garbage
// and over-long lines, terminators split over several writes, odd but legal replies.
#pragma once

#include "tests/mail/scriptserver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace TestSupport {

// One accepted client, as the server thread sees it.
class TPop3Connection {
public:
    explicit TPop3Connection(int AFd) : Fd(AFd) {}

    // The next command without its line end; false when the client closed or went silent for
    // 30 s (so that a broken test cannot hang).
    bool ReadLine(std::string& Line)
    {
        Line.clear();
        for (;;) {
            std::size_t End = Pending.find("\r\n");
            if (End != std::string::npos) {
                Line = Pending.substr(0, End);
                Pending.erase(0, End + 2);
                return true;
            }
            char Buffer[4096];
            pollfd Fds = {Fd, POLLIN, 0};
            if (::poll(&Fds, 1, 30000) <= 0)
                return false;
            ssize_t Count = ::recv(Fd, Buffer, sizeof Buffer, 0);
            if (Count <= 0)
                return false;
            Pending.append(Buffer, static_cast<std::size_t>(Count));
        }
    }

    void Write(const std::string& Data)
    {
        std::size_t Done = 0;
        while (Done < Data.size()) {
            ssize_t Count = ::send(Fd, Data.data() + Done, Data.size() - Done, MSG_NOSIGNAL);
            if (Count <= 0)
                return;
            Done += static_cast<std::size_t>(Count);
        }
    }

    // Each piece in its own write, with a pause between them so that they arrive apart.
    void WriteInPieces(const std::vector<std::string>& Pieces, int PauseMs = 30)
    {
        for (const std::string& Piece : Pieces) {
            Write(Piece);
            std::this_thread::sleep_for(std::chrono::milliseconds(PauseMs));
        }
    }

    // Says nothing more until the client closes (or 30 s pass).
    void Stall()
    {
        std::string Ignored;
        while (ReadLine(Ignored)) {
        }
    }

    // Aborts the connection: the client sees a reset, not an orderly close.
    void Reset()
    {
        if (BeforeClose)
            BeforeClose();
        linger Linger = {1, 0};
        ::setsockopt(Fd, SOL_SOCKET, SO_LINGER, &Linger, sizeof Linger);
        ::close(Fd);
        Fd = -1;
    }

    int Fd;
    std::function<void()> BeforeClose;

private:
    std::string Pending;
};

// A POP3 mailbox server. Every command goes first to Override (when set), which answers it
// itself and returns true, or returns false to get the standard answer from Messages.
class TPop3FaultServer {
public:
    using TOverride = std::function<bool(const std::string& Command, TPop3Connection& Client)>;

    explicit TPop3FaultServer(std::vector<std::string> AMessages = {})
        : FMessages(std::move(AMessages))
    {
        const TLoopbackListener Listener = ListenOnLoopback(4);
        FListener = Listener.Fd;
        FPort = Listener.Port;
        FThread = std::thread([this] { Serve(); });
    }

    ~TPop3FaultServer()
    {
        FStopping = true;
        ::shutdown(FListener, SHUT_RDWR);
        {
            std::lock_guard<std::mutex> Lock(FMutex);
            if (FClient >= 0)
                ::shutdown(FClient, SHUT_RDWR);
        }
        FThread.join();
        ::close(FListener);
    }

    std::string Server() const { return "127.0.0.1:" + std::to_string(FPort); }

    // Set before the client connects, or between two sessions.
    void SetOverride(TOverride Value)
    {
        std::lock_guard<std::mutex> Lock(FMutex);
        FOverride = std::move(Value);
    }
    void SetMessages(std::vector<std::string> Value)
    {
        std::lock_guard<std::mutex> Lock(FMutex);
        FMessages = std::move(Value);
    }
    // Unique ids answered by UIDL; empty (the default): UIDL is not supported.
    void SetUidls(std::vector<std::string> Value)
    {
        std::lock_guard<std::mutex> Lock(FMutex);
        FUidls = std::move(Value);
    }

    // Every command received so far, over all sessions.
    std::vector<std::string> Commands() const
    {
        std::lock_guard<std::mutex> Lock(FMutex);
        return FCommands;
    }
    int Sessions() const { return FSessions; }
    // Message numbers deleted by the sessions that ended with QUIT.
    std::vector<int> Deleted() const
    {
        std::lock_guard<std::mutex> Lock(FMutex);
        return FDeleted;
    }

    // A message body transmitted with dot-stuffing and the terminator.
    static std::string Stuffed(const std::string& Message)
    {
        std::string Result;
        std::size_t Start = 0;
        while (Start < Message.size()) {
            std::size_t End = Message.find("\r\n", Start);
            End = End == std::string::npos ? Message.size() : End + 2;
            if (Message[Start] == '.')
                Result += '.';
            Result.append(Message, Start, End - Start);
            Start = End;
        }
        return Result + ".\r\n";
    }

private:
    void Serve()
    {
        while (!FStopping) {
            int Fd = ::accept4(FListener, nullptr, nullptr, SOCK_CLOEXEC);
            if (Fd < 0)
                return;
            {
                std::lock_guard<std::mutex> Lock(FMutex);
                FClient = Fd;
            }
            ++FSessions;
            TPop3Connection Client(Fd);
            Client.BeforeClose = [this] {
                std::lock_guard<std::mutex> Lock(FMutex);
                FClient = -1;
            };
            Session(Client);
            std::lock_guard<std::mutex> Lock(FMutex);
            FClient = -1;
            if (Client.Fd >= 0)
                ::close(Client.Fd);
        }
    }

    void Session(TPop3Connection& Client)
    {
        std::vector<int> Deletions;
        if (Answer("", Client, Deletions))
            return;
        std::string Line;
        while (Client.Fd >= 0 && Client.ReadLine(Line)) {
            {
                std::lock_guard<std::mutex> Lock(FMutex);
                FCommands.push_back(Line);
            }
            if (Answer(Line, Client, Deletions))
                return;
        }
    }

    // The answer to one command ("" is the greeting); true when the session is over.
    bool Answer(const std::string& Command, TPop3Connection& Client, std::vector<int>& Deletions)
    {
        TOverride Override;
        std::vector<std::string> Messages, Uidls;
        {
            std::lock_guard<std::mutex> Lock(FMutex);
            Override = FOverride;
            Messages = FMessages;
            Uidls = FUidls;
        }
        if (Override && Override(Command, Client))
            return Client.Fd < 0;
        std::string Verb = Command.substr(0, Command.find(' '));
        int Number = 0;
        if (Verb.size() < Command.size())
            Number = std::atoi(Command.c_str() + Verb.size() + 1);
        bool Valid = Number >= 1 && Number <= static_cast<int>(Messages.size());
        const std::string& Message = Valid ? Messages[Number - 1] : Command;
        if (Command.empty()) {
            Client.Write("+OK fault server ready\r\n");
        } else if (Verb == "USER" || Verb == "PASS" || Verb == "NOOP") {
            Client.Write("+OK\r\n");
        } else if (Verb == "STAT") {
            std::size_t Total = 0;
            for (const std::string& M : Messages)
                Total += M.size();
            Client.Write("+OK " + std::to_string(Messages.size()) + " " + std::to_string(Total) +
                         "\r\n");
        } else if (Verb == "UIDL" && Uidls.empty()) {
            Client.Write("-ERR command not supported\r\n");
        } else if (Verb == "UIDL" && Number == 0) {
            std::string Reply = "+OK\r\n";
            for (std::size_t I = 0; I < Uidls.size(); ++I)
                Reply += std::to_string(I + 1) + " " + Uidls[I] + "\r\n";
            Client.Write(Reply + ".\r\n");
        } else if (!Valid && Verb != "QUIT") {
            Client.Write("-ERR no such message\r\n");
        } else if (Verb == "UIDL") {
            Client.Write("+OK " + std::to_string(Number) + " " + Uidls[Number - 1] + "\r\n");
        } else if (Verb == "LIST") {
            Client.Write("+OK " + std::to_string(Number) + " " + std::to_string(Message.size()) +
                         "\r\n");
        } else if (Verb == "TOP") {
            std::size_t End = Message.find("\r\n\r\n");
            std::string Head = End == std::string::npos ? Message : Message.substr(0, End + 4);
            Client.Write("+OK\r\n" + Stuffed(Head));
        } else if (Verb == "RETR") {
            Client.Write("+OK\r\n" + Stuffed(Message));
        } else if (Verb == "DELE") {
            Deletions.push_back(Number);
            Client.Write("+OK deleted\r\n");
        } else if (Verb == "QUIT") {
            // Recorded before the reply, so that the client sees them once QUIT returns.
            {
                std::lock_guard<std::mutex> Lock(FMutex);
                FDeleted.insert(FDeleted.end(), Deletions.begin(), Deletions.end());
            }
            Client.Write("+OK bye\r\n");
            return true;
        } else {
            Client.Write("-ERR unknown command\r\n");
        }
        return false;
    }

    int FListener = -1;
    int FPort = 0;
    std::thread FThread;
    std::atomic<bool> FStopping{false};
    std::atomic<int> FSessions{0};
    mutable std::mutex FMutex;
    int FClient = -1;
    TOverride FOverride;
    std::vector<std::string> FMessages, FUidls, FCommands;
    std::vector<int> FDeleted;
};

} // namespace TestSupport
