// instancedir_test.cpp: finding another process's window and asking it to come forward.
#include "platform/ui/instancedir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int WaitMs = 10000; // only reached when something is broken

void WriteAll(int Fd, const std::string& Text)
{
    std::size_t Done = 0;
    while (Done < Text.size()) {
        ssize_t N = ::write(Fd, Text.data() + Done, Text.size() - Done);
        if (N <= 0)
            return;
        Done += static_cast<std::size_t>(N);
    }
}

// Reads from Fd until Stop says the text is complete, end of file, or the time is up.
std::string ReadUntil(int Fd, const std::function<bool(const std::string&)>& Stop)
{
    std::string Text;
    auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
    while (!Stop(Text)) {
        auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        Deadline - std::chrono::steady_clock::now())
                        .count();
        pollfd Wait{Fd, POLLIN, 0};
        if (Left <= 0 || ::poll(&Wait, 1, static_cast<int>(Left)) <= 0)
            break;
        char Buffer[256];
        ssize_t N = ::read(Fd, Buffer, sizeof(Buffer));
        if (N <= 0)
            break;
        Text.append(Buffer, static_cast<std::size_t>(N));
    }
    return Text;
}

std::string ReadLines(int Fd, std::size_t Count)
{
    return ReadUntil(Fd, [Count](const std::string& Text) {
        return static_cast<std::size_t>(std::count(Text.begin(), Text.end(), '\n')) >= Count;
    });
}

std::string CommandName(TRemoteCommand Command)
{
    switch (Command) {
    case TRemoteCommand::rcRestore:
        return "restore";
    case TRemoteCommand::rcBringToTop:
        return "raise";
    case TRemoteCommand::rcShow:
        return "show";
    case TRemoteCommand::rcSetForeground:
        return "foreground";
    }
    return "?";
}

// A second process. Body runs in the child with a pipe to the parent (written with WriteAll)
// and a pipe from it, which closes when the parent is done; the child then ends.
class TChild {
public:
    explicit TChild(const std::function<void(int ToParent, int FromParent)>& Body)
    {
        int Up[2], Down[2];
        if (::pipe(Up) != 0 || ::pipe(Down) != 0)
            std::abort();
        FPid = ::fork();
        if (FPid == 0) {
            ::close(Up[0]);
            ::close(Down[1]);
            try {
                Body(Up[1], Down[0]);
            } catch (const std::exception& E) {
                WriteAll(Up[1], std::string("exception: ") + E.what() + "\n");
            }
            ::_exit(0);
        }
        ::close(Up[1]);
        ::close(Down[0]);
        FFromChild = Up[0];
        FToChild = Down[1];
    }
    ~TChild() { Stop(); }

    int Pid() const { return FPid; }
    int Output() const { return FFromChild; }
    // Tells the child to end and waits for it.
    void Stop()
    {
        if (FToChild >= 0)
            ::close(FToChild);
        FToChild = -1;
        if (FPid > 0)
            ::waitpid(FPid, nullptr, 0);
        FPid = -1;
        if (FFromChild >= 0)
            ::close(FFromChild);
        FFromChild = -1;
    }
    // Ends the child as a crash would: nothing of its own cleanup runs.
    void Kill()
    {
        ::kill(FPid, SIGKILL);
        ::waitpid(FPid, nullptr, 0);
        FPid = -1;
        Stop();
    }

private:
    int FPid = -1;
    int FToChild = -1;
    int FFromChild = -1;
};

// Waits until the parent closes its pipe.
void WaitForParent(int FromParent)
{
    pollfd Wait{FromParent, POLLIN, 0};
    ::poll(&Wait, 1, WaitMs);
}

struct TServedWindow {
    std::uint64_t Handle;
    std::string ClassName;
    std::string Caption;
};

// A child that publishes Windows, says "ready" and reports every command it receives as
// "<handle> <command>" until the parent closes its pipe.
std::function<void(int, int)> Server(const std::string& Folder, std::vector<TServedWindow> Windows)
{
    return [Folder, Windows](int ToParent, int FromParent) {
        TInstanceDirectory Directory(Folder);
        for (const TServedWindow& W : Windows)
            Directory.Publish(W.Handle, W.ClassName, W.Caption);
        Directory.OnCommand = [ToParent](std::uint64_t Handle, TRemoteCommand Command) {
            WriteAll(ToParent, std::to_string(Handle) + " " + CommandName(Command) + "\n");
        };
        WriteAll(ToParent, "ready\n");
        auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
        while (std::chrono::steady_clock::now() < Deadline) {
            pollfd Wait[2] = {{Directory.Descriptor(), POLLIN, 0}, {FromParent, POLLIN, 0}};
            if (::poll(Wait, 2, WaitMs) <= 0 || Wait[1].revents != 0)
                break;
            if (Wait[0].revents & POLLIN)
                Directory.HandleReadable();
        }
    };
}

class InstanceDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string Pattern = ::testing::TempDir() + "instXXXXXX";
        ASSERT_NE(::mkdtemp(Pattern.data()), nullptr);
        Folder = Pattern;
    }
    void TearDown() override { std::filesystem::remove_all(Folder); }

    bool Exists(const std::string& Name) const
    {
        return std::filesystem::exists(std::filesystem::symlink_status(Folder + "/" + Name));
    }
    void WriteFile(const std::string& Name, const std::string& Contents) const
    {
        std::ofstream(Folder + "/" + Name, std::ios::binary) << Contents;
    }

    std::string Folder;
};

TEST_F(InstanceDirectoryTest, SecondProcessFindsTheFirstAndBringsItForward)
{
    TChild First(
        Server(Folder, {{0x51, "TApplication", "Tarnwick"}, {0x77, "TMainForm", "Inbox"}}));
    ASSERT_EQ(ReadLines(First.Output(), 1), "ready\n");

    TInstanceDirectory Directory(Folder);
    // Our own windows are never found: the search is for other processes.
    Directory.Publish(0x99, "TApplication", "Tarnwick");

    struct TCase {
        std::optional<std::string> ClassName;
        std::optional<std::string> Caption;
        std::uint64_t Expected; // 0: nothing found
    };
    const std::vector<TCase> Cases = {
        {std::string("TApplication"), std::string("Tarnwick"), 0x51},
        {std::string("tapplication"), std::string("TARNWICK"), 0x51},
        {std::string("TMainForm"), std::nullopt, 0x77},
        {std::nullopt, std::string("Inbox"), 0x77},
        {std::string("TApplication"), std::string("Tarnwick2"), 0},
        {std::string("TApplication"), std::string(""), 0},
    };
    for (const TCase& C : Cases) {
        std::optional<TRemoteWindow> Found = Directory.Find(C.ClassName, C.Caption);
        ASSERT_EQ(Found.has_value(), C.Expected != 0)
            << C.ClassName.value_or("*") << "/" << C.Caption.value_or("*");
        if (Found) {
            EXPECT_EQ(Found->Handle, C.Expected);
            EXPECT_EQ(Found->Pid, First.Pid());
        }
    }

    std::optional<TRemoteWindow> Window = Directory.Find("TApplication", "Tarnwick");
    ASSERT_TRUE(Window);
    EXPECT_TRUE(Directory.SendCommand(*Window, TRemoteCommand::rcRestore));
    EXPECT_TRUE(Directory.SendCommand(*Window, TRemoteCommand::rcBringToTop));
    EXPECT_EQ(ReadLines(First.Output(), 2), "81 restore\n81 raise\n");

    // Ended normally, the first process takes its entry and socket with it.
    std::string Pid = std::to_string(First.Pid());
    First.Stop();
    EXPECT_FALSE(Exists(Pid + ".windows"));
    EXPECT_FALSE(Exists(Pid + ".sock"));
    EXPECT_FALSE(Directory.Find("TApplication", "Tarnwick"));
    EXPECT_FALSE(Directory.SendCommand(*Window, TRemoteCommand::rcRestore));
}

TEST_F(InstanceDirectoryTest, OtherProcessSeesPublishedChangesExactly)
{
    TInstanceDirectory Directory(Folder);
    Directory.Publish(1, "TApplication", "Tarnwick");
    Directory.Publish(2, "Tab\there", "Line\nbreak \\ back\\slash\r");
    Directory.Publish(3, "TGone", "Withdrawn");
    Directory.Publish(1, "TApplication", "Tarnwick - 3 new messages");
    Directory.Withdraw(3);
    Directory.Withdraw(12345); // unknown: nothing happens

    TChild Reader([this](int ToParent, int FromParent) {
        TInstanceDirectory Other(Folder);
        for (const TRemoteWindow& W : Other.Enumerate())
            WriteAll(ToParent, std::to_string(W.Pid) + '\0' + std::to_string(W.Handle) + '\0' +
                                   W.ClassName + '\0' + W.Caption + '\0');
        WriteAll(ToParent, "end");
        WaitForParent(FromParent);
    });
    std::string Text = ReadUntil(Reader.Output(), [](const std::string& T) {
        return T.size() >= 3 && T.compare(T.size() - 3, 3, "end") == 0;
    });
    std::string Me = std::to_string(::getpid());
    std::string Expected = Me + '\0' + "1" + '\0' + "TApplication" + '\0' +
                           "Tarnwick - 3 new messages" + '\0' + Me + '\0' + "2" + '\0' +
                           "Tab\there" + '\0' + "Line\nbreak \\ back\\slash\r" + '\0' + "end";
    EXPECT_EQ(Text, Expected);

    // With nothing published there is no entry at all.
    Directory.Withdraw(1);
    Directory.Withdraw(2);
    EXPECT_FALSE(Exists(Me + ".windows"));
    EXPECT_TRUE(Exists(Me + ".sock"));
}

