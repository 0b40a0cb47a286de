#include "mail/aghttp.h"

#include "tests/mail/scriptserver.h"
#include "tests/mail/timing.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

using TestSupport::SecondsSince;
using TestSupport::TPeer;
using TestSupport::TScriptServer;

namespace {

// A loopback HTTP server for one connection: it reads the request up to its empty line, then
// runs the script with what it read and the connection, and closes.
class THttpScript {
public:
    using TScript = std::function<void(const std::string& Request, TPeer& Peer)>;

    explicit THttpScript(TScript Script)
        : FServer([this, Script = std::move(Script)](TPeer& Peer) {
              FRequest = Peer.ReadThrough("\r\n\r\n");
              Script(FRequest, Peer);
          })
    {
    }

    std::string Address() const { return FServer.Address(); }
    // The request as read, once the server has ended; call it after the component's call.
    const std::string& Request()
    {
        FServer.Finish();
        return FRequest;
    }

private:
    std::string FRequest;
    TScriptServer FServer; // last, so that its thread ends before the request goes
};

std::string Text(TMemoryStream* Stream)
{
    return std::string(static_cast<const char*>(Stream->Memory()),
                       static_cast<std::size_t>(Stream->Size()));
}

// Response read from memory as the client reads it from a socket, with the body limit MaxBody.
struct TResponseRead {
    int Status = 0;
    std::string Body;
    std::string Error;
    std::string LastHeader; // the empty line that ends the head, when it was read
};

TResponseRead ReadResponse(const std::string& Response, std::int64_t MaxBody)
{
    TResponseRead Result;
    THttpMemorySource Source(Response);
    ZevHeaders Headers;
    TMemoryStream Body;
    try {
        Result.Status = aghttp::ReadResponseHead(Source, Headers);
        aghttp::ReadResponseBody(Source, Headers, &Body, MaxBody);
        Result.LastHeader = Headers.Get(Headers.Count() - 1);
    } catch (const ESocketError& E) {
        Result.Error = E.Message();
    }
    Result.Body = Text(&Body);
    return Result;
}

std::string ErrorOf(const std::function<void()>& Action)
{
    try {
        Action();
    } catch (const Exception& E) {
        return E.Message();
    }
    return "";
}

} // namespace

TEST(TagHTTP, TheURLGivesServerAndPathAndOnlyHttpURLsWithoutControlsPass)
{
    struct TCase {
        std::string URL;
        std::string Server; // "" with Error
        std::string Path;
        std::string Error;
    };
    const std::vector<TCase> Cases = {
        {"http://example.org/version/spam/ver.txt", "example.org", "/version/spam/ver.txt", ""},
        {"HTTP://Example.org:8080", "Example.org:8080", "/", ""},
        {"http://", "", "/", ""},
        {"ftp://example.org/", "", "", "Invalid URL"},
        {"http:/example.org", "", "", "Invalid URL"},
        {"http://example.org/a\r\nX-Injected: 1", "", "", "Invalid URL"},
        {"http://example.org/a b", "", "", "Invalid URL"},
        {std::string("http://example.org/\0a", 21), "", "", "Invalid URL"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.URL);
        TagHTTP Http(nullptr);
        std::string Reported;
        Http.OnError = [&](TObject*, std::string& Msg) { Reported = Msg; };
        EXPECT_EQ(ErrorOf([&] { Http.SetURL(Case.URL); }), Case.Error);
        EXPECT_EQ(Reported, Case.Error);
        if (Case.Error.empty()) {
            EXPECT_EQ(Http.Server(), Case.Server);
            EXPECT_EQ(Http.RequestPath(), Case.Path);
            EXPECT_EQ(Http.URL(), Case.URL);
        } else {
            EXPECT_EQ(Http.URL(), "");
        }
    }
}

TEST(TagHTTP, AProxyNeedsAPortBecomesTheServerAndClearingItRestoresTheOrigin)
{
    TagHTTP Http(nullptr);
    Http.SetURL("http://example.org/x");
    EXPECT_EQ(ErrorOf([&] { Http.SetProxy("proxy.local"); }), "Proxy port is required");
    Http.SetProxy("proxy.local:3128");
    EXPECT_EQ(Http.Server(), "proxy.local:3128");
    Http.SetURL("http://other.org/y");
    EXPECT_EQ(Http.Server(), "proxy.local:3128");
    Http.SetProxy("");
    EXPECT_EQ(Http.Server(), "other.org");
}

