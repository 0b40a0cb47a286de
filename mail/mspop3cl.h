// mail/mspop3cl.h: the message-info list of the POP3 client: one item per server message with
// its marks, size, header lines and unique id.
#pragma once

#include "mail/mspars.h"
#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

#include <memory>
#include <string>
#include <vector>

// Bits of ZevRemoteInfoItem::Flags; both may be set.
constexpr Byte rfRetrieve = 1;
constexpr Byte rfDelete = 2;

class ZevRemoteInfoItem : public TObject {
public:
    ZevRemoteInfoItem();
    ~ZevRemoteInfoItem() override;

    // The owned header lines of the message, up to its first empty line.
    ZevHeaders* Headers() const { return FHeaders.get(); }

    Byte Flags = 0;
    // Bytes, from the server's listing (0 when it gave none).
    int Size = 0;
    // The server's unique id, by which a later session finds the message; empty when the server
    // gave none, or one that is not 1 to 70 printable characters or that another message has too.
    std::string UIDL;

private:
    std::unique_ptr<ZevHeaders> FHeaders;
};

// The items of the last listing in server order: item i was server message i + 1 when listed.
class ZevRemoteInfo : public TObject {
public:
    int GetCount() const { return static_cast<int>(FItems.size()); }
    // Raises EListError for an index out of range.
    ZevRemoteInfoItem* GetItem(int Index) const;
    void Clear();
    // Takes the item over.
    void Add(std::unique_ptr<ZevRemoteInfoItem> Item);

private:
    std::vector<std::unique_ptr<ZevRemoteInfoItem>> FItems;
};
