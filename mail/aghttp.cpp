#include "mail/aghttp.h"

#include "mail/msmime.h"
#include "mail/msutils.h"
#include "platform/net/errors.h"
#include "platform/rtl/strings.h"

namespace {

const char* const BodyTooLarge = "Response body is too large";

bool HasBlankOrControl(const std::string& Text)
{
    for (unsigned char C : Text)
        if (C <= ' ' || C == 127)
            return true;
    return false;
}

bool HasControl(const std::string& Text)
{
    for (unsigned char C : Text)
        if ((C < ' ' && C != '\t') || C == 127)
            return true;
    return false;
}

// Digits only, within range; -1 otherwise (the body then runs to the close).
std::int64_t ContentLength(const ZevHeaders& Headers)
{
    const std::string Text = Trim(Headers.GetFieldValue("Content-Length"));
    if (Text.empty() || Text.size() > 18)
        return -1;
    std::int64_t Value = 0;
    for (char C : Text) {
        if (C < '0' || C > '9')
            return -1;
        Value = Value * 10 + (C - '0');
    }
    return Value;
}

// Passes writes on to Target until Limit bytes have gone through, then throws TFull.
class TLimitedStream : public TStream {
public:
    struct TFull {};

    TLimitedStream(TStream* Target, std::int64_t Limit) : FTarget(Target), FLeft(Limit) {}

    std::int64_t Read(void*, std::int64_t) override { return 0; }
    std::int64_t Write(const void* Buffer, std::int64_t Count) override
    {
        if (Count > FLeft)
            throw TFull();
        FLeft -= Count;
        return FTarget->Write(Buffer, Count);
    }
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override
    {
        return FTarget->Seek(Offset, Origin);
    }

private:
    TStream* FTarget;
    std::int64_t FLeft;
};

} // namespace

// THttpMemorySource

THttpMemorySource::THttpMemorySource(const std::string& Data)
{
    FBuffer.Append(Data.data(), Data.size());
}

void THttpMemorySource::ReadLine(std::string& Line)
{
    const auto Result = FBuffer.TakeLine(Line, MaxReplyLine);
    if (Result == TReceiveBuffer::lrTooLong)
        Fail("Reply line is too long");
    if (Result == TReceiveBuffer::lrIncomplete)
        throw ESocketError(WinsockErrorText(WSAEDISCON));
}

void THttpMemorySource::ReadCount(TStream* Stream, std::int64_t Count)
{
    const auto Size = static_cast<std::int64_t>(FBuffer.Size());
    if (Count >= 0 && Count > Size)
        throw ESocketError(WinsockErrorText(WSAEDISCON));
    const std::int64_t Take = Count < 0 ? Size : Count;
    Stream->WriteBuffer(FBuffer.Data(), Take);
    FBuffer.Consume(static_cast<std::size_t>(Take));
}

void THttpMemorySource::Fail(const std::string& Text)
{
    throw ESocketError(Text);
}

// The response reader

namespace aghttp {

std::int64_t ParseChunkSize(const std::string& Line)
{
    // Chunk extensions follow a ";" and carry nothing this client uses.
    const std::string Text = Trim(Line.substr(0, Line.find(';')));
    if (Text.empty())
        return -1;
    std::int64_t Size = 0;
    int Significant = 0;
    for (char C : Text) {
        int Digit;
        if (C >= '0' && C <= '9')
            Digit = C - '0';
        else if (C >= 'a' && C <= 'f')
            Digit = C - 'a' + 10;
        else if (C >= 'A' && C <= 'F')
            Digit = C - 'A' + 10;
        else
            return -1;
        if (Size != 0 || Digit != 0)
            ++Significant;
        if (Significant > 15)
            return -1;
        Size = Size * 16 + Digit;
    }
    return Size;
}

int ReadResponseHead(THttpSource& Source, ZevHeaders& Headers)
{
    Headers.Clear();
    std::string Line;
    do {
        if (Headers.Count() > MaxHeaderLines)
            Source.Fail("Too many header lines");
        Source.ReadLine(Line);
        Headers.Add(Line);
    } while (!Line.empty());
    const int Status = GetTokenInt(Headers.Get(0), 1);
    return Status < 0 ? -1 : Status;
}

void ReadResponseBody(THttpSource& Source, const ZevHeaders& Headers, TStream* Body,
                      std::int64_t MaxBody)
{
    if (LowerCase(Headers.GetFieldValue("Transfer-Encoding")).find("chunked") !=
        std::string::npos) {
        std::int64_t Total = 0;
        std::string Line;
        for (;;) {
            Source.ReadLine(Line);
            // The line end after the previous chunk's data.
            if (Line.empty())
                Source.ReadLine(Line);
            const std::int64_t Size = ParseChunkSize(Line);
            if (Size < 0)
                Source.Fail("Invalid chunk size");
            if (Size == 0)
                return; // trailer lines are not needed: the connection closes next
            if (MaxBody >= 0 && Size > MaxBody - Total)
                Source.Fail(BodyTooLarge);
            Source.ReadCount(Body, Size);
            Total += Size;
        }
    }
    const std::int64_t Length = ContentLength(Headers);
    if (Length >= 0) {
        if (MaxBody >= 0 && Length > MaxBody)
            Source.Fail(BodyTooLarge);
        Source.ReadCount(Body, Length);
    } else if (MaxBody < 0) {
        Source.ReadCount(Body, -1);
    } else {
        TLimitedStream Limited(Body, MaxBody);
        try {
            Source.ReadCount(&Limited, -1);
        } catch (const TLimitedStream::TFull&) {
            Source.Fail(BodyTooLarge);
        }
    }
}

} // namespace aghttp

