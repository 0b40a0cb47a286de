// tests/interop/mail/dovecot.cpp: a private Dovecot POP3 server for the interop tests.
#include "tests/interop/mail/dovecot.h"

#include "tests/interop/mail/childprocess.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace TestSupport {

namespace {

const char* const MailUser = "tarnwickmail";
const char* const DovecotBinary = "/usr/sbin/dovecot";

// The unprivileged owner of the mailbox, made when missing; when not root, the current user.
void MailAccount(uid_t& Uid, gid_t& Gid, std::string& Name)
{
    if (::geteuid() != 0) {
        const passwd* Entry = ::getpwuid(::geteuid());
        if (Entry == nullptr)
            throw std::runtime_error("the current user has no passwd entry");
        Uid = Entry->pw_uid;
        Gid = Entry->pw_gid;
        Name = Entry->pw_name;
        return;
    }
    if (::getpwnam(MailUser) == nullptr) {
        TProgramResult Added =
            RunProgram({"useradd", "--system", "--no-create-home", "--user-group", "--shell",
                        "/usr/sbin/nologin", MailUser});
        if (Added.ExitCode != 0 && ::getpwnam(MailUser) == nullptr)
            throw std::runtime_error("cannot create the mail user: " + Added.Errors);
    }
    const passwd* Entry = ::getpwnam(MailUser);
    if (Entry == nullptr)
        throw std::runtime_error("the mail user is missing");
    Uid = Entry->pw_uid;
    Gid = Entry->pw_gid;
    Name = MailUser;
}

// Every folder above Folder must let the mail user through.
bool TraversableByOthers(const std::filesystem::path& Folder)
{
    for (std::filesystem::path Path = Folder; !Path.empty(); Path = Path.parent_path()) {
        struct stat Info {};
        if (::stat(Path.c_str(), &Info) != 0 || (Info.st_mode & S_IXOTH) == 0)
            return false;
        if (Path == Path.root_path())
            break;
    }
    return true;
}

std::string MakeFolder()
{
    std::filesystem::path Base = std::filesystem::temp_directory_path();
    if (!TraversableByOthers(Base))
        Base = "/tmp";
    std::string Pattern = (Base / "tarnwick-dovecot-XXXXXX").string();
    if (::mkdtemp(Pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a folder in " + Base.string());
    ::chmod(Pattern.c_str(), 0755);
    return Pattern + "/";
}

std::string ToMboxText(const std::string& Message)
{
    std::string Lines;
    Lines.reserve(Message.size() + 64);
    for (char C : Message)
        if (C != '\r')
            Lines += C;
    if (Lines.empty() || Lines.back() != '\n')
        Lines += '\n';
    std::string Result = "From MAILER-DAEMON Sat Jan  1 00:00:00 2022\n";
    std::size_t Start = 0;
    while (Start < Lines.size()) {
        std::size_t End = Lines.find('\n', Start) + 1;
        std::size_t Quotes = Lines.find_first_not_of('>', Start);
        if (Lines.compare(Quotes, 5, "From ") == 0)
            Result += '>';
        Result.append(Lines, Start, End - Start);
        Start = End;
    }
    return Result + "\n";
}

} // namespace

TDovecot::TDovecot()
{
    std::string SystemUser;
    MailAccount(FUid, FGid, SystemUser);
    FFolder = MakeFolder();
    try {
        const std::string Home = FFolder + "home";
        for (const char* Sub : {"home", "run", "state"})
            std::filesystem::create_directory(FFolder + Sub);
        ::chmod(Home.c_str(), 0700);
        if (::chown(Home.c_str(), FUid, FGid) != 0 && ::geteuid() == 0)
            throw std::runtime_error("cannot hand " + Home + " to the mail user");
        FPort = FreeLoopbackPort();
        const std::string Uid = std::to_string(FUid), Gid = std::to_string(FGid);
        const group* Group = ::getgrgid(FGid);
        const std::string GroupName = Group != nullptr ? Group->gr_name : Gid;
        WriteWholeFile(FFolder + "passwd", std::string(UserName) + ":{PLAIN}" + Password + ":" +
                                               Uid + ":" + Gid + "::" + Home + "::\n");
        WriteWholeFile(FFolder + "dovecot.conf",
                       "protocols = pop3\n"
                       "listen = 127.0.0.1\n"
                       "ssl = no\n"
                       "disable_plaintext_auth = no\n"
                       "auth_failure_delay = 0\n"
                       "base_dir = " +
                           FFolder +
                           "run\n"
                           "state_dir = " +
                           FFolder +
                           "state\n"
                           "log_path = " +
                           FFolder +
                           "log\n"
                           "info_log_path = " +
                           FFolder +
                           "log\n"
                           "first_valid_uid = " +
                           Uid +
                           "\n"
                           "default_internal_user = " +
                           SystemUser +
                           "\n"
                           "default_login_user = " +
                           SystemUser +
                           "\n"
                           "mail_location = mbox:~/:INBOX=~/inbox\n"
                           "passdb {\n  driver = passwd-file\n  args = " +
                           FFolder +
                           "passwd\n}\n"
                           "userdb {\n  driver = passwd-file\n  args = " +
                           FFolder +
                           "passwd\n}\n"
                           "service pop3-login {\n  chroot =\n"
                           "  inet_listener pop3 {\n    address = 127.0.0.1\n    port = " +
                           std::to_string(FPort) +
                           "\n  }\n}\n"
                           "service anvil {\n  chroot =\n}\n"
                           // Sockets that the stock settings give to the server's own group.
                           "service stats {\n  unix_listener stats-writer {\n    group = " +
                           GroupName +
                           "\n  }\n}\n"
                           "service dict {\n  unix_listener dict {\n    group = " +
                           GroupName +
                           "\n  }\n}\n"
                           "service dict-async {\n  unix_listener dict-async {\n    group = " +
                           GroupName + "\n  }\n}\n");
        WriteMailbox({});
        FPid = StartProcessGroup({DovecotBinary, "-F", "-c", FFolder + "dovecot.conf"},
                                 FFolder + "output");
        WaitUntilAccepting(FPid, FPort, "dovecot",
                           [this] { return ReadWholeFile(FFolder + "output") + Log(); });
    } catch (...) {
        Stop();
        throw;
    }
}

TDovecot::~TDovecot()
{
    Stop();
}

void TDovecot::Stop()
{
    StopProcessGroup(FPid);
    FPid = 0;
    std::error_code Error;
    if (!FFolder.empty())
        std::filesystem::remove_all(FFolder, Error);
}

std::string TDovecot::Server() const
{
    return "127.0.0.1:" + std::to_string(FPort);
}

void TDovecot::WriteMailbox(const std::vector<std::string>& Messages)
{
    const std::string Home = FFolder + "home/";
    // The server's index of the previous contents goes too, so nothing of it is reused.
    for (const auto& Entry : std::filesystem::directory_iterator(Home))
        std::filesystem::remove_all(Entry.path());
    std::string Text;
    for (const std::string& Message : Messages)
        Text += ToMboxText(Message);
    const std::string Inbox = Home + "inbox";
    WriteWholeFile(Inbox, Text);
    ::chmod(Inbox.c_str(), 0600);
    if (::chown(Inbox.c_str(), FUid, FGid) != 0 && ::geteuid() == 0)
        throw std::runtime_error("cannot hand " + Inbox + " to the mail user");
}

std::string TDovecot::Log() const
{
    return ReadWholeFile(FFolder + "log");
}

std::string GeneratedMessage(int Number, int BodyBytes)
{
    const std::string N = std::to_string(Number);
    std::string Text = "From: Sender " + N + " <sender" + N +
                       "@example.org>\r\n"
                       "To: alice@example.org\r\n"
                       "Subject: Message " +
                       N +
                       "\r\n"
                       "Date: Sat, 01 Jan 2022 10:00:00 +0000\r\n"
                       "Message-ID: <" +
                       N +
                       ".generated@example.org>\r\n"
                       "\r\n";
    // A line that starts with a dot is stuffed on the wire and must come back unstuffed.
    Text += ".a line that starts with a dot in message " + N + "\r\n";
    const std::string Line(68, static_cast<char>('a' + Number % 26));
    for (int Written = 0; Written < BodyBytes; Written += 70)
        Text += Line + "\r\n";
    return Text;
}

} // namespace TestSupport
