// mail/aghttp.h: TagHTTP, which fetches one resource with an HTTP/1.0 GET over a fresh
// connection (optionally through a proxy), and the response reader under it, which takes its
// lines and bytes from any source so that it can be driven from memory as well.
#pragma once

#include "mail/agsocket.h"
#include "mail/mspars.h"

#include <cstdint>
#include <memory>
#include <string>

// Header lines a response may bring after its status line, the empty line included.
constexpr int MaxHeaderLines = 100;
// The body size TagHTTP accepts unless told otherwise.
constexpr std::int64_t DefaultMaxBodySize = 16 * 1024 * 1024;

// Where a response comes from. Every failure raises (ESocketError and its kin) and ends the
// reading: the data ending early, a line longer than MaxReplyLine, or Fail.
class THttpSource {
public:
    virtual ~THttpSource() = default;
    // One line without its CR LF.
    virtual void ReadLine(std::string& Line) = 0;
    // Count bytes into Stream; -1 reads until the peer closes.
    virtual void ReadCount(TStream* Stream, std::int64_t Count) = 0;
    // Reports a malformed or oversized response.
    [[noreturn]] virtual void Fail(const std::string& Text) = 0;
};

// A whole response held in memory, read as a peer would send it and then close.
class THttpMemorySource : public THttpSource {
public:
    explicit THttpMemorySource(const std::string& Data);
    void ReadLine(std::string& Line) override;
    void ReadCount(TStream* Stream, std::int64_t Count) override;
    [[noreturn]] void Fail(const std::string& Text) override;

private:
    TReceiveBuffer FBuffer;
};

namespace aghttp {

// The status line and the header lines up to and including the empty line, into Headers
// (cleared first). Returns the status code: the second word of the first line, -1 when it is
// not a number.
int ReadResponseHead(THttpSource& Source, ZevHeaders& Headers);
// The body as Headers announce it (chunked, Content-Length or up to the close) into Body.
// More than MaxBody bytes fail; MaxBody < 0 sets no limit.
void ReadResponseBody(THttpSource& Source, const ZevHeaders& Headers, TStream* Body,
                      std::int64_t MaxBody);
// The size of a chunk-size line ("1a", "1A;name=value"), or -1 when the line is not one.
std::int64_t ParseChunkSize(const std::string& Line);

} // namespace aghttp

class TagHTTP : public TagSocket {
public:
    explicit TagHTTP(TComponent* AOwner);
    ~TagHTTP() override;

    // "http://host[:port][/path]"; the scheme in any case. Anything else, or a URL with
    // blanks or control characters, raises ESocketError "Invalid URL".
    const std::string& URL() const { return FURL; }
    void SetURL(const std::string& Value);
    // "host:port" of a proxy that takes the whole URL; empty for none.
    const std::string& Proxy() const { return FProxy; }
    void SetProxy(const std::string& Value);
    // Basic credentials for the proxy; sent only through a proxy.
    std::string ProxyUserName;
    std::string ProxyPassword;
    std::string UserAgent;
    // The largest body accepted; < 0 for no limit.
    std::int64_t MaxBodySize() const { return FMaxBodySize; }
    void SetMaxBodySize(std::int64_t Value) { FMaxBodySize = Value; }

    // The path part of URL, "/" when it has none.
    const std::string& RequestPath() const { return FRequestPath; }
    // Status line, header lines and the final empty line of the last response.
    ZevHeaders* ResponseHeaders() const { return FResponseHeaders.get(); }
    // The body of the last response, positioned at 0.
    TMemoryStream* Body() const { return FBody.get(); }

    // Fetches URL; returns the status code (-1 when the first line is no status line).
    // Failures raise, after OnError, with the connection closed.
    int Get();

    TNotifyEvent OnSending;

private:
    class TSocketSource;

    void Request(const std::string& Method);
    [[noreturn]] void Fail(const std::string& Text);

    std::string FURL;
    std::string FProxy;
    std::string FHost; // host[:port] of URL
    std::string FRequestPath = "/";
    std::int64_t FMaxBodySize = DefaultMaxBodySize;
    std::unique_ptr<ZevHeaders> FResponseHeaders;
    std::unique_ptr<TMemoryStream> FBody;
};