TEST(TagHTTP, TheRequestNamesTheOriginAndSendsProxyCredentialsOnlyToAProxy)
{
    struct TCase {
        std::string Name;
        std::string URL; // "{}" stands for the test server's address
        bool ThroughProxy;
        std::string UserAgent;
        std::string Expected;
    };
    const std::vector<TCase> Cases = {
        {"direct", "http://{}/version/spam/ver.txt", false, "Tarnwick",
         "GET /version/spam/ver.txt HTTP/1.0\r\nHost: {}\r\nAccept: */*\r\n"
         "User-Agent: Tarnwick\r\nConnection: close\r\n\r\n"},
        {"direct without path", "http://{}", false, "",
         "GET / HTTP/1.0\r\nHost: {}\r\nAccept: */*\r\nConnection: close\r\n\r\n"},
        {"proxy, host only", "http://origin.example:8080", true, "",
         "GET http://origin.example:8080/ HTTP/1.0\r\nHost: origin.example:8080\r\n"
         "Proxy-Authorization: Basic dXNlcjpwYXNz\r\nAccept: */*\r\nConnection: close\r\n\r\n"},
        {"proxy, file path", "HTTP://origin.example/version/spam/ver.txt", true, "",
         "GET http://origin.example/version/spam/ver.txt HTTP/1.0\r\nHost: origin.example\r\n"
         "Proxy-Authorization: Basic dXNlcjpwYXNz\r\nAccept: */*\r\nConnection: close\r\n\r\n"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        THttpScript Server(
            [](const std::string&, TPeer& Peer) { Peer.Send("HTTP/1.0 204 No Content\r\n\r\n"); });
        auto Expand = [&](std::string S) {
            const std::size_t At = S.find("{}");
            return At == std::string::npos ? S : S.replace(At, 2, Server.Address());
        };
        TagHTTP Http(nullptr);
        Http.SetTimeOut(5);
        Http.ProxyUserName = "user";
        Http.ProxyPassword = "pass";
        Http.UserAgent = Case.UserAgent;
        Http.SetURL(Expand(Case.URL));
        if (Case.ThroughProxy)
            Http.SetProxy(Server.Address());
        EXPECT_EQ(Http.Get(), 204);
        EXPECT_EQ(Server.Request(), Expand(Expand(Case.Expected)));
    }
}

TEST(TagHTTP, AUserAgentWithALineBreakIsRefusedBeforeAnythingIsSent)
{
    THttpScript Server([](const std::string&, TPeer&) {});
    TagHTTP Http(nullptr);
    Http.SetTimeOut(5);
    Http.SetURL("http://" + Server.Address() + "/");
    Http.UserAgent = "x\r\nX-Injected: 1";
    EXPECT_EQ(ErrorOf([&] { Http.Get(); }), "Invalid User-Agent");
    EXPECT_FALSE(Http.GetConnected());
    EXPECT_EQ(Server.Request(), "");
}

TEST(TagHTTP, ResponsesAreReadAsTheirHeadersAnnounce)
{
    struct TCase {
        std::string Name;
        std::string Response;
        int Status;
        std::string Body;
        std::string Error;
    };
    const std::string A26 = "abcdefghijklmnopqrstuvwxyz";
    const std::vector<TCase> Cases = {
        {"chunked with an extension",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n"
         "1a;name=value\r\n" +
             A26 + "\r\n5 \r\n12345\r\n0\r\n\r\n",
         200, A26 + "12345", ""},
        {"chunked with trailers",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
         "3\r\nabc\r\n0\r\nX-Trailer: 1\r\n\r\n",
         200, "abc", ""},
        {"content length", "HTTP/1.0 404 Not Found\r\nContent-Length: 5\r\n\r\nmissing", 404,
         "missi", ""},
        {"until the close", "HTTP/1.0 200 OK\r\nServer: x\r\n\r\nall of it\r\n", 200,
         "all of it\r\n", ""},
        {"no status line", "garbage\r\n\r\nbody", -1, "body", ""},
        {"body cut short", "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\n1234", 200, "",
         "Connection closed by the server"},
        {"chunk cut short", "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc", 200,
         "", "Connection closed by the server"},
        {"bad chunk size", "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nabc", 200,
         "", "Invalid chunk size"},
        {"chunk size overflow",
         "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10000000000000000\r\nabc", 200, "",
         "Invalid chunk size"},
        {"head cut short", "HTTP/1.0 200 OK\r\nContent-Length: 1\r\n", 0, "",
         "Connection closed by the server"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const TResponseRead Read = ReadResponse(Case.Response, -1);
        EXPECT_EQ(Read.Status, Case.Status);
        if (Case.Error.empty()) {
            EXPECT_EQ(Read.Error, "");
            EXPECT_EQ(Read.Body, Case.Body);
            EXPECT_EQ(Read.LastHeader, "");
        } else {
            EXPECT_NE(Read.Error.find(Case.Error), std::string::npos) << Read.Error;
        }
    }
}

TEST(TagHTTP, WhatAPeerSendsIsBounded)
{
    std::string ManyHeaders = "HTTP/1.0 200 OK\r\n";
    for (int I = 0; I < MaxHeaderLines; ++I)
        ManyHeaders += "X-Header: " + std::to_string(I) + "\r\n";
    std::string EnoughHeaders = "HTTP/1.0 200 OK\r\n";
    for (int I = 0; I < MaxHeaderLines - 1; ++I)
        EnoughHeaders += "X-Header: " + std::to_string(I) + "\r\n";
    struct TCase {
        std::string Name;
        std::string Response;
        std::string Error;
    };
    const std::vector<TCase> Cases = {
        {"long status line", "HTTP/1.0 200 " + std::string(MaxReplyLine, 'x') + "\r\n\r\n",
         "Reply line is too long"},
        {"long header line", "HTTP/1.0 200 OK\r\nX: " + std::string(MaxReplyLine, 'x') + "\r\n",
         "Reply line is too long"},
        {"header lines at the limit", EnoughHeaders + "\r\n", ""},
        {"too many header lines", ManyHeaders + "\r\n", "Too many header lines"},
        {"announced length", "HTTP/1.0 200 OK\r\nContent-Length: 11\r\n\r\n12345678901",
         "Response body is too large"},
        {"length at the limit", "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\n1234567890", ""},
        {"chunks",
         "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
         "6\r\n123456\r\n5\r\n78901\r\n0\r\n\r\n",
         "Response body is too large"},
        {"until the close", "HTTP/1.0 200 OK\r\n\r\n12345678901", "Response body is too large"},
        {"until the close at the limit", "HTTP/1.0 200 OK\r\n\r\n1234567890", ""},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const TResponseRead Read = ReadResponse(Case.Response, 10);
        EXPECT_EQ(Read.Error, Case.Error);
        EXPECT_LE(Read.Body.size(), 10u);
    }
}

TEST(TagHTTP, ChunkSizeLinesAreHexadecimalWithOptionalExtensions)
{
    const std::vector<std::pair<std::string, std::int64_t>> Cases = {
        {"1a", 26},
        {"1A;name=value", 26},
        {" 5 ", 5},
        {"0", 0},
        {"000000000000000000001", 1},
        {"fffffffffffffff", 0xfffffffffffffff},
        {"1000000000000000", -1},
        {"", -1},
        {";x", -1},
        {"-1", -1},
        {"$1a", -1},
        {"1 a", -1},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(aghttp::ParseChunkSize(Case.first), Case.second) << Case.first;
}

TEST(TagHTTP, AnEmptyBodyOrAPeerCloseEndsTheRequestAtOnce)
{
    struct TCase {
        std::string Name;
        std::string Response;
        bool Close; // else the server keeps the connection open until the client closes it
        std::string Body;
    };
    const std::vector<TCase> Cases = {
        {"empty body, connection open", "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n", false, ""},
        {"whole body, connection open", "HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabc", false,
         "abc"},
        {"last chunk, connection open",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3;a=b\r\nabc\r\n0\r\n\r\n", false,
         "abc"},
        {"no length, peer closes", "HTTP/1.0 200 OK\r\n\r\nabc", true, "abc"},
        {"no body, peer closes", "HTTP/1.0 304 Not Modified\r\n\r\n", true, ""},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        THttpScript Server([&](const std::string&, TPeer& Peer) {
            Peer.Send(Case.Response);
            if (!Case.Close)
                Peer.WaitForClose();
        });
        TagHTTP Http(nullptr);
        Http.SetTimeOut(5);
        Http.SetURL("http://" + Server.Address() + "/");
        int Closed = 0;
        Http.OnClosed = [&](TObject*) { ++Closed; };
        const auto Start = std::chrono::steady_clock::now();
        const int Status = Http.Get();
        EXPECT_LT(SecondsSince(Start), 2.0);
        EXPECT_EQ(Status, std::stoi(Case.Response.substr(9, 3)));
        EXPECT_EQ(Text(Http.Body()), Case.Body);
        EXPECT_EQ(Http.Body()->Position(), 0);
        EXPECT_FALSE(Http.GetConnected());
        EXPECT_GE(Closed, 1);
    }
}

TEST(TagHTTP, ABodyCutShortFailsWithTheConnectionClosedAndTheErrorReported)
{
    THttpScript Server([](const std::string&, TPeer& Peer) {
        Peer.Send("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nonly this");
    });
    TagHTTP Http(nullptr);
    Http.SetTimeOut(5);
    Http.SetURL("http://" + Server.Address() + "/file");
    std::vector<std::string> Errors;
    Http.OnError = [&](TObject*, std::string& Msg) { Errors.push_back(Msg); };
    const auto Start = std::chrono::steady_clock::now();
    const std::string Error = ErrorOf([&] { Http.Get(); });
    EXPECT_LT(SecondsSince(Start), 2.0);
    EXPECT_FALSE(Error.empty());
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_EQ(Errors[0], Error);
    EXPECT_FALSE(Http.GetConnected());
    EXPECT_EQ(Http.ResponseHeaders()->Get(0), "HTTP/1.0 200 OK");
}

TEST(TagHTTP, AnEmptyHostFailsAsAMissingServer)
{
    TagHTTP Http(nullptr);
    Http.SetURL("http://");
    EXPECT_EQ(ErrorOf([&] { Http.Get(); }), "Server property is required");
    Http.SetProxy("127.0.0.1:1");
    EXPECT_EQ(ErrorOf([&] { Http.Get(); }), "Server property is required");
}
