/* bench/mail/pop3_floor.c: the least a client can do for the listing: one send per command, a
 * blocking read() into one buffer whenever no whole line is left in it (after a poll() when
 * asked), and lines parsed in place. Nothing is kept but the sizes; the data of UIDL and TOP is
 * only walked to its end. */
#include "bench/mail/pop3_floor.h"

#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

typedef struct {
    int Fd;
    int PollFirst;
    size_t Start; /* first byte not yet taken */
    size_t End;   /* one past the last byte read */
    char* Error;
    size_t ErrorSize;
    char Data[16384];
} TFloorClient;

static int Fail(TFloorClient* C, const char* Format, ...)
{
    va_list Args;
    va_start(Args, Format);
    vsnprintf(C->Error, C->ErrorSize, Format, Args);
    va_end(Args);
    return -1;
}

/* The next line without its CR LF, terminated in the buffer; valid until the next call. */
static int ReadLine(TFloorClient* C, char** Line, size_t* Length)
{
    for (;;) {
        char* Start = C->Data + C->Start;
        char* Lf = memchr(Start, '\n', C->End - C->Start);
        if (Lf) {
            size_t Size = (size_t)(Lf - Start);
            C->Start += Size + 1;
            if (Size > 0 && Start[Size - 1] == '\r')
                --Size;
            Start[Size] = '\0';
            *Line = Start;
            *Length = Size;
            return 0;
        }
        if (C->Start > 0) {
            memmove(C->Data, Start, C->End - C->Start);
            C->End -= C->Start;
            C->Start = 0;
        }
        if (C->End == sizeof C->Data)
            return Fail(C, "reply line too long");
        if (C->PollFirst) {
            struct pollfd Ready = {C->Fd, POLLIN, 0};
            if (poll(&Ready, 1, -1) < 0 && errno != EINTR)
                return Fail(C, "poll: %s", strerror(errno));
        }
        ssize_t Got = read(C->Fd, C->Data + C->End, sizeof C->Data - C->End);
        if (Got < 0 && errno == EINTR)
            continue;
        if (Got <= 0)
            return Fail(C, "connection ended: %s", Got == 0 ? "closed" : strerror(errno));
        C->End += (size_t)Got;
    }
}

/* Sends the command and reads its status line; the line stays in *Line. */
static int Command(TFloorClient* C, char** Line, const char* Format, ...)
{
    char Text[512];
    va_list Args;
    va_start(Args, Format);
    int Size = vsnprintf(Text, sizeof Text - 2, Format, Args);
    va_end(Args);
    if (Size < 0 || (size_t)Size >= sizeof Text - 2)
        return Fail(C, "command too long");
    Text[Size++] = '\r';
    Text[Size++] = '\n';
    for (int Sent = 0; Sent < Size;) {
        ssize_t Done = send(C->Fd, Text + Sent, (size_t)(Size - Sent), MSG_NOSIGNAL);
        if (Done < 0 && errno == EINTR)
            continue;
        if (Done < 0)
            return Fail(C, "send: %s", strerror(errno));
        Sent += (int)Done;
    }
    size_t Length = 0;
    if (ReadLine(C, Line, &Length) != 0)
        return -1;
    if ((*Line)[0] != '+')
        return Fail(C, "server said: %s", *Line);
    return 0;
}

/* Walks multi-line data up to its end line "."; the byte count of its lines. */
static long SkipData(TFloorClient* C)
{
    long Bytes = 0;
    for (;;) {
        char* Line = NULL;
        size_t Length = 0;
        if (ReadLine(C, &Line, &Length) != 0)
            return -1;
        if (Length == 1 && Line[0] == '.')
            return Bytes;
        Bytes += (long)Length;
    }
}

static int Listing(TFloorClient* C, int Port, const char* User, const char* Password)
{
    struct sockaddr_in Address;
    memset(&Address, 0, sizeof Address);
    Address.sin_family = AF_INET;
    Address.sin_port = htons((unsigned short)Port);
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(C->Fd, (const struct sockaddr*)&Address, sizeof Address) != 0)
        return Fail(C, "connect: %s", strerror(errno));

    char* Line = NULL;
    size_t Length = 0;
    if (ReadLine(C, &Line, &Length) != 0)
        return -1;
    if (Line[0] != '+')
        return Fail(C, "greeting: %s", Line);
    if (Command(C, &Line, "USER %s", User) != 0 || Command(C, &Line, "PASS %s", Password) != 0 ||
        Command(C, &Line, "STAT") != 0)
        return -1;
    const int Count = atoi(Line + 3);
    if (Count > 0 && (Command(C, &Line, "UIDL") != 0 || SkipData(C) < 0))
        return -1;
    for (int N = 1; N <= Count; ++N) {
        if (Command(C, &Line, "LIST %d", N) != 0)
            return -1;
        /* "+OK n size" */
        char* Rest = NULL;
        strtol(Line + 3, &Rest, 10);
        if (strtol(Rest, NULL, 10) <= 0)
            return Fail(C, "no size in: %s", Line);
        if (Command(C, &Line, "TOP %d 1", N) != 0 || SkipData(C) < 0)
            return -1;
    }
    if (Command(C, &Line, "QUIT") != 0)
        return -1;
    return Count;
}

int Pop3FloorListing(int Port, const char* User, const char* Password, int PollFirst, char* Error,
                     size_t ErrorSize)
{
    TFloorClient* C = malloc(sizeof *C);
    if (!C) {
        snprintf(Error, ErrorSize, "out of memory");
        return -1;
    }
    C->PollFirst = PollFirst;
    C->Start = 0;
    C->End = 0;
    C->Error = Error;
    C->ErrorSize = ErrorSize;
    C->Fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int Result =
        C->Fd < 0 ? Fail(C, "socket: %s", strerror(errno)) : Listing(C, Port, User, Password);
    if (C->Fd >= 0)
        close(C->Fd);
    free(C);
    return Result;
}
