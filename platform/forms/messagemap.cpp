#include "platform/forms/messagemap.h"

#include <algorithm>

const TMessageHandler* TMessageMap::Find(UINT Msg) const
{
    const TMessageHandler* End = FHandlers + FCount;
    // The last entry that starts at or before Msg is the only one that can hold it.
    const TMessageHandler* After = std::upper_bound(
        FHandlers, End, Msg, [](UINT M, const TMessageHandler& H) { return M < H.First; });
    if (After == FHandlers)
        return nullptr;
    const TMessageHandler* Entry = After - 1;
    return Msg <= Entry->Last ? Entry : nullptr;
}

bool TMessageMap::Dispatch(TObject* Self, TMessage& Message) const
{
    for (const TMessageMap* Map = this; Map != nullptr; Map = Map->Parent()) {
        if (const TMessageHandler* Entry = Map->Find(Message.Msg)) {
            Entry->Call(Self, Message);
            return true;
        }
    }
    return false;
}
