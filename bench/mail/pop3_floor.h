/* bench/mail/pop3_floor.h: the floor of the POP3 listing benchmark, a plain C client that sends
 * what ZevRemotePOP::UpdateInfo sends, in the same lock-step, with blocking buffered reads. */
#ifndef TARNWICK_BENCH_POP3_FLOOR_H
#define TARNWICK_BENCH_POP3_FLOOR_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Greeting, USER, PASS, STAT, UIDL, then LIST n and TOP n 1 for every message, then QUIT, on
 * 127.0.0.1:Port. With PollFirst, every read waits in poll() first, as a program that has a
 * message loop to serve must wait. The number of messages listed, or -1 with the reason in
 * Error. */
int Pop3FloorListing(int Port, const char* User, const char* Password, int PollFirst, char* Error,
                     size_t ErrorSize);

#ifdef __cplusplus
}
#endif

#endif