TEST_F(InstanceDirectoryTest, EntriesOfGoneProcessesAreSkippedAndRemoved)
{
    // A crash: the process is killed with its entry and socket in place.
    TChild Crashed(Server(Folder, {{5, "TApplication", "Tarnwick"}}));
    ASSERT_EQ(ReadLines(Crashed.Output(), 1), "ready\n");
    std::string CrashedPid = std::to_string(Crashed.Pid());
    Crashed.Kill();
    ASSERT_TRUE(Exists(CrashedPid + ".windows"));

    // A process that has ended, leaving a socket without entry, a socket not yet in place and a
    // half-written entry.
    TChild Ended([](int, int) {});
    std::string EndedPid = std::to_string(Ended.Pid());
    Ended.Stop();
    WriteFile(EndedPid + ".sock", "");
    WriteFile("." + EndedPid + ".sock.tmp", "");
    WriteFile("." + EndedPid + ".windows.a1b2c3.tmp", "6\tTApplication\tTar");

    // A live pid that is not ours (reused by another program): its socket refuses connections.
    TChild Stranger([](int, int FromParent) { WaitForParent(FromParent); });
    std::string StrangerPid = std::to_string(Stranger.Pid());
    WriteFile(StrangerPid + ".windows", "7\tTApplication\tTarnwick\n");
    {
        int Fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un Address{};
        Address.sun_family = AF_UNIX;
        std::string Path = Folder + "/" + StrangerPid + ".sock";
        std::snprintf(Address.sun_path, sizeof(Address.sun_path), "%s", Path.c_str());
        ASSERT_EQ(::bind(Fd, reinterpret_cast<sockaddr*>(&Address), sizeof(Address)), 0);
        ::close(Fd);
    }

    // A live process stays, and so do files that are not entries.
    TChild Live(Server(Folder, {{8, "TApplication", "Tarnwick"}}));
    ASSERT_EQ(ReadLines(Live.Output(), 1), "ready\n");
    WriteFile("notes.windows", "9\tTApplication\tTarnwick\n");

    TInstanceDirectory Directory(Folder);
    std::vector<TRemoteWindow> Windows = Directory.Enumerate();
    ASSERT_EQ(Windows.size(), 1u);
    EXPECT_EQ(Windows[0].Pid, Live.Pid());
    EXPECT_EQ(Windows[0].Handle, 8u);

    for (const std::string& Gone :
         {CrashedPid + ".windows", CrashedPid + ".sock", EndedPid + ".sock",
          "." + EndedPid + ".sock.tmp", "." + EndedPid + ".windows.a1b2c3.tmp",
          StrangerPid + ".windows", StrangerPid + ".sock"})
        EXPECT_FALSE(Exists(Gone)) << Gone;
    std::string LivePid = std::to_string(Live.Pid());
    for (const std::string& Kept :
         {LivePid + ".windows", LivePid + ".sock", std::string("notes.windows")})
        EXPECT_TRUE(Exists(Kept)) << Kept;
}

