// DNS replies from outside as the MX resolver reads them: the datagram as received, and the
// same bytes behind a header and question that match the query, so that the answer section
// is reached. Reading must stay inside the bytes, end, and fail only with EResolverError.
#include "fuzz/fuzzinput.h"
#include "mail/mailerrors.h"
#include "mail/msmxcls.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Parse(const std::string& Reply, Word Id, const std::string& WireName)
{
    TMXList List;
    bool Answered = false;
    try {
        Answered = msmxcls::ParseMXReply(Reply, Id, WireName, List);
        if (!Answered)
            Check(List.Count() == 0);
    } catch (const EResolverError&) {
        // The answers read before the fault stay, in the order they came.
    }
    for (int I = 1; Answered && I < List.Count(); ++I)
        Check(List.Items(I - 1)->Preference <= List.Items(I)->Preference);
    for (int I = 0; I < List.Count(); ++I) {
        const std::string& Exchange = List.Items(I)->Exchange;
        Check(!Exchange.empty() && Exchange.back() == '.' && Exchange.size() <= 255);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Bytes = InputText(Data, Size);
    const std::string WireName = msmxcls::EncodeDomainName("mail.test");

    // As received, answering whatever identifier it carries.
    const Word Id = Size >= 2 ? static_cast<Word>(Data[0] << 8 | Data[1]) : 0;
    Parse(Bytes, Id, WireName);

    // Four bytes of flags and counts from the input, then our question, then the rest.
    if (Size >= 4) {
        std::string Reply = msmxcls::BuildMXQuery(0x1234, WireName);
        Reply.replace(2, 2, Bytes.substr(0, 2));
        Reply.replace(6, 2, Bytes.substr(2, 2));
        Parse(Reply + Bytes.substr(4), 0x1234, WireName);
    }
    return 0;
}
