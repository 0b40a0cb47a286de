// HTTP responses from outside: status line, header lines and a chunked, counted or
// close-terminated body, read from memory as the client reads them from a socket.
#include "fuzz/fuzzinput.h"
#include "mail/aghttp.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr std::int64_t MaxBody = 4096;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Text = InputText(Data, Size);
    THttpMemorySource Source(Text);
    ZevHeaders Headers;
    TMemoryStream Body;
    try {
        const int Status = aghttp::ReadResponseHead(Source, Headers);
        Check(Status >= -1);
        Check(Headers.Count() >= 1 && Headers.Count() <= MaxHeaderLines + 1);
        Check(Headers.Get(Headers.Count() - 1).empty());
        aghttp::ReadResponseBody(Source, Headers, &Body, MaxBody);
    } catch (const ESocketError&) {
    }
    // The body never holds more than the limit, nor more than the peer sent.
    Check(Body.Size() <= MaxBody && Body.Size() <= static_cast<std::int64_t>(Size));
    return 0;
}
