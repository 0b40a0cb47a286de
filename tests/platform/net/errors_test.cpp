#include "platform/net/errors.h"

#include <gtest/gtest.h>

#include <netdb.h>

#include <cerrno>
#include <cstring>

TEST(WinsockErrors, SystemErrorsMapToTheNumbersTheUnitsTest)
{
    struct TCase {
        int Errno;
        int Winsock;
    };
    const std::vector<TCase> Cases = {
        {EWOULDBLOCK, 10035},  {ECONNRESET, 10054},  {ETIMEDOUT, 10060},     {ECONNREFUSED, 10061},
        {EHOSTUNREACH, 10065}, {ENETUNREACH, 10051}, {EADDRINUSE, 10048},    {ENOTCONN, 10057},
        {ECONNABORTED, 10053}, {EINVAL, 10022},      {EPIPE, WSAECONNRESET}, {EINPROGRESS, 10036},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(WinsockError(C.Errno), C.Winsock) << std::strerror(C.Errno);
        EXPECT_EQ(WinsockErrorText(C.Winsock),
                  std::strerror(C.Errno == EPIPE ? ECONNRESET : C.Errno));
    }
}

TEST(WinsockErrors, LookUpFailuresMapToTheHostErrors)
{
    EXPECT_EQ(WinsockLookupError(EAI_NONAME), WSAHOST_NOT_FOUND);
    EXPECT_EQ(WSAHOST_NOT_FOUND, 11001);
    EXPECT_EQ(WinsockLookupError(EAI_NODATA), WSANO_DATA);
    EXPECT_EQ(WSANO_DATA, 11004);
    EXPECT_EQ(WinsockLookupError(EAI_AGAIN), WSATRY_AGAIN);
    EXPECT_EQ(WinsockErrorText(WSAHOST_NOT_FOUND), gai_strerror(EAI_NONAME));
}

TEST(WinsockErrors, NumbersThatAreNoSocketErrorHaveNoWording)
{
    EXPECT_EQ(WinsockErrorText(59000), "");
    EXPECT_EQ(WinsockErrorText(0), "");
    EXPECT_NE(WinsockErrorText(WSAEDISCON), "");
}
