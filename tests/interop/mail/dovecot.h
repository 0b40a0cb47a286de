// tests/interop/mail/dovecot.h: a private Dovecot POP3 server on a free loopback port, with
// one account whose mbox inbox each test writes before it connects. Shared by the interop
// tests and the POP3 benchmark.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace TestSupport {

class TDovecot {
public:
    static constexpr const char* UserName = "alice";
    static constexpr const char* Password = "secret";

    // Starts the server and waits until it accepts connections; raises std::runtime_error with
    // the reason and the server's log when it does not come up.
    TDovecot();
    // Stops the server and everything it started, and removes its folder.
    ~TDovecot();
    TDovecot(const TDovecot&) = delete;
    TDovecot& operator=(const TDovecot&) = delete;

    int Port() const { return FPort; }
    // "127.0.0.1:<port>", as a component's Server property takes it.
    std::string Server() const;

    // Replaces the inbox with Messages (whole messages, LF or CR LF line ends), in order.
    void WriteMailbox(const std::vector<std::string>& Messages);
    // The server's log so far, for failure messages.
    std::string Log() const;

private:
    void Stop();

    std::string FFolder; // ends with '/'
    uid_t FUid = 0;
    gid_t FGid = 0;
    int FPort = 0;
    pid_t FPid = 0;
};

// A generated message: headers Subject "Message <Number>", a sender, a date and a message id,
// then a body of about BodyBytes bytes in lines of 70 characters.
std::string GeneratedMessage(int Number, int BodyBytes = 400);

} // namespace TestSupport