// TagHTTP

class TagHTTP::TSocketSource : public THttpSource {
public:
    explicit TSocketSource(TagHTTP& Owner) : FOwner(Owner) {}

    void ReadLine(std::string& Line) override { FOwner.ReadLine(Line); }
    void ReadCount(TStream* Stream, std::int64_t Count) override
    {
        FOwner.ReceiveCount(Stream, Count);
    }
    void Fail(const std::string& Text) override { FOwner.Fail(Text); }

private:
    TagHTTP& FOwner;
};

TagHTTP::TagHTTP(TComponent* AOwner)
    : TagSocket(AOwner), FResponseHeaders(std::make_unique<ZevHeaders>()),
      FBody(std::make_unique<TMemoryStream>())
{
    SetDefaultPort(80);
    SetServiceName("http");
}

TagHTTP::~TagHTTP() = default;

void TagHTTP::SetURL(const std::string& Value)
{
    // Blanks and control characters would split the request line or start a header of
    // their own.
    if (UpperCase(Value.substr(0, 7)) != "HTTP://" || HasBlankOrControl(Value)) {
        RaiseSocketError(sidInvalidURL);
        return;
    }
    FURL = Value;
    const std::string Rest = Value.substr(7);
    const std::size_t Slash = Rest.find('/');
    FHost = Rest.substr(0, Slash);
    FRequestPath = Slash == std::string::npos ? "/" : Rest.substr(Slash);
    SetServer(FProxy.empty() ? FHost : FProxy);
}

void TagHTTP::SetProxy(const std::string& Value)
{
    if (!Value.empty() && Value.find(':') == std::string::npos) {
        RaiseSocketError(sidProxyPortRequired);
        return;
    }
    FProxy = Value;
    // Without a proxy the origin server is connected again.
    SetServer(Value.empty() ? FHost : Value);
}

int TagHTTP::Get()
{
    FResponseHeaders->Clear();
    FBody->Clear();
    Reset();
    try {
        if (FHost.empty())
            RaiseSocketError(sidServerRequired);
        Connect();
        ConnectSocket();
        Request("GET");
        TSocketSource Source(*this);
        const int Status = aghttp::ReadResponseHead(Source, *FResponseHeaders);
        aghttp::ReadResponseBody(Source, *FResponseHeaders, FBody.get(), FMaxBodySize);
        FBody->SetPosition(0);
        Close();
        return Status;
    } catch (...) {
        FBody->SetPosition(0);
        // Also ends a call the dial-up component made for a connection that never opened.
        Close();
        throw;
    }
}

void TagHTTP::Request(const std::string& Method)
{
    if (OnSending)
        OnSending(this);
    if (HasControl(UserAgent))
        Fail("Invalid User-Agent");
    // Through a proxy the target is the absolute URL, with "/" standing for an empty path.
    const std::string Target = FProxy.empty() ? FRequestPath : "http://" + FHost + FRequestPath;
    std::string Text = Method + " " + Target + " HTTP/1.0\r\n";
    Text += "Host: " + FHost + "\r\n";
    // Proxy credentials never go to the origin server.
    if (!FProxy.empty() && !ProxyUserName.empty())
        Text += "Proxy-Authorization: Basic " + Base64Encode(ProxyUserName + ":" + ProxyPassword) +
                "\r\n";
    Text += "Accept: */*\r\n";
    if (!UserAgent.empty())
        Text += "User-Agent: " + UserAgent + "\r\n";
    Text += "Connection: close\r\n\r\n";
    TStringStream Stream(Text);
    SendStream(&Stream);
}

void TagHTTP::Fail(const std::string& Text)
{
    std::string Msg = Text;
    if (OnError)
        OnError(this, Msg);
    throw ESocketError(Msg);
}
