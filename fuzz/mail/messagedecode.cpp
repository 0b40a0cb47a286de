// Loads arbitrary bytes as a stored message (mail and news), then saves the result and loads
// that again: nothing may crash, hang or raise out of loading.
#include "fuzz/fuzzinput.h"
#include "mail/msmsg.h"
#include "platform/rtl/stream.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Input = InputText(Data, Size);

    ZevArticle Article(nullptr);
    TStringStream ArticleSource(Input);
    Article.LoadFromStream(&ArticleSource);

    ZevMessage Message(nullptr);
    TStringStream Source(Input);
    Message.LoadFromStream(&Source);
    Check(Message.Attachments()->Count() <= static_cast<int>(Size) + 1);

    // Whatever was read can be written; a message whose own text could not be told from a
    // boundary is refused with an exception rather than written wrongly.
    TStringStream Saved;
    try {
        Message.SaveToStream(&Saved);
    } catch (const Exception&) {
        return 0;
    }
    ZevMessage Again(nullptr);
    Saved.SetPosition(0);
    Again.LoadFromStream(&Saved);
    return 0;
}
