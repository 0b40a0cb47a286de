// platform/ui/lpstat.h: the print queues as lpstat lists them: reading its listings, and running
// it (by argument vector, in the C locale, with a time limit).
#pragma once

#include <string>
#include <vector>

// The destinations of `lpstat -e`, one a line, in order, each once. Lines that cannot be a queue
// name (empty, longer than 255 bytes, holding blanks or control characters) are left out, and so
// is "PDF file", the name the printer object keeps for itself.
std::vector<std::string> ParseLpstatDestinations(const std::string& Output);
// The destination of `lpstat -d` ("system default destination: <name>"); "" for none or for a
// listing that does not name one a queue name can be.
std::string ParseLpstatDefault(const std::string& Output);

struct TPrintQueues {
    std::vector<std::string> Names;
    std::string Default; // "" for none, else one of Names
};

// Asks lpstat (found on PATH) for the queues and the default; no queues when lpstat is missing,
// fails or takes longer than TimeoutMs.
TPrintQueues ReadPrintQueues(int TimeoutMs = 5000);
