// tests/interop/mail/aghttp_interop_test.cpp: the HTTP client against Python's HTTP server,
// directly and through tinyproxy with Basic credentials.
#include "mail/aghttp.h"

#include "tests/interop/mail/httpserver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using TestSupport::THttpFileServer;
using TestSupport::TTinyProxy;

namespace {

std::string Text(TMemoryStream* Stream)
{
    return std::string(static_cast<const char*>(Stream->Memory()),
                       static_cast<std::size_t>(Stream->Size()));
}

const std::string VersionText = "10.2.1\r\nA newer version is ready.\r\n";
const std::string Note = "{\\rtf1\\ansi Release notes\\par}";

} // namespace

TEST(TagHTTPInterop, FilesMissingFilesAndEmptyFilesComeBackWithTheirStatus)
{
    THttpFileServer Server;
    Server.WriteFile("version/spam/ver.txt", VersionText);
    Server.WriteFile("version/spam/note.rtf", Note);
    Server.WriteFile("empty.txt", "");
    struct TCase {
        std::string Path;
        int Status;
        std::string Body; // "*" for any non-empty body
    };
    const std::vector<TCase> Cases = {
        {"/version/spam/ver.txt", 200, VersionText},
        {"/version/spam/note.rtf", 200, Note},
        {"/version/spam/missing.txt", 404, "*"},
        {"/empty.txt", 200, ""},
    };
    TagHTTP Http(nullptr);
    Http.SetTimeOut(10);
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Path);
        Http.SetURL("http://" + Server.Address() + Case.Path);
        const auto Start = std::chrono::steady_clock::now();
        EXPECT_EQ(Http.Get(), Case.Status) << Server.Log();
        EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(5));
        if (Case.Body == "*") {
            EXPECT_GT(Http.Body()->Size(), 0);
        } else {
            EXPECT_EQ(Text(Http.Body()), Case.Body);
        }
        EXPECT_FALSE(Http.GetConnected());
        EXPECT_EQ(Http.ResponseHeaders()->Get(Http.ResponseHeaders()->Count() - 1), "");
    }
}

TEST(TagHTTPInterop, TheProxyAsksForCredentialsAndPassesTheRightOnes)
{
    THttpFileServer Server;
    Server.WriteFile("version/spam/ver.txt", VersionText);
    TTinyProxy Proxy;
    struct TCase {
        std::string Name;
        std::string UserName;
        std::string Password;
        std::string Path;
        int Status;
    };
    const std::vector<TCase> Cases = {
        {"no credentials", "", "", "/version/spam/ver.txt", 407},
        {"wrong password", TTinyProxy::UserName, "wrong", "/version/spam/ver.txt", 401},
        {"right credentials", TTinyProxy::UserName, TTinyProxy::Password, "/version/spam/ver.txt",
         200},
        // No path: the proxy is asked for "/", the folder listing.
        {"host only", TTinyProxy::UserName, TTinyProxy::Password, "", 200},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TagHTTP Http(nullptr);
        Http.SetTimeOut(10);
        Http.SetProxy(Proxy.Address());
        Http.SetURL("http://" + Server.Address() + Case.Path);
        Http.ProxyUserName = Case.UserName;
        Http.ProxyPassword = Case.Password;
        EXPECT_EQ(Http.Get(), Case.Status) << Proxy.Log() << Server.Log();
        if (Case.Path == "/version/spam/ver.txt" && Case.Status == 200) {
            EXPECT_EQ(Text(Http.Body()), VersionText);
        }
        if (Case.Path.empty()) {
            EXPECT_NE(Text(Http.Body()).find("version/"), std::string::npos);
        }
    }
}
