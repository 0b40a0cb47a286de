// mail/msmsgattach.cpp: attachment items and lists.
#include "mail/msmsgattach.h"

#include "mail/msutils.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"

namespace {

// Source as a T to copy from, or nil when there is nothing to copy: Source is Self, or of
// another class, which is handed to the base class's Assign.
template <class T>
const T* AssignSource(T* Self, const TPersistent* Source)
{
    const auto* Typed = dynamic_cast<const T*>(Source);
    if (Typed == nullptr)
        Self->TPersistent::Assign(Source);
    return Typed == Self ? nullptr : Typed;
}

} // namespace

std::string MemoryText(TMemoryStream* Stream)
{
    return std::string(static_cast<const char*>(Stream->Memory()),
                       static_cast<std::size_t>(Stream->Size()));
}

void SetAttachmentData(ZevAttItem* Item, const std::string& Bytes)
{
    Item->Data()->Clear();
    Item->Data()->WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
    Item->Data()->SetPosition(0);
}

std::string SafeAttachmentName(const std::string& FileName)
{
    const std::size_t Slash = FileName.find_last_of("/\\");
    const std::string Name = Slash == std::string::npos ? FileName : FileName.substr(Slash + 1);
    if (Name.empty() || Name == "." || Name == "..")
        return "";
    for (const char C : Name)
        if (static_cast<unsigned char>(C) < 32 || C == 127)
            return "";
    return Name;
}

// ZevAttItem

ZevAttItem::ZevAttItem() : FData(std::make_unique<TMemoryStream>()) {}

ZevAttItem::~ZevAttItem() = default;

void ZevAttItem::SetFileName(const std::string& Value)
{
    FFileName = Value;
    if (Value.empty())
        return;
    ContentType = GetMimeType(Value);
    const std::string Upper = UpperCase(ContentType);
    if (Upper == "TEXT/PLAIN" || Upper == "TEXT/RTF" || Upper == "TEXT/HTML")
        TransferEncoding = teQuotedPrintable;
    else if (Upper == "MESSAGE/RFC822")
        TransferEncoding = teNone;
    else
        TransferEncoding = teBase64;
}

void ZevAttItem::Assign(const TPersistent* Source)
{
    const ZevAttItem* Item = AssignSource(this, Source);
    if (Item == nullptr)
        return;
    SetAttachmentData(this, MemoryText(Item->Data()));
    ContentType = Item->ContentType;
    TransferEncoding = Item->TransferEncoding;
    FFileName = Item->FFileName;
}

// ZevAttList

ZevAttItem* ZevAttList::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[static_cast<std::size_t>(Index)].get();
}

ZevAttItem* ZevAttList::Add()
{
    return Add(std::make_unique<ZevAttItem>());
}

ZevAttItem* ZevAttList::Add(std::unique_ptr<ZevAttItem> Item)
{
    FItems.push_back(std::move(Item));
    return FItems.back().get();
}

void ZevAttList::Clear()
{
    FItems.clear();
}

void ZevAttList::Assign(const TPersistent* Source)
{
    const ZevAttList* List = AssignSource(this, Source);
    if (List == nullptr)
        return;
    std::vector<std::unique_ptr<ZevAttItem>> Copies;
    for (const auto& Item : List->FItems) {
        Copies.push_back(std::make_unique<ZevAttItem>());
        Copies.back()->Assign(Item.get());
    }
    FItems = std::move(Copies);
}
