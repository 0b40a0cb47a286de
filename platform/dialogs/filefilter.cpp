// platform/dialogs/filefilter.cpp: the filter entries and the mask matching.
#include "platform/dialogs/filefilter.h"

#include "platform/rtl/strings.h"

namespace {

char Fold(char C)
{
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

// The length of the UTF-8 character starting at Name[I] (1 for a stray byte).
std::size_t CharLength(const std::string& Name, std::size_t I)
{
    const auto Lead = static_cast<unsigned char>(Name[I]);
    std::size_t Length = Lead < 0xC0 ? 1 : Lead < 0xE0 ? 2 : Lead < 0xF0 ? 3 : 4;
    std::size_t N = 1;
    while (N < Length && I + N < Name.size() &&
           (static_cast<unsigned char>(Name[I + N]) & 0xC0) == 0x80)
        ++N;
    return N;
}

bool Match(const std::string& Name, std::size_t N, const std::string& Mask, std::size_t M)
{
    // Iterative with one remembered star: linear for the usual masks, no deep recursion.
    std::size_t StarM = std::string::npos, StarN = 0;
    while (N < Name.size()) {
        if (M < Mask.size() && Mask[M] == '*') {
            StarM = M++;
            StarN = N;
        } else if (M < Mask.size() && Mask[M] == '?') {
            N += CharLength(Name, N);
            ++M;
        } else if (M < Mask.size() && Fold(Mask[M]) == Fold(Name[N])) {
            ++N;
            ++M;
        } else if (StarM != std::string::npos) {
            M = StarM + 1;
            StarN += CharLength(Name, StarN);
            N = StarN;
        } else {
            return false;
        }
    }
    while (M < Mask.size() && Mask[M] == '*')
        ++M;
    return M == Mask.size();
}

} // namespace

std::vector<std::string> SplitMasks(const std::string& Masks)
{
    std::vector<std::string> Result;
    std::size_t Start = 0;
    while (Start <= Masks.size()) {
        std::size_t End = Masks.find(';', Start);
        if (End == std::string::npos)
            End = Masks.size();
        std::string One = Trim(Masks.substr(Start, End - Start));
        if (!One.empty())
            Result.push_back(One);
        Start = End + 1;
    }
    return Result;
}

std::vector<TFileFilter> ParseFileFilter(const std::string& Filter)
{
    std::vector<std::string> Parts;
    std::size_t Start = 0;
    while (Start < Filter.size()) {
        std::size_t End = Filter.find('|', Start);
        if (End == std::string::npos)
            End = Filter.size();
        Parts.push_back(Filter.substr(Start, End - Start));
        Start = End + 1;
    }
    std::vector<TFileFilter> Result;
    for (std::size_t I = 0; I < Parts.size(); I += 2) {
        TFileFilter Entry;
        Entry.Description = Parts[I];
        Entry.Masks = I + 1 < Parts.size() ? SplitMasks(Parts[I + 1]) : std::vector<std::string>{};
        if (Entry.Masks.empty())
            Entry.Masks.push_back("*");
        Result.push_back(Entry);
    }
    return Result;
}

bool MatchesMask(const std::string& Name, const std::string& Mask)
{
    if (Mask == "*.*" || Mask == "*")
        return true;
    return Match(Name, 0, Mask, 0);
}

bool MatchesAnyMask(const std::string& Name, const std::vector<std::string>& Masks)
{
    for (const std::string& Mask : Masks)
        if (MatchesMask(Name, Mask))
            return true;
    return false;
}
