// tests/interop/mail/httpserver.h: the real peers of the HTTP client's interop tests: Python's
// HTTP server serving a folder, and tinyproxy with Basic credentials in front of it, each on a
// free loopback port in a temporary folder of its own.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace TestSupport {

// A program listening on a free loopback port, run from its own temporary folder, which goes
// with it.
class TLoopbackProgram {
public:
    TLoopbackProgram(const TLoopbackProgram&) = delete;
    TLoopbackProgram& operator=(const TLoopbackProgram&) = delete;

    int Port() const { return FPort; }
    // "127.0.0.1:<port>", as a component's Server or Proxy property takes it.
    std::string Address() const;
    // The folder, ending with "/".
    const std::string& Folder() const { return FFolder; }
    // What the program wrote to its output and log so far, for failure messages.
    std::string Log() const;

protected:
    // Makes the folder and picks the port; Start runs the program.
    explicit TLoopbackProgram(const std::string& Name);
    ~TLoopbackProgram();
    // Starts the program and waits until it accepts connections; raises std::runtime_error
    // with its log when it ends or does not come up.
    void Start(const std::vector<std::string>& Argv);

private:
    void Stop();

    std::string FName;
    std::string FFolder;
    int FPort = 0;
    pid_t FPid = 0;
};

// python3 -m http.server serving Files() (HTTP/1.0, one connection per request).
class THttpFileServer : public TLoopbackProgram {
public:
    THttpFileServer();
    // The served folder, ending with "/".
    std::string Files() const { return Folder() + "www/"; }
    // Writes a file under Files() (Name may hold sub-folders).
    void WriteFile(const std::string& Name, const std::string& Contents) const;
};

// tinyproxy on loopback, allowing 127.0.0.1 with Basic credentials UserName:Password.
class TTinyProxy : public TLoopbackProgram {
public:
    static constexpr const char* UserName = "user";
    static constexpr const char* Password = "pass";
    TTinyProxy();
};

} // namespace TestSupport