TEST_F(InstanceDirectoryTest, UnsafeFolderIsRefused)
{
    struct TCase {
        const char* Name;
        std::function<void(const std::string& Path)> Make;
        const char* Message; // part of the error; empty: accepted
    };
    const std::vector<TCase> Cases = {
        {"missing", [](const std::string&) {}, ""},
        {"open to the group",
         [](const std::string& P) {
             ::mkdir(P.c_str(), 0750);
             ::chmod(P.c_str(), 0750);
         },
         "is open to other users (mode 0750); it must be 0700"},
        {"open to others",
         [](const std::string& P) {
             ::mkdir(P.c_str(), 0701);
             ::chmod(P.c_str(), 0701);
         },
         "is open to other users (mode 0701); it must be 0700"},
        {"a link to a safe folder",
         [this](const std::string& P) { ::symlink(Folder.c_str(), P.c_str()); }, "is not a folder"},
        {"a file", [](const std::string& P) { std::ofstream(P) << "x"; }, "is not a folder"},
        {"under a missing folder", [](const std::string&) {}, "Cannot create the runtime folder"},
    };
    for (const TCase& C : Cases) {
        std::string Path = Folder + "/runtime";
        if (std::string(C.Name) == "under a missing folder")
            Path = Folder + "/missing/runtime";
        std::filesystem::remove_all(Path);
        C.Make(Path);
        try {
            TInstanceDirectory Directory(Path);
            EXPECT_EQ(std::string(C.Message), "") << C.Name;
            struct stat Info;
            ASSERT_EQ(::lstat(Path.c_str(), &Info), 0);
            EXPECT_EQ(Info.st_mode & 07777, 0700u) << C.Name;
        } catch (const EInstanceDirectoryError& E) {
            EXPECT_NE(std::string(C.Message), "") << C.Name << ": " << E.Message();
            EXPECT_NE(E.Message().find(C.Message), std::string::npos)
                << C.Name << ": " << E.Message();
            EXPECT_NE(E.Message().find(Path), std::string::npos) << C.Name;
        }
    }
}

TEST_F(InstanceDirectoryTest, FolderOfAnotherUserIsRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a folder away";
    std::string Path = Folder + "/runtime";
    ASSERT_EQ(::mkdir(Path.c_str(), 0700), 0);
    ASSERT_EQ(::chown(Path.c_str(), 65534, 65534), 0);
    try {
        TInstanceDirectory Directory(Path);
        ADD_FAILURE() << "accepted";
    } catch (const EInstanceDirectoryError& E) {
        EXPECT_NE(E.Message().find("belongs to another user"), std::string::npos) << E.Message();
    }
}

TEST_F(InstanceDirectoryTest, RuntimeFolderComesFromTheEnvironment)
{
    struct TCase {
        const char* Own;  // TARNWICK_RUNTIME_DIR, nullptr: unset
        const char* User; // XDG_RUNTIME_DIR, nullptr: unset
        std::string Expected;
    };
    const std::vector<TCase> Cases = {
        {"/a/own", "/run/user/7", "/a/own"},
        {nullptr, "/run/user/7", "/run/user/7/tarnwick"},
        {"", "/run/user/7", "/run/user/7/tarnwick"},
        {nullptr, nullptr, "/tmp/tarnwick-" + std::to_string(::geteuid())},
        {nullptr, "", "/tmp/tarnwick-" + std::to_string(::geteuid())},
    };
    auto Saved = [](const char* Name) {
        const char* Value = std::getenv(Name);
        return Value ? std::optional<std::string>(Value) : std::nullopt;
    };
    auto Put = [](const char* Name, const char* Value) {
        if (Value)
            ::setenv(Name, Value, 1);
        else
            ::unsetenv(Name);
    };
    std::optional<std::string> Own = Saved("TARNWICK_RUNTIME_DIR");
    std::optional<std::string> User = Saved("XDG_RUNTIME_DIR");
    for (const TCase& C : Cases) {
        Put("TARNWICK_RUNTIME_DIR", C.Own);
        Put("XDG_RUNTIME_DIR", C.User);
        EXPECT_EQ(TInstanceDirectory::RuntimeFolder(), C.Expected);
    }
    Put("TARNWICK_RUNTIME_DIR", Own ? Own->c_str() : nullptr);
    Put("XDG_RUNTIME_DIR", User ? User->c_str() : nullptr);
}

TEST(InstanceCommandTest, OnlyWellFormedCommandsParse)
{
    struct TCase {
        std::string Line;
        bool Valid;
        std::uint64_t Handle;
        TRemoteCommand Command;
    };
    const std::vector<TCase> Cases = {
        {"restore 1", true, 1, TRemoteCommand::rcRestore},
        {"raise 0", true, 0, TRemoteCommand::rcBringToTop},
        {"show 42", true, 42, TRemoteCommand::rcShow},
        {"foreground 18446744073709551615", true, UINT64_MAX, TRemoteCommand::rcSetForeground},
        {"restore 18446744073709551616", false, 0, {}},
        {"restore 000000000000000000001", false, 0, {}},
        {"restore 01", false, 0, {}},
        {"restore", false, 0, {}},
        {"restore ", false, 0, {}},
        {"restore  1", false, 0, {}},
        {"restore +1", false, 0, {}},
        {"restore -1", false, 0, {}},
        {"restore 0x10", false, 0, {}},
        {"restore 1 2", false, 0, {}},
        {"restore 1\r", false, 0, {}},
        {"Restore 1", false, 0, {}},
        {"close 1", false, 0, {}},
        {"", false, 0, {}},
        {std::string("restore\0 1", 10), false, 0, {}},
        {"restore " + std::string(60, '1'), false, 0, {}},
    };
    for (const TCase& C : Cases) {
        std::optional<TCommandMessage> Message = ParseInstanceCommand(C.Line);
        ASSERT_EQ(Message.has_value(), C.Valid) << C.Line;
        if (!Message)
            continue;
        EXPECT_EQ(Message->Handle, C.Handle) << C.Line;
        EXPECT_EQ(Message->Command, C.Command) << C.Line;
        EXPECT_EQ(FormatInstanceCommand(*Message), C.Line + "\n");
    }
}

