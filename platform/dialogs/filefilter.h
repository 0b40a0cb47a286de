// platform/dialogs/filefilter.h: a file dialog's filter ("Text files (*.txt)|*.txt|...") as
// its entries, and the masks a name is matched against (case ignored, as the classic system
// does; "*.*" takes every name).
#pragma once

#include <string>
#include <vector>

struct TFileFilter {
    std::string Description;
    std::vector<std::string> Masks; // "*.txt", "*.log"
};

// The entries in order; a description without its mask part gets "*".
std::vector<TFileFilter> ParseFileFilter(const std::string& Filter);
// * any run, ? one character (a whole UTF-8 character); ASCII letters match either case.
bool MatchesMask(const std::string& Name, const std::string& Mask);
bool MatchesAnyMask(const std::string& Name, const std::vector<std::string>& Masks);
// The masks of a typed "*.c;*.h" (split at ';', trimmed, the empty ones dropped).
std::vector<std::string> SplitMasks(const std::string& Masks);
