// tests/interop/ui/cupsd.h: a private CUPS scheduler on a free loopback port with one raw queue
// "q" whose backend keeps each job's file and title, for the printer's interop tests.
#pragma once

#include <sys/types.h>

#include <string>

namespace TestSupport {

class TCupsd {
public:
    // Starts the scheduler, adds the queue and makes it the default; raises std::runtime_error
    // with the reason and the scheduler's log when it cannot.
    TCupsd();
    // Stops the scheduler and removes its folder.
    ~TCupsd();
    TCupsd(const TCupsd&) = delete;
    TCupsd& operator=(const TCupsd&) = delete;

    // "127.0.0.1:<port>", for CUPS_SERVER.
    std::string Server() const;
    // The file of the last job the queue printed and its title ("" until the backend ran).
    std::string JobFile() const { return FFolder + "out/job"; }
    std::string TitleFile() const { return FFolder + "out/job.title"; }
    std::string Log() const;

private:
    std::string FFolder; // ends with '/'
    int FPort = 0;
    pid_t FPid = 0;
};

} // namespace TestSupport
