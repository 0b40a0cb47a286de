// mail/mspop3cl.cpp: the message-info list of the POP3 client.
#include "mail/mspop3cl.h"

#include "platform/rtl/exceptions.h"

ZevRemoteInfoItem::ZevRemoteInfoItem() : FHeaders(std::make_unique<ZevHeaders>()) {}

ZevRemoteInfoItem::~ZevRemoteInfoItem() = default;

ZevRemoteInfoItem* ZevRemoteInfo::GetItem(int Index) const
{
    if (Index < 0 || Index >= GetCount())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[static_cast<std::size_t>(Index)].get();
}

void ZevRemoteInfo::Clear()
{
    while (!FItems.empty())
        FItems.pop_back();
}

void ZevRemoteInfo::Add(std::unique_ptr<ZevRemoteInfoItem> Item)
{
    FItems.push_back(std::move(Item));
}