TEST_F(InstanceDirectoryTest, MalformedOrStrayInputIsIgnored)
{
    TInstanceDirectory Directory(Folder);
    Directory.Publish(7, "TApplication", "Tarnwick");
    std::vector<std::string> Received;
    Directory.OnCommand = [&Received](std::uint64_t Handle, TRemoteCommand Command) {
        Received.push_back(std::to_string(Handle) + " " + CommandName(Command));
    };
    std::string SocketPath = Folder + "/" + std::to_string(::getpid()) + ".sock";
    auto Connect = [&SocketPath]() {
        int Fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un Address{};
        Address.sun_family = AF_UNIX;
        std::snprintf(Address.sun_path, sizeof(Address.sun_path), "%s", SocketPath.c_str());
        EXPECT_EQ(::connect(Fd, reinterpret_cast<sockaddr*>(&Address), sizeof(Address)), 0);
        return Fd;
    };

    // A peer that connects and never sends must not hold anything up.
    int Silent = Connect();
    const std::vector<std::string> Inputs = {
        "restore 8\n",                        // a window not published here
        "jump 7\n",                           // unknown command
        "restore 7 7\n",                      // extra field
        "restore 7",                          // no line end before the connection closes
        std::string(10000, 'x'),              // no line end at all
        std::string("\0\xff\n\n", 4),         // binary noise
        "raise 7\r\n",                        // another line end
        std::string(100, '7') + "\nshow 7\n", // an overlong line ends the connection
    };
    for (const std::string& Input : Inputs) {
        int Fd = Connect();
        WriteAll(Fd, Input);
        ::close(Fd);
    }
    int Last = Connect();
    WriteAll(Last, "restore 7\nraise 7\n");
    ::close(Last);

    auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
    while (Received.size() < 2 && std::chrono::steady_clock::now() < Deadline) {
        pollfd Wait{Directory.Descriptor(), POLLIN, 0};
        if (::poll(&Wait, 1, WaitMs) > 0)
            Directory.HandleReadable();
    }
    EXPECT_EQ(Received, (std::vector<std::string>{"7 restore", "7 raise"}));
    // Everything has been read: nothing is left to wake the loop.
    pollfd Wait{Directory.Descriptor(), POLLIN, 0};
    EXPECT_EQ(::poll(&Wait, 1, 0), 0);
    ::close(Silent);
}

TEST_F(InstanceDirectoryTest, StuckPeerDoesNotHoldUpTheSender)
{
    // A "process" that listens but never accepts: once its backlog is full, connecting waits.
    int FakePid = 999999;
    std::string Path = Folder + "/" + std::to_string(FakePid) + ".sock";
    int Listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un Address{};
    Address.sun_family = AF_UNIX;
    std::snprintf(Address.sun_path, sizeof(Address.sun_path), "%s", Path.c_str());
    ASSERT_EQ(::bind(Listener, reinterpret_cast<sockaddr*>(&Address), sizeof(Address)), 0);
    ASSERT_EQ(::listen(Listener, 0), 0);

    TInstanceDirectory Directory(Folder);
    TRemoteWindow Window;
    Window.Pid = FakePid;
    Window.Handle = 1;
    bool AllSent = true;
    auto Start = std::chrono::steady_clock::now();
    for (int I = 0; I < 2; ++I)
        AllSent = Directory.SendCommand(Window, TRemoteCommand::rcRestore) && AllSent;
    auto Elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now() - Start)
                       .count();
    EXPECT_FALSE(AllSent);
    EXPECT_LT(Elapsed, 2 * TInstanceDirectory::SendTimeoutMs);
    ::close(Listener);
}

} // namespace
