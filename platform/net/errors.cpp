#include "platform/net/errors.h"

#include <netdb.h>

#include <cerrno>
#include <cstring>

namespace {

struct TErrnoPair {
    int Errno;
    int Winsock;
};

// Winsock numbers are the Berkeley errors offset by 10000 in their BSD order, so the table
// pairs them by name.
const TErrnoPair ErrnoTable[] = {
    {EINTR, WSAEINTR},
    {EBADF, WSAEBADF},
    {EACCES, WSAEACCES},
    {EFAULT, WSAEFAULT},
    {EINVAL, WSAEINVAL},
    {EMFILE, WSAEMFILE},
    {EWOULDBLOCK, WSAEWOULDBLOCK},
    {EINPROGRESS, WSAEINPROGRESS},
    {EALREADY, WSAEALREADY},
    {ENOTSOCK, WSAENOTSOCK},
    {EDESTADDRREQ, WSAEDESTADDRREQ},
    {EMSGSIZE, WSAEMSGSIZE},
    {EPROTOTYPE, WSAEPROTOTYPE},
    {ENOPROTOOPT, WSAENOPROTOOPT},
    {EPROTONOSUPPORT, WSAEPROTONOSUPPORT},
    {EOPNOTSUPP, WSAEOPNOTSUPP},
    {EAFNOSUPPORT, WSAEAFNOSUPPORT},
    {EADDRINUSE, WSAEADDRINUSE},
    {EADDRNOTAVAIL, WSAEADDRNOTAVAIL},
    {ENETDOWN, WSAENETDOWN},
    {ENETUNREACH, WSAENETUNREACH},
    {ENETRESET, WSAENETRESET},
    {ECONNABORTED, WSAECONNABORTED},
    {ECONNRESET, WSAECONNRESET},
    {EPIPE, WSAECONNRESET}, // writing to a connection the peer has reset
    {ENOBUFS, WSAENOBUFS},
    {EISCONN, WSAEISCONN},
    {ENOTCONN, WSAENOTCONN},
    {ESHUTDOWN, WSAESHUTDOWN},
    {ETIMEDOUT, WSAETIMEDOUT},
    {ECONNREFUSED, WSAECONNREFUSED},
    {EHOSTDOWN, WSAEHOSTDOWN},
    {EHOSTUNREACH, WSAEHOSTUNREACH},
};

struct TLookupPair {
    int Winsock;
    int Eai;
};

const TLookupPair LookupTable[] = {
    {WSAHOST_NOT_FOUND, EAI_NONAME},
    {WSATRY_AGAIN, EAI_AGAIN},
    {WSANO_RECOVERY, EAI_FAIL},
    {WSANO_DATA, EAI_NODATA},
};

} // namespace

int WinsockError(int Errno)
{
    for (const auto& P : ErrnoTable)
        if (P.Errno == Errno)
            return P.Winsock;
    return Errno;
}

int WinsockLookupError(int EaiCode)
{
    switch (EaiCode) {
    case 0:
        return 0;
    case EAI_AGAIN:
        return WSATRY_AGAIN;
    case EAI_FAIL:
        return WSANO_RECOVERY;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
        return WSANO_DATA;
    case EAI_MEMORY:
        return WSAENOBUFS;
    default:
        return WSAHOST_NOT_FOUND;
    }
}

std::string WinsockErrorText(int Code)
{
    if (Code == WSAEDISCON)
        return "Connection closed by the server";
    for (const auto& P : LookupTable)
        if (P.Winsock == Code)
            return gai_strerror(P.Eai);
    for (const auto& P : ErrnoTable)
        if (P.Winsock == Code)
            return std::strerror(P.Errno);
    return "";
}
