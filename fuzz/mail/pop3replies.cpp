// POP3 replies from outside: STAT, LIST and UIDL lines and multi-line data as the client parses
// them. Unique ids must be ones a later session can match; unstuffing must give back exactly what
// a server stuffed.
#include "fuzz/fuzzinput.h"
#include "mail/mspop3.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace {

// What a server sends for Message: a dot doubled at every line start, then the end line.
std::string Stuffed(const std::string& Message)
{
    std::string Result;
    bool LineStart = true;
    for (char C : Message) {
        if (LineStart && C == '.')
            Result += '.';
        Result += C;
        LineStart = C == '\n';
    }
    return Result + ".\r\n";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Text = InputText(Data, Size);

    int Count = -2, MailboxSize = -2;
    try {
        if (mspop3::ParseStat(Text, Count, MailboxSize))
            Check(Count >= 0 && MailboxSize >= -1);
    } catch (const EConvertError&) {
    }
    Check(mspop3::ParseListSize(Text) >= 0);

    // Ids are 1 to 70 printable characters, and a listing written from them reads back the same.
    std::map<int, std::string> Ids;
    mspop3::ParseUidlList(Text, Ids);
    std::string Listing;
    for (const auto& Id : Ids) {
        Check(Id.first >= 0 && !Id.second.empty() && Id.second.size() <= 70);
        for (char C : Id.second)
            Check(C >= 0x21 && C <= 0x7E);
        Listing += std::to_string(Id.first) + " " + Id.second + "\r\n";
    }
    std::map<int, std::string> Again;
    mspop3::ParseUidlList(Listing, Again);
    Check(Again == Ids);

    Check(mspop3::Unstuff(Text).size() <= Text.size());
    // Whole messages (ending with CR LF) survive the round trip.
    if (Text.empty() || (Text.size() >= 2 && Text.compare(Text.size() - 2, 2, "\r\n") == 0))
        Check(mspop3::Unstuff(Stuffed(Text)) == Text);
    return 0;
}
